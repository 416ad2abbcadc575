#pragma once

// The one host of the metasearch service. The search URLs and the main window's update notice
// both name it, so it lives here alone.
namespace lumoa::app {

inline constexpr char kServiceHost[] = "search.lumoa.example";

}  // namespace lumoa::app
