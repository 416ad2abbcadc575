// The skinned combo box's drop-down on a real server: its own top-level window below the
// combo, the keyboard focus left with the main window, closed by a click elsewhere, a mouse
// pick reported once.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/backend/headless/headless_backend.h"
#include "platform/backend/x11/x11_backend.h"
#include "platform/user/window.h"
#include "skin/controls/combo_box.h"
#include "skin/data/compressed_skin.h"
#include "skins/stored_skins.h"
#include "support/x11_test_support.h"
#include "tests/support/shipped_skin.h"
#include "ui/forms.h"
#include "ui/streams.h"

namespace lumoa::x11test {
namespace {

constexpr int kLeft = 285, kTop = 211;
constexpr int kComboX = kLeft + 240, kComboY = kTop + 4;

void Xdo(const std::vector<std::string>& args) {
  std::vector<std::string> argv{"xdotool"};
  argv.insert(argv.end(), args.begin(), args.end());
  RunTool(argv);
}

class X11ComboTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "these tests need an X server (DISPLAY)";
    wm_ = StartWindowManager();
    ASSERT_TRUE(wm_) << "openbox did not start";
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
    form_->SetBounds(kLeft, kTop, 402, 55);
    combo_ = new TksSkinComboBox(form_);
    combo_->SetParent(form_);
    combo_->SetBounds(240, 4, 61, 21);
    static const char* items[] = {"问答", "购物", "机票", "汽车", "股票", "贴吧", "软件", "微博",
                                  "博客", "论坛", "游戏", "小说", "图书", "商业", "手机号"};
    for (const char* s : items) combo_->Items()->Add(WideToAnsi(Utf8ToWide(s)));
    combo_->SetItemIndex(0);
    combo_->SetDropDownCount(12);
    combo_->SetSkinData(data_);
    combo_->OnClick = [this](TObject*) { clicks_.push_back(combo_->ItemIndex()); };
    form_->Show();
    Settle(500);
  }
  void TearDown() override {
    if (Application) Application->DestroyComponents();
    platform::user::ResetUserState();
    if (wm_) StopAndWaitReleased(wm_, "WM_S0");
  }
  // Handles messages for a while (the server's events arrive meanwhile).
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
  unsigned long Xid(HWND h) { return static_cast<unsigned long>(platform::NativeWindowOf(h)); }
  unsigned long FocusedXid() {
    const std::string out = RunTool({"xdotool", "getwindowfocus"});
    return std::strtoul(out.c_str(), nullptr, 10);
  }
  void ClickScreen(int x, int y) {
    Xdo({"mousemove", std::to_string(x), std::to_string(y), "click", "1"});
  }

  std::unique_ptr<ChildProcess> wm_;
  TksSkinData* data_ = nullptr;
  TForm* form_ = nullptr;
  TksSkinComboBox* combo_ = nullptr;
  std::vector<int> clicks_;
};

TEST_F(X11ComboTest, DropDownIsItsOwnWindowKeepsTheFocusAndClosesOnAClickElsewhere) {
  // Into the main window first, as the user would be.
  ClickScreen(kLeft + 20, kTop + 45);
  ASSERT_TRUE(WaitFor([&] { return form_->Active(); }));
  const unsigned long main = Xid(form_->Handle());

  ClickScreen(kComboX + 30, kComboY + 10);
  ASSERT_TRUE(WaitFor([&] { return combo_->DroppedDown(); }));
  const unsigned long popup = Xid(combo_->PopupList()->Handle());
  ASSERT_NE(popup, 0u);
  EXPECT_NE(popup, main);
  ASSERT_TRUE(WaitFor([&] { return QueryWindow(popup).viewable; }));
  const WinInfo info = QueryWindow(popup);
  EXPECT_EQ(info.x, kComboX);
  EXPECT_EQ(info.y, kComboY + 21);
  EXPECT_EQ(info.width, 61);
  EXPECT_EQ(info.height, 12 * 19 + 6);
  Settle(200);
  EXPECT_EQ(FocusedXid(), main);
  EXPECT_TRUE(combo_->Focused());
  EXPECT_TRUE(form_->Active());
  SaveScreenshot("x11_combo_open");

  // A click on the main window beside the combo closes the list without a pick.
  ClickScreen(kLeft + 20, kTop + 45);
  ASSERT_TRUE(WaitFor([&] { return !combo_->DroppedDown(); }));
  EXPECT_TRUE(WaitFor([&] { return !QueryWindow(popup).viewable; }));
  EXPECT_TRUE(clicks_.empty());
  EXPECT_EQ(combo_->ItemIndex(), 0);

  // A click outside every window of the program closes it as well.
  ClickScreen(kComboX + 30, kComboY + 10);
  ASSERT_TRUE(WaitFor([&] { return combo_->DroppedDown(); }));
  ClickScreen(40, 700);
  EXPECT_TRUE(WaitFor([&] { return !combo_->DroppedDown(); }));
  EXPECT_TRUE(clicks_.empty());
}

TEST_F(X11ComboTest, MousePickFiresOneClick) {
  ClickScreen(kComboX + 30, kComboY + 10);
  ASSERT_TRUE(WaitFor([&] { return combo_->DroppedDown(); }));
  const unsigned long popup = Xid(combo_->PopupList()->Handle());
  ASSERT_TRUE(WaitFor([&] { return QueryWindow(popup).viewable; }));
  // The fourth row: frame 3, rows of 19.
  const int y = kComboY + 21 + 3 + 19 * 3 + 9;
  Xdo({"mousemove", std::to_string(kComboX + 15), std::to_string(y)});
  ASSERT_TRUE(WaitFor([&] { return combo_->ItemIndex() == 3; }));
  EXPECT_TRUE(clicks_.empty());
  Xdo({"click", "1"});
  ASSERT_TRUE(WaitFor([&] { return !combo_->DroppedDown(); }));
  Settle(200);
  EXPECT_EQ(clicks_, (std::vector<int>{3}));
  EXPECT_FALSE(QueryWindow(popup).viewable);
  EXPECT_EQ(combo_->Text(), WideToAnsi(Utf8ToWide("汽车")));
}

}  // namespace
}  // namespace lumoa::x11test
