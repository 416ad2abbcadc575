#include "user_test.h"

#include <algorithm>

namespace lumoa::platform::test {

std::vector<Logged> UserTest::log;
std::map<HWND, Handler> UserTest::handlers;

LRESULT CALLBACK UserTest::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  log.push_back({hwnd, msg, wParam, lParam});
  auto it = handlers.find(hwnd);
  if (it != handlers.end() && it->second) {
    Handler h = it->second;  // the handler may replace itself
    LRESULT r = 0;
    if (h(hwnd, msg, wParam, lParam, r)) return r;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void UserTest::SetUp() {
  user::ResetUserState();
  SetBackend(std::make_unique<HeadlessBackend>());
  log.clear();
  handlers.clear();
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = Proc;
  wc.cbWndExtra = 16;
  wc.lpszClassName = u"LumoaTest";
  wc.hbrBackground = HBRUSH(uintptr_t(COLOR_WINDOW + 1));
  UnregisterClassW(u"LumoaTest", nullptr);
  ASSERT_TRUE(RegisterClassExW(&wc));
}

void UserTest::TearDown() {
  user::ResetUserState();
  handlers.clear();
  UnregisterClassW(u"LumoaTest", nullptr);
}

HWND UserTest::Make(DWORD style, int x, int y, int w, int h, HWND parent, DWORD exStyle,
                    Handler handler) {
  if (!parent && !(style & WS_CHILD)) style |= WS_POPUP;
  // Register the handler before creation so that it sees WM_CREATE: keyed by the next handle.
  HWND hwnd = CreateWindowExW(exStyle, u"LumoaTest", u"test", style, x, y, w, h, parent,
                              nullptr, nullptr, nullptr);
  if (hwnd && handler) handlers[hwnd] = std::move(handler);
  return hwnd;
}

void UserTest::On(HWND hwnd, Handler h) { handlers[hwnd] = std::move(h); }

std::vector<UINT> UserTest::Received(HWND hwnd, std::vector<UINT> kinds) const {
  std::vector<UINT> out;
  for (const Logged& l : log) {
    if (hwnd && l.hwnd != hwnd) continue;
    if (!kinds.empty() && std::find(kinds.begin(), kinds.end(), l.msg) == kinds.end()) continue;
    out.push_back(l.msg);
  }
  return out;
}

int UserTest::Count(HWND hwnd, UINT msg) const {
  return int(std::count_if(log.begin(), log.end(),
                           [&](const Logged& l) { return l.hwnd == hwnd && l.msg == msg; }));
}

Handler PaintSolid(COLORREF color) {
  return [color](HWND hwnd, UINT msg, WPARAM, LPARAM, LRESULT& r) {
    if (msg != WM_PAINT) return false;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    HBRUSH b = CreateSolidBrush(color);
    RECT rc;
    GetClientRect(hwnd, &rc);
    FillRect(dc, &rc, b);
    DeleteObject(b);
    EndPaint(hwnd, &ps);
    r = 0;
    return true;
  };
}

}  // namespace lumoa::platform::test
