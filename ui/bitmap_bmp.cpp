// BMP file images of TBitmap: reading and writing exactly one image in a stream.
#include <bit>
#include <cstring>

#include "ui/bitmap.h"
#include "ui/streams.h"

static_assert(std::endian::native == std::endian::little, "BMP fields are read in place");

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

void Put16(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
void Put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

[[noreturn]] void Invalid(const AnsiString& why) {
  throw EInvalidGraphic("Bitmap image is not valid: " + why);
}

void ReadOrTruncated(TStream& s, void* buf, int64_t n) {
  if (n > 0 && s.Read(buf, n) != n) throw EReadError("Bitmap image is truncated");
}

}  // namespace

void TBitmap::LoadFromStream(TStream& Stream) {
  const int64_t start = Stream.Position();
  Image img;
  try {
    uint8_t fh[kFileHeaderSize];
    ReadOrTruncated(Stream, fh, sizeof fh);
    if (fh[0] != 'B' || fh[1] != 'M') Invalid("no \"BM\" signature");
    const uint32_t bfSize = Le32(fh + 2);
    const uint32_t bfOffBits = Le32(fh + 10);

    uint8_t sizeField[4];
    ReadOrTruncated(Stream, sizeField, 4);
    const uint32_t biSize = Le32(sizeField);
    if (biSize < kInfoHeaderSize || biSize > 124) {
      Invalid("unsupported header size " + IntToStr(biSize));
    }
    uint8_t ih[124];
    std::memcpy(ih, sizeField, 4);
    ReadOrTruncated(Stream, ih + 4, biSize - 4);
    const int32_t width = static_cast<int32_t>(Le32(ih + 4));
    const int32_t height = static_cast<int32_t>(Le32(ih + 8));
    const uint16_t planes = Le16(ih + 12);
    const uint16_t bpp = Le16(ih + 14);
    const uint32_t compression = Le32(ih + 16);
    const uint32_t sizeImage = Le32(ih + 20);
    const uint32_t clrUsed = Le32(ih + 32);

    if (width <= 0 || height == 0 || height == INT32_MIN || width > 32767 ||
        height > 32767 || height < -32767) {
      Invalid("impossible size " + IntToStr(width) + "x" + IntToStr(height));
    }
    if (planes != 1) Invalid(IntToStr(planes) + " planes");
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) {
      Invalid("unsupported bit count " + IntToStr(bpp));
    }
    uint32_t masksRead = 0;
    if (compression == BI_BITFIELDS && bpp == 32) {
      // Only the layout plain 32-bit rows already have is accepted.
      uint8_t masks[12];
      if (biSize >= 52) {
        std::memcpy(masks, ih + 40, 12);
      } else {
        ReadOrTruncated(Stream, masks, 12);
        masksRead = 12;
      }
      if (Le32(masks) != 0xFF0000 || Le32(masks + 4) != 0xFF00 || Le32(masks + 8) != 0xFF) {
        Invalid("unsupported colour masks");
      }
    } else if (compression != BI_RGB) {
      Invalid("compression " + IntToStr(compression) + " is not supported");
    }

    uint32_t colors = clrUsed;
    if (bpp <= 8) {
      if (colors == 0) colors = 1u << bpp;
      if (colors > (1u << bpp)) Invalid(IntToStr(clrUsed) + " colours for " + IntToStr(bpp) + " bits");
    } else if (colors > 256) {
      Invalid("colour table of " + IntToStr(clrUsed) + " entries");
    }
    std::vector<RGBQUAD> table(colors);
    ReadOrTruncated(Stream, table.data(), static_cast<int64_t>(colors) * 4);
    if (bpp > 8) table.clear();  // a table beside direct colours is only a hint

    const int h = height < 0 ? -height : height;
    const int64_t stride = ((static_cast<int64_t>(width) * bpp + 31) / 32) * 4;
    const int64_t pixelBytes = stride * h;
    const int64_t imageBytes = sizeImage ? static_cast<int64_t>(sizeImage) : pixelBytes;
    if (imageBytes < pixelBytes) {
      Invalid("pixel data of " + IntToStr(imageBytes) + " bytes for " + IntToStr(width) + "x" +
              IntToStr(h) + " at " + IntToStr(bpp) + " bits");
    }
    // Pixels normally follow the table; a gap is skipped only when the file header's
    // offset and size agree on it.
    const int64_t headerEnd = kFileHeaderSize + biSize + masksRead + int64_t{colors} * 4;
    int64_t gap = 0;
    if (bfOffBits > headerEnd && int64_t{bfSize} == int64_t{bfOffBits} + imageBytes) {
      gap = bfOffBits - headerEnd;
    }
    const int64_t available = Stream.Size() - Stream.Position();
    if (available < gap + imageBytes) {
      throw EReadError("Bitmap image is truncated: " + IntToStr(gap + imageBytes) +
                       " bytes of pixels expected, " + IntToStr(available) + " present");
    }
    if (gap) Stream.Seek(gap, soCurrent);

    if (bpp <= 8 && table.size() < (1u << bpp)) table.resize(1u << bpp, RGBQUAD{0, 0, 0, 0});
    img = CreateImage(width, h, bpp, table);
    const bool bottomUp = height > 0;
    for (int r = 0; r < h; ++r) {
      const int y = bottomUp ? h - 1 - r : r;
      ReadOrTruncated(Stream, img.Bits + static_cast<size_t>(y) * img.Stride, stride);
    }
    if (imageBytes > pixelBytes) Stream.Seek(imageBytes - pixelBytes, soCurrent);
  } catch (...) {
    FreeImage(img);
    Stream.SetPosition(start);
    throw;
  }
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
