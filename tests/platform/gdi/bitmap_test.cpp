#include <gtest/gtest.h>

#include "tests/platform/gdi/gdi_test_util.h"

using gdi_test::Dib;

namespace {

const std::vector<COLORREF> kGreys4 = {RGB(0, 0, 0), RGB(85, 85, 85), RGB(170, 170, 170),
                                       RGB(255, 255, 255)};

// Every depth stores pixel (x, y) where Win32 puts it: rows padded to 4 bytes, bottom-up rows
// from the end of the buffer, high nibble/bit first.
TEST(GdiBitmap, LayoutOfEveryDepthTopDownAndBottomUp) {
  for (bool top_down : {true, false}) {
    SCOPED_TRACE(top_down ? "top-down" : "bottom-up");
    auto row = [&](const Dib& d, int y) { return d.bits + (top_down ? y : d.height - 1 - y) * d.stride(); };
    {
      Dib d(3, 2, 32, top_down);
      ASSERT_NE(d.bits, nullptr);
      SetPixelV(d.dc, 2, 1, RGB(1, 2, 3));
      EXPECT_EQ(reinterpret_cast<uint32_t*>(row(d, 1))[2], 0x00010203u);
      EXPECT_EQ(GetPixel(d.dc, 2, 1), RGB(1, 2, 3));
    }
    {
      Dib d(3, 2, 24, top_down);
      EXPECT_EQ(d.stride(), 12);
      SetPixelV(d.dc, 1, 1, RGB(10, 20, 30));
      const BYTE* p = row(d, 1) + 3;
      EXPECT_EQ(p[0], 30);
      EXPECT_EQ(p[1], 20);
      EXPECT_EQ(p[2], 10);
    }
    {
      Dib d(5, 2, 8, top_down, kGreys4);
      SetPixelV(d.dc, 4, 0, RGB(160, 160, 160));  // nearest entry is 2
      EXPECT_EQ(row(d, 0)[4], 2);
      EXPECT_EQ(GetPixel(d.dc, 4, 0), RGB(170, 170, 170));
    }
    {
      Dib d(3, 2, 4, top_down, kGreys4);
      SetPixelV(d.dc, 0, 1, RGB(255, 255, 255));
      SetPixelV(d.dc, 1, 1, RGB(85, 85, 85));
      EXPECT_EQ(row(d, 1)[0], 0x31);
    }
    {
      Dib d(10, 2, 1, top_down);
      SetPixelV(d.dc, 0, 1, RGB(255, 255, 255));
      SetPixelV(d.dc, 9, 1, RGB(250, 250, 250));
      EXPECT_EQ(row(d, 1)[0], 0x80);
      EXPECT_EQ(row(d, 1)[1], 0x40);
      EXPECT_EQ(GetPixel(d.dc, 1, 1), RGB(0, 0, 0));
    }
  }
}

TEST(GdiBitmap, GetObjectDescribesDibSectionAndDeviceBitmap) {
  Dib d(5, 3, 24, false);
  DIBSECTION ds{};
  ASSERT_EQ(GetObjectW(d.bmp, sizeof ds, &ds), static_cast<int>(sizeof ds));
  EXPECT_EQ(ds.dsBm.bmWidth, 5);
  EXPECT_EQ(ds.dsBm.bmHeight, 3);
  EXPECT_EQ(ds.dsBm.bmWidthBytes, 16);
  EXPECT_EQ(ds.dsBm.bmBitsPixel, 24);
  EXPECT_EQ(ds.dsBm.bmBits, d.bits);
  EXPECT_EQ(ds.dsBmih.biSizeImage, 48u);
  BITMAP bm{};
  EXPECT_EQ(GetObjectW(d.bmp, sizeof bm, &bm), static_cast<int>(sizeof bm));
  EXPECT_EQ(GetObjectW(d.bmp, 0, nullptr), static_cast<int>(sizeof bm));
  EXPECT_EQ(GetObjectType(d.bmp), static_cast<DWORD>(OBJ_BITMAP));

  // Device-dependent monochrome rows are padded to 16 bits on input.
  const BYTE rows[] = {0xA0, 0x00, 0x50, 0x00};
  HBITMAP mono = CreateBitmap(4, 2, 1, 1, rows);
  ASSERT_EQ(GetObjectW(mono, sizeof bm, &bm), static_cast<int>(sizeof bm));
  EXPECT_EQ(bm.bmWidthBytes, 2);
  EXPECT_EQ(bm.bmBits, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, mono);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dc, 1, 0), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(dc, 1, 1), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dc, 4, 0), CLR_INVALID);
  SelectObject(dc, old);
  DeleteDC(dc);
  EXPECT_TRUE(DeleteObject(mono));
}

TEST(GdiBitmap, InvalidHeadersAreRefused) {
  BITMAPINFO bmi{};
  bmi.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 4, 4, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = reinterpret_cast<void*>(1);
  auto refused = [&](auto mutate) {
    BITMAPINFO b = bmi;
    mutate(b.bmiHeader);
    bits = reinterpret_cast<void*>(1);
    HBITMAP h = CreateDIBSection(nullptr, &b, DIB_RGB_COLORS, &bits, nullptr, 0);
    return h == nullptr && bits == nullptr;
  };
  EXPECT_TRUE(refused([](BITMAPINFOHEADER& h) { h.biWidth = 0; }));
  EXPECT_TRUE(refused([](BITMAPINFOHEADER& h) { h.biHeight = 0; }));
  EXPECT_TRUE(refused([](BITMAPINFOHEADER& h) { h.biBitCount = 7; }));
  EXPECT_TRUE(refused([](BITMAPINFOHEADER& h) { h.biSize = 12; }));
  EXPECT_TRUE(refused([](BITMAPINFOHEADER& h) { h.biCompression = BI_RLE8; }));
  EXPECT_TRUE(refused([](BITMAPINFOHEADER& h) { h.biWidth = 1 << 20; h.biHeight = 1 << 20; }));
  EXPECT_TRUE(refused([](BITMAPINFOHEADER& h) { h.biBitCount = 8; h.biClrUsed = 300; }));
  EXPECT_EQ(CreateDIBSection(nullptr, nullptr, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
}

TEST(GdiBitmap, DibBitsRoundTripBetweenDepths) {
  Dib d(3, 2, 32);
  const COLORREF colours[6] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255),
                               RGB(255, 255, 255), RGB(0, 0, 0), RGB(255, 255, 0)};
  for (int i = 0; i < 6; ++i) SetPixelV(d.dc, i % 3, i / 3, colours[i]);

  // Read as 24-bit bottom-up: the first buffer row is the image's bottom row.
  BITMAPINFO bmi{};
  bmi.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 3, 2, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<BYTE> buf(24, 0xEE);  // rows of 9 bytes padded to 12
  ASSERT_EQ(GetDIBits(d.dc, d.bmp, 0, 2, buf.data(), &bmi, DIB_RGB_COLORS), 2);
  EXPECT_EQ(buf[0], 255);  // (0,1) white
  EXPECT_EQ(buf[3 * 2 + 0], 0);  // (2,1) yellow: blue 0, green 255, red 255
  EXPECT_EQ(buf[3 * 2 + 1], 255);
  EXPECT_EQ(buf[12 + 2], 255);  // (0,0) red: red byte
  EXPECT_EQ(buf[12 + 0], 0);

  // Header query fills in the bitmap's format.
  BITMAPINFO q{};
  q.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  EXPECT_NE(GetDIBits(d.dc, d.bmp, 0, 0, nullptr, &q, DIB_RGB_COLORS), 0);
  EXPECT_EQ(q.bmiHeader.biBitCount, 32);
  EXPECT_EQ(q.bmiHeader.biSizeImage, 24u);

  // Write it back into a fresh 8-bit DIB: each pixel takes the nearest table entry.
  Dib p(3, 2, 8, false, {RGB(0, 0, 0), RGB(250, 0, 0), RGB(255, 255, 255), RGB(0, 0, 250)});
  ASSERT_EQ(SetDIBits(p.dc, p.bmp, 0, 2, buf.data(), &bmi, DIB_RGB_COLORS), 2);
  EXPECT_EQ(GetPixel(p.dc, 0, 0), RGB(250, 0, 0));
  EXPECT_EQ(GetPixel(p.dc, 2, 0), RGB(0, 0, 250));
  EXPECT_EQ(GetPixel(p.dc, 0, 1), RGB(255, 255, 255));

  // 32-bit bit fields with other masks are read through the masks.
  std::vector<BYTE> mem(sizeof(BITMAPINFOHEADER) + 12);
  auto* bf = reinterpret_cast<BITMAPINFO*>(mem.data());
  bf->bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 1, -1, 1, 32, BI_BITFIELDS, 0, 0, 0, 0, 0};
  const DWORD masks[3] = {0x000000FF, 0x0000FF00, 0x00FF0000};  // red in the low byte
  std::memcpy(mem.data() + sizeof(BITMAPINFOHEADER), masks, sizeof masks);
  const uint32_t px = 0x00332211;
  Dib one(1, 1, 32);
  ASSERT_EQ(SetDIBits(one.dc, one.bmp, 0, 1, &px, bf, DIB_RGB_COLORS), 1);
  EXPECT_EQ(GetPixel(one.dc, 0, 0), RGB(0x11, 0x22, 0x33));
}

TEST(GdiBitmap, ColorTableIsReadAndWrittenThroughTheDc) {
  Dib d(2, 1, 4, true, kGreys4);
  RGBQUAD q[16];
  EXPECT_EQ(GetDIBColorTable(d.dc, 0, 16, q), 16u);
  EXPECT_EQ(q[1].rgbRed, 85);
  EXPECT_EQ(q[5].rgbRed, 0);  // entries beyond biClrUsed are black
  const RGBQUAD red{0, 0, 255, 0};
  EXPECT_EQ(SetDIBColorTable(d.dc, 1, 1, &red), 1u);
  SetPixelV(d.dc, 0, 0, RGB(85, 85, 85));  // now nearest is not entry 1
  EXPECT_NE(d.bits[0] >> 4, 1);
  d.bits[0] = 0x10;
  EXPECT_EQ(GetPixel(d.dc, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(SetDIBColorTable(d.dc, 16, 1, &red), 0u);
}

TEST(GdiObjects, HandlesStockObjectsAndSelection) {
  HBRUSH b = CreateSolidBrush(RGB(1, 2, 3));
  LOGBRUSH lb{};
  ASSERT_EQ(GetObjectW(b, sizeof lb, &lb), static_cast<int>(sizeof lb));
  EXPECT_EQ(lb.lbColor, RGB(1, 2, 3));
  EXPECT_EQ(GetObjectType(b), static_cast<DWORD>(OBJ_BRUSH));

  HDC dc = CreateCompatibleDC(nullptr);
  EXPECT_EQ(GetObjectType(dc), static_cast<DWORD>(OBJ_MEMDC));
  EXPECT_EQ(GetObjectType(GetCurrentObject(dc, OBJ_FONT)), static_cast<DWORD>(OBJ_FONT));
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
  HGDIOBJ old = SelectObject(dc, b);
  EXPECT_EQ(old, GetStockObject(WHITE_BRUSH));
  EXPECT_FALSE(DeleteObject(b));  // selected
  SelectObject(dc, old);
  EXPECT_TRUE(DeleteObject(b));
  // Stale handles fail cleanly everywhere.
  EXPECT_FALSE(DeleteObject(b));
  EXPECT_EQ(GetObjectType(b), 0u);
  EXPECT_EQ(SelectObject(dc, b), nullptr);
  EXPECT_EQ(GetObjectW(b, sizeof lb, &lb), 0);
  int not_an_object = 0;
  EXPECT_EQ(GetObjectType(&not_an_object), 0u);

  // Stock objects survive DeleteObject; DCs are not deleted by DeleteObject.
  HGDIOBJ white = GetStockObject(WHITE_BRUSH);
  DeleteObject(white);
  EXPECT_EQ(GetObjectType(white), static_cast<DWORD>(OBJ_BRUSH));
  EXPECT_EQ(GetStockObject(NULL_BRUSH), GetStockObject(HOLLOW_BRUSH));
  LOGPEN lp{};
  ASSERT_EQ(GetObjectW(GetStockObject(NULL_PEN), sizeof lp, &lp), static_cast<int>(sizeof lp));
  EXPECT_EQ(lp.lopnStyle, static_cast<UINT>(PS_NULL));
  EXPECT_NE(GetStockObject(DEFAULT_GUI_FONT), nullptr);
  EXPECT_EQ(GetStockObject(99), nullptr);
  EXPECT_FALSE(DeleteObject(dc));
  EXPECT_TRUE(DeleteDC(dc));
  EXPECT_FALSE(DeleteDC(dc));
}

TEST(GdiObjects, BitmapIsSelectedIntoOneDcAtATime) {
  Dib d(2, 2, 32);
  HDC other = CreateCompatibleDC(nullptr);
  EXPECT_EQ(SelectObject(other, d.bmp), nullptr);
  EXPECT_FALSE(DeleteObject(d.bmp));
  EXPECT_EQ(GetDeviceCaps(d.dc, HORZRES), 2);
  EXPECT_EQ(GetDeviceCaps(d.dc, BITSPIXEL), 32);
  EXPECT_EQ(GetDeviceCaps(d.dc, LOGPIXELSY), 96);
  // A fresh memory DC holds a 1x1 monochrome bitmap, so compatible bitmaps are monochrome.
  HBITMAP mono = CreateCompatibleBitmap(other, 4, 4);
  BITMAP bm{};
  GetObjectW(mono, sizeof bm, &bm);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  HBITMAP colour = CreateCompatibleBitmap(d.dc, 4, 4);
  GetObjectW(colour, sizeof bm, &bm);
  EXPECT_EQ(bm.bmBitsPixel, 32);
  DeleteObject(mono);
  DeleteObject(colour);
  DeleteDC(other);
}

}  // namespace
