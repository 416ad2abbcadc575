#include <gtest/gtest.h>

#include "text_canvas.h"

namespace {

using TextOut = TextCanvas;

TEST_F(TextOut, ChineseInALatinFaceDrawsGlyphs) {
  Use(-16, u"Arial");
  ASSERT_TRUE(TextOutW(dc_, 10, 10, u"\u4E2D\u6587", 2));
  const RECT ink = Ink();
  const SIZE size = Extent(u"\u4E2D\u6587");
  EXPECT_GT(InkCount(ink), 40);
  EXPECT_GE(ink.left, 10);
  EXPECT_LE(ink.right, 10 + size.cx + 1);
  EXPECT_GE(ink.top, 10);
  EXPECT_LE(ink.bottom, 10 + size.cy);
  // Each character has its own strokes: ink on both halves.
  EXPECT_GT(InkCount(RECT{10, 10, 10 + size.cx / 2, 30}), 15);
  EXPECT_GT(InkCount(RECT{10 + size.cx / 2, 10, 10 + size.cx, 30}), 15);

  // A code point no face has still takes room and shows the missing-glyph box.
  Clear();
  const char16_t missing[] = {0xDBFF, 0xDFFD, 0};  // U+10FFFD, private use
  EXPECT_GT(Extent(missing).cx, 0);
  TextOutW(dc_, 10, 10, missing, 2);
  EXPECT_GT(InkCount(RECT{0, 0, kWidth, kHeight}), 0);
}

TEST_F(TextOut, AlignmentPlacesTheCell) {
  Use(-14, u"Arial");
  const TEXTMETRICW tm = Metrics();
  const SIZE size = Extent(u"MMM");
  TextOutW(dc_, 20, 10, u"MMM", 3);
  const RECT left = Ink();

  Clear();
  SetTextAlign(dc_, TA_RIGHT | TA_TOP);
  TextOutW(dc_, 20 + size.cx, 10, u"MMM", 3);
  EXPECT_EQ(Ink(), left);

  Clear();
  SetTextAlign(dc_, TA_CENTER | TA_BASELINE);
  TextOutW(dc_, 20 + size.cx / 2, 10 + tm.tmAscent, u"MMM", 3);
  EXPECT_EQ(Ink(), left);

  Clear();
  SetTextAlign(dc_, TA_LEFT | TA_BOTTOM);
  TextOutW(dc_, 20, 10 + tm.tmHeight, u"MMM", 3);
  EXPECT_EQ(Ink(), left);
}

TEST_F(TextOut, OpaqueModeFillsExactlyTheCell) {
  Use(-12, u"Arial");
  const SIZE size = Extent(u"Ab");
  SetBkMode(dc_, OPAQUE);
  SetBkColor(dc_, RGB(255, 0, 0));
  TextOutW(dc_, 5, 7, u"Ab", 2);
  EXPECT_EQ(Ink(), (RECT{5, 7, 5 + size.cx, 7 + size.cy}));
  // Background where no glyph is, text colour blended elsewhere.
  int red = 0;
  for (int y = 7; y < 7 + size.cy; ++y) {
    for (int x = 5; x < 5 + size.cx; ++x) red += Pixel(x, y) == 0xFF0000;
  }
  EXPECT_GT(red, size.cx * size.cy / 3);
  EXPECT_LT(red, size.cx * size.cy);
}

TEST_F(TextOut, ClippingAndOpaqueRectangle) {
  Use(-20, u"Arial");
  const RECT clip{15, 10, 30, 20};
  ExtTextOutW(dc_, 10, 5, ETO_CLIPPED, &clip, u"WWWW", 4, nullptr);
  const RECT ink = Ink();
  EXPECT_GE(ink.left, clip.left);
  EXPECT_GE(ink.top, clip.top);
  EXPECT_LE(ink.right, clip.right);
  EXPECT_LE(ink.bottom, clip.bottom);
  EXPECT_GT(InkCount(clip), 0);

  Clear();
  SetBkColor(dc_, RGB(0, 0, 255));
  const RECT box{100, 50, 140, 90};
  ExtTextOutW(dc_, 0, 0, ETO_OPAQUE, &box, nullptr, 0, nullptr);
  EXPECT_EQ(Ink(), box);
  EXPECT_EQ(Pixel(100, 50), 0x0000FFu);
}

TEST_F(TextOut, CallerSpacingUnderlineAndAnsi) {
  Use(-12, u"Arial");
  const INT dx[3] = {30, 30, 30};
  ExtTextOutW(dc_, 0, 0, 0, nullptr, u"iii", 3, dx);
  const RECT spread = Ink();
  EXPECT_GE(spread.right - spread.left, 60);

  Clear();
  Use(-12, u"Arial", FW_NORMAL, TRUE);
  const TEXTMETRICW tm = Metrics();
  const SIZE size = Extent(u"ab");
  TextOutW(dc_, 0, 0, u"ab", 2);
  // The underline runs the whole width below the baseline.
  int row = -1;
  for (int y = tm.tmAscent; y < tm.tmHeight; ++y) {
    if (InkCount(RECT{0, y, size.cx, y + 1}) == size.cx) row = y;
  }
  EXPECT_GT(row, tm.tmAscent - 1);

  Clear();
  TextOutW(dc_, 0, 0, u"\u4E2D", 1);
  const auto wide = Snapshot();
  Clear();
  TextOutA(dc_, 0, 0, "\xD6\xD0", 2);
  EXPECT_EQ(Snapshot(), wide);
}

}  // namespace
