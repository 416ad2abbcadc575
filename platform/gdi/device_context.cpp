#include "platform/gdi/device_context.h"

#include <algorithm>
#include <utility>

#include "platform/gdi/brush_pen.h"
#include "platform/text/stock_font.h"

namespace lumoa::platform {
namespace {

void Hold(HGDIOBJ h) {
  if (GdiObject* o = LookupGdiObject(h)) ++o->selected;
}

void Release(HGDIOBJ h) {
  if (GdiObject* o = LookupGdiObject(h)) o->selected = std::max(0, o->selected - 1);
}

void HoldState(const DcState& s) {
  for (HGDIOBJ h : {static_cast<HGDIOBJ>(s.bitmap), static_cast<HGDIOBJ>(s.brush),
                    static_cast<HGDIOBJ>(s.pen), static_cast<HGDIOBJ>(s.font)})
    Hold(h);
}

void ReleaseState(const DcState& s) {
  for (HGDIOBJ h : {static_cast<HGDIOBJ>(s.bitmap), static_cast<HGDIOBJ>(s.brush),
                    static_cast<HGDIOBJ>(s.pen), static_cast<HGDIOBJ>(s.font)})
    Release(h);
}

}  // namespace

DeviceContext::~DeviceContext() {
  ReleaseState(st);
  for (const DcState& s : saved) ReleaseState(s);
  if (Bitmap* bm = LookupBitmap(st.bitmap); bm && bm->owner == handle()) bm->owner = nullptr;
}

Bitmap* DeviceContext::target() const { return LookupBitmap(st.bitmap); }

const Rgn& DeviceContext::EffectiveClip() const {
  if (clip_valid_) return clip_cache_;
  const Bitmap* bm = target();
  Rgn r = bm ? Rgn(bm->px.bounds()) : Rgn();
  if (visible) r = Rgn::Combine(r, *visible, RGN_AND);
  if (st.clip) {
    Rgn c = *st.clip;
    c.Offset(origin.x, origin.y);
    r = Rgn::Combine(r, c, RGN_AND);
  }
  clip_cache_ = std::move(r);
  clip_valid_ = true;
  return clip_cache_;
}

HGDIOBJ DeviceContext::Select(HGDIOBJ h) {
  GdiObject* o = LookupGdiObject(h);
  if (!o) return nullptr;
  HGDIOBJ* slot = nullptr;
  switch (o->type()) {
    case OBJ_BITMAP: {
      auto* bm = static_cast<Bitmap*>(o);
      if (surface) return nullptr;
      if (st.bitmap == h) return h;
      if (bm->owner && bm->owner != handle()) return nullptr;  // one DC at a time
      if (Bitmap* old = target(); old && old->owner == handle()) old->owner = nullptr;
      if (!bm->stock) bm->owner = static_cast<HDC>(handle());
      slot = reinterpret_cast<HGDIOBJ*>(&st.bitmap);
      InvalidateClip();
      break;
    }
    case OBJ_BRUSH: slot = reinterpret_cast<HGDIOBJ*>(&st.brush); break;
    case OBJ_PEN: slot = reinterpret_cast<HGDIOBJ*>(&st.pen); break;
    case OBJ_FONT: slot = reinterpret_cast<HGDIOBJ*>(&st.font); break;
    default: return nullptr;
  }
  const HGDIOBJ old = *slot;
  Hold(h);
  Release(old);
  *slot = h;
  return old;
}

COLORREF DeviceContext::BrushColor(const Brush& b) const {
  return b.dc_brush ? st.dc_brush_color : b.color;
}

void InitDcDefaults(DeviceContext& dc) {
  dc.st.brush = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  dc.st.pen = static_cast<HPEN>(GetStockObject(BLACK_PEN));
  dc.st.font = StockFont(SYSTEM_FONT);
  if (!dc.surface) dc.st.bitmap = DefaultDcBitmap();
  HoldState(dc.st);
}

}  // namespace lumoa::platform

using namespace lumoa::platform;

namespace {

// Device units of a logical point (no surface origin).
POINT ToDevice(const DeviceContext& dc, int x, int y) {
  return POINT{x - dc.st.window_org.x + dc.st.viewport_org.x,
               y - dc.st.window_org.y + dc.st.viewport_org.y};
}

RECT DeviceBounds(const DeviceContext& dc) {
  const Bitmap* bm = dc.target();
  if (!bm) return RECT{0, 0, 0, 0};
  RECT r = bm->px.bounds();
  OffsetRect(&r, -dc.origin.x, -dc.origin.y);
  return r;
}

BOOL SetPoint(POINT& field, int x, int y, LPPOINT old) {
  if (old) *old = field;
  field = POINT{x, y};
  return TRUE;
}

int ClipResult(DeviceContext& dc) {
  dc.InvalidateClip();
  return dc.EffectiveClip().kind();
}

}  // namespace

HDC CreateCompatibleDC(HDC hdc) {
  if (hdc && !LookupDC(hdc)) return nullptr;
  auto* dc = new DeviceContext(OBJ_MEMDC);
  InitDcDefaults(*dc);
  return static_cast<HDC>(dc->handle());
}

BOOL DeleteDC(HDC hdc) {
  DeviceContext* dc = LookupDC(hdc);
  if (!dc) return FALSE;
  delete dc;
  return TRUE;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h) {
  DeviceContext* dc = LookupDC(hdc);
  if (!dc) return nullptr;
  if (GetObjectType(h) == OBJ_REGION) {
    const int kind = SelectClipRgn(hdc, static_cast<HRGN>(h));
    return kind == ERROR ? HGDI_ERROR : reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(kind));
  }
  return dc->Select(h);
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
  DeviceContext* dc = LookupDC(hdc);
  if (!dc) return nullptr;
  switch (type) {
    case OBJ_BITMAP: return dc->st.bitmap;
    case OBJ_BRUSH: return dc->st.brush;
    case OBJ_PEN: return dc->st.pen;
    case OBJ_FONT: return dc->st.font;
    default: return nullptr;
  }
}

int SaveDC(HDC hdc) {
  DeviceContext* dc = LookupDC(hdc);
  if (!dc) return 0;
  dc->saved.push_back(dc->st);
  HoldState(dc->st);
  return static_cast<int>(dc->saved.size());
}

BOOL RestoreDC(HDC hdc, int nSavedDC) {
  DeviceContext* dc = LookupDC(hdc);
  if (!dc || nSavedDC == 0) return FALSE;
  const int depth = static_cast<int>(dc->saved.size());
  const int level = nSavedDC < 0 ? depth + 1 + nSavedDC : nSavedDC;
  if (level < 1 || level > depth) return FALSE;
  DcState s = dc->saved[static_cast<size_t>(level - 1)];
  // Drop the levels above, then put the saved objects back through the selection logic so that
  // ownership and counts stay right even if some object has gone meanwhile.
  for (int i = depth; i >= level; --i) ReleaseState(dc->saved[static_cast<size_t>(i - 1)]);
  dc->saved.resize(static_cast<size_t>(level - 1));
  auto reselect = [dc](HGDIOBJ h, HGDIOBJ fallback) {
    if (!dc->Select(h)) dc->Select(fallback);
  };
  if (!dc->surface) reselect(s.bitmap, DefaultDcBitmap());
  reselect(s.brush, GetStockObject(WHITE_BRUSH));
  reselect(s.pen, GetStockObject(BLACK_PEN));
  reselect(s.font, GetStockObject(SYSTEM_FONT));
  s.bitmap = dc->st.bitmap;
  s.brush = dc->st.brush;
  s.pen = dc->st.pen;
  s.font = dc->st.font;
  dc->st = std::move(s);
  dc->InvalidateClip();
  return TRUE;
}

BOOL SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT lppt) {
  DeviceContext* dc = LookupDC(hdc);
  return dc ? SetPoint(dc->st.window_org, x, y, lppt) : FALSE;
}

BOOL GetWindowOrgEx(HDC hdc, LPPOINT lppoint) {
  DeviceContext* dc = LookupDC(hdc);
  if (!dc || !lppoint) return FALSE;
  *lppoint = dc->st.window_org;
  return TRUE;
}

BOOL OffsetWindowOrgEx(HDC hdc, int x, int y, LPPOINT lppt) {
  DeviceContext* dc = LookupDC(hdc);
  if (!dc) return FALSE;
  return SetPoint(dc->st.window_org, dc->st.window_org.x + x, dc->st.window_org.y + y, lppt);
}

BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT lppt) {
  DeviceContext* dc = LookupDC(hdc);
  return dc ? SetPoint(dc->st.viewport_org, x, y, lppt) : FALSE;
}

BOOL GetViewportOrgEx(HDC hdc, LPPOINT lppoint) {
  DeviceContext* dc = LookupDC(hdc);
  if (!dc || !lppoint) return FALSE;
  *lppoint = dc->st.viewport_org;
  return TRUE;
}

BOOL OffsetViewportOrgEx(HDC hdc, int x, int y, LPPOINT lppt) {
  DeviceContext* dc = LookupDC(hdc);
  if (!dc) return FALSE;
  return SetPoint(dc->st.viewport_org, dc->st.viewport_org.x + x, dc->st.viewport_org.y + y, lppt);
}

BOOL SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT lppt) {
  DeviceContext* dc = LookupDC(hdc);
  return dc ? SetPoint(dc->st.brush_org, x, y, lppt) : FALSE;
}

BOOL GetBrushOrgEx(HDC hdc, LPPOINT lppt) {
  DeviceContext* dc = LookupDC(hdc);
  if (!dc || !lppt) return FALSE;
  *lppt = dc->st.brush_org;
  return TRUE;
}

BOOL LPtoDP(HDC hdc, LPPOINT lppt, int c) {
  DeviceContext* dc = LookupDC(hdc);
  if (!dc || (!lppt && c > 0)) return FALSE;
  for (int i = 0; i < c; ++i) lppt[i] = ToDevice(*dc, lppt[i].x, lppt[i].y);
  return TRUE;
}

BOOL DPtoLP(HDC hdc, LPPOINT lppt, int c) {
  DeviceContext* dc = LookupDC(hdc);
  if (!dc || (!lppt && c > 0)) return FALSE;
  const POINT zero = ToDevice(*dc, 0, 0);
  for (int i = 0; i < c; ++i) lppt[i] = POINT{lppt[i].x - zero.x, lppt[i].y - zero.y};
  return TRUE;
}

int GetMapMode(HDC hdc) { return LookupDC(hdc) ? MM_TEXT : 0; }

int GetDeviceCaps(HDC hdc, int index) {
  DeviceContext* dc = LookupDC(hdc);
  if (!dc) return 0;
  const Bitmap* bm = dc->target();
  // A memory DC still holding its 1x1 placeholder answers for the display.
  const bool display = !bm || bm->stock;
  switch (index) {
    case BITSPIXEL: return display ? 32 : bm->px.bpp;
    case PLANES: return 1;
    case LOGPIXELSX:
    case LOGPIXELSY: return 96;
    case HORZRES: return bm ? bm->px.width : 0;
    case VERTRES: return bm ? bm->px.height : 0;
    case HORZSIZE: return bm ? bm->px.width * 254 / 960 : 0;
    case VERTSIZE: return bm ? bm->px.height * 254 / 960 : 0;
    case NUMCOLORS: return display || bm->px.bpp > 8 ? -1 : 1 << bm->px.bpp;
    case SIZEPALETTE: return 0;
    case COLORRES: return 24;
    case RASTERCAPS:
      return RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT | RC_STRETCHDIB;
    case SHADEBLENDCAPS: return SB_CONST_ALPHA | SB_PIXEL_ALPHA;
    default: return 0;
  }
}

#define DC_ACCESSORS(Set, Get, Type, field, fail)     \
  Type Set(HDC hdc, Type value) {                     \
    DeviceContext* dc = LookupDC(hdc);                \
    if (!dc) return fail;                             \
    const Type old = dc->st.field;                    \
    dc->st.field = value;                             \
    return old;                                       \
  }                                                   \
  Type Get(HDC hdc) {                                 \
    DeviceContext* dc = LookupDC(hdc);                \
    return dc ? dc->st.field : fail;                  \
  }

DC_ACCESSORS(SetTextColor, GetTextColor, COLORREF, text_color, CLR_INVALID)
DC_ACCESSORS(SetBkColor, GetBkColor, COLORREF, bk_color, CLR_INVALID)
DC_ACCESSORS(SetTextAlign, GetTextAlign, UINT, text_align, GDI_ERROR)
DC_ACCESSORS(SetDCBrushColor, GetDCBrushColor, COLORREF, dc_brush_color, CLR_INVALID)
DC_ACCESSORS(SetDCPenColor, GetDCPenColor, COLORREF, dc_pen_color, CLR_INVALID)
#undef DC_ACCESSORS

int SetBkMode(HDC hdc, int mode) {
  DeviceContext* dc = LookupDC(hdc);
  if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  return std::exchange(dc->st.bk_mode, mode);
}

int GetBkMode(HDC hdc) {
  DeviceContext* dc = LookupDC(hdc);
  return dc ? dc->st.bk_mode : 0;
}

int SetROP2(HDC hdc, int rop2) {
  DeviceContext* dc = LookupDC(hdc);
  if (!dc || rop2 < R2_BLACK || rop2 > R2_WHITE) return 0;
  return std::exchange(dc->st.rop2, rop2);
}

int GetROP2(HDC hdc) {
  DeviceContext* dc = LookupDC(hdc);
  return dc ? dc->st.rop2 : 0;
}

int SetStretchBltMode(HDC hdc, int mode) {
  DeviceContext* dc = LookupDC(hdc);
  if (!dc || mode < BLACKONWHITE || mode > HALFTONE) return 0;
  return std::exchange(dc->st.stretch_mode, mode);
}

int GetStretchBltMode(HDC hdc) {
  DeviceContext* dc = LookupDC(hdc);
  return dc ? dc->st.stretch_mode : 0;
}

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT lppt) {
  DeviceContext* dc = LookupDC(hdc);
  return dc ? SetPoint(dc->st.position, x, y, lppt) : FALSE;
}

BOOL GetCurrentPositionEx(HDC hdc, LPPOINT lppt) {
  DeviceContext* dc = LookupDC(hdc);
  if (!dc || !lppt) return FALSE;
  *lppt = dc->st.position;
  return TRUE;
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int cx, int cy) {
  DeviceContext* dc = hdc ? LookupDC(hdc) : nullptr;
  if ((hdc && !dc) || cx < 0 || cy < 0) return nullptr;
  if (cx == 0 || cy == 0) return DefaultDcBitmap();
  const Bitmap* cur = dc ? dc->target() : nullptr;
  // Compatible with what the DC holds: a fresh memory DC holds a monochrome bitmap.
  const int bpp = cur ? cur->px.bpp : 32;
  const bool dib = cur && cur->dib_section;
  Bitmap* bm = NewBitmap(cx, cy, bpp == 24 ? 24 : bpp, true, dib);
  if (!bm) return nullptr;
  if (cur && bpp <= 8) bm->px.colors = cur->px.colors;
  if (dib) {
    bm->header = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), cx, -cy, 1, static_cast<WORD>(bpp),
                                  BI_RGB, 0, 0, 0, 0, 0};
  }
  return static_cast<HBITMAP>(bm->handle());
}

UINT GetDIBColorTable(HDC hdc, UINT iStart, UINT cEntries, RGBQUAD* prgbq) {
  DeviceContext* dc = LookupDC(hdc);
  const Bitmap* bm = dc ? dc->target() : nullptr;
  if (!bm || !prgbq || bm->px.bpp > 8 || iStart >= bm->px.colors.size()) return 0;
  const UINT n = std::min<UINT>(cEntries, static_cast<UINT>(bm->px.colors.size()) - iStart);
  std::copy_n(bm->px.colors.begin() + iStart, n, prgbq);
  return n;
}

UINT SetDIBColorTable(HDC hdc, UINT iStart, UINT cEntries, const RGBQUAD* prgbq) {
  DeviceContext* dc = LookupDC(hdc);
  Bitmap* bm = dc ? dc->target() : nullptr;
  if (!bm || !prgbq || bm->px.bpp > 8 || iStart >= bm->px.colors.size()) return 0;
  const UINT n = std::min<UINT>(cEntries, static_cast<UINT>(bm->px.colors.size()) - iStart);
  std::copy_n(prgbq, n, bm->px.colors.begin() + iStart);
  return n;
}

// ---- Clipping ----

int ExtSelectClipRgn(HDC hdc, HRGN hrgn, int mode) {
  DeviceContext* dc = LookupDC(hdc);
  if (!dc || mode < RGN_AND || mode > RGN_COPY) return ERROR;
  if (!hrgn) {
    if (mode != RGN_COPY) return ERROR;
    dc->st.clip.reset();
    return ClipResult(*dc);
  }
  const RegionObject* r = LookupRegion(hrgn);
  if (!r) return ERROR;
  if (mode == RGN_COPY) {
    dc->st.clip = r->rgn;
    return ClipResult(*dc);
  }
  const Rgn current = dc->st.clip ? *dc->st.clip : Rgn(DeviceBounds(*dc));
  dc->st.clip = Rgn::Combine(current, r->rgn, mode);
  return ClipResult(*dc);
}

int SelectClipRgn(HDC hdc, HRGN hrgn) { return ExtSelectClipRgn(hdc, hrgn, RGN_COPY); }

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
  DeviceContext* dc = LookupDC(hdc);
  if (!dc) return ERROR;
  const POINT a = ToDevice(*dc, left, top), b = ToDevice(*dc, right, bottom);
  const Rgn rect(RECT{a.x, a.y, b.x, b.y});
  const Rgn current = dc->st.clip ? *dc->st.clip : Rgn(DeviceBounds(*dc));
  dc->st.clip = Rgn::Combine(current, rect, RGN_AND);
  return ClipResult(*dc);
}

int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom) {
  DeviceContext* dc = LookupDC(hdc);
  if (!dc) return ERROR;
  const POINT a = ToDevice(*dc, left, top), b = ToDevice(*dc, right, bottom);
  const Rgn rect(RECT{a.x, a.y, b.x, b.y});
  const Rgn current = dc->st.clip ? *dc->st.clip : Rgn(DeviceBounds(*dc));
  dc->st.clip = Rgn::Combine(current, rect, RGN_DIFF);
  return ClipResult(*dc);
}

int OffsetClipRgn(HDC hdc, int x, int y) {
  DeviceContext* dc = LookupDC(hdc);
  if (!dc) return ERROR;
  if (dc->st.clip) dc->st.clip->Offset(x, y);
  return ClipResult(*dc);
}

int GetClipBox(HDC hdc, LPRECT lprect) {
  DeviceContext* dc = LookupDC(hdc);
  if (!dc || !lprect) return ERROR;
  const Rgn& clip = dc->EffectiveClip();
  *lprect = clip.bounds();
  if (!clip.empty()) {
    const POINT off = dc->offset();
    OffsetRect(lprect, -off.x, -off.y);
  }
  return clip.kind();
}

int GetClipRgn(HDC hdc, HRGN hrgn) {
  DeviceContext* dc = LookupDC(hdc);
  RegionObject* r = LookupRegion(hrgn);
  if (!dc || !r) return -1;
  if (!dc->st.clip) return 0;
  r->rgn = *dc->st.clip;
  return 1;
}

BOOL PtVisible(HDC hdc, int x, int y) {
  DeviceContext* dc = LookupDC(hdc);
  if (!dc) return FALSE;
  const POINT off = dc->offset();
  return dc->EffectiveClip().Contains(x + off.x, y + off.y);
}

BOOL RectVisible(HDC hdc, const RECT* lprect) {
  DeviceContext* dc = LookupDC(hdc);
  if (!dc || !lprect) return FALSE;
  RECT r{std::min(lprect->left, lprect->right), std::min(lprect->top, lprect->bottom),
         std::max(lprect->left, lprect->right), std::max(lprect->top, lprect->bottom)};
  const POINT off = dc->offset();
  OffsetRect(&r, off.x, off.y);
  return dc->EffectiveClip().Intersects(r);
}
