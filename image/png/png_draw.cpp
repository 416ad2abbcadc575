// Drawing a PNG image into a 32-bit surface in its transparency mode.
#include <algorithm>
#include <vector>

#include "image/png/png_ancillary.h"
#include "image/png/png_image.h"

using namespace lumoa::png;

namespace {

// Colour of bitmap value v of an indexed row, or of a 24-bit pixel, as blue, green, red.
struct Source {
  const TksPngLayerIHDR& h;
  int bpp;
  uint32_t Index(const uint8_t* row, int x) const {
    if (bpp == 8) return row[x];
    if (bpp == 4) return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F;
    return (row[x >> 3] >> (7 - (x & 7))) & 1;
  }
  void Colour(const uint8_t* row, int x, uint8_t out[3]) const {
    if (bpp == 24) {
      out[0] = row[x * 3];
      out[1] = row[x * 3 + 1];
      out[2] = row[x * 3 + 2];
      return;
    }
    const RGBQUAD& q = h.Palette()[Index(row, x)];
    out[0] = q.rgbBlue;
    out[1] = q.rgbGreen;
    out[2] = q.rgbRed;
  }
};

inline uint8_t Blend(int src, int dst, int a) {
  return static_cast<uint8_t>((src * a + (255 - a) * dst + 255) >> 8);
}

}  // namespace

void TksPngImage::DrawToSurface(uint8_t* Dest, int DestStride, int DestWidth, int DestHeight,
                                RECT Rect) const {
  const TksPngLayerIHDR* h = Header();
  if (!h || !h->HasImage() || !Dest) return;
  if (Rect.right < Rect.left) std::swap(Rect.left, Rect.right);
  if (Rect.bottom < Rect.top) std::swap(Rect.top, Rect.bottom);
  const int dw = Rect.right - Rect.left;
  const int dh = Rect.bottom - Rect.top;
  if (dw == 0 || dh == 0) return;
  const int x_begin = std::max<int>(Rect.left, 0), x_end = std::min<int>(Rect.right, DestWidth);
  const int y_begin = std::max<int>(Rect.top, 0), y_end = std::min<int>(Rect.bottom, DestHeight);
  if (x_begin >= x_end || y_begin >= y_end) return;

  const int w = Width(), ht = Height();
  // Source column of every destination column: each source pixel covers an equal share.
  std::vector<int> columns(static_cast<size_t>(x_end - x_begin));
  for (int x = x_begin; x < x_end; ++x)
    columns[x - x_begin] = static_cast<int>(int64_t{x - Rect.left} * w / dw);

  const TksPngTransparencyMode mode = TransparencyMode();
  const auto* trns = FChunks.Find<TksPngLayertRNS>();
  const Source src{*h, h->BitsPerPixel()};
  const bool indexed_alpha = h->ColorType == kPalette && trns;
  const COLORREF key = mode == ptmBit ? TransparentColor() : 0;
  const uint8_t key_bgr[3] = {GetBValue(key), GetGValue(key), GetRValue(key)};

  for (int y = y_begin; y < y_end; ++y) {
    const int sy = static_cast<int>(int64_t{y - Rect.top} * ht / dh);
    const uint8_t* row = h->Scanline(sy);
    const uint8_t* alpha = h->AlphaScanline(sy);
    const uint8_t* keyed = h->KeyScanline(sy);
    uint8_t* d = Dest + static_cast<ptrdiff_t>(y) * DestStride + x_begin * 4;
    for (int i = 0; i < x_end - x_begin; ++i, d += 4) {
      const int sx = columns[i];
      uint8_t c[3];
      src.Colour(row, sx, c);
      if (mode == ptmNone) {
        d[0] = c[0], d[1] = c[1], d[2] = c[2];
        continue;
      }
      if (mode == ptmBit) {
        const bool clear = indexed_alpha ? trns->PaletteValues[src.Index(row, sx)] == 0
                           : keyed       ? keyed[sx] != 0
                                         : c[0] == key_bgr[0] && c[1] == key_bgr[1] && c[2] == key_bgr[2];
        if (!clear) d[0] = c[0], d[1] = c[1], d[2] = c[2];
        continue;
      }
      const int a = alpha ? alpha[sx] : indexed_alpha ? trns->PaletteValues[src.Index(row, sx)] : 255;
      if (a == 0) continue;
      if (a == 255) {
        d[0] = c[0], d[1] = c[1], d[2] = c[2];
        continue;
      }
      d[0] = Blend(c[0], d[0], a);
      d[1] = Blend(c[1], d[1], a);
      d[2] = Blend(c[2], d[2], a);
    }
  }
}
