// Xlib for the back end's own files. A few X event-type macros share their names with
// BackendEventType members; they are renamed here so both can be used in one file.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace lumoa::platform::x11 {
inline constexpr int kXExpose = Expose;
inline constexpr int kXFocusIn = FocusIn;
inline constexpr int kXFocusOut = FocusOut;
}  // namespace lumoa::platform::x11

#undef Expose
#undef FocusIn
#undef FocusOut
#undef CursorShape  // XQueryBestSize's class; we never ask it
