// The composition and region routines on the framework's bitmaps: pictures are read where
// they are (24 and 32 bits) or through an opaque 32-bit copy (other formats), destinations are
// sized and painted in place.
#pragma once

#include "skin/draw/compose.h"
#include "skin/draw/mask_region.h"
#include "ui/bitmap.h"

namespace lumoa::skin {

// Pixels of a framework bitmap as they are; empty for formats other than 24 and 32 bits.
PixelMap BitmapPixels(TBitmap& bitmap);
// Pixels to read from: the bitmap's own for 24 and 32 bits, else an opaque copy in `scratch`.
PixelMap ReadablePixels(TBitmap& bitmap, PixelBuffer& scratch);

// A framework bitmap as a composition destination: sizing keeps 24 and 32 bits and turns
// other formats into 32 bits.
class BitmapTarget : public PixelTarget {
 public:
  explicit BitmapTarget(TBitmap& bitmap) : FBitmap(bitmap) {}
  PixelMap SizeTo(int width, int height) override;
  PixelMap Pixels() const override { return BitmapPixels(FBitmap); }

 private:
  TBitmap& FBitmap;
};

void ComposeSkinImage(TBitmap* picture, const SkinGeometry& g, const ResizedGeometry& n, int w,
                      int h, bool drawClient, const StretchModes& modes, TBitmap* dest);
void StretchSkinImage(TBitmap* dest, TBitmap* picture, const RECT& skinRect,
                      const RECT& clientRect, bool drawClient);
void ComposeHorzSkinImage(int left, int right, TBitmap* dest, bool stretchEffect, int w,
                          TBitmap* picture, const RECT& skinRect);
void ComposeVertSkinImage(int top, int bottom, TBitmap* dest, bool stretchEffect, int h,
                          TBitmap* picture, const RECT& skinRect);
void ComposeBorderStrips(TBitmap* picture, const SkinGeometry& g, const ResizedGeometry& n,
                         int w, int h, const StretchModes& modes, TBitmap* top, TBitmap* bottom,
                         TBitmap* left, TBitmap* right);
HRGN RegionFromMask(TBitmap* mask);
HRGN ComposeMaskRegion(TBitmap* mask, const SkinGeometry& g, const ResizedGeometry& n, int w,
                       int h);

}  // namespace lumoa::skin
