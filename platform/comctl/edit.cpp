// The EDIT window class: one line of UTF-16 text that never wraps (also under ES_MULTILINE,
// which only buys the formatting rectangle), with caret, selection, clipboard, one-level undo,
// horizontal scrolling and the WM_CTLCOLOREDIT colour protocol.
#include <algorithm>
#include <cstring>

#include "platform/comctl/classes.h"
#include "platform/comctl/control_util.h"
#include "platform/winbase.h"

namespace lumoa::platform::comctl {

namespace {

constexpr int kDefaultLimit = 0x7FFFFFFE;

enum class Origin { Typing, User, Api, SetText };

struct Edit {
  std::u16string text;
  int anchor = 0;  // the fixed end of the selection
  int caret = 0;   // the moving end, where the caret is
  HFONT font = nullptr;
  int limit = kDefaultLimit;
  RECT format{};
  bool userRect = false;  // EM_SETRECT fixed the formatting rectangle
  int leftMargin = 0, rightMargin = 0;
  int xOffset = 0;  // pixels scrolled off to the left
  bool modified = false;
  bool canUndo = false;
  std::u16string undoText;
  int undoAnchor = 0, undoCaret = 0;
  bool typing = false;  // the undo record is still open for more typed characters
  WCHAR password = 0;
  bool focused = false;
  bool dragging = false;
  bool layoutValid = false;
  std::vector<int> widths;  // x of each caret position in the shown text
  int lineHeight = 0;
};

StateMap<Edit>& Edits() {
  static StateMap<Edit> map;
  return map;
}

int SelMin(const Edit& e) { return std::min(e.anchor, e.caret); }
int SelMax(const Edit& e) { return std::max(e.anchor, e.caret); }

bool IsLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool IsHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == 0x3000; }

// A caret position never splits a surrogate pair.
int Snap(const Edit& e, int pos, int direction) {
  pos = std::clamp(pos, 0, int(e.text.size()));
  if (pos > 0 && pos < int(e.text.size()) && IsLow(e.text[size_t(pos)]) &&
      IsHigh(e.text[size_t(pos - 1)]))
    pos += direction >= 0 ? 1 : -1;
  return pos;
}

std::u16string Shown(const Edit& e) {
  if (!e.password) return e.text;
  std::u16string s;
  for (size_t i = 0; i < e.text.size(); ++i)
    s.push_back(IsLow(e.text[i]) && i > 0 && IsHigh(e.text[i - 1]) ? char16_t(0) : e.password);
  std::erase(s, char16_t(0));
  return s;
}

void Layout(Edit& e) {
  if (e.layoutValid) return;
  MeasureDC m(e.font);
  const std::u16string shown = Shown(e);
  std::vector<int> w;
  PrefixWidths(m.dc(), shown, w);
  if (e.password) {  // map back onto text positions: a pair is one mask character
    e.widths.assign(e.text.size() + 1, 0);
    size_t k = 0;
    for (size_t i = 0; i <= e.text.size(); ++i) {
      e.widths[i] = w[std::min(k, w.size() - 1)];
      if (i < e.text.size() && !(IsHigh(e.text[i]) && i + 1 < e.text.size())) ++k;
    }
  } else {
    e.widths = std::move(w);
  }
  e.lineHeight = m.Height();
  e.layoutValid = true;
}

int FormatWidth(const Edit& e) { return std::max(0, int(e.format.right - e.format.left)); }

int AlignOffset(HWND hwnd, Edit& e) {
  Layout(e);
  const int total = e.widths.back(), fw = FormatWidth(e);
  if (total >= fw) return 0;
  const DWORD style = Style(hwnd);
  if (style & ES_CENTER) return (fw - total) / 2;
  if (style & ES_RIGHT) return std::max(0, fw - total - 1);
  return 0;
}

int XOfChar(HWND hwnd, Edit& e, int i) {
  Layout(e);
  return e.format.left + AlignOffset(hwnd, e) - e.xOffset + e.widths[size_t(i)];
}

// The caret position nearest to x (client coordinates).
int CharFromX(HWND hwnd, Edit& e, int x) {
  Layout(e);
  const int rel = x - (e.format.left + AlignOffset(hwnd, e) - e.xOffset);
  const auto& w = e.widths;
  auto it = std::lower_bound(w.begin(), w.end(), rel);
  if (it == w.end()) return int(w.size()) - 1;
  int i = int(it - w.begin());
  if (i > 0 && rel - w[size_t(i - 1)] < w[size_t(i)] - rel) --i;
  return Snap(e, i, 1);
}

void DefaultFormat(HWND hwnd, Edit& e) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  e.format = {rc.left + e.leftMargin, rc.top, std::max(rc.left + e.leftMargin, rc.right - e.rightMargin),
              rc.bottom};
}

void Invalidate(HWND hwnd) { InvalidateRect(hwnd, nullptr, TRUE); }

void PlaceCaret(HWND hwnd, Edit& e) {
  if (!e.focused) return;
  SetCaretPos(XOfChar(hwnd, e, e.caret), e.format.top);
}

// Scrolls the least that shows the caret; text narrower than the rectangle never scrolls.
void ScrollToCaret(HWND hwnd, Edit& e) {
  Layout(e);
  const int total = e.widths.back(), fw = FormatWidth(e);
  const int old = e.xOffset;
  if (total < fw) {
    e.xOffset = 0;
  } else {
    const int cx = e.widths[size_t(e.caret)];
    if (cx < e.xOffset) e.xOffset = cx;
    if (cx > e.xOffset + fw - 1) e.xOffset = cx - fw + 1;
    e.xOffset = std::clamp(e.xOffset, 0, std::max(0, total - fw + 1));
  }
  if (e.xOffset != old) Invalidate(hwnd);
  PlaceCaret(hwnd, e);
}

void SetSelection(HWND hwnd, Edit& e, int anchor, int caret) {
  anchor = Snap(e, anchor, 1);
  caret = Snap(e, caret, caret >= e.caret ? 1 : -1);
  if (anchor != e.anchor || caret != e.caret) {
    if (anchor != caret || e.anchor != e.caret) Invalidate(hwnd);
    e.anchor = anchor;
    e.caret = caret;
  }
  e.typing = false;
  ScrollToCaret(hwnd, e);
}

void TextChanged(HWND hwnd, Edit& e, Origin origin) {
  e.layoutValid = false;
  ScrollToCaret(hwnd, e);
  Invalidate(hwnd);
  // A multi-line edit does not report text replaced through WM_SETTEXT.
  if (origin == Origin::SetText && (Style(hwnd) & ES_MULTILINE)) return;
  NotifyCommand(hwnd, EN_UPDATE);
  if (Edits().Find(hwnd) == &e) NotifyCommand(hwnd, EN_CHANGE);
}

void ApplyCase(HWND hwnd, std::u16string& s) {
  const DWORD style = Style(hwnd);
  if (style & ES_UPPERCASE) CharUpperBuffW(s.data(), DWORD(s.size()));
  if (style & ES_LOWERCASE) CharLowerBuffW(s.data(), DWORD(s.size()));
}

// Replaces the selection. User insertions obey the limit (and, without ES_AUTOHSCROLL, the
// width of the formatting rectangle); what did not fit is dropped with EN_MAXTEXT.
bool Replace(HWND hwnd, Edit& e, std::u16string s, Origin origin, bool undoable) {
  const size_t cut = s.find_first_of(u"\r\n");
  if (cut != std::u16string::npos) s.resize(cut);
  ApplyCase(hwnd, s);
  const int a = SelMin(e), b = SelMax(e);
  bool truncated = false;
  const long long room = (long long)e.limit - ((long long)e.text.size() - (b - a));
  if ((long long)s.size() > room) {
    s.resize(size_t(std::max(0LL, room)));
    if (!s.empty() && IsHigh(s.back())) s.pop_back();
    truncated = true;
  }
  if (!(Style(hwnd) & (ES_AUTOHSCROLL | ES_MULTILINE)) && !s.empty()) {
    MeasureDC m(e.font);
    std::u16string rest = e.text;
    rest.erase(size_t(a), size_t(b - a));
    while (!s.empty()) {
      std::u16string candidate = rest;
      candidate.insert(size_t(a), s);
      if (e.password) candidate.assign(candidate.size(), e.password);
      if (m.Width(candidate) <= FormatWidth(e)) break;
      s.pop_back();
      if (!s.empty() && IsHigh(s.back())) s.pop_back();
      truncated = true;
    }
  }
  if (s.empty() && a == b) {
    if (truncated) NotifyCommand(hwnd, EN_MAXTEXT);
    return false;
  }
  if (undoable) {
    const bool extend = origin == Origin::Typing && e.typing && a == b && e.canUndo;
    if (!extend) {
      e.undoText = e.text;
      e.undoAnchor = e.anchor;
      e.undoCaret = e.caret;
      e.canUndo = true;
    }
  }
  e.text.replace(size_t(a), size_t(b - a), s);
  e.anchor = e.caret = a + int(s.size());
  e.typing = origin == Origin::Typing;
  e.modified = true;
  TextChanged(hwnd, e, origin);
  if (truncated && Edits().Find(hwnd) == &e) NotifyCommand(hwnd, EN_MAXTEXT);
  return true;
}

void SetText(HWND hwnd, Edit& e, LPCWSTR text) {
  std::u16string s = text ? text : u"";
  ApplyCase(hwnd, s);
  e.text = std::move(s);
  e.anchor = e.caret = 0;
  e.xOffset = 0;
  e.modified = false;
  e.canUndo = false;
  e.undoText.clear();
  e.typing = false;
  TextChanged(hwnd, e, Origin::SetText);
}

bool Undo(HWND hwnd, Edit& e) {
  if (!e.canUndo) return false;
  // Undoing twice restores the undone edit, as one-level undo does.
  std::swap(e.text, e.undoText);
  const int a = e.anchor, c = e.caret;
  e.anchor = std::min(e.undoAnchor, int(e.text.size()));
  e.caret = std::min(e.undoCaret, int(e.text.size()));
  e.undoAnchor = a;
  e.undoCaret = c;
  e.typing = false;
  e.modified = true;
  TextChanged(hwnd, e, Origin::User);
  return true;
}

bool ReadOnly(HWND hwnd) { return (Style(hwnd) & ES_READONLY) != 0; }

void Copy(HWND hwnd, Edit& e) {
  if (e.password || SelMin(e) == SelMax(e)) return;
  const std::u16string sel = e.text.substr(size_t(SelMin(e)), size_t(SelMax(e) - SelMin(e)));
  if (!OpenClipboard(hwnd)) return;
  EmptyClipboard();
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, (sel.size() + 1) * sizeof(WCHAR));
  if (auto* p = static_cast<WCHAR*>(mem ? GlobalLock(mem) : nullptr)) {
    std::memcpy(p, sel.c_str(), (sel.size() + 1) * sizeof(WCHAR));
    GlobalUnlock(mem);
    if (!SetClipboardData(CF_UNICODETEXT, mem)) GlobalFree(mem);
  } else if (mem) {
    GlobalFree(mem);
  }
  CloseClipboard();
}

void Paste(HWND hwnd, Edit& e) {
  if (ReadOnly(hwnd) || !OpenClipboard(hwnd)) return;
  std::u16string s;
  if (HANDLE mem = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* p = static_cast<const WCHAR*>(GlobalLock(mem))) {
      const size_t cap = GlobalSize(mem) / sizeof(WCHAR);
      size_t n = 0;
      while (n < cap && p[n]) ++n;
      s.assign(p, n);
      GlobalUnlock(mem);
    }
  }
  CloseClipboard();
  if (!s.empty()) Replace(hwnd, e, s, Origin::User, true);
}

void Clear(HWND hwnd, Edit& e) {
  if (ReadOnly(hwnd) || SelMin(e) == SelMax(e)) return;
  Replace(hwnd, e, u"", Origin::User, true);
}

int WordLeft(const Edit& e, int pos) {
  while (pos > 0 && IsSpace(e.text[size_t(pos - 1)])) --pos;
  while (pos > 0 && !IsSpace(e.text[size_t(pos - 1)])) --pos;
  return pos;
}

int WordRight(const Edit& e, int pos) {
  const int n = int(e.text.size());
  while (pos < n && !IsSpace(e.text[size_t(pos)])) ++pos;
  while (pos < n && IsSpace(e.text[size_t(pos)])) ++pos;
  return pos;
}

void SelectWordAt(HWND hwnd, Edit& e, int pos) {
  const int n = int(e.text.size());
  if (n == 0) return;
  if (pos == n) --pos;
  const bool space = IsSpace(e.text[size_t(pos)]);
  int a = pos, b = pos;
  while (a > 0 && IsSpace(e.text[size_t(a - 1)]) == space) --a;
  while (b < n && IsSpace(e.text[size_t(b)]) == space) ++b;
  SetSelection(hwnd, e, a, b);
}

void KeyDown(HWND hwnd, Edit& e, WPARAM vk) {
  const bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
  const int n = int(e.text.size());
  auto move = [&](int to) {
    if (!shift && e.anchor != e.caret && (vk == VK_LEFT || vk == VK_RIGHT) && !ctrl)
      to = vk == VK_LEFT ? SelMin(e) : SelMax(e);  // an arrow collapses the selection first
    SetSelection(hwnd, e, shift ? e.anchor : to, to);
  };
  switch (vk) {
    case VK_LEFT:
      move(ctrl ? WordLeft(e, e.caret) : Snap(e, e.caret - 1, -1));
      return;
    case VK_RIGHT:
      move(ctrl ? WordRight(e, e.caret) : Snap(e, e.caret + 1, 1));
      return;
    case VK_HOME:
      move(0);
      return;
    case VK_END:
      move(n);
      return;
    case VK_DELETE:
      if (ReadOnly(hwnd)) return;
      if (shift) {  // Shift+Delete cuts
        Copy(hwnd, e);
        Clear(hwnd, e);
        return;
      }
      if (e.anchor == e.caret) {
        if (e.caret >= n) return;
        e.anchor = Snap(e, ctrl ? WordRight(e, e.caret) : e.caret + 1, 1);
      }
      Replace(hwnd, e, u"", Origin::User, true);
      return;
    case VK_INSERT:
      if (ctrl) Copy(hwnd, e);
      if (shift) Paste(hwnd, e);
      return;
  }
}

void Char(HWND hwnd, Edit& e, WPARAM wParam) {
  const char16_t c = char16_t(wParam);
  switch (c) {
    case 0x01:  // Ctrl+A
      SetSelection(hwnd, e, 0, int(e.text.size()));
      return;
    case 0x03:  // Ctrl+C
      Copy(hwnd, e);
      return;
    case 0x16:  // Ctrl+V
      Paste(hwnd, e);
      return;
    case 0x18:  // Ctrl+X
      if (ReadOnly(hwnd) || e.password) return;
      Copy(hwnd, e);
      Clear(hwnd, e);
      return;
    case 0x1A:  // Ctrl+Z
      if (!ReadOnly(hwnd)) Undo(hwnd, e);
      return;
    case u'\b':
    case 0x7F:  // Ctrl+Backspace deletes the word before the caret
      if (ReadOnly(hwnd)) return;
      if (e.anchor == e.caret) {
        if (e.caret == 0) return;
        e.anchor = c == 0x7F ? WordLeft(e, e.caret) : Snap(e, e.caret - 1, -1);
      }
      Replace(hwnd, e, u"", Origin::User, true);
      return;
  }
  if (c < 0x20) return;
  if (ReadOnly(hwnd)) {
    MessageBeep(0);
    return;
  }
  if ((Style(hwnd) & ES_NUMBER) && (c < u'0' || c > u'9')) {
    MessageBeep(0);
    return;
  }
  Replace(hwnd, e, std::u16string(1, c), Origin::Typing, true);
}

bool IsHollow(HBRUSH br) {
  if (!br || HGDIOBJ(br) == GetStockObject(NULL_BRUSH)) return true;
  LOGBRUSH lb{};
  return GetObjectW(br, sizeof lb, &lb) == sizeof lb && lb.lbStyle == BS_NULL;
}

// Asks the parent for the DC's colours and the background brush, as WM_CTLCOLOR* works.
HBRUSH ControlColor(HWND hwnd, HDC dc) {
  const UINT msg =
      (ReadOnly(hwnd) || !IsWindowEnabled(hwnd)) ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
  HWND parent = GetParent(hwnd);
  LRESULT r = parent ? SendMessageW(parent, msg, WPARAM(dc), LPARAM(hwnd)) : 0;
  if (!r) r = DefWindowProcW(hwnd, msg, WPARAM(dc), LPARAM(hwnd));
  return HBRUSH(r);
}

void Paint(HWND hwnd, Edit& e, HDC dc) {
  const bool hideCaret = e.focused && HideCaret(hwnd);
  const int saved = SaveDC(dc);
  SelectObject(dc, e.font ? e.font : DefaultControlFont());
  HBRUSH br = ControlColor(hwnd, dc);
  RECT client;
  GetClientRect(hwnd, &client);
  // A hollow brush on a transparent DC leaves the parent's painting under the text.
  if (!IsHollow(br)) FillRect(dc, &client, br);
  if (!IsWindowEnabled(hwnd)) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  IntersectClipRect(dc, e.format.left, e.format.top, e.format.right, e.format.bottom);
  Layout(e);
  const std::u16string shown = Shown(e);
  const int x0 = e.format.left + AlignOffset(hwnd, e) - e.xOffset;
  const int y = e.format.top;
  int a = SelMin(e), b = SelMax(e);
  if (!e.focused && !(Style(hwnd) & ES_NOHIDESEL)) a = b = 0;
  // Positions in the shown text: a mask character stands for a whole surrogate pair.
  auto shownIndex = [&](int i) {
    if (!e.password) return i;
    int k = 0;
    for (int j = 0; j < i; ++j)
      if (!(IsLow(e.text[size_t(j)]) && j > 0 && IsHigh(e.text[size_t(j - 1)]))) ++k;
    return k;
  };
  auto run = [&](int from, int to) {
    const int sf = shownIndex(from), st = shownIndex(to);
    if (st > sf)
      ExtTextOutW(dc, x0 + e.widths[size_t(from)], y, 0, nullptr, shown.c_str() + sf,
                  UINT(st - sf), nullptr);
  };
  run(0, a);
  if (b > a) {
    RECT sel{x0 + e.widths[size_t(a)], y, x0 + e.widths[size_t(b)], y + e.lineHeight};
    FillRect(dc, &sel, GetSysColorBrush(COLOR_HIGHLIGHT));
    const COLORREF oldColor = SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    run(a, b);
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldColor);
  }
  run(b, int(e.text.size()));
  RestoreDC(dc, saved);
  if (hideCaret) ShowCaret(hwnd);
}

void SetFocusState(HWND hwnd, Edit& e, bool focused) {
  e.focused = focused;
  if (focused) {
    Layout(e);
    CreateCaret(hwnd, nullptr, 1, e.lineHeight);
    PlaceCaret(hwnd, e);
    ShowCaret(hwnd);
  } else {
    DestroyCaret();
    e.dragging = false;
  }
  Invalidate(hwnd);
  NotifyCommand(hwnd, focused ? EN_SETFOCUS : EN_KILLFOCUS);
}

void SetMargins(HWND hwnd, Edit& e, WPARAM which, LPARAM lParam) {
  int left = LOWORD(lParam), right = HIWORD(lParam);
  if (left == EC_USEFONTINFO || right == EC_USEFONTINFO) {
    MeasureDC m(e.font);
    TEXTMETRICW tm{};
    GetTextMetricsW(m.dc(), &tm);
    const int auto_ = std::max(1, int(tm.tmAveCharWidth) / 2);
    if (left == EC_USEFONTINFO) left = auto_;
    if (right == EC_USEFONTINFO) right = auto_;
  }
  // The formatting rectangle moves by the change, so EM_GETRECT/EM_SETRECT round trips.
  if (which & EC_LEFTMARGIN) {
    e.format.left += left - e.leftMargin;
    e.leftMargin = left;
  }
  if (which & EC_RIGHTMARGIN) {
    e.format.right -= right - e.rightMargin;
    e.rightMargin = right;
  }
  e.format.right = std::max(e.format.right, e.format.left);
  ScrollToCaret(hwnd, e);
  Invalidate(hwnd);
}

LRESULT GetSel(const Edit& e, WPARAM wParam, LPARAM lParam) {
  const int a = SelMin(e), b = SelMax(e);
  if (wParam) *reinterpret_cast<DWORD*>(wParam) = DWORD(a);
  if (lParam) *reinterpret_cast<DWORD*>(lParam) = DWORD(b);
  if (a > 0xFFFF || b > 0xFFFF) return -1;
  return MAKELRESULT(a, b);
}

LRESULT Mouse(HWND hwnd, Edit& e, UINT msg, WPARAM wParam, LPARAM lParam) {
  const int x = GET_X_LPARAM(lParam);
  switch (msg) {
    case WM_LBUTTONDOWN: {
      if (GetFocus() != hwnd) SetFocus(hwnd);
      if (!Edits().Find(hwnd)) return 0;
      const int pos = CharFromX(hwnd, e, x);
      SetSelection(hwnd, e, (wParam & MK_SHIFT) ? e.anchor : pos, pos);
      e.dragging = true;
      SetCapture(hwnd);
      return 0;
    }
    case WM_LBUTTONDBLCLK:
      SelectWordAt(hwnd, e, CharFromX(hwnd, e, x));
      return 0;
    case WM_MOUSEMOVE:
      if (e.dragging && (wParam & MK_LBUTTON)) SetSelection(hwnd, e, e.anchor, CharFromX(hwnd, e, x));
      return 0;
    case WM_LBUTTONUP:
      if (e.dragging) {
        e.dragging = false;
        if (GetCapture() == hwnd) ReleaseCapture();
      }
      return 0;
  }
  return 0;
}

LRESULT Message(HWND hwnd, Edit& e, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE: {
      const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      if (cs && (cs->style & ES_PASSWORD)) e.password = u'*';
      DefaultFormat(hwnd, e);
      if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) {
        e.text = cs->lpszName;
        ApplyCase(hwnd, e.text);
      }
      return 0;
    }
    case WM_SIZE:
      if (!e.userRect) DefaultFormat(hwnd, e);
      ScrollToCaret(hwnd, e);
      Invalidate(hwnd);
      return 0;
    case WM_SETTEXT:
      SetText(hwnd, e, reinterpret_cast<LPCWSTR>(lParam));
      return TRUE;
    case WM_GETTEXT: {
      if (!lParam || wParam == 0) return 0;
      const size_t n = std::min(e.text.size(), size_t(wParam) - 1);
      auto* out = reinterpret_cast<LPWSTR>(lParam);
      std::copy_n(e.text.data(), n, out);
      out[n] = 0;
      return LRESULT(n);
    }
    case WM_GETTEXTLENGTH:
      return LRESULT(e.text.size());
    case WM_SETFONT:
      e.font = HFONT(wParam);
      e.layoutValid = false;
      if (e.focused) {
        Layout(e);
        CreateCaret(hwnd, nullptr, 1, e.lineHeight);
        ShowCaret(hwnd);
      }
      ScrollToCaret(hwnd, e);
      if (LOWORD(lParam)) Invalidate(hwnd);
      return 0;
    case WM_GETFONT:
      return LRESULT(e.font);
    case WM_GETDLGCODE: {
      LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
      if (Style(hwnd) & ES_MULTILINE) code |= DLGC_WANTALLKEYS;
      return code;
    }
    case WM_SETFOCUS:
      SetFocusState(hwnd, e, true);
      return 0;
    case WM_KILLFOCUS:
      SetFocusState(hwnd, e, false);
      return 0;
    case WM_ENABLE:
    case WM_STYLECHANGED:
      Invalidate(hwnd);
      return 0;
    case WM_ERASEBKGND: {
      HBRUSH br = ControlColor(hwnd, HDC(wParam));
      if (IsHollow(br)) return 1;
      RECT rc;
      GetClientRect(hwnd, &rc);
      FillRect(HDC(wParam), &rc, br);
      return 1;
    }
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      if (wParam) {  // paint into the caller's DC, without validating
        Paint(hwnd, e, HDC(wParam));
        return 0;
      }
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      if (dc && Edits().Find(hwnd) == &e) Paint(hwnd, e, dc);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_KEYDOWN:
      KeyDown(hwnd, e, wParam);
      return 0;
    case WM_CHAR:
    case WM_IME_CHAR:
      Char(hwnd, e, wParam);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
      return Mouse(hwnd, e, msg, wParam, lParam);
    case WM_CAPTURECHANGED:
      if (HWND(lParam) != hwnd) e.dragging = false;
      return 0;
    case WM_CUT:
      if (ReadOnly(hwnd) || e.password) return 0;
      Copy(hwnd, e);
      Clear(hwnd, e);
      return 0;
    case WM_COPY:
      Copy(hwnd, e);
      return 0;
    case WM_PASTE:
      Paste(hwnd, e);
      return 0;
    case WM_CLEAR:
      Clear(hwnd, e);
      return 0;
    case WM_UNDO:
    case EM_UNDO:
      return !ReadOnly(hwnd) && Undo(hwnd, e);
    case EM_CANUNDO:
      return e.canUndo;
    case EM_EMPTYUNDOBUFFER:
      e.canUndo = false;
      e.typing = false;
      e.undoText.clear();
      return 0;
    case EM_GETSEL:
      return GetSel(e, wParam, lParam);
    case EM_SETSEL: {
      const int n = int(e.text.size());
      int start = int(wParam), end = int(lParam);
      if (start < 0) {  // -1 removes the selection, keeping the caret
        SetSelection(hwnd, e, e.caret, e.caret);
        return 0;
      }
      if (end < 0 || end > n) end = n;
      SetSelection(hwnd, e, std::min(start, n), end);
      return 0;
    }
    case EM_REPLACESEL:
      Replace(hwnd, e, lParam ? reinterpret_cast<LPCWSTR>(lParam) : u"", Origin::Api,
              wParam != 0);
      return 0;
    case EM_GETMODIFY:
      return e.modified;
    case EM_SETMODIFY:
      e.modified = wParam != 0;
      return 0;
    case EM_SETREADONLY: {
      const DWORD style = Style(hwnd);
      SetWindowLongPtrW(hwnd, GWL_STYLE,
                        LONG_PTR(wParam ? (style | ES_READONLY) : (style & ~DWORD(ES_READONLY))));
      Invalidate(hwnd);
      return TRUE;
    }
    case EM_SETPASSWORDCHAR: {
      e.password = WCHAR(wParam);
      const DWORD style = Style(hwnd);
      SetWindowLongPtrW(hwnd, GWL_STYLE,
                        LONG_PTR(e.password ? (style | ES_PASSWORD) : (style & ~DWORD(ES_PASSWORD))));
      e.layoutValid = false;
      ScrollToCaret(hwnd, e);
      Invalidate(hwnd);
      return 0;
    }
    case EM_GETPASSWORDCHAR:
      return e.password;
    case EM_LIMITTEXT:
      e.limit = wParam == 0 || wParam > WPARAM(kDefaultLimit) ? kDefaultLimit : int(wParam);
      return 0;
    case EM_GETLIMITTEXT:
      return e.limit;
    case EM_GETRECT:
      if (lParam) *reinterpret_cast<RECT*>(lParam) = e.format;
      return 0;
    case EM_SETRECT:
    case EM_SETRECTNP:
      if (!lParam) {
        e.userRect = false;
        DefaultFormat(hwnd, e);
      } else {
        RECT r = *reinterpret_cast<const RECT*>(lParam);
        r.right = std::max(r.right, r.left);
        r.bottom = std::max(r.bottom, r.top);
        e.format = r;
        e.userRect = true;
      }
      ScrollToCaret(hwnd, e);
      if (msg == EM_SETRECT) Invalidate(hwnd);
      return 0;
    case EM_SETMARGINS:
      SetMargins(hwnd, e, wParam, lParam);
      return 0;
    case EM_GETMARGINS:
      return MAKELRESULT(e.leftMargin, e.rightMargin);
    case EM_CHARFROMPOS:
      return MAKELRESULT(CharFromX(hwnd, e, GET_X_LPARAM(lParam)), 0);
    case EM_POSFROMCHAR: {
      if (wParam >= e.text.size()) return -1;
      const int x = XOfChar(hwnd, e, int(wParam));
      return MAKELRESULT(WORD(SHORT(x)), WORD(SHORT(e.format.top)));
    }
    case EM_SCROLLCARET:
      ScrollToCaret(hwnd, e);
      return TRUE;
    case EM_GETLINECOUNT:
      return 1;
    case EM_GETFIRSTVISIBLELINE:
    case EM_LINEFROMCHAR:
    case EM_LINEINDEX:
      return 0;
    case EM_LINELENGTH:
      return LRESULT(e.text.size());
    case EM_GETLINE: {
      auto* out = reinterpret_cast<LPWSTR>(lParam);
      if (!out || wParam != 0) return 0;
      const WORD cap = *reinterpret_cast<const WORD*>(out);
      const size_t n = std::min<size_t>(e.text.size(), cap);
      std::copy_n(e.text.data(), n, out);
      return LRESULT(n);
    }
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK EditWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) Edits().Create(hwnd);
  Edit* e = Edits().Find(hwnd);
  if (msg == WM_NCDESTROY) {
    if (e && e->focused) DestroyCaret();
    Edits().Erase(hwnd);
    return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
  if (!e) return DefWindowProcW(hwnd, msg, wParam, lParam);
  return Message(hwnd, *e, msg, wParam, lParam);
}

}  // namespace lumoa::platform::comctl
