// The skin-change broadcast reaching real forms on the headless back end.
#include <gtest/gtest.h>

#include "platform/backend/headless/headless_backend.h"
#include "platform/user/window.h"
#include "skin/data/skin_data.h"
#include "skin_fixture.h"
#include "ui/forms.h"

namespace {

class SkinDataForms : public ::testing::Test {
 protected:
  void SetUp() override {
    lumoa::platform::user::ResetUserState();
    lumoa::platform::SetBackend(std::make_unique<lumoa::platform::HeadlessBackend>());
    Application->Free();
    Screen->Free();
    Application = new TApplication(nullptr);
    Screen = new TScreen(nullptr);
  }
  void TearDown() override {
    Application->DestroyComponents();
    lumoa::platform::user::ResetUserState();
  }
  // A shown form that logs every skin message it receives as "<tag>:<message>".
  TForm* MakeForm(const std::string& tag) {
    auto* form = new TForm(Application);
    form->SetBorderStyle(bsNone);
    form->SetBounds(10, 10, 50, 50);
    form->Show();
    Application->ProcessMessages();
    for (UINT msg : {WM_BEFORECHANGESKINDATA, WM_CHANGESKINDATA, WM_AFTERCHANGESKINDATA}) {
      form->SetMessageHandler(msg, [this, tag](TMessage& m) {
        EXPECT_EQ(m.LParam, 1000);
        Log.push_back(tag + ":" + std::to_string(m.Msg - WM_BEFORECHANGESKINDATA));
      });
    }
    return form;
  }
  std::vector<std::string> Log;
};

TEST_F(SkinDataForms, OwnerFormFirstWithoutLayeredBorders) {
  TForm* a = MakeForm("a");
  MakeForm("b");  // created last, so topmost
  auto* data = new TksSkinData(a);
  data->SetShowLayeredBorders(false);
  Log.clear();
  skin_test::TempDir dir;
  TComponentPtr<TksCompressedStoredSkin> stored(new TksCompressedStoredSkin(nullptr));
  stored->SetCompressedData(skin_test::ImportStandardSkin(dir));
  data->SetCompressedStoredSkin(stored.get());
  EXPECT_EQ(Log, (std::vector<std::string>{"a:0", "b:0", "a:1", "b:1", "a:2", "b:2"}));

  // With layered borders on (and no layer frame picture) screen order applies.
  data->SetShowLayeredBorders(true);
  Log.clear();
  data->BroadcastSkinMessage(WM_CHANGESKINDATA);
  EXPECT_EQ(Log, (std::vector<std::string>{"b:1", "a:1"}));
}

}  // namespace
