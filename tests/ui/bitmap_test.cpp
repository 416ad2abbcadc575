#include "ui/bitmap.h"

#include <gtest/gtest.h>

#include <cstring>

#include "ui/streams.h"

namespace {

// A pattern every depth can hold: indices 0/1 for 1 bit, up to 15 for 4 bits.
void Fill(TBitmap& b) {
  for (int y = 0; y < b.Height(); ++y) {
    uint8_t* row = b.ScanLine(y);
    for (int i = 0; i < b.Stride(); ++i) row[i] = static_cast<uint8_t>(y * 37 + i * 11 + 1);
  }
}

int RowBytes(const TBitmap& b) { return (b.Width() * b.BitsPerPixel() + 7) / 8; }

std::string Saved(TBitmap& b) {
  TMemoryStream m;
  b.SaveToStream(m);
  return std::string(static_cast<const char*>(m.Memory()), static_cast<size_t>(m.Size()));
}

uint32_t U32(const std::string& s, size_t at) {
  uint32_t v;
  std::memcpy(&v, s.data() + at, 4);
  return v;
}
void SetU32(std::string& s, size_t at, uint32_t v) { std::memcpy(s.data() + at, &v, 4); }

}  // namespace

TEST(BitmapBmp, RoundTripsEveryDepthAndLeavesTheStreamRightAfterTheImage) {
  for (TPixelFormat pf : {pf1bit, pf4bit, pf8bit, pf24bit, pf32bit}) {
    SCOPED_TRACE(pf);
    TBitmap src(5, 3, pf);  // odd width: rows need padding at every depth
    Fill(src);
    TMemoryStream m;
    m.WriteBuffer("head", 4);
    src.SaveToStream(m);
    const int64_t imageEnd = m.Position();
    m.WriteBuffer("tail", 4);

    const std::string file = Saved(src);
    EXPECT_EQ(U32(file, 2), file.size());  // bfSize is the whole image

    m.SetPosition(4);
    TBitmap back;
    back.LoadFromStream(m);
    EXPECT_EQ(m.Position(), imageEnd);
    EXPECT_EQ(back.PixelFormat(), pf);
    ASSERT_EQ(back.Width(), 5);
    ASSERT_EQ(back.Height(), 3);
    for (int y = 0; y < 3; ++y) {
      EXPECT_EQ(0, std::memcmp(back.ScanLine(y), src.ScanLine(y), RowBytes(src) - 1)) << y;
    }
    for (int x = 0; x < 5; ++x) EXPECT_EQ(back.PixelRGB(x, 2), src.PixelRGB(x, 2));
    EXPECT_EQ(back.ColorTable().size(), src.ColorTable().size());
  }
}

TEST(BitmapBmp, FileRowsAreBottomUpAndRowZeroIsTheTop) {
  // 1x2, 24 bits: the file's first row is the bottom (blue), the second the top (red).
  std::string f(14 + 40 + 8, '\0');
  f[0] = 'B';
  f[1] = 'M';
  SetU32(f, 2, static_cast<uint32_t>(f.size()));
  SetU32(f, 10, 54);
  SetU32(f, 14, 40);
  SetU32(f, 18, 1);
  SetU32(f, 22, 2);
  f[26] = 1;
  f[28] = 24;
  f[54] = '\xFF';  // bottom: B=255
  f[62 - 4 + 2] = '\xFF';  // top: R=255 (second row starts at 58)
  TConstMemoryStream s(f.data(), static_cast<int64_t>(f.size()));
  TBitmap b;
  b.LoadFromStream(s);
  EXPECT_EQ(b.PixelRGB(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(b.PixelRGB(0, 1), RGB(0, 0, 255));

  // The same rows stored top-down (negative height) give the same picture.
  SetU32(f, 22, static_cast<uint32_t>(-2));
  std::swap(f[54], f[58]);
  std::swap(f[56], f[60]);
  TConstMemoryStream s2(f.data(), static_cast<int64_t>(f.size()));
  TBitmap c;
  c.LoadFromStream(s2);
  EXPECT_EQ(c.PixelRGB(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(c.PixelRGB(0, 1), RGB(0, 0, 255));
}

TEST(BitmapBmp, TruncatedAndImpossibleImagesAreRefusedAndChangeNothing) {
  TBitmap src(7, 4, pf8bit);
  Fill(src);
  const std::string good = Saved(src);

  TBitmap keep(2, 2, pf24bit);
  keep.ScanLine(0)[0] = 0x5A;
  auto refuse = [&](const std::string& bytes, bool invalid) {
    TConstMemoryStream s(bytes.data(), static_cast<int64_t>(bytes.size()));
    if (invalid) {
      EXPECT_THROW(keep.LoadFromStream(s), EInvalidGraphic);
    } else {
      EXPECT_THROW(keep.LoadFromStream(s), EReadError);
    }
    EXPECT_EQ(s.Position(), 0);
    EXPECT_EQ(keep.Width(), 2);
    EXPECT_EQ(keep.PixelFormat(), pf24bit);
    EXPECT_EQ(keep.ScanLine(0)[0], 0x5A);
  };
  for (size_t cut : {size_t{0}, size_t{10}, size_t{30}, size_t{54 + 100}, good.size() - 1}) {
    SCOPED_TRACE(cut);
    refuse(good.substr(0, cut), false);
  }
  std::string bad = good;
  bad[0] = 'X';
  refuse(bad, true);
  auto patched = [&](size_t at, uint32_t v) {
    std::string s = good;
    SetU32(s, at, v);
    return s;
  };
  refuse(patched(18, 0), true);                       // width 0
  refuse(patched(18, static_cast<uint32_t>(-7)), true);  // negative width
  refuse(patched(22, 0), true);                       // height 0
  refuse(patched(14, 44), true);                      // header size of no known kind
  refuse(patched(14, 5000), true);                    // header larger than any kind
  refuse(patched(46, 300), true);                     // 300 colours do not fit before the rows
  refuse(patched(30, 9), true);                       // unknown compression
  refuse(patched(30, 3), true);                       // bit fields for 8-bit pixels
  refuse(patched(34, 10), true);                      // biSizeImage below the rows' size
  refuse(patched(10, 40), true);                      // pixels inside the headers
  refuse(patched(2, static_cast<uint32_t>(good.size()) + 1), false);  // file size past the end
  std::string badIndex = good;
  SetU32(badIndex, 46, 200);  // a 200-entry table: index 200 and up have no colour
  badIndex[1078 - 4 * 56] = '\xC8';
  SetU32(badIndex, 10, 54 + 200 * 4);
  refuse(badIndex, true);
}

TEST(BitmapBmp, LargerSizeImageAndAGapNamedByTheHeaderAreConsumed) {
  TBitmap src(3, 2, pf24bit);
  Fill(src);
  std::string f = Saved(src);
  // Two spare bytes after the rows, counted by biSizeImage and bfSize.
  SetU32(f, 34, U32(f, 34) + 2);
  SetU32(f, 2, U32(f, 2) + 2);
  f += "xy";
  // A 4-byte gap before the rows, named by bfOffBits and counted in bfSize.
  f.insert(54, "GAP!");
  SetU32(f, 10, 58);
  SetU32(f, 2, U32(f, 2) + 4);
  f += "next";
  TConstMemoryStream s(f.data(), static_cast<int64_t>(f.size()));
  TBitmap b;
  b.LoadFromStream(s);
  EXPECT_EQ(s.Position(), static_cast<int64_t>(f.size()) - 4);
  EXPECT_EQ(0, std::memcmp(b.ScanLine(1), src.ScanLine(1), 9));
}

TEST(Bitmap, SizeFormatConversionAndAssign) {
  TBitmap b(2, 2, pf24bit);
  uint8_t* r0 = b.ScanLine(0);
  std::memset(r0, 0xFF, 6);  // top row white, bottom row black
  EXPECT_THROW(b.ScanLine(2), EInvalidGraphic);
  EXPECT_THROW(b.SetSize(-1, 2), EInvalidGraphic);

  b.SetPixelFormat(pf1bit);
  EXPECT_EQ(b.PixelRGB(1, 0), RGB(255, 255, 255));
  EXPECT_EQ(b.PixelRGB(1, 1), RGB(0, 0, 0));
  b.SetPixelFormat(pf32bit);
  EXPECT_EQ(b.ScanLine(0)[4], 0xFF);

  b.SetSize(3, 1);  // the top-left part survives, new pixels are zero
  EXPECT_EQ(b.PixelRGB(1, 0), RGB(255, 255, 255));
  EXPECT_EQ(b.PixelRGB(2, 0), 0u);

  TBitmap copy;
  copy.Assign(&b);
  EXPECT_EQ(copy.PixelFormat(), pf32bit);
  b.ScanLine(0)[0] = 1;
  EXPECT_EQ(copy.ScanLine(0)[0], 0xFF);  // a deep copy
  copy.Assign(nullptr);
  EXPECT_TRUE(copy.Empty());

  // Auto transparency takes the bottom-left pixel; a fixed colour stays.
  EXPECT_EQ(b.TransparentColor(), static_cast<TColor>(RGB(255, 255, 1)));
  b.SetTransparentColor(clFuchsia);
  EXPECT_EQ(b.TransparentMode(), tmFixed);
  EXPECT_EQ(b.TransparentColor(), clFuchsia);
}
