#include "skin/draw/mask_region.h"

#include <gtest/gtest.h>

#include <cstring>

namespace lumoa::skin {
namespace {

int32_t IntAt(const std::vector<BYTE>& d, size_t at) {
  int32_t v;
  std::memcpy(&v, d.data() + at, 4);
  return v;
}

// Builds a 24-bit mask from rows of '#' (black, inside) and '.' (white).
PixelBuffer Mask(std::initializer_list<const char*> rows) {
  const int w = static_cast<int>(std::strlen(*rows.begin()));
  PixelBuffer m(w, static_cast<int>(rows.size()), 3);
  int y = 0;
  for (const char* r : rows) {
    for (int x = 0; x < w; ++x) m.Set(x, y, r[x] == '#' ? 0 : 0xFFFFFF);
    ++y;
  }
  return m;
}

TEST(MaskToRegionData, AllBlackGivesOneRectanglePerRowWithOffsets) {
  const PixelBuffer m = Mask({"###", "###", "###", "###"});
  const auto d = MaskToRegionData(m.Map(), 10, 20);
  ASSERT_EQ(d.size(), 32u + 16 * 4);
  EXPECT_EQ(IntAt(d, 0), 32);  // header size
  EXPECT_EQ(IntAt(d, 4), 1);   // rectangles
  EXPECT_EQ(IntAt(d, 8), 4);   // count
  EXPECT_EQ(IntAt(d, 12), 0);
  EXPECT_EQ(IntAt(d, 16), 10);  // bounds
  EXPECT_EQ(IntAt(d, 20), 20);
  EXPECT_EQ(IntAt(d, 24), 13);
  EXPECT_EQ(IntAt(d, 28), 24);
  for (int y = 0; y < 4; ++y) {
    EXPECT_EQ(IntAt(d, 32 + 16 * y), 10);
    EXPECT_EQ(IntAt(d, 36 + 16 * y), 20 + y);
    EXPECT_EQ(IntAt(d, 40 + 16 * y), 13);
    EXPECT_EQ(IntAt(d, 44 + 16 * y), 21 + y);
  }
}

TEST(MaskToRegionData, RunsSplitOnNonBlackAndEmptyCases) {
  const PixelBuffer none = Mask({"...", "..."});
  const auto d0 = MaskToRegionData(none.Map(), 0, 0);
  ASSERT_EQ(d0.size(), 32u);
  EXPECT_EQ(IntAt(d0, 8), 0);
  EXPECT_TRUE(MaskToRegionData(PixelBuffer().Map(), 0, 0).empty());

  PixelBuffer runs = Mask({"#.##."});
  runs.Set(1, 0, 0x000001);  // nearly black is outside
  const auto d = MaskToRegionData(runs.Map(), 0, 0);
  ASSERT_EQ(IntAt(d, 8), 2);
  EXPECT_EQ(IntAt(d, 32), 0);
  EXPECT_EQ(IntAt(d, 40), 1);
  EXPECT_EQ(IntAt(d, 48), 2);
  EXPECT_EQ(IntAt(d, 56), 4);
}

TEST(MaskToRegionData, GrowsPastTheOldFixedCapacity) {
  PixelBuffer m(3, 6000, 3);
  for (int y = 0; y < 6000; ++y) {
    m.Set(0, y, 0);
    m.Set(1, y, 0xFFFFFF);
    m.Set(2, y, 0);
  }
  const auto d = MaskToRegionData(m.Map(), 0, 0);
  EXPECT_EQ(IntAt(d, 8), 12000);
  EXPECT_EQ(d.size(), 32u + 16 * 12000);
}

TEST(ComposeMaskStrips, StripsTileTheMaskAroundTheNewClient) {
  // 6 x 5 mask, client (2, 1, 4, 4); the top row has a notch at column 2 that tiles.
  const PixelBuffer mask = Mask({"##.###", "##..##", "##..##", "##..##", "######"});
  const SkinGeometry g{RECT{0, 0, 6, 5}, POINT{2, 1}, POINT{4, 1}, POINT{2, 4}, POINT{4, 4},
                       RECT{2, 1, 4, 4}};
  const ResizedGeometry n = ResizeSkinGeometry(g, 10, 7);
  PixelBuffer top, bottom, left, right;
  ComposeMaskStrips(mask.Map(), g, n, 10, 7, top, bottom, left, right);
  ASSERT_EQ(top.Width(), 10);
  ASSERT_EQ(top.Height(), 1);
  ASSERT_EQ(left.Width(), 2);
  ASSERT_EQ(left.Height(), 5);
  ASSERT_EQ(right.Width(), 2);
  ASSERT_EQ(bottom.Height(), 1);
  // Top: columns 2..4 (".#") tiled from x = 2 to 8, corners "##" at 0 and 8.
  const char* expect = "##.#.#.###";
  for (int x = 0; x < 10; ++x) EXPECT_EQ((top.Get(x, 0) & 0xFFFFFF) == 0, expect[x] == '#') << x;
  for (int y = 0; y < 5; ++y) EXPECT_EQ(left.Get(1, y) & 0xFFFFFF, 0u);
}

}  // namespace
}  // namespace lumoa::skin
