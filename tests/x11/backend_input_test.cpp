// Input through a real server driven by xdotool: hot keys, mouse, keys, clipboard.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "support/x11_fixture.h"

// Xlib after GoogleTest, without the names that clash with ours.
#include "platform/backend/x11/x11_xlib.h"
#include <X11/extensions/Xfixes.h>
#include <X11/keysym.h>

namespace lumoa::x11test {
namespace {

constexpr UINT kModAlt = 0x1;

TEST_F(X11BackendTest, HotKeyIsDeliveredAndExclusive) {
  ASSERT_TRUE(backend->GrabHotKey(7, kModAlt, '1'));
  RunTool({"xdotool", "key", "alt+1"});
  BackendEvent hit;
  ASSERT_TRUE(PumpUntil(
      *backend, [](const BackendEvent& e) { return e.type == BackendEventType::HotKey; }, 3000,
      &hit));
  EXPECT_EQ(hit.hotkeyId, 7);

  // CapsLock must not hide the combination.
  RunTool({"xdotool", "key", "Caps_Lock", "alt+1", "Caps_Lock"});
  EXPECT_TRUE(PumpUntil(
      *backend, [](const BackendEvent& e) { return e.type == BackendEventType::HotKey; }, 3000));

  // Another connection cannot take it while we hold it, and can once we let go.
  auto other = lumoa::platform::CreateX11Backend();
  EXPECT_FALSE(other->GrabHotKey(1, kModAlt, '1'));
  EXPECT_TRUE(other->GrabHotKey(2, kModAlt, '2'));  // a different key is free
  backend->UngrabHotKey(7);
  PumpFor(*backend, 20);
  EXPECT_TRUE(other->GrabHotKey(1, kModAlt, '1'));
  other.reset();  // closing the connection releases its grabs
  EXPECT_TRUE(backend->GrabHotKey(8, kModAlt, '1'));
}

TEST_F(X11BackendTest, MouseEventsCarryScreenPositionsButtonsAndWheel) {
  const NativeId w = ShowWindow(RECT{400, 300, 500, 400}, 0xFF404040);
  RunTool({"xdotool", "mousemove", "450", "320", "mousedown", "1"});
  BackendEvent down;
  ASSERT_TRUE(PumpUntil(
      *backend, [](const BackendEvent& e) { return e.type == BackendEventType::ButtonDown; },
      3000, &down));
  EXPECT_EQ(down.window, w);
  EXPECT_EQ(down.screen.x, 450);
  EXPECT_EQ(down.screen.y, 320);
  EXPECT_EQ(down.button, 1u);
  EXPECT_EQ(down.modifiers & 0x1u, 0x1u);  // MK_LBUTTON after the press
  EXPECT_EQ(backend->ButtonState() & 0x1u, 0x1u);

  // Held button: motion outside keeps coming (implicit grab) and is no "pointer left".
  RunTool({"xdotool", "mousemove", "600", "350"});
  BackendEvent move;
  ASSERT_TRUE(PumpUntil(
      *backend,
      [](const BackendEvent& e) {
        return e.type == BackendEventType::MouseMove || e.type == BackendEventType::PointerLeft;
      },
      3000, &move));
  EXPECT_EQ(move.type, BackendEventType::MouseMove);
  EXPECT_EQ(move.screen.x, 600);
  RunTool({"xdotool", "mouseup", "1"});
  BackendEvent up;
  ASSERT_TRUE(PumpUntil(
      *backend, [](const BackendEvent& e) { return e.type == BackendEventType::ButtonUp; }, 3000,
      &up));
  EXPECT_EQ(up.modifiers & 0x1u, 0u);

  RunTool({"xdotool", "mousemove", "450", "350", "click", "4", "click", "5", "click", "3"});
  std::vector<int> wheel;
  bool right = false;
  PumpUntil(
      *backend,
      [&](const BackendEvent& e) {
        if (e.type == BackendEventType::Wheel) wheel.push_back(e.delta);
        if (e.type == BackendEventType::ButtonUp && e.button == 3) right = true;
        return right;
      },
      3000);
  EXPECT_EQ(wheel, (std::vector<int>{120, -120}));
  EXPECT_TRUE(right);

  RunTool({"xdotool", "mousemove", "700", "700"});
  EXPECT_TRUE(PumpUntil(
      *backend, [](const BackendEvent& e) { return e.type == BackendEventType::PointerLeft; },
      3000));
  const POINT p = backend->PointerPosition();
  EXPECT_EQ(p.x, 700);
  EXPECT_EQ(p.y, 700);
}

TEST_F(X11BackendTest, PointerGrabReportsMotionOutsideAndIsReleased) {
  const NativeId w = ShowWindow(RECT{400, 300, 500, 400}, 0xFF404040);
  RunTool({"xdotool", "mousemove", "450", "350"});
  PumpFor(*backend, 50);
  backend->GrabPointer(w);
  RunTool({"xdotool", "mousemove", "900", "600"});
  BackendEvent move;
  ASSERT_TRUE(PumpUntil(
      *backend,
      [](const BackendEvent& e) {
        return e.type == BackendEventType::MouseMove && e.screen.x == 900;
      },
      3000, &move));
  EXPECT_EQ(move.window, w);
  backend->UngrabPointer();
  // Another client can grab now: nothing was left behind.
  auto other = lumoa::platform::CreateX11Backend();
  NativeWindowParams params;
  params.bounds = RECT{0, 0, 10, 10};
  const NativeId w2 = other->CreateNativeWindow(params);
  other->Show(w2, NativeShow::Show);
  PumpUntil(*other, [](const BackendEvent& e) { return e.type == BackendEventType::Expose; }, 2000);
  other->GrabPointer(w2);
  RunTool({"xdotool", "mousemove", "910", "610"});
  EXPECT_TRUE(PumpUntil(
      *other, [](const BackendEvent& e) { return e.type == BackendEventType::MouseMove; }, 3000));
  other->UngrabPointer();
}

TEST_F(X11BackendTest, KeysGiveVirtualKeysRepeatAndText) {
  const NativeId w = ShowWindow(RECT{400, 300, 500, 400}, 0xFF404040, true);
  // Without a window manager, activation sets the input focus once the window is mapped.
  const std::string focus = RunTool({"xdotool", "getwindowfocus"});
  ASSERT_EQ(std::stoul(focus), static_cast<unsigned long>(w));
  RunTool({"xdotool", "type", "--delay", "20", "aZ!"});
  RunTool({"xdotool", "key", "Return", "Left", "F5", "KP_Add"});
  std::vector<UINT> downs;
  std::u16string text;
  PumpUntil(
      *backend,
      [&](const BackendEvent& e) {
        if (e.window != w) return false;
        if (e.type == BackendEventType::KeyDown) downs.push_back(e.vk);
        if (e.type == BackendEventType::Text) text += e.text;
        return e.type == BackendEventType::KeyUp && e.vk == 0x6B;
      },
      3000);
  // Shift comes with the capital and the exclamation mark; '!' is Shift+1.
  const std::vector<UINT> want = {'A', 0x10, 'Z', 0x10, '1', 0x0D, 0x25, 0x74, 0x6B};
  EXPECT_EQ(downs, want);
  EXPECT_EQ(text, u"aZ!\r+");

  // A held key repeats as KeyDown with the repeat flag and one KeyUp at the end.
  RunTool({"xdotool", "keydown", "b"});
  SleepMs(900);  // past the server's auto-repeat delay
  RunTool({"xdotool", "keyup", "b"});
  int first = 0, repeats = 0, ups = 0;
  PumpUntil(
      *backend,
      [&](const BackendEvent& e) {
        if (e.vk != 'B') return false;
        if (e.type == BackendEventType::KeyDown) (e.repeat ? repeats : first)++;
        if (e.type == BackendEventType::KeyUp) ups++;
        return e.type == BackendEventType::KeyUp;
      },
      3000);
  EXPECT_EQ(first, 1);
  EXPECT_GE(repeats, 1);
  EXPECT_EQ(ups, 1);
}

// Keys bound to Chinese characters and a dead key on spare key codes, for the test below.
class SpareKeys {
 public:
  explicit SpareKeys(std::vector<KeySym> syms) : dpy_(XOpenDisplay(nullptr)), count_(syms.size()) {
    int minCode = 0;
    XDisplayKeycodes(dpy_, &minCode, &maxCode_);
    XChangeKeyboardMapping(dpy_, first(), 1, syms.data(), static_cast<int>(count_));
    XSync(dpy_, False);
  }
  ~SpareKeys() {
    std::vector<KeySym> none(count_, NoSymbol);
    XChangeKeyboardMapping(dpy_, first(), 1, none.data(), static_cast<int>(count_));
    XCloseDisplay(dpy_);
  }

 private:
  int first() const { return maxCode_ - static_cast<int>(count_); }
  Display* dpy_;
  size_t count_;
  int maxCode_ = 0;
};

TEST_F(X11BackendTest, InputMethodTextAndComposedCharacters) {
  const NativeId w = ShowWindow(RECT{400, 300, 500, 400}, 0xFF404040, true);
  SpareKeys keys({0x100684C /* 桌 */, 0x1009762 /* 面 */, XK_dead_acute});
  PumpFor(*backend, 100);  // the keyboard mapping change reaches the back end
  RunTool({"xdotool", "key", "--delay", "20", "0x100684C", "0x1009762", "dead_acute", "e"});
  std::u16string text;
  std::vector<UINT> downs;
  PumpUntil(
      *backend,
      [&](const BackendEvent& e) {
        if (e.window != w) return false;
        if (e.type == BackendEventType::KeyDown) downs.push_back(e.vk);
        if (e.type == BackendEventType::Text) text += e.text;
        return text.size() >= 3;
      },
      3000);
  EXPECT_EQ(text, u"桌面é");
  // The dead key and the key it composed with went to the input method: VK_PROCESSKEY.
  ASSERT_EQ(downs.size(), 4u);
  EXPECT_EQ(downs[2], 0xE5u);
  EXPECT_EQ(downs[3], 0xE5u);
}

TEST_F(X11BackendTest, CursorsFromShapesAndFromPixels) {
  const NativeId w = ShowWindow(RECT{400, 300, 500, 400}, 0xFF404040);
  RunTool({"xdotool", "mousemove", "450", "350"});
  Display* dpy = XOpenDisplay(nullptr);
  ASSERT_NE(dpy, nullptr);
  struct Shown {
    int hotX = -1, hotY = -1, width = -1, height = -1;
    std::vector<unsigned long> pixels;
  };
  auto current = [&] {
    PumpFor(*backend, 50);
    Shown shown;
    if (XFixesCursorImage* img = XFixesGetCursorImage(dpy)) {
      shown = {img->xhot, img->yhot, img->width, img->height,
               std::vector<unsigned long>(img->pixels, img->pixels + img->width * img->height)};
      XFree(img);
    }
    return shown;
  };
  // Full colour with alpha: red, half-transparent green (shown premultiplied) and clear.
  lumoa::platform::CursorImage custom;
  custom.width = 8;
  custom.height = 6;
  custom.hotspot = POINT{3, 2};
  custom.pixels.assign(48, 0xFFFF0000);
  custom.pixels[1] = 0x8000FF00;
  custom.pixels[2] = 0x00000000;
  backend->SetCursor(w, lumoa::platform::CursorShape::Custom, &custom);
  Shown shown = current();
  EXPECT_EQ(shown.hotX, 3);
  EXPECT_EQ(shown.hotY, 2);
  ASSERT_EQ(shown.width, 8);
  ASSERT_EQ(shown.height, 6);
  EXPECT_EQ(shown.pixels[0] & 0xFFFFFFFF, 0xFFFF0000u);
  EXPECT_EQ(shown.pixels[1] & 0xFFFFFFFF, 0x80008000u);
  EXPECT_EQ(shown.pixels[2] & 0xFF000000, 0u);

  backend->SetCursor(w, lumoa::platform::CursorShape::IBeam, nullptr);
  EXPECT_NE(current().width, 8);
  // A custom cursor without pixels falls back to a shape instead of failing.
  custom.pixels.clear();
  backend->SetCursor(w, lumoa::platform::CursorShape::Custom, &custom);
  EXPECT_NE(current().width, 8);
  XCloseDisplay(dpy);
}

TEST_F(X11BackendTest, ClipboardRoundTripBetweenTwoBackends) {
  auto owner = lumoa::platform::CreateX11Backend();
  const std::u16string text = u"Lumoa 桌面搜索 café";
  owner->SetClipboardText(text);
  std::u16string mine;
  ASSERT_TRUE(owner->GetClipboardText(mine));
  EXPECT_EQ(mine, text);

  // The owner answers requests from its own thread, as a running program would.
  std::atomic<bool> stop{false};
  std::thread pump([&] {
    while (!stop) owner->WaitEvents(20, [](const BackendEvent&) {});
  });
  std::u16string got;
  EXPECT_TRUE(backend->GetClipboardText(got));
  EXPECT_EQ(got, text);

  // Taking the clipboard makes the old owner read from the new one.
  backend->SetClipboardText(u"second");
  stop = true;
  pump.join();
  std::atomic<bool> stop2{false};
  std::thread pump2([&] {
    while (!stop2) backend->WaitEvents(20, [](const BackendEvent&) {});
  });
  std::u16string fromNewOwner;
  const bool read = owner->GetClipboardText(fromNewOwner);
  stop2 = true;
  pump2.join();
  EXPECT_TRUE(read);
  EXPECT_EQ(fromNewOwner, u"second");
}

TEST_F(X11BackendTest, ClipboardReadTimesOutWhenTheOwnerDoesNotAnswer) {
  auto silent = lumoa::platform::CreateX11Backend();
  silent->SetClipboardText(u"never sent");
  const uint64_t t0 = backend->NowMs();
  std::u16string got = u"unchanged";
  EXPECT_FALSE(backend->GetClipboardText(got));
  const uint64_t waited = backend->NowMs() - t0;
  EXPECT_EQ(got, u"unchanged");
  EXPECT_GE(waited, 450u);
  EXPECT_LT(waited, 2000u);
}

}  // namespace
}  // namespace lumoa::x11test
