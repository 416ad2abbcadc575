#include <cstring>
#include <vector>

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

// An icon of w x h pixels whose pixel (x, y) is argb(x, y), straight alpha.
HICON ArgbIcon(int w, int h, uint32_t (*argb)(int, int)) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP color = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) static_cast<uint32_t*>(bits)[y * w + x] = argb(x, y);
  const std::vector<BYTE> zeros(size_t((w + 15) / 16 * 2) * h, 0);
  HBITMAP mask = CreateBitmap(w, h, 1, 1, zeros.data());
  ICONINFO info{TRUE, 0, 0, mask, color};
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(color);
  DeleteObject(mask);
  return icon;
}

TEST_F(Services, AppIdentityReachesTheBackEndWithIconPixelsAndRejectsBadInput) {
  HICON small = ArgbIcon(2, 2, [](int x, int y) { return x == y ? 0x80FF0000u : 0x00000000u; });
  HICON large = ArgbIcon(3, 1, [](int x, int) { return 0xFF000000u | uint32_t(x * 0x40); });
  ASSERT_NE(small, nullptr);
  ASSERT_NE(large, nullptr);
  const HICON icons[] = {small, large};
  APPIDENTITYW id{u"Lumoa", u"标题 Title", icons, 2};
  ASSERT_TRUE(SetAppIdentityW(&id));
  // The pixels were copied: the handles may go.
  DestroyIcon(small);
  DestroyIcon(large);
  const AppIdentity& got = hb().Identity();
  EXPECT_EQ(got.className, "Lumoa");
  EXPECT_EQ(got.instanceName, "lumoa");
  EXPECT_EQ(got.title, u"标题 Title");
  ASSERT_EQ(got.icons.size(), 2u);
  EXPECT_EQ(got.icons[0].width, 2);
  EXPECT_EQ(got.icons[0].height, 2);
  // Straight alpha survives, transparent pixels stay transparent.
  EXPECT_EQ(got.icons[0].pixels, (std::vector<uint32_t>{0x80FF0000u, 0, 0, 0x80FF0000u}));
  EXPECT_EQ(got.icons[1].pixels, (std::vector<uint32_t>{0xFF000000u, 0xFF000040u, 0xFF000080u}));

  // Nothing changes on a refusal.
  const HICON stale[] = {small};
  const HICON arrow[] = {LoadCursorW(nullptr, IDC_ARROW)};
  const APPIDENTITYW refused[] = {
      {nullptr, nullptr, nullptr, 0}, {u"", nullptr, nullptr, 0},
      {u"Lu moa", nullptr, nullptr, 0}, {u"Lumoa桌面", nullptr, nullptr, 0},
      {u"Lumoa", nullptr, nullptr, 1}, {u"Lumoa", nullptr, stale, 1},
      {u"Lumoa", nullptr, arrow, 1}};
  for (const APPIDENTITYW& bad : refused) {
    SetLastError(0);
    EXPECT_FALSE(SetAppIdentityW(&bad));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
  }
  EXPECT_FALSE(SetAppIdentityW(nullptr));
  EXPECT_EQ(hb().Identity().icons.size(), 2u);
  EXPECT_EQ(hb().Identity().title, u"标题 Title");
}

}  // namespace
}  // namespace lumoa::platform::test
