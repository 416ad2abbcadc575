// Blur and alpha-from-mask over 32-bit pixel memory, used for glow texts and layered images.
#pragma once

#include "skin/draw/pixel_map.h"

namespace lumoa::skin {

// A horizontal then a vertical pass over blue, green and red: each output is the sum over
// k = -radius..radius of the neighbour at k (indices clamped to the edge) weighted
// radius + 1 - |k|, divided (truncating) by (radius + 1)^2. Every pixel ends with alpha 255.
// radius <= 0, or a map that is not 32-bit, changes nothing.
void StackBlur(const PixelMap& bitmap, int radius);

// Alpha of each pixel = round((red + green + blue) / 3) of the mask pixel at the same place
// (mask 24- or 32-bit). Only the area both share is touched.
void AlphaFromMask(const PixelMap& bitmap, const PixelMap& mask);

}  // namespace lumoa::skin
