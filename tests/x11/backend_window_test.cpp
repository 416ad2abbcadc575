// Native windows on a real server: placement, decoration, shape, iconic state, and what
// happens with bad input.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <stdexcept>

#include "support/x11_fixture.h"

// Xlib after GoogleTest: its macros (None, Bool) would break GoogleTest's headers.
#include "platform/backend/x11/x11_xlib.h"  // Xlib without the names that clash with ours
#include "platform/backend/x11/x11_backend_impl.h"
#include <X11/Xatom.h>
#include <X11/extensions/Xrandr.h>
#include <X11/extensions/shape.h>

namespace lumoa::x11test {
namespace {

std::string Hex(NativeId w) {
  char s[32];
  std::snprintf(s, sizeof s, "0x%lx", static_cast<unsigned long>(w));
  return s;
}

TEST(X11BackendStartTest, NoDisplayIsAClearError) {
  const char* old = std::getenv("DISPLAY");
  const std::string saved = old ? old : "";
  setenv("DISPLAY", ":249", 1);
  try {
    lumoa::platform::CreateX11Backend();
    ADD_FAILURE() << "opened a display that does not exist";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("cannot open display \":249\""), std::string::npos)
        << e.what();
  }
  setenv("DISPLAY", saved.c_str(), 1);
}

TEST_F(X11BackendTest, PopupKeepsPlaceAndSizeWithoutDecorationUnderWindowManager) {
  auto wm = StartWindowManager();
  ASSERT_TRUE(wm) << "openbox did not start";
  const NativeId w = ShowWindow(RECT{285, 211, 687, 266}, 0xFF2060C0, true);
  const WinInfo info = QueryWindow(w);
  EXPECT_EQ(info.x, 285);
  EXPECT_EQ(info.y, 211);
  EXPECT_EQ(info.width, 402);
  EXPECT_EQ(info.height, 55);
  EXPECT_TRUE(info.viewable);
  // No decoration: the frame adds nothing around the client.
  const std::string extents = RunTool({"xprop", "-id", Hex(w), "_NET_FRAME_EXTENTS"});
  EXPECT_NE(extents.find("= 0, 0, 0, 0"), std::string::npos) << extents;
  const std::string props = RunTool({"xprop", "-id", Hex(w), "_NET_WM_PID", "WM_PROTOCOLS"});
  EXPECT_NE(props.find(std::to_string(getpid())), std::string::npos) << props;
  EXPECT_NE(props.find("WM_DELETE_WINDOW"), std::string::npos) << props;
  EXPECT_EQ(ScreenPixel(285 + 10, 211 + 10), 0x2060C0u);
  EXPECT_EQ(ScreenPixel(686, 265), 0x2060C0u);

  // Moving it by the window manager's hand is reported with the real screen position.
  RunTool({"xdotool", "windowmove", Hex(w), "300", "250"});
  BackendEvent moved;
  ASSERT_TRUE(PumpUntil(
      *backend, [&](const BackendEvent& e) { return e.type == BackendEventType::Moved; }, 3000,
      &moved));
  EXPECT_EQ(moved.rect.left, 300);
  EXPECT_EQ(moved.rect.top, 250);
  EXPECT_EQ(moved.rect.right - moved.rect.left, 402);
  StopAndWaitReleased(wm, "WM_S0");
}

// A drag moves the window many times before the server answers: the answers to our own
// earlier requests must not come back as moves (the caller would move the window back).
TEST_F(X11BackendTest, RapidMovesAreNotEchoedBackWithOrWithoutWindowManager) {
  for (const bool managed : {false, true}) {
    auto wm = managed ? StartWindowManager() : nullptr;
    ASSERT_EQ(managed, wm != nullptr);
    const NativeId w = ShowWindow(RECT{100, 100, 200, 150}, 0xFF808080, true);
    for (int i = 1; i <= 30; ++i) backend->SetBounds(w, RECT{100 + i * 5, 100 + i * 3, 200 + i * 5, 150 + i * 3});
    std::vector<RECT> moves;
    for (const BackendEvent& e : PumpFor(*backend, 500)) {
      if (e.type == BackendEventType::Moved) moves.push_back(e.rect);
    }
    for (const RECT& r : moves) {
      EXPECT_EQ(r.left, 250) << "echoed move to " << r.left << "," << r.top << " managed " << managed;
    }
    const WinInfo info = QueryWindow(w);
    EXPECT_EQ(info.x, 250);
    EXPECT_EQ(info.y, 190);
    backend->DestroyNativeWindow(w);
    StopAndWaitReleased(wm, "WM_S0");
  }
}

TEST_F(X11BackendTest, TitleIsUtf8AndOverrideRedirectOnlyForTransientPopups) {
  NativeWindowParams p;
  p.title = u"Lumoa 桌面搜索";
  const NativeId normal = ShowWindow(RECT{10, 10, 60, 60}, 0xFF000000, false, p);
  p.transient = true;
  const NativeId menu = ShowWindow(RECT{70, 10, 120, 60}, 0xFF000000, false, p);
  Display* dpy = XOpenDisplay(nullptr);
  ASSERT_NE(dpy, nullptr);
  XWindowAttributes a{};
  XGetWindowAttributes(dpy, normal, &a);
  EXPECT_FALSE(a.override_redirect);
  XGetWindowAttributes(dpy, menu, &a);
  EXPECT_TRUE(a.override_redirect);
  XCloseDisplay(dpy);
  const std::string name = RunTool({"xprop", "-id", Hex(normal), "_NET_WM_NAME"});
  EXPECT_NE(name.find("Lumoa 桌面搜索"), std::string::npos) << name;
}

// Icons made of one colour, for the identity tests.
lumoa::platform::CursorImage SolidIcon(int size, uint32_t argb) {
  lumoa::platform::CursorImage icon;
  icon.width = icon.height = size;
  icon.pixels.assign(static_cast<size_t>(size) * size, argb);
  return icon;
}

// The program's identity on every native window: the class on all of them, the icon on those
// a task bar or switcher shows, the title on the caption-less ones that stand for the program
// there; windows made before and after it was given alike.
TEST_F(X11BackendTest, IdentityGivesClassIconsAndTaskListTitleToExistingAndNewWindows) {
  NativeWindowParams p;
  p.title = u"strip";
  const NativeId strip = ShowWindow(RECT{10, 10, 60, 60}, 0xFF000000, false, p);
  // Until it is told, the class comes from the program's name.
  EXPECT_EQ(StringProperty(strip, "WM_CLASS"), std::string("x11_backend_tests\0X11_backend_tests\0", 36));
  p.popup = false;
  p.title = u"framed";
  const NativeId framed = ShowWindow(RECT{70, 10, 120, 60}, 0xFF000000, false, p);
  p.popup = p.transient = true;
  p.title = u"menu";
  const NativeId menu = ShowWindow(RECT{130, 10, 180, 60}, 0xFF000000, false, p);

  lumoa::platform::AppIdentity id;
  id.instanceName = "app";
  id.className = "App";
  id.title = u"程序 Title";
  id.icons = {SolidIcon(2, 0x80FF0000), SolidIcon(3, 0xFF0000FF)};
  backend->SetAppIdentity(id);
  p.popup = true;
  p.transient = false;
  p.title = u"later";
  const NativeId later = ShowWindow(RECT{190, 10, 240, 60}, 0xFF000000, false, p);

  const std::vector<unsigned long> icon{2, 2, 0x80FF0000, 0x80FF0000, 0x80FF0000, 0x80FF0000,
                                        3, 3, 0xFF0000FF, 0xFF0000FF, 0xFF0000FF, 0xFF0000FF,
                                        0xFF0000FF, 0xFF0000FF, 0xFF0000FF, 0xFF0000FF, 0xFF0000FF};
  char host[256] = {};
  gethostname(host, sizeof host - 1);
  for (NativeId w : {strip, framed, menu, later}) {
    SCOPED_TRACE(w);
    EXPECT_EQ(StringProperty(w, "WM_CLASS"), std::string("app\0App\0", 8));
    EXPECT_EQ(CardinalProperty(w, "_NET_WM_PID"), std::vector<unsigned long>{unsigned(getpid())});
    EXPECT_EQ(StringProperty(w, "WM_CLIENT_MACHINE"), host);
    EXPECT_EQ(CardinalProperty(w, "_NET_WM_ICON"), w == menu ? std::vector<unsigned long>{} : icon);
  }
  EXPECT_EQ(StringProperty(strip, "_NET_WM_NAME"), "程序 Title");
  EXPECT_EQ(StringProperty(later, "_NET_WM_NAME"), "程序 Title");
  EXPECT_EQ(StringProperty(framed, "_NET_WM_NAME"), "framed");
  EXPECT_EQ(StringProperty(menu, "_NET_WM_NAME"), "menu");
  // The text of a listed window changes underneath; a captioned one shows the new text.
  backend->SetTitle(strip, u"other");
  backend->SetTitle(framed, u"renamed");
  EXPECT_EQ(StringProperty(strip, "_NET_WM_NAME"), "程序 Title");
  EXPECT_EQ(StringProperty(framed, "_NET_WM_NAME"), "renamed");
  // Without a title, every window shows its own text again.
  id.title.clear();
  backend->SetAppIdentity(id);
  EXPECT_EQ(StringProperty(strip, "_NET_WM_NAME"), "other");

  // The program keeps no copy of the icons while its windows hold them: a window made after
  // every earlier holder has gone still gets them, and so does the one after that.
  for (NativeId w : {strip, framed, later}) backend->DestroyNativeWindow(w);
  const NativeId again = ShowWindow(RECT{10, 70, 60, 120}, 0xFF000000, false, p);
  EXPECT_EQ(CardinalProperty(again, "_NET_WM_ICON"), icon);
  const NativeId more = ShowWindow(RECT{70, 70, 120, 120}, 0xFF000000, false, p);
  EXPECT_EQ(CardinalProperty(more, "_NET_WM_ICON"), icon);
  backend->DestroyNativeWindow(again);
  backend->DestroyNativeWindow(more);
  backend->DestroyNativeWindow(menu);
  EXPECT_EQ(CardinalProperty(ShowWindow(RECT{10, 70, 60, 120}, 0xFF000000, false, p), "_NET_WM_ICON"),
            icon);
}

TEST_F(X11BackendTest, WindowManagerHintsFollowTheParametersAndTopmostToggles) {
  auto wm = StartWindowManager();
  ASSERT_TRUE(wm);
  NativeWindowParams p;
  p.toolWindow = true;
  p.topmost = true;
  p.noActivate = true;
  const NativeId tool = ShowWindow(RECT{50, 50, 150, 150}, 0xFF0000FF, false, p);
  const std::string props = RunTool({"xprop", "-id", Hex(tool)});
  EXPECT_NE(props.find("_NET_WM_WINDOW_TYPE(ATOM) = _NET_WM_WINDOW_TYPE_UTILITY"),
            std::string::npos) << props;
  EXPECT_NE(props.find("_NET_WM_STATE_ABOVE"), std::string::npos) << props;
  EXPECT_NE(props.find("_NET_WM_STATE_SKIP_TASKBAR"), std::string::npos) << props;
  EXPECT_NE(props.find("Client accepts input or input focus: False"), std::string::npos) << props;

  // A normal window activated over it stays below the topmost one.
  const NativeId normal = ShowWindow(RECT{100, 100, 200, 200}, 0xFF00FF00, true);
  PumpFor(*backend, 200);
  EXPECT_EQ(ScreenPixel(120, 120), 0x0000FFu);
  backend->SetTopmost(tool, false);
  backend->Raise(normal);
  PumpFor(*backend, 300);
  Pixels green(100, 100, 0xFF00FF00);  // what uncovering it asks to be shown again
  backend->Present(normal, green.View(), RECT{0, 0, 100, 100});
  PumpFor(*backend, 50);
  EXPECT_EQ(RunTool({"xprop", "-id", Hex(tool), "_NET_WM_STATE"}).find("_NET_WM_STATE_ABOVE"),
            std::string::npos);
  EXPECT_EQ(ScreenPixel(120, 120), 0x00FF00u);
  StopAndWaitReleased(wm, "WM_S0");
}

TEST_F(X11BackendTest, ShapeLimitsDrawingAndInputAndCanBeRemoved) {
  const NativeId w = ShowWindow(RECT{100, 300, 200, 350}, 0xFF10C010);
  // A stepped shape: the top row is narrower.
  backend->SetShape(w, {RECT{10, 0, 90, 10}, RECT{0, 10, 100, 50}}, false);
  PumpFor(*backend, 100);
  Display* dpy = XOpenDisplay(nullptr);
  ASSERT_NE(dpy, nullptr);
  for (int kind : {ShapeBounding, ShapeInput}) {
    int count = 0, ordering = 0;
    XRectangle* r = XShapeGetRectangles(dpy, w, kind, &count, &ordering);
    int area = 0;
    for (int i = 0; i < count; ++i) area += r[i].width * r[i].height;
    EXPECT_EQ(area, 80 * 10 + 100 * 40) << "shape kind " << kind;
    if (r) XFree(r);
  }
  EXPECT_NE(ScreenPixel(102, 302), 0x10C010u);  // cut away
  EXPECT_EQ(ScreenPixel(120, 302), 0x10C010u);

  backend->SetShape(w, {}, true);
  PumpFor(*backend, 50);
  int count = 0, ordering = 0;
  XRectangle* r = XShapeGetRectangles(dpy, w, ShapeBounding, &count, &ordering);
  ASSERT_EQ(count, 1);
  EXPECT_EQ(r[0].width, 100);
  XFree(r);
  XCloseDisplay(dpy);
}

TEST_F(X11BackendTest, IconifyAndRestoreUnderWindowManager) {
  auto wm = StartWindowManager();
  ASSERT_TRUE(wm);
  const NativeId w = ShowWindow(RECT{200, 200, 300, 260}, 0xFF804020, true);
  backend->Iconify(w);
  ASSERT_TRUE(PumpUntil(
      *backend, [&](const BackendEvent& e) { return e.type == BackendEventType::Iconified; },
      3000));
  EXPECT_TRUE(backend->IsIconic(w));
  EXPECT_FALSE(QueryWindow(w).viewable);

  backend->Restore(w);
  ASSERT_TRUE(PumpUntil(
      *backend, [&](const BackendEvent& e) { return e.type == BackendEventType::Restored; },
      3000));
  EXPECT_FALSE(backend->IsIconic(w));
  EXPECT_TRUE(QueryWindow(w).viewable);
  StopAndWaitReleased(wm, "WM_S0");
}

TEST_F(X11BackendTest, IconifyWithoutWindowManagerIsKeptByTheBackend) {
  const NativeId w = ShowWindow(RECT{200, 200, 300, 260}, 0xFF804020);
  backend->Iconify(w);
  EXPECT_TRUE(backend->IsIconic(w));
  EXPECT_TRUE(PumpUntil(
      *backend, [&](const BackendEvent& e) { return e.type == BackendEventType::Iconified; },
      1000));
  EXPECT_FALSE(QueryWindow(w).viewable);
  backend->Restore(w);
  EXPECT_FALSE(backend->IsIconic(w));
  EXPECT_TRUE(PumpUntil(
      *backend, [&](const BackendEvent& e) { return e.type == BackendEventType::Restored; },
      1000));
}

// Both present paths (shared memory and plain requests) copy exactly the dirty rectangle.
TEST(X11PresentTest, OnlyTheDirtyRectangleReachesTheScreenOnBothPaths) {
  for (const bool shm : {true, false}) {
    if (shm) {
      unsetenv("LUMOA_X11_NO_SHM");
    } else {
      setenv("LUMOA_X11_NO_SHM", "1", 1);
    }
    auto b = lumoa::platform::CreateX11Backend();
    NativeWindowParams p;
    p.bounds = RECT{600, 400, 700, 460};
    const NativeId w = b->CreateNativeWindow(p);
    b->Show(w, NativeShow::Show);
    ASSERT_TRUE(PumpUntil(
        *b, [](const BackendEvent& e) { return e.type == BackendEventType::Expose; }, 3000));
    Pixels px(100, 60, 0xFFFF0000);
    b->Present(w, px.View(), RECT{0, 0, 100, 60});
    std::fill(px.data.begin(), px.data.end(), 0xFF00FF00);
    px.data[static_cast<size_t>(30) * 100 + 50] = 0xFF0000FF;
    b->Present(w, px.View(), RECT{40, 20, 60, 40});
    PumpFor(*b, 50);
    EXPECT_EQ(ScreenPixel(600 + 40, 400 + 20), 0x00FF00u) << "shm " << shm;
    EXPECT_EQ(ScreenPixel(600 + 59, 400 + 39), 0x00FF00u) << "shm " << shm;
    EXPECT_EQ(ScreenPixel(600 + 50, 400 + 30), 0x0000FFu) << "shm " << shm;
    EXPECT_EQ(ScreenPixel(600 + 39, 400 + 20), 0xFF0000u) << "shm " << shm;
    EXPECT_EQ(ScreenPixel(600 + 60, 400 + 39), 0xFF0000u) << "shm " << shm;
    EXPECT_EQ(ScreenPixel(600 + 45, 400 + 40), 0xFF0000u) << "shm " << shm;
  }
  unsetenv("LUMOA_X11_NO_SHM");
}

// Large areas go through shared memory, small ones through plain requests; either may follow
// the other and each copies exactly its dirty rectangle.
TEST(X11PresentTest, LargeAndSmallPresentsMixOnOneWindow) {
  unsetenv("LUMOA_X11_NO_SHM");
  auto b = lumoa::platform::CreateX11Backend();
  NativeWindowParams p;
  p.bounds = RECT{600, 400, 920, 700};
  const NativeId w = b->CreateNativeWindow(p);
  b->Show(w, NativeShow::Show);
  ASSERT_TRUE(PumpUntil(
      *b, [](const BackendEvent& e) { return e.type == BackendEventType::Expose; }, 3000));
  Pixels px(320, 300, 0xFFFF0000);
  b->Present(w, px.View(), RECT{0, 0, 320, 300});
  std::fill(px.data.begin(), px.data.end(), 0xFF00FF00);
  px.data[static_cast<size_t>(150) * 320 + 160] = 0xFF0000FF;
  b->Present(w, px.View(), RECT{30, 20, 290, 280});  // 260 x 260
  std::fill(px.data.begin(), px.data.end(), 0xFFFFFFFF);
  b->Present(w, px.View(), RECT{0, 0, 10, 10});
  PumpFor(*b, 50);
  EXPECT_EQ(ScreenPixel(600 + 30, 400 + 20), 0x00FF00u);
  EXPECT_EQ(ScreenPixel(600 + 289, 400 + 279), 0x00FF00u);
  EXPECT_EQ(ScreenPixel(600 + 160, 400 + 150), 0x0000FFu);
  EXPECT_EQ(ScreenPixel(600 + 29, 400 + 20), 0xFF0000u);
  EXPECT_EQ(ScreenPixel(600 + 290, 400 + 279), 0xFF0000u);
  EXPECT_EQ(ScreenPixel(600 + 100, 400 + 280), 0xFF0000u);
  EXPECT_EQ(ScreenPixel(600 + 9, 400 + 9), 0xFFFFFFu);
  EXPECT_EQ(ScreenPixel(600 + 10, 400 + 10), 0xFF0000u);
}

TEST_F(X11BackendTest, BadInputIsHarmless) {
  const NativeId w = ShowWindow(RECT{0, 0, 20, 20}, 0xFFFFFFFF);
  Pixels px(20, 20, 0xFF000000);
  // Dirty rectangles outside the pixels, a too-small stride and unknown windows.
  backend->Present(w, px.View(), RECT{-50, -50, 500, 500});
  backend->Present(w, px.View(), RECT{15, 15, 5, 5});
  PixelView bad = px.View();
  bad.stride = 10;
  backend->Present(w, bad, RECT{0, 0, 20, 20});
  backend->Present(12345, px.View(), RECT{0, 0, 20, 20});
  backend->SetShape(w, {RECT{5, 5, 5, 50}, RECT{-70000, 0, 70000, 10}}, false);
  backend->DestroyNativeWindow(w);
  backend->DestroyNativeWindow(w);
  backend->SetBounds(w, RECT{0, 0, 10, 10});
  backend->Activate(w);
  EXPECT_FALSE(backend->IsIconic(w));
  // The connection is still sound: a new window shows its pixels.
  ShowWindow(RECT{0, 0, 20, 20}, 0xFF123456);
  EXPECT_EQ(ScreenPixel(5, 5), 0x123456u);
}

TEST_F(X11BackendTest, ScreenAndWorkArea) {
  const RECT s = backend->ScreenRect();
  Display* dpy = XOpenDisplay(nullptr);
  ASSERT_NE(dpy, nullptr);
  EXPECT_EQ(s.right, DisplayWidth(dpy, DefaultScreen(dpy)));
  EXPECT_EQ(s.bottom, DisplayHeight(dpy, DefaultScreen(dpy)));
  XCloseDisplay(dpy);
  const RECT w = backend->WorkArea(POINT{10, 10});
  EXPECT_GE(w.left, s.left);
  EXPECT_LE(w.right, s.right);
  EXPECT_GT(w.bottom, w.top);
  ASSERT_EQ(backend->Monitors().size(), 1u);

  // Two monitors side by side: each point gets the work area of its own monitor.
  dpy = XOpenDisplay(nullptr);
  ASSERT_NE(dpy, nullptr);
  const Window root = DefaultRootWindow(dpy);
  const Atom names[2] = {XInternAtom(dpy, "LUMOA-LEFT", False), XInternAtom(dpy, "LUMOA-RIGHT", False)};
  // The left one takes over the server's output, so its own monitor gives way.
  XRRScreenResources* res = XRRGetScreenResources(dpy, root);
  ASSERT_TRUE(res && res->noutput > 0);
  for (int i = 0; i < 2; ++i) {
    XRRMonitorInfo* m = XRRAllocateMonitor(dpy, i == 0 ? 1 : 0);
    if (i == 0) m->outputs[0] = res->outputs[0];
    m->name = names[i];
    m->primary = i == 1;
    m->x = i * (s.right / 2);
    m->width = s.right / 2;
    m->height = s.bottom;
    m->mwidth = m->mheight = 100;
    XRRSetMonitor(dpy, root, m);
    XFree(m);
  }
  XRRFreeScreenResources(res);
  XSync(dpy, False);
  // What the backend learnt holds until it next waits for events.
  backend->WaitEvents(0, [](const BackendEvent&) {});
  const std::vector<RECT> monitors = backend->Monitors();
  const RECT right = backend->WorkArea(POINT{s.right - 10, 10});
  const RECT left = backend->WorkArea(POINT{-50, 10});  // off screen: the nearest monitor
  for (Atom a : names) XRRDeleteMonitor(dpy, root, a);
  XCloseDisplay(dpy);
  ASSERT_EQ(monitors.size(), 2u);
  EXPECT_EQ(monitors[0].left, s.right / 2);  // the primary one comes first
  EXPECT_EQ(monitors[1].right, s.right / 2);
  EXPECT_EQ(right.left, s.right / 2);
  EXPECT_EQ(left.right, s.right / 2);
  const uint64_t t0 = backend->NowMs();
  backend->WaitEvents(30, [](const BackendEvent&) {});
  EXPECT_GE(backend->NowMs() - t0, 25u);
}

TEST_F(X11BackendTest, WorkAreaIsKeptUntilTheServerSaysItChanged) {
  auto* x11 = dynamic_cast<lumoa::platform::x11::X11Backend*>(backend.get());
  ASSERT_NE(x11, nullptr);
  const RECT s = backend->ScreenRect();
  EXPECT_EQ(backend->WorkArea(POINT{10, 10}).top, s.top);
  // Asked again (as a form being placed does many times): answered without a request.
  const unsigned long before = NextRequest(x11->display());
  EXPECT_EQ(backend->WorkArea(POINT{10, 10}).top, s.top);
  EXPECT_EQ(backend->Monitors().size(), 1u);
  EXPECT_EQ(NextRequest(x11->display()), before);

  // A panel takes the top 30 pixels: the answer follows once the server's notice is in.
  Display* dpy = XOpenDisplay(nullptr);
  ASSERT_NE(dpy, nullptr);
  const Window root = DefaultRootWindow(dpy);
  const Atom workArea = XInternAtom(dpy, "_NET_WORKAREA", False);
  const long area[4] = {0, 30, s.right, s.bottom - 30};
  XChangeProperty(dpy, root, workArea, XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(area), 4);
  XSync(dpy, False);
  for (int i = 0; i < 100 && backend->WorkArea(POINT{10, 10}).top != 30; ++i) {
    backend->WaitEvents(10, [](const BackendEvent&) {});
  }
  const RECT panel = backend->WorkArea(POINT{10, 10});
  XDeleteProperty(dpy, root, workArea);
  XSync(dpy, False);
  for (int i = 0; i < 100 && backend->WorkArea(POINT{10, 10}).top != s.top; ++i) {
    backend->WaitEvents(10, [](const BackendEvent&) {});
  }
  XCloseDisplay(dpy);
  EXPECT_EQ(panel.top, 30);
  EXPECT_EQ(panel.bottom, s.bottom);
  EXPECT_EQ(backend->WorkArea(POINT{10, 10}).top, s.top);
}

}  // namespace
}  // namespace lumoa::x11test
