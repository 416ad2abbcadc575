// Layered windows: per-pixel alpha with a compositing manager, plain windows without one.
#include <gtest/gtest.h>

#include <cstdlib>

#include "support/x11_fixture.h"

namespace lumoa::x11test {
namespace {

int Channel(uint32_t rgb, int shift) { return static_cast<int>((rgb >> shift) & 0xFF); }

TEST_F(X11BackendTest, LayeredWindowBlendsPerPixelWithCompositorOnly) {
  ASSERT_FALSE(SelectionOwned("_NET_WM_CM_S0")) << "a compositor is already running";
  EXPECT_FALSE(backend->LayeredAvailable());

  auto cm = StartCompositor();
  ASSERT_TRUE(cm) << "xcompmgr did not start";
  // The back end notices the new owner by itself.
  PumpFor(*backend, 100);
  EXPECT_TRUE(backend->LayeredAvailable());

  ShowWindow(RECT{500, 100, 600, 200}, 0xFFFF0000);  // opaque red underneath
  NativeWindowParams p;
  p.layered = true;
  p.bounds = RECT{500, 100, 600, 200};
  const NativeId top = backend->CreateNativeWindow(p);
  backend->Show(top, NativeShow::Show);
  ASSERT_TRUE(PumpUntil(
      *backend, [&](const BackendEvent& e) { return e.type == BackendEventType::Expose && e.window == top; },
      3000));
  // Left half: blue at half coverage (premultiplied); right half: fully transparent.
  Pixels px(100, 100, 0);
  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 50; ++x) px.data[static_cast<size_t>(y) * 100 + x] = 0x80000080;
  }
  backend->Present(top, px.View(), RECT{0, 0, 100, 100});
  PumpFor(*backend, 400);  // the compositor repaints on its own schedule
  const std::string shot = SaveScreenshot("x11_layered_window");

  const uint32_t mixed = ScreenPixel(520, 150);
  EXPECT_NEAR(Channel(mixed, 16), 127, 3) << std::hex << mixed;  // red through half alpha
  EXPECT_NEAR(Channel(mixed, 0), 128, 3) << std::hex << mixed;   // plus the blue
  EXPECT_EQ(ScreenPixel(580, 150), 0xFF0000u);                   // transparent part

  StopAndWaitReleased(cm, "_NET_WM_CM_S0");
  PumpFor(*backend, 100);
  EXPECT_FALSE(backend->LayeredAvailable());
}

TEST_F(X11BackendTest, OpacityIsAskedOfTheCompositorAndClearedWhenOpaque) {
  const NativeId w = ShowWindow(RECT{10, 500, 60, 550}, 0xFF00FF00);
  backend->SetOpacity(w, 128);
  char id[32];
  std::snprintf(id, sizeof id, "0x%lx", static_cast<unsigned long>(w));
  std::string prop = RunTool({"xprop", "-id", id, "_NET_WM_WINDOW_OPACITY"});
  EXPECT_NE(prop.find("= 2155905152"), std::string::npos) << prop;  // 0x80808080
  backend->SetOpacity(w, 255);
  prop = RunTool({"xprop", "-id", id, "_NET_WM_WINDOW_OPACITY"});
  EXPECT_NE(prop.find("not found"), std::string::npos) << prop;
}

}  // namespace
}  // namespace lumoa::x11test
