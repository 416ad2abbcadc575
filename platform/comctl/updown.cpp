// The up-down control: two arrow halves that step a position within a range, asking the
// parent first (UDN_DELTAPOS, vetoable) and reporting with WM_VSCROLL or WM_HSCROLL; a held
// button repeats on a timer.
#include <algorithm>
#include <string>

#include "platform/comctl/classes.h"
#include "platform/comctl/control_util.h"

namespace lumoa::platform::comctl {

namespace {

constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kFirstDelay = 500;
constexpr UINT kRepeatDelay = 100;

struct UpDown {
  int lower = 100, upper = 0;  // the default range runs downwards
  int pos = 0;
  HWND buddy = nullptr;
  int base = 10;
  int pressed = 0;   // +1 the "up" half held, -1 the "down" half, 0 none
  bool inside = false;  // the pointer is over the held half
};

StateMap<UpDown>& UpDowns() {
  static StateMap<UpDown> map;
  return map;
}

bool Horizontal(HWND hwnd) { return (Style(hwnd) & UDS_HORZ) != 0; }

// +1 for the half that moves towards the upper bound (top, or right when horizontal).
int HalfAt(HWND hwnd, LPARAM lParam) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (!PtInRect(&rc, p)) return 0;
  if (Horizontal(hwnd)) return p.x >= rc.right / 2 ? 1 : -1;
  return p.y < rc.bottom / 2 ? 1 : -1;
}

void SetBuddyText(HWND hwnd, const UpDown& u) {
  if (!u.buddy || !(Style(hwnd) & UDS_SETBUDDYINT)) return;
  const std::string digits = std::to_string(u.pos);
  const std::u16string text(digits.begin(), digits.end());
  SetWindowTextW(u.buddy, text.c_str());
}

int Clamp(const UpDown& u, int v) {
  return std::clamp(v, std::min(u.lower, u.upper), std::max(u.lower, u.upper));
}

void Step(HWND hwnd, UpDown& u, int half) {
  const int direction = u.upper >= u.lower ? half : -half;
  NMUPDOWN nm{};
  nm.iPos = u.pos;
  nm.iDelta = direction;
  if (NotifyParent(hwnd, &nm.hdr, UDN_DELTAPOS)) return;  // refused
  if (UpDowns().Find(hwnd) != &u) return;
  long long next = (long long)u.pos + nm.iDelta;
  const int lo = std::min(u.lower, u.upper), hi = std::max(u.lower, u.upper);
  if (next < lo || next > hi) {
    if (!(Style(hwnd) & UDS_WRAP)) next = std::clamp<long long>(next, lo, hi);
    else next = next < lo ? hi : lo;
  }
  if (int(next) == u.pos) return;
  u.pos = int(next);
  SetBuddyText(hwnd, u);
  if (HWND parent = GetParent(hwnd))
    SendMessageW(parent, Horizontal(hwnd) ? WM_HSCROLL : WM_VSCROLL,
                 MAKEWPARAM(SB_THUMBPOSITION, WORD(SHORT(u.pos))), LPARAM(hwnd));
  InvalidateRect(hwnd, nullptr, TRUE);
}

void EndPress(HWND hwnd, UpDown& u) {
  if (!u.pressed) return;
  u.pressed = 0;
  KillTimer(hwnd, kRepeatTimer);
  if (GetCapture() == hwnd) ReleaseCapture();
  if (HWND parent = GetParent(hwnd))
    SendMessageW(parent, Horizontal(hwnd) ? WM_HSCROLL : WM_VSCROLL, SB_ENDSCROLL, LPARAM(hwnd));
  InvalidateRect(hwnd, nullptr, TRUE);
}

void DrawArrow(HDC dc, const RECT& r, int half, bool horizontal, bool down) {
  FillRect(dc, &r, GetSysColorBrush(down ? COLOR_BTNSHADOW : COLOR_BTNFACE));
  FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
  HBRUSH ink = GetSysColorBrush(COLOR_BTNTEXT);
  const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
  const int n = std::max(1, std::min(r.right - r.left, r.bottom - r.top) / 4);
  for (int k = 0; k < n; ++k) {  // a triangle, one line of pixels per step
    RECT line;
    if (horizontal) {
      const int x = half > 0 ? cx - n / 2 + k : cx + n / 2 - k;
      line = {x, cy - (n - 1 - k), x + 1, cy + (n - k)};
    } else {
      const int y = half > 0 ? cy - n / 2 + k : cy + n / 2 - k;
      line = {cx - k, y, cx + k + 1, y + 1};
    }
    FillRect(dc, &line, ink);
  }
}

void Paint(HWND hwnd, const UpDown& u, HDC dc) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  const bool horizontal = Horizontal(hwnd);
  RECT up = rc, down = rc;
  if (horizontal) {
    down.right = up.left = rc.right / 2;
  } else {
    up.bottom = down.top = rc.bottom / 2;
  }
  DrawArrow(dc, up, 1, horizontal, u.pressed > 0 && u.inside);
  DrawArrow(dc, down, -1, horizontal, u.pressed < 0 && u.inside);
}

LRESULT Message(HWND hwnd, UpDown& u, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      if (dc) Paint(hwnd, u, dc);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      const int half = HalfAt(hwnd, lParam);
      if (!half || !IsWindowEnabled(hwnd)) return 0;
      u.pressed = half;
      u.inside = true;
      SetCapture(hwnd);
      SetTimer(hwnd, kRepeatTimer, kFirstDelay, nullptr);
      Step(hwnd, u, half);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (u.pressed) {
        const bool inside = HalfAt(hwnd, lParam) == u.pressed;
        if (inside != u.inside) InvalidateRect(hwnd, nullptr, TRUE);
        u.inside = inside;
      }
      return 0;
    case WM_LBUTTONUP:
      EndPress(hwnd, u);
      return 0;
    case WM_CAPTURECHANGED:
      if (HWND(lParam) != hwnd) EndPress(hwnd, u);
      return 0;
    case WM_TIMER:
      if (wParam != kRepeatTimer || !u.pressed) return 0;
      SetTimer(hwnd, kRepeatTimer, kRepeatDelay, nullptr);
      if (u.inside) Step(hwnd, u, u.pressed);  // paused while the pointer is off the half
      return 0;
    case UDM_SETRANGE32:
      u.lower = int(wParam);
      u.upper = int(lParam);
      u.pos = Clamp(u, u.pos);
      return 0;
    case UDM_GETRANGE32:
      if (wParam) *reinterpret_cast<int*>(wParam) = u.lower;
      if (lParam) *reinterpret_cast<int*>(lParam) = u.upper;
      return 0;
    case UDM_SETRANGE:
      u.upper = SHORT(LOWORD(lParam));
      u.lower = SHORT(HIWORD(lParam));
      u.pos = Clamp(u, u.pos);
      return 0;
    case UDM_GETRANGE:
      return MAKELRESULT(WORD(SHORT(u.upper)), WORD(SHORT(u.lower)));
    case UDM_SETPOS32:
    case UDM_SETPOS: {
      const int old = u.pos;
      u.pos = Clamp(u, msg == UDM_SETPOS ? int(SHORT(LOWORD(lParam))) : int(lParam));
      SetBuddyText(hwnd, u);
      InvalidateRect(hwnd, nullptr, TRUE);
      return old;
    }
    case UDM_GETPOS32:
      if (lParam) *reinterpret_cast<BOOL*>(lParam) = FALSE;
      return u.pos;
    case UDM_GETPOS:
      return MAKELRESULT(WORD(SHORT(u.pos)), 0);
    case UDM_SETBUDDY: {
      HWND old = u.buddy;
      u.buddy = HWND(wParam);
      SetBuddyText(hwnd, u);
      return LRESULT(old);
    }
    case UDM_GETBUDDY:
      return LRESULT(u.buddy);
    case UDM_SETBASE: {
      const int old = u.base;
      if (wParam != 10 && wParam != 16) return 0;
      u.base = int(wParam);
      return old;
    }
    case UDM_GETBASE:
      return u.base;
    case UDM_SETACCEL:
      return TRUE;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK UpDownWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) UpDowns().Create(hwnd);
  UpDown* u = UpDowns().Find(hwnd);
  if (msg == WM_NCDESTROY) {
    UpDowns().Erase(hwnd);
    return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
  if (!u) return DefWindowProcW(hwnd, msg, wParam, lParam);
  return Message(hwnd, *u, msg, wParam, lParam);
}

}  // namespace lumoa::platform::comctl
