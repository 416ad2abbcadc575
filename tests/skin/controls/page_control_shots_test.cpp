// Pictures of the launcher's tab strip with each shipped skin, a hovered tab and the active
// one, written under the build folder (shots/page_control) at 1:1 and enlarged four times.
#include <unistd.h>

#include <filesystem>

#include "image/png/png_image.h"
#include "skin/controls/up_down.h"
#include "skin/form/form_skinner.h"
#include "page_control_fixture.h"
#include "ui/streams.h"

namespace lumoa::skin::test {
namespace {

std::filesystem::path ShotDir() {
  char buf[4096] = {};
  const ssize_t n = readlink("/proc/self/exe", buf, sizeof(buf) - 1);
  std::filesystem::path dir = n > 0 ? std::filesystem::path(buf).parent_path().parent_path()
                                    : std::filesystem::temp_directory_path();
  dir /= "shots/page_control";
  std::filesystem::create_directories(dir);
  return dir;
}

void SavePng(TBitmap& b, const std::filesystem::path& path) {
  TksPngImage png;
  png.Assign(&b);
  TFileStream file(path.string(), fmCreate);
  png.SaveToStream(file);
}

class PageControlShots : public PageControlTest {
 protected:
  // The form's pixels (the whole strip: logo gap and page control).
  void Grab(TWinControl* c, TBitmap& b) {
    b.SetPixelFormat(pf24bit);
    b.SetSize(c->Width(), c->Height());
    for (int y = 0; y < c->Height(); ++y)
      for (int x = 0; x < c->Width(); ++x) {
        const uint32_t p = PixelAt(c, x, y);
        b.Canvas()->SetPixel(x, y, static_cast<TColor>(((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16)));
      }
  }
  void Shoot(TWinControl* c, const std::string& name) {
    TBitmap b;
    Grab(c, b);
    SavePng(b, ShotDir() / (name + ".png"));
    const int z = 4;
    TBitmap big(b.Width() * z, b.Height() * z, pf24bit);
    StretchBlt(big.Canvas()->Handle(), 0, 0, big.Width(), big.Height(), b.Canvas()->Handle(), 0,
               0, b.Width(), b.Height(), SRCCOPY);
    SavePng(big, ShotDir() / (name + "_x4.png"));
  }
};

TEST_F(PageControlShots, EachShippedSkinWithAHoveredAndTheActiveTab) {
  for (int skin = 0; skin < 3; ++skin) {
    SCOPED_TRACE(skin);
    TksSkinPageControl* pc = MakeLauncherPages(skin);
    pc->SetActivePage(sheets_[1]);
    Pump();
    const TRect hover = pc->GetTabRect(3);
    MoveTo(pc, (hover.left + hover.right) / 2, 10);
    EXPECT_EQ(pc->HoveredTab(), 3);
    Shoot(pc, "skin" + std::to_string(skin));
    EXPECT_TRUE(std::filesystem::exists(ShotDir() / ("skin" + std::to_string(skin) + ".png")));
    form_->Free();
    sheets_.clear();
    Pump();
  }
}

// On a skinned form the transparent strip shows the form's skin; a skin switch reaches the
// page control through the form skinner.
TEST_F(PageControlShots, OnASkinnedFormAcrossSkinSwitches) {
  TksSkinPageControl* pc = MakeLauncherPages(0, 346, [this](TForm* f) {
    auto* skinner = new TksMarluneForm(f);
    skinner->SetSkinData(data());
  });
  hb().AdvanceClock(1000);
  Pump();
  for (int skin = 0; skin < 3; ++skin) {
    SCOPED_TRACE(skin);
    if (skin > 0) LoadSkin(skin);
    Pump();
    const RECT n = pc->TabSkin().TabRect;
    const TRect r = pc->GetTabRect(2);
    EXPECT_EQ(PixelAt(pc, r.left + 2, 10),
              Rgb(pc->TabSkin().Page.Picture->PixelRGB(n.left + 2, n.top + 10)));
    MoveTo(pc, (r.left + r.right) / 2, 10);
    Shoot(form_, "form_skin" + std::to_string(skin));
  }
}

TEST_F(PageControlShots, ScrollerAndCloseButtons) {
  TksSkinPageControl* pc = MakeLauncherPages(0, 200);
  ASSERT_NE(pc->Scroller(), nullptr);
  Shoot(pc, "scroller");
  ClickAt(pc->Scroller(), 24, 8);
  MoveTo(pc, pc->Scroller()->Left() + 24, 8);
  Shoot(pc, "scroller_scrolled");
  form_->Free();
  sheets_.clear();
  Pump();
  pc = MakeLauncherPages(0);
  pc->SetShowCloseButtons(true);
  pc->SetParent(nullptr);
  pc->SetAlign(alNone);
  pc->SetParent(form_);
  pc->SetBounds(0, 0, 402, 55);
  Pump();
  const RECT cb = sheets_[2]->CloseButtonRect;
  MoveTo(pc, (cb.left + cb.right) / 2, (cb.top + cb.bottom) / 2);
  Shoot(pc, "close_buttons");
  form_->Free();
  sheets_.clear();
  Pump();
  pc = MakeLauncherPages(-1);
  MoveTo(pc, pc->GetTabRect(2).left + 5, 8);
  Shoot(pc, "plain");
}

TEST_F(PageControlShots, TabsOnEachSideWithSkinZero) {
  const char* names[] = {"top", "bottom", "left", "right"};
  for (int pos = 0; pos < 4; ++pos) {
    TksSkinPageControl* pc = MakeLauncherPages(0);
    pc->SetParent(nullptr);
    pc->SetAlign(alNone);
    pc->SetParent(form_);
    pc->SetBounds(0, 0, 300, 160);
    form_->SetClientHeight(160);
    pc->SetTabPosition(static_cast<TTabPosition>(pos));
    pc->SetTabsBGTransparent(false);
    Pump();
    const TRect hover = pc->GetTabRect(2);
    MoveTo(pc, (hover.left + hover.right) / 2, (hover.top + hover.bottom) / 2);
    Shoot(pc, std::string("side_") + names[pos]);
    form_->Free();
    sheets_.clear();
    Pump();
  }
}

}  // namespace
}  // namespace lumoa::skin::test
