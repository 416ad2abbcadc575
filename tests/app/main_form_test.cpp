#include "app/main_form.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "app/search_request.h"
#include "app/service_host.h"
#include "image/png/png_image.h"
#include "main_form_fixture.h"
#include "platform/backend/headless/headless_backend.h"
#include "platform/user/window.h"
#include "skin/draw/ks_bitmap.h"
#include "skin/draw/png_to_bitmap.h"

namespace lumoa::app {
namespace {

using test::MainFormTest;

namespace fs = std::filesystem;

std::string Str(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
         "," + std::to_string(r.bottom);
}

TEST_F(MainFormTest, StoredLayoutBuildsTheWindow) {
  StartForm();
  ASSERT_NE(Form1, nullptr);
  EXPECT_EQ(Application->MainForm(), Form1);

  // A borderless 402 x 55 strip at (285, 211), drawn without decoration.
  const RECT r = WindowRect();
  EXPECT_EQ(r.left, 285);
  EXPECT_EQ(r.top, 211);
  EXPECT_EQ(r.right - r.left, 402);
  EXPECT_EQ(r.bottom - r.top, 55);
  EXPECT_EQ(Form1->ClientWidth(), 402);
  EXPECT_EQ(Form1->ClientHeight(), 55);
  const auto* native = hb().Window(platform::user::Get(Form1->Handle())->native);
  ASSERT_NE(native, nullptr);
  EXPECT_TRUE(native->params.popup);
  EXPECT_TRUE(native->visible);

  // Components by their stored names, with their parents and places.
  EXPECT_EQ(Form1->FindComponent("img1"), Form1->img1);
  EXPECT_EQ(Form1->img1->Parent(), Form1);
  EXPECT_EQ(Str(Form1->img1->BoundsRect()), "0,0,55,55");
  EXPECT_EQ(Str(Form1->ksknpgcntrl->BoundsRect()), "56,0,402,55");
  // The query box and the button take the height of their skin records (stored: 20 and 17).
  EXPECT_EQ(Str(Form1->edt2->BoundsRect()), "72,27,297,48");
  EXPECT_EQ(Str(Form1->ksbtn1->BoundsRect()), "304,28,363,49");
  EXPECT_EQ(Form1->cbb1->Parent(), Form1->more);
  EXPECT_EQ(Str(Form1->cbb1->BoundsRect()), "240,4,301,25");

  // The query box and the button lie above the page area and take its clicks.
  for (TWinControl* c : {static_cast<TWinControl*>(Form1->edt2), static_cast<TWinControl*>(Form1->ksbtn1)}) {
    const TPoint p = c->ClientToScreen(Point(c->Width() / 2, c->Height() / 2));
    EXPECT_EQ(WindowFromPoint(POINT{p.x, p.y}), c->Handle()) << c->Name();
  }

  const char* sheets[] = {"web", "news", "mp3", "video", "map", "more", "ksSheetclose"};
  ASSERT_EQ(Form1->ksknpgcntrl->PageCount(), 7);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(Form1->ksknpgcntrl->Pages(i)->Name(), sheets[i]);
  EXPECT_EQ(Form1->ksknpgcntrl->ActivePage(), Form1->web);
  EXPECT_TRUE(Form1->ksbtn1->Visible());
  EXPECT_EQ(Form1->map->Font()->Charset(), GB2312_CHARSET);

  // Texts are held in GBK, not in the UTF-8 of the source.
  EXPECT_EQ(Form1->edt2->Text(), Slogan());
  EXPECT_EQ(Slogan().size(), 41u);  // 20 double-byte characters and a hyphen
  EXPECT_EQ(Form1->news->Caption(), Utf8ToAnsi(" 新闻 "));
  EXPECT_EQ(Form1->ksbtn1->Caption(), Utf8ToAnsi("搜索"));
  EXPECT_EQ(AnsiToUtf8(UpdateNotice()), std::string("版本更新请关注 ") + kServiceHost);
  ASSERT_EQ(Form1->cbb1->Items()->Count(), 15);
  EXPECT_EQ(Form1->cbb1->Items()->Get(14), Utf8ToAnsi("手机号"));
  EXPECT_EQ(Form1->cbb1->ItemIndex(), 0);
  Pump();
  EXPECT_FALSE(fs::exists(dir_ / "url.txt")) << "loading the stored selection searched";

  EXPECT_TRUE(Form1->tmr1->Enabled());
  EXPECT_EQ(Form1->tmr1->Interval(), 10000u);
  EXPECT_TRUE(hb().HotKeyGrabbed(MOD_ALT, '1'));
  EXPECT_GE(Form1->HotKeyId(), 0);
  EXPECT_LE(Form1->HotKeyId(), 0x3FFF);

}

// Loading the layout loads skin 0 and every control follows it before the first paint.
TEST_F(MainFormTest, SkinZeroReachesEveryControlAndTheBackground) {
  StartForm();
  TksSkinData* data = Form1->ksSkinData1;
  ASSERT_FALSE(data->Empty());
  EXPECT_EQ(data->SkinIndex(), 0);
  EXPECT_EQ(data->SkinList(), Form1->ksCompressedSkinList1);
  EXPECT_EQ(data->ResourceStrData(), Form1->ksResourceStrData1);
  EXPECT_EQ(Form1->ksCompressedSkinList1->Skins()->Count(), 3);
  EXPECT_EQ(Form1->ksMarluneForm1->SkinData(), data);
  EXPECT_EQ(Form1->edt2->SkinIndex(), data->GetControlIndex("edit"));
  EXPECT_EQ(Form1->ksbtn1->SkinIndex(), data->GetControlIndex("button"));
  EXPECT_EQ(Form1->edt2->Height(), 21);
  EXPECT_EQ(Form1->ksbtn1->Height(), 21);
  EXPECT_EQ(Form1->edt2->Font()->Color(), 8742987) << "the stored silver stays";

  // Between the logo and the page control lies the skin's client piece, tiled from the
  // form's top-left.
  TBitmap* picture = data->Picture.get();
  const RECT c{3, 20, 125, 91};
  const platform::NativeId id = platform::user::Get(Form1->Handle())->native;
  for (int y = 0; y < 55; ++y) {
    const COLORREF want = picture->PixelRGB(c.left + 55 % (c.right - c.left),
                                            c.top + y % (c.bottom - c.top));
    const uint32_t got = hb().WindowPixel(id, 55, y) & 0xFFFFFF;
    ASSERT_EQ(got, ((want & 0xFF) << 16) | (want & 0xFF00) | ((want >> 16) & 0xFF)) << y;
  }

  // The logo is the storage's item "PngImage0", blended with its alpha over that background.
  ASSERT_EQ(Form1->kspngmgstrg1->PngImages()->Count(), 1);
  EXPECT_EQ(Form1->kspngmgstrg1->PngImages()->Items(0)->Name(), "PngImage0");
  EXPECT_EQ(Form1->img1->Width(), 55);
  EXPECT_EQ(Form1->img1->Height(), 55);
  TksBitmap logo;
  ASSERT_TRUE(skin::PngToBitmap(logo, *Form1->kspngmgstrg1->PngImages()->Items(0)->PngImage()));
  int partial = 0;
  for (int y = 0; y < 55; ++y)
    for (int x = 0; x < 55; ++x) {
      const uint32_t s = logo.GetPixel(x, y);
      const int a = static_cast<int>(s >> 24);
      if (a > 0 && a < 255) ++partial;
      const COLORREF bg = picture->PixelRGB(c.left + x % (c.right - c.left), c.top + y % (c.bottom - c.top));
      const int d[3] = {GetBValue(bg), GetGValue(bg), GetRValue(bg)};
      uint32_t want = 0;
      for (int k = 0; k < 3; ++k) {
        const int sv = static_cast<int>((s >> (8 * k)) & 0xFF);
        want |= static_cast<uint32_t>((sv * a + (255 - a) * d[k] + 255) / 256) << (8 * k);
      }
      ASSERT_EQ(hb().WindowPixel(id, x, y) & 0xFFFFFF, want) << x << "," << y;
    }
  EXPECT_GT(partial, 20) << "the logo should have a soft edge to check";
}

TEST_F(MainFormTest, HintRotatesAndAPressClearsOnlyTheSlogan) {
  StartForm();
  TCustomMaskEdit* edit = Form1->edt2;
  hb().AdvanceClock(9000);
  Pump();
  EXPECT_EQ(edit->Text(), Slogan()) << "rotated early";
  hb().AdvanceClock(1000);
  Pump();
  EXPECT_EQ(edit->Text(), UpdateNotice());

  ClickAt(edit, 5, 5);  // the notice stays
  EXPECT_EQ(edit->Text(), UpdateNotice());
  Tick();
  EXPECT_EQ(edit->Text(), Slogan());

  // Any button clears the slogan; the right one also opens the box's context menu, which
  // Escape closes.
  bool escaped = false;
  hb().SetIdleHandler([&] {
    if (escaped) return;
    escaped = true;
    hb().PressKey(VK_ESCAPE);
  });
  ClickAt(edit, 5, 5, 3);
  hb().SetIdleHandler(nullptr);
  EXPECT_TRUE(escaped) << "no context menu opened";
  EXPECT_EQ(edit->Text(), "");
  Tick();
  EXPECT_EQ(edit->Text(), "") << "an empty box is the user's";
}

TEST_F(MainFormTest, TypedTextStopsTheRotationUntilItIsAHintAgain) {
  StartForm();
  TCustomMaskEdit* edit = Form1->edt2;
  ClickAt(edit, 5, 5);
  Type("abc");
  EXPECT_EQ(edit->Text(), "abc");
  Tick();
  Tick();
  EXPECT_EQ(edit->Text(), "abc");

  edit->SelectAll();
  Type("集成近百个主流搜索引擎-最全最强的集成搜索");
  EXPECT_EQ(edit->Text(), Slogan());
  Tick();
  EXPECT_EQ(edit->Text(), UpdateNotice());
}

TEST_F(MainFormTest, MoreHidesTheSearchButtonAndLeavingItShowsIt) {
  StartForm();
  const RECT before = WindowRect();
  ClickTab(5);
  EXPECT_EQ(Form1->ksknpgcntrl->ActivePage(), Form1->more);
  EXPECT_FALSE(Form1->ksbtn1->Visible());
  EXPECT_TRUE(Form1->cbb1->IsShowing());
  ClickTab(1);
  EXPECT_EQ(Form1->ksknpgcntrl->ActivePage(), Form1->news);
  EXPECT_TRUE(Form1->ksbtn1->Visible());
  EXPECT_FALSE(Form1->cbb1->IsShowing());
  // A click without moving leaves the window where it was.
  const RECT after = WindowRect();
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
}

TEST_F(MainFormTest, CloseTabEndsTheProgramAndFreesTheForm) {
  StartForm();
  ClickTab(6);
  EXPECT_TRUE(Application->Terminated());
  EXPECT_FALSE(hb().HotKeyGrabbed(MOD_ALT, '1'));
  EXPECT_EQ(GlobalFindAtomA(ApplicationTitle().c_str()), 0);
  Pump();  // the queued release
  EXPECT_EQ(Form1, nullptr);
}

TEST_F(MainFormTest, SearchesByEnterButtonAndComboBox) {
  StartForm();
  // Enter while the slogan still shows searches for the slogan.
  Form1->edt2->SetFocus();
  hb().PressKey(VK_RETURN);
  Pump();
  EXPECT_EQ(RecordedUrl(), BuildForTab("web", Slogan()));

  // The button searches the active tab with the typed text.
  ClickTab(1);
  ClickAt(Form1->edt2, 5, 5);
  Type("abc");
  ClickAt(Form1->ksbtn1, 10, 8);
  EXPECT_EQ(RecordedUrl(), ServicePrefix() + "baidu_news&hid=news&keyword=abc");

  // On "more" every selection in the category box searches at once.
  ClickTab(5);
  Form1->cbb1->SetFocus();
  hb().PressKey(VK_DOWN);
  Pump();
  EXPECT_EQ(Form1->cbb1->ItemIndex(), 1);
  EXPECT_EQ(RecordedUrl(), ServicePrefix() + "youdao_gouwu&hid=buy&keyword=abc");
}

TEST_F(MainFormTest, FailingBrowserIsReportedAndTheNextSearchWorks) {
  StartForm();
  setenv("BROWSER", (dir_ / "no-such-browser").c_str(), 1);
  Form1->edt2->SetFocus();
  std::u16string boxTitle, boxText;
  int step = 0;
  hb().SetIdleHandler([&] {
    switch (step++) {
      case 0:
        hb().PressKey(VK_RETURN);  // the launch fails: a message box comes up
        break;
      case 1: {
        HWND box = GetActiveWindow();
        WCHAR buf[256] = {};
        GetWindowTextW(box, buf, 256);
        boxTitle = buf;
        if (box != Form1->Handle()) boxText = u"shown";
        setenv("BROWSER", Recorder().c_str(), 1);
        hb().PressKey(VK_RETURN);  // dismisses the box
        break;
      }
      case 2:
        hb().PressKey(VK_RETURN);  // searches again from the query box
        break;
      default:
        Application->Terminate();
    }
  });
  Application->Run();
  hb().SetIdleHandler(nullptr);
  EXPECT_EQ(boxText, u"shown");
  EXPECT_EQ(boxTitle, AnsiToWide(ApplicationTitle()));
  EXPECT_EQ(RecordedUrl(), BuildForTab("web", Slogan()));
  EXPECT_TRUE(IsWindowVisible(Form1->Handle()));
}

TEST_F(MainFormTest, HeldHotKeyLeavesTheProgramRunningWithoutIt) {
  hb().BlockHotKey(MOD_ALT, '1');  // another instance has Alt+1
  StartForm();
  EXPECT_EQ(Form1->HotKeyId(), -1);
  EXPECT_EQ(GlobalFindAtomA(ApplicationTitle().c_str()), 0) << "atom left behind";
  EXPECT_FALSE(Application->Terminated());
  EXPECT_TRUE(IsWindowVisible(Form1->Handle()));

  Form1->edt2->SetFocus();
  hb().PressKey(VK_RETURN);
  Pump();
  EXPECT_TRUE(RecordedUrl().has_value());
  ClickTab(6);
  EXPECT_TRUE(Application->Terminated());
}

TEST_F(MainFormTest, HotKeyRestoresOrRaisesTheWindow) {
  StartForm();
  const HWND h = Form1->Handle();
  const LPARAM altOne = MAKELPARAM(MOD_ALT, '1');

  ShowWindow(h, SW_MINIMIZE);
  Pump();
  ASSERT_TRUE(IsIconic(h));
  PostMessageW(h, WM_HOTKEY, Form1->HotKeyId(), MAKELPARAM(MOD_ALT | MOD_SHIFT, '1'));
  Pump();
  EXPECT_TRUE(IsIconic(h)) << "other modifiers are not ours";
  PostMessageW(h, WM_HOTKEY, Form1->HotKeyId(), altOne);
  Pump();
  EXPECT_FALSE(IsIconic(h));

  auto* other = new TForm(Application);
  other->SetBorderStyle(bsNone);
  other->SetBounds(200, 200, 300, 100);
  other->Show();
  Pump();
  // Stands in for another program's window: over ours while ours stays the active one.
  SetForegroundWindow(h);
  SetWindowPos(other->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Pump();
  ASSERT_EQ(GetTopWindow(nullptr), other->Handle());
  PostMessageW(h, WM_HOTKEY, Form1->HotKeyId(), altOne);
  Pump();
  EXPECT_EQ(GetTopWindow(nullptr), h);
  EXPECT_EQ(hb().StackingOrder().back(), platform::user::Get(h)->native);
}

TEST_F(MainFormTest, PressOnLogoOrTabStripDragsTheWindow) {
  StartForm();
  TPoint p = Form1->img1->ClientToScreen(Point(20, 20));
  hb().MoveMouse(p.x, p.y);
  hb().PressButton(1);
  hb().MoveMouse(p.x + 30, p.y + 12);
  hb().ReleaseButton(1);
  Pump();
  RECT r = WindowRect();
  EXPECT_EQ(r.left, 315);
  EXPECT_EQ(r.top, 223);

  // Any button drags, and the move ends when that button is released.
  p = Form1->img1->ClientToScreen(Point(20, 20));
  hb().MoveMouse(p.x, p.y);
  hb().PressButton(3);
  hb().MoveMouse(p.x - 30, p.y - 12);
  hb().ReleaseButton(3);
  hb().MoveMouse(p.x + 200, p.y + 200);
  Pump();
  r = WindowRect();
  EXPECT_EQ(r.left, 285);
  EXPECT_EQ(r.top, 211);

  // The strip to the right of the tabs belongs to the page control.
  p = Form1->ksknpgcntrl->ClientToScreen(Point(340, 10));
  hb().MoveMouse(p.x, p.y);
  hb().PressButton(1);
  hb().MoveMouse(p.x - 100, p.y + 50);
  hb().ReleaseButton(1);
  Pump();
  r = WindowRect();
  EXPECT_EQ(r.left, 185);
  EXPECT_EQ(r.top, 261);
  EXPECT_EQ(r.right - r.left, 402);
}

// Over the logo the form skinner's caption band (rows 2 to 19) answers caption: a press there
// moves the window without reaching the logo, a double click rolls it up; below the band the
// logo's own press handler drags.
TEST_F(MainFormTest, CaptionBandOverTheLogoMovesAndRollsUpTheWindow) {
  StartForm();
  int logoPresses = 0;
  const TMouseEvent drag = Form1->img1->OnMouseDown;
  Form1->img1->OnMouseDown = [&](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
    ++logoPresses;
    drag(s, b, sh, x, y);
  };
  auto dragFrom = [&](int x, int y, int dx, int dy) {
    const TPoint p = Form1->img1->ClientToScreen(Point(x, y));
    hb().MoveMouse(p.x, p.y);
    hb().PressButton(1);
    hb().MoveMouse(p.x + dx, p.y + dy);
    hb().ReleaseButton(1);
    Pump();
    hb().AdvanceClock(1000);
  };
  dragFrom(20, 10, 30, 12);
  EXPECT_EQ(WindowRect().left, 315);
  EXPECT_EQ(WindowRect().top, 223);
  EXPECT_EQ(logoPresses, 0) << "the band is the window's caption, not the logo";
  dragFrom(20, 35, -30, -12);
  EXPECT_EQ(WindowRect().left, 285);
  EXPECT_EQ(WindowRect().top, 211);
  EXPECT_EQ(logoPresses, 1);

  auto doubleClick = [&] {
    const TPoint p = Form1->img1->ClientToScreen(Point(20, 10));
    hb().Click(p.x, p.y);
    Pump();
    hb().Click(p.x, p.y);
    Pump();
    hb().AdvanceClock(1000);
    Pump();
  };
  doubleClick();
  EXPECT_TRUE(Form1->ksMarluneForm1->RollUpState());
  EXPECT_EQ(WindowRect().bottom - WindowRect().top, 24);
  doubleClick();
  EXPECT_FALSE(Form1->ksMarluneForm1->RollUpState());
  EXPECT_EQ(WindowRect().bottom - WindowRect().top, 55);
  EXPECT_EQ(logoPresses, 1);
}

// A right press on the caption band over the logo opens the system menu, drawn from the skin's
// menu records rather than as a plain menu.
TEST_F(MainFormTest, RightPressOnTheCaptionBandOpensTheSkinnedSystemMenu) {
  StartForm();
  HWND menuWindow = nullptr;
  uint32_t menuPixel = 0;
  hb().SetIdleHandler([&] {
    if (!menuWindow) {
      menuWindow = FindWindowW(reinterpret_cast<LPCWSTR>(u"TksSkinMenuWindow"), nullptr);
      if (menuWindow) {
        RECT r{};
        GetWindowRect(menuWindow, &r);
        menuPixel = hb().ScreenPixel(r.left + 8, r.top + 8);
      }
    }
    hb().PressKey(VK_ESCAPE);
  });
  const TPoint p = Form1->img1->ClientToScreen(Point(20, 10));
  hb().MoveMouse(p.x, p.y);
  hb().PressButton(3);
  hb().ReleaseButton(3);
  Pump();
  hb().SetIdleHandler(nullptr);
  ASSERT_NE(menuWindow, nullptr) << "no skinned menu window opened";
  EXPECT_FALSE(IsWindow(menuWindow)) << "Escape closes it";
  EXPECT_NE(menuPixel, 0u);
  EXPECT_EQ(WindowRect().left, 285) << "a right press on the band does not move the window";
}

// Each way to search opens exactly one browser window.
TEST_F(MainFormTest, EverySearchPathRecordsExactlyOneUrl) {
  StartForm();
  ClickAt(Form1->edt2, 5, 5);
  Type("q");
  auto expectOne = [&](const std::string& url, const char* path) {
    EXPECT_EQ(RecordedUrl(), url) << path;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    Pump();
    EXPECT_FALSE(fs::exists(dir_ / "url.txt")) << path << " searched twice";
  };
  hb().PressKey(VK_RETURN);
  Pump();
  expectOne(BuildForTab("web", "q"), "Enter");
  ClickAt(Form1->ksbtn1, 10, 8);
  expectOne(BuildForTab("web", "q"), "button");
  Form1->edt2->OnButtonClick(Form1->edt2);
  Pump();
  expectOne(BuildForTab("web", "q"), "edit button event");

  ClickTab(5);
  Form1->cbb1->SetFocus();
  Pump();
  hb().PressKey(VK_DOWN);  // closed list: the next category at once
  Pump();
  expectOne(BuildForListCategory(1, "q"), "arrow key");
  Form1->cbb1->DropDown();
  Pump();
  hb().PressKey(VK_DOWN);  // open list: every move selects and searches
  Pump();
  expectOne(BuildForListCategory(2, "q"), "arrow key in the open list");
  hb().PressKey(VK_ESCAPE);  // cancelling keeps the item the key chose, without a search
  Pump();
  EXPECT_EQ(Form1->cbb1->ItemIndex(), 2);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_FALSE(fs::exists(dir_ / "url.txt"));
}

}  // namespace
}  // namespace lumoa::app
