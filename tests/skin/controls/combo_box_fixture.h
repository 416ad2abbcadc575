// The main form's category box on the headless back end: skin 0, built inside the loading
// protocol with the stored values of the launcher's layout.
#pragma once

#include <string>
#include <vector>

#include "skin/controls/combo_box.h"
#include "skin/form/skin_fixture.h"
#include "ui/reader.h"

namespace lumoa::skin::test {

inline const std::vector<const char*>& Categories() {
  static const std::vector<const char*> items = {"问答", "购物", "机票", "汽车", "股票",
                                                 "贴吧", "软件", "微博", "博客", "论坛",
                                                 "游戏", "小说", "图书", "商业", "手机号"};
  return items;
}

inline AnsiString Gbk(const char* utf8) { return WideToAnsi(Utf8ToWide(utf8)); }

class ComboTest : public SkinTest {
 protected:
  void SetUp() override {
    SkinTest::SetUp();
    hb().SetScreen(RECT{0, 0, 1024, 768}, RECT{0, 0, 1024, 740});
  }

  // A shown form at (x, y) holding the launcher's combo (skin `skin`, `items` of the stored
  // list) at 240, 4, built as the stored layout builds it.
  TksSkinComboBox* MakeCombo(int skin = 0, int x = 100, int y = 100, size_t items = 15) {
    LoadSkin(skin);
    form_ = MakeForm(x, y, 402, 55);
    TReader reader(form_);
    combo_ = reader.CreateOwned<TksSkinComboBox>(form_, "cbb1");
    combo_->SetParent(form_);
    combo_->SetBounds(240, 4, 61, 21);
    combo_->SetSkinDataName("combobox");
    combo_->SetStyle(kscbFixedStyle);
    for (size_t i = 0; i < items; ++i) combo_->Items()->Add(Gbk(Categories()[i]));
    combo_->SetItemIndex(0);
    combo_->SetText(Gbk("问答"));
    combo_->SetDropDownCount(12);
    combo_->AutoComplete = true;
    combo_->SetListBoxDefaultItemHeight(30);
    combo_->Font()->SetName("Arial");
    combo_->Font()->SetHeight(14);
    combo_->DefaultFont()->Assign(combo_->Font());
    combo_->SetUseSkinFont(true);
    combo_->SetListBoxUseSkinFont(true);
    combo_->SetListBoxUseSkinItemHeight(true);
    combo_->OnClick = [this](TObject*) { clicks_.push_back(combo_->ItemIndex()); };
    combo_->SetSkinData(data());
    reader.Finish();
    Pump();
    return combo_;
  }

  // Focus on the combo, as after a click into it.
  void Focus() {
    combo_->SetFocus();
    Pump();
  }
  void Key(UINT vk) {
    hb().PressKey(vk);
    Pump();
  }
  // A letter key with its text.
  void Type(char16_t letter) {
    hb().PressKey(UINT(letter >= u'a' && letter <= u'z' ? letter - u'a' + 'A' : letter),
                  std::u16string(1, letter));
    Pump();
  }
  TPoint ListPoint(int x, int y) { return combo_->PopupList()->ListBox()->ClientToScreen(Point(x, y)); }
  void MoveTo(TPoint screen) {
    hb().MoveMouse(screen.x, screen.y);
    Pump();
  }
  RECT PopupRect() {
    RECT r{};
    GetWindowRect(combo_->PopupList()->Handle(), &r);
    return r;
  }

  TForm* form_ = nullptr;
  TksSkinComboBox* combo_ = nullptr;
  std::vector<int> clicks_;
};

}  // namespace lumoa::skin::test
