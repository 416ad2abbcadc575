// X protocol errors never end the process: one handler records them. An ErrorTrap collects
// the errors a block of requests on one display causes (it syncs on entry and on Check).
#pragma once

#include "platform/backend/x11/x11_xlib.h"

namespace lumoa::platform::x11 {

// Installs the recording handler once per process (idempotent, thread-safe).
void InstallErrorHandler();

// Number of errors seen outside any trap since start (each one is also printed on stderr when
// LUMOA_X11_DEBUG is set).
unsigned long UntrappedErrorCount();

class ErrorTrap {
 public:
  explicit ErrorTrap(Display* dpy);
  ~ErrorTrap();
  ErrorTrap(const ErrorTrap&) = delete;
  ErrorTrap& operator=(const ErrorTrap&) = delete;

  // Syncs with the server and returns the first error code caught (0 = Success).
  int Check();

 private:
  friend int RecordError(Display*, XErrorEvent*);
  Display* dpy_;
  int error_ = 0;
  ErrorTrap* outer_;
};

}  // namespace lumoa::platform::x11
