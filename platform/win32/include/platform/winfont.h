// The system declares this area in <windows.h>.
#pragma once

#include "platform/windef.h"
