// BMP file images of TBitmap: reading and writing exactly one image in a stream.
#include <algorithm>

#include "ui/bitmap.h"
#include "ui/bmp_reader.h"
#include "ui/streams.h"

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;

void Put16(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
void Put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

void TBitmap::LoadFromStream(TStream& Stream) {
  const int64_t start = Stream.Position();
  const int64_t available = std::max<int64_t>(Stream.Size() - start, 0);
  // The reader works on bytes in memory: a memory stream's own, else a copy of the rest.
  const uint8_t* data = nullptr;
  std::vector<uint8_t> copy;
  auto* memory = dynamic_cast<TCustomMemoryStream*>(&Stream);
  if (memory != nullptr) {
    if (available > 0) data = static_cast<const uint8_t*>(memory->Memory()) + start;
  } else {
    copy.resize(static_cast<size_t>(available));
    if (Stream.Read(copy.data(), available) != available) {
      Stream.SetPosition(start);
      throw EReadError("Bitmap image is truncated");
    }
    Stream.SetPosition(start);
    data = copy.data();
  }
  const TBmpInfo info = ReadBmpInfo(data, static_cast<size_t>(available));
  std::vector<RGBQUAD> table = info.Palette;
  if (info.OutputBpp <= 8) table.resize(size_t{1} << info.OutputBpp, RGBQUAD{0, 0, 0, 0});
  Image img = CreateImage(info.Width, info.Height, info.OutputBpp, table);
  try {
    DecodeBmpPixels(info, data, img.Bits, static_cast<size_t>(img.Stride));
  } catch (...) {
    FreeImage(img);
    throw;
  }
  Stream.SetPosition(start + static_cast<int64_t>(info.ImageEnd()));
  switch (img.Bpp) {
    case 1: FPixelFormat = pf1bit; break;
    case 4: FPixelFormat = pf4bit; break;
    case 8: FPixelFormat = pf8bit; break;
    case 24: FPixelFormat = pf24bit; break;
    default: FPixelFormat = pf32bit; break;
  }
  ReplaceImage(img);
}

void TBitmap::SaveToStream(TStream& Stream) {
  if (Empty()) return;
  const int bpp = FImage.Bpp;
  const uint32_t colors = bpp <= 8 ? (1u << bpp) : 0;
  const uint32_t offBits = kFileHeaderSize + kInfoHeaderSize + colors * 4;
  const uint32_t pixelBytes = static_cast<uint32_t>(FImage.Stride) * FImage.Height;

  uint8_t head[kFileHeaderSize + kInfoHeaderSize] = {};
  head[0] = 'B';
  head[1] = 'M';
  Put32(head + 2, offBits + pixelBytes);
  Put32(head + 10, offBits);
  uint8_t* ih = head + kFileHeaderSize;
  Put32(ih, kInfoHeaderSize);
  Put32(ih + 4, static_cast<uint32_t>(FImage.Width));
  Put32(ih + 8, static_cast<uint32_t>(FImage.Height));  // bottom-up
  Put16(ih + 12, 1);
  Put16(ih + 14, static_cast<uint32_t>(bpp));
  Put32(ih + 16, BI_RGB);
  Put32(ih + 20, pixelBytes);
  Put32(ih + 32, colors);
  Stream.WriteBuffer(head, sizeof head);
  if (colors) {
    std::vector<RGBQUAD> table = FImage.Table;
    table.resize(colors, RGBQUAD{0, 0, 0, 0});
    for (RGBQUAD& q : table) q.rgbReserved = 0;
    Stream.WriteBuffer(table.data(), int64_t{colors} * 4);
  }
  for (int y = FImage.Height - 1; y >= 0; --y) {
    Stream.WriteBuffer(FImage.Bits + static_cast<size_t>(y) * FImage.Stride, FImage.Stride);
  }
}
