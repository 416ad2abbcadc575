#pragma once

// The one host (and port) of the metasearch service. The search URLs and the main window's
// update notice both name it, so it lives here alone. A build may point the launcher at
// another service with -DLUMOA_SERVICE_HOST=host[:port].
#ifndef LUMOA_SERVICE_HOST
#define LUMOA_SERVICE_HOST "search.lumoa.example"
#endif

namespace lumoa::app {

inline constexpr char kServiceHost[] = LUMOA_SERVICE_HOST;

}  // namespace lumoa::app
