// An edit destroyed by its parent from EN_CHANGE, for every way its text can change: the edit
// must not touch itself afterwards (clean under the sanitizers) and must be gone.
#include "comctl_test.h"

namespace lumoa::platform::test {
namespace {

enum class Change { Typed, Committed, Backspace, Delete, Paste, Cut, Undo, SetText, ReplaceSel };

class EditLifetime : public ComctlTest, public ::testing::WithParamInterface<Change> {};

TEST_P(EditLifetime, DestroyedFromEnChangeIsGoneAndUntouched) {
  HWND e = Child(WC_EDITW, ES_AUTOHSCROLL, 10, 10, 200, 24, u"abc");
  SetFocus(e);
  SendMessageW(e, EM_SETSEL, 1, 2);
  // Something to paste and to undo.
  SendMessageW(e, WM_COPY, 0, 0);
  SendMessageW(e, EM_REPLACESEL, TRUE, LPARAM(u"x"));
  SendMessageW(e, EM_SETSEL, 1, 2);
  RunUntilIdle();
  int changes = 0;
  On(parent, [&](HWND, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT&) {
    if (msg == WM_COMMAND && HIWORD(wParam) == EN_CHANGE && HWND(lParam) == e) {
      ++changes;
      DestroyWindow(e);
    }
    return false;
  });
  switch (GetParam()) {
    case Change::Typed: Type(u"q"); break;
    case Change::Committed: hb().CommitText(u"中文"); break;
    case Change::Backspace: hb().PressKey(VK_BACK); break;
    case Change::Delete: hb().PressKey(VK_DELETE); break;
    case Change::Paste: Chord({VK_CONTROL}, 'V'); break;
    case Change::Cut: Chord({VK_CONTROL}, 'X'); break;
    case Change::Undo: Chord({VK_CONTROL}, 'Z'); break;
    case Change::SetText: SetWindowTextW(e, u"new"); break;
    case Change::ReplaceSel: SendMessageW(e, EM_REPLACESEL, TRUE, LPARAM(u"yz")); break;
  }
  RunUntilIdle();
  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(IsWindow(e));
  EXPECT_EQ(GetFocus() == e, false);
  EXPECT_TRUE(IsWindow(parent));
}

INSTANTIATE_TEST_SUITE_P(EachChange, EditLifetime,
                         ::testing::Values(Change::Typed, Change::Committed, Change::Backspace, Change::Delete,
                                           Change::Paste, Change::Cut, Change::Undo, Change::SetText,
                                           Change::ReplaceSel));

}  // namespace
}  // namespace lumoa::platform::test
