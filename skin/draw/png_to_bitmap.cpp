#include "skin/draw/png_to_bitmap.h"

#include "image/png/png_ancillary.h"
#include "image/png/png_image.h"
#include "skin/draw/ks_bitmap.h"

namespace lumoa::skin {

namespace {

uint32_t IndexAt(const uint8_t* row, int x, int bpp) {
  if (bpp == 8) return row[x];
  if (bpp == 4) return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F;
  return (row[x >> 3] >> (7 - (x & 7))) & 1;
}

}  // namespace

bool PngToBitmap(TksBitmap& Bitmap, const TksPngImage& Png) {
  const TksPngLayerIHDR* h = Png.Header();
  if (!h || !h->HasImage()) return false;
  const int w = Png.Width(), ht = Png.Height();
  Bitmap.SetSize(w, ht);
  if (Bitmap.Width() != w || Bitmap.Height() != ht) return false;

  const int bpp = h->BitsPerPixel();
  const RGBQUAD* palette = h->Palette();
  const auto* trns = Png.Chunks().Find<TksPngLayertRNS>();
  const bool indexAlpha = trns && h->ColorType == lumoa::png::kPalette;
  const bool colourKey = trns && !indexAlpha && Png.TransparencyMode() == ptmBit;
  const uint32_t key = colourKey ? ColorToPixel(Png.TransparentColor()) & kColorMask : 0;
  for (int y = 0; y < ht; ++y) {
    const uint8_t* row = h->Scanline(y);
    const uint8_t* alpha = h->AlphaScanline(y);
    DWORD* d = Bitmap.ScanLine(y);
    for (int x = 0; x < w; ++x) {
      uint32_t px;
      uint32_t a = 255;
      if (bpp == 24) {
        px = row[x * 3] | (row[x * 3 + 1] << 8) | (uint32_t{row[x * 3 + 2]} << 16);
      } else {
        const uint32_t i = IndexAt(row, x, bpp);
        const RGBQUAD& q = palette[i];
        px = q.rgbBlue | (q.rgbGreen << 8) | (uint32_t{q.rgbRed} << 16);
        if (indexAlpha) a = trns->PaletteValues[i];
      }
      if (alpha) a = alpha[x];
      if (colourKey && px == key) a = 0;
      d[x] = (a << 24) | px;
    }
  }
  Bitmap.UpdateAlphaBlendFlag();
  return true;
}

}  // namespace lumoa::skin
