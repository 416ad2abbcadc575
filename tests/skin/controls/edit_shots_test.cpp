// Pictures of the query box in each shipped skin, for a person to look at: written to
// shots/edit/ in the build folder, at 1:1 and enlarged four times.
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "edit_fixture.h"
#include "image/png/png_image.h"

namespace lumoa::skin::test {
namespace {

std::filesystem::path ShotDir() {
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  const auto dir = (ec ? std::filesystem::current_path() : exe.parent_path().parent_path()) / "shots" / "edit";
  std::filesystem::create_directories(dir, ec);
  return dir;
}

void SavePng(const TBitmap& source, int zoom, const std::filesystem::path& path) {
  TBitmap out(source.Width() * zoom, source.Height() * zoom, pf24bit);
  SetStretchBltMode(out.Canvas()->Handle(), COLORONCOLOR);
  StretchBlt(out.Canvas()->Handle(), 0, 0, out.Width(), out.Height(),
             const_cast<TBitmap&>(source).Canvas()->Handle(), 0, 0, source.Width(), source.Height(), SRCCOPY);
  TksPngImage png;
  png.Assign(&out);
  TFileStream file(path.string(), fmCreate);
  png.SaveToStream(file);
}

class EditShots : public EditTest {};

TEST_F(EditShots, EveryStateInEveryShippedSkin) {
  constexpr int kMargin = 6;
  struct Shot {
    const char* name;
    std::function<void(TksSkinEdit*)> setUp;
  };
  const AnsiString slogan = Utf8ToAnsi("集成近百个主流搜索引擎-最全最强的集成搜索");
  for (int skin = 0; skin < 3; ++skin) {
    SCOPED_TRACE(skin);
    std::vector<std::unique_ptr<TBitmap>> tiles;
    const std::vector<Shot> shots = {
        {"empty", [](TksSkinEdit*) {}},
        {"slogan", [&](TksSkinEdit* e) { e->SetText(slogan); }},
        {"latin", [&](TksSkinEdit* e) { e->SetFocus(); Type(u"Hello, world - typed (Wq)"); form->SetFocus(); }},
        {"chinese", [&](TksSkinEdit* e) { e->SetFocus(); hb().CommitText(u"中文搜索 天气预报"); Pump(); form->SetFocus(); }},
        {"focused", [&](TksSkinEdit* e) { e->SetFocus(); Type(u"focus"); }},
        {"hot", [&](TksSkinEdit* e) {
           e->SetText("hot");
           RECT r;
           GetWindowRect(e->Handle(), &r);
           hb().MoveMouse(r.left + 100, r.top + 8);
         }},
        {"disabled", [&](TksSkinEdit* e) { e->SetText("disabled text"); e->SetEnabled(false); }},
        {"selected", [&](TksSkinEdit* e) { e->SetText("some selected text"); e->SetFocus(); e->SetSelStart(5); e->SetSelLength(8); }},
    };
    int width = 0, height = 0;
    for (const Shot& shot : shots) {
      SetUp();  // a fresh application for each picture
      TksSkinEdit* e = MakeEdit(skin);
      hb().MoveMouse(0, 0);
      Pump();
      shot.setUp(e);
      Pump();
      ASSERT_EQ(e->Height(), 21);
      RECT r;
      GetWindowRect(e->Handle(), &r);
      const platform::NativeId id = platform::NativeWindowOf(form->Handle());
      const auto* w = hb().Window(id);
      ASSERT_NE(w, nullptr);
      auto tile = std::make_unique<TBitmap>(e->Width() + 2 * kMargin, e->Height() + 2 * kMargin, pf24bit);
      for (int y = 0; y < tile->Height(); ++y)
        for (int x = 0; x < tile->Width(); ++x) {
          const uint32_t p = hb().WindowPixel(id, r.left - w->bounds.left + x - kMargin,
                                              r.top - w->bounds.top + y - kMargin);
          tile->Canvas()->SetPixel(x, y, static_cast<TColor>(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF)));
        }
      width = std::max(width, tile->Width());
      height += tile->Height();
      tiles.push_back(std::move(tile));
      TearDown();
    }
    TBitmap sheet(width, height, pf24bit);
    int y = 0;
    for (auto& t : tiles) {
      sheet.Canvas()->Draw(0, y, t.get());
      y += t->Height();
    }
    const std::string base = "edit_skin" + std::to_string(skin);
    SavePng(sheet, 1, ShotDir() / (base + ".png"));
    SavePng(sheet, 4, ShotDir() / (base + "_x4.png"));
    EXPECT_TRUE(std::filesystem::exists(ShotDir() / (base + ".png")));
  }
  SetUp();
}

TEST_F(EditShots, ContextMenuInEveryShippedSkin) {
  for (int skin = 0; skin < 3; ++skin) {
    SCOPED_TRACE(skin);
    SetUp();
    TksSkinEdit* e = MakeEdit(skin, "hello world");
    e->SetFocus();
    Pump();
    e->SetSelStart(6);
    e->SetSelLength(5);
    hb().SetClipboardText(u"clip");
    RECT box;
    GetWindowRect(e->Handle(), &box);
    TBitmap shot(260, 200, pf24bit);
    int step = 0;
    hb().SetIdleHandler([&] {
      if (step++ == 0) {
        hb().MoveMouse(box.left + 70, box.top + 60);  // over the third row
        return;
      }
      if (step == 2) {
        const std::vector<uint32_t> screen = hb().ComposeScreen();
        const int sw = hb().ScreenRect().right - hb().ScreenRect().left;
        for (int y = 0; y < shot.Height(); ++y)
          for (int x = 0; x < shot.Width(); ++x) {
            const uint32_t p = screen[size_t((box.top - 10 + y) * sw + box.left - 20 + x)];
            shot.Canvas()->SetPixel(x, y, static_cast<TColor>(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF)));
          }
      }
      hb().PressKey(VK_ESCAPE);
    });
    hb().Click(box.left + 50, box.top + 10, 3);
    Pump();
    hb().SetIdleHandler(nullptr);
    EXPECT_GE(step, 2);
    const std::string base = "edit_menu_skin" + std::to_string(skin);
    SavePng(shot, 1, ShotDir() / (base + ".png"));
    SavePng(shot, 3, ShotDir() / (base + "_x3.png"));
    TearDown();
  }
  SetUp();
}

}  // namespace
}  // namespace lumoa::skin::test
