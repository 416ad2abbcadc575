// The launcher end to end on a real server: the lumoa binary driven by xdotool, with BROWSER
// pointing at a script that records the URL it is asked to open.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/search_request.h"
#include "support/launcher_driver.h"
#include "support/x11_test_support.h"

namespace lumoa::x11test {
namespace {

bool WaitViewable(unsigned long window, bool viewable, int ms) {
  for (int i = 0; i < ms / 20; ++i) {
    if (QueryWindow(window).viewable == viewable) return true;
    SleepMs(20);
  }
  return false;
}

TEST(LauncherTest, PlacementSearchesAndScreenshot) {
  auto wm = StartWindowManager();
  ASSERT_TRUE(wm) << "openbox did not start";
  Browser browser;
  Launcher app("searches");
  ASSERT_TRUE(app.Start(browser)) << ReadFile(app.err);

  const WinInfo info = QueryWindow(app.window);
  EXPECT_EQ(info.x, kLeft);
  EXPECT_EQ(info.y, kTop);
  EXPECT_EQ(info.width, 402);
  EXPECT_EQ(info.height, 55);
  const std::string extents = RunTool({"xprop", "-id", Hex(app.window), "_NET_FRAME_EXTENTS"});
  EXPECT_NE(extents.find("= 0, 0, 0, 0"), std::string::npos) << extents;
  SaveScreenshot("launcher_start");

  // "news", a click into the box (the slogan goes), "abc" and Enter.
  ClickAt(kTabX[1], kTabY);
  ClickAt(kEditX, kEditY);
  TypeText("abc");
  Key("Return");
  EXPECT_EQ(browser.WaitUrl(1), app::ServicePrefix() + "baidu_news&hid=news&keyword=abc");

  // The search button, after one more letter.
  Key("End");
  TypeText("d");
  ClickAt(kButtonX, kButtonY);
  EXPECT_EQ(browser.WaitUrl(2), app::ServicePrefix() + "baidu_news&hid=news&keyword=abcd");

  // On "more" the button goes and the category box searches on a pick from its list.
  ClickAt(kTabX[5], kTabY);
  SaveScreenshot("launcher_more");
  ClickAt(kComboX, kComboY);  // opens the list below the box
  ClickAt(kComboX, ComboRowY(2));  // the third row, "机票"
  EXPECT_EQ(browser.WaitUrl(3), app::ServicePrefix() + "kuxun&hid=plane&keyword=abcd");
  EXPECT_EQ(browser.Urls().size(), 3u);

  // The close tab ends the program with status 0.
  ClickAt(kTabX[6], kTabY);
  EXPECT_EQ(app.proc->WaitExit(3000), 0) << ReadFile(app.err);
  StopAndWaitReleased(wm, "WM_S0");
}

// The skinned strip under a window manager and a compositing manager: the search button glows
// while the pointer is over it, the caption band over the logo drags the window and a double
// click there rolls it up, and the "more" tab's list drops down below the category box.
TEST(LauncherTest, GlowCaptionBandRollUpAndDropDown) {
  auto wm = StartWindowManager();
  ASSERT_TRUE(wm) << "openbox did not start";
  auto cm = StartCompositor();
  ASSERT_TRUE(cm) << "xcompmgr did not start";
  Browser browser;
  Launcher app("skinned");
  ASSERT_TRUE(app.Start(browser)) << ReadFile(app.err);
  Xdo({"mousemove", "700", "600"});
  SleepMs(400);

  // Left of the button, inside its glow: brighter while hovered, as before once left.
  const int gx = kLeft + 304 - 6, gy = kTop + 28 + 10;
  const uint32_t before = ScreenPixel(gx, gy);
  Xdo({"mousemove", std::to_string(kButtonX), std::to_string(kButtonY)});
  SleepMs(700);
  const uint32_t lit = ScreenPixel(gx, gy);
  EXPECT_NE(lit, before) << "no glow around the hovered button";
  SaveScreenshot("launcher_button_glow");
  Xdo({"mousemove", "700", "600"});
  SleepMs(600);
  EXPECT_EQ(ScreenPixel(gx, gy), before) << "the glow stayed after the pointer left";

  // The caption band over the logo (rows 2 to 19) moves the window.
  Xdo({"mousemove", std::to_string(kLeft + 20), std::to_string(kTop + 10), "mousedown", "1"});
  SleepMs(150);
  Xdo({"mousemove", std::to_string(kLeft + 40), std::to_string(kTop + 25)});
  SleepMs(100);
  Xdo({"mousemove", std::to_string(kLeft + 60), std::to_string(kTop + 40)});
  SleepMs(100);
  Xdo({"mouseup", "1"});
  SleepMs(300);
  WinInfo info = QueryWindow(app.window);
  EXPECT_EQ(info.x, kLeft + 40);
  EXPECT_EQ(info.y, kTop + 30);

  // A double click there rolls the strip up to its caption band and back.
  const std::string bx = std::to_string(kLeft + 60), by = std::to_string(kTop + 40);
  SleepMs(600);
  Xdo({"mousemove", bx, by, "click", "--repeat", "2", "--delay", "80", "1"});
  SleepMs(400);
  info = QueryWindow(app.window);
  EXPECT_EQ(info.height, 24);
  SaveScreenshot("launcher_rolled_up");
  SleepMs(600);
  Xdo({"mousemove", bx, by, "click", "--repeat", "2", "--delay", "80", "1"});
  SleepMs(400);
  info = QueryWindow(app.window);
  EXPECT_EQ(info.height, 55);

  // Back in place, the list of the "more" tab opens below its box.
  Xdo({"mousemove", bx, by, "mousedown", "1"});
  SleepMs(150);
  Xdo({"mousemove", std::to_string(kLeft + 20), std::to_string(kTop + 10)});
  SleepMs(100);
  Xdo({"mouseup", "1"});
  SleepMs(300);
  ClickAt(kTabX[5], kTabY);
  ClickAt(kComboX, kComboY);
  SleepMs(400);
  SaveScreenshot("launcher_dropdown");
  const std::string tree = RunTool({"xwininfo", "-root", "-tree"});
  EXPECT_NE(tree.find("61x234+" + std::to_string(kLeft + 56 + 3 + 240) + "+" +
                      std::to_string(kComboListTop)),
            std::string::npos)
      << tree;
  Key("Escape");
  SleepMs(200);
  EXPECT_EQ(browser.Urls().size(), 0u);
  StopAndWaitReleased(cm, "_NET_WM_CM_S0");
  StopAndWaitReleased(wm, "WM_S0");
}

TEST(LauncherTest, AltOneRestoresAndRaisesAndASecondInstanceRunsWithoutIt) {
  auto wm = StartWindowManager();
  ASSERT_TRUE(wm) << "openbox did not start";
  Browser browser;
  Launcher first("first");
  ASSERT_TRUE(first.Start(browser)) << ReadFile(first.err);

  // A second instance cannot have Alt+1 and runs on without it.
  Launcher second("second");
  ASSERT_TRUE(second.Start(browser)) << ReadFile(second.err);
  SleepMs(500);
  EXPECT_TRUE(second.proc->Running()) << ReadFile(second.err);
  second.proc->Stop();

  Xdo({"windowminimize", "--sync", Hex(first.window)});
  ASSERT_TRUE(WaitViewable(first.window, false, 2000));
  Key("alt+1");
  EXPECT_TRUE(WaitViewable(first.window, true, 3000)) << "Alt+1 did not restore the window";
  SleepMs(300);

  // Another window over ours: Alt+1 brings ours above it.
  ChildProcess cover({"xmessage", "-geometry", "500x200+200+150", "-bg", "red", "-fg", "red",
                      "cover"});
  const int probeX = kLeft + 200, probeY = kTop + 30;  // inside both windows
  bool covered = false;
  for (int i = 0; i < 150 && !covered; ++i) {
    covered = ScreenPixel(probeX, probeY) == 0xFF0000u;
    if (!covered) SleepMs(20);
  }
  ASSERT_TRUE(covered) << "the covering window did not appear; see "
                       << SaveScreenshot("launcher_covered");
  Key("alt+1");
  bool raised = false;
  for (int i = 0; i < 150 && !raised; ++i) {
    raised = ScreenPixel(probeX, probeY) != 0xFF0000u;
    if (!raised) SleepMs(20);
  }
  EXPECT_TRUE(raised) << "Alt+1 did not raise the window; see "
                      << SaveScreenshot("launcher_raise");
  cover.Stop();
  StopAndWaitReleased(wm, "WM_S0");
}

// What task bars and desktop entries read: the class the desktop entry names, the
// application title, the icon at every installed size, the process and its host. A second
// instance carries the same class, so it counts as the same program.
TEST(LauncherTest, BothInstancesIdentifyAsTheSameProgram) {
  Browser browser;
  Launcher first("identity1"), second("identity2");
  ASSERT_TRUE(first.Start(browser)) << ReadFile(first.err);
  ASSERT_TRUE(second.Start(browser)) << ReadFile(second.err);
  char host[256] = {};
  gethostname(host, sizeof host - 1);
  for (const Launcher* app : {&first, &second}) {
    SCOPED_TRACE(app->err);
    EXPECT_EQ(StringProperty(app->window, "WM_CLASS"), std::string("lumoa\0Lumoa\0", 12));
    EXPECT_EQ(StringProperty(app->window, "_NET_WM_NAME"), "Lumoa桌面搜索");
    EXPECT_EQ(CardinalProperty(app->window, "_NET_WM_PID"),
              std::vector<unsigned long>{static_cast<unsigned long>(app->proc->pid())});
    EXPECT_EQ(StringProperty(app->window, "WM_CLIENT_MACHINE"), host);
    // Width, height, then that many pixels, for each size in turn; they follow the first frame.
    std::vector<unsigned long> icon;
    for (int i = 0; i < 100 && icon.empty(); ++i) {
      icon = CardinalProperty(app->window, "_NET_WM_ICON");
      if (icon.empty()) SleepMs(20);
    }
    std::vector<unsigned long> sizes;
    size_t at = 0;
    while (at + 2 <= icon.size()) {
      const unsigned long w = icon[at], h = icon[at + 1];
      ASSERT_EQ(w, h);
      ASSERT_LE(at + 2 + w * h, icon.size()) << "a truncated icon of " << w;
      sizes.push_back(w);
      // The middle of the left edge is the opaque badge.
      EXPECT_EQ(icon[at + 2 + h / 2 * w + w / 8 + 1] >> 24, 0xFFul) << w;
      at += 2 + w * h;
    }
    EXPECT_EQ(at, icon.size());
    EXPECT_EQ(sizes, (std::vector<unsigned long>{16, 24, 32, 48, 64, 128, 256}));
  }
}

TEST(LauncherTest, DraggingTheTabStripMovesTheWindow) {
  Browser browser;
  Launcher app("drag");
  ASSERT_TRUE(app.Start(browser)) << ReadFile(app.err);

  // A press on the active tab only starts the move; (+50, +40) moves the window by that.
  Xdo({"mousemove", std::to_string(kTabX[0]), std::to_string(kTabY), "mousedown", "1"});
  SleepMs(150);
  Xdo({"mousemove", std::to_string(kTabX[0] + 25), std::to_string(kTabY + 20)});
  SleepMs(100);
  Xdo({"mousemove", std::to_string(kTabX[0] + 50), std::to_string(kTabY + 40)});
  SleepMs(100);
  Xdo({"mouseup", "1"});
  SleepMs(300);
  WinInfo info = QueryWindow(app.window);
  EXPECT_EQ(info.x, kLeft + 50);
  EXPECT_EQ(info.y, kTop + 40);

  // The logo drags as well, with any button: back by (-50, -40) with the right one. The move
  // ends with its release; the pointer going on afterwards leaves the window alone.
  const int lx = kLeft + 50 + 27, ly = kTop + 40 + 27;
  Xdo({"mousemove", std::to_string(lx), std::to_string(ly), "mousedown", "3"});
  SleepMs(150);
  Xdo({"mousemove", std::to_string(lx - 50), std::to_string(ly - 40)});
  SleepMs(100);
  Xdo({"mouseup", "3"});
  SleepMs(200);
  Xdo({"mousemove", "700", "600"});
  SleepMs(300);
  info = QueryWindow(app.window);
  EXPECT_EQ(info.x, kLeft);
  EXPECT_EQ(info.y, kTop);
  EXPECT_TRUE(app.proc->Running());
}

TEST(LauncherTest, NoDisplayIsAClearErrorWithStatusOne) {
  const std::string err = std::string(LUMOA_BUILD_DIR) + "/launcher_nodisplay.err";
  ChildProcess p({"env", "DISPLAY=:249", LUMOA_LAUNCHER_PATH}, "", err);
  EXPECT_EQ(p.WaitExit(5000), 1);
  EXPECT_NE(ReadFile(err).find("cannot open display"), std::string::npos) << ReadFile(err);
}

// Fontconfig's answers are kept between runs: the first start asks fontconfig and keeps its
// answers, the next one with the same fonts draws the same pixels without reading
// fontconfig's configuration or caches at all (they would be mapped into the process).
TEST(LauncherTest, ASecondStartDrawsTheSameWithoutFontconfig) {
  const std::string cache = std::string(LUMOA_BUILD_DIR) + "/launcher_font_matches";
  std::remove(cache.c_str());
  const auto fontconfigMapped = [](const Launcher& app) {
    const std::string maps = ReadFile("/proc/" + std::to_string(app.proc->pid()) + "/maps");
    return maps.find("fontconfig/") != std::string::npos;
  };
  Browser browser;
  std::string shots[2];
  bool mapped[2] = {};
  for (int run = 0; run < 2; ++run) {
    Launcher app(run == 0 ? "fontcache1" : "fontcache2");
    app.env = {"LUMOA_FONT_CACHE=" + cache};
    ASSERT_TRUE(app.Start(browser)) << ReadFile(app.err);
    mapped[run] = fontconfigMapped(app);
    shots[run] = ReadFile(SaveScreenshot(run == 0 ? "launcher_fontcache1" : "launcher_fontcache2"));
    ClickAt(kTabX[6], kTabY);
    EXPECT_EQ(app.proc->WaitExit(3000), 0) << ReadFile(app.err);
    if (run == 0) {
      const std::string kept = ReadFile(cache);
      EXPECT_EQ(kept.rfind("lumoa font matches 1\n", 0), 0u) << kept;
      EXPECT_NE(kept.find("family|MS Sans Serif|"), std::string::npos) << kept;
    }
  }
  if (!mapped[0]) GTEST_SKIP() << "this fontconfig keeps no mapped caches: nothing to tell apart";
  EXPECT_FALSE(mapped[1]);
  EXPECT_FALSE(shots[0].empty());
  EXPECT_TRUE(shots[0] == shots[1]) << "the two starts drew differently";
}

}  // namespace
}  // namespace lumoa::x11test
