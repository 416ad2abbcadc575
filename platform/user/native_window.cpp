// The native window behind a window of the tree, for tests that read pixels of the headless
// back end (declared beside it; only the window manager knows the tree).
#include "platform/backend/headless/headless_backend.h"
#include "platform/user/window.h"

namespace lumoa::platform {

NativeId NativeWindowOf(HWND hwnd) {
  user::Window* w = user::Get(hwnd);
  if (w && !user::IsTopLevel(w)) w = user::TopLevel(w);
  return w ? w->native : 0;
}

}  // namespace lumoa::platform
