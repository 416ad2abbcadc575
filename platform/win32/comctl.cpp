// The standard classes on Windows are the system's: the tab and up-down controls need the
// common controls initialised once.
#include "platform/commctrl.h"

namespace lumoa::platform {

bool RegisterCommonControlClasses() {
  static bool done = false;
  if (done) return false;
  INITCOMMONCONTROLSEX icc{};
  icc.dwSize = sizeof icc;
  icc.dwICC = ICC_TAB_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES;
  done = InitCommonControlsEx(&icc) != FALSE;
  return done;
}

}  // namespace lumoa::platform
