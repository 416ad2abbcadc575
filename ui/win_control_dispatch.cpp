// Message handling of a window control: mouse routing to windowless children, reflection of
// notifications to the child they concern, cursors, control colours, dialog keys, the wheel.
#include "ui/win_control.h"

#include <vector>

#include "ui/forms.h"
#include "ui/win_control_parts.h"

namespace {

TControl* gMouseControl = nullptr;

}  // namespace

TControl* MouseControl() { return gMouseControl; }

void ClearMouseControl(TControl* Control) {
  if (gMouseControl == Control) gMouseControl = nullptr;
}

void TWinControl::TrackMouse(TControl* Target) {
  if (gMouseControl != Target) {
    TControl* old = gMouseControl;
    gMouseControl = Target;
    if (old) old->Perform(CM_MOUSELEAVE);
    if (gMouseControl == Target) Target->Perform(CM_MOUSEENTER);
  }
  if (!FHandle) return;
  TRACKMOUSEEVENT tme{sizeof(TRACKMOUSEEVENT), TME_LEAVE, FHandle, 0};
  TrackMouseEvent(&tme);
}

void TWinControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETFOCUS:
      if (TCustomForm* form = GetParentForm(this)) {
        if (!form->SetFocusedControl(this)) return;
      }
      break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK: {
      const TPoint p = Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
      TControl* target = nullptr;
      if (FCaptureControl && FHandle && GetCapture() == FHandle) {
        target = FCaptureControl;
      } else {
        FCaptureControl = nullptr;
        target = ControlAtPos(p, false);
      }
      if (Message.Msg == WM_MOUSEMOVE) TrackMouse(target ? target : this);
      if (target) {
        Message.LParam = MAKELPARAM(p.x - target->Left(), p.y - target->Top());
        target->WindowProc(Message);
        return;
      }
      break;
    }
    case WM_MOUSELEAVE:
      if (gMouseControl && (gMouseControl == this || (gMouseControl->Parent() == this &&
                                                      !IsWindowed(gMouseControl)))) {
        TControl* old = gMouseControl;
        gMouseControl = nullptr;
        old->Perform(CM_MOUSELEAVE);
      }
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (!DoKeyDown(Message)) return;
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (!DoKeyUp(Message)) return;
      break;
    case WM_CHAR:
      if (!DoKeyPress(Message)) return;
      break;
    case WM_SYSCHAR:
      // Alt with a letter: the form offers it to the controls whose caption marks it.
      if (TCustomForm* form = GetParentForm(this)) {
        if (form->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam) != 0) return;
      }
      break;
  }
  TControl::WndProc(Message);
}

void TWinControl::ReflectToChild(TMessage& Message) {
  HWND child = nullptr;
  switch (Message.Msg) {
    case WM_NOTIFY:
      if (auto* hdr = reinterpret_cast<NMHDR*>(Message.LParam)) child = hdr->hwndFrom;
      break;
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
      if (dis && dis->CtlType != ODT_MENU) child = dis->hwndItem;
      break;
    }
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
      if (mis && mis->CtlType != ODT_MENU && FHandle) {
        child = GetDlgItem(FHandle, static_cast<int>(mis->CtlID));
      }
      break;
    }
    default:
      child = reinterpret_cast<HWND>(Message.LParam);
  }
  TWinControl* c = child ? FindControl(child) : nullptr;
  if (!c || c == this) {
    DefaultHandler(Message);
    return;
  }
  Message.Result = c->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
}

namespace {

// Notifications and control colours a parent hands to the child they concern.
bool IsReflected(UINT Msg) {
  switch (Msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return true;
    default:
      return false;
  }
}

bool IsReflectedCtlColor(UINT Msg) {
  switch (Msg) {
    case CN_CTLCOLORMSGBOX:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORDLG:
    case CN_CTLCOLORSCROLLBAR:
    case CN_CTLCOLORSTATIC:
      return true;
    default:
      return false;
  }
}

}  // namespace

bool TWinControl::WMSetCursor(TMessage& Message) {
  if (LOWORD(Message.LParam) != HTCLIENT || reinterpret_cast<HWND>(Message.WParam) != FHandle) {
    return false;
  }
  TCursor cursor = Screen->Cursor();
  if (cursor == crDefault) {
    POINT p;
    GetCursorPos(&p);
    ::ScreenToClient(FHandle, &p);
    TControl* c = ControlAtPos(p, false);
    cursor = (c ? c : this)->Cursor();
  }
  if (cursor == crDefault) return false;
  ::SetCursor(Screen->Cursors(cursor));
  Message.Result = 1;
  return true;
}

void TWinControl::CNCtlColor(TMessage& Message) {
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  SetTextColor(dc, ColorToRGB(FFont.Color()));
  SetBkColor(dc, ColorToRGB(Color()));
  if (!FBrush || FBrushColor != Color()) {
    if (FBrush) DeleteObject(FBrush);
    FBrush = CreateSolidBrush(ColorToRGB(Color()));
    FBrushColor = Color();
  }
  Message.Result = reinterpret_cast<LRESULT>(FBrush);
}

// CM_DIALOGKEY and CM_DIALOGCHAR, offered to every child in turn (default and cancel
// buttons, accelerators answer them).
void TWinControl::CMDialogKey(TMessage& Message) {
  for (TControl* c : std::vector<TControl*>(FControls)) {
    if (c->Visible() && c->Perform(Message.Msg, Message.WParam, Message.LParam) != 0) {
      Message.Result = 1;
      return;
    }
  }
  Message.Result = 0;
}

bool TWinControl::WMMouseWheel(TMessage& Message) {
  if (!OnMouseWheel) return false;
  bool handled = false;
  const TPoint pos = Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
  OnMouseWheel(this, KeysToShiftState(GET_KEYSTATE_WPARAM(Message.WParam)),
               GET_WHEEL_DELTA_WPARAM(Message.WParam), pos, handled);
  if (handled) Message.Result = 1;
  return handled;
}

void TWinControl::Dispatch(TMessage& Message) {
  const UINT msg = Message.Msg;
  if (IsReflected(msg) && Message.LParam) {
    ReflectToChild(Message);
    return;
  }
  if (IsReflectedCtlColor(msg)) {
    CNCtlColor(Message);
    return;
  }
  switch (msg) {
    case WM_PAINT:
      WMPaint(Message);
      return;
    case WM_ERASEBKGND:
      WMEraseBkgnd(Message);
      return;
    case WM_WINDOWPOSCHANGED:
      WMWindowPosChanged(Message);
      return;
    case WM_SETCURSOR:
      if (WMSetCursor(Message)) return;
      break;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
      CMDialogKey(Message);
      return;
    case CN_KEYDOWN:
    case CN_BASE + WM_SYSKEYDOWN:
      Message.Result = HandleDialogKey(Message) ? 1 : 0;
      return;
    case WM_MOUSEWHEEL:
      if (WMMouseWheel(Message)) return;
      break;
    case CM_ENTER:
      DoEnter();
      return;
    case CM_EXIT:
      DoExit();
      return;
    case CM_FOCUSCHANGED:
      for (TControl* c : std::vector<TControl*>(FControls)) {
        c->Perform(CM_FOCUSCHANGED, Message.WParam, Message.LParam);
      }
      return;
    case CM_VISIBLECHANGED:
      UpdateShowing();
      return;
    case CM_ENABLEDCHANGED:
      if (FHandle) EnableWindow(FHandle, Enabled());
      Invalidate();
      return;
    case CM_COLORCHANGED:
      Invalidate();
      for (TControl* c : std::vector<TControl*>(FControls)) c->Perform(CM_PARENTCOLORCHANGED);
      return;
    case CM_TEXTCHANGED:
      return;
  }
  TControl::Dispatch(Message);
}

void TWinControl::WMWindowPosChanged(TMessage& Message) {
  const int w = FWidth, h = FHeight;
  UpdateBounds();
  DefaultHandler(Message);
  if (w == FWidth && h == FHeight) return;
  Realign();
  Resize();
}
