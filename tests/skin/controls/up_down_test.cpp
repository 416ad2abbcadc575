// The skinned up-down control: range and steps, the change callback, and its looks from the
// skin's up-down record and without one.
#include "skin/controls/up_down.h"

#include "page_control_fixture.h"
#include "skin/data/other_control_records.h"

namespace lumoa::skin::test {
namespace {

class UpDownTest : public PageControlTest {
 protected:
  TksSkinUpDown* MakeUpDown(bool skinned) {
    form_ = MakeForm(100, 100, 200, 60);
    auto* u = new TksSkinUpDown(form_);
    u->SetParent(form_);
    u->SetBounds(10, 10, 40, 20);
    u->SetSkinDataName("hupdown");
    if (skinned) {
      LoadSkin(0);
      u->SetSkinData(data());
    }
    Pump();
    return u;
  }
};

TEST_F(UpDownTest, StepsWithinTheRangeAndReportsClicksOnly) {
  TksSkinUpDown* u = MakeUpDown(true);
  std::vector<int> changes;
  u->OnChange = [&](TObject*, int p) { changes.push_back(p); };
  u->SetMax(3);
  u->SetIncrement(2);
  u->SetPosition(1);  // from code: no callback
  EXPECT_TRUE(changes.empty());
  ClickAt(u, u->Width() - 4, 8);
  ClickAt(u, u->Width() - 4, 8);  // at the maximum: nothing
  EXPECT_EQ(changes, (std::vector<int>{3}));
  ClickAt(u, 4, 8);
  ClickAt(u, 4, 8);
  EXPECT_EQ(changes, (std::vector<int>{3, 1, 0}));
  u->SetPosition(9);
  EXPECT_EQ(u->Position(), 3);
  u->SetMax(2);
  EXPECT_EQ(u->Position(), 2);
  u->SetIncrement(0);
  EXPECT_EQ(u->Increment(), 1);
}

TEST_F(UpDownTest, HeldButtonRepeatsAfterADelay) {
  TksSkinUpDown* u = MakeUpDown(true);
  int changes = 0;
  u->OnChange = [&](TObject*, int) { ++changes; };
  const TPoint s = u->ClientToScreen(Point(u->Width() - 4, 8));
  hb().MoveMouse(s.x, s.y);
  hb().PressButton(1);
  Pump();
  EXPECT_EQ(u->Position(), 1);
  hb().AdvanceClock(400);
  Pump();
  EXPECT_EQ(u->Position(), 1);
  hb().AdvanceClock(100);
  Pump();
  EXPECT_EQ(u->Position(), 2);
  hb().AdvanceClock(50);
  Pump();
  EXPECT_EQ(u->Position(), 3);
  hb().ReleaseButton(1);
  Pump();
  hb().AdvanceClock(1000);
  Pump();
  EXPECT_EQ(u->Position(), 3);
  EXPECT_EQ(changes, 3);
}

TEST_F(UpDownTest, SkinnedButtonsShowTheirHotAndPressedImages) {
  TksSkinUpDown* u = MakeUpDown(true);
  const auto* r = dynamic_cast<const TksDataSkinUpDownControl*>(u->SkinRecord());
  ASSERT_NE(r, nullptr);
  TBitmap* pic = data()->ActivePicture(r->pictureindex);
  // Fitted to the record's fixed size.
  EXPECT_EQ(u->Width(), r->skinrect.right - r->skinrect.left);
  EXPECT_EQ(u->Height(), r->skinrect.bottom - r->skinrect.top);
  auto at = [&](int x, int y) { return PixelAt(u, x, y); };
  const POINT up{r->upbuttonrect.left + 8, 8};
  EXPECT_EQ(at(up.x, up.y), Rgb(pic->PixelRGB(r->skinrect.left + up.x, r->skinrect.top + up.y)));
  MoveTo(u, up.x, up.y);
  EXPECT_EQ(u->HotPart(), TksSkinUpDown::Up);
  EXPECT_EQ(at(up.x, up.y), Rgb(pic->PixelRGB(r->activeupbuttonrect.left + 8, r->activeupbuttonrect.top + 8)));
  const TPoint s = u->ClientToScreen(Point(up.x, up.y));
  hb().MoveMouse(s.x, s.y);
  hb().PressButton(1);
  Pump();
  EXPECT_EQ(at(up.x, up.y), Rgb(pic->PixelRGB(r->downupbuttonrect.left + 8, r->downupbuttonrect.top + 8)));
  hb().ReleaseButton(1);
  Pump();
  EXPECT_EQ(u->PressedPart(), TksSkinUpDown::None);
  // The other half keeps its normal image.
  EXPECT_EQ(at(4, 4), Rgb(pic->PixelRGB(r->skinrect.left + 4, r->skinrect.top + 4)));
}

TEST_F(UpDownTest, PlainLookWithoutRecord) {
  TksSkinUpDown* u = MakeUpDown(false);
  EXPECT_EQ(u->Width(), 40);
  EXPECT_EQ(u->Height(), 20);
  const uint32_t face = Rgb(ColorToRGB(clBtnFace));
  EXPECT_EQ(PixelAt(u, 3, 3), face);
  MoveTo(u, 30, 3);
  EXPECT_EQ(PixelAt(u, 23, 3), Rgb(0xD2BDB6));
  EXPECT_EQ(PixelAt(u, 3, 3), face);
}

}  // namespace
}  // namespace lumoa::skin::test
