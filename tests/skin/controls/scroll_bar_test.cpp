// The skinned scroll bar: thumb geometry from skin 0's "vscrollbar", the range rules, dragging,
// and the repeat timing of buttons and track.
#include "skin/controls/scroll_bar.h"

#include <gtest/gtest.h>

#include "combo_box_fixture.h"

namespace {

using lumoa::skin::test::ComboTest;
using lumoa::skin::test::SkinTest;
using lumoa::ui::test::Str;

class ScrollBarTest : public SkinTest {
 protected:
  TksSkinScrollBar* Bar(bool skinned, int h = 228) {
    if (skinned) LoadSkin(0);
    form_ = MakeForm(50, 50, 200, 300);
    auto* b = new TksSkinScrollBar(form_);
    b->SetKind(sbVertical);
    b->SetSkinDataName("vscrollbar");
    b->SetParent(form_);
    b->SetBounds(10, 10, 19, h);
    if (skinned) b->SetSkinData(data());
    b->OnChange = [this](TObject*) { ++changes_; };
    Pump();
    return b;
  }
  void Press(TksSkinScrollBar* b, int x, int y) {
    const TPoint p = b->ClientToScreen(Point(x, y));
    hb().MoveMouse(p.x, p.y);
    hb().PressButton(1);
    Pump();
  }
  void Move(TksSkinScrollBar* b, int x, int y) {
    const TPoint p = b->ClientToScreen(Point(x, y));
    hb().MoveMouse(p.x, p.y);
    Pump();
  }
  void Wait(int ms) {
    hb().AdvanceClock(ms);
    Pump();
  }
  TForm* form_ = nullptr;
  int changes_ = 0;
};

TEST(RoundHalfEvenTest, TiesGoToEven) {
  EXPECT_EQ(RoundHalfEven(0.5), 0);
  EXPECT_EQ(RoundHalfEven(1.5), 2);
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(2.6), 3);
  EXPECT_EQ(RoundHalfEven(-1.5), -2);
}

TEST_F(ScrollBarTest, SkinnedThumbFollowsPageAndPosition) {
  auto* b = Bar(true);
  ASSERT_GE(b->SkinIndex(), 0);
  EXPECT_EQ(b->Width(), 17);  // the record fixes the width
  b->SetRange(0, 14, 12, 0);
  EXPECT_EQ(Str(b->TrackRect()), "0,17,17,211");
  EXPECT_EQ(Str(b->PartRect(TksSkinScrollBar::UpPart)), "0,211,17,228");
  EXPECT_EQ(Str(b->PartRect(TksSkinScrollBar::DownPart)), "0,0,17,17");
  // 194 track pixels, 12 of 15 rows on the page: nearest(155.2) = 155.
  EXPECT_EQ(Str(b->PartRect(TksSkinScrollBar::ThumbPart)), "0,17,17,172");
  b->SetRange(0, 14, 12, 3);
  EXPECT_EQ(Str(b->PartRect(TksSkinScrollBar::ThumbPart)), "0,56,17,211");
  b->SetRange(0, 14, 12, 2);  // 2/3 of 39: nearest(26) = 26
  EXPECT_EQ(Str(b->PartRect(TksSkinScrollBar::ThumbPart)), "0,43,17,198");
  // No page: the skin's minimum size (14) travels Min .. Max.
  b->SetRange(0, 100, 0, 50);
  EXPECT_EQ(Str(b->PartRect(TksSkinScrollBar::ThumbPart)), "0,107,17,121");
  EXPECT_EQ(changes_, 0);  // the combined setter never reports
}

TEST_F(ScrollBarTest, PositionIsClampedAndOnlyRealChangesReport) {
  auto* b = Bar(true);
  b->SetRange(0, 14, 12, 0);
  b->SetPosition(10);
  EXPECT_EQ(b->Position(), 3);  // Max - PageSize + 1
  EXPECT_EQ(changes_, 1);
  b->SetPosition(3);
  EXPECT_EQ(changes_, 1);
  b->SetPosition(-5);
  EXPECT_EQ(b->Position(), 0);
  EXPECT_EQ(changes_, 2);
  b->SetRange(0, 10, 0, 99);
  EXPECT_EQ(b->Position(), 10);
  EXPECT_EQ(changes_, 2);
}

TEST_F(ScrollBarTest, EmptyRangeDrawsTheThumbAtTheStartAndIgnoresDrags) {
  auto* b = Bar(true);
  b->SetRange(5, 5, 0, 5);
  const TRect thumb = b->PartRect(TksSkinScrollBar::ThumbPart);
  EXPECT_EQ(thumb.top, b->TrackRect().top);
  int last = 0;
  b->OnLastChange = [&](TObject*) { ++last; };
  Press(b, 8, thumb.top + 3);
  EXPECT_FALSE(b->Dragging());
  Move(b, 8, thumb.top + 100);
  hb().ReleaseButton(1);
  Pump();
  EXPECT_EQ(b->Position(), 5);
  EXPECT_EQ(changes_, 0);
  EXPECT_EQ(last, 0);
  EXPECT_EQ(b->PartRect(TksSkinScrollBar::ThumbPart).top, b->TrackRect().top);
}

TEST_F(ScrollBarTest, ButtonsRepeatAfter500ThenEvery50WhileOnTheButton) {
  auto* b = Bar(true);
  b->SetRange(0, 100, 0, 0);
  Press(b, 8, 220);  // the "up" button at the bottom raises the position
  EXPECT_EQ(b->Position(), 1);
  EXPECT_TRUE(b->PartDown(TksSkinScrollBar::UpPart));
  Wait(499);
  EXPECT_EQ(b->Position(), 1);
  Wait(1);
  EXPECT_EQ(b->Position(), 2);
  Wait(50);
  Wait(50);
  EXPECT_EQ(b->Position(), 4);
  Move(b, 8, 100);  // off the button: the repeat pauses
  Wait(50);
  Wait(50);
  EXPECT_EQ(b->Position(), 4);
  Move(b, 8, 220);
  Wait(50);
  EXPECT_EQ(b->Position(), 5);
  hb().ReleaseButton(1);
  Pump();
  Wait(200);
  EXPECT_EQ(b->Position(), 5);
  EXPECT_FALSE(b->PartDown(TksSkinScrollBar::UpPart));
  // The "down" button lowers it; an assigned click event replaces the step.
  int downs = 0;
  b->OnDownButtonClick = [&](TObject*) { ++downs; };
  Press(b, 8, 5);
  hb().ReleaseButton(1);
  Pump();
  EXPECT_EQ(downs, 1);
  EXPECT_EQ(b->Position(), 5);
}

TEST_F(ScrollBarTest, TrackPressPagesTowardsThePointer) {
  auto* b = Bar(true);
  b->SetRange(0, 100, 10, 0);
  b->LargeChange = 10;
  int pageDowns = 0;
  b->OnPageDown = [&](TObject*) { ++pageDowns; };
  Press(b, 8, 200);  // after the thumb
  EXPECT_EQ(b->Position(), 10);
  EXPECT_EQ(pageDowns, 1);
  Wait(500);
  EXPECT_EQ(b->Position(), 20);
  // Once the thumb has passed the pointer the paging stops.
  for (int i = 0; i < 40; ++i) Wait(50);
  const TRect thumb = b->PartRect(TksSkinScrollBar::ThumbPart);
  EXPECT_LE(thumb.top, 200);
  EXPECT_LT(b->Position(), 91);
  hb().ReleaseButton(1);
  Pump();
}

TEST_F(ScrollBarTest, PlainBarWithoutSkin) {
  auto* b = Bar(false, 200);
  b->SetRange(0, 100, 0, 0);
  EXPECT_EQ(Str(b->PartRect(TksSkinScrollBar::DownPart)), "1,1,18,17");
  EXPECT_EQ(Str(b->PartRect(TksSkinScrollBar::UpPart)), "1,183,18,199");
  EXPECT_EQ(b->PartRect(TksSkinScrollBar::ThumbPart).bottom - b->PartRect(TksSkinScrollBar::ThumbPart).top, 16);
  b->SetRange(0, 99, 50, 0);  // half the range on the page: half the track
  EXPECT_EQ(b->PartRect(TksSkinScrollBar::ThumbPart).bottom - b->PartRect(TksSkinScrollBar::ThumbPart).top, 83);
}

// Dragging the open list's thumb scrolls the list by the same share of its range.
TEST_F(ComboTest, DraggingTheThumbScrollsTheListProportionally) {
  auto* c = MakeCombo();
  c->DropDown();
  Pump();
  TksSkinScrollBar* bar = c->PopupList()->VScrollBar();
  ASSERT_NE(bar, nullptr);
  int last = 0;
  bar->OnLastChange = [&](TObject*) { ++last; };
  const TRect thumb = bar->PartRect(TksSkinScrollBar::ThumbPart);
  const TPoint start = bar->ClientToScreen(Point(8, thumb.top + 20));
  hb().MoveMouse(start.x, start.y);
  hb().PressButton(1);
  Pump();
  EXPECT_TRUE(bar->Dragging());
  hb().MoveMouse(start.x, start.y + 13);  // a third of the 39-pixel travel
  Pump();
  EXPECT_EQ(bar->Position(), 1);
  EXPECT_EQ(c->PopupList()->ListBox()->TopIndex(), 1);
  hb().MoveMouse(start.x, start.y + 500);
  Pump();
  EXPECT_EQ(c->PopupList()->ListBox()->TopIndex(), 3);
  hb().ReleaseButton(1);
  Pump();
  EXPECT_EQ(last, 1);
  // The list stays open and nothing was picked.
  EXPECT_TRUE(c->DroppedDown());
  EXPECT_TRUE(clicks_.empty());
  // The wheel over the open list moves the selection; the bar follows the list's top.
  c->PopupList()->SetTopItem(0);
  Pump();
  EXPECT_EQ(bar->Position(), 0);
}

}  // namespace
