// The stock fonts GetStockObject hands out (SYSTEM_FONT, DEFAULT_GUI_FONT, ANSI_VAR_FONT,
// ANSI_FIXED_FONT, OEM_FIXED_FONT, SYSTEM_FIXED_FONT, DEVICE_DEFAULT_FONT).
#pragma once

#include "platform/winfont.h"

namespace lumoa::platform {

// The stock font for a *_FONT stock id, created once and never deleted; nullptr for other ids.
HFONT StockFont(int id);

}  // namespace lumoa::platform
