// A borderless form with the form skinner and the shipped skin 0, the way the launcher's
// window is skinned: background from the skin, no frame and no region, hit testing from the
// skin geometry, roll-up and the system menu over the caption band, and the skin-change relay.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "form_skinner_fixture.h"
#include "skin/form/skin_control.h"

namespace {

using namespace lumoa::skin::test;

// Counts the skin-change calls the form's relay makes.
class CountingControl : public TksSkinControl {
 public:
  using TksSkinControl::TksSkinControl;
  void ApplySkin() override {
    ++applied;
    TksSkinControl::ApplySkin();
  }
  void ReleaseSkin() override {
    ++released;
    TksSkinControl::ReleaseSkin();
  }
  int applied = 0, released = 0;
};

class CountingGraphic : public TksGraphicSkinControl {
 public:
  using TksGraphicSkinControl::TksGraphicSkinControl;
  void ApplySkin() override {
    ++applied;
    TksGraphicSkinControl::ApplySkin();
  }
  void ReleaseSkin() override {
    ++released;
    TksGraphicSkinControl::ReleaseSkin();
  }
  int applied = 0, released = 0;
};

class BorderlessForm : public FormSkinTest {
 protected:
  void SetUp() override {
    FormSkinTest::SetUp();
    LoadSkin(0);
  }
};

TEST_F(BorderlessForm, BackgroundIsTheClientPieceTiledWithoutRegionOrFrame) {
  Skinned(bsNone, 402, 55);
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(H(), rgn), ERROR);
  DeleteObject(rgn);
  RECT client{}, window{};
  GetClientRect(H(), &client);
  GetWindowRect(H(), &window);
  EXPECT_EQ(Str(client), "0,0,402,55");
  EXPECT_EQ(window.right - window.left, 402);

  // Skin 0's client piece (3, 20, 125, 91) of the 128 x 95 picture, tiled from the top-left.
  TBitmap* pic = data()->Picture.get();
  ASSERT_EQ(pic->Width(), 128);
  ASSERT_EQ(pic->Height(), 95);
  const RECT& piece = data()->FormInfo.clientrect;
  EXPECT_EQ(Str(piece), "3,20,125,91");
  int checked = 0;
  for (int y = 0; y < 55; y += 3)
    for (int x = 0; x < 402; x += 7) {
      const uint32_t want = Rgb(pic->PixelRGB(3 + x % 122, 20 + y % 71));
      ASSERT_EQ(WindowPixel(x, y), want) << x << "," << y;
      ++checked;
    }
  EXPECT_GT(checked, 500);
  // The tiles meet at x = 122 and x = 244: the piece starts over.
  EXPECT_EQ(WindowPixel(122, 10), Rgb(pic->PixelRGB(3, 30)));
  EXPECT_EQ(WindowPixel(244, 54), Rgb(pic->PixelRGB(3, 74)));

  // Non-client painting draws nothing: the pixels stay as the background left them.
  const uint32_t before = WindowPixel(1, 1);
  SendMessageW(H(), WM_NCPAINT, 1, 0);
  Pump();
  EXPECT_EQ(WindowPixel(1, 1), before);
  EXPECT_FALSE(skinner_->LayeredBorderInUse());
}

TEST_F(BorderlessForm, GeometryAndHitTestFollowTheSkinForTheFormsSize) {
  Skinned(bsNone, 402, 55);
  EXPECT_EQ(Str(skinner_->Geometry().NewClRect), "3,20,399,51");
  TksActiveSkinObject* caption = skinner_->FindObject("caption");
  ASSERT_NE(caption, nullptr);
  EXPECT_EQ(Str(caption->ObjectRect), "5,2,397,20");
  for (int y = 2; y < 20; ++y)
    for (int x = 5; x < 397; x += 13) ASSERT_EQ(Hit(x, y), HTCAPTION) << x << "," << y;
  EXPECT_EQ(Hit(396, 19), HTCAPTION);
  // The outer band outside both answers the object code; the client is client.
  for (POINT p : {POINT{0, 0}, POINT{4, 10}, POINT{200, 1}, POINT{397, 10}, POINT{1, 30},
                  POINT{400, 30}, POINT{200, 52}})
    EXPECT_EQ(Hit(p.x, p.y), HTSKINOBJECT) << p.x << "," << p.y;
  EXPECT_EQ(Hit(3, 20), HTCLIENT);
  EXPECT_EQ(Hit(398, 50), HTCLIENT);

  // A child window over the band takes the mouse there; the rest of the band stays caption.
  auto* child = new TCustomControl(form_);
  child->SetParent(form_);
  child->SetBounds(100, 0, 200, 55);
  Pump();
  EXPECT_EQ(WindowFromPoint(Screen(150, 10)), child->Handle());
  EXPECT_EQ(WindowFromPoint(Screen(50, 10)), H());
  EXPECT_EQ(Hit(50, 10), HTCAPTION);
}

TEST_F(BorderlessForm, PressOnTheBandMovesDoubleClickRollsUpAndBack) {
  Skinned(bsNone, 402, 55);
  // A press moves the window with the pointer until the release.
  const POINT s = Screen(50, 10);
  hb().MoveMouse(s.x, s.y);
  hb().PressButton(1);
  hb().MoveMouse(s.x + 30, s.y + 20);
  hb().ReleaseButton(1);
  Pump();
  EXPECT_EQ(form_->Left(), 130);
  EXPECT_EQ(form_->Top(), 120);
  hb().AdvanceClock(1000);

  std::vector<bool> states;
  skinner_->OnChangeRollUpState = [&](TObject*) { states.push_back(skinner_->RollUpState()); };
  DoubleClickWindow(50, 10);
  EXPECT_TRUE(skinner_->RollUpState());
  EXPECT_EQ(form_->Height(), 24);  // 95 - (91 - 20)
  EXPECT_EQ(form_->Width(), 402);
  // Rolled up, the band is still caption; there is no client left.
  EXPECT_EQ(Hit(50, 10), HTCAPTION);
  EXPECT_EQ(Hit(50, 22), HTSKINOBJECT);
  DoubleClickWindow(50, 10);
  EXPECT_FALSE(skinner_->RollUpState());
  EXPECT_EQ(form_->Height(), 55);
  EXPECT_EQ(states, (std::vector<bool>{true, false}));
  skinner_->OnChangeRollUpState = nullptr;
}

TEST_F(BorderlessForm, MagneticFormDocksToTheWorkAreaAndOtherFormsWhileMoved) {
  Skinned(bsNone, 402, 55);
  auto drag = [&](int dx, int dy) {
    const POINT s = Screen(50, 10);
    hb().MoveMouse(s.x, s.y);
    hb().PressButton(1);
    hb().MoveMouse(s.x + dx, s.y + dy);
    hb().ReleaseButton(1);
    Pump();
    hb().AdvanceClock(1000);
  };
  drag(-96, 0);  // to x = 4
  EXPECT_EQ(form_->Left(), 4);
  skinner_->Magnetic = true;
  drag(10, 0);  // x = 14: nothing near
  EXPECT_EQ(form_->Left(), 14);
  drag(-10, 0);  // x = 4: within 5 of the work area's left edge
  EXPECT_EQ(form_->Left(), 0);
  drag(620, 582);  // right and bottom edges at 1022 and 737 of the 1024 x 738 work area
  EXPECT_EQ(form_->Left(), 1024 - 402);
  EXPECT_EQ(form_->Top(), 738 - 55);
  // Edge to edge with another form it overlaps vertically.
  auto* other = new TForm(Application);
  other->SetBorderStyle(bsNone);
  other->SetBounds(100, 300, 100, 100);
  other->Show();
  Pump();
  SetActiveWindow(H());
  Pump();
  form_->SetBounds(300, 320, 402, 55);
  Pump();
  drag(-97, 0);  // left edge at 203, three from the other's right edge
  EXPECT_EQ(form_->Left(), 200);
}

TEST_F(BorderlessForm, RightPressOnTheBandOpensTheSystemMenuFromTheResourceStrings) {
  auto* strings = new TksResourceStrData(Application);
  TStringList lines;
  for (const AnsiString& l : TksResourceStrData::DefaultStrings())
    lines.Add(l.rfind("MI_CLOSECAPTION=", 0) == 0 ? AnsiString("MI_CLOSECAPTION=&Quit") : l);
  strings->SetResStrings(&lines);
  data()->SetResourceStrData(strings);
  Skinned(bsNone, 402, 55);

  std::vector<std::string> captions;
  bool sawOpen = false;
  hb().SetIdleHandler([&] {
    TPopupMenu* menu = skinner_->SkinSystemMenu();
    if (menu->Showing() && !sawOpen) {
      sawOpen = true;
      for (int i = 0; i < menu->Items()->Count(); ++i) captions.push_back(menu->Items()->Items(i)->Caption);
    }
    hb().PressKey(VK_ESCAPE);
  });
  const POINT s = Screen(60, 8);
  hb().MoveMouse(s.x, s.y);
  hb().PressButton(3);
  hb().ReleaseButton(3);
  Pump();
  hb().SetIdleHandler(nullptr);
  ASSERT_TRUE(sawOpen);
  EXPECT_EQ(captions,
            (std::vector<std::string>{"Mi&nimize", "Ma&ximize", "Ro&llUp", "-", "&Quit"}));
  // Rolled up, Restore replaces Roll up.
  skinner_->SetRollUpState(true);
  skinner_->BuildSystemMenu();
  captions.clear();
  TMenuItem* items = skinner_->SkinSystemMenu()->Items();
  for (int i = 0; i < items->Count(); ++i) captions.push_back(items->Items(i)->Caption);
  EXPECT_EQ(captions,
            (std::vector<std::string>{"Mi&nimize", "Ma&ximize", "&Restore", "-", "&Quit"}));
  EXPECT_EQ(items->Items(4)->ShortCut, static_cast<TShortCut>(VK_F4 | scAlt));
  // Restore from the menu rolls the form down.
  items->Items(2)->Click();
  EXPECT_FALSE(skinner_->RollUpState());
}

TEST_F(BorderlessForm, SkinChangeWithNullSenderReachesEverySkinnedControl) {
  Skinned(bsNone, 402, 55);
  auto* top = new CountingControl(form_);
  top->SetParent(form_);
  top->SetBounds(10, 25, 40, 20);
  auto* holder = new TCustomControl(form_);
  holder->SetParent(form_);
  holder->SetBounds(60, 25, 200, 25);
  auto* inner = new CountingControl(form_);
  inner->SetParent(holder);
  inner->SetBounds(0, 0, 30, 20);
  auto* graphic = new CountingGraphic(form_);
  graphic->SetParent(holder);
  graphic->SetBounds(40, 0, 30, 20);
  // Bound to another skin data: only a null sender reaches it.
  auto* other = new TksSkinData(Application);
  auto* foreign = new CountingControl(form_);
  foreign->SetParent(form_);
  foreign->SetBounds(300, 25, 30, 20);
  top->SetSkinData(data());
  inner->SetSkinData(data());
  graphic->SetSkinData(data());
  foreign->SetSkinData(other);
  Pump();
  for (auto* c : {top, inner, foreign}) c->applied = c->released = 0;
  graphic->applied = graphic->released = 0;

  SendMessageW(H(), WM_BEFORECHANGESKINDATA, 0, kSkinMessageTag);
  SendMessageW(H(), WM_CHANGESKINDATA, 0, kSkinMessageTag);
  for (auto* c : {top, inner, foreign}) {
    EXPECT_EQ(c->released, 1);
    EXPECT_EQ(c->applied, 1);
  }
  EXPECT_EQ(graphic->applied, 1);
  EXPECT_EQ(graphic->released, 0);  // windowless controls are not released

  // From the skin data itself: its own controls only, and the skinner applies the skin again.
  int changes = 0;
  skinner_->OnChangeSkinData = [&](TObject*) { ++changes; };
  for (auto* c : {top, inner, foreign}) c->applied = 0;
  LoadSkin(1);
  EXPECT_EQ(top->applied, 1);
  EXPECT_EQ(inner->applied, 1);
  EXPECT_EQ(foreign->applied, 0);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(skinner_->Geometry().NewClRect.left, data()->FormInfo.clientrect.left);
  skinner_->OnChangeSkinData = nullptr;
}

TEST_F(BorderlessForm, FormBelowTheSkinsMinimumIsEnlargedWhenTheSkinApplies) {
  data()->FormInfo.formminwidth = 300;
  Skinned(bsNone, 200, 55);
  EXPECT_EQ(form_->Width(), 300);
  EXPECT_EQ(form_->Height(), 55);
  int w = 0, h = 0;
  skinner_->GetMinSize(w, h);
  EXPECT_EQ(w, 300);
  EXPECT_EQ(h, 24);
  // MinWidth beyond the skin's raises it.
  skinner_->MinWidth = 350;
  skinner_->GetMinSize(w, h);
  EXPECT_EQ(w, 350);
}

TEST_F(BorderlessForm, FormSmallerInBothDirectionsTakesTheMinimumSize) {
  Skinned(bsNone, 60, 10);
  EXPECT_EQ(form_->Width(), 128);  // the main picture's width: the skin gives no minimum
  EXPECT_EQ(form_->Height(), 24);
}

TEST_F(BorderlessForm, OwnerMustBeAForm) {
  auto* owner = new TComponent(Application);
  EXPECT_THROW(new TksMarluneForm(owner), EInvalidCast);
}

TEST_F(BorderlessForm, IdentificationAndSuppressionMessages) {
  Skinned(bsNone, 402, 55);
  EXPECT_EQ(SendMessageW(H(), WM_SKINFORMQUERY, 0, 0), kSkinnedFormAnswer);
  EXPECT_EQ(SendMessageW(H(), WM_SKINIDENTIFY, 0, 0), kSkinIdentifyAnswer);
  SendMessageW(H(), WM_SUPPRESSLAYEREDBORDER, 0, 0);
  EXPECT_TRUE(skinner_->LayeredBorderSuppressed());
  SendMessageW(H(), WM_RESUMELAYEREDBORDER, 0, 0);
  EXPECT_FALSE(skinner_->LayeredBorderSuppressed());
}

TEST_F(BorderlessForm, DestroyingTheSkinnerGivesTheFormItsWindowProcedureBack) {
  Skinned(bsNone, 402, 55);
  EXPECT_EQ(Hit(50, 10), HTCAPTION);
  skinner_->Free();
  EXPECT_EQ(Hit(50, 10), HTCLIENT);
}

}  // namespace
