// What the skinned edit shows: text over the skin's background piece, nothing left behind,
// the hot frame, and text from the input method.
#include <algorithm>
#include <string>
#include <vector>

#include "edit_fixture.h"

namespace lumoa::skin::test {
namespace {

class EditPixels : public EditTest {
 protected:
  void SetUp() override {
    EditTest::SetUp();
    edit = MakeEdit(0);
    other = new TButton(form);
    other->SetParent(form);
    other->SetBounds(0, 0, 20, 20);
    record = dynamic_cast<TksDataSkinEditControl*>(data()->ControlRecords[size_t(edit->SkinIndex())].get());
    ASSERT_NE(record, nullptr);
    picture = data()->ActivePicture(record->pictureindex);
    ASSERT_NE(picture, nullptr);
    Away();
  }
  // The mouse somewhere else and the focus on another control.
  void Away() {
    hb().MoveMouse(5, 5);
    other->SetFocus();
    Pump();
  }
  // The text area's pixels, row by row.
  std::vector<uint32_t> TextPixels() {
    const TRect a = edit->TextArea();
    std::vector<uint32_t> out;
    for (int y = a.top; y < a.bottom; ++y)
      for (int x = a.left; x < a.right; ++x) out.push_back(WindowPixelOf(edit, x, y));
    return out;
  }
  int AreaWidth() { return edit->TextArea().right - edit->TextArea().left; }
  int TextWidth(const std::u16string& s) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, edit->Font()->Handle());
    SIZE size{};
    GetTextExtentPoint32W(dc, s.c_str(), int(s.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return size.cx;
  }

  TButton* other = nullptr;
  TksSkinEdit* edit = nullptr;
  TksDataSkinEditControl* record = nullptr;
  TBitmap* picture = nullptr;
};

TEST_F(EditPixels, TypedTextLiesOverTheBackgroundPiece) {
  const std::vector<uint32_t> empty = TextPixels();
  const int w = AreaWidth();
  const TRect a = edit->TextArea();
  // The empty area is the skin's piece under clientrect: its fixed left and right columns.
  const RECT& s = record->skinrect;
  const RECT& c = record->clientrect;
  for (int y = 0; y < a.bottom - a.top; ++y) {
    EXPECT_EQ(empty[size_t(y * w)], PicturePixel(picture, s.left + c.left, s.top + c.top + y)) << y;
    EXPECT_EQ(empty[size_t(y * w + w - 1)], PicturePixel(picture, s.left + c.right - 1, s.top + c.top + y)) << y;
  }
  edit->SetFocus();
  const std::u16string typed = u"Ail  Wx";
  Type(typed);
  Away();
  const std::vector<uint32_t> text = TextPixels();
  const int extent = 2 + TextWidth(typed);
  int changed = 0, clearColumns = 0;
  for (int x = 0; x < w; ++x) {
    bool columnChanged = false;
    for (int y = 0; y < a.bottom - a.top; ++y) {
      if (text[size_t(y * w + x)] == empty[size_t(y * w + x)]) continue;
      columnChanged = true;
      ++changed;
      EXPECT_LT(x, extent) << "a changed pixel right of the text at " << x << "," << y;
    }
    if (!columnChanged && x > 2 && x < extent) ++clearColumns;
  }
  EXPECT_GT(changed, 20);
  // The gap between the words keeps the background: nothing was filled behind the glyphs.
  EXPECT_GE(clearColumns, 4);
  // Glyph cores carry the skin's font colour.
  const uint32_t font = Rgb(record->fontcolor);
  int darkest = 0x7FFFFFFF;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == empty[i]) continue;
    auto d = [](uint32_t p, uint32_t q, int shift) { return std::abs(int((p >> shift) & 0xFF) - int((q >> shift) & 0xFF)); };
    darkest = std::min(darkest, d(text[i], font, 0) + d(text[i], font, 8) + d(text[i], font, 16));
  }
  EXPECT_LE(darkest, 6);
}

TEST_F(EditPixels, DeletingCharactersLeavesNoGlyphPixels) {
  const std::vector<uint32_t> empty = TextPixels();
  edit->SetFocus();
  Type(u"Hello W");
  for (int i = 0; i < 7; ++i) hb().PressKey(VK_BACK, u"\b");
  Pump();
  EXPECT_EQ(edit->Text(), "");
  Away();
  EXPECT_EQ(TextPixels(), empty);
  // A selection replaced by a shorter text, and the text set from code.
  edit->SetText("a longer text here");
  Pump();
  edit->SetText("ab");
  Pump();
  edit->SetText("");
  Pump();
  EXPECT_EQ(TextPixels(), empty);
}

TEST_F(EditPixels, HotFrameShowsWhileTheMouseIsInsideOrTheBoxHasFocus) {
  // A point of the frame where the normal and the hot image differ.
  const RECT& s = record->skinrect;
  const RECT& h = record->activeskinrect;
  int fx = -1, fy = -1;
  for (int y = 0; y < 3 && fx < 0; ++y)
    for (int x = 0; x < 5; ++x)
      if (PicturePixel(picture, s.left + x, s.top + y) != PicturePixel(picture, h.left + x, h.top + y)) {
        fx = x;
        fy = y;
        break;
      }
  ASSERT_GE(fx, 0);
  const uint32_t normal = PicturePixel(picture, s.left + fx, s.top + fy);
  const uint32_t hot = PicturePixel(picture, h.left + fx, h.top + fy);
  EXPECT_EQ(WindowPixelOf(edit, fx, fy), normal);
  RECT wr;
  GetWindowRect(edit->Handle(), &wr);
  hb().MoveMouse(wr.left + 60, wr.top + 10);  // over the text
  Pump();
  EXPECT_TRUE(edit->MouseInside());
  EXPECT_EQ(WindowPixelOf(edit, fx, fy), hot);
  hb().MoveMouse(wr.left + 1, wr.top + 1);  // over the frame: still inside
  Pump();
  EXPECT_TRUE(edit->MouseInside());
  EXPECT_EQ(WindowPixelOf(edit, fx, fy), hot);
  hb().MoveMouse(wr.left - 5, wr.top - 5);
  Pump();
  EXPECT_FALSE(edit->MouseInside());
  EXPECT_EQ(WindowPixelOf(edit, fx, fy), normal);
  edit->SetFocus();
  Pump();
  EXPECT_EQ(WindowPixelOf(edit, fx, fy), hot);
  // The background follows the same image.
  const RECT& c = record->clientrect;
  const TRect a = edit->TextArea();
  EXPECT_EQ(WindowPixelOf(edit, a.right - 1, a.top + 5), PicturePixel(picture, h.left + c.right - 1, h.top + c.top + 5));
  Away();
  EXPECT_EQ(WindowPixelOf(edit, fx, fy), normal);
  int enters = 0, leaves = 0;
  edit->OnMouseEnter = [&](TObject*) { ++enters; };
  edit->OnMouseLeave = [&](TObject*) { ++leaves; };
  hb().MoveMouse(wr.left + 60, wr.top + 10);
  Pump();
  hb().MoveMouse(wr.left + 1, wr.top + 1);
  Pump();
  hb().MoveMouse(wr.left + 60, wr.top + 10);
  Pump();
  hb().MoveMouse(wr.left - 5, wr.top + 10);
  Pump();
  EXPECT_EQ(enters, 1);
  EXPECT_EQ(leaves, 1);
}

TEST_F(EditPixels, CommittedChineseTextIsShownAndReadAsGbkAndTheCaretReachesTheInputMethod) {
  const std::vector<uint32_t> empty = TextPixels();
  edit->SetFocus();
  Pump();
  const POINT spot0 = hb().ImeSpot();
  hb().CommitText(u"中文");
  Pump();
  EXPECT_EQ(edit->Text(), "\xD6\xD0\xCE\xC4");
  const POINT spot1 = hb().ImeSpot();
  EXPECT_GT(spot1.x, spot0.x + 20);  // two wide characters further on
  // The spot is the caret's foot in the top-level window.
  POINT caret;
  ASSERT_TRUE(GetCaretPos(&caret));
  POINT client{caret.x, caret.y};
  ::ClientToScreen(edit->Handle(), &client);
  RECT top;
  GetWindowRect(form->Handle(), &top);
  EXPECT_EQ(spot1.x, client.x - top.left);
  EXPECT_GT(spot1.y, client.y - top.top);
  EXPECT_LE(spot1.y, client.y - top.top + edit->TextArea().bottom - edit->TextArea().top);
  Away();
  const std::vector<uint32_t> shown = TextPixels();
  const int w = AreaWidth();
  int changed = 0;
  for (size_t i = 0; i < shown.size(); ++i)
    if (shown[i] != empty[i]) {
      ++changed;
      EXPECT_LT(int(i) % w, 2 + TextWidth(u"中文"));
    }
  EXPECT_GT(changed, 40);
}

TEST_F(EditPixels, DisabledBoxDrawsItsTextInTheDisabledColour) {
  edit->SetText("Disabled");
  edit->SetEnabled(false);
  Pump();
  const std::vector<uint32_t> text = TextPixels();
  const uint32_t disabled = Rgb(record->disabledfontcolor);
  const uint32_t normal = Rgb(record->fontcolor);
  auto dist = [](uint32_t p, uint32_t q) {
    int d = 0;
    for (int s = 0; s < 24; s += 8) d += std::abs(int((p >> s) & 0xFF) - int((q >> s) & 0xFF));
    return d;
  };
  int nearDisabled = 0, nearNormal = 0;
  for (uint32_t p : text) {
    if (dist(p, disabled) <= 6) ++nearDisabled;
    if (dist(p, normal) <= 6) ++nearNormal;
  }
  EXPECT_GT(nearDisabled, 5);
  EXPECT_EQ(nearNormal, 0);
  // Enabled again, the platform edit draws the same text at the same place.
  edit->SetEnabled(true);
  Pump();
  const std::vector<uint32_t> enabled = TextPixels();
  const int w = AreaWidth();
  auto firstColumn = [&](const std::vector<uint32_t>& px, const std::vector<uint32_t>& bg) {
    for (int x = 0; x < w; ++x)
      for (size_t y = 0; y < px.size() / size_t(w); ++y)
        if (px[y * size_t(w) + size_t(x)] != bg[y * size_t(w) + size_t(x)]) return x;
    return -1;
  };
  edit->SetText("");
  Pump();
  const std::vector<uint32_t> empty = TextPixels();
  EXPECT_EQ(firstColumn(text, empty), firstColumn(enabled, empty));
}

}  // namespace
}  // namespace lumoa::skin::test
