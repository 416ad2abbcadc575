// The X11 back end: Xlib with XShape, XFixes (compositor tracking) and XIM. Private to the
// back end; the rest of the platform sees only Backend.
#pragma once

#include "platform/backend/x11/x11_xlib.h"
#include <X11/extensions/XShm.h>

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "platform/backend/backend.h"
#include "platform/backend/x11/x11_atoms.h"

namespace lumoa::platform::x11 {

struct NativeWin {
  Window xid = 0;
  NativeWindowParams params;
  RECT bounds{};        // last known screen rectangle of the client area
  Visual* visual = nullptr;
  int depth = 0;
  Colormap colormap = 0;  // owned only for ARGB windows
  bool argb = false;
  bool wantMapped = false;   // Show(true) was asked
  bool viewable = false;     // MapNotify seen
  bool iconic = false;
  bool focusPending = false; // activate as soon as it is mapped
  bool focused = false;
  unsigned long configureSerial = 0;  // our latest geometry request
  std::vector<RECT> requested;        // geometries asked for and not yet all answered
  XIC ic = nullptr;
  bool hasIcon = false;  // carries _NET_WM_ICON
  Cursor customCursor = 0;
  GC gc = nullptr;
  XImage* shmImage = nullptr;  // shared-memory copy of the pixels for presenting
  XShmSegmentInfo shmInfo{};
};

class X11Backend final : public Backend {
 public:
  explicit X11Backend(Display* dpy);
  ~X11Backend() override;

  const char* Name() const override { return "x11"; }

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
  void SetAppIdentity(const AppIdentity& identity) override;
  void SetShape(NativeId w, const std::vector<RECT>& rects, bool none) override;
  void SetOpacity(NativeId w, BYTE alpha) override;
  void Present(NativeId w, const PixelView& pixels, const RECT& dirty) override;
  bool LayeredAvailable() override;

  bool GrabHotKey(int id, UINT modifiers, UINT vk) override;
  void UngrabHotKey(int id) override;

  void GrabPointer(NativeId w) override;
  void UngrabPointer() override;
  POINT PointerPosition() override;
  UINT ButtonState() override;

  void SetCursor(NativeId w, CursorShape shape, const CursorImage* custom) override;
  void SetImeSpot(NativeId w, POINT pt) override;

  RECT ScreenRect() override;
  RECT WorkArea(POINT near) override;
  std::vector<RECT> Monitors() override;

  void SetClipboardText(const std::u16string& text) override;
  bool GetClipboardText(std::u16string& text) override;

  uint64_t NowMs() override;
  void WaitEvents(int timeoutMs, const std::function<void(const BackendEvent&)>& sink) override;
  void Wake() override;
  void Beep() override;

  Display* display() const { return dpy_; }

 private:
  struct HotKey {
    KeyCode keycode = 0;
    unsigned int mods = 0;
  };

  // x11_backend.cpp
  void ReadPendingXEvents();
  void HandleXEvent(XEvent& ev);
  void Push(BackendEvent e);
  NativeWin* Find(Window xid);
  bool WindowManagerRunning();
  Time ServerTime();        // the latest event time, else the server's time now
  Time FreshServerTime();   // always the server's time now (one round trip)
  void SendRootMessage(Window w, Atom type, long d0, long d1, long d2, long d3);
  // Drops the cached monitors or work areas that an event says have changed.
  bool ForgetScreenState(const XEvent& ev);
  void CheckScreenState();  // the same for the events already received, left queued

  // x11_windows.cpp
  void SetWindowProperties(NativeWin& w);
  void SetSizeHints(NativeWin& w);
  void SetNetState(NativeWin& w, Atom state, bool on);
  void UpdateIconic(NativeWin& w);
  void OnConfigure(NativeWin& w, const XConfigureEvent& ev);
  void FocusNow(NativeWin& w);

  // x11_identity.cpp
  void SetIdentityProperties(NativeWin& w);
  void WriteTitle(NativeWin& w);

  // x11_present.cpp
  bool EnsureShmImage(NativeWin& w, int width, int height);
  void ReleaseShmImage(NativeWin& w);

  // x11_cursor.cpp
  Cursor CreateArgbCursor(const CursorImage& image);
  Cursor CreateBitmapCursor(Window w, const CursorImage& image);

  // x11_input.cpp
  void OpenInputMethod();
  void CloseInputMethod();
  void CreateInputContext(NativeWin& w);
  void OnKey(NativeWin& w, XKeyEvent& ev);
  void OnButton(NativeWin& w, const XButtonEvent& ev);
  bool IsAutoRepeatRelease(const XKeyEvent& ev);
  void OnRootKey(const XKeyEvent& ev);
  unsigned int NumLockMask();
  static void OnImInstantiate(Display* dpy, XPointer client, XPointer call);
  static void OnImDestroy(XIM im, XPointer client, XPointer call);

  // x11_selection.cpp
  void OnSelectionRequest(const XSelectionRequestEvent& ev);
  void OnSelectionClear(const XSelectionClearEvent& ev);
  bool ReadSelection(Atom target, std::string& out, Atom& type);

  Display* dpy_;
  int screen_;
  Window root_;
  Window helper_ = 0;  // unmapped window: selection owner, property scratch, time stamps
  int wakePipe_[2] = {-1, -1};
  X11Atoms a_;
  std::map<Window, NativeWin> windows_;
  std::deque<BackendEvent> pending_;
  std::map<int, HotKey> hotKeys_;
  std::vector<KeyCode> keysDown_;
  Window pointerGrab_ = 0;
  Time lastTime_ = CurrentTime;
  bool detectableRepeat_ = false;

  bool useShm_ = false;
  bool hasShape_ = false;
  bool hasXFixes_ = false;
  bool hasRandr_ = false;
  bool hasRender_ = false;  // colour cursors
  int xfixesEvent_ = 0;
  int layeredKnown_ = -1;  // -1 unknown, else the cached answer
  // Monitors and work areas, asked for many times while a form is made and placed: work
  // areas kept until the root's properties change, monitors until RandR's screen-change
  // notice or the next wait for events.
  int randrEvent_ = 0;
  int randrMonitors_ = -1;  // RandR 1.5 monitors: -1 not asked yet
  bool monitorsKnown_ = false;
  std::vector<RECT> monitors_;
  bool workAreasKnown_ = false;
  long currentDesktop_ = 0;
  std::vector<long> workAreas_;  // _NET_WORKAREA: x, y, width, height per desktop
  Visual* argbVisual_ = nullptr;

  XIM im_ = nullptr;
  bool imOpened_ = false;  // opened when first idle: it costs ~20 ms, too much before a paint
  XIMStyle imStyle_ = 0;

  std::map<int, Cursor> fontCursors_;

  AppIdentity identity_;     // class names filled in from the program's name until told
  // _NET_WM_ICON of identity_.icons: width, height, ARGB rows. Once a window carries it, the
  // server's copy is the only one (iconOnServer_), read back for a window made later.
  std::vector<uint32_t> netIcon_;
  bool iconOnServer_ = false;
  const NativeWin* IconHolder(const NativeWin* except) const;
  std::vector<uint32_t> ReadIcon(const NativeWin& holder);
  void DropIconCopy();
  void KeepIconPast(const NativeWin& dying);

  std::string clipboard_;  // UTF-8 while we own CLIPBOARD
  bool ownsClipboard_ = false;
  bool waitingSelection_ = false;
  bool selectionArrived_ = false;
  XSelectionEvent selectionReply_{};
};

}  // namespace lumoa::platform::x11
