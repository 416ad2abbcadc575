// The Windows build's basic types: the system's own. WCHAR is its 16-bit wchar_t, so wide
// literals are L"...".
#pragma once

#include <windows.h>

#define WTEXT_(s) L##s
#define WTEXT(s) WTEXT_(s)

// The two message-crackers of <windowsx.h> the framework uses; that header's other macros
// (IsMinimized, IsMaximized, ...) would rename the framework's own methods.
#ifndef GET_X_LPARAM
#define GET_X_LPARAM(lp) ((int)(short)LOWORD(lp))
#define GET_Y_LPARAM(lp) ((int)(short)HIWORD(lp))
#endif
