#include <stdexcept>

#include "platform/backend/headless/headless_backend.h"
#include "platform/winuser.h"

namespace lumoa::platform {

int RunUntilIdle(int maxMessages) {
  int n = 0;
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    if (m.message == WM_QUIT) {
      PostQuitMessage(int(m.wParam));  // leave it for the caller's own loop
      break;
    }
    TranslateMessage(&m);
    DispatchMessageW(&m);
    if (++n >= maxMessages) throw std::runtime_error("RunUntilIdle: the queue never empties");
  }
  return n;
}

}  // namespace lumoa::platform
