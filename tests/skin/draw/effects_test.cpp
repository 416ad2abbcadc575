#include "skin/draw/effects.h"

#include <gtest/gtest.h>

#include <cmath>

#include "test_pictures.h"

namespace lumoa::skin {
namespace {

using test::BlueOf;
using test::GreenOf;
using test::Numbered;

uint32_t Rgb(const PixelBuffer& b, int x, int y) { return b.Get(x, y) & 0xFFFFFF; }

struct MorphPair : ::testing::Test {
  PixelBuffer self = Numbered(5, 3, 0x10, 3);
  PixelBuffer target = Numbered(5, 3, 0x90, 3);
  bool IsTarget(int x, int y) const { return (self.Get(x, y) >> 16) == 0x90; }
  // The picture column a pixel of either image came from.
  int Col(int x, int y) const { return BlueOf(self.Get(x, y)); }
};

TEST_F(MorphPair, MorphEndsAreTheTwoImages) {
  const PixelBuffer original = self;
  Morph(self.Map(), target.Map(), 0);
  for (int x = 0; x < 5; ++x) EXPECT_EQ(self.Get(x, 1), original.Get(x, 1));
  Morph(self.Map(), target.Map(), 1);
  for (int x = 0; x < 5; ++x) EXPECT_EQ(self.Get(x, 1), target.Get(x, 1));
}

TEST_F(MorphPair, MorphRoundsHalvesToEven) {
  PixelBuffer a(1, 1, 3), b(1, 1, 3);
  a.Set(0, 0, 0x000001);  // blue 1 and 0 -> 0.5 -> 0; green 0 and 3 -> 1.5 -> 2
  b.Set(0, 0, 0x000300);
  Morph(a.Map(), b.Map(), 0.5);
  EXPECT_EQ(Rgb(a, 0, 0), 0x000200u);
}

TEST_F(MorphPair, LeftSlideAtZeroShowsOneTargetColumn) {
  LeftSlideMorph(self.Map(), target.Map(), 0);
  EXPECT_TRUE(IsTarget(0, 2));
  EXPECT_EQ(Col(0, 2), 4);
  for (int x = 1; x < 5; ++x) EXPECT_FALSE(IsTarget(x, 2));
}

TEST_F(MorphPair, RightSlideTakesTheTargetsLeadingColumns) {
  RightSlideMorph(self.Map(), target.Map(), 0.4);  // a = 2
  EXPECT_FALSE(IsTarget(2, 0));
  EXPECT_TRUE(IsTarget(3, 0));
  EXPECT_EQ(Col(3, 0), 0);
  EXPECT_EQ(Col(4, 0), 1);
}

TEST_F(MorphPair, PushMovesTheImageRightBehindTheTarget) {
  PushMorph(self.Map(), target.Map(), 0.4);  // a = 2
  const int cols[5] = {2, 3, 4, 0, 1};
  const bool fromTarget[5] = {true, true, true, false, false};
  for (int x = 0; x < 5; ++x) {
    EXPECT_EQ(Col(x, 1), cols[x]) << x;
    EXPECT_EQ(IsTarget(x, 1), fromTarget[x]) << x;
  }
}

TEST_F(MorphPair, GradientsBlendTowardsTheTargetEdge) {
  PixelBuffer black(5, 1, 3), white(5, 1, 3);
  white.Fill(0xFFFFFF);
  LeftGradientMorph(black.Map(), white.Map(), 0.8);  // a = 4: m = 0, .25, .5, .75, 1
  EXPECT_EQ(Rgb(black, 0, 0), 0xFFFFFFu);
  EXPECT_EQ(BlueOf(black.Get(1, 0)), 191);  // round(0.75 * 255) = 191.25
  EXPECT_EQ(BlueOf(black.Get(2, 0)), 128);  // 127.5 to even
  EXPECT_EQ(Rgb(black, 4, 0), 0u);
  black.Fill(0);
  RightGradientMorph(black.Map(), white.Map(), 0.4);  // b = 3: columns 4, 3 with m = 0, .5
  EXPECT_EQ(Rgb(black, 4, 0), 0xFFFFFFu);
  EXPECT_EQ(BlueOf(black.Get(3, 0)), 128);
  EXPECT_EQ(Rgb(black, 2, 0), 0u);
  black.Fill(0);
  GradientMorph(black.Map(), white.Map(), 1);
  for (int x = 0; x < 5; ++x) EXPECT_EQ(Rgb(black, x, 0), 0xFFFFFFu);
}

TEST_F(MorphPair, DifferentSizesDoNothing) {
  const PixelBuffer original = self;
  PixelBuffer other = Numbered(4, 3, 0x90, 3);
  for (int kind = 0; kind <= 6; ++kind) MorphByKind(kind, self.Map(), other.Map(), 0.5);
  for (int x = 0; x < 5; ++x) EXPECT_EQ(self.Get(x, 0), original.Get(x, 0));
}

TEST(InactiveEffects, ChannelArithmetic) {
  PixelBuffer b(3, 1, 3);
  b.Set(0, 0, 0x000000);
  b.Set(1, 0, 0x020202);
  b.Set(2, 0, 0x0A141E);
  Brightness(b.Map(), 0.5);
  EXPECT_EQ(Rgb(b, 0, 0), 0x808080u);  // 127.5 to even
  EXPECT_EQ(Rgb(b, 1, 0), 0x808080u);  // 128.5 to even
  Invert(b.Map());
  EXPECT_EQ(Rgb(b, 0, 0), 0x7F7F7Fu);
  PixelBuffer g(1, 1, 3);
  g.Set(0, 0, 0x0000FF);  // red 0, green 0, blue 255 -> round(28.05)
  Grayscale(g.Map());
  EXPECT_EQ(Rgb(g, 0, 0), 0x1C1C1Cu);
  g.Set(0, 0, 0x64C8FA);
  Darkness(g.Map(), 0.3);  // 70, 140, 175
  EXPECT_EQ(Rgb(g, 0, 0), 0x468CAFu);
}

TEST(InactiveEffects, NoiseStaysInRangeAndShiftsAllChannelsAlike) {
  PixelBuffer b(50, 50, 3);
  b.Fill(0x808080);
  Noise(b.Map(), 50);
  bool changed = false;
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 50; ++x) {
      const uint32_t v = b.Get(x, y);
      ASSERT_EQ(BlueOf(v), GreenOf(v));
      ASSERT_GE(BlueOf(v), 128 - 25);
      ASSERT_LE(BlueOf(v), 128 + 24);
      changed |= BlueOf(v) != 128;
    }
  EXPECT_TRUE(changed);
}

TEST(InactiveEffects, SplitBlurAveragesDiagonalsAndKeepsEdgesInside) {
  PixelBuffer b(3, 3, 3);
  b.Fill(0);
  b.Set(0, 0, 0x000004);
  b.Set(2, 2, 0x000008);
  SplitBlur(b.Map(), 1);
  // In place from the top: (0, 0) became (4 + 0 + 0 + 0) / 4 = 1 before row 1 is done, so the
  // centre is (1 + 0 + 0 + 8) / 4. Beyond the edge a pixel uses its own row or column: (2, 2)
  // averages (1, 1) = 2, (1, 2) = 0, (2, 1) = (1 + 0 + 0 + 8) / 4 = 2 and itself.
  EXPECT_EQ(BlueOf(b.Get(1, 1)), 2);
  EXPECT_EQ(BlueOf(b.Get(2, 1)), 2);
  EXPECT_EQ(BlueOf(b.Get(2, 2)), (2 + 0 + 2 + 8) / 4);
}

TEST(Rotations, QuarterTurnsAndFlip) {
  const PixelBuffer src = Numbered(3, 2, 0x10, 3);
  PixelBuffer left(2, 3, 3), right(2, 3, 3), flip(3, 2, 3);
  RotateLeft(src.Map(), left.Map());
  RotateRight(src.Map(), right.Map());
  FlipUpsideDown(src.Map(), flip.Map());
  // Counter-clockwise: the top-right corner goes to the top-left.
  EXPECT_EQ(left.Get(0, 0), src.Get(2, 0));
  EXPECT_EQ(left.Get(1, 2), src.Get(0, 1));
  // Clockwise: the bottom-left corner goes to the top-left.
  EXPECT_EQ(right.Get(0, 0), src.Get(0, 1));
  EXPECT_EQ(right.Get(1, 2), src.Get(2, 0));
  EXPECT_EQ(flip.Get(1, 0), src.Get(1, 1));
}

}  // namespace
}  // namespace lumoa::skin

namespace lumoa::skin {
namespace {

TEST(MorphProgress, OutOfRangeAndNanProgressStayWithinTheImages) {
  for (double x : {-5.0, 7.5, 1e12, std::nan("")}) {
    for (int kind = 0; kind <= 6; ++kind) {
      PixelBuffer a = Numbered(6, 4, 0x10, 3), b = Numbered(6, 4, 0x90, 3);
      MorphByKind(kind, a.Map(), b.Map(), x);
      for (int y = 0; y < 4; ++y)
        for (int i = 0; i < 6; ++i) {
          const int tag = a.Get(i, y) >> 16;
          ASSERT_TRUE(tag >= 0x10 && tag <= 0x90) << kind << " " << x;
        }
    }
  }
}

}  // namespace
}  // namespace lumoa::skin
