// The layered border of skin 0 around a bordered skinned form on the headless back end, which
// reports layered windows.
#include <gtest/gtest.h>

#include <vector>

#include "form_skinner_fixture.h"

namespace {

using namespace lumoa::skin::test;

class LayerBorderBase : public FormSkinTest {
 protected:
  void SetUp() override {
    FormSkinTest::SetUp();
    LoadSkin(0);
    ASSERT_NE(data()->LayerFrame.pictureindex, -1);
    ASSERT_TRUE(data()->ShowLayeredBorders());
  }
  TksFormLayerBorder* Border() { return skinner_->LayerBorder(); }
  RECT Bounds(TksLayerSide side) {
    RECT r{};
    GetWindowRect(Border()->Window(side)->Handle(), &r);
    return r;
  }
  bool Visible(TksLayerSide side) {
    TksFormLayerWindow* w = Border()->Window(side);
    return w && w->HandleAllocated() && IsWindowVisible(w->Handle());
  }
  std::vector<DWORD> Pixels(TksLayerSide side) {
    const TksBitmap* s = Border()->Strip(side);
    std::vector<DWORD> out;
    for (int y = 0; y < s->Height(); ++y)
      for (int x = 0; x < s->Width(); ++x) out.push_back(s->GetPixel(x, y));
    return out;
  }
  // Gives the border a hit area 6 pixels wide around the form, and hit corners of 12.
  void HitArea() {
    TksDataSkinLayerFrame& f = data()->LayerFrame;
    f.borderrect = RECT{6, 6, 54, 54};
    f.hittestlefttoppoint = POINT{18, 18};
    f.hittestrighttoppoint = POINT{42, 18};
    f.hittestleftbottompoint = POINT{18, 42};
    f.hittestrightbottompoint = POINT{42, 42};
  }
  void Deactivate() {
    other_ = new TForm(Application);
    other_->SetBorderStyle(bsNone);
    other_->SetBounds(700, 600, 40, 40);
    other_->Show();
    Pump();
  }
  TForm* other_ = nullptr;
};

class LayerBorder : public LayerBorderBase {};

TEST_F(LayerBorder, BorderlessFormNeverShowsIt) {
  Skinned(bsNone, 402, 55);
  EXPECT_FALSE(skinner_->LayeredBorderInUse());
  EXPECT_FALSE(Border()->Shown());
  data()->SetShowLayeredBorders(false);
  data()->SetShowLayeredBorders(true);
  Pump();
  EXPECT_FALSE(Border()->Shown());
  EXPECT_EQ(Border()->Window(lsTop), nullptr);
}

TEST_F(LayerBorder, FourWindowsAtTheOuterBoundsFollowTheForm) {
  Skinned(bsSizeable, 300, 200);
  ASSERT_TRUE(Border()->Shown());
  // 60 x 60 picture, client (12, 12, 48, 48): 12 pixels on each side of the form.
  EXPECT_EQ(Str(Border()->OuterBounds()), "88,88,412,312");
  EXPECT_EQ(Str(Bounds(lsTop)), "88,88,412,106");
  EXPECT_EQ(Str(Bounds(lsBottom)), "88,294,412,312");
  EXPECT_EQ(Str(Bounds(lsLeft)), "88,106,100,294");
  EXPECT_EQ(Str(Bounds(lsRight)), "400,106,412,294");
  for (TksLayerSide s : {lsLeft, lsTop, lsRight, lsBottom}) {
    EXPECT_TRUE(Visible(s)) << s;
    const LONG_PTR ex = GetWindowLongPtrW(Border()->Window(s)->Handle(), GWL_EXSTYLE);
    EXPECT_NE(ex & WS_EX_LAYERED, 0);
    EXPECT_NE(ex & WS_EX_TRANSPARENT, 0);  // skin 0's border has no hit area
    EXPECT_TRUE(Border()->Strip(s)->AlphaBlend) << s;
  }
  // Per-pixel alpha on the screen: the shadow darkens a white desktop, more near the form.
  hb().SetBackgroundColor(0xFFFFFF);
  const uint32_t near = hb().ScreenPixel(98, 200), far = hb().ScreenPixel(88, 200);
  EXPECT_LT(near & 0xFF, 0xFF);
  EXPECT_GT(near & 0xFF, 0x20);
  EXPECT_LT(near & 0xFF, far & 0xFF);

  form_->SetBounds(150, 120, 300, 200);
  Pump();
  EXPECT_EQ(Str(Bounds(lsTop)), "138,108,462,126");
  EXPECT_EQ(Str(Bounds(lsRight)), "450,126,462,314");
  form_->SetBounds(150, 120, 400, 250);
  Pump();
  EXPECT_EQ(Str(Bounds(lsBottom)), "138,364,562,382");

  form_->Hide();
  Pump();
  EXPECT_FALSE(Border()->Shown());
  form_->Show();
  Pump();
  EXPECT_TRUE(Border()->Shown());
  data()->SetShowLayeredBorders(false);
  Pump();
  EXPECT_FALSE(Border()->Shown());
  data()->SetShowLayeredBorders(true);
  Pump();
  EXPECT_TRUE(Border()->Shown());
}

TEST_F(LayerBorder, ShortFormHidesTheSidesAndCutsTheBottomFromAbove) {
  data()->FormInfo.formminheight = 1;
  Skinned(bsSizeable, 300, 200);
  form_->SetBounds(100, 100, 300, 10);
  Pump();
  // Outer height 34: top 18, bottom 16 of its 18 rows, nothing left for the sides.
  EXPECT_FALSE(Visible(lsLeft));
  EXPECT_FALSE(Visible(lsRight));
  ASSERT_TRUE(Visible(lsBottom));
  const TksBitmap* bottom = Border()->Strip(lsBottom);
  EXPECT_EQ(bottom->Height(), 16);
  EXPECT_EQ(Str(Bounds(lsBottom)), "88,106,412,122");
  // Its rows are the picture's last 16 (the bottom part's upper edge is cut); at the corner
  // column the strip copies the picture unchanged.
  TksBitmap source;
  source.Assign(data()->ActivePicture(data()->LayerFrame.pictureindex));
  TksBitmap mask;
  mask.Assign(data()->ActivePicture(data()->LayerFrame.maskpictureindex));
  lumoa::skin::AlphaFromMask(source, mask);
  source.ClampColorsToAlpha();
  for (int y = 0; y < 16; ++y) EXPECT_EQ(bottom->GetPixel(5, y), source.GetPixel(5, 44 + y)) << y;
  form_->SetBounds(100, 100, 300, 50);
  Pump();
  EXPECT_TRUE(Visible(lsLeft));
  EXPECT_EQ(Border()->Strip(lsLeft)->Height(), 38);
}

TEST_F(LayerBorder, WithoutInactiveImagesActivationChangesOnlyTheOpacity) {
  Skinned(bsSizeable, 300, 200);
  ASSERT_EQ(data()->LayerFrame.inactivepictureindex, -1);
  EXPECT_EQ(Border()->CurrentOpacity(), 255);
  const auto top = Pixels(lsTop), left = Pixels(lsLeft);
  const auto native = lumoa::platform::NativeWindowOf(Border()->Window(lsLeft)->Handle());
  const uint32_t before = hb().WindowPixel(native, 10, 50);
  ASSERT_GT(before >> 24, 40u);
  Deactivate();
  EXPECT_FALSE(Border()->Active());
  EXPECT_EQ(Border()->CurrentOpacity(), 170);
  EXPECT_EQ(Pixels(lsTop), top);
  EXPECT_EQ(Pixels(lsLeft), left);
  const uint32_t after = hb().WindowPixel(native, 10, 50);
  EXPECT_EQ(after >> 24, (before >> 24) * 170 / 255);
  SetActiveWindow(H());
  Pump();
  EXPECT_EQ(Border()->CurrentOpacity(), 255);
  EXPECT_EQ(hb().WindowPixel(native, 10, 50), before);
}

TEST_F(LayerBorder, HitModesFromTheBorderRectangleAndCorners) {
  HitArea();
  Skinned(bsSizeable, 300, 200);
  EXPECT_EQ(GetWindowLongPtrW(Border()->Window(lsTop)->Handle(), GWL_EXSTYLE) & WS_EX_TRANSPARENT, 0);
  EXPECT_EQ(Border()->HitTest(lsTop, POINT{95, 95}), lhTopLeft);
  EXPECT_EQ(Border()->HitTest(lsTop, POINT{404, 95}), lhTopRight);
  EXPECT_EQ(Border()->HitTest(lsTop, POINT{200, 96}), lhTop);
  EXPECT_EQ(Border()->HitTest(lsTop, POINT{200, 103}), lhNone);
  EXPECT_EQ(Border()->HitTest(lsTop, POINT{200, 90}), lhNone);  // the soft edge outside the border rectangle
  EXPECT_EQ(Border()->HitTest(lsLeft, POINT{97, 200}), lhLeft);
  EXPECT_EQ(Border()->HitTest(lsLeft, POINT{90, 200}), lhNone);
  EXPECT_EQ(Border()->HitTest(lsRight, POINT{403, 200}), lhRight);
  EXPECT_EQ(Border()->HitTest(lsRight, POINT{408, 200}), lhNone);
  EXPECT_EQ(Border()->HitTest(lsBottom, POINT{95, 304}), lhBottomLeft);
  EXPECT_EQ(Border()->HitTest(lsBottom, POINT{404, 304}), lhBottomRight);
  EXPECT_EQ(Border()->HitTest(lsBottom, POINT{200, 302}), lhBottom);
  // Not sizeable: nothing resizes.
  form_->SetBorderStyle(bsSingle);
  Pump();
  EXPECT_EQ(Border()->HitTest(lsRight, POINT{403, 200}), lhNone);
}

TEST_F(LayerBorder, DraggingTheRightEdgeResizesByThePointersTravelDownToTheMinimum) {
  HitArea();
  Skinned(bsSizeable, 300, 200);
  hb().MoveMouse(403, 200);
  Pump();
  EXPECT_EQ(Border()->Window(lsRight)->HitMode(), lhRight);
  hb().PressButton(1);
  hb().MoveMouse(453, 230);
  Pump();
  EXPECT_EQ(Str(form_->BoundsRect()), "100,100,450,300");
  EXPECT_EQ(Str(Bounds(lsRight)), "450,106,462,294");  // the border followed
  hb().MoveMouse(3, 200);
  Pump();
  EXPECT_EQ(form_->Width(), 128);
  EXPECT_EQ(form_->Left(), 100);
  hb().ReleaseButton(1);
  Pump();
  EXPECT_FALSE(Border()->Window(lsRight)->Pressed());
  hb().MoveMouse(260, 200);
  Pump();
  EXPECT_EQ(form_->Width(), 128);
}

TEST_F(LayerBorder, BlurRegionsOnlyWhereThePlatformReportsCompositionBlur) {
  data()->LayerFrame.blurmaskpictureindex = data()->LayerFrame.maskpictureindex;
  Skinned(bsSizeable, 300, 200);
  EXPECT_FALSE(Border()->BlurAvailable);
  EXPECT_FALSE(Border()->BlurRegionsBuilt());
  // With composition blur reported, the regions are built from the blur mask parts.
  Border()->BlurAvailable = true;
  SendMessageW(H(), WM_CHANGEAEROBLUR, reinterpret_cast<WPARAM>(data()), kSkinMessageTag);
  Pump();
  EXPECT_TRUE(Border()->Shown());
  EXPECT_TRUE(Border()->BlurRegionsBuilt());
  data()->SetAeroBlurEnabled(false);
  Pump();
  EXPECT_FALSE(Border()->BlurRegionsBuilt());
}

TEST_F(LayerBorder, FadeInAfterSuppressionRaisesTheOpacityInSteps) {
  Skinned(bsSizeable, 300, 200);
  SendMessageW(H(), WM_SUPPRESSLAYEREDBORDER, 0, 0);
  EXPECT_FALSE(Border()->Shown());
  EXPECT_FALSE(skinner_->LayeredBorderInUse());
  SendMessageW(H(), WM_RESUMELAYEREDBORDER, 0, 0);
  ASSERT_TRUE(Border()->Shown());
  EXPECT_TRUE(Border()->Fading());
  EXPECT_EQ(Border()->CurrentOpacity(), 0);
  hb().AdvanceClock(10);
  Pump();
  EXPECT_EQ(Border()->CurrentOpacity(), 17);
  for (int i = 0; i < 20; ++i) {
    hb().AdvanceClock(10);
    Pump();
  }
  EXPECT_FALSE(Border()->Fading());
  EXPECT_EQ(Border()->CurrentOpacity(), 255);
}

}  // namespace

namespace {

using namespace lumoa::skin::test;

// A layer frame that replaces the form's frame: caption and buttons on its top strip.
class FullBorder : public LayerBorderBase {
 protected:
  void SetUp() override {
    LayerBorderBase::SetUp();
    HitArea();
    data()->LayerFrame.fullborder = true;
    data()->LayerFrame.captionrect = RECT{12, 2, 48, 16};
  }
};

TEST_F(FullBorder, TheTopStripCarriesCaptionAndButtonsThatWork) {
  Skinned(bsSizeable, 300, 200);
  ASSERT_TRUE(Border()->Shown());
  // The whole window is client area, shaped as a plain rectangle.
  RECT client{};
  GetClientRect(H(), &client);
  EXPECT_EQ(Str(client), "0,0,300,200");
  EXPECT_EQ(Hit(150, 5), HTCLIENT);
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(H(), rgn), ERROR);
  RECT box{};
  GetRgnBox(rgn, &box);
  EXPECT_EQ(Str(box), "0,0,300,200");
  DeleteObject(rgn);
  // Buttons right to left from the caption's right end (48 + 300 - 36), 1 pixel apart; the
  // system menu button at its left, the caption between them.
  EXPECT_EQ(Str(skinner_->FindObject("closebutton")->ObjectRect), "299,2,312,15");
  EXPECT_EQ(Str(skinner_->FindObject("maxbutton")->ObjectRect), "285,2,298,15");
  EXPECT_EQ(Str(skinner_->FindObject("sysmenubutton")->ObjectRect), "12,2,25,15");
  const RECT cap = skinner_->FindObject("caption")->ObjectRect;
  EXPECT_EQ(cap.left, 26);
  EXPECT_EQ(cap.top, 2);
  EXPECT_EQ(cap.bottom, 16);
  EXPECT_FALSE(skinner_->FindObject("traybutton")->Visible);
  // The objects are opaque on the strip.
  const TksBitmap* top = Border()->Strip(lsTop);
  EXPECT_EQ(top->GetPixel(305, 8) >> 24, 255u);
  EXPECT_EQ(top->GetPixel(100, 9) >> 24, 255u);
  EXPECT_EQ(Border()->HitTest(lsTop, POINT{88 + 305, 88 + 8}), lhObject);
  EXPECT_EQ(Border()->HitTest(lsTop, POINT{88 + 100, 88 + 9}), lhCaption);

  // Hovering the maximize button makes it hot on the strip; a click maximizes.
  const uint32_t normal = top->GetPixel(291, 5);
  hb().MoveMouse(88 + 291, 88 + 5);
  Pump();
  EXPECT_EQ(Border()->ActiveObject(), 2);  // the skin lists caption, closebutton, maxbutton ...
  for (int i = 0; i < 6; ++i) {
    hb().AdvanceClock(25);
    Pump();
  }
  EXPECT_NE(Border()->Strip(lsTop)->GetPixel(291, 5), normal);
  hb().PressButton(1);
  hb().ReleaseButton(1);
  Pump();
  EXPECT_TRUE(skinner_->IsMaximized());
  skinner_->Restore();
  Pump();
  hb().AdvanceClock(1000);
  // Dragging the caption moves the form; the close button closes it.
  hb().MoveMouse(88 + 100, 88 + 9);
  hb().PressButton(1);
  hb().MoveMouse(88 + 140, 88 + 29);
  hb().ReleaseButton(1);
  Pump();
  EXPECT_EQ(form_->Left(), 140);
  EXPECT_EQ(form_->Top(), 120);
  hb().AdvanceClock(1000);
  const RECT o = Border()->OuterBounds();
  hb().MoveMouse(o.left + 305, o.top + 8);
  Pump();
  hb().PressButton(1);
  hb().ReleaseButton(1);
  Pump();
  EXPECT_FALSE(IsWindowVisible(H()));
  EXPECT_FALSE(Border()->Shown());
}

}  // namespace
