// PNG decode against libpng and libspng on the same files, and the time zlib's inflate alone
// takes on them (its share of the decode).
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstring>
#include <random>
#include <vector>

#include "image/png/png_image.h"

#ifdef HAVE_PNGREF
#include <png.h>
#endif
#ifdef HAVE_SPNGREF
#include <spng.h>
#endif

namespace {

// A photo-like RGBA picture: smooth gradients with noise and a soft alpha edge.
std::vector<uint8_t> MakeFile(int w, int h, int interlace) {
  TksPngImage img;
  img.InterlaceMethod = static_cast<uint8_t>(interlace);
  img.CreateBlank(6, 8, w, h);
  std::mt19937 rng(42);
  for (int y = 0; y < h; ++y) {
    uint8_t* row = img.Scanline(y);
    uint8_t* alpha = img.AlphaScanline(y);
    for (int x = 0; x < w; ++x) {
      const int n = static_cast<int>(rng() % 9) - 4;
      row[x * 3] = static_cast<uint8_t>((x * 255 / w + n) & 0xFF);
      row[x * 3 + 1] = static_cast<uint8_t>((y * 255 / h + n) & 0xFF);
      row[x * 3 + 2] = static_cast<uint8_t>(((x + y) * 128 / (w + h) + n) & 0xFF);
      alpha[x] = static_cast<uint8_t>(std::min(255, (x + y) * 4));
    }
  }
  img.Filters = {pfSub, pfUp, pfPaeth};
  img.CompressionLevel = 6;
  TMemoryStream s;
  img.SaveToStream(s);
  const auto* p = static_cast<const uint8_t*>(s.Memory());
  return std::vector<uint8_t>(p, p + s.Size());
}

const std::vector<uint8_t>& File(int which) {
  static const std::vector<uint8_t> files[3] = {MakeFile(1920, 1080, 0), MakeFile(1920, 1080, 1),
                                                MakeFile(55, 55, 1)};
  return files[which];
}
const char* kNames[3] = {"1920x1080", "1920x1080_adam7", "55x55_adam7"};

void BM_Lumoa(benchmark::State& state) {
  const auto& f = File(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    TksPngImage img;
    TConstMemoryStream s(f.data(), static_cast<int64_t>(f.size()));
    img.LoadFromStream(s);
    benchmark::DoNotOptimize(img.Scanline(0));
  }
  state.SetLabel(kNames[state.range(0)]);
}
BENCHMARK(BM_Lumoa)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// zlib alone on the concatenated IDAT data: the floor of any decoder.
void BM_InflateOnly(benchmark::State& state) {
  const auto& f = File(static_cast<int>(state.range(0)));
  std::vector<uint8_t> packed;
  for (size_t at = 8; at + 8 <= f.size();) {
    const uint32_t len = (f[at] << 24) | (f[at + 1] << 16) | (f[at + 2] << 8) | f[at + 3];
    if (std::memcmp(&f[at + 4], "IDAT", 4) == 0) packed.insert(packed.end(), &f[at + 8], &f[at + 8] + len);
    at += 12 + size_t{len};
  }
  std::vector<uint8_t> out(64u << 20);
  for (auto _ : state) {
    uLongf size = out.size();
    uncompress(out.data(), &size, packed.data(), packed.size());
    benchmark::DoNotOptimize(out.data());
  }
  state.SetLabel(kNames[state.range(0)]);
}
BENCHMARK(BM_InflateOnly)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

#ifdef HAVE_PNGREF
struct Reader {
  const std::vector<uint8_t>* data;
  size_t pos;
};
void OnRead(png_structp png, png_bytep out, png_size_t size) {
  auto* r = static_cast<Reader*>(png_get_io_ptr(png));
  if (r->pos + size > r->data->size()) png_error(png, "eof");
  std::memcpy(out, r->data->data() + r->pos, size);
  r->pos += size;
}

void BM_Libpng(benchmark::State& state) {
  const auto& f = File(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    Reader r{&f, 0};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
      png_destroy_read_struct(&png, &info, nullptr);
      state.SkipWithError("libpng failed");
      break;
    }
    png_set_read_fn(png, &r, OnRead);
    png_read_info(png, info);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const size_t rb = png_get_rowbytes(png, info);
    const int h = static_cast<int>(png_get_image_height(png, info));
    std::vector<uint8_t> pixels(rb * h);
    std::vector<png_bytep> rows(h);
    for (int y = 0; y < h; ++y) rows[y] = pixels.data() + rb * y;
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    benchmark::DoNotOptimize(pixels.data());
  }
  state.SetLabel(kNames[state.range(0)]);
}
BENCHMARK(BM_Libpng)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
#endif

#ifdef HAVE_SPNGREF
void BM_Libspng(benchmark::State& state) {
  const auto& f = File(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    spng_ctx* ctx = spng_ctx_new(0);
    spng_set_png_buffer(ctx, f.data(), f.size());
    size_t size = 0;
    spng_decoded_image_size(ctx, SPNG_FMT_PNG, &size);
    std::vector<uint8_t> out(size);
    if (spng_decode_image(ctx, out.data(), size, SPNG_FMT_PNG, 0) != 0) state.SkipWithError("spng failed");
    spng_ctx_free(ctx);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetLabel(kNames[state.range(0)]);
}
BENCHMARK(BM_Libspng)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
#endif

}  // namespace

BENCHMARK_MAIN();
