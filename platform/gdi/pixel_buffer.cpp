#include "platform/gdi/pixel_buffer.h"

#include <limits>

namespace lumoa::platform {

bool PixelBuffer::Allocate(int w, int h, int bits_per_pixel, bool is_top_down) {
  if (w <= 0 || h <= 0) return false;
  if (bits_per_pixel != 1 && bits_per_pixel != 4 && bits_per_pixel != 8 && bits_per_pixel != 24 &&
      bits_per_pixel != 32)
    return false;
  // Keep every byte offset comfortably inside int arithmetic of callers.
  const int64_t s = ((int64_t{w} * bits_per_pixel + 31) / 32) * 4;
  if (s * h > (int64_t{1} << 30)) return false;
  width = w;
  height = h;
  bpp = bits_per_pixel;
  stride = static_cast<int>(s);
  top_down = is_top_down;
  const size_t words = static_cast<size_t>(s * h / 4);
  storage.reset(static_cast<uint32_t*>(std::calloc(words, sizeof(uint32_t))));
  if (!storage) return false;
  bits = reinterpret_cast<BYTE*>(storage.get());
  if (bpp <= 8) colors = DefaultColorTable(bpp);
  return true;
}

uint32_t PixelBuffer::NearestIndex(COLORREF c) const {
  const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
  uint32_t best = 0;
  int best_d = std::numeric_limits<int>::max();
  for (size_t i = 0; i < colors.size(); ++i) {
    const int dr = colors[i].rgbRed - r, dg = colors[i].rgbGreen - g, db = colors[i].rgbBlue - b;
    const int d = dr * dr + dg * dg + db * db;
    if (d < best_d) {
      best_d = d;
      best = static_cast<uint32_t>(i);
      if (d == 0) break;
    }
  }
  return best;
}

uint32_t PixelBuffer::ToRaw(COLORREF c) const {
  if (bpp > 8) return (uint32_t{GetRValue(c)} << 16) | (uint32_t{GetGValue(c)} << 8) | GetBValue(c);
  return NearestIndex(c);
}

COLORREF PixelBuffer::ToColor(uint32_t raw) const {
  if (bpp > 8) return RGB((raw >> 16) & 0xFF, (raw >> 8) & 0xFF, raw & 0xFF);
  if (raw >= colors.size()) return 0;
  return QuadToColor(colors[raw]);
}

void PixelBuffer::ReadRaw(int x, int y, int n, uint32_t* out) const {
  const BYTE* r = row(y);
  switch (bpp) {
    case 32:
      std::memcpy(out, r + x * 4, static_cast<size_t>(n) * 4);
      return;
    case 24: {
      const BYTE* p = r + x * 3;
      for (int i = 0; i < n; ++i, p += 3) out[i] = p[0] | (p[1] << 8) | (uint32_t{p[2]} << 16);
      return;
    }
    case 8:
      for (int i = 0; i < n; ++i) out[i] = r[x + i];
      return;
    case 4:
      for (int i = 0; i < n; ++i) {
        const int xx = x + i;
        out[i] = (xx & 1) ? (r[xx >> 1] & 0x0F) : (r[xx >> 1] >> 4);
      }
      return;
    case 1:
      for (int i = 0; i < n; ++i) {
        const int xx = x + i;
        out[i] = (r[xx >> 3] >> (7 - (xx & 7))) & 1;
      }
      return;
  }
}

void PixelBuffer::WriteRaw(int x, int y, int n, const uint32_t* in) {
  BYTE* r = row(y);
  switch (bpp) {
    case 32:
      std::memcpy(r + x * 4, in, static_cast<size_t>(n) * 4);
      return;
    case 24: {
      BYTE* p = r + x * 3;
      for (int i = 0; i < n; ++i, p += 3) {
        p[0] = static_cast<BYTE>(in[i]);
        p[1] = static_cast<BYTE>(in[i] >> 8);
        p[2] = static_cast<BYTE>(in[i] >> 16);
      }
      return;
    }
    case 8:
      for (int i = 0; i < n; ++i) r[x + i] = static_cast<BYTE>(in[i]);
      return;
    case 4:
      for (int i = 0; i < n; ++i) {
        const int xx = x + i;
        BYTE& b = r[xx >> 1];
        const BYTE v = in[i] & 0x0F;
        b = (xx & 1) ? static_cast<BYTE>((b & 0xF0) | v) : static_cast<BYTE>((b & 0x0F) | (v << 4));
      }
      return;
    case 1:
      for (int i = 0; i < n; ++i) {
        const int xx = x + i;
        const BYTE bit = static_cast<BYTE>(0x80 >> (xx & 7));
        if (in[i] & 1) r[xx >> 3] |= bit;
        else r[xx >> 3] &= static_cast<BYTE>(~bit);
      }
      return;
  }
}

bool PixelBuffer::SameFormat(const PixelBuffer& o) const {
  if (bpp != o.bpp) return false;
  if (bpp > 8) return true;
  if (colors.size() != o.colors.size()) return false;
  for (size_t i = 0; i < colors.size(); ++i)
    if (QuadToColor(colors[i]) != QuadToColor(o.colors[i])) return false;
  return true;
}

uint32_t NearestCache::ToRaw(COLORREF c) {
  if (target_.bpp > 8) return target_.ToRaw(c);
  const int slot = static_cast<int>((c ^ (c >> 11) ^ (c >> 19)) % kSize);
  if (used_[slot] && keys_[slot] == c) return values_[slot];
  used_[slot] = true;
  keys_[slot] = c;
  values_[slot] = target_.NearestIndex(c);
  return values_[slot];
}

std::vector<RGBQUAD> DefaultColorTable(int bpp) {
  std::vector<RGBQUAD> t;
  auto add = [&t](int r, int g, int b) {
    t.push_back(RGBQUAD{static_cast<BYTE>(b), static_cast<BYTE>(g), static_cast<BYTE>(r), 0});
  };
  if (bpp == 1) {
    add(0, 0, 0);
    add(255, 255, 255);
    return t;
  }
  static const int vga[16][3] = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                 {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                                 {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                 {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
  if (bpp == 4) {
    for (const auto& c : vga) add(c[0], c[1], c[2]);
    return t;
  }
  if (bpp != 8) return t;
  // The 16 base colours, a 6x6x6 cube, then a grey ramp to fill 256 entries.
  for (const auto& c : vga) add(c[0], c[1], c[2]);
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b) add(r * 51, g * 51, b * 51);
  for (int i = 0; t.size() < 256; ++i) add(8 + i * 10, 8 + i * 10, 8 + i * 10);
  return t;
}

}  // namespace lumoa::platform
