// The window manager's own state: classes, window objects and the tree they form, the queue,
// timers, focus, activation and capture, each part with the threads that may reach it. Shared
// by the files of platform/user only.
#pragma once

#include <atomic>
#include <cassert>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "platform/backend/backend.h"
#include "platform/user/rect_region.h"
#include "platform/winuser.h"

namespace lumoa::platform::user {

struct WindowClass {
  std::u16string name;  // empty for classes registered by atom only
  ATOM atom = 0;
  UINT style = 0;
  WNDPROC proc = nullptr;
  int wndExtra = 0;
  HINSTANCE instance = nullptr;
  HICON icon = nullptr;
  HICON iconSm = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  std::vector<BYTE> extra;
  int windows = 0;  // live windows of the class
};

struct Window {
  HWND handle = nullptr;
  std::shared_ptr<WindowClass> cls;
  WNDPROC proc = nullptr;
  DWORD style = 0;
  DWORD exStyle = 0;
  Window* parent = nullptr;    // the desktop for top-level windows
  Window* owner = nullptr;     // top-level windows only
  std::vector<Window*> children;  // z-order, topmost first
  RECT rect{};     // window rectangle in the parent's client coordinates
  RECT client{};   // client rectangle in window coordinates
  std::u16string text;
  LONG_PTR userData = 0;
  LONG_PTR id = 0;
  HINSTANCE instance = nullptr;
  std::vector<BYTE> extra;
  std::map<std::u16string, HANDLE> props;
  std::thread::id thread;

  RectRegion update;      // client coordinates
  bool updateFrame = false;  // the non-client area needs WM_NCPAINT
  bool erase = false;        // WM_ERASEBKGND is due at the next BeginPaint
  bool internalPaint = false;
  HRGN windowRgn = nullptr;  // owned, window coordinates

  enum class Life { Creating, Alive, Destroying } life = Life::Creating;
  bool ncDestroyed = false;

  // Top-level windows: the native window and the pixel surface the whole tree paints into.
  NativeId native = 0;
  HBITMAP surface = nullptr;
  BYTE* bits = nullptr;
  int surfaceWidth = 0, surfaceHeight = 0;
  RectRegion dirty;  // surface coordinates, waiting for Present
  // Something was drawn into the surface: until then it holds no frame worth showing, and
  // presents wait (so that a new window reaches the screen once, painted).
  bool surfaceDrawn = false;
  bool nativeShown = false;

  // Layered windows.
  bool layeredAttributes = false;  // SetLayeredWindowAttributes was called
  bool layeredUpdated = false;     // UpdateLayeredWindow was called
  BYTE layeredAlpha = 255;
  COLORREF layeredKey = 0;
  DWORD layeredFlags = 0;
  std::vector<uint32_t> layeredPixels;  // premultiplied BGRA from UpdateLayeredWindow
  int layeredWidth = 0, layeredHeight = 0;

  bool IsChild() const { return (style & WS_CHILD) != 0; }
  bool Visible() const { return (style & WS_VISIBLE) != 0; }
};

struct Timer {
  HWND hwnd;
  UINT_PTR id;
  UINT elapse;
  uint64_t due;
  TIMERPROC proc;
};

// A message sent from another thread, waiting for the window's thread to deliver it.
struct CrossSend {
  HWND hwnd;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
  LRESULT result = 0;
  bool done = false;
};

struct KeyText {
  HWND hwnd;
  WPARAM vk;
  LPARAM lParam;
  DWORD time;
  std::u16string text;
};

// What other threads may reach: posted messages and sends waiting for the windows' thread.
// Its lock is taken inside every member, so nothing reaches the messages without it.
class PostedQueue {
 public:
  void Post(const MSG& m);
  // Runs f(std::deque<MSG>&) on the posted messages with the lock held; f must not send.
  template <class F>
  auto WithPosted(F&& f) {
    std::lock_guard lock(mutex_);
    return f(posted_);
  }
  bool Empty();  // no posted message and no waiting send
  bool SendWaiting();
  // The oldest waiting send, or null; Complete answers it and wakes its sender.
  CrossSend* TakeSend();
  void Complete(CrossSend* cs, LRESULT result);
  // From another thread: queues cs, wakes the windows' thread with wake(), waits for the answer.
  LRESULT SendAndWait(CrossSend& cs, void (*wake)());

 private:
  std::mutex mutex_;
  std::condition_variable done_;
  std::deque<MSG> posted_;
  std::deque<CrossSend*> sends_;
};

// The thread that owns the windows. Every window created claims it (there is one such thread);
// until the first window exists any thread acts as it. Any thread may ask.
class GuiThread {
 public:
  void Claim() { id_.store(std::this_thread::get_id()); }
  // True on the windows' thread, or while no window was ever created.
  bool IsCurrent() const {
    const std::thread::id id = id_.load();
    return id == std::thread::id() || id == std::this_thread::get_id();
  }

 private:
  std::atomic<std::thread::id> id_{};
};

// The pointer's last position as the input saw it. Any thread reads it: posts from other
// threads stamp their messages with it.
class CursorPosition {
 public:
  POINT Get() const {
    const uint64_t v = packed_.load(std::memory_order_relaxed);
    return {LONG(int32_t(uint32_t(v))), LONG(int32_t(uint32_t(v >> 32)))};
  }
  void Set(POINT p) {
    packed_.store(uint64_t(uint32_t(p.x)) | (uint64_t(uint32_t(p.y)) << 32),
                  std::memory_order_relaxed);
  }

 private:
  std::atomic<uint64_t> packed_{0};
};

// Window classes, window objects and the desktop.
struct WindowTable {
  std::unordered_map<HWND, std::unique_ptr<Window>> windows;
  uintptr_t nextHandle = 0x10000;
  std::vector<std::shared_ptr<WindowClass>> classes;
  ATOM nextAtom = 0xC000;
  std::unique_ptr<Window> desktop;
  std::shared_ptr<WindowClass> desktopClass;
};

// Focus, activation, capture, the key state, mouse tracking and double clicks, and the input
// not yet delivered.
struct InputState {
  std::deque<BackendEvent> raw;   // back-end events not yet turned into messages
  std::deque<MSG> input;          // routed input messages
  std::deque<KeyText> keyTexts;   // committed text of recent key presses, for TranslateMessage
  HWND focus = nullptr;
  HWND active = nullptr;
  HWND capture = nullptr;
  bool appActive = false;
  BYTE keys[256] = {};  // 0x80 down, 0x01 toggled
  HWND tracking = nullptr;
  DWORD trackFlags = 0;
  HWND lastMouseWindow = nullptr;
  UINT lastHit = HTNOWHERE;
  struct {
    HWND hwnd = nullptr;
    UINT message = 0;
    uint64_t time = 0;
    POINT pt{};
  } lastClick;

  // hwnd is being destroyed: nothing refers to it any more, its undelivered input is dropped.
  void Forget(HWND hwnd);
  void Reset();
};

// The queue as the windows' thread sees it: timers, the quit request, the message last taken.
struct QueueState {
  std::vector<Timer> timers;
  UINT_PTR nextTimerId = 1;
  bool quitPending = false;
  int quitCode = 0;
  MSG current{};        // the last message retrieved (GetMessageTime/GetMessagePos)
  int inCrossSend = 0;  // nesting of sends from other threads being delivered

  void Reset();
};

// The window manager's state. Other threads reach only guiThread, posted and cursor (each safe
// on its own); the rest belongs to the windows' thread, and debug builds check that every
// access to it comes from there.
class State {
 public:
  GuiThread guiThread;
  PostedQueue posted;
  CursorPosition cursor;

  WindowTable& Table() { return Owned(table_); }
  InputState& Input() { return Owned(input_); }
  QueueState& Queue() { return Owned(queue_); }

 private:
  template <class T>
  T& Owned(T& part) {
    assert(guiThread.IsCurrent() && "window manager state touched off the windows' thread");
    return part;
  }
  WindowTable table_;
  InputState input_;
  QueueState queue_;
};

State& S();

// Destroys every window and empties the queue and timers; the desktop is re-read from the
// back end on next use. For tests that swap back ends.
void ResetUserState();

// Handles and classes.
std::shared_ptr<WindowClass> FindClass(LPCWSTR name);
Window* Get(HWND hwnd);              // nullptr for null, stale or foreign handles

// A window that the procedures run meanwhile may destroy: Get() is the window while it lives
// and null afterwards. Take one before any call that can reach a window procedure and use it
// instead of the raw pointer after that call.
class WindowGuard {
 public:
  explicit WindowGuard(const Window* w);
  Window* Get() const;
  HWND Handle() const { return handle_; }

 private:
  HWND handle_;
};
Window* GetOrDesktop(HWND hwnd);     // null means the desktop
Window* Desktop();
Window* TopLevel(Window* w);         // the child of the desktop w belongs to, or nullptr
bool IsDesktop(const Window* w);
bool IsTopLevel(const Window* w);

// Geometry, all in screen coordinates unless said otherwise.
POINT ClientOrigin(const Window* w);   // screen position of client (0,0)
POINT WindowOrigin(const Window* w);   // screen position of the window's top-left
RECT WindowRectOnScreen(const Window* w);
POINT SurfaceOffset(const Window* w);  // window top-left inside its top-level's surface
bool ReallyVisible(const Window* w);   // it and all ancestors visible, top-level not iconic
// WM_NCCALCSIZE into w->client; false when the window's procedure destroyed it meanwhile.
[[nodiscard]] bool ComputeNonClient(Window* w);
RECT FrameInsets(DWORD style, DWORD exStyle);  // default non-client widths (left, top, ...)
int CaptionHeight(DWORD style, DWORD exStyle);
void CreateNative(Window* w);
void RecreateNative(Window* w);
// The deepest window under a screen point that takes mouse input, asking WM_NCHITTEST
// (HTTRANSPARENT passes to the next window below); hit receives the code.
Window* HitWindow(POINT screen, int* hit);

// Messages.
LRESULT Send(Window* w, UINT msg, WPARAM wParam, LPARAM lParam);
void Post(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Runs the queue once: true when a message was taken out into msg.
bool PeekInternal(MSG* msg, HWND hwnd, UINT min, UINT max, UINT flags);
// Blocks until something may be in the queue (next timer due, back-end events).
void WaitForWork();
void RemoveTimers(HWND hwnd);
void DrainBackend(int timeoutMs);

// Painting.
void EnsureSurface(Window* top);
void FreeSurface(Window* top);
void Invalidate(Window* w, const RectRegion* clientRgn, UINT flags);  // RDW_* semantics
void InvalidateInParent(Window* w, const RECT& rectInParent);  // exposes what w covered
void PresentDirty();
void PresentWindow(Window* top, const RECT* dirty);
bool FindPaintWindow(HWND filter, HWND* out);
enum class RegionArea { Client, Window };
enum class ChildWindows { Clip, Include };
RectRegion VisibleRegion(const Window* w, RegionArea area, ChildWindows children);
void ApplyLayeredVisibility(Window* top);  // maps or unmaps the native window as it should be

// Input, focus, activation.
void HandleBackendEvent(const BackendEvent& e);
void OnWindowHidden(Window* w);
void OnWindowDestroying(Window* w);
// Mouse activation answers WA_CLICKACTIVE. FocusNative asks the back end to give the native
// window the keyboard; Keep when the back end reported the change itself.
enum class ActivatedBy { Program, Mouse };
enum class NativeFocus { FocusNative, Keep };
bool Activate(Window* top, ActivatedBy by, NativeFocus native);
void ActivateOther(Window* leaving);
void SetFocusInternal(Window* w);
void RouteMouse(const BackendEvent& e);
void UpdateKeyState(const BackendEvent& e);

// System move loop.
void SystemMoveLoop(Window* w, POINT start);

// Carets and cursors need to know about destroyed windows and paints.
void CaretWindowDestroyed(HWND hwnd);
void CaretHideForPaint(HWND hwnd, bool hide);
void HotKeysWindowDestroyed(HWND hwnd);
void DeliverHotKey(int id);
void Deactivate();

// The pixels of an icon or custom cursor made from bitmaps; nullptr for any other handle.
const CursorImage* CustomCursorImage(HCURSOR cursor);

}  // namespace lumoa::platform::user
