#include <algorithm>

#include "comctl_test.h"

namespace lumoa::platform::test {
namespace {

class ListBox : public ComctlTest {
 protected:
  void SetUp() override {
    ComctlTest::SetUp();
    On(parent, [this](HWND, UINT msg, WPARAM, LPARAM lParam, LRESULT& r) {
      if (msg == WM_MEASUREITEM) {
        ++measures;
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 20;
        r = TRUE;
        return true;
      }
      if (msg == WM_DRAWITEM) {
        draws.push_back(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        r = TRUE;
        return true;
      }
      return false;
    });
  }

  // An owner-drawn list 100 x 70 (three whole rows of 20 and a part of a fourth).
  HWND MakeList(int items, DWORD extra = 0) {
    HWND lb = Child(WC_LISTBOXW,
                    LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                        WS_VSCROLL | extra,
                    10, 10, 100 + GetSystemMetrics(SM_CXVSCROLL), 70);
    for (int i = 0; i < items; ++i) {
      std::u16string s = u"item" + std::u16string(1, char16_t(u'A' + i));
      SendMessageW(lb, LB_ADDSTRING, 0, LPARAM(s.c_str()));
    }
    RunUntilIdle();
    return lb;
  }

  std::vector<UINT> Drawn() {
    std::vector<UINT> ids;
    for (const auto& d : draws) ids.push_back(d.itemID);
    return ids;
  }

  int SelChanges() {
    const auto c = Commands();
    return int(std::count(c.begin(), c.end(), LBN_SELCHANGE));
  }

  int measures = 0;
  std::vector<DRAWITEMSTRUCT> draws;
};

TEST_F(ListBox, OwnerDrawCoversExactlyTheVisibleRowsWithTheirState) {
  HWND lb = MakeList(10);
  EXPECT_EQ(measures, 1);
  EXPECT_EQ(SendMessageW(lb, LB_GETITEMHEIGHT, 0, 0), 20);
  EXPECT_EQ(Drawn(), (std::vector<UINT>{0, 1, 2, 3}));
  draws.clear();
  SendMessageW(lb, LB_SETTOPINDEX, 5, 0);
  SendMessageW(lb, LB_SETCURSEL, 6, 0);
  SetFocus(lb);
  draws.clear();
  InvalidateRect(lb, nullptr, TRUE);
  RunUntilIdle();
  EXPECT_EQ(Drawn(), (std::vector<UINT>{5, 6, 7, 8}));
  for (const auto& d : draws) {
    EXPECT_EQ(d.CtlType, UINT(ODT_LISTBOX));
    EXPECT_EQ(d.CtlID, 7u);
    EXPECT_EQ(d.hwndItem, lb);
    EXPECT_EQ(d.rcItem.top, LONG(d.itemID - 5) * 20);
    EXPECT_EQ(d.rcItem.right, 100);
    EXPECT_EQ(d.itemState, d.itemID == 6 ? UINT(ODS_SELECTED | ODS_FOCUS) : 0u);
  }
  // The top index stops where the last page is full.
  SendMessageW(lb, LB_SETTOPINDEX, 9, 0);
  EXPECT_EQ(SendMessageW(lb, LB_GETTOPINDEX, 0, 0), 7);
  EXPECT_EQ(SendMessageW(lb, LB_SETTOPINDEX, 10, 0), LB_ERR);
}

TEST_F(ListBox, ScrollRangeFollowsTheItemsAndTheBarHidesWhenEverythingFits) {
  HWND lb = MakeList(2);
  EXPECT_FALSE(GetWindowLongPtrW(lb, GWL_STYLE) & WS_VSCROLL);
  for (int i = 0; i < 8; ++i) SendMessageW(lb, LB_ADDSTRING, 0, LPARAM(u"more"));
  EXPECT_TRUE(GetWindowLongPtrW(lb, GWL_STYLE) & WS_VSCROLL);
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
  ASSERT_TRUE(GetScrollInfo(lb, SB_VERT, &si));
  EXPECT_EQ(si.nMin, 0);
  EXPECT_EQ(si.nMax, 9);
  EXPECT_EQ(si.nPage, 3u);
  EXPECT_EQ(si.nPos, 0);
  // WM_VSCROLL moves the top index and the bar's position with it.
  const std::pair<WPARAM, int> steps[] = {
      {SB_LINEDOWN, 1}, {SB_PAGEDOWN, 4}, {SB_LINEUP, 3}, {SB_BOTTOM, 7}, {SB_PAGEUP, 4},
      {MAKEWPARAM(SB_THUMBPOSITION, 2), 2}, {MAKEWPARAM(SB_THUMBTRACK, 50), 7}, {SB_TOP, 0}};
  for (auto [code, top] : steps) {
    SendMessageW(lb, WM_VSCROLL, code, 0);
    EXPECT_EQ(SendMessageW(lb, LB_GETTOPINDEX, 0, 0), top) << code;
    EXPECT_EQ(GetScrollPos(lb, SB_VERT), top);
  }
  // Deleting shrinks the range and pulls the top back.
  SendMessageW(lb, LB_SETTOPINDEX, 7, 0);
  for (int i = 0; i < 5; ++i) SendMessageW(lb, LB_DELETESTRING, 0, 0);
  EXPECT_EQ(SendMessageW(lb, LB_GETTOPINDEX, 0, 0), 2);
  ASSERT_TRUE(GetScrollInfo(lb, SB_VERT, &si));
  EXPECT_EQ(si.nMax, 4);
  SendMessageW(lb, LB_RESETCONTENT, 0, 0);
  EXPECT_EQ(SendMessageW(lb, LB_GETCOUNT, 0, 0), 0);
  EXPECT_FALSE(GetWindowLongPtrW(lb, GWL_STYLE) & WS_VSCROLL);
  // A click on the bar's lower arrow scrolls one row.
  for (int i = 0; i < 10; ++i) SendMessageW(lb, LB_ADDSTRING, 0, LPARAM(u"again"));
  RunUntilIdle();
  const POINT arrow = Screen(lb, 100 + 8, 65);
  hb().Click(arrow.x, arrow.y);
  RunUntilIdle();
  EXPECT_EQ(SendMessageW(lb, LB_GETTOPINDEX, 0, 0), 1);
}

TEST_F(ListBox, ItemsTextDataRectanglesAndItemFromPoint) {
  HWND lb = MakeList(0);
  EXPECT_EQ(SendMessageW(lb, LB_ADDSTRING, 0, LPARAM(u"first")), 0);
  EXPECT_EQ(SendMessageW(lb, LB_INSERTSTRING, 0, LPARAM(u"zero")), 0);
  EXPECT_EQ(SendMessageW(lb, LB_INSERTSTRING, WPARAM(-1), LPARAM(u"last")), 2);
  EXPECT_EQ(SendMessageW(lb, LB_INSERTSTRING, 9, LPARAM(u"x")), LB_ERR);
  WCHAR buf[16];
  EXPECT_EQ(SendMessageW(lb, LB_GETTEXT, 1, LPARAM(buf)), 5);
  EXPECT_EQ(std::u16string(buf), u"first");
  EXPECT_EQ(SendMessageW(lb, LB_GETTEXTLEN, 2, 0), 4);
  EXPECT_EQ(SendMessageW(lb, LB_GETTEXTLEN, 3, 0), LB_ERR);
  SendMessageW(lb, LB_SETITEMDATA, 1, 0x1234);
  SendMessageW(lb, LB_SETCURSEL, 2, 0);
  SendMessageW(lb, LB_DELETESTRING, 0, 0);
  EXPECT_EQ(SendMessageW(lb, LB_GETITEMDATA, 0, 0), 0x1234);
  EXPECT_EQ(SendMessageW(lb, LB_GETCURSEL, 0, 0), 1);  // the selection moved with its item
  RECT r;
  SendMessageW(lb, LB_GETITEMRECT, 1, LPARAM(&r));
  EXPECT_EQ(r.top, 20);
  EXPECT_EQ(r.bottom, 40);
  EXPECT_EQ(SendMessageW(lb, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 25)), MAKELRESULT(1, 0));
  EXPECT_EQ(SendMessageW(lb, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 65)), MAKELRESULT(1, 1));
  SendMessageW(lb, LB_SETITEMHEIGHT, 0, 10);
  EXPECT_EQ(SendMessageW(lb, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 15)), MAKELRESULT(1, 0));
  EXPECT_EQ(SendMessageW(lb, LB_SETITEMHEIGHT, 0, 300), LB_ERR);
}

TEST_F(ListBox, PrefixSearchIsCaseInsensitiveAndWrapsAround) {
  HWND lb = MakeList(0);
  for (LPCWSTR s : {u"Apple", u"banana", u"Blueberry", u"cherry"})
    SendMessageW(lb, LB_ADDSTRING, 0, LPARAM(s));
  EXPECT_EQ(SendMessageW(lb, LB_FINDSTRING, WPARAM(-1), LPARAM(u"b")), 1);
  EXPECT_EQ(SendMessageW(lb, LB_FINDSTRING, 1, LPARAM(u"B")), 2);
  EXPECT_EQ(SendMessageW(lb, LB_FINDSTRING, 2, LPARAM(u"b")), 1);
  EXPECT_EQ(SendMessageW(lb, LB_FINDSTRING, WPARAM(-1), LPARAM(u"x")), LB_ERR);
  EXPECT_EQ(SendMessageW(lb, LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(u"BANANA")), 1);
  EXPECT_EQ(SendMessageW(lb, LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(u"ban")), LB_ERR);
  EXPECT_EQ(SendMessageW(lb, LB_SELECTSTRING, WPARAM(-1), LPARAM(u"CH")), 3);
  EXPECT_EQ(SendMessageW(lb, LB_GETCURSEL, 0, 0), 3);
  // Typing selects by prefix; a pause starts a new prefix.
  SetFocus(lb);
  RunUntilIdle();
  ClearLog();
  Type(u"b");
  EXPECT_EQ(SendMessageW(lb, LB_GETCURSEL, 0, 0), 1);
  Type(u"l");
  EXPECT_EQ(SendMessageW(lb, LB_GETCURSEL, 0, 0), 2);
  hb().AdvanceClock(2000);
  Type(u"b");
  EXPECT_EQ(SendMessageW(lb, LB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(SelChanges(), 3);
}

TEST_F(ListBox, KeyboardMouseAndWheelSelectAndNotify) {
  HWND lb = MakeList(10);
  SetFocus(lb);
  RunUntilIdle();
  ClearLog();
  SendMessageW(lb, LB_SETCURSEL, 4, 0);  // from code: no notification
  EXPECT_EQ(SelChanges(), 0);
  SendMessageW(lb, LB_SETCURSEL, WPARAM(-1), 0);
  SendMessageW(lb, LB_SETTOPINDEX, 0, 0);
  Key(VK_DOWN);  // with nothing selected the first key picks the top row
  EXPECT_EQ(SendMessageW(lb, LB_GETCURSEL, 0, 0), 0);
  Key(VK_DOWN);
  EXPECT_EQ(SendMessageW(lb, LB_GETCURSEL, 0, 0), 1);
  Key(VK_END);
  EXPECT_EQ(SendMessageW(lb, LB_GETCURSEL, 0, 0), 9);
  EXPECT_EQ(SendMessageW(lb, LB_GETTOPINDEX, 0, 0), 7);
  Key(VK_PRIOR);
  EXPECT_EQ(SendMessageW(lb, LB_GETCURSEL, 0, 0), 7);
  Key(VK_NEXT);
  EXPECT_EQ(SendMessageW(lb, LB_GETCURSEL, 0, 0), 9);
  Key(VK_DOWN);  // already at the end: no change
  Key(VK_HOME);
  EXPECT_EQ(SendMessageW(lb, LB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(SelChanges(), 6);

  // Press on a row, drag to another: both select, with capture while held.
  ClearLog();
  const POINT row1 = Screen(lb, 30, 25), row2 = Screen(lb, 30, 45);
  hb().MoveMouse(row1.x, row1.y);
  hb().PressButton(1);
  RunUntilIdle();
  EXPECT_EQ(GetCapture(), lb);
  hb().MoveMouse(row2.x, row2.y);
  hb().ReleaseButton(1);
  RunUntilIdle();
  EXPECT_EQ(SendMessageW(lb, LB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(SelChanges(), 2);
  EXPECT_EQ(GetCapture(), nullptr);
  hb().AdvanceClock(1000);
  hb().Click(row1.x, row1.y);
  hb().AdvanceClock(50);
  hb().Click(row1.x, row1.y);
  RunUntilIdle();
  const auto codes = Commands();
  EXPECT_EQ(std::count(codes.begin(), codes.end(), LBN_DBLCLK), 1);
  // Capture taken away mid-press restores the selection and reports the cancel.
  hb().AdvanceClock(1000);
  ClearLog();
  hb().MoveMouse(row2.x, row2.y);
  hb().PressButton(1);
  RunUntilIdle();
  EXPECT_EQ(SendMessageW(lb, LB_GETCURSEL, 0, 0), 2);
  SetCapture(parent);
  EXPECT_EQ(SendMessageW(lb, LB_GETCURSEL, 0, 0), 1);
  const auto cancel = Commands();
  EXPECT_EQ(cancel.back(), LBN_SELCANCEL);
  ReleaseCapture();
  hb().ReleaseButton(1);
  RunUntilIdle();

  // One wheel notch towards the user scrolls three rows (one page here).
  hb().MoveMouse(row1.x, row1.y);
  hb().Wheel(-WHEEL_DELTA);
  RunUntilIdle();
  EXPECT_EQ(SendMessageW(lb, LB_GETTOPINDEX, 0, 0), 3);
  hb().Wheel(WHEEL_DELTA);
  RunUntilIdle();
  EXPECT_EQ(SendMessageW(lb, LB_GETTOPINDEX, 0, 0), 0);
  // Focus notifications come whether or not LBS_NOTIFY is set.
  ClearLog();
  SetFocus(parent);
  EXPECT_EQ(Commands(), (std::vector<int>{LBN_KILLFOCUS}));
}

}  // namespace
}  // namespace lumoa::platform::test
