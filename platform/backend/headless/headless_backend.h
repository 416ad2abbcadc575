// A back end that keeps everything in memory: native windows are records with a pixel copy,
// input is injected by tests, time is a virtual clock that only moves when told to (or when a
// modal loop waits with nothing left to do). Tests reach it through Headless().
#pragma once

#include <atomic>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/backend/backend.h"

namespace lumoa::platform {

class HeadlessBackend : public Backend {
 public:
  struct NativeWindow {
    NativeWindowParams params;
    RECT bounds{};
    bool visible = false;
    bool iconic = false;
    bool topmost = false;
    bool hasShape = false;
    std::vector<RECT> shape;        // window coordinates, when hasShape
    BYTE opacity = 255;
    std::vector<uint32_t> pixels;   // last presented pixels, BGRA, width x height of bounds
    int width = 0, height = 0;
    int presents = 0;               // how many times Present was called
    std::u16string title;
    CursorShape cursor = CursorShape::Arrow;
  };

  HeadlessBackend();
  ~HeadlessBackend() override;

  // --- Backend ---
  const char* Name() const override { return "headless"; }
  NativeId CreateNativeWindow(const NativeWindowParams& p) override;
  void DestroyNativeWindow(NativeId w) override;
  void SetBounds(NativeId w, const RECT& screen) override;
  void Show(NativeId w, NativeShow how) override;
  void Raise(NativeId w) override;
  void Lower(NativeId w) override;
  void SetTopmost(NativeId w, bool topmost) override;
  void Activate(NativeId w) override;
  void Iconify(NativeId w) override;
  void Restore(NativeId w) override;
  bool IsIconic(NativeId w) override;
  void SetTitle(NativeId w, const std::u16string& title) override;
  void SetAppIdentity(const AppIdentity& identity) override { identity_ = identity; }
  void SetShape(NativeId w, const std::vector<RECT>& rects, bool none) override;
  void SetOpacity(NativeId w, BYTE alpha) override;
  void Present(NativeId w, const PixelView& pixels, const RECT& dirty) override;
  bool LayeredAvailable() override { return layered_; }
  bool GrabHotKey(int id, UINT modifiers, UINT vk) override;
  void UngrabHotKey(int id) override;
  void GrabPointer(NativeId w) override { pointerGrab_ = w; }
  void UngrabPointer() override { pointerGrab_ = 0; }
  POINT PointerPosition() override { return pointer_; }
  UINT ButtonState() override { return buttons_; }
  void SetCursor(NativeId w, CursorShape shape, const CursorImage* custom) override;
  void SetImeSpot(NativeId w, POINT pt) override;
  RECT ScreenRect() override { return screen_; }
  RECT WorkArea(POINT /*near*/) override { return workArea_; }  // one monitor
  std::vector<RECT> Monitors() override { return {screen_}; }
  void SetClipboardText(const std::u16string& text) override;
  bool GetClipboardText(std::u16string& text) override;
  uint64_t NowMs() override { return now_; }
  void WaitEvents(int timeoutMs, const std::function<void(const BackendEvent&)>& sink) override;
  void Wake() override {}
  void Beep() override { ++beeps_; }

  // --- Test API: input (screen coordinates, keys by VK) ---
  void MoveMouse(int x, int y);
  void PressButton(UINT button);    // 1 left, 2 middle, 3 right, at the current pointer
  void ReleaseButton(UINT button);
  void Click(int x, int y, UINT button = 1);  // move, press, release
  void Wheel(int delta);
  void KeyDown(UINT vk, const std::u16string& text = u"");
  void KeyUp(UINT vk);
  void PressKey(UINT vk, const std::u16string& text = u"");  // down (+ text), up
  void CommitText(const std::u16string& text);  // input-method text without a key
  void PointerLeaves();                          // the pointer left our windows
  void Push(BackendEvent e);                     // any raw event
  void SetFocusedNative(NativeId w, bool notify);  // as if the window manager moved focus
  void TriggerHotKey(int id);

  // --- Test API: clock, capabilities, screen ---
  void AdvanceClock(uint64_t ms) { now_ += ms; }
  void SetLayeredAvailable(bool on) { layered_ = on; }
  void SetScreen(const RECT& screen, const RECT& workArea);
  void BlockHotKey(UINT modifiers, UINT vk);   // as if another client held the grab
  // Called when WaitEvents would block with no event queued; it may push events or advance
  // the clock. Without one, a wait with no time limit and no events throws instead of hanging.
  void SetIdleHandler(std::function<void()> handler) { idle_ = std::move(handler); }

  // --- Test API: queries ---
  const NativeWindow* Window(NativeId w) const;
  std::vector<NativeId> StackingOrder() const;  // bottom to top, visible or not
  NativeId Focused() const { return focused_; }
  NativeId PointerGrab() const { return pointerGrab_; }
  POINT ImeSpot() const { return imeSpot_; }
  int Beeps() const { return beeps_; }
  const AppIdentity& Identity() const { return identity_; }
  bool HotKeyGrabbed(UINT modifiers, UINT vk) const;
  size_t PendingEvents() const { return events_.size(); }
  // Pixel of a native window as last presented (0 outside), BGRA as 0xAARRGGBB.
  uint32_t WindowPixel(NativeId w, int x, int y) const;
  // The screen as shown: background, then visible windows bottom to top, clipped to their
  // shape, layered ones blended by their alpha and opacity when layered windows are available.
  std::vector<uint32_t> ComposeScreen() const;
  uint32_t ScreenPixel(int x, int y) const;  // 0xRRGGBB of ComposeScreen at (x, y)
  void SetBackgroundColor(uint32_t rgb) { background_ = rgb; }

 private:
  NativeWindow* Find(NativeId w);
  void Stack(NativeId w, bool top);

  std::map<NativeId, NativeWindow> windows_;
  std::vector<NativeId> stacking_;  // bottom to top
  NativeId nextId_ = 1;
  std::deque<BackendEvent> events_;
  std::function<void()> idle_;
  int idleCalls_ = 0;
  std::atomic<uint64_t> now_{1000};  // posts from other threads read the clock
  bool layered_ = true;
  RECT screen_{0, 0, 1024, 768};
  RECT workArea_{0, 0, 1024, 738};
  POINT pointer_{};
  UINT buttons_ = 0;
  UINT modifiers_ = 0;
  bool alt_ = false;
  NativeId pointerGrab_ = 0;
  NativeId focused_ = 0;
  POINT imeSpot_{};
  int beeps_ = 0;
  AppIdentity identity_;
  uint32_t background_ = 0x000000;
  std::u16string clipboard_;
  bool hasClipboard_ = false;
  struct Grab {
    UINT modifiers;
    UINT vk;
  };
  std::map<int, Grab> hotkeys_;
  std::vector<Grab> blocked_;
};

// The current back end as the headless one; throws std::logic_error when another back end runs.
HeadlessBackend& Headless();

}  // namespace lumoa::platform

namespace lumoa::platform {

// Retrieves, translates and dispatches messages until the queue has nothing due (posted, input,
// paints, timers due now). Returns how many were dispatched; stops with std::runtime_error after
// maxMessages (a window that never validates its paint, a timer loop at zero interval...).
int RunUntilIdle(int maxMessages = 100000);

// The native window of hwnd's top-level window (0 when it has none), to read its pixels.
NativeId NativeWindowOf(HWND hwnd);

}  // namespace lumoa::platform
