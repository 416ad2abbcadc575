// Hooks of the window manager into the trace channel and the message taps.
#pragma once

#include "platform/trace.h"

namespace lumoa::platform::trace {

// Called right before a window procedure gets a message from SendMessage (Sent) or
// DispatchMessage (Posted).
void Delivering(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, Delivery how);

// Held while DefWindowProc runs, so messages it sends are told apart.
class DefaultProcScope {
 public:
  DefaultProcScope();
  ~DefaultProcScope();
  DefaultProcScope(const DefaultProcScope&) = delete;
  DefaultProcScope& operator=(const DefaultProcScope&) = delete;
};

}  // namespace lumoa::platform::trace
