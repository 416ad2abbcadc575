// The shell's view of the program is the same declaration on Windows (it builds on the
// system's types through this folder's windef.h). There the identity becomes the process's
// application ID (task bar grouping) and the icons are set on its top-level windows; the task
// bar shows each window's own text, so the title adds nothing there.
#pragma once

#include "../../../winshell.h"
