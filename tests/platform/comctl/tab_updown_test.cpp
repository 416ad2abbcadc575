#include <algorithm>

#include "comctl_test.h"

namespace lumoa::platform::test {
namespace {

// A top-down 32-bit DIB selected into a memory DC, for image list pixels.
struct Canvas {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bmp = nullptr;
  uint32_t* bits = nullptr;
  HGDIOBJ old = nullptr;
  int width;
  Canvas(int w, int h, uint32_t fill) : width(w) {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* p = nullptr;
    bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
    bits = static_cast<uint32_t*>(p);
    std::fill(bits, bits + w * h, fill);
    old = SelectObject(dc, bmp);
  }
  ~Canvas() {
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
  }
  uint32_t At(int x, int y) const { return bits[y * width + x] & 0xFFFFFF; }
};

class TabControl : public ComctlTest {
 protected:
  HWND MakeTabs(std::vector<std::u16string> captions, DWORD style = 0, int width = 300) {
    HWND tc = Child(WC_TABCONTROLW, style, 0, 0, width, 100);
    for (auto& c : captions) {
      TCITEMW item{};
      item.mask = TCIF_TEXT | TCIF_IMAGE;
      item.pszText = c.data();
      item.iImage = 0;
      SendMessageW(tc, TCM_INSERTITEMW, SendMessageW(tc, TCM_GETITEMCOUNT, 0, 0), LPARAM(&item));
    }
    return tc;
  }
  static RECT ItemRect(HWND tc, int i) {
    RECT r{};
    SendMessageW(tc, TCM_GETITEMRECT, i, LPARAM(&r));
    return r;
  }
  static int TextWidth(const std::u16string& s) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SIZE sz{};
    GetTextExtentPoint32W(dc, s.c_str(), int(s.size()), &sz);
    SelectObject(dc, old);
    DeleteDC(dc);
    return sz.cx;
  }
  static HWND ChildOfClass(HWND hwnd, LPCWSTR cls) {
    for (HWND c = GetWindow(hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      WCHAR name[64];
      GetClassNameW(c, name, 64);
      if (lstrcmpiW(name, cls) == 0) return c;
    }
    return nullptr;
  }
  // WM_NOTIFY codes the parent receives (and the up-down's proposals), answering
  // vetoChanging to TCN_SELCHANGING and UDN_DELTAPOS.
  void Record(LRESULT vetoChanging = 0) {
    On(parent, [this, vetoChanging](HWND, UINT msg, WPARAM, LPARAM lParam, LRESULT& r) {
      if (msg == WM_NOTIFY) {
        const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
        codes.push_back(hdr->code);
        if (hdr->code == UDN_DELTAPOS) deltas.push_back(*reinterpret_cast<const NMUPDOWN*>(lParam));
        r = hdr->code == TCN_SELCHANGING || hdr->code == UDN_DELTAPOS ? vetoChanging : 0;
        return true;
      }
      return false;
    });
  }
  std::vector<UINT> codes;
  std::vector<NMUPDOWN> deltas;
};

TEST_F(TabControl, ItemRectanglesFollowCaptionWidthsImagesPaddingAndFixedSizes) {
  HWND tc = MakeTabs({u"A", u"Wide caption", u"x"});
  const std::u16string caps[] = {u"A", u"Wide caption", u"x"};
  HDC dc = CreateCompatibleDC(nullptr);
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  DeleteDC(dc);
  const int h = tm.tmHeight + 6;
  int x = 2;
  for (int i = 0; i < 3; ++i) {
    const RECT r = ItemRect(tc, i);
    EXPECT_EQ(r.left, x) << i;
    EXPECT_EQ(r.right - r.left, 12 + TextWidth(caps[i])) << i;  // no image list yet
    EXPECT_EQ(r.top, 2);
    EXPECT_EQ(r.bottom, 2 + h);
    x = r.right;
  }
  // An image list widens every tab that has an image by its width and a gap.
  HIMAGELIST il = ImageList_Create(16, 16, ILC_COLOR32, 1, 1);
  SendMessageW(tc, TCM_SETIMAGELIST, 0, LPARAM(il));
  EXPECT_EQ(ItemRect(tc, 1).right - ItemRect(tc, 1).left, 12 + TextWidth(caps[1]) + 16 + 3);
  SendMessageW(tc, TCM_SETIMAGELIST, 0, 0);
  SendMessageW(tc, TCM_SETPADDING, 0, MAKELPARAM(10, 1));
  EXPECT_EQ(ItemRect(tc, 0).right - ItemRect(tc, 0).left, 20 + TextWidth(u"A"));
  EXPECT_EQ(ItemRect(tc, 0).bottom - ItemRect(tc, 0).top, tm.tmHeight + 2);
  // TCM_SETITEMSIZE sets the height always and the width with TCS_FIXEDWIDTH.
  SendMessageW(tc, TCM_SETITEMSIZE, 0, MAKELPARAM(50, 30));
  EXPECT_EQ(ItemRect(tc, 1).bottom - ItemRect(tc, 1).top, 30);
  HWND fixed = MakeTabs({u"A", u"Wide caption"}, TCS_FIXEDWIDTH);
  SendMessageW(fixed, TCM_SETITEMSIZE, 0, MAKELPARAM(50, 20));
  EXPECT_EQ(ItemRect(fixed, 1).left, 52);
  EXPECT_EQ(ItemRect(fixed, 1).right, 102);

  // The display area: inside a 4-pixel frame, below the row (top = row height + 4).
  RECT rc{0, 0, 300, 100};
  SendMessageW(tc, TCM_ADJUSTRECT, FALSE, LPARAM(&rc));
  EXPECT_EQ(rc.left, 4);
  EXPECT_EQ(rc.top, 30 + 4);
  EXPECT_EQ(rc.right, 296);
  EXPECT_EQ(rc.bottom, 96);
  SendMessageW(tc, TCM_ADJUSTRECT, TRUE, LPARAM(&rc));
  EXPECT_EQ(rc.top, 0);
  EXPECT_EQ(rc.right, 300);
  ImageList_Destroy(il);
}

TEST_F(TabControl, RowsOnTheBottomLeftAndRightSidesAndTheirDisplayAreas) {
  struct Case { DWORD style; RECT first; RECT display; };
  // Client 300 x 100, row height 20: the row keeps 2 pixels from its edge, the display area
  // takes row + 4 on the row's side and 4 on the others.
  const Case cases[] = {
      {TCS_BOTTOM, {2, 78, 0, 98}, {4, 4, 296, 76}},
      {TCS_VERTICAL, {2, 2, 22, 0}, {24, 4, 296, 96}},
      {TCS_VERTICAL | TCS_RIGHT, {278, 2, 298, 0}, {4, 4, 276, 96}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    HWND tc = MakeTabs({u"one", u"two"}, c.style);
    SendMessageW(tc, TCM_SETITEMSIZE, 0, MAKELPARAM(0, 20));
    const RECT r0 = ItemRect(tc, 0), r1 = ItemRect(tc, 1);
    EXPECT_EQ(r0.left, c.first.left);
    EXPECT_EQ(r0.top, c.first.top);
    if (c.first.right) {
      EXPECT_EQ(r0.right, c.first.right);
    }
    if (c.first.bottom) {
      EXPECT_EQ(r0.bottom, c.first.bottom);
    }
    // Tabs abut along the row.
    if (c.style & TCS_VERTICAL) {
      EXPECT_EQ(r1.top, r0.bottom);
      EXPECT_EQ(r1.left, r0.left);
    } else {
      EXPECT_EQ(r1.left, r0.right);
      EXPECT_EQ(r1.top, r0.top);
    }
    RECT rc{0, 0, 300, 100};
    SendMessageW(tc, TCM_ADJUSTRECT, FALSE, LPARAM(&rc));
    EXPECT_EQ(rc.left, c.display.left);
    EXPECT_EQ(rc.top, c.display.top);
    EXPECT_EQ(rc.right, c.display.right);
    EXPECT_EQ(rc.bottom, c.display.bottom);
    const RECT mid{(r1.left + r1.right) / 2, (r1.top + r1.bottom) / 2, 0, 0};
    TCHITTESTINFO hit{{mid.left, mid.top}, 0};
    EXPECT_EQ(SendMessageW(tc, TCM_HITTEST, 0, LPARAM(&hit)), 1);
    DestroyWindow(tc);
  }
}

TEST_F(TabControl, HitTestItemsAndTextRoundTrip) {
  HWND tc = MakeTabs({u"one", u"two"});
  const RECT r1 = ItemRect(tc, 1);
  TCHITTESTINFO hit{{(r1.left + r1.right) / 2, (r1.top + r1.bottom) / 2}, 0};
  EXPECT_EQ(SendMessageW(tc, TCM_HITTEST, 0, LPARAM(&hit)), 1);
  EXPECT_EQ(hit.flags, UINT(TCHT_ONITEMLABEL));
  hit.pt = {r1.left - 1, r1.top};
  EXPECT_EQ(SendMessageW(tc, TCM_HITTEST, 0, LPARAM(&hit)), 0);
  hit.pt = {5, 80};
  EXPECT_EQ(SendMessageW(tc, TCM_HITTEST, 0, LPARAM(&hit)), -1);
  EXPECT_EQ(hit.flags, UINT(TCHT_NOWHERE));

  std::u16string text = u"changed";
  TCITEMW set{TCIF_TEXT | TCIF_PARAM, 0, 0, text.data(), 0, 0, 99};
  EXPECT_TRUE(SendMessageW(tc, TCM_SETITEMW, 0, LPARAM(&set)));
  WCHAR buf[4];
  TCITEMW get{TCIF_TEXT | TCIF_PARAM | TCIF_IMAGE, 0, 0, buf, 4, -5, 0};
  EXPECT_TRUE(SendMessageW(tc, TCM_GETITEMW, 0, LPARAM(&get)));
  EXPECT_EQ(std::u16string(buf), u"cha");  // cut to the buffer
  EXPECT_EQ(get.lParam, 99);
  EXPECT_EQ(get.iImage, 0);
  EXPECT_FALSE(SendMessageW(tc, TCM_GETITEMW, 5, LPARAM(&get)));
  EXPECT_TRUE(SendMessageW(tc, TCM_DELETEITEM, 0, 0));
  EXPECT_EQ(SendMessageW(tc, TCM_GETITEMCOUNT, 0, 0), 1);
  EXPECT_EQ(ItemRect(tc, 0).left, 2);  // the rest moved up
  SendMessageW(tc, TCM_DELETEALLITEMS, 0, 0);
  EXPECT_EQ(SendMessageW(tc, TCM_GETCURSEL, 0, 0), -1);
}

TEST_F(TabControl, MouseAndArrowKeysChangeTheSelectionUnlessTheParentVetoes) {
  HWND tc = MakeTabs({u"one", u"two", u"three"});
  EXPECT_EQ(SendMessageW(tc, TCM_GETCURSEL, 0, 0), 0);  // the first tab starts selected
  Record();
  const RECT r1 = ItemRect(tc, 1);
  hb().Click(r1.left + 3, r1.top + 3);
  RunUntilIdle();
  EXPECT_EQ(SendMessageW(tc, TCM_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(codes, (std::vector<UINT>{TCN_SELCHANGING, TCN_SELCHANGE}));
  // Clicking the selected tab again changes nothing.
  codes.clear();
  hb().AdvanceClock(1000);
  hb().Click(r1.left + 3, r1.top + 3);
  RunUntilIdle();
  EXPECT_TRUE(codes.empty());
  // Arrow keys move with the same notifications.
  SetFocus(tc);
  Key(VK_RIGHT);
  EXPECT_EQ(SendMessageW(tc, TCM_GETCURSEL, 0, 0), 2);
  Key(VK_RIGHT);  // no tab beyond the last
  EXPECT_EQ(codes, (std::vector<UINT>{TCN_SELCHANGING, TCN_SELCHANGE}));
  // A parent answering TRUE to TCN_SELCHANGING keeps the selection.
  codes.clear();
  Record(TRUE);
  Key(VK_LEFT);
  const RECT r0 = ItemRect(tc, 0);
  hb().Click(r0.left + 3, r0.top + 3);
  RunUntilIdle();
  EXPECT_EQ(SendMessageW(tc, TCM_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(codes, (std::vector<UINT>{TCN_SELCHANGING, TCN_SELCHANGING}));
  // From code: no notifications.
  codes.clear();
  EXPECT_EQ(SendMessageW(tc, TCM_SETCURSEL, 0, 0), 2);
  EXPECT_EQ(SendMessageW(tc, TCM_SETCURSEL, 7, 0), -1);
  EXPECT_TRUE(codes.empty());
  EXPECT_EQ(SendMessageW(tc, TCM_GETCURSEL, 0, 0), 0);
}

TEST_F(TabControl, TabsThatDoNotFitScrollWithAnUpDownChild) {
  HWND tc = MakeTabs({u"first tab", u"second tab", u"third tab", u"fourth tab"}, 0, 150);
  HWND arrows = ChildOfClass(tc, UPDOWN_CLASSW);
  ASSERT_TRUE(arrows);
  RECT ar;
  GetWindowRect(arrows, &ar);
  EXPECT_EQ(ar.right, 150);
  int lo = -1, hi = -1;
  SendMessageW(arrows, UDM_GETRANGE32, WPARAM(&lo), LPARAM(&hi));
  EXPECT_EQ(lo, 0);
  EXPECT_GT(hi, 0);
  hb().Click(ar.right - 3, ar.top + 3);  // the right half scrolls on by one tab
  RunUntilIdle();
  EXPECT_LE(ItemRect(tc, 0).right, 2);
  EXPECT_EQ(ItemRect(tc, 1).left, 2);
  // Wide enough again: the arrows go.
  MoveWindow(tc, 0, 0, 390, 100, TRUE);
  SendMessageW(tc, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0), 0);
  MoveWindow(tc, 0, 0, 395, 100, TRUE);
  EXPECT_FALSE(IsWindow(arrows));
}

class UpDown : public TabControl {};

TEST_F(UpDown, ArrowsStepThePositionAskingTheParentAndReportingTheScroll) {
  Record();
  HWND ud = Child(UPDOWN_CLASSW, 0, 10, 10, 20, 40);
  int lo, hi;
  SendMessageW(ud, UDM_GETRANGE32, WPARAM(&lo), LPARAM(&hi));
  EXPECT_EQ(lo, 100);  // the default range runs downwards
  EXPECT_EQ(hi, 0);
  SendMessageW(ud, UDM_SETRANGE32, 0, 3);
  SendMessageW(ud, UDM_SETPOS32, 0, 2);
  ClearLog();
  hb().Click(15, 15);  // upper half
  RunUntilIdle();
  EXPECT_EQ(SendMessageW(ud, UDM_GETPOS32, 0, 0), 3);
  ASSERT_EQ(deltas.size(), 1u);
  EXPECT_EQ(deltas[0].iPos, 2);
  EXPECT_EQ(deltas[0].iDelta, 1);
  EXPECT_EQ(Count(parent, WM_VSCROLL), 2);  // the position, then the end
  // At the upper bound nothing moves and nothing is reported but the end.
  hb().AdvanceClock(1000);
  hb().Click(15, 15);
  RunUntilIdle();
  EXPECT_EQ(SendMessageW(ud, UDM_GETPOS32, 0, 0), 3);
  EXPECT_EQ(Count(parent, WM_VSCROLL), 3);
  hb().AdvanceClock(1000);
  hb().Click(15, 45);  // lower half
  RunUntilIdle();
  EXPECT_EQ(SendMessageW(ud, UDM_GETPOS32, 0, 0), 2);
  // The parent can refuse a step.
  Record(TRUE);
  hb().AdvanceClock(1000);
  hb().Click(15, 45);
  RunUntilIdle();
  EXPECT_EQ(SendMessageW(ud, UDM_GETPOS32, 0, 0), 2);
}

TEST_F(UpDown, HorizontalArrowsRepeatWhileHeldAndPauseOffTheButton) {
  HWND ud = Child(UPDOWN_CLASSW, UDS_HORZ, 10, 10, 40, 20);
  SendMessageW(ud, UDM_SETRANGE32, 0, 100);
  ClearLog();
  hb().MoveMouse(45, 15);  // right half: up
  hb().PressButton(1);
  RunUntilIdle();
  EXPECT_EQ(SendMessageW(ud, UDM_GETPOS32, 0, 0), 1);
  EXPECT_EQ(Count(parent, WM_HSCROLL), 1);
  hb().AdvanceClock(500);
  RunUntilIdle();
  EXPECT_EQ(SendMessageW(ud, UDM_GETPOS32, 0, 0), 2);
  for (int i = 0; i < 3; ++i) {
    hb().AdvanceClock(100);
    RunUntilIdle();
  }
  EXPECT_EQ(SendMessageW(ud, UDM_GETPOS32, 0, 0), 5);
  hb().MoveMouse(15, 15);  // over the other half: no steps
  hb().AdvanceClock(100);
  RunUntilIdle();
  EXPECT_EQ(SendMessageW(ud, UDM_GETPOS32, 0, 0), 5);
  hb().ReleaseButton(1);
  hb().AdvanceClock(500);
  RunUntilIdle();
  EXPECT_EQ(SendMessageW(ud, UDM_GETPOS32, 0, 0), 5);
  EXPECT_EQ(GetCapture(), nullptr);
  // A buddy with UDS_SETBUDDYINT shows the number.
  HWND buddy = Child(WC_EDITW, 0, 60, 10, 40, 20);
  HWND ud2 = Child(UPDOWN_CLASSW, UDS_SETBUDDYINT, 100, 10, 20, 20);
  SendMessageW(ud2, UDM_SETRANGE32, 0, 100);
  SendMessageW(ud2, UDM_SETBUDDY, WPARAM(buddy), 0);
  SendMessageW(ud2, UDM_SETPOS32, 0, 42);
  EXPECT_EQ(Text(buddy), u"42");
}

TEST(ImageList, AddsStripsWithMasksAndDrawsTransparently) {
  HIMAGELIST il = ImageList_Create(4, 4, ILC_COLOR32 | ILC_MASK, 2, 2);
  ASSERT_TRUE(il);
  Canvas strip(8, 4, 0xFF0000);  // red image, then blue image
  for (int y = 0; y < 4; ++y)
    for (int x = 4; x < 8; ++x) strip.bits[y * 8 + x] = 0x0000FF;
  strip.bits[0] = 0xFF00FF;  // magenta corner: the mask colour
  SelectObject(strip.dc, strip.old);
  EXPECT_EQ(ImageList_AddMasked(il, strip.bmp, RGB(255, 0, 255)), 0);
  strip.old = SelectObject(strip.dc, strip.bmp);
  EXPECT_EQ(ImageList_GetImageCount(il), 2);
  int cx, cy;
  ASSERT_TRUE(ImageList_GetIconSize(il, &cx, &cy));
  EXPECT_EQ(cx, 4);
  EXPECT_EQ(cy, 4);

  Canvas dst(6, 6, 0x00FF00);
  EXPECT_TRUE(ImageList_Draw(il, 0, dst.dc, 1, 1, ILD_TRANSPARENT));
  EXPECT_EQ(dst.At(1, 1), 0x00FF00u);  // masked: the destination shows
  EXPECT_EQ(dst.At(2, 1), 0xFF0000u);
  EXPECT_EQ(dst.At(4, 4), 0xFF0000u);
  EXPECT_EQ(dst.At(5, 5), 0x00FF00u);  // outside the image
  // A background colour fills masked pixels with ILD_NORMAL.
  ImageList_SetBkColor(il, RGB(0, 0, 0));
  ImageList_Draw(il, 0, dst.dc, 1, 1, ILD_NORMAL);
  EXPECT_EQ(dst.At(1, 1), 0x000000u);
  // DrawEx draws part of an image.
  Canvas part(6, 6, 0x00FF00);
  ImageList_DrawEx(il, 1, part.dc, 0, 0, 2, 2, CLR_NONE, CLR_NONE, ILD_NORMAL);
  EXPECT_EQ(part.At(1, 1), 0x0000FFu);
  EXPECT_EQ(part.At(2, 2), 0x00FF00u);

  EXPECT_TRUE(ImageList_Remove(il, 0));
  EXPECT_EQ(ImageList_GetImageCount(il), 1);
  EXPECT_FALSE(ImageList_Draw(il, 1, dst.dc, 0, 0, ILD_NORMAL));
  EXPECT_TRUE(ImageList_SetIconSize(il, 8, 8));
  EXPECT_EQ(ImageList_GetImageCount(il), 0);
  EXPECT_TRUE(ImageList_Destroy(il));
  // A destroyed or made-up handle is refused, not used.
  EXPECT_FALSE(ImageList_Destroy(il));
  EXPECT_EQ(ImageList_Add(il, strip.bmp, nullptr), -1);
  EXPECT_EQ(ImageList_Create(0, 4, ILC_COLOR32, 1, 1), nullptr);
}

}  // namespace
}  // namespace lumoa::platform::test
