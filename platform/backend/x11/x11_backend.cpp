#include "platform/backend/x11/x11_backend.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/extensions/Xfixes.h>
#include <X11/extensions/Xrandr.h>
#include <X11/extensions/Xrender.h>
#include <X11/extensions/shape.h>
#include <fcntl.h>
#include <poll.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "platform/backend/x11/x11_backend_impl.h"
#include "platform/backend/x11/x11_error_trap.h"
#include "platform/backend/x11/x11_keys.h"

namespace lumoa::platform {

std::unique_ptr<Backend> CreateX11Backend() {
  // The input method needs a locale that can carry its text; keep the user's if X supports
  // it, else fall back to a UTF-8 one.
  const char* ctype = std::setlocale(LC_CTYPE, nullptr);
  if (!ctype || std::strcmp(ctype, "C") == 0 || std::strcmp(ctype, "POSIX") == 0) {
    if (!std::setlocale(LC_CTYPE, "") || !XSupportsLocale() ||
        std::strcmp(std::setlocale(LC_CTYPE, nullptr), "C") == 0) {
      std::setlocale(LC_CTYPE, "C.UTF-8");
    }
  }
  if (!XSupportsLocale()) std::setlocale(LC_CTYPE, "C");
  XSetLocaleModifiers("");

  const char* name = std::getenv("DISPLAY");
  Display* dpy = XOpenDisplay(nullptr);
  if (!dpy) {
    throw std::runtime_error(std::string("cannot open display \"") + (name ? name : "") +
                             "\": is an X server running and DISPLAY set?");
  }
  return std::make_unique<x11::X11Backend>(dpy);
}

namespace x11 {

X11Backend::X11Backend(Display* dpy)
    : dpy_(dpy), screen_(DefaultScreen(dpy)), root_(RootWindow(dpy, DefaultScreen(dpy))) {
  InstallErrorHandler();
  InternAll(dpy_, screen_, a_);

  if (pipe2(wakePipe_, O_CLOEXEC | O_NONBLOCK) != 0) {
    XCloseDisplay(dpy_);
    throw std::runtime_error(std::string("cannot create the wake pipe: ") + std::strerror(errno));
  }
  fcntl(ConnectionNumber(dpy_), F_SETFD, FD_CLOEXEC);

  int eventBase = 0, errorBase = 0;
  hasShape_ = XShapeQueryExtension(dpy_, &eventBase, &errorBase);
  // Shared memory presents 2-4 times faster on a local server; LUMOA_X11_NO_SHM turns it off.
  useShm_ = XShmQueryExtension(dpy_) && !std::getenv("LUMOA_X11_NO_SHM");
  hasXFixes_ = XFixesQueryExtension(dpy_, &xfixesEvent_, &errorBase);
  hasRandr_ = XRRQueryExtension(dpy_, &randrEvent_, &errorBase);
  if (hasRandr_) XRRSelectInput(dpy_, root_, RRScreenChangeNotifyMask);
  hasRender_ = XRenderQueryExtension(dpy_, &eventBase, &errorBase);
  if (hasXFixes_) {
    XFixesSelectSelectionInput(dpy_, root_, a_.cmSelection,
                               XFixesSetSelectionOwnerNotifyMask |
                                   XFixesSelectionWindowDestroyNotifyMask |
                                   XFixesSelectionClientCloseNotifyMask);
  }

  XVisualInfo vi{};
  if (XMatchVisualInfo(dpy_, screen_, 32, TrueColor, &vi)) argbVisual_ = vi.visual;

  Bool supported = False;
  detectableRepeat_ = XkbSetDetectableAutoRepeat(dpy_, True, &supported) && supported;

  // Hot keys arrive as KeyPress on the root window; property changes tell the work area.
  XSelectInput(dpy_, root_, KeyPressMask | PropertyChangeMask);

  XSetWindowAttributes wa{};
  wa.event_mask = PropertyChangeMask;
  wa.override_redirect = True;
  helper_ = XCreateWindow(dpy_, root_, -10, -10, 1, 1, 0, CopyFromParent, InputOnly,
                          CopyFromParent, CWEventMask | CWOverrideRedirect, &wa);

  XFlush(dpy_);
}

X11Backend::~X11Backend() {
  if (pointerGrab_) XUngrabPointer(dpy_, CurrentTime);
  for (auto& [id, hk] : std::map<int, HotKey>(hotKeys_)) UngrabHotKey(id);
  for (auto& [xid, w] : windows_) {
    if (w.ic) XDestroyIC(w.ic);
    if (w.customCursor) XFreeCursor(dpy_, w.customCursor);
    ReleaseShmImage(w);
    if (w.gc) XFreeGC(dpy_, w.gc);
    XDestroyWindow(dpy_, w.xid);
    if (w.argb && w.colormap) XFreeColormap(dpy_, w.colormap);
  }
  windows_.clear();
  for (auto& [shape, c] : fontCursors_) XFreeCursor(dpy_, c);
  CloseInputMethod();
  if (helper_) XDestroyWindow(dpy_, helper_);
  XSync(dpy_, False);
  XCloseDisplay(dpy_);
  close(wakePipe_[0]);
  close(wakePipe_[1]);
}

NativeWin* X11Backend::Find(Window xid) {
  auto it = windows_.find(xid);
  return it == windows_.end() ? nullptr : &it->second;
}

void X11Backend::Push(BackendEvent e) {
  e.time = NowMs();
  pending_.push_back(std::move(e));
}

bool X11Backend::WindowManagerRunning() {
  ErrorTrap trap(dpy_);
  auto check = [&](Window w, Window& out) {
    Atom type = 0;
    int format = 0;
    unsigned long n = 0, after = 0;
    unsigned char* data = nullptr;
    out = 0;
    if (XGetWindowProperty(dpy_, w, a_._NET_SUPPORTING_WM_CHECK, 0, 1, False, XA_WINDOW, &type,
                           &format, &n, &after, &data) == Success &&
        data) {
      if (type == XA_WINDOW && format == 32 && n == 1) out = *reinterpret_cast<Window*>(data);
      XFree(data);
    }
  };
  Window child = 0, self = 0;
  check(root_, child);
  if (!child) return false;
  check(child, self);
  return trap.Check() == 0 && self == child;
}

Time X11Backend::ServerTime() {
  return lastTime_ != CurrentTime ? lastTime_ : FreshServerTime();
}

Time X11Backend::FreshServerTime() {
  // A zero-length append produces a PropertyNotify carrying the server's time.
  XChangeProperty(dpy_, helper_, a_.LUMOA_TIME, a_.LUMOA_TIME, 8, PropModeAppend, nullptr, 0);
  XFlush(dpy_);
  const uint64_t deadline = NowMs() + 500;
  XEvent ev;
  while (NowMs() < deadline) {
    if (XCheckTypedWindowEvent(dpy_, helper_, PropertyNotify, &ev)) {
      if (ev.xproperty.atom == a_.LUMOA_TIME) return lastTime_ = ev.xproperty.time;
      continue;
    }
    pollfd p{ConnectionNumber(dpy_), POLLIN, 0};
    poll(&p, 1, 20);
  }
  return CurrentTime;
}

void X11Backend::SendRootMessage(Window w, Atom type, long d0, long d1, long d2, long d3) {
  XEvent ev{};
  ev.xclient.type = ClientMessage;
  ev.xclient.window = w;
  ev.xclient.message_type = type;
  ev.xclient.format = 32;
  ev.xclient.data.l[0] = d0;
  ev.xclient.data.l[1] = d1;
  ev.xclient.data.l[2] = d2;
  ev.xclient.data.l[3] = d3;
  XSendEvent(dpy_, root_, False, SubstructureRedirectMask | SubstructureNotifyMask, &ev);
}

bool X11Backend::LayeredAvailable() {
  // With XFixes the cache is dropped whenever the compositor selection changes hands;
  // without it every call asks the server.
  if (layeredKnown_ >= 0 && hasXFixes_) return layeredKnown_ == 1;
  const bool available = argbVisual_ && XGetSelectionOwner(dpy_, a_.cmSelection) != None;
  layeredKnown_ = available ? 1 : 0;
  return available;
}

RECT X11Backend::ScreenRect() {
  return RECT{0, 0, DisplayWidth(dpy_, screen_), DisplayHeight(dpy_, screen_)};
}

bool X11Backend::ForgetScreenState(const XEvent& ev) {
  if (hasRandr_ && ev.type == randrEvent_ + RRScreenChangeNotify) {
    monitorsKnown_ = false;
    return true;
  }
  if (ev.type == PropertyNotify && ev.xproperty.window == root_ &&
      (ev.xproperty.atom == a_._NET_WORKAREA || ev.xproperty.atom == a_._NET_CURRENT_DESKTOP)) {
    workAreasKnown_ = false;
  }
  return false;
}

void X11Backend::CheckScreenState() {
  if (!monitorsKnown_ && !workAreasKnown_) return;
  // Reads what the server has sent (no round trip) and looks through the queue without
  // taking anything from it: the events stay for the loop.
  XEvent unused;
  XCheckIfEvent(
      dpy_, &unused,
      [](Display*, XEvent* ev, XPointer self) -> Bool {
        reinterpret_cast<X11Backend*>(self)->ForgetScreenState(*ev);
        return False;
      },
      reinterpret_cast<XPointer>(this));
}

RECT X11Backend::WorkArea(POINT near) {
  // The monitor holding the point (else the nearest), less what panels reserve.
  const std::vector<RECT> monitors = Monitors();
  RECT screen = monitors.front();
  long best = -1;
  for (const RECT& m : monitors) {
    const long dx = near.x < m.left ? m.left - near.x : near.x >= m.right ? near.x - m.right + 1 : 0;
    const long dy = near.y < m.top ? m.top - near.y : near.y >= m.bottom ? near.y - m.bottom + 1 : 0;
    const long d = dx * dx + dy * dy;
    if (best < 0 || d < best) {
      best = d;
      screen = m;
    }
  }
  CheckScreenState();
  if (!workAreasKnown_) {
    Atom type = 0;
    int format = 0;
    unsigned long n = 0, after = 0;
    unsigned char* data = nullptr;
    currentDesktop_ = 0;
    if (XGetWindowProperty(dpy_, root_, a_._NET_CURRENT_DESKTOP, 0, 1, False, XA_CARDINAL,
                           &type, &format, &n, &after, &data) == Success && data) {
      if (format == 32 && n == 1) currentDesktop_ = *reinterpret_cast<long*>(data);
      XFree(data);
    }
    data = nullptr;
    workAreas_.clear();
    if (XGetWindowProperty(dpy_, root_, a_._NET_WORKAREA, 0, 1024, False, XA_CARDINAL, &type,
                           &format, &n, &after, &data) == Success && data) {
      const long* v = reinterpret_cast<long*>(data);
      if (format == 32 && n >= 4) workAreas_.assign(v, v + n);
      XFree(data);
    }
    workAreasKnown_ = true;
  }
  RECT work = screen;
  if (workAreas_.size() >= 4) {
    long desktop = currentDesktop_;
    if (desktop < 0 || static_cast<size_t>(desktop * 4 + 4) > workAreas_.size()) desktop = 0;
    const long* r = workAreas_.data() + desktop * 4;
    RECT w{static_cast<LONG>(r[0]), static_cast<LONG>(r[1]), static_cast<LONG>(r[0] + r[2]),
           static_cast<LONG>(r[1] + r[3])};
    w.left = std::max(w.left, screen.left);
    w.top = std::max(w.top, screen.top);
    w.right = std::min(w.right, screen.right);
    w.bottom = std::min(w.bottom, screen.bottom);
    if (w.right > w.left && w.bottom > w.top) work = w;
  }
  return work;
}

std::vector<RECT> X11Backend::Monitors() {
  CheckScreenState();
  if (monitorsKnown_) return monitors_;
  if (randrMonitors_ < 0) {
    int major = 0, minor = 0;
    randrMonitors_ = hasRandr_ && XRRQueryVersion(dpy_, &major, &minor) &&
                     (major > 1 || (major == 1 && minor >= 5));
  }
  std::vector<RECT> out;
  if (randrMonitors_ == 1) {
    int n = 0;
    XRRMonitorInfo* m = XRRGetMonitors(dpy_, root_, True, &n);
    // The primary monitor first, as the first monitor is on the other system.
    for (int i = 0; m && i < n; ++i) {
      const RECT r{m[i].x, m[i].y, m[i].x + m[i].width, m[i].y + m[i].height};
      if (r.right <= r.left || r.bottom <= r.top) continue;
      if (m[i].primary) {
        out.insert(out.begin(), r);
      } else {
        out.push_back(r);
      }
    }
    if (m) XRRFreeMonitors(m);
  }
  if (out.empty()) out.push_back(ScreenRect());
  monitors_ = out;
  monitorsKnown_ = true;
  return out;
}

uint64_t X11Backend::NowMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
}

void X11Backend::Wake() {
  const char b = 1;
  [[maybe_unused]] ssize_t r = write(wakePipe_[1], &b, 1);  // a full pipe already wakes
}

void X11Backend::Beep() {
  XBell(dpy_, 0);
  XFlush(dpy_);
}

void X11Backend::ReadPendingXEvents() {
  while (XPending(dpy_) > 0) {
    XEvent ev;
    XNextEvent(dpy_, &ev);
    HandleXEvent(ev);
  }
}

void X11Backend::WaitEvents(int timeoutMs,
                            const std::function<void(const BackendEvent&)>& sink) {
  // Not every server announces a monitor added or removed (RandR 1.5 monitors change without
  // a screen-change notice): the monitors are asked again once the program has waited.
  monitorsKnown_ = false;
  ReadPendingXEvents();
  if (pending_.empty() && timeoutMs != 0 && !imOpened_ && !windows_.empty()) {
    // The first wait with nothing to do after a window exists: its first paint is out.
    imOpened_ = true;
    OpenInputMethod();
    ReadPendingXEvents();
  }
  if (pending_.empty()) {
    XFlush(dpy_);
    pollfd fds[2] = {{ConnectionNumber(dpy_), POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
    const uint64_t deadline = timeoutMs < 0 ? 0 : NowMs() + static_cast<uint64_t>(timeoutMs);
    while (pending_.empty()) {
      int wait = -1;
      if (timeoutMs >= 0) {
        const uint64_t now = NowMs();
        wait = now >= deadline ? 0 : static_cast<int>(deadline - now);
      }
      const int r = poll(fds, 2, wait);
      if (r < 0 && errno != EINTR) break;
      bool woken = false;
      if (r > 0 && (fds[1].revents & POLLIN)) {
        char buf[64];
        while (read(wakePipe_[0], buf, sizeof buf) > 0) {
        }
        woken = true;
      }
      ReadPendingXEvents();
      if (woken || wait == 0) break;
      if (fds[0].revents & (POLLHUP | POLLERR)) break;
    }
  }
  // One at a time from the shared queue, so a modal loop started by the sink keeps the order.
  while (!pending_.empty()) {
    BackendEvent e = std::move(pending_.front());
    pending_.pop_front();
    sink(e);
  }
}

void X11Backend::HandleXEvent(XEvent& ev) {
  // The input method sees every event first; what it consumes is not ours.
  const bool filtered = XFilterEvent(&ev, None);

  if (hasXFixes_ && ev.type == xfixesEvent_ + XFixesSelectionNotify) {
    layeredKnown_ = -1;
    return;
  }
  if (ForgetScreenState(ev)) {
    XRRUpdateConfiguration(&ev);  // the screen's size as Xlib knows it
    return;
  }
  switch (ev.type) {
    case KeyPress:
    case KeyRelease:
      lastTime_ = ev.xkey.time;
      if (ev.xkey.window == root_) {
        if (ev.type == KeyPress && !filtered) OnRootKey(ev.xkey);
        return;
      }
      break;
    case ButtonPress:
    case ButtonRelease:
      lastTime_ = ev.xbutton.time;
      break;
    case MotionNotify:
      lastTime_ = ev.xmotion.time;
      break;
    case PropertyNotify:
      lastTime_ = ev.xproperty.time;
      break;
    case SelectionRequest:
      OnSelectionRequest(ev.xselectionrequest);
      return;
    case SelectionClear:
      OnSelectionClear(ev.xselectionclear);
      return;
    case SelectionNotify:
      if (ev.xselection.requestor == helper_ && waitingSelection_) {
        selectionReply_ = ev.xselection;
        selectionArrived_ = true;
      }
      return;
    case MappingNotify:
      if (ev.xmapping.request != MappingPointer) XRefreshKeyboardMapping(&ev.xmapping);
      return;
    default:
      break;
  }
  NativeWin* w = Find(ev.xany.window);
  if (filtered) {
    // A key the input method took (composing): the window still hears that a key went
    // down, as VK_PROCESSKEY, and the IM's result arrives later as text.
    if (w && ev.type == KeyPress) {
      BackendEvent e;
      e.type = BackendEventType::KeyDown;
      e.window = w->xid;
      e.vk = vk::kProcessKey;
      e.scan = ev.xkey.keycode >= 8 ? ev.xkey.keycode - 8 : 0;
      e.modifiers = MouseKeysFromState(ev.xkey.state);
      e.altDown = (ev.xkey.state & Mod1Mask) != 0;
      Push(std::move(e));
    }
    return;
  }
  if (!w) return;
  BackendEvent e;
  e.window = w->xid;
  switch (ev.type) {
    case KeyPress:
    case KeyRelease:
      OnKey(*w, ev.xkey);
      return;
    case ButtonPress:
    case ButtonRelease:
      OnButton(*w, ev.xbutton);
      return;
    case MotionNotify: {
      // Only the newest of a run of motions matters.
      XEvent next;
      if (XEventsQueued(dpy_, QueuedAlready) > 0) {
        XPeekEvent(dpy_, &next);
        if (next.type == MotionNotify && next.xmotion.window == ev.xmotion.window) return;
      }
      e.type = BackendEventType::MouseMove;
      e.screen = POINT{ev.xmotion.x_root, ev.xmotion.y_root};
      e.modifiers = MouseKeysFromState(ev.xmotion.state);
      e.altDown = (ev.xmotion.state & Mod1Mask) != 0;
      Push(std::move(e));
      return;
    }
    case LeaveNotify:
      if (ev.xcrossing.mode != NotifyNormal || ev.xcrossing.detail == NotifyInferior) return;
      if (pointerGrab_ ||
          (ev.xcrossing.state & (Button1Mask | Button2Mask | Button3Mask)) != 0) {
        return;
      }
      e.type = BackendEventType::PointerLeft;
      e.screen = POINT{ev.xcrossing.x_root, ev.xcrossing.y_root};
      Push(std::move(e));
      return;
    case kXExpose:
      e.type = BackendEventType::Expose;
      e.rect = RECT{ev.xexpose.x, ev.xexpose.y, ev.xexpose.x + ev.xexpose.width,
                    ev.xexpose.y + ev.xexpose.height};
      Push(std::move(e));
      return;
    case kXFocusIn:
    case kXFocusOut:
      // Grabs (our own hot keys among them) move focus only for their duration.
      if (ev.xfocus.mode == NotifyGrab || ev.xfocus.mode == NotifyUngrab) return;
      if (ev.xfocus.detail == NotifyPointer || ev.xfocus.detail == NotifyInferior) return;
      w->focused = ev.type == kXFocusIn;
      if (w->ic) w->focused ? XSetICFocus(w->ic) : XUnsetICFocus(w->ic);
      e.type = ev.type == kXFocusIn ? BackendEventType::FocusIn : BackendEventType::FocusOut;
      Push(std::move(e));
      return;
    case ConfigureNotify:
      OnConfigure(*w, ev.xconfigure);
      return;
    case MapNotify:
      w->viewable = true;
      if (w->focusPending) FocusNow(*w);
      UpdateIconic(*w);
      return;
    case UnmapNotify:
      w->viewable = false;
      UpdateIconic(*w);
      return;
    case PropertyNotify:
      if (ev.xproperty.atom == a_.WM_STATE || ev.xproperty.atom == a_._NET_WM_STATE) {
        UpdateIconic(*w);
      }
      return;
    case ClientMessage:
      if (ev.xclient.message_type == a_.WM_PROTOCOLS &&
          static_cast<Atom>(ev.xclient.data.l[0]) == a_.WM_DELETE_WINDOW) {
        e.type = BackendEventType::CloseRequest;
        Push(std::move(e));
      }
      return;
    default:
      return;
  }
}

}  // namespace x11
}  // namespace lumoa::platform
