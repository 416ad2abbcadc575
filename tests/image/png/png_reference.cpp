#include "png_reference.h"

#include <png.h>

#include <cstring>
#include <random>

namespace pngtest {

size_t RawRowBytes(const RefImage& img) {
  const int channels = img.color_type == 2 ? 3 : img.color_type == 4 ? 2 : img.color_type == 6 ? 4 : 1;
  return (static_cast<size_t>(img.width) * channels * img.depth + 7) / 8;
}

uint32_t RawSample(const RefImage& img, const std::vector<uint8_t>& row, int x, int c) {
  const int channels = img.color_type == 2 ? 3 : img.color_type == 4 ? 2 : img.color_type == 6 ? 4 : 1;
  const size_t index = static_cast<size_t>(x) * channels + c;
  if (img.depth == 16) return (row[index * 2] << 8) | row[index * 2 + 1];
  if (img.depth == 8) return row[index];
  const size_t bit = index * img.depth;
  return (row[bit / 8] >> (8 - img.depth - bit % 8)) & ((1u << img.depth) - 1);
}

void FillRandom(RefImage& img, uint32_t seed) {
  std::mt19937 rng(seed);
  img.rows.assign(img.height, std::vector<uint8_t>(RawRowBytes(img)));
  for (auto& row : img.rows)
    for (auto& b : row) b = static_cast<uint8_t>(rng());
  // Runs of repeated pixels so that the filters and deflate have something to find.
  if (img.height > 2) img.rows[1] = img.rows[0];
  if (img.color_type == 3) {
    img.palette.resize(3u << img.depth);
    for (auto& b : img.palette) b = static_cast<uint8_t>(rng());
  }
}

namespace {

void OnWrite(png_structp png, png_bytep data, png_size_t size) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + size);
}
void OnFlush(png_structp) {}

struct Reader {
  const std::vector<uint8_t>* data;
  size_t pos = 0;
};
void OnRead(png_structp png, png_bytep out, png_size_t size) {
  auto* r = static_cast<Reader*>(png_get_io_ptr(png));
  if (r->pos + size > r->data->size()) png_error(png, "read past end");
  std::memcpy(out, r->data->data() + r->pos, size);
  r->pos += size;
}
void OnError(png_structp png, png_const_charp msg) {
  *static_cast<std::string*>(png_get_error_ptr(png)) = msg;
  png_longjmp(png, 1);
}
void OnWarning(png_structp, png_const_charp) {}

}  // namespace

std::vector<uint8_t> WritePng(const RefImage& img) {
  std::vector<uint8_t> out;
  std::string error;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, OnError, OnWarning);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return {};
  }
  png_set_write_fn(png, &out, OnWrite, OnFlush);
  if (img.idat_size) png_set_compression_buffer_size(png, img.idat_size);
  png_set_IHDR(png, info, img.width, img.height, img.depth, img.color_type,
               img.interlace ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_filter(png, 0, PNG_ALL_FILTERS);
  std::vector<png_color> pal;
  for (size_t i = 0; i + 2 < img.palette.size(); i += 3)
    pal.push_back(png_color{img.palette[i], img.palette[i + 1], img.palette[i + 2]});
  if (!pal.empty()) png_set_PLTE(png, info, pal.data(), static_cast<int>(pal.size()));
  if (!img.trns.empty()) {
    if (img.color_type == 3) {
      png_set_tRNS(png, info, img.trns.data(), static_cast<int>(img.trns.size()), nullptr);
    } else {
      png_color_16 key{};
      auto be = [&](size_t i) { return static_cast<png_uint_16>((img.trns[i] << 8) | img.trns[i + 1]); };
      if (img.color_type == 0) key.gray = be(0);
      else key.red = be(0), key.green = be(2), key.blue = be(4);
      png_set_tRNS(png, info, nullptr, 0, &key);
    }
  }
  if (img.gamma) png_set_gAMA_fixed(png, info, img.gamma);
  if (img.chrm) png_set_cHRM_fixed(png, info, 31270, 32900, 64000, 33000, 30000, 60000, 15000, 6000);
  std::vector<png_text> texts;
  if (!img.text_key.empty())
    texts.push_back(png_text{PNG_TEXT_COMPRESSION_NONE, const_cast<char*>(img.text_key.c_str()),
                             const_cast<char*>(img.text.c_str()), img.text.size(), 0, nullptr, nullptr});
  if (!img.ztext_key.empty())
    texts.push_back(png_text{PNG_TEXT_COMPRESSION_zTXt, const_cast<char*>(img.ztext_key.c_str()),
                             const_cast<char*>(img.ztext.c_str()), img.ztext.size(), 0, nullptr, nullptr});
  if (!texts.empty()) png_set_text(png, info, texts.data(), static_cast<int>(texts.size()));
  png_unknown_chunk unknown{};
  if (img.unknown_chunk) {
    std::memcpy(unknown.name, "prVt", 5);
    static uint8_t payload[5] = {1, 2, 3, 4, 5};
    unknown.data = payload;
    unknown.size = sizeof payload;
    unknown.location = PNG_HAVE_PLTE;
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_ALWAYS, nullptr, 0);
    png_set_unknown_chunks(png, info, &unknown, 1);
  }
  png_write_info(png, info);
  std::vector<png_bytep> rows;
  for (auto& r : img.rows) rows.push_back(const_cast<png_bytep>(r.data()));
  png_write_image(png, rows.data());
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return out;
}

bool ReadPng(const std::vector<uint8_t>& file, RefImage& out, std::string& error) {
  Reader reader{&file};
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &error, OnError, OnWarning);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_set_read_fn(png, &reader, OnRead);
  png_read_info(png, info);
  out.width = static_cast<int>(png_get_image_width(png, info));
  out.height = static_cast<int>(png_get_image_height(png, info));
  out.depth = png_get_bit_depth(png, info);
  out.color_type = png_get_color_type(png, info);
  out.interlace = png_get_interlace_type(png, info) != PNG_INTERLACE_NONE;
  if (out.interlace) png_set_interlace_handling(png);
  png_read_update_info(png, info);
  out.rows.assign(out.height, std::vector<uint8_t>(png_get_rowbytes(png, info)));
  std::vector<png_bytep> rows;
  for (auto& r : out.rows) rows.push_back(r.data());
  png_read_image(png, rows.data());
  png_colorp pal = nullptr;
  int count = 0;
  out.palette.clear();
  if (png_get_PLTE(png, info, &pal, &count))
    for (int i = 0; i < count; ++i) out.palette.insert(out.palette.end(), {pal[i].red, pal[i].green, pal[i].blue});
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

}  // namespace pngtest
