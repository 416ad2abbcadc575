// The tab control: one row of abutting tabs sized from their captions in the control's font
// plus the image list's width and the padding, along the top, the bottom (TCS_BOTTOM), the
// left (TCS_VERTICAL) or the right (TCS_VERTICAL | TCS_RIGHT) side; one current selection
// changed by mouse and arrow keys with TCN_SELCHANGING (vetoable) and TCN_SELCHANGE, and an
// up-down child that scrolls a horizontal row when it does not fit.
#include <algorithm>

#include "platform/comctl/classes.h"
#include "platform/comctl/control_util.h"

namespace lumoa::platform::comctl {

namespace {

constexpr int kRowLeft = 2;  // the row starts inside the frame, room for the raised tab
constexpr int kRowTop = 2;
constexpr int kDefaultFixedWidth = 96;
constexpr UINT kScrollerId = 1;

struct Tab {
  std::u16string text;
  int image = -1;
  LPARAM param = 0;
  DWORD state = 0;
};

struct TabControl {
  std::vector<Tab> tabs;
  int cur = -1;
  int focusItem = -1;
  HIMAGELIST images = nullptr;
  HFONT font = nullptr;
  int padX = 6, padY = 3;
  int fixedWidth = 0, fixedHeight = 0;  // TCM_SETITEMSIZE
  int minWidth = -1;
  int first = 0;  // index of the first tab shown when the row scrolls
  HWND scroller = nullptr;
  std::vector<RECT> rects;  // laid out, in client coordinates
  int rowHeight = 0;
};

StateMap<TabControl>& Tabs() {
  static StateMap<TabControl> map;
  return map;
}

int Count(const TabControl& t) { return int(t.tabs.size()); }

void ImageSize(const TabControl& t, int* cx, int* cy) {
  *cx = *cy = 0;
  if (t.images) ImageList_GetIconSize(t.images, cx, cy);
}

enum class Side { Top, Bottom, Left, Right };

Side RowSide(HWND hwnd) {
  const DWORD style = Style(hwnd);
  if (style & TCS_VERTICAL) return (style & TCS_RIGHT) ? Side::Right : Side::Left;
  return (style & TCS_BOTTOM) ? Side::Bottom : Side::Top;
}

bool Vertical(HWND hwnd) { return (Style(hwnd) & TCS_VERTICAL) != 0; }

void Layout(HWND hwnd, TabControl& t) {
  MeasureDC m(t.font);
  int icx, icy;
  ImageSize(t, &icx, &icy);
  t.rowHeight = t.fixedHeight > 0 ? t.fixedHeight : std::max(m.Height(), icy) + 2 * t.padY;
  const bool fixed = (Style(hwnd) & TCS_FIXEDWIDTH) != 0;
  std::vector<int> widths;
  for (const Tab& tab : t.tabs) {
    int w;
    if (fixed) {
      w = t.fixedWidth > 0 ? t.fixedWidth : kDefaultFixedWidth;
    } else {
      w = 2 * t.padX + m.Width(tab.text);
      if (t.images && tab.image >= 0) w += icx + (tab.text.empty() ? 0 : t.padX / 2);
    }
    widths.push_back(std::max(w, t.minWidth >= 0 ? t.minWidth : 2 * t.padX));
  }
  t.first = std::clamp(t.first, 0, std::max(0, Count(t) - 1));
  int along = kRowLeft;
  for (int i = 0; i < t.first; ++i) along -= widths[size_t(i)];
  RECT rc;
  GetClientRect(hwnd, &rc);
  const Side side = RowSide(hwnd);
  int across = kRowTop;  // the row's edge nearest the page's far side
  if (side == Side::Bottom) across = rc.bottom - kRowTop - t.rowHeight;
  if (side == Side::Right) across = rc.right - kRowTop - t.rowHeight;
  t.rects.clear();
  for (int w : widths) {
    if (side == Side::Top || side == Side::Bottom) {
      t.rects.push_back({along, across, along + w, across + t.rowHeight});
    } else {
      t.rects.push_back({across, along, across + t.rowHeight, along + w});
    }
    along += w;
  }
}

// Tabs that do not fit scroll with an up-down child at the right end of the row.
void UpdateScroller(HWND hwnd, TabControl& t) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  int total = kRowLeft;
  for (const RECT& r : t.rects) total += r.right - r.left;
  const bool needed =
      (t.first > 0 || total > rc.right) && !(Style(hwnd) & TCS_MULTILINE) && !Vertical(hwnd);
  if (!needed) {
    if (t.scroller) {
      HWND s = t.scroller;
      t.scroller = nullptr;
      DestroyWindow(s);
    }
    return;
  }
  // Hidden tabs: the fewest to drop from the left so that the rest fits.
  int hidden = 0, rest = total;
  const int room = rc.right - 2 * t.rowHeight;
  while (hidden < Count(t) - 1 && rest > room) {
    rest -= t.rects[size_t(hidden)].right - t.rects[size_t(hidden)].left;
    ++hidden;
  }
  const int size = t.rowHeight;
  const int top = RowSide(hwnd) == Side::Bottom ? rc.bottom - kRowTop - size : kRowTop;
  if (!t.scroller || !IsWindow(t.scroller)) {
    t.scroller = CreateWindowExW(0, UPDOWN_CLASSW, u"", WS_CHILD | WS_VISIBLE | UDS_HORZ,
                                 rc.right - 2 * size, top, 2 * size, size, hwnd,
                                 HMENU(uintptr_t(kScrollerId)), nullptr, nullptr);
  } else {
    MoveWindow(t.scroller, rc.right - 2 * size, top, 2 * size, size, TRUE);
  }
  if (!t.scroller) return;
  SendMessageW(t.scroller, UDM_SETRANGE32, 0, std::max(hidden, t.first));
  SendMessageW(t.scroller, UDM_SETPOS32, 0, t.first);
}

void Relayout(HWND hwnd, TabControl& t) {
  Layout(hwnd, t);
  UpdateScroller(hwnd, t);
  InvalidateRect(hwnd, nullptr, TRUE);
}

int HitTest(HWND hwnd, TabControl& t, POINT p, UINT* flags) {
  if (flags) *flags = TCHT_NOWHERE;
  if (t.scroller && IsWindowVisible(t.scroller)) {
    RECT s;
    GetWindowRect(t.scroller, &s);
    POINT sp = p;
    ClientToScreen(hwnd, &sp);
    if (PtInRect(&s, sp)) return -1;
  }
  int icx, icy;
  ImageSize(t, &icx, &icy);
  for (int i = 0; i < Count(t); ++i) {
    const RECT& r = t.rects[size_t(i)];
    if (!PtInRect(&r, p) || r.right <= 0) continue;
    if (flags) {
      const bool icon = t.images && t.tabs[size_t(i)].image >= 0 && p.x < r.left + t.padX + icx;
      *flags = icon ? TCHT_ONITEMICON : TCHT_ONITEMLABEL;
    }
    return i;
  }
  return -1;
}

// A change asked for by the user: the parent may refuse it.
void UserSelect(HWND hwnd, TabControl& t, int i) {
  if (i < 0 || i >= Count(t) || i == t.cur) return;
  NMHDR hdr{};
  if (NotifyParent(hwnd, &hdr, TCN_SELCHANGING)) return;
  TabControl* live = Tabs().Find(hwnd);
  if (live != &t || i >= Count(t)) return;
  t.cur = t.focusItem = i;
  InvalidateRect(hwnd, nullptr, TRUE);
  NMHDR done{};
  NotifyParent(hwnd, &done, TCN_SELCHANGE);
}

void DrawTab(HWND hwnd, TabControl& t, HDC dc, int i) {
  RECT r = t.rects[size_t(i)];
  const bool selected = i == t.cur;
  if (selected) {  // raised and joined to the page below
    InflateRect(&r, 2, 0);
    r.top -= 2;
    r.bottom += 1;
  }
  const Tab& tab = t.tabs[size_t(i)];
  if (Style(hwnd) & TCS_OWNERDRAWFIXED) {
    DRAWITEMSTRUCT dis{ODT_TAB, UINT(GetDlgCtrlID(hwnd)), UINT(i), ODA_DRAWENTIRE,
                       selected ? UINT(ODS_SELECTED) : 0u, hwnd, dc, r, ULONG_PTR(tab.param)};
    if (HWND parent = GetParent(hwnd)) SendMessageW(parent, WM_DRAWITEM, dis.CtlID, LPARAM(&dis));
    return;
  }
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  HBRUSH shadow = GetSysColorBrush(COLOR_BTNSHADOW);
  const RECT edges[] = {{r.left, r.top, r.right, r.top + 1},
                        {r.left, r.top, r.left + 1, r.bottom},
                        {r.right - 1, r.top, r.right, r.bottom}};
  for (const RECT& e : edges) FillRect(dc, &e, shadow);
  RECT content = r;
  content.left += t.padX;
  content.right -= t.padX;
  int icx, icy;
  ImageSize(t, &icx, &icy);
  if (t.images && tab.image >= 0) {
    ImageList_Draw(t.images, tab.image, dc, content.left, r.top + (r.bottom - r.top - icy) / 2,
                   ILD_TRANSPARENT);
    content.left += icx + t.padX / 2;
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  DrawTextW(dc, tab.text.c_str(), int(tab.text.size()), &content,
            DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
}

void Paint(HWND hwnd, TabControl& t, HDC dc) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  const int saved = SaveDC(dc);
  SelectObject(dc, t.font ? t.font : DefaultControlFont());
  FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
  RECT frame = rc;
  if (Count(t) > 0) {
    const int row = kRowTop + t.rowHeight;
    switch (RowSide(hwnd)) {
      case Side::Top: frame.top += row; break;
      case Side::Bottom: frame.bottom -= row; break;
      case Side::Left: frame.left += row; break;
      case Side::Right: frame.right -= row; break;
    }
  }
  FrameRect(dc, &frame, GetSysColorBrush(COLOR_BTNSHADOW));
  for (int i = 0; i < Count(t); ++i)
    if (i != t.cur) DrawTab(hwnd, t, dc, i);
  if (t.cur >= 0 && t.cur < Count(t)) DrawTab(hwnd, t, dc, t.cur);  // raised over its neighbours
  RestoreDC(dc, saved);
}

bool ReadItem(const TCITEMW* item, Tab& tab) {
  if (!item) return false;
  if (item->mask & TCIF_TEXT) tab.text = item->pszText ? item->pszText : u"";
  if (item->mask & TCIF_IMAGE) tab.image = item->iImage;
  if (item->mask & TCIF_PARAM) tab.param = item->lParam;
  if (item->mask & TCIF_STATE)
    tab.state = (tab.state & ~item->dwStateMask) | (item->dwState & item->dwStateMask);
  return true;
}

LRESULT GetItem(const TabControl& t, int i, TCITEMW* item) {
  if (!item || i < 0 || i >= Count(t)) return FALSE;
  const Tab& tab = t.tabs[size_t(i)];
  if ((item->mask & TCIF_TEXT) && item->pszText && item->cchTextMax > 0) {
    const size_t n = std::min(tab.text.size(), size_t(item->cchTextMax - 1));
    std::copy_n(tab.text.data(), n, item->pszText);
    item->pszText[n] = 0;
  }
  if (item->mask & TCIF_IMAGE) item->iImage = tab.image;
  if (item->mask & TCIF_PARAM) item->lParam = tab.param;
  if (item->mask & TCIF_STATE) item->dwState = tab.state & item->dwStateMask;
  return TRUE;
}

void AdjustRect(HWND hwnd, const TabControl& t, BOOL larger, RECT* r) {
  // The display area sits beside the row, inside a frame: 4 on the free sides, row + 4 on
  // the row's side.
  const int row = kRowTop + t.rowHeight + 2;
  const Side side = RowSide(hwnd);
  const int sign = larger ? -1 : 1;
  r->left += sign * (side == Side::Left ? row : 4);
  r->right -= sign * (side == Side::Right ? row : 4);
  r->top += sign * (side == Side::Top ? row : 4);
  r->bottom -= sign * (side == Side::Bottom ? row : 4);
}

LRESULT Message(HWND hwnd, TabControl& t, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE:
      Layout(hwnd, t);
      return 0;
    case WM_SIZE:
      Relayout(hwnd, t);
      return 0;
    case WM_SETFONT:
      t.font = HFONT(wParam);
      Relayout(hwnd, t);
      return 0;
    case WM_GETFONT:
      return LRESULT(t.font);
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      if (wParam) {
        Paint(hwnd, t, HDC(wParam));
        return 0;
      }
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      if (dc) Paint(hwnd, t, dc);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      const int i = HitTest(hwnd, t, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, nullptr);
      if ((Style(hwnd) & TCS_FOCUSONBUTTONDOWN) && GetFocus() != hwnd) SetFocus(hwnd);
      if (Tabs().Find(hwnd) == &t) UserSelect(hwnd, t, i);
      return 0;
    }
    case WM_KEYDOWN:
      if (wParam == VK_LEFT || wParam == VK_RIGHT) {
        const int from = t.cur < 0 ? 0 : t.cur;
        UserSelect(hwnd, t, from + (wParam == VK_LEFT ? -1 : 1));
      }
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_HSCROLL:
      if (LOWORD(wParam) == SB_THUMBPOSITION) {
        t.first = std::clamp(int(SHORT(HIWORD(wParam))), 0, std::max(0, Count(t) - 1));
        Layout(hwnd, t);
        InvalidateRect(hwnd, nullptr, TRUE);
      }
      return 0;
    case WM_NOTIFY:
      return 0;  // the scroller's UDN_DELTAPOS: allowed

    case TCM_GETITEMCOUNT:
      return Count(t);
    case TCM_INSERTITEMW: {
      Tab tab;
      if (!ReadItem(reinterpret_cast<const TCITEMW*>(lParam), tab)) return -1;
      const int at = std::clamp(int(wParam), 0, Count(t));
      t.tabs.insert(t.tabs.begin() + at, std::move(tab));
      if (t.cur >= at) ++t.cur;
      if (Count(t) == 1) t.cur = 0;  // the first tab starts out selected
      Relayout(hwnd, t);
      return at;
    }
    case TCM_SETITEMW: {
      const int i = int(wParam);
      if (i < 0 || i >= Count(t) || !ReadItem(reinterpret_cast<const TCITEMW*>(lParam), t.tabs[size_t(i)]))
        return FALSE;
      Relayout(hwnd, t);
      return TRUE;
    }
    case TCM_GETITEMW:
      return GetItem(t, int(wParam), reinterpret_cast<TCITEMW*>(lParam));
    case TCM_DELETEITEM: {
      const int i = int(wParam);
      if (i < 0 || i >= Count(t)) return FALSE;
      t.tabs.erase(t.tabs.begin() + i);
      if (t.cur == i) t.cur = -1;
      else if (t.cur > i) --t.cur;
      if (t.focusItem >= Count(t)) t.focusItem = -1;
      Relayout(hwnd, t);
      return TRUE;
    }
    case TCM_DELETEALLITEMS:
      t.tabs.clear();
      t.cur = t.focusItem = -1;
      t.first = 0;
      Relayout(hwnd, t);
      return TRUE;
    case TCM_GETCURSEL:
      return t.cur;
    case TCM_SETCURSEL: {
      const int old = t.cur, i = int(wParam);
      if (i < -1 || i >= Count(t)) return -1;
      t.cur = t.focusItem = i;
      InvalidateRect(hwnd, nullptr, TRUE);
      return old;
    }
    case TCM_GETCURFOCUS:
      return t.focusItem >= 0 ? t.focusItem : t.cur;
    case TCM_SETCURFOCUS:
      // With tabs (not buttons) moving the focus is a selection change, notified as one.
      UserSelect(hwnd, t, int(wParam));
      return 0;
    case TCM_GETITEMRECT: {
      const int i = int(wParam);
      if (i < 0 || i >= Count(t) || !lParam) return FALSE;
      *reinterpret_cast<RECT*>(lParam) = t.rects[size_t(i)];
      return TRUE;
    }
    case TCM_HITTEST: {
      auto* info = reinterpret_cast<TCHITTESTINFO*>(lParam);
      if (!info) return -1;
      return HitTest(hwnd, t, info->pt, &info->flags);
    }
    case TCM_ADJUSTRECT:
      if (lParam) AdjustRect(hwnd, t, BOOL(wParam), reinterpret_cast<RECT*>(lParam));
      return 0;
    case TCM_SETIMAGELIST: {
      HIMAGELIST old = t.images;
      t.images = HIMAGELIST(lParam);
      Relayout(hwnd, t);
      return LRESULT(old);
    }
    case TCM_GETIMAGELIST:
      return LRESULT(t.images);
    case TCM_SETITEMSIZE: {
      const LRESULT old = MAKELRESULT(t.fixedWidth, t.rowHeight);
      t.fixedWidth = SHORT(LOWORD(lParam));
      t.fixedHeight = SHORT(HIWORD(lParam));
      Relayout(hwnd, t);
      return old;
    }
    case TCM_SETPADDING:
      t.padX = std::max(0, int(SHORT(LOWORD(lParam))));
      t.padY = std::max(0, int(SHORT(HIWORD(lParam))));
      Relayout(hwnd, t);
      return 0;
    case TCM_SETMINTABWIDTH: {
      const int old = t.minWidth < 0 ? 2 * t.padX : t.minWidth;
      t.minWidth = int(lParam);
      Relayout(hwnd, t);
      return old;
    }
    case TCM_GETROWCOUNT:
      return Count(t) ? 1 : 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK TabControlWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) Tabs().Create(hwnd);
  TabControl* t = Tabs().Find(hwnd);
  if (msg == WM_NCDESTROY) {
    Tabs().Erase(hwnd);
    return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
  if (msg == WM_PARENTNOTIFY && t && LOWORD(wParam) == WM_DESTROY && HWND(lParam) == t->scroller)
    t->scroller = nullptr;  // someone else removed the arrows
  if (!t) return DefWindowProcW(hwnd, msg, wParam, lParam);
  return Message(hwnd, *t, msg, wParam, lParam);
}

}  // namespace lumoa::platform::comctl
