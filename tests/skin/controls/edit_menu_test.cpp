// The skinned edit's context menu: where it opens, its captions, which items are enabled, what
// each does, and its skinned look.
#include <functional>
#include <string>
#include <vector>

#include "edit_fixture.h"
#include "skin/controls/popup_menu.h"

namespace lumoa::skin::test {
namespace {

class EditMenu : public EditTest {
 protected:
  void SetUp() override {
    EditTest::SetUp();
    edit = MakeEdit(0, "hello world");
    edit->SetFocus();
    Pump();
    edit->SetSelStart(6);
    edit->SetSelLength(5);  // "world"
  }
  // Right-clicks the box at (x, y) of its window (or presses the menu key) and runs one
  // scripted step per idle moment of the menu's loop; Escape closes it afterwards.
  void Run(bool keyboard, std::vector<std::function<void(HWND)>> steps, int x = 60, int y = 10) {
    size_t step = 0;
    hb().SetIdleHandler([&] {
      HWND w = GetCapture();
      if (step < steps.size()) {
        steps[step++](w);
      } else {
        hb().PressKey(VK_ESCAPE);
      }
    });
    if (keyboard) {
      hb().PressKey(VK_APPS);
    } else {
      RECT r;
      GetWindowRect(edit->Handle(), &r);
      hb().Click(r.left + x, r.top + y, 3);
    }
    Pump();
    hb().SetIdleHandler(nullptr);
  }
  // Runs the menu and picks the item `downs` steps down with the keyboard.
  void Pick(int downs) {
    Run(false, {[&](HWND) {
      for (int i = 0; i < downs; ++i) hb().PressKey(VK_DOWN);
      hb().PressKey(VK_RETURN);
    }});
  }
  std::vector<std::string> Items() {
    std::vector<std::string> out;
    TksSkinPopupMenu* m = edit->ContextMenu();
    if (!m) return out;
    for (int i = 0; i < m->Items()->Count(); ++i) {
      TMenuItem* item = m->Items()->Items(i);
      out.push_back(item->Caption + (item->IsLine() || item->Enabled ? "" : " (off)"));
    }
    return out;
  }
  uint32_t MenuPixel(HWND menu, int x, int y) {
    return hb().WindowPixel(platform::NativeWindowOf(menu), x, y) & 0xFFFFFF;
  }

  TksSkinEdit* edit = nullptr;
};

TEST_F(EditMenu, RightClickOpensAtTheMouseWithTheSkinDataCaptions) {
  auto* strings = new TksResourceStrData(form);
  TStringList lines;
  for (const char* l : {"EDIT_UNDO=撤销", "EDIT_CUT=剪切", "EDIT_COPY=复制", "EDIT_PASTE=粘贴",
                        "EDIT_DELETE=删除", "EDIT_SELECTALL=全选"})
    lines.Add(Utf8ToAnsi(l));
  strings->SetResStrings(&lines);
  data()->SetResourceStrData(strings);
  hb().SetClipboardText(u"clip");
  RECT box;
  GetWindowRect(edit->Handle(), &box);
  RECT menu{};
  Run(false, {[&](HWND w) { GetWindowRect(w, &menu); }}, 60, 10);
  EXPECT_EQ(menu.left, box.left + 60);
  EXPECT_EQ(menu.top, box.top + 10);
  std::vector<std::string> expected;
  for (const char* s : {"撤销 (off)", "-", "剪切", "复制", "粘贴", "删除", "-", "全选"})
    expected.push_back(Utf8ToAnsi(s));
  EXPECT_EQ(Items(), expected);
  // The menu key opens it at the box's centre.
  Run(true, {[&](HWND w) { GetWindowRect(w, &menu); }});
  const TPoint centre = edit->ClientToScreen(Point(edit->ClientWidth() / 2, edit->ClientHeight() / 2));
  EXPECT_EQ(menu.left, centre.x);
  EXPECT_EQ(menu.top, centre.y);
  // A new request built a new menu; WM_USER + 205 frees it.
  EXPECT_NE(edit->ContextMenu(), nullptr);
  edit->Perform(WM_USER + 205);
  EXPECT_EQ(edit->ContextMenu(), nullptr);
}

TEST_F(EditMenu, CaptionsComeFromTheFormSkinnersSkinData) {
  TearDown();
  EditTest::SetUp();
  edit = MakeEdit(0, "text", true);
  auto* strings = new TksResourceStrData(form);
  TStringList lines;
  lines.Add("EDIT_COPY=Kopieren");
  strings->SetResStrings(&lines);
  data()->SetResourceStrData(strings);
  edit->SetSkinData(nullptr);  // the box's own binding plays no part
  Run(false, {});
  const std::vector<std::string> items = Items();
  ASSERT_EQ(items.size(), 8u);
  EXPECT_EQ(items[3], "Kopieren (off)");
  EXPECT_EQ(items[2], "Cut (off)");  // a key the table lacks keeps the built-in text
  EXPECT_TRUE(edit->ContextMenu()->Skinned());
}

TEST_F(EditMenu, BuiltInCaptionsAndTheEnabledRules) {
  data()->SetResourceStrData(nullptr);
  hb().SetClipboardText(u"");
  Run(false, {});
  EXPECT_EQ(Items(), (std::vector<std::string>{"Undo (off)", "-", "Cut", "Copy", "Paste (off)", "Delete",
                                               "-", "Select All"}));
  edit->SelectAll();
  Type(u"x");
  hb().SetClipboardText(u"clip");
  Run(false, {});
  EXPECT_EQ(Items(), (std::vector<std::string>{"Undo", "-", "Cut (off)", "Copy (off)", "Paste", "Delete (off)",
                                               "-", "Select All"}));
  edit->SelectAll();
  edit->SetReadOnly(true);
  Run(false, {});
  EXPECT_EQ(Items(), (std::vector<std::string>{"Undo (off)", "-", "Cut (off)", "Copy", "Paste (off)",
                                               "Delete (off)", "-", "Select All (off)"}));
}

TEST_F(EditMenu, EachItemDoesWhatItSays) {
  Pick(3);  // Copy
  std::u16string clip;
  ASSERT_TRUE(hb().GetClipboardText(clip));
  EXPECT_EQ(clip, u"world");
  EXPECT_EQ(edit->Text(), "hello world");
  Pick(2);  // Cut
  EXPECT_EQ(edit->Text(), "hello ");
  ASSERT_TRUE(hb().GetClipboardText(clip));
  EXPECT_EQ(clip, u"world");
  hb().SetClipboardText(u"there");
  Pick(4);  // Paste
  EXPECT_EQ(edit->Text(), "hello there");
  Pick(1);  // Undo
  EXPECT_EQ(edit->Text(), "hello ");
  Pick(6);  // Select All
  EXPECT_EQ(edit->SelStart(), 0);
  EXPECT_EQ(edit->SelLength(), 6);
  Pick(5);  // Delete
  EXPECT_EQ(edit->Text(), "");
  ASSERT_TRUE(hb().GetClipboardText(clip));
  EXPECT_EQ(clip, u"there");
}

TEST_F(EditMenu, PaintedFromTheSkinsMenuRecords) {
  const int i = data()->GetObjectIndex("menuitem");
  ASSERT_GE(i, 0);
  auto* item = dynamic_cast<TksDataSkinMenuItem*>(data()->ObjectRecords[size_t(i)].get());
  ASSERT_NE(item, nullptr);
  TBitmap* picture = data()->ActivePicture(item->activepictureindex);
  const RECT& inner = data()->PopupWindow.itemsrect;
  uint32_t normal = 0, hot = 0, corner = 0;
  Run(false, {[&](HWND w) {
                normal = MenuPixel(w, inner.left + 1, inner.top + 1);
                corner = MenuPixel(w, 0, 0);
                hb().PressKey(VK_DOWN);  // Undo, disabled: not drawn hot
                hb().PressKey(VK_DOWN);  // Cut
              },
              [&](HWND w) {
                const int cut = inner.top + (item->skinrect.bottom - item->skinrect.top) +
                                (item->dividerrect.bottom - item->dividerrect.top);
                hot = MenuPixel(w, inner.left + 1, cut + 1);
              }});
  EXPECT_EQ(normal, PicturePixel(picture, item->skinrect.left + 1, item->skinrect.top + 1));
  EXPECT_EQ(hot, PicturePixel(picture, item->activeskinrect.left + 1, item->activeskinrect.top + 1));
  TBitmap* frame = data()->ActivePicture(data()->PopupWindow.windowpictureindex);
  EXPECT_EQ(corner, PicturePixel(frame, 0, 0));
  EXPECT_TRUE(edit->ContextMenu()->Skinned());
}

}  // namespace
}  // namespace lumoa::skin::test
