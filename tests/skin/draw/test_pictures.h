// Small hand-made pictures for the drawing tests.
#pragma once

#include <cstdint>

#include "skin/draw/pixel_map.h"

namespace lumoa::skin::test {

// Every pixel distinct: blue = x, green = y, red = tag, alpha 255.
inline PixelBuffer Numbered(int w, int h, int tag = 0x40, int bytesPerPixel = 4) {
  PixelBuffer b(w, h, bytesPerPixel);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.Set(x, y, 0xFF000000u | (tag << 16) | (y << 8) | x);
  return b;
}

inline int BlueOf(uint32_t v) { return v & 0xFF; }
inline int GreenOf(uint32_t v) { return (v >> 8) & 0xFF; }

}  // namespace lumoa::skin::test
