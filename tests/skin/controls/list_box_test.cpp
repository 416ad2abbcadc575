// The skinned list: row-count sizing, rows painted from the list record, the frame, the bar's
// place, wheel and events; and pictures of the open drop-down with each shipped skin, written
// under the build folder (shots/combo_list_skinN.png) for people to look at.
#include "skin/controls/list_box.h"

#include <gtest/gtest.h>

#include "combo_box_fixture.h"

namespace {

using lumoa::skin::test::ComboTest;
using lumoa::skin::test::Gbk;
using lumoa::skin::test::SkinTest;
using lumoa::skin::test::ShotDir;
using lumoa::skin::test::WritePng;

uint32_t Rgb(COLORREF c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }
uint32_t PictureRgb(TBitmap* b, int x, int y) { return Rgb(b->PixelRGB(x, y)); }

class ListBoxTest : public SkinTest {
 protected:
  TksSkinListBox* List(bool skinned, int rows, int items) {
    if (skinned) LoadSkin(0);
    form_ = MakeForm(50, 50, 300, 400);
    auto* l = new TksSkinListBox(form_);
    l->SetParent(form_);
    l->SetBounds(10, 10, 120, 120);
    for (int i = 0; i < items; ++i) l->Items()->Add("item " + IntToStr(i));
    if (skinned) l->SetSkinData(data());
    l->SetRowCount(rows);
    Pump();
    return l;
  }
  TForm* form_ = nullptr;
};

TEST_F(ListBoxTest, RowCountSizesTheListFromTheRecordOrThePlainFrame) {
  auto* l = List(true, 5, 20);
  EXPECT_EQ(l->ItemHeight(), 19);
  EXPECT_EQ(l->Height(), 5 * 19 + 6);
  EXPECT_EQ(l->ListBox()->Height(), 5 * 19);
  ASSERT_NE(l->VScrollBar(), nullptr);
  // The bar stands along the right edge of the client area, the list beside it.
  EXPECT_EQ(l->VScrollBar()->Left(), 120 - 3 - 17);
  EXPECT_EQ(l->VScrollBar()->Top(), 3);
  EXPECT_EQ(l->VScrollBar()->Height(), 5 * 19);
  EXPECT_EQ(l->ListBox()->Width(), 120 - 6 - 17);
  // With a row count equal to the item count there is no bar.
  l->SetRowCount(20);
  EXPECT_EQ(l->VScrollBar(), nullptr);
  EXPECT_EQ(l->ListBox()->Width(), 120 - 6);
  // Without UseSkinItemHeight the stored height applies.
  l->SetUseSkinItemHeight(false);
  l->SetDefaultItemHeight(25);
  l->SetRowCount(4);
  EXPECT_EQ(l->Height(), 4 * 25 + 6);
}

TEST_F(ListBoxTest, PlainListWithoutSkin) {
  auto* l = List(false, 4, 10);
  l->SetDefaultItemHeight(18);
  l->SetRowCount(4);
  EXPECT_EQ(l->Height(), 4 * 18 + 4);
  ASSERT_NE(l->VScrollBar(), nullptr);
  EXPECT_EQ(l->VScrollBar()->Left(), 120 - 20);
  EXPECT_EQ(l->VScrollBar()->Width(), 19);
}

TEST_F(ListBoxTest, RowsArePaintedFromTheListRecord) {
  auto* l = List(true, 5, 20);
  l->SetItemIndex(1);
  l->ListBox()->Invalidate();
  Pump();
  const int i = data()->GetControlIndex("listbox");
  ASSERT_GE(i, 0);
  const auto* r = dynamic_cast<const TksDataSkinListBox*>(data()->ControlRecords[size_t(i)].get());
  ASSERT_NE(r, nullptr);
  TBitmap* pic = data()->ActivePicture(r->pictureindex);
  ASSERT_NE(pic, nullptr);
  TksListBox* list = l->ListBox();
  const int w = list->Width();
  // Frame corner from the skin picture.
  EXPECT_EQ(PixelAt(l, 0, 0), PictureRgb(pic, r->skinrect.left, r->skinrect.top));
  // The right end of an unselected row is the fixed right part of itemrect, of the selected
  // row that of activeitemrect.
  EXPECT_EQ(PixelAt(list, w - 1, 19 * 0 + 9), PictureRgb(pic, r->itemrect.right - 1, r->itemrect.top + 9));
  EXPECT_EQ(PixelAt(list, w - 1, 19 * 1 + 9), PictureRgb(pic, r->activeitemrect.right - 1, r->activeitemrect.top + 9));
  EXPECT_EQ(PixelAt(list, 0, 19 * 1 + 0), PictureRgb(pic, r->activeitemrect.left, r->activeitemrect.top));
  // Some pixel of the text of row 2 is drawn in the record's font colour (or blends into it).
  bool text = false;
  for (int x = 4; x < 40 && !text; ++x)
    for (int y = 19 * 2 + 3; y < 19 * 3 - 3 && !text; ++y)
      text = PixelAt(list, x, y) != PictureRgb(pic, r->itemrect.left + 10, r->itemrect.top + y - 38);
  EXPECT_TRUE(text);
}

TEST_F(ListBoxTest, WheelScrollsALineAndTheBarFollows) {
  auto* l = List(true, 5, 20);
  const TPoint p = l->ListBox()->ClientToScreen(Point(10, 10));
  hb().MoveMouse(p.x, p.y);
  l->ListBox()->SetFocus();
  Pump();
  hb().Wheel(-120);
  Pump();
  EXPECT_EQ(l->ListBox()->TopIndex(), 1);
  EXPECT_EQ(l->VScrollBar()->Position(), 1);
  hb().Wheel(120);
  Pump();
  EXPECT_EQ(l->ListBox()->TopIndex(), 0);
  EXPECT_EQ(l->VScrollBar()->Position(), 0);
  // Items added later: the bar's range follows at the next paint.
  for (int i = 0; i < 10; ++i) l->Items()->Add("more");
  Pump();
  EXPECT_EQ(l->VScrollBar()->Max(), 29);
}

TEST_F(ListBoxTest, InnerListEventsReachTheFrame) {
  auto* l = List(true, 5, 20);
  int downs = 0, ups = 0, clicks = 0;
  std::vector<int> order;
  l->OnListBoxMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) {
    ++downs;
    order.push_back(l->ItemIndex());  // before the list moved its selection
  };
  l->OnListBoxMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { ++ups; };
  l->OnListBoxClick = [&](TObject*) { ++clicks; };
  ClickAt(l->ListBox(), 10, 19 * 3 + 5);
  EXPECT_EQ(downs, 1);
  EXPECT_EQ(ups, 1);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(l->ItemIndex(), 3);
  EXPECT_EQ(order, (std::vector<int>{-1}));
  EXPECT_EQ(l->ItemAtPos(Point(10, 19 * 4 + 1)), 4);
  EXPECT_EQ(l->ItemAtPos(Point(10, -3)), -1);
}

TEST_F(ListBoxTest, CaptionStripWithButtonsThatStepAndRepeat) {
  auto* l = List(false, 4, 10);
  l->SetCaptionMode(true);
  l->SetCaption("Pick");
  l->SetDefaultItemHeight(18);
  l->SetRowCount(4);
  EXPECT_EQ(l->Height(), 4 * 18 + 4 + 20);
  EXPECT_EQ(l->ListBox()->Top(), 21);
  EXPECT_EQ(l->VScrollBar()->Top(), 20);
  l->SetItemIndex(0);
  const TRect down = l->CaptionButtonRect(TksSkinCustomListBox::DownButton);
  ASSERT_GT(down.right, down.left);
  const TPoint p = l->ClientToScreen(Point(down.left + 4, down.top + 4));
  hb().MoveMouse(p.x, p.y);
  hb().PressButton(1);
  Pump();
  EXPECT_EQ(l->ItemIndex(), 1);
  hb().AdvanceClock(499);
  Pump();
  EXPECT_EQ(l->ItemIndex(), 1);
  hb().AdvanceClock(1);
  Pump();
  EXPECT_EQ(l->ItemIndex(), 2);
  hb().AdvanceClock(100);
  Pump();
  EXPECT_EQ(l->ItemIndex(), 3);
  hb().ReleaseButton(1);
  Pump();
  hb().AdvanceClock(300);
  Pump();
  EXPECT_EQ(l->ItemIndex(), 3);
  // An assigned event replaces the step; the check button only reports.
  int ups = 0, checks = 0;
  l->OnUpButtonClick = [&](TObject*) { ++ups; };
  l->OnCheckButtonClick = [&](TObject*) { ++checks; };
  const TRect up = l->CaptionButtonRect(TksSkinCustomListBox::UpButton);
  const TRect check = l->CaptionButtonRect(TksSkinCustomListBox::CheckButton);
  ClickAt(l, up.left + 4, up.top + 4);
  ClickAt(l, check.left + 4, check.top + 4);
  EXPECT_EQ(ups, 1);
  EXPECT_EQ(checks, 1);
  EXPECT_EQ(l->ItemIndex(), 3);
}

TEST_F(ListBoxTest, SkinnedCaptionListPicture) {
  auto* l = List(true, 0, 10);
  l->SetSkinDataName("captionlistbox");
  l->SetCaptionMode(true);
  l->SetCaption("Categories");
  l->SetBounds(10, 10, 140, 100);
  l->ApplySkin();
  l->SetRowCount(5);
  l->SetItemIndex(2);
  Pump();
  ASSERT_GE(l->SkinIndex(), 0);
  EXPECT_EQ(l->ListBox()->Top(), 21);  // below the skin's caption area
  EXPECT_EQ(l->Height(), 5 * 19 + 21 + 3);
  const TRect up = l->CaptionButtonRect(TksSkinCustomListBox::UpButton);
  EXPECT_EQ(up.right, 140 - (60 - 38));  // the right-hand buttons keep to the right edge
  const TPoint hover = l->ClientToScreen(Point(up.left + 3, up.top + 3));
  hb().MoveMouse(hover.x, hover.y);
  Pump();
  const int w = l->Width(), h = l->Height();
  std::vector<uint32_t> px(size_t(w * h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) px[size_t(y * w + x)] = PixelAt(l, x, y);
  WritePng(ShotDir() / "caption_list_skin0.png", px, w, h, 1);
  WritePng(ShotDir() / "caption_list_skin0_x4.png", px, w, h, 4);
}

// The open list with each shipped skin, 1:1 and enlarged four times.
TEST_F(ComboTest, OpenListPicturesOfTheShippedSkins) {
  for (int skin = 0; skin < 3; ++skin) {
    SCOPED_TRACE(skin);
    auto* c = MakeCombo(skin, 100, 100 + skin * 10);
    Focus();
    c->SetItemIndex(12);  // the list then shows its lower part
    c->DropDown();
    Pump();
    const TPoint over = ListPoint(12, 19 * 4 + 8);
    MoveTo(over);
    auto* list = c->PopupList();
    const RECT face = c->BoundsRect();
    const RECT pr = PopupRect();
    const int w = std::max<int>(pr.right - pr.left, face.right - face.left) + 8;
    const int h = (face.bottom - face.top) + (pr.bottom - pr.top) + 8;
    std::vector<uint32_t> px(size_t(w * h), 0xFFFFFF);
    const TPoint faceAt = c->ClientToScreen(Point(0, 0));
    const std::vector<uint32_t> screen = hb().ComposeScreen();
    const RECT sr = hb().ScreenRect();
    const int sw = sr.right - sr.left;
    for (int y = 0; y < h - 8; ++y)
      for (int x = 0; x < w - 8; ++x)
        px[size_t((y + 4) * w + x + 4)] = screen[size_t((faceAt.y + y) * sw + faceAt.x + x)] & 0xFFFFFF;
    const auto dir = ShotDir();
    WritePng(dir / ("combo_list_skin" + std::to_string(skin) + ".png"), px, w, h, 1);
    WritePng(dir / ("combo_list_skin" + std::to_string(skin) + "_x4.png"), px, w, h, 4);
    EXPECT_EQ(pr.top, faceAt.y + c->Height());
    EXPECT_TRUE(IsWindowVisible(list->Handle()));
    c->CloseUp(false);
    form_->Free();
    Pump();
  }
}

}  // namespace
