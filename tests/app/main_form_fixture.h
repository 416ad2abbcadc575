// The real main form on the headless back end, with a browser stand-in that records URLs.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "app/main_form.h"
#include "platform/backend/headless/headless_backend.h"
#include "platform/user/window.h"

namespace lumoa::app::test {

namespace fs = std::filesystem;

// The real main form on the headless back end, with BROWSER pointing at a script that
// records the URL it is given.
class MainFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::user::ResetUserState();
    platform::SetBackend(std::make_unique<platform::HeadlessBackend>());
    Application->Free();
    Screen->Free();
    Application = new TApplication(nullptr);
    Screen = new TScreen(nullptr);
    Application->SetTitle(ApplicationTitle());

    char pattern[] = "/tmp/lumoa-form-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    if (const char* old = std::getenv("BROWSER")) savedBrowser_ = old;
    setenv("BROWSER", Recorder().c_str(), 1);
  }

  void TearDown() override {
    hb().SetIdleHandler(nullptr);
    Application->DestroyComponents();
    platform::user::ResetUserState();
    if (savedBrowser_) {
      setenv("BROWSER", savedBrowser_->c_str(), 1);
    } else {
      unsetenv("BROWSER");
    }
    fs::remove_all(dir_);
  }

  platform::HeadlessBackend& hb() { return platform::Headless(); }
  void Pump() { Application->ProcessMessages(); }

  void StartForm() {
    Application->CreateForm(Form1);
    Form1->Show();
    Pump();
  }

  // Writes its one argument to url.txt (atomically, so a reader never sees half of it).
  std::string Recorder() {
    const fs::path script = dir_ / "browser";
    const fs::path out = dir_ / "url.txt";
    std::ofstream(script) << "#!/bin/sh\nprintf '%s' \"$1\" > '" << out.string() << ".tmp'\n"
                          << "mv '" << out.string() << ".tmp' '" << out.string() << "'\n";
    fs::permissions(script, fs::perms::owner_all);
    return script.string();
  }

  // The URL the recorder was given (waiting for it), nullopt when it never ran; consumes it.
  std::optional<std::string> RecordedUrl() {
    const fs::path out = dir_ / "url.txt";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!fs::exists(out)) {
      if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::ifstream in(out, std::ios::binary);
    std::string url((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    fs::remove(out);
    return url;
  }

  void ClickAt(TControl* c, int x, int y, UINT button = 1) {
    const TPoint p = c->ClientToScreen(Point(x, y));
    hb().Click(p.x, p.y, button);
    Pump();
  }
  void ClickTab(int index) {
    const TRect r = Form1->ksknpgcntrl->TabRect(index);
    ASSERT_LT(r.left, r.right) << "tab " << index << " is not on the strip";
    ClickAt(Form1->ksknpgcntrl, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
  void Tick() {
    hb().AdvanceClock(10000);
    Pump();
  }
  void Type(const char* utf8) {
    hb().CommitText(Utf8ToWide(utf8));
    Pump();
  }
  RECT WindowRect() {
    RECT r{};
    GetWindowRect(Form1->Handle(), &r);
    return r;
  }

  fs::path dir_;
  std::optional<std::string> savedBrowser_;
};

}  // namespace lumoa::app::test
