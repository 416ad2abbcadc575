// Pressing the button: mouse clicks, toggle and group buttons, auto-repeat, the keyboard and
// the form's dialog keys, the default-button rule.
#include "button_fixture.h"

#include "ui/reader.h"

namespace lumoa::skin::button_test {
namespace {

class ButtonInput : public ButtonTest {
 protected:
  // A second skinned button beside the first, counting its own clicks.
  TksSkinButton* MakeSibling(int* counter) {
    auto* b = new TksSkinButton(form);
    b->SetParent(form);
    b->SetBounds(100, 30, 59, 17);
    b->SetSkinData(skin.get());
    b->OnClick = [counter](TObject*) { ++*counter; };
    Pump();
    return b;
  }
  void ClickButton(TksSkinButton* b) { ClickAt(b, 20, 10); }
  void Key(UINT vk) {
    hb().PressKey(vk);
    Pump();
  }
};

TEST_F(ButtonInput, ClickOnlyWhenReleasedOverTheButton) {
  MakeButton("搜索");
  ClickButton(button);
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(button->Down());
  EXPECT_TRUE(button->Focused());  // a press takes the focus

  Hover();
  Press();
  EXPECT_TRUE(button->Down());
  EXPECT_EQ(clicks, 1);  // nothing until the release
  Leave();               // still held: the pointer is captured
  Release();
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(button->Down());

  ClickAt(button, 20, 10, 3);  // right button: no click
  EXPECT_EQ(clicks, 1);
}

TEST_F(ButtonInput, DisabledButtonDoesNotClick) {
  MakeButton();
  button->Cancel = true;
  button->SetDefault(true);
  button->SetEnabled(false);
  ClickButton(button);
  edit->SetFocus();
  Key(VK_ESCAPE);
  Key(VK_RETURN);
  EXPECT_EQ(clicks, 0);
  EXPECT_FALSE(button->Down());
}

TEST_F(ButtonInput, ToggleModeGoesDownThenUp) {
  MakeButton();
  button->SetCheckedMode(true);
  EXPECT_EQ(button->GroupIndex(), -1);
  EXPECT_FALSE(button->CanFocused());
  EXPECT_FALSE(button->TabStop());
  ClickButton(button);
  EXPECT_TRUE(button->Down());
  EXPECT_EQ(clicks, 1);
  ClickButton(button);
  EXPECT_FALSE(button->Down());
  EXPECT_EQ(clicks, 2);
  // Pressed and held the face shows down, released it keeps showing down.
  ClickButton(button);
  Leave();
  Wait(200);
  TBitmap down;
  button->ComposeFace(&down, Record().downskinrect, true, true);
  EXPECT_EQ(FirstDifference(Shown(button), PictureOf(down)), -1);
  button->SetCheckedMode(false);
  EXPECT_EQ(button->GroupIndex(), 0);
}

TEST_F(ButtonInput, GroupReleasesItsSiblings) {
  MakeButton();
  int other = 0;
  TksSkinButton* b2 = MakeSibling(&other);
  button->SetGroupIndex(1);
  b2->SetGroupIndex(1);
  EXPECT_FALSE(button->CanFocused());

  ClickButton(button);
  EXPECT_TRUE(button->Down());
  EXPECT_EQ(clicks, 1);  // a group button clicks at the press
  ClickButton(b2);
  EXPECT_TRUE(b2->Down());
  EXPECT_FALSE(button->Down());
  EXPECT_EQ(other, 1);

  ClickButton(b2);  // already down, AllowAllUp off: nothing
  EXPECT_TRUE(b2->Down());
  EXPECT_EQ(other, 1);

  b2->AllowAllUp = true;
  ClickButton(b2);
  EXPECT_FALSE(b2->Down());
  EXPECT_EQ(other, 2);

  // Another group is left alone.
  int third = 0;
  TksSkinButton* b3 = MakeSibling(&third);
  b3->SetBounds(180, 30, 59, 17);
  b3->SetGroupIndex(2);
  b3->SetDown(true);
  button->SetDown(true);
  EXPECT_TRUE(b3->Down());
}

TEST_F(ButtonInput, RepeatsAfterHalfASecondThenEveryInterval) {
  MakeButton();
  button->RepeatMode = true;
  button->RepeatInterval = 100;
  Hover();
  Press();
  EXPECT_EQ(clicks, 0);
  Wait(495);
  EXPECT_EQ(clicks, 0);
  Wait(5);
  EXPECT_EQ(clicks, 1);
  Wait(100);
  EXPECT_EQ(clicks, 2);
  Wait(300);
  EXPECT_EQ(clicks, 5);

  Leave();  // held outside: no more clicks
  EXPECT_FALSE(button->Repeating());
  Wait(700);
  EXPECT_EQ(clicks, 5);

  Hover();  // back in while still held: the first delay again
  EXPECT_TRUE(button->Repeating());
  Wait(495);
  EXPECT_EQ(clicks, 5);
  Wait(5);
  EXPECT_EQ(clicks, 6);

  Release();  // the release over the button clicks once more and ends it
  EXPECT_EQ(clicks, 7);
  EXPECT_FALSE(button->Repeating());
  Wait(1000);
  EXPECT_EQ(clicks, 7);
}

TEST_F(ButtonInput, RepeatStopsWhenTheFocusGoes) {
  MakeButton();
  button->RepeatMode = true;
  Hover();
  Press();
  Wait(500);
  EXPECT_EQ(clicks, 1);
  edit->SetFocus();
  EXPECT_FALSE(button->Repeating());
  EXPECT_FALSE(button->Down());
  Wait(500);
  EXPECT_EQ(clicks, 1);
  Release();
}

TEST_F(ButtonInput, SpaceClicksOnReleaseAndEnterAtOnce) {
  MakeButton();
  button->SetFocus();
  Pump();
  hb().KeyDown(VK_SPACE, u" ");
  Pump();
  EXPECT_TRUE(button->Down());
  EXPECT_EQ(clicks, 0);
  hb().KeyUp(VK_SPACE);
  Pump();
  EXPECT_FALSE(button->Down());
  EXPECT_EQ(clicks, 1);

  hb().KeyDown(VK_RETURN);
  Pump();
  EXPECT_EQ(clicks, 2);  // on the key going down, once
  hb().KeyUp(VK_RETURN);
  Pump();
  EXPECT_EQ(clicks, 2);

  button->RepeatMode = true;
  hb().KeyDown(VK_SPACE, u" ");
  Pump();
  EXPECT_EQ(clicks, 3);  // in repeat mode also on the way down
  hb().KeyUp(VK_SPACE);
  Pump();
  EXPECT_EQ(clicks, 4);
}

TEST_F(ButtonInput, EscapeClicksTheCancelButton) {
  MakeButton();
  button->Cancel = true;
  button->ModalResult = mrCancel;
  edit->SetFocus();
  Key(VK_ESCAPE);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(form->ModalResult, mrCancel);
  hb().KeyDown(VK_SHIFT);
  Key(VK_ESCAPE);
  hb().KeyUp(VK_SHIFT);
  Pump();
  EXPECT_EQ(clicks, 1);  // not with a shift key held
  button->Cancel = false;
  Key(VK_ESCAPE);
  EXPECT_EQ(clicks, 1);
}

TEST_F(ButtonInput, DefaultButtonTakesEnterAndLightsUpWhileAnotherKindHasTheFocus) {
  MakeButton();
  int other = 0;
  TksSkinButton* b2 = MakeSibling(&other);
  button->SetDefault(true);
  EXPECT_TRUE(button->ActiveDefault());
  EXPECT_TRUE(button->MouseIn());  // the edit has the focus: the default button is lit
  EXPECT_EQ(button->MorphFactor(), 1.0);
  Key(VK_RETURN);
  EXPECT_EQ(clicks, 1);

  // Leaving the button keeps it lit while it is the default.
  Hover();
  Leave();
  EXPECT_TRUE(button->MouseIn());

  b2->SetFocus();
  Pump();
  EXPECT_FALSE(button->ActiveDefault());
  EXPECT_TRUE(b2->ActiveDefault());
  EXPECT_FALSE(button->MouseIn());
  Key(VK_RETURN);  // the focused button is the default now
  EXPECT_EQ(other, 1);
  EXPECT_EQ(clicks, 1);

  edit->SetFocus();
  Pump();
  EXPECT_TRUE(button->ActiveDefault());
  EXPECT_FALSE(b2->ActiveDefault());
  EXPECT_TRUE(button->MouseIn());
}

TEST_F(ButtonInput, AcceleratorFocusesAndClicks) {
  MakeButton("&Go");
  EXPECT_EQ(button->Perform(CM_DIALOGCHAR, u'x'), 0);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(button->Perform(CM_DIALOGCHAR, u'g'), 1);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(button->Focused());
  button->SetCaption("&&Go");  // a literal ampersand marks nothing
  EXPECT_EQ(button->Perform(CM_DIALOGCHAR, u'g'), 0);

  // Alt with the letter, typed while the edit has the focus.
  button->SetCaption("&Go");
  edit->SetFocus();
  Pump();
  hb().KeyDown(VK_MENU);
  hb().PressKey('G', u"g");
  hb().KeyUp(VK_MENU);
  Pump();
  EXPECT_EQ(clicks, 2);
  EXPECT_TRUE(button->Focused());
  edit->SetFocus();
  hb().KeyDown(VK_MENU);
  hb().PressKey('X', u"x");
  hb().KeyUp(VK_MENU);
  Pump();
  EXPECT_EQ(clicks, 2);
  EXPECT_TRUE(edit->Focused());
}

TEST_F(ButtonInput, SearchButtonAsTheMainFormStoresIt) {
  LoadSkin(0);
  TksSkinButton* b = nullptr;
  {
    TReader reader(form);
    b = reader.Create<TksSkinButton>("ksbtn1");
    b->SetParent(form);
    b->SetBounds(20, 30, 59, 17);
    b->SetCaption(Utf8ToAnsi("搜索"));
    b->SetNumGlyphs(1);
    b->SetSpacing(1);
    b->RepeatInterval = 100;
    b->SetCanFocused(true);
    b->SetUseSkinSize(true);
    b->SetSkinData(skin.get());
    b->OnClick = [this](TObject*) { ++clicks; };
    reader.Finish();
  }
  Pump();
  EXPECT_EQ(b->Width(), 59);
  EXPECT_EQ(b->Height(), 21);
  EXPECT_EQ(b->SkinIndex(), skin->GetControlIndex("button"));
  EXPECT_FALSE(b->RepeatMode);
  EXPECT_EQ(b->Margin(), -1);
  EXPECT_EQ(b->Layout(), blGlyphLeft);
  ClickAt(b, 29, 10);
  EXPECT_EQ(clicks, 1);
}

TEST_F(ButtonInput, PropertiesThatTieTogether) {
  MakeButton();
  EXPECT_EQ(button->SkinDataName(), "button");
  EXPECT_TRUE(button->TabStop());
  button->SetCanFocused(false);
  EXPECT_FALSE(button->TabStop());
  button->SetCanFocused(true);
  button->SetMargin(-5);
  EXPECT_EQ(button->Margin(), -1);
  button->SetMargin(3);
  EXPECT_EQ(button->Margin(), 3);
  button->SetNumGlyphs(7);
  EXPECT_EQ(button->NumGlyphs(), 4);
  button->SetGroupIndex(3);
  EXPECT_FALSE(button->CanFocused());

  // Freshly made: 75 x 25 unbound.
  auto* fresh = new TksSkinButton(form);
  EXPECT_EQ(fresh->Width(), 75);
  EXPECT_EQ(fresh->Height(), 25);
}

}  // namespace
}  // namespace lumoa::skin::button_test
