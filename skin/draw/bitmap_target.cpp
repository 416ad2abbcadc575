#include "skin/draw/bitmap_target.h"

namespace lumoa::skin {

PixelMap BitmapPixels(TBitmap& bitmap) {
  const int bpp = bitmap.BitsPerPixel();
  if (bitmap.Empty() || (bpp != 24 && bpp != 32)) return PixelMap{};
  return PixelMap{bitmap.ScanLine(0), bitmap.Width(), bitmap.Height(), bitmap.Stride(), bpp / 8};
}

PixelMap ReadablePixels(TBitmap& bitmap, PixelBuffer& scratch) {
  const PixelMap direct = BitmapPixels(bitmap);
  if (!direct.Empty() || bitmap.Empty()) return direct;
  scratch.Resize(bitmap.Width(), bitmap.Height(), 4);
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) scratch.Set(x, y, ColorToPixel(bitmap.PixelRGB(x, y)));
  return scratch.Map();
}

PixelMap BitmapTarget::SizeTo(int width, int height) {
  const int bpp = FBitmap.BitsPerPixel();
  if (bpp != 24 && bpp != 32) FBitmap.SetPixelFormat(pf32bit);
  if (width != FBitmap.Width() || height != FBitmap.Height()) FBitmap.SetSize(width, height);
  return BitmapPixels(FBitmap);
}

void ComposeSkinImage(TBitmap* picture, const SkinGeometry& g, const ResizedGeometry& n, int w,
                      int h, bool drawClient, const StretchModes& modes, TBitmap* dest) {
  if (!dest) return;
  PixelBuffer scratch;
  BitmapTarget target(*dest);
  const PixelMap p = picture ? ReadablePixels(*picture, scratch) : PixelMap{};
  ComposeSkinImage(p, g, n, w, h, drawClient, modes, target);
}

void StretchSkinImage(TBitmap* dest, TBitmap* picture, const RECT& skinRect,
                      const RECT& clientRect, bool drawClient) {
  if (!dest || !picture) return;
  PixelBuffer scratch;
  BitmapTarget target(*dest);
  StretchSkinImage(target, ReadablePixels(*picture, scratch), skinRect, clientRect, drawClient);
}

void ComposeHorzSkinImage(int left, int right, TBitmap* dest, bool stretchEffect, int w,
                          TBitmap* picture, const RECT& skinRect) {
  if (!dest) return;
  PixelBuffer scratch;
  BitmapTarget target(*dest);
  const PixelMap p = picture ? ReadablePixels(*picture, scratch) : PixelMap{};
  ComposeHorzSkinImage(left, right, target, stretchEffect, w, p, skinRect);
}

void ComposeVertSkinImage(int top, int bottom, TBitmap* dest, bool stretchEffect, int h,
                          TBitmap* picture, const RECT& skinRect) {
  if (!dest) return;
  PixelBuffer scratch;
  BitmapTarget target(*dest);
  const PixelMap p = picture ? ReadablePixels(*picture, scratch) : PixelMap{};
  ComposeVertSkinImage(top, bottom, target, stretchEffect, h, p, skinRect);
}

void ComposeBorderStrips(TBitmap* picture, const SkinGeometry& g, const ResizedGeometry& n,
                         int w, int h, const StretchModes& modes, TBitmap* top, TBitmap* bottom,
                         TBitmap* left, TBitmap* right) {
  if (!picture || !top || !bottom || !left || !right) return;
  PixelBuffer scratch;
  BitmapTarget t(*top), b(*bottom), l(*left), r(*right);
  ComposeBorderStrips(ReadablePixels(*picture, scratch), g, n, w, h, modes, t, b, l, r);
}

HRGN RegionFromMask(TBitmap* mask) {
  if (!mask) return nullptr;
  PixelBuffer scratch;
  return RegionFromMask(ReadablePixels(*mask, scratch));
}

HRGN ComposeMaskRegion(TBitmap* mask, const SkinGeometry& g, const ResizedGeometry& n, int w,
                       int h) {
  if (!mask) return nullptr;
  PixelBuffer scratch;
  return ComposeMaskRegion(ReadablePixels(*mask, scratch), g, n, w, h);
}

}  // namespace lumoa::skin
