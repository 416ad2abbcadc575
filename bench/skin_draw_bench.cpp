// Pixel throughput of the skin drawing layer: the blend, plain and transparent copies and the
// nearest-pixel stretch over a full-HD bitmap (with pixman's equivalents as the reference when
// it is available), nine-part composition of a control and of a screen, the blur, and mask
// scanning.
#include <benchmark/benchmark.h>

#include <random>

#include "skin/draw/blend.h"
#include "skin/draw/compose.h"
#include "skin/draw/mask_region.h"
#include "skin/draw/pixel_copy.h"
#include "skin/draw/stack_blur.h"

#if defined(HAVE_PIXMANREF)
#include <pixman.h>
#endif

using namespace lumoa::skin;

namespace {

constexpr int kW = 1920, kH = 1080;

PixelBuffer Random(int w, int h, uint32_t seed, bool mixedAlpha) {
  PixelBuffer b(w, h);
  std::mt19937 rng(seed);
  for (int y = 0; y < h; ++y) {
    uint32_t* row = b.Map().Row32(y);
    for (int x = 0; x < w; ++x) {
      uint32_t v = rng();
      if (!mixedAlpha) v |= kAlphaMask;
      row[x] = v;
    }
  }
  return b;
}

void SetBytes(benchmark::State& state, int w, int h) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * w * h * 4);
}

void BM_BlendMmx(benchmark::State& state) {
  const PixelBuffer src = Random(kW, kH, 1, true);
  PixelBuffer dst = Random(kW, kH, 2, false);
  for (auto _ : state) {
    for (int y = 0; y < kH; ++y) BlendRowMmx(dst.Map().Row32(y), src.Map().Row32(y), kW);
    benchmark::ClobberMemory();
  }
  SetBytes(state, kW, kH);
}
BENCHMARK(BM_BlendMmx)->Unit(benchmark::kMicrosecond);

void BM_BlendPlain(benchmark::State& state) {
  const PixelBuffer src = Random(kW, kH, 1, true);
  PixelBuffer dst = Random(kW, kH, 2, false);
  for (auto _ : state) {
    for (int y = 0; y < kH; ++y) BlendRowPlain(dst.Map().Row32(y), src.Map().Row32(y), kW);
    benchmark::ClobberMemory();
  }
  SetBytes(state, kW, kH);
}
BENCHMARK(BM_BlendPlain)->Unit(benchmark::kMicrosecond);

void BM_CopyPlain(benchmark::State& state) {
  const PixelBuffer src = Random(kW, kH, 1, false);
  PixelBuffer dst(kW, kH);
  for (auto _ : state) {
    CopyRectPixels(dst.Map(), RECT{0, 0, kW, kH}, src.Map(), RECT{0, 0, kW, kH});
    benchmark::ClobberMemory();
  }
  SetBytes(state, kW, kH);
}
BENCHMARK(BM_CopyPlain)->Unit(benchmark::kMicrosecond);

void BM_CopyTransparent(benchmark::State& state) {
  PixelBuffer src = Random(kW, kH, 1, false);
  for (int y = 0; y < kH; y += 3)
    for (int x = 0; x < kW; x += 2) src.Map().Row32(y)[x] = kKeyColor;
  PixelBuffer dst(kW, kH);
  for (auto _ : state) {
    for (int y = 0; y < kH; ++y) TransparentCopyRow(dst.Map().Row32(y), src.Map().Row32(y), kW);
    benchmark::ClobberMemory();
  }
  SetBytes(state, kW, kH);
}
BENCHMARK(BM_CopyTransparent)->Unit(benchmark::kMicrosecond);

// Up from 1280 x 720 to full HD, as StretchBlt with COLORONCOLOR.
void BM_StretchNearest(benchmark::State& state) {
  const PixelBuffer src = Random(1280, 720, 1, false);
  PixelBuffer dst(kW, kH);
  for (auto _ : state) {
    CopyRectPixels(dst.Map(), RECT{0, 0, kW, kH}, src.Map(), RECT{0, 0, 1280, 720});
    benchmark::ClobberMemory();
  }
  SetBytes(state, kW, kH);
}
BENCHMARK(BM_StretchNearest)->Unit(benchmark::kMicrosecond);

#if defined(HAVE_PIXMANREF)
pixman_image_t* Wrap(const PixelBuffer& b) {
  return pixman_image_create_bits(PIXMAN_a8r8g8b8, b.Width(), b.Height(),
                                  reinterpret_cast<uint32_t*>(b.Map().bits), b.Map().pitch);
}

void BM_PixmanOver(benchmark::State& state) {
  PixelBuffer src = Random(kW, kH, 1, true);
  // Premultiply so pixman's OVER sees valid input.
  for (int y = 0; y < kH; ++y)
    for (uint32_t* p = src.Map().Row32(y); p < src.Map().Row32(y) + kW; ++p) {
      const uint32_t a = *p >> 24;
      *p = (*p & kAlphaMask) | (((*p >> 16 & 255) * a / 255) << 16) |
           (((*p >> 8 & 255) * a / 255) << 8) | ((*p & 255) * a / 255);
    }
  PixelBuffer dst = Random(kW, kH, 2, false);
  pixman_image_t* s = Wrap(src);
  pixman_image_t* d = Wrap(dst);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_OVER, s, nullptr, d, 0, 0, 0, 0, 0, 0, kW, kH);
    benchmark::ClobberMemory();
  }
  pixman_image_unref(s);
  pixman_image_unref(d);
  SetBytes(state, kW, kH);
}
BENCHMARK(BM_PixmanOver)->Unit(benchmark::kMicrosecond);

void BM_PixmanCopy(benchmark::State& state) {
  const PixelBuffer src = Random(kW, kH, 1, false);
  PixelBuffer dst(kW, kH);
  pixman_image_t* s = Wrap(src);
  pixman_image_t* d = Wrap(dst);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_SRC, s, nullptr, d, 0, 0, 0, 0, 0, 0, kW, kH);
    benchmark::ClobberMemory();
  }
  pixman_image_unref(s);
  pixman_image_unref(d);
  SetBytes(state, kW, kH);
}
BENCHMARK(BM_PixmanCopy)->Unit(benchmark::kMicrosecond);

void BM_PixmanStretchNearest(benchmark::State& state) {
  const PixelBuffer src = Random(1280, 720, 1, false);
  PixelBuffer dst(kW, kH);
  pixman_image_t* s = Wrap(src);
  pixman_image_t* d = Wrap(dst);
  pixman_transform_t t;
  pixman_transform_init_scale(&t, pixman_double_to_fixed(1280.0 / kW),
                              pixman_double_to_fixed(720.0 / kH));
  pixman_image_set_transform(s, &t);
  pixman_image_set_filter(s, PIXMAN_FILTER_NEAREST, nullptr, 0);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_SRC, s, nullptr, d, 0, 0, 0, 0, 0, 0, kW, kH);
    benchmark::ClobberMemory();
  }
  pixman_image_unref(s);
  pixman_image_unref(d);
  SetBytes(state, kW, kH);
}
BENCHMARK(BM_PixmanStretchNearest)->Unit(benchmark::kMicrosecond);
#endif

// A frame-like skin piece: 60 x 40 with 8-pixel borders, split points off the client corners.
struct Skin {
  PixelBuffer picture = Random(80, 50, 5, false);
  SkinGeometry g{RECT{10, 5, 70, 45}, POINT{10, 8}, POINT{50, 8}, POINT{10, 32}, POINT{50, 32},
                 RECT{8, 8, 52, 32}};
};

void ComposeBench(benchmark::State& state, int w, int h, bool stretch) {
  const Skin skin;
  const ResizedGeometry n = ResizeSkinGeometry(skin.g, w, h);
  const StretchModes m{stretch, stretch, stretch, stretch, stretch, stFull};
  PixelBuffer dest;
  for (auto _ : state) {
    ComposeSkinImage(skin.picture.Map(), skin.g, n, w, h, true, m, dest);
    benchmark::ClobberMemory();
  }
  SetBytes(state, w, h);
}

void BM_ComposeControlTiled(benchmark::State& s) { ComposeBench(s, 402, 55, false); }
void BM_ComposeControlStretched(benchmark::State& s) { ComposeBench(s, 402, 55, true); }
void BM_ComposeScreenTiled(benchmark::State& s) { ComposeBench(s, kW, kH, false); }
void BM_ComposeScreenStretched(benchmark::State& s) { ComposeBench(s, kW, kH, true); }
BENCHMARK(BM_ComposeControlTiled)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ComposeControlStretched)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ComposeScreenTiled)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ComposeScreenStretched)->Unit(benchmark::kMicrosecond);

void BM_StackBlur(benchmark::State& state) {
  const PixelBuffer original = Random(kW, kH, 3, false);
  PixelBuffer img = original;
  for (auto _ : state) {
    StackBlur(img.Map(), static_cast<int>(state.range(0)));
    benchmark::ClobberMemory();
  }
  SetBytes(state, kW, kH);
}
BENCHMARK(BM_StackBlur)->Arg(3)->Arg(10)->Unit(benchmark::kMillisecond);

// A mask with a black shape and white holes: about 8 runs per row.
void BM_MaskToRegionData(benchmark::State& state) {
  PixelBuffer mask(kW, kH, 3);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) mask.Set(x, y, ((x / 120 + y / 200) % 2) ? 0xFFFFFF : 0);
  size_t bytes = 0;
  for (auto _ : state) {
    const auto data = MaskToRegionData(mask.Map(), 0, 0);
    bytes = data.size();
    benchmark::DoNotOptimize(data.data());
  }
  state.counters["rects"] = static_cast<double>((bytes - 32) / 16);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * mask.Map().pitch * kH);
}
BENCHMARK(BM_MaskToRegionData)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
