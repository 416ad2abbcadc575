// Skinned controls on the headless back end: a shipped skin loaded into a skin data component
// the way the program loads it, hand-made records added beside the shipped ones, and pixels of
// the real windows.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "platform/backend/headless/headless_backend.h"
#include "skin/data/compressed_skin.h"
#include "skin/data/skin_data.h"
#include "skins/stored_skins.h"
#include "support/shipped_skin.h"
#include "ui/streams.h"
#include "ui/ui_fixture.h"

namespace lumoa::skin::test {

class SkinTest : public lumoa::ui::test::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    stored_ = new TksCompressedStoredSkin(Application);
    data_ = new TksSkinData(Application);
  }

  // Loads shipped skin `index` into data().
  void LoadSkin(int index) {
    stored_->SetCompressedData(lumoa::test::ShippedSkinStream(index));
    data_->SetCompressedStoredSkin(nullptr);
    data_->SetCompressedStoredSkin(stored_);
    ASSERT_FALSE(data_->Empty());
  }

  // Adds a record and a picture of its own (appended to the active pictures) to the loaded
  // skin; returns the record.
  template <class Record>
  Record* AddRecord(const char* name) {
    auto r = std::make_unique<Record>(name);
    Record* raw = r.get();
    data_->ControlRecords.push_back(std::move(r));
    return raw;
  }
  int AddPicture(std::unique_ptr<TBitmap> picture) {
    data_->ActivePictures.push_back(std::move(picture));
    return static_cast<int>(data_->ActivePictures.size()) - 1;
  }

  TksSkinData* data() { return data_; }

  // Pixel of c's top-level window at a point of c's client area, 0xRRGGBB.
  uint32_t PixelAt(TWinControl* c, int x, int y) {
    const TPoint screen = c->ClientToScreen(Point(x, y));
    const platform::NativeId id = platform::NativeWindowOf(c->Handle());
    const auto* w = hb().Window(id);
    EXPECT_NE(w, nullptr);
    if (!w) return 0;
    return hb().WindowPixel(id, screen.x - w->bounds.left, screen.y - w->bounds.top) & 0xFFFFFF;
  }

 private:
  TksCompressedStoredSkin* stored_ = nullptr;
  TksSkinData* data_ = nullptr;
};

// A filled 24-bit picture.
inline std::unique_ptr<TBitmap> SolidPicture(int w, int h, COLORREF color) {
  auto b = std::make_unique<TBitmap>(w, h, pf24bit);
  TCanvas* c = b->Canvas();
  c->Brush().SetColor(static_cast<TColor>(color));
  c->FillRect(TRect{0, 0, w, h});
  return b;
}

}  // namespace lumoa::skin::test
