#include "skin/data/skin_bitmap.h"

#include <cstring>

#include "ui/bmp_reader.h"
#include "ui/streams.h"

namespace {

// The bitmap's own reader, then the conversion drawing needs.
std::unique_ptr<TBitmap> ReadThroughBitmap(std::span<const uint8_t> image) {
  auto bitmap = std::make_unique<TBitmap>();
  TConstMemoryStream stream(image.data(), static_cast<int64_t>(image.size()));
  bitmap->LoadFromStream(stream);
  if (bitmap->BitsPerPixel() < 24) bitmap->SetPixelFormat(pf24bit);
  return bitmap;
}

// Row r of the file (bottom-up unless stored top-down) is row DestRow of the bitmap.
int DestRow(const TBmpInfo& info, int fileRow) {
  return info.TopDown ? fileRow : info.Height - 1 - fileRow;
}

void DecodeIndexed(const TBmpInfo& info, const uint8_t* src, size_t inStride, TBitmap& out) {
  // Indices past the table (which the reader refuses anyway) read as black, as they would
  // from the zero-filled table of a loaded bitmap.
  uint8_t colours[256][3] = {};
  for (size_t i = 0; i < info.Palette.size() && i < 256; ++i) {
    colours[i][0] = info.Palette[i].rgbBlue;
    colours[i][1] = info.Palette[i].rgbGreen;
    colours[i][2] = info.Palette[i].rgbRed;
  }
  const int bits = info.BitCount;
  const unsigned mask = (1u << bits) - 1;
  for (int r = 0; r < info.Height; ++r) {
    const uint8_t* in = src + static_cast<size_t>(r) * inStride;
    uint8_t* o = out.ScanLine(DestRow(info, r));
    if (bits == 8) {
      for (int x = 0; x < info.Width; ++x, o += 3) std::memcpy(o, colours[in[x]], 3);
      continue;
    }
    for (int x = 0; x < info.Width; ++x, o += 3) {
      const int bit = x * bits;
      const unsigned index = (in[bit >> 3] >> (8 - bits - (bit & 7))) & mask;
      std::memcpy(o, colours[index], 3);
    }
  }
}

}  // namespace

std::unique_ptr<TBitmap> MakeSkinBitmap(std::span<const uint8_t> image) {
  if (image.empty()) return std::make_unique<TBitmap>();
  const TBmpInfo info = ReadBmpInfo(image.data(), image.size());
  const int bits = info.BitCount;
  const bool direct = bits == 24 || (bits == 32 && info.Masks[0] == 0xFF0000 &&
                                     info.Masks[1] == 0xFF00 && info.Masks[2] == 0xFF &&
                                     info.Masks[3] == 0);
  const bool indexed = bits == 1 || bits == 4 || bits == 8;
  if (info.Compression != BI_RGB || (!direct && !indexed)) return ReadThroughBitmap(image);
  auto bitmap = std::make_unique<TBitmap>(info.Width, info.Height, bits == 32 ? pf32bit : pf24bit);
  const uint8_t* src = image.data() + info.PixelOffset;
  const size_t inStride = (static_cast<size_t>(info.Width) * bits + 31) / 32 * 4;
  if (indexed) {
    DecodeIndexed(info, src, inStride, *bitmap);
    return bitmap;
  }
  const size_t rowBytes = static_cast<size_t>(info.Width) * (bits / 8);
  for (int r = 0; r < info.Height; ++r) {
    std::memcpy(bitmap->ScanLine(DestRow(info, r)), src + static_cast<size_t>(r) * inStride,
                rowBytes);
  }
  return bitmap;
}
