// Rectangle copies between pixel maps of 24 or 32 bits: the plain copy and the colour-on-colour
// stretch (nearest pixel, no smoothing) the composition routines are built from. Both clip to
// the destination and never read outside the source; 24-bit pixels become opaque 32-bit ones.
#pragma once

#include "platform/windef.h"
#include "skin/draw/pixel_map.h"

namespace lumoa::skin {

inline int RectWidth(const RECT& r) { return r.right - r.left; }
inline int RectHeight(const RECT& r) { return r.bottom - r.top; }

// Copies srcRect to dstRect the way a canvas copy-rectangle does: equal sizes copy pixel for
// pixel, different sizes stretch, extents of opposite sign mirror, an empty rectangle draws
// nothing. `clip` (destination coordinates) further limits what is written.
void CopyRectPixels(const PixelMap& dst, const RECT& dstRect, const PixelMap& src,
                    const RECT& srcRect, const RECT* clip = nullptr);

// Source index for destination index i of a nearest-pixel stretch from `srcLen` to `dstLen`
// (both positive): floor(i * srcLen / dstLen), the sampling of the platform's StretchBlt, so
// that a composition equals what a canvas would draw.
inline int StretchSourceIndex(int i, int srcLen, int dstLen) {
  return static_cast<int>(static_cast<int64_t>(i) * srcLen / dstLen);
}

// Fills rect (clipped) with a pixel value (written as bytes blue, green, red[, alpha]).
void FillPixels(const PixelMap& dst, const RECT& rect, uint32_t value);

}  // namespace lumoa::skin
