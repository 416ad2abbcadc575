#include "image/png_storage/png_view_fixture.h"

#include <filesystem>

#include "ui/bitmap.h"

namespace pngstore::test {

namespace {

void WriteScaled(const std::string& path, const std::vector<uint32_t>& rgb, int w, int h, int scale) {
  TBitmap bmp(w * scale, h * scale, pf24bit);
  for (int y = 0; y < h * scale; ++y) {
    uint8_t* row = bmp.ScanLine(y);
    for (int x = 0; x < w * scale; ++x) {
      const uint32_t c = rgb[static_cast<size_t>(y / scale) * w + x / scale];
      row[x * 3] = c & 255, row[x * 3 + 1] = (c >> 8) & 255, row[x * 3 + 2] = (c >> 16) & 255;
    }
  }
  TksPngImage png;
  png.Assign(&bmp);
  png.SaveToFile(path);
}

}  // namespace

void PngViewTest::SaveShot(const std::string& name, const TRect& r) {
  const std::filesystem::path dir = LUMOA_SHOTS_DIR;
  std::filesystem::create_directories(dir);
  const int w = r.right - r.left, h = r.bottom - r.top;
  std::vector<uint32_t> rgb(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) rgb[static_cast<size_t>(y) * w + x] = Pixel(r.left + x, r.top + y);
  WriteScaled((dir / (name + ".png")).string(), rgb, w, h, 1);
  WriteScaled((dir / (name + "_x4.png")).string(), rgb, w, h, 4);
}

}  // namespace pngstore::test
