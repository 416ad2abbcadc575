// The launcher's logo: the 55 x 55 picture of the main window, the colour profile it carries,
// and the desktop icons drawn from the same shapes at each size.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/skingen/paint.h"

class TksPngImage;

namespace skingen {

// The sizes of the desktop icons (square, in pixels).
inline constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// The shapes of one drawing of the logo, in its own pixels.
struct LogoShape {
  int size = 0;                        // the picture is size x size
  Box badge;                           // the rounded badge
  double radius = 0;                   // its corner radius
  double lensX = 0, lensY = 0;         // centre of the lens ring
  double ring = 0, ringHalf = 0;       // ring radius and half its stroke
  double handleFrom[2]{}, handleTo[2]{};
  double handleHalf = 0;               // half the handle's stroke
  double shadowDrop = 0;               // the shadow's offset below the badge
  double shadowSpread = 0;             // how far it fades out; 0: no shadow
  bool gloss = false;                  // the lighter upper part
};

// The main window's logo.
LogoShape StripLogoShape();
// The icon of `size` pixels: the badge fills the square, strokes stay at least a pixel and
// a half wide, and small sizes leave out the shadow and the gloss. Throws
// std::runtime_error outside 8..1024.
LogoShape IconShape(int size);
// Draws the logo into png as an RGBA image of s.size pixels square.
void DrawLogo(const LogoShape& s, TksPngImage& png);

// A minimal ICC version 2 display profile of the sRGB colour space: D50 white point, the
// sRGB primaries adapted to D50 and the sRGB tone curve sampled at 256 points.
std::vector<uint8_t> SrgbIccProfile();

// Draws the logo and writes it as an Adam7-interlaced RGBA PNG with pHYs and iCCP chunks.
void WriteLogo(const std::string& path);
// Writes the icon of `size` pixels as a plain RGBA PNG.
void WriteIcon(const std::string& path, int size);

}  // namespace skingen
