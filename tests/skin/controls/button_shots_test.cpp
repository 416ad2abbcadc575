// Pictures of the button in every state with each shipped skin, glow included, written under
// the build folder (shots/button) at 1:1 and enlarged, to be looked at.
#include "button_fixture.h"

#include <unistd.h>

#include <filesystem>

#include "image/png/png_image.h"

namespace lumoa::skin::button_test {
namespace {

namespace fs = std::filesystem;

fs::path ShotsDir() {
  char exe[4096] = {};
  const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  fs::path dir = n > 0 ? fs::path(exe).parent_path().parent_path() : fs::current_path();
  dir /= "shots/button";
  fs::create_directories(dir);
  return dir;
}

void SavePng(const TBitmap& b, const fs::path& path, int zoom) {
  TBitmap out(b.Width() * zoom, b.Height() * zoom, pf24bit);
  for (int y = 0; y < out.Height(); ++y) {
    uint8_t* row = out.ScanLine(y);
    for (int x = 0; x < out.Width(); ++x) {
      const COLORREF c = b.PixelRGB(x / zoom, y / zoom);
      row[x * 3] = GetBValue(c);
      row[x * 3 + 1] = GetGValue(c);
      row[x * 3 + 2] = GetRValue(c);
    }
  }
  TksPngImage png;
  png.Assign(&out);
  TFileStream file(path.string(), fmCreate);
  png.SaveToStream(file);
}

class ButtonShots : public ButtonTest {
 protected:
  static constexpr int kTileW = 95, kTileH = 45;
  // The screen around the button as composed (form, button and glow window together).
  void Grab(TBitmap& sheet, int column) {
    Pump();
    const TPoint at = button->ClientToScreen(Point(0, 0));
    const std::vector<uint32_t> screen = hb().ComposeScreen();
    const int screenW = hb().ScreenRect().right;
    for (int y = 0; y < kTileH; ++y)
      for (int x = 0; x < kTileW; ++x) {
        const uint32_t p = screen[static_cast<size_t>(at.y - 12 + y) * screenW + (at.x - 18 + x)];
        sheet.Canvas()->SetPixel(column * kTileW + x, y,
                                 static_cast<TColor>(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF)));
      }
  }
};

TEST_F(ButtonShots, EveryStateOfEveryShippedSkin) {
  const fs::path dir = ShotsDir();
  for (int index = 0; index < lumoa::skins::StoredSkinCount(); ++index) {
    SCOPED_TRACE(index);
    if (button) {
      edit->SetFocus();
      Leave();
      button->Free();
      button = nullptr;
    }
    LoadSkin(index);
    form->SetColor(static_cast<TColor>(skin->SkinColors.cbtnface));
    MakeButton("搜索");
    ASSERT_NE(button->SkinIndex(), -1);
    // Normal, half-way to hot, hot with its glow, pressed, focused, disabled.
    TBitmap sheet(kTileW * 6, kTileH, pf24bit);
    Grab(sheet, 0);
    Hover();
    Wait(40, 20);
    Grab(sheet, 1);
    Wait(300, 25);
    Grab(sheet, 2);
    Press();
    Grab(sheet, 3);
    Release();
    Leave();
    Wait(300, 25);
    Grab(sheet, 4);
    edit->SetFocus();
    button->SetEnabled(false);
    Wait(100, 25);
    Grab(sheet, 5);
    const std::string name = "skin" + std::to_string(index);
    SavePng(sheet, dir / (name + ".png"), 1);
    SavePng(sheet, dir / (name + "_x4.png"), 4);
    const char* states[] = {"normal", "morphing", "hot", "pressed", "focused", "disabled"};
    for (int i = 0; i < 6; ++i) {
      TBitmap tile(kTileW, kTileH, pf24bit);
      tile.Canvas()->CopyRect(TRect{0, 0, kTileW, kTileH}, sheet.Canvas(),
                              TRect{i * kTileW, 0, (i + 1) * kTileW, kTileH});
      SavePng(tile, dir / (name + "_" + states[i] + "_x8.png"), 8);
    }
    EXPECT_TRUE(fs::file_size(dir / (name + ".png")) > 100);
    // The hot tile differs from the normal one, and the glow reaches beyond the face.
    int changedOutside = 0;
    for (int y = 0; y < kTileH; ++y)
      for (int x = 0; x < 20; ++x)
        changedOutside += sheet.PixelRGB(x, y) != sheet.PixelRGB(2 * kTileW + x, y);
    EXPECT_GT(changedOutside, 20) << "no glow to the left of the hot button";
  }
}

}  // namespace
}  // namespace lumoa::skin::button_test
