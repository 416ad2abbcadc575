// The combo box's looks: face colours from the record, the plain look without a skin, a skin
// change reaching the open list, the translucent list, the tool-button style.
#include <gtest/gtest.h>

#include <cstdlib>

#include "combo_box_fixture.h"
#include "skin/controls/combo_box.h"
#include "skin/form/skin_control.h"

namespace {

using lumoa::skin::test::ComboTest;
using lumoa::skin::test::Gbk;

uint32_t Rgb(COLORREF c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }

class ComboLookTest : public ComboTest {
 protected:
  // How many pixels of the item area are within a small distance of this colour (glyph
  // cores; their edges are blended with what lies under them).
  int Count(TksSkinComboBox* c, uint32_t rgb) {
    int n = 0;
    const TRect r = c->ItemRect();
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) {
        const uint32_t p = PixelAt(c, x, y);
        int d = 0;
        for (int sh : {0, 8, 16}) d += std::abs(int((p >> sh) & 0xFF) - int((rgb >> sh) & 0xFF));
        n += d <= 24;
      }
    return n;
  }
};

TEST_F(ComboLookTest, FaceTextColourFollowsFocusAndEnabledState) {
  auto* c = MakeCombo();
  const TksComboBoxSkin& s = c->ComboSkin();
  ASSERT_EQ(s.FontColor, 8742987u);
  // Unfocused: the item in fontcolor right on the face.
  c->Invalidate();
  Pump();
  EXPECT_GT(Count(c, Rgb(s.FontColor)), 2);
  // Focused: white text on the focus highlight, none in fontcolor.
  Focus();
  c->Invalidate();
  Pump();
  EXPECT_EQ(Count(c, Rgb(s.FontColor)), 0);
  TBitmap* pic = c->Skin().Picture;
  ASSERT_NE(pic, nullptr);
  const RECT f = s.FocusItemRect;
  EXPECT_EQ(PixelAt(c, 3 + 10, 3 + 1), Rgb(pic->PixelRGB(f.left + 10, f.top + 1)));
  // Disabled: the edit record's disabled colour.
  c->SetEnabled(false);
  Pump();
  const int i = data()->GetControlIndex("edit");
  ASSERT_GE(i, 0);
  const auto* edit = dynamic_cast<const TksDataSkinEditControl*>(data()->ControlRecords[size_t(i)].get());
  ASSERT_NE(edit, nullptr);
  EXPECT_GT(Count(c, Rgb(edit->disabledfontcolor)), 2);
}

TEST_F(ComboLookTest, WithoutSkinThePlainLookAndTheStoredItemHeight) {
  auto* c = MakeCombo();
  c->SetSkinDataName("nosuchrecord");
  c->ApplySkin();
  Pump();
  EXPECT_EQ(lumoa::ui::test::Str(c->ButtonRect()), "42,2,59,19");
  EXPECT_EQ(PixelAt(c, 0, 0), Rgb(GetSysColor(COLOR_BTNSHADOW)));
  c->DropDown();
  Pump();
  // The list has no record either now: rows of the stored 30 pixels in a 2-pixel frame.
  EXPECT_EQ(c->PopupList()->ItemHeight(), 30);
  EXPECT_EQ(c->PopupList()->Height(), 12 * 30 + 4);
  ASSERT_NE(c->PopupList()->VScrollBar(), nullptr);
  EXPECT_EQ(c->PopupList()->VScrollBar()->Width(), 19);
}

TEST_F(ComboLookTest, SkinChangeReachesTheList) {
  auto* c = MakeCombo();
  LoadSkin(1);
  ApplySkinControls(form_, nullptr);
  Pump();
  c->DropDown();
  Pump();
  auto* list = c->PopupList();
  ASSERT_GE(list->SkinIndex(), 0);
  const auto* r = dynamic_cast<const TksDataSkinListBox*>(list->SkinRecord());
  ASSERT_NE(r, nullptr);
  TBitmap* pic = data()->ActivePicture(r->pictureindex);
  ASSERT_NE(pic, nullptr);
  EXPECT_EQ(PixelAt(list, 0, 0), Rgb(pic->PixelRGB(r->skinrect.left, r->skinrect.top)));
  const int rows = 12 * (r->itemrect.bottom - r->itemrect.top);
  EXPECT_EQ(list->Height(), rows + r->clientrect.top + (r->skinrect.bottom - r->skinrect.top - r->clientrect.bottom));
}

TEST_F(ComboLookTest, TranslucentListFadesInToItsAlpha) {
  auto* c = MakeCombo();
  hb().SetLayeredAvailable(true);
  c->AlphaBlend = true;
  c->AlphaBlendValue = 200;
  c->DropDown();
  Pump();
  const auto native = lumoa::platform::NativeWindowOf(c->PopupList()->Handle());
  ASSERT_NE(hb().Window(native), nullptr);
  EXPECT_EQ(hb().Window(native)->opacity, 200);
  c->CloseUp(false);
  c->AlphaBlendAnimation = true;
  c->AlphaBlendValue = 150;
  c->DropDown();
  Pump();
  EXPECT_EQ(hb().Window(native)->opacity, 150);
  c->CloseUp(false);
  c->AlphaBlend = false;
  c->DropDown();
  Pump();
  EXPECT_EQ(GetWindowLongW(c->PopupList()->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
}

TEST_F(ComboLookTest, ToolButtonStyleOpensFromAnywhereAndForcesTheFixedStyle) {
  auto* c = MakeCombo();
  c->SetToolButtonStyle(true);
  c->SetStyle(kscbEditStyle);
  EXPECT_EQ(c->Style(), kscbFixedStyle);
  EXPECT_FALSE(c->UseSkinSize());
  c->SetBounds(c->Left(), c->Top(), 80, 30);
  EXPECT_EQ(c->Height(), 30);  // the size is free
  ClickAt(c, 4, 4);
  EXPECT_TRUE(c->DroppedDown());
}

}  // namespace
