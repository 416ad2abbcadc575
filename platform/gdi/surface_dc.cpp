#include "platform/gdi/surface_dc.h"

#include <algorithm>

#include "platform/gdi/raster.h"

namespace lumoa::platform {

HDC CreateSurfaceDC(HBITMAP surface, POINT origin, HRGN visible) {
  Bitmap* bm = LookupBitmap(surface);
  if (!bm) return nullptr;
  auto* dc = new DeviceContext(OBJ_DC);
  dc->surface = true;
  dc->st.bitmap = surface;
  InitDcDefaults(*dc);
  SetSurfaceDCGeometry(static_cast<HDC>(dc->handle()), origin, visible);
  return static_cast<HDC>(dc->handle());
}

void SetSurfaceDCGeometry(HDC hdc, POINT origin, HRGN visible) {
  DeviceContext* dc = LookupDC(hdc);
  if (!dc || !dc->surface) return;
  dc->origin = origin;
  if (const RegionObject* r = LookupRegion(visible)) dc->visible = r->rgn;
  else dc->visible.reset();
  dc->InvalidateClip();
}

void DcBlendCoverage(HDC hdc, int x, int y, const BYTE* coverage, int width, int height, int pitch,
                     COLORREF color) {
  DeviceContext* dc = LookupDC(hdc);
  Bitmap* bm = dc ? dc->target() : nullptr;
  if (!bm || !coverage || width <= 0 || height <= 0) return;
  PixelBuffer& px = bm->px;
  const POINT off = dc->offset();
  const RECT area{x + off.x, y + off.y, x + off.x + width, y + off.y + height};
  const int cr = GetRValue(color), cg = GetGValue(color), cb = GetBValue(color);
  const uint32_t solid = px.ToRaw(color);
  NearestCache nearest(px);
  std::vector<uint32_t> row;
  for (const RECT& c : dc->EffectiveClip().rects()) {
    if (c.top >= area.bottom) break;
    RECT r;
    if (!IntersectRect(&r, &area, &c)) continue;
    const int n = r.right - r.left;
    row.resize(static_cast<size_t>(n));
    for (int yy = r.top; yy < r.bottom; ++yy) {
      const BYTE* cov = coverage + static_cast<ptrdiff_t>(yy - area.top) * pitch + (r.left - area.left);
      px.ReadRaw(r.left, yy, n, row.data());
      for (int i = 0; i < n; ++i) {
        const int a = cov[i];
        if (a == 0) continue;
        if (a == 255) {
          row[i] = solid;
          continue;
        }
        const COLORREF d = px.ToColor(row[i]);
        const int ia = 255 - a;
        const COLORREF out = RGB((cr * a + GetRValue(d) * ia + 127) / 255,
                                 (cg * a + GetGValue(d) * ia + 127) / 255,
                                 (cb * a + GetBValue(d) * ia + 127) / 255);
        row[i] = nearest.ToRaw(out);
      }
      px.WriteRaw(r.left, yy, n, row.data());
    }
  }
}

}  // namespace lumoa::platform
