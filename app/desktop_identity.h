// How the launcher names itself to the desktop: the window class its desktop entry matches,
// the application title for task lists, and the icon at every size it ships.
#pragma once

#include "platform/windef.h"
#include "ui/sysutils.h"

namespace lumoa::app {

// The class of every window of the program ("Lumoa"); the desktop entry's StartupWMClass.
inline constexpr LPCWSTR kWindowClass = WTEXT("Lumoa");

// Hands the class and the title (ANSI) to the platform, and with withIcons the built-in icons,
// decoded at every size. Decoding and sending them costs about as much as the rest of the start
// put together, so the program names itself first and adds the icons once its first frame is
// out. False when the platform refused them; the program runs on either way.
bool IdentifyToDesktop(const AnsiString& title, bool withIcons = true);

}  // namespace lumoa::app
