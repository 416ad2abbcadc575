// The common controls: the system's own classes.
#pragma once

#include "platform/windef.h"

#include <commctrl.h>

namespace lumoa::platform {
// Registers the standard classes the framework wraps (edit and list box are always there; the
// tab and up-down controls come from the common controls). True when this call did it.
bool RegisterCommonControlClasses();
}  // namespace lumoa::platform
