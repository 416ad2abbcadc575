#include <algorithm>

#include "comctl_test.h"

namespace lumoa::platform::test {
namespace {

class Edit : public ComctlTest {
 protected:
  HWND MakeEdit(DWORD style = ES_AUTOHSCROLL, int width = 200, LPCWSTR text = u"") {
    HWND e = Child(WC_EDITW, style, 10, 10, width, 24, text);
    SetFocus(e);
    RunUntilIdle();
    return e;
  }
  static std::pair<int, int> Sel(HWND e) {
    DWORD a = 0, b = 0;
    SendMessageW(e, EM_GETSEL, WPARAM(&a), LPARAM(&b));
    return {int(a), int(b)};
  }
  static int XOf(HWND e, int i) { return SHORT(LOWORD(SendMessageW(e, EM_POSFROMCHAR, i, 0))); }
  std::u16string Clipboard() {
    std::u16string s;
    if (!OpenClipboard(nullptr)) return s;
    if (HANDLE m = GetClipboardData(CF_UNICODETEXT)) {
      s = static_cast<const WCHAR*>(GlobalLock(m));
      GlobalUnlock(m);
    }
    CloseClipboard();
    return s;
  }
};

TEST_F(Edit, TypesLatinAndCommittedChineseTextWithChangeNotificationsInOrder) {
  HWND e = MakeEdit();
  ASSERT_EQ(GetFocus(), e);
  ClearLog();
  Type(u"ab");
  hb().CommitText(u"中文");
  RunUntilIdle();
  EXPECT_EQ(Text(e), u"ab中文");
  EXPECT_EQ(Sel(e), std::make_pair(4, 4));
  // Each inserted character: EN_UPDATE, then EN_CHANGE.
  EXPECT_EQ(Commands(), (std::vector<int>{EN_UPDATE, EN_CHANGE, EN_UPDATE, EN_CHANGE, EN_UPDATE,
                                          EN_CHANGE, EN_UPDATE, EN_CHANGE}));
  EXPECT_TRUE(SendMessageW(e, EM_GETMODIFY, 0, 0));
  // Text set by WM_SETTEXT clears the modified flag and is reported on a single-line edit...
  ClearLog();
  SetWindowTextW(e, u"new");
  EXPECT_EQ(Commands(), (std::vector<int>{EN_UPDATE, EN_CHANGE}));
  EXPECT_FALSE(SendMessageW(e, EM_GETMODIFY, 0, 0));
  // ...but not on a multi-line one.
  HWND m = Child(WC_EDITW, ES_MULTILINE, 10, 50, 100, 24);
  ClearLog();
  SetWindowTextW(m, u"x");
  EXPECT_TRUE(Commands().empty());
  EXPECT_EQ(Text(m), u"x");
  // Focus changes are reported too.
  ClearLog();
  SetFocus(m);
  EXPECT_EQ(Commands(), (std::vector<int>{EN_KILLFOCUS, EN_SETFOCUS}));
}

TEST_F(Edit, KeyboardSelectionByCharacterWordAndLine) {
  HWND e = MakeEdit(ES_AUTOHSCROLL, 200, u"hello big world");
  Key(VK_HOME);
  Chord({VK_SHIFT}, VK_RIGHT);
  Chord({VK_SHIFT}, VK_RIGHT);
  EXPECT_EQ(Sel(e), std::make_pair(0, 2));
  Key(VK_RIGHT);  // collapses to the selection's end
  EXPECT_EQ(Sel(e), std::make_pair(2, 2));
  Chord({VK_CONTROL}, VK_RIGHT);
  EXPECT_EQ(Sel(e), std::make_pair(6, 6));
  Chord({VK_CONTROL, VK_SHIFT}, VK_RIGHT);
  EXPECT_EQ(Sel(e), std::make_pair(6, 10));
  Chord({VK_SHIFT}, VK_END);
  EXPECT_EQ(Sel(e), std::make_pair(6, 15));
  Chord({VK_CONTROL, VK_SHIFT}, VK_LEFT);  // the moving end goes back to "world"
  EXPECT_EQ(Sel(e), std::make_pair(6, 10));
  Chord({VK_CONTROL}, 'A');
  EXPECT_EQ(Sel(e), std::make_pair(0, 15));
  Key(VK_DELETE);
  EXPECT_EQ(Text(e), u"");
  // Backspace and Delete at the text's ends do nothing.
  Key(VK_BACK);
  Key(VK_DELETE);
  EXPECT_EQ(Text(e), u"");
  SetWindowTextW(e, u"ab");
  Key(VK_END);
  Key(VK_BACK);
  EXPECT_EQ(Text(e), u"a");
}

TEST_F(Edit, MouseSelectionByDragShiftClickAndDoubleClick) {
  HWND e = MakeEdit(ES_AUTOHSCROLL, 200, u"alpha beta gamma");
  const int y = 8;
  POINT p2 = Screen(e, XOf(e, 2), y), p8 = Screen(e, XOf(e, 8), y);
  hb().MoveMouse(p2.x, p2.y);
  hb().PressButton(1);
  RunUntilIdle();
  EXPECT_EQ(GetCapture(), e);
  hb().MoveMouse(p8.x, p8.y);
  hb().ReleaseButton(1);
  RunUntilIdle();
  EXPECT_EQ(Sel(e), std::make_pair(2, 8));
  EXPECT_EQ(GetCapture(), nullptr);
  // Shift+click moves the caret end and keeps the anchor.
  POINT p12 = Screen(e, XOf(e, 12), y);
  hb().KeyDown(VK_SHIFT);
  hb().Click(p12.x, p12.y);
  hb().KeyUp(VK_SHIFT);
  RunUntilIdle();
  EXPECT_EQ(Sel(e), std::make_pair(2, 12));
  // A double click selects the word under the pointer.
  hb().AdvanceClock(1000);
  POINT p7 = Screen(e, XOf(e, 7) + 1, y);
  hb().Click(p7.x, p7.y);
  hb().AdvanceClock(50);
  hb().Click(p7.x, p7.y);
  RunUntilIdle();
  EXPECT_EQ(Sel(e), std::make_pair(6, 10));
  // EM_CHARFROMPOS inverts EM_POSFROMCHAR; past the end is the end.
  for (int i = 0; i < 16; ++i)
    EXPECT_EQ(LOWORD(SendMessageW(e, EM_CHARFROMPOS, 0, MAKELPARAM(XOf(e, i), y))), i);
  EXPECT_EQ(LOWORD(SendMessageW(e, EM_CHARFROMPOS, 0, MAKELPARAM(199, y))), 16);
  EXPECT_EQ(SendMessageW(e, EM_POSFROMCHAR, 16, 0), -1);
}

TEST_F(Edit, ClipboardRoundTripAndOneLevelUndo) {
  HWND e = MakeEdit(ES_AUTOHSCROLL, 200, u"copy me");
  SendMessageW(e, EM_SETSEL, 5, 7);
  Chord({VK_CONTROL}, 'C');
  EXPECT_EQ(Clipboard(), u"me");
  Key(VK_END);
  Chord({VK_CONTROL}, 'V');
  EXPECT_EQ(Text(e), u"copy meme");
  SendMessageW(e, EM_SETSEL, 0, 5);
  SendMessageW(e, WM_CUT, 0, 0);
  EXPECT_EQ(Text(e), u"meme");
  EXPECT_EQ(Clipboard(), u"copy ");
  // Pasting multi-line text keeps its first line.
  OpenClipboard(nullptr);
  EmptyClipboard();
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, 16 * sizeof(WCHAR));
  std::u16string two = u"one\r\ntwo";
  std::copy(two.c_str(), two.c_str() + two.size() + 1, static_cast<WCHAR*>(GlobalLock(mem)));
  GlobalUnlock(mem);
  SetClipboardData(CF_UNICODETEXT, mem);
  CloseClipboard();
  SendMessageW(e, EM_SETSEL, 0, -1);
  SendMessageW(e, WM_PASTE, 0, 0);
  EXPECT_EQ(Text(e), u"one");

  // Undo: typing is one record; undoing twice redoes.
  SetWindowTextW(e, u"");
  EXPECT_FALSE(SendMessageW(e, EM_CANUNDO, 0, 0));
  Type(u"abc");
  EXPECT_TRUE(SendMessageW(e, EM_CANUNDO, 0, 0));
  Chord({VK_CONTROL}, 'Z');
  EXPECT_EQ(Text(e), u"");
  SendMessageW(e, WM_UNDO, 0, 0);
  EXPECT_EQ(Text(e), u"abc");
  // A deletion starts a new record.
  Key(VK_BACK);
  EXPECT_EQ(Text(e), u"ab");
  SendMessageW(e, EM_UNDO, 0, 0);
  EXPECT_EQ(Text(e), u"abc");
  SendMessageW(e, EM_EMPTYUNDOBUFFER, 0, 0);
  EXPECT_FALSE(SendMessageW(e, EM_UNDO, 0, 0));
  EXPECT_EQ(Text(e), u"abc");
  // A password edit never gives its text away.
  SendMessageW(e, EM_SETPASSWORDCHAR, u'*', 0);
  SendMessageW(e, EM_SETSEL, 0, -1);
  SendMessageW(e, WM_COPY, 0, 0);
  EXPECT_EQ(Clipboard(), u"one\r\ntwo");
  EXPECT_EQ(Text(e), u"abc");
}

TEST_F(Edit, LimitTextAndReadOnlyRefuseEdits) {
  HWND e = MakeEdit();
  SendMessageW(e, EM_LIMITTEXT, 5, 0);
  EXPECT_EQ(SendMessageW(e, EM_GETLIMITTEXT, 0, 0), 5);
  ClearLog();
  Type(u"abcdefg");
  EXPECT_EQ(Text(e), u"abcde");
  const auto codes = Commands();
  EXPECT_EQ(std::count(codes.begin(), codes.end(), EN_MAXTEXT), 2);
  EXPECT_EQ(std::count(codes.begin(), codes.end(), EN_CHANGE), 5);
  // A replacement that overflows keeps what fits.
  SendMessageW(e, EM_SETSEL, 1, 2);
  SendMessageW(e, EM_REPLACESEL, TRUE, LPARAM(u"XYZ"));
  EXPECT_EQ(Text(e), u"aXcde");

  SendMessageW(e, EM_SETREADONLY, TRUE, 0);
  EXPECT_TRUE(GetWindowLongPtrW(e, GWL_STYLE) & ES_READONLY);
  SendMessageW(e, EM_SETSEL, 0, 2);
  Type(u"q");
  Key(VK_DELETE);
  Key(VK_BACK);
  Chord({VK_CONTROL}, 'X');
  SendMessageW(e, WM_CUT, 0, 0);
  SendMessageW(e, WM_CLEAR, 0, 0);
  SendMessageW(e, WM_PASTE, 0, 0);
  SendMessageW(e, WM_UNDO, 0, 0);
  EXPECT_EQ(Text(e), u"aXcde");
  // Selection and copying still work.
  Chord({VK_SHIFT}, VK_RIGHT);
  EXPECT_EQ(Sel(e), std::make_pair(0, 3));
  SendMessageW(e, WM_COPY, 0, 0);
  OpenClipboard(nullptr);
  HANDLE m = GetClipboardData(CF_UNICODETEXT);
  ASSERT_TRUE(m);
  EXPECT_EQ(std::u16string(static_cast<const WCHAR*>(GlobalLock(m))), u"aXc");
  GlobalUnlock(m);
  CloseClipboard();
  // Read-only edits ask for static colours.
  ClearLog();
  InvalidateRect(e, nullptr, TRUE);
  RunUntilIdle();
  EXPECT_GT(Count(parent, WM_CTLCOLORSTATIC), 0);
  EXPECT_EQ(Count(parent, WM_CTLCOLOREDIT), 0);
}

TEST_F(Edit, LongTextScrollsToKeepTheCaretVisible) {
  HWND e = MakeEdit(ES_AUTOHSCROLL, 60);
  RECT fmt;
  SendMessageW(e, EM_GETRECT, 0, LPARAM(&fmt));
  Type(u"the quick brown fox jumps");
  POINT caret;
  auto caretInside = [&] {
    GetCaretPos(&caret);
    return caret.x >= fmt.left && caret.x < fmt.right;
  };
  EXPECT_TRUE(caretInside());
  EXPECT_LT(XOf(e, 0), fmt.left);  // the start scrolled out
  Key(VK_HOME);
  EXPECT_EQ(XOf(e, 0), fmt.left);
  EXPECT_TRUE(caretInside());
  Key(VK_END);
  EXPECT_TRUE(caretInside());
  // Selecting from code scrolls too.
  SendMessageW(e, EM_SETSEL, 0, 0);
  EXPECT_EQ(XOf(e, 0), fmt.left);

  // Without ES_AUTOHSCROLL the text stops at the rectangle's width.
  HWND fixed = MakeEdit(0, 40);
  ClearLog();
  Type(u"mmmmmmmmmmmmmmmmmmmm");
  const std::u16string t = Text(fixed);
  EXPECT_GT(t.size(), 0u);
  EXPECT_LT(t.size(), 20u);
  const auto codes = Commands();
  EXPECT_NE(std::find(codes.begin(), codes.end(), EN_MAXTEXT), codes.end());
  EXPECT_EQ(XOf(fixed, 0), 0);
}

TEST_F(Edit, MarginsFormattingRectangleAndAlignment) {
  HWND e = MakeEdit(ES_MULTILINE, 100, u"abc");
  RECT r;
  SendMessageW(e, EM_GETRECT, 0, LPARAM(&r));
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.right, 100);
  SendMessageW(e, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(5, 7));
  EXPECT_EQ(SendMessageW(e, EM_GETMARGINS, 0, 0), MAKELRESULT(5, 7));
  SendMessageW(e, EM_GETRECT, 0, LPARAM(&r));
  EXPECT_EQ(r.left, 5);
  EXPECT_EQ(r.right, 93);
  EXPECT_EQ(XOf(e, 0), 5);
  // The rectangle read back and set again is unchanged; a new one moves the text.
  SendMessageW(e, EM_SETRECT, 0, LPARAM(&r));
  RECT again;
  SendMessageW(e, EM_GETRECT, 0, LPARAM(&again));
  EXPECT_TRUE(EqualRect(&r, &again));
  RECT custom{20, 3, 80, 20};
  SendMessageW(e, EM_SETRECTNP, 0, LPARAM(&custom));
  EXPECT_EQ(XOf(e, 0), 20);
  EXPECT_EQ(SHORT(HIWORD(SendMessageW(e, EM_POSFROMCHAR, 0, 0))), 3);
  // Changing one margin moves only that edge.
  SendMessageW(e, EM_SETMARGINS, EC_LEFTMARGIN, MAKELPARAM(2, 0));
  SendMessageW(e, EM_GETRECT, 0, LPARAM(&r));
  EXPECT_EQ(r.left, 17);
  EXPECT_EQ(r.right, 80);
  // Resetting returns to the client rectangle less the margins.
  SendMessageW(e, EM_SETRECT, 0, 0);
  SendMessageW(e, EM_GETRECT, 0, LPARAM(&r));
  EXPECT_EQ(r.left, 2);
  EXPECT_EQ(r.right, 93);

  const int width = XOf(e, 2) - XOf(e, 0);  // "ab"
  HWND right = Child(WC_EDITW, ES_RIGHT, 10, 40, 100, 24, u"ab");
  HWND center = Child(WC_EDITW, ES_CENTER, 10, 70, 100, 24, u"ab");
  EXPECT_EQ(XOf(right, 0), 100 - width - 1);
  EXPECT_EQ(XOf(center, 0), (100 - width) / 2);
}

TEST_F(Edit, TextDrawsOverTheParentWithAHollowBrushOrFillsWithTheReturnedBrush) {
  HBRUSH green = CreateSolidBrush(RGB(0, 160, 0));
  bool hollow = true;
  On(parent, [&](HWND hwnd, UINT msg, WPARAM wParam, LPARAM, LRESULT& r) {
    if (msg == WM_CTLCOLOREDIT) {
      HDC dc = HDC(wParam);
      SetTextColor(dc, RGB(0, 0, 255));
      if (hollow) SetBkMode(dc, TRANSPARENT);
      r = LRESULT(hollow ? GetStockObject(NULL_BRUSH) : HGDIOBJ(green));
      return true;
    }
    return PaintSolid(RGB(200, 0, 0))(hwnd, msg, wParam, 0, r);
  });
  InvalidateRect(parent, nullptr, TRUE);
  HWND e = Child(WC_EDITW, ES_AUTOHSCROLL, 10, 10, 120, 24, u"MMMM");
  RunUntilIdle();
  int red = 0, blue = 0, other = 0;
  for (int y = 10; y < 34; ++y)
    for (int x = 10; x < 130; ++x) {
      const uint32_t c = Pixel(x, y);
      const int r = int(c >> 16), g = int((c >> 8) & 0xFF), b = int(c & 0xFF);
      if (c == 0xC80000) ++red;
      else if (g == 0 && b > r) ++blue;  // glyph pixels blended over red
      else if (g != 0 || (r != 200 && b == 0)) ++other;
    }
  EXPECT_GT(red, 2000);
  EXPECT_GT(blue, 20);
  EXPECT_EQ(other, 0);

  hollow = false;
  InvalidateRect(e, nullptr, TRUE);
  RunUntilIdle();
  EXPECT_EQ(Pixel(125, 30), 0x00A000u);
  EXPECT_EQ(Pixel(5, 5), 0xC80000u);
  DeleteObject(green);
}

}  // namespace
}  // namespace lumoa::platform::test
