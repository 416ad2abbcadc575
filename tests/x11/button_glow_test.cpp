// The skinned button's glow on a real server with a compositing manager: hovering shows a
// layered window around the button whose pixels blend with what lies beneath, and it goes
// when the pointer leaves.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/backend/headless/headless_backend.h"
#include "platform/backend/x11/x11_backend.h"
#include "platform/user/window.h"
#include "skin/controls/button.h"
#include "skin/data/compressed_skin.h"
#include "skin/draw/layer_manager.h"
#include "skins/stored_skins.h"
#include "support/x11_test_support.h"
#include "tests/support/shipped_skin.h"
#include "ui/forms.h"
#include "ui/streams.h"

namespace lumoa::x11test {
namespace {

constexpr int kLeft = 300, kTop = 300;
constexpr int kButtonX = kLeft + 60, kButtonY = kTop + 30;  // the button's screen position

int Channel(uint32_t rgb, int shift) { return static_cast<int>((rgb >> shift) & 0xFF); }

class X11ButtonGlowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "these tests need an X server (DISPLAY)";
    wm_ = StartWindowManager();
    ASSERT_TRUE(wm_) << "openbox did not start";
    cm_ = StartCompositor();
    ASSERT_TRUE(cm_) << "xcompmgr did not start";
    platform::user::ResetUserState();
    platform::SetBackend(platform::CreateX11Backend());
    Application->Free();
    Screen->Free();
    Application = new TApplication(nullptr);
    Screen = new TScreen(nullptr);

    auto* stored = new TksCompressedStoredSkin(Application);
    stored->SetCompressedData(lumoa::test::ShippedSkinStream(0));
    data_ = new TksSkinData(Application);
    data_->SetCompressedStoredSkin(stored);

    form_ = new TForm(Application);
    form_->SetBorderStyle(bsNone);
    form_->SetBounds(kLeft, kTop, 180, 80);
    form_->SetColor(RGB(40, 44, 52));
    button_ = new TksSkinButton(form_);
    button_->SetParent(form_);
    button_->SetBounds(60, 30, 59, 17);
    button_->SetCaption(WideToAnsi(Utf8ToWide("搜索")));
    button_->SetSkinData(data_);
    form_->OnMouseMove = [this](TObject*, TShiftState, int x, int y) { ++formMoves_; lastX_ = x; lastY_ = y; };
    button_->OnMouseEnter = [this](TObject*) { ++enters_; };
    button_->OnMouseLeave = [this](TObject*) { ++leaves_; };
    form_->Show();
    MovePointer(kLeft + 170, kTop + 75);
    Settle(500);
  }
  void TearDown() override {
    if (Application) Application->DestroyComponents();
    platform::user::ResetUserState();
    if (cm_) StopAndWaitReleased(cm_, "_NET_WM_CM_S0");
    if (wm_) StopAndWaitReleased(wm_, "WM_S0");
  }
  void Settle(int ms) {
    for (int t = 0; t < ms; t += 10) {
      Application->ProcessMessages();
      SleepMs(10);
    }
    Application->ProcessMessages();
  }
  template <class Pred>
  bool WaitFor(Pred pred, int ms = 3000) {
    for (int t = 0; t < ms; t += 10) {
      Application->ProcessMessages();
      if (pred()) return true;
      SleepMs(10);
    }
    return pred();
  }
  static void MovePointer(int x, int y) {
    RunTool({"xdotool", "mousemove", std::to_string(x), std::to_string(y)});
  }
  // A row of screen pixels left of the button, from 12 pixels out up to its edge.
  static std::vector<uint32_t> LeftOfButton() {
    std::vector<uint32_t> row;
    for (int x = kButtonX - 12; x < kButtonX; ++x) row.push_back(ScreenPixel(x, kButtonY + 10));
    return row;
  }

  std::unique_ptr<ChildProcess> wm_, cm_;
  TksSkinData* data_ = nullptr;
  TForm* form_ = nullptr;
  TksSkinButton* button_ = nullptr;
  int formMoves_ = 0, enters_ = 0, leaves_ = 0, lastX_ = 0, lastY_ = 0;
};

TEST_F(X11ButtonGlowTest, HoverShowsABlendedGlowAroundTheButtonUntilThePointerLeaves) {
  ASSERT_TRUE(WaitFor([] { return TksLayerManager::LayeredWindowsAvailable(); }))
      << "the back end did not see the compositor";
  ASSERT_EQ(button_->Height(), 21);
  const std::vector<uint32_t> before = LeftOfButton();
  for (uint32_t p : before) ASSERT_EQ(p, 0x282C34u) << std::hex << p;  // the form's colour

  MovePointer(kButtonX + 29, kButtonY + 10);
  TksLayerManager* glow = button_->GlowLayer();
  ASSERT_TRUE(WaitFor([&] { return glow->Visible() && !glow->Fading(); }))
      << "hot " << button_->MouseIn() << " shown " << glow->Visible() << " alpha " << int(glow->CurrentAlpha()) << " moves " << formMoves_ << " enters " << enters_ << " leaves " << leaves_ << " layered " << TksLayerManager::LayeredWindowsAvailable() << " at " << lastX_ << "," << lastY_;
  const unsigned long xid = static_cast<unsigned long>(platform::NativeWindowOf(glow->LayerHandle()));
  ASSERT_TRUE(WaitFor([&] { return QueryWindow(xid).viewable; }));
  const WinInfo info = QueryWindow(xid);
  EXPECT_EQ(info.x, kButtonX - 13);
  EXPECT_EQ(info.y, kButtonY - 11);
  EXPECT_EQ(info.width, 102 - 17);
  EXPECT_EQ(info.height, 43);
  Settle(400);  // the compositor repaints on its own schedule
  SaveScreenshot("x11_button_glow");

  // Per-pixel alpha: the halo brightens the form beneath gradually towards the button, never
  // replacing it with one flat colour.
  const std::vector<uint32_t> lit = LeftOfButton();
  int brighter = 0, distinct = 0;
  for (size_t i = 0; i < lit.size(); ++i) {
    brighter += Channel(lit[i], 0) > Channel(before[i], 0) + 3;
    if (i && lit[i] != lit[i - 1]) ++distinct;
  }
  EXPECT_GE(brighter, 8) << "no glow left of the button";
  EXPECT_GE(distinct, 5) << "the glow has no soft edge";
  EXPECT_GT(Channel(lit.back(), 0), Channel(lit.front(), 0)) << "brightest next to the button";
  // Far outside the halo the form is untouched.
  EXPECT_EQ(ScreenPixel(kButtonX - 40, kButtonY + 10), 0x282C34u);

  MovePointer(kLeft + 170, kTop + 75);
  ASSERT_TRUE(WaitFor([&] { return !glow->Visible(); }));
  EXPECT_TRUE(WaitFor([&] { return !QueryWindow(xid).viewable; }, 1000));
  Settle(400);
  EXPECT_EQ(LeftOfButton(), before);
}

}  // namespace
}  // namespace lumoa::x11test
