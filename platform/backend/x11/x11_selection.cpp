// The clipboard: we own CLIPBOARD with UTF-8 text and answer requests for it; reading asks
// the owner and waits a bounded time while other events keep being handled.
#include <X11/Xatom.h>
#include <poll.h>

#include "platform/backend/x11/x11_backend_impl.h"
#include "platform/backend/x11/x11_error_trap.h"
#include "platform/backend/x11/x11_utf.h"

namespace lumoa::platform::x11 {

namespace {
constexpr int kClipboardWaitMs = 500;
}

void X11Backend::SetClipboardText(const std::u16string& text) {
  clipboard_ = Utf16ToUtf8(text);
  // An old event time could predate the current owner's and be ignored: take the server's.
  XSetSelectionOwner(dpy_, a_.CLIPBOARD, helper_, FreshServerTime());
  ownsClipboard_ = XGetSelectionOwner(dpy_, a_.CLIPBOARD) == helper_;
  if (!ownsClipboard_) clipboard_.clear();
}

void X11Backend::OnSelectionClear(const XSelectionClearEvent& ev) {
  if (ev.selection != a_.CLIPBOARD) return;
  ownsClipboard_ = false;
  clipboard_.clear();
}

void X11Backend::OnSelectionRequest(const XSelectionRequestEvent& ev) {
  XEvent reply{};
  reply.xselection.type = SelectionNotify;
  reply.xselection.requestor = ev.requestor;
  reply.xselection.selection = ev.selection;
  reply.xselection.target = ev.target;
  reply.xselection.time = ev.time;
  reply.xselection.property = None;  // refused unless set below
  // Old clients name no property: the target then serves as one.
  const Atom property = ev.property != None ? ev.property : ev.target;

  // Data larger than one request would need the INCR protocol; refuse instead of failing.
  const size_t maxBytes = static_cast<size_t>(XMaxRequestSize(dpy_)) * 4 - 256;
  ErrorTrap trap(dpy_);  // the requestor may vanish meanwhile
  if (ev.selection == a_.CLIPBOARD && ownsClipboard_) {
    if (ev.target == a_.TARGETS) {
      const Atom targets[] = {a_.TARGETS, a_.UTF8_STRING, XA_STRING, a_.TEXT};
      XChangeProperty(dpy_, ev.requestor, property, XA_ATOM, 32, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(targets), 4);
      reply.xselection.property = property;
    } else if (ev.target == a_.UTF8_STRING || ev.target == a_.TEXT) {
      if (clipboard_.size() <= maxBytes) {
        XChangeProperty(dpy_, ev.requestor, property, a_.UTF8_STRING, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(clipboard_.data()),
                        static_cast<int>(clipboard_.size()));
        reply.xselection.property = property;
      }
    } else if (ev.target == XA_STRING) {
      const std::string latin1 = Utf16ToLatin1(Utf8ToUtf16(clipboard_));
      if (latin1.size() <= maxBytes) {
        XChangeProperty(dpy_, ev.requestor, property, XA_STRING, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(latin1.data()),
                        static_cast<int>(latin1.size()));
        reply.xselection.property = property;
      }
    }
  }
  XSendEvent(dpy_, ev.requestor, False, NoEventMask, &reply);
  XFlush(dpy_);
}

bool X11Backend::ReadSelection(Atom target, std::string& out, Atom& type) {
  XDeleteProperty(dpy_, helper_, a_.LUMOA_SELECTION);
  // Owners refuse requests older than their ownership, so ask with the server's time now.
  XConvertSelection(dpy_, a_.CLIPBOARD, target, a_.LUMOA_SELECTION, helper_, FreshServerTime());
  XFlush(dpy_);
  waitingSelection_ = true;
  selectionArrived_ = false;
  const uint64_t deadline = NowMs() + kClipboardWaitMs;
  // Everything else that arrives meanwhile is handled (and queued) as usual.
  while (!selectionArrived_) {
    const uint64_t now = NowMs();
    if (now >= deadline) break;
    if (XPending(dpy_) == 0) {
      pollfd p{ConnectionNumber(dpy_), POLLIN, 0};
      poll(&p, 1, static_cast<int>(deadline - now));
      continue;
    }
    XEvent ev;
    XNextEvent(dpy_, &ev);
    HandleXEvent(ev);
  }
  waitingSelection_ = false;
  if (!selectionArrived_ || selectionReply_.property == None) return false;

  Atom actual = 0;
  int format = 0;
  unsigned long n = 0, after = 0;
  unsigned char* data = nullptr;
  bool ok = false;
  if (XGetWindowProperty(dpy_, helper_, a_.LUMOA_SELECTION, 0, 0x1000000, True, AnyPropertyType,
                         &actual, &format, &n, &after, &data) == Success) {
    // INCR (very large transfers) is not supported; it reads as no text.
    if (actual != a_.INCR && format == 8) {
      out.assign(reinterpret_cast<const char*>(data), n);
      type = actual;
      ok = true;
    }
    if (data) XFree(data);
  }
  return ok;
}

bool X11Backend::GetClipboardText(std::u16string& text) {
  // The server knows best whether we still own it (a SelectionClear may be unread).
  const Window owner = XGetSelectionOwner(dpy_, a_.CLIPBOARD);
  if (owner == helper_ && ownsClipboard_) {
    text = Utf8ToUtf16(clipboard_);
    return true;
  }
  if (owner != helper_) {
    ownsClipboard_ = false;
    clipboard_.clear();
  }
  if (owner == None) return false;
  std::string raw;
  Atom type = 0;
  if (ReadSelection(a_.UTF8_STRING, raw, type)) {
    text = type == XA_STRING ? Latin1ToUtf16(raw) : Utf8ToUtf16(raw);
    return true;
  }
  if (ReadSelection(XA_STRING, raw, type)) {
    text = type == a_.UTF8_STRING ? Utf8ToUtf16(raw) : Latin1ToUtf16(raw);
    return true;
  }
  return false;
}

}  // namespace lumoa::platform::x11
