#include "support/message_sequence.h"
#include "user_test.h"

namespace lumoa::platform::test {
namespace {

using namespace lumoa::test;

class WindowPos : public UserTest {};

TEST_F(WindowPos, CoordinatesMapThroughFramesAndNesting) {
  HWND top = Make(WS_VISIBLE | WS_BORDER, 100, 50, 200, 100);
  HWND child = Make(WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 20, 50, 40, top);
  RECT r;
  GetWindowRect(child, &r);
  EXPECT_EQ(r.left, 100 + 1 + 10);
  EXPECT_EQ(r.top, 50 + 1 + 20);
  GetClientRect(child, &r);
  EXPECT_EQ(r.right, 48);
  POINT p{0, 0};
  ClientToScreen(child, &p);
  EXPECT_EQ(p.x, 112);
  EXPECT_EQ(p.y, 72);
  ScreenToClient(top, &p);
  EXPECT_EQ(p.x, 11);
  POINT pts[2] = {{0, 0}, {5, 5}};
  MapWindowPoints(child, nullptr, pts, 2);
  EXPECT_EQ(pts[1].x, 117);
  EXPECT_EQ(ChildWindowFromPointEx(top, POINT{15, 25}, CWP_ALL), child);
  EXPECT_EQ(ChildWindowFromPointEx(top, POINT{150, 80}, CWP_ALL), top);
  ShowWindow(child, SW_HIDE);
  EXPECT_EQ(ChildWindowFromPointEx(top, POINT{15, 25}, CWP_SKIPINVISIBLE), top);
  RECT adj{0, 0, 100, 100};
  AdjustWindowRectEx(&adj, WS_POPUP | WS_CAPTION, FALSE, 0);
  EXPECT_EQ(adj.top, -3 - 19);
  EXPECT_EQ(adj.right, 103);
}

TEST_F(WindowPos, WindowPosChangingCanAdjustTheMoveAndChangedReportsIt) {
  HWND top = Make(WS_VISIBLE, 0, 0, 50, 50, nullptr, 0,
                  [](HWND, UINT m, WPARAM, LPARAM l, LRESULT&) {
                    if (m == WM_WINDOWPOSCHANGING) {
                      auto* wp = reinterpret_cast<WINDOWPOS*>(l);
                      wp->x = std::max(wp->x, 20);  // keeps the window right of x = 20
                    }
                    return false;
                  });
  ClearLog();
  MessageRecorder rec({top});
  MoveWindow(top, 5, 7, 60, 50, TRUE);
  RECT r;
  GetWindowRect(top, &r);
  EXPECT_EQ(r.left, 20);
  EXPECT_EQ(r.top, 7);
  EXPECT_EQ(hb().Window(hb().StackingOrder().back())->bounds.left, 20);
  EXPECT_MESSAGES(rec, {{WM_WINDOWPOSCHANGING, sent},
                        {WM_NCCALCSIZE, sent | wparam, FALSE},
                        {WM_WINDOWPOSCHANGED, sent},
                        {WM_MOVE, sent | defproc | lparam, 0, MAKELPARAM(20, 7)},
                        {WM_SIZE, sent | defproc | wparam | lparam, SIZE_RESTORED,
                         MAKELPARAM(60, 50)}});
  ClearLog();
  SetWindowPos(top, nullptr, 20, 7, 60, 50, SWP_NOZORDER | SWP_NOACTIVATE);  // no change
  EXPECT_EQ(Count(top, WM_WINDOWPOSCHANGED), 0);
}

TEST_F(WindowPos, ZOrderKeepsTopmostWindowsAboveAndOwnedWindowsAboveTheirOwner) {
  HWND a = Make(WS_VISIBLE, 0, 0, 10, 10);
  HWND b = Make(WS_VISIBLE, 0, 0, 10, 10);
  HWND pinned = Make(WS_VISIBLE, 0, 0, 10, 10, nullptr, WS_EX_TOPMOST);
  HWND owned = Make(WS_VISIBLE, 0, 0, 10, 10, a);
  auto order = [] {
    std::vector<HWND> v;
    for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT)) v.push_back(h);
    return v;
  };
  EXPECT_EQ(order().front(), pinned);
  BringWindowToTop(a);  // a comes up with its owned window above it, still below pinned
  EXPECT_EQ(order(), (std::vector<HWND>{pinned, owned, a, b}));
  SetWindowPos(b, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(order().front(), b);
  EXPECT_TRUE(GetWindowLongPtrW(b, GWL_EXSTYLE) & WS_EX_TOPMOST);
  SetWindowPos(b, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(order()[1], b);  // top of the normal windows, below pinned
  SetWindowPos(b, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(order().back(), b);
  // The back end stacks native windows the same way.
  const auto stack = hb().StackingOrder();
  EXPECT_TRUE(hb().Window(stack.back())->topmost);
}

TEST_F(WindowPos, ChildrenStackInCreationOrderAndGoRightBelowTheWindowNamed) {
  HWND top = Make(WS_VISIBLE, 0, 0, 100, 100);
  HWND a = Make(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top);
  HWND b = Make(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top);
  HWND c = Make(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top);
  HWND d = Make(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top);
  auto order = [top] {
    std::vector<HWND> v;
    for (HWND h = GetWindow(top, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) v.push_back(h);
    return v;
  };
  EXPECT_EQ(order(), (std::vector<HWND>{a, b, c, d}));  // a later child goes below
  const UINT keep = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  SetWindowPos(d, a, 0, 0, 0, 0, keep);  // from below
  EXPECT_EQ(order(), (std::vector<HWND>{a, d, b, c}));
  SetWindowPos(a, b, 0, 0, 0, 0, keep);  // from above
  EXPECT_EQ(order(), (std::vector<HWND>{d, b, a, c}));
  SetWindowPos(c, HWND_TOP, 0, 0, 0, 0, keep);
  SetWindowPos(d, HWND_BOTTOM, 0, 0, 0, 0, keep);
  EXPECT_EQ(order(), (std::vector<HWND>{c, b, a, d}));
}

TEST_F(WindowPos, MinimizeRestoreAndTheWindowManagersRequests) {
  HWND top = Make(WS_VISIBLE, 0, 0, 50, 50);
  HWND other = Make(WS_VISIBLE, 60, 0, 50, 50);
  SetActiveWindow(top);
  ClearLog();
  ShowWindow(top, SW_MINIMIZE);
  EXPECT_TRUE(IsIconic(top));
  EXPECT_TRUE(hb().IsIconic(hb().StackingOrder()[0]) || hb().IsIconic(hb().StackingOrder()[1]));
  EXPECT_EQ(GetActiveWindow(), other);
  bool sawMinimized = false;
  for (const Logged& l : log) sawMinimized |= l.hwnd == top && l.msg == WM_SIZE && l.wParam == SIZE_MINIMIZED;
  EXPECT_TRUE(sawMinimized);
  ShowWindow(top, SW_RESTORE);
  EXPECT_FALSE(IsIconic(top));
  EXPECT_EQ(GetActiveWindow(), top);

  // The window manager moved it, then asked to close it.
  NativeId id = 0;
  for (NativeId n : hb().StackingOrder())
    if (hb().Window(n)->bounds.left == 0) id = n;
  BackendEvent moved;
  moved.type = BackendEventType::Moved;
  moved.window = id;
  moved.rect = RECT{30, 40, 80, 90};
  hb().Push(moved);
  RunUntilIdle();
  RECT r;
  GetWindowRect(top, &r);
  EXPECT_EQ(r.left, 30);
  EXPECT_EQ(r.top, 40);
  BackendEvent close;
  close.type = BackendEventType::CloseRequest;
  close.window = id;
  hb().Push(close);
  RunUntilIdle();
  EXPECT_EQ(Count(top, WM_CLOSE), 1);
  EXPECT_FALSE(IsWindow(top));  // WM_CLOSE's default destroys
}

TEST_F(WindowPos, DestroyingTheFocusOrActiveWindowMovesThemOn) {
  HWND a = Make(WS_VISIBLE, 0, 0, 50, 50);
  HWND b = Make(WS_VISIBLE, 0, 0, 50, 50);
  HWND edit = Make(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, b);
  SetFocus(edit);
  DestroyWindow(edit);
  EXPECT_EQ(GetFocus(), b);  // a hidden or destroyed child hands the focus to its parent
  EXPECT_EQ(GetActiveWindow(), b);
  DestroyWindow(b);
  EXPECT_EQ(GetActiveWindow(), a);
  EXPECT_EQ(GetFocus(), a);
  // Disabling the focus window takes the focus away; a disabled window cannot be focused.
  HWND c = Make(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, a);
  SetFocus(c);
  EnableWindow(c, FALSE);
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_EQ(SetFocus(c), nullptr);
  EXPECT_EQ(GetFocus(), nullptr);
  // A window that never activates is shown without taking activation.
  HWND tip = Make(0, 0, 0, 10, 10, nullptr, WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW);
  ShowWindow(tip, SW_SHOW);
  EXPECT_EQ(GetActiveWindow(), a);
}

TEST_F(WindowPos, AnsiCreationAndReparentingToTheDesktop) {
  HWND w = CreateWindowExA(0, "LumoaTest", "\xCB\xD1\xCB\xF7", WS_POPUP, 0, 0, 10, 10, nullptr,
                           nullptr, nullptr, nullptr);
  ASSERT_TRUE(w);
  WCHAR buf[8];
  GetWindowTextW(w, buf, 8);
  EXPECT_EQ(std::u16string(buf), u"搜索");
  HWND child = Make(WS_CHILD | WS_VISIBLE, 0, 0, 5, 5, w);
  const size_t natives = hb().StackingOrder().size();
  EXPECT_EQ(SetParent(child, nullptr), w);
  EXPECT_EQ(GetAncestor(child, GA_PARENT), GetDesktopWindow());
  EXPECT_EQ(hb().StackingOrder().size(), natives + 1);  // now a native window of its own
}

TEST_F(WindowPos, ParentPaintsBeforeChildrenItCovers) {
  HWND top = Make(WS_VISIBLE, 0, 0, 50, 50, nullptr, 0, PaintSolid(RGB(255, 0, 0)));
  HWND child = Make(WS_CHILD | WS_VISIBLE, 10, 10, 10, 10, top, 0, PaintSolid(RGB(0, 255, 0)));
  RunUntilIdle();
  ClearLog();
  // Without WS_CLIPCHILDREN the parent paints over its children, so they repaint after it.
  InvalidateRect(top, nullptr, TRUE);
  RunUntilIdle();
  EXPECT_EQ(Received(nullptr, {WM_PAINT}), (std::vector<UINT>{WM_PAINT, WM_PAINT}));
  std::vector<HWND> order;
  for (const Logged& l : log)
    if (l.msg == WM_PAINT) order.push_back(l.hwnd);
  EXPECT_EQ(order, (std::vector<HWND>{top, child}));
  EXPECT_EQ(ScreenRGB(15, 15), 0x00FF00u);
}

TEST_F(WindowPos, TransparentPixelsOfALayeredWindowLetClicksThrough) {
  HWND under = Make(WS_VISIBLE, 0, 0, 20, 20);
  HWND over = Make(WS_VISIBLE, 0, 0, 20, 20, nullptr, WS_EX_LAYERED);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = 20;
  bi.bmiHeader.biHeight = -20;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  auto* px = static_cast<uint32_t*>(bits);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) px[y * 20 + x] = x < 10 ? 0xFF112233u : 0;
  HDC mem = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(mem, bmp);
  POINT src{0, 0};
  SIZE size{20, 20};
  BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  ASSERT_TRUE(UpdateLayeredWindow(over, nullptr, nullptr, &size, mem, &src, 0, &bf, ULW_ALPHA));
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(bmp);
  EXPECT_EQ(WindowFromPoint(POINT{5, 5}), over);
  EXPECT_EQ(WindowFromPoint(POINT{15, 5}), under);
  EXPECT_EQ(ScreenRGB(5, 5), 0x112233u);
}

}  // namespace
}  // namespace lumoa::platform::test
