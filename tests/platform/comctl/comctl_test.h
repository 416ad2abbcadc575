// Fixture for the standard window classes: a visible top-level parent of the logging test
// class, input typed through the headless back end, and WM_COMMAND codes the parent received.
#pragma once

#include <string>
#include <vector>

#include "platform/user/user_test.h"

namespace lumoa::platform::test {

class ComctlTest : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    parent = Make(WS_VISIBLE, 0, 0, 400, 300, nullptr, 0, PaintSolid(RGB(200, 0, 0)));
    RunUntilIdle();
  }

  HWND Child(LPCWSTR cls, DWORD style, int x, int y, int w, int h, LPCWSTR text = u"",
             int id = 7) {
    HWND hwnd = CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                                HMENU(intptr_t(id)), nullptr, nullptr);
    RunUntilIdle();
    return hwnd;
  }

  // Types ASCII text key by key (letters by their virtual key), then runs the queue.
  void Type(const std::u16string& text) {
    for (char16_t c : text) {
      UINT vk = c >= u'a' && c <= u'z' ? UINT(c - 32) : UINT(c);
      hb().PressKey(vk, std::u16string(1, c));
    }
    RunUntilIdle();
  }

  // Presses key with the given modifiers held (VK_SHIFT, VK_CONTROL).
  void Chord(std::vector<UINT> mods, UINT key) {
    for (UINT m : mods) hb().KeyDown(m);
    hb().PressKey(key);
    for (auto it = mods.rbegin(); it != mods.rend(); ++it) hb().KeyUp(*it);
    RunUntilIdle();
  }
  void Key(UINT key) { Chord({}, key); }

  // Notification codes of WM_COMMAND messages the parent received.
  std::vector<int> Commands() const {
    std::vector<int> out;
    for (const Logged& l : log)
      if (l.hwnd == parent && l.msg == WM_COMMAND) out.push_back(HIWORD(l.wParam));
    return out;
  }

  std::u16string Text(HWND hwnd) const {
    std::u16string s(size_t(GetWindowTextLengthW(hwnd)) + 1, u'\0');
    s.resize(size_t(GetWindowTextW(hwnd, s.data(), int(s.size()))));
    return s;
  }

  // Screen point of a client point of hwnd.
  static POINT Screen(HWND hwnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    return p;
  }

  // 0xRRGGBB of the parent's presented pixel at client (x, y) (the parent is at 0, 0).
  uint32_t Pixel(int x, int y) const {
    return Headless().WindowPixel(user::Get(parent)->native, x, y) & 0xFFFFFF;
  }

  HWND parent = nullptr;
};

}  // namespace lumoa::platform::test
