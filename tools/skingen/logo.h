// The launcher's 55 x 55 logo and the colour profile it carries.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace skingen {

// A minimal ICC version 2 display profile of the sRGB colour space: D50 white point, the
// sRGB primaries adapted to D50 and the sRGB tone curve sampled at 256 points.
std::vector<uint8_t> SrgbIccProfile();

// Draws the logo and writes it as an Adam7-interlaced RGBA PNG with pHYs and iCCP chunks.
void WriteLogo(const std::string& path);

}  // namespace skingen
