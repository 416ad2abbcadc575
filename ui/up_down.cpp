#include "ui/up_down.h"

#include <algorithm>

TUpDown::TUpDown(TComponent* AOwner) : TWinControl(AOwner) {
  SetControlStyle({csCaptureMouse, csDoubleClicks, csOpaque});
  SetBounds(0, 0, 17, 25);
}

void TUpDown::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, UPDOWN_CLASSW);
  Params.Style |= UDS_ARROWKEYS;
  if (FOrientation == udHorizontal) Params.Style |= UDS_HORZ;
  if (FWrap) Params.Style |= UDS_WRAP;
}

void TUpDown::CreateWnd() {
  TWinControl::CreateWnd();
  SendRange();
  Perform(UDM_SETPOS32, 0, FPosition);
  UDACCEL accel{0, static_cast<UINT>(FIncrement)};
  Perform(UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
}

void TUpDown::SendRange() {
  if (HandleAllocated()) Perform(UDM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
}

void TUpDown::SetMin(int Value) {
  FMin = Value;
  FPosition = std::clamp(FPosition, std::min(FMin, FMax), std::max(FMin, FMax));
  SendRange();
}

void TUpDown::SetMax(int Value) {
  FMax = Value;
  FPosition = std::clamp(FPosition, std::min(FMin, FMax), std::max(FMin, FMax));
  SendRange();
}

int TUpDown::Position() {
  if (HandleAllocated()) FPosition = static_cast<int>(Perform(UDM_GETPOS32));
  return FPosition;
}

void TUpDown::SetPosition(int Value) {
  FPosition = std::clamp(Value, std::min(FMin, FMax), std::max(FMin, FMax));
  if (HandleAllocated()) Perform(UDM_SETPOS32, 0, FPosition);
}

void TUpDown::SetIncrement(int Value) {
  if (Value == 0) throw EInvalidArgument("Increment must not be 0");
  FIncrement = Value;
  if (!HandleAllocated()) return;
  UDACCEL accel{0, static_cast<UINT>(Value)};
  Perform(UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
}

void TUpDown::SetOrientation(TUDOrientation Value) {
  if (FOrientation == Value) return;
  FOrientation = Value;
  RecreateWnd();
}

void TUpDown::SetWrap(bool Value) {
  if (FWrap == Value) return;
  FWrap = Value;
  RecreateWnd();
}

void TUpDown::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_NOTIFY: {
      auto* nm = reinterpret_cast<NMUPDOWN*>(Message.LParam);
      if (nm->hdr.code != UDN_DELTAPOS) break;
      bool allow = true;
      if (OnChanging) OnChanging(this, allow);
      FLastDelta = nm->iDelta;
      Message.Result = allow ? FALSE : TRUE;
      return;
    }
    case CN_VSCROLL:
    case CN_HSCROLL:
      if (LOWORD(Message.WParam) != SB_THUMBPOSITION) return;
      FPosition = static_cast<int>(Perform(UDM_GETPOS32));
      if (OnClick) OnClick(this, FLastDelta > 0 ? btNext : btPrev);
      return;
  }
  TWinControl::Dispatch(Message);
}
