#include "skin/data/bmp_image.h"

#include <cstring>

#include "ui/streams.h"

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

struct Layout {
  size_t Length;
  int32_t Width;
  int32_t Height;
  int BitCount;
};

Layout Examine(const uint8_t* data, size_t available) {
  if (available < kFileHeaderSize + kInfoHeaderSize) {
    throw EReadError("Bitmap image is truncated: " + IntToStr(available) +
                     " bytes left, headers need 54");
  }
  if (data[0] != 'B' || data[1] != 'M') throw EInvalidGraphic("Bitmap image lacks its 'BM' signature");
  const uint8_t* info = data + kFileHeaderSize;
  const uint32_t offBits = U32(data + 10);
  const uint32_t infoSize = U32(info);
  const int32_t width = static_cast<int32_t>(U32(info + 4));
  const int32_t height = static_cast<int32_t>(U32(info + 8));
  const uint16_t planes = U16(info + 12);
  const uint16_t bitCount = U16(info + 14);
  const uint32_t compression = U32(info + 16);
  const uint32_t sizeImage = U32(info + 20);
  const uint32_t clrUsed = U32(info + 32);

  if (infoSize != kInfoHeaderSize) {
    throw EInvalidGraphic("Bitmap info header has " + IntToStr(infoSize) +
                          " bytes; only the 40-byte header is stored");
  }
  if (planes != 1) throw EInvalidGraphic("Bitmap has " + IntToStr(planes) + " planes");
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
      bitCount != 32) {
    throw EInvalidGraphic("Bitmap has an impossible bit count " + IntToStr(bitCount));
  }
  if (compression != 0) {
    throw EInvalidGraphic("Bitmap uses compression " + IntToStr(compression) +
                          "; only uncompressed images are stored");
  }
  const int64_t rows = height < 0 ? -static_cast<int64_t>(height) : height;
  if (width <= 0 || rows == 0 || width > kMaxBmpSide || rows > kMaxBmpSide) {
    throw EInvalidGraphic("Bitmap has an impossible size " + IntToStr(width) + " x " +
                          IntToStr(height));
  }
  const uint64_t maxColors = bitCount <= 8 ? (1u << bitCount) : 256;
  if (clrUsed > maxColors) {
    throw EInvalidGraphic("Bitmap claims " + IntToStr(clrUsed) + " palette entries");
  }
  const uint64_t colors = clrUsed != 0 ? clrUsed : (bitCount <= 8 ? (1u << bitCount) : 0);
  const uint64_t stride = (static_cast<uint64_t>(width) * bitCount + 31) / 32 * 4;
  const uint64_t pixelBytes = stride * static_cast<uint64_t>(rows);
  if (sizeImage != 0 && sizeImage < pixelBytes) {
    throw EInvalidGraphic("Bitmap image size " + IntToStr(sizeImage) + " is smaller than its " +
                          IntToStr(static_cast<int64_t>(pixelBytes)) + " bytes of rows");
  }
  const uint64_t headers = kFileHeaderSize + kInfoHeaderSize + colors * 4;
  if (offBits != headers) {
    throw EInvalidGraphic("Bitmap pixel offset " + IntToStr(offBits) +
                          " does not follow its colour table at " +
                          IntToStr(static_cast<int64_t>(headers)));
  }
  const uint64_t length = headers + (sizeImage != 0 ? sizeImage : pixelBytes);
  if (length > available) {
    throw EReadError("Bitmap image is truncated: needs " + IntToStr(static_cast<int64_t>(length)) +
                     " bytes, " + IntToStr(available) + " left");
  }
  return Layout{static_cast<size_t>(length), width, static_cast<int32_t>(rows), bitCount};
}

}  // namespace

size_t TksBmpImage::Measure(const uint8_t* data, size_t available) {
  return Examine(data, available).Length;
}

TksBmpImage TksBmpImage::FromBytes(const uint8_t* data, size_t available) {
  const Layout layout = Examine(data, available);
  TksBmpImage image;
  image.FBytes.assign(data, data + layout.Length);
  image.FWidth = layout.Width;
  image.FHeight = layout.Height;
  image.FBitCount = layout.BitCount;
  return image;
}

TksBmpImage TksBmpImage::FromFile(const AnsiString& fileName) {
  TMemoryStream stream;
  stream.LoadFromFile(fileName);
  const auto* data = static_cast<const uint8_t*>(stream.Memory());
  try {
    TksBmpImage image = FromBytes(data, static_cast<size_t>(stream.Size()));
    const uint32_t length = static_cast<uint32_t>(image.FBytes.size());
    for (int i = 0; i < 4; ++i) image.FBytes[2 + i] = static_cast<uint8_t>(length >> (8 * i));
    return image;
  } catch (Exception& e) {
    e.SetMessage(fileName + ": " + e.Message());
    throw;
  }
}

void TksBmpImage::SaveToFile(const AnsiString& fileName) const {
  TFileStream file(fileName, fmCreate);
  file.WriteBuffer(FBytes.data(), static_cast<int64_t>(FBytes.size()));
}
