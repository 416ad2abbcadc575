// TWinControl, the control with a window of its own (created when first needed), its
// children, focus, keyboard handling and painting of windowless children; TCustomControl,
// a windowed control that paints itself on a canvas.
#pragma once

#include <vector>

#include "ui/controls.h"

struct TCreateParams {
  WideString Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  LPVOID Param = nullptr;
  WNDCLASSEXW WindowClass{};
  // The class the window is registered under (the control's own class name by default).
  WideString WinClassName;
};

class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;

  // The window, created on first use together with the parent's.
  HWND Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded();
  // Makes the window again with fresh CreateParams (after a style change); state the
  // window holds (text) is carried over.
  void RecreateWnd();
  // For a control without a parent: the window it belongs to (owner of a popup).
  HWND ParentWindow() const { return FParentWindow; }
  void SetParentWindow(HWND Value) { FParentWindow = Value; }
  // Looks up the control that owns a window of this framework.
  static TWinControl* FindControl(HWND Handle);

  int ControlCount() const { return static_cast<int>(FControls.size()); }
  TControl* Controls(int Index) const;
  void InsertControl(TControl* AControl);
  void RemoveControl(TControl* AControl);
  bool ContainsControl(TControl* Control);
  // The windowless child under a client point (topmost first), or nullptr.
  TControl* ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls = false);

  int TabOrder();
  void SetTabOrder(int Value);
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool Value);
  // Windowed children in tab order.
  std::vector<TWinControl*> TabOrderList();
  // The next (or previous) focusable control after CurControl among this one's children,
  // wrapping around.
  TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                               bool CheckParent);
  void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);

  virtual bool CanFocus();
  bool Focused();
  virtual void SetFocus();

  void DisableAlign() { ++FAlignLevel; }
  void EnableAlign();
  void Realign();
  bool DoubleBuffered = false;

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  TRect ClientRect() override;
  TPoint ClientOrigin() override;
  void Invalidate() override;
  void Update() override;
  void SetEnabled(bool Value) override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;
  // Paints the windowless children over DC (origin at this control's client area) from
  // First on (all when First is nullptr).
  void PaintControls(HDC DC, TControl* First);
  // Draws the control with its windowless and windowed children into DC with its top-left
  // at (X, Y), csPaintCopy set meanwhile (for pictures of what lies under a control).
  void PaintTo(HDC DC, int X, int Y);

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;

  void Loaded() override;
  void Destroying() override;

 protected:
  virtual void CreateParams(TCreateParams& Params);
  // Makes Params a superclass of a registered window class (EDIT, LISTBOX ...): the window
  // class keeps its style and extra bytes, its procedure becomes the default handler.
  void CreateSubClass(TCreateParams& Params, LPCWSTR ClassName);
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& Params);
  virtual void DestroyWnd();
  virtual void DestroyWindowHandle();
  virtual void CreateHandle();
  void DestroyHandle();
  // Area the aligned children share; derived containers shrink it (page area, borders).
  virtual void AdjustClientRect(TRect& Rect);
  virtual void AlignControls(TControl* AControl, TRect& Rect);
  virtual void PaintWindow(HDC DC);
  void PaintHandler(TMessage& Message);
  virtual void DoEnter();
  virtual void DoExit();
  // Key events; false when the handler consumed the key (set it to 0).
  virtual bool DoKeyDown(TMessage& Message);
  virtual bool DoKeyUp(TMessage& Message);
  virtual bool DoKeyPress(TMessage& Message);
  virtual void KeyDown(WORD& Key, TShiftState Shift);
  virtual void KeyUp(WORD& Key, TShiftState Shift);
  virtual void KeyPress(WCHAR& Key);
  // Tab and the other keys the form uses to move focus, offered to the form first.
  bool HandleDialogKey(TMessage& Message);
  void UpdateBounds();
  void UpdateShowing();
  void FontChanged() override;
  // The text lives in the window once there is one (an edit's text is the user's).
  AnsiString GetText() override;
  void SetTextBuf(const AnsiString& Value) override;
  DWORD StyleForVisibility(DWORD Style);

  // True when a message of this control is being handled: the control is freed once it
  // returns instead of under its own feet.
  bool DeferFreeUntilDispatchEnds();

  WNDPROC FDefWndProc = nullptr;
  HWND FParentWindow = nullptr;  // for a top-level control: the window it belongs to

 private:
  friend class TControl;
  friend LRESULT CALLBACK ControlWndProc(HWND, UINT, WPARAM, LPARAM);
  void WMPaint(TMessage& Message);
  void WMEraseBkgnd(TMessage& Message);
  void WMWindowPosChanged(TMessage& Message);
  // True when the message was answered here.
  bool WMSetCursor(TMessage& Message);
  bool WMMouseWheel(TMessage& Message);
  void CNCtlColor(TMessage& Message);
  void CMDialogKey(TMessage& Message);
  void ReflectToChild(TMessage& Message);
  void TrackMouse(TControl* Target);
  void DoAlign(TAlign Align, TRect& Rect, TControl* AControl);
  HWND PrecedingWindow() const;

  HWND FHandle = nullptr;
  std::vector<TControl*> FControls;  // z-order, bottom first
  std::vector<TWinControl*> FTabList;
  bool FTabStop = false;
  int FAlignLevel = 0;
  int FDispatchDepth = 0;
  bool FFreePending = false;
  HBRUSH FBrush = nullptr;
  TColor FBrushColor = clNone;
  TControl* FCaptureControl = nullptr;  // windowless child holding the mouse
};

class TCustomControl : public TWinControl {
 public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;
  TCanvas* Canvas() { return FCanvas.get(); }

 protected:
  virtual void Paint() {}
  void PaintWindow(HDC DC) override;

 private:
  std::unique_ptr<TControlCanvas> FCanvas;
};

// The control under the pointer, which got CM_MOUSEENTER last (nullptr when none).
TControl* MouseControl();
void ClearMouseControl(TControl* Control);
