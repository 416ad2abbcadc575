// How the launcher names itself to the desktop: the window class its desktop entry matches,
// the application title for task lists, and the icon at every size it ships.
#pragma once

#include "platform/windef.h"
#include "ui/sysutils.h"

namespace lumoa::app {

// The class of every window of the program ("Lumoa"); the desktop entry's StartupWMClass.
inline constexpr LPCWSTR kWindowClass = WTEXT("Lumoa");

// Decodes the built-in icons and hands them, the class and the title (ANSI) to the platform.
// False when the platform refused them; the program runs on either way.
bool IdentifyToDesktop(const AnsiString& title);

}  // namespace lumoa::app
