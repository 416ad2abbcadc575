// Helpers for the PNG storage tests: the shipped logo, small made-up images, the expected
// result of straight-alpha drawing, a coloured form on the headless back end to read pixels
// from, and screenshots written under the build folder.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "image/png/png_header.h"
#include "image/png/png_image.h"
#include "image/png/png_image_view.h"
#include "image/png/png_storage.h"
#include "platform/user/window.h"
#include "skins/stored_skins.h"
#include "ui/streams.h"
#include "ui/ui_fixture.h"

namespace pngstore::test {

inline void LoadLogo(TksPngImage& png) {
  const auto bytes = lumoa::skins::LogoPng();
  TConstMemoryStream s(bytes.data(), static_cast<int64_t>(bytes.size()));
  png.LoadFromStream(s);
}

// An 8-bit RGBA image whose pixel (x, y) is Fill(x, y, colour, alpha).
template <class F>
void MakeRgba(TksPngImage& png, int w, int h, F Fill) {
  png.CreateBlank(lumoa::png::kRGBA, 8, w, h);
  for (int y = 0; y < h; ++y) {
    uint8_t* row = png.Scanline(y);
    uint8_t* alpha = png.AlphaScanline(y);
    for (int x = 0; x < w; ++x) {
      COLORREF c = 0;
      uint8_t a = 255;
      Fill(x, y, c, a);
      row[x * 3] = GetBValue(c), row[x * 3 + 1] = GetGValue(c), row[x * 3 + 2] = GetRValue(c);
      alpha[x] = a;
    }
  }
}

// Straight alpha over a destination given as 0xRRGGBB: (s * a + (255 - a) * d + 255) div 256.
inline uint32_t Over(COLORREF src, int a, uint32_t dst) {
  if (a == 0) return dst;
  const int s[3] = {GetRValue(src), GetGValue(src), GetBValue(src)};
  const int d[3] = {static_cast<int>(dst >> 16) & 255, static_cast<int>(dst >> 8) & 255,
                    static_cast<int>(dst) & 255};
  uint32_t out = 0;
  for (int i = 0; i < 3; ++i) {
    const int v = a == 255 ? s[i] : (s[i] * a + (255 - a) * d[i] + 255) >> 8;
    out = (out << 8) | static_cast<uint32_t>(v);
  }
  return out;
}

// Alpha of a disabled image's pixel: round(a / 256 * 128), ties to even.
inline int HalfAlpha(int a) { return static_cast<int>(std::nearbyint(a / 256.0 * 128)); }

// Alpha of row r (of h) of a reflection of a pixel with alpha a.
inline int ReflectedAlpha(int a, int r, int h, int divisor) {
  if (a == 0) return 0;
  const double f = 1.0 - r * (2.0 / h);
  const int v = static_cast<int>(std::nearbyint(f * a)) / divisor;
  return v < 0 ? 0 : v;
}

constexpr TColor kFormColor = 0x2A64C8;    // red 0xC8, green 0x64, blue 0x2A
constexpr uint32_t kFormRgb = 0xC8642A;

class PngViewTest : public lumoa::ui::test::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form = MakeForm(100, 100, 240, 160);
    form->SetColor(kFormColor);
    storage = new TksPngImageStorage(form);
    LoadLogo(*storage->PngImages()->Add()->PngImage());
    logo = storage->PngImages()->Items(0)->PngImage();
  }
  TksPngImageView* MakeView(int x, int y, int index = 0) {
    auto* v = new TksPngImageView(form);
    v->SetLeft(x), v->SetTop(y);
    v->SetParent(form);
    v->SetPngImageStorage(storage);
    v->SetImageIndex(index);
    Repaint();
    return v;
  }
  void Repaint() {
    form->Invalidate();
    Pump();
  }
  // 0xRRGGBB of the form's window at a client point.
  uint32_t Pixel(int x, int y) {
    const auto id = lumoa::platform::user::Get(form->Handle())->native;
    return hb().WindowPixel(id, x, y) & 0xFFFFFF;
  }
  uint8_t LogoAlpha(int x, int y) const { return logo->AlphaScanline(y)[x]; }
  // Counts pixels of the logo drawn at (x0, y0) that differ from the logo over Beneath.
  template <class F>
  int LogoMismatches(int x0, int y0, bool enabled, F Beneath) {
    int bad = 0;
    for (int y = 0; y < logo->Height(); ++y)
      for (int x = 0; x < logo->Width(); ++x) {
        const int a = enabled ? LogoAlpha(x, y) : HalfAlpha(LogoAlpha(x, y));
        if (Pixel(x0 + x, y0 + y) != Over(logo->Pixels(x, y), a, Beneath(x0 + x, y0 + y))) ++bad;
      }
    return bad;
  }
  int LogoMismatches(int x0, int y0, bool enabled = true) {
    return LogoMismatches(x0, y0, enabled, [](int, int) { return kFormRgb; });
  }
  // Pixels of Rect (client coordinates) that are not the form's colour.
  int NonBackground(const TRect& r) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += Pixel(x, y) != kFormRgb;
    return n;
  }
  // Writes Rect of the form as <shots>/<name>.png and a four-times enlargement beside it.
  void SaveShot(const std::string& name, const TRect& r);

  TForm* form = nullptr;
  TksPngImageStorage* storage = nullptr;
  TksPngImage* logo = nullptr;
};

}  // namespace pngstore::test
