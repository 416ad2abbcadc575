// The colour key of grey and RGB images: decided on the raw samples as they are decoded, and
// kept in step when the image is edited, copied or resized afterwards.
#include <gtest/gtest.h>

#include "image/png/png_image.h"
#include "png_reference.h"

using pngtest::RefImage;

namespace {

// Three pixels of an 8-bit RGB image with a key of white and a gAMA of 1.0, whose table maps
// 254 to 255 as well: white (the key), 254 grey (opaque) and a colour.
TksPngImage* Keyed(TksPngImage& img) {
  RefImage ref;
  ref.width = 3;
  ref.height = 1;
  ref.color_type = 2;
  ref.gamma = 100000;
  ref.trns = {0, 255, 0, 255, 0, 255};
  ref.rows = {{255, 255, 255, 254, 254, 254, 10, 20, 30}};
  const std::vector<uint8_t> file = pngtest::WritePng(ref);
  TConstMemoryStream s(file.data(), static_cast<int64_t>(file.size()));
  img.LoadFromStream(s);
  return &img;
}

}  // namespace

TEST(PngColourKey, RawSamplesDecideNotTheColoursTheGammaTableMakes) {
  TksPngImage img;
  Keyed(img);
  ASSERT_EQ(img.TransparencyMode(), ptmBit);
  ASSERT_EQ(img.Pixels(0, 0), img.Pixels(1, 0));  // the table merges 254 with 255
  EXPECT_TRUE(img.KeyTransparent(0, 0));
  EXPECT_FALSE(img.KeyTransparent(1, 0));
  EXPECT_FALSE(img.KeyTransparent(2, 0));

  uint8_t surface[3 * 4] = {};
  img.DrawToSurface(surface, 12, 3, 1, RECT{0, 0, 3, 1});
  EXPECT_EQ(surface[0], 0);     // the key leaves the surface
  EXPECT_EQ(surface[4], 255);   // the opaque grey is drawn
}

TEST(PngColourKey, EditsCopiesAndResizesKeepTheKeyInStep) {
  TksPngImage img;
  Keyed(img);
  img.SetPixels(2, 0, img.TransparentColor());  // now shows the key
  img.SetPixels(0, 0, RGB(1, 2, 3));           // no longer does
  EXPECT_TRUE(img.KeyTransparent(2, 0));
  EXPECT_FALSE(img.KeyTransparent(0, 0));
  EXPECT_FALSE(img.KeyTransparent(1, 0));

  TksPngImage copy;
  copy.Assign(&img);
  EXPECT_TRUE(copy.KeyTransparent(2, 0));
  EXPECT_FALSE(copy.KeyTransparent(1, 0));

  img.Resize(4, 2);
  EXPECT_TRUE(img.KeyTransparent(2, 0));
  EXPECT_FALSE(img.KeyTransparent(1, 0));
  EXPECT_FALSE(img.KeyTransparent(3, 1));  // new pixels are black, not the key

  // With an alpha plane the key is gone and every pixel is opaque.
  img.AddAlpha();
  EXPECT_EQ(img.TransparencyMode(), ptmPartial);
  EXPECT_FALSE(img.KeyTransparent(2, 0));
  EXPECT_EQ(img.Header()->KeyPlane(), nullptr);
}
