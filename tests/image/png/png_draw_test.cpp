// Drawing in the three transparency modes, pixel access, resize and added alpha.
#include <gtest/gtest.h>

#include <cstring>

#include "image/png/png_ancillary.h"
#include "image/png/png_image.h"

namespace {

struct Surface {
  int w, h;
  std::vector<uint8_t> px;
  Surface(int width, int height, uint32_t fill) : w(width), h(height), px(size_t(width) * height * 4) {
    for (size_t i = 0; i < px.size(); i += 4) std::memcpy(&px[i], &fill, 4);
  }
  // Blue, green, red of (x, y) as a COLORREF.
  COLORREF At(int x, int y) const {
    const uint8_t* p = &px[(size_t(y) * w + x) * 4];
    return RGB(p[2], p[1], p[0]);
  }
  void Draw(const TksPngImage& img, RECT r) { img.DrawToSurface(px.data(), w * 4, w, h, r); }
};

constexpr uint32_t kGreyBackground = 0xFF808080;

}  // namespace

TEST(PngDraw, DoubleSizeSamplesEveryPixelTwice) {
  TksPngImage img;
  img.CreateBlank(2, 8, 3, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) img.SetPixels(x, y, RGB(x * 80, y * 100, 7));
  Surface s(8, 6, kGreyBackground);
  s.Draw(img, RECT{1, 1, 7, 5});
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x) {
      const bool inside = x >= 1 && x < 7 && y >= 1 && y < 5;
      const COLORREF want = inside ? RGB((x - 1) / 2 * 80, (y - 1) / 2 * 100, 7) : RGB(128, 128, 128);
      ASSERT_EQ(s.At(x, y), want) << x << "," << y;
    }
  // A reversed rectangle is the same rectangle; an empty one draws nothing.
  Surface r(8, 6, kGreyBackground);
  r.Draw(img, RECT{7, 5, 1, 1});
  EXPECT_EQ(r.px, s.px);
  Surface e(8, 6, kGreyBackground);
  e.Draw(img, RECT{2, 2, 2, 5});
  EXPECT_EQ(e.At(2, 2), RGB(128, 128, 128));
  // Clipped at the surface edges without touching memory outside it.
  Surface c(2, 2, kGreyBackground);
  c.Draw(img, RECT{-3, -2, 3, 2});
  EXPECT_EQ(c.At(0, 0), RGB(80, 100, 7));
  EXPECT_EQ(c.At(1, 1), RGB(160, 100, 7));
}

TEST(PngDraw, PartialAlphaBlendsPerChannel) {
  TksPngImage img;
  img.CreateBlank(6, 8, 3, 1);
  img.SetPixels(0, 0, RGB(200, 100, 50));
  img.SetPixels(1, 0, RGB(200, 100, 50));
  img.SetPixels(2, 0, RGB(200, 100, 50));
  img.AlphaScanline(0)[0] = 128;
  img.AlphaScanline(0)[1] = 0;
  img.AlphaScanline(0)[2] = 255;
  Surface s(3, 1, 0x000A141E);  // red 10, green 20, blue 30
  s.Draw(img, RECT{0, 0, 3, 1});
  EXPECT_EQ(s.At(0, 0), RGB(105, 60, 40));
  EXPECT_EQ(s.At(1, 0), RGB(10, 20, 30));
  EXPECT_EQ(s.At(2, 0), RGB(200, 100, 50));

  // Grey with alpha blends its grey level into all three channels.
  img.CreateBlank(4, 8, 1, 1);
  img.Scanline(0)[0] = 200;
  img.AlphaScanline(0)[0] = 128;
  Surface g(1, 1, 0);
  g.Draw(img, RECT{0, 0, 1, 1});
  EXPECT_EQ(g.At(0, 0), RGB(100, 100, 100));
}

TEST(PngDraw, PaletteTransparency) {
  TksPngImage img;
  img.CreateBlank(3, 8, 3, 1);
  std::vector<RGBQUAD> pal(4);
  pal[0] = RGBQUAD{0, 0, 255, 0};
  pal[1] = RGBQUAD{0, 255, 0, 0};
  pal[2] = RGBQUAD{255, 0, 0, 0};
  img.SetPalette(pal);
  for (int x = 0; x < 3; ++x) img.Scanline(0)[x] = static_cast<uint8_t>(x);
  img.AddAlpha();
  auto* trns = img.Chunks().Find<TksPngLayertRNS>();
  ASSERT_NE(trns, nullptr);
  EXPECT_EQ(img.TransparencyMode(), ptmPartial);  // a tRNS of 255s still asks for blending

  uint8_t one[3] = {255, 0, 255};
  trns->SetTable(one, 3);
  EXPECT_EQ(img.TransparencyMode(), ptmBit);
  Surface s(3, 1, kGreyBackground);
  s.Draw(img, RECT{0, 0, 3, 1});
  EXPECT_EQ(s.At(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(s.At(1, 0), RGB(128, 128, 128));
  EXPECT_EQ(s.At(2, 0), RGB(0, 0, 255));

  uint8_t several[3] = {255, 0, 64};
  trns->SetTable(several, 3);
  EXPECT_EQ(img.TransparencyMode(), ptmPartial);
  Surface p(3, 1, 0);
  p.Draw(img, RECT{0, 0, 3, 1});
  EXPECT_EQ(p.At(1, 0), RGB(0, 0, 0));
  EXPECT_EQ(p.At(2, 0), RGB(0, 0, (255 * 64 + 255) / 256));
}

TEST(PngPixels, AccessResizeAndAddAlpha) {
  TksPngImage img;
  EXPECT_EQ(img.Pixels(0, 0), 0u);
  img.CreateBlank(2, 16, 4, 3);
  img.SetPixels(3, 2, RGB(1, 2, 3));
  EXPECT_EQ(img.Pixels(3, 2), RGB(1, 2, 3));
  EXPECT_EQ(img.Pixels(4, 2), 0u);
  EXPECT_EQ(img.AlphaScanline(0), nullptr);
  EXPECT_THROW(img.CreateBlank(2, 4, 1, 1), EInvalidGraphic);

  img.Resize(6, 2);
  EXPECT_EQ(img.Width(), 6);
  EXPECT_EQ(img.Height(), 2);
  EXPECT_EQ(img.Pixels(3, 1), 0u);
  img.SetPixels(5, 1, RGB(9, 9, 9));
  img.Resize(4, 3);
  EXPECT_EQ(img.Pixels(5, 1), 0u);
  EXPECT_EQ(img.Chunks().Item(0)->ChunkType(), "IHDR");
  EXPECT_THROW(img.Resize(0, 3), EInvalidGraphic);

  img.AddAlpha();
  EXPECT_EQ(img.Header()->ColorType, 6);
  for (int y = 0; y < 3; ++y) EXPECT_EQ(img.AlphaScanline(y)[3], 255);
  img.AlphaScanline(0)[0] = 7;
  img.Resize(5, 4);
  EXPECT_EQ(img.AlphaScanline(0)[0], 7);
  EXPECT_EQ(img.AlphaScanline(3)[4], 255);

  // Two-bit grey: nearest grey level among the four the file can hold.
  img.CreateBlank(0, 2, 4, 1);
  img.SetPixels(0, 0, RGB(90, 80, 85));
  img.SetPixels(1, 0, RGB(255, 255, 255));
  EXPECT_EQ(img.Pixels(0, 0), RGB(85, 85, 85));
  EXPECT_EQ(img.Pixels(1, 0), RGB(255, 255, 255));
  img.AddAlpha();
  EXPECT_EQ(img.Header()->ColorType, 4);
  EXPECT_EQ(img.Header()->BitDepth, 8);
  EXPECT_EQ(img.Pixels(0, 0), RGB(85, 85, 85));
  EXPECT_EQ(img.Pixels(2, 0), RGB(0, 0, 0));
  EXPECT_EQ(img.AlphaScanline(0)[1], 255);
}
