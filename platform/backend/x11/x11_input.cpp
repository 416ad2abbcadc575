// Keyboard (keysyms, auto-repeat, input method), mouse buttons, global hot keys and the
// pointer grab.
#include <X11/XKBlib.h>
#include <X11/keysym.h>

#include <algorithm>

#include "platform/backend/x11/x11_backend_impl.h"
#include "platform/backend/x11/x11_error_trap.h"
#include "platform/backend/x11/x11_keys.h"
#include "platform/backend/x11/x11_utf.h"

namespace lumoa::platform::x11 {

void X11Backend::OpenInputMethod() {
  im_ = XOpenIM(dpy_, nullptr, nullptr, nullptr);
  if (!im_) {
    // No input method yet: take it when one starts.
    XRegisterIMInstantiateCallback(dpy_, nullptr, nullptr, nullptr, OnImInstantiate,
                                   reinterpret_cast<XPointer>(this));
    return;
  }
  XIMCallback destroy{reinterpret_cast<XPointer>(this), OnImDestroy};
  XSetIMValues(im_, XNDestroyCallback, &destroy, nullptr);

  XIMStyles* styles = nullptr;
  imStyle_ = 0;
  if (!XGetIMValues(im_, XNQueryInputStyle, &styles, nullptr) && styles) {
    // Root-window preedit suits our own-drawn edit best; then no preedit at all.
    const XIMStyle wanted[] = {XIMPreeditNothing | XIMStatusNothing,
                               XIMPreeditNothing | XIMStatusNone,
                               XIMPreeditNone | XIMStatusNothing,
                               XIMPreeditNone | XIMStatusNone};
    for (XIMStyle s : wanted) {
      for (unsigned short i = 0; i < styles->count_styles && !imStyle_; ++i) {
        if (styles->supported_styles[i] == s) imStyle_ = s;
      }
    }
    XFree(styles);
  }
  if (!imStyle_) {
    XCloseIM(im_);
    im_ = nullptr;
    return;
  }
  for (auto& [xid, w] : windows_) CreateInputContext(w);
}

void X11Backend::CloseInputMethod() {
  for (auto& [xid, w] : windows_) {
    if (w.ic) XDestroyIC(w.ic);
    w.ic = nullptr;
  }
  if (im_) XCloseIM(im_);
  im_ = nullptr;
  XUnregisterIMInstantiateCallback(dpy_, nullptr, nullptr, nullptr, OnImInstantiate,
                                   reinterpret_cast<XPointer>(this));
}

void X11Backend::OnImInstantiate(Display*, XPointer client, XPointer) {
  auto* self = reinterpret_cast<X11Backend*>(client);
  if (self->im_) return;
  XUnregisterIMInstantiateCallback(self->dpy_, nullptr, nullptr, nullptr, OnImInstantiate,
                                   client);
  self->OpenInputMethod();
}

void X11Backend::OnImDestroy(XIM, XPointer client, XPointer) {
  // The server went away: its contexts are gone with it; wait for the next one.
  auto* self = reinterpret_cast<X11Backend*>(client);
  for (auto& [xid, w] : self->windows_) w.ic = nullptr;
  self->im_ = nullptr;
  XRegisterIMInstantiateCallback(self->dpy_, nullptr, nullptr, nullptr, OnImInstantiate,
                                 client);
}

void X11Backend::CreateInputContext(NativeWin& w) {
  if (!im_ || w.ic || w.params.noActivate) return;
  w.ic = XCreateIC(im_, XNInputStyle, imStyle_, XNClientWindow, w.xid, XNFocusWindow, w.xid,
                   nullptr);
  if (!w.ic) return;
  long imMask = 0;
  XGetICValues(w.ic, XNFilterEvents, &imMask, nullptr);
  XWindowAttributes wa{};
  XGetWindowAttributes(dpy_, w.xid, &wa);
  XSelectInput(dpy_, w.xid, wa.your_event_mask | imMask);
  if (w.focused) XSetICFocus(w.ic);
}

void X11Backend::SetImeSpot(NativeId id, POINT pt) {
  NativeWin* w = Find(id);
  if (!w || !w->ic) return;
  XPoint spot{static_cast<short>(std::clamp<long>(pt.x, -32768, 32767)),
              static_cast<short>(std::clamp<long>(pt.y, -32768, 32767))};
  XVaNestedList attr = XVaCreateNestedList(0, XNSpotLocation, &spot, nullptr);
  if (!attr) return;
  // Input methods that ignore the spot for this style refuse it; that is fine.
  XSetICValues(w->ic, XNPreeditAttributes, attr, nullptr);
  XFree(attr);
}

unsigned int X11Backend::NumLockMask() {
  unsigned int mask = 0;
  XModifierKeymap* map = XGetModifierMapping(dpy_);
  if (!map) return 0;
  const KeyCode numLock = XKeysymToKeycode(dpy_, XK_Num_Lock);
  for (int m = 0; m < 8 && numLock; ++m) {
    for (int k = 0; k < map->max_keypermod; ++k) {
      if (map->modifiermap[m * map->max_keypermod + k] == numLock) mask = 1u << m;
    }
  }
  XFreeModifiermap(map);
  return mask;
}

bool X11Backend::IsAutoRepeatRelease(const XKeyEvent& ev) {
  // Without detectable auto-repeat the server sends release+press pairs with one time stamp.
  if (detectableRepeat_ || XEventsQueued(dpy_, QueuedAfterReading) == 0) return false;
  XEvent next;
  XPeekEvent(dpy_, &next);
  return next.type == KeyPress && next.xkey.keycode == ev.keycode && next.xkey.time == ev.time;
}

void X11Backend::OnKey(NativeWin& w, XKeyEvent& ev) {
  BackendEvent e;
  e.window = w.xid;
  e.scan = ev.keycode >= 8 ? ev.keycode - 8 : 0;  // evdev key codes are scan codes + 8
  e.modifiers = MouseKeysFromState(ev.state);
  e.altDown = (ev.state & Mod1Mask) != 0;

  // The virtual key ignores Shift (Shift+1 is still '1'); the keypad follows NumLock.
  KeySym ks = XLookupKeysym(&ev, 0);
  const KeySym shifted = XLookupKeysym(&ev, 1);
  if (IsKeypadKey(shifted) && (ev.state & NumLockMask()) && !(ev.state & ShiftMask)) {
    ks = shifted;
  }
  e.vk = VirtualKeyFromKeySym(ks);

  if (ev.type == KeyRelease) {
    if (IsAutoRepeatRelease(ev)) return;
    std::erase(keysDown_, static_cast<KeyCode>(ev.keycode));
    e.type = BackendEventType::KeyUp;
    Push(std::move(e));
    return;
  }
  // Key code 0 is the input method handing over what it composed: text, no key.
  const auto code = static_cast<KeyCode>(ev.keycode);
  const UINT vkCode = e.vk;
  const bool alt = e.altDown;
  const UINT mods = e.modifiers;
  if (code != 0) {
    e.repeat = std::find(keysDown_.begin(), keysDown_.end(), code) != keysDown_.end();
    if (!e.repeat) keysDown_.push_back(code);
    e.type = BackendEventType::KeyDown;
    Push(std::move(e));
  }

  char buf[256];
  KeySym textSym = 0;
  Status status = 0;
  int n = 0;
  std::string utf8;
  if (w.ic) {
    n = Xutf8LookupString(w.ic, &ev, buf, sizeof buf, &textSym, &status);
    if (status == XBufferOverflow && n > 0) {
      std::string big(static_cast<size_t>(n), '\0');
      n = Xutf8LookupString(w.ic, &ev, big.data(), n, &textSym, &status);
      utf8.assign(big.data(), static_cast<size_t>(std::max(n, 0)));
    } else if (status == XLookupChars || status == XLookupBoth) {
      utf8.assign(buf, static_cast<size_t>(std::max(n, 0)));
    }
  } else {
    n = XLookupString(&ev, buf, sizeof buf, &textSym, nullptr);
    utf8 = Utf16ToUtf8(Latin1ToUtf16(std::string_view(buf, static_cast<size_t>(std::max(n, 0)))));
  }
  if (utf8.empty() || (utf8 == "\x7f" && vkCode == vk::kDelete)) return;  // Delete types nothing
  BackendEvent t;
  t.type = BackendEventType::Text;
  t.window = w.xid;
  t.vk = vkCode;
  t.altDown = alt;
  t.modifiers = mods;
  t.text = Utf8ToUtf16(utf8);
  Push(std::move(t));
}

void X11Backend::OnButton(NativeWin& w, const XButtonEvent& ev) {
  BackendEvent e;
  e.window = w.xid;
  e.screen = POINT{ev.x_root, ev.y_root};
  e.altDown = (ev.state & Mod1Mask) != 0;
  e.modifiers = MouseKeysFromState(ev.state);
  if (ev.button == Button4 || ev.button == Button5) {
    if (ev.type != ButtonPress) return;
    e.type = BackendEventType::Wheel;
    e.delta = ev.button == Button4 ? 120 : -120;
    Push(std::move(e));
    return;
  }
  if (ev.button < Button1 || ev.button > Button3) return;
  // The state is from before the event; Win32 reports it after.
  const UINT bit = ev.button == Button1 ? mk::kLButton
                   : ev.button == Button2 ? mk::kMButton
                                          : mk::kRButton;
  e.button = ev.button;
  if (ev.type == ButtonPress) {
    e.type = BackendEventType::ButtonDown;
    e.modifiers |= bit;
  } else {
    e.type = BackendEventType::ButtonUp;
    e.modifiers &= ~bit;
  }
  Push(std::move(e));
}

bool X11Backend::GrabHotKey(int id, UINT modifiers, UINT vkCode) {
  const KeySym ks = KeySymFromVirtualKey(vkCode);
  const KeyCode code = ks ? XKeysymToKeycode(dpy_, ks) : 0;
  if (!code) return false;
  UngrabHotKey(id);
  const unsigned int mods = XModifiersFromHotKey(modifiers);
  const unsigned int numLock = NumLockMask();
  const unsigned int variants[] = {0, LockMask, numLock, LockMask | numLock};
  ErrorTrap trap(dpy_);
  for (unsigned int v : variants) {
    XGrabKey(dpy_, code, mods | v, root_, True, GrabModeAsync, GrabModeAsync);
  }
  if (trap.Check() != 0) {
    // Someone else holds (part of) it: give back whatever variants we did get.
    for (unsigned int v : variants) XUngrabKey(dpy_, code, mods | v, root_);
    return false;
  }
  hotKeys_[id] = HotKey{code, mods};
  return true;
}

void X11Backend::UngrabHotKey(int id) {
  auto it = hotKeys_.find(id);
  if (it == hotKeys_.end()) return;
  const unsigned int numLock = NumLockMask();
  const unsigned int variants[] = {0, LockMask, numLock, LockMask | numLock};
  ErrorTrap trap(dpy_);
  for (unsigned int v : variants) XUngrabKey(dpy_, it->second.keycode, it->second.mods | v, root_);
  hotKeys_.erase(it);
}

void X11Backend::OnRootKey(const XKeyEvent& ev) {
  const unsigned int relevant = ShiftMask | ControlMask | Mod1Mask | Mod4Mask;
  for (const auto& [id, hk] : hotKeys_) {
    if (hk.keycode == ev.keycode && (ev.state & relevant) == hk.mods) {
      BackendEvent e;
      e.type = BackendEventType::HotKey;
      e.hotkeyId = id;
      Push(std::move(e));
      return;
    }
  }
}

void X11Backend::GrabPointer(NativeId id) {
  NativeWin* w = Find(id);
  if (!w) return;
  const unsigned int mask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                            EnterWindowMask | LeaveWindowMask;
  const int r = XGrabPointer(dpy_, w->xid, True, mask, GrabModeAsync, GrabModeAsync, None, None,
                             CurrentTime);
  // Refused (another client's grab, or not viewable): the implicit button grab still holds.
  pointerGrab_ = r == GrabSuccess ? w->xid : 0;
}

void X11Backend::UngrabPointer() {
  XUngrabPointer(dpy_, CurrentTime);
  XFlush(dpy_);
  pointerGrab_ = 0;
}

POINT X11Backend::PointerPosition() {
  Window rootRet = 0, child = 0;
  int rx = 0, ry = 0, wx = 0, wy = 0;
  unsigned int mask = 0;
  XQueryPointer(dpy_, root_, &rootRet, &child, &rx, &ry, &wx, &wy, &mask);
  return POINT{rx, ry};
}

UINT X11Backend::ButtonState() {
  Window rootRet = 0, child = 0;
  int rx = 0, ry = 0, wx = 0, wy = 0;
  unsigned int mask = 0;
  XQueryPointer(dpy_, root_, &rootRet, &child, &rx, &ry, &wx, &wy, &mask);
  return MouseKeysFromState(mask) & (mk::kLButton | mk::kRButton | mk::kMButton);
}

}  // namespace lumoa::platform::x11
