// Rules of the bitmap file reader that the public suite does not pin down: where pixels start,
// how RLE codes fill and leave the picture, mask scaling and checks, OS/2 tables, streams.
#include "ui/bmp_reader.h"

#include <gtest/gtest.h>

#include <cstring>

#include "ui/bitmap.h"
#include "ui/streams.h"

namespace {

void Put16(std::string& s, size_t at, uint32_t v) {
  s[at] = static_cast<char>(v);
  s[at + 1] = static_cast<char>(v >> 8);
}
void Put32(std::string& s, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>(v >> (8 * i));
}

// A file image with a 40-byte (or larger) Windows header, built field by field.
struct File {
  uint32_t HeaderSize = 40;
  int32_t Width = 1;
  int32_t Height = 1;
  uint16_t BitCount = 24;
  uint32_t Compression = BI_RGB;
  uint32_t SizeImage = 0;
  uint32_t ClrUsed = 0;
  std::string Masks;  // bytes right after the header
  std::string Table;
  std::string Gap;
  std::string Pixels;
  bool ZeroFileSize = false;

  std::string Bytes() const {
    std::string f(14 + HeaderSize, '\0');
    f[0] = 'B';
    f[1] = 'M';
    Put32(f, 14, HeaderSize);
    Put32(f, 18, static_cast<uint32_t>(Width));
    Put32(f, 22, static_cast<uint32_t>(Height));
    Put16(f, 26, 1);
    Put16(f, 28, BitCount);
    Put32(f, 30, Compression);
    Put32(f, 34, SizeImage);
    Put32(f, 46, ClrUsed);
    f += Masks + Table + Gap;
    Put32(f, 10, static_cast<uint32_t>(f.size()));
    f += Pixels;
    Put32(f, 2, ZeroFileSize ? 0 : static_cast<uint32_t>(f.size()));
    return f;
  }
};

std::string Quad(uint8_t b, uint8_t g, uint8_t r) { return std::string{char(b), char(g), char(r), 0}; }
std::string U32(uint32_t v) {
  std::string s(4, '\0');
  Put32(s, 0, v);
  return s;
}

void Load(TBitmap& b, const std::string& bytes, int64_t* end = nullptr) {
  TConstMemoryStream s(bytes.data(), static_cast<int64_t>(bytes.size()));
  b.LoadFromStream(s);
  if (end) *end = s.Position();
}

void ExpectRefused(const std::string& bytes, const char* why) {
  SCOPED_TRACE(why);
  TConstMemoryStream s(bytes.data(), static_cast<int64_t>(bytes.size()));
  TBitmap b;
  EXPECT_THROW(b.LoadFromStream(s), EInvalidGraphic);
  EXPECT_EQ(s.Position(), 0);
}

int Index(const TBitmap& b, int x, int y) {
  const uint8_t* row = b.ScanLine(y);
  if (b.BitsPerPixel() == 4) return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF;
  return row[x];
}

// A stream that is not in memory: the reader copies what follows and still stops at the end.
class TSlowStream : public TStream {
 public:
  explicit TSlowStream(std::string data) : FData(std::move(data)) {}
  int64_t Read(void* buffer, int64_t count) override {
    const int64_t n = std::min<int64_t>(count, static_cast<int64_t>(FData.size()) - FPos);
    if (n <= 0) return 0;
    std::memcpy(buffer, FData.data() + FPos, static_cast<size_t>(n));
    FPos += n;
    return n;
  }
  int64_t Write(const void*, int64_t) override { return 0; }
  int64_t Seek(int64_t offset, TSeekOrigin origin) override {
    FPos = (origin == soBeginning ? 0 : origin == soCurrent ? FPos : static_cast<int64_t>(FData.size())) + offset;
    return FPos;
  }

 private:
  std::string FData;
  int64_t FPos = 0;
};

}  // namespace

TEST(BmpReader, PixelsStartAtTheFileHeadersOffsetEvenWithoutSizeFields) {
  // A gap after the headers, no file size and no image size: the offset alone finds the rows.
  File f;
  f.Gap = "gapgap";
  f.Pixels = std::string{'\x10', '\x20', '\x30', '\0'};
  f.ZeroFileSize = true;
  const std::string bytes = f.Bytes() + "next";
  int64_t end = 0;
  TBitmap b;
  Load(b, bytes, &end);
  EXPECT_EQ(b.PixelRGB(0, 0), RGB(0x30, 0x20, 0x10));
  EXPECT_EQ(end, static_cast<int64_t>(bytes.size()) - 4);

  // An offset pointing into the headers is refused, not read from.
  std::string inside = f.Bytes();
  Put32(inside, 10, 50);
  ExpectRefused(inside, "offset inside the headers");

  // The same from a stream that is not in memory.
  TSlowStream slow(bytes);
  TBitmap c;
  c.LoadFromStream(slow);
  EXPECT_EQ(c.PixelRGB(0, 0), RGB(0x30, 0x20, 0x10));
  EXPECT_EQ(slow.Position(), end);
}

TEST(BmpReader, Rle8RunsLiteralsMovesAndLineEnds) {
  File f;
  f.Width = 4;
  f.Height = 3;
  f.BitCount = 8;
  f.Compression = BI_RLE8;
  f.ClrUsed = 4;
  f.Table = Quad(0, 0, 0) + Quad(0, 0, 255) + Quad(0, 255, 0) + Quad(255, 0, 0);
  // Bottom row: a literal 1 2 3 (padded to a word) and a run of one 1; end of line. Then a
  // move of one column and one row skips the middle row, a run of three 2s, end of bitmap.
  f.Pixels = std::string("\x00\x03\x01\x02\x03\x00\x01\x01\x00\x00", 10) +
             std::string("\x00\x02\x01\x01\x03\x02\x00\x01", 8);
  f.SizeImage = static_cast<uint32_t>(f.Pixels.size());
  const std::string bytes = f.Bytes() + "tail";
  int64_t end = 0;
  TBitmap b;
  Load(b, bytes, &end);
  EXPECT_EQ(end, static_cast<int64_t>(bytes.size()) - 4);
  ASSERT_EQ(b.BitsPerPixel(), 8);
  const int expected[3][4] = {{0, 2, 2, 2}, {0, 0, 0, 0}, {1, 2, 3, 1}};
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(Index(b, x, y), expected[y][x]) << x << "," << y;
  }

  const auto variant = [&](std::string pixels) {
    File g = f;
    g.Pixels = std::move(pixels);
    g.SizeImage = static_cast<uint32_t>(g.Pixels.size());
    return g.Bytes();
  };
  ExpectRefused(variant(std::string("\x05\x01\x00\x01", 4)), "run past the row end");
  ExpectRefused(variant(std::string("\x00\x05\x01\x01\x01\x01\x01\x00\x00\x01", 10)), "literal past the row end");
  ExpectRefused(variant(std::string("\x00\x02\x05\x00\x00\x01", 6)), "move past the right edge");
  ExpectRefused(variant(std::string("\x00\x02\x00\x04\x00\x01", 6)), "move past the last row");
  ExpectRefused(variant(std::string("\x00\x00\x00\x00\x00\x00\x01\x01", 8)), "pixels past the last row");
  ExpectRefused(variant(std::string("\x02\x01", 2)), "no end of bitmap");
  ExpectRefused(variant(std::string("\x00\x04\x01\x01", 4)), "literal cut off");
  ExpectRefused(variant(std::string("\x01\x04\x00\x01", 4)), "index past the table");
  File topDown = f;
  topDown.Height = -3;
  ExpectRefused(topDown.Bytes(), "compressed top-down");
  File noSize = f;
  noSize.SizeImage = 0;
  ExpectRefused(noSize.Bytes(), "compressed without its size");
}

TEST(BmpReader, Rle4AlternatesNibblesAndPadsLiterals) {
  File f;
  f.Width = 5;
  f.Height = 2;
  f.BitCount = 4;
  f.Compression = BI_RLE4;
  f.ClrUsed = 8;
  for (int i = 0; i < 8; ++i) f.Table += Quad(uint8_t(i * 30), 0, 0);
  // Bottom row: a run of five alternating 1 and 2; top row: a literal 3 4 5 6 7 (three bytes,
  // padded to four).
  f.Pixels = std::string("\x05\x12\x00\x00\x00\x05\x34\x56\x70\x00\x00\x01", 12);
  f.SizeImage = static_cast<uint32_t>(f.Pixels.size());
  TBitmap b;
  Load(b, f.Bytes());
  ASSERT_EQ(b.BitsPerPixel(), 4);
  for (int x = 0; x < 5; ++x) {
    EXPECT_EQ(Index(b, x, 1), x % 2 == 0 ? 1 : 2) << x;
    EXPECT_EQ(Index(b, x, 0), 3 + x) << x;
  }
}

TEST(BmpReader, MaskedChannelsScaleToTheNearestLevelAndCarryAlpha) {
  File f;
  f.Width = 3;
  f.BitCount = 16;
  f.Compression = BI_BITFIELDS;
  f.Masks = U32(0xF800) + U32(0x07E0) + U32(0x001F);
  // Red at full; green at full; red 1 of 31, green 2 of 63, blue 3 of 31.
  f.Pixels = std::string("\x00\xF8\xE0\x07\x43\x08\x00\x00", 8);
  TBitmap b;
  Load(b, f.Bytes());
  ASSERT_EQ(b.BitsPerPixel(), 24);
  EXPECT_EQ(b.PixelRGB(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(b.PixelRGB(1, 0), RGB(0, 255, 0));
  EXPECT_EQ(b.PixelRGB(2, 0), RGB(8, 8, 25));

  // Without bit fields 16-bit pixels are 5-5-5; the top bit is unused.
  File plain = f;
  plain.Compression = BI_RGB;
  plain.Masks.clear();
  plain.Pixels = std::string("\x1F\x80\xE0\x03\x00\x7C\x00\x00", 8);
  Load(b, plain.Bytes());
  EXPECT_EQ(b.PixelRGB(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(b.PixelRGB(1, 0), RGB(0, 255, 0));
  EXPECT_EQ(b.PixelRGB(2, 0), RGB(255, 0, 0));

  // A 56-byte header's alpha mask, with the colours in an unusual order, gives 32-bit pixels
  // whose fourth byte is the alpha.
  File rgba;
  rgba.HeaderSize = 56;
  rgba.BitCount = 32;
  rgba.Compression = BI_BITFIELDS;
  rgba.Pixels = U32(0x80112233);
  std::string bytes = rgba.Bytes();
  Put32(bytes, 54, 0xFF);
  Put32(bytes, 58, 0xFF00);
  Put32(bytes, 62, 0xFF0000);
  Put32(bytes, 66, 0xFF000000);
  Load(b, bytes);
  ASSERT_EQ(b.BitsPerPixel(), 32);
  EXPECT_EQ(b.PixelRGB(0, 0), RGB(0x33, 0x22, 0x11));
  EXPECT_EQ(b.ScanLine(0)[3], 0x80);

  File overlap = f;
  overlap.Masks = U32(0xF800) + U32(0x0FE0) + U32(0x001F);
  ExpectRefused(overlap.Bytes(), "overlapping masks");
  File gaps = f;
  gaps.Masks = U32(0xF000) + U32(0x0A00) + U32(0x001F);
  ExpectRefused(gaps.Bytes(), "a mask with a hole");
  File wide = f;
  wide.Masks = U32(0x1F0000) + U32(0x07E0) + U32(0x001F);
  ExpectRefused(wide.Bytes(), "a mask past the pixel's bits");
}

TEST(BmpReader, ColourTablesOfOs2AndShortTablesAndTheirIndices) {
  // OS/2 core header: 16-bit sizes and 3-byte table entries.
  std::string os2(14 + 12, '\0');
  os2[0] = 'B';
  os2[1] = 'M';
  Put32(os2, 14, 12);
  Put16(os2, 18, 2);
  Put16(os2, 20, 1);
  Put16(os2, 22, 1);
  Put16(os2, 24, 1);
  os2 += std::string("\x00\x00\xFF\x00\xFF\x00", 6);
  Put32(os2, 10, static_cast<uint32_t>(os2.size()));
  os2 += std::string("\x40\x00\x00\x00", 4);  // pixels 0 then 1
  Put32(os2, 2, static_cast<uint32_t>(os2.size()));
  TBitmap b;
  Load(b, os2);
  EXPECT_EQ(b.PixelRGB(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(b.PixelRGB(1, 0), RGB(0, 255, 0));

  // A table shorter than the depth allows: its indices are fine, the next one is not.
  File f;
  f.Width = 2;
  f.BitCount = 8;
  f.ClrUsed = 2;
  f.Table = Quad(0, 0, 0) + Quad(9, 9, 9);
  f.Pixels = std::string("\x01\x00\x00\x00", 4);
  Load(b, f.Bytes());
  EXPECT_EQ(b.PixelRGB(0, 0), RGB(9, 9, 9));
  f.Pixels[1] = 2;
  ExpectRefused(f.Bytes(), "index past a short table");
  // Padding after the last pixel of a row is not a pixel.
  f.Pixels = std::string("\x01\x00\x07\x07", 4);
  EXPECT_NO_THROW(Load(b, f.Bytes()));
}
