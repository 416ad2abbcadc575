// The LISTBOX window class: a single-selection list of fixed-height rows, plain or owner-drawn,
// with a top index, the vertical scroll bar kept in step, prefix search, keyboard, mouse and
// wheel selection.
#include <algorithm>
#include <cstring>

#include "platform/comctl/classes.h"
#include "platform/comctl/control_util.h"
#include "platform/comctl/scrollbar.h"
#include "platform/winbase.h"

namespace lumoa::platform::comctl {

namespace {

constexpr DWORD kTypeAheadMs = 1000;

struct ListBox {
  struct Item {
    std::u16string text;
    ULONG_PTR data = 0;
  };
  std::vector<Item> items;
  int cur = -1;  // the selected item
  int top = 0;
  int itemHeight = 16;
  HFONT font = nullptr;
  bool vscroll = false;  // created with WS_VSCROLL: the bar follows the range
  bool redraw = true;
  bool focused = false;
  bool tracking = false;   // left button held over the rows
  int selBeforePress = -1;
  bool thumbDrag = false;  // dragging the scroll bar's thumb
  int thumbGrab = 0;
  int wheelRest = 0;
  int extent = 0;
  std::u16string typed;
  DWORD typedAt = 0;
};

StateMap<ListBox>& Lists() {
  static StateMap<ListBox> map;
  return map;
}

bool OwnerDraw(HWND hwnd) { return (Style(hwnd) & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0; }
bool HasStrings(HWND hwnd) { return !OwnerDraw(hwnd) || (Style(hwnd) & LBS_HASSTRINGS); }
int Count(const ListBox& l) { return int(l.items.size()); }

int ClientHeight(HWND hwnd) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  return rc.bottom - rc.top;
}

// Rows wholly inside the client area (at least one).
int FullRows(HWND hwnd, const ListBox& l) { return std::max(1, ClientHeight(hwnd) / l.itemHeight); }
int MaxTop(HWND hwnd, const ListBox& l) { return std::max(0, Count(l) - FullRows(hwnd, l)); }

void Invalidate(HWND hwnd, const ListBox& l) {
  if (l.redraw) InvalidateRect(hwnd, nullptr, TRUE);
}

void UpdateScroll(HWND hwnd, ListBox& l) {
  if (!l.vscroll || !l.redraw) return;
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(0, Count(l) - 1),
                UINT(FullRows(hwnd, l)), l.top, 0};
  if (Style(hwnd) & LBS_DISABLENOSCROLL) si.fMask |= SIF_DISABLENOSCROLL;
  SetScrollInfo(hwnd, SB_VERT, &si, TRUE);
}

void SetTop(HWND hwnd, ListBox& l, int top) {
  top = std::clamp(top, 0, MaxTop(hwnd, l));
  if (top == l.top) return;
  l.top = top;
  UpdateScroll(hwnd, l);
  Invalidate(hwnd, l);
}

void EnsureVisible(HWND hwnd, ListBox& l, int i) {
  if (i < 0) return;
  if (i < l.top) SetTop(hwnd, l, i);
  else if (i >= l.top + FullRows(hwnd, l)) SetTop(hwnd, l, i - FullRows(hwnd, l) + 1);
}

void NotifyIf(HWND hwnd, UINT code) {
  if (Style(hwnd) & LBS_NOTIFY) NotifyCommand(hwnd, code);
}

// Selects i (-1 for none); true when the selection changed.
bool Select(HWND hwnd, ListBox& l, int i) {
  if (i < -1 || i >= Count(l)) i = -1;
  EnsureVisible(hwnd, l, i);
  if (i == l.cur) return false;
  l.cur = i;
  Invalidate(hwnd, l);
  return true;
}

void UserSelect(HWND hwnd, ListBox& l, int i) {
  if (Select(hwnd, l, i)) NotifyIf(hwnd, LBN_SELCHANGE);
}

void MeasureItems(HWND hwnd, ListBox& l) {
  MeasureDC m(l.font);
  l.itemHeight = std::max(1, m.Height());
  if (!OwnerDraw(hwnd)) return;
  MEASUREITEMSTRUCT mis{};
  mis.CtlType = ODT_LISTBOX;
  mis.CtlID = UINT(GetDlgCtrlID(hwnd));
  mis.itemHeight = UINT(l.itemHeight);
  RECT rc;
  GetClientRect(hwnd, &rc);
  mis.itemWidth = UINT(rc.right);
  if (HWND parent = GetParent(hwnd)) SendMessageW(parent, WM_MEASUREITEM, mis.CtlID, LPARAM(&mis));
  if (mis.itemHeight > 0 && mis.itemHeight <= 255) l.itemHeight = int(mis.itemHeight);
}

int Find(HWND hwnd, const ListBox& l, int start, const std::u16string& key, bool exact) {
  const int n = Count(l);
  if (n == 0 || !HasStrings(hwnd)) return LB_ERR;
  if (start < -1 || start >= n) start = -1;
  for (int k = 1; k <= n; ++k) {
    const int i = (start + k) % n;
    if (MatchesText(l.items[size_t(i)].text, key, exact)) return i;
  }
  return LB_ERR;
}

int Insert(HWND hwnd, ListBox& l, int at, LPARAM lParam) {
  ListBox::Item item;
  if (HasStrings(hwnd)) item.text = lParam ? reinterpret_cast<LPCWSTR>(lParam) : u"";
  else item.data = ULONG_PTR(lParam);
  if (at < 0 || at > Count(l)) at = Count(l);
  l.items.insert(l.items.begin() + at, std::move(item));
  if (l.cur >= at) ++l.cur;
  UpdateScroll(hwnd, l);
  Invalidate(hwnd, l);
  return at;
}

int SortedIndex(const ListBox& l, const std::u16string& text) {
  auto lower = [](std::u16string s) {
    CharLowerBuffW(s.data(), DWORD(s.size()));
    return s;
  };
  const std::u16string key = lower(text);
  int i = 0;
  while (i < Count(l) && lower(l.items[size_t(i)].text) <= key) ++i;
  return i;
}

void DeleteItem(HWND hwnd, ListBox& l, int i) {
  if (OwnerDraw(hwnd)) {
    DELETEITEMSTRUCT dis{ODT_LISTBOX, UINT(GetDlgCtrlID(hwnd)), UINT(i), hwnd,
                         l.items[size_t(i)].data};
    if (HWND parent = GetParent(hwnd)) SendMessageW(parent, WM_DELETEITEM, dis.CtlID, LPARAM(&dis));
  }
}

void Paint(HWND hwnd, ListBox& l, HDC dc) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  const int saved = SaveDC(dc);
  SelectObject(dc, l.font ? l.font : DefaultControlFont());
  HWND parent = GetParent(hwnd);
  LRESULT r = parent ? SendMessageW(parent, WM_CTLCOLORLISTBOX, WPARAM(dc), LPARAM(hwnd)) : 0;
  if (!r) r = DefWindowProcW(hwnd, WM_CTLCOLORLISTBOX, WPARAM(dc), LPARAM(hwnd));
  HBRUSH bg = HBRUSH(r);
  const int rows = (rc.bottom + l.itemHeight - 1) / l.itemHeight;  // partly visible ones too
  const int last = std::min(Count(l), l.top + rows);
  const bool owner = OwnerDraw(hwnd);
  for (int i = l.top; i < last; ++i) {
    RECT item{0, (i - l.top) * l.itemHeight, rc.right, (i - l.top + 1) * l.itemHeight};
    UINT state = 0;
    if (i == l.cur) state |= ODS_SELECTED;
    if (l.focused && (i == l.cur || (l.cur < 0 && i == l.top))) state |= ODS_FOCUS;
    if (!IsWindowEnabled(hwnd)) state |= ODS_DISABLED;
    if (owner) {
      DRAWITEMSTRUCT dis{ODT_LISTBOX, UINT(GetDlgCtrlID(hwnd)), UINT(i), ODA_DRAWENTIRE, state,
                         hwnd, dc, item, l.items[size_t(i)].data};
      if (parent) SendMessageW(parent, WM_DRAWITEM, dis.CtlID, LPARAM(&dis));
      continue;
    }
    const bool selected = (state & ODS_SELECTED) != 0;
    FillRect(dc, &item, selected ? GetSysColorBrush(COLOR_HIGHLIGHT) : bg);
    const COLORREF old = selected ? SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT)) : 0;
    SetBkMode(dc, TRANSPARENT);
    RECT text = item;
    text.left += 2;
    const std::u16string& s = l.items[size_t(i)].text;
    DrawTextW(dc, s.c_str(), int(s.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX |
                  ((Style(hwnd) & LBS_USETABSTOPS) ? DT_EXPANDTABS : 0));
    if (selected) SetTextColor(dc, old);
  }
  RECT below{0, (last - l.top) * l.itemHeight, rc.right, rc.bottom};
  if (below.top < below.bottom) FillRect(dc, &below, bg);
  RestoreDC(dc, saved);
}

void KeyDown(HWND hwnd, ListBox& l, WPARAM vk) {
  const int n = Count(l);
  if (n == 0) return;
  const int page = FullRows(hwnd, l);
  const int from = l.cur < 0 ? l.top : l.cur;
  int to = from;
  switch (vk) {
    case VK_UP: to = l.cur < 0 ? from : from - 1; break;
    case VK_DOWN: to = l.cur < 0 ? from : from + 1; break;
    case VK_PRIOR: to = from - (page - 1 > 0 ? page - 1 : 1); break;
    case VK_NEXT: to = from + (page - 1 > 0 ? page - 1 : 1); break;
    case VK_HOME: to = 0; break;
    case VK_END: to = n - 1; break;
    default: return;
  }
  UserSelect(hwnd, l, std::clamp(to, 0, n - 1));
}

void TypeAhead(HWND hwnd, ListBox& l, char16_t c) {
  if (c < 0x20 || !HasStrings(hwnd)) return;
  const DWORD now = GetTickCount();
  if (now - l.typedAt > kTypeAheadMs) l.typed.clear();
  l.typedAt = now;
  l.typed.push_back(c);
  // A first letter moves on past the current item; a longer prefix may stay on it.
  const int start = l.typed.size() == 1 ? l.cur : l.cur - 1;
  const int found = Find(hwnd, l, start, l.typed, false);
  if (found != LB_ERR) UserSelect(hwnd, l, found);
}

int ItemAt(const ListBox& l, int y) {
  return std::clamp(l.top + (y < 0 ? -1 : y / l.itemHeight), 0, std::max(0, Count(l) - 1));
}

void VScroll(HWND hwnd, ListBox& l, WPARAM wParam) {
  const int page = FullRows(hwnd, l);
  switch (LOWORD(wParam)) {
    case SB_LINEUP: SetTop(hwnd, l, l.top - 1); break;
    case SB_LINEDOWN: SetTop(hwnd, l, l.top + 1); break;
    case SB_PAGEUP: SetTop(hwnd, l, l.top - page); break;
    case SB_PAGEDOWN: SetTop(hwnd, l, l.top + page); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: SetTop(hwnd, l, HIWORD(wParam)); break;
    case SB_TOP: SetTop(hwnd, l, 0); break;
    case SB_BOTTOM: SetTop(hwnd, l, MaxTop(hwnd, l)); break;
  }
}

// Thumb dragging runs under capture; mouse messages then arrive in client coordinates.
void ThumbTrack(HWND hwnd, ListBox& l, LPARAM lParam, bool done) {
  POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ClientToScreen(hwnd, &p);
  RECT wr;
  GetWindowRect(hwnd, &wr);
  const int pos = ScrollPosFromThumb(hwnd, SB_VERT, p.y - wr.top - ScrollBarRect(hwnd, SB_VERT).top - l.thumbGrab);
  SendMessageW(hwnd, WM_VSCROLL, MAKEWPARAM(done ? SB_THUMBPOSITION : SB_THUMBTRACK, pos), 0);
  if (done) SendMessageW(hwnd, WM_VSCROLL, SB_ENDSCROLL, 0);
}

LRESULT NcButtonDown(HWND hwnd, ListBox& l, WPARAM wParam, LPARAM lParam) {
  if (wParam != HTVSCROLL) return DefWindowProcW(hwnd, WM_NCLBUTTONDOWN, wParam, lParam);
  const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (HitScrollBar(hwnd, SB_VERT, p)) {
    case ScrollPart::LineUp: SendMessageW(hwnd, WM_VSCROLL, SB_LINEUP, 0); break;
    case ScrollPart::LineDown: SendMessageW(hwnd, WM_VSCROLL, SB_LINEDOWN, 0); break;
    case ScrollPart::PageUp: SendMessageW(hwnd, WM_VSCROLL, SB_PAGEUP, 0); break;
    case ScrollPart::PageDown: SendMessageW(hwnd, WM_VSCROLL, SB_PAGEDOWN, 0); break;
    case ScrollPart::Thumb: {
      RECT wr;
      GetWindowRect(hwnd, &wr);
      int offset, len;
      ThumbGeometry(hwnd, SB_VERT, &offset, &len);
      l.thumbGrab = p.y - wr.top - ScrollBarRect(hwnd, SB_VERT).top - offset;
      l.thumbDrag = true;
      SetCapture(hwnd);
      return 0;
    }
    case ScrollPart::None: return 0;
  }
  SendMessageW(hwnd, WM_VSCROLL, SB_ENDSCROLL, 0);
  return 0;
}

LRESULT Mouse(HWND hwnd, ListBox& l, UINT msg, WPARAM wParam, LPARAM lParam) {
  const int y = GET_Y_LPARAM(lParam);
  switch (msg) {
    case WM_LBUTTONDOWN:
      if (GetFocus() != hwnd) SetFocus(hwnd);
      if (!Lists().Find(hwnd) || Count(l) == 0) return 0;
      l.selBeforePress = l.cur;
      l.tracking = true;
      SetCapture(hwnd);
      if (y < (Count(l) - l.top) * l.itemHeight) UserSelect(hwnd, l, ItemAt(l, y));
      return 0;
    case WM_MOUSEMOVE:
      if (l.thumbDrag) {
        ThumbTrack(hwnd, l, lParam, false);
        return 0;
      }
      if (!l.tracking || !(wParam & MK_LBUTTON)) return 0;
      // Dragging past an edge scrolls one row.
      if (y < 0) UserSelect(hwnd, l, std::max(0, l.top - 1));
      else if (y >= ClientHeight(hwnd)) UserSelect(hwnd, l, std::min(Count(l) - 1, l.top + FullRows(hwnd, l)));
      else if (y < (Count(l) - l.top) * l.itemHeight) UserSelect(hwnd, l, ItemAt(l, y));
      return 0;
    case WM_LBUTTONUP:
      if (l.thumbDrag) {
        l.thumbDrag = false;
        ThumbTrack(hwnd, l, lParam, true);
      }
      l.tracking = false;
      if (GetCapture() == hwnd) ReleaseCapture();
      return 0;
    case WM_LBUTTONDBLCLK:
      if (Count(l) == 0 || y >= (Count(l) - l.top) * l.itemHeight) return 0;
      UserSelect(hwnd, l, ItemAt(l, y));
      NotifyIf(hwnd, LBN_DBLCLK);
      return 0;
  }
  return 0;
}

LRESULT Wheel(HWND hwnd, ListBox& l, WPARAM wParam) {
  UINT lines = 3;
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  l.wheelRest += GET_WHEEL_DELTA_WPARAM(wParam);
  const int steps = l.wheelRest / WHEEL_DELTA;
  l.wheelRest %= WHEEL_DELTA;
  const int perStep = std::min(int(lines), FullRows(hwnd, l));
  SetTop(hwnd, l, l.top - steps * perStep);
  return 0;
}

LRESULT Message(HWND hwnd, ListBox& l, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE:
      l.vscroll = (Style(hwnd) & WS_VSCROLL) != 0;
      MeasureItems(hwnd, l);
      UpdateScroll(hwnd, l);
      return 0;
    case WM_SIZE:
      SetTop(hwnd, l, l.top);
      UpdateScroll(hwnd, l);
      Invalidate(hwnd, l);
      return 0;
    case WM_SETFONT:
      l.font = HFONT(wParam);
      if (!OwnerDraw(hwnd)) {
        MeasureDC m(l.font);
        l.itemHeight = std::max(1, m.Height());
      }
      UpdateScroll(hwnd, l);
      if (LOWORD(lParam)) Invalidate(hwnd, l);
      return 0;
    case WM_GETFONT:
      return LRESULT(l.font);
    case WM_SETREDRAW:
      l.redraw = wParam != 0;
      if (l.redraw) {
        UpdateScroll(hwnd, l);
        Invalidate(hwnd, l);
      }
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      l.focused = msg == WM_SETFOCUS;
      if (!l.focused && l.tracking) {
        l.tracking = false;
        if (GetCapture() == hwnd) ReleaseCapture();
      }
      Invalidate(hwnd, l);
      NotifyCommand(hwnd, l.focused ? LBN_SETFOCUS : LBN_KILLFOCUS);
      return 0;
    case WM_ENABLE:
      Invalidate(hwnd, l);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // painting covers the whole client area
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      if (wParam) {
        Paint(hwnd, l, HDC(wParam));
        return 0;
      }
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      if (dc) Paint(hwnd, l, dc);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_NCPAINT:
      DefWindowProcW(hwnd, msg, wParam, lParam);
      DrawScrollBar(hwnd, SB_VERT);
      return 0;
    case WM_NCLBUTTONDOWN:
      return NcButtonDown(hwnd, l, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
      return Mouse(hwnd, l, msg, wParam, lParam);
    case WM_CAPTURECHANGED:
      if (HWND(lParam) == hwnd) return 0;
      l.thumbDrag = false;
      if (l.tracking) {  // the press was cancelled: its selection goes back
        l.tracking = false;
        if (Select(hwnd, l, l.selBeforePress)) NotifyIf(hwnd, LBN_SELCANCEL);
      }
      return 0;
    case WM_MOUSEWHEEL:
      return Wheel(hwnd, l, wParam);
    case WM_VSCROLL:
      VScroll(hwnd, l, wParam);
      return 0;
    case WM_KEYDOWN:
      KeyDown(hwnd, l, wParam);
      return 0;
    case WM_CHAR:
      TypeAhead(hwnd, l, char16_t(wParam));
      return 0;

    case LB_ADDSTRING: {
      int at = Count(l);
      if ((Style(hwnd) & LBS_SORT) && HasStrings(hwnd) && lParam)
        at = SortedIndex(l, reinterpret_cast<LPCWSTR>(lParam));
      return Insert(hwnd, l, at, lParam);
    }
    case LB_INSERTSTRING: {
      const int at = int(wParam);
      if (at > Count(l)) return LB_ERR;
      return Insert(hwnd, l, at, lParam);
    }
    case LB_DELETESTRING: {
      const int i = int(wParam);
      if (i < 0 || i >= Count(l)) return LB_ERR;
      DeleteItem(hwnd, l, i);
      l.items.erase(l.items.begin() + i);
      if (l.cur == i) l.cur = -1;
      else if (l.cur > i) --l.cur;
      l.top = std::clamp(l.top, 0, MaxTop(hwnd, l));
      UpdateScroll(hwnd, l);
      Invalidate(hwnd, l);
      return Count(l);
    }
    case LB_RESETCONTENT:
      for (int i = 0; i < Count(l); ++i) DeleteItem(hwnd, l, i);
      l.items.clear();
      l.cur = -1;
      l.top = 0;
      UpdateScroll(hwnd, l);
      Invalidate(hwnd, l);
      return 0;
    case LB_GETCOUNT:
      return Count(l);
    case LB_GETTEXT: {
      const int i = int(wParam);
      if (i < 0 || i >= Count(l) || !lParam) return LB_ERR;
      if (!HasStrings(hwnd)) {
        std::memcpy(reinterpret_cast<void*>(lParam), &l.items[size_t(i)].data, sizeof(ULONG_PTR));
        return sizeof(ULONG_PTR);
      }
      const std::u16string& s = l.items[size_t(i)].text;
      auto* out = reinterpret_cast<LPWSTR>(lParam);
      std::copy(s.begin(), s.end(), out);
      out[s.size()] = 0;
      return LRESULT(s.size());
    }
    case LB_GETTEXTLEN: {
      const int i = int(wParam);
      if (i < 0 || i >= Count(l)) return LB_ERR;
      return HasStrings(hwnd) ? LRESULT(l.items[size_t(i)].text.size()) : LRESULT(sizeof(ULONG_PTR));
    }
    case LB_SETITEMDATA:
    case LB_GETITEMDATA: {
      const int i = int(wParam);
      if (i < 0 || i >= Count(l)) return LB_ERR;
      if (msg == LB_GETITEMDATA) return LRESULT(l.items[size_t(i)].data);
      l.items[size_t(i)].data = ULONG_PTR(lParam);
      return TRUE;
    }
    case LB_SETCURSEL: {
      const int i = int(wParam);
      Select(hwnd, l, i);
      return i < 0 || i >= Count(l) ? LB_ERR : i;
    }
    case LB_GETCURSEL:
      return l.cur;
    case LB_GETSEL: {
      const int i = int(wParam);
      if (i < 0 || i >= Count(l)) return LB_ERR;
      return i == l.cur ? 1 : 0;
    }
    case LB_GETSELCOUNT:
    case LB_SETSEL:
    case LB_GETSELITEMS:
      return LB_ERR;  // single-selection lists only
    case LB_SETCARETINDEX:
      if (int(wParam) < 0 || int(wParam) >= Count(l)) return LB_ERR;
      EnsureVisible(hwnd, l, int(wParam));
      return LB_OKAY;
    case LB_GETCARETINDEX:
      return l.cur < 0 ? (Count(l) ? l.top : LB_ERR) : l.cur;
    case LB_SETTOPINDEX:
      if (int(wParam) < 0 || (int(wParam) >= Count(l) && Count(l) > 0)) return LB_ERR;
      SetTop(hwnd, l, int(wParam));
      return LB_OKAY;
    case LB_GETTOPINDEX:
      return l.top;
    case LB_GETITEMRECT: {
      const int i = int(wParam);
      if (i < 0 || i >= std::max(1, Count(l)) || !lParam) return LB_ERR;
      RECT rc;
      GetClientRect(hwnd, &rc);
      *reinterpret_cast<RECT*>(lParam) = {0, (i - l.top) * l.itemHeight, rc.right,
                                          (i - l.top + 1) * l.itemHeight};
      return 1;
    }
    case LB_ITEMFROMPOINT: {
      const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
      RECT rc;
      GetClientRect(hwnd, &rc);
      if (Count(l) == 0) return MAKELRESULT(0, 1);
      const bool outside = x < 0 || x >= rc.right || y < 0 || y >= rc.bottom ||
                           l.top + y / l.itemHeight >= Count(l);
      return MAKELRESULT(ItemAt(l, y), outside ? 1 : 0);
    }
    case LB_SETITEMHEIGHT: {
      const int h = int(LOWORD(lParam));
      if (h <= 0 || h > 255) return LB_ERR;
      l.itemHeight = h;
      l.top = std::clamp(l.top, 0, MaxTop(hwnd, l));
      UpdateScroll(hwnd, l);
      Invalidate(hwnd, l);
      return 0;
    }
    case LB_GETITEMHEIGHT:
      return l.itemHeight;
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT:
      if (!lParam) return LB_ERR;
      return Find(hwnd, l, int(wParam), reinterpret_cast<LPCWSTR>(lParam), msg == LB_FINDSTRINGEXACT);
    case LB_SELECTSTRING: {
      if (!lParam) return LB_ERR;
      const int i = Find(hwnd, l, int(wParam), reinterpret_cast<LPCWSTR>(lParam), false);
      if (i != LB_ERR) Select(hwnd, l, i);
      return i;
    }
    case LB_SETHORIZONTALEXTENT:
      l.extent = int(wParam);
      return 0;
    case LB_GETHORIZONTALEXTENT:
      return l.extent;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK ListBoxWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) Lists().Create(hwnd);
  ListBox* l = Lists().Find(hwnd);
  if (msg == WM_NCDESTROY) {
    Lists().Erase(hwnd);
    return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
  if (msg == WM_DESTROY && l) {
    for (int i = 0; i < Count(*l); ++i) DeleteItem(hwnd, *l, i);
    l->items.clear();
  }
  if (!l) return DefWindowProcW(hwnd, msg, wParam, lParam);
  return Message(hwnd, *l, msg, wParam, lParam);
}

}  // namespace lumoa::platform::comctl
