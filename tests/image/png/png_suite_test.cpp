// The public PngSuite: every valid image decodes to what libpng reads from it (our gamma
// table applied to its samples), transparency included; every corrupt one is refused.
#include <gtest/gtest.h>

#include <filesystem>

#include "image/png/png_ancillary.h"
#include "image/png/png_image.h"
#include "support/test_data.h"

using namespace lumoa::png;

namespace {

namespace fs = std::filesystem;

std::string SuiteDir() { return testdata::Dir().empty() ? "" : testdata::Dir() + "/pngsuite"; }

bool Load(TksPngImage& img, const std::string& path) {
  const std::vector<uint8_t> bytes = testdata::ReadFile(path);
  TConstMemoryStream s(bytes.data(), static_cast<int64_t>(bytes.size()));
  img.LoadFromStream(s);
  // Loading ran to the end chunk: nothing failed on the way.
  return !img.Empty() && img.Chunks().Item(img.Chunks().Count() - 1)->ChunkType() == "IEND";
}

// The alpha a pixel is drawn with.
int Alpha(const TksPngImage& img, int x, int y) {
  const TksPngLayerIHDR* h = img.Header();
  if (const uint8_t* a = img.AlphaScanline(y)) return a[x];
  if (h->ColorType == kPalette) {
    const auto* trns = img.Chunks().Find<TksPngLayertRNS>();
    if (!trns) return 255;
    const uint8_t* row = img.Scanline(y);
    const int bpp = h->BitsPerPixel();
    const int index = bpp == 8 ? row[x]
                      : bpp == 4 ? (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF
                                 : (row[x >> 3] >> (7 - (x & 7))) & 1;
    return trns->PaletteValues[index];
  }
  return img.KeyTransparent(x, y) ? 0 : 255;
}

std::vector<std::string> SuiteFiles() {
  std::vector<std::string> files;
  for (const auto& e : fs::directory_iterator(SuiteDir())) {
    if (e.path().extension() == ".png") files.push_back(e.path().filename().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

class PngSuite : public ::testing::Test {
 protected:
  void SetUp() override {
    if (SuiteDir().empty() || !fs::exists(SuiteDir())) {
      GTEST_SKIP() << "PngSuite is not beside the checkout (shared/testdata/pngsuite)";
    }
  }
};

}  // namespace

TEST_F(PngSuite, EveryValidImageDecodesAsLibpngReadsIt) {
  int checked = 0;
  for (const std::string& name : SuiteFiles()) {
    if (name[0] == 'x') continue;
    SCOPED_TRACE(name);
    TksPngImage img;
    ASSERT_TRUE(Load(img, SuiteDir() + "/" + name));
    testdata::Rgba ref;
    ASSERT_TRUE(testdata::ReadRgba(SuiteDir() + "/" + name, ref, testdata::Sixteen::HighByte));
    ASSERT_EQ(img.Width(), ref.Width);
    ASSERT_EQ(img.Height(), ref.Height);
    const uint8_t* gamma = img.GammaTable();
    int wrong = 0;
    for (int y = 0; y < ref.Height; ++y) {
      for (int x = 0; x < ref.Width; ++x) {
        const uint8_t* r = ref.At(x, y);
        const COLORREF c = img.Pixels(x, y);
        const COLORREF expected = RGB(gamma[r[0]], gamma[r[1]], gamma[r[2]]);
        const int alpha = Alpha(img, x, y);
        if ((c != expected || alpha != r[3]) && wrong++ < 3) {
          ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << c << " alpha " << alpha
                        << ", libpng " << expected << " alpha " << int(r[3]);
        }
      }
    }
    EXPECT_EQ(wrong, 0);
    ++checked;
  }
  EXPECT_EQ(checked, 161);
}

TEST_F(PngSuite, ColourKeysCompareRawSamplesSoNoOpaquePixelTurnsTransparent) {
  // Samples next to the key (254 beside 255, or equal high bytes) stay opaque where a gamma
  // table or the 8-bit bitmap would merge them with it.
  for (const char* name : {"tbrn2c08.png", "tbbn2c16.png", "tbgn2c16.png", "tbwn0g16.png"}) {
    SCOPED_TRACE(name);
    TksPngImage img;
    ASSERT_TRUE(Load(img, SuiteDir() + "/" + name));
    ASSERT_EQ(img.TransparencyMode(), ptmBit);
    testdata::Rgba ref;
    ASSERT_TRUE(testdata::ReadRgba(SuiteDir() + "/" + name, ref, testdata::Sixteen::HighByte));
    int clear = 0, refClear = 0;
    for (int y = 0; y < img.Height(); ++y) {
      for (int x = 0; x < img.Width(); ++x) {
        clear += img.KeyTransparent(x, y);
        refClear += ref.At(x, y)[3] == 0;
      }
    }
    EXPECT_GT(refClear, 0);
    EXPECT_EQ(clear, refClear);
    // Drawn over white: the key's pixels keep the white, every other shows its colour.
    std::vector<uint8_t> surface(size_t(img.Width()) * img.Height() * 4, 0xFF);
    img.DrawToSurface(surface.data(), img.Width() * 4, img.Width(), img.Height(),
                      RECT{0, 0, img.Width(), img.Height()});
    int wrong = 0;
    for (int y = 0; y < img.Height(); ++y) {
      for (int x = 0; x < img.Width(); ++x) {
        const uint8_t* d = &surface[(size_t(y) * img.Width() + x) * 4];
        const COLORREF shown = ref.At(x, y)[3] == 0 ? RGB(255, 255, 255) : img.Pixels(x, y);
        wrong += RGB(d[2], d[1], d[0]) != shown;
      }
    }
    EXPECT_EQ(wrong, 0);
  }
}

TEST_F(PngSuite, EveryCorruptImageIsRefused) {
  int refused = 0;
  for (const std::string& name : SuiteFiles()) {
    if (name[0] != 'x') continue;
    SCOPED_TRACE(name);
    TksPngImage img;
    EXPECT_FALSE(Load(img, SuiteDir() + "/" + name));
    ++refused;
  }
  EXPECT_EQ(refused, 14);
  // No image data at all: nothing is left, not a blank picture.
  TksPngImage img;
  Load(img, SuiteDir() + "/xdtn0g01.png");
  EXPECT_TRUE(img.Empty());
}
