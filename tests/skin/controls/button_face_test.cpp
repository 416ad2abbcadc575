// Which face the button shows in each state, pixel for pixel against the record's own state
// rectangles composed at the button's size, the caption colours, and the plain look.
#include "button_fixture.h"

#include "skin/draw/bitmap_target.h"

namespace lumoa::skin::button_test {
namespace {

class ButtonFace : public ButtonTest {
 protected:
  // The record's rectangle Source composed at 59 x 21 the way a horizontal record composes.
  Picture Composed(const RECT& Source) {
    const auto& r = Record();
    TBitmap out;
    const int skinW = r.skinrect.right - r.skinrect.left;
    ComposeHorzSkinImage(r.lefttoppoint.x, skinW - r.righttoppoint.x, &out, r.stretcheffect, 59,
                         ButtonPicture(), Source);
    return PictureOf(out);
  }
  void ExpectFace(const RECT& Source, const char* what) {
    const Picture shown = Shown(button);
    const Picture want = Composed(Source);
    const int diff = FirstDifference(shown, want);
    EXPECT_EQ(diff, -1) << what << ": first difference at x " << diff % 59 << ", y " << diff / 59;
  }
};

TEST_F(ButtonFace, StoredSizeFitsTheHorizontalRecord) {
  MakeButton();
  EXPECT_EQ(button->Width(), 59);
  EXPECT_EQ(button->Height(), 21);  // the record's height, whatever was stored
  EXPECT_EQ(button->Skin().CompositionMode, cmHorizontal);
  const auto& r = Record();
  EXPECT_EQ(r.skinrect.right - r.skinrect.left, 76);
  EXPECT_EQ(r.lefttoppoint.x, 7);
  EXPECT_EQ(76 - r.righttoppoint.x, 8);
}

TEST_F(ButtonFace, EachStateShowsItsOwnRectangle) {
  MakeButton();
  const auto& r = Record();
  ExpectFace(r.skinrect, "normal");

  Hover();
  Wait(200);  // the cross-fade to hot has ended
  ExpectFace(r.activeskinrect, "hot");

  Press();  // the press also gives the button the focus
  ExpectFace(r.downskinrect, "pressed");
  Release();
  ExpectFace(r.focusedskinrect, "focused and hot");

  Leave();
  Wait(200);
  ExpectFace(r.focusedskinrect, "focused");

  edit->SetFocus();
  Wait(200);
  ExpectFace(r.skinrect, "normal again");

  button->SetEnabled(false);
  ExpectFace(r.disabledskinrect, "disabled");
}

TEST_F(ButtonFace, MissingStateRectanglesFallBackToTheNormalImage) {
  MakeButton();
  auto& r = const_cast<TksDataSkinButtonControl&>(Record());
  r.activeskinrect = RECT{};
  r.downskinrect = RECT{};
  r.focusedskinrect = RECT{};
  r.disabledskinrect = RECT{};
  button->Invalidate();
  ExpectFace(r.skinrect, "normal");
  Hover();
  Wait(200);
  ExpectFace(r.skinrect, "hot");
  Press();
  ExpectFace(r.skinrect, "pressed");
  Release();
  button->SetFocus();
  ExpectFace(r.skinrect, "focused");
}

TEST_F(ButtonFace, CaptionColourFollowsTheState) {
  MakeButton("搜索");
  const auto& r = Record();
  std::vector<uint32_t> seen;
  // The caption's own colour is the pixel farthest from the face around it.
  auto captionHas = [&](COLORREF want) {
    const Picture p = Shown(button);
    for (uint32_t px : p.rgb)
      if (px == Rgb(want)) return true;
    return false;
  };
  EXPECT_TRUE(captionHas(r.fontcolor)) << "normal";
  Hover();
  Wait(200);
  EXPECT_TRUE(captionHas(r.activefontcolor)) << "hot";
  Press();
  EXPECT_TRUE(captionHas(r.downfontcolor)) << "pressed";
  Release();
  Leave();
  edit->SetFocus();
  Wait(200);
  EXPECT_TRUE(captionHas(r.fontcolor)) << "normal again";
  EXPECT_EQ(button->CaptionColor(false, false), static_cast<TColor>(r.fontcolor));
  EXPECT_EQ(button->CaptionColor(true, false), static_cast<TColor>(r.activefontcolor));
  EXPECT_EQ(button->CaptionColor(true, true), static_cast<TColor>(r.downfontcolor));
  button->SetEnabled(false);
  EXPECT_TRUE(captionHas(r.disabledfontcolor)) << "disabled";
  EXPECT_EQ(button->CaptionColor(true, true), static_cast<TColor>(r.disabledfontcolor));
  button->SetEnabled(true);
  EXPECT_EQ(button->CaptionColor(true, true), static_cast<TColor>(r.downfontcolor));
  button->SetUseSkinFontColor(false);
  button->DefaultFont()->SetColor(clRed);
  EXPECT_EQ(button->CaptionColor(true, true), clRed);
}

TEST_F(ButtonFace, DisabledColourEqualToTheNormalOneTurnsGrey) {
  MakeButton();
  auto& r = const_cast<TksDataSkinButtonControl&>(Record());
  r.disabledfontcolor = r.fontcolor;
  button->SetEnabled(false);
  button->LoadSkinRecord();
  EXPECT_EQ(button->CaptionColor(false, false), 8421504);
}

TEST_F(ButtonFace, CaptionIsCentredAndWhole) {
  MakeButton("搜索");
  const Picture p = Shown(button);
  const Picture face = Composed(Record().skinrect);
  int left = p.width, right = -1, top = p.height, bottom = -1;
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x)
      if (p.At(x, y) != face.At(x, y)) {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
  ASSERT_GE(right, 0) << "no caption drawn";
  // Inside the text area (7..51 x 3..18), centred within a pixel or two.
  EXPECT_GE(left, 7);
  EXPECT_LE(right, 51);
  EXPECT_GE(top, 3);
  EXPECT_LE(bottom, 17);
  EXPECT_NEAR((left + right) / 2.0, 29, 2.0);
}

TEST_F(ButtonFace, PlainLookWithoutARecord) {
  MakeButton("", -1);
  EXPECT_EQ(button->Height(), 17);  // no record: the stored size stays
  auto frameAndFill = [&](uint32_t frame, uint32_t fill, const char* what) {
    const Picture p = Shown(button);
    EXPECT_EQ(p.At(0, 0), frame) << what;
    EXPECT_EQ(p.At(58, 16), frame) << what;
    EXPECT_EQ(p.At(30, 0), frame) << what;
    EXPECT_EQ(p.At(1, 1), fill) << what;
    EXPECT_EQ(p.At(57, 15), fill) << what;
  };
  frameAndFill(Rgb(ColorToRGB(clBtnShadow)), Rgb(ColorToRGB(clBtnFace)), "normal");
  Hover();
  frameAndFill(0x000080, 0xB6BDD2, "hot");  // navy frame, red 182 green 189 blue 210
  Press();
  frameAndFill(0x000080, 0x8593B5, "pressed");  // red 133 green 147 blue 181
  Release();
  Leave();
  frameAndFill(0x000080, 0xB6BDD2, "focused by the press");
  edit->SetFocus();
  frameAndFill(Rgb(ColorToRGB(clBtnShadow)), Rgb(ColorToRGB(clBtnFace)), "normal again");
}

TEST_F(ButtonFace, PlainLookCaptionTakesTheDefaultFontOrGreyWhenDisabled) {
  MakeButton("W", -1);
  button->DefaultFont()->SetColor(clRed);
  auto has = [&](uint32_t rgb) {
    const Picture p = Shown(button);
    return std::find(p.rgb.begin(), p.rgb.end(), rgb) != p.rgb.end();
  };
  EXPECT_TRUE(has(0xFF0000));
  button->SetEnabled(false);
  EXPECT_FALSE(has(0xFF0000));
  EXPECT_TRUE(has(Rgb(ColorToRGB(clBtnShadow))));
}

TEST_F(ButtonFace, OnPaintDrawsInsteadOfTheContent) {
  MakeButton("搜索");
  RECT given{};
  bool gotDown = true, gotHot = true;
  button->OnPaint = [&](TObject*, TCanvas*, TRect r, bool down, bool hot, bool& drawDefault) {
    given = r;
    gotDown = down;
    gotHot = hot;
    drawDefault = false;
  };
  button->Invalidate();
  const Picture p = Shown(button);
  EXPECT_EQ(FirstDifference(p, Composed(Record().skinrect)), -1) << "nothing drawn over the face";
  EXPECT_EQ(given.left, 7);
  EXPECT_EQ(given.top, 3);
  EXPECT_EQ(given.right, 51);  // clientrect.right 68 less 17
  EXPECT_EQ(given.bottom, 18);
  EXPECT_FALSE(gotDown);
  EXPECT_FALSE(gotHot);
}

TEST_F(ButtonFace, GlyphOfTheStripFollowsTheState) {
  MakeButton();
  // Four 8 x 8 glyphs: up red, disabled green, pressed blue, hot yellow; the bottom row is
  // the transparent colour.
  TBitmap strip(32, 8);
  const TColor colours[] = {clRed, clLime, clBlue, clYellow};
  for (int g = 0; g < 4; ++g) {
    strip.Canvas()->Brush().SetColor(colours[g]);
    strip.Canvas()->FillRect(TRect{g * 8, 0, g * 8 + 8, 7});
    strip.Canvas()->Brush().SetColor(clFuchsia);
    strip.Canvas()->FillRect(TRect{g * 8, 7, g * 8 + 8, 8});
  }
  button->SetGlyph(&strip);
  button->SetNumGlyphs(4);
  auto shows = [&](TColor c) {
    const Picture p = Shown(button);
    return std::count(p.rgb.begin(), p.rgb.end(), Rgb(ColorToRGB(c))) == 8 * 7;
  };
  EXPECT_TRUE(shows(clRed));
  Hover();
  Wait(200);
  EXPECT_TRUE(shows(clYellow));
  Press();
  EXPECT_TRUE(shows(clBlue));
  Release();
  Leave();
  edit->SetFocus();
  button->SetEnabled(false);
  EXPECT_TRUE(shows(clLime));
  button->SetNumGlyphs(1);  // one glyph serves every state
  EXPECT_TRUE(shows(clRed));
}

TEST_F(ButtonFace, FocusFrameDottedAlongTheTextArea) {
  MakeButton();
  auto& r = const_cast<TksDataSkinButtonControl&>(Record());
  r.showfocus = true;
  button->SetFocus();
  Wait(200);
  const Picture p = Shown(button);
  const Picture face = Composed(r.focusedskinrect);
  const uint32_t dot = Rgb(r.activefontcolor);  // the focused face's caption colour
  // Text area 7..51 x 3..18, right and bottom edges one pixel in; every second pixel.
  for (int x = 7; x <= 50; ++x) {
    EXPECT_EQ(p.At(x, 3), (x - 7) % 2 == 0 ? dot : face.At(x, 3)) << x;
  }
  int left = 0;
  for (int y = 3; y <= 17; ++y) left += p.At(7, y) == dot;
  EXPECT_EQ(left, 8);
  edit->SetFocus();
  Wait(200);
  EXPECT_EQ(FirstDifference(Shown(button), Composed(r.skinrect)), -1) << "no frame without focus";
}

TEST_F(ButtonFace, ForeignPaintRequestGetsTheWholeButton) {
  MakeButton("搜索");
  TBitmap target(59, 21);
  SendMessageW(button->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(target.Canvas()->Handle()), 0);
  EXPECT_EQ(FirstDifference(PictureOf(target), Shown(button)), -1);
}

TEST_F(ButtonFace, FreeStretchWithoutSkinSize) {
  MakeButton();
  button->SetUseSkinSize(false);
  button->SetBounds(20, 30, 100, 40);
  EXPECT_EQ(button->Width(), 100);
  EXPECT_EQ(button->Height(), 40);
  const Picture p = Shown(button);
  TBitmap want;
  want.SetSize(100, 40);
  StretchSkinImage(&want, ButtonPicture(), Record().skinrect, Record().clientrect, true);
  EXPECT_EQ(FirstDifference(p, PictureOf(want)), -1);
  EXPECT_EQ(button->Skin().NewClientRect.right, 68 + 24);
  EXPECT_EQ(button->Skin().NewClientRect.bottom, 18 + 19);
}

}  // namespace
}  // namespace lumoa::skin::button_test
