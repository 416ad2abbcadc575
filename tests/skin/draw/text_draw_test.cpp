// Text output, captions, glow and reflection, dotted frames, PNG conversion, parent
// backgrounds and the optional platform entry points.
#include "skin/draw/text_draw.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "image/png/png_ancillary.h"
#include "image/png/png_image.h"
#include "platform/backend/headless/headless_backend.h"
#include "skin/draw/blend.h"
#include "skin/draw/ks_bitmap.h"
#include "skin/draw/parent_background.h"
#include "skin/draw/platform_entry.h"
#include "skin/draw/png_to_bitmap.h"
#include "ui/bitmap.h"
#include "ui/streams.h"
#include "ui/win_control.h"

namespace {

using namespace lumoa::skin;

std::unique_ptr<TBitmap> Filled(int w, int h, TColor c) {
  auto b = std::make_unique<TBitmap>(w, h, pf32bit);
  b->Canvas()->Brush().SetColor(c);
  b->Canvas()->FillRect(Rect(0, 0, w, h));
  b->Canvas()->Font().SetHeight(-13);
  b->Canvas()->Font().SetColor(clBlack);
  return b;
}

bool SamePixels(const TBitmap& a, const TBitmap& b) {
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.PixelRGB(x, y) != b.PixelRGB(x, y)) return false;
  return true;
}

std::string Dots(const TBitmap& b) {
  std::string s;
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) s += b.PixelRGB(x, y) == 0xFFFFFF ? '.' : '#';
    s += '\n';
  }
  return s;
}

TEST(WideText, MeasuresAndEllipsizes) {
  auto b = Filled(10, 10, clWhite);
  TCanvas* c = b->Canvas();
  const WideString text = u"Search the web";
  const int full = WideTextWidth(c, text);
  EXPECT_GT(full, 0);
  EXPECT_GT(WideTextHeight(c, text), 0);
  EXPECT_EQ(WideTextWidth(c, u""), 0);

  WideString fits = text;
  EllipsizeText(c, fits, full);
  EXPECT_EQ(fits, text);

  // Shortened to the longest prefix that fits with "...".
  const int max = full * 2 / 3;
  WideString cut = text;
  EllipsizeText(c, cut, max);
  ASSERT_GE(cut.size(), 4u);
  ASSERT_EQ(cut.substr(cut.size() - 3), u"...");
  const WideString prefix = cut.substr(0, cut.size() - 3);
  EXPECT_LT(prefix.size(), text.size());
  EXPECT_EQ(text.substr(0, prefix.size()), prefix);
  EXPECT_LE(WideTextWidth(c, cut), max);
  EXPECT_GT(WideTextWidth(c, text.substr(0, prefix.size() + 1) + u"..."), max);

  // Not even the first character fits beside "...": only "..." is left.
  WideString tiny = u"Wide";
  EllipsizeText(c, tiny, 1);
  EXPECT_EQ(tiny, u"...");
}

TEST(Captions, CentredWidensForWAndMovesUpForOddHeights) {
  const RECT r{0, 0, 41, 20};
  const UINT centred = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
  for (const char* text : {"W", "Wx", "Mx"}) {
    auto drawn = Filled(50, 20, clWhite);
    DrawCenteredCaption(drawn->Canvas(), text, r);
    const bool w = text[0] == 'W';
    auto expected = Filled(50, 20, clWhite);
    RECT e{0, -1, w ? 43 : 41, 20};  // font Height -13 is odd: one up
    DrawWideText(expected->Canvas(), AnsiToWide(text), e, centred);
    EXPECT_TRUE(SamePixels(*drawn, *expected)) << text;
    // Without the widening a "W" caption sits one pixel further left.
    auto narrow = Filled(50, 20, clWhite);
    RECT n{0, -1, 41, 20};
    DrawWideText(narrow->Canvas(), AnsiToWide(text), n, centred);
    EXPECT_EQ(SamePixels(*drawn, *narrow), !w) << text;
  }
  // An even Height leaves the top alone; an empty text draws nothing.
  auto even = Filled(50, 20, clWhite);
  even->Canvas()->Font().SetHeight(-12);
  DrawLeftCaption(even->Canvas(), "Mx", r);
  auto expected = Filled(50, 20, clWhite);
  expected->Canvas()->Font().SetHeight(-12);
  RECT e = r;
  DrawWideText(expected->Canvas(), u"Mx", e, DT_SINGLELINE | DT_VCENTER);
  EXPECT_TRUE(SamePixels(*even, *expected));
  auto blank = Filled(50, 20, clWhite);
  DrawCenteredCaption(blank->Canvas(), "", r);
  DrawCaptionAt(blank->Canvas(), "", r, 3);
  EXPECT_TRUE(SamePixels(*blank, *Filled(50, 20, clWhite)));
}

TEST(Captions, CaptionAtPlacesByTextHeightAndClips) {
  for (int height : {-13, -12}) {
    auto drawn = Filled(40, 21, clWhite);
    drawn->Canvas()->Font().SetHeight(height);
    drawn->Canvas()->Brush().SetStyle(bsClear);
    const RECT r{3, 1, 30, 20};
    DrawCaptionAt(drawn->Canvas(), "Hg", r, 4);
    auto expected = Filled(40, 21, clWhite);
    TCanvas* c = expected->Canvas();
    c->Font().SetHeight(height);
    c->Brush().SetStyle(bsClear);
    const int th = c->TextExtentW(u"Hg").cy;
    const int y = 1 + 19 / 2 - th / 2 - (height & 1 ? 1 : 0);
    c->TextRectW(r, 3 + 4 + 2, y, u"Hg");
    EXPECT_TRUE(SamePixels(*drawn, *expected)) << height;
  }
  // Clipped to the rectangle: nothing lands outside it.
  auto clipped = Filled(40, 21, clWhite);
  clipped->Canvas()->Brush().SetStyle(bsClear);
  DrawCaptionAt(clipped->Canvas(), "WWWWWWWW", RECT{0, 5, 12, 15});
  for (int y = 0; y < 21; ++y)
    for (int x = 0; x < 40; ++x)
      if (x >= 12 || y < 5 || y >= 15) {
        ASSERT_EQ(clipped->PixelRGB(x, y), 0xFFFFFFu) << x << "," << y;
      }
}

TEST(DottedFrame, EvenAndOddSides) {
  auto even = Filled(5, 5, clWhite);
  DrawDottedFrame(even->Canvas(), RECT{0, 0, 5, 5});
  EXPECT_EQ(Dots(*even), ".#.#.\n"
                         "#...#\n"
                         ".....\n"
                         "#...#\n"
                         ".#.#.\n");
  auto odd = Filled(4, 5, clWhite);
  DrawDottedFrame(odd->Canvas(), RECT{0, 0, 4, 5});
  EXPECT_EQ(Dots(*odd), "#.#.\n"
                        "...#\n"
                        "#...\n"
                        "...#\n"
                        "#.#.\n");
  // In the font colour.
  auto red = Filled(3, 3, clWhite);
  red->Canvas()->Font().SetColor(clRed);
  DrawDottedFrame(red->Canvas(), RECT{0, 0, 3, 2});
  EXPECT_EQ(red->PixelRGB(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(red->PixelRGB(1, 0), RGB(255, 255, 255));
}

TEST(Colours, MidColorResolvesSystemColours) {
  EXPECT_EQ(MidColor(RGB(10, 201, 255), RGB(21, 0, 0)), static_cast<TColor>(RGB(15, 100, 127)));
  const COLORREF face = ColorToRGB(clBtnFace);
  EXPECT_EQ(MidColor(clBtnFace, clBtnFace), static_cast<TColor>(face));
}

TEST(GlowText, SizeZeroIsACrispColouredCopy) {
  // White text on white: only the glow copy shows, 25 pixels right and down of the text.
  const RECT r{4, 4, 44, 24};
  auto drawn = Filled(100, 60, clWhite);
  drawn->Canvas()->Font().SetColor(clWhite);
  DrawGlowText(drawn->Canvas(), r, u"Glow", clGreen, 0, 25, DT_SINGLELINE);
  auto mask = Filled(100, 60, clBlack);
  mask->Canvas()->Font().SetColor(clRed);
  mask->Canvas()->Brush().SetStyle(bsClear);
  RECT m{29, 29, 69, 49};
  DrawWideText(mask->Canvas(), u"Glow", m, DT_SINGLELINE);
  int covered = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 100; ++x) {
      const uint32_t a = GetRValue(mask->PixelRGB(x, y));
      covered += a > 0;
      const uint32_t want = BlendPixel(0xFFFFFFFFu, (a << 24) | 0x008000u) & 0xFFFFFF;
      ASSERT_EQ(drawn->PixelRGB(x, y), RGB(want >> 16, (want >> 8) & 0xFF, want & 0xFF))
          << x << "," << y;
    }
  EXPECT_GT(covered, 20);

  // A glow of 3 spreads beyond the text's own pixels.
  auto glow = Filled(100, 60, clWhite);
  glow->Canvas()->Font().SetColor(clWhite);
  DrawGlowText(glow->Canvas(), r, u"Glow", clGreen, 3, 25, DT_SINGLELINE);
  int spread = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 100; ++x)
      spread += GetRValue(mask->PixelRGB(x, y)) == 0 && glow->PixelRGB(x, y) != 0xFFFFFF;
  EXPECT_GT(spread, 20);
}

TEST(GlowText, PlateAndReflectionStayInTheirAreas) {
  auto plate = Filled(100, 60, clWhite);
  plate->Canvas()->Font().SetColor(clWhite);
  DrawGlowPlateText(plate->Canvas(), RECT{20, 20, 70, 40}, u"Plate", clBlue, 10, DT_SINGLELINE);
  // The plate shows around the text but not beyond the margin of 10.
  EXPECT_NE(plate->PixelRGB(45, 30), 0xFFFFFFu);
  EXPECT_EQ(plate->PixelRGB(5, 5), 0xFFFFFFu);
  EXPECT_EQ(plate->PixelRGB(85, 55), 0xFFFFFFu);

  // The reflection lies below the text only, fading downwards.
  auto refl = Filled(60, 60, clWhite);
  TCanvas* c = refl->Canvas();
  c->Font().SetColor(clWhite);
  const int th = c->TextExtentW(u"HHHH").cy;
  DrawReflectedText(c, RECT{2, 2, 58, 2 + th}, u"HHHH", clBlack, 1, DT_SINGLELINE);
  int above = 0, near = 0, far = 0;
  for (int x = 0; x < 60; ++x) {
    for (int y = 0; y < 2 + th + 1; ++y) above += refl->PixelRGB(x, y) != 0xFFFFFF;
    for (int y = 2 + th + 1; y < 2 + th + th / 2; ++y)
      near = std::max(near, 255 - int(GetRValue(refl->PixelRGB(x, y))));
    far = std::max(far, 255 - int(GetRValue(refl->PixelRGB(x, 2 + 2 * th - 2))));
  }
  EXPECT_EQ(above, 0);
  EXPECT_GT(near, far);
  EXPECT_LE(near, 180);  // at most 70% of full coverage
}

TEST(PngToBitmap, InterlacedRgbaKeepsAlphaInEveryPass) {
  TksPngImage src;
  src.InterlaceMethod = 1;
  src.CreateBlank(6, 8, 55, 55);
  for (int y = 0; y < 55; ++y)
    for (int x = 0; x < 55; ++x) {
      src.SetPixels(x, y, RGB(x * 4, y * 4, (x + y) & 0xFF));
      src.AlphaScanline(y)[x] = static_cast<uint8_t>((x * 7 + y * 13) & 0xFF);
    }
  TMemoryStream s;
  src.SaveToStream(s);
  s.SetPosition(0);
  TksPngImage png;
  png.LoadFromStream(s);
  ASSERT_EQ(png.Width(), 55);
  ASSERT_EQ(png.InterlaceMethod, 1);
  TksBitmap b;
  ASSERT_TRUE(PngToBitmap(b, png));
  ASSERT_EQ(b.Width(), 55);
  ASSERT_EQ(b.Height(), 55);
  for (int y = 0; y < 55; ++y)
    for (int x = 0; x < 55; ++x) {
      const DWORD want = (DWORD((x * 7 + y * 13) & 0xFF) << 24) | (DWORD(x * 4) << 16) |
                         (DWORD(y * 4) << 8) | DWORD((x + y) & 0xFF);
      ASSERT_EQ(b.GetPixel(x, y), want) << x << "," << y;
    }
  EXPECT_TRUE(b.AlphaBlend);

  // An opaque RGB image gives alpha 255 and no blending; an empty image changes nothing.
  TksPngImage rgb;
  rgb.CreateBlank(2, 8, 2, 1);
  rgb.SetPixels(1, 0, RGB(1, 2, 3));
  ASSERT_TRUE(PngToBitmap(b, rgb));
  EXPECT_EQ(b.GetPixel(1, 0), 0xFF010203u);
  EXPECT_FALSE(b.AlphaBlend);
  TksPngImage empty;
  EXPECT_FALSE(PngToBitmap(b, empty));
  EXPECT_EQ(b.Width(), 2);
}

TEST(PngToBitmap, PaletteTransparencyBecomesAlpha) {
  TksPngImage png;
  png.CreateBlank(3, 8, 2, 1);
  png.SetPalette({RGBQUAD{0, 0, 255, 0}, RGBQUAD{255, 0, 0, 0}});
  png.Scanline(0)[1] = 1;
  png.AddAlpha();
  uint8_t table[2] = {0, 255};
  png.Chunks().Find<TksPngLayertRNS>()->SetTable(table, 2);
  TksBitmap b;
  ASSERT_TRUE(PngToBitmap(b, png));
  EXPECT_EQ(b.GetPixel(0, 0), 0x00FF0000u);
  EXPECT_EQ(b.GetPixel(1, 0), 0xFF0000FFu);
}

// A parent that paints a black bar along its own row 2 and windowless children that fill
// themselves with their colour (or fail).
struct Panel : TCustomControl {
  using TCustomControl::TCustomControl;
  void Paint() override {
    Canvas()->Brush().SetColor(clBlack);
    Canvas()->FillRect(Rect(0, 2, Width(), 3));
  }
};
struct Block : TGraphicControl {
  using TGraphicControl::TGraphicControl;
  TColor fill = clBlue;
  bool fail = false;
  bool sawPaintCopy = false;
  void Paint() override {
    sawPaintCopy = ControlState().Contains(csPaintCopy);
    if (fail) throw Exception("paint failed");
    Canvas()->Brush().SetColor(fill);
    Canvas()->FillRect(Rect(0, 0, Width(), Height()));
  }
};

TEST(ParentBackground, ParentThenEarlierWindowlessSiblings) {
  Panel parent(nullptr);
  parent.SetBounds(0, 0, 40, 20);
  parent.SetColor(clYellow);
  auto under = std::make_unique<Block>(nullptr);
  auto apart = std::make_unique<Block>(nullptr);
  auto control = std::make_unique<Block>(nullptr);
  auto above = std::make_unique<Block>(nullptr);
  under->SetBounds(8, 0, 4, 4);
  apart->SetBounds(30, 10, 4, 4);
  apart->fill = clRed;
  control->SetBounds(10, 1, 8, 6);
  above->SetBounds(10, 1, 8, 6);
  above->fill = clRed;
  for (Block* b : {under.get(), apart.get(), control.get(), above.get()}) b->SetParent(&parent);

  auto canvas = Filled(8, 6, clWhite);
  PaintParentBackground(control.get(), canvas->Canvas());
  EXPECT_EQ(canvas->PixelRGB(5, 0), RGB(255, 255, 0));  // the parent's colour
  EXPECT_EQ(canvas->PixelRGB(5, 1), RGB(0, 0, 0));      // its own row 2
  EXPECT_EQ(canvas->PixelRGB(1, 2), RGB(0, 0, 255));    // sibling beneath, columns 8..11
  EXPECT_EQ(canvas->PixelRGB(2, 2), RGB(255, 255, 0));
  EXPECT_TRUE(under->sawPaintCopy);
  EXPECT_FALSE(under->ControlState().Contains(csPaintCopy));
  EXPECT_FALSE(parent.ControlState().Contains(csPaintCopy));
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x) ASSERT_NE(canvas->PixelRGB(x, y), RGB(255, 0, 0));

  // The extra offset moves the view; a failing sibling leaves no paint-copy state behind.
  under->fail = true;
  auto shifted = Filled(8, 6, clWhite);
  EXPECT_THROW(PaintParentBackground(control.get(), shifted->Canvas(), RECT{0, 1, 0, 0}),
               Exception);
  EXPECT_EQ(shifted->PixelRGB(5, 0), RGB(0, 0, 0));
  EXPECT_FALSE(under->ControlState().Contains(csPaintCopy));
  EXPECT_FALSE(parent.ControlState().Contains(csPaintCopy));
  for (Block* b : {under.get(), apart.get(), control.get(), above.get()}) b->SetParent(nullptr);
}

TEST(PlatformEntries, WrappersWorkWithoutTheirEntryPoints) {
  lumoa::platform::Headless();
  EXPECT_TRUE(IsNTPlatform());
  EXPECT_FALSE(CompositionEnabled());
  SetTransitionsForcedOff(nullptr, true);  // no composition library: nothing happens
  EnableBlurBehind(nullptr, true);

  ScrollBarInfo info;
  EXPECT_FALSE(GetScrollBarInfoSafe(nullptr, 0, info));
  EXPECT_EQ(info.rgstate[0], kStateSystemInvisible);

  // One monitor: the system work area and the primary screen.
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const RECT w = GetMonitorArea(nullptr, MonitorArea::Work);
  EXPECT_EQ(w.right - w.left, work.right - work.left);
  EXPECT_EQ(w.bottom, work.bottom);
  const RECT f = GetMonitorArea(nullptr, MonitorArea::Full);
  EXPECT_EQ(f.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(f.bottom, GetSystemMetrics(SM_CYSCREEN));

  // Released entry points: layered calls answer false, the scroll-bar query reads invisible.
  const PlatformEntryPoints saved = EntryPoints();
  ReleaseEntryPoints();
  EntryPoints().SetLayeredWindowAttributes = nullptr;
  EntryPoints().UpdateLayeredWindow = nullptr;
  EXPECT_FALSE(SetLayeredWindowAttributesSafe(nullptr, 0, 255, LWA_ALPHA));
  EXPECT_FALSE(UpdateLayeredWindowSafe(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0,
                                       nullptr, ULW_ALPHA));
  EXPECT_EQ(GetMonitorArea(nullptr, MonitorArea::Full).right, GetSystemMetrics(SM_CXSCREEN));

  // Without the wide routine the text goes through the ANSI code page and looks the same.
  auto wide = Filled(80, 20, clWhite);
  auto ansi = Filled(80, 20, clWhite);
  RECT a{0, 0, 80, 20}, b{0, 0, 80, 20};
  DrawWideText(wide->Canvas(), u"Ab \u641c\u7d22", a, DT_SINGLELINE);
  EntryPoints().NTPlatform = false;
  DrawWideText(ansi->Canvas(), u"Ab \u641c\u7d22", b, DT_SINGLELINE);
  EntryPoints() = saved;
  EXPECT_TRUE(SamePixels(*wide, *ansi));
  EXPECT_FALSE(SamePixels(*wide, *Filled(80, 20, clWhite)));
}

}  // namespace
