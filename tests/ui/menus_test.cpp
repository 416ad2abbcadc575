#include <string>
#include <vector>

#include "ui/combo_box.h"
#include "ui/menus.h"
#include "ui_fixture.h"

namespace lumoa::ui::test {
namespace {

class Menus : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form = MakeForm(0, 0, 300, 200);
    menu = new TPopupMenu(form);
    auto add = [&](const AnsiString& caption, TShortCut key = scNone, bool enabled = true) {
      TMenuItem* item = NewItem(menu, caption, key, [this, caption](TObject*) {
        chosen.push_back(caption + (menu->Showing() ? " while open" : ""));
      }, enabled);
      menu->Items()->Add(item);
      return item;
    };
    add("&Undo", ShortCut('Z', {ssCtrl}));
    add("-");
    add("Cu&t", ShortCut('X', {ssCtrl}), false);
    add("&Copy", ShortCut('C', {ssCtrl}));
    add("&Paste", ShortCut('V', {ssCtrl}));
  }
  // Runs the menu at (100, 100) with one scripted step per idle moment.
  void Run(std::vector<std::function<void(HWND)>> steps) {
    size_t step = 0;
    hb().SetIdleHandler([&] {
      HWND w = GetCapture();
      if (step < steps.size()) {
        steps[step++](w);
      } else {
        hb().PressKey(VK_ESCAPE);
      }
    });
    menu->Popup(100, 100);
    hb().SetIdleHandler(nullptr);
  }
  TForm* form = nullptr;
  TPopupMenu* menu = nullptr;
  std::vector<std::string> chosen;
};

TEST_F(Menus, KeyboardSkipsSeparatorsAndRefusesDisabledItems) {
  Run({[&](HWND) {
         hb().PressKey(VK_DOWN);    // Undo
         hb().PressKey(VK_DOWN);    // Cut (disabled, but it can be highlighted)
         hb().PressKey(VK_RETURN);  // refused: the menu stays
       },
       [&](HWND w) {
         EXPECT_TRUE(IsWindowVisible(w));
         hb().PressKey(VK_DOWN);  // Copy
         hb().PressKey(VK_RETURN);
       }});
  // The handler runs once the menu has gone.
  EXPECT_EQ(chosen, std::vector<std::string>{"&Copy"});
  chosen.clear();
  Run({[&](HWND) {
    hb().PressKey(VK_UP);  // wraps to the last item
    hb().PressKey(VK_RETURN);
  }});
  EXPECT_EQ(chosen, std::vector<std::string>{"&Paste"});
}

TEST_F(Menus, AcceleratorsPickAndEscapeDismisses) {
  Run({[&](HWND) { hb().PressKey('T', u"t"); },  // disabled item's accelerator: nothing
       [&](HWND) { hb().PressKey('U', u"u"); }});
  EXPECT_EQ(chosen, std::vector<std::string>{"&Undo"});
  chosen.clear();
  bool closed = false;
  menu->OnClose = [&](TObject*) { closed = true; };
  Run({[&](HWND) { hb().PressKey(VK_ESCAPE); }});
  EXPECT_TRUE(chosen.empty());
  EXPECT_TRUE(closed);
  EXPECT_EQ(ShortCutToText(ShortCut('C', {ssCtrl})), "Ctrl+C");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_F4, {ssAlt})), "Alt+F4");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_DELETE, {ssShift})), "Shift+Del");
}

TEST_F(Menus, MouseReleaseOnAnItemPicksItAndAPressOutsideDismisses) {
  // Rows: Undo 20, separator 8, Cut 20, Copy 20, Paste 20, inside a one-pixel frame.
  Run({[&](HWND w) {
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.bottom - r.top, 2 + 4 * 20 + 8);
    hb().Click(r.left + 20, r.top + 1 + 20 + 8 + 10);  // Cut: disabled, stays open
    hb().Click(r.left + 20, r.top + 1 + 20 + 8 + 20 + 10);
  }});
  EXPECT_EQ(chosen, std::vector<std::string>{"&Copy"});
  chosen.clear();
  Run({[&](HWND) { hb().Click(5, 5); }});
  EXPECT_TRUE(chosen.empty());
  EXPECT_FALSE(menu->Showing());
  // The form is usable again: the click that dismissed the menu did not reach it, the next does.
  int clicks = 0;
  form->OnClick = [&](TObject*) { ++clicks; };
  hb().AdvanceClock(1000);
  hb().Click(5, 5);
  Pump();
  EXPECT_EQ(clicks, 1);
}

class Buttons : public UiTest {};

TEST_F(Buttons, ClickSpaceAndTheFormsDefaultAndCancelKeys) {
  TForm* f = MakeForm(0, 0, 200, 100);
  auto* ok = new TButton(f);
  ok->SetBounds(10, 10, 60, 24);
  ok->SetParent(f);
  ok->Default = true;
  auto* cancel = new TButton(f);
  cancel->SetBounds(80, 10, 60, 24);
  cancel->SetParent(f);
  cancel->Cancel = true;
  std::vector<std::string> log;
  ok->OnClick = [&](TObject*) { log.push_back("ok"); };
  cancel->OnClick = [&](TObject*) { log.push_back("cancel"); };
  ClickAt(ok, 5, 5);
  EXPECT_TRUE(ok->Focused());
  hb().PressKey(VK_SPACE, u" ");
  Pump();
  cancel->SetFocus();
  hb().PressKey(VK_RETURN, u"\r");  // Enter belongs to the default button wherever the focus is
  hb().PressKey(VK_ESCAPE, u"\x1b");
  Pump();
  EXPECT_EQ(log, (std::vector<std::string>{"ok", "ok", "ok", "cancel"}));
  ok->Default = false;
  hb().PressKey(VK_RETURN, u"\r");
  Pump();
  EXPECT_EQ(log.size(), 4u);
}

class Combo : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    if (!ListClassAvailable()) GTEST_SKIP() << "LISTBOX class not available yet";
    form = MakeForm(0, 0, 300, 100);
    combo = new TComboBox(form);
    combo->SetBounds(10, 10, 61, 21);
    combo->SetParent(form);
    for (char c = 'A'; c <= 'O'; ++c) combo->Items()->Add(AnsiString(1, c));
    combo->SetItemIndex(0);
    combo->SetDropDownCount(12);
    combo->OnClick = [this](TObject*) { clicks.push_back(combo->ItemIndex()); };
  }
  static bool ListClassAvailable() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    platform::RegisterCommonControlClasses();
    return GetClassInfoExW(nullptr, WC_LISTBOXW, &wc) != 0;
  }
  TForm* form = nullptr;
  TComboBox* combo = nullptr;
  std::vector<int> clicks;
};

TEST_F(Combo, TheListDropsDownHoverSelectsAndAReleasePicks) {
  int popupHeight = 0;
  int hovered = -1;
  int step = 0;
  hb().SetIdleHandler([&] {
    TListBox* list = combo->ListBox();
    ASSERT_NE(list, nullptr);
    RECT r;
    GetWindowRect(list->Parent()->Handle(), &r);
    if (step++ == 0) {
      popupHeight = r.bottom - r.top;
      hb().MoveMouse(r.left + 10, r.top + 1 + 3 * 16 + 8);
      return;
    }
    hovered = list->ItemIndex();
    hb().ReleaseButton(1);
    hb().Click(r.left + 10, r.top + 1 + 3 * 16 + 8);
  });
  ClickAt(combo, 30, 10);
  hb().SetIdleHandler(nullptr);
  EXPECT_EQ(popupHeight, 12 * 16 + 2);
  EXPECT_EQ(hovered, 3);
  EXPECT_EQ(clicks, std::vector<int>{3});
  EXPECT_EQ(combo->Text(), "D");
  EXPECT_FALSE(combo->DroppedDown());
}

TEST_F(Combo, EscapeKeepsTheItemAndArrowsOnTheClosedBoxSelect) {
  hb().SetIdleHandler([&] {
    hb().PressKey(VK_DOWN);
    hb().PressKey(VK_ESCAPE);
  });
  combo->SetFocus();
  hb().PressKey(VK_F4);
  Pump();
  hb().SetIdleHandler(nullptr);
  EXPECT_TRUE(clicks.empty());
  EXPECT_EQ(combo->ItemIndex(), 0);
  hb().PressKey(VK_DOWN);
  hb().PressKey(VK_DOWN);
  hb().PressKey(VK_UP);
  Pump();
  EXPECT_EQ(clicks, (std::vector<int>{1, 2, 1}));
  combo->SetText("O");
  EXPECT_EQ(combo->ItemIndex(), 14);
  combo->SetText("nothing");
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_EQ(clicks.size(), 3u);  // setting from code raises nothing
}

}  // namespace
}  // namespace lumoa::ui::test
