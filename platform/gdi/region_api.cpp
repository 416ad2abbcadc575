// The region functions over RegionObject, and the curved region shapes.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/gdi/region.h"

namespace lumoa::platform {
namespace {

// Columns [l, r) of row `row` (0-based) of the ellipse inscribed in a w x h box whose pixel
// centres lie inside it; l >= r when the row has none.
void EllipseRow(int w, int h, int row, int& l, int& r) {
  const double rx = w / 2.0, ry = h / 2.0;
  const double v = (row + 0.5 - ry) / ry;
  if (std::fabs(v) >= 1.0) {
    l = r = 0;
    return;
  }
  const double half = rx * std::sqrt(1.0 - v * v);
  l = static_cast<int>(std::ceil(rx - half - 0.5));
  r = static_cast<int>(std::floor(rx + half - 0.5)) + 1;
  l = std::max(l, 0);
  r = std::min(r, w);
}

RECT Normalised(const RECT& r) {
  return RECT{std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
              std::max(r.top, r.bottom)};
}

}  // namespace

Rgn EllipseRgn(const RECT& in) {
  const RECT r = Normalised(in);
  const int w = r.right - r.left, h = r.bottom - r.top;
  std::vector<RECT> rows;
  for (int y = 0; y < h; ++y) {
    int l, rr;
    EllipseRow(w, h, y, l, rr);
    if (l < rr) rows.push_back(RECT{r.left + l, r.top + y, r.left + rr, r.top + y + 1});
  }
  return Rgn::FromRects(rows.data(), rows.size());
}

Rgn RoundRectRgn(const RECT& in, int ew, int eh) {
  const RECT r = Normalised(in);
  const int w = r.right - r.left, h = r.bottom - r.top;
  ew = std::clamp(std::abs(ew), 0, w);
  eh = std::clamp(std::abs(eh), 0, h);
  if (ew < 2 || eh < 2) return Rgn(r);
  std::vector<RECT> rows;
  for (int y = 0; y < h; ++y) {
    int inset = 0;
    int row = -1;
    if (y < eh / 2) row = y;
    else if (y >= h - eh / 2) row = y - (h - eh);
    if (row >= 0) {
      int l, rr;
      EllipseRow(ew, eh, row, l, rr);
      if (l >= rr) continue;
      inset = l;
    }
    if (r.left + inset < r.right - inset)
      rows.push_back(RECT{r.left + inset, r.top + y, r.right - inset, r.top + y + 1});
  }
  return Rgn::FromRects(rows.data(), rows.size());
}

}  // namespace lumoa::platform

using namespace lumoa::platform;

HRGN CreateRectRgn(int x1, int y1, int x2, int y2) { return NewRegion(Rgn(RECT{x1, y1, x2, y2})); }

HRGN CreateRectRgnIndirect(const RECT* lprect) {
  return lprect ? CreateRectRgn(lprect->left, lprect->top, lprect->right, lprect->bottom) : nullptr;
}

HRGN CreateEllipticRgn(int x1, int y1, int x2, int y2) {
  return NewRegion(EllipseRgn(RECT{x1, y1, x2, y2}));
}

HRGN CreateEllipticRgnIndirect(const RECT* lprect) {
  return lprect ? CreateEllipticRgn(lprect->left, lprect->top, lprect->right, lprect->bottom)
                : nullptr;
}

HRGN CreateRoundRectRgn(int x1, int y1, int x2, int y2, int w, int h) {
  return NewRegion(RoundRectRgn(RECT{x1, y1, x2, y2}, w, h));
}

BOOL SetRectRgn(HRGN hrgn, int left, int top, int right, int bottom) {
  RegionObject* r = LookupRegion(hrgn);
  if (!r) return FALSE;
  r->rgn = Rgn(RECT{left, top, right, bottom});
  return TRUE;
}

int CombineRgn(HRGN hrgnDst, HRGN hrgnSrc1, HRGN hrgnSrc2, int iMode) {
  RegionObject* dst = LookupRegion(hrgnDst);
  const RegionObject* a = LookupRegion(hrgnSrc1);
  if (!dst || !a || iMode < RGN_AND || iMode > RGN_COPY) return ERROR;
  if (iMode == RGN_COPY) {
    dst->rgn = a->rgn;
    return dst->rgn.kind();
  }
  const RegionObject* b = LookupRegion(hrgnSrc2);
  if (!b) return ERROR;
  dst->rgn = Rgn::Combine(a->rgn, b->rgn, iMode);
  return dst->rgn.kind();
}

HRGN ExtCreateRegion(const XFORM* lpx, DWORD nCount, const RGNDATA* lpData) {
  if (!lpData || nCount < sizeof(RGNDATAHEADER)) return nullptr;
  const RGNDATAHEADER& h = lpData->rdh;
  if (h.dwSize != sizeof(RGNDATAHEADER) || h.iType != RDH_RECTANGLES) return nullptr;
  if (h.nCount > (nCount - sizeof(RGNDATAHEADER)) / sizeof(RECT)) return nullptr;
  std::vector<RECT> rects(h.nCount);
  if (h.nCount) std::memcpy(rects.data(), lpData->Buffer, h.nCount * sizeof(RECT));
  if (lpx) {
    // Axis-aligned scaling and translation keep rectangles rectangles; rotation and shear
    // would need polygons, which we do not offer.
    if (lpx->eM12 != 0.0f || lpx->eM21 != 0.0f) return nullptr;
    for (RECT& r : rects) {
      const double l = r.left * lpx->eM11 + lpx->eDx, rr = r.right * lpx->eM11 + lpx->eDx;
      const double t = r.top * lpx->eM22 + lpx->eDy, b = r.bottom * lpx->eM22 + lpx->eDy;
      r = RECT{static_cast<LONG>(std::lround(std::min(l, rr))),
               static_cast<LONG>(std::lround(std::min(t, b))),
               static_cast<LONG>(std::lround(std::max(l, rr))),
               static_cast<LONG>(std::lround(std::max(t, b)))};
    }
  }
  return NewRegion(Rgn::FromRects(rects.data(), rects.size()));
}

DWORD GetRegionData(HRGN hrgn, DWORD nCount, LPRGNDATA lpRgnData) {
  const RegionObject* r = LookupRegion(hrgn);
  if (!r) return 0;
  const auto& rects = r->rgn.rects();
  const DWORD needed = static_cast<DWORD>(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
  if (!lpRgnData) return needed;
  if (nCount < needed) return 0;
  lpRgnData->rdh.dwSize = sizeof(RGNDATAHEADER);
  lpRgnData->rdh.iType = RDH_RECTANGLES;
  lpRgnData->rdh.nCount = static_cast<DWORD>(rects.size());
  lpRgnData->rdh.nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
  lpRgnData->rdh.rcBound = r->rgn.bounds();
  if (!rects.empty()) std::memcpy(lpRgnData->Buffer, rects.data(), rects.size() * sizeof(RECT));
  return nCount;
}

int OffsetRgn(HRGN hrgn, int x, int y) {
  RegionObject* r = LookupRegion(hrgn);
  if (!r) return ERROR;
  r->rgn.Offset(x, y);
  return r->rgn.kind();
}

BOOL PtInRegion(HRGN hrgn, int x, int y) {
  const RegionObject* r = LookupRegion(hrgn);
  return r && r->rgn.Contains(x, y);
}

BOOL RectInRegion(HRGN hrgn, const RECT* lprect) {
  const RegionObject* r = LookupRegion(hrgn);
  return r && lprect && r->rgn.Intersects(Normalised(*lprect));
}

int GetRgnBox(HRGN hrgn, LPRECT lprc) {
  const RegionObject* r = LookupRegion(hrgn);
  if (!r || !lprc) return ERROR;
  *lprc = r->rgn.bounds();
  return r->rgn.kind();
}

BOOL EqualRgn(HRGN hrgn1, HRGN hrgn2) {
  const RegionObject* a = LookupRegion(hrgn1);
  const RegionObject* b = LookupRegion(hrgn2);
  return a && b && a->rgn == b->rgn;
}
