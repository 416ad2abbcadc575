// Default message handling: the simple non-client frame, hit testing, erasing, text, closing,
// activation defaults and the modal system-move loop.
#include <algorithm>

#include "platform/trace/delivery.h"
#include "platform/user/window.h"
#include "platform/winbase.h"
#include "platform/winfont.h"
#include "platform/wingdi.h"

namespace lumoa::platform::user {

namespace {

constexpr int kScrollSize = 17;

LRESULT DefHitTest(Window* w, POINT pt) {
  const RECT wr = WindowRectOnScreen(w);
  if (!PtInRect(&wr, pt)) return HTNOWHERE;
  const POINT co = ClientOrigin(w);
  const RECT cr{co.x, co.y, co.x + w->client.right - w->client.left,
                co.y + w->client.bottom - w->client.top};
  if (PtInRect(&cr, pt)) return HTCLIENT;
  if ((w->style & WS_VSCROLL) && pt.x >= cr.right && pt.x < cr.right + kScrollSize &&
      pt.y >= cr.top && pt.y < cr.bottom)
    return HTVSCROLL;
  if ((w->style & WS_HSCROLL) && pt.y >= cr.bottom && pt.y < cr.bottom + kScrollSize &&
      pt.x >= cr.left && pt.x < cr.right)
    return HTHSCROLL;
  const RECT f = FrameInsets(w->style, w->exStyle);
  const int border = f.left;
  if (w->style & WS_THICKFRAME) {
    const bool left = pt.x < wr.left + border, right = pt.x >= wr.right - border;
    const bool top = pt.y < wr.top + border, bottom = pt.y >= wr.bottom - border;
    if (top && left) return HTTOPLEFT;
    if (top && right) return HTTOPRIGHT;
    if (bottom && left) return HTBOTTOMLEFT;
    if (bottom && right) return HTBOTTOMRIGHT;
    if (left) return HTLEFT;
    if (right) return HTRIGHT;
    if (top) return HTTOP;
    if (bottom) return HTBOTTOM;
  }
  const int caption = CaptionHeight(w->style, w->exStyle);
  if (caption && pt.y >= wr.top + border && pt.y < wr.top + border + caption &&
      pt.x >= wr.left + border && pt.x < wr.right - border)
    return HTCAPTION;
  if (pt.x < wr.left + border || pt.x >= wr.right - border || pt.y < wr.top + border ||
      pt.y >= wr.bottom - border)
    return HTBORDER;
  return HTNOWHERE;
}

void DrawFrame(Window* w, bool active) {
  const RECT f = FrameInsets(w->style, w->exStyle);
  const bool scroll = (w->style & (WS_VSCROLL | WS_HSCROLL)) != 0;
  if (!f.left && !f.top && !scroll) return;
  HDC dc = GetWindowDC(w->handle);
  if (!dc) return;
  const int width = w->rect.right - w->rect.left, height = w->rect.bottom - w->rect.top;
  ExcludeClipRect(dc, w->client.left, w->client.top, w->client.right, w->client.bottom);
  RECT all{0, 0, width, height};
  if (w->style & (WS_DLGFRAME | WS_THICKFRAME))
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
  if (w->style & (WS_BORDER | WS_DLGFRAME | WS_THICKFRAME))
    FrameRect(dc, &all, GetSysColorBrush(COLOR_WINDOWFRAME));
  const int caption = CaptionHeight(w->style, w->exStyle);
  const int border = f.left - ((w->exStyle & WS_EX_CLIENTEDGE) ? 2 : 0) -
                     ((w->exStyle & WS_EX_STATICEDGE) ? 1 : 0);
  if (caption) {
    RECT cap{border, border, width - border, border + caption};
    FillRect(dc, &cap, GetSysColorBrush(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
    cap.left += 4;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    DrawTextW(dc, w->text.c_str(), int(w->text.size()), &cap,
              DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  if (w->exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE)) {
    const int e = (w->exStyle & WS_EX_CLIENTEDGE) ? 2 : 1;
    RECT edge{w->client.left - e, w->client.top - e, w->client.right + e, w->client.bottom + e};
    if (w->style & WS_VSCROLL) edge.right += kScrollSize;
    if (w->style & WS_HSCROLL) edge.bottom += kScrollSize;
    FrameRect(dc, &edge, GetSysColorBrush(COLOR_BTNSHADOW));
  }
  if (w->style & WS_VSCROLL) {
    RECT sb{w->client.right, w->client.top, w->client.right + kScrollSize, w->client.bottom};
    FillRect(dc, &sb, GetSysColorBrush(COLOR_SCROLLBAR));
  }
  if (w->style & WS_HSCROLL) {
    RECT sb{w->client.left, w->client.bottom, w->client.right, w->client.bottom + kScrollSize};
    FillRect(dc, &sb, GetSysColorBrush(COLOR_SCROLLBAR));
  }
  ReleaseDC(w->handle, dc);
}

LRESULT SysCommand(Window* w, WPARAM wParam, LPARAM lParam) {
  switch (wParam & 0xFFF0) {
    case SC_MOVE: {
      POINT start{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (!lParam) start = S().cursor.Get();
      SystemMoveLoop(w, start);
      return 0;
    }
    case SC_CLOSE:
      if (w->cls->style & CS_NOCLOSE) return 0;
      Send(w, WM_CLOSE, 0, 0);
      return 0;
    case SC_MINIMIZE:
      ShowWindow(w->handle, SW_MINIMIZE);
      return 0;
    case SC_RESTORE:
      ShowWindow(w->handle, SW_RESTORE);
      return 0;
  }
  return 0;
}

}  // namespace

void SystemMoveLoop(Window* w, POINT start) {
  const InputState& in = S().Input();
  const HWND hwnd = w->handle;
  // With a mouse button held (a press of any button may start the move) the window follows the
  // pointer until that button is released; with none (the move was asked for from the
  // keyboard) arrow keys and the pointer move it until Enter or a click.
  UINT releaseOf = 0;
  if (in.keys[VK_LBUTTON] & 0x80) {
    releaseOf = WM_LBUTTONUP;
  } else if (in.keys[VK_RBUTTON] & 0x80) {
    releaseOf = WM_RBUTTONUP;
  } else if (in.keys[VK_MBUTTON] & 0x80) {
    releaseOf = WM_MBUTTONUP;
  }
  const bool keyboard = releaseOf == 0;
  const RECT origin = w->rect;
  POINT offset{0, 0};
  Send(w, WM_ENTERSIZEMOVE, 0, 0);
  if (!IsWindow(hwnd)) return;
  SetCapture(hwnd);
  auto moveTo = [&](POINT off) {
    offset = off;
    // The window may adjust the place it is dragged to (docking to edges).
    RECT r{origin.left + off.x, origin.top + off.y, origin.right + off.x, origin.bottom + off.y};
    if (Window* x = Get(hwnd)) Send(x, WM_MOVING, 0, LPARAM(&r));
    SetWindowPos(hwnd, nullptr, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  };
  MSG m;
  for (bool done = false; !done;) {
    if (!IsWindow(hwnd)) break;
    const BOOL r = GetMessageW(&m, nullptr, 0, 0);
    if (r <= 0) {
      PostQuitMessage(int(m.wParam));
      break;
    }
    if (in.capture != hwnd) {  // someone took the capture away: the move ends where it is
      TranslateMessage(&m);
      DispatchMessageW(&m);
      break;
    }
    switch (m.message) {
      case WM_MOUSEMOVE:
        moveTo(POINT{m.pt.x - start.x, m.pt.y - start.y});
        break;
      case WM_LBUTTONUP:
      case WM_RBUTTONUP:
      case WM_MBUTTONUP:
        if (m.message != releaseOf) break;
        moveTo(POINT{m.pt.x - start.x, m.pt.y - start.y});
        done = true;
        break;
      case WM_LBUTTONDOWN:
        done = keyboard;
        break;
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
        switch (m.wParam) {
          case VK_ESCAPE: moveTo(POINT{0, 0}); done = true; break;
          case VK_RETURN: done = true; break;
          case VK_LEFT: moveTo(POINT{offset.x - 8, offset.y}); break;
          case VK_RIGHT: moveTo(POINT{offset.x + 8, offset.y}); break;
          case VK_UP: moveTo(POINT{offset.x, offset.y - 8}); break;
          case VK_DOWN: moveTo(POINT{offset.x, offset.y + 8}); break;
        }
        break;
      case WM_RBUTTONDOWN:
      case WM_MBUTTONDOWN:
      case WM_MOUSEWHEEL:
      case WM_KEYUP:
      case WM_SYSKEYUP:
      case WM_CHAR:
      case WM_SYSCHAR:
        break;  // input during the move belongs to the move
      default:
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
  }
  if (in.capture == hwnd) ReleaseCapture();
  if (Window* x = Get(hwnd)) Send(x, WM_EXITSIZEMOVE, 0, 0);
}

}  // namespace lumoa::platform::user

using namespace lumoa::platform::user;
using lumoa::platform::GetBackend;

LRESULT DefWindowProcW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* w = Get(hwnd);
  if (!w) return 0;
  const lumoa::platform::trace::DefaultProcScope inDefault;
  switch (msg) {
    case WM_NCCREATE: {
      const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) w->text = cs->lpszName;
      return TRUE;
    }
    case WM_NCCALCSIZE: {
      RECT* r = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0]
                       : reinterpret_cast<RECT*>(lParam);
      if (!r) return 0;
      const RECT f = FrameInsets(w->style, w->exStyle);
      r->left += f.left;
      r->top += f.top;
      r->right -= f.right;
      r->bottom -= f.bottom;
      if (w->style & WS_VSCROLL) r->right -= kScrollSize;
      if (w->style & WS_HSCROLL) r->bottom -= kScrollSize;
      r->right = std::max(r->right, r->left);
      r->bottom = std::max(r->bottom, r->top);
      return 0;
    }
    case WM_NCHITTEST:
      return DefHitTest(w, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    case WM_NCPAINT: {
      Window* top = IsTopLevel(w) ? w : TopLevel(w);
      DrawFrame(w, top && top->handle == S().Input().active);
      return 0;
    }
    case WM_NCACTIVATE:
      if ((w->style & WS_CAPTION) == WS_CAPTION) DrawFrame(w, wParam != 0);
      return TRUE;
    case WM_ERASEBKGND: {
      HBRUSH br = w->cls->background;
      if (!br) return 0;
      if (uintptr_t(br) <= COLOR_MENUBAR + 1) br = GetSysColorBrush(int(uintptr_t(br)) - 1);
      RECT rc;
      GetClientRect(hwnd, &rc);
      FillRect(HDC(wParam), &rc, br);
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      if (BeginPaint(hwnd, &ps)) EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_SETTEXT:
      w->text = lParam ? reinterpret_cast<LPCWSTR>(lParam) : u"";
      if (w->native) GetBackend().SetTitle(w->native, w->text);
      if ((w->style & WS_CAPTION) == WS_CAPTION) {
        Window* top = IsTopLevel(w) ? w : TopLevel(w);
        if (ReallyVisible(w)) DrawFrame(w, top && top->handle == S().Input().active);
      }
      return TRUE;
    case WM_GETTEXT: {
      if (!lParam || wParam == 0) return 0;
      auto* out = reinterpret_cast<LPWSTR>(lParam);
      const size_t n = std::min(w->text.size(), size_t(wParam) - 1);
      std::copy_n(w->text.data(), n, out);
      out[n] = 0;
      return LRESULT(n);
    }
    case WM_GETTEXTLENGTH:
      return LRESULT(w->text.size());
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_SYSCOMMAND:
      return SysCommand(w, wParam, lParam);
    case WM_NCLBUTTONDOWN:
      if (wParam == HTCAPTION) {
        Window* target = w;
        SendMessageW(target->handle, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, lParam);
      }
      return 0;
    case WM_MOUSEACTIVATE:
      if (w->IsChild() && w->parent && !IsDesktop(w->parent)) {
        const LRESULT r = Send(w->parent, WM_MOUSEACTIVATE, wParam, lParam);
        if (r) return r;
      }
      return (w->exStyle & WS_EX_NOACTIVATE) ? MA_NOACTIVATE : MA_ACTIVATE;
    case WM_SETCURSOR: {
      if (w->IsChild() && w->parent && !IsDesktop(w->parent) &&
          Send(w->parent, WM_SETCURSOR, wParam, lParam))
        return TRUE;
      const short hit = short(LOWORD(lParam));
      if (hit == HTCLIENT) {
        if (!w->cls->cursor) return FALSE;
        SetCursor(w->cls->cursor);
        return TRUE;
      }
      if (hit == HTERROR && (HIWORD(lParam) == WM_LBUTTONDOWN || HIWORD(lParam) == WM_RBUTTONDOWN))
        MessageBeep(0);
      LPCWSTR shape = IDC_ARROW;
      if (hit == HTLEFT || hit == HTRIGHT) shape = IDC_SIZEWE;
      if (hit == HTTOP || hit == HTBOTTOM) shape = IDC_SIZENS;
      if (hit == HTTOPLEFT || hit == HTBOTTOMRIGHT) shape = IDC_SIZENWSE;
      if (hit == HTTOPRIGHT || hit == HTBOTTOMLEFT) shape = IDC_SIZENESW;
      SetCursor(LoadCursorW(nullptr, shape));
      return TRUE;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && !(w->style & WS_MINIMIZE)) SetFocus(hwnd);
      return 0;
    case WM_WINDOWPOSCHANGED: {
      const auto* wp = reinterpret_cast<const WINDOWPOS*>(lParam);
      if (!wp) return 0;
      if (!(wp->flags & SWP_NOMOVE))
        Send(w, WM_MOVE, 0, MAKELPARAM(w->rect.left + w->client.left, w->rect.top + w->client.top));
      if (!(w = Get(hwnd))) return 0;
      if (!(wp->flags & SWP_NOSIZE) || (wp->flags & SWP_FRAMECHANGED))
        Send(w, WM_SIZE, (w->style & WS_MINIMIZE) ? SIZE_MINIMIZED : SIZE_RESTORED,
             MAKELPARAM(w->client.right - w->client.left, w->client.bottom - w->client.top));
      return 0;
    }
    case WM_IME_CHAR:
      Send(w, WM_CHAR, wParam, lParam);
      return 0;
    case WM_SYSKEYDOWN:
      if (wParam == VK_F4 && (HIWORD(lParam) & KF_ALTDOWN)) {
        Window* top = IsTopLevel(w) ? w : TopLevel(w);
        if (top) PostMessageW(top->handle, WM_SYSCOMMAND, SC_CLOSE, 0);
      }
      return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
      HDC dc = HDC(wParam);
      const bool window = msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX;
      SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
      SetBkColor(dc, GetSysColor(window ? COLOR_WINDOW : COLOR_BTNFACE));
      return LRESULT(GetSysColorBrush(window ? COLOR_WINDOW : COLOR_BTNFACE));
    }
    case WM_MOUSEWHEEL:
    case WM_CONTEXTMENU:
      if (w->IsChild() && w->parent && !IsDesktop(w->parent))
        return Send(w->parent, msg, wParam, lParam);
      return 0;
    case WM_CANCELMODE:
      if (S().Input().capture == hwnd) ReleaseCapture();
      return 0;
    case WM_NOTIFYFORMAT:
      return 2;  // NFR_UNICODE
  }
  return 0;
}
