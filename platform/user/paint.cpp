// Update regions, WM_PAINT generation, window DCs over the top-level surface, and presenting
// what changed to the back end.
#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "platform/gdi/surface_dc.h"
#include "platform/trace.h"
#include "platform/user/window.h"
#include "platform/winbase.h"
#include "platform/wingdi.h"

namespace lumoa::platform::user {

namespace {

struct DcInfo {
  HWND hwnd;
  HWND top;
  RECT bounds;  // surface coordinates the DC may have touched
  bool desktop;
};

std::unordered_map<HDC, DcInfo>& Dcs() {
  static std::unordered_map<HDC, DcInfo> dcs;
  return dcs;
}

RECT ClientBounds(const Window* w) {
  return {0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
}

bool Empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

}  // namespace

HRGN ToHrgn(const RectRegion& r) {
  if (r.Empty()) return CreateRectRgn(0, 0, 0, 0);
  const auto& rects = r.rects();
  std::vector<char> buf(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
  auto* data = reinterpret_cast<RGNDATA*>(buf.data());
  data->rdh.dwSize = sizeof(RGNDATAHEADER);
  data->rdh.iType = RDH_RECTANGLES;
  data->rdh.nCount = DWORD(rects.size());
  data->rdh.nRgnSize = DWORD(rects.size() * sizeof(RECT));
  data->rdh.rcBound = r.Bounds();
  std::memcpy(data->Buffer, rects.data(), rects.size() * sizeof(RECT));
  return ExtCreateRegion(nullptr, DWORD(buf.size()), data);
}

RectRegion FromHrgn(HRGN rgn) {
  RectRegion out;
  if (!rgn) return out;
  const DWORD size = GetRegionData(rgn, 0, nullptr);
  if (!size) return out;
  std::vector<char> buf(size);
  auto* data = reinterpret_cast<RGNDATA*>(buf.data());
  if (!GetRegionData(rgn, size, data)) return out;
  const RECT* rects = reinterpret_cast<const RECT*>(data->Buffer);
  for (DWORD i = 0; i < data->rdh.nCount; ++i) out.Add(rects[i]);
  return out;
}

void EnsureSurface(Window* top) {
  const int w = std::max<LONG>(1, top->rect.right - top->rect.left);
  const int h = std::max<LONG>(1, top->rect.bottom - top->rect.top);
  if (top->surface && top->surfaceWidth == w && top->surfaceHeight == h) return;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bmp) return;  // keeps the old surface; painting goes on at the old size
  if (top->surface) {
    // Keep what was there so a grown window does not flash black before it repaints.
    const int cw = std::min(w, top->surfaceWidth), ch = std::min(h, top->surfaceHeight);
    for (int y = 0; y < ch; ++y)
      std::memcpy(static_cast<BYTE*>(bits) + size_t(y) * w * 4,
                  top->bits + size_t(y) * top->surfaceWidth * 4, size_t(cw) * 4);
    DeleteObject(top->surface);
  }
  top->surface = bmp;
  top->bits = static_cast<BYTE*>(bits);
  top->surfaceWidth = w;
  top->surfaceHeight = h;
  top->dirty.Intersect(RECT{0, 0, w, h});
}

void FreeSurface(Window* top) {
  if (top->surface) DeleteObject(top->surface);
  top->surface = nullptr;
  top->bits = nullptr;
  top->surfaceWidth = top->surfaceHeight = 0;
  top->dirty.Clear();
  top->surfaceDrawn = false;
}

RectRegion VisibleRegion(const Window* w, RegionArea area, ChildWindows children) {
  const bool client = area == RegionArea::Client, clipChildren = children == ChildWindows::Clip;
  RectRegion out;
  if (!ReallyVisible(w) || IsDesktop(w)) return out;
  const POINT off = SurfaceOffset(w);
  RECT r = client ? w->client : RECT{0, 0, w->rect.right - w->rect.left,
                                     w->rect.bottom - w->rect.top};
  OffsetRect(&r, off.x, off.y);
  out.Add(r);
  if (w->windowRgn) {
    RectRegion wr = FromHrgn(w->windowRgn);
    wr.Offset(off.x, off.y);
    out.Intersect(wr);
  }
  if (clipChildren) {
    const POINT co{off.x + w->client.left, off.y + w->client.top};
    for (const Window* c : w->children) {
      if (!c->Visible()) continue;
      RECT cr = c->rect;
      OffsetRect(&cr, co.x, co.y);
      if (c->windowRgn) {
        RectRegion cw = FromHrgn(c->windowRgn);
        cw.Offset(cr.left, cr.top);
        out.Subtract(cw);
      } else {
        out.Subtract(cr);
      }
    }
  }
  // Ancestors' client areas and window regions, and siblings above where they clip.
  for (const Window* x = w; x->parent && !IsDesktop(x); x = x->parent) {
    const Window* p = x->parent;
    if (x->style & WS_CLIPSIBLINGS) {
      const POINT po = IsDesktop(p) ? POINT{0, 0} : POINT{SurfaceOffset(p).x + p->client.left,
                                                          SurfaceOffset(p).y + p->client.top};
      for (const Window* sib : p->children) {
        if (sib == x) break;
        if (!sib->Visible() || IsDesktop(p)) continue;
        RECT sr = sib->rect;
        OffsetRect(&sr, po.x, po.y);
        if (sib->windowRgn) {
          RectRegion sw = FromHrgn(sib->windowRgn);
          sw.Offset(sr.left, sr.top);
          out.Subtract(sw);
        } else {
          out.Subtract(sr);
        }
      }
    }
    if (IsDesktop(p)) break;
    const POINT po = SurfaceOffset(p);
    RECT pc = p->client;
    OffsetRect(&pc, po.x, po.y);
    out.Intersect(pc);
    if (p->windowRgn) {
      RectRegion pr = FromHrgn(p->windowRgn);
      pr.Offset(po.x, po.y);
      out.Intersect(pr);
    }
  }
  return out;
}

void Invalidate(Window* w, const RectRegion* clientRgn, UINT flags) {
  if (!w || IsDesktop(w)) return;
  RectRegion r = clientRgn ? *clientRgn : RectRegion(ClientBounds(w));
  r.Intersect(ClientBounds(w));
  if (flags & RDW_INVALIDATE) {
    if (!ReallyVisible(w)) return;  // hidden windows are repainted whole when shown
    w->update.Add(r);
    if ((flags & RDW_ERASE) && !r.Empty()) w->erase = true;
    if ((flags & RDW_FRAME) && !clientRgn) w->updateFrame = true;
    if (flags & RDW_INTERNALPAINT) w->internalPaint = true;
  }
  if (flags & RDW_VALIDATE) {
    w->update.Subtract(r);
    if (w->update.Empty()) w->erase = false;
    if (flags & RDW_NOFRAME) w->updateFrame = false;
    if (flags & RDW_NOINTERNALPAINT) w->internalPaint = false;
    if (flags & RDW_NOERASE) w->erase = false;
  }
  const bool children =
      (flags & RDW_ALLCHILDREN) || (!(flags & RDW_NOCHILDREN) && !(w->style & WS_CLIPCHILDREN));
  if (!children) return;
  for (Window* c : w->children) {
    if (!c->Visible()) continue;
    RectRegion sub = r;
    sub.Offset(-(c->rect.left + c->client.left), -(c->rect.top + c->client.top));
    sub.Intersect(ClientBounds(c));
    if (sub.Empty() && !r.Intersects(c->rect)) continue;
    Invalidate(c, clientRgn ? &sub : nullptr, flags);
  }
}

void InvalidateInParent(Window* w, const RECT& rectInParent) {
  Window* p = w->parent;
  if (!p || IsDesktop(p)) return;
  RectRegion r(rectInParent);
  Invalidate(p, &r, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

namespace {

bool NeedsPaint(const Window* w) {
  return !w->update.Empty() || w->updateFrame || w->internalPaint;
}

Window* FindPaint(Window* w, HWND filter) {
  if (!w->Visible()) return nullptr;
  const bool inFilter = !filter || w->handle == filter || ::IsChild(filter, w->handle);
  if (inFilter && NeedsPaint(w) && w->thread == std::this_thread::get_id()) return w;
  for (Window* c : w->children)
    if (Window* f = FindPaint(c, filter)) return f;
  return nullptr;
}

void MarkDirty(HWND top, const RECT& bounds) {
  Window* t = Get(top);
  if (!t || Empty(bounds)) return;
  t->dirty.Add(bounds);
  t->surfaceDrawn = true;
}

void PaintNow(HWND hwnd, bool allChildren) {
  Window* w = Get(hwnd);
  if (!w || !ReallyVisible(w)) return;
  if (NeedsPaint(w)) Send(w, WM_PAINT, 0, 0);
  if (!allChildren || !(w = Get(hwnd))) return;
  std::vector<HWND> kids;
  for (Window* c : w->children) kids.push_back(c->handle);
  for (HWND k : kids) PaintNow(k, true);
}

}  // namespace

bool FindPaintWindow(HWND filter, HWND* out) {
  if (filter == HWND(-1)) return false;
  for (Window* top : Desktop()->children) {
    if ((top->style & WS_MINIMIZE)) continue;
    if (Window* f = FindPaint(top, filter)) {
      *out = f->handle;
      return true;
    }
  }
  return false;
}

void PresentWindow(Window* top, const RECT* dirty) {
  if (!top->native || !top->nativeShown) return;
  Backend& b = GetBackend();
  if (top->layeredUpdated) {
    if (top->layeredPixels.empty()) return;
    PixelView v{reinterpret_cast<const uint8_t*>(top->layeredPixels.data()), top->layeredWidth,
                top->layeredHeight, top->layeredWidth * 4};
    b.Present(top->native, v, RECT{0, 0, top->layeredWidth, top->layeredHeight});
    return;
  }
  if (!top->bits) return;
  RECT d = dirty ? *dirty : RECT{0, 0, top->surfaceWidth, top->surfaceHeight};
  if (!top->surfaceDrawn) {
    // Nothing painted yet (a window just shown, its expose): the first paint presents it all.
    top->dirty.Add(d);
    return;
  }
  d.left = std::max<LONG>(d.left, 0);
  d.top = std::max<LONG>(d.top, 0);
  d.right = std::min<LONG>(d.right, top->surfaceWidth);
  d.bottom = std::min<LONG>(d.bottom, top->surfaceHeight);
  if (Empty(d)) return;
  if (TraceOn(TraceChannel::Paint)) {
    TraceLine(TraceChannel::Paint, "present %p %ld,%ld,%ld,%ld", static_cast<void*>(top->handle),
              long(d.left), long(d.top), long(d.right), long(d.bottom));
  }
  PixelView v{top->bits, top->surfaceWidth, top->surfaceHeight, top->surfaceWidth * 4};
  if (!(top->exStyle & WS_EX_LAYERED)) {
    b.Present(top->native, v, d);
    return;
  }
  // A layered window drawn with GDI: opaque except where the colour key matches.
  static std::vector<uint32_t> scratch;
  scratch.resize(size_t(top->surfaceWidth) * top->surfaceHeight);
  const bool keyed = (top->layeredFlags & LWA_COLORKEY) != 0;
  const uint32_t key = keyed ? (uint32_t(GetRValue(top->layeredKey)) << 16) |
                                   (uint32_t(GetGValue(top->layeredKey)) << 8) |
                                   GetBValue(top->layeredKey)
                             : 0;
  for (int y = d.top; y < d.bottom; ++y) {
    const auto* src = reinterpret_cast<const uint32_t*>(top->bits + size_t(y) * v.stride);
    uint32_t* dst = &scratch[size_t(y) * top->surfaceWidth];
    for (int x = d.left; x < d.right; ++x) {
      const uint32_t rgb = src[x] & 0xFFFFFF;
      dst[x] = keyed && rgb == key ? 0 : (rgb | 0xFF000000u);
    }
  }
  PixelView sv{reinterpret_cast<const uint8_t*>(scratch.data()), top->surfaceWidth,
               top->surfaceHeight, top->surfaceWidth * 4};
  b.Present(top->native, sv, d);
}

void PresentDirty() {
  for (Window* top : Desktop()->children) {
    if (top->dirty.Empty()) continue;
    const RECT d = top->dirty.Bounds();
    top->dirty.Clear();
    PresentWindow(top, &d);
  }
}

void ApplyLayeredVisibility(Window* top) {
  if (!top->native) return;
  const bool layeredReady = !(top->exStyle & WS_EX_LAYERED) || top->layeredAttributes ||
                            top->layeredUpdated;
  const bool show = top->Visible() && layeredReady;
  if (show) EnsureSurface(top);
  if (show == top->nativeShown) return;
  top->nativeShown = show;
  GetBackend().Show(top->native, show ? NativeShow::Show : NativeShow::Hide);
  if (show) PresentWindow(top, nullptr);
}

HDC MakeWindowDC(Window* w, bool windowDc, bool clipChildren, const RectRegion* extraClip,
                 bool exclude) {
  Window* top = IsTopLevel(w) ? w : TopLevel(w);
  if (!top) return nullptr;
  EnsureSurface(top);
  if (!top->surface) return nullptr;
  RectRegion vis = VisibleRegion(w, windowDc ? RegionArea::Window : RegionArea::Client,
                                 clipChildren ? ChildWindows::Clip : ChildWindows::Include);
  if (extraClip) {
    if (exclude)
      vis.Subtract(*extraClip);
    else
      vis.Intersect(*extraClip);
  }
  const POINT off = SurfaceOffset(w);
  const POINT origin = windowDc ? off : POINT{off.x + w->client.left, off.y + w->client.top};
  HRGN rgn = ToHrgn(vis);
  HDC dc = CreateSurfaceDC(top->surface, origin, rgn);
  if (rgn) DeleteObject(rgn);
  if (!dc) return nullptr;
  Dcs()[dc] = DcInfo{w->handle, top->handle, vis.Bounds(), false};
  return dc;
}

}  // namespace lumoa::platform::user

using namespace lumoa::platform::user;

BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN rgn, UINT flags) {
  if (!hwnd) {
    std::vector<HWND> tops;
    for (Window* t : Desktop()->children) tops.push_back(t->handle);
    for (HWND t : tops) RedrawWindow(t, rect, rgn, flags | RDW_ALLCHILDREN);
    return TRUE;
  }
  Window* w = Get(hwnd);
  if (!w) return FALSE;
  RectRegion r;
  const RectRegion* p = nullptr;
  if (rgn) {
    r = FromHrgn(rgn);
    p = &r;
  } else if (rect) {
    r.Add(*rect);
    p = &r;
  }
  Invalidate(w, p, flags);
  if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) {
    PaintNow(hwnd, (flags & RDW_ALLCHILDREN) || (flags & RDW_UPDATENOW));
    PresentDirty();
  }
  return TRUE;
}

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
  return RedrawWindow(hwnd, rect, nullptr, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL InvalidateRgn(HWND hwnd, HRGN rgn, BOOL erase) {
  return RedrawWindow(hwnd, nullptr, rgn, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
  return RedrawWindow(hwnd, rect, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL ValidateRgn(HWND hwnd, HRGN rgn) {
  return RedrawWindow(hwnd, nullptr, rgn, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL UpdateWindow(HWND hwnd) {
  if (!Get(hwnd)) return FALSE;
  return RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

namespace {

void EraseNow(Window* w) {
  if (!w->erase) return;
  w->erase = false;
  RectRegion clip = w->update;
  const POINT off = SurfaceOffset(w);
  clip.Offset(off.x + w->client.left, off.y + w->client.top);
  HDC dc = MakeWindowDC(w, false, (w->style & WS_CLIPCHILDREN) != 0, &clip, false);
  if (!dc) return;
  Send(w, WM_ERASEBKGND, WPARAM(dc), 0);
  ReleaseDC(w->handle, dc);
}

}  // namespace

BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase) {
  Window* w = Get(hwnd);
  if (!w) return FALSE;
  RectRegion u = w->update;
  u.Intersect(ClientBounds(w));
  if (rect) *rect = u.Empty() ? RECT{0, 0, 0, 0} : u.Bounds();
  if (erase && !u.Empty()) EraseNow(w);
  return u.Empty() ? FALSE : TRUE;
}

int GetUpdateRgn(HWND hwnd, HRGN rgn, BOOL erase) {
  Window* w = Get(hwnd);
  if (!w || !rgn) return ERROR;
  RectRegion u = w->update;
  u.Intersect(ClientBounds(w));
  HRGN tmp = ToHrgn(u);
  const int type = CombineRgn(rgn, tmp, nullptr, RGN_COPY);
  DeleteObject(tmp);
  if (erase && !u.Empty()) EraseNow(w);
  return type;
}

HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT ps) {
  Window* w = Get(hwnd);
  if (!w || !ps) return nullptr;
  std::memset(ps, 0, sizeof *ps);
  CaretHideForPaint(hwnd, true);
  if (w->updateFrame) {
    w->updateFrame = false;
    Send(w, WM_NCPAINT, 1, 0);
    if (!(w = Get(hwnd))) return nullptr;
  }
  RectRegion upd = w->update;
  upd.Intersect(ClientBounds(w));
  w->update.Clear();
  w->internalPaint = false;
  const bool erase = w->erase;
  w->erase = false;
  const POINT off = SurfaceOffset(w);
  RectRegion clip = upd;
  clip.Offset(off.x + w->client.left, off.y + w->client.top);
  HDC dc = MakeWindowDC(w, false, (w->style & WS_CLIPCHILDREN) != 0, &clip, false);
  if (!dc) return nullptr;
  ps->hdc = dc;
  ps->rcPaint = upd.Empty() ? RECT{0, 0, 0, 0} : upd.Bounds();
  ps->fErase = FALSE;
  if (erase) ps->fErase = Send(w, WM_ERASEBKGND, WPARAM(dc), 0) ? FALSE : TRUE;
  return dc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps) {
  if (!ps) return FALSE;
  ReleaseDC(hwnd, ps->hdc);
  CaretHideForPaint(hwnd, false);
  return TRUE;
}

HDC GetDCEx(HWND hwnd, HRGN clip, DWORD flags) {
  if (!hwnd) {
    HDC dc = CreateCompatibleDC(nullptr);
    if (dc) Dcs()[dc] = DcInfo{nullptr, nullptr, RECT{}, true};
    return dc;
  }
  Window* w = Get(hwnd);
  if (!w) return nullptr;
  if (IsDesktop(w)) return GetDCEx(nullptr, clip, flags);
  const bool windowDc = (flags & DCX_WINDOW) != 0;
  const bool clipChildren = (flags & DCX_CLIPCHILDREN) ||
                            ((flags & DCX_USESTYLE || !(flags & DCX_CACHE)) &&
                             (w->style & WS_CLIPCHILDREN) && !windowDc);
  RectRegion extra;
  const bool useClip = clip && clip != HRGN(1) && (flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN));
  if (useClip) {
    // The region is in screen coordinates, as WM_NCPAINT hands it out.
    extra = FromHrgn(clip);
    Window* top = IsTopLevel(w) ? w : TopLevel(w);
    const POINT o = top ? WindowOrigin(top) : POINT{0, 0};
    extra.Offset(-o.x, -o.y);
  }
  return MakeWindowDC(w, windowDc, clipChildren, useClip ? &extra : nullptr,
                      (flags & DCX_EXCLUDERGN) != 0);
}

HDC GetDC(HWND hwnd) { return GetDCEx(hwnd, nullptr, DCX_USESTYLE); }

HDC GetWindowDC(HWND hwnd) { return GetDCEx(hwnd, nullptr, DCX_WINDOW | DCX_USESTYLE); }

// The DC knows its window; the handle given with it is not needed to release it.
int ReleaseDC(HWND /*hwnd*/, HDC dc) {
  auto& dcs = Dcs();
  auto it = dcs.find(dc);
  if (it == dcs.end()) return 0;
  const DcInfo info = it->second;
  dcs.erase(it);
  DeleteDC(dc);
  if (!info.desktop) MarkDirty(info.top, info.bounds);
  return 1;
}

HWND WindowFromDC(HDC dc) {
  auto it = Dcs().find(dc);
  return it == Dcs().end() ? nullptr : it->second.hwnd;
}
