// Pixel storage of a bitmap in Win32 DIB layout, and conversions between colours and the
// "raw" pixel values of a format (32-bit BGRA word, 24-bit BGR, or a colour-table index).
#pragma once

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/wingdi.h"

namespace lumoa::platform {

struct PixelBuffer {
  int width = 0;
  int height = 0;
  int bpp = 32;
  int stride = 0;  // bytes per row, a multiple of 4
  bool top_down = true;
  BYTE* bits = nullptr;
  struct FreeStorage {
    void operator()(uint32_t* p) const { std::free(p); }
  };
  // calloc'd: memory fresh from the system is not zeroed a second time.
  std::unique_ptr<uint32_t[], FreeStorage> storage;
  std::vector<RGBQUAD> colors;  // 2, 16 or 256 entries for 1, 4 and 8 bits per pixel

  static int StrideFor(int width, int bpp) { return ((width * bpp + 31) / 32) * 4; }
  // Allocates zeroed pixels; false when the size is invalid or too large.
  bool Allocate(int w, int h, int bits_per_pixel, bool is_top_down);
  BYTE* row(int y) const { return bits + static_cast<ptrdiff_t>(top_down ? y : height - 1 - y) * stride; }
  bool palettised() const { return bpp <= 8; }
  RECT bounds() const { return RECT{0, 0, width, height}; }
  uint32_t raw_mask() const { return bpp >= 32 ? 0xFFFFFFFFu : (1u << bpp) - 1; }
  // Colour table index nearest to a colour (squared distance, first on ties).
  uint32_t NearestIndex(COLORREF c) const;
  // Raw value for a colour: 32-bit gets alpha 0, as GDI writes it.
  uint32_t ToRaw(COLORREF c) const;
  COLORREF ToColor(uint32_t raw) const;
  // Reads or writes n raw values of row y from column x (the caller has clipped).
  void ReadRaw(int x, int y, int n, uint32_t* out) const;
  void WriteRaw(int x, int y, int n, const uint32_t* in);
  bool SameFormat(const PixelBuffer& o) const;
};

// Remembers nearest-index answers for one destination during a call, so that palettised
// targets do not search the colour table per pixel.
class NearestCache {
 public:
  explicit NearestCache(const PixelBuffer& target) : target_(target) {}
  uint32_t ToRaw(COLORREF c);

 private:
  static constexpr int kSize = 1024;
  const PixelBuffer& target_;
  COLORREF keys_[kSize];
  uint32_t values_[kSize];
  bool used_[kSize] = {};
};

inline COLORREF QuadToColor(const RGBQUAD& q) { return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue); }

// Default colour tables: black/white, the 16 VGA colours, and the 256-entry halftone table.
std::vector<RGBQUAD> DefaultColorTable(int bpp);

}  // namespace lumoa::platform
