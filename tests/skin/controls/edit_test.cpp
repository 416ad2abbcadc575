// The skinned edit's geometry, colours, keyboard, text and button rules.
#include <string>
#include <vector>

#include "edit_fixture.h"

namespace lumoa::skin::test {
namespace {

constexpr COLORREF kSkin0FontColor = 8742987;

TEST_F(EditTest, MainFormValuesWithSkinZero) {
  TksSkinEdit* e = MakeEdit(0, "slogan");
  ASSERT_GE(e->SkinIndex(), 0);
  EXPECT_EQ(e->Width(), 225);
  EXPECT_EQ(e->Height(), 21);  // the record's height, not the stored 20
  const TRect a = e->TextArea();
  EXPECT_EQ(a.left, 4);
  EXPECT_EQ(a.top, 3);
  EXPECT_EQ(e->Width() - a.right, 4);
  EXPECT_EQ(e->Height() - a.bottom, 3);
  // The platform edit draws into exactly that area.
  RECT client;
  GetClientRect(e->Handle(), &client);
  EXPECT_EQ(client.right, 225 - 8);
  EXPECT_EQ(client.bottom, 21 - 6);
  // The stored silver gave way to the skin's colour, focused or not.
  EXPECT_EQ(ColorToRGB(e->Font()->Color()), kSkin0FontColor);
  e->SetFocus();
  Pump();
  EXPECT_TRUE(e->Focused());
  EXPECT_EQ(ColorToRGB(e->Font()->Color()), kSkin0FontColor);
  ClickAt(form, 10, 10);  // the mouse leaves the box inside: still the same colour
  EXPECT_EQ(ColorToRGB(e->Font()->Color()), kSkin0FontColor);
  // Asked for another height the box keeps the record's.
  e->SetBounds(72, 27, 150, 40);
  EXPECT_EQ(e->Height(), 21);
  EXPECT_EQ(e->Width(), 150);
}

TEST_F(EditTest, UnskinnedGeometryAndHeight) {
  TksSkinEdit* e = MakeEdit(-1);
  EXPECT_EQ(e->SkinIndex(), -1);
  // The font's cell height + 6.
  EXPECT_EQ(e->Height(), 20);
  EXPECT_EQ(R(e->TextArea()), "2,2,223,18");
  e->SetButtonMode(true);
  EXPECT_EQ(R(e->TextArea()), "2,2,203,18");
  EXPECT_EQ(R(e->ButtonRect()), "205,0,225,20");
  RECT client;
  GetClientRect(e->Handle(), &client);
  EXPECT_EQ(client.right, 225 - 2 - 22);
  // An unskinned box follows DefaultFont.
  e->DefaultFont()->SetColor(clRed);
  EXPECT_EQ(e->Font()->Color(), clRed);
}

TEST_F(EditTest, EnterAndEscapeArePressesAndDialogKeysNeverLineBreaks) {
  TksSkinEdit* e = MakeEdit(0, "abc");
  std::vector<std::string> log;
  e->OnKeyDown = [&](TObject*, WORD& key, TShiftState) { log.push_back("down " + std::to_string(key)); };
  e->OnKeyPress = [&](TObject*, WCHAR& key) { log.push_back("press " + std::to_string(int(key))); };
  auto* ok = new TButton(form);
  ok->SetParent(form);
  ok->SetBounds(0, 0, 10, 10);
  ok->Default = true;
  int clicks = 0;
  ok->OnClick = [&](TObject*) { ++clicks; };
  e->SetFocus();
  Pump();
  hb().PressKey(VK_END);
  hb().PressKey(VK_RETURN, u"\r");
  Pump();
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(log[log.size() - 2], "down 13");
  EXPECT_EQ(log.back(), "press 13");
  EXPECT_EQ(e->Text(), "abc");
  EXPECT_EQ(clicks, 1);  // offered to the form as a dialog key
  EXPECT_TRUE(e->Focused());
  log.clear();
  hb().PressKey(VK_ESCAPE, u"\x1b");
  Pump();
  EXPECT_EQ(log, (std::vector<std::string>{"down 27", "press 27"}));
  EXPECT_EQ(e->Text(), "abc");
  // Tab still moves on: a single line does not want it.
  auto* next = new TksSkinEdit(form);
  next->SetParent(form);
  next->SetBounds(72, 0, 50, 20);
  e->SetFocus();
  Pump();
  hb().PressKey(VK_TAB, u"\t");
  Pump();
  EXPECT_FALSE(e->Focused());
  EXPECT_EQ(e->Text(), "abc");
}

TEST_F(EditTest, FocusFromTheKeyboardSelectsAllAClickPlacesTheCaret) {
  TksSkinEdit* e = MakeEdit(0, "select me");
  auto* before = new TksSkinEdit(form);
  before->SetParent(form);
  before->SetBounds(0, 0, 60, 20);
  before->SetTabOrder(0);
  e->SetTabOrder(1);
  before->SetFocus();
  Pump();
  hb().PressKey(VK_TAB, u"\t");
  Pump();
  ASSERT_TRUE(e->Focused());
  EXPECT_EQ(e->SelStart(), 0);
  EXPECT_EQ(e->SelLength(), 9);
  before->SetFocus();
  Pump();
  ClickAt(e, 20, 5);
  EXPECT_TRUE(e->Focused());
  EXPECT_EQ(e->SelLength(), 0);
  // Without AutoSelect the keyboard leaves the selection alone.
  e->AutoSelect = false;
  before->SetFocus();
  Pump();
  hb().PressKey(VK_TAB, u"\t");
  Pump();
  ASSERT_TRUE(e->Focused());
  EXPECT_EQ(e->SelLength(), 0);
}

TEST_F(EditTest, TextAndClearRepaintTheWholeTextAreaOnlyTextFiresOnChange) {
  TksSkinEdit* e = MakeEdit(0, "slogan");
  int changes = 0;
  e->OnChange = [&](TObject*) { ++changes; };
  RECT client, update;
  GetClientRect(e->Handle(), &client);
  auto updateRect = [&] {
    GetUpdateRect(e->Handle(), &update, FALSE);
    return update;
  };
  e->SetText("");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(R(updateRect()), R(client));
  Pump();
  EXPECT_EQ(e->Text(), "");
  e->SetText("");  // the same text: nothing at all
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(R(updateRect()), "0,0,0,0");
  e->SetText("notice");
  EXPECT_EQ(changes, 2);
  Pump();
  e->Clear();
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(e->Text(), "");
  EXPECT_EQ(R(updateRect()), R(client));
  Pump();
  // The user's edits report through the platform's notification.
  e->SetFocus();
  Type(u"ab");
  EXPECT_EQ(changes, 4);
}

TEST_F(EditTest, ReadOnlyRefusesEditsButCopiesAndSelects) {
  TksSkinEdit* e = MakeEdit(0, "keep me");
  e->SetFocus();
  Pump();
  hb().PressKey(VK_END);
  Type(u"x");
  e->SetReadOnly(true);
  Type(u"yz");
  EXPECT_EQ(e->Text(), "keep mex");
  hb().PressKey(VK_HOME);
  hb().PressKey(VK_DELETE);
  hb().PressKey(VK_BACK, u"\b");
  Pump();
  EXPECT_EQ(e->Text(), "keep mex");
  e->SelectAll();
  EXPECT_EQ(e->SelLength(), 8);
  e->CopyToClipboard();
  std::u16string clip;
  ASSERT_TRUE(hb().GetClipboardText(clip));
  EXPECT_EQ(clip, u"keep mex");
  hb().SetClipboardText(u"pasted");
  e->CutToClipboard();
  e->PasteFromClipboard();
  e->ClearSelection();
  e->Undo();
  hb().KeyDown(VK_CONTROL);
  Type(u"\x16\x18\x1a");  // Ctrl+V, Ctrl+X, Ctrl+Z
  hb().KeyUp(VK_CONTROL);
  Pump();
  EXPECT_EQ(e->Text(), "keep mex");
  ASSERT_TRUE(hb().GetClipboardText(clip));
  EXPECT_EQ(clip, u"pasted");
  // Ctrl+A and Ctrl+C still work.
  e->SetSelLength(0);
  hb().KeyDown(VK_CONTROL);
  hb().PressKey('A', u"\x01");
  hb().PressKey('C', u"\x03");
  hb().KeyUp(VK_CONTROL);
  Pump();
  EXPECT_EQ(e->SelLength(), 8);
  ASSERT_TRUE(hb().GetClipboardText(clip));
  EXPECT_EQ(clip, u"keep mex");
}

TEST_F(EditTest, ButtonClicksOnlyInButtonMode) {
  TksSkinEdit* e = MakeEdit(0, "query");
  int clicks = 0;
  e->OnButtonClick = [&](TObject*) { ++clicks; };
  for (int x = 0; x < e->Width(); x += 7) {
    const TPoint p = e->ClientToScreen(Point(x - e->TextArea().left, 5));
    hb().Click(p.x, p.y);
    Pump();
  }
  EXPECT_EQ(clicks, 0);
  // The record with an embedded button.
  e->SetSkinDataName("buttonedit");
  e->SetButtonMode(true);
  e->ApplySkin();
  Pump();
  ASSERT_GE(e->SkinIndex(), 0);
  const TRect b = e->ButtonRect();
  EXPECT_EQ(R(b), "209,3,222,18");  // moved to the right end
  RECT wr;
  GetWindowRect(e->Handle(), &wr);
  const int bx = wr.left + (b.left + b.right) / 2, by = wr.top + (b.top + b.bottom) / 2;
  hb().MoveMouse(bx, by);
  Pump();
  EXPECT_EQ(SendMessageW(e->Handle(), WM_NCHITTEST, 0, MAKELPARAM(bx, by)), 100) << R(wr) << " " << bx << "," << by << " " << e->Width();
  EXPECT_TRUE(e->ButtonHot());
  hb().PressButton(1);
  Pump();
  EXPECT_TRUE(e->ButtonPressed());
  EXPECT_EQ(clicks, 0);
  hb().ReleaseButton(1);
  Pump();
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(e->ButtonPressed());
  EXPECT_TRUE(e->Focused());
  // Pressed on the button, released elsewhere: no click.
  hb().PressButton(1);
  hb().MoveMouse(wr.left + 20, by);
  hb().ReleaseButton(1);
  Pump();
  EXPECT_EQ(clicks, 1);
  // Leaving clears the marks.
  hb().MoveMouse(bx, by);
  Pump();
  hb().MoveMouse(5, 5);
  Pump();
  EXPECT_FALSE(e->ButtonHot());
  EXPECT_FALSE(e->MouseInside());
}

TEST_F(EditTest, IdentificationMessagesPaintIntoTheGivenContext) {
  TksSkinEdit* e = MakeEdit(0, "text");
  EXPECT_EQ(e->Perform(WM_KSSKINCONTROLID, 0, 0), 0);
  TBitmap box(225, 21, pf32bit);
  box.Canvas()->Brush().SetColor(clLime);
  box.Canvas()->FillRect(Rect(0, 0, 225, 21));
  EXPECT_EQ(e->Perform(WM_KSPAINTFRAME, reinterpret_cast<WPARAM>(box.Canvas()->Handle()), 1), 0);
  EXPECT_EQ(Rgb(box.PixelRGB(0, 0)), 0x00FF00u);  // another lParam: not painted
  EXPECT_EQ(e->Perform(WM_KSPAINTFRAME, reinterpret_cast<WPARAM>(box.Canvas()->Handle()), KS_PAINTFRAME),
            KS_PAINTFRAME);
  const RECT& skin = e->SkinIndex() >= 0 ? data()->ControlRecords[size_t(e->SkinIndex())]->skinrect : RECT{};
  TBitmap* picture = data()->ActivePicture(data()->ControlRecords[size_t(e->SkinIndex())]->pictureindex);
  EXPECT_EQ(Rgb(box.PixelRGB(0, 0)), PicturePixel(picture, skin.left, skin.top));
  EXPECT_EQ(Rgb(box.PixelRGB(100, 10)), 0x00FF00u);  // the text area is left alone
  EXPECT_EQ(e->Perform(WM_KSSKINCONTROLID, reinterpret_cast<WPARAM>(box.Canvas()->Handle()), 0),
            KS_SKINCONTROLID);
  EXPECT_NE(Rgb(box.PixelRGB(100, 10)), 0x00FF00u);
  EXPECT_EQ(Rgb(box.PixelRGB(4, 10)), PicturePixel(picture, skin.left + 4, skin.top + 10));
}

}  // namespace
}  // namespace lumoa::skin::test
