// The main form's category box on the headless back end: skin 0, built inside the loading
// protocol with the stored values of the launcher's layout.
#pragma once

#include <unistd.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "skin/controls/combo_box.h"
#include "skin/form/skin_fixture.h"
#include "ui/reader.h"

namespace lumoa::skin::test {

// Pictures for people to look at, under the build folder.
inline std::filesystem::path ShotDir() {
  char exe[4096];
  const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  if (n <= 0) return std::filesystem::temp_directory_path() / "shots";
  exe[n] = 0;
  // build/<dir>/tests/<binary> -> build/<dir>/shots
  return std::filesystem::path(exe).parent_path().parent_path() / "shots";
}

inline void Chunk(std::string& out, const char* type, const std::string& data) {
  const uint32_t n = static_cast<uint32_t>(data.size());
  for (int s : {24, 16, 8, 0}) out.push_back(static_cast<char>(n >> s));
  std::string body = std::string(type, 4) + data;
  out += body;
  const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()));
  for (int s : {24, 16, 8, 0}) out.push_back(static_cast<char>(crc >> s));
}

// Pixels 0xRRGGBB, row by row, scaled by `zoom`, as an RGB PNG file.
inline void WritePng(const std::filesystem::path& path, const std::vector<uint32_t>& px, int w, int h,
              int zoom) {
  const int zw = w * zoom, zh = h * zoom;
  std::string raw;
  for (int y = 0; y < zh; ++y) {
    raw.push_back(0);
    for (int x = 0; x < zw; ++x) {
      const uint32_t p = px[size_t((y / zoom) * w + x / zoom)];
      raw.push_back(static_cast<char>(p >> 16));
      raw.push_back(static_cast<char>(p >> 8));
      raw.push_back(static_cast<char>(p));
    }
  }
  uLongf len = compressBound(static_cast<uLong>(raw.size()));
  std::string z(len, '\0');
  compress(reinterpret_cast<Bytef*>(z.data()), &len, reinterpret_cast<const Bytef*>(raw.data()),
           static_cast<uLong>(raw.size()));
  z.resize(len);
  std::string ihdr;
  for (uint32_t v : {uint32_t(zw), uint32_t(zh)})
    for (int s : {24, 16, 8, 0}) ihdr.push_back(static_cast<char>(v >> s));
  ihdr += std::string("\x08\x02\x00\x00\x00", 5);
  std::string file = "\x89PNG\r\n\x1a\n";
  Chunk(file, "IHDR", ihdr);
  Chunk(file, "IDAT", z);
  Chunk(file, "IEND", "");
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << file;
}


inline const std::vector<const char*>& Categories() {
  static const std::vector<const char*> items = {"问答", "购物", "机票", "汽车", "股票",
                                                 "贴吧", "软件", "微博", "博客", "论坛",
                                                 "游戏", "小说", "图书", "商业", "手机号"};
  return items;
}

inline AnsiString Gbk(const char* utf8) { return WideToAnsi(Utf8ToWide(utf8)); }

class ComboTest : public SkinTest {
 protected:
  void SetUp() override {
    SkinTest::SetUp();
    hb().SetScreen(RECT{0, 0, 1024, 768}, RECT{0, 0, 1024, 740});
  }

  // A shown form at (x, y) holding the launcher's combo (skin `skin`, `items` of the stored
  // list) at 240, 4, built as the stored layout builds it.
  TksSkinComboBox* MakeCombo(int skin = 0, int x = 100, int y = 100, size_t items = 15) {
    LoadSkin(skin);
    form_ = MakeForm(x, y, 402, 55);
    TReader reader(form_);
    combo_ = reader.CreateOwned<TksSkinComboBox>(form_, "cbb1");
    combo_->SetParent(form_);
    combo_->SetBounds(240, 4, 61, 21);
    combo_->SetSkinDataName("combobox");
    combo_->SetStyle(kscbFixedStyle);
    for (size_t i = 0; i < items; ++i) combo_->Items()->Add(Gbk(Categories()[i]));
    combo_->SetItemIndex(0);
    combo_->SetText(Gbk("问答"));
    combo_->SetDropDownCount(12);
    combo_->AutoComplete = true;
    combo_->SetListBoxDefaultItemHeight(30);
    combo_->Font()->SetName("Arial");
    combo_->Font()->SetHeight(14);
    combo_->DefaultFont()->Assign(combo_->Font());
    combo_->SetUseSkinFont(true);
    combo_->SetListBoxUseSkinFont(true);
    combo_->SetListBoxUseSkinItemHeight(true);
    combo_->OnClick = [this](TObject*) { clicks_.push_back(combo_->ItemIndex()); };
    combo_->SetSkinData(data());
    reader.Finish();
    Pump();
    return combo_;
  }

  // Focus on the combo, as after a click into it.
  void Focus() {
    combo_->SetFocus();
    Pump();
  }
  void Key(UINT vk) {
    hb().PressKey(vk);
    Pump();
  }
  // A letter key with its text.
  void Type(char16_t letter) {
    hb().PressKey(UINT(letter >= u'a' && letter <= u'z' ? letter - u'a' + 'A' : letter),
                  std::u16string(1, letter));
    Pump();
  }
  TPoint ListPoint(int x, int y) { return combo_->PopupList()->ListBox()->ClientToScreen(Point(x, y)); }
  void MoveTo(TPoint screen) {
    hb().MoveMouse(screen.x, screen.y);
    Pump();
  }
  // The screen around the combo (and its open list) into shots/<name>.png, 1:1 and x4.
  void Shot(const std::string& name, int w, int h) {
    const std::vector<uint32_t> screen = hb().ComposeScreen();
    const RECT sr = hb().ScreenRect();
    const int sw = sr.right - sr.left;
    const TPoint at = combo_->ClientToScreen(Point(-4, -4));
    std::vector<uint32_t> px(size_t(w * h));
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) px[size_t(y * w + x)] = screen[size_t((at.y + y) * sw + at.x + x)] & 0xFFFFFF;
    WritePng(ShotDir() / (name + ".png"), px, w, h, 1);
    WritePng(ShotDir() / (name + "_x4.png"), px, w, h, 4);
  }
  RECT PopupRect() {
    RECT r{};
    GetWindowRect(combo_->PopupList()->Handle(), &r);
    return r;
  }

  TForm* form_ = nullptr;
  TksSkinComboBox* combo_ = nullptr;
  std::vector<int> clicks_;
};

}  // namespace lumoa::skin::test
