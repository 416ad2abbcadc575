// What only a real desktop has, behind one interface: native top-level windows, presenting
// pixels, input, window shape and opacity, key and pointer grabs, screen geometry, clipboard.
// The user layer (windows, messages, painting) is written against this; x11 and headless
// implement it. All coordinates are screen pixels; all times come from NowMs().
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/windef.h"

namespace lumoa::platform {

using NativeId = uint64_t;  // 0 is "no native window"

struct NativeWindowParams {
  RECT bounds{};             // screen rectangle
  bool popup = true;         // no decoration (WS_POPUP); else the window manager decorates it
  bool toolWindow = false;   // not shown in task lists (WS_EX_TOOLWINDOW)
  bool topmost = false;      // WS_EX_TOPMOST
  bool layered = false;      // per-pixel alpha surface (WS_EX_LAYERED)
  bool noActivate = false;   // never takes focus (WS_EX_NOACTIVATE / menus, glows)
  bool transient = false;    // short-lived popup (menus, drop-downs): no window-manager handling
  bool clickThrough = false; // the pointer reaches what lies beneath (WS_EX_LAYERED | WS_EX_TRANSPARENT)
  std::u16string title;
};

// Pixels handed to Present: 32-bit BGRA rows, top-down. For layered windows the alpha byte is
// premultiplied coverage; for plain windows it is ignored.
struct PixelView {
  const uint8_t* bits = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;  // bytes per row
};

enum class NativeShow { Hide, Show, ShowActive };

enum class BackendEventType {
  MouseMove,
  ButtonDown,   // button: 1 left, 2 middle, 3 right
  ButtonUp,
  Wheel,        // delta: +120 away from the user, -120 toward
  KeyDown,      // vk, scan, repeat
  KeyUp,
  Text,         // committed text from the keyboard or the input method (after KeyDown)
  Expose,       // rect (window coordinates) must be presented again
  FocusIn,      // the native window got keyboard focus
  FocusOut,
  Moved,        // the window manager or the user moved/resized it: rect is the new screen rect
  CloseRequest, // the window manager asks to close it
  Iconified,
  Restored,
  PointerLeft,  // the pointer left the native window (no button held)
  HotKey,       // a grabbed key combination: hotkeyId
};

struct BackendEvent {
  BackendEventType type{};
  NativeId window = 0;   // the native window the event is for (0 for HotKey)
  POINT screen{};        // pointer position on screen (mouse events)
  UINT button = 0;
  int delta = 0;
  UINT vk = 0;           // virtual-key code (VK_*)
  UINT scan = 0;
  bool repeat = false;
  UINT modifiers = 0;    // MK_SHIFT | MK_CONTROL | MK_LBUTTON ... plus altDown below
  bool altDown = false;
  std::u16string text;
  RECT rect{};
  int hotkeyId = 0;
  uint64_t time = 0;     // NowMs() at the event
};

enum class CursorShape { Arrow, IBeam, Wait, Cross, Hand, SizeAll, SizeWE, SizeNS, SizeNWSE, SizeNESW, No, Custom };

// A cursor from pixels (32-bit BGRA, non-premultiplied) with its hot spot.
struct CursorImage {
  std::vector<uint32_t> pixels;
  int width = 0, height = 0;
  POINT hotspot{};
};

// The program as a whole, for task bars, window switchers and desktop entries.
struct AppIdentity {
  std::string instanceName;      // the instance part of the window class ("lumoa")
  std::string className;         // the class a desktop entry names ("Lumoa")
  // Shown for the program's caption-less windows that task bars list; a captioned window
  // keeps its own text, which its frame shows. Empty: every window shows its own text.
  std::u16string title;
  std::vector<CursorImage> icons;  // one image per size; hot spots unused
};

class Backend {
 public:
  virtual ~Backend() = default;
  virtual const char* Name() const = 0;

  // Native windows.
  virtual NativeId CreateNativeWindow(const NativeWindowParams& p) = 0;
  virtual void DestroyNativeWindow(NativeId w) = 0;
  virtual void SetBounds(NativeId w, const RECT& screen) = 0;
  // ShowActive also gives the window the keyboard (unless it was made not to take activation).
  virtual void Show(NativeId w, NativeShow how) = 0;
  virtual void Raise(NativeId w) = 0;          // top of its stacking layer
  virtual void Lower(NativeId w) = 0;
  virtual void SetTopmost(NativeId w, bool topmost) = 0;
  virtual void Activate(NativeId w) = 0;       // ask for keyboard focus / foreground
  virtual void Iconify(NativeId w) = 0;
  virtual void Restore(NativeId w) = 0;        // de-iconify and map
  virtual bool IsIconic(NativeId w) = 0;
  virtual void SetTitle(NativeId w, const std::u16string& title) = 0;
  // For the windows that exist and those made later.
  virtual void SetAppIdentity(const AppIdentity& identity) = 0;
  // Window shape as rectangles in window coordinates; empty vector with `none` true removes it.
  virtual void SetShape(NativeId w, const std::vector<RECT>& rects, bool none) = 0;
  virtual void SetOpacity(NativeId w, BYTE alpha) = 0;  // whole-window constant alpha
  // Copies the dirty rectangle (window coordinates) of the pixels to the screen.
  virtual void Present(NativeId w, const PixelView& pixels, const RECT& dirty) = 0;

  // True when per-pixel alpha windows can be shown (a compositor runs).
  virtual bool LayeredAvailable() = 0;

  // Global key grabs: modifiers are MOD_ALT | MOD_CONTROL | MOD_SHIFT | MOD_WIN, vk a VK_* code.
  // False when the combination is already held by someone else.
  virtual bool GrabHotKey(int id, UINT modifiers, UINT vk) = 0;
  virtual void UngrabHotKey(int id) = 0;

  // Pointer grab for capture and modal moves: events keep coming to w wherever the pointer is.
  virtual void GrabPointer(NativeId w) = 0;
  virtual void UngrabPointer() = 0;
  virtual POINT PointerPosition() = 0;
  virtual UINT ButtonState() = 0;  // MK_LBUTTON | MK_RBUTTON | MK_MBUTTON now held

  virtual void SetCursor(NativeId w, CursorShape shape, const CursorImage* custom) = 0;
  // Where the input method should show its candidate window (window coordinates).
  virtual void SetImeSpot(NativeId w, POINT pt) = 0;

  virtual RECT ScreenRect() = 0;
  virtual RECT WorkArea(POINT near) = 0;
  virtual std::vector<RECT> Monitors() = 0;

  virtual void SetClipboardText(const std::u16string& text) = 0;
  virtual bool GetClipboardText(std::u16string& text) = 0;

  virtual uint64_t NowMs() = 0;  // monotonic milliseconds
  // Waits until an event arrives, Wake() is called or timeoutMs passes (-1: no limit; 0: poll),
  // then delivers every available event to sink in order.
  virtual void WaitEvents(int timeoutMs, const std::function<void(const BackendEvent&)>& sink) = 0;
  virtual void Wake() = 0;
  virtual void Beep() = 0;
};

// The back end of this process, created on first use: headless when LUMOA_BACKEND=headless or
// when SetBackend was given one, else x11. Throws std::runtime_error when no display can be
// opened.
Backend& GetBackend();
void SetBackend(std::unique_ptr<Backend> backend);  // for tests; replaces the current one
bool HasBackend();
// Work a higher part of the platform starts while a desktop display opens (the text code reads
// fontconfig's configuration meanwhile); registered during static initialisation.
void OnDesktopOpening(void (*hook)());

}  // namespace lumoa::platform
