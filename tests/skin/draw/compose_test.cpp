#include "skin/draw/compose.h"

#include <gtest/gtest.h>

#include <random>

#include "skin/draw/mask_region.h"
#include "skin/draw/pixel_copy.h"
#include "test_pictures.h"

namespace lumoa::skin {
namespace {

using test::BlueOf;
using test::GreenOf;
using test::Numbered;

// A 20 x 14 skin rectangle at (2, 1) of a 30 x 20 picture; the split points differ from the
// client corners so that every corner is made of two pieces.
struct NinePart : ::testing::Test {
  PixelBuffer pic = Numbered(30, 20);
  SkinGeometry g{RECT{2, 1, 22, 15}, POINT{5, 4}, POINT{15, 4}, POINT{5, 10}, POINT{15, 10},
                 RECT{4, 3, 16, 11}};
  PixelBuffer dest;

  void Compose(int w, int h, const StretchModes& m, bool client = true) {
    ComposeSkinImage(pic.Map(), g, ResizeSkinGeometry(g, w, h), w, h, client, m, dest);
  }
  // Picture column and row a destination pixel came from.
  int SrcX(int x, int y) const { return BlueOf(dest.Get(x, y)); }
  int SrcY(int x, int y) const { return GreenOf(dest.Get(x, y)); }
};

TEST_F(NinePart, SkinSizedDestinationReproducesTheSkinRectangle) {
  for (bool stretch : {false, true}) {
    StretchModes m{stretch, stretch, stretch, stretch, stretch, stHorz};
    dest.Resize(0, 0);
    Compose(20, 14, m);
    ASSERT_EQ(dest.Width(), 20);
    ASSERT_EQ(dest.Height(), 14);
    for (int y = 0; y < 14; ++y)
      for (int x = 0; x < 20; ++x) ASSERT_EQ(dest.Get(x, y), pic.Get(x + 2, y + 1)) << x << "," << y;
  }
}

// Expected picture column for a top-band pixel of a tiled frame that is at least skin-sized.
int TopBandColumn(int x, int w) {
  const int nrt = 15 + (w - 20);
  if (x < 5) return 2 + x;
  if (x < nrt) return 2 + 5 + (x - 5) % 10;
  return 2 + 15 + (x - nrt);
}

TEST_F(NinePart, TiledSidesRepeatFromTheNewPointAndCutTheLastTile) {
  // 30 wide: the top span is exactly two tiles; 33 wide: two tiles and a cut one. Likewise 20
  // and 22 high for the left side (tile 6).
  for (auto [w, h] : {std::pair{30, 20}, std::pair{33, 22}}) {
    Compose(w, h, StretchModes{});
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < w; ++x) {
        ASSERT_EQ(SrcX(x, y), TopBandColumn(x, w)) << w << ": " << x;
        ASSERT_EQ(SrcY(x, y), 1 + y);
      }
    const int nlb = 10 + (h - 14);
    for (int y = 4; y < nlb; ++y) ASSERT_EQ(SrcY(0, y), 1 + 4 + (y - 4) % 6) << h << ": " << y;
    ASSERT_EQ(SrcY(0, nlb), 1 + 10);  // the corner under the side: no seam
    // Bottom band uses the bottom rows, the same column pattern.
    for (int x = 0; x < w; ++x) ASSERT_EQ(SrcX(x, h - 1), TopBandColumn(x, w));
    EXPECT_EQ(SrcY(7, h - 1), 14);
    // Tiled client: both directions from NewClientRect's corner.
    const RECT nc = ResizeSkinGeometry(g, w, h).NewClientRect;
    for (int y = nc.top; y < nc.bottom; ++y)
      for (int x = nc.left; x < nc.right; ++x) {
        ASSERT_EQ(SrcX(x, y), 2 + 4 + (x - nc.left) % 12);
        ASSERT_EQ(SrcY(x, y), 1 + 3 + (y - nc.top) % 8);
      }
  }
}

TEST_F(NinePart, CornersDrawnLastCoverATooNarrowTop) {
  Compose(8, 14, StretchModes{});
  // Left corner (5 wide) at 0, right corner (5 wide) at NewRightTop.x = 3, drawn after it.
  for (int x = 0; x < 3; ++x) EXPECT_EQ(SrcX(x, 0), 2 + x);
  for (int x = 3; x < 8; ++x) EXPECT_EQ(SrcX(x, 0), 17 + (x - 3));
}

TEST_F(NinePart, HorizontalStretchClientNarrowerThanOneTileIsClipped) {
  // Client 12 x 8 in the skin; here 8 x 12: one tile, stretched down, cut at the client edge.
  Compose(16, 18, StretchModes{true, true, true, true, true, stHorz});
  const RECT nc = ResizeSkinGeometry(g, 16, 18).NewClientRect;
  ASSERT_EQ(nc.right - nc.left, 8);
  for (int y = nc.top; y < nc.bottom; ++y)
    for (int x = nc.left; x < nc.right; ++x) {
      ASSERT_EQ(SrcX(x, y), 2 + 4 + (x - nc.left));
      ASSERT_EQ(SrcY(x, y), 1 + 3 + StretchSourceIndex(y - nc.top, 8, 12));
    }
  EXPECT_EQ(SrcX(nc.right, 5), 2 + 16);  // the right border is untouched by the client
}

TEST_F(NinePart, DegenerateRightBottomOrEmptyPictureOnlySizes) {
  PixelBuffer empty;
  dest.Resize(1, 1);
  ComposeSkinImage(empty.Map(), g, ResizeSkinGeometry(g, 9, 7), 9, 7, true, StretchModes{}, dest);
  EXPECT_EQ(dest.Width(), 9);
  EXPECT_EQ(dest.Height(), 7);
  g.rightBottom.x = g.leftTop.x;
  dest.Fill(0x12345678);
  Compose(9, 7, StretchModes{});
  EXPECT_EQ(dest.Get(0, 0), 0x12345678u);
}

TEST_F(NinePart, ZeroTileLengthSkipsThatSide) {
  g.rightTop.x = g.leftTop.x;  // top tile of width 0
  dest.Resize(30, 20);
  dest.Fill(0x12345678);
  Compose(30, 20, StretchModes{});
  EXPECT_EQ(dest.Get(10, 0), 0x12345678u);
  EXPECT_EQ(SrcY(0, 5), 1 + 4 + 1);  // the left side is still tiled
}

TEST_F(NinePart, BorderStripsTileFromTheStripOrigin) {
  PixelBuffer top, bottom, left, right;
  const int w = 33, h = 20;
  ComposeBorderStrips(pic.Map(), g, ResizeSkinGeometry(g, w, h), w, h, StretchModes{}, top,
                      bottom, left, right);
  ASSERT_EQ(top.Width(), 33);
  ASSERT_EQ(top.Height(), 3);
  ASSERT_EQ(bottom.Height(), 3);
  ASSERT_EQ(left.Width(), 4);
  ASSERT_EQ(left.Height(), 14);
  ASSERT_EQ(right.Width(), 4);
  ASSERT_EQ(right.Height(), 14);
  for (int x = 5; x < 28; ++x) ASSERT_EQ(BlueOf(top.Get(x, 0)), 2 + 5 + x % 10) << x;
  EXPECT_EQ(BlueOf(top.Get(0, 0)), 2);
  EXPECT_EQ(BlueOf(top.Get(28, 0)), 17);
  EXPECT_EQ(GreenOf(bottom.Get(0, 0)), 15 - 3);
  // Left strip: rows C.top..LT.y on top, tiles of LT.y..LB.y from y = 0, LB.y..C.bottom below.
  EXPECT_EQ(GreenOf(left.Get(0, 0)), 1 + 3);
  for (int y = 1; y < 13; ++y) ASSERT_EQ(GreenOf(left.Get(0, y)), 1 + 4 + y % 6) << y;
  EXPECT_EQ(GreenOf(left.Get(0, 13)), 1 + 10);
  EXPECT_EQ(BlueOf(right.Get(0, 5)), 2 + 16);
}

TEST(ComposeMode, WorkedRecordsPickTheirModes) {
  const SkinGeometry button{RECT{0, 0, 76, 21}, POINT{7, 12}, POINT{68, 11}, {}, {}, {}};
  const SkinGeometry tab{RECT{0, 0, 60, 60}, POINT{5, 5}, POINT{50, 5}, POINT{5, 50},
                         POINT{54, 50}, {}};
  const SkinGeometry vert{RECT{0, 0, 10, 30}, POINT{0, 4}, {}, POINT{0, 25}, {}, {}};
  EXPECT_EQ(CompositionModeOf(button), cmHorizontal);
  EXPECT_EQ(CompositionModeOf(tab), cmNinePart);
  EXPECT_EQ(CompositionModeOf(vert), cmVertical);
  EXPECT_EQ(CompositionModeOf(SkinGeometry{RECT{0, 0, 5, 5}, {}, {}, {}, {}, {}}), cmFixed);
  EXPECT_EQ(CompositionModeOf(SkinGeometry{RECT{5, 0, 5, 5}, {}, {}, {}, {}, {}}), cmNone);
  const ResizedGeometry n = ResizeSkinGeometry(tab, 70, 55);
  EXPECT_EQ(n.NewRightTop.x, 60);
  EXPECT_EQ(n.NewLeftBottom.y, 45);
  EXPECT_EQ(n.NewRightBottom.x, 64);
  EXPECT_EQ(n.NewRightBottom.y, 45);
}

// The horizontal records of the shipped skin: fixed ends of 7 and 8 (button, 76 x 21) and of
// 5 and 6 (edit, 57 x 21).
TEST(ComposeHorz, WorkedRecordsKeepTheirEndsAndTileTheMiddle) {
  struct Case {
    int skinW, ltx, rtx;
  };
  for (const Case c : {Case{76, 7, 68}, Case{57, 5, 51}}) {
    const PixelBuffer pic = Numbered(c.skinW + 4, 25);
    const RECT s{4, 2, 4 + c.skinW, 23};
    const int left = c.ltx, right = c.skinW - c.rtx;
    const int mid = c.skinW - left - right;
    for (int w : {c.skinW, 150, 160}) {
      PixelBuffer dest;
      ComposeHorzSkinImage(left, right, dest, false, w, pic.Map(), s);
      ASSERT_EQ(dest.Width(), w);
      ASSERT_EQ(dest.Height(), 21);
      for (int x = 0; x < w; ++x) {
        const int expect = x < left            ? x
                           : x >= w - right    ? c.rtx + (x - (w - right))
                                               : left + (x - left) % mid;
        ASSERT_EQ(BlueOf(dest.Get(x, 20)), 4 + expect) << w << ": " << x;
        ASSERT_EQ(GreenOf(dest.Get(x, 20)), 22);
      }
    }
    PixelBuffer stretched;
    ComposeHorzSkinImage(left, right, stretched, true, c.skinW * 2, pic.Map(), s);
    EXPECT_EQ(BlueOf(stretched.Get(left - 1, 0)), 4 + left - 1);
    EXPECT_EQ(BlueOf(stretched.Get(c.skinW * 2 - right, 0)), 4 + c.rtx);
    EXPECT_EQ(BlueOf(stretched.Get(left + 1, 0)), 4 + left);  // doubled middle column
  }
}

TEST(ComposeVert, MiddleTilesFromTopAndIsCutAboveTheBottomPart) {
  const PixelBuffer pic = Numbered(10, 30);
  PixelBuffer dest;
  ComposeVertSkinImage(4, 5, dest, false, 50, pic.Map(), RECT{0, 0, 10, 30});
  ASSERT_EQ(dest.Width(), 10);
  ASSERT_EQ(dest.Height(), 50);
  for (int y = 0; y < 50; ++y) {
    const int expect = y < 4 ? y : y >= 45 ? 25 + (y - 45) : 4 + (y - 4) % 21;
    ASSERT_EQ(GreenOf(dest.Get(3, y)), expect) << y;
  }
}

TEST(PixelCopy, StretchMirrorsOnOppositeSignsAndClipsTheSource) {
  const PixelBuffer src = Numbered(4, 1);
  PixelBuffer dst(4, 1);
  dst.Fill(0);
  CopyRectPixels(dst.Map(), RECT{4, 0, 0, 1}, src.Map(), RECT{0, 0, 4, 1});
  for (int x = 0; x < 4; ++x) EXPECT_EQ(BlueOf(dst.Get(x, 0)), 3 - x);
  dst.Fill(0);
  // Source partly outside the picture: only what exists is copied.
  CopyRectPixels(dst.Map(), RECT{0, 0, 4, 1}, src.Map(), RECT{2, 0, 6, 1});
  EXPECT_EQ(BlueOf(dst.Get(1, 0)), 3);
  EXPECT_EQ(dst.Get(2, 0), 0u);
  // 24-bit pictures become opaque 32-bit pixels.
  PixelBuffer src24(1, 1, 3);
  src24.Set(0, 0, 0x00ABCDEF);
  CopyRectPixels(dst.Map(), RECT{0, 0, 1, 1}, src24.Map(), RECT{0, 0, 1, 1});
  EXPECT_EQ(dst.Get(0, 0), 0xFFABCDEFu);
}

}  // namespace
}  // namespace lumoa::skin

namespace lumoa::skin {
namespace {

// Horizontal and vertical records get their missing points from the ones they have.
TEST(MaskGeometry, HorizontalAndVerticalSubstitutions) {
  const SkinGeometry button{RECT{0, 0, 76, 21}, POINT{7, 12}, POINT{68, 11}, {}, {},
                            RECT{7, 3, 68, 18}};
  SkinGeometry g;
  ResizedGeometry n;
  HorizontalMaskGeometry(button, 100, g, n);
  EXPECT_EQ(g.rightBottom.x, 68);
  EXPECT_EQ(g.leftBottom.y, 12);
  EXPECT_EQ(n.NewRightTop.x, 92);
  EXPECT_EQ(n.NewRightBottom.x, 92);
  EXPECT_EQ(n.NewLeftBottom.x, 7);
  EXPECT_EQ(n.NewClientRect.right, 92);
  EXPECT_EQ(n.NewClientRect.bottom, 18);
  const SkinGeometry bar{RECT{0, 0, 10, 30}, POINT{2, 4}, {}, POINT{3, 25}, {}, RECT{2, 4, 8, 25}};
  VerticalMaskGeometry(bar, 50, g, n);
  EXPECT_EQ(g.rightTop.y, 4);
  EXPECT_EQ(g.rightBottom.y, 25);
  EXPECT_EQ(n.NewLeftBottom.y, 45);
  EXPECT_EQ(n.NewRightBottom.x, 3);
  EXPECT_EQ(n.NewClientRect.bottom, 45);
}

// Geometry from a malformed skin: no overflow, no endless tile loop, nothing drawn.
TEST(MalformedGeometry, HugeCoordinatesDrawNothingAndReturn) {
  const PixelBuffer pic = test::Numbered(10, 10);
  const SkinGeometry g{RECT{2000000000, 0, -2000000000, 10}, POINT{-2000000000, 1}, POINT{1, 1},
                       POINT{0, 9}, POINT{2000000000, 9}, RECT{1, 1, 9, 9}};
  const ResizedGeometry n = ResizeSkinGeometry(g, 50, 20);
  EXPECT_FALSE(SaneGeometry(g, n, 50, 20));
  PixelBuffer dest(0, 0);
  ComposeSkinImage(pic.Map(), g, n, 50, 20, true, StretchModes{}, dest);
  ASSERT_EQ(dest.Width(), 50);
  EXPECT_EQ(dest.Get(5, 5), 0u);
  PixelBuffer t, b, l, r;
  ComposeBorderStrips(pic.Map(), g, n, 50, 20, StretchModes{}, t, b, l, r);
  EXPECT_EQ(t.Width(), 0);
  // A client tile of one pixel starting far left still finishes.
  SkinGeometry far{RECT{0, 0, 10, 10}, POINT{1, 1}, POINT{9, 1}, POINT{1, 9}, POINT{9, 9},
                   RECT{1, 1, 2, 2}};
  ResizedGeometry fn = ResizeSkinGeometry(far, 10, 10);
  fn.NewClientRect.left = -(1 << 27);
  ComposeSkinImage(pic.Map(), far, fn, 10, 10, true, StretchModes{}, dest);
  EXPECT_EQ(dest.Get(1, 1), pic.Get(1, 1));
}

}  // namespace
}  // namespace lumoa::skin

namespace lumoa::skin {
namespace {

// Whatever a skin says, composing stays inside both bitmaps (run under the sanitizers in CI)
// and a skin-sized nine-part image with points inside the rectangle is the rectangle itself.
TEST(RandomGeometry, ComposingNeverLeavesTheBitmapsAndSkinSizeIsIdentity) {
  std::mt19937 rng(11);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  const PixelBuffer pic = test::Numbered(24, 20);
  for (int round = 0; round < 3000; ++round) {
    SkinGeometry g;
    g.skinRect = RECT{pick(-3, 10), pick(-3, 8), pick(-2, 30), pick(-2, 26)};
    auto pt = [&] { return POINT{pick(-4, 26), pick(-4, 24)}; };
    g.leftTop = pt(), g.rightTop = pt(), g.leftBottom = pt(), g.rightBottom = pt();
    g.clientRect = RECT{pick(-3, 12), pick(-3, 10), pick(-3, 26), pick(-3, 24)};
    const int w = pick(-2, 40), h = pick(-2, 30);
    const StretchModes m{pick(0, 1) == 1, pick(0, 1) == 1, pick(0, 1) == 1, pick(0, 1) == 1,
                         pick(0, 1) == 1, static_cast<TksStretchType>(pick(0, 3))};
    const ResizedGeometry n = ResizeSkinGeometry(g, w, h);
    PixelBuffer dest, t, b, l, r;
    ComposeSkinImage(pic.Map(), g, n, w, h, pick(0, 1) == 1, m, dest);
    ComposeBorderStrips(pic.Map(), g, n, w, h, m, t, b, l, r);
    ComposeMaskStrips(pic.Map(), g, n, w, h, t, b, l, r);
    ComposeHorzSkinImage(pick(-3, 12), pick(-3, 12), dest, m.stretchEffect, w, pic.Map(), g.skinRect);
    ComposeVertSkinImage(pick(-3, 12), pick(-3, 12), dest, m.stretchEffect, h, pic.Map(), g.skinRect);
  }
  for (int round = 0; round < 300; ++round) {
    SkinGeometry g;
    const int sw = pick(4, 20), sh = pick(4, 16);
    g.skinRect = RECT{2, 3, 2 + sw, 3 + sh};
    g.clientRect = RECT{pick(1, sw / 2 - 1), pick(1, sh / 2 - 1), pick(sw / 2 + 1, sw - 1),
                        pick(sh / 2 + 1, sh - 1)};
    const RECT& c = g.clientRect;
    g.leftTop = POINT{pick(1, c.left), pick(c.top, c.top + 1)};
    g.rightTop = POINT{pick(c.right, sw - 1), pick(c.top, c.top + 1)};
    g.leftBottom = POINT{pick(1, c.left), pick(c.bottom - 1, c.bottom)};
    g.rightBottom = POINT{pick(c.right, sw - 1), pick(c.bottom - 1, c.bottom)};
    if (g.rightBottom.y == g.leftTop.y) continue;  // degenerate: nothing is drawn
    const StretchModes m{pick(0, 1) == 1, pick(0, 1) == 1, pick(0, 1) == 1, pick(0, 1) == 1,
                         pick(0, 1) == 1, static_cast<TksStretchType>(pick(0, 2))};
    PixelBuffer dest;
    ComposeSkinImage(pic.Map(), g, ResizeSkinGeometry(g, sw, sh), sw, sh, true, m, dest);
    for (int y = 0; y < sh; ++y)
      for (int x = 0; x < sw; ++x) ASSERT_EQ(dest.Get(x, y), pic.Get(x + 2, y + 3)) << round;
  }
}

}  // namespace
}  // namespace lumoa::skin
