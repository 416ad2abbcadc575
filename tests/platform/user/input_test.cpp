#include "support/message_sequence.h"
#include "user_test.h"

namespace lumoa::platform::test {
namespace {

using namespace lumoa::test;

class Input : public UserTest {};

Handler HitTest(LRESULT code) {
  return [code](HWND, UINT m, WPARAM, LPARAM, LRESULT& r) {
    if (m != WM_NCHITTEST) return false;
    r = code;
    return true;
  };
}

TEST_F(Input, MouseGoesToTheWindowUnderThePointerInClientCoordinates) {
  HWND top = Make(WS_VISIBLE, 100, 100, 100, 100);
  HWND child = Make(WS_CHILD | WS_VISIBLE, 10, 20, 30, 30, top);
  RunUntilIdle();
  ClearLog();
  MessageRecorder rec({child});
  hb().Click(115, 125);
  RunUntilIdle();
  const auto got = Received(nullptr, {WM_LBUTTONDOWN, WM_LBUTTONUP});
  ASSERT_EQ(got.size(), 2u);
  for (const Logged& l : log)
    if (l.msg == WM_LBUTTONDOWN) {
      EXPECT_EQ(l.hwnd, child);
      EXPECT_EQ(GET_X_LPARAM(l.lParam), 5);
      EXPECT_EQ(GET_Y_LPARAM(l.lParam), 5);
      EXPECT_EQ(l.wParam & MK_LBUTTON, WPARAM(MK_LBUTTON));
    }
  // WM_SETCURSOR precedes each mouse message.
  const LPARAM at = MAKELPARAM(5, 5);
  EXPECT_MESSAGES(rec, {{WM_NCHITTEST, sent | lparam, 0, MAKELPARAM(115, 125)},
                        {WM_SETCURSOR, sent | wparam | lparam, WPARAM(child),
                         MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)},
                        {WM_MOUSEMOVE, posted | lparam, 0, at},
                        {WM_NCHITTEST, sent},
                        {WM_SETCURSOR, sent | lparam, 0, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)},
                        {WM_LBUTTONDOWN, posted | wparam | lparam, MK_LBUTTON, at},
                        {WM_NCHITTEST, sent},
                        {WM_SETCURSOR, sent | lparam, 0, MAKELPARAM(HTCLIENT, WM_LBUTTONUP)},
                        {WM_LBUTTONUP, posted | wparam | lparam, 0, at}});
  // A second click at the same spot soon after is a double click (CS_DBLCLKS).
  hb().AdvanceClock(100);
  hb().Click(115, 125);
  RunUntilIdle();
  EXPECT_EQ(Count(child, WM_LBUTTONDBLCLK), 1);
  hb().AdvanceClock(600);
  hb().Click(115, 125);
  RunUntilIdle();
  EXPECT_EQ(Count(child, WM_LBUTTONDBLCLK), 1);
}

TEST_F(Input, TransparentHitsPassThroughAndDisabledChildrenGiveInputToTheirParent) {
  HWND top = Make(WS_VISIBLE, 0, 0, 100, 100);
  HWND below = Make(WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, top);
  HWND above = Make(WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, top, 0, HitTest(HTTRANSPARENT));
  SetWindowPos(above, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  RunUntilIdle();
  ClearLog();
  hb().Click(10, 10);
  RunUntilIdle();
  EXPECT_EQ(Count(below, WM_LBUTTONDOWN), 1);
  EXPECT_EQ(Count(above, WM_LBUTTONDOWN), 0);
  EnableWindow(below, FALSE);
  ClearLog();
  hb().Click(12, 12);
  RunUntilIdle();
  EXPECT_EQ(Count(below, WM_LBUTTONDOWN), 0);
  EXPECT_EQ(Count(top, WM_LBUTTONDOWN), 1);
  // A disabled top-level window gets no mouse input at all.
  EnableWindow(top, FALSE);
  ClearLog();
  hb().Click(60, 60);
  RunUntilIdle();
  EXPECT_EQ(Count(top, WM_LBUTTONDOWN), 0);
  EXPECT_EQ(hb().Beeps(), 1);
}

TEST_F(Input, NonClientHitsMakeNonClientMessages) {
  HWND top = Make(WS_VISIBLE | WS_CAPTION, 0, 0, 100, 100);
  RunUntilIdle();
  ClearLog();
  hb().MoveMouse(50, 10);  // on the caption
  RunUntilIdle();
  ASSERT_EQ(Count(top, WM_NCMOUSEMOVE), 1);
  for (const Logged& l : log)
    if (l.msg == WM_NCMOUSEMOVE) {
      EXPECT_EQ(l.wParam, WPARAM(HTCAPTION));
      EXPECT_EQ(GET_X_LPARAM(l.lParam), 50);  // screen coordinates
    }
  RECT rc;
  GetClientRect(top, &rc);
  EXPECT_EQ(rc.bottom, 100 - 3 - 3 - 19);  // dialog frame twice and the caption
}

TEST_F(Input, CaptureKeepsMouseInputAndMouseLeaveFollowsThePointer) {
  HWND top = Make(WS_VISIBLE, 0, 0, 100, 100);
  HWND a = Make(WS_CHILD | WS_VISIBLE, 0, 0, 40, 40, top);
  HWND b = Make(WS_CHILD | WS_VISIBLE, 50, 50, 40, 40, top);
  hb().MoveMouse(10, 10);
  RunUntilIdle();
  TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, a, 0};
  EXPECT_TRUE(TrackMouseEvent(&tme));
  ClearLog();
  hb().MoveMouse(20, 20);  // still inside: nothing
  hb().MoveMouse(60, 60);  // onto b: a hears it left
  RunUntilIdle();
  EXPECT_EQ(Count(a, WM_MOUSELEAVE), 1);
  EXPECT_EQ(Count(b, WM_MOUSEMOVE), 1);
  // Tracking a window the pointer is not over answers at once.
  tme.hwndTrack = a;
  TrackMouseEvent(&tme);
  RunUntilIdle();
  EXPECT_EQ(Count(a, WM_MOUSELEAVE), 2);
  // Leaving our windows altogether.
  tme.hwndTrack = b;
  TrackMouseEvent(&tme);
  hb().PointerLeaves();
  RunUntilIdle();
  EXPECT_EQ(Count(b, WM_MOUSELEAVE), 1);

  SetCapture(a);
  EXPECT_EQ(hb().PointerGrab(), hb().StackingOrder().back());
  ClearLog();
  hb().MoveMouse(300, 300);  // outside every window: still to a, in a's coordinates
  RunUntilIdle();
  ASSERT_EQ(Count(a, WM_MOUSEMOVE), 1);
  for (const Logged& l : log) {
    if (l.msg == WM_MOUSEMOVE) {
      EXPECT_EQ(GET_X_LPARAM(l.lParam), 300);
    }
  }
  SetCapture(b);
  EXPECT_EQ(Count(a, WM_CAPTURECHANGED), 1);
  ReleaseCapture();
  EXPECT_EQ(Count(b, WM_CAPTURECHANGED), 1);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(hb().PointerGrab(), 0u);
}

TEST_F(Input, ActivationAndFocusMessagesComeInWin32Order) {
  HWND one = Make(WS_VISIBLE, 0, 0, 50, 50);
  HWND edit = Make(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, one);
  HWND two = Make(0, 60, 0, 50, 50);
  RunUntilIdle();
  EXPECT_EQ(GetActiveWindow(), one);
  EXPECT_EQ(GetFocus(), one);
  SetFocus(edit);
  ClearLog();
  ShowWindow(two, SW_SHOW);
  std::vector<std::pair<HWND, UINT>> seq;
  for (const Logged& l : log)
    if (l.msg == WM_NCACTIVATE || l.msg == WM_ACTIVATE || l.msg == WM_SETFOCUS ||
        l.msg == WM_KILLFOCUS || l.msg == WM_ACTIVATEAPP)
      seq.push_back({l.hwnd, l.msg});
  const std::vector<std::pair<HWND, UINT>> want{{one, WM_NCACTIVATE}, {one, WM_ACTIVATE},
                                                {two, WM_NCACTIVATE}, {two, WM_ACTIVATE},
                                                {edit, WM_KILLFOCUS}, {two, WM_SETFOCUS}};
  EXPECT_EQ(seq, want);
  EXPECT_EQ(hb().Focused(), hb().StackingOrder().back());  // two is on top and focused
  // Focusing a child of an inactive window activates its top-level first.
  ClearLog();
  EXPECT_EQ(SetFocus(edit), two);
  EXPECT_EQ(GetActiveWindow(), one);
  EXPECT_EQ(GetFocus(), edit);
  // Another program takes the keyboard: the application deactivates.
  ClearLog();
  hb().SetFocusedNative(0, false);
  BackendEvent out;
  out.type = BackendEventType::FocusOut;
  out.window = hb().StackingOrder().back();
  hb().Push(out);
  RunUntilIdle();
  EXPECT_EQ(GetActiveWindow(), nullptr);
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_EQ(Count(edit, WM_KILLFOCUS), 1);
  EXPECT_EQ(Count(one, WM_ACTIVATEAPP), 1);
  // Hiding the active window hands activation to another one.
  SetActiveWindow(two);
  ShowWindow(two, SW_HIDE);
  EXPECT_EQ(GetActiveWindow(), one);
  // A click into an inactive window asks WM_MOUSEACTIVATE; MA_NOACTIVATEANDEAT swallows it.
  ShowWindow(two, SW_SHOWNA);
  On(two, [](HWND, UINT m, WPARAM, LPARAM, LRESULT& r) {
    if (m != WM_MOUSEACTIVATE) return false;
    r = MA_NOACTIVATEANDEAT;
    return true;
  });
  ClearLog();
  hb().Click(70, 10);
  RunUntilIdle();
  EXPECT_EQ(GetActiveWindow(), one);
  EXPECT_EQ(Count(two, WM_LBUTTONDOWN), 0);
  EXPECT_EQ(Count(two, WM_LBUTTONUP), 1);
}

TEST_F(Input, KeysGoToTheFocusAndKeyStateFollowsThem) {
  HWND top = Make(WS_VISIBLE, 0, 0, 50, 50);
  HWND edit = Make(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top);
  SetFocus(edit);
  SHORT shiftDuring = 0;
  On(edit, [&](HWND, UINT m, WPARAM w, LPARAM, LRESULT&) {
    if (m == WM_KEYDOWN && w == 'B') shiftDuring = GetKeyState(VK_SHIFT);
    return false;
  });
  hb().KeyDown(VK_SHIFT);
  hb().PressKey('B', u"B");
  hb().KeyUp(VK_SHIFT);
  RunUntilIdle();
  EXPECT_TRUE(shiftDuring & 0x8000);
  EXPECT_FALSE(GetKeyState(VK_SHIFT) & 0x8000);
  EXPECT_EQ(Count(edit, WM_CHAR), 1);
  EXPECT_EQ(Count(top, WM_KEYDOWN), 0);
  hb().PressKey(VK_CAPITAL);
  RunUntilIdle();
  EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 1);  // toggled
  // The wheel goes to the focus, not to the window under the pointer.
  hb().MoveMouse(40, 40);
  hb().Wheel(-120);
  RunUntilIdle();
  ASSERT_EQ(Count(edit, WM_MOUSEWHEEL), 1);
}

TEST_F(Input, CaptionDragRunsTheSystemMoveLoopAndMovesByTheDragDistance) {
  HWND top = Make(WS_VISIBLE, 100, 100, 80, 40, nullptr, 0, HitTest(HTCAPTION));
  RunUntilIdle();
  ClearLog();
  hb().MoveMouse(110, 110);
  hb().PressButton(1);
  hb().MoveMouse(150, 130);
  hb().MoveMouse(160, 135);
  hb().ReleaseButton(1);
  hb().MoveMouse(400, 400);  // after release: the loop is over, the window stays
  RunUntilIdle();
  RECT r;
  GetWindowRect(top, &r);
  EXPECT_EQ(r.left, 150);
  EXPECT_EQ(r.top, 125);
  EXPECT_EQ(r.right, 230);
  const auto* native = hb().Window(hb().StackingOrder().back());
  EXPECT_EQ(native->bounds.left, 150);
  EXPECT_EQ(Count(top, WM_ENTERSIZEMOVE), 1);
  EXPECT_EQ(Count(top, WM_EXITSIZEMOVE), 1);
  EXPECT_EQ(Count(top, WM_NCLBUTTONUP), 0);  // the release belonged to the move
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_GE(Count(top, WM_MOVE), 2);
  // The application's own request from a client click, as the main window does it.
  On(top, [](HWND h, UINT m, WPARAM, LPARAM, LRESULT& res) {
    if (m != WM_LBUTTONDOWN) return false;
    ReleaseCapture();
    SendMessageW(h, WM_SYSCOMMAND, 0xF012, 0);
    res = 0;
    return true;
  });
  hb().MoveMouse(160, 130);
  hb().PressButton(1);
  hb().MoveMouse(140, 120);
  hb().ReleaseButton(1);
  RunUntilIdle();
  GetWindowRect(top, &r);
  EXPECT_EQ(r.left, 130);
  EXPECT_EQ(r.top, 115);
  // Escape during the move puts the window back.
  hb().MoveMouse(160, 130);
  hb().PressButton(1);
  hb().MoveMouse(200, 200);
  hb().PressKey(VK_ESCAPE);
  RunUntilIdle();
  GetWindowRect(top, &r);
  EXPECT_EQ(r.left, 130);
  hb().ReleaseButton(1);
  RunUntilIdle();
  // Asked for from the keyboard: arrows move by 8 pixels until Enter.
  bool injected = false;
  hb().SetIdleHandler([&] {
    if (injected) return;
    injected = true;
    hb().PressKey(VK_RIGHT);
    hb().PressKey(VK_DOWN);
    hb().PressKey(VK_RETURN);
  });
  SendMessageW(top, WM_SYSCOMMAND, SC_MOVE, 0);
  GetWindowRect(top, &r);
  EXPECT_EQ(r.left, 138);
  EXPECT_EQ(r.top, 123);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Input, HotKeysConflictAndArriveAsWmHotkey) {
  HWND top = Make(0, 0, 0, 10, 10);
  EXPECT_TRUE(RegisterHotKey(top, 1, MOD_ALT, '1'));
  EXPECT_TRUE(hb().HotKeyGrabbed(MOD_ALT, '1'));
  EXPECT_FALSE(RegisterHotKey(top, 1, MOD_ALT, '2'));  // id taken
  EXPECT_EQ(GetLastError(), DWORD(ERROR_HOTKEY_ALREADY_REGISTERED));
  hb().BlockHotKey(MOD_CONTROL, 'K');
  EXPECT_FALSE(RegisterHotKey(top, 2, MOD_CONTROL, 'K'));  // another client holds it
  hb().TriggerHotKey(1);
  RunUntilIdle();
  ASSERT_EQ(Count(top, WM_HOTKEY), 1);
  for (const Logged& l : log)
    if (l.msg == WM_HOTKEY) {
      EXPECT_EQ(l.wParam, WPARAM(1));
      EXPECT_EQ(l.lParam, MAKELPARAM(MOD_ALT, '1'));
    }
  EXPECT_TRUE(UnregisterHotKey(top, 1));
  EXPECT_FALSE(hb().HotKeyGrabbed(MOD_ALT, '1'));
  EXPECT_FALSE(UnregisterHotKey(top, 1));
  EXPECT_TRUE(RegisterHotKey(top, 3, MOD_ALT, '1'));
  DestroyWindow(top);
  EXPECT_FALSE(hb().HotKeyGrabbed(MOD_ALT, '1'));  // released with the window
}

}  // namespace
}  // namespace lumoa::platform::test
