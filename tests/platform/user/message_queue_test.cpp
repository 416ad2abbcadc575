#include <thread>

#include "user_test.h"

namespace lumoa::platform::test {
namespace {

class MessageQueue : public UserTest {};

std::vector<UINT> Pump() {
  std::vector<UINT> got;
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    got.push_back(m.message);
    DispatchMessageW(&m);
  }
  return got;
}

TEST_F(MessageQueue, RetrievalOrderIsPostedInputPaintTimer) {
  HWND w = Make(WS_VISIBLE, 0, 0, 40, 40, nullptr, 0, PaintSolid(RGB(1, 2, 3)));
  RunUntilIdle();
  SetTimer(w, 1, 10, nullptr);
  hb().AdvanceClock(10);
  InvalidateRect(w, nullptr, TRUE);
  hb().Click(5, 5);
  PostMessageW(w, WM_USER, 0, 0);
  const auto got = Pump();
  const std::vector<UINT> want{WM_USER, WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_PAINT,
                               WM_TIMER};
  EXPECT_EQ(got, want);
}

TEST_F(MessageQueue, PaintIsGeneratedOnceAndTimersAreNotQueuedTwice) {
  HWND w = Make(WS_VISIBLE, 0, 0, 40, 40, nullptr, 0, PaintSolid(RGB(1, 2, 3)));
  RunUntilIdle();
  ClearLog();
  InvalidateRect(w, nullptr, FALSE);
  RECT r{1, 1, 3, 3};
  InvalidateRect(w, &r, FALSE);
  SetTimer(w, 7, 10, nullptr);
  hb().AdvanceClock(55);  // five periods late: still one WM_TIMER
  RunUntilIdle();
  EXPECT_EQ(Count(w, WM_PAINT), 1);
  EXPECT_EQ(Count(w, WM_TIMER), 1);
  hb().AdvanceClock(9);
  RunUntilIdle();
  EXPECT_EQ(Count(w, WM_TIMER), 1);  // rescheduled from when it was taken
  hb().AdvanceClock(1);
  RunUntilIdle();
  EXPECT_EQ(Count(w, WM_TIMER), 2);
  EXPECT_TRUE(KillTimer(w, 7));
  EXPECT_FALSE(KillTimer(w, 7));
  hb().AdvanceClock(100);
  RunUntilIdle();
  EXPECT_EQ(Count(w, WM_TIMER), 2);
}

TEST_F(MessageQueue, PeekNoRemoveAndFiltersLeaveOtherMessages) {
  HWND a = Make(0, 0, 0, 10, 10);
  HWND b = Make(0, 0, 0, 10, 10);
  PostMessageW(a, WM_USER + 1, 0, 0);
  PostMessageW(b, WM_USER + 2, 0, 0);
  PostMessageW(a, WM_USER + 3, 0, 0);
  MSG m;
  ASSERT_TRUE(PeekMessageW(&m, b, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(m.message, UINT(WM_USER + 2));
  ASSERT_TRUE(PeekMessageW(&m, nullptr, WM_USER + 3, WM_USER + 3, PM_REMOVE));
  EXPECT_EQ(m.hwnd, a);
  EXPECT_EQ(Pump(), (std::vector<UINT>{WM_USER + 1, WM_USER + 2}));
  PostQuitMessage(3);
  PostMessageW(a, WM_USER, 0, 0);
  EXPECT_TRUE(GetMessageW(&m, nullptr, 0, 0));  // posted messages come before WM_QUIT
  EXPECT_FALSE(GetMessageW(&m, nullptr, 0, 0));
  EXPECT_EQ(m.wParam, WPARAM(3));
}

TEST_F(MessageQueue, SendsAreSynchronousAndReentrant) {
  HWND a = Make(0, 0, 0, 10, 10);
  HWND b = Make(0, 0, 0, 10, 10);
  int depth = 0;
  On(b, [&](HWND, UINT m, WPARAM w, LPARAM, LRESULT& r) {
    if (m != WM_USER) return false;
    ++depth;
    r = w ? SendMessageW(a, WM_USER, w - 1, 0) + 1 : 100;
    --depth;
    return true;
  });
  On(a, [&](HWND, UINT m, WPARAM w, LPARAM, LRESULT& r) {
    if (m != WM_USER) return false;
    r = SendMessageW(b, WM_USER, w, 0) + 1000;
    return true;
  });
  // a -> b -> a -> b ... each level adds its part while the outer senders wait.
  EXPECT_EQ(SendMessageW(b, WM_USER, 2, 0), 100 + 1000 + 1 + 1000 + 1);
  EXPECT_EQ(depth, 0);
  EXPECT_EQ(SendMessageW(HWND(uintptr_t(0x999999)), WM_USER, 0, 0), 0);
  EXPECT_FALSE(PostMessageW(HWND(uintptr_t(0x999999)), WM_USER, 0, 0));
}

TEST_F(MessageQueue, SendFromAnotherThreadIsDeliveredBeforePostedMessages) {
  HWND w = Make(0, 0, 0, 10, 10);
  bool inSend = false;
  On(w, [&](HWND, UINT m, WPARAM, LPARAM, LRESULT& r) {
    if (m != WM_USER + 5) return false;
    inSend = InSendMessage();
    r = 42;
    return true;
  });
  PostMessageW(w, WM_USER, 0, 0);
  LRESULT result = 0;
  std::thread t([&] { result = SendMessageW(w, WM_USER + 5, 0, 0); });
  // Wait until the other thread's message is queued, then look at the queue once.
  while (!user::S().posted.SendWaiting()) std::this_thread::yield();
  MSG m;
  ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
  t.join();
  EXPECT_EQ(m.message, UINT(WM_USER));
  EXPECT_EQ(result, 42);
  EXPECT_TRUE(inSend);
  // Posts from another thread arrive; one to a handle that is not a window is dropped.
  std::thread poster([w] {
    PostMessageW(w, WM_USER + 6, 0, 0);
    PostMessageW(HWND(uintptr_t(0x999990)), WM_USER + 7, 0, 0);
  });
  poster.join();
  RunUntilIdle();
  EXPECT_EQ(Count(w, WM_USER + 6), 1);
  EXPECT_FALSE(PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(Count(w, WM_USER + 5), 1);
  // Broadcasts from another thread reach every top-level window, on the windows' thread.
  std::thread sender([] { SendMessageW(HWND_BROADCAST, WM_USER + 8, 0, 0); });
  while (!user::S().posted.SendWaiting()) std::this_thread::yield();
  EXPECT_FALSE(PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE));
  sender.join();
  std::thread([] { PostMessageW(HWND_BROADCAST, WM_USER + 9, 0, 0); }).join();
  RunUntilIdle();
  EXPECT_EQ(Count(w, WM_USER + 8), 1);
  EXPECT_EQ(Count(w, WM_USER + 9), 1);
}

TEST_F(MessageQueue, TimersRunOnTheVirtualClockWithProcsAndThreadTimers) {
  static int fired = 0;
  fired = 0;
  HWND w = Make(0, 0, 0, 10, 10);
  SetTimer(w, 1, 100, [](HWND, UINT, UINT_PTR, DWORD) { ++fired; });
  const UINT_PTR t = SetTimer(nullptr, 0, 3, [](HWND, UINT, UINT_PTR, DWORD) { fired += 100; });
  EXPECT_NE(t, 0u);
  hb().AdvanceClock(9);
  RunUntilIdle();
  EXPECT_EQ(fired, 0);  // intervals below 10 ms are raised to 10
  hb().AdvanceClock(1);
  RunUntilIdle();
  EXPECT_EQ(fired, 100);
  hb().AdvanceClock(90);
  RunUntilIdle();
  EXPECT_EQ(fired, 201);
  KillTimer(nullptr, t);
  // GetMessage sleeps in the back end until the next timer: on headless the clock jumps there.
  const uint64_t before = hb().NowMs();
  MSG m;
  ASSERT_TRUE(GetMessageW(&m, nullptr, 0, 0));
  EXPECT_EQ(m.message, UINT(WM_TIMER));
  EXPECT_EQ(hb().NowMs(), before + 100);
  DestroyWindow(w);
  hb().AdvanceClock(1000);
  EXPECT_EQ(RunUntilIdle(), 0);  // a destroyed window's timers die with it
}

TEST_F(MessageQueue, TranslateMessageMakesCharsFromCommittedText) {
  HWND w = Make(WS_VISIBLE, 0, 0, 10, 10);
  SetFocus(w);
  RunUntilIdle();
  ClearLog();
  hb().PressKey('A', u"a");
  hb().PressKey(VK_RETURN);
  hb().CommitText(u"中文");
  hb().KeyDown(VK_MENU);
  hb().PressKey('X', u"x");
  hb().KeyUp(VK_MENU);
  RunUntilIdle();
  std::vector<std::pair<UINT, WPARAM>> keys;
  for (const Logged& l : log)
    if (l.msg == WM_CHAR || l.msg == WM_SYSCHAR || l.msg == WM_KEYDOWN || l.msg == WM_SYSKEYDOWN)
      keys.push_back({l.msg, l.wParam});
  const std::vector<std::pair<UINT, WPARAM>> want{
      {WM_KEYDOWN, 'A'},     {WM_CHAR, 'a'},          {WM_KEYDOWN, VK_RETURN},
      {WM_CHAR, '\r'},       {WM_CHAR, u'中'},        {WM_CHAR, u'文'},
      {WM_SYSKEYDOWN, VK_MENU}, {WM_SYSKEYDOWN, 'X'}, {WM_SYSCHAR, 'x'}};
  EXPECT_EQ(keys, want);
  EXPECT_EQ(Count(w, WM_IME_CHAR), 2);
}

}  // namespace
}  // namespace lumoa::platform::test
