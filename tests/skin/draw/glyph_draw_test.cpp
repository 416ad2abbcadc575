// Glyph and caption layout, strip glyphs and the default glyph painters, pixel by pixel.
#include "skin/draw/glyph_draw.h"

#include <gtest/gtest.h>

#include <string>

#include "skin/draw/default_glyphs.h"

namespace {

using namespace lumoa::skin;

std::unique_ptr<TBitmap> White(int w, int h) {
  auto b = std::make_unique<TBitmap>(w, h, pf32bit);
  b->Canvas()->Brush().SetColor(clWhite);
  b->Canvas()->FillRect(Rect(0, 0, w, h));
  return b;
}

// The bitmap as rows of '#' (not white) and '.' (white).
std::string Picture(const TBitmap& b) {
  std::string s;
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) s += b.PixelRGB(x, y) == 0xFFFFFF ? '.' : '#';
    s += '\n';
  }
  return s;
}

std::string Rows(std::initializer_list<const char*> rows) {
  std::string s;
  for (const char* r : rows) (s += r) += '\n';
  return s;
}

std::string Place(const GlyphCaptionPlace& p) {
  return std::to_string(p.Glyph.x) + "," + std::to_string(p.Glyph.y) + " " +
         std::to_string(p.Caption.x) + "," + std::to_string(p.Caption.y);
}

TEST(GlyphLayout, EveryLayoutWithMarginCentredBlockAndNoGlyph) {
  // Centre (55, 25) of (10, 5, 101, 46); glyph 16 x 12, caption 30 x 13, spacing 4.
  const RECT r{10, 5, 101, 46};
  const SIZE g{16, 12}, t{30, 13};
  EXPECT_EQ(Place(LayoutGlyphAndCaption(glGlyphLeft, r, g, t, 3, 4)), "13,19 33,19");
  EXPECT_EQ(Place(LayoutGlyphAndCaption(glGlyphRight, r, g, t, 3, 4)), "82,19 48,19");
  EXPECT_EQ(Place(LayoutGlyphAndCaption(glGlyphTop, r, g, t, 3, 4)), "47,8 40,24");
  EXPECT_EQ(Place(LayoutGlyphAndCaption(glGlyphBottom, r, g, t, 3, 4)), "47,31 40,14");
  // Margin -1: half block width (16 + 30 + 4) / 2 = 25, half height (13 + 12 + 4) / 2 = 14.
  EXPECT_EQ(Place(LayoutGlyphAndCaption(glGlyphLeft, r, g, t, -1, 4)), "30,19 50,19");
  EXPECT_EQ(Place(LayoutGlyphAndCaption(glGlyphRight, r, g, t, -1, 4)), "64,19 30,19");
  EXPECT_EQ(Place(LayoutGlyphAndCaption(glGlyphTop, r, g, t, -1, 4)), "47,11 40,26");
  EXPECT_EQ(Place(LayoutGlyphAndCaption(glGlyphBottom, r, g, t, -1, 4)), "47,27 40,11");
  // Without a glyph the spacing is ignored: the caption sits at the margin or centred.
  const SIZE none{0, 0};
  EXPECT_EQ(Place(LayoutGlyphAndCaption(glGlyphLeft, r, none, t, 3, 4)), "13,25 13,19");
  EXPECT_EQ(Place(LayoutGlyphAndCaption(glGlyphRight, r, none, t, 3, 4)), "98,25 68,19");
  EXPECT_EQ(Place(LayoutGlyphAndCaption(glGlyphLeft, r, none, t, -1, 4)), "40,25 40,19");
  EXPECT_EQ(Place(LayoutGlyphAndCaption(glGlyphTop, r, none, t, -1, 4)), "55,19 40,18");
  EXPECT_EQ(Place(LayoutGlyphAndCaption(glGlyphBottom, r, none, t, 3, 4)), "55,43 40,30");
}

TEST(DefaultGlyphs, CaptionButtonGlyphs) {
  auto b = White(12, 11);
  DrawCloseGlyph(b->Canvas(), 0, 0, clBlack);
  EXPECT_EQ(Picture(*b), Rows({"............",
                               ".##.....##..",
                               "..##...##...",
                               "...##.##....",
                               "....###.....",
                               "....###.....",
                               "...##.##....",
                               "..##...##...",
                               ".##.....##..",
                               "............",
                               "............"}));
  b = White(12, 11);
  DrawMaximizeGlyph(b->Canvas(), 1, 1, clBlack);
  EXPECT_EQ(Picture(*b), Rows({"............",
                               ".###########",
                               ".###########",
                               ".#.........#",
                               ".#.........#",
                               ".#.........#",
                               ".#.........#",
                               ".#.........#",
                               ".#.........#",
                               ".#.........#",
                               ".###########"}));
  b = White(10, 10);
  DrawRestoreGlyph(b->Canvas(), 0, 0, clBlack);
  EXPECT_EQ(Picture(*b), Rows({"..########",
                               "..########",
                               "..#......#",
                               "..#......#",
                               "#######..#",
                               "##########",
                               "#.....#...",
                               "#.....#...",
                               "#.....#...",
                               "#######..."}));
  b = White(10, 10);
  DrawMinimizeGlyph(b->Canvas(), 0, 0, clBlack);
  DrawSysMenuGlyph(b->Canvas(), 0, 0, clBlack);
  EXPECT_EQ(Picture(*b), Rows({"..........",
                               "..........",
                               "..........",
                               ".########.",
                               ".#......#.",
                               ".########.",
                               "..........",
                               "..........",
                               ".########.",
                               ".########."}));
  b = White(10, 8);
  DrawRollUpGlyph(b->Canvas(), 0, 0, clBlack, RollState::Normal);
  EXPECT_EQ(Picture(*b), Rows({"..........",
                               "..........",
                               "..........",
                               "....##....",
                               "...####...",
                               "..######..",
                               ".########.",
                               ".........."}));
  b = White(10, 8);
  DrawRollUpGlyph(b->Canvas(), 0, 0, clBlack, RollState::Rolled);
  EXPECT_EQ(Picture(*b), Rows({"..........",
                               "..........",
                               ".########.",
                               "..######..",
                               "...####...",
                               "....##....",
                               "..........",
                               ".........."}));
  b = White(8, 8);
  DrawToTrayGlyph(b->Canvas(), 0, 0, clBlack);
  EXPECT_EQ(Picture(*b), Rows({"........",
                               "........",
                               "..#####.",
                               "..#####.",
                               "..#####.",
                               "..#####.",
                               "..#####.",
                               "........"}));
  b = White(8, 8);
  DrawCheckGlyph(b->Canvas(), 0, 0, clBlack);
  EXPECT_EQ(Picture(*b), Rows({"........",
                               "......#.",
                               ".....##.",
                               "#...###.",
                               "##.###..",
                               "#####...",
                               ".###....",
                               "..#....."}));
}

TEST(DefaultGlyphs, ArrowsAndDropMarker) {
  // Centre (4, 4) of (0, 0, 9, 9).
  const RECT r{0, 0, 9, 9};
  auto b = White(9, 9);
  DrawArrowGlyph(b->Canvas(), r, ArrowDirection::Down, clBlack);
  EXPECT_EQ(Picture(*b), Rows({".........",
                               ".........",
                               ".........",
                               ".#######.",
                               "..#####..",
                               "...###...",
                               "....#....",
                               ".........",
                               "........."}));
  b = White(9, 9);
  DrawArrowGlyph(b->Canvas(), r, ArrowDirection::Left, clBlack);
  EXPECT_EQ(Picture(*b), Rows({".........",
                               ".....#...",
                               "....##...",
                               "...###...",
                               "..####...",
                               "...###...",
                               "....##...",
                               ".....#...",
                               "........."}));
  b = White(13, 13);
  DrawArrowGlyph(b->Canvas(), RECT{0, 0, 13, 13}, ArrowDirection::Up, clBlack, ArrowSize::Large);
  EXPECT_EQ(Picture(*b), Rows({".............",
                               ".............",
                               ".............",
                               ".............",
                               "......#......",
                               ".....###.....",
                               "....#####....",
                               "...#######...",
                               "..#########..",
                               ".###########.",
                               ".............",
                               ".............",
                               "............."}));
  b = White(9, 9);
  DrawArrowGlyph(b->Canvas(), r, ArrowDirection::Right, clBlack);
  EXPECT_EQ(Picture(*b), Rows({".........",
                               "...#.....",
                               "...##....",
                               "...###...",
                               "...####..",
                               "...###...",
                               "...##....",
                               "...#.....",
                               "........."}));
  // Centre (4, 2) of (0, 0, 9, 5).
  b = White(9, 5);
  DrawDropMarker(b->Canvas(), RECT{0, 0, 9, 5}, clBlack);
  EXPECT_EQ(Picture(*b), Rows({".........",
                               ".........",
                               "..#####..",
                               "...###...",
                               "....#...."}));
}

TEST(StripGlyph, DrawsOneGlyphTransparentAndNothingOutside) {
  // Three 3 x 2 glyphs; the bottom-left pixel (white) is the transparent colour.
  TBitmap strip(9, 2, pf32bit);
  strip.Canvas()->Brush().SetColor(clWhite);
  strip.Canvas()->FillRect(Rect(0, 0, 9, 2));
  strip.Canvas()->SetPixel(4, 0, clRed);
  strip.Canvas()->SetPixel(5, 1, clBlue);
  auto b = White(5, 4);
  b->Canvas()->SetPixel(1, 1, clLime);
  DrawStripGlyph(b->Canvas(), 0, 1, 2, 3, &strip);
  EXPECT_EQ(b->PixelRGB(1, 1), RGB(255, 0, 0));
  EXPECT_EQ(b->PixelRGB(2, 2), RGB(0, 0, 255));
  EXPECT_EQ(b->PixelRGB(0, 1), RGB(255, 255, 255));
  // Numbers outside 1..NumGlyphs and empty strips draw nothing.
  auto c = White(5, 4);
  DrawStripGlyph(c->Canvas(), 0, 0, 4, 3, &strip);
  DrawStripGlyph(c->Canvas(), 0, 0, 0, 3, &strip);
  TBitmap empty;
  DrawStripGlyph(c->Canvas(), 0, 0, 1, 3, &empty);
  EXPECT_EQ(Picture(*c), Picture(*White(5, 4)));
}

TEST(StripGlyph, GlyphMarkAndEmptyFill) {
  // A 4 x 3 glyph (strip of two), no caption, left layout margin 2 in (0, 0, 20, 12):
  // glyph at (2, 6 - 1) = (2, 5); the mark lines fill rows 6..8 across the glyph's width.
  TBitmap strip(8, 3, pf32bit);
  strip.Canvas()->Brush().SetColor(clBlack);
  strip.Canvas()->FillRect(Rect(0, 0, 8, 3));
  strip.Canvas()->SetPixel(0, 2, clWhite);  // transparent colour
  auto b = White(20, 12);
  DrawStripGlyphAndCaption(b->Canvas(), RECT{0, 0, 20, 12}, 2, clRed, GlyphMark::Show,
                           PressedShift::None, 1, 2, &strip, "", glGlyphLeft, 5);
  EXPECT_EQ(b->PixelRGB(2, 5), RGB(0, 0, 0));
  for (int y = 6; y <= 8; ++y) {
    EXPECT_EQ(b->PixelRGB(2, y), RGB(255, 0, 0)) << y;
    EXPECT_EQ(b->PixelRGB(5, y), RGB(255, 0, 0)) << y;
    EXPECT_EQ(b->PixelRGB(6, y), RGB(255, 255, 255)) << y;  // not across the whole strip
  }
  // Neither glyph nor caption: the mark fills the inner rectangle, one lower when pressed.
  b = White(10, 10);
  DrawStripGlyphAndCaption(b->Canvas(), RECT{0, 0, 10, 10}, 2, clBlack, GlyphMark::Show,
                           PressedShift::Shift, 1, 1, nullptr, "", glGlyphLeft, 5);
  EXPECT_EQ(Picture(*b), Rows({"..........",
                               "..........",
                               "..........",
                               "..........",
                               "..........",
                               "....####..",
                               "....####..",
                               "..........",
                               "..........",
                               ".........."}));
  b = White(10, 10);
  DrawImageGlyphAndCaption(b->Canvas(), RECT{0, 0, 10, 10}, 2, clBlack, GlyphMark::Show, true,
                           PressedShift::None, nullptr, 0, "", glGlyphLeft, 5);
  EXPECT_EQ(Picture(*b), Rows({"..........",
                               "..........",
                               "..........",
                               "..........",
                               "....####..",
                               "....####..",
                               "..........",
                               "..........",
                               "..........",
                               ".........."}));
}

TEST(ImageGlyph, CaptionBesideTheImageMarkUnderItAndPressedShift) {
  TImageList images(nullptr);
  images.SetSize(4, 4);
  auto face = White(4, 4);
  face->Canvas()->Brush().SetColor(clBlack);
  face->Canvas()->FillRect(Rect(0, 0, 4, 4));
  images.Add(face.get(), nullptr);
  auto draw = [&](GlyphMark mark, PressedShift shift, int index) {
    auto b = White(40, 20);
    b->Canvas()->Font().SetHeight(-12);
    DrawImageGlyphAndCaption(b->Canvas(), RECT{0, 0, 40, 20}, 2, clRed, mark, true, shift,
                             &images, index, "Ab", glGlyphLeft, 3);
    return b;
  };
  // Image at (2, 10 - 2); the mark's three rows end one below it, across its width.
  auto marked = draw(GlyphMark::Show, PressedShift::None, 0);
  EXPECT_EQ(marked->PixelRGB(2, 8), RGB(0, 0, 0));
  EXPECT_EQ(marked->PixelRGB(5, 9), RGB(0, 0, 0));
  for (int y = 10; y <= 12; ++y) {
    EXPECT_EQ(marked->PixelRGB(2, y), RGB(255, 0, 0)) << y;
    EXPECT_EQ(marked->PixelRGB(5, y), RGB(255, 0, 0)) << y;
    EXPECT_EQ(marked->PixelRGB(6, y), RGB(255, 255, 255)) << y;
  }
  EXPECT_EQ(marked->PixelRGB(2, 13), RGB(255, 255, 255));
  // The caption starts after glyph and spacing (x = 2 + 4 + 3), centred in its own box.
  int first = 40;
  for (int y = 0; y < 20; ++y)
    for (int x = 6; x < 40; ++x)
      if (marked->PixelRGB(x, y) != 0xFFFFFF && marked->PixelRGB(x, y) != RGB(255, 0, 0))
        first = std::min(first, x);
  EXPECT_GE(first, 9);
  EXPECT_LE(first, 11);

  // Pressed: the same picture one pixel right and down.
  auto plain = draw(GlyphMark::None, PressedShift::None, 0);
  auto pressed = draw(GlyphMark::None, PressedShift::Shift, 0);
  for (int y = 0; y < 19; ++y)
    for (int x = 0; x < 39; ++x) ASSERT_EQ(pressed->PixelRGB(x + 1, y + 1), plain->PixelRGB(x, y));

  // An index outside the list draws no image: the caption moves to the margin (no spacing)
  // and the mark goes under it.
  auto none = draw(GlyphMark::Show, PressedShift::None, 1);
  EXPECT_EQ(none->PixelRGB(2, 8), RGB(255, 255, 255));
  int redRows = 0;
  for (int y = 0; y < 20; ++y) redRows += none->PixelRGB(first + 4, y) == RGB(255, 0, 0);
  EXPECT_EQ(redRows, 3);
}

}  // namespace
