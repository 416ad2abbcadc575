// Native windows: creation with the window-manager hints, geometry, stacking, iconic state,
// shape, opacity, presenting pixels and cursors.
#include <X11/Xatom.h>
#include <X11/extensions/shape.h>

#include <algorithm>

#include "platform/backend/x11/x11_backend_impl.h"
#include "platform/backend/x11/x11_error_trap.h"
#include "platform/backend/x11/x11_utf.h"

namespace lumoa::platform::x11 {

namespace {

constexpr long kEventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask |
                            PointerMotionMask | KeyPressMask | KeyReleaseMask |
                            FocusChangeMask | StructureNotifyMask | EnterWindowMask |
                            LeaveWindowMask | PropertyChangeMask;

int Width(const RECT& r) { return std::max<int>(1, r.right - r.left); }
int Height(const RECT& r) { return std::max<int>(1, r.bottom - r.top); }

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

NativeId X11Backend::CreateNativeWindow(const NativeWindowParams& p) {
  NativeWin w;
  w.params = p;
  w.bounds = p.bounds;
  w.argb = p.layered && LayeredAvailable() && argbVisual_;

  XSetWindowAttributes wa{};
  unsigned long mask = CWEventMask | CWBitGravity | CWBackPixmap | CWBorderPixel;
  wa.event_mask = kEventMask;
  wa.bit_gravity = NorthWestGravity;
  wa.background_pixmap = None;  // we always present: no server-side clearing, no flicker
  wa.border_pixel = 0;
  if (p.transient) {
    wa.override_redirect = True;
    wa.save_under = True;
    mask |= CWOverrideRedirect | CWSaveUnder;
  }
  if (w.argb) {
    w.visual = argbVisual_;
    w.depth = 32;
    w.colormap = XCreateColormap(dpy_, root_, argbVisual_, AllocNone);
    wa.colormap = w.colormap;
    mask |= CWColormap;
  } else {
    w.visual = DefaultVisual(dpy_, screen_);
    w.depth = DefaultDepth(dpy_, screen_);
  }
  w.xid = XCreateWindow(dpy_, root_, p.bounds.left, p.bounds.top, Width(p.bounds),
                        Height(p.bounds), 0, w.depth, InputOutput, w.visual, mask, &wa);
  if (!w.xid) return 0;
  auto [it, inserted] = windows_.emplace(w.xid, w);
  NativeWin& nw = it->second;
  SetWindowProperties(nw);
  CreateInputContext(nw);
  // An empty input shape: pointer events go to the windows underneath.
  if (p.clickThrough && hasShape_)
    XShapeCombineRectangles(dpy_, nw.xid, ShapeInput, 0, 0, nullptr, 0, ShapeSet, Unsorted);
  XFlush(dpy_);
  return nw.xid;
}

void X11Backend::SetWindowProperties(NativeWin& w) {
  const NativeWindowParams& p = w.params;
  Atom protocols[] = {a_.WM_DELETE_WINDOW};
  XSetWMProtocols(dpy_, w.xid, protocols, 1);

  XWMHints hints{};
  hints.flags = InputHint | StateHint;
  hints.input = p.noActivate ? False : True;
  hints.initial_state = NormalState;
  XSetWMHints(dpy_, w.xid, &hints);
  SetSizeHints(w);

  SetIdentityProperties(w);

  if (p.popup) {
    // flags: decorations given; decorations: none.
    const long motif[5] = {2, 0, 0, 0, 0};
    XChangeProperty(dpy_, w.xid, a_._MOTIF_WM_HINTS, a_._MOTIF_WM_HINTS, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(motif), 5);
  }
  const Atom type = p.transient    ? a_._NET_WM_WINDOW_TYPE_DROPDOWN_MENU
                    : p.toolWindow ? a_._NET_WM_WINDOW_TYPE_UTILITY
                                   : a_._NET_WM_WINDOW_TYPE_NORMAL;
  XChangeProperty(dpy_, w.xid, a_._NET_WM_WINDOW_TYPE, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&type), 1);
  std::vector<Atom> state;
  if (p.topmost) state.push_back(a_._NET_WM_STATE_ABOVE);
  if (p.toolWindow) {
    state.push_back(a_._NET_WM_STATE_SKIP_TASKBAR);
    state.push_back(a_._NET_WM_STATE_SKIP_PAGER);
  }
  XChangeProperty(dpy_, w.xid, a_._NET_WM_STATE, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(state.data()),
                  static_cast<int>(state.size()));
  if (p.noActivate) {
    const long zero = 0;  // "do not focus on map"
    XChangeProperty(dpy_, w.xid, a_._NET_WM_USER_TIME, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&zero), 1);
  }
  WriteTitle(w);
}

void X11Backend::SetSizeHints(NativeWin& w) {
  XSizeHints* sh = XAllocSizeHints();
  if (!sh) return;
  // The program chose the place: a window manager keeps it, and the client area (not the
  // frame) sits at the requested point.
  sh->flags = PPosition | USPosition | PSize | USSize | PWinGravity;
  sh->x = w.bounds.left;
  sh->y = w.bounds.top;
  sh->width = Width(w.bounds);
  sh->height = Height(w.bounds);
  sh->win_gravity = StaticGravity;
  XSetWMNormalHints(dpy_, w.xid, sh);
  XFree(sh);
}

void X11Backend::DestroyNativeWindow(NativeId id) {
  NativeWin* w = Find(id);
  if (!w) return;
  if (pointerGrab_ == w->xid) UngrabPointer();
  KeepIconPast(*w);
  if (w->ic) XDestroyIC(w->ic);
  if (w->customCursor) XFreeCursor(dpy_, w->customCursor);
  ReleaseShmImage(*w);
  if (w->gc) XFreeGC(dpy_, w->gc);
  XDestroyWindow(dpy_, w->xid);
  if (w->argb && w->colormap) XFreeColormap(dpy_, w->colormap);
  windows_.erase(w->xid);
  // Events already queued for it are of no use to anyone.
  std::erase_if(pending_, [id](const BackendEvent& e) { return e.window == id; });
  XFlush(dpy_);
}

void X11Backend::SetBounds(NativeId id, const RECT& r) {
  NativeWin* w = Find(id);
  if (!w) return;
  const bool sized = Width(r) != Width(w->bounds) || Height(r) != Height(w->bounds);
  const bool moved = r.left != w->bounds.left || r.top != w->bounds.top;
  w->bounds = r;
  if (!w->params.transient) SetSizeHints(*w);
  if (moved || sized) {
    w->configureSerial = NextRequest(dpy_);
    if (w->requested.size() >= 64) w->requested.erase(w->requested.begin());
    w->requested.push_back(r);
  }
  if (moved && sized) {
    XMoveResizeWindow(dpy_, w->xid, r.left, r.top, Width(r), Height(r));
  } else if (moved) {
    XMoveWindow(dpy_, w->xid, r.left, r.top);
  } else if (sized) {
    XResizeWindow(dpy_, w->xid, Width(r), Height(r));
  }
  XFlush(dpy_);
}

void X11Backend::Show(NativeId id, NativeShow how) {
  NativeWin* w = Find(id);
  if (!w) return;
  if (how == NativeShow::Hide) {
    w->wantMapped = false;
    w->focusPending = false;
    if (w->params.transient) {
      XUnmapWindow(dpy_, w->xid);
    } else {
      XWithdrawWindow(dpy_, w->xid, screen_);
    }
    XFlush(dpy_);
    return;
  }
  w->wantMapped = true;
  XMapRaised(dpy_, w->xid);
  if (how == NativeShow::ShowActive && !w->params.noActivate) Activate(id);
  XFlush(dpy_);
}

void X11Backend::Raise(NativeId id) {
  if (NativeWin* w = Find(id)) {
    XRaiseWindow(dpy_, w->xid);
    XFlush(dpy_);
  }
}

void X11Backend::Lower(NativeId id) {
  if (NativeWin* w = Find(id)) {
    XLowerWindow(dpy_, w->xid);
    XFlush(dpy_);
  }
}

void X11Backend::SetNetState(NativeWin& w, Atom state, bool on) {
  if (w.viewable && !w.params.transient && WindowManagerRunning()) {
    // A mapped managed window changes state by asking the window manager.
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = w.xid;
    ev.xclient.message_type = a_._NET_WM_STATE;
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = on ? 1 : 0;
    ev.xclient.data.l[1] = static_cast<long>(state);
    ev.xclient.data.l[3] = 1;
    XSendEvent(dpy_, root_, False, SubstructureRedirectMask | SubstructureNotifyMask, &ev);
    return;
  }
  std::vector<Atom> states;
  Atom type = 0;
  int format = 0;
  unsigned long n = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(dpy_, w.xid, a_._NET_WM_STATE, 0, 64, False, XA_ATOM, &type, &format,
                         &n, &after, &data) == Success && data) {
    if (format == 32) {
      const Atom* v = reinterpret_cast<const Atom*>(data);
      for (unsigned long i = 0; i < n; ++i) {
        if (v[i] != state) states.push_back(v[i]);
      }
    }
    XFree(data);
  }
  if (on) states.push_back(state);
  XChangeProperty(dpy_, w.xid, a_._NET_WM_STATE, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(states.data()),
                  static_cast<int>(states.size()));
}

void X11Backend::SetTopmost(NativeId id, bool topmost) {
  NativeWin* w = Find(id);
  if (!w) return;
  w->params.topmost = topmost;
  if (!w->params.transient) SetNetState(*w, a_._NET_WM_STATE_ABOVE, topmost);
  if (topmost) XRaiseWindow(dpy_, w->xid);
  XFlush(dpy_);
}

void X11Backend::FocusNow(NativeWin& w) {
  w.focusPending = false;
  ErrorTrap trap(dpy_);  // the window may have gone away meanwhile
  XSetInputFocus(dpy_, w.xid, RevertToParent, CurrentTime);
}

void X11Backend::Activate(NativeId id) {
  NativeWin* w = Find(id);
  if (!w || w->params.noActivate) return;
  if (!w->params.transient && WindowManagerRunning()) {
    // Source 2 ("pager"): the user asked for it, so focus-stealing prevention lets it through.
    SendRootMessage(w->xid, a_._NET_ACTIVE_WINDOW, 2, static_cast<long>(lastTime_), 0, 0);
    XFlush(dpy_);
    return;
  }
  XRaiseWindow(dpy_, w->xid);
  if (w->viewable) {
    FocusNow(*w);
  } else {
    w->focusPending = w->wantMapped;
  }
  XFlush(dpy_);
}

void X11Backend::Iconify(NativeId id) {
  NativeWin* w = Find(id);
  if (!w || w->iconic) return;
  if (!w->params.transient && WindowManagerRunning()) {
    XIconifyWindow(dpy_, w->xid, screen_);
    XFlush(dpy_);
    return;
  }
  // Nobody to keep an icon: hide it and remember the state ourselves.
  w->iconic = true;
  XUnmapWindow(dpy_, w->xid);
  BackendEvent e;
  e.type = BackendEventType::Iconified;
  e.window = w->xid;
  Push(std::move(e));
  XFlush(dpy_);
}

void X11Backend::Restore(NativeId id) {
  NativeWin* w = Find(id);
  if (!w) return;
  w->wantMapped = true;
  XMapRaised(dpy_, w->xid);
  const bool wm = !w->params.transient && WindowManagerRunning();
  if (wm) {
    SendRootMessage(w->xid, a_._NET_ACTIVE_WINDOW, 2, static_cast<long>(lastTime_), 0, 0);
  } else if (w->iconic) {
    w->iconic = false;
    BackendEvent e;
    e.type = BackendEventType::Restored;
    e.window = w->xid;
    Push(std::move(e));
  }
  XFlush(dpy_);
}

bool X11Backend::IsIconic(NativeId id) {
  NativeWin* w = Find(id);
  return w && w->iconic;
}

void X11Backend::UpdateIconic(NativeWin& w) {
  if (w.params.transient) return;
  bool iconic = false;
  Atom type = 0;
  int format = 0;
  unsigned long n = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(dpy_, w.xid, a_.WM_STATE, 0, 2, False, a_.WM_STATE, &type, &format,
                         &n, &after, &data) == Success && data) {
    if (format == 32 && n >= 1) iconic = reinterpret_cast<const long*>(data)[0] == IconicState;
    XFree(data);
  }
  data = nullptr;
  if (XGetWindowProperty(dpy_, w.xid, a_._NET_WM_STATE, 0, 64, False, XA_ATOM, &type, &format,
                         &n, &after, &data) == Success && data) {
    if (format == 32) {
      const Atom* v = reinterpret_cast<const Atom*>(data);
      for (unsigned long i = 0; i < n; ++i) iconic = iconic || v[i] == a_._NET_WM_STATE_HIDDEN;
    }
    XFree(data);
  }
  // Without a window manager the state is ours alone (see Iconify).
  if (!iconic && !w.viewable && w.iconic && !WindowManagerRunning()) return;
  if (iconic == w.iconic) return;
  w.iconic = iconic;
  BackendEvent e;
  e.type = iconic ? BackendEventType::Iconified : BackendEventType::Restored;
  e.window = w.xid;
  Push(std::move(e));
}

void X11Backend::OnConfigure(NativeWin& w, const XConfigureEvent& ev) {
  // The answer to a geometry request we have since replaced: reporting it would make the
  // caller move the window back (a drag would jitter).
  if (ev.serial < w.configureSerial) return;
  RECT r{ev.x, ev.y, ev.x + ev.width, ev.y + ev.height};
  if (!ev.send_event && !w.params.transient) {
    // A real event is relative to the parent, which is the frame when reparented.
    Window child = 0;
    int x = 0, y = 0;
    ErrorTrap trap(dpy_);
    if (XTranslateCoordinates(dpy_, w.xid, root_, 0, 0, &x, &y, &child)) {
      r = RECT{x, y, x + ev.width, y + ev.height};
    }
  }
  // A window manager answers each of our requests in turn, after we may have made more:
  // those answers are echoes. Once the latest is answered, nothing older can follow.
  const auto ours = std::find_if(w.requested.begin(), w.requested.end(),
                                 [&](const RECT& q) { return SameRect(q, r); });
  if (ours != w.requested.end()) {
    if (SameRect(r, w.bounds)) w.requested.clear();
    return;
  }
  w.requested.clear();
  if (SameRect(r, w.bounds)) return;
  w.bounds = r;
  BackendEvent e;
  e.type = BackendEventType::Moved;
  e.window = w.xid;
  e.rect = r;
  Push(std::move(e));
}

void X11Backend::SetTitle(NativeId id, const std::u16string& title) {
  NativeWin* w = Find(id);
  if (!w) return;
  w->params.title = title;
  WriteTitle(*w);
  XFlush(dpy_);
}

void X11Backend::SetShape(NativeId id, const std::vector<RECT>& rects, bool none) {
  NativeWin* w = Find(id);
  if (!w || !hasShape_) return;
  if (none) {
    XShapeCombineMask(dpy_, w->xid, ShapeBounding, 0, 0, None, ShapeSet);
    if (w->params.clickThrough) {
      XShapeCombineRectangles(dpy_, w->xid, ShapeInput, 0, 0, nullptr, 0, ShapeSet, Unsorted);
    } else {
      XShapeCombineMask(dpy_, w->xid, ShapeInput, 0, 0, None, ShapeSet);
    }
    XFlush(dpy_);
    return;
  }
  std::vector<XRectangle> xr;
  xr.reserve(rects.size());
  for (const RECT& r : rects) {
    // X rectangles are 16-bit; clamp rather than wrap around.
    const long l = std::clamp<long>(r.left, -32768, 32767);
    const long t = std::clamp<long>(r.top, -32768, 32767);
    const long rr = std::clamp<long>(r.right, l, l + 65535);
    const long b = std::clamp<long>(r.bottom, t, t + 65535);
    if (rr <= l || b <= t) continue;
    xr.push_back(XRectangle{static_cast<short>(l), static_cast<short>(t),
                            static_cast<unsigned short>(rr - l),
                            static_cast<unsigned short>(b - t)});
  }
  XShapeCombineRectangles(dpy_, w->xid, ShapeBounding, 0, 0, xr.data(),
                          static_cast<int>(xr.size()), ShapeSet, Unsorted);
  XShapeCombineRectangles(dpy_, w->xid, ShapeInput, 0, 0, xr.data(),
                          w->params.clickThrough ? 0 : static_cast<int>(xr.size()), ShapeSet,
                          Unsorted);
  XFlush(dpy_);
}

void X11Backend::SetOpacity(NativeId id, BYTE alpha) {
  NativeWin* w = Find(id);
  if (!w) return;
  if (alpha == 255) {
    XDeleteProperty(dpy_, w->xid, a_._NET_WM_WINDOW_OPACITY);
  } else {
    const unsigned long v = static_cast<unsigned long>(alpha) * 0x01010101UL;
    XChangeProperty(dpy_, w->xid, a_._NET_WM_WINDOW_OPACITY, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&v), 1);
  }
  XFlush(dpy_);
}

}  // namespace lumoa::platform::x11
