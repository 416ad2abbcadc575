// The Win32 subset the upper layers call: on Windows, the system's headers, and the few
// declarations of platform/ that Win32 has no word for.
#pragma once

#include "platform/windef.h"
#include "platform/winuser.h"
#include "platform/commctrl.h"
#include "platform/winshell.h"
