// The skin generator's own parts: bitmap files, picture atlases, description text, the
// colour profile of the logo.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "skin/data/bmp_image.h"
#include "image/png/png_image.h"
#include "skin/data/ini_file.h"
#include "tools/skingen/design.h"
#include "tools/skingen/logo.h"
#include "ui/bitmap.h"
#include "ui/streams.h"

namespace {

using namespace skingen;

std::string TempPath(const char* name) { return ::testing::TempDir() + name; }

std::unique_ptr<TBitmap> LoadBitmap(const std::string& path) {
  auto bitmap = std::make_unique<TBitmap>();
  TFileStream file(path, fmOpenRead);
  bitmap->LoadFromStream(file);
  return bitmap;
}

TEST(SkingenBmp, EveryDepthReadsBackWithItsPixels) {
  Image im(5, 3);  // an odd width exercises the row padding of every depth
  im.Set(0, 0, Rgb{255, 0, 0}, 255);
  im.Set(4, 0, Rgb{0, 0, 255}, 40);
  im.Set(2, 2, Rgb{10, 200, 30}, 200);
  im.Set(1, 1, Rgb{255, 255, 255}, 0);
  for (int bits : {1, 8, 24, 32}) {
    SCOPED_TRACE(bits);
    const std::string path = TempPath("skingen_depth.bmp");
    im.SaveBmp(path, bits);
    const TksBmpImage raw = TksBmpImage::FromFile(path);
    EXPECT_EQ(raw.Width(), 5);
    EXPECT_EQ(raw.Height(), 3);
    EXPECT_EQ(raw.BitCount(), bits);
    const auto loaded = LoadBitmap(path);
    TBitmap& b = *loaded;
    switch (bits) {
      case 24:
      case 32:
        // The top row is the last one in the file: rows must come out the right way up.
        EXPECT_EQ(b.PixelRGB(0, 0), RGB(255, 0, 0));
        EXPECT_EQ(b.PixelRGB(4, 0), RGB(0, 0, 255));
        EXPECT_EQ(b.PixelRGB(2, 2), RGB(10, 200, 30));
        if (bits == 32) {
          EXPECT_EQ(b.ScanLine(0)[4 * 4 + 3], 40);
          EXPECT_EQ(b.ScanLine(2)[2 * 4 + 3], 200);
        }
        break;
      case 8:  // grey by luminance
        EXPECT_EQ(b.PixelRGB(1, 1), RGB(255, 255, 255));
        EXPECT_EQ(GetRValue(b.PixelRGB(0, 0)), 76);
        break;
      default:  // masks: opaque pixels are black (inside the shape), clear ones white
        EXPECT_EQ(b.PixelRGB(0, 0), RGB(0, 0, 0));
        EXPECT_EQ(b.PixelRGB(4, 0), RGB(255, 255, 255));
        EXPECT_EQ(b.PixelRGB(1, 1), RGB(255, 255, 255));
        EXPECT_EQ(b.PixelRGB(2, 2), RGB(0, 0, 0));
    }
    std::remove(path.c_str());
  }
  EXPECT_THROW(im.SaveBmp(TempPath("skingen_bad.bmp"), 16), std::runtime_error);
  EXPECT_THROW(im.SaveBmp("/nonexistent-dir/x.bmp", 24), std::runtime_error);
}

TEST(SkingenAtlas, PiecesNeverOverlapReservedOrEachOther) {
  SkinBuilder b(Skin0Spec().theme);
  const int p = b.AddPicture("p.bmp", 24, 100);
  const Box reserved = b.Reserve(p, {20, 0, 60, 30});
  std::vector<Box> boxes{reserved};
  for (int i = 0; i < 30; ++i) boxes.push_back(b.Put(p, 7 + i % 5 * 6, 5 + i % 3 * 7));
  for (size_t i = 0; i < boxes.size(); ++i) {
    EXPECT_LE(boxes[i].r, 100);
    for (size_t j = i + 1; j < boxes.size(); ++j) {
      const Box& a = boxes[i];
      const Box& c = boxes[j];
      // At least one pixel of air between any two pieces.
      const bool apart = a.r < c.l || c.r < a.l || a.b < c.t || c.b < a.t;
      EXPECT_TRUE(apart) << i << " and " << j;
    }
  }
  const int tiny = b.AddPicture("t.bmp", 24, 10);
  EXPECT_THROW(b.Put(tiny, 11, 2000), std::runtime_error);  // taller than the canvas
}

TEST(SkingenDescription, SectionsAndKeysKeepTheirOrderAndReadBack) {
  Description d;
  d["B"].Set("x", 1).Rect("r", {1, 2, 3, 4});
  d["A"].Point("p", 8, 21).Color("c", RgbOf(0x4B6885)).Flag("f", true);
  d["B"].Set("x", 2);  // a key written twice keeps its place and takes the new value
  const std::string text = d.Text();
  EXPECT_LT(text.find("[B]"), text.find("[A]"));
  EXPECT_NE(text.find("x=2\r\nr=1,2,3,4\r\n"), std::string::npos);
  const TksIniFile ini(text);
  EXPECT_EQ(ini.ReadInteger("B", "x", 0), 2);
  const RECT r = ini.ReadRect("B", "r");
  EXPECT_EQ(r.right, 3);
  EXPECT_EQ(ini.ReadPoint("A", "p").y, 21);
  EXPECT_EQ(ini.ReadColor("A", "c", 0), 8742987u);
  EXPECT_TRUE(ini.ReadBoolean("A", "f"));
}

uint32_t Be32(const std::vector<uint8_t>& v, size_t at) {
  return (v[at] << 24) | (v[at + 1] << 16) | (v[at + 2] << 8) | v[at + 3];
}

TEST(SkingenProfile, TagTableFitsAndCurvesRiseFromZeroToOne) {
  const std::vector<uint8_t> p = SrgbIccProfile();
  ASSERT_GE(p.size(), 132u);
  EXPECT_EQ(Be32(p, 0), p.size());
  EXPECT_EQ(Be32(p, 8), 0x02100000u);
  EXPECT_EQ(std::string(p.begin() + 12, p.begin() + 16), "mntr");
  EXPECT_EQ(std::string(p.begin() + 36, p.begin() + 40), "acsp");
  const uint32_t count = Be32(p, 128);
  ASSERT_EQ(count, 9u);
  uint32_t curve = 0;
  for (uint32_t i = 0; i < count; ++i) {
    const size_t e = 132 + 12 * i;
    const std::string sig(p.begin() + static_cast<long>(e), p.begin() + static_cast<long>(e) + 4);
    const uint32_t at = Be32(p, e + 4), size = Be32(p, e + 8);
    EXPECT_EQ(at % 4, 0u) << sig;
    EXPECT_LE(at + size, p.size()) << sig;
    if (sig.substr(1) != "TRC") continue;
    if (curve == 0) curve = at;
    EXPECT_EQ(at, curve) << sig;  // one shared curve
  }
  ASSERT_NE(curve, 0u);
  ASSERT_EQ(std::string(p.begin() + curve, p.begin() + curve + 4), "curv");
  ASSERT_EQ(Be32(p, curve + 8), 256u);
  int previous = -1;
  for (int i = 0; i < 256; ++i) {
    const int v = (p[curve + 12 + 2 * i] << 8) | p[curve + 13 + 2 * i];
    EXPECT_GT(v, previous);
    previous = v;
  }
  EXPECT_EQ(previous, 65535);
}

// Each icon is its own drawing: at every size the lens ring shows as white strokes on both
// sides of an open blue hole, and the soft shadow appears only where there is room for it.
TEST(SkingenIcons, EverySizeKeepsTheLensReadableAndDropsTheShadowWhenSmall) {
  for (int size : kIconSizes) {
    SCOPED_TRACE(size);
    const LogoShape shape = IconShape(size);
    TksPngImage png;
    DrawLogo(shape, png);
    ASSERT_EQ(png.Width(), size);
    ASSERT_EQ(png.Height(), size);
    const auto white = [&](int x, int y) {
      const COLORREF c = png.Pixels(x, y);
      return GetRValue(c) > 200 && GetGValue(c) > 200 && GetBValue(c) > 200;
    };
    const int cy = static_cast<int>(shape.lensY), cx = static_cast<int>(shape.lensX);
    EXPECT_FALSE(white(cx, cy)) << "the lens hole closed up";
    EXPECT_EQ(png.AlphaScanline(cy)[cx], 255);
    int left = 0, right = 0;
    for (int x = 0; x < size; ++x) (x < cx ? left : right) += white(x, cy);
    EXPECT_GE(left, 1);
    EXPECT_GE(right, 1);
    EXPECT_GE(left + right, std::max(2, size / 10)) << "the ring is too thin to read";
    // The row below the badge: shadow only from 32 pixels on.
    int shaded = 0;
    if (shape.badge.b < size)
      for (int x = 0; x < size; ++x) shaded += png.AlphaScanline(shape.badge.b)[x] > 0;
    if (size < 32) {
      EXPECT_EQ(shaded, 0);
    } else {
      EXPECT_GT(shaded, size / 2);
    }
    EXPECT_EQ(png.AlphaScanline(0)[0], 0);  // rounded corner
  }
  EXPECT_THROW(IconShape(4), std::runtime_error);
}

TEST(SkingenShapes, RoundedCornersKeepTheBackground) {
  Image im(20, 12);
  im.Fill({0, 0, 20, 12}, Rgb{0, 0, 255});
  im.RoundBox({0, 0, 20, 12}, 4, Rgb{255, 255, 255}, Rgb{255, 255, 255});
  EXPECT_EQ(im.At(0, 0).b, 255);   // the corner stays background
  EXPECT_EQ(im.At(0, 0).r, 0);
  EXPECT_EQ(im.At(10, 6).r, 255);  // the middle is filled
  EXPECT_EQ(im.At(10, 0).r, 255);  // straight edges are not softened
  const Rgb edge = im.At(1, 1);
  EXPECT_GT(edge.r, 0);  // the curve is anti-aliased
  EXPECT_LT(edge.r, 255);
  EXPECT_LT(RoundBoxDistance({0, 0, 20, 12}, 4, 10, 6), 0);
  EXPECT_GT(RoundBoxDistance({0, 0, 20, 12}, 4, 0.2, 0.2), 0);
}

TEST(SkingenSkins, BuildingTwiceGivesTheSameSkin) {
  const SkinSpec spec = Skin1Spec();
  SkinBuilder a(spec.theme), b(spec.theme);
  BuildSkin(spec, a);
  BuildSkin(spec, b);
  EXPECT_EQ(a.ini.Text(), b.ini.Text());
  ASSERT_EQ(a.pics.size(), b.pics.size());
  for (size_t i = 0; i < a.pics.size(); ++i) {
    ASSERT_EQ(a.pics[i].used.size(), b.pics[i].used.size());
    const Image& x = a.pics[i].img;
    const Image& y = b.pics[i].img;
    bool same = true;
    for (int r = 0; r < x.H() && same; ++r)
      for (int c = 0; c < x.W() && same; ++c) same = x.At(c, r).r == y.At(c, r).r && x.AlphaAt(c, r) == y.AlphaAt(c, r);
    EXPECT_TRUE(same) << i;
  }
}

}  // namespace
