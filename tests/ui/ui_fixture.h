// Fixture for framework tests on the headless back end: fresh window manager state, a fresh
// application and screen per test, and helpers to pump messages and inject input.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/backend/headless/headless_backend.h"
#include "platform/user/window.h"
#include "ui/forms.h"

namespace lumoa::ui::test {

inline std::string Str(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

class UiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::user::ResetUserState();
    platform::SetBackend(std::make_unique<platform::HeadlessBackend>());
    Application->Free();
    Screen->Free();
    Application = new TApplication(nullptr);
    Screen = new TScreen(nullptr);
  }
  void TearDown() override {
    Application->DestroyComponents();
    platform::user::ResetUserState();
  }
  platform::HeadlessBackend& hb() { return platform::Headless(); }
  void Pump() { Application->ProcessMessages(); }
  // A shown borderless form at (x, y) with the given client size, owned by the application.
  TForm* MakeForm(int x = 100, int y = 100, int w = 200, int h = 100) {
    auto* f = new TForm(Application);
    f->SetBorderStyle(bsNone);
    f->SetBounds(x, y, w, h);
    f->Show();
    Pump();
    return f;
  }
  // Clicks at a client point of a control.
  void ClickAt(TControl* c, int x, int y, UINT button = 1) {
    const TPoint p = c->ClientToScreen(Point(x, y));
    hb().Click(p.x, p.y, button);
    Pump();
  }
};

}  // namespace lumoa::ui::test
