// Filled and outlined shapes, lines and single pixels.
#include <algorithm>

#include "platform/gdi/raster.h"

using namespace lumoa::platform;

namespace {

struct Target {
  DeviceContext* dc = nullptr;
  Bitmap* bm = nullptr;
  explicit operator bool() const { return bm != nullptr; }
};

Target Resolve(HDC hdc) {
  Target t;
  t.dc = LookupDC(hdc);
  t.bm = t.dc ? t.dc->target() : nullptr;
  return t;
}

// Pixels of `r` that touch its outside within (w, h): the frame FrameRgn paints.
Rgn FrameOf(const Rgn& r, int w, int h) {
  Rgn inner = r;
  const int shifts[4][2] = {{w, 0}, {-w, 0}, {0, h}, {0, -h}};
  for (const auto& s : shifts) {
    Rgn moved = r;
    moved.Offset(s[0], s[1]);
    inner = Rgn::Combine(inner, moved, RGN_AND);
  }
  return Rgn::Combine(r, inner, RGN_DIFF);
}

bool FillWithBrush(const Target& t, const Rgn& surface_area, HBRUSH brush, BYTE rop) {
  RawPattern pat;
  if (!MakePattern(*t.dc, brush, t.bm->px, pat)) return true;  // hollow brush paints nothing
  FillSurfaceRgn(*t.dc, surface_area, pat, rop);
  return true;
}

Rgn LogicalRgnToSurface(const DeviceContext& dc, const Rgn& r) {
  Rgn s = r;
  const POINT off = dc.offset();
  s.Offset(off.x, off.y);
  return s;
}

// Draws pen lines through the DC's clip with its ROP2 and dash style.
class PenPainter {
 public:
  explicit PenPainter(const Target& t) : t_(t) {
    const Pen* pen = LookupPen(t.dc->st.pen);
    if (!pen || pen->style == PS_NULL) return;
    active_ = true;
    const COLORREF c = pen->dc_pen ? t.dc->st.dc_pen_color : pen->color;
    raw_ = t.bm->px.ToRaw(c);
    gap_raw_ = t.bm->px.ToRaw(t.dc->st.bk_color);
    opaque_gaps_ = t.dc->st.bk_mode == OPAQUE;
    width_ = std::max(1, pen->width);
    rop_ = Rop2ToRop3(t.dc->st.rop2);
    // Styled pens are cosmetic: a wide pen draws solid.
    if (width_ == 1) {
      switch (pen->style) {
        case PS_DASH: dashes_ = {18, 6}; break;
        case PS_DOT: dashes_ = {3, 3}; break;
        case PS_DASHDOT: dashes_ = {9, 6, 3, 6}; break;
        case PS_DASHDOTDOT: dashes_ = {9, 3, 3, 3, 3, 3}; break;
        default: break;
      }
    }
  }
  bool active() const { return active_; }

  // Line from a to b in logical units, the end point excluded.
  void Line(POINT a, POINT b) {
    if (!active_) return;
    const POINT off = t_.dc->offset();
    int x = a.x + off.x, y = a.y + off.y;
    const int x1 = b.x + off.x, y1 = b.y + off.y;
    const int dx = std::abs(x1 - x), dy = std::abs(y1 - y);
    const int sx = x < x1 ? 1 : -1, sy = y < y1 ? 1 : -1;
    int err = dx - dy;
    while (x != x1 || y != y1) {
      Plot(x, y);
      const int e2 = 2 * err;
      if (e2 > -dy) {
        err -= dy;
        x += sx;
      }
      if (e2 < dx) {
        err += dx;
        y += sy;
      }
    }
  }

 private:
  void Plot(int x, int y) {
    bool on = true;
    if (!dashes_.empty()) {
      on = (dash_index_ % 2) == 0;
      if (++dash_pos_ >= dashes_[dash_index_]) {
        dash_pos_ = 0;
        dash_index_ = (dash_index_ + 1) % dashes_.size();
      }
      if (!on && !opaque_gaps_) return;
    }
    const uint32_t value = on ? raw_ : gap_raw_;
    if (width_ > 1) {
      const int h = width_ / 2;
      FillSurfaceRect(*t_.dc, RECT{x - h, y - h, x - h + width_, y - h + width_}, SolidPattern(value),
                      rop_);
      return;
    }
    if (!t_.dc->EffectiveClip().Contains(x, y)) return;
    uint32_t d;
    t_.bm->px.ReadRaw(x, y, 1, &d);
    ApplyRop3(rop_, &d, nullptr, &value, 1);
    t_.bm->px.WriteRaw(x, y, 1, &d);
  }

  const Target& t_;
  bool active_ = false;
  uint32_t raw_ = 0, gap_raw_ = 0;
  bool opaque_gaps_ = false;
  int width_ = 1;
  BYTE rop_ = 0xF0;
  std::vector<int> dashes_;
  size_t dash_index_ = 0;
  int dash_pos_ = 0;
};

}  // namespace

int FillRect(HDC hdc, const RECT* lprc, HBRUSH hbr) {
  const Target t = Resolve(hdc);
  if (!t || !lprc || !LookupBrush(hbr)) return FALSE;
  if (lprc->left >= lprc->right || lprc->top >= lprc->bottom) return TRUE;
  return FillWithBrush(t, Rgn(ToSurface(*t.dc, *lprc)), hbr, 0xF0);
}

int FrameRect(HDC hdc, const RECT* lprc, HBRUSH hbr) {
  const Target t = Resolve(hdc);
  if (!t || !lprc || !LookupBrush(hbr)) return FALSE;
  if (lprc->left >= lprc->right || lprc->top >= lprc->bottom) return TRUE;
  return FillWithBrush(t, FrameOf(Rgn(ToSurface(*t.dc, *lprc)), 1, 1), hbr, 0xF0);
}

BOOL InvertRect(HDC hdc, const RECT* lprc) {
  const Target t = Resolve(hdc);
  if (!t || !lprc) return FALSE;
  FillSurfaceRect(*t.dc, ToSurface(*t.dc, *lprc), SolidPattern(0), 0x55);
  return TRUE;
}

BOOL FillRgn(HDC hdc, HRGN hrgn, HBRUSH hbr) {
  const Target t = Resolve(hdc);
  const RegionObject* r = LookupRegion(hrgn);
  if (!t || !r || !LookupBrush(hbr)) return FALSE;
  return FillWithBrush(t, LogicalRgnToSurface(*t.dc, r->rgn), hbr, 0xF0);
}

BOOL PaintRgn(HDC hdc, HRGN hrgn) {
  const Target t = Resolve(hdc);
  if (!t) return FALSE;
  return FillRgn(hdc, hrgn, t.dc->st.brush);
}

BOOL InvertRgn(HDC hdc, HRGN hrgn) {
  const Target t = Resolve(hdc);
  const RegionObject* r = LookupRegion(hrgn);
  if (!t || !r) return FALSE;
  FillSurfaceRgn(*t.dc, LogicalRgnToSurface(*t.dc, r->rgn), SolidPattern(0), 0x55);
  return TRUE;
}

BOOL FrameRgn(HDC hdc, HRGN hrgn, HBRUSH hbr, int w, int h) {
  const Target t = Resolve(hdc);
  const RegionObject* r = LookupRegion(hrgn);
  if (!t || !r || !LookupBrush(hbr) || w <= 0 || h <= 0) return FALSE;
  return FillWithBrush(t, FrameOf(LogicalRgnToSurface(*t.dc, r->rgn), w, h), hbr, 0xF0);
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color) {
  const Target t = Resolve(hdc);
  if (!t) return CLR_INVALID;
  const POINT off = t.dc->offset();
  x += off.x;
  y += off.y;
  if (!t.dc->EffectiveClip().Contains(x, y)) return CLR_INVALID;
  const uint32_t raw = t.bm->px.ToRaw(color);
  t.bm->px.WriteRaw(x, y, 1, &raw);
  return t.bm->px.ToColor(raw);
}

BOOL SetPixelV(HDC hdc, int x, int y, COLORREF color) {
  return SetPixel(hdc, x, y, color) != CLR_INVALID;
}

COLORREF GetPixel(HDC hdc, int x, int y) {
  const Target t = Resolve(hdc);
  if (!t) return CLR_INVALID;
  const POINT off = t.dc->offset();
  x += off.x;
  y += off.y;
  if (!t.dc->EffectiveClip().Contains(x, y)) return CLR_INVALID;
  uint32_t raw;
  t.bm->px.ReadRaw(x, y, 1, &raw);
  return t.bm->px.ToColor(raw);
}

COLORREF GetNearestColor(HDC hdc, COLORREF color) {
  const Target t = Resolve(hdc);
  if (!t) return CLR_INVALID;
  return t.bm->px.ToColor(t.bm->px.ToRaw(color));
}

BOOL LineTo(HDC hdc, int x, int y) {
  const Target t = Resolve(hdc);
  if (!t) return FALSE;
  PenPainter pen(t);
  pen.Line(t.dc->st.position, POINT{x, y});
  t.dc->st.position = POINT{x, y};
  return TRUE;
}

BOOL Polyline(HDC hdc, const POINT* apt, int cpt) {
  const Target t = Resolve(hdc);
  if (!t || !apt || cpt < 2) return FALSE;
  PenPainter pen(t);
  for (int i = 0; i + 1 < cpt; ++i) pen.Line(apt[i], apt[i + 1]);
  return TRUE;
}

BOOL PolyPolyline(HDC hdc, const POINT* apt, const DWORD* asz, DWORD csz) {
  const Target t = Resolve(hdc);
  if (!t || !apt || !asz) return FALSE;
  for (DWORD i = 0; i < csz; ++i)
    if (asz[i] < 2) return FALSE;
  for (DWORD i = 0; i < csz; ++i) {
    PenPainter pen(t);
    for (DWORD k = 0; k + 1 < asz[i]; ++k) pen.Line(apt[k], apt[k + 1]);
    apt += asz[i];
  }
  return TRUE;
}

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
  const Target t = Resolve(hdc);
  if (!t) return FALSE;
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  PenPainter pen(t);
  // Without a pen the filled area loses its right column and bottom row, as on Win32.
  const RECT fill = pen.active() ? RECT{left + 1, top + 1, right - 1, bottom - 1}
                                 : RECT{left, top, right - 1, bottom - 1};
  if (fill.left < fill.right && fill.top < fill.bottom)
    FillWithBrush(t, Rgn(ToSurface(*t.dc, fill)), t.dc->st.brush, 0xF0);
  if (!pen.active() || right - left < 1 || bottom - top < 1) return TRUE;
  if (right - left <= 2 || bottom - top <= 2) {
    // Nothing inside the outline: it covers the whole rectangle, each pixel once.
    const Pen* p = LookupPen(t.dc->st.pen);
    const COLORREF c = p->dc_pen ? t.dc->st.dc_pen_color : p->color;
    FillSurfaceRect(*t.dc, ToSurface(*t.dc, RECT{left, top, right, bottom}),
                    SolidPattern(t.bm->px.ToRaw(c)), Rop2ToRop3(t.dc->st.rop2));
    return TRUE;
  }
  const POINT pts[5] = {{left, top}, {right - 1, top}, {right - 1, bottom - 1}, {left, bottom - 1},
                        {left, top}};
  for (int i = 0; i < 4; ++i) pen.Line(pts[i], pts[i + 1]);
  return TRUE;
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom) {
  const Target t = Resolve(hdc);
  if (!t) return FALSE;
  const Rgn shape = LogicalRgnToSurface(*t.dc, EllipseRgn(RECT{left, top, right, bottom}));
  PenPainter pen(t);
  if (!pen.active()) return FillWithBrush(t, shape, t.dc->st.brush, 0xF0);
  const Rgn outline = FrameOf(shape, 1, 1);
  FillWithBrush(t, Rgn::Combine(shape, outline, RGN_DIFF), t.dc->st.brush, 0xF0);
  const Pen* p = LookupPen(t.dc->st.pen);
  const COLORREF c = p->dc_pen ? t.dc->st.dc_pen_color : p->color;
  FillSurfaceRgn(*t.dc, outline, SolidPattern(t.bm->px.ToRaw(c)), Rop2ToRop3(t.dc->st.rop2));
  return TRUE;
}
