// Window regions from mask pictures: black pixels (red + green + blue = 0) belong to the shape.
#pragma once

#include <vector>

#include "platform/windef.h"
#include "skin/draw/compose.h"
#include "skin/draw/pixel_map.h"

namespace lumoa::skin {

// The region data block of a mask: a 32-byte header (size 32, type 1 = rectangles, rectangle
// count, size 0, bounds (ox, oy, ox + width, oy + height)) and one 16-byte rectangle per
// horizontal run of black pixels, offset by (ox, oy). Runs are not merged across rows. An empty
// mask gives an empty block.
std::vector<BYTE> MaskToRegionData(const PixelMap& mask, int ox, int oy);

// The four strips of a frame's mask for a destination of w x h, tiled (never stretched) from
// the mask whose size is that of the skin rectangle. A strip whose size would not be positive
// is not built and keeps its previous size. Pixels no piece covers are white (outside).
void ComposeMaskStrips(const PixelMap& mask, const SkinGeometry& g, const ResizedGeometry& n,
                       int w, int h, PixelTarget& top, PixelTarget& bottom, PixelTarget& left,
                       PixelTarget& right);

// The region of the whole mask, owned by the caller; null for an empty mask.
HRGN RegionFromMask(const PixelMap& mask);
// The same for a platform bitmap, read as 24-bit rows (a TksFBitmap copy).
HRGN RegionFromMask(HBITMAP mask);

// The window region of a frame of w x h: NewClientRect united with the regions of the four mask
// strips. Null when the right points lie left of the left points or the bottom points above
// the top points (the caller then removes the window region).
HRGN ComposeMaskRegion(const PixelMap& mask, const SkinGeometry& g, const ResizedGeometry& n,
                       int w, int h);

}  // namespace lumoa::skin
