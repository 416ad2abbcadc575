// The public BMP Suite through TBitmap: every good file and every questionable one we take
// decodes exactly as the suite's reference rendering shows; the rest is refused cleanly.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "support/test_data.h"
#include "ui/bitmap.h"
#include "ui/streams.h"

namespace {

namespace fs = std::filesystem;

std::string SuiteDir() { return testdata::Dir().empty() ? "" : testdata::Dir() + "/bmpsuite"; }

// Questionable files that ask for what no skin picture needs.
const std::set<std::string> kRefusedQuestionable = {
    "q/pal1huffmsb.bmp",  // OS/2 Huffman coding
    "q/rgb24jpeg.bmp",    // embedded JPEG
    "q/rgb24png.bmp",     // embedded PNG
    "q/rgb24rle24.bmp",   // OS/2 24-bit RLE
    "q/rgba64.bmp",       // 64-bit pixels
};

// Questionable files decoded but not to the last level: the tolerance per channel (-1: the
// colours are not compared).
const std::map<std::string, int> kTolerance = {
    {"q/rgb24prof2.bmp", -1},    // its colour profile moves the channels; profiles are not applied
    {"q/rgb32-111110.bmp", 1},   // the reference is the 8-bit source of its 11-bit samples
};

// The rendering to compare with: the map's, except where the suite offers several. Pixels an
// RLE code skips keep colour index 0 (the "-0" renderings); a non-square image is compared
// pixel for pixel (the "-e" rendering) rather than stretched.
std::map<std::string, std::string> References() {
  std::map<std::string, std::string> refs;
  std::ifstream map(SuiteDir() + "/ref/map.txt");
  std::string bmp, png;
  while (map >> bmp >> png) refs[bmp] = png;
  for (const char* name : {"pal4rletrns", "pal4rlecut", "pal8rletrns", "pal8rlecut"}) {
    refs["q/" + std::string(name) + ".bmp"] = std::string(name) + "-0.png";
  }
  refs["g/pal8nonsquare.bmp"] = "pal8nonsquare-e.png";
  return refs;
}

std::vector<std::string> Files(const std::string& folder) {
  std::vector<std::string> files;
  for (const auto& e : fs::directory_iterator(SuiteDir() + "/" + folder)) {
    if (e.path().extension() == ".bmp") files.push_back(folder + "/" + e.path().filename().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// Pixel by pixel against the reference: colour where the reference is not fully transparent,
// alpha too when the reference has any.
void ExpectLikeReference(const std::string& file, const std::string& reference,
                         int tolerance = 0) {
  SCOPED_TRACE(file + " vs " + reference);
  testdata::Rgba ref;
  ASSERT_TRUE(testdata::ReadRgba(SuiteDir() + "/ref/" + reference, ref));
  const std::vector<uint8_t> bytes = testdata::ReadFile(SuiteDir() + "/" + file);
  TConstMemoryStream s(bytes.data(), static_cast<int64_t>(bytes.size()));
  TBitmap b;
  ASSERT_NO_THROW(b.LoadFromStream(s));
  ASSERT_EQ(b.Width(), ref.Width);
  ASSERT_EQ(b.Height(), ref.Height);
  bool refAlpha = false;
  for (size_t i = 3; i < ref.Pixels.size(); i += 4) refAlpha |= ref.Pixels[i] != 255;
  if (refAlpha) {
    ASSERT_EQ(b.BitsPerPixel(), 32);
  }
  int wrong = 0;
  for (int y = 0; y < ref.Height; ++y) {
    for (int x = 0; x < ref.Width; ++x) {
      const uint8_t* r = ref.At(x, y);
      const COLORREF c = b.PixelRGB(x, y);
      const auto near = [&](int ours, int theirs) { return std::abs(ours - theirs) <= tolerance; };
      const bool colourOk = r[3] == 0 || tolerance < 0 ||
                            (near(GetRValue(c), r[0]) && near(GetGValue(c), r[1]) &&
                             near(GetBValue(c), r[2]));
      const bool alphaOk = !refAlpha || b.ScanLine(y)[4 * x + 3] == r[3];
      if ((!colourOk || !alphaOk) && wrong++ < 3) {
        ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << c << " alpha "
                      << int(refAlpha ? b.ScanLine(y)[4 * x + 3] : 255) << ", reference "
                      << RGB(r[0], r[1], r[2]) << " alpha " << int(r[3]);
      }
    }
  }
  EXPECT_EQ(wrong, 0);
}

void ExpectRefused(const std::string& file) {
  SCOPED_TRACE(file);
  const std::vector<uint8_t> bytes = testdata::ReadFile(SuiteDir() + "/" + file);
  TConstMemoryStream s(bytes.data(), static_cast<int64_t>(bytes.size()));
  TBitmap b(3, 2, pf24bit);
  try {
    b.LoadFromStream(s);
    ADD_FAILURE() << "accepted";
  } catch (const EInvalidGraphic& e) {
    EXPECT_NE(e.Message().find("Bitmap image is not valid: "), AnsiString::npos) << e.Message();
  } catch (const EReadError& e) {
    EXPECT_NE(e.Message().find("Bitmap image is truncated"), AnsiString::npos) << e.Message();
  }
  EXPECT_EQ(s.Position(), 0);
  EXPECT_EQ(b.Width(), 3);
  EXPECT_EQ(b.PixelFormat(), pf24bit);
}

class BmpSuite : public ::testing::Test {
 protected:
  void SetUp() override {
    if (SuiteDir().empty() || !fs::exists(SuiteDir() + "/ref/map.txt")) {
      GTEST_SKIP() << "the BMP Suite is not beside the checkout (shared/testdata/bmpsuite)";
    }
  }
};

}  // namespace

TEST_F(BmpSuite, EveryGoodFileDecodesAsItsReferenceShows) {
  const auto refs = References();
  const std::vector<std::string> good = Files("g");
  EXPECT_EQ(good.size(), 27u);
  for (const std::string& file : good) {
    ASSERT_TRUE(refs.count(file)) << file;
    ExpectLikeReference(file, refs.at(file));
  }
}

TEST_F(BmpSuite, QuestionableFilesDecodeAsTheirReferencesOrAreRefused) {
  const auto refs = References();
  for (const std::string& file : Files("q")) {
    if (kRefusedQuestionable.count(file)) {
      ExpectRefused(file);
      continue;
    }
    ASSERT_TRUE(refs.count(file)) << file;
    const auto tolerance = kTolerance.find(file);
    ExpectLikeReference(file, refs.at(file), tolerance == kTolerance.end() ? 0 : tolerance->second);
  }
}

TEST_F(BmpSuite, EveryBadFileIsRefusedAndChangesNothing) {
  const std::vector<std::string> bad = Files("b");
  EXPECT_EQ(bad.size(), 20u);
  for (const std::string& file : bad) ExpectRefused(file);
  for (const std::string& file : Files("x")) ExpectRefused(file);
}
