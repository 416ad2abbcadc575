// The skin gallery on a real server with a window manager and a compositing manager: its
// layered border (per-pixel alpha, following the form) and live skin switches.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "support/x11_fixture.h"
// Last: Xlib's macros would clash with the names above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace lumoa::x11test {
namespace {

// Where the gallery puts its window, and its size.
constexpr int kLeft = 120, kTop = 90, kWidth = 566, kHeight = 354;

std::string Hex(unsigned long id) {
  char s[32];
  std::snprintf(s, sizeof s, "0x%lx", id);
  return s;
}

void Xdo(const std::vector<std::string>& args) {
  std::vector<std::string> argv{"xdotool"};
  argv.insert(argv.end(), args.begin(), args.end());
  RunTool(argv);
}

// The screen as shown inside a rectangle, 0xRRGGBB per pixel.
struct Capture {
  int width = 0, height = 0;
  std::vector<uint32_t> px;
  uint32_t At(int x, int y) const { return px[static_cast<size_t>(y) * width + x]; }
};

Capture Grab(const RECT& r) {
  Capture c;
  Display* dpy = XOpenDisplay(nullptr);
  if (!dpy) return c;
  c.width = r.right - r.left;
  c.height = r.bottom - r.top;
  XImage* img = XGetImage(dpy, DefaultRootWindow(dpy), r.left, r.top, static_cast<unsigned>(c.width),
                          static_cast<unsigned>(c.height), AllPlanes, ZPixmap);
  if (img) {
    c.px.resize(static_cast<size_t>(c.width) * c.height);
    for (int y = 0; y < c.height; ++y)
      for (int x = 0; x < c.width; ++x)
        c.px[static_cast<size_t>(y) * c.width + x] = static_cast<uint32_t>(XGetPixel(img, x, y)) & 0xFFFFFF;
    XDestroyImage(img);
  } else {
    c.width = c.height = 0;
  }
  XCloseDisplay(dpy);
  return c;
}

// Pixels that differ in more than a trace inside a part of two captures of the same rectangle.
int Differing(const Capture& a, const Capture& b, const RECT& part) {
  int n = 0;
  for (int y = part.top; y < part.bottom; ++y)
    for (int x = part.left; x < part.right; ++x) {
      const uint32_t p = a.At(x, y), q = b.At(x, y);
      for (int s = 0; s < 24; s += 8) {
        const int d = static_cast<int>((p >> s) & 0xFF) - static_cast<int>((q >> s) & 0xFF);
        if (d > 8 || d < -8) {
          ++n;
          break;
        }
      }
    }
  return n;
}

struct Gallery {
  std::string err;
  std::unique_ptr<ChildProcess> proc;
  unsigned long window = 0;
  std::vector<unsigned long> all;

  explicit Gallery(const std::string& tag) : err(std::string(LUMOA_BUILD_DIR) + "/gallery_" + tag + ".err") {}

  // Starts the gallery and waits for the form and its four border windows.
  bool Start(const std::vector<std::string>& args, size_t windows = 5) {
    std::vector<std::string> argv{LUMOA_GALLERY_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    proc = std::make_unique<ChildProcess>(argv, "", err);
    for (int i = 0; i < 250; ++i) {
      all.clear();
      std::istringstream found(
          RunTool({"xdotool", "search", "--onlyvisible", "--pid", std::to_string(proc->pid())}));
      for (std::string line; std::getline(found, line);)
        if (!line.empty()) all.push_back(std::stoul(line));
      window = 0;
      const std::string named =
          RunTool({"xdotool", "search", "--all", "--onlyvisible", "--pid", std::to_string(proc->pid()),
                   "--name", "Lumoa skin gallery"});
      if (!named.empty()) window = std::stoul(named);
      if (window && all.size() >= windows) break;
      SleepMs(20);
    }
    SleepMs(600);  // first paints and the compositor's repaint
    return window != 0;
  }
  void Stop() {
    if (proc) proc->Stop();
    proc.reset();
    SleepMs(300);
  }
};

class GalleryTest : public X11BackendTest {
 protected:
  void SetUp() override {
    X11BackendTest::SetUp();
    wm_ = StartWindowManager();
    ASSERT_TRUE(wm_) << "openbox did not start";
    cm_ = StartCompositor();
    ASSERT_TRUE(cm_) << "xcompmgr did not start";
    PumpFor(*backend, 100);
    // A white desk under the gallery, so that the border's alpha shows.
    ShowWindow(RECT{0, 0, 1000, 720}, 0xFFFFFFFF);
  }
  void TearDown() override {
    StopAndWaitReleased(cm_, "_NET_WM_CM_S0");
    StopAndWaitReleased(wm_, "WM_S0");
  }
  std::unique_ptr<ChildProcess> wm_, cm_;
};

TEST_F(GalleryTest, LayeredBorderHasPerPixelAlphaAndFollowsTheForm) {
  Gallery g("border");
  ASSERT_TRUE(g.Start({"--skin", "1"})) << ReadFile(g.err);
  const WinInfo form = QueryWindow(g.window);
  EXPECT_EQ(form.x, kLeft);
  EXPECT_EQ(form.y, kTop);
  EXPECT_EQ(form.width, kWidth);
  EXPECT_EQ(form.height, kHeight);
  // The four border windows lie around the form: 12 pixels on each side.
  std::vector<WinInfo> border;
  for (unsigned long w : g.all)
    if (w != g.window) border.push_back(QueryWindow(w));
  ASSERT_EQ(border.size(), 4u);
  auto has = [&](int x, int y, int w, int h) {
    for (const WinInfo& b : border)
      if (b.x == x && b.y == y && b.width == w && b.height == h && b.viewable) return true;
    return false;
  };
  EXPECT_TRUE(has(kLeft - 12, kTop - 12, kWidth + 24, 18));           // top
  EXPECT_TRUE(has(kLeft - 12, kTop + kHeight - 6, kWidth + 24, 18));  // bottom
  EXPECT_TRUE(has(kLeft - 12, kTop + 6, 12, kHeight - 12));           // left
  EXPECT_TRUE(has(kLeft + kWidth, kTop + 6, 12, kHeight - 12));       // right
  SaveScreenshot("gallery_layered_border");

  // Per-pixel alpha: the shadow darkens the white desk, more next to the form than further out.
  const uint32_t near = ScreenPixel(kLeft - 2, kTop + 200), far = ScreenPixel(kLeft - 11, kTop + 200);
  const uint32_t out = ScreenPixel(kLeft - 40, kTop + 200);
  EXPECT_EQ(out, 0xFFFFFFu);
  EXPECT_LT(near & 0xFF, 0xF0u) << std::hex << near;
  EXPECT_GT(near & 0xFF, 0x40u) << std::hex << near;
  EXPECT_LT(near & 0xFF, far & 0xFF) << std::hex << near << " " << far;

  // Moved by the window manager, the border follows.
  Xdo({"windowmove", Hex(g.window), "300", "200"});
  SleepMs(700);
  const WinInfo moved = QueryWindow(g.window);
  EXPECT_EQ(moved.x, 300);
  EXPECT_EQ(moved.y, 200);
  border.clear();
  for (unsigned long w : g.all)
    if (w != g.window) border.push_back(QueryWindow(w));
  EXPECT_TRUE(has(288, 188, kWidth + 24, 18));
  EXPECT_TRUE(has(300 + kWidth, 206, 12, kHeight - 12));
  EXPECT_LT(ScreenPixel(298, 400) & 0xFF, 0xF0u);
  EXPECT_EQ(ScreenPixel(kLeft - 2, kTop + 200), 0xFFFFFFu);  // nothing left behind
  SaveScreenshot("gallery_layered_border_moved");

  // F5 switches the border off and on again.
  Xdo({"windowactivate", "--sync", Hex(g.window)});
  Xdo({"key", "--window", Hex(g.window), "F5"});
  SleepMs(500);
  EXPECT_EQ(ScreenPixel(298, 400), 0xFFFFFFu);
  Xdo({"key", "--window", Hex(g.window), "F5"});
  SleepMs(500);
  EXPECT_LT(ScreenPixel(298, 400) & 0xFF, 0xF0u);
  g.Stop();
}

// The controls of the gallery in client coordinates, and where each shipped skin's frame puts
// the client area in the window.
const POINT kClientOrigin[] = {{3, 20}, {5, 28}, {4, 24}};
struct Part {
  const char* name;
  RECT r;
};
const Part kParts[] = {{"page control", {10, 10, 340, 160}}, {"list box", {352, 10, 522, 160}},
                       {"vertical scroll bar", {530, 10, 547, 160}}, {"edit", {10, 176, 220, 197}},
                       {"combo box", {10, 210, 220, 231}}, {"buttons", {230, 176, 422, 197}},
                       {"horizontal scroll bar", {10, 300, 340, 317}}};

TEST_F(GalleryTest, SkinSwitchRepaintsEveryControlAsAFreshStartWould) {
  const RECT area{kLeft - 14, kTop - 14, kLeft + kWidth + 14, kTop + kHeight + 14};
  std::vector<Capture> fresh;
  for (int skin = 1; skin <= 3; ++skin) {
    Gallery g("fresh" + std::to_string(skin));
    ASSERT_TRUE(g.Start({"--skin", std::to_string(skin)})) << ReadFile(g.err);
    Xdo({"mousemove", "5", "710"});
    SleepMs(300);
    fresh.push_back(Grab(area));
    SaveScreenshot("gallery_skin" + std::to_string(skin) + "_active");
    // Another window takes the activation: the inactive look.
    Gallery other("other" + std::to_string(skin));
    ASSERT_TRUE(other.Start({"--skin", "1", "--no-layered-border"}, 1));
    Xdo({"windowmove", Hex(other.window), "700", "600"});
    Xdo({"windowactivate", "--sync", Hex(other.window)});
    SleepMs(500);
    SaveScreenshot("gallery_skin" + std::to_string(skin) + "_inactive");
    other.Stop();
    g.Stop();
  }
  ASSERT_EQ(fresh[0].width, area.right - area.left);

  Gallery g("switch");
  ASSERT_TRUE(g.Start({"--skin", "1"})) << ReadFile(g.err);
  Xdo({"mousemove", "5", "710"});
  SleepMs(300);
  Capture before = Grab(area);
  for (int skin = 2; skin <= 3; ++skin) {
    Xdo({"windowactivate", "--sync", Hex(g.window)});
    Xdo({"key", "--window", Hex(g.window), "F" + std::to_string(skin)});
    SleepMs(800);
    const Capture after = Grab(area);
    SaveScreenshot("gallery_switched_to_skin" + std::to_string(skin));
    const Capture& want = fresh[static_cast<size_t>(skin - 1)];
    // Each control was painted again with the new skin, the same as a fresh start shows it.
    for (const Part& p : kParts) {
      const POINT o = kClientOrigin[skin - 1];
      const RECT r{p.r.left + 14 + o.x, p.r.top + 14 + o.y, p.r.right + 14 + o.x, p.r.bottom + 14 + o.y};
      const int area = (r.right - r.left) * (r.bottom - r.top);
      EXPECT_GT(Differing(before, after, r), area / 10) << p.name << " skin " << skin;
      EXPECT_LT(Differing(want, after, r), area / 50 + 2) << p.name << " skin " << skin;
    }
    const RECT whole{0, 0, after.width, after.height};
    EXPECT_LT(Differing(want, after, whole), after.width * after.height / 100) << "skin " << skin;
    before = after;
  }
  g.Stop();
}

}  // namespace
}  // namespace lumoa::x11test
