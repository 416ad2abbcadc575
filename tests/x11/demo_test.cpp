// The demonstration program end to end on a real server, driven by xdotool.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/backend/x11/x11_backend.h"
#include "support/x11_test_support.h"

namespace lumoa::x11test {
namespace {

constexpr UINT kModAlt = 0x1;

struct Demo {
  std::string out = std::string(LUMOA_BUILD_DIR) + "/platform_demo.out";
  std::string err = std::string(LUMOA_BUILD_DIR) + "/platform_demo.err";
  std::unique_ptr<ChildProcess> proc;
  unsigned long window = 0;

  // Starts the program and waits for its window to be on screen and painted.
  bool Start() {
    proc = std::make_unique<ChildProcess>(std::vector<std::string>{LUMOA_DEMO_PATH}, out, err);
    for (int i = 0; i < 250 && !window; ++i) {
      const std::string found =
          RunTool({"xdotool", "search", "--onlyvisible", "--pid", std::to_string(proc->pid())});
      if (!found.empty()) window = std::stoul(found);
      if (!window) SleepMs(20);
    }
    SleepMs(300);  // the first paint follows the map
    return window != 0;
  }
  std::string Hex() const {
    char s[32];
    std::snprintf(s, sizeof s, "0x%lx", window);
    return s;
  }
};

bool WaitForText(const std::string& path, const std::string& text, int ms) {
  for (int i = 0; i < ms / 20; ++i) {
    if (ReadFile(path).find(text) != std::string::npos) return true;
    SleepMs(20);
  }
  return false;
}

bool Bright(uint32_t rgb) {
  return ((rgb >> 16) & 0xFF) > 200 && ((rgb >> 8) & 0xFF) > 200 && (rgb & 0xFF) > 200;
}

TEST(PlatformDemoTest, PlacementHotKeyDragTextAndEscape) {
  auto wm = StartWindowManager();
  ASSERT_TRUE(wm) << "openbox did not start";
  Demo demo;
  ASSERT_TRUE(demo.Start()) << ReadFile(demo.err);
  WinInfo info = QueryWindow(demo.window);
  EXPECT_EQ(info.x, 285);
  EXPECT_EQ(info.y, 211);
  EXPECT_EQ(info.width, 402);
  EXPECT_EQ(info.height, 55);
  const std::string extents = RunTool({"xprop", "-id", demo.Hex(), "_NET_FRAME_EXTENTS"});
  EXPECT_NE(extents.find("= 0, 0, 0, 0"), std::string::npos) << extents;

  const std::string shot = SaveScreenshot("platform_demo");
  // The Chinese part of the text: white strokes over the blue gradient, left of the badge.
  int bright = 0;
  for (int y = 211 + 15; y < 211 + 42; ++y) {
    for (int x = 285 + 60; x < 285 + 170; ++x) bright += Bright(ScreenPixel(x, y)) ? 1 : 0;
  }
  EXPECT_GT(bright, 60) << "no text drawn where the Chinese characters belong; see " << shot;
  // The badge child with its region: orange inside, the gradient in the notch cut from it.
  const uint32_t badge = ScreenPixel(285 + 300 + 30, 211 + 22 + 10);
  EXPECT_EQ(badge, 0xF5961Eu) << std::hex << badge;
  const uint32_t notch = ScreenPixel(285 + 300 + 80, 211 + 22 + 24);
  EXPECT_NE(notch, 0xF5961Eu);
  EXPECT_LT(notch & 0xFF0000, 0x800000u) << std::hex << notch;  // blue-ish background

  RunTool({"xdotool", "key", "alt+1"});
  EXPECT_TRUE(WaitForText(demo.out, "WM_HOTKEY id=1 modifiers=1 vk=0x31", 3000))
      << ReadFile(demo.out);
  bool flashed = false;  // the badge turns cyan for a moment
  for (int i = 0; i < 200 && !flashed; ++i) {
    flashed = ScreenPixel(285 + 300 + 30, 211 + 22 + 10) == 0x28DCFFu;
    if (!flashed) SleepMs(5);
  }
  EXPECT_TRUE(flashed);

  // Minimised by the window manager, Alt+1 brings it back.
  RunTool({"xdotool", "windowminimize", "--sync", demo.Hex()});
  EXPECT_FALSE(QueryWindow(demo.window).viewable);
  RunTool({"xdotool", "key", "alt+1"});
  bool back = false;
  for (int i = 0; i < 150 && !back; ++i) {
    back = QueryWindow(demo.window).viewable;
    if (!back) SleepMs(20);
  }
  EXPECT_TRUE(back) << "Alt+1 did not restore the minimised window";
  SleepMs(200);

  // Dragging the upper band by (+50, +40) moves the window by exactly that.
  RunTool({"xdotool", "mousemove", "300", "220", "mousedown", "1"});
  SleepMs(100);
  RunTool({"xdotool", "mousemove", "325", "240"});
  SleepMs(100);
  RunTool({"xdotool", "mousemove", "350", "260"});
  SleepMs(100);
  RunTool({"xdotool", "mouseup", "1"});
  SleepMs(300);
  info = QueryWindow(demo.window);
  EXPECT_EQ(info.x, 335);
  EXPECT_EQ(info.y, 251);

  // A quick drag back in many small steps lands exactly too (no echoed intermediate moves).
  std::vector<std::string> fast = {"xdotool", "mousemove", "350", "260", "mousedown", "1"};
  for (int i = 1; i <= 10; ++i) {
    for (const std::string& a : {std::string("mousemove"), std::to_string(350 - i * 5),
                                 std::to_string(260 - i * 4)}) {
      fast.push_back(a);
    }
  }
  fast.insert(fast.end(), {"mouseup", "1"});
  RunTool(fast);
  SleepMs(400);
  info = QueryWindow(demo.window);
  EXPECT_EQ(info.x, 285);
  EXPECT_EQ(info.y, 211);

  // A press below the band does not move it.
  RunTool({"xdotool", "mousemove", "400", "250", "mousedown", "1", "mousemove", "450", "260",
           "mouseup", "1"});
  SleepMs(300);
  info = QueryWindow(demo.window);
  EXPECT_EQ(info.x, 285);

  RunTool({"xdotool", "windowactivate", "--sync", demo.Hex()});
  RunTool({"xdotool", "key", "Escape"});
  EXPECT_EQ(demo.proc->WaitExit(3000), 0);
  StopAndWaitReleased(wm, "WM_S0");
}

TEST(PlatformDemoTest, RightClickClosesAndATakenHotKeyIsReported) {
  // Someone else holds Alt+1: the demo says so and runs on.
  auto holder = lumoa::platform::CreateX11Backend();
  ASSERT_TRUE(holder->GrabHotKey(1, kModAlt, '1'));
  Demo demo;
  ASSERT_TRUE(demo.Start()) << ReadFile(demo.err);
  EXPECT_NE(ReadFile(demo.err).find("Alt+1 is held by another program"), std::string::npos)
      << ReadFile(demo.err);
  EXPECT_TRUE(demo.proc->Running());
  RunTool({"xdotool", "mousemove", "400", "250", "click", "3"});
  EXPECT_EQ(demo.proc->WaitExit(3000), 0);
}

TEST(PlatformDemoTest, NoDisplayIsAClearErrorWithStatusOne) {
  const std::string err = std::string(LUMOA_BUILD_DIR) + "/platform_demo_nodisplay.err";
  ChildProcess p({"env", "DISPLAY=:249", LUMOA_DEMO_PATH}, "", err);
  EXPECT_EQ(p.WaitExit(5000), 1);
  EXPECT_NE(ReadFile(err).find("cannot open display"), std::string::npos) << ReadFile(err);
}

}  // namespace
}  // namespace lumoa::x11test
