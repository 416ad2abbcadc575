// The system declares this area in <windows.h>; desktop composition in <dwmapi.h>.
#pragma once

#include "platform/windef.h"

#include <dwmapi.h>
