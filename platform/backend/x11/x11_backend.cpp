#include "platform/backend/x11/x11_backend.h"

#include <stdexcept>

namespace lumoa::platform {

// Placeholder until the X11 back end lands; replaced by the real implementation.
std::unique_ptr<Backend> CreateX11Backend() {
  throw std::runtime_error("the X11 back end is not built yet");
}

}  // namespace lumoa::platform
