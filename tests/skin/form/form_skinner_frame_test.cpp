// A bordered, sizeable form with the form skinner and skin 0: the frame strips, the mask
// region, the hit codes, the caption buttons, the inactive look and the fade-in.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "form_skinner_fixture.h"
#include "skin/draw/bitmap_target.h"
#include "skin/draw/effects.h"
#include "skin/draw/layer_manager.h"

namespace {

using namespace lumoa::skin;
using namespace lumoa::skin::test;

class BorderedForm : public FormSkinTest {
 protected:
  void SetUp() override {
    FormSkinTest::SetUp();
    LoadSkin(0);
  }
  SkinGeometry FrameGeometry(const RECT& client) {
    const TksDataSkinFormInfo& fi = data()->FormInfo;
    SkinGeometry g;
    g.skinRect = RECT{0, 0, data()->Picture->Width(), data()->Picture->Height()};
    g.leftTop = fi.lefttoppoint;
    g.rightTop = fi.righttoppoint;
    g.leftBottom = fi.leftbottompoint;
    g.rightBottom = fi.rightbottompoint;
    g.clientRect = client;
    return g;
  }
  bool InRegion(int x, int y) {
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    const bool in = GetWindowRgn(H(), rgn) != ERROR && PtInRegion(rgn, x, y);
    DeleteObject(rgn);
    return in;
  }
  bool OnObject(int x, int y) {
    for (int i = 0; i < skinner_->ObjectCount(); ++i) {
      const TksActiveSkinObject* o = skinner_->Objects(i);
      if (o->Visible && PtInRect(&o->ObjectRect, POINT{x, y})) return true;
    }
    return false;
  }
  // Every frame pixel inside the region and off the caption objects against the strips
  // composed on their own.
  void ExpectFrameMatchesStrips(int w, int h) {
    const TksDataSkinFormInfo& fi = data()->FormInfo;
    const SkinGeometry g = FrameGeometry(fi.clientrect);
    const ResizedGeometry n = ResizeSkinGeometry(g, w, h);
    StretchModes m;
    m.leftStretch = fi.leftstretch;
    m.topStretch = fi.topstretch;
    m.rightStretch = fi.rightstretch;
    m.bottomStretch = fi.bottomstretch;
    TBitmap top, bottom, left, right;
    for (TBitmap* b : {&top, &bottom, &left, &right}) b->SetPixelFormat(pf32bit);
    lumoa::skin::ComposeBorderStrips(data()->Picture.get(), g, n, w, h, m, &top, &bottom, &left, &right);
    ASSERT_FALSE(top.Empty());
    int compared = 0;
    auto check = [&](TBitmap& strip, int ox, int oy) {
      for (int y = 0; y < strip.Height(); ++y)
        for (int x = 0; x < strip.Width(); ++x) {
          const int wx = ox + x, wy = oy + y;
          if (!InRegion(wx, wy) || OnObject(wx, wy)) continue;
          ASSERT_EQ(WindowPixel(wx, wy), Rgb(strip.PixelRGB(x, y))) << w << "x" << h << " at " << wx << "," << wy;
          ++compared;
        }
    };
    check(top, 0, 0);
    check(left, 0, top.Height());
    check(right, w - right.Width(), top.Height());
    check(bottom, 0, h - bottom.Height());
    EXPECT_GT(compared, 2 * (w + h));
  }
};

TEST_F(BorderedForm, FrameStripsAreDrawnAtTheirPlacesForSeveralSizes) {
  Skinned(bsSizeable, 300, 200);
  RECT client{};
  GetClientRect(H(), &client);
  EXPECT_EQ(Str(client), "0,0,294,176");  // 300 - 3 - 3, 200 - 20 - 4
  ExpectFrameMatchesStrips(300, 200);
  for (SIZE s : {SIZE{128, 95}, SIZE{517, 133}, SIZE{211, 400}}) {
    form_->SetBounds(100, 100, s.cx, s.cy);
    Pump();
    ExpectFrameMatchesStrips(s.cx, s.cy);
  }
}

TEST_F(BorderedForm, RegionIsTheMaskComposedForTheCurrentSize) {
  Skinned(bsSizeable, 300, 200);
  for (SIZE s : {SIZE{300, 200}, SIZE{180, 260}}) {
    form_->SetBounds(100, 100, s.cx, s.cy);
    Pump();
    const TksDataSkinFormInfo& fi = data()->FormInfo;
    const SkinGeometry g = FrameGeometry(fi.maskrectarea);
    const ResizedGeometry n = ResizeSkinGeometry(g, s.cx, s.cy);
    HRGN want = lumoa::skin::ComposeMaskRegion(data()->MaskPicture.get(), g, n, s.cx, s.cy);
    ASSERT_NE(want, nullptr);
    HRGN got = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(H(), got), ERROR);
    EXPECT_TRUE(EqualRgn(want, got));
    // Rounded corners are cut, the face is in.
    EXPECT_FALSE(PtInRegion(got, 0, 0));
    EXPECT_FALSE(PtInRegion(got, s.cx - 1, s.cy - 1));
    EXPECT_TRUE(PtInRegion(got, 6, 0));
    EXPECT_TRUE(PtInRegion(got, s.cx / 2, s.cy / 2));
    DeleteObject(want);
    DeleteObject(got);
  }
}

TEST_F(BorderedForm, HitCodesAtCornersEdgesCaptionAndClient) {
  Skinned(bsSizeable, 300, 200);
  EXPECT_EQ(Hit(1, 10), HTTOPLEFT);
  EXPECT_EQ(Hit(298, 10), HTTOPRIGHT);
  EXPECT_EQ(Hit(1, 195), HTBOTTOMLEFT);
  EXPECT_EQ(Hit(298, 198), HTBOTTOMRIGHT);
  EXPECT_EQ(Hit(100, 1), HTTOP);
  EXPECT_EQ(Hit(100, 198), HTBOTTOM);
  EXPECT_EQ(Hit(1, 100), HTLEFT);
  EXPECT_EQ(Hit(298, 100), HTRIGHT);
  EXPECT_EQ(Hit(100, 10), HTCAPTION);
  EXPECT_EQ(Hit(100, 100), HTCLIENT);
  const TksActiveSkinObject* close = skinner_->FindObject("closebutton");
  ASSERT_NE(close, nullptr);
  EXPECT_EQ(Hit(close->ObjectRect.left + 3, close->ObjectRect.top + 3), HTSKINOBJECT);
  // Not sizeable: the edges are frame objects' band, not sizing codes.
  form_->SetBorderStyle(bsSingle);
  Pump();
  EXPECT_EQ(Hit(1, 100), HTSKINOBJECT);
  EXPECT_EQ(Hit(100, 10), HTCAPTION);
}

TEST_F(BorderedForm, CaptionButtonsMaximizeRestoreRollUpMinimizeAndClose) {
  Skinned(bsSizeable, 300, 200);
  auto center = [&](const char* name) {
    const TksActiveSkinObject* o = skinner_->FindObject(name);
    EXPECT_NE(o, nullptr) << name;
    EXPECT_TRUE(o->Visible) << name;
    return POINT{(o->ObjectRect.left + o->ObjectRect.right) / 2, (o->ObjectRect.top + o->ObjectRect.bottom) / 2};
  };
  // The tray button is not among the default icons.
  EXPECT_FALSE(skinner_->FindObject("traybutton")->Visible);

  POINT p = center("maxbutton");
  ClickWindow(p.x, p.y);
  EXPECT_TRUE(skinner_->IsMaximized());
  EXPECT_EQ(Str(form_->BoundsRect()), "0,0,1024,738");
  auto* max = dynamic_cast<TksSkinStdButtonObject*>(skinner_->FindObject("maxbutton"));
  EXPECT_TRUE(max->RestoreState());
  EXPECT_EQ(max->CurrentHint(), "Restore");
  p = center("maxbutton");
  ClickWindow(p.x, p.y);
  EXPECT_FALSE(skinner_->IsMaximized());
  EXPECT_EQ(Str(form_->BoundsRect()), "100,100,400,300");
  EXPECT_EQ(max->CurrentHint(), "Maximize");

  p = center("rollupbutton");
  ClickWindow(p.x, p.y);
  EXPECT_TRUE(skinner_->RollUpState());
  EXPECT_EQ(form_->Height(), 24);
  ClickWindow(p.x, p.y);
  EXPECT_EQ(form_->Height(), 200);

  // Pressing and leaving the button before the release does nothing.
  p = center("closebutton");
  const POINT s = Screen(p.x, p.y);
  hb().MoveMouse(s.x, s.y);
  hb().PressButton(1);
  hb().MoveMouse(s.x - 100, s.y + 60);
  hb().ReleaseButton(1);
  Pump();
  EXPECT_TRUE(IsWindowVisible(H()));
  hb().AdvanceClock(1000);

  p = center("minbutton");
  ClickWindow(p.x, p.y);
  EXPECT_TRUE(IsIconic(H()));
  skinner_->Restore();
  Pump();
  EXPECT_FALSE(IsIconic(H()));

  bool closed = false;
  form_->OnClose = [&](TObject*, TCloseAction&) { closed = true; };
  p = center("closebutton");
  ClickWindow(p.x, p.y);
  EXPECT_TRUE(closed);
  EXPECT_FALSE(IsWindowVisible(H()));
  form_->OnClose = nullptr;
}

TEST_F(BorderedForm, HoverMorphsTheButtonTowardsItsHotImage) {
  Skinned(bsSizeable, 300, 200);
  TksActiveSkinObject* close = skinner_->FindObject("closebutton");
  ASSERT_TRUE(close->Morphing);
  const POINT c{close->ObjectRect.left + 4, close->ObjectRect.top + 4};
  const uint32_t normal = WindowPixel(c.x, c.y);
  const POINT s = Screen(c.x, c.y);
  hb().MoveMouse(s.x, s.y);
  Pump();
  EXPECT_TRUE(close->Active);
  EXPECT_EQ(close->MorphFactor, 0);
  for (int i = 0; i < 5; ++i) {
    hb().AdvanceClock(25);
    Pump();
  }
  EXPECT_EQ(close->MorphFactor, 1);
  const uint32_t hot = WindowPixel(c.x, c.y);
  EXPECT_NE(hot, normal);
  // Leaving the frame: the tracking timer notices and the button cools down again.
  hb().MoveMouse(s.x, s.y + 100);
  for (int i = 0; i < 8; ++i) {
    hb().AdvanceClock(25);
    Pump();
  }
  EXPECT_FALSE(close->Active);
  EXPECT_EQ(close->MorphFactor, 0);
  EXPECT_EQ(WindowPixel(c.x, c.y), normal);
}

TEST_F(BorderedForm, DeactivationShowsTheInactiveLookAndFadesTheCaptionObjects) {
  Skinned(bsSizeable, 300, 200);
  ASSERT_TRUE(data()->FormInfo.autorenderinginactiveimage);
  ASSERT_EQ(data()->FormInfo.inactiveeffect, ieBrightness);
  const uint32_t edge = WindowPixel(1, 100), caption = WindowPixel(60, 10);
  bool deactivated = false;
  skinner_->OnDeActivate = [&](TObject*) { deactivated = true; };
  auto* other = new TForm(Application);
  other->SetBorderStyle(bsNone);
  other->SetBounds(600, 500, 50, 50);
  other->Show();
  Pump();
  EXPECT_TRUE(deactivated);
  EXPECT_FALSE(skinner_->FormActive());
  // The left strip brightened halfway towards white.
  auto bright = [](uint32_t c, int shift) {
    const int v = (c >> shift) & 0xFF;
    return static_cast<uint32_t>(std::nearbyint(0.5 * v + 127.5)) << shift;
  };
  EXPECT_EQ(WindowPixel(1, 100), bright(edge, 16) | bright(edge, 8) | bright(edge, 0));
  // The caption objects cross-fade to their inactive look in 25 ms steps, under the frame's
  // inactive effect, which applies at once.
  TksActiveSkinObject* band = nullptr;
  for (int i = 0; i < skinner_->ObjectCount(); ++i)
    if (PtInRect(&skinner_->Objects(i)->ObjectRect, POINT{60, 10})) band = skinner_->Objects(i);
  ASSERT_NE(band, nullptr);
  ASSERT_FALSE(IsRectEmpty(&band->InActiveSkinRect));
  const uint32_t start = WindowPixel(60, 10);
  EXPECT_EQ(start, bright(caption, 16) | bright(caption, 8) | bright(caption, 0));
  auto step = [&] {
    hb().AdvanceClock(25);
    Pump();
  };
  step();
  step();
  EXPECT_NEAR(band->ActiveFade, 0.6, 1e-9);
  const uint32_t between = WindowPixel(60, 10);
  for (int i = 0; i < 3; ++i) step();
  EXPECT_EQ(band->ActiveFade, 0);
  const uint32_t inactive = WindowPixel(60, 10);
  EXPECT_NE(inactive, start);
  for (int shift : {16, 8, 0}) {
    const int a = (start >> shift) & 0xFF, b = (inactive >> shift) & 0xFF, m = (between >> shift) & 0xFF;
    EXPECT_LE(std::abs(m - (a + (b - a) * 2 / 5)), 2) << "channel at bit " << shift;
  }
  SetActiveWindow(H());
  Pump();
  EXPECT_TRUE(skinner_->FormActive());
  EXPECT_EQ(WindowPixel(1, 100), edge);
  for (int i = 0; i < 5; ++i) step();
  EXPECT_EQ(band->ActiveFade, 1);
  EXPECT_EQ(WindowPixel(60, 10), caption);
  skinner_->OnDeActivate = nullptr;
}

TEST_F(BorderedForm, FadeInRaisesTheOpacityInStepsOnTheClock) {
  Skinned(bsSizeable, 300, 200, false);
  skinner_->AlphaBlendAnimation = true;
  form_->Show();
  Pump();
  const auto* native = hb().Window(lumoa::platform::NativeWindowOf(H()));
  ASSERT_NE(native, nullptr);
  EXPECT_TRUE(skinner_->Fading());
  EXPECT_EQ(native->opacity, 0);
  // The one-millisecond timer ticks at the platform's shortest interval (10 ms).
  hb().AdvanceClock(10);
  Pump();
  EXPECT_EQ(skinner_->FadeOpacity(), 17);  // 255 div 15
  EXPECT_EQ(native->opacity, 17);
  // A tick within 5 ms of the last step changes nothing.
  hb().AdvanceClock(5);
  SendMessageW(H(), WM_TIMER, kShowTimer, 0);
  EXPECT_EQ(skinner_->FadeOpacity(), 17);
  for (int i = 2; i <= 15; ++i) {
    hb().AdvanceClock(10);
    Pump();
    EXPECT_EQ(skinner_->FadeOpacity(), std::min(17 * i, 255));
  }
  EXPECT_FALSE(skinner_->Fading());
  EXPECT_EQ(GetWindowLongPtrW(H(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
  // Leaving the layered style renews the native window.
  native = hb().Window(lumoa::platform::NativeWindowOf(H()));
  ASSERT_NE(native, nullptr);
  EXPECT_EQ(native->opacity, 255);
  EXPECT_TRUE(native->visible);
}

TEST_F(BorderedForm, FadeInWithAlphaBlendStopsAtItsValueAndStaysLayered) {
  Skinned(bsSizeable, 300, 200, false);
  skinner_->AlphaBlendAnimation = true;
  skinner_->SetAlphaBlendValue(150);
  skinner_->SetAlphaBlend(true);
  form_->Show();
  Pump();
  for (int i = 0; i < 20; ++i) {
    hb().AdvanceClock(10);
    Pump();
  }
  EXPECT_EQ(skinner_->FadeOpacity(), 150);
  EXPECT_NE(GetWindowLongPtrW(H(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
}

TEST_F(BorderedForm, ResizingByTheFrameFollowsThePointerDownToTheMinimum) {
  Skinned(bsSizeable, 300, 200);
  const POINT s = Screen(298, 100);
  hb().MoveMouse(s.x, s.y);
  hb().PressButton(1);
  hb().MoveMouse(s.x + 40, s.y + 5);
  Pump();
  EXPECT_EQ(form_->Width(), 340);
  hb().MoveMouse(s.x - 400, s.y);
  hb().ReleaseButton(1);
  Pump();
  EXPECT_EQ(form_->Width(), 128);
  EXPECT_EQ(form_->Left(), 100);
}

TEST_F(BorderedForm, TheWindowManagerAddsNoFrameWhileTheSkinnerDrawsIt) {
  Skinned(bsSizeable, 300, 200);
  const auto* native = hb().Window(lumoa::platform::NativeWindowOf(H()));
  ASSERT_NE(native, nullptr);
  EXPECT_TRUE(native->params.popup);
  EXPECT_NE(GetWindowLongPtrW(H(), GWL_STYLE) & WS_CAPTION, WS_CAPTION);
  skinner_->Free();
  Pump();
  EXPECT_EQ(GetWindowLongPtrW(H(), GWL_STYLE) & WS_CAPTION, WS_CAPTION);
  native = hb().Window(lumoa::platform::NativeWindowOf(H()));
  ASSERT_NE(native, nullptr);
  EXPECT_FALSE(native->params.popup);
  EXPECT_TRUE(native->visible);
}

TEST_F(BorderedForm, WithoutASkinTheBuiltInFrameAndHitTest) {
  Skinned(bsSizeable, 300, 200);
  skinner_->SetSkinData(nullptr);
  Pump();
  EXPECT_FALSE(skinner_->Skinned());
  RECT client{};
  GetClientRect(H(), &client);
  EXPECT_EQ(Str(client), "0,0,294,175");  // 3 on each side, 19 + 3 at the top
  EXPECT_EQ(Hit(100, 10), HTCAPTION);
  EXPECT_EQ(Hit(0, 100), HTLEFT);
  EXPECT_EQ(Hit(100, 100), HTCLIENT);
}

}  // namespace

namespace {

using namespace lumoa::skin::test;

class FrameShots : public FormSkinTest, public ::testing::WithParamInterface<int> {};

// Pictures of a bordered skinned form (with its layered border) in each shipped skin, active
// and inactive, for looking at; the frame must not change between them except in its look.
TEST_P(FrameShots, BorderedFormActiveAndInactive) {
  LoadSkin(GetParam());
  hb().SetBackgroundColor(0xE8ECEF);
  Skinned(bsSizeable, 260, 150);
  skinner_->SetBorderIcons({TksBorderIcon::biSystemMenu, TksBorderIcon::biMinimize,
                            TksBorderIcon::biMaximize, TksBorderIcon::biRollUp,
                            TksBorderIcon::biMinimizeToTray});
  Pump();
  const RECT area{70, 70, 390, 280};
  const std::string base = "form_skin" + std::to_string(GetParam());
  Shot(base + "_active", area);
  Shot(base + "_active_x3", area, 3);
  const uint32_t activeCaption = WindowPixel(40, 8);
  auto* other = new TForm(Application);
  other->SetBorderStyle(bsNone);
  other->SetBounds(900, 700, 20, 20);
  other->Show();
  Pump();
  Shot(base + "_inactive", area);
  Shot(base + "_inactive_x3", area, 3);
  EXPECT_NE(WindowPixel(40, 8), activeCaption);
}

INSTANTIATE_TEST_SUITE_P(Skins, FrameShots, ::testing::Values(0, 1, 2));

}  // namespace

namespace {

using namespace lumoa::skin;
using namespace lumoa::skin::test;

class CaptionObjects : public FormSkinTest {
 protected:
  void SetUp() override {
    FormSkinTest::SetUp();
    LoadSkin(0);
  }
  void Hover(const TksActiveSkinObject* o) {
    const POINT s = Screen(o->ObjectRect.left + 3, o->ObjectRect.top + 3);
    hb().MoveMouse(s.x, s.y);
    Pump();
  }
};

TEST_F(CaptionObjects, HintsComeFromTheResourceStringsOrTheBuiltInTexts) {
  Skinned(bsSizeable, 300, 200);
  auto* sys = dynamic_cast<TksSkinStdButtonObject*>(skinner_->FindObject("sysmenubutton"));
  auto* max = dynamic_cast<TksSkinStdButtonObject*>(skinner_->FindObject("maxbutton"));
  ASSERT_NE(sys, nullptr);
  ASSERT_NE(max, nullptr);
  // The skin says "System Menu"; without resource strings the built-in text replaces it.
  EXPECT_EQ(sys->Hint, "System menu");
  EXPECT_EQ(max->Hint, "Maximize");
  EXPECT_EQ(max->RestoreHint, "Restore");
  auto* strings = new TksResourceStrData(Application);
  TStringList lines;
  lines.Add("MAXBUTTON_HINT=Grow");
  lines.Add("RESTORE_HINT=Back");
  strings->SetResStrings(&lines);
  data()->SetResourceStrData(strings);  // broadcasts the change to the forms
  EXPECT_EQ(max->Hint, "Grow");
  EXPECT_EQ(max->RestoreHint, "Back");
  EXPECT_EQ(sys->Hint, "System menu");  // a missing key falls back to the built-in text
  skinner_->Maximize();
  EXPECT_EQ(max->CurrentHint(), "Back");
}

TEST_F(CaptionObjects, HoverShowsTheGlowLayerWhereTheSkinHasOne) {
  TksDataSkinObject* rec = data()->ObjectRecords[static_cast<size_t>(data()->GetObjectIndex("closebutton"))].get();
  rec->glowlayerpictureindex = data()->LayerFrame.pictureindex;
  rec->glowlayermaskpictureindex = data()->LayerFrame.maskpictureindex;
  rec->glowlayeroffsetx = 20;
  rec->glowlayeroffsety = 21;
  Skinned(bsSizeable, 300, 200);
  TksActiveSkinObject* close = skinner_->FindObject("closebutton");
  Hover(close);
  ASSERT_TRUE(skinner_->GlowLayer()->Visible());
  RECT r{};
  GetWindowRect(skinner_->GlowLayer()->LayerHandle(), &r);
  const POINT o = Screen(0, 0);
  EXPECT_EQ(r.left, o.x + close->ObjectRect.left - 20);
  EXPECT_EQ(r.top, o.y + close->ObjectRect.top - 21);
  // Leaving the button hides it; with caption glows switched off it never shows.
  Hover(skinner_->FindObject("caption"));
  hb().MoveMouse(o.x + 100, o.y + 10);
  Pump();
  EXPECT_FALSE(skinner_->GlowLayer()->Visible());
  data()->ShowCaptionButtonGlowFrames = false;
  Hover(close);
  EXPECT_TRUE(close->Active);
  EXPECT_FALSE(skinner_->GlowLayer()->Visible());
}

TEST_F(CaptionObjects, ObjectEventsCarryTheObjectsNameAndPlace) {
  Skinned(bsSizeable, 300, 200);
  std::vector<std::string> events;
  skinner_->OnMouseEnterEvent = [&](const AnsiString& n) { events.push_back("enter " + n); };
  skinner_->OnMouseLeaveEvent = [&](const AnsiString& n) { events.push_back("leave " + n); };
  skinner_->OnMouseDownEvent = [&](const AnsiString& n, TMouseButton, int, int, int l, int t) {
    events.push_back("down " + n + " " + std::to_string(l) + "," + std::to_string(t));
  };
  TksActiveSkinObject* min = skinner_->FindObject("minbutton");
  Hover(min);
  const POINT s = Screen(min->ObjectRect.left + 3, min->ObjectRect.top + 3);
  hb().PressButton(1);
  hb().MoveMouse(s.x + 200, s.y + 100);
  hb().ReleaseButton(1);
  Pump();
  EXPECT_FALSE(IsIconic(H()));  // released away from the button: no command
  const std::string place = std::to_string(min->ObjectRect.left) + "," + std::to_string(min->ObjectRect.top);
  EXPECT_EQ(events, (std::vector<std::string>{"enter minbutton", "down minbutton " + place, "leave minbutton"}));
  skinner_->OnMouseEnterEvent = nullptr;
  skinner_->OnMouseLeaveEvent = nullptr;
  skinner_->OnMouseDownEvent = nullptr;
}

}  // namespace
