#include <gtest/gtest.h>

#include "text_canvas.h"

namespace {

using FontMetrics = TextCanvas;

TEST_F(FontMetrics, HeightFollowsTheSignConvention) {
  for (const char16_t* face : {u"Arial", u"Tahoma", u"\u5B8B\u4F53", u"Microsoft YaHei"}) {
    for (LONG h : {-11, -12, -16, -24}) {
      Use(h, face);
      const TEXTMETRICW tm = Metrics();
      EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, -h);  // negative: the em size
      EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
      EXPECT_GT(tm.tmAscent, tm.tmDescent);
    }
    for (LONG h : {13, 16, 20, 31}) {
      Use(h, face);
      const TEXTMETRICW tm = Metrics();
      EXPECT_EQ(tm.tmHeight, h);  // positive: the cell height
      EXPECT_GE(tm.tmInternalLeading, 0);
    }
  }
  Use(0, u"Arial");
  EXPECT_GT(Metrics().tmHeight, 8);
}

TEST_F(FontMetrics, StyleFaceAndLogfont) {
  HFONT f = Use(-13, u"Arial", FW_BOLD, TRUE);
  TEXTMETRICW tm = Metrics();
  EXPECT_EQ(tm.tmWeight, FW_BOLD);
  EXPECT_EQ(tm.tmUnderlined, 255);
  EXPECT_EQ(tm.tmItalic, 0);
  EXPECT_EQ(tm.tmCharSet, GB2312_CHARSET);  // the default set of the system
  EXPECT_GT(tm.tmAveCharWidth, 0);
  EXPECT_GE(tm.tmMaxCharWidth, tm.tmAveCharWidth);
  WCHAR face[LF_FACESIZE];
  EXPECT_EQ(GetTextFaceW(dc_, LF_FACESIZE, face), 5);
  EXPECT_EQ(std::u16string(face), u"Arial");
  LOGFONTW lf{};
  EXPECT_EQ(GetObjectW(f, sizeof lf, &lf), static_cast<int>(sizeof lf));
  EXPECT_EQ(lf.lfHeight, -13);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_EQ(std::u16string(lf.lfFaceName), u"Arial");

  // Bold takes more room than regular.
  const LONG bold = Extent(u"Hello").cx;
  Use(-13, u"Arial");
  EXPECT_LT(Extent(u"Hello").cx, bold);

  // The ANSI creator converts its face name from GBK.
  HFONT a = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, "\xCB\xCE\xCC\xE5");
  LOGFONTW la{};
  GetObjectW(a, sizeof la, &la);
  EXPECT_EQ(std::u16string(la.lfFaceName), u"\u5B8B\u4F53");
  DeleteObject(a);
}

TEST_F(FontMetrics, ExtentsAgreeWithCharacterWidths) {
  Use(-12, u"Arial");
  INT w[3] = {};
  ASSERT_TRUE(GetCharWidth32W(dc_, 'a', 'c', w));
  const SIZE abc = Extent(u"abc");
  EXPECT_EQ(abc.cx, w[0] + w[1] + w[2]);
  EXPECT_EQ(abc.cy, Metrics().tmHeight);
  INT fit = -1;
  INT dx[3] = {};
  SIZE size{};
  ASSERT_TRUE(GetTextExtentExPointW(dc_, u"abc", 3, w[0] + w[1], &fit, dx, &size));
  EXPECT_EQ(fit, 2);
  EXPECT_EQ(dx[0], w[0]);
  EXPECT_EQ(dx[2], abc.cx);
  EXPECT_EQ(size.cx, abc.cx);

  // Chinese asked of a Latin face still measures as full-width glyphs from a fallback face.
  const SIZE zh = Extent(u"\u4E2D\u6587");
  EXPECT_GE(zh.cx, 2 * 10);
  EXPECT_EQ(Extent(u"").cx, 0);
  SIZE ansi{};
  ASSERT_TRUE(GetTextExtentPoint32A(dc_, "\xD6\xD0\xCE\xC4", 4, &ansi));
  EXPECT_EQ(ansi.cx, zh.cx);
  EXPECT_FALSE(GetTextExtentPoint32W(dc_, nullptr, 3, &size));
}

TEST_F(FontMetrics, StockFonts) {
  HGDIOBJ gui = GetStockObject(DEFAULT_GUI_FONT);
  ASSERT_NE(gui, nullptr);
  LOGFONTW lf{};
  ASSERT_EQ(GetObjectW(gui, sizeof lf, &lf), static_cast<int>(sizeof lf));
  EXPECT_EQ(lf.lfHeight, -11);
  EXPECT_FALSE(DeleteObject(gui) && GetObjectW(gui, sizeof lf, &lf) == 0);  // never freed
  SelectObject(dc_, gui);
  EXPECT_EQ(Metrics().tmHeight - Metrics().tmInternalLeading, 11);
}

}  // namespace
