// Shared fixture for the window-manager tests: a fresh headless back end per test, a window
// class whose procedure logs every message and can be given a handler per window.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/backend/headless/headless_backend.h"
#include "platform/user/window.h"
#include "platform/winapi.h"

namespace lumoa::platform::test {

struct Logged {
  HWND hwnd;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
};

using Handler = std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)>;

class UserTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A window of the logging class; parent null makes a top-level popup.
  HWND Make(DWORD style, int x, int y, int w, int h, HWND parent = nullptr, DWORD exStyle = 0,
            Handler handler = nullptr);
  void On(HWND hwnd, Handler h);
  // Messages of the kinds given (all kinds when empty) received by hwnd (all windows when null).
  std::vector<UINT> Received(HWND hwnd, std::vector<UINT> kinds = {}) const;
  int Count(HWND hwnd, UINT msg) const;
  void ClearLog() { log.clear(); }

  HeadlessBackend& hb() { return Headless(); }

  static std::vector<Logged> log;
  static std::map<HWND, Handler> handlers;
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
};

// 0xRRGGBB of a screen pixel as composed by the headless back end.
inline uint32_t ScreenRGB(int x, int y) { return Headless().ScreenPixel(x, y) & 0xFFFFFF; }

// Paints the client area of hwnd in one colour on WM_PAINT.
Handler PaintSolid(COLORREF color);

}  // namespace lumoa::platform::test
