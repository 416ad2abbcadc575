// Mouse, keyboard and wheel on the skinned page control: hover looks, the order of the events
// of a tab click, vetoes, close buttons, the wheel.
#include "page_control_fixture.h"

namespace lumoa::skin::test {
namespace {


class PageControlInput : public PageControlTest {
 public:
  // Pixels at least as light as Floor in every channel.
  int Count(TWinControl* c, const TRect& r, uint32_t floor) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) {
        const uint32_t p = PixelAt(c, x, y);
        bool light = true;
        for (int shift : {0, 8, 16}) light = light && ((p >> shift) & 0xFF) >= ((floor >> shift) & 0xFF);
        n += light ? 1 : 0;
      }
    return n;
  }
};

TEST_F(PageControlInput, HoveredInactiveTabKeepsItsImageAndTurnsItsCaptionWhite) {
  TksSkinPageControl* pc = MakeLauncherPages(0);
  ASSERT_EQ(pc->TabSkin().MouseInFontColor, static_cast<TColor>(0xFFFFFF));
  ASSERT_TRUE(IsRectEmpty(&pc->TabSkin().MouseInTabRect));
  const TRect r = pc->GetTabRect(2);
  TBitmap* pic = pc->TabSkin().Page.Picture;
  const RECT n = pc->TabSkin().TabRect;
  EXPECT_EQ(Count(pc, r, 0xE0E0E0), 0);  // the normal colour is darker
  const uint32_t edge = PixelAt(pc, r.left + 2, 12);
  MoveTo(pc, r.left + 3, 3);
  EXPECT_EQ(pc->HoveredTab(), 2);
  EXPECT_GE(Count(pc, r, 0xF4F4F4), 3);
  EXPECT_EQ(PixelAt(pc, r.left + 2, 12), edge);
  EXPECT_EQ(PixelAt(pc, r.left + 2, 12), Rgb(pic->PixelRGB(n.left + 2, n.top + 12)));
  // Other tabs and the page stay as they were.
  EXPECT_EQ(Count(pc, pc->GetTabRect(3), 0xE0E0E0), 0);
  // Moving on repaints both; leaving clears the hover.
  MoveTo(pc, pc->GetTabRect(3).left + 3, 3);
  EXPECT_EQ(pc->HoveredTab(), 3);
  EXPECT_EQ(Count(pc, r, 0xE0E0E0), 0);  // the normal colour is darker
  EXPECT_GE(Count(pc, pc->GetTabRect(3), 0xF4F4F4), 3);
  MoveTo(pc, 200, 40);  // over the sheet: the pointer left the control
  EXPECT_EQ(pc->HoveredTab(), -1);
  EXPECT_EQ(Count(pc, pc->GetTabRect(3), 0xE0E0E0), 0);
}

TEST_F(PageControlInput, TabClicksChangeThePageBeforeMouseDownAndVetoesHold) {
  TksSkinPageControl* pc = MakeLauncherPages(0);
  std::vector<std::string> events;
  pc->OnChange = [&](TObject*) { events.push_back("change " + std::to_string(pc->ActivePageIndex())); };
  pc->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int) {
    events.push_back("down " + std::to_string(pc->ActivePageIndex()) + " " + std::to_string(x));
  };
  bool allow = true;
  pc->OnChanging = [&](TObject*, bool& a) {
    events.push_back("changing");
    a = allow;
  };
  const TRect active = pc->GetTabRect(0), other = pc->GetTabRect(2);
  ClickAt(pc, active.left + 5, 8);
  EXPECT_EQ(events, (std::vector<std::string>{"down 0 " + std::to_string(active.left + 5)}));
  events.clear();
  ClickAt(pc, other.left + 5, 8);
  EXPECT_EQ(events, (std::vector<std::string>{"changing", "change 2",
                                              "down 2 " + std::to_string(other.left + 5)}));
  EXPECT_TRUE(sheets_[2]->Visible());
  EXPECT_FALSE(sheets_[0]->Visible());
  events.clear();
  allow = false;
  ClickAt(pc, active.left + 5, 8);
  EXPECT_EQ(events, (std::vector<std::string>{"changing", "down 2 " + std::to_string(active.left + 5)}));
  EXPECT_EQ(pc->ActivePage(), sheets_[2]);
}

TEST_F(PageControlInput, NoVisibleTabPaintsOnlyTheBackground) {
  TksSkinPageControl* pc = MakeLauncherPages(0);
  for (TksSkinTabSheet* s : sheets_) s->SetTabVisible(false);
  Pump();
  EXPECT_EQ(pc->VisibleTabCount(), 0);
  TBitmap expected(pc->Width(), pc->Height(), pf24bit);
  pc->PaintBackground(expected.Canvas()->Handle());
  int differ = 0;
  for (int y = 0; y < pc->Height(); ++y)
    for (int x = 0; x < pc->Width(); ++x)
      differ += PixelAt(pc, x, y) != Rgb(expected.PixelRGB(x, y)) ? 1 : 0;
  EXPECT_EQ(differ, 0);
  // The background is the skin's page piece stretched, not a plain fill.
  EXPECT_NE(PixelAt(pc, 0, 0), PixelAt(pc, 20, 20));
  MoveTo(pc, 10, 5);
  EXPECT_EQ(pc->HoveredTab(), -1);
  ClickAt(pc, 10, 5);
  EXPECT_EQ(pc->HoveredTab(), -1);
}

TEST_F(PageControlInput, CloseButtonsCloseTheActivePage) {
  TksSkinPageControl* pc = MakeLauncherPages(0);
  const int before = pc->GetTabRect(0).right - pc->GetTabRect(0).left;
  pc->SetShowCloseButtons(true);
  Pump();
  // Each tab grows by room for the close button (the skin's 11 pixels, plus the base pixel
  // and the platform's image padding).
  const int after = pc->GetTabRect(0).right - pc->GetTabRect(0).left;
  EXPECT_GE(after, before + 12);
  EXPECT_LE(after, before + 16);
  std::vector<std::string> events;
  bool canClose = false;
  pc->OnClose = [&](TObject* s, bool& can) {
    events.push_back("close " + static_cast<TComponent*>(s)->Name());
    can = canClose;
  };
  pc->OnAfterClose = [&](TObject* s) { events.push_back(s == pc ? "after" : "after ?"); };
  sheets_[0]->SetName("web");
  const RECT cb = sheets_[0]->CloseButtonRect;
  ASSERT_FALSE(IsRectEmpty(&cb));
  EXPECT_GE(cb.left, pc->GetTabRect(0).left);
  EXPECT_LE(cb.right, pc->GetTabRect(0).right);
  MoveTo(pc, (cb.left + cb.right) / 2, (cb.top + cb.bottom) / 2);
  EXPECT_TRUE(sheets_[0]->CloseButtonMouseIn);
  ClickAt(pc, (cb.left + cb.right) / 2, (cb.top + cb.bottom) / 2);  // refused
  EXPECT_EQ(events, (std::vector<std::string>{"close web"}));
  EXPECT_TRUE(sheets_[0]->TabVisible());
  events.clear();
  canClose = true;
  ClickAt(pc, (cb.left + cb.right) / 2, (cb.top + cb.bottom) / 2);
  EXPECT_EQ(events, (std::vector<std::string>{"close web", "after"}));
  EXPECT_FALSE(sheets_[0]->TabVisible());
  EXPECT_EQ(pc->ActivePage(), sheets_[1]);
  EXPECT_EQ(pc->VisibleTabCount(), 6);
  // With FreeOnClose the page goes.
  pc->FreeOnClose = true;
  const RECT cb1 = sheets_[1]->CloseButtonRect;
  ClickAt(pc, (cb1.left + cb1.right) / 2, (cb1.top + cb1.bottom) / 2);
  EXPECT_EQ(pc->PageCount(), 6);
  EXPECT_EQ(pc->ActivePage(), sheets_[2]);
  // A press elsewhere released over the button closes nothing.
  const RECT cb2 = sheets_[2]->CloseButtonRect;
  const TPoint from = pc->ClientToScreen(Point(pc->GetTabRect(0).left + 2, 5));
  const TPoint to = pc->ClientToScreen(Point((cb2.left + cb2.right) / 2, (cb2.top + cb2.bottom) / 2));
  hb().MoveMouse(from.x, from.y);
  hb().PressButton(1);
  hb().MoveMouse(to.x, to.y);
  hb().ReleaseButton(1);
  Pump();
  EXPECT_EQ(pc->PageCount(), 6);
}

TEST_F(PageControlInput, WheelTurnsPagesOnlyWhenAskedAndFocused) {
  TksSkinPageControl* pc = MakeLauncherPages(0);
  int changes = 0;
  pc->OnChange = [&](TObject*) { ++changes; };
  pc->SetFocus();
  Pump();
  ASSERT_TRUE(pc->Focused());
  MoveTo(pc, 100, 10);
  hb().Wheel(-120);
  Pump();
  EXPECT_EQ(pc->ActivePage(), sheets_[0]);  // the stored value: off
  pc->MouseWheelSupport = true;
  hb().Wheel(-120);
  Pump();
  EXPECT_EQ(pc->ActivePage(), sheets_[1]);
  sheets_[2]->SetTabVisible(false);
  hb().Wheel(-120);
  Pump();
  EXPECT_EQ(pc->ActivePage(), sheets_[3]);
  hb().Wheel(120);
  Pump();
  EXPECT_EQ(pc->ActivePage(), sheets_[1]);
  hb().Wheel(120);
  hb().Wheel(120);
  Pump();
  EXPECT_EQ(pc->ActivePage(), sheets_[0]);  // no wrap at the first page
  EXPECT_EQ(changes, 0);
}

TEST_F(PageControlInput, ArrowKeysAndCtrlTabFollowTheSelectionOrder) {
  TksSkinPageControl* pc = MakeLauncherPages(0);
  std::vector<std::string> events;
  pc->OnChanging = [&](TObject*, bool&) { events.push_back("changing " + std::to_string(pc->ActivePageIndex())); };
  pc->OnChange = [&](TObject*) { events.push_back("change " + std::to_string(pc->ActivePageIndex())); };
  pc->SetFocus();
  Pump();
  hb().PressKey(VK_RIGHT);
  Pump();
  EXPECT_EQ(events, (std::vector<std::string>{"changing 0", "change 1"}));
  EXPECT_TRUE(sheets_[1]->Visible());
  events.clear();
  hb().KeyDown(VK_CONTROL);
  hb().PressKey(VK_TAB);
  hb().KeyUp(VK_CONTROL);
  Pump();
  EXPECT_EQ(events, (std::vector<std::string>{"changing 1", "change 2"}));
}

TEST_F(PageControlInput, IdentificationMessage) {
  TksSkinPageControl* pc = MakeLauncherPages(0);
  EXPECT_EQ(SendMessageW(pc->Handle(), 45513, 0, 0), 12851);
  EXPECT_EQ(SendMessageW(sheets_[0]->Handle(), 45513, 0, 0), 12851);
}

}  // namespace
}  // namespace lumoa::skin::test
