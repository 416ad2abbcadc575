#include "ui/controls.h"

#include <algorithm>

#include "ui/forms.h"
#include "ui/win_control.h"

TShiftState KeysToShiftState(WORD Keys) {
  TShiftState s;
  if (Keys & MK_SHIFT) s.Include(ssShift);
  if (Keys & MK_CONTROL) s.Include(ssCtrl);
  if (Keys & MK_LBUTTON) s.Include(ssLeft);
  if (Keys & MK_RBUTTON) s.Include(ssRight);
  if (Keys & MK_MBUTTON) s.Include(ssMiddle);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  return s;
}

TShiftState KeyboardShiftState() {
  TShiftState s;
  if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  return s;
}

// ---- TControl ----

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
  WindowProc = [this](TMessage& m) { WndProc(m); };
  FFont.OnChange = [this](TObject*) { FontObjectChanged(); };
  FControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
}

TControl::~TControl() {
  FFont.OnChange = nullptr;
  ClearMouseControl(this);
  if (FParent) FParent->RemoveControl(this);
}

void TControl::SetParent(TWinControl* AParent) {
  if (FParent == AParent) return;
  if (AParent == this) throw EInvalidOperation("A control cannot have itself as its parent");
  if (FParent) FParent->RemoveControl(this);
  if (AParent) AParent->InsertControl(this);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  AWidth = std::max(AWidth, 0);
  AHeight = std::max(AHeight, 0);
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  const bool resized = AWidth != FWidth || AHeight != FHeight;
  InvalidateControl(FVisible, false);
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  Invalidate();
  RequestAlign();
  if (resized) Resize();
}

void TControl::UpdateBoundsRect(const TRect& R) {
  FLeft = R.left;
  FTop = R.top;
  FWidth = R.right - R.left;
  FHeight = R.bottom - R.top;
}

TRect TControl::ClientRect() { return Rect(0, 0, FWidth, FHeight); }

void TControl::SetClientWidth(int Value) { SetWidth(FWidth - ClientWidth() + Value); }
void TControl::SetClientHeight(int Value) { SetHeight(FHeight - ClientHeight() + Value); }

TPoint TControl::ClientOrigin() {
  if (!FParent) throw EInvalidOperation("Control '" + Name() + "' has no parent window");
  TPoint p = FParent->ClientOrigin();
  return Point(p.x + FLeft, p.y + FTop);
}

TPoint TControl::ClientToScreen(TPoint P) {
  const TPoint o = ClientOrigin();
  return Point(P.x + o.x, P.y + o.y);
}

TPoint TControl::ScreenToClient(TPoint P) {
  const TPoint o = ClientOrigin();
  return Point(P.x - o.x, P.y - o.y);
}

void TControl::SetAlign(TAlign Value) {
  if (FAlign == Value) return;
  FAlign = Value;
  RequestAlign();
}

void TControl::RequestAlign() {
  if (FParent) FParent->Realign();
}

void TControl::SetVisible(bool Value) {
  if (FVisible == Value) return;
  if (!Value) InvalidateControl(true, false);
  FVisible = Value;
  Perform(CM_VISIBLECHANGED, Value);
  RequestAlign();
}

bool TControl::IsShowing() {
  for (TControl* c = this; c; c = c->FParent) {
    if (!c->FVisible) return false;
  }
  return true;
}

void TControl::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  Perform(CM_ENABLEDCHANGED);
}

void TControl::FontObjectChanged() {
  if (!FInFontChange) FParentFont = false;
  Perform(CM_FONTCHANGED);
}

void TControl::FontChanged() { Invalidate(); }

void TControl::SetParentFont(bool Value) {
  FParentFont = Value;
  if (Value) ParentFontChanged();
}

void TControl::ParentFontChanged() {
  if (!FParentFont || !FParent) return;
  FInFontChange = true;
  try {
    FFont.Assign(FParent->Font());
  } catch (...) {
    FInFontChange = false;
    throw;
  }
  FInFontChange = false;
}

void TControl::SetColor(TColor Value) {
  FParentColor = false;
  if (FColor == Value) return;
  FColor = Value;
  Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool Value) {
  FParentColor = Value;
  if (Value) ParentColorChanged();
}

void TControl::ParentColorChanged() {
  if (!FParentColor || !FParent || FColor == FParent->Color()) return;
  FColor = FParent->Color();
  Perform(CM_COLORCHANGED);
}

AnsiString TControl::GetText() { return FText; }

void TControl::SetTextBuf(const AnsiString& Value) { FText = Value; }

void TControl::SetText(const AnsiString& Value) {
  if (GetText() == Value) return;
  SetTextBuf(Value);
  Perform(CM_TEXTCHANGED);
}

void TControl::SetCursor(TCursor Value) {
  if (FCursor == Value) return;
  FCursor = Value;
  Perform(CM_CURSORCHANGED);
}

void TControl::ChangeScale(int M, int D) {
  if (M == D || D == 0) return;
  SetBounds(MulDivRound(FLeft, M, D), MulDivRound(FTop, M, D), MulDivRound(FWidth, M, D),
            MulDivRound(FHeight, M, D));
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage m{Msg, WParam, LParam, 0};
  if (WindowProc) {
    WindowProc(m);
  } else {
    WndProc(m);
  }
  return m.Result;
}

void TControl::SetMessageHandler(UINT Msg, TWndMethod Handler) {
  if (Handler) {
    FHandlers[Msg] = std::move(Handler);
  } else {
    FHandlers.erase(Msg);
  }
}

void TControl::SendCancelMode() {
  TCustomForm* form = GetParentForm(this);
  TWinControl* active = form ? form->ActiveControl() : nullptr;
  if (active && active != this) active->Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(this));
}

void TControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      SendCancelMode();
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      SendCancelMode();
      if (!FControlStyle.Contains(csDoubleClicks)) Message.Msg = WM_LBUTTONDOWN;
      FControlState.Include(csLButtonDown);
      break;
    case WM_LBUTTONUP:
      FControlState.Exclude(csLButtonDown);
      break;
  }
  Dispatch(Message);
}

void TControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_MOUSEMOVE:
      HandleMouseMessage(Message);
      return;
    case CM_MOUSEENTER:
      if (OnMouseEnter) OnMouseEnter(this);
      return;
    case CM_MOUSELEAVE:
      if (OnMouseLeave) OnMouseLeave(this);
      return;
    case CM_ENABLEDCHANGED:
    case CM_COLORCHANGED:
    case CM_TEXTCHANGED:
      Invalidate();
      return;
    case CM_VISIBLECHANGED:
      InvalidateControl(true, FVisible && FControlStyle.Contains(csOpaque));
      return;
    case CM_FONTCHANGED:
      FontChanged();
      return;
    case CM_PARENTFONTCHANGED:
      ParentFontChanged();
      return;
    case CM_PARENTCOLORCHANGED:
      ParentColorChanged();
      return;
  }
  auto it = FHandlers.find(Message.Msg);
  if (it != FHandlers.end()) {
    TWndMethod handler = it->second;  // the handler may replace itself
    handler(Message);
    return;
  }
  DefaultHandler(Message);
}

void TControl::DefaultHandler(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETTEXTLENGTH:
      Message.Result = static_cast<LRESULT>(AnsiToWide(FText).size());
      return;
  }
}

void TControl::HandleMouseMessage(TMessage& Message) {
  // The window handles the press first (focus, caret, a tab's selection), then the events.
  DefaultHandler(Message);
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
      if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
      if (FControlStyle.Contains(csClickEvents)) FControlState.Include(csClicked);
      DoMouseDown(Message, mbLeft, {});
      return;
    case WM_LBUTTONDBLCLK:
      if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
      if (FControlStyle.Contains(csClickEvents)) DblClick();
      DoMouseDown(Message, mbLeft, {ssDouble});
      return;
    case WM_RBUTTONDOWN:
      DoMouseDown(Message, mbRight, {});
      return;
    case WM_RBUTTONDBLCLK:
      DoMouseDown(Message, mbRight, {ssDouble});
      return;
    case WM_MBUTTONDOWN:
      DoMouseDown(Message, mbMiddle, {});
      return;
    case WM_MBUTTONDBLCLK:
      DoMouseDown(Message, mbMiddle, {ssDouble});
      return;
    case WM_LBUTTONUP: {
      if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
      const bool clicked = FControlState.Contains(csClicked);
      FControlState.Exclude(csClicked);
      const TPoint p = Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
      const TRect r = ClientRect();
      if (clicked && PtInRect(&r, p)) Click();
      DoMouseUp(Message, mbLeft);
      return;
    }
    case WM_RBUTTONUP:
      DoMouseUp(Message, mbRight);
      return;
    case WM_MBUTTONUP:
      DoMouseUp(Message, mbMiddle);
      return;
    case WM_MOUSEMOVE:
      MouseMove(KeysToShiftState(LOWORD(Message.WParam)), GET_X_LPARAM(Message.LParam),
                GET_Y_LPARAM(Message.LParam));
      return;
  }
}

void TControl::DoMouseDown(TMessage& Message, TMouseButton Button, TShiftState Extra) {
  if (FControlStyle.Contains(csNoStdEvents)) return;
  MouseDown(Button, KeysToShiftState(LOWORD(Message.WParam)) + Extra,
            GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
}

void TControl::DoMouseUp(TMessage& Message, TMouseButton Button) {
  if (FControlStyle.Contains(csNoStdEvents)) return;
  MouseUp(Button, KeysToShiftState(LOWORD(Message.WParam)), GET_X_LPARAM(Message.LParam),
          GET_Y_LPARAM(Message.LParam));
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

bool TControl::MouseCapture() {
  if (auto* w = dynamic_cast<TWinControl*>(this)) {
    return w->HandleAllocated() && GetCapture() == w->Handle();
  }
  return FParent && FParent->FCaptureControl == this;
}

void TControl::SetMouseCapture(bool Value) {
  if (MouseCapture() == Value) return;
  if (auto* w = dynamic_cast<TWinControl*>(this)) {
    if (Value) {
      SetCapture(w->Handle());
    } else {
      ReleaseCapture();
    }
    return;
  }
  if (!FParent) return;
  if (Value) {
    FParent->FCaptureControl = this;
    SetCapture(FParent->Handle());
    return;
  }
  FParent->FCaptureControl = nullptr;
  if (FParent->HandleAllocated() && GetCapture() == FParent->Handle()) ReleaseCapture();
}

void TControl::InvalidateControl(bool IsVisible, bool IsOpaque) {
  if (!IsVisible || !FParent || !FParent->HandleAllocated()) return;
  if (dynamic_cast<TWinControl*>(this)) return;  // a window repaints what it uncovers
  const TRect r = BoundsRect();
  InvalidateRect(FParent->Handle(), &r, !IsOpaque);
}

void TControl::Invalidate() {
  InvalidateControl(FVisible, FControlStyle.Contains(csOpaque));
}

void TControl::Update() {
  if (FParent) FParent->Update();
}

void TControl::Repaint() {
  if (!FVisible || !FParent || !FParent->HandleAllocated()) return;
  Invalidate();
  Update();
}

void TControl::BringToFront() {
  if (!FParent) {
    if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HandleAllocated()) {
      SetWindowPos(w->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    return;
  }
  auto& list = FParent->FControls;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  list.push_back(this);
  if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HandleAllocated()) {
    SetWindowPos(w->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  Invalidate();
}

void TControl::SendToBack() {
  if (!FParent) return;
  auto& list = FParent->FControls;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  list.insert(list.begin(), this);
  if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HandleAllocated()) {
    SetWindowPos(w->Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  if (FParent->HandleAllocated()) {
    const TRect r = BoundsRect();
    InvalidateRect(FParent->Handle(), &r, TRUE);
  }
}

void TControl::Loaded() {
  TComponent::Loaded();
  if (FParentFont) ParentFontChanged();
  if (FParentColor) ParentColorChanged();
  RequestAlign();
}

// ---- TControlCanvas ----

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::CreateHandle() {
  auto* win = dynamic_cast<TWinControl*>(FControl);
  TWinControl* host = win ? win : FControl->Parent();
  if (!host) return;
  FWindowHandle = host->Handle();
  FDeviceContext = GetDCEx(FWindowHandle, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
  if (!win) {
    SetWindowOrgEx(FDeviceContext, -FControl->Left(), -FControl->Top(), nullptr);
    IntersectClipRect(FDeviceContext, 0, 0, FControl->Width(), FControl->Height());
  }
  SetHandle(FDeviceContext);
}

void TControlCanvas::FreeHandle() {
  if (!FDeviceContext) return;
  HDC dc = FDeviceContext;
  FDeviceContext = nullptr;
  SetHandle(nullptr);
  ReleaseDC(FWindowHandle, dc);
  FWindowHandle = nullptr;
}

// ---- TGraphicControl ----

TGraphicControl::TGraphicControl(TComponent* AOwner)
    : TControl(AOwner), FCanvas(std::make_unique<TControlCanvas>(this)) {}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::Dispatch(TMessage& Message) {
  if (Message.Msg != WM_PAINT) {
    TControl::Dispatch(Message);
    return;
  }
  // Painted by the parent: wParam carries its DC with the origin already on this control.
  if (!Message.WParam) return;
  FCanvas->FreeHandle();
  FCanvas->Lock();
  FCanvas->SetHandle(reinterpret_cast<HDC>(Message.WParam));
  try {
    Paint();
  } catch (...) {
    FCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
    throw;
  }
  FCanvas->SetHandle(nullptr);
  FCanvas->Unlock();
}
