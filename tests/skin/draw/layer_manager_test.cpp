#include "skin/draw/layer_manager.h"

#include <gtest/gtest.h>

#include "platform/backend/headless/headless_backend.h"
#include "skin/draw/ks_bitmap.h"

namespace {

using lumoa::platform::Headless;

struct LayerManager : ::testing::Test {
  TksBitmap picture{4, 4};
  TksBitmap mask{4, 4};

  void SetUp() override {
    Headless().SetLayeredAvailable(true);
    Headless().SetBackgroundColor(0xFFFFFF);
    picture.FillRect(RECT{0, 0, 4, 4}, 0xFF000000);
    mask.FillRect(RECT{0, 0, 4, 4}, 0xFFFFFFFF);
  }
  void TearDown() override { Headless().SetLayeredAvailable(true); }

  // Lets `ticks` fade steps of 25 ms pass.
  static void Run(int ticks) {
    for (int i = 0; i < ticks; ++i) {
      Headless().AdvanceClock(25);
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
  }
  static int ScreenBlue(int x, int y) { return Headless().ScreenPixel(x, y) & 0xFF; }
};

TEST_F(LayerManager, FadesInByATenthOfTheEndAlphaThenStops) {
  TksLayerManager layer(nullptr);
  layer.Show(10, 10, 200, &picture, &mask);
  ASSERT_TRUE(layer.Visible());
  ASSERT_NE(layer.LayerHandle(), nullptr);
  EXPECT_NE(GetWindowLongPtrW(layer.LayerHandle(), GWL_EXSTYLE) & WS_EX_TRANSPARENT, 0);
  EXPECT_EQ(layer.CurrentAlpha(), 0);
  EXPECT_EQ(ScreenBlue(11, 11), 255);  // shown at constant alpha 0
  Run(1);
  EXPECT_EQ(layer.CurrentAlpha(), 20);
  Run(12);
  EXPECT_EQ(layer.CurrentAlpha(), 200);
  EXPECT_FALSE(layer.Fading());
  EXPECT_LT(ScreenBlue(11, 11), 100);   // black at 200/255 over white
  EXPECT_EQ(ScreenBlue(20, 20), 255);   // outside the layer
  layer.Hide();
  EXPECT_FALSE(layer.Visible());
  EXPECT_EQ(layer.LayerHandle(), nullptr);
  EXPECT_EQ(ScreenBlue(11, 11), 255);
}

TEST_F(LayerManager, EndAlphaBelowTenStaysInvisible) {
  TksLayerManager layer(nullptr);
  layer.Show(10, 10, 9, &picture, &mask);
  ASSERT_TRUE(layer.Visible());
  Run(20);
  EXPECT_EQ(layer.CurrentAlpha(), 0);
  EXPECT_EQ(ScreenBlue(11, 11), 255);
}

TEST_F(LayerManager, ShowingAgainReplacesTheLayerAndMaskSetsAlpha) {
  TksLayerManager layer(nullptr);
  layer.Show(10, 10, 250, &picture, &mask);
  const HWND first = layer.LayerHandle();
  mask.FillRect(RECT{0, 0, 4, 4}, 0xFF000000);  // black mask: fully transparent
  layer.Show(30, 30, 250, &picture, &mask);
  EXPECT_NE(layer.LayerHandle(), nullptr);
  EXPECT_FALSE(IsWindow(first) && first != layer.LayerHandle());
  Run(12);
  EXPECT_EQ(ScreenBlue(31, 31), 255);
  EXPECT_EQ(ScreenBlue(11, 11), 255);
}

TEST_F(LayerManager, DoesNothingWithoutLayeredWindows) {
  Headless().SetLayeredAvailable(false);
  TksLayerManager layer(nullptr);
  layer.Show(10, 10, 200, &picture, &mask);
  EXPECT_FALSE(layer.Visible());
  EXPECT_EQ(layer.LayerHandle(), nullptr);
  layer.Hide();
}

}  // namespace
