// A window procedure may destroy its own window from any message, the creation sequence
// included; the window manager must notice and stop touching it (clean under the sanitizers).
#include <algorithm>
#include <set>
#include <vector>

#include "platform/trace.h"
#include "user_test.h"

namespace lumoa::platform::test {
namespace {

UINT gDestroyOn = 0;
std::vector<UINT> gSeen;
int gDestroyMessages = 0, gNcDestroyMessages = 0;

LRESULT CALLBACK SelfDestroying(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  gSeen.push_back(msg);
  if (msg == WM_DESTROY) ++gDestroyMessages;
  if (msg == WM_NCDESTROY) ++gNcDestroyMessages;
  if (msg == gDestroyOn) {
    gDestroyOn = 0;  // once
    DestroyWindow(hwnd);
    return msg == WM_NCCREATE ? FALSE : 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// Paints and other generated messages.
void Drain() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
}

class CreationLifetime : public UserTest, public ::testing::WithParamInterface<UINT> {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    WNDCLASSW wc{};
    wc.lpfnWndProc = SelfDestroying;
    wc.lpszClassName = reinterpret_cast<LPCWSTR>(u"LumoaSelfDestroying");
    RegisterClassW(&wc);
    gSeen.clear();
    gDestroyMessages = gNcDestroyMessages = 0;
  }
  HWND Create(HWND parent = nullptr) {
    const DWORD style = WS_VISIBLE | (parent ? WS_CHILD : WS_OVERLAPPEDWINDOW);
    return CreateWindowExW(0, reinterpret_cast<LPCWSTR>(u"LumoaSelfDestroying"), nullptr, style, 10, 10, 120,
                           80, parent, nullptr, nullptr, nullptr);
  }
};

// Everything a visible top-level window hears while it is created and shown.
const UINT kCreationMessages[] = {WM_GETMINMAXINFO, WM_NCCREATE,     WM_NCCALCSIZE,         WM_CREATE,
                                  WM_SIZE,          WM_MOVE,         WM_SHOWWINDOW,         WM_WINDOWPOSCHANGING,
                                  WM_WINDOWPOSCHANGED, WM_NCACTIVATE, WM_ACTIVATE,          WM_ACTIVATEAPP,
                                  WM_SETFOCUS,      WM_NCPAINT,      WM_ERASEBKGND,         WM_PAINT};

TEST_F(CreationLifetime, EveryMessageOfTheCreationSequenceIsCovered) {
  HWND w = Create();
  ASSERT_NE(w, nullptr);
  Drain();
  const std::set<UINT> covered(std::begin(kCreationMessages), std::end(kCreationMessages));
  for (UINT m : gSeen) EXPECT_TRUE(covered.count(m)) << "not covered: " << MessageName(m);
  DestroyWindow(w);
}

TEST_P(CreationLifetime, DestroyedFromTheMessageTheWindowIsGoneOnce) {
  gDestroyOn = GetParam();
  HWND w = Create();
  Drain();
  if (gDestroyOn != 0) {
    // Not sent on this path: nothing to destroy from, and the window lives on.
    ASSERT_NE(w, nullptr);
    DestroyWindow(w);
  }
  EXPECT_TRUE(w == nullptr || !IsWindow(w)) << MessageName(GetParam());
  EXPECT_EQ(gNcDestroyMessages, 1) << MessageName(GetParam());
  EXPECT_LE(gDestroyMessages, 1) << MessageName(GetParam());
  // Nothing reaches the procedure after the window's last message.
  const auto last = std::find(gSeen.begin(), gSeen.end(), UINT(WM_NCDESTROY));
  ASSERT_NE(last, gSeen.end());
  EXPECT_EQ(last + 1, gSeen.end()) << "a message after WM_NCDESTROY, destroyed from " << MessageName(GetParam());
}

TEST_P(CreationLifetime, AChildDestroyedFromTheMessageLeavesItsParentIntact) {
  HWND parent = Make(WS_VISIBLE, 0, 0, 300, 200);
  gDestroyOn = GetParam();
  HWND child = Create(parent);
  Drain();
  if (child && IsWindow(child)) DestroyWindow(child);
  EXPECT_TRUE(IsWindow(parent));
  EXPECT_EQ(GetWindow(parent, GW_CHILD), nullptr);
  EXPECT_EQ(gNcDestroyMessages, 1) << MessageName(GetParam());
  DestroyWindow(parent);
}

INSTANTIATE_TEST_SUITE_P(EachCreationMessage, CreationLifetime, ::testing::ValuesIn(kCreationMessages),
                         [](const ::testing::TestParamInfo<UINT>& info) { return MessageName(info.param); });

}  // namespace
}  // namespace lumoa::platform::test
