// The program's icon at each size the desktop asks for (the same pictures the install puts
// into the icon theme), compiled into the program.
#pragma once

#include <cstdint>
#include <span>

namespace lumoa::skins {

struct AppIcon {
  int size = 0;                   // square, in pixels; 0 for an index out of range
  std::span<const uint8_t> png;   // a complete RGBA PNG file
};

int AppIconCount();
// Smallest first.
AppIcon AppIconPng(int index);

}  // namespace lumoa::skins
