#pragma once

#include <memory>

#include "platform/backend/backend.h"

namespace lumoa::platform {

// Opens the display named by $DISPLAY; throws std::runtime_error with a clear message when
// there is none.
std::unique_ptr<Backend> CreateX11Backend();

}  // namespace lumoa::platform
