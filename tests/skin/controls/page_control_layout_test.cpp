// Geometry of the skinned page control with the launcher's stored values: the tab row, the page
// frame, the active tab over the frame, caption placement, the scroller and the shifted row.
#include "page_control_fixture.h"

#include "skin/controls/up_down.h"

namespace lumoa::skin::test {
namespace {

using lumoa::ui::test::Str;

TEST_F(PageControlTest, LauncherRowWithSkinZero) {
  TksSkinPageControl* pc = MakeLauncherPages(0);
  ASSERT_TRUE(pc->TabSkin().Skinned());
  ASSERT_EQ(pc->VisibleTabCount(), 7);
  for (int i = 0; i < 7; ++i) {
    const TRect r = pc->GetTabRect(i);
    SCOPED_TRACE(i);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.bottom, 20);
    EXPECT_EQ(r.left, i == 0 ? 1 : pc->GetTabRect(i - 1).right);
  }
  // The frame fills the control below the row; the sheet sits in its client part.
  EXPECT_EQ(Str(pc->PageFrame()), Str(TRect{0, 20, 346, 55}));
  EXPECT_EQ(Str(pc->PageArea()), Str(TRect{3, 23, 343, 52}));
  EXPECT_EQ(Str(sheets_[0]->BoundsRect()), Str(TRect{3, 23, 343, 52}));
  EXPECT_EQ(pc->Scroller(), nullptr);
}

TEST_F(PageControlTest, ActiveTabIsTallerAndCoversTheFramesTopEdge) {
  TksSkinPageControl* pc = MakeLauncherPages(0);
  TBitmap* pic = pc->TabSkin().Page.Picture;
  ASSERT_NE(pic, nullptr);
  const RECT active = pc->TabSkin().ActiveTabRect, normal = pc->TabSkin().TabRect;
  ASSERT_EQ(active.bottom - active.top, 21);
  ASSERT_EQ(normal.bottom - normal.top, 20);
  const TRect a = pc->GetTabRect(0);
  // Column 2 of the tab lies in its fixed left end: pixel for pixel the piece, rows 0..20.
  for (int y = 0; y <= 20; ++y) {
    SCOPED_TRACE(y);
    EXPECT_EQ(PixelAt(pc, a.left + 2, y), Rgb(pic->PixelRGB(active.left + 2, active.top + y)));
  }
  // Beside it, row 20 is the frame's top edge (the skin's top-left piece, stretched across).
  const TRect b = pc->GetTabRect(1);
  const uint32_t frameTop = PixelAt(pc, b.left + 10, 20);
  EXPECT_EQ(frameTop, PixelAt(pc, 200, 20));
  EXPECT_NE(frameTop, PixelAt(pc, a.left + 10, 20));
  EXPECT_EQ(PixelAt(pc, b.left + 2, 10), Rgb(pic->PixelRGB(normal.left + 2, normal.top + 10)));
}

TEST_F(PageControlTest, InactiveCaptionsSitOnePixelLowerThanCentred) {
  TksSkinPageControl* pc = MakeLauncherPages(0);
  const TRect r = pc->GetTabRect(4);  // "地图"
  const auto inactive = InkRows(pc, r);
  pc->SetActivePage(sheets_[4]);
  Pump();
  const auto active = InkRows(pc, pc->GetTabRect(4));
  ASSERT_GE(active.first, 0);
  EXPECT_EQ(inactive.first, active.first + 1);
  EXPECT_EQ(inactive.second, active.second + 1);
}

TEST_F(PageControlTest, LauncherCaptionsInArial14FitWithoutScroller) {
  // Unskinned, the control's Arial 14 sizes the tabs; skinned with the stored font as well.
  TksSkinPageControl* pc = MakeLauncherPages(-1);
  EXPECT_FALSE(pc->TabSkin().Skinned());
  EXPECT_EQ(pc->TabRowHeight(), 20);
  EXPECT_LE(pc->GetTabRect(6).right, 346 - 3);
  EXPECT_EQ(pc->Scroller(), nullptr);
  form_->Free();
  sheets_.clear();
  pc = MakeLauncherPages(0);
  pc->SetUseSkinFont(false);
  pc->ApplySkin();
  Pump();
  EXPECT_EQ(pc->Font()->Height(), 14);
  EXPECT_LE(pc->GetTabRect(6).right, 346 - 3);
  EXPECT_EQ(pc->Scroller(), nullptr);
}

TEST_F(PageControlTest, RowWiderThanTheControlGetsTheSkinnedScroller) {
  TksSkinPageControl* pc = MakeLauncherPages(0, 160);
  TksSkinUpDown* s = pc->Scroller();
  ASSERT_NE(s, nullptr);
  EXPECT_GE(s->SkinIndex(), 0);  // the tab record's "hupdown"
  EXPECT_EQ(s->SkinDataName(), "hupdown");
  EXPECT_EQ(s->Width(), 32);
  EXPECT_EQ(s->Height(), 16);
  EXPECT_EQ(s->Left() + s->Width(), 160);
  EXPECT_EQ(s->Top(), 2);
  EXPECT_EQ(s->Position(), 0);
  EXPECT_GT(s->Max(), 0);
  // The platform's own arrows are gone: the skinned scroller is the only child window.
  int children = 0;
  for (HWND c = GetWindow(pc->Handle(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (!TWinControl::FindControl(c)) ++children;
  }
  EXPECT_EQ(children, 0);
  // Painted from the up-down record.
  const auto* rec = dynamic_cast<const TksDataSkinControl*>(s->SkinRecord());
  ASSERT_NE(rec, nullptr);
  TBitmap* pic = data()->ActivePicture(rec->pictureindex);
  EXPECT_EQ(PixelAt(s, 8, 8), Rgb(pic->PixelRGB(rec->skinrect.left + 8, rec->skinrect.top + 8)));

  const TRect first = pc->GetTabRect(0), second = pc->GetTabRect(1);
  ClickAt(s, 24, 8);  // the increasing half
  EXPECT_EQ(s->Position(), 1);
  EXPECT_LE(pc->GetTabRect(0).right, 0);
  EXPECT_EQ(pc->GetTabRect(1).left, second.left - (first.right - first.left) - 1);
  // Scrolled to the end, the last tab comes out from under the scroller.
  for (int i = 0; i < 10; ++i) ClickAt(s, 24, 8);
  EXPECT_LE(pc->GetTabRect(6).right, s->Left());
  EXPECT_EQ(s->Position(), s->Max());
  ClickAt(s, 4, 8);  // back
  EXPECT_EQ(s->Position(), s->Max() - 1);
  // Wide enough again: the scroller goes.
  pc->SetParent(nullptr);
  pc->SetAlign(alNone);
  pc->SetParent(form_);
  pc->SetBounds(0, 0, 600, 55);
  Pump();
  EXPECT_EQ(pc->Scroller(), nullptr);
}

TEST_F(PageControlTest, ShiftedAndCentredRow) {
  TksSkinPageControl* pc = MakeLauncherPages(0);
  pc->SetTabsBGTransparent(false);
  pc->SetTabsInCenter(true);  // refused while TabWidth is 0
  EXPECT_FALSE(pc->TabsInCenter());
  EXPECT_FALSE(pc->TabsBGTransparent());
  pc->SetTabWidth(40);
  Pump();
  pc->SetTabsInCenter(true);
  EXPECT_TRUE(pc->TabsInCenter());
  EXPECT_TRUE(pc->TabsBGTransparent());
  const int offset = 346 / 2 - 7 * 40 / 2;
  EXPECT_EQ(pc->GetTabRect(0).left, offset + 1);
  EXPECT_EQ(Str(pc->GetTabRect(1)), Str(TRect{offset + 40, 0, offset + 80, 20}));
  // The platform sees clicks moved back by the offset.
  int changes = 0;
  pc->OnChange = [&](TObject*) { ++changes; };
  ClickAt(pc, offset + 45, 10);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(pc->ActivePage(), sheets_[1]);
  EXPECT_EQ(pc->IndexOfTabAt(offset + 85, 10), 2);

  pc->SetTabsInCenter(false);
  pc->SetTabsOffset(10);
  EXPECT_EQ(pc->GetTabRect(1).left, 10 + 40);
  pc->SetTabPosition(tpBottom);
  pc->SetTabsOffset(12);  // forces the row back to the top
  EXPECT_EQ(pc->TabPosition(), tpTop);
}

TEST_F(PageControlTest, TabMarginBelowMinusOneIsIgnored) {
  TksSkinPageControl* pc = MakeLauncherPages(0);
  EXPECT_EQ(pc->TabMargin(), -1);
  pc->SetTabMargin(4);
  pc->SetTabMargin(-2);
  EXPECT_EQ(pc->TabMargin(), 4);
  pc->SetTabMargin(-1);
  EXPECT_EQ(pc->TabMargin(), -1);
}

TEST_F(PageControlTest, TabsOnEverySide) {
  struct Case { TTabPosition pos; TRect first; TRect frame; };
  const Case cases[] = {
      {tpBottom, TRect{1, 35, 0, 55}, TRect{0, 0, 346, 35}},
      {tpLeft, TRect{0, 2, 20, 0}, TRect{20, 0, 346, 55}},
      {tpRight, TRect{326, 2, 346, 0}, TRect{0, 0, 326, 55}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pos);
    TksSkinPageControl* pc = MakeLauncherPages(0);
    pc->SetTabPosition(c.pos);
    pc->SetActivePage(sheets_[3]);
    Pump();
    const TRect r = pc->GetTabRect(c.pos == tpBottom ? 1 : 0);
    if (c.pos == tpBottom) {
      EXPECT_EQ(r.top, c.first.top);
      EXPECT_EQ(r.bottom, c.first.bottom);
    } else {
      EXPECT_EQ(r.left, c.first.left);
      EXPECT_EQ(r.right, c.first.right);
    }
    EXPECT_EQ(Str(pc->PageFrame()), Str(c.frame));
    // Inactive tab images face the page: the piece's top row (its outer edge) lands on the
    // side away from the page.
    TBitmap* pic = pc->TabSkin().Page.Picture;
    const RECT n = pc->TabSkin().TabRect;
    const uint32_t outer = Rgb(pic->PixelRGB(n.left + 20, n.top));
    const int mid = c.pos == tpBottom ? (r.left + r.right) / 2 : (r.top + r.bottom) / 2;
    uint32_t got = 0;
    if (c.pos == tpBottom) got = PixelAt(pc, mid, r.bottom - 1);
    if (c.pos == tpLeft) got = PixelAt(pc, r.left, mid);
    if (c.pos == tpRight) got = PixelAt(pc, r.right - 1, mid);
    EXPECT_EQ(got, outer);
    form_->Free();
    sheets_.clear();
    Pump();
  }
}

}  // namespace
}  // namespace lumoa::skin::test
