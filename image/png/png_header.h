// The header chunk. It owns the decoded image: a bottom-up device-independent bitmap with its
// colour table, the alpha plane, the plane of low-order bytes of 16-bit samples and the plane
// of pixels that showed the colour key.
#pragma once

#include <cstdlib>

#include "image/png/png_chunk.h"
#include "platform/wingdi.h"

namespace lumoa::png {

enum ColorType : uint8_t { kGrey = 0, kRGB = 2, kPalette = 3, kGreyAlpha = 4, kRGBA = 6 };

// True for the colour type and bit depth pairs the format allows.
bool ValidFormat(uint8_t color_type, uint8_t bit_depth);
// Bits per pixel of the bitmap that holds an image of that format.
int BitmapBitsPerPixel(uint8_t color_type, uint8_t bit_depth);
// The 256-entry halftone colour table palette images show until their PLTE arrives.
void HalftonePalette(RGBQUAD* out);

struct FreeDeleter {
  void operator()(uint8_t* p) const { std::free(p); }
};
using PlaneBuffer = std::unique_ptr<uint8_t[], FreeDeleter>;

}  // namespace lumoa::png

class TksPngLayerIHDR : public TksPngLayer {
 public:
  KS_PNG_LAYER_CLASS(TksPngLayerIHDR, "IHDR")
  explicit TksPngLayerIHDR(TksPngImage* Owner);

  void Assign(const TksPngLayer& Source) override;
  bool LoadFromStream(TStream& Stream, std::string_view ChunkType, uint32_t Length) override;
  bool SaveToStream(TStream& Stream) override;

  uint32_t Width = 0;
  uint32_t Height = 0;
  uint8_t BitDepth = 0;
  uint8_t ColorType = 0;
  uint8_t CompressionMethod = 0;
  uint8_t FilterMethod = 0;
  uint8_t InterlaceMethod = 0;

  // Frees the previous image and creates zeroed pixels, planes and palette for the header
  // values. False (and no image) when the values are not a legal format or memory runs out.
  bool PrepareImageData();
  bool HasImage() const { return FBits != nullptr; }

  int BitsPerPixel() const { return FBitsPerPixel; }
  // Bytes per bitmap row (a multiple of 4); the low-byte plane uses the same layout.
  int RowBytes() const { return FRowBytes; }
  // Row y of the image (0 at the top); rows are stored bottom-up.
  uint8_t* Scanline(int y) const {
    return FBits.get() + static_cast<size_t>(Height - 1 - y) * FRowBytes;
  }
  uint8_t* AlphaScanline(int y) const {
    return FAlpha ? FAlpha.get() + static_cast<size_t>(y) * Width : nullptr;
  }
  uint8_t* LowScanline(int y) const {
    return FLow ? FLow.get() + static_cast<size_t>(Height - 1 - y) * FRowBytes : nullptr;
  }
  // One byte per pixel, rows top-down: 1 where the decoded raw samples equalled the tRNS
  // colour key of a grey or RGB image (compared before gamma and on all 16 bits, so that no
  // other sample that the gamma table or the bitmap's 8 bits merge with it turns
  // transparent). nullptr when no key was decoded.
  uint8_t* KeyScanline(int y) const {
    return FKey ? FKey.get() + static_cast<size_t>(y) * Width : nullptr;
  }
  uint8_t* KeyPlane() const { return FKey.get(); }
  // A zeroed key plane (replacing any), or none.
  bool CreateKeyPlane();
  void FreeKeyPlane() { FKey.reset(); }
  uint8_t* Bits() const { return FBits.get(); }
  uint8_t* AlphaPlane() const { return FAlpha.get(); }
  uint8_t* LowPlane() const { return FLow.get(); }
  // Adds an alpha plane of 255 when there is none.
  bool CreateAlphaPlane();

  // The image's palette (entries already through the gamma table) and colour table.
  RGBQUAD* Palette() { return FPalette; }
  const RGBQUAD* Palette() const { return FPalette; }
  int PaletteCount() const { return FPaletteCount; }
  // Sets the palette from count entries and pads the colour table to 2^(bits per pixel).
  void SetPalette(const RGBQUAD* entries, int count);
  // The grey ramp of 2^bits entries through the owner's gamma table.
  void BuildGreyPalette(int bits);
  // The header of the bitmap as a DIB would describe it.
  BITMAPINFOHEADER InfoHeader() const;

 private:
  void FreeImageData();

  int FBitsPerPixel = 0;
  int FRowBytes = 0;
  lumoa::png::PlaneBuffer FBits;
  lumoa::png::PlaneBuffer FAlpha;
  lumoa::png::PlaneBuffer FLow;
  lumoa::png::PlaneBuffer FKey;
  RGBQUAD FPalette[256] = {};
  int FPaletteCount = 0;
};
