// What makes a shipped skin usable beyond its figures: records whose geometry composes their
// own image back unchanged, state images that match their normal image, and text colours
// that read on the pieces they are drawn on.
#include <gtest/gtest.h>

#include <cmath>

#include "skin/data/compressed_skin.h"
#include "skin/data/skin_data.h"
#include "skin/draw/bitmap_target.h"
#include "skin/draw/record_geometry.h"
#include "skins/stored_skins.h"
#include "ui/streams.h"

namespace {

using namespace lumoa::skin;

std::unique_ptr<TksSkinData> Load(int index, TksCompressedStoredSkin& stored) {
  const auto bytes = lumoa::skins::StoredSkin(index);
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  std::vector<uint8_t> compressed;
  EXPECT_TRUE(ReadStoredFormA(stream, compressed));
  stored.SetCompressedData(std::move(compressed));
  auto data = std::make_unique<TksSkinData>(nullptr);
  data->SetCompressedStoredSkin(&stored);
  EXPECT_FALSE(data->Empty());
  return data;
}

int W(const RECT& r) { return r.right - r.left; }
int H(const RECT& r) { return r.bottom - r.top; }
bool Zero(const RECT& r) { return W(r) <= 0 || H(r) <= 0; }

// Mean colour of a rectangle of a picture, as 0..1 linear-light luminance.
double Luminance(COLORREF c) {
  auto lin = [](int v) {
    const double s = v / 255.0;
    return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * lin(GetRValue(c)) + 0.7152 * lin(GetGValue(c)) + 0.0722 * lin(GetBValue(c));
}
double MeanLuminance(const TBitmap& picture, const RECT& r, const RECT& inner) {
  double sum = 0;
  int n = 0;
  for (int y = r.top + inner.top; y < r.top + inner.bottom; ++y)
    for (int x = r.left + inner.left; x < r.left + inner.right; ++x, ++n) sum += Luminance(picture.PixelRGB(x, y));
  return n ? sum / n : 0;
}
double Contrast(double a, double b) { return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05); }

TEST(SkinQuality, EveryRecordComposesItsOwnImageBackUnchanged) {
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    TksCompressedStoredSkin stored(nullptr);
    const auto data = Load(i, stored);
    int checked = 0;
    for (const auto& rec : data->ControlRecords) {
      const auto* c = dynamic_cast<const TksDataSkinCustomControl*>(rec.get());
      TBitmap* picture = data->ActivePicture(rec->pictureindex);
      if (!c || !picture) continue;
      const SkinGeometry g = GeometryOf(*c);
      const StretchModes m = StretchModesOf(*c);
      const int w = W(c->skinrect), h = H(c->skinrect);
      TBitmap out;
      out.SetPixelFormat(pf24bit);
      switch (CompositionModeOf(g)) {
        case cmNinePart:
          ComposeSkinImage(picture, g, ResizeSkinGeometry(g, w, h), w, h, true, m, &out);
          break;
        case cmHorizontal:
          ComposeHorzSkinImage(g.leftTop.x, w - g.rightTop.x, &out, m.stretchEffect, w, picture, g.skinRect);
          break;
        case cmVertical:
          ComposeVertSkinImage(g.leftTop.y, h - g.leftBottom.y, &out, m.stretchEffect, h, picture, g.skinRect);
          break;
        default:
          continue;
      }
      ASSERT_EQ(out.Width(), w) << rec->Name();
      ASSERT_EQ(out.Height(), h) << rec->Name();
      int differing = 0;
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
          differing += out.PixelRGB(x, y) != picture->PixelRGB(c->skinrect.left + x, c->skinrect.top + y);
      EXPECT_EQ(differing, 0) << rec->Name();
      ++checked;
    }
    EXPECT_GT(checked, 40);
  }
}

TEST(SkinQuality, StateImagesHaveTheSizeOfTheNormalImage) {
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    TksCompressedStoredSkin stored(nullptr);
    const auto data = Load(i, stored);
    for (const auto& rec : data->ControlRecords) {
      std::vector<RECT> states;
      if (auto* b = dynamic_cast<const TksDataSkinButtonControl*>(rec.get()))
        states = {b->activeskinrect, b->downskinrect, b->focusedskinrect, b->disabledskinrect};
      else if (auto* e = dynamic_cast<const TksDataSkinEditControl*>(rec.get()))
        states = {e->activeskinrect};
      else if (auto* c = dynamic_cast<const TksDataSkinComboBox*>(rec.get()))
        states = {c->activeskinrect};
      else if (auto* t = dynamic_cast<const TksDataSkinTabControl*>(rec.get())) {
        EXPECT_EQ(W(t->activetabrect), W(t->tabrect)) << rec->Name();
      }
      for (const RECT& r : states) {
        if (Zero(r)) continue;
        EXPECT_EQ(W(r), W(rec->skinrect)) << rec->Name();
        EXPECT_EQ(H(r), H(rec->skinrect)) << rec->Name();
      }
    }
  }
}

TEST(SkinQuality, TextColoursReadOnTheirPieces) {
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    TksCompressedStoredSkin stored(nullptr);
    const auto data = Load(i, stored);
    auto check = [&](const char* what, TBitmap* pic, const RECT& piece, const RECT& inner, COLORREF text, double min) {
      ASSERT_NE(pic, nullptr) << what;
      const double c = Contrast(Luminance(text), MeanLuminance(*pic, piece, inner));
      EXPECT_GE(c, min) << what;
    };
    auto control = [&](const char* name) { return data->ControlRecords.at(static_cast<size_t>(data->GetControlIndex(name))).get(); };
    const auto& b = dynamic_cast<const TksDataSkinButtonControl&>(*control("button"));
    TBitmap* bp = data->ActivePicture(b.pictureindex);
    check("button", bp, b.skinrect, b.clientrect, b.fontcolor, 4.5);
    check("button hot", bp, b.activeskinrect, b.clientrect, b.activefontcolor, 4.5);
    check("button pressed", bp, b.downskinrect, b.clientrect, b.downfontcolor, 4.5);
    check("button disabled", bp, b.disabledskinrect, b.clientrect, b.disabledfontcolor, 1.8);
    const auto& e = dynamic_cast<const TksDataSkinEditControl&>(*control("edit"));
    check("edit", data->ActivePicture(e.pictureindex), e.skinrect, e.clientrect, e.fontcolor, 4.5);
    const auto& t = dynamic_cast<const TksDataSkinTabControl&>(*control("tab"));
    TBitmap* tp = data->ActivePicture(t.pictureindex);
    const RECT tabInner{t.tableftoffset, 3, W(t.tabrect) - t.tabrightoffset, H(t.tabrect) - 3};
    check("tab", tp, t.tabrect, tabInner, t.fontcolor, 3.0);
    check("tab hovered", tp, t.tabrect, tabInner, t.mouseinfontcolor, 3.0);
    check("tab active", tp, t.activetabrect, tabInner, t.activefontcolor, 4.5);
    // Hovering must change the caption visibly even though the tab image stays.
    EXPECT_NE(t.mouseinfontcolor, t.fontcolor);
    const auto& c = dynamic_cast<const TksDataSkinComboBox&>(*control("combobox"));
    TBitmap* cp = data->ActivePicture(c.pictureindex);
    check("combo", cp, c.skinrect, c.clientrect, c.fontcolor, 4.5);
    check("combo focused", cp, c.focusitemrect, {2, 2, W(c.focusitemrect) - 2, H(c.focusitemrect) - 2}, c.focusfontcolor, 3.0);
    const auto& l = dynamic_cast<const TksDataSkinListBox&>(*control("listbox"));
    TBitmap* lp = data->ActivePicture(l.pictureindex);
    const RECT itemInner{3, 3, W(l.itemrect) - 3, H(l.itemrect) - 3};
    check("list item", lp, l.itemrect, itemInner, l.fontcolor, 4.5);
    check("list item selected", lp, l.activeitemrect, itemInner, l.activefontcolor, 3.0);
    check("list item focused", lp, l.focusitemrect, itemInner, l.focusfontcolor, 3.0);
  }
}

}  // namespace
