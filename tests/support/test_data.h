// Public test suites beside the checkout (BMP Suite, PngSuite) and their reference renderings,
// read with libpng into 8-bit RGBA.
#pragma once

#include <png.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace testdata {

// The folder CMake found ("" when the suites are not there).
inline std::string Dir() {
#ifdef LUMOA_TESTDATA_DIR
  return LUMOA_TESTDATA_DIR;
#else
  return "";
#endif
}

inline std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

struct Rgba {
  int Width = 0;
  int Height = 0;
  std::vector<uint8_t> Pixels;  // red, green, blue, alpha; rows top-down
  const uint8_t* At(int x, int y) const { return Pixels.data() + (size_t(y) * Width + x) * 4; }
};

// Any PNG as 8-bit RGBA: palettes and low depths expanded, keys to alpha, 16-bit samples
// rounded to 8 bits (or their high bytes kept), no gamma applied. False when libpng refuses
// the file.
enum class Sixteen { Round, HighByte };
inline bool ReadRgba(const std::string& path, Rgba& out, Sixteen sixteen = Sixteen::Round) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  bool ok = false;
  std::vector<png_bytep> rows;
  if (setjmp(png_jmpbuf(png)) == 0) {
    png_init_io(png, f);
    png_read_info(png, info);
    png_set_expand(png);
    if (sixteen == Sixteen::Round) {
      png_set_scale_16(png);
    } else {
      png_set_strip_16(png);
    }
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    out.Width = static_cast<int>(png_get_image_width(png, info));
    out.Height = static_cast<int>(png_get_image_height(png, info));
    out.Pixels.assign(size_t(out.Width) * out.Height * 4, 0);
    for (int y = 0; y < out.Height; ++y) rows.push_back(out.Pixels.data() + size_t(y) * out.Width * 4);
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    ok = true;
  }
  png_destroy_read_struct(&png, &info, nullptr);
  std::fclose(f);
  return ok;
}

}  // namespace testdata
