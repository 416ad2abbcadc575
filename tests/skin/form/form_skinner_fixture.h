// Skinned forms on the headless back end: a form with a form skinner bound to a shipped skin,
// input at window points, and reading the window's pixels and hit codes.
#pragma once

#include <string>

#include "skin/form/form_skinner.h"
#include "skin/form/layer_border.h"
#include "skin_fixture.h"

namespace lumoa::skin::test {

inline uint32_t Rgb(COLORREF c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }

class FormSkinTest : public SkinTest {
 protected:
  // A shown form at (100, 100) of w x h with a skinner bound to the loaded skin.
  TForm* Skinned(TFormBorderStyle border, int w, int h, bool show = true) {
    form_ = new TForm(Application);
    form_->SetBorderStyle(border);
    form_->SetCaption("Gallery");
    form_->SetBounds(100, 100, w, h);
    skinner_ = new TksMarluneForm(form_);
    skinner_->SetSkinData(data());
    if (show) {
      form_->Show();
      Pump();
    }
    return form_;
  }
  HWND H() { return form_->Handle(); }
  POINT Screen(int x, int y) {
    RECT r{};
    GetWindowRect(H(), &r);
    return POINT{r.left + x, r.top + y};
  }
  // The hit code of a point in window coordinates.
  int Hit(int x, int y) {
    const POINT s = Screen(x, y);
    return static_cast<int>(SendMessageW(H(), WM_NCHITTEST, 0, MAKELPARAM(s.x, s.y)));
  }
  // Pixel of the form's window at a window point, 0xRRGGBB.
  uint32_t WindowPixel(int x, int y) {
    return hb().WindowPixel(platform::NativeWindowOf(H()), x, y) & 0xFFFFFF;
  }
  void ClickWindow(int x, int y, UINT button = 1) {
    const POINT s = Screen(x, y);
    hb().Click(s.x, s.y, button);
    Pump();
    hb().AdvanceClock(1000);  // no double click with the next one
  }
  void DoubleClickWindow(int x, int y) {
    const POINT s = Screen(x, y);
    hb().Click(s.x, s.y);
    Pump();
    hb().Click(s.x, s.y);
    Pump();
    hb().AdvanceClock(1000);
  }
  std::string Str(const RECT& r) { return lumoa::ui::test::Str(r); }

  TForm* form_ = nullptr;
  TksMarluneForm* skinner_ = nullptr;
};

}  // namespace lumoa::skin::test
