#include "platform/gdi/brush_pen.h"

#include "platform/gdi/bitmap.h"

namespace lumoa::platform {
namespace {

template <class T>
int CopyOut(const T& value, int cb, void* buffer) {
  if (!buffer) return sizeof(T);
  if (cb < static_cast<int>(sizeof(T))) return 0;
  std::memcpy(buffer, &value, sizeof(T));
  return sizeof(T);
}

HBRUSH Register(Brush* b) { return static_cast<HBRUSH>(b->handle()); }

}  // namespace

int Brush::Describe(int cb, void* buffer) const {
  LOGBRUSH lb{style, style == BS_PATTERN ? 0 : color,
              reinterpret_cast<ULONG_PTR>(pattern_handle)};
  return CopyOut(lb, cb, buffer);
}

int Pen::Describe(int cb, void* buffer) const {
  LOGPEN lp{style, POINT{width, 0}, color};
  return CopyOut(lp, cb, buffer);
}

}  // namespace lumoa::platform

using namespace lumoa::platform;

HBRUSH CreateSolidBrush(COLORREF color) { return Register(new Brush(BS_SOLID, color & 0x00FFFFFF)); }

HBRUSH CreateBrushIndirect(const LOGBRUSH* plbrush) {
  if (!plbrush) return nullptr;
  switch (plbrush->lbStyle) {
    case BS_SOLID: return CreateSolidBrush(plbrush->lbColor);
    case BS_NULL: return Register(new Brush(BS_NULL, 0));
    case BS_PATTERN: return CreatePatternBrush(reinterpret_cast<HBITMAP>(plbrush->lbHatch));
    default: return nullptr;  // hatched and DIB pattern brushes are not offered
  }
}

HBRUSH CreatePatternBrush(HBITMAP hbm) {
  const Bitmap* bm = LookupBitmap(hbm);
  if (!bm) return nullptr;
  auto* b = new Brush(BS_PATTERN, 0);
  b->pattern = std::make_unique<PixelBuffer>();
  if (!b->pattern->Allocate(bm->px.width, bm->px.height, bm->px.bpp, true)) {
    delete b;
    return nullptr;
  }
  b->pattern->colors = bm->px.colors;
  for (int y = 0; y < bm->px.height; ++y)
    std::memcpy(b->pattern->row(y), bm->px.row(y), static_cast<size_t>(bm->px.stride));
  b->pattern_handle = hbm;
  return Register(b);
}

HPEN CreatePen(int iStyle, int cWidth, COLORREF color) {
  const UINT style = static_cast<UINT>(iStyle) & PS_STYLE_MASK;
  if (style > PS_INSIDEFRAME) return nullptr;
  return static_cast<HPEN>((new Pen(style, cWidth < 0 ? 0 : cWidth, color & 0x00FFFFFF))->handle());
}

HPEN CreatePenIndirect(const LOGPEN* plpen) {
  if (!plpen) return nullptr;
  return CreatePen(static_cast<int>(plpen->lopnStyle), plpen->lopnWidth.x, plpen->lopnColor);
}
