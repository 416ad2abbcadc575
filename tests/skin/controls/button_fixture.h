// A skinned button on a shown borderless form of the headless back end, bound to one of the
// shipped skins, with helpers to hover, press, let virtual time pass and read what is shown.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "skin/controls/button.h"
#include "skin/data/compressed_skin.h"
#include "skin/draw/layer_manager.h"
#include "skins/stored_skins.h"
#include "support/shipped_skin.h"
#include "ui/std_ctrls.h"
#include "ui/streams.h"
#include "ui/ui_fixture.h"

namespace lumoa::skin::button_test {

// Pixels as 0xRRGGBB.
struct Picture {
  int width = 0, height = 0;
  std::vector<uint32_t> rgb;
  uint32_t At(int x, int y) const { return rgb[static_cast<size_t>(y) * width + x]; }
};

inline uint32_t Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

inline Picture PictureOf(const TBitmap& b) {
  Picture p{b.Width(), b.Height(), {}};
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) p.rgb.push_back(Rgb(b.PixelRGB(x, y)));
  return p;
}

// Index of the first pixel where the two differ, -1 when they are equal.
inline int FirstDifference(const Picture& a, const Picture& b) {
  if (a.width != b.width || a.height != b.height) return 0;
  for (size_t i = 0; i < a.rgb.size(); ++i)
    if (a.rgb[i] != b.rgb[i]) return static_cast<int>(i);
  return -1;
}

class ButtonTest : public lumoa::ui::test::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    hb().SetLayeredAvailable(true);
    form = MakeForm(100, 100, 300, 120);
    // Something else holds the focus first, so the button starts in its normal state.
    edit = new TEdit(form);
    edit->SetParent(form);
    edit->SetBounds(200, 80, 80, 20);
    edit->SetFocus();
    Pump();
  }
  void TearDown() override {
    button = nullptr;
    UiTest::TearDown();
    skin.reset();
    stored.reset();
  }

  // Skin `index` loaded into a fresh skin data owned by the test.
  TksSkinData* LoadSkin(int index) {
    skin.reset();
    stored = std::make_unique<TksCompressedStoredSkin>(nullptr);
    stored->SetCompressedData(lumoa::test::ShippedSkinStream(index));
    skin = std::make_unique<TksSkinData>(nullptr);
    skin->SetCompressedStoredSkin(stored.get());
    EXPECT_FALSE(skin->Empty());
    return skin.get();
  }

  // The search button as the main form stores it: 59 x 17 at (20, 30), no caption unless
  // given (UTF-8, held in the ANSI code page as the stored layout does), bound to skin 0.
  TksSkinButton* MakeButton(const char* caption = "", int skinIndex = 0) {
    if (skinIndex >= 0 && !skin) LoadSkin(skinIndex);
    auto* b = new TksSkinButton(form);
    b->SetParent(form);
    b->SetBounds(20, 30, 59, 17);
    b->SetCaption(Utf8ToAnsi(caption));
    if (skinIndex >= 0) b->SetSkinData(skin.get());
    Pump();
    b->OnClick = [this](TObject*) { ++clicks; };
    button = b;
    return b;
  }

  const TksDataSkinButtonControl& Record() {
    const int i = skin->GetControlIndex("button");
    return dynamic_cast<const TksDataSkinButtonControl&>(*skin->ControlRecords[static_cast<size_t>(i)]);
  }
  TBitmap* ButtonPicture() { return skin->ActivePicture(Record().pictureindex); }

  // What the form shows of a control now.
  Picture Shown(TControl* c) {
    Pump();
    const TPoint at = c->ClientToScreen(Point(0, 0));
    const TPoint origin = form->ClientToScreen(Point(0, 0));
    const auto native = platform::NativeWindowOf(form->Handle());
    Picture p{c->Width(), c->Height(), {}};
    for (int y = 0; y < c->Height(); ++y)
      for (int x = 0; x < c->Width(); ++x)
        p.rgb.push_back(hb().WindowPixel(native, at.x - origin.x + x, at.y - origin.y + y) & 0xFFFFFF);
    return p;
  }

  // The pointer over a client point of the button (or off it), then messages handled.
  void HoverAt(int x, int y) {
    const TPoint p = button->ClientToScreen(Point(x, y));
    hb().MoveMouse(p.x, p.y);
    Pump();
  }
  void Hover() { HoverAt(button->Width() / 2, button->Height() / 2); }
  void Leave() {
    const TPoint p = form->ClientToScreen(Point(150, 10));
    hb().MoveMouse(p.x, p.y);
    Pump();
  }
  void Press() {
    hb().PressButton(1);
    Pump();
  }
  void Release() {
    hb().ReleaseButton(1);
    Pump();
  }
  // Lets virtual time pass in steps so every timer fires at its own moment.
  void Wait(int ms, int step = 5) {
    for (int t = 0; t < ms; t += step) {
      hb().AdvanceClock(static_cast<uint64_t>(std::min(step, ms - t)));
      Pump();
    }
  }

  std::unique_ptr<TksCompressedStoredSkin> stored;
  std::unique_ptr<TksSkinData> skin;
  TForm* form = nullptr;
  TEdit* edit = nullptr;
  TksSkinButton* button = nullptr;
  int clicks = 0;
};

}  // namespace lumoa::skin::button_test
