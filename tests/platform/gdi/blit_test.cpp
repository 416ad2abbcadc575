#include <gtest/gtest.h>

#include "tests/platform/gdi/gdi_test_util.h"

using gdi_test::Dib;

namespace {

constexpr uint32_t W = 0xFFFFFF;

// Source row 0..n-1 of a 32-bit DIB filled with distinct colours k -> 0x0000kk.
void Ramp(Dib& d) {
  for (int y = 0; y < d.height; ++y)
    for (int x = 0; x < d.width; ++x) d.px32(x, y) = static_cast<uint32_t>(y * 16 + x);
}

TEST(GdiBlit, RasterOperationsOn32Bit) {
  struct Case {
    DWORD rop;
    uint32_t expected;  // for S = 0x0F0F0F(00), D = 0x3C3C3C, P = 0x555555
  };
  const uint32_t S = 0x0F0F0F, D = 0x3C3C3C, P = 0x555555;
  const Case cases[] = {
      {SRCCOPY, S},         {SRCPAINT, S | D},           {SRCAND, S & D},
      {SRCINVERT, S ^ D},   {SRCERASE, S & ~D},          {NOTSRCCOPY, ~S},
      {DSTINVERT, ~D},      {PATCOPY, P},                {PATINVERT, P ^ D},
      {BLACKNESS, 0},       {WHITENESS, 0xFFFFFFFF},     {MERGECOPY, P & S},
      {MERGEPAINT, ~S | D}, {NOTSRCERASE, ~(S | D)},     {PATPAINT, P | ~S | D},
  };
  Dib src(1, 1, 32), dst(1, 1, 32);
  HBRUSH brush = CreateSolidBrush(RGB(0x55, 0x55, 0x55));
  HGDIOBJ old = SelectObject(dst.dc, brush);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.rop);
    src.px32(0, 0) = S;
    dst.px32(0, 0) = D;
    ASSERT_TRUE(BitBlt(dst.dc, 0, 0, 1, 1, src.dc, 0, 0, c.rop));
    // Alpha bytes take part in the operation as in any 32-bit DIB; compare colour bits.
    EXPECT_EQ(dst.px32(0, 0) & W, c.expected & W);
  }
  SelectObject(dst.dc, old);
  DeleteObject(brush);
}

TEST(GdiBlit, SrcCopyKeepsAlphaAndClipsToBothBitmaps) {
  Dib src(3, 3, 32), dst(4, 4, 32);
  Ramp(src);
  src.px32(1, 1) |= 0x80000000u;
  dst.Fill(RGB(255, 255, 255));
  // Source and destination partly outside: only existing pixels move.
  ASSERT_TRUE(BitBlt(dst.dc, 2, -1, 4, 4, src.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(dst.px32(2, 0), 0x10u);
  EXPECT_EQ(dst.px32(3, 0), 0x80000011u);
  EXPECT_EQ(dst.px32(3, 1), 0x21u);
  EXPECT_EQ(dst.px32(2, 2) & W, W);
  EXPECT_EQ(dst.px32(1, 0) & W, W);
  // A source rectangle starting outside the source reads nothing from there.
  dst.Fill(RGB(255, 255, 255));
  ASSERT_TRUE(BitBlt(dst.dc, 0, 0, 4, 4, src.dc, -2, -2, SRCCOPY));
  EXPECT_EQ(dst.px32(2, 2), 0u);
  EXPECT_EQ(dst.px32(1, 1) & W, W);
}

TEST(GdiBlit, OverlappingSelfCopyReadsOriginalPixels) {
  Dib d(4, 4, 32);
  Ramp(d);
  ASSERT_TRUE(BitBlt(d.dc, 1, 1, 3, 3, d.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(d.px32(1, 1), 0x00u);
  EXPECT_EQ(d.px32(3, 3), 0x22u);
  EXPECT_EQ(d.px32(2, 1), 0x01u);
  // Upwards, and mirrored top to bottom onto itself.
  Ramp(d);
  ASSERT_TRUE(BitBlt(d.dc, 0, 0, 3, 3, d.dc, 1, 1, SRCCOPY));
  EXPECT_EQ(d.px32(0, 0), 0x11u);
  EXPECT_EQ(d.px32(2, 2), 0x33u);
  Ramp(d);
  ASSERT_TRUE(StretchBlt(d.dc, 0, 0, 4, 4, d.dc, 0, 4, 4, -4, SRCCOPY));
  EXPECT_EQ(d.px32(1, 0), 0x31u);
  EXPECT_EQ(d.px32(1, 3), 0x01u);
}

TEST(GdiBlit, MonochromeRules) {
  // 1-bit source onto colour: 0 bits take the destination's text colour, 1 bits its background.
  Dib mono(2, 1, 1);
  SetPixelV(mono.dc, 1, 0, RGB(255, 255, 255));
  Dib colour(2, 1, 24);
  SetTextColor(colour.dc, RGB(10, 20, 30));
  SetBkColor(colour.dc, RGB(200, 100, 50));
  ASSERT_TRUE(BitBlt(colour.dc, 0, 0, 2, 1, mono.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(GetPixel(colour.dc, 0, 0), RGB(10, 20, 30));
  EXPECT_EQ(GetPixel(colour.dc, 1, 0), RGB(200, 100, 50));

  // Colour onto 1-bit: the source DC's background colour becomes white, the rest black.
  Dib src(3, 1, 32);
  SetPixelV(src.dc, 0, 0, RGB(1, 2, 3));
  SetPixelV(src.dc, 1, 0, RGB(255, 255, 255));
  SetPixelV(src.dc, 2, 0, RGB(7, 7, 7));
  SetBkColor(src.dc, RGB(1, 2, 3));
  Dib mask(3, 1, 1);
  ASSERT_TRUE(BitBlt(mask.dc, 0, 0, 3, 1, src.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(mask.bits[0] & 0xE0, 0x80);

  // The classic mask pair: AND with the mask, then paint the image.
  Dib dst(3, 1, 32);
  dst.Fill(RGB(9, 9, 9));
  SetTextColor(dst.dc, RGB(0, 0, 0));
  SetBkColor(dst.dc, RGB(255, 255, 255));
  ASSERT_TRUE(BitBlt(dst.dc, 0, 0, 3, 1, mask.dc, 0, 0, SRCAND));
  EXPECT_EQ(dst.Words(), (std::vector<uint32_t>{0x090909, 0, 0}));
}

TEST(GdiBlit, PalettisedDestinationTakesNearestEntry) {
  Dib src(2, 1, 32);
  SetPixelV(src.dc, 0, 0, RGB(240, 10, 10));
  SetPixelV(src.dc, 1, 0, RGB(20, 20, 20));
  Dib dst(2, 1, 4, false, {RGB(0, 0, 0), RGB(255, 0, 0), RGB(0, 255, 0)});
  ASSERT_TRUE(BitBlt(dst.dc, 0, 0, 2, 1, src.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(dst.bits[0], 0x10);
  // Between palettised bitmaps with the same table, indices copy unchanged.
  Dib same(2, 1, 4, true, {RGB(0, 0, 0), RGB(255, 0, 0), RGB(0, 255, 0)});
  ASSERT_TRUE(BitBlt(same.dc, 0, 0, 2, 1, dst.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(same.bits[0], 0x10);
}

// Column sampled for each destination column, read back through a ramp source.
std::vector<int> Sampled(int sw, int dw, bool mirror_dest) {
  Dib src(sw, 1, 32), dst(dw, 1, 32);
  for (int x = 0; x < sw; ++x) src.px32(x, 0) = static_cast<uint32_t>(x);
  SetStretchBltMode(dst.dc, COLORONCOLOR);
  if (mirror_dest) StretchBlt(dst.dc, dw, 0, -dw, 1, src.dc, 0, 0, sw, 1, SRCCOPY);
  else StretchBlt(dst.dc, 0, 0, dw, 1, src.dc, 0, 0, sw, 1, SRCCOPY);
  std::vector<int> v;
  for (int x = 0; x < dw; ++x) v.push_back(static_cast<int>(dst.px32(x, 0)));
  return v;
}

TEST(GdiBlit, StretchSamplesNearestColumns) {
  EXPECT_EQ(Sampled(2, 4, false), (std::vector<int>{0, 0, 1, 1}));
  EXPECT_EQ(Sampled(3, 5, false), (std::vector<int>{0, 0, 1, 1, 2}));
  EXPECT_EQ(Sampled(6, 3, false), (std::vector<int>{0, 2, 4}));
  EXPECT_EQ(Sampled(5, 3, false), (std::vector<int>{0, 1, 3}));
  EXPECT_EQ(Sampled(3, 3, true), (std::vector<int>{2, 1, 0}));
  EXPECT_EQ(Sampled(2, 3, true), (std::vector<int>{1, 0, 0}));

  // Rows follow the same rule, and a mirrored source flips vertically.
  Dib src(1, 2, 32), dst(1, 4, 32);
  src.px32(0, 0) = 1;
  src.px32(0, 1) = 2;
  ASSERT_TRUE(StretchBlt(dst.dc, 0, 0, 1, 4, src.dc, 0, 2, 1, -2, SRCCOPY));
  EXPECT_EQ(dst.Words(), (std::vector<uint32_t>{2, 2, 1, 1}));
}

TEST(GdiBlit, TransparentBltSkipsTheKeyColour) {
  Dib src(2, 2, 24), dst(4, 4, 32);
  SetPixelV(src.dc, 0, 0, RGB(255, 0, 255));
  SetPixelV(src.dc, 1, 0, RGB(1, 2, 3));
  SetPixelV(src.dc, 0, 1, RGB(4, 5, 6));
  SetPixelV(src.dc, 1, 1, RGB(255, 0, 255));
  dst.Fill(RGB(9, 9, 9));
  ASSERT_TRUE(TransparentBlt(dst.dc, 0, 0, 4, 4, src.dc, 0, 0, 2, 2, RGB(255, 0, 255)));
  EXPECT_EQ(dst.Words(), (std::vector<uint32_t>{0x090909, 0x090909, 0x010203, 0x010203,  //
                                                0x090909, 0x090909, 0x010203, 0x010203,  //
                                                0x040506, 0x040506, 0x090909, 0x090909,  //
                                                0x040506, 0x040506, 0x090909, 0x090909}));
  EXPECT_FALSE(TransparentBlt(dst.dc, 0, 0, -1, 1, src.dc, 0, 0, 1, 1, 0));
}

TEST(GdiBlit, AlphaBlendArithmetic) {
  Dib src(1, 1, 32), dst(1, 1, 32);
  // Constant alpha: (s*a + d*(255-a) + 127) / 255 per channel.
  src.px32(0, 0) = 0x00FF8000;
  dst.px32(0, 0) = 0x00000080;
  ASSERT_TRUE(AlphaBlend(dst.dc, 0, 0, 1, 1, src.dc, 0, 0, 1, 1, BLENDFUNCTION{AC_SRC_OVER, 0, 128, 0}));
  EXPECT_EQ(dst.px32(0, 0) & W, 0x804040u);

  // Premultiplied per-pixel alpha: d = s*c/255 + d*(255 - a*c/255)/255.
  src.px32(0, 0) = 0x80804000;  // alpha 128, premultiplied red 128, green 64
  dst.px32(0, 0) = 0xFF0000FF;
  ASSERT_TRUE(AlphaBlend(dst.dc, 0, 0, 1, 1, src.dc, 0, 0, 1, 1,
                         BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA}));
  EXPECT_EQ(dst.px32(0, 0), 0xFF80407Fu);
  // Opaque source pixels replace, transparent ones leave the destination alone.
  src.px32(0, 0) = 0xFF123456;
  ASSERT_TRUE(AlphaBlend(dst.dc, 0, 0, 1, 1, src.dc, 0, 0, 1, 1,
                         BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA}));
  EXPECT_EQ(dst.px32(0, 0), 0xFF123456u);
  src.px32(0, 0) = 0;
  ASSERT_TRUE(AlphaBlend(dst.dc, 0, 0, 1, 1, src.dc, 0, 0, 1, 1,
                         BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA}));
  EXPECT_EQ(dst.px32(0, 0), 0xFF123456u);

  // Refused: source rectangle outside the source, per-pixel alpha from a 24-bit source.
  EXPECT_FALSE(AlphaBlend(dst.dc, 0, 0, 1, 1, src.dc, 0, 0, 2, 1, BLENDFUNCTION{0, 0, 255, 0}));
  Dib rgb(1, 1, 24);
  EXPECT_FALSE(AlphaBlend(dst.dc, 0, 0, 1, 1, rgb.dc, 0, 0, 1, 1, BLENDFUNCTION{0, 0, 255, AC_SRC_ALPHA}));
  EXPECT_TRUE(AlphaBlend(dst.dc, 0, 0, 1, 1, rgb.dc, 0, 0, 1, 1, BLENDFUNCTION{0, 0, 255, 0}));
}

TEST(GdiBlit, ClipOriginsAndSaveRestore) {
  Dib src(4, 4, 32), dst(6, 6, 32);
  src.Fill(RGB(0, 0, 1));
  dst.Fill(RGB(0, 0, 0));
  SetViewportOrgEx(dst.dc, 1, 1, nullptr);
  const int level = SaveDC(dst.dc);
  EXPECT_EQ(level, 1);
  SetWindowOrgEx(dst.dc, -1, 0, nullptr);  // logical (0,0) is device (2,1)
  HRGN clip = CreateRectRgn(0, 0, 4, 3);  // device units
  SelectClipRgn(dst.dc, clip);
  ExcludeClipRect(dst.dc, 1, 1, 2, 2);  // logical: device (3,2)
  RECT box;
  EXPECT_EQ(GetClipBox(dst.dc, &box), COMPLEXREGION);
  EXPECT_EQ(box.left, -2);
  EXPECT_EQ(box.right, 2);
  ASSERT_TRUE(BitBlt(dst.dc, 0, 0, 4, 4, src.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(dst.Words(), (std::vector<uint32_t>{0, 0, 0, 0, 0, 0,  //
                                                0, 0, 1, 1, 0, 0,  //
                                                0, 0, 1, 0, 0, 0,  //
                                                0, 0, 0, 0, 0, 0,  //
                                                0, 0, 0, 0, 0, 0,  //
                                                0, 0, 0, 0, 0, 0}));
  EXPECT_FALSE(PtVisible(dst.dc, 1, 1));
  EXPECT_TRUE(PtVisible(dst.dc, 0, 1));
  HRGN got = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetClipRgn(dst.dc, got), 1);
  EXPECT_FALSE(PtInRegion(got, 3, 2));
  EXPECT_TRUE(PtInRegion(got, 2, 2));

  // RestoreDC(-1) brings back the origins and the absence of a clip region.
  ASSERT_TRUE(RestoreDC(dst.dc, -1));
  EXPECT_EQ(GetClipRgn(dst.dc, got), 0);
  POINT p;
  GetWindowOrgEx(dst.dc, &p);
  EXPECT_EQ(p.x, 0);
  GetViewportOrgEx(dst.dc, &p);
  EXPECT_EQ(p.x, 1);
  EXPECT_FALSE(RestoreDC(dst.dc, -1));  // nothing saved any more
  ASSERT_TRUE(BitBlt(dst.dc, 4, 4, 4, 4, src.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(dst.px32(5, 5), 1u);

  // Positive levels restore that level and drop the ones above it.
  SaveDC(dst.dc);
  SetTextColor(dst.dc, RGB(1, 1, 1));
  SaveDC(dst.dc);
  SetTextColor(dst.dc, RGB(2, 2, 2));
  EXPECT_TRUE(RestoreDC(dst.dc, 1));
  EXPECT_EQ(GetTextColor(dst.dc), RGB(0, 0, 0));
  EXPECT_FALSE(RestoreDC(dst.dc, 1));
  DeleteObject(clip);
  DeleteObject(got);
}

TEST(GdiBlit, RestoreDcReselectsSavedObjects) {
  Dib d(2, 2, 32);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  SaveDC(d.dc);
  SelectObject(d.dc, red);
  EXPECT_FALSE(DeleteObject(red));
  ASSERT_TRUE(RestoreDC(d.dc, -1));
  EXPECT_EQ(GetCurrentObject(d.dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(GetCurrentObject(d.dc, OBJ_BITMAP), static_cast<HGDIOBJ>(d.bmp));
  EXPECT_TRUE(DeleteObject(red));
}

}  // namespace
