// Shared pieces of the back-end tests: a back end per test and solid-colour windows.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "platform/backend/x11/x11_backend.h"
#include "support/x11_test_support.h"

namespace lumoa::x11test {

using lumoa::platform::NativeId;
using lumoa::platform::NativeShow;
using lumoa::platform::NativeWindowParams;
using lumoa::platform::PixelView;

// Window pixels of one colour (0xAARRGGBB, stored BGRA).
struct Pixels {
  std::vector<uint32_t> data;
  int width, height;
  Pixels(int w, int h, uint32_t argb) : data(static_cast<size_t>(w) * h, argb), width(w), height(h) {}
  PixelView View() const {
    return PixelView{reinterpret_cast<const uint8_t*>(data.data()), width, height, width * 4};
  }
};

class X11BackendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "these tests need an X server (DISPLAY)";
    backend = lumoa::platform::CreateX11Backend();
  }

  // A shown popup of one colour; answers every Expose as a real client would until the
  // window has been quiet for a moment.
  NativeId ShowWindow(RECT r, uint32_t argb, bool activate = false,
                      NativeWindowParams p = NativeWindowParams{}) {
    p.bounds = r;
    const NativeId w = backend->CreateNativeWindow(p);
    EXPECT_NE(w, 0u);
    backend->Show(w, activate ? NativeShow::ShowActive : NativeShow::Show);
    Pixels px(r.right - r.left, r.bottom - r.top, argb);
    bool exposed = false;
    for (int quiet = 0; quiet < 3;) {
      bool any = false;
      backend->WaitEvents(50, [&](const BackendEvent& e) {
        if (e.type != BackendEventType::Expose || e.window != w) return;
        exposed = any = true;
        backend->Present(w, px.View(), e.rect);
      });
      quiet = any || !exposed ? 0 : quiet + 1;
      if (!exposed && ++waited_ > 60) break;  // 3 s without being shown
    }
    waited_ = 0;
    EXPECT_TRUE(exposed);
    return w;
  }

 private:
  int waited_ = 0;

 public:
  std::unique_ptr<lumoa::platform::Backend> backend;
};

}  // namespace lumoa::x11test
