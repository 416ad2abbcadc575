// The skinned edit across skin changes, with and without the skin's font, unskinned, with
// image buttons, and with a record whose hot font colour differs.
#include <string>
#include <vector>

#include "edit_fixture.h"
#include "skin/form/form_skinner.h"

namespace lumoa::skin::test {
namespace {

TksDataSkinEditControl* EditRecord(TksSkinData* data, TksSkinEdit* e) {
  return dynamic_cast<TksDataSkinEditControl*>(data->ControlRecords[size_t(e->SkinIndex())].get());
}

TEST_F(EditTest, TheFormSkinnersSkinChangeReachesTheBox) {
  TksSkinEdit* e = MakeEdit(0, "text", true);
  for (int skin : {1, 2, 0}) {
    SCOPED_TRACE(skin);
    LoadSkin(skin);
    Pump();
    ASSERT_GE(e->SkinIndex(), 0);
    TksDataSkinEditControl* r = EditRecord(data(), e);
    EXPECT_EQ(ColorToRGB(e->Font()->Color()), r->fontcolor);
    EXPECT_EQ(e->Height(), r->skinrect.bottom - r->skinrect.top);
    TBitmap* picture = data()->ActivePicture(r->pictureindex);
    EXPECT_EQ(WindowPixelOf(e, 0, 10), PicturePixel(picture, r->skinrect.left, r->skinrect.top + 10));
    EXPECT_EQ(e->Text(), "text");
  }
  // Released before a load, the box draws its plain look until the new skin applies.
  e->ReleaseSkin();
  EXPECT_EQ(e->SkinIndex(), -1);
}

TEST_F(EditTest, ABoxThatMissedTheSkinMessagesTakesTheSkinFromItsFirstPaint) {
  TksSkinEdit* e = MakeEdit(-1, "text");
  e->SetSkinData(data());  // still empty: nothing to apply
  EXPECT_EQ(e->SkinIndex(), -1);
  EXPECT_EQ(e->Height(), 20);
  LoadSkin(0);  // no form skinner relays the change
  e->Invalidate();
  Pump();
  ASSERT_GE(e->SkinIndex(), 0);
  EXPECT_EQ(e->Height(), 21);
  EXPECT_EQ(ColorToRGB(e->Font()->Color()), 8742987u);
  RECT client;
  GetClientRect(e->Handle(), &client);
  EXPECT_EQ(client.bottom, 15);
  // Bound to a skin data that loads its skin later in the same stored layout: Loaded applies.
  auto* later = new TksSkinData(form);
  auto* loaded = new TksSkinEdit(form);
  loaded->SetParent(form);
  loaded->SetBounds(0, 0, 100, 20);
  loaded->SetSkinData(later);
  later->SetCompressedStoredSkin(data()->CompressedStoredSkin());
  EXPECT_EQ(loaded->Height(), 20);
  loaded->Loaded();
  EXPECT_EQ(loaded->SkinIndex(), later->GetControlIndex("edit"));
  EXPECT_EQ(loaded->Height(), 21);
}

TEST_F(EditTest, WithoutTheSkinFontTheHeightFollowsTheDefaultFont) {
  TksSkinEdit* e = MakeEdit(0, "text");
  e->SetUseSkinFont(false);
  Pump();
  ASSERT_GE(e->SkinIndex(), 0);
  // The cell height of Arial 14 plus the record's frame (21 - 15).
  EXPECT_EQ(e->Height(), 14 + 6);
  // The colour still follows the record; name and size come from DefaultFont.
  EXPECT_EQ(ColorToRGB(e->Font()->Color()), 8742987u);
  const TRect a = e->TextArea();
  EXPECT_EQ(e->Height() - a.bottom, 3);
  e->DefaultFont()->SetHeight(20);
  e->SetFont(e->DefaultFont());
  EXPECT_EQ(e->Height(), 20 + 6);
  // Skinned with the skin's font again: the record's height and colour.
  e->SetUseSkinFont(true);
  EXPECT_EQ(e->Height(), 21);
  EXPECT_EQ(ColorToRGB(e->Font()->Color()), 8742987u);
}

TEST_F(EditTest, UnboundOrNamelessTheBoxIsPlainAndKeepsItsDefaults) {
  TksSkinEdit* e = MakeEdit(0, "text");
  e->SetDefaultWidth(180);
  e->SetSkinDataName("no such record");
  e->ApplySkin();
  Pump();
  EXPECT_EQ(e->SkinIndex(), -1);
  EXPECT_EQ(e->Width(), 180);
  EXPECT_EQ(e->Font()->Color(), clSilver);
  EXPECT_EQ(e->Height(), 20);
  // The plain look: a button-shadow line outside, a button-face line inside, DefaultColor.
  EXPECT_EQ(WindowPixelOf(e, 0, 10), Rgb(ColorToRGB(clBtnShadow)));
  EXPECT_EQ(WindowPixelOf(e, 1, 10), Rgb(ColorToRGB(clBtnFace)));
  EXPECT_EQ(WindowPixelOf(e, 170, 1), Rgb(ColorToRGB(clBtnFace)));
  EXPECT_EQ(WindowPixelOf(e, 176, 2), Rgb(ColorToRGB(clWindow)));
  // Removing the skin data component leaves an unbound box.
  e->SetSkinDataName("edit");
  e->ApplySkin();
  ASSERT_GE(e->SkinIndex(), 0);
  data()->Free();
  EXPECT_EQ(e->SkinData(), nullptr);
  EXPECT_EQ(e->SkinIndex(), -1);
  Pump();
}

TEST_F(EditTest, HotFontColourFollowsTheMouseAndTheFocus) {
  TksSkinEdit* e = MakeEdit(0, "text");
  TksDataSkinEditControl* shipped = EditRecord(data(), e);
  auto* r = AddRecord<TksDataSkinEditControl>("hotedit");
  r->pictureindex = shipped->pictureindex;
  r->skinrect = shipped->skinrect;
  r->activeskinrect = shipped->activeskinrect;
  r->lefttoppoint = shipped->lefttoppoint;
  r->righttoppoint = shipped->righttoppoint;
  r->clientrect = shipped->clientrect;
  r->fontcolor = RGB(10, 20, 30);
  r->activefontcolor = RGB(200, 0, 0);
  r->disabledfontcolor = RGB(128, 128, 128);
  auto* other = new TButton(form);
  other->SetParent(form);
  other->SetBounds(0, 0, 10, 10);
  e->SetSkinDataName("hotedit");
  e->ApplySkin();
  hb().MoveMouse(5, 5);
  Pump();
  EXPECT_EQ(ColorToRGB(e->Font()->Color()), RGB(10, 20, 30));
  RECT wr;
  GetWindowRect(e->Handle(), &wr);
  hb().MoveMouse(wr.left + 50, wr.top + 10);
  Pump();
  EXPECT_EQ(ColorToRGB(e->Font()->Color()), RGB(200, 0, 0));
  hb().MoveMouse(5, 5);
  Pump();
  EXPECT_EQ(ColorToRGB(e->Font()->Color()), RGB(10, 20, 30));
  e->SetFocus();
  Pump();
  EXPECT_EQ(ColorToRGB(e->Font()->Color()), RGB(200, 0, 0));
  other->SetFocus();
  Pump();
  EXPECT_EQ(ColorToRGB(e->Font()->Color()), RGB(10, 20, 30));
}

TEST_F(EditTest, ImageButtonsNarrowTheTextAndReportTheirClicks) {
  TksSkinEdit* e = MakeEdit(0, "");
  auto* images = new TImageList(form);
  images->SetSize(12, 12);
  for (TColor c : {clRed, clLime, clBlue}) {
    TBitmap b(12, 12, pf24bit);
    b.Canvas()->Brush().SetColor(c);
    b.Canvas()->FillRect(Rect(0, 0, 12, 12));
    images->Add(&b, nullptr);
  }
  e->SetImages(images);
  e->SetLeftImageIndex(0);
  e->SetRightImageIndex(1);
  e->RightImageHotIndex = 2;
  int left = 0, right = 0;
  e->OnLeftButtonClick = [&](TObject*) { ++left; };
  e->OnRightButtonClick = [&](TObject*) { ++right; };
  Pump();
  RECT client, format;
  GetClientRect(e->Handle(), &client);
  e->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
  EXPECT_EQ(format.left, 2 + 12 + 2);
  EXPECT_EQ(format.right, client.right - 12 - 2);
  // At the edges of the text area, centred in its height (15 - 12 = 3: one row above).
  const TRect a = e->TextArea();
  EXPECT_EQ(R(e->LeftImageRect()), R(Rect(a.left, a.top + 1, a.left + 12, a.top + 13)));
  EXPECT_EQ(WindowPixelOf(e, a.left + 5, a.top + 5), 0xFF0000u);
  EXPECT_EQ(WindowPixelOf(e, a.right - 5, a.top + 5), 0x00FF00u);
  RECT wr;
  GetWindowRect(e->Handle(), &wr);
  hb().MoveMouse(wr.left + a.right - 5, wr.top + a.top + 5);
  Pump();
  EXPECT_EQ(WindowPixelOf(e, a.right - 5, a.top + 5), 0x0000FFu);  // the hot glyph
  hb().PressButton(1);
  hb().ReleaseButton(1);
  Pump();
  EXPECT_EQ(right, 1);
  EXPECT_TRUE(e->Focused());
  hb().Click(wr.left + a.left + 5, wr.top + a.top + 5);
  Pump();
  EXPECT_EQ(left, 1);
  EXPECT_EQ(right, 1);
  // Typed text starts after the left image.
  Type(u"W");
  EXPECT_EQ(e->Text(), "W");
  EXPECT_EQ(WindowPixelOf(e, a.left + 5, a.top + 5), 0xFF0000u);
}

}  // namespace
}  // namespace lumoa::skin::test
