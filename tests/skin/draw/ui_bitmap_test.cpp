// The drawing layer on the framework's bitmaps and graphics.
#include <gtest/gtest.h>

#include "skin/draw/bitmap_target.h"
#include "skin/draw/ks_bitmap.h"
#include "test_pictures.h"
#include "ui/bitmap.h"
#include "ui/streams.h"

#include <memory>

namespace lumoa::skin {
namespace {

std::unique_ptr<TBitmap> Picture24(int w, int h) {
  auto b = std::make_unique<TBitmap>(w, h, pf24bit);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = b->ScanLine(y) + x * 3;
      p[0] = static_cast<uint8_t>(x);
      p[1] = static_cast<uint8_t>(y);
      p[2] = 0x40;
    }
  return b;
}

TEST(UiBitmaps, ComposingIntoAFrameworkBitmapEqualsComposingIntoMemory) {
  const auto picture = Picture24(30, 20);
  const SkinGeometry g{RECT{2, 1, 22, 15}, POINT{5, 4}, POINT{15, 4}, POINT{5, 10},
                       POINT{15, 10}, RECT{4, 3, 16, 11}};
  const ResizedGeometry n = ResizeSkinGeometry(g, 33, 22);
  const StretchModes m{false, true, false, true, true, stVert};
  TBitmap dest(1, 1, pf8bit);  // not a composable format: becomes 32-bit
  ComposeSkinImage(picture.get(), g, n, 33, 22, true, m, &dest);
  ASSERT_EQ(dest.Width(), 33);
  ASSERT_EQ(dest.BitsPerPixel(), 32);
  PixelBuffer memory;
  ComposeSkinImage(test::Numbered(30, 20).Map(), g, n, 33, 22, true, m, memory);
  for (int y = 0; y < 22; ++y)
    for (int x = 0; x < 33; ++x)
      ASSERT_EQ(reinterpret_cast<const uint32_t*>(dest.ScanLine(y))[x], memory.Get(x, y)) << x << "," << y;

  TBitmap horz(1, 1, pf24bit);
  ComposeHorzSkinImage(5, 6, &horz, false, 60, picture.get(), RECT{0, 0, 20, 10});
  ASSERT_EQ(horz.Width(), 60);
  EXPECT_EQ(horz.BitsPerPixel(), 24);
  EXPECT_EQ(horz.ScanLine(0)[3 * 59], 19);  // last column of the right part
}

TEST(UiBitmaps, TksBitmapTakesFrameworkBitmapsAndGivesThemBack) {
  const auto opaque = Picture24(3, 2);
  TksBitmap k;
  k.Assign(opaque.get());
  ASSERT_EQ(k.Width(), 3);
  EXPECT_EQ(k.GetPixel(2, 1), 0xFF400102u);
  EXPECT_FALSE(k.AlphaBlend);

  TBitmap alpha(2, 1, pf32bit);
  reinterpret_cast<uint32_t*>(alpha.ScanLine(0))[0] = 0x80102030;
  reinterpret_cast<uint32_t*>(alpha.ScanLine(0))[1] = 0xFF000000;
  k.Assign(&alpha);
  EXPECT_EQ(k.GetPixel(0, 0), 0x80102030u);
  EXPECT_TRUE(k.AlphaBlend);

  TksBitmap plain(2, 2);
  plain.FillRect(RECT{0, 0, 2, 2}, 0xFF112233);
  TBitmap back(1, 1, pf8bit);
  back.Assign(&plain);
  ASSERT_EQ(back.Width(), 2);
  EXPECT_EQ(back.BitsPerPixel(), 32);
  EXPECT_EQ(back.PixelRGB(1, 1), RGB(0x11, 0x22, 0x33));
}

// A graphic that paints only its left half.
class HalfGraphic : public TGraphic {
 public:
  int Width() const override { return 4; }
  int Height() const override { return 1; }
  void SetWidth(int) override {}
  void SetHeight(int) override {}
  bool Empty() const override { return false; }
  void LoadFromStream(TStream&) override {}
  void SaveToStream(TStream&) override {}

 protected:
  void Draw(TCanvas* canvas, const TRect& r) override {
    for (int x = r.left; x < (r.left + r.right) / 2; ++x)
      ::SetPixel(canvas->Handle(), x, r.top, RGB(1, 2, 3));
  }
};

TEST(UiBitmaps, OtherGraphicsAreTakenOverMagentaAndMadeOpaque) {
  HalfGraphic g;
  TksBitmap k(4, 1);
  k.FillRect(RECT{0, 0, 4, 1}, 0x00ABCDEF);
  k.Assign(&g);
  EXPECT_EQ(k.GetPixel(0, 0), 0xFF010203u);
  EXPECT_EQ(k.GetPixel(1, 0), 0xFF010203u);
  EXPECT_EQ(k.GetPixel(3, 0), 0xFFABCDEFu);  // magenta was not copied
}

}  // namespace
}  // namespace lumoa::skin
