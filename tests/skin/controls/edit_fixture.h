// The query box of the main form on the headless back end: a TksSkinEdit with the main
// form's stored values bound to a shipped skin.
#pragma once

#include <string>
#include <vector>

#include "skin/controls/edit.h"
#include "skin/form/form_skinner.h"
#include "skin/form/skin_fixture.h"

namespace lumoa::skin::test {

inline std::string R(const RECT& r) { return lumoa::ui::test::Str(r); }

class EditTest : public SkinTest {
 protected:
  // A shown form with the box at the main form's place and values, bound to skin `skin`.
  // With a form skinner on the form when Skinner.
  TksSkinEdit* MakeEdit(int skin = 0, const AnsiString& text = "", bool Skinner = false) {
    if (skin >= 0) LoadSkin(skin);
    if (Skinner) {
      form = new TForm(Application);
      form->SetBorderStyle(bsNone);
      form->SetBounds(100, 100, 402, 55);
      skinner = new TksMarluneForm(form);
      skinner->SetSkinData(data());
      form->Show();
      Pump();
    } else {
      form = MakeForm(100, 100, 402, 55);
    }
    auto* e = new TksSkinEdit(form);
    e->SetParent(form);
    e->SetBounds(72, 27, 225, 20);
    e->Font()->SetName("Arial");
    e->Font()->SetHeight(14);
    e->Font()->SetColor(clSilver);
    e->DefaultFont()->SetName("Arial");
    e->DefaultFont()->SetHeight(14);
    e->DefaultFont()->SetColor(clSilver);
    e->SetText(text);
    if (skin >= 0) e->SetSkinData(data());
    Pump();
    return e;
  }

  void Type(const std::u16string& text) {
    for (char16_t c : text) {
      const UINT vk = c >= u'a' && c <= u'z' ? c - u'a' + 'A' : c;
      hb().PressKey(vk, std::u16string(1, c));
    }
    Pump();
  }

  // The box's pixels (window coordinates of the box) as shown on its form.
  std::vector<uint32_t> BoxPixels(TWinControl* c) {
    std::vector<uint32_t> out;
    for (int y = 0; y < c->Height(); ++y)
      for (int x = 0; x < c->Width(); ++x) out.push_back(WindowPixelOf(c, x, y));
    return out;
  }
  // Pixel at a point of c's window rectangle (frame included), 0xRRGGBB.
  uint32_t WindowPixelOf(TWinControl* c, int x, int y) {
    RECT r;
    GetWindowRect(c->Handle(), &r);
    const platform::NativeId id = platform::NativeWindowOf(c->Handle());
    const auto* w = hb().Window(id);
    if (!w) return 0;
    return hb().WindowPixel(id, r.left + x - w->bounds.left, r.top + y - w->bounds.top) & 0xFFFFFF;
  }
  // A picture pixel as 0xRRGGBB.
  static uint32_t PicturePixel(TBitmap* b, int x, int y) {
    const COLORREF c = b->PixelRGB(x, y);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
  }
  static uint32_t Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

  TForm* form = nullptr;
  TksMarluneForm* skinner = nullptr;
};

}  // namespace lumoa::skin::test
