// The Win32 subset the upper layers call: same names, types, constants and meaning.
#pragma once

#include "platform/windef.h"
#if __has_include("platform/winbase.h")
#include "platform/winbase.h"
#endif
#if __has_include("platform/wingdi.h")
#include "platform/wingdi.h"
#endif
#if __has_include("platform/winfont.h")
#include "platform/winfont.h"
#endif
#if __has_include("platform/winuser.h")
#include "platform/winuser.h"
#endif
#if __has_include("platform/winshell.h")
#include "platform/winshell.h"
#endif
#if __has_include("platform/commctrl.h")
#include "platform/commctrl.h"
#endif
