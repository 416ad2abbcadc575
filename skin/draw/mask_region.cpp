#include "skin/draw/mask_region.h"

#include "platform/winapi.h"
#include "skin/draw/effect_bmp.h"

namespace lumoa::skin {
namespace {

static_assert(sizeof(RGNDATAHEADER) == 32, "region data header layout");

HRGN RegionFromData(const std::vector<BYTE>& data) {
  if (data.empty()) return nullptr;
  return ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()),
                         reinterpret_cast<const RGNDATA*>(data.data()));
}

}  // namespace

HRGN RegionFromMask(const PixelMap& mask) { return RegionFromData(MaskToRegionData(mask, 0, 0)); }

HRGN RegionFromMask(HBITMAP mask) {
  const TksFBitmap rows(mask);
  return RegionFromMask(rows.Map());
}

HRGN ComposeMaskRegion(const PixelMap& mask, const SkinGeometry& g, const ResizedGeometry& n,
                       int w, int h) {
  if (n.NewRightTop.x < n.NewLeftTop.x || n.NewLeftBottom.y < n.NewLeftTop.y) return nullptr;
  PixelBuffer top(0, 0, 3), bottom(0, 0, 3), left(0, 0, 3), right(0, 0, 3);
  ComposeMaskStrips(mask, g, n, w, h, top, bottom, left, right);
  const RECT& nc = n.NewClientRect;
  HRGN result = CreateRectRgn(nc.left, nc.top, nc.right, nc.bottom);
  if (!result) return nullptr;
  const struct {
    const PixelBuffer& strip;
    int ox, oy;
  } parts[] = {{top, 0, 0}, {bottom, 0, nc.bottom}, {left, 0, nc.top}, {right, nc.right, nc.top}};
  for (const auto& part : parts) {
    HRGN r = RegionFromData(MaskToRegionData(part.strip.Map(), part.ox, part.oy));
    if (!r) continue;
    CombineRgn(result, result, r, RGN_OR);
    DeleteObject(r);
  }
  return result;
}

}  // namespace lumoa::skin
