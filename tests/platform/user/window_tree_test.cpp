#include "support/message_sequence.h"
#include "user_test.h"

namespace lumoa::platform::test {
namespace {

using namespace lumoa::test;

class WindowTree : public UserTest {};

TEST_F(WindowTree, CreationSendsNcCreateCreateSizeMoveInOrderAndFailsCleanly) {
  MessageRecorder rec;
  HWND top = Make(WS_VISIBLE, 10, 20, 100, 50);
  ASSERT_TRUE(top);
  EXPECT_MESSAGES(rec, {{WM_NCCREATE, sent},
                        {WM_NCCALCSIZE, sent | wparam, FALSE},
                        {WM_CREATE, sent},
                        {WM_SIZE, sent | wparam | lparam, SIZE_RESTORED, MAKELPARAM(100, 50)},
                        {WM_MOVE, sent | lparam, 0, MAKELPARAM(10, 20)},
                        {WM_SHOWWINDOW, sent | wparam, TRUE},
                        // Shown and activated: the first window of the application.
                        {WM_WINDOWPOSCHANGING, sent},
                        {WM_ACTIVATEAPP, sent | wparam, TRUE},
                        {WM_WINDOWPOSCHANGING, sent},
                        {WM_WINDOWPOSCHANGED, sent},
                        {WM_NCACTIVATE, sent | wparam, TRUE},
                        {WM_ACTIVATE, sent | wparam, WA_ACTIVE},
                        {WM_SETFOCUS, sent | defproc},
                        {WM_WINDOWPOSCHANGED, sent}});
  // A window whose WM_CREATE answers -1 is destroyed and creation fails.
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    return m == WM_CREATE ? -1 : DefWindowProcW(h, m, w, l);
  };
  wc.lpszClassName = u"Refuses";
  ASSERT_TRUE(RegisterClassExW(&wc));
  EXPECT_EQ(CreateWindowExW(0, u"Refuses", u"", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr,
                            nullptr),
            nullptr);
  EXPECT_FALSE(RegisterClassExW(&wc));  // already there
  EXPECT_EQ(GetLastError(), DWORD(ERROR_CLASS_ALREADY_EXISTS));
  EXPECT_TRUE(UnregisterClassW(u"refuses", nullptr));  // names ignore case
  EXPECT_EQ(CreateWindowExW(0, u"Missing", u"", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr,
                            nullptr),
            nullptr);
  EXPECT_EQ(CreateWindowExW(0, u"LumoaTest", u"", WS_CHILD, 0, 0, 5, 5, nullptr, nullptr,
                            nullptr, nullptr),
            nullptr);  // a child needs a parent
}

TEST_F(WindowTree, DestroySendsDestroyParentFirstAndNcDestroyChildrenFirst) {
  HWND top = Make(0, 0, 0, 100, 100);
  HWND a = Make(WS_CHILD, 0, 0, 10, 10, top);
  HWND b = Make(WS_CHILD, 0, 0, 10, 10, a);
  HWND owned = Make(0, 0, 0, 10, 10, top);  // an owned popup
  EXPECT_EQ(GetWindow(owned, GW_OWNER), top);
  ClearLog();
  EXPECT_TRUE(DestroyWindow(top));
  std::vector<std::pair<HWND, UINT>> seq;
  for (const Logged& l : log)
    if (l.msg == WM_DESTROY || l.msg == WM_NCDESTROY) seq.push_back({l.hwnd, l.msg});
  const std::vector<std::pair<HWND, UINT>> want{
      {owned, WM_DESTROY}, {owned, WM_NCDESTROY}, {top, WM_DESTROY}, {a, WM_DESTROY},
      {b, WM_DESTROY},     {b, WM_NCDESTROY},     {a, WM_NCDESTROY}, {top, WM_NCDESTROY}};
  EXPECT_EQ(seq, want);
  for (HWND h : {top, a, b, owned}) EXPECT_FALSE(IsWindow(h));
  EXPECT_FALSE(DestroyWindow(top));
  EXPECT_EQ(Headless().StackingOrder().size(), 0u);  // native windows went with them
}

TEST_F(WindowTree, TreeQueriesFollowZOrderAndOwnership) {
  HWND top = Make(0, 0, 0, 100, 100);
  HWND first = Make(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top);
  HWND second = Make(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top);
  HWND grand = Make(WS_CHILD, 0, 0, 5, 5, second);
  // Children are created below their older siblings: creation order is z-order.
  EXPECT_EQ(GetWindow(top, GW_CHILD), first);
  EXPECT_EQ(GetWindow(first, GW_HWNDNEXT), second);
  EXPECT_EQ(GetWindow(second, GW_HWNDPREV), first);
  EXPECT_EQ(GetParent(grand), second);
  EXPECT_EQ(GetAncestor(grand, GA_ROOT), top);
  EXPECT_EQ(GetAncestor(top, GA_PARENT), GetDesktopWindow());
  EXPECT_TRUE(IsChild(top, grand));
  EXPECT_FALSE(IsChild(grand, top));
  EXPECT_FALSE(IsWindowVisible(grand));
  SetWindowPos(second, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetWindow(top, GW_CHILD), second);
  std::vector<HWND> all;
  EnumChildWindows(
      top, [](HWND h, LPARAM p) { reinterpret_cast<std::vector<HWND>*>(p)->push_back(h); return TRUE; },
      LPARAM(&all));
  EXPECT_EQ(all, (std::vector<HWND>{second, grand, first}));
  SetWindowTextW(top, u"Finder");
  EXPECT_EQ(FindWindowW(u"LumoaTest", u"finder"), top);
  EXPECT_EQ(SetParent(grand, first), second);
  EXPECT_EQ(GetParent(grand), first);
}

LRESULT CALLBACK Outer(HWND h, UINT m, WPARAM w, LPARAM l);
WNDPROC gInner = nullptr;
LRESULT CALLBACK Outer(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_USER + 1) return 10 + CallWindowProcW(gInner, h, m, w, l);
  return CallWindowProcW(gInner, h, m, w, l);
}

TEST_F(WindowTree, SubclassingChainsLongsPropsAndText) {
  HWND top = Make(0, 0, 0, 50, 50, nullptr, 0, [](HWND, UINT m, WPARAM, LPARAM, LRESULT& r) {
    if (m != WM_USER + 1) return false;
    r = 1;
    return true;
  });
  gInner = WNDPROC(SetWindowLongPtrW(top, GWLP_WNDPROC, LONG_PTR(Outer)));
  EXPECT_EQ(gInner, &UserTest::Proc);
  EXPECT_EQ(SendMessageW(top, WM_USER + 1, 0, 0), 11);
  EXPECT_EQ(SetWindowLongPtrW(top, GWLP_WNDPROC, LONG_PTR(gInner)), LONG_PTR(Outer));
  EXPECT_EQ(SendMessageW(top, WM_USER + 1, 0, 0), 1);

  SetWindowLongPtrW(top, 8, 0x1234);  // extra window bytes
  EXPECT_EQ(GetWindowLongPtrW(top, 8), 0x1234);
  EXPECT_EQ(GetWindowLongPtrW(top, 12), 0);  // past the 16 extra bytes
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_INDEX));
  SetWindowLongPtrW(top, GWLP_USERDATA, 77);
  EXPECT_EQ(GetWindowLongPtrW(top, GWLP_USERDATA), 77);
  {
    MessageRecorder styles({top});
    SetWindowLongPtrW(top, GWL_EXSTYLE, WS_EX_TOOLWINDOW);
    EXPECT_MESSAGES(styles, {{WM_STYLECHANGING, sent | wparam, WPARAM(GWL_EXSTYLE)},
                             {WM_STYLECHANGED, sent | wparam, WPARAM(GWL_EXSTYLE)}});
  }

  EXPECT_TRUE(SetPropW(top, u"k", HANDLE(5)));
  const ATOM atom = GlobalAddAtomW(u"k2");
  EXPECT_TRUE(SetPropW(top, MAKEINTATOM(atom), HANDLE(6)));
  EXPECT_EQ(GetPropW(top, u"k2"), HANDLE(6));  // an atom and its name are the same key
  EXPECT_EQ(RemovePropW(top, u"k"), HANDLE(5));
  EXPECT_EQ(GetPropW(top, u"k"), nullptr);
  GlobalDeleteAtom(atom);

  SetWindowTextW(top, u"hello");
  EXPECT_EQ(GetWindowTextLengthW(top), 5);
  WCHAR buf[4];
  EXPECT_EQ(GetWindowTextW(top, buf, 4), 3);  // truncated and terminated
  EXPECT_EQ(std::u16string(buf), u"hel");
}

}  // namespace
}  // namespace lumoa::platform::test
