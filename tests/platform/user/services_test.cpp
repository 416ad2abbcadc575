#include <cstring>

#include "user_test.h"

namespace lumoa::platform::test {
namespace {

class Services : public UserTest {};

TEST_F(Services, MessageBoxIsModalAndAnsweredByKeys) {
  HWND owner = Make(WS_VISIBLE, 0, 0, 300, 200);
  RunUntilIdle();
  bool ownerDisabled = false;
  HWND box = nullptr;
  int step = 0;
  hb().SetIdleHandler([&] {
    box = GetActiveWindow();
    ownerDisabled = !IsWindowEnabled(owner);
    if (step++ == 0) hb().PressKey(VK_ESCAPE);  // no Cancel button: ignored
    else hb().PressKey('N', u"n");
  });
  EXPECT_EQ(MessageBoxW(owner, u"Really?", u"Question", MB_YESNO | MB_ICONQUESTION), IDNO);
  EXPECT_TRUE(ownerDisabled);
  EXPECT_NE(box, owner);
  EXPECT_FALSE(IsWindow(box));
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(GetActiveWindow(), owner);
  step = 0;
  hb().SetIdleHandler([&] { hb().PressKey(VK_ESCAPE); });
  EXPECT_EQ(MessageBoxA(owner, "text", "caption", MB_OKCANCEL), IDCANCEL);
  // Enter takes the default button; the box painted its text on the way.
  hb().SetIdleHandler([&] { hb().PressKey(VK_RETURN); });
  EXPECT_EQ(MessageBoxW(nullptr, u"Done", nullptr, MB_OK), IDOK);
  // A quit request ends the box with 0 and stays in the queue for the outer loop.
  hb().SetIdleHandler([&] { PostQuitMessage(4); });
  EXPECT_EQ(MessageBoxW(owner, u"x", u"y", MB_OK), 0);
  MSG m;
  EXPECT_FALSE(GetMessageW(&m, nullptr, 0, 0));
  EXPECT_EQ(m.wParam, WPARAM(4));
  hb().SetIdleHandler(nullptr);
}

TEST_F(Services, ClipboardTextRoundTripsThroughTheBackEndInBothEncodings) {
  HWND w = Make(0, 0, 0, 10, 10);
  EXPECT_FALSE(SetClipboardData(CF_UNICODETEXT, nullptr));  // not open
  ASSERT_TRUE(OpenClipboard(w));
  EXPECT_FALSE(OpenClipboard(w));
  EXPECT_TRUE(EmptyClipboard());
  const std::u16string text = u"搜索 text";
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * 2);
  std::memcpy(GlobalLock(h), text.c_str(), (text.size() + 1) * 2);
  GlobalUnlock(h);
  EXPECT_EQ(SetClipboardData(CF_UNICODETEXT, h), h);
  EXPECT_TRUE(CloseClipboard());
  std::u16string there;
  ASSERT_TRUE(hb().GetClipboardText(there));
  EXPECT_EQ(there, text);
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));

  hb().SetClipboardText(u"中");  // another program copied something
  ASSERT_TRUE(OpenClipboard(nullptr));
  HGLOBAL ansi = GetClipboardData(CF_TEXT);
  ASSERT_TRUE(ansi);
  EXPECT_STREQ(static_cast<const char*>(GlobalLock(ansi)), "\xD6\xD0");  // GBK
  GlobalUnlock(ansi);
  HGLOBAL wide = GetClipboardData(CF_UNICODETEXT);
  EXPECT_EQ(std::u16string(static_cast<const char16_t*>(GlobalLock(wide))), u"中");
  GlobalUnlock(wide);
  CloseClipboard();
  EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);  // closed
  EXPECT_EQ(GlobalFree(HGLOBAL(uintptr_t(0x1234))), HGLOBAL(uintptr_t(0x1234)));  // not ours
}

TEST_F(Services, CaretBlinksOnTheClockAndTellsTheInputMethodWhereItIs) {
  HWND top = Make(WS_VISIBLE, 10, 20, 50, 50, nullptr, 0, PaintSolid(RGB(255, 255, 255)));
  RunUntilIdle();
  ASSERT_TRUE(CreateCaret(top, nullptr, 2, 10));
  SetCaretPos(5, 6);
  ShowCaret(top);
  RunUntilIdle();
  EXPECT_EQ(ScreenRGB(15, 26), 0x000000u);  // inverted white
  EXPECT_EQ(hb().ImeSpot().x, 5);
  EXPECT_EQ(hb().ImeSpot().y, 16);
  hb().AdvanceClock(GetCaretBlinkTime());
  RunUntilIdle();
  EXPECT_EQ(ScreenRGB(15, 26), 0xFFFFFFu);
  hb().AdvanceClock(GetCaretBlinkTime());
  RunUntilIdle();
  EXPECT_EQ(ScreenRGB(15, 26), 0x000000u);
  // A repaint under the caret keeps it visible.
  InvalidateRect(top, nullptr, TRUE);
  RunUntilIdle();
  EXPECT_EQ(ScreenRGB(15, 26), 0x000000u);
  HideCaret(top);
  RunUntilIdle();
  EXPECT_EQ(ScreenRGB(15, 26), 0xFFFFFFu);
  POINT p;
  EXPECT_TRUE(GetCaretPos(&p));
  EXPECT_EQ(p.x, 5);
  EXPECT_TRUE(DestroyCaret());
  EXPECT_FALSE(GetCaretPos(&p));
}

TEST_F(Services, CursorsMonitorsMetricsAndColours) {
  HWND top = Make(WS_VISIBLE, 0, 0, 50, 50);
  hb().MoveMouse(10, 10);
  RunUntilIdle();
  HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
  ASSERT_TRUE(hand);
  EXPECT_EQ(LoadCursorW(nullptr, IDC_HAND), hand);
  SetCursor(hand);
  EXPECT_EQ(GetCursor(), hand);
  EXPECT_EQ(hb().Window(hb().StackingOrder().back())->cursor, CursorShape::Hand);
  EXPECT_FALSE(DestroyCursor(hand));  // shared system cursors stay
  BYTE andPlane[4 * 2] = {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00};
  BYTE xorPlane[4 * 2] = {};
  HCURSOR custom = CreateCursor(nullptr, 1, 1, 16, 4, andPlane, xorPlane);
  ASSERT_TRUE(custom);
  SetCursor(custom);
  EXPECT_EQ(hb().Window(hb().StackingOrder().back())->cursor, CursorShape::Custom);
  EXPECT_TRUE(DestroyCursor(custom));
  EXPECT_EQ(LoadCursorW(nullptr, u"NOSUCH"), nullptr);

  hb().SetScreen(RECT{0, 0, 800, 600}, RECT{0, 30, 800, 600});
  RECT work;
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
  EXPECT_EQ(work.top, 30);
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(top, MONITOR_DEFAULTTONEAREST), &mi));
  EXPECT_EQ(mi.rcMonitor.right, 800);
  EXPECT_EQ(mi.rcWork.top, 30);
  EXPECT_EQ(MonitorFromPoint(POINT{5000, 5000}, MONITOR_DEFAULTTONULL), nullptr);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 800);
  EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 17);
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(212, 208, 200));
  HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
  DeleteObject(face);  // system brushes survive
  EXPECT_EQ(GetSysColorBrush(COLOR_BTNFACE), face);
  EXPECT_EQ(GetObjectType(face), DWORD(OBJ_BRUSH));
}


// The resource counts that long-running checks compare: every live object counts once, stock
// objects and other processes not at all.
TEST_F(Services, GuiResourcesCountLiveObjectsOfThisProcess) {
  HANDLE self = GetCurrentProcess();
  const DWORD gdi = GetGuiResources(self, GR_GDIOBJECTS), user = GetGuiResources(self, GR_USEROBJECTS);
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  HRGN rgn = CreateRectRgn(0, 0, 4, 4);
  GetStockObject(WHITE_BRUSH);
  EXPECT_EQ(GetGuiResources(self, GR_GDIOBJECTS), gdi + 2);
  HWND w = Make(WS_POPUP, 0, 0, 10, 10);
  ASSERT_NE(w, nullptr);
  SetTimer(w, 1, 100, nullptr);
  EXPECT_EQ(GetGuiResources(self, GR_USEROBJECTS), user + 2);
  DestroyWindow(w);  // takes its timers with it
  DeleteObject(brush);
  DeleteObject(rgn);
  EXPECT_EQ(GetGuiResources(self, GR_GDIOBJECTS), gdi);
  EXPECT_EQ(GetGuiResources(self, GR_USEROBJECTS), user);
  EXPECT_EQ(GetGuiResources(reinterpret_cast<HANDLE>(static_cast<intptr_t>(1234)), GR_GDIOBJECTS), 0u);
}

}  // namespace
}  // namespace lumoa::platform::test
