// The launcher's own window drawn with a given skin: the real main form, on a memory-only
// desktop, driven by injected input into each state a user sees, and read back from the
// composed screen, so the glow and the drop-down list show as they would on a desktop.
#include "tools/skinview/main_window_tiles.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "app/main_form.h"
#include "platform/backend/headless/headless_backend.h"
#include "platform/user/window.h"

namespace lumoa::skinview {

namespace {

using platform::HeadlessBackend;

constexpr int kMargin = 14;  // room for the glow around the button and the window's edge

HeadlessBackend& Desktop() { return platform::Headless(); }

void Pump() { Application->ProcessMessages(); }

// Lets fades and morphs run to their end on the virtual clock.
void Settle(int ms = 600) {
  for (int t = 0; t < ms; t += 15) {
    Desktop().AdvanceClock(15);
    Pump();
  }
}

void MoveTo(TControl* c, int x, int y) {
  const TPoint p = c->ClientToScreen(Point(x, y));
  Desktop().MoveMouse(p.x, p.y);
  Pump();
}

void ClickAt(TControl* c, int x, int y) {
  const TPoint p = c->ClientToScreen(Point(x, y));
  Desktop().Click(p.x, p.y);
  Pump();
}

TPoint TabCentre(int index) {
  const TRect r = app::Form1->ksknpgcntrl->TabRect(index);
  return Point((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

// The part of the composed screen that holds every visible window, with a margin.
std::unique_ptr<TBitmap> Capture() {
  const HeadlessBackend& d = Desktop();
  RECT area{};
  bool any = false;
  for (platform::NativeId id : d.StackingOrder()) {
    const HeadlessBackend::NativeWindow* w = d.Window(id);
    if (w == nullptr || !w->visible) continue;
    if (!any) {
      area = w->bounds;
      any = true;
    } else {
      UnionRect(&area, &area, &w->bounds);
    }
  }
  const RECT screen = const_cast<HeadlessBackend&>(d).ScreenRect();
  area = {std::max(screen.left, area.left - kMargin), std::max(screen.top, area.top - kMargin),
          std::min(screen.right, area.right + kMargin), std::min(screen.bottom, area.bottom + kMargin)};
  const int w = std::max(1, static_cast<int>(area.right - area.left));
  const int h = std::max(1, static_cast<int>(area.bottom - area.top));
  const std::vector<uint32_t> pixels = d.ComposeScreen();
  const int stride = screen.right - screen.left;
  auto out = std::make_unique<TBitmap>(w, h, pf24bit);
  for (int y = 0; y < h; ++y) {
    uint8_t* row = out->ScanLine(y);
    for (int x = 0; x < w; ++x) {
      const uint32_t p = pixels[static_cast<size_t>(area.top + y - screen.top) * stride + (area.left + x - screen.left)];
      row[3 * x] = static_cast<uint8_t>(p);
      row[3 * x + 1] = static_cast<uint8_t>(p >> 8);
      row[3 * x + 2] = static_cast<uint8_t>(p >> 16);
    }
  }
  return out;
}

}  // namespace

void AddMainWindowTiles(TksCompressedStoredSkin& stored, std::vector<Tile>& tiles) {
  // A sheet is drawn off screen: no display is needed, and nothing may reach a browser.
  platform::user::ResetUserState();
  platform::SetBackend(std::make_unique<HeadlessBackend>());
  setenv("BROWSER", "true", 1);
  Desktop().SetBackgroundColor(0x5A6E8C);
  Application->Free();
  Screen->Free();
  Application = new TApplication(nullptr);
  Screen = new TScreen(nullptr);
  Application->SetTitle(app::ApplicationTitle());
  // A skin the window cannot take fails the sheet: there is nobody to close the message box
  // the application would show, and the pictures after it would show nothing true.
  AnsiString failure;
  Application->OnException = [&failure](TObject*, const AnsiString& message) {
    if (failure.empty()) failure = message;
  };
  struct Cleanup {
    ~Cleanup() {
      Desktop().SetIdleHandler(nullptr);
      Application->DestroyComponents();
      platform::user::ResetUserState();
    }
  } cleanup;
  const auto check = [&failure] {
    if (!failure.empty()) throw Exception("the launcher's window cannot take this skin: " + failure);
  };
  Application->CreateForm(app::Form1);
  app::TForm1* form = app::Form1;
  form->Show();
  Pump();
  form->ksSkinData1->SetCompressedStoredSkin(&stored);
  Settle(1500);
  auto shot = [&](const std::string& label) {
    check();
    tiles.push_back({"main window: " + label, Capture()});
  };

  Desktop().MoveMouse(0, 0);
  Pump();
  Settle();
  shot("at start");

  const TPoint music = TabCentre(2);
  MoveTo(form->ksknpgcntrl, music.x, music.y);
  Settle();
  shot("tab hovered");

  const int bx = form->ksbtn1->Width() / 2, by = form->ksbtn1->Height() / 2;
  MoveTo(form->ksbtn1, bx, by);
  Settle();
  shot("search button hot");
  Desktop().PressButton(1);
  Pump();
  Settle(100);
  shot("search button pressed");
  // Released away from the button, so that no search starts.
  MoveTo(form->img1, 30, 40);
  Desktop().ReleaseButton(1);
  Pump();
  Settle();

  ClickAt(form->edt2, 20, 8);
  Desktop().CommitText(u"Lumoa \u641C\u7D22 skin");
  Pump();
  Settle(100);
  shot("query typed, Latin and Chinese");

  const TPoint more = TabCentre(5);
  ClickAt(form->ksknpgcntrl, more.x, more.y);
  Settle();
  const TRect arrow = form->cbb1->ButtonRect();
  ClickAt(form->cbb1, (arrow.left + arrow.right) / 2, (arrow.top + arrow.bottom) / 2);
  Settle();
  shot("\"more\" tab, list dropped down");
  Desktop().PressKey(VK_ESCAPE);
  Pump();
  Settle();
  // The longest category, at the end of the list.
  form->cbb1->SetItemIndex(form->cbb1->Items()->Count() - 1);
  ClickAt(form->cbb1, (arrow.left + arrow.right) / 2, (arrow.top + arrow.bottom) / 2);
  Settle();
  shot("last category, list dropped down");
  Desktop().PressKey(VK_ESCAPE);
  Pump();
  Settle();

  // The system menu runs its own loop: the picture is taken from inside it.
  bool menuShot = false;
  Desktop().SetIdleHandler([&] {
    if (!menuShot && FindWindowW(reinterpret_cast<LPCWSTR>(u"TksSkinMenuWindow"), nullptr)) {
      menuShot = true;
      shot("system menu, right press over the logo");
    }
    Desktop().PressKey(VK_ESCAPE);
  });
  {
    const TPoint band = form->img1->ClientToScreen(Point(20, 10));
    Desktop().MoveMouse(band.x, band.y);
    Desktop().PressButton(3);
    Desktop().ReleaseButton(3);
    Pump();
  }
  Desktop().SetIdleHandler(nullptr);
  Settle();

  form->ksMarluneForm1->SetRollUpState(true);
  Pump();
  Settle();
  shot("rolled up");
  form->ksMarluneForm1->SetRollUpState(false);
  Pump();
  check();
}

}  // namespace lumoa::skinview
