// Back-end events into window messages: mouse routing by hit testing, keys to the focus,
// activation, focus, capture, mouse tracking and the key state.
#include <algorithm>
#include <cstdlib>

#include "platform/user/window.h"
#include "platform/winbase.h"
#include "platform/wingdi.h"

namespace lumoa::platform::user {

namespace {

bool ShownAsNative(const Window* top) {
  if (!top->Visible() || (top->style & WS_MINIMIZE)) return false;
  if (!(top->exStyle & WS_EX_LAYERED)) return true;
  if (!top->layeredAttributes && !top->layeredUpdated) return false;
  return !(top->exStyle & WS_EX_TRANSPARENT);  // layered + transparent: clicks go through
}

bool InWindowRegion(const Window* w, POINT screen) {
  if (!w->windowRgn) return true;
  const POINT o = WindowOrigin(w);
  return PtInRegion(w->windowRgn, screen.x - o.x, screen.y - o.y) != FALSE;
}

Window* HitInside(Window* w, POINT pt, int* hit) {
  const HWND hwnd = w->handle;
  const POINT co = ClientOrigin(w);
  const RECT client{co.x, co.y, co.x + w->client.right - w->client.left,
                    co.y + w->client.bottom - w->client.top};
  if (PtInRect(&client, pt)) {
    std::vector<HWND> kids;
    for (Window* c : w->children) kids.push_back(c->handle);
    for (HWND k : kids) {
      Window* c = Get(k);
      if (!c || !c->Visible()) continue;
      const RECT cr = WindowRectOnScreen(c);
      if (!PtInRect(&cr, pt) || !InWindowRegion(c, pt)) continue;
      if (c->style & WS_DISABLED) break;  // the parent gets a disabled child's mouse input
      if (Window* r = HitInside(c, pt, hit)) return r;
    }
  }
  if (!(w = Get(hwnd))) return nullptr;
  const int h = int(Send(w, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y)));
  if (h == HTTRANSPARENT || !Get(hwnd)) return nullptr;
  *hit = h;
  return w;
}

UINT MouseMessage(const BackendEvent& e, bool client) {
  const UINT base = client ? WM_MOUSEMOVE : WM_NCMOUSEMOVE;
  if (e.type == BackendEventType::MouseMove) return base;
  const UINT button = e.button == 3 ? 1 : e.button == 2 ? 2 : 0;  // L, R, M rows
  const UINT down = base + 1 + button * 3;
  return e.type == BackendEventType::ButtonDown ? down : down + 1;
}

WPARAM MouseKeys(const BackendEvent& e) {
  const InputState& in = S().Input();
  WPARAM k = e.modifiers & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON | MK_SHIFT | MK_CONTROL);
  if (in.keys[VK_SHIFT] & 0x80) k |= MK_SHIFT;
  if (in.keys[VK_CONTROL] & 0x80) k |= MK_CONTROL;
  return k;
}

void PushInput(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, const BackendEvent& e) {
  S().Input().input.push_back(MSG{hwnd, msg, wParam, lParam, DWORD(e.time), e.screen});
}

void EndTracking(bool nonClientLeave) {
  InputState& in = S().Input();
  if (!in.tracking) return;
  const bool nc = (in.trackFlags & TME_NONCLIENT) != 0;
  Post(in.tracking, nc && nonClientLeave ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
  in.tracking = nullptr;
  in.trackFlags = 0;
}

Window* FromNative(NativeId id) {
  if (!id) return nullptr;
  for (Window* top : Desktop()->children)
    if (top->native == id) return top;
  return nullptr;
}

void HandleKey(const BackendEvent& e) {
  InputState& in = S().Input();
  const bool down = e.type == BackendEventType::KeyDown;
  Window* target = Get(in.focus);
  const bool noFocus = target == nullptr;
  if (noFocus) target = Get(in.active);
  std::u16string text;
  if (down && !in.raw.empty() && in.raw.front().type == BackendEventType::Text) {
    text = std::move(in.raw.front().text);
    in.raw.pop_front();
  }
  if (!target) return;
  const bool alt = (in.keys[VK_MENU] & 0x80) != 0;
  const bool ctrl = (in.keys[VK_CONTROL] & 0x80) != 0;
  const bool sys = noFocus || (alt && !ctrl) || e.vk == VK_F10 || (e.vk == VK_MENU);
  UINT msg = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
  LPARAM lp = 1 | LPARAM((e.scan & 0xFF) << 16);
  if (alt) lp |= LPARAM(KF_ALTDOWN) << 16;
  if (!down || e.repeat) lp |= LPARAM(1) << 30;
  if (!down) lp |= LPARAM(1) << 31;
  const MSG m{target->handle, msg, WPARAM(e.vk), LPARAM(DWORD(lp)), DWORD(e.time), S().cursor.Get()};
  in.input.push_back(m);
  if (!down) return;
  in.keyTexts.push_back(KeyText{m.hwnd, m.wParam, m.lParam, m.time, std::move(text)});
  while (in.keyTexts.size() > 64) in.keyTexts.pop_front();
}

}  // namespace

void InputState::Forget(HWND hwnd) {
  if (capture == hwnd) capture = nullptr;
  if (focus == hwnd) focus = nullptr;
  if (active == hwnd) active = nullptr;
  if (tracking == hwnd) tracking = nullptr;
  if (lastMouseWindow == hwnd) lastMouseWindow = nullptr;
  std::erase_if(input, [hwnd](const MSG& m) { return m.hwnd == hwnd; });
  std::erase_if(keyTexts, [hwnd](const KeyText& k) { return k.hwnd == hwnd; });
}

void InputState::Reset() {
  raw.clear();
  input.clear();
  keyTexts.clear();
  focus = active = capture = tracking = lastMouseWindow = nullptr;
  appActive = false;
  std::fill(std::begin(keys), std::end(keys), BYTE(0));
  lastClick = {};
}

Window* HitWindow(POINT pt, int* hit) {
  std::vector<HWND> tops;
  for (Window* top : Desktop()->children) tops.push_back(top->handle);
  for (HWND h : tops) {
    Window* top = Get(h);
    if (!top || !ShownAsNative(top)) continue;
    const RECT r = WindowRectOnScreen(top);
    if (!PtInRect(&r, pt) || !InWindowRegion(top, pt)) continue;
    if (top->layeredUpdated) {
      // Per-pixel alpha windows let the pointer through where they are fully transparent.
      const int x = pt.x - r.left, y = pt.y - r.top;
      if (x >= top->layeredWidth || y >= top->layeredHeight ||
          (top->layeredPixels[size_t(y) * top->layeredWidth + x] >> 24) == 0)
        continue;
    }
    if (Window* w = HitInside(top, pt, hit)) return w;
  }
  return nullptr;
}

void UpdateKeyState(const BackendEvent& e) {
  InputState& in = S().Input();
  auto setDown = [&in](UINT vk, bool down) {
    if (down) {
      if (!(in.keys[vk] & 0x80)) in.keys[vk] ^= 0x01;
      in.keys[vk] |= 0x80;
    } else {
      in.keys[vk] &= ~0x80;
    }
  };
  switch (e.type) {
    case BackendEventType::KeyDown:
    case BackendEventType::KeyUp: {
      const bool down = e.type == BackendEventType::KeyDown;
      if (e.vk < 256) setDown(e.vk, down);
      if (e.vk == VK_LSHIFT || e.vk == VK_RSHIFT) setDown(VK_SHIFT, down);
      if (e.vk == VK_LCONTROL || e.vk == VK_RCONTROL) setDown(VK_CONTROL, down);
      if (e.vk == VK_LMENU || e.vk == VK_RMENU) setDown(VK_MENU, down);
      break;
    }
    case BackendEventType::ButtonDown:
    case BackendEventType::ButtonUp: {
      const UINT vk = e.button == 1 ? VK_LBUTTON : e.button == 2 ? VK_MBUTTON : VK_RBUTTON;
      setDown(vk, e.type == BackendEventType::ButtonDown);
      [[fallthrough]];
    }
    case BackendEventType::MouseMove:
    case BackendEventType::Wheel:
      // Modifier keys pressed while another program had the keyboard.
      setDown(VK_SHIFT, (e.modifiers & MK_SHIFT) != 0);
      setDown(VK_CONTROL, (e.modifiers & MK_CONTROL) != 0);
      break;
    default:
      break;
  }
}

void RouteMouse(const BackendEvent& e) {
  InputState& in = S().Input();
  const POINT pt = e.screen;
  S().cursor.Set(pt);
  Window* target = nullptr;
  int hit = HTNOWHERE;
  if (Window* c = Get(in.capture)) {
    target = c;
    hit = HTCLIENT;
  } else {
    target = HitWindow(pt, &hit);
  }
  if (in.tracking) {
    const bool nc = (in.trackFlags & TME_NONCLIENT) != 0;
    const bool over = target && target->handle == in.tracking && (nc ? hit != HTCLIENT : hit == HTCLIENT);
    if (!over) EndTracking(nc);
  }
  in.lastMouseWindow = target ? target->handle : nullptr;
  in.lastHit = UINT(hit);
  if (!target) return;
  const HWND hwnd = target->handle;
  if (e.type == BackendEventType::Wheel) {
    Window* f = Get(in.focus);
    if (!f) return;
    PushInput(f->handle, WM_MOUSEWHEEL, MAKEWPARAM(MouseKeys(e), SHORT(e.delta)),
              MAKELPARAM(pt.x, pt.y), e);
    return;
  }
  if (target->style & WS_DISABLED) {
    if (e.type == BackendEventType::ButtonDown) GetBackend().Beep();
    return;
  }
  const bool client = hit == HTCLIENT;
  UINT msg = MouseMessage(e, client);
  const bool down = e.type == BackendEventType::ButtonDown;
  if (!in.capture) {
    Send(target, WM_SETCURSOR, WPARAM(hwnd), MAKELPARAM(hit, msg));
    if (!(target = Get(hwnd))) return;
  }
  if (down && !in.capture) {
    Window* top = IsTopLevel(target) ? target : TopLevel(target);
    if (top && top->handle != in.active) {
      const HWND topHandle = top->handle;
      const LRESULT r = Send(target, WM_MOUSEACTIVATE, WPARAM(topHandle), MAKELPARAM(hit, msg));
      if ((r == MA_ACTIVATE || r == MA_ACTIVATEANDEAT) && Get(topHandle))
        Activate(Get(topHandle), ActivatedBy::Mouse, NativeFocus::FocusNative);
      if (r == MA_ACTIVATEANDEAT || r == MA_NOACTIVATEANDEAT) return;
      if (!(target = Get(hwnd))) return;
    }
  }
  if (down) {
    auto& lc = in.lastClick;
    const bool dblStyle = (target->cls->style & CS_DBLCLKS) || !client;
    if (dblStyle && lc.hwnd == hwnd && lc.message == msg && e.time - lc.time <= GetDoubleClickTime() &&
        std::abs(pt.x - lc.pt.x) <= 2 && std::abs(pt.y - lc.pt.y) <= 2) {
      msg += 2;  // xBUTTONDOWN -> xBUTTONDBLCLK
      lc.hwnd = nullptr;
    } else {
      lc.hwnd = hwnd;
      lc.message = msg;
      lc.time = e.time;
      lc.pt = pt;
    }
  }
  if (client) {
    const POINT co = ClientOrigin(target);
    PushInput(hwnd, msg, MouseKeys(e), MAKELPARAM(pt.x - co.x, pt.y - co.y), e);
  } else {
    PushInput(hwnd, msg, WPARAM(hit), MAKELPARAM(pt.x, pt.y), e);
  }
}

void HandleBackendEvent(const BackendEvent& e) {
  InputState& in = S().Input();
  UpdateKeyState(e);
  switch (e.type) {
    case BackendEventType::MouseMove:
    case BackendEventType::ButtonDown:
    case BackendEventType::ButtonUp:
    case BackendEventType::Wheel:
      RouteMouse(e);
      return;
    case BackendEventType::KeyDown:
    case BackendEventType::KeyUp:
      HandleKey(e);
      return;
    case BackendEventType::Text: {
      Window* f = Get(in.focus);
      if (!f) return;
      for (char16_t c : e.text) PushInput(f->handle, WM_IME_CHAR, WPARAM(c), 1, e);
      return;
    }
    case BackendEventType::Expose:
      if (Window* top = FromNative(e.window)) {
        top->dirty.Add(e.rect);
        PresentDirty();
      }
      return;
    case BackendEventType::FocusIn:
      if (Window* top = FromNative(e.window); top && top->handle != in.active)
        Activate(top, ActivatedBy::Program, NativeFocus::Keep);
      return;
    case BackendEventType::FocusOut: {
      Window* top = FromNative(e.window);
      if (!top || top->handle != in.active) return;
      // Focus moving to another of our windows arrives as FocusIn next: no app switch then.
      for (const BackendEvent& next : in.raw)
        if (next.type == BackendEventType::FocusIn && FromNative(next.window)) return;
      Deactivate();
      return;
    }
    case BackendEventType::Moved:
      if (Window* top = FromNative(e.window)) {
        const RECT r = WindowRectOnScreen(top);
        if (r.left != e.rect.left || r.top != e.rect.top || r.right != e.rect.right ||
            r.bottom != e.rect.bottom)
          SetWindowPos(top->handle, nullptr, e.rect.left, e.rect.top, e.rect.right - e.rect.left,
                       e.rect.bottom - e.rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
      }
      return;
    case BackendEventType::CloseRequest:
      if (Window* top = FromNative(e.window)) Post(top->handle, WM_SYSCOMMAND, SC_CLOSE, 0);
      return;
    case BackendEventType::Iconified:
      if (Window* top = FromNative(e.window); top && !(top->style & WS_MINIMIZE)) {
        top->style |= WS_MINIMIZE;
        OnWindowHidden(top);
        if ((top = FromNative(e.window))) Send(top, WM_SIZE, SIZE_MINIMIZED, 0);
      }
      return;
    case BackendEventType::Restored:
      if (Window* top = FromNative(e.window); top && (top->style & WS_MINIMIZE))
        ShowWindow(top->handle, SW_RESTORE);
      return;
    case BackendEventType::PointerLeft:
      if (!in.capture) EndTracking(in.lastHit != HTCLIENT);
      in.lastMouseWindow = nullptr;
      return;
    case BackendEventType::HotKey:
      DeliverHotKey(e.hotkeyId);
      return;
  }
}

void Deactivate() {
  InputState& in = S().Input();
  const HWND old = in.active;
  const HWND focus = in.focus;
  in.active = nullptr;
  in.focus = nullptr;
  if (Window* f = Get(focus)) Send(f, WM_KILLFOCUS, 0, 0);
  if (Window* o = Get(old)) {
    Send(o, WM_NCACTIVATE, FALSE, 0);
    if ((o = Get(old))) Send(o, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0);
  }
  if (in.appActive) {
    in.appActive = false;
    if (Window* o = Get(old)) Send(o, WM_ACTIVATEAPP, FALSE, 0);
  }
}

bool Activate(Window* top, ActivatedBy by, NativeFocus native) {
  InputState& in = S().Input();
  if (!top || !IsTopLevel(top) || (top->style & WS_DISABLED)) return false;
  const HWND hwnd = top->handle;
  // Already active: the back end gave us the keyboard (or FocusOut would have deactivated us),
  // so asking the window manager again would only queue a stale activation request.
  if (in.active == hwnd) return true;
  const HWND old = in.active;
  if (Window* o = Get(old)) {
    Send(o, WM_NCACTIVATE, FALSE, 0);
    if ((o = Get(old))) Send(o, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), LPARAM(hwnd));
  }
  if (!(top = Get(hwnd))) return false;
  in.active = hwnd;
  if (!in.appActive) {
    in.appActive = true;
    Send(top, WM_ACTIVATEAPP, TRUE, 0);
    if (!(top = Get(hwnd))) return false;
  }
  SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (!(top = Get(hwnd))) return false;
  Send(top, WM_NCACTIVATE, TRUE, 0);
  if (!(top = Get(hwnd))) return false;
  const WORD minimized = (top->style & WS_MINIMIZE) ? 1 : 0;
  Send(top, WM_ACTIVATE, MAKEWPARAM(by == ActivatedBy::Mouse ? WA_CLICKACTIVE : WA_ACTIVE, minimized), LPARAM(old));
  if (!(top = Get(hwnd)) || in.active != hwnd) return false;
  // The focus belongs inside the active window.
  Window* f = Get(in.focus);
  if (!f || (f != top && TopLevel(f) != top)) SetFocusInternal(top);
  if (native == NativeFocus::FocusNative && top->native && top->nativeShown && in.active == hwnd)
    GetBackend().Activate(top->native);
  return true;
}

void ActivateOther(Window* leaving) {
  InputState& in = S().Input();
  auto usable = [leaving](Window* w) {
    return w && w != leaving && IsTopLevel(w) && w->Visible() && !(w->style & WS_DISABLED) &&
           !(w->style & WS_MINIMIZE) && !(w->exStyle & WS_EX_NOACTIVATE) &&
           w->life != Window::Life::Destroying;
  };
  Window* next = usable(leaving->owner) ? leaving->owner : nullptr;
  if (!next)
    for (Window* w : Desktop()->children)
      if (usable(w) && (!(w->exStyle & WS_EX_TOOLWINDOW) || w->owner == nullptr)) {
        next = w;
        break;
      }
  if (next && Activate(next, ActivatedBy::Program, NativeFocus::FocusNative)) return;
  if (in.active == leaving->handle) Deactivate();
}

void SetFocusInternal(Window* w) {
  InputState& in = S().Input();
  const HWND old = in.focus;
  const HWND nw = w ? w->handle : nullptr;
  if (old == nw) return;
  in.focus = nw;
  if (Window* o = Get(old)) Send(o, WM_KILLFOCUS, WPARAM(nw), 0);
  if (in.focus != nw) return;
  if (Window* n = Get(nw)) Send(n, WM_SETFOCUS, WPARAM(old), 0);
}

void OnWindowHidden(Window* w) {
  InputState& in = S().Input();
  const HWND hwnd = w->handle;
  if (in.capture && (in.capture == hwnd || ::IsChild(hwnd, in.capture))) ReleaseCapture();
  if (in.tracking && (in.tracking == hwnd || ::IsChild(hwnd, in.tracking))) {
    in.tracking = nullptr;
    in.trackFlags = 0;
  }
  if (!(w = Get(hwnd))) return;
  if (IsTopLevel(w)) {
    if (in.active == hwnd) ActivateOther(w);
    return;
  }
  if (in.focus && (in.focus == hwnd || ::IsChild(hwnd, in.focus)))
    SetFocusInternal(w->parent && ReallyVisible(w->parent) ? w->parent : nullptr);
}

void OnWindowDestroying(Window* w) {
  InputState& in = S().Input();
  const HWND hwnd = w->handle;
  if (in.capture == hwnd) ReleaseCapture();
  if (!(w = Get(hwnd))) return;
  if (in.active == hwnd) ActivateOther(w);
  if (in.focus == hwnd) SetFocusInternal(nullptr);
  if (in.tracking == hwnd) in.tracking = nullptr;
}

}  // namespace lumoa::platform::user

using namespace lumoa::platform::user;
using lumoa::platform::GetBackend;

HWND SetFocus(HWND hwnd) {
  InputState& in = S().Input();
  const HWND old = in.focus;
  if (!hwnd) {
    SetFocusInternal(nullptr);
    return old;
  }
  Window* w = Get(hwnd);
  if (!w || IsDesktop(w)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if (hwnd == old) return old;
  for (Window* x = w; x && !IsDesktop(x); x = x->parent)
    if (x->style & (WS_MINIMIZE | WS_DISABLED)) return nullptr;
  Window* top = IsTopLevel(w) ? w : TopLevel(w);
  if (!top) return nullptr;
  if (top->handle != in.active) {
    const HWND topHandle = top->handle;
    if (!Activate(top, ActivatedBy::Program, NativeFocus::FocusNative) || in.active != topHandle) return nullptr;
    if (!(w = Get(hwnd))) return nullptr;
  }
  SetFocusInternal(w);
  return in.focus == hwnd ? old : nullptr;
}

HWND GetFocus() { return S().Input().focus; }

HWND SetActiveWindow(HWND hwnd) {
  InputState& in = S().Input();
  const HWND old = in.active;
  Window* w = Get(hwnd);
  if (!w || !IsTopLevel(w)) return nullptr;
  return Activate(w, ActivatedBy::Program, NativeFocus::FocusNative) ? old : nullptr;
}

HWND GetActiveWindow() { return S().Input().active; }

BOOL SetForegroundWindow(HWND hwnd) {
  Window* w = Get(hwnd);
  if (!w) return FALSE;
  Window* top = IsTopLevel(w) ? w : TopLevel(w);
  return top && Activate(top, ActivatedBy::Program, NativeFocus::FocusNative) ? TRUE : FALSE;
}

HWND GetForegroundWindow() { return S().Input().appActive ? S().Input().active : nullptr; }

HWND SetCapture(HWND hwnd) {
  InputState& in = S().Input();
  const HWND old = in.capture;
  Window* w = Get(hwnd);
  if (!w) return nullptr;
  if (old == hwnd) return old;
  in.capture = hwnd;
  Window* top = IsTopLevel(w) ? w : TopLevel(w);
  if (top && top->native) GetBackend().GrabPointer(top->native);
  if (Window* o = Get(old)) Send(o, WM_CAPTURECHANGED, 0, LPARAM(hwnd));
  return old;
}

BOOL ReleaseCapture() {
  InputState& in = S().Input();
  const HWND old = in.capture;
  if (!old) return TRUE;
  in.capture = nullptr;
  GetBackend().UngrabPointer();
  if (Window* o = Get(old)) Send(o, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND GetCapture() { return S().Input().capture; }

BOOL TrackMouseEvent(LPTRACKMOUSEEVENT tme) {
  if (!tme || tme->cbSize < sizeof(TRACKMOUSEEVENT)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  InputState& in = S().Input();
  if (tme->dwFlags & TME_QUERY) {
    tme->dwFlags = in.tracking ? in.trackFlags : 0;
    tme->hwndTrack = in.tracking;
    tme->dwHoverTime = 0;
    return TRUE;
  }
  if (!Get(tme->hwndTrack)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (tme->dwFlags & TME_CANCEL) {
    if (in.tracking == tme->hwndTrack) {
      in.trackFlags &= ~(tme->dwFlags & (TME_LEAVE | TME_HOVER));
      if (!(in.trackFlags & TME_LEAVE)) in.tracking = nullptr;
    }
    return TRUE;
  }
  if (!(tme->dwFlags & TME_LEAVE)) return TRUE;
  const bool nc = (tme->dwFlags & TME_NONCLIENT) != 0;
  const bool over = in.lastMouseWindow == tme->hwndTrack &&
                    (nc ? in.lastHit != HTCLIENT : in.lastHit == HTCLIENT);
  if (!over) {
    // Win32 answers a request for a window the pointer is not over at once.
    Post(tme->hwndTrack, nc ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
    return TRUE;
  }
  if (in.tracking && in.tracking != tme->hwndTrack) EndTracking(false);
  in.tracking = tme->hwndTrack;
  in.trackFlags = tme->dwFlags & (TME_LEAVE | TME_NONCLIENT);
  return TRUE;
}

BOOL GetCursorPos(LPPOINT pt) {
  if (!pt) return FALSE;
  *pt = GetBackend().PointerPosition();
  return TRUE;
}

SHORT GetKeyState(int vk) {
  if (vk < 0 || vk > 255) return 0;
  const BYTE k = S().Input().keys[vk];
  return SHORT(((k & 0x80) ? 0x8000 : 0) | (k & 0x01));
}

SHORT GetAsyncKeyState(int vk) {
  if (vk < 0 || vk > 255) return 0;
  const UINT buttons = GetBackend().ButtonState();
  switch (vk) {
    case VK_LBUTTON: return (buttons & MK_LBUTTON) ? SHORT(0x8000) : 0;
    case VK_RBUTTON: return (buttons & MK_RBUTTON) ? SHORT(0x8000) : 0;
    case VK_MBUTTON: return (buttons & MK_MBUTTON) ? SHORT(0x8000) : 0;
  }
  return (S().Input().keys[vk] & 0x80) ? SHORT(0x8000) : 0;
}

UINT GetDoubleClickTime() { return 500; }
