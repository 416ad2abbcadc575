#include "skin/draw/blend.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "skin/draw/stack_blur.h"
#include "test_pictures.h"

namespace lumoa::skin {
namespace {

TEST(Blend, BlackHalfAlphaOverWhiteDiffersBetweenPaths) {
  const uint32_t white = 0xFFFFFFFF, black128 = 0x80000000;
  const uint32_t mmx = BlendPixelMmx(white, black128);
  EXPECT_EQ(mmx & 0xFFFFFF, 0x7F7F7Fu);
  EXPECT_EQ(mmx >> 24, (128u * 128 + 128 * 255) / 256);
  EXPECT_EQ(BlendPixelPlain(white, black128), 0xFF7E7E7Eu);
  for (auto path : {BlendPath::Mmx, BlendPath::Plain}) {
    const BlendPath saved = ActiveBlendPath();
    SetBlendPath(path);
    uint32_t d = white;
    BlendRow(&d, &black128, 1);
    EXPECT_EQ(d, path == BlendPath::Mmx ? mmx : 0xFF7E7E7Eu);
    SetBlendPath(saved);
  }
}

TEST(Blend, ZeroAlphaKeepsAndFullAlphaCopiesOnBothPaths) {
  const uint32_t d = 0x12345678, clear = 0x00ABCDEF, opaque = 0xFF010203;
  EXPECT_EQ(BlendPixelMmx(d, clear), d);
  EXPECT_EQ(BlendPixelPlain(d, clear), d);
  EXPECT_EQ(BlendPixelMmx(d, opaque), opaque);
  EXPECT_EQ(BlendPixelPlain(d, opaque), opaque);
}

// The vector row must equal the formula byte for byte, for every alpha, in every lane position
// and for the scalar tail.
TEST(Blend, MmxRowEqualsFormulaForRandomPixels) {
  std::mt19937 rng(7);
  for (int count : {1, 3, 4, 5, 17, 1000}) {
    std::vector<uint32_t> src(count), dst(count), expect(count);
    for (int i = 0; i < count; ++i) {
      src[i] = rng();
      dst[i] = rng();
      const int pick = rng() % 4;
      if (pick == 0) src[i] &= 0x00FFFFFF;
      if (pick == 1) src[i] |= 0xFF000000;
      const uint32_t a = src[i] >> 24;
      if (a == 0) {
        expect[i] = dst[i];
      } else if (a == 255) {
        expect[i] = src[i];
      } else {
        uint32_t v = 0;
        for (int sh = 0; sh < 32; sh += 8)
          v |= ((a * ((src[i] >> sh) & 255) + (256 - a) * ((dst[i] >> sh) & 255)) / 256) << sh;
        expect[i] = v;
      }
    }
    BlendRowMmx(dst.data(), src.data(), count);
    EXPECT_EQ(dst, expect) << "count " << count;
  }
  // All four pixels of a vector transparent / opaque take the shortcuts.
  std::vector<uint32_t> s(4, 0x00112233), d(4, 0xFF445566);
  BlendRowMmx(d.data(), s.data(), 4);
  EXPECT_EQ(d[3], 0xFF445566u);
  s.assign(4, 0xFF112233);
  BlendRowMmx(d.data(), s.data(), 4);
  EXPECT_EQ(d[2], 0xFF112233u);
}

TEST(Blend, ProbeChoosesMmxOnX86) {
#if defined(__x86_64__)
  EXPECT_TRUE(ProcessorHasMmx());
#endif
  EXPECT_EQ(ActiveBlendPath(), ProcessorHasMmx() ? BlendPath::Mmx : BlendPath::Plain);
}

TEST(Blend, TransparentCopySkipsKeyWhateverItsAlpha) {
  // Nine pixels: a mixed group of four, an all-keyed group of four and a scalar tail.
  const uint32_t src[9] = {0x007F007F, 0xFF7F007F, 0x00102030, 0x807F0080, 0x7F007F,
                           0x107F007F, 0x7F007F,   0xFF7F007F, 0x00112233};
  uint32_t dst[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  TransparentCopyRow(dst, src, 9);
  const uint32_t expect[9] = {1, 2, 0xFF102030, 0xFF7F0080, 5, 6, 7, 8, 0xFF112233};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(dst[i], expect[i]) << i;
}

// Direct weighted sums with clamped indices, one pass at a time, as the reference.
PixelBuffer BlurReference(const PixelBuffer& in, int r) {
  PixelBuffer a = in, b = in;
  const int w = in.Width(), h = in.Height(), div = (r + 1) * (r + 1);
  auto pass = [&](const PixelBuffer& from, PixelBuffer& to, bool horizontal) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        uint32_t out = 0xFF000000;
        for (int c = 0; c < 3; ++c) {
          int sum = 0;
          for (int k = -r; k <= r; ++k) {
            const int px = horizontal ? std::clamp(x + k, 0, w - 1) : x;
            const int py = horizontal ? y : std::clamp(y + k, 0, h - 1);
            sum += (r + 1 - std::abs(k)) * ((from.Get(px, py) >> (8 * c)) & 255);
          }
          out |= static_cast<uint32_t>(sum / div) << (8 * c);
        }
        to.Set(x, y, out);
      }
  };
  pass(in, a, true);
  pass(a, b, false);
  return b;
}

TEST(StackBlur, RunningSumsMatchDirectWeightedSums) {
  std::mt19937 rng(3);
  for (auto [w, h] : {std::pair{9, 7}, std::pair{4, 13}, std::pair{40, 3}})
    for (int r : {1, 2, 3, 6}) {
      PixelBuffer img(w, h);
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.Set(x, y, rng());
      const PixelBuffer expect = BlurReference(img, r);
      StackBlur(img.Map(), r);
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
          ASSERT_EQ(img.Get(x, y), expect.Get(x, y)) << w << "x" << h << " r" << r << " " << x << "," << y;
    }
}

TEST(StackBlur, NonPositiveRadiusChangesNothing) {
  PixelBuffer img = test::Numbered(4, 4);
  img.Set(1, 1, 0x10203040);
  StackBlur(img.Map(), 0);
  StackBlur(img.Map(), -2);
  EXPECT_EQ(img.Get(1, 1), 0x10203040u);
}

TEST(AlphaFromMask, AlphaIsRoundedMeanOfMaskColour) {
  PixelBuffer img(3, 1), mask(3, 1, 3);
  img.Fill(0x00112233);
  mask.Set(0, 0, 0x000002);  // 2/3 rounds to 1
  mask.Set(1, 0, 0x000001);  // 1/3 rounds to 0
  mask.Set(2, 0, 0xFFFFFF);
  AlphaFromMask(img.Map(), mask.Map());
  EXPECT_EQ(img.Get(0, 0), 0x01112233u);
  EXPECT_EQ(img.Get(1, 0), 0x00112233u);
  EXPECT_EQ(img.Get(2, 0), 0xFF112233u);
}

}  // namespace
}  // namespace lumoa::skin
