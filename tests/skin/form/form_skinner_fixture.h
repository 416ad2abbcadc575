// Skinned forms on the headless back end: a form with a form skinner bound to a shipped skin,
// input at window points, and reading the window's pixels and hit codes.
#pragma once

#include <filesystem>
#include <string>

#include "image/png/png_image.h"
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

  // Writes the composed screen inside `area` (screen coordinates) to <build>/shots/<name>.png,
  // enlarged by `zoom`, beside the test binary's folder.
  void Shot(const std::string& name, const RECT& area, int zoom = 1) {
    const int w = area.right - area.left, h = area.bottom - area.top;
    TBitmap b(w * zoom, h * zoom, pf24bit);
    const std::vector<uint32_t> screen = hb().ComposeScreen();
    const RECT all = hb().ScreenRect();
    const int sw = all.right - all.left;
    for (int y = 0; y < h * zoom; ++y)
      for (int x = 0; x < w * zoom; ++x) {
        const uint32_t c = screen[static_cast<size_t>(area.top + y / zoom) * sw + area.left + x / zoom];
        uint8_t* p = b.ScanLine(y) + x * 3;
        p[0] = static_cast<uint8_t>(c);
        p[1] = static_cast<uint8_t>(c >> 8);
        p[2] = static_cast<uint8_t>(c >> 16);
      }
    const auto dir = std::filesystem::canonical("/proc/self/exe").parent_path().parent_path() / "shots";
    std::filesystem::create_directories(dir);
    TksPngImage png;
    png.Assign(&b);
    TFileStream file((dir / (name + ".png")).string(), fmCreate);
    png.SaveToStream(file);
  }

  TForm* form_ = nullptr;
  TksMarluneForm* skinner_ = nullptr;
};

}  // namespace lumoa::skin::test
