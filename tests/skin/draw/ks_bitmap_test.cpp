#include "skin/draw/ks_bitmap.h"

#include <gtest/gtest.h>

#include <cmath>

#include "skin/draw/blend.h"
#include "skin/draw/effect_bmp.h"
#include "skin/draw/mask_region.h"

namespace {

TEST(TksBitmap, SetSizeIgnoresZeroSidesAndRegistersItsDC) {
  TksBitmap b;
  b.SetSize(0, 5);
  EXPECT_TRUE(b.Empty());
  b.SetSize(-3, 2);
  ASSERT_FALSE(b.Empty());
  EXPECT_EQ(b.Width(), 3);
  EXPECT_EQ(TksBitmap::FromDC(b.DC()), &b);
  b.SetPixel(2, 1, 0x11223344);
  b.SetSize(3, 0);
  EXPECT_EQ(b.GetPixel(2, 1), 0x11223344u);
  const HDC old = b.DC();
  {
    TksBitmap other(1, 1);
    EXPECT_EQ(TksBitmap::FromDC(other.DC()), &other);
  }
  b.SetSize(4, 4);
  EXPECT_EQ(TksBitmap::FromDC(b.DC()), &b);
  if (old != b.DC()) {
    EXPECT_EQ(TksBitmap::FromDC(old), nullptr);
  }
  EXPECT_EQ(b.GetPixel(4, 0), 0u);
  EXPECT_EQ(b.PixelPtr(-1, 0), nullptr);
  b.SetPixel(9, 9, 1);  // ignored
}

TEST(TksBitmap, KeyOutColorKeysWithinFiveNotSix) {
  TksBitmap b(4, 1);
  const COLORREF c = RGB(100, 150, 200);
  b.SetPixel(0, 0, 0xFF000000 | (105 << 16) | (145 << 8) | 195);  // 5 off in each channel
  b.SetPixel(1, 0, 0xFF000000 | (106 << 16) | (150 << 8) | 200);  // red 6 off
  b.SetPixel(2, 0, 0xFF000000 | (100 << 16) | (150 << 8) | 194);  // blue 6 off
  b.SetPixel(3, 0, 0x80000000 | (100 << 16) | (150 << 8) | 200);
  b.KeyOutColor(c);
  EXPECT_TRUE(b.Transparent);
  EXPECT_EQ(b.GetPixel(0, 0), 0x007F007Fu);
  EXPECT_NE(b.GetPixel(1, 0), 0x007F007Fu);
  EXPECT_NE(b.GetPixel(2, 0), 0x007F007Fu);
  EXPECT_EQ(b.GetPixel(3, 0), 0x007F007Fu);
  b.KeyOutColor(RGB(0, 255, 0));
  EXPECT_FALSE(b.Transparent);
}

TEST(TksBitmap, MakeReflectionFadesTheFlippedTopHalf) {
  TksBitmap b(2, 10);
  for (int y = 0; y < 10; ++y) {
    b.SetPixel(0, y, 0xFF000000 | y);
    b.SetPixel(1, y, 0x00000000 | y);
  }
  b.MakeReflection(3);
  for (int r = 0; r < 10; ++r) {
    EXPECT_EQ(b.GetPixel(0, r) & 0xFF, 9u - r);  // flipped, colours kept
    const double f = 1.0 - r * 0.2;
    const uint32_t expect = r >= 5 ? 0 : static_cast<uint32_t>(std::nearbyint(f * 255)) / 3;
    EXPECT_EQ(b.GetPixel(0, r) >> 24, expect) << r;
    EXPECT_EQ(b.GetPixel(1, r) >> 24, 0u);
  }
}

TEST(TksBitmap, AlphaFlagsClampAndFill) {
  TksBitmap b(2, 1);
  b.SetPixel(0, 0, 0xFFFFFFFF);
  b.SetPixel(1, 0, 0x00FFFFFF);
  b.UpdateAlphaBlendFlag();
  EXPECT_FALSE(b.AlphaBlend);
  b.SetPixel(1, 0, 0x40FF2010);
  b.UpdateAlphaBlendFlag();
  EXPECT_TRUE(b.AlphaBlend);
  b.ClampColorsToAlpha();
  EXPECT_EQ(b.GetPixel(1, 0), 0x40402010u);
  b.SetAlpha(7);
  EXPECT_EQ(b.GetPixel(0, 0), 0x07FFFFFFu);
  b.AlphaBlend = false;
  b.FillRect(RECT{-5, -5, 1, 9}, 0x12345678);
  EXPECT_EQ(b.GetPixel(0, 0), 0x12345678u);
  EXPECT_EQ(b.GetPixel(1, 0), 0x07402010u);
  b.AlphaBlend = true;
  b.SetPixel(0, 0, 0xFFFFFFFF);
  b.FillRect(RECT{0, 0, 1, 1}, 0x80000000);
  EXPECT_EQ(b.GetPixel(0, 0), lumoa::skin::BlendPixel(0xFFFFFFFF, 0x80000000));
}

TEST(TksBitmap, DrawToBitmapCopiesKeysBlendsAndStretchesWithAlignedEnds) {
  TksBitmap src(3, 1), dst(5, 2);
  src.SetPixel(0, 0, 0xFF000001);
  src.SetPixel(1, 0, 0x007F007F);
  src.SetPixel(2, 0, 0xFF000003);
  dst.FillRect(RECT{0, 0, 5, 2}, 0xFFFFFFFF);
  src.Transparent = true;
  src.DrawToBitmap(dst, RECT{1, 0, 4, 1}, RECT{0, 0, 3, 1});
  EXPECT_EQ(dst.GetPixel(1, 0), 0xFF000001u);
  EXPECT_EQ(dst.GetPixel(2, 0), 0xFFFFFFFFu);
  EXPECT_EQ(dst.GetPixel(3, 0), 0xFF000003u);
  // Source outside this bitmap: nothing.
  src.DrawToBitmap(dst, RECT{0, 1, 3, 2}, RECT{1, 0, 4, 1});
  EXPECT_EQ(dst.GetPixel(0, 1), 0xFFFFFFFFu);
  // 3 -> 5 columns, ends aligned: round(i * 2 / 4) = 0, 0 (0.5 to even), 1, 2 (1.5), 2.
  src.Transparent = false;
  src.DrawToBitmap(dst, RECT{0, 0, 5, 2}, RECT{0, 0, 3, 1});
  const uint32_t expect[5] = {0xFF000001, 0xFF000001, 0x007F007F, 0xFF000003, 0xFF000003};
  for (int x = 0; x < 5; ++x) {
    EXPECT_EQ(dst.GetPixel(x, 0), expect[x]) << x;
    EXPECT_EQ(dst.GetPixel(x, 1), expect[x]) << x;
  }
  // A one-column destination takes the middle column.
  src.DrawToBitmap(dst, RECT{0, 0, 1, 1}, RECT{0, 0, 3, 1});
  EXPECT_EQ(dst.GetPixel(0, 0), 0x007F007Fu);
  // Blending a repeated source row still blends onto each destination row's own pixels.
  TksBitmap half(1, 1), under(1, 2);
  half.SetPixel(0, 0, 0x80000000);
  half.AlphaBlend = true;
  under.SetPixel(0, 0, 0xFFFFFFFF);
  under.SetPixel(0, 1, 0xFF000000);
  half.DrawToBitmap(under, RECT{0, 0, 1, 2}, RECT{0, 0, 1, 1});
  EXPECT_EQ(under.GetPixel(0, 0), lumoa::skin::BlendPixel(0xFFFFFFFF, 0x80000000));
  EXPECT_EQ(under.GetPixel(0, 1), lumoa::skin::BlendPixel(0xFF000000, 0x80000000));
}

TEST(TksBitmap, DrawOntoAnotherBitmapsDCHonoursItsWindowOrigin) {
  TksBitmap src(1, 1), dst(4, 4);
  src.SetPixel(0, 0, 0xFF0000FF);
  SetWindowOrgEx(dst.DC(), 1, 1, nullptr);
  src.Draw(dst.DC(), 3, 3);
  EXPECT_EQ(dst.GetPixel(2, 2), 0xFF0000FFu);
}

TEST(TksBitmap, DrawsOntoAPlatformBitmapPlainKeyedAndBlended) {
  TksBitmap canvasOwner(3, 1);  // a plain memory DC would do; this one lets us read back
  HDC dc = CreateCompatibleDC(nullptr);
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 3, -1, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP target = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_TRUE(target && bits);
  HGDIOBJ old = SelectObject(dc, target);
  auto* px = static_cast<uint32_t*>(bits);
  px[0] = px[1] = px[2] = 0xFFFFFFFF;
  TksBitmap src(3, 1);
  src.SetPixel(0, 0, 0xFF102030);
  src.SetPixel(1, 0, 0x007F007F);
  src.SetPixel(2, 0, 0x80000000);
  src.Transparent = true;
  src.Draw(dc, 0, 0);
  EXPECT_EQ(px[0] & 0xFFFFFF, 0x102030u);
  EXPECT_EQ(px[1] & 0xFFFFFF, 0xFFFFFFu);
  src.Transparent = false;
  src.AlphaBlend = true;
  px[0] = px[1] = px[2] = 0xFFFFFFFF;
  src.Draw(dc, 0, 0);
  EXPECT_EQ(px[2] & 0xFFFFFF, lumoa::skin::BlendPixel(0xFFFFFFFF, 0x80000000) & 0xFFFFFF);
  SelectObject(dc, old);
  DeleteDC(dc);
  // Taking it back: a 32-bit DIB section keeps its alpha and sets the flag.
  TksBitmap back;
  ASSERT_TRUE(back.AssignBitmapHandle(target));
  EXPECT_EQ(back.Width(), 3);
  EXPECT_EQ(back.GetPixel(0, 0), px[0]);
  DeleteObject(target);
}

TEST(TksBitmap, AssignCopiesPixelsNameAndFlags) {
  TksBitmap a(2, 2), b;
  a.SetPixel(1, 1, 0x01020304);
  a.Name = "glow";
  a.AlphaBlend = true;
  b.Assign(&a);
  EXPECT_EQ(b.Width(), 2);
  EXPECT_EQ(b.GetPixel(1, 1), 0x01020304u);
  EXPECT_EQ(b.Name, "glow");
  EXPECT_TRUE(b.AlphaBlend);
  TksBitmap empty;
  b.Assign(&empty);  // a bitmap without section assigns nothing
  EXPECT_EQ(b.Width(), 2);
}

TEST(TksEffectBmp, RoundTripsAPlatformBitmapAndScansItsMask) {
  TksBitmap src(3, 2);
  src.FillRect(RECT{0, 0, 3, 2}, 0xFFFFFFFF);
  src.SetPixel(1, 0, 0xFF000000);
  src.SetPixel(0, 1, 0xFF000000);
  src.SetPixel(1, 1, 0xFF000000);
  TksEffectBmp e(src.Handle());
  ASSERT_EQ(e.Width(), 3);
  EXPECT_EQ(e.Map().At(1, 0)[0], 0);
  EXPECT_EQ(e.Map().At(2, 0)[0], 255);
  TksEffectBmp other(4, 2);
  e.Invert();
  e.Morph(other, 1);  // different sizes: nothing
  EXPECT_EQ(e.Map().At(1, 0)[0], 255);
  TksEffectBmp turned(1, 1);
  e.RotateRightTo(turned);
  EXPECT_EQ(turned.Width(), 2);
  EXPECT_EQ(turned.Height(), 3);
  TksBitmap shown(3, 2);
  e.DrawTo(shown.DC(), 0, 0);
  EXPECT_EQ(shown.GetPixel(1, 1) & 0xFFFFFF, 0xFFFFFFu);

  HRGN r = lumoa::skin::RegionFromMask(src.Handle());
  ASSERT_NE(r, nullptr);
  EXPECT_TRUE(PtInRegion(r, 1, 0));
  EXPECT_TRUE(PtInRegion(r, 0, 1));
  EXPECT_FALSE(PtInRegion(r, 0, 0));
  EXPECT_FALSE(PtInRegion(r, 2, 1));
  DeleteObject(r);
}

TEST(ComposeMaskRegion, UnitesClientAndStripsAndRefusesReversedPoints) {
  using namespace lumoa::skin;
  PixelBuffer mask(4, 3, 3);
  mask.Fill(0xFFFFFF);
  mask.Set(0, 1, 0);  // left border pixel of the middle row
  const SkinGeometry g{RECT{0, 0, 4, 3}, POINT{1, 1}, POINT{3, 1}, POINT{1, 2}, POINT{3, 2},
                       RECT{1, 1, 3, 2}};
  ResizedGeometry n = ResizeSkinGeometry(g, 6, 5);
  HRGN r = ComposeMaskRegion(mask.Map(), g, n, 6, 5);
  ASSERT_NE(r, nullptr);
  EXPECT_TRUE(PtInRegion(r, 2, 2));   // client
  EXPECT_TRUE(PtInRegion(r, 0, 3));   // tiled left border
  EXPECT_FALSE(PtInRegion(r, 0, 0));  // white corner
  DeleteObject(r);
  n.NewRightTop.x = n.NewLeftTop.x - 1;
  EXPECT_EQ(ComposeMaskRegion(mask.Map(), g, n, 6, 5), nullptr);
}

}  // namespace
