// The category combo box of the main form: when OnClick fires (it opens a browser window in
// the launcher), the open list's size and place, keyboard, mouse, wheel and search.
#include "skin/controls/combo_box.h"

#include <gtest/gtest.h>

#include "combo_box_fixture.h"

namespace {

using lumoa::skin::test::Categories;
using lumoa::skin::test::ComboTest;
using lumoa::skin::test::Gbk;
using lumoa::ui::test::Str;

TEST_F(ComboTest, LoadingTheStoredIndexFiresNothingAssigningItAgainFiresOnce) {
  auto* c = MakeCombo();
  EXPECT_TRUE(clicks_.empty());
  EXPECT_EQ(c->ItemIndex(), 0);
  EXPECT_EQ(c->Text(), Gbk("问答"));
  c->SetItemIndex(0);
  ASSERT_EQ(clicks_.size(), 1u);
  EXPECT_EQ(clicks_[0], 0);
  c->SetItemIndex(3);
  EXPECT_EQ(c->Text(), Gbk("汽车"));
  EXPECT_EQ(clicks_.size(), 2u);
}

TEST_F(ComboTest, FaceGeometryFollowsTheRecord) {
  auto* c = MakeCombo();
  EXPECT_EQ(c->Width(), 61);
  EXPECT_EQ(c->Height(), 21);
  EXPECT_EQ(Str(c->ItemRect()), "3,3,41,18");
  EXPECT_EQ(Str(c->ButtonRect()), "42,3,58,18");
  // Wider: the button follows the right edge, the item area grows.
  c->SetWidth(100);
  EXPECT_EQ(Str(c->ButtonRect()), "81,3,97,18");
  EXPECT_EQ(Str(c->ItemRect()), "3,3,80,18");
}

TEST_F(ComboTest, OpenListHasTwelveRowsAndASkinnedBarFewerItemsNoBar) {
  auto* c = MakeCombo();
  Focus();
  c->DropDown();
  Pump();
  auto* list = c->PopupList();
  ASSERT_TRUE(c->DroppedDown());
  EXPECT_TRUE(IsWindowVisible(list->Handle()));
  EXPECT_EQ(list->Height(), 12 * 19 + 6);
  EXPECT_EQ(list->Width(), 61);
  EXPECT_EQ(list->ItemHeight(), 19);  // the skin's row, whatever the stored 30 says
  ASSERT_NE(list->VScrollBar(), nullptr);
  EXPECT_EQ(list->VScrollBar()->Kind(), sbVertical);
  EXPECT_EQ(list->VScrollBar()->Max(), 14);
  EXPECT_EQ(list->VScrollBar()->PageSize(), 12);
  EXPECT_GE(list->VScrollBar()->SkinIndex(), 0);
  // Below the combo's bottom-left corner.
  const RECT r = PopupRect();
  const TPoint corner = c->ClientToScreen(Point(0, c->Height()));
  EXPECT_EQ(r.left, corner.x);
  EXPECT_EQ(r.top, corner.y);
  // It is a top-level window of its own, and the combo kept the focus.
  EXPECT_EQ(GetWindowLongW(list->Handle(), GWL_STYLE) & WS_CHILD, 0);
  EXPECT_EQ(GetAncestor(list->Handle(), GA_ROOT), list->Handle());
  EXPECT_TRUE(c->Focused());
  c->CloseUp(false);
  EXPECT_FALSE(IsWindowVisible(list->Handle()));

  c->Items()->Clear();
  for (int i = 0; i < 12; ++i) c->Items()->Add(Gbk(Categories()[size_t(i)]));
  c->DropDown();
  Pump();
  EXPECT_EQ(list->Height(), 12 * 19 + 6);
  EXPECT_EQ(list->VScrollBar(), nullptr);
  c->CloseUp(false);
  c->Items()->Clear();
  for (int i = 0; i < 3; ++i) c->Items()->Add(Gbk(Categories()[size_t(i)]));
  c->DropDown();
  Pump();
  EXPECT_EQ(list->Height(), 3 * 19 + 6);
  EXPECT_EQ(list->VScrollBar(), nullptr);
}

TEST_F(ComboTest, ListThatWouldPassTheWorkAreaOpensAbove) {
  auto* c = MakeCombo(0, 100, 600);
  c->DropDown();
  Pump();
  const RECT r = PopupRect();
  const TPoint top = c->ClientToScreen(Point(0, 0));
  EXPECT_EQ(r.bottom, top.y);
  EXPECT_EQ(r.top, top.y - (12 * 19 + 6));
  EXPECT_LE(r.bottom, 740);
}

TEST_F(ComboTest, DownWithTheListOpenSelectsAtOnceEscapeKeepsIt) {
  auto* c = MakeCombo();
  Focus();
  Key(VK_F4);  // nothing: only Alt+Down opens
  EXPECT_FALSE(c->DroppedDown());
  hb().KeyDown(VK_MENU);
  Key(VK_DOWN);
  hb().KeyUp(VK_MENU);
  Pump();
  ASSERT_TRUE(c->DroppedDown());
  EXPECT_TRUE(clicks_.empty());
  Key(VK_DOWN);
  ASSERT_EQ(clicks_.size(), 1u);
  EXPECT_EQ(clicks_[0], 1);
  EXPECT_EQ(c->Text(), Gbk("购物"));
  Key(VK_ESCAPE);
  EXPECT_FALSE(c->DroppedDown());
  EXPECT_EQ(c->ItemIndex(), 1);
  EXPECT_EQ(clicks_.size(), 1u);
  // Alt+Up closes with cancel as well.
  c->DropDown();
  Pump();
  MoveTo(ListPoint(10, 19 * 6 + 5));
  hb().KeyDown(VK_MENU);
  Key(VK_UP);
  hb().KeyUp(VK_MENU);
  Pump();
  EXPECT_FALSE(c->DroppedDown());
  EXPECT_EQ(c->ItemIndex(), 1);
  EXPECT_EQ(clicks_.size(), 1u);
}

TEST_F(ComboTest, CancelAfterHoveringRestoresTheIndexOfTheOpening) {
  auto* c = MakeCombo();
  Focus();
  c->SetItemIndex(2);
  clicks_.clear();
  c->DropDown();
  Pump();
  int changes = 0, closes = 0;
  c->OnChange = [&](TObject*) { ++changes; };
  c->OnCloseUp = [&](TObject*) { ++closes; };
  MoveTo(ListPoint(10, 19 * 5 + 5));
  EXPECT_EQ(c->ItemIndex(), 5);
  MoveTo(ListPoint(10, 19 * 7 + 5));
  EXPECT_EQ(c->ItemIndex(), 7);
  EXPECT_TRUE(clicks_.empty());
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(c->Text(), Gbk("机票"));  // the face shows the item of the opening
  c->CloseUp(false);
  EXPECT_EQ(c->ItemIndex(), 2);
  EXPECT_TRUE(clicks_.empty());
  EXPECT_EQ(closes, 1);
  // Accepting after hovering: OnChange, OnClick, OnCloseUp, in that order.
  std::vector<std::string> order;
  c->OnChange = [&](TObject*) { order.push_back("change"); };
  c->OnClick = [&](TObject*) { order.push_back("click"); };
  c->OnCloseUp = [&](TObject*) { order.push_back("closeup"); };
  c->DropDown();
  Pump();
  MoveTo(ListPoint(10, 19 * 4 + 5));
  Key(VK_RETURN);
  EXPECT_EQ(c->ItemIndex(), 4);
  EXPECT_EQ(order, (std::vector<std::string>{"change", "click", "closeup"}));
}

TEST_F(ComboTest, PageUpAtTheTopStillFiresDownAtTheLastDoesNot) {
  auto* c = MakeCombo();
  Focus();
  Key(VK_PRIOR);
  ASSERT_EQ(clicks_.size(), 1u);
  EXPECT_EQ(clicks_[0], 0);
  Key(VK_NEXT);  // + DropDownCount - 1
  EXPECT_EQ(c->ItemIndex(), 11);
  Key(VK_PRIOR);  // - (DropDownCount + 1)
  EXPECT_EQ(c->ItemIndex(), 0);
  Key(VK_NEXT);
  Key(VK_NEXT);
  EXPECT_EQ(c->ItemIndex(), 14);
  clicks_.clear();
  Key(VK_DOWN);
  Key(VK_RIGHT);
  EXPECT_TRUE(clicks_.empty());
  Key(VK_UP);
  Key(VK_LEFT);
  EXPECT_EQ(clicks_, (std::vector<int>{13, 12}));
}

TEST_F(ComboTest, EmptyComboDoesNotOpen) {
  auto* c = MakeCombo(0, 100, 100, 0);
  int dropped = 0;
  c->OnDropDown = [&](TObject*) { ++dropped; };
  c->DropDown();
  Pump();
  EXPECT_FALSE(c->DroppedDown());
  EXPECT_EQ(dropped, 0);
  EXPECT_FALSE(c->PopupList()->Visible());
  Focus();
  Key(VK_PRIOR);  // nothing to select, nothing to report
  EXPECT_TRUE(clicks_.empty());
}

TEST_F(ComboTest, TypedLettersSearchByTheAccumulatedPrefix) {
  auto* c = MakeCombo(0, 100, 100, 0);
  for (const char* s : {"apple", "gamma", "Gold", "orange", "grape"}) c->Items()->Add(s);
  c->SetItemIndex(0);
  Focus();
  clicks_.clear();
  Type(u'g');
  EXPECT_EQ(c->ItemIndex(), 1);
  hb().AdvanceClock(400);
  Type(u'o');  // "go", searched from the top, case-insensitive
  EXPECT_EQ(c->ItemIndex(), 2);
  EXPECT_EQ(clicks_, (std::vector<int>{1, 2}));
  hb().AdvanceClock(600);
  Type(u'o');  // a new prefix "o"
  EXPECT_EQ(c->ItemIndex(), 3);
  hb().AdvanceClock(600);
  Type(u'g');  // one letter steps on from the current item, wrapping
  EXPECT_EQ(c->ItemIndex(), 4);
  hb().AdvanceClock(600);
  Type(u'g');
  EXPECT_EQ(c->ItemIndex(), 1);
  c->AutoComplete = false;
  Type(u'g');
  Type(u'o');  // without AutoComplete every key is a prefix of its own
  EXPECT_EQ(c->ItemIndex(), 3);
}

TEST_F(ComboTest, WheelSelectsWithTheListClosedAndOnlyMovesTheOpenList) {
  auto* c = MakeCombo();
  Focus();
  MoveTo(c->ClientToScreen(Point(10, 10)));
  hb().Wheel(-120);
  Pump();
  EXPECT_EQ(clicks_, (std::vector<int>{1}));
  hb().Wheel(120);
  Pump();
  EXPECT_EQ(clicks_, (std::vector<int>{1, 0}));
  hb().Wheel(120);  // at the top: nothing
  Pump();
  EXPECT_EQ(clicks_.size(), 2u);
  c->DropDown();
  Pump();
  hb().Wheel(-120);
  hb().Wheel(-120);
  Pump();
  EXPECT_EQ(c->ItemIndex(), 2);
  EXPECT_EQ(clicks_.size(), 2u);
  Key(VK_RETURN);
  EXPECT_EQ(clicks_, (std::vector<int>{1, 0, 2}));
}

TEST_F(ComboTest, DropDownCountRefusesValuesBelowOneListBoxWidthSetsTheWidth) {
  auto* c = MakeCombo();
  c->SetDropDownCount(0);
  c->SetDropDownCount(-3);
  EXPECT_EQ(c->DropDownCount(), 12);
  c->SetDropDownCount(5);
  c->ListBoxWidth = 150;
  c->DropDown();
  Pump();
  EXPECT_EQ(c->PopupList()->Width(), 150);
  EXPECT_EQ(c->PopupList()->Height(), 5 * 19 + 6);
}

TEST_F(ComboTest, MousePickThroughTheButtonAndTheList) {
  auto* c = MakeCombo();
  int drops = 0;
  c->OnDropDown = [&](TObject*) { ++drops; };
  // A click on the face opens the list and leaves it open.
  ClickAt(c, 50, 10);
  ASSERT_TRUE(c->DroppedDown());
  EXPECT_EQ(drops, 1);
  EXPECT_TRUE(c->Focused());
  // Hovering selects without events; a click on an item picks it once.
  MoveTo(ListPoint(10, 19 * 3 + 4));
  EXPECT_EQ(c->ItemIndex(), 3);
  const TPoint p = ListPoint(10, 19 * 3 + 4);
  hb().Click(p.x, p.y);
  Pump();
  EXPECT_FALSE(c->DroppedDown());
  EXPECT_EQ(clicks_, (std::vector<int>{3}));
  EXPECT_EQ(c->Text(), Gbk("汽车"));
  // Press on the face, drag into the list and release there: one pick.
  const TPoint face = c->ClientToScreen(Point(50, 10));
  hb().MoveMouse(face.x, face.y);
  hb().PressButton(1);
  Pump();
  ASSERT_TRUE(c->DroppedDown());
  MoveTo(ListPoint(10, 19 * 6 + 4));
  EXPECT_EQ(c->ItemIndex(), 6);
  hb().ReleaseButton(1);
  Pump();
  EXPECT_FALSE(c->DroppedDown());
  EXPECT_EQ(clicks_, (std::vector<int>{3, 6}));
  // A second click on the face while open closes it with cancel.
  ClickAt(c, 50, 10);
  ASSERT_TRUE(c->DroppedDown());
  MoveTo(ListPoint(10, 19 * 1 + 4));
  ClickAt(c, 50, 10);
  EXPECT_FALSE(c->DroppedDown());
  EXPECT_EQ(c->ItemIndex(), 6);
  EXPECT_EQ(clicks_.size(), 2u);
}

TEST_F(ComboTest, RightAndMiddleButtonsInTheListAreSwallowed) {
  auto* c = MakeCombo();
  ClickAt(c, 50, 10);
  const TPoint p = ListPoint(10, 19 * 2 + 4);
  hb().Click(p.x, p.y, 3);
  hb().Click(p.x, p.y, 2);
  Pump();
  EXPECT_TRUE(c->DroppedDown());
  EXPECT_TRUE(clicks_.empty());
}

TEST_F(ComboTest, DraggingBelowTheListScrollsEvery25Milliseconds) {
  auto* c = MakeCombo();
  const TPoint face = c->ClientToScreen(Point(50, 10));
  hb().MoveMouse(face.x, face.y);
  hb().PressButton(1);
  Pump();
  // Below the list before entering it: nothing scrolls.
  MoveTo(ListPoint(10, 12 * 19 + 20));
  hb().AdvanceClock(100);
  Pump();
  EXPECT_EQ(c->ItemIndex(), 0);
  MoveTo(ListPoint(10, 19 * 10 + 4));
  EXPECT_EQ(c->ItemIndex(), 10);
  MoveTo(ListPoint(10, 12 * 19 + 20));
  for (int i = 0; i < 3; ++i) {
    hb().AdvanceClock(25);
    Pump();
  }
  EXPECT_EQ(c->ItemIndex(), 13);
  EXPECT_EQ(c->PopupList()->ListBox()->TopIndex(), 2);
  for (int i = 0; i < 5; ++i) {
    hb().AdvanceClock(25);
    Pump();
  }
  EXPECT_EQ(c->ItemIndex(), 14);  // stops at the last item
  EXPECT_TRUE(clicks_.empty());
  // Released outside the list: cancelled.
  hb().ReleaseButton(1);
  Pump();
  EXPECT_FALSE(c->DroppedDown());
  EXPECT_EQ(c->ItemIndex(), 0);
  EXPECT_TRUE(clicks_.empty());
}

TEST_F(ComboTest, FocusLossAndPressesElsewhereCancel) {
  auto* c = MakeCombo();
  auto* other = new TEdit(form_);
  other->SetParent(form_);
  other->SetBounds(10, 10, 100, 20);
  Pump();
  ClickAt(c, 50, 10);
  MoveTo(ListPoint(10, 19 * 4 + 4));
  ClickAt(other, 5, 5);
  EXPECT_FALSE(c->DroppedDown());
  EXPECT_EQ(c->ItemIndex(), 0);
  EXPECT_TRUE(clicks_.empty());
  // A press on a control that takes no focus closes it as well.
  auto* button = new TButton(form_);
  button->SetParent(form_);
  button->SetBounds(120, 10, 50, 20);
  button->SetTabStop(false);
  Pump();
  ClickAt(c, 50, 10);
  ASSERT_TRUE(c->DroppedDown());
  ClickAt(button, 5, 5);
  EXPECT_FALSE(c->DroppedDown());
  EXPECT_TRUE(clicks_.empty());
}

}  // namespace
