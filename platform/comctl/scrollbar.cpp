// Window scroll bars: SetScrollInfo/GetScrollInfo and friends over per-window state, the bar
// shown or hidden as its range needs, and plain non-client drawing.
#include "platform/comctl/scrollbar.h"

#include <algorithm>
#include <unordered_map>

namespace lumoa::platform::comctl {

namespace {

struct Bar {
  int min = 0, max = 0;
  UINT page = 0;
  int pos = 0;
  int track = 0;
  bool disabled = false;
};

struct Bars {
  Bar horz, vert;
};

std::unordered_map<HWND, Bars>& Table() {
  static std::unordered_map<HWND, Bars> table;
  return table;
}

// Handles are never reused; entries of destroyed windows are dropped now and then.
Bar* Find(HWND hwnd, int bar, bool create) {
  auto& t = Table();
  auto it = t.find(hwnd);
  if (it == t.end()) {
    if (!create || !IsWindow(hwnd)) return nullptr;
    if (t.size() >= 256) std::erase_if(t, [](const auto& kv) { return !IsWindow(kv.first); });
    it = t.emplace(hwnd, Bars{}).first;
  }
  return bar == SB_HORZ ? &it->second.horz : &it->second.vert;
}

DWORD StyleBit(int bar) { return bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL; }

void Normalise(Bar& b) {
  if (b.max < b.min) b.max = b.min;
  const long long range = (long long)b.max - b.min + 1;
  if ((long long)b.page > range) b.page = UINT(range);
  const int top = b.max - std::max(int(b.page) - 1, 0);
  b.pos = std::clamp(b.pos, b.min, std::max(b.min, top));
}

void SetStyleBits(HWND hwnd, DWORD bits, bool on) {
  const DWORD style = DWORD(GetWindowLongPtrW(hwnd, GWL_STYLE));
  const DWORD next = on ? (style | bits) : (style & ~bits);
  if (next == style) return;
  SetWindowLongPtrW(hwnd, GWL_STYLE, LONG_PTR(next));
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void Redraw(HWND hwnd) { RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE); }

int ArrowSize(const RECT& r, int bar) {
  const int along = bar == SB_HORZ ? r.right - r.left : r.bottom - r.top;
  return std::min(GetSystemMetrics(bar == SB_HORZ ? SM_CXHSCROLL : SM_CYVSCROLL), along / 2);
}

}  // namespace

RECT ScrollBarRect(HWND hwnd, int bar) {
  const DWORD style = DWORD(GetWindowLongPtrW(hwnd, GWL_STYLE));
  if (!(style & StyleBit(bar))) return RECT{};
  RECT wr, cr;
  GetWindowRect(hwnd, &wr);
  GetClientRect(hwnd, &cr);
  POINT o{0, 0};
  ClientToScreen(hwnd, &o);
  const int left = o.x - wr.left, top = o.y - wr.top;
  if (bar == SB_HORZ)
    return {left, top + cr.bottom, left + cr.right, top + cr.bottom + GetSystemMetrics(SM_CYHSCROLL)};
  return {left + cr.right, top, left + cr.right + GetSystemMetrics(SM_CXVSCROLL), top + cr.bottom};
}

void ThumbGeometry(HWND hwnd, int bar, int* offset, int* length) {
  *offset = *length = 0;
  const RECT r = ScrollBarRect(hwnd, bar);
  const Bar* b = Find(hwnd, bar, false);
  if (IsRectEmpty(&r) || !b) return;
  const int arrow = ArrowSize(r, bar);
  const int track = (bar == SB_HORZ ? r.right - r.left : r.bottom - r.top) - 2 * arrow;
  const long long range = (long long)b->max - b->min + 1;
  if (track <= 0 || range <= 1 || (b->page && (long long)b->page >= range)) return;
  const int minThumb = 8;
  int len = b->page ? int(track * (long long)b->page / range) : arrow;
  len = std::clamp(len, std::min(minThumb, track), track);
  const long long span = range - std::max<long long>(b->page, 1);
  *offset = arrow + (span > 0 ? int((track - len) * ((long long)b->pos - b->min) / span) : 0);
  *length = len;
}

int ScrollPosFromThumb(HWND hwnd, int bar, int px) {
  const Bar* b = Find(hwnd, bar, false);
  if (!b) return 0;
  const RECT r = ScrollBarRect(hwnd, bar);
  const int arrow = ArrowSize(r, bar);
  int offset, len;
  ThumbGeometry(hwnd, bar, &offset, &len);
  const int track = (bar == SB_HORZ ? r.right - r.left : r.bottom - r.top) - 2 * arrow;
  const long long span = (long long)b->max - b->min + 1 - std::max<long long>(b->page, 1);
  if (track - len <= 0 || span <= 0) return b->min;
  const int rel = std::clamp(px - arrow, 0, track - len);
  return b->min + int((span * rel + (track - len) / 2) / (track - len));
}

ScrollPart HitScrollBar(HWND hwnd, int bar, POINT screen) {
  const RECT r = ScrollBarRect(hwnd, bar);
  RECT wr;
  GetWindowRect(hwnd, &wr);
  const POINT p{screen.x - wr.left, screen.y - wr.top};
  if (IsRectEmpty(&r) || !PtInRect(&r, p)) return ScrollPart::None;
  const int along = bar == SB_HORZ ? p.x - r.left : p.y - r.top;
  const int size = bar == SB_HORZ ? r.right - r.left : r.bottom - r.top;
  const int arrow = ArrowSize(r, bar);
  if (along < arrow) return ScrollPart::LineUp;
  if (along >= size - arrow) return ScrollPart::LineDown;
  int offset, len;
  ThumbGeometry(hwnd, bar, &offset, &len);
  if (len == 0) return ScrollPart::None;
  if (along < offset) return ScrollPart::PageUp;
  if (along >= offset + len) return ScrollPart::PageDown;
  return ScrollPart::Thumb;
}

void DrawScrollBar(HWND hwnd, int bar) {
  const RECT r = ScrollBarRect(hwnd, bar);
  if (IsRectEmpty(&r)) return;
  HDC dc = GetWindowDC(hwnd);
  if (!dc) return;
  FillRect(dc, &r, GetSysColorBrush(COLOR_SCROLLBAR));
  const int arrow = ArrowSize(r, bar);
  RECT first = r, last = r;
  if (bar == SB_HORZ) {
    first.right = r.left + arrow;
    last.left = r.right - arrow;
  } else {
    first.bottom = r.top + arrow;
    last.top = r.bottom - arrow;
  }
  for (const RECT* box : {&first, &last}) {
    FillRect(dc, box, GetSysColorBrush(COLOR_BTNFACE));
    FrameRect(dc, box, GetSysColorBrush(COLOR_BTNSHADOW));
  }
  int offset, len;
  ThumbGeometry(hwnd, bar, &offset, &len);
  if (len > 0) {
    RECT thumb = r;
    if (bar == SB_HORZ) {
      thumb.left = r.left + offset;
      thumb.right = thumb.left + len;
    } else {
      thumb.top = r.top + offset;
      thumb.bottom = thumb.top + len;
    }
    FillRect(dc, &thumb, GetSysColorBrush(COLOR_BTNFACE));
    FrameRect(dc, &thumb, GetSysColorBrush(COLOR_BTNSHADOW));
  }
  ReleaseDC(hwnd, dc);
}

}  // namespace lumoa::platform::comctl

using namespace lumoa::platform::comctl;

int SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw) {
  if (!info || (bar != SB_HORZ && bar != SB_VERT)) return 0;
  Bar* b = Find(hwnd, bar, true);
  if (!b) return 0;
  if (info->fMask & SIF_RANGE) {
    b->min = info->nMin;
    b->max = info->nMax;
  }
  if (info->fMask & SIF_PAGE) b->page = info->nPage;
  if (info->fMask & SIF_POS) b->pos = info->nPos;
  Normalise(*b);
  // A bar with nothing to scroll goes away unless asked to stay, disabled.
  const long long range = (long long)b->max - b->min + 1;
  const bool needed = range > 1 && (b->page == 0 || (long long)b->page < range);
  if (info->fMask & (SIF_RANGE | SIF_PAGE)) {
    if (info->fMask & SIF_DISABLENOSCROLL) {
      b->disabled = !needed;
      SetStyleBits(hwnd, StyleBit(bar), true);
    } else {
      SetStyleBits(hwnd, StyleBit(bar), needed);
    }
  }
  if (redraw) Redraw(hwnd);
  return b->pos;
}

BOOL GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info) {
  if (!info || (bar != SB_HORZ && bar != SB_VERT)) return FALSE;
  const Bar* b = Find(hwnd, bar, false);
  if (!b) return FALSE;
  if (info->fMask & SIF_RANGE) {
    info->nMin = b->min;
    info->nMax = b->max;
  }
  if (info->fMask & SIF_PAGE) info->nPage = b->page;
  if (info->fMask & SIF_POS) info->nPos = b->pos;
  if (info->fMask & SIF_TRACKPOS) info->nTrackPos = b->track;
  return TRUE;
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw) {
  Bar* b = Find(hwnd, bar, true);
  if (!b) return 0;
  const int old = b->pos;
  b->pos = pos;
  Normalise(*b);
  if (redraw) Redraw(hwnd);
  return old;
}

int GetScrollPos(HWND hwnd, int bar) {
  const Bar* b = Find(hwnd, bar, false);
  return b ? b->pos : 0;
}

BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw) {
  SCROLLINFO si{sizeof si, SIF_RANGE, minPos, maxPos, 0, 0, 0};
  if (!Find(hwnd, bar, true)) return FALSE;
  SetScrollInfo(hwnd, bar, &si, redraw);
  return TRUE;
}

BOOL GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos) {
  const Bar* b = Find(hwnd, bar, false);
  if (minPos) *minPos = b ? b->min : 0;
  if (maxPos) *maxPos = b ? b->max : 0;
  return b != nullptr;
}

BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show) {
  if (!IsWindow(hwnd)) return FALSE;
  DWORD bits = 0;
  if (bar == SB_HORZ || bar == SB_BOTH) bits |= WS_HSCROLL;
  if (bar == SB_VERT || bar == SB_BOTH) bits |= WS_VSCROLL;
  if (!bits) return FALSE;
  SetStyleBits(hwnd, bits, show != 0);
  return TRUE;
}

BOOL EnableScrollBar(HWND hwnd, UINT bar, UINT arrows) {
  bool any = false;
  for (int b : {SB_HORZ, SB_VERT}) {
    if (bar != UINT(b) && bar != SB_BOTH) continue;
    if (Bar* s = Find(hwnd, b, true)) {
      s->disabled = arrows == ESB_DISABLE_BOTH;
      any = true;
    }
  }
  return any;
}
