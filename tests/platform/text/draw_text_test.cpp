#include <gtest/gtest.h>

#include <string>

#include "text_canvas.h"

namespace {

class DrawText : public TextCanvas {
 protected:
  void SetUp() override {
    TextCanvas::SetUp();
    Use(-12, u"Arial");
    tm_ = Metrics();
  }
  RECT Calc(const char16_t* s, RECT r, UINT format, int* height = nullptr) {
    const int h = DrawTextW(dc_, s, -1, &r, format | DT_CALCRECT);
    if (height) *height = h;
    return r;
  }
  TEXTMETRICW tm_{};
};

TEST_F(DrawText, CalcRectSingleLineAndLineBreaks) {
  const LONG w = Extent(u"Hello").cx;
  int h = 0;
  EXPECT_EQ(Calc(u"Hello", RECT{10, 20, 10, 20}, DT_SINGLELINE, &h), (RECT{10, 20, 10 + w, 20 + tm_.tmHeight}));
  EXPECT_EQ(h, tm_.tmHeight);
  // Single line shrinks a wide rectangle to the text too.
  EXPECT_EQ(Calc(u"Hello", RECT{0, 0, 150, 80}, DT_SINGLELINE | DT_CENTER), (RECT{0, 0, w, tm_.tmHeight}));
  // CR, LF and CRLF each end a line; a final break opens none; single line ignores them.
  const LONG w3 = Extent(u"ccc").cx;
  EXPECT_EQ(Calc(u"a\r\nbb\nccc\rd\n", RECT{0, 0, 0, 0}, 0, &h), (RECT{0, 0, w3, 4 * tm_.tmHeight}));
  EXPECT_EQ(h, 4 * tm_.tmHeight);
  EXPECT_EQ(Calc(u"a\nb", RECT{0, 0, 0, 0}, DT_SINGLELINE).bottom, tm_.tmHeight);
  // Empty text: no width, one line high only when single line.
  EXPECT_EQ(Calc(u"", RECT{5, 5, 50, 50}, DT_SINGLELINE), (RECT{5, 5, 5, 5 + tm_.tmHeight}));
  EXPECT_EQ(Calc(u"", RECT{5, 5, 50, 50}, 0), (RECT{5, 5, 5, 5}));
}

TEST_F(DrawText, WordBreakGrowsDownAndShrinksToTheWidestLine) {
  const LONG two = Extent(u"alpha beta").cx;
  const LONG gamma = Extent(u"gamma").cx;
  int h = 0;
  // Room for two words per line: "alpha beta" / "gamma".
  RECT r = Calc(u"alpha beta gamma", RECT{0, 0, two + 3, 0}, DT_WORDBREAK, &h);
  EXPECT_EQ(r, (RECT{0, 0, two, 2 * tm_.tmHeight}));
  EXPECT_EQ(h, 2 * tm_.tmHeight);
  // Too narrow for any pair: one word per line, a long word stays whole and widens the result.
  r = Calc(u"alpha beta gamma", RECT{0, 0, 5, 0}, DT_WORDBREAK);
  EXPECT_EQ(r.bottom, 3 * tm_.tmHeight);
  EXPECT_EQ(r.right, std::max({Extent(u"alpha").cx, Extent(u"beta").cx, gamma}));
  // An edit control breaks such a word inside.
  r = Calc(u"abcdefghij", RECT{0, 0, Extent(u"abcde").cx, 0}, DT_WORDBREAK | DT_EDITCONTROL);
  EXPECT_EQ(r.bottom, 2 * tm_.tmHeight);
  // Chinese breaks between characters.
  const LONG zh2 = Extent(u"\u4E2D\u6587").cx;
  r = Calc(u"\u4E2D\u6587\u641C\u7D22", RECT{0, 0, zh2 + 1, 0}, DT_WORDBREAK);
  EXPECT_EQ(r, (RECT{0, 0, zh2, 2 * tm_.tmHeight}));
}

TEST_F(DrawText, HorizontalAndVerticalPlacement) {
  const SIZE size = Extent(u"Wq");
  RECT r{0, 0, 120, 60};
  DrawTextW(dc_, u"Wq", -1, &r, DT_SINGLELINE);
  const RECT base = Ink();
  ASSERT_GT(base.right, base.left);

  auto shifted = [&](LONG dx, LONG dy) {
    return RECT{base.left + dx, base.top + dy, base.right + dx, base.bottom + dy};
  };
  Clear();
  int ret = DrawTextW(dc_, u"Wq", -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  const LONG dy = (60 - tm_.tmHeight) / 2;
  EXPECT_EQ(Ink(), shifted((120 - size.cx) / 2, dy));
  EXPECT_EQ(ret, dy + tm_.tmHeight);  // offset from the top to the text's bottom

  Clear();
  ret = DrawTextW(dc_, u"Wq", -1, &r, DT_SINGLELINE | DT_RIGHT | DT_BOTTOM);
  EXPECT_EQ(Ink(), shifted(120 - size.cx, 60 - tm_.tmHeight));
  EXPECT_EQ(ret, 60);

  // Vertical centring needs a single line.
  Clear();
  ret = DrawTextW(dc_, u"Wq", -1, &r, DT_VCENTER);
  EXPECT_EQ(Ink(), base);
  EXPECT_EQ(ret, tm_.tmHeight);
}

TEST_F(DrawText, ClippingToTheRectangle) {
  RECT r{10, 10, 30, 20};
  DrawTextW(dc_, u"WWWWWW", -1, &r, DT_SINGLELINE);
  RECT ink = Ink();
  EXPECT_GE(ink.left, 10);
  EXPECT_LE(ink.right, 30);
  EXPECT_LE(ink.bottom, 20);
  Clear();
  DrawTextW(dc_, u"WWWWWW", -1, &r, DT_SINGLELINE | DT_NOCLIP);
  ink = Ink();
  EXPECT_GT(ink.right, 30);
  EXPECT_GT(ink.bottom, 20);
}

TEST_F(DrawText, Ellipses) {
  const LONG avail = Extent(u"abcdef").cx;
  WCHAR text[32] = u"abcdefghijklmnop";
  text[17] = u'#';  // past the terminator: must survive
  RECT r{0, 0, avail, 40};
  RECT calc = r;
  DrawTextW(dc_, text, -1, &calc, DT_SINGLELINE | DT_END_ELLIPSIS | DT_CALCRECT);
  EXPECT_LE(calc.right, avail);
  DrawTextW(dc_, text, -1, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING);
  const std::u16string shown(text);
  ASSERT_GE(shown.size(), 4u);
  EXPECT_EQ(shown.substr(shown.size() - 3), u"...");
  EXPECT_EQ(std::u16string(u"abcdefghijklmnop").rfind(shown.substr(0, shown.size() - 3), 0), 0u);
  EXPECT_LE(Extent(text).cx, avail);
  EXPECT_EQ(text[17], u'#');
  EXPECT_LE(Ink().right, avail);

  // A buffer shorter than the shortened text is filled, never overrun.
  WCHAR tiny[6] = {u'W', u'W', u'W', u'#', u'#', u'#'};
  RECT narrow{0, 0, 2, 20};
  DrawTextW(dc_, tiny, 3, &narrow, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING);
  EXPECT_EQ(std::u16string(tiny, 3), u"...");
  EXPECT_EQ(std::u16string(tiny + 3, 3), u"###");

  // Text that fits is left alone; a path keeps its last component.
  WCHAR fits[] = u"abc";
  RECT wide{0, 0, 150, 20};
  DrawTextW(dc_, fits, -1, &wide, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING);
  EXPECT_EQ(std::u16string(fits), u"abc");
  WCHAR path[64] = u"C:\\Program Files\\Lumoa\\app.exe";
  RECT pr{0, 0, Extent(u"C:\\Pro...\\app.exe").cx, 20};
  DrawTextW(dc_, path, -1, &pr, DT_SINGLELINE | DT_PATH_ELLIPSIS | DT_MODIFYSTRING);
  const std::u16string p(path);
  EXPECT_EQ(p.substr(p.size() - 11), u"...\\app.exe");
  EXPECT_EQ(p.rfind(u"C:\\", 0), 0u);
}

TEST_F(DrawText, Prefixes) {
  const LONG file = Extent(u"File").cx;
  EXPECT_EQ(Calc(u"&File", RECT{}, DT_SINGLELINE).right, file);
  EXPECT_EQ(Calc(u"&File", RECT{}, DT_SINGLELINE | DT_NOPREFIX).right, Extent(u"&File").cx);
  EXPECT_EQ(Calc(u"a&&b", RECT{}, DT_SINGLELINE).right, Extent(u"a&b").cx);

  RECT r{0, 0, 100, 30};
  DrawTextW(dc_, u"File", -1, &r, DT_SINGLELINE | DT_NOPREFIX);
  const auto plain = Snapshot();
  Clear();
  DrawTextW(dc_, u"&File", -1, &r, DT_SINGLELINE | DT_HIDEPREFIX);
  EXPECT_EQ(Snapshot(), plain);
  Clear();
  DrawTextW(dc_, u"&File", -1, &r, DT_SINGLELINE);
  const auto marked = Snapshot();
  EXPECT_NE(marked, plain);
  // Only the underline under "F", below the baseline.
  Clear();
  DrawTextW(dc_, u"&File", -1, &r, DT_SINGLELINE | DT_PREFIXONLY);
  const RECT line = Ink();
  EXPECT_GE(line.top, tm_.tmAscent);
  EXPECT_EQ(line.left, 0);
  EXPECT_EQ(line.right, Extent(u"F").cx);
}

TEST_F(DrawText, TabsOpaqueAndAnsi) {
  const LONG stop = 8 * tm_.tmAveCharWidth;
  EXPECT_EQ(Calc(u"a\tb", RECT{}, DT_SINGLELINE | DT_EXPANDTABS).right, stop + Extent(u"b").cx);
  EXPECT_EQ(Calc(u"a\tb", RECT{}, DT_SINGLELINE).right, Extent(u"ab").cx);
  DRAWTEXTPARAMS params{sizeof(DRAWTEXTPARAMS), 4, 3, 2, 0};
  WCHAR tabbed[] = u"a\tb";
  RECT r{};
  DrawTextExW(dc_, tabbed, -1, &r, DT_SINGLELINE | DT_EXPANDTABS | DT_CALCRECT, &params);
  EXPECT_EQ(r.right, 3 + 4 * tm_.tmAveCharWidth + Extent(u"b").cx + 2);
  EXPECT_EQ(params.uiLengthDrawn, 3u);

  SetBkMode(dc_, OPAQUE);
  SetBkColor(dc_, RGB(0, 255, 0));
  RECT box{10, 10, 150, 60};
  DrawTextW(dc_, u"Hi", -1, &box, DT_SINGLELINE | DT_CENTER);
  const LONG w = Extent(u"Hi").cx;
  const LONG x = 10 + (140 - w) / 2;
  EXPECT_EQ(Ink(), (RECT{x, 10, x + w, 10 + tm_.tmHeight}));

  SetBkMode(dc_, TRANSPARENT);
  RECT wr{}, ar{};
  DrawTextW(dc_, u"\u4E2D\u6587\u20AC", -1, &wr, DT_CALCRECT | DT_SINGLELINE);
  DrawTextA(dc_, "\xD6\xD0\xCE\xC4\x80", -1, &ar, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(ar, wr);
  EXPECT_EQ(DrawTextW(dc_, u"x", 1, nullptr, 0), 0);
}

}  // namespace
