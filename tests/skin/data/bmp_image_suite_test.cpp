// The package's picture framing against the public BMP Suite: it never holds an image the
// bitmap refuses, and the import turns every file the bitmap reads into one it holds.
#include "skin/data/bmp_image.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "skin/data/compressed_skin.h"
#include "support/test_data.h"
#include "ui/bitmap.h"
#include "ui/streams.h"

namespace {

namespace fs = std::filesystem;

bool BitmapTakes(const uint8_t* data, size_t size, TBitmap& bitmap) {
  TConstMemoryStream s(data, static_cast<int64_t>(size));
  try {
    bitmap.LoadFromStream(s);
    return true;
  } catch (const Exception&) {
    return false;
  }
}

bool SamePixels(const TBitmap& a, const TBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y) {
    for (int x = 0; x < a.Width(); ++x) {
      if (a.PixelRGB(x, y) != b.PixelRGB(x, y)) return false;
    }
  }
  return true;
}

}  // namespace

TEST(BmpImageSuite, PackageHoldsOnlyWhatTheBitmapTakesAndImportConvertsTheRest) {
  const std::string dir = testdata::Dir().empty() ? "" : testdata::Dir() + "/bmpsuite";
  if (dir.empty() || !fs::exists(dir)) GTEST_SKIP() << "the BMP Suite is not beside the checkout";
  int held = 0, converted = 0, refused = 0;
  for (const char* folder : {"g", "q", "b", "x"}) {
    for (const auto& e : fs::directory_iterator(dir + "/" + folder)) {
      const std::string path = e.path().string();
      SCOPED_TRACE(path);
      const std::vector<uint8_t> bytes = testdata::ReadFile(path);
      TBitmap direct;
      const bool bitmapTakes = BitmapTakes(bytes.data(), bytes.size(), direct);
      bool packageHolds = false;
      try {
        const size_t length = TksBmpImage::Measure(bytes.data(), bytes.size());
        packageHolds = true;
        TBitmap framed;
        EXPECT_TRUE(BitmapTakes(bytes.data(), length, framed));
        EXPECT_TRUE(SamePixels(framed, direct));
      } catch (const EStreamError&) {
      } catch (const EInvalidGraphic&) {
      }
      if (packageHolds) {
        EXPECT_TRUE(bitmapTakes);
        ++held;
        continue;
      }
      if (!bitmapTakes) {
        EXPECT_THROW(LoadSkinPicture(path), Exception);
        ++refused;
        continue;
      }
      // The import stores another layout as the bitmap saves it: the same pixels.
      const TksBmpImage image = LoadSkinPicture(path);
      EXPECT_EQ(TksBmpImage::Measure(image.Bytes().data(), image.Bytes().size()),
                image.Bytes().size());
      TBitmap stored;
      ASSERT_TRUE(BitmapTakes(image.Bytes().data(), image.Bytes().size(), stored));
      EXPECT_TRUE(SamePixels(stored, direct));
      ++converted;
    }
  }
  // Plain 40-byte layouts are held as they are; RLE, OS/2, bit fields and larger headers are
  // converted; the bad files and the unsupported codings are refused.
  EXPECT_GT(held, 15);
  EXPECT_GT(converted, 25);
  EXPECT_GT(refused, 20);
}
