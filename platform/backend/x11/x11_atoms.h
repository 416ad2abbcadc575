// The atoms the back end uses, interned in one round trip.
#pragma once

#include <X11/Xlib.h>

namespace lumoa::platform::x11 {

#define LUMOA_X11_ATOMS(X)                                                               \
  X(WM_PROTOCOLS) X(WM_DELETE_WINDOW) X(WM_STATE) X(WM_CHANGE_STATE) X(_MOTIF_WM_HINTS)   \
  X(_NET_WM_WINDOW_TYPE) X(_NET_WM_WINDOW_TYPE_NORMAL) X(_NET_WM_WINDOW_TYPE_UTILITY)      \
  X(_NET_WM_WINDOW_TYPE_DROPDOWN_MENU) X(_NET_WM_STATE) X(_NET_WM_STATE_ABOVE)            \
  X(_NET_WM_STATE_HIDDEN) X(_NET_WM_STATE_SKIP_TASKBAR) X(_NET_WM_STATE_SKIP_PAGER)       \
  X(_NET_WM_NAME) X(_NET_WM_ICON) X(_NET_WM_PID) X(_NET_WM_USER_TIME) X(_NET_WM_WINDOW_OPACITY)           \
  X(_NET_ACTIVE_WINDOW) X(_NET_SUPPORTING_WM_CHECK) X(_NET_WORKAREA)                      \
  X(_NET_CURRENT_DESKTOP) X(UTF8_STRING) X(CLIPBOARD) X(TARGETS) X(TEXT) X(INCR)          \
  X(MULTIPLE) X(ATOM_PAIR) X(LUMOA_SELECTION) X(LUMOA_TIME)

struct X11Atoms {
#define LUMOA_X11_ATOM_FIELD(name) Atom name = 0;
  LUMOA_X11_ATOMS(LUMOA_X11_ATOM_FIELD)
#undef LUMOA_X11_ATOM_FIELD
  Atom cmSelection = 0;  // _NET_WM_CM_S<screen>
};

void InternAll(Display* dpy, int screen, X11Atoms& atoms);

}  // namespace lumoa::platform::x11
