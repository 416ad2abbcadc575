#include "image/png/png_header.h"

#include <cstring>

#include "image/png/png_image.h"

namespace lumoa::png {

bool ValidFormat(uint8_t color_type, uint8_t bit_depth) {
  switch (color_type) {
    case kGrey:
      return bit_depth == 1 || bit_depth == 2 || bit_depth == 4 || bit_depth == 8 ||
             bit_depth == 16;
    case kPalette:
      return bit_depth == 1 || bit_depth == 2 || bit_depth == 4 || bit_depth == 8;
    case kRGB:
    case kGreyAlpha:
    case kRGBA:
      return bit_depth == 8 || bit_depth == 16;
    default:
      return false;
  }
}

int BitmapBitsPerPixel(uint8_t color_type, uint8_t bit_depth) {
  if (color_type == kRGB || color_type == kRGBA) return 24;
  if (bit_depth == 1) return 1;
  if (bit_depth <= 4) return 4;
  return 8;
}

void HalftonePalette(RGBQUAD* out) {
  // A 6x6x6 colour cube followed by a grey ramp: every colour has a near neighbour.
  int n = 0;
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b)
        out[n++] = RGBQUAD{static_cast<BYTE>(b * 51), static_cast<BYTE>(g * 51),
                           static_cast<BYTE>(r * 51), 0};
  for (int i = 0; n < 256; ++i, ++n) {
    const auto v = static_cast<BYTE>((i + 1) * 255 / 41);
    out[n] = RGBQUAD{v, v, v, 0};
  }
}

}  // namespace lumoa::png

using namespace lumoa::png;

TksPngLayerIHDR::TksPngLayerIHDR(TksPngImage* Owner) : TksPngLayer(Owner) {
  SetChunkType("IHDR");
}

void TksPngLayerIHDR::FreeImageData() {
  FBits.reset();
  FAlpha.reset();
  FLow.reset();
  FKey.reset();
  FBitsPerPixel = 0;
  FRowBytes = 0;
  FPaletteCount = 0;
  std::memset(FPalette, 0, sizeof FPalette);
}

bool TksPngLayerIHDR::PrepareImageData() {
  FreeImageData();
  if (!ValidFormat(ColorType, BitDepth) || Width == 0 || Height == 0 || Width > 65535 ||
      Height > 65535)
    return false;
  FBitsPerPixel = BitmapBitsPerPixel(ColorType, BitDepth);
  FRowBytes = static_cast<int>((uint64_t{Width} * FBitsPerPixel + 31) / 32 * 4);
  const size_t bitmap_size = static_cast<size_t>(FRowBytes) * Height;
  FBits.reset(static_cast<uint8_t*>(std::calloc(bitmap_size, 1)));
  if (ColorType == kGreyAlpha || ColorType == kRGBA)
    FAlpha.reset(static_cast<uint8_t*>(std::calloc(size_t{Width} * Height, 1)));
  if (BitDepth == 16) FLow.reset(static_cast<uint8_t*>(std::calloc(bitmap_size, 1)));
  const bool need_alpha = ColorType == kGreyAlpha || ColorType == kRGBA;
  if (!FBits || (need_alpha && !FAlpha) || (BitDepth == 16 && !FLow)) {
    FreeImageData();
    return false;
  }
  if (ColorType == kPalette) {
    RGBQUAD halftone[256];
    HalftonePalette(halftone);
    SetPalette(halftone, 1 << FBitsPerPixel);
  } else if (FBitsPerPixel <= 8) {
    BuildGreyPalette(FBitsPerPixel);
  }
  return true;
}

bool TksPngLayerIHDR::CreateAlphaPlane() {
  if (FAlpha) return true;
  FAlpha.reset(static_cast<uint8_t*>(std::malloc(size_t{Width} * Height)));
  if (!FAlpha) return false;
  std::memset(FAlpha.get(), 255, size_t{Width} * Height);
  return true;
}

bool TksPngLayerIHDR::CreateKeyPlane() {
  FKey.reset(static_cast<uint8_t*>(std::calloc(size_t{Width} * Height, 1)));
  return FKey != nullptr;
}

void TksPngLayerIHDR::SetPalette(const RGBQUAD* entries, int count) {
  const int table = FBitsPerPixel > 0 && FBitsPerPixel <= 8 ? 1 << FBitsPerPixel : 256;
  if (count > table) count = table;
  if (count < 0) count = 0;
  std::memset(FPalette, 0, sizeof FPalette);
  std::memcpy(FPalette, entries, sizeof(RGBQUAD) * static_cast<size_t>(count));
  FPaletteCount = table;
}

void TksPngLayerIHDR::BuildGreyPalette(int bits) {
  const int entries = 1 << bits;
  const uint8_t* gamma = FOwner ? FOwner->GammaTable() : nullptr;
  RGBQUAD ramp[256];
  for (int i = 0; i < entries; ++i) {
    // MulDiv rounding; exact for every ramp size used here.
    const int level = (i * 255 * 2 + (entries - 1)) / (2 * (entries - 1));
    const BYTE v = gamma ? gamma[level] : static_cast<BYTE>(level);
    ramp[i] = RGBQUAD{v, v, v, 0};
  }
  SetPalette(ramp, entries);
}

BITMAPINFOHEADER TksPngLayerIHDR::InfoHeader() const {
  BITMAPINFOHEADER h{};
  h.biSize = 40;
  h.biWidth = static_cast<LONG>(Width);
  h.biHeight = static_cast<LONG>(Height);
  h.biPlanes = 1;
  h.biBitCount = static_cast<WORD>(FBitsPerPixel);
  h.biCompression = BI_RGB;
  return h;
}

void TksPngLayerIHDR::Assign(const TksPngLayer& Source) {
  TksPngLayer::Assign(Source);
  const auto& s = static_cast<const TksPngLayerIHDR&>(Source);
  Width = s.Width;
  Height = s.Height;
  BitDepth = s.BitDepth;
  ColorType = s.ColorType;
  CompressionMethod = s.CompressionMethod;
  FilterMethod = s.FilterMethod;
  InterlaceMethod = s.InterlaceMethod;
  FreeImageData();
  if (!s.HasImage() || !PrepareImageData()) return;
  std::memcpy(FBits.get(), s.FBits.get(), static_cast<size_t>(FRowBytes) * Height);
  if (s.FAlpha) {
    if (!FAlpha) CreateAlphaPlane();
    if (FAlpha) std::memcpy(FAlpha.get(), s.FAlpha.get(), size_t{Width} * Height);
  }
  if (FLow && s.FLow) std::memcpy(FLow.get(), s.FLow.get(), static_cast<size_t>(FRowBytes) * Height);
  if (s.FKey && CreateKeyPlane()) std::memcpy(FKey.get(), s.FKey.get(), size_t{Width} * Height);
  std::memcpy(FPalette, s.FPalette, sizeof FPalette);
  FPaletteCount = s.FPaletteCount;
}

bool TksPngLayerIHDR::LoadFromStream(TStream& Stream, std::string_view ChunkType,
                                     uint32_t Length) {
  if (!LoadRaw(Stream, ChunkType, Length) || FDataSize < 13) return false;
  const uint8_t* d = FData.data();
  Width = ReadBE32(d);
  Height = ReadBE32(d + 4);
  BitDepth = d[8];
  ColorType = d[9];
  CompressionMethod = d[10];
  FilterMethod = d[11];
  InterlaceMethod = d[12];
  if (Width == 0 || Height == 0 || Width > 65535 || Height > 65535) return false;
  if (CompressionMethod != 0 || InterlaceMethod > 1) return false;
  if (!ValidFormat(ColorType, BitDepth)) return false;
  if (FOwner) FOwner->InterlaceMethod = InterlaceMethod;
  return PrepareImageData();
}

bool TksPngLayerIHDR::SaveToStream(TStream& Stream) {
  uint8_t d[13];
  WriteBE32(d, Width);
  WriteBE32(d + 4, Height);
  // Two-bit samples are held as four-bit values in the bitmap and written back so.
  d[8] = BitDepth == 2 ? 4 : BitDepth;
  d[9] = ColorType;
  d[10] = CompressionMethod;
  d[11] = FilterMethod;
  d[12] = FOwner ? FOwner->InterlaceMethod : InterlaceMethod;
  return WriteChunk(Stream, d, 13);
}
