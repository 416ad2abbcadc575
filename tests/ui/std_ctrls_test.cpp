#include <string>
#include <vector>

#include "ui/page_control.h"
#include "ui/std_ctrls.h"
#include "ui/up_down.h"
#include "ui_fixture.h"

namespace lumoa::ui::test {
namespace {

bool ClassAvailable(LPCWSTR name) {
  platform::RegisterCommonControlClasses();
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  return GetClassInfoExW(nullptr, name, &wc) != 0;
}

class Edits : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    if (!ClassAvailable(WC_EDITW)) GTEST_SKIP() << "EDIT class not available yet";
    form = MakeForm(0, 0, 300, 100);
    edit = new TEdit(form);
    edit->SetBounds(10, 10, 200, 21);
    edit->SetParent(form);
    edit->OnChange = [this](TObject*) { ++changes; };
    edit->SetFocus();
    Pump();
  }
  void Type(const std::u16string& text) {
    for (char16_t c : text) hb().PressKey(c >= u'a' && c <= u'z' ? c - u'a' + 'A' : c, std::u16string(1, c));
    Pump();
  }
  TForm* form = nullptr;
  TEdit* edit = nullptr;
  int changes = 0;
};

TEST_F(Edits, TypingLatinAndCommittedChineseTextGivesAnsiText) {
  Type(u"abc");
  hb().CommitText(u"中文");
  Pump();
  EXPECT_EQ(edit->Text(), Utf8ToAnsi("abc中文"));
  EXPECT_EQ(changes, 5);
  EXPECT_TRUE(edit->Modified());
  edit->SetSelStart(1);
  edit->SetSelLength(3);
  EXPECT_EQ(edit->SelText(), Utf8ToAnsi("bc中"));
  edit->SetSelText("X");
  EXPECT_EQ(edit->Text(), Utf8ToAnsi("aX文"));
  // Setting the same text changes nothing; Clear empties it.
  const int before = changes;
  edit->SetText(edit->Text());
  EXPECT_EQ(changes, before);
  edit->Clear();
  EXPECT_EQ(edit->Text(), "");
}

TEST_F(Edits, ClipboardRoundTripAndUndo) {
  edit->SetText("hello");
  edit->SelectAll();
  EXPECT_EQ(edit->SelLength(), 5);
  edit->CopyToClipboard();
  edit->SetSelStart(5);
  edit->PasteFromClipboard();
  EXPECT_EQ(edit->Text(), "hellohello");
  EXPECT_TRUE(edit->CanUndo());
  edit->Undo();
  EXPECT_EQ(edit->Text(), "hello");
  edit->SelectAll();
  edit->CutToClipboard();
  EXPECT_EQ(edit->Text(), "");
  edit->PasteFromClipboard();
  EXPECT_EQ(edit->Text(), "hello");
}

TEST_F(Edits, EnterReachesOnKeyDownThenOnKeyPressAndReadOnlyRefusesEdits) {
  std::vector<std::string> log;
  edit->OnKeyDown = [&](TObject*, WORD& key, TShiftState) {
    if (key == VK_RETURN) log.push_back("down 13");
  };
  edit->OnKeyPress = [&](TObject*, WCHAR& key) {
    log.push_back("press " + std::to_string(key));
    if (key == u'z') key = u'Z';  // a handler may change the character
  };
  edit->SetText("");
  hb().PressKey(VK_RETURN, u"\r");
  Type(u"z");
  EXPECT_EQ(log, (std::vector<std::string>{"down 13", "press 13", "press 122"}));
  EXPECT_EQ(edit->Text(), "Z");
  edit->SetReadOnly(true);
  Type(u"q");
  edit->SelectAll();
  edit->CutToClipboard();
  hb().PressKey(VK_DELETE);
  Pump();
  EXPECT_EQ(edit->Text(), "Z");
  edit->SetMaxLength(3);
  edit->SetReadOnly(false);
  edit->SetSelStart(1);
  Type(u"abcd");
  EXPECT_EQ(edit->Text(), "Zab");
}

class UpDowns : public UiTest {};

TEST_F(UpDowns, ArrowsStepThePositionWithinTheRangeUnlessRefused) {
  if (!ClassAvailable(UPDOWN_CLASSW)) GTEST_SKIP() << "up-down class not available yet";
  TForm* form = MakeForm(0, 0, 100, 100);
  auto* ud = new TUpDown(form);
  ud->SetBounds(10, 10, 17, 30);
  ud->SetMax(2);
  ud->SetParent(form);
  std::vector<std::string> log;
  bool refuse = false;
  ud->OnChanging = [&](TObject*, bool& allow) { allow = !refuse; };
  ud->OnClick = [&](TObject*, TUDBtnType b) {
    log.push_back((b == btNext ? "next " : "prev ") + std::to_string(ud->Position()));
  };
  auto click = [&](int y) {
    hb().AdvanceClock(1000);
    ClickAt(ud, 8, y);
  };
  click(5);
  click(5);
  click(5);   // at Max: no step, no event
  click(25);
  refuse = true;
  click(25);
  EXPECT_EQ(log, (std::vector<std::string>{"next 1", "next 2", "prev 1"}));
  EXPECT_EQ(ud->Position(), 1);
  refuse = false;
  ud->SetPosition(9);  // clamped to the range
  EXPECT_EQ(ud->Position(), 2);
  ud->SetWrap(true);   // a new window keeps range and position
  EXPECT_EQ(ud->Position(), 2);
  click(5);
  EXPECT_EQ(ud->Position(), 0);
}

class ListBoxes : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    if (!ClassAvailable(WC_LISTBOXW)) GTEST_SKIP() << "LISTBOX class not available yet";
    form = MakeForm(0, 0, 300, 200);
    list = new TListBox(form);
    list->SetStyle(lbOwnerDrawFixed);
    list->SetItemHeight(10);
    list->SetBorderStyle(bsNone);
    list->SetBounds(10, 10, 100, 50);
    for (int i = 0; i < 20; ++i) list->Items()->Add("item " + IntToStr(i));  // before the window
    list->SetParent(form);
    list->OnDrawItem = [this](TWinControl*, int index, const TRect& r, TOwnerDrawState) {
      drawn.push_back(index);
      rows.push_back(r.top);
    };
    Pump();
  }
  TForm* form = nullptr;
  TListBox* list = nullptr;
  std::vector<int> drawn, rows;
};

TEST_F(ListBoxes, OwnerDrawCoversTheVisibleRowsAndFollowsTheTopIndex) {
  EXPECT_EQ(list->Count(), 20);
  drawn.clear();
  rows.clear();
  list->Invalidate();
  Pump();
  EXPECT_EQ(drawn, (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(rows, (std::vector<int>{0, 10, 20, 30, 40}));
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(list->Handle(), SB_VERT, &si));
  EXPECT_EQ(si.nMax - si.nMin + 1, 20);
  EXPECT_EQ(si.nPage, 5u);
  list->SetTopIndex(10);
  drawn.clear();
  Pump();
  EXPECT_EQ(list->TopIndex(), 10);
  EXPECT_EQ(drawn, (std::vector<int>{10, 11, 12, 13, 14}));
  EXPECT_EQ(list->ItemAtPos(Point(5, 25), true), 12);
  EXPECT_EQ(Str(list->ItemRect(12)), Str(Rect(0, 20, list->ClientWidth(), 30)));
  EXPECT_EQ(list->ItemAtPos(Point(500, 5), true), -1);
}

TEST_F(ListBoxes, ClickSelectsAndRaisesOnClickAndItemsSurviveANewWindow) {
  int clicks = 0;
  list->OnClick = [&](TObject*) { ++clicks; };
  ClickAt(list, 5, 15);
  EXPECT_EQ(list->ItemIndex(), 1);
  EXPECT_EQ(clicks, 1);
  list->SetItemIndex(4);  // from code: no event
  EXPECT_EQ(clicks, 1);
  list->Items()->Put(4, "changed");
  EXPECT_EQ(list->ItemIndex(), 4);
  list->SetStyle(lbStandard);  // a new window keeps items and selection
  EXPECT_EQ(list->Count(), 20);
  EXPECT_EQ(list->Items()->Get(4), "changed");
  EXPECT_EQ(list->ItemIndex(), 4);
  list->Items()->Delete(0);
  EXPECT_EQ(list->Items()->Get(0), "item 1");
  list->Clear();
  EXPECT_EQ(list->Count(), 0);
  EXPECT_THROW(list->Items()->Get(0), EListError);
}

class PageOrder : public UiTest {};

TEST_F(PageOrder, SheetsKeepTheirOrderAndTheActivePageFollowsVisibilityAndRemoval) {
  TPageControl pcHolder(nullptr);  // no parent: no window, the bookkeeping alone
  TPageControl* pc = &pcHolder;
  std::vector<TTabSheet*> sheets;
  for (int i = 0; i < 4; ++i) {
    auto* s = new TTabSheet(nullptr);
    s->SetCaption("p" + IntToStr(i));
    s->SetPageControl(pc);
    sheets.push_back(s);
  }
  EXPECT_EQ(pc->PageCount(), 4);
  EXPECT_EQ(pc->ActivePage(), nullptr);
  pc->SetActivePage(sheets[1]);
  EXPECT_TRUE(sheets[1]->Visible());
  EXPECT_FALSE(sheets[0]->Visible());
  EXPECT_EQ(pc->TabIndex(), 1);
  TPageControl other(nullptr);
  EXPECT_THROW(other.SetActivePage(sheets[0]), EInvalidOperation);

  std::vector<std::string> log;
  bool veto = true;
  pc->OnChanging = [&](TObject*, bool& allow) {
    log.push_back("changing");
    allow = !veto;
  };
  pc->OnChange = [&](TObject*) { log.push_back("change " + pc->ActivePage()->Caption()); };
  pc->SelectNextPage(true);
  EXPECT_EQ(pc->ActivePage(), sheets[1]);
  veto = false;
  sheets[2]->SetTabVisible(false);
  pc->SelectNextPage(true);  // skips the hidden tab
  pc->SelectNextPage(true);  // wraps around
  EXPECT_EQ(log, (std::vector<std::string>{"changing", "changing", "change p3", "changing",
                                           "change p0"}));
  EXPECT_EQ(sheets[3]->TabIndex(), 2);
  EXPECT_EQ(sheets[2]->TabIndex(), -1);
  // Hiding the active tab or removing the active sheet moves on to the next visible one.
  sheets[0]->SetTabVisible(false);
  EXPECT_EQ(pc->ActivePage(), sheets[1]);
  sheets[1]->Free();
  EXPECT_EQ(pc->ActivePage(), sheets[3]);
  EXPECT_EQ(pc->PageCount(), 3);
  sheets[3]->SetPageIndex(0);
  EXPECT_EQ(pc->Pages(0), sheets[3]);
  EXPECT_EQ(sheets[0]->PageIndex(), 1);
  EXPECT_THROW(pc->Pages(3), EListError);
  EXPECT_EQ(log.size(), 5u);  // none of this raised events
  for (TTabSheet* s : {sheets[0], sheets[2], sheets[3]}) s->Free();
  EXPECT_EQ(pc->PageCount(), 0);
}

class Pages : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    if (!ClassAvailable(WC_TABCONTROLW)) GTEST_SKIP() << "tab control class not available yet";
    form = MakeForm(0, 0, 402, 55);
    pc = new TPageControl(form);
    pc->SetBounds(56, 0, 346, 55);
    pc->SetParent(form);
    for (const char* name : {"web", "news", "more"}) {
      auto* sheet = new TTabSheet(form);
      sheet->SetName(name);
      sheet->SetCaption(name);
      sheet->SetPageControl(pc);
    }
    pc->SetActivePage(pc->Pages(0));
    pc->OnChanging = [this](TObject*, bool& allow) {
      log.push_back("changing");
      allow = !veto;
    };
    pc->OnChange = [this](TObject*) { log.push_back("change " + pc->ActivePage()->Name()); };
    pc->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) {
      log.push_back("down " + pc->ActivePage()->Name());
    };
    Pump();
  }
  void ClickTab(int i) {
    const TRect r = pc->TabRect(i);
    hb().AdvanceClock(1000);
    ClickAt(pc, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
  TForm* form = nullptr;
  TPageControl* pc = nullptr;
  std::vector<std::string> log;
  bool veto = false;
};

TEST_F(Pages, AClickSwitchesFirstThenReportsTheMouseDown) {
  ClickTab(1);
  EXPECT_EQ(log, (std::vector<std::string>{"changing", "change news", "down news"}));
  EXPECT_EQ(pc->ActivePageIndex(), 1);
  EXPECT_TRUE(pc->Pages(1)->Visible());
  EXPECT_FALSE(pc->Pages(0)->Visible());
  // The sheet fills the display area.
  const TRect display = pc->DisplayRect();
  EXPECT_EQ(Str(pc->Pages(1)->BoundsRect()), Str(display));
  log.clear();
  ClickTab(1);  // the active tab: only the mouse-down
  EXPECT_EQ(log, std::vector<std::string>{"down news"});
  // A taller tab row (font or tab height) moves the sheets with the display area.
  const int top = display.top;
  pc->SetTabHeight(30);
  EXPECT_GT(pc->DisplayRect().top, top);
  EXPECT_EQ(Str(pc->Pages(1)->BoundsRect()), Str(pc->DisplayRect()));
  pc->Font()->SetHeight(-20);
  EXPECT_EQ(Str(pc->Pages(1)->BoundsRect()), Str(pc->DisplayRect()));
}

TEST_F(Pages, AVetoKeepsThePageAndCodeSwitchesSilently) {
  veto = true;
  ClickTab(2);
  EXPECT_EQ(log, (std::vector<std::string>{"changing", "down web"}));
  EXPECT_EQ(pc->ActivePageIndex(), 0);
  EXPECT_EQ(pc->TabIndex(), 0);
  log.clear();
  pc->SetActivePageIndex(2);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(pc->TabIndex(), 2);
  // A hidden tab drops out of the tab indices; the page order stays.
  pc->Pages(1)->SetTabVisible(false);
  EXPECT_EQ(pc->Pages(2)->TabIndex(), 1);
  EXPECT_EQ(pc->Pages(2)->PageIndex(), 2);
  EXPECT_EQ(pc->TabIndex(), 1);
  pc->Pages(2)->SetPageIndex(0);
  EXPECT_EQ(pc->Pages(0)->Name(), "more");
  EXPECT_EQ(pc->TabIndex(), 0);
}

TEST_F(Pages, CtrlTabTurnsPagesAndFocusLeavesAHiddenPage) {
  auto* onWeb = new TButton(form);
  onWeb->SetParent(pc->Pages(0));
  auto* onNews = new TButton(form);
  onNews->SetParent(pc->Pages(1));
  onWeb->SetFocus();
  Pump();
  ASSERT_TRUE(onWeb->Focused());
  hb().KeyDown(VK_CONTROL);
  hb().PressKey(VK_TAB);
  hb().KeyUp(VK_CONTROL);
  Pump();
  EXPECT_EQ(log, (std::vector<std::string>{"changing", "change news"}));
  EXPECT_TRUE(onNews->Focused());  // the first control of the new page takes the focus
  EXPECT_EQ(form->ActiveControl(), onNews);
  log.clear();
  hb().KeyDown(VK_CONTROL);
  hb().KeyDown(VK_SHIFT);
  hb().PressKey(VK_TAB);
  hb().KeyUp(VK_SHIFT);
  hb().KeyUp(VK_CONTROL);
  Pump();
  EXPECT_EQ(log, (std::vector<std::string>{"changing", "change web"}));
  EXPECT_TRUE(onWeb->Focused());
}

}  // namespace
}  // namespace lumoa::ui::test
