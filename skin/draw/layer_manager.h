// A picture with per-pixel alpha shown in a click-through layered popup that never takes
// activation, faded in over 25 ms steps; nothing happens where layered windows are unavailable.
#pragma once

#include <memory>

#include "platform/winapi.h"
#include "ui/classes.h"

class TksBitmap;

// The popup: WS_POPUP with WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT | WS_EX_LAYERED, class style
// CS_SAVEBITS; a mouse click never activates it.
class TksLayerWindow {
 public:
  // Created hidden at the given screen rectangle; Handle() is null when creation failed.
  TksLayerWindow(int x, int y, int width, int height);
  ~TksLayerWindow();
  TksLayerWindow(const TksLayerWindow&) = delete;
  TksLayerWindow& operator=(const TksLayerWindow&) = delete;
  HWND Handle() const { return FHandle; }

 private:
  HWND FHandle = nullptr;
};

class TksLayerManager : public TComponent {
 public:
  explicit TksLayerManager(TComponent* owner);
  ~TksLayerManager() override;

  // Whether this desktop can show per-pixel alpha (the layered-windows test).
  static bool LayeredWindowsAvailable();

  // Shows picture at screen (x, y) with its alpha taken from mask (same size; else the
  // picture's own alpha is kept), fading from 0 to endAlpha in steps of endAlpha div 10 every
  // 25 ms. A visible layer is hidden first. Nothing without layered windows.
  void Show(int x, int y, BYTE endAlpha, TPersistent* picture, TPersistent* mask);
  void Hide();

  bool Topmost = true;
  bool Visible() const { return FVisible; }
  bool Fading() const { return FTimer; }
  BYTE CurrentAlpha() const { return FCurrent; }
  HWND LayerHandle() const { return FWindow ? FWindow->Handle() : nullptr; }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  friend class TksLayerWindow;
  void Tick();
  bool Update(BYTE alpha);
  void StopTimer();

  std::unique_ptr<TksLayerWindow> FWindow;
  std::unique_ptr<TksBitmap> FBitmap;
  bool FTimer = false;
  bool FVisible = false;
  BYTE FCurrent = 0;
  BYTE FEnd = 0;
  BYTE FStep = 0;
};
