// The combo box's edit style: the inner edit, typed text searching the list, keys from the edit,
// and the face under the edit's transparent text.
#include <gtest/gtest.h>

#include "combo_box_fixture.h"
#include "skin/controls/combo_box.h"

namespace {

using lumoa::skin::test::ComboTest;
using lumoa::skin::test::Gbk;

class ComboEditTest : public ComboTest {
 protected:
  TksSkinComboBox* EditCombo() {
    auto* c = MakeCombo(0, 100, 100, 0);
    for (const char* s : {"apple", "gamma", "gold", "orange", "grape"}) c->Items()->Add(s);
    c->SetItemIndex(0);
    clicks_.clear();
    c->OnChange = [this](TObject*) { ++changes_; };
    Focus();
    c->SetStyle(kscbEditStyle);
    Pump();
    return c;
  }
  int changes_ = 0;
};

TEST_F(ComboEditTest, TheEditSitsInTheItemAreaAndTakesTextTabStopAndFocus) {
  auto* c = EditCombo();
  TksCustomEdit* e = c->Edit();
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->Parent(), c);
  EXPECT_EQ(e->Text(), "apple");
  EXPECT_TRUE(e->Focused());
  EXPECT_TRUE(e->TabStop());
  EXPECT_FALSE(c->TabStop());
  const TRect item = c->ItemRect();
  EXPECT_GE(e->Left(), item.left);
  EXPECT_LE(e->Left() + e->Width(), item.right);
  EXPECT_GE(e->Top(), item.top);
  EXPECT_LE(e->Top() + e->Height(), item.bottom);
  // Focusing the combo passes the focus on.
  c->SetFocus();
  Pump();
  EXPECT_TRUE(e->Focused());
  c->SetStyle(kscbFixedStyle);
  EXPECT_EQ(c->Edit(), nullptr);
  EXPECT_TRUE(c->TabStop());
}

TEST_F(ComboEditTest, TypingSearchesTheListAndCopiesTheTextToTheFace) {
  auto* c = EditCombo();
  TksCustomEdit* e = c->Edit();
  e->SelectAll();
  Type(u'g');
  Type(u'o');
  EXPECT_EQ(e->Text(), "go");
  EXPECT_EQ(c->Text(), "go");
  EXPECT_EQ(c->ItemIndex(), 2);  // "gold" selected in the list, no click
  EXPECT_TRUE(clicks_.empty());
  EXPECT_EQ(changes_, 2);
  // Without AutoComplete the list only scrolls to the match.
  c->AutoComplete = false;
  Type(u'x');
  EXPECT_EQ(c->ItemIndex(), 2);
}

TEST_F(ComboEditTest, KeysFromTheEditSelectOpenAndAccept) {
  auto* c = EditCombo();
  TksCustomEdit* e = c->Edit();
  int defaults = 0;
  auto* button = new TButton(form_);
  button->SetParent(form_);
  button->SetBounds(10, 10, 40, 20);
  button->Default = true;
  button->OnClick = [&](TObject*) { ++defaults; };
  Key(VK_DOWN);
  EXPECT_EQ(clicks_, (std::vector<int>{1}));
  EXPECT_EQ(e->Text(), "gamma");
  hb().KeyDown(VK_MENU);
  Key(VK_DOWN);
  hb().KeyUp(VK_MENU);
  Pump();
  ASSERT_TRUE(c->DroppedDown());
  EXPECT_TRUE(e->Focused());
  MoveTo(ListPoint(10, 19 * 3 + 5));
  EXPECT_EQ(c->ItemIndex(), 3);
  Key(VK_RETURN);
  EXPECT_FALSE(c->DroppedDown());
  EXPECT_EQ(clicks_, (std::vector<int>{1, 3}));
  EXPECT_EQ(e->Text(), "orange");
  EXPECT_EQ(e->SelLength(), 6);
  EXPECT_EQ(defaults, 0);  // the Enter that closed the list is not the form's
  // Left and right stay with the edit's caret.
  Key(VK_LEFT);
  EXPECT_EQ(clicks_.size(), 2u);
  // Focus leaving the combo closes an open list with cancel.
  hb().KeyDown(VK_MENU);
  Key(VK_DOWN);
  hb().KeyUp(VK_MENU);
  Pump();
  ASSERT_TRUE(c->DroppedDown());
  button->SetFocus();
  Pump();
  EXPECT_FALSE(c->DroppedDown());
  EXPECT_EQ(c->ItemIndex(), 3);
}

TEST_F(ComboEditTest, TheFaceShowsThroughTheEdit) {
  auto* c = EditCombo();
  TksCustomEdit* e = c->Edit();
  e->SetText("");
  Pump();
  // With no text the edit's area is the combo's face, pixel for pixel.
  TBitmap face(c->Width(), c->Height());
  c->PaintSkinImage(&face);
  for (int x = 4; x < e->Width(); x += 5) {  // past the caret
    const int fx = e->Left() + x, fy = e->Top() + e->Height() / 2;
    const COLORREF p = face.PixelRGB(fx, fy);
    const uint32_t want = ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
    EXPECT_EQ(PixelAt(c, fx, fy), want) << x;
  }
  Type(u'g');
  Type(u'o');
  c->DropDown();
  Pump();
  Shot("combo_edit_style", 69, 29 + 5 * 19 + 6);
}

}  // namespace
