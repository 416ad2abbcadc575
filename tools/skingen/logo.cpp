#include "tools/skingen/logo.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "image/png/png_ancillary.h"
#include "image/png/png_image.h"
#include "tools/skingen/paint.h"
#include "ui/streams.h"

namespace skingen {

namespace {

void Be32(std::vector<uint8_t>& v, uint32_t x) {
  for (int s = 24; s >= 0; s -= 8) v.push_back(static_cast<uint8_t>(x >> s));
}
void Be16(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(static_cast<uint8_t>(x >> 8));
  v.push_back(static_cast<uint8_t>(x));
}
// Byte by byte: GCC 12 misreads range inserts into a growing vector as overflows.
template <class It>
void Append(std::vector<uint8_t>& v, It first, It last) {
  for (; first != last; ++first) v.push_back(static_cast<uint8_t>(*first));
}
void Zeros(std::vector<uint8_t>& v, size_t n) { v.resize(v.size() + n, 0); }
void Tag4(std::vector<uint8_t>& v, const char* s) { Append(v, s, s + 4); }
void Pad4(std::vector<uint8_t>& v) {
  while (v.size() % 4) v.push_back(0);
}
uint32_t S15(double x) { return static_cast<uint32_t>(static_cast<int32_t>(std::lround(x * 65536))); }

std::vector<uint8_t> XyzTag(double x, double y, double z) {
  std::vector<uint8_t> t;
  Tag4(t, "XYZ ");
  Be32(t, 0);
  Be32(t, S15(x));
  Be32(t, S15(y));
  Be32(t, S15(z));
  return t;
}

double SrgbToLinear(double v) {
  return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

}  // namespace

std::vector<uint8_t> SrgbIccProfile() {
  std::vector<uint8_t> desc, cprt, curve;
  const std::string name = "sRGB";
  Tag4(desc, "desc");
  Be32(desc, 0);
  Be32(desc, static_cast<uint32_t>(name.size() + 1));
  Append(desc, name.begin(), name.end());
  desc.push_back(0);
  Be32(desc, 0);  // no Unicode description
  Be32(desc, 0);
  Be16(desc, 0);  // no ScriptCode description
  desc.push_back(0);
  Zeros(desc, 67);
  const std::string copyright = "No copyright, use freely";
  Tag4(cprt, "text");
  Be32(cprt, 0);
  Append(cprt, copyright.begin(), copyright.end());
  cprt.push_back(0);
  Tag4(curve, "curv");
  Be32(curve, 0);
  Be32(curve, 256);
  for (int i = 0; i < 256; ++i) Be16(curve, static_cast<uint32_t>(std::lround(SrgbToLinear(i / 255.0) * 65535)));

  struct Tag { const char* sig; std::vector<uint8_t> data; };
  const std::vector<Tag> tags = {
      {"desc", desc},
      {"cprt", cprt},
      {"wtpt", XyzTag(0.9642, 1.0, 0.8249)},
      {"rXYZ", XyzTag(0.4361, 0.2225, 0.0139)},
      {"gXYZ", XyzTag(0.3851, 0.7169, 0.0971)},
      {"bXYZ", XyzTag(0.1431, 0.0606, 0.7141)},
      {"rTRC", curve},
      {"gTRC", curve},
      {"bTRC", curve},
  };
  // The three tone curves are one curve: their tag entries share its data.
  std::vector<uint8_t> body;
  std::vector<std::pair<uint32_t, uint32_t>> places;
  const uint32_t tableEnd = 128 + 4 + 12 * static_cast<uint32_t>(tags.size());
  uint32_t curveAt = 0;
  for (const Tag& t : tags) {
    const bool isCurve = std::string(t.sig).substr(1) == "TRC";
    if (isCurve && curveAt != 0) {
      places.emplace_back(curveAt, static_cast<uint32_t>(t.data.size()));
      continue;
    }
    const uint32_t at = tableEnd + static_cast<uint32_t>(body.size());
    if (isCurve) curveAt = at;
    places.emplace_back(at, static_cast<uint32_t>(t.data.size()));
    Append(body, t.data.begin(), t.data.end());
    Pad4(body);
  }
  std::vector<uint8_t> p;
  Be32(p, tableEnd + static_cast<uint32_t>(body.size()));
  Be32(p, 0);            // preferred CMM: none
  Be32(p, 0x02100000);   // version 2.1
  Tag4(p, "mntr");
  Tag4(p, "RGB ");
  Tag4(p, "XYZ ");
  for (uint32_t v : {2024u, 1u, 1u, 0u, 0u, 0u}) Be16(p, v);
  Tag4(p, "acsp");
  Zeros(p, 4 + 4 + 4 + 4 + 8);  // platform, flags, manufacturer, model, attributes
  Be32(p, 0);                               // perceptual intent
  Be32(p, S15(0.9642));
  Be32(p, S15(1.0));
  Be32(p, S15(0.8249));
  Zeros(p, 4 + 16 + 28);  // creator, profile ID, reserved
  Be32(p, static_cast<uint32_t>(tags.size()));
  for (size_t i = 0; i < tags.size(); ++i) {
    Tag4(p, tags[i].sig);
    Be32(p, places[i].first);
    Be32(p, places[i].second);
  }
  Append(p, body.begin(), body.end());
  return p;
}

LogoShape StripLogoShape() {
  LogoShape s;
  s.size = 55;
  s.badge = Box{4, 3, 51, 50};
  s.radius = 12;
  s.lensX = 24.5;
  s.lensY = 23.5;
  s.ring = 10.5;
  s.ringHalf = 2.1;
  s.handleFrom[0] = 33.5;
  s.handleFrom[1] = 32.5;
  s.handleTo[0] = 41.0;
  s.handleTo[1] = 40.0;
  s.handleHalf = 2.8;
  s.shadowDrop = 2;
  s.shadowSpread = 3.5;
  s.gloss = true;
  return s;
}

LogoShape IconShape(int size) {
  if (size < 8 || size > 1024) throw std::runtime_error("no icon drawing at that size");
  // The strip's badge is 47 pixels wide: every length of the lens scales from it. The badge
  // fills the square but for a margin; large sizes keep room below it for the shadow.
  const LogoShape strip = StripLogoShape();
  const bool shadow = size >= 32;
  const int margin = std::max(size <= 16 ? 0 : 1, static_cast<int>(std::lround(size / 16.0)));
  const int drop = shadow ? std::max(1, static_cast<int>(std::lround(size / 40.0))) : 0;
  LogoShape s;
  s.size = size;
  s.badge = Box{margin, margin, size - margin, size - margin - drop};
  s.badge.l += drop / 2;
  s.badge.r -= drop - drop / 2;
  const double k = s.badge.W() / static_cast<double>(strip.badge.W());
  const auto x = [&](double v) { return s.badge.l + (v - strip.badge.l) * k; };
  const auto y = [&](double v) { return s.badge.t + (v - strip.badge.t) * k; };
  s.radius = strip.radius * k;
  s.lensX = x(strip.lensX);
  s.lensY = y(strip.lensY);
  s.ring = strip.ring * k;
  // Strokes narrower than a pixel and a half turn to grey mush: small sizes keep them wider
  // than the scale gives, and the ring grows a little to keep its hole open.
  s.ringHalf = std::max(strip.ringHalf * k, 0.8);
  s.handleHalf = std::max(strip.handleHalf * k, 1.1);
  s.ring = std::max(s.ring, s.ringHalf * 2.6);
  s.handleFrom[0] = x(strip.handleFrom[0]);
  s.handleFrom[1] = y(strip.handleFrom[1]);
  s.handleTo[0] = x(strip.handleTo[0]);
  s.handleTo[1] = y(strip.handleTo[1]);
  s.shadowDrop = drop;
  s.shadowSpread = shadow ? strip.shadowSpread * k : 0;
  s.gloss = size >= 24;  // below that the gloss edge reads as a stripe
  return s;
}

void DrawLogo(const LogoShape& s, TksPngImage& png) {
  // A rounded blue badge with a white lens; its own dark rim and soft shadow keep it
  // distinct on light and dark skins alike.
  png.CreateBlank(6, 8, s.size, s.size);
  const Box& badge = s.badge;
  const Rgb top = RgbOf(0x5AA2EE), bottom = RgbOf(0x2559A8), rim = RgbOf(0x1C3F78);
  const double hx = s.handleFrom[0], hy = s.handleFrom[1];
  const double ex = s.handleTo[0], ey = s.handleTo[1];
  for (int y = 0; y < s.size; ++y)
    for (int x = 0; x < s.size; ++x) {
      const double px = x + 0.5, py = y + 0.5;
      const double d = RoundBoxDistance(badge, s.radius, px, py);
      const double cover = std::clamp(0.5 - d, 0.0, 1.0);
      double shadow = 0;
      if (s.shadowSpread > 0) {
        const double sd = RoundBoxDistance(badge.Moved(0, static_cast<int>(s.shadowDrop)),
                                           s.radius, px, py);
        shadow = sd < 0 ? 0.35 : std::max(0.0, 0.35 * (1 - sd / s.shadowSpread));
      }
      Rgb c = Mix(top, bottom, (py - badge.t) / badge.H());
      if (s.gloss && py < badge.t + badge.H() * 0.45)  // gloss on the upper part, light from above
        c = Mix(c, Rgb{255, 255, 255}, 0.12);
      c = Mix(c, rim, std::clamp(1.0 - std::abs(d + 0.5), 0.0, 1.0));
      // The lens: a ring and a handle towards the lower right.
      const double rd = std::abs(std::hypot(px - s.lensX, py - s.lensY) - s.ring) - s.ringHalf;
      const double t = std::clamp(((px - hx) * (ex - hx) + (py - hy) * (ey - hy)) /
                                      ((ex - hx) * (ex - hx) + (ey - hy) * (ey - hy)), 0.0, 1.0);
      const double hd =
          std::hypot(px - (hx + t * (ex - hx)), py - (hy + t * (ey - hy))) - s.handleHalf;
      const double mark = std::clamp(0.5 - std::min(rd, hd), 0.0, 1.0);
      c = Mix(c, Rgb{255, 255, 255}, mark);
      const double a = cover + shadow * (1 - cover);
      const Rgb out = a > 0 ? Mix(RgbOf(0x0B1A30), c, cover / a) : Rgb{};
      png.SetPixels(x, y, RGB(out.r, out.g, out.b));
      png.AlphaScanline(y)[x] = static_cast<uint8_t>(std::lround(a * 255));
    }
}

void WriteIcon(const std::string& path, int size) {
  TksPngImage png;
  DrawLogo(IconShape(size), png);
  png.CompressionLevel = 9;
  TFileStream file(path, fmCreate);
  png.SaveToStream(file);
}

void WriteLogo(const std::string& path) {
  TksPngImage png;
  DrawLogo(StripLogoShape(), png);
  png.InterlaceMethod = 1;
  png.CompressionLevel = 9;

  const std::vector<uint8_t> profile = SrgbIccProfile();
  uLongf packedSize = compressBound(static_cast<uLong>(profile.size()));
  std::vector<uint8_t> packed(packedSize);
  if (compress2(packed.data(), &packedSize, profile.data(), static_cast<uLong>(profile.size()), 9) != Z_OK)
    throw std::runtime_error("cannot compress the colour profile");
  std::vector<uint8_t> iccp{'s', 'R', 'G', 'B', 0, 0};  // name, terminator, method 0 (zlib)
  Append(iccp, packed.begin(), packed.begin() + static_cast<long>(packedSize));
  auto icc = std::make_unique<TksPngLayer>(&png);
  icc->SetChunkType("iCCP");
  icc->SetData(iccp.data(), static_cast<uint32_t>(iccp.size()));
  auto phys = std::make_unique<TksPngLayerpHYs>(&png);
  phys->PPUnitX = phys->PPUnitY = 3780;  // 96 pixels per inch
  phys->UnitType = 1;
  phys->Decoded = true;
  png.Chunks().Insert(1, std::move(icc));  // ancillary chunks go before the image data
  png.Chunks().Insert(2, std::move(phys));
  TFileStream file(path, fmCreate);
  png.SaveToStream(file);
}

}  // namespace skingen
