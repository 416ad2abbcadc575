// TControl, the base of everything shown on a form: bounds and alignment, visibility, font
// and colour with inheritance from the parent, caption, mouse and key events, the message
// path (WindowProc -> WndProc -> Dispatch -> DefaultHandler), and TGraphicControl, the
// windowless control its parent paints.
#pragma once

#include <memory>
#include <unordered_map>

#include "ui/canvas.h"
#include "ui/classes.h"
#include "ui/messages.h"

class TWinControl;
class TCustomForm;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

enum TControlStateItem {
  csLButtonDown,
  csClicked,
  csPalette,
  csReadingState,
  csAlignmentNeeded,
  csFocusing,
  csCreating,
  csPaintCopy,
  csCustomPaint,
  csDestroyingHandle,
};
using TControlState = TSet<TControlStateItem>;

enum TControlStyleItem {
  csAcceptsControls,
  csCaptureMouse,
  csClickEvents,
  csFramed,
  csSetCaption,
  csOpaque,
  csDoubleClicks,
  csFixedWidth,
  csFixedHeight,
  csNoStdEvents,
  csReplicatable,
  csParentBackground,
};
using TControlStyle = TSet<TControlStyleItem>;

// Screen cursor index: 0 the default, negative the standard shapes, positive or custom
// negative indices registered in Screen->Cursors.
using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;

using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift,
                                       int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, WCHAR& Key)>;
// WheelDelta: +120 per notch away from the user; MousePos in screen coordinates.
using TMouseWheelEvent = std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta,
                                            TPoint MousePos, bool& Handled)>;

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* AParent);

  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
  void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
  void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
  void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
  void SetBoundsRect(const TRect& R) { SetBounds(R.left, R.top, R.right - R.left, R.bottom - R.top); }

  // The client area in the control's own coordinates.
  virtual TRect ClientRect();
  int ClientWidth() { return ClientRect().right; }
  int ClientHeight() { return ClientRect().bottom; }
  void SetClientWidth(int Value);
  void SetClientHeight(int Value);
  // Screen position of the client area's top-left.
  virtual TPoint ClientOrigin();
  TPoint ClientToScreen(TPoint P);
  TPoint ScreenToClient(TPoint P);

  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool Value);

  TFont* Font() { return &FFont; }
  void SetFont(TFont* Value) { FFont.Assign(Value); }
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool Value);

  AnsiString Caption() { return GetText(); }
  void SetCaption(const AnsiString& Value) { SetText(Value); }
  AnsiString Text() { return GetText(); }
  void SetText(const AnsiString& Value);
  AnsiString Hint;
  bool ShowHint = false;
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);

  TControlState ControlState() const { return FControlState; }
  void SetControlState(TControlState Value) { FControlState = Value; }
  TControlStyle ControlStyle() const { return FControlStyle; }
  void SetControlStyle(TControlStyle Value) { FControlStyle = Value; }

  // The message path. Perform sends a message straight to WindowProc.
  LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
  TWndMethod WindowProc;
  virtual void WndProc(TMessage& Message);
  // Built-in handlers by message number; derived classes override, handling what they know
  // and passing the rest to the base. The last stop is the handler table, then
  // DefaultHandler.
  virtual void Dispatch(TMessage& Message);
  virtual void DefaultHandler(TMessage& Message);
  // Handles one message number for this instance (after every built-in handler passed it
  // on); an empty handler removes it.
  void SetMessageHandler(UINT Msg, TWndMethod Handler);

  virtual void Invalidate();
  void Repaint();
  virtual void Update();
  void Refresh() { Repaint(); }
  void BringToFront();
  void SendToBack();
  virtual bool HasParent() const { return FParent != nullptr; }
  bool IsShowing();  // visible with every parent visible

  bool MouseCapture();
  void SetMouseCapture(bool Value);

  virtual void Click();
  virtual void DblClick();

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent OnResize;
  TMouseWheelEvent OnMouseWheel;

  void Loaded() override;

 protected:
  virtual AnsiString GetText();
  virtual void SetTextBuf(const AnsiString& Value);
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual void Resize();
  virtual void RequestAlign();
  virtual void FontChanged();
  virtual void ChangeScale(int M, int D);
  // The visible part to repaint in the parent when this control changes.
  void InvalidateControl(bool IsVisible, bool IsOpaque);
  void UpdateBoundsRect(const TRect& R);

  // Tells the form's active control that this one is being pressed (CM_CANCELMODE).
  void SendCancelMode();
  // Mouse message handling shared by windowed and windowless controls.
  void DoMouseDown(TMessage& Message, TMouseButton Button, TShiftState Extra);
  void DoMouseUp(TMessage& Message, TMouseButton Button);
  void HandleMouseMessage(TMessage& Message);

  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  TWinControl* FParent = nullptr;
  TFont FFont;
  AnsiString FText;

 private:
  friend class TWinControl;
  void FontObjectChanged();
  void ParentFontChanged();
  void ParentColorChanged();

  TAlign FAlign = alNone;
  bool FVisible = true;
  bool FEnabled = true;
  bool FParentFont = true;
  bool FParentColor = true;
  bool FInFontChange = false;
  TColor FColor = clWindow;
  TCursor FCursor = crDefault;
  TControlState FControlState;
  TControlStyle FControlStyle;
  std::unordered_map<UINT, TWndMethod> FHandlers;
};

// A canvas on a control's window: a DC of the parent window for a windowless control,
// clipped to the control and with the origin moved onto it.
class TControlCanvas : public TCanvas {
 public:
  explicit TControlCanvas(TControl* AControl) : FControl(AControl) {}
  ~TControlCanvas() override;
  TControl* Control() const { return FControl; }
  // Drops the DC got from the window (a painted DC handed in is left to its owner).
  void FreeHandle();

 protected:
  void CreateHandle() override;

 private:
  TControl* FControl;
  HDC FDeviceContext = nullptr;
  HWND FWindowHandle = nullptr;
};

// A windowless control: it has no window of its own and draws in its parent's paint.
class TGraphicControl : public TControl {
 public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;
  TCanvas* Canvas() { return FCanvas.get(); }
  void Dispatch(TMessage& Message) override;

 protected:
  virtual void Paint() {}

 private:
  std::unique_ptr<TControlCanvas> FCanvas;
};

// The form that holds the control, or nullptr.
TCustomForm* GetParentForm(TControl* Control);
