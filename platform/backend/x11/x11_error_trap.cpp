#include "platform/backend/x11/x11_error_trap.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace lumoa::platform::x11 {

namespace {
// Each display is used by one thread, and the handler runs on the thread that reads the
// error, so the innermost trap of this thread is the one to tell.
thread_local ErrorTrap* tCurrentTrap = nullptr;
std::atomic<unsigned long> gUntrapped{0};
std::once_flag gInstallOnce;
}  // namespace

int RecordError(Display* dpy, XErrorEvent* e) {
  for (ErrorTrap* t = tCurrentTrap; t; t = t->outer_) {
    if (t->dpy_ != dpy) continue;
    if (t->error_ == 0) t->error_ = e->error_code;
    return 0;
  }
  ++gUntrapped;
  if (std::getenv("LUMOA_X11_DEBUG")) {
    char text[128] = {};
    XGetErrorText(dpy, e->error_code, text, sizeof text);
    std::fprintf(stderr, "X error: %s (request %d.%d, resource 0x%lx)\n", text,
                 e->request_code, e->minor_code, e->resourceid);
  }
  return 0;
}

namespace {
int HandleError(Display* dpy, XErrorEvent* e) { return RecordError(dpy, e); }
}  // namespace

void InstallErrorHandler() {
  std::call_once(gInstallOnce, [] { XSetErrorHandler(HandleError); });
}

unsigned long UntrappedErrorCount() { return gUntrapped.load(); }

ErrorTrap::ErrorTrap(Display* dpy) : dpy_(dpy), outer_(tCurrentTrap) {
  XSync(dpy_, False);  // earlier requests' errors are not ours
  tCurrentTrap = this;
}

ErrorTrap::~ErrorTrap() {
  XSync(dpy_, False);
  tCurrentTrap = outer_;
}

int ErrorTrap::Check() {
  XSync(dpy_, False);
  return error_;
}

}  // namespace lumoa::platform::x11
