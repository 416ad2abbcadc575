// TksSkinCustomEdit messages: the non-client frame and its hit codes, hover and focus, the
// push button and the image buttons.
#include <algorithm>

#include "skin/controls/edit.h"

namespace {

// Hit codes of the parts of the frame that act as buttons.
constexpr LRESULT kHitButton = 100;
constexpr LRESULT kHitLeftImage = 101;
constexpr LRESULT kHitRightImage = 102;

bool Inside(const TRect& R, TPoint P) { return P.x >= R.left && P.x < R.right && P.y >= R.top && P.y < R.bottom; }

}  // namespace

// ClientPt is relative to the text area (the window's client area).
int TksSkinCustomEdit::HitCode(TPoint ClientPt) {
  const TRect a = TextArea();
  const TPoint p = Point(ClientPt.x + a.left, ClientPt.y + a.top);
  if (FButtonMode && Inside(ButtonRect(), p)) return kHitButton;
  if (Inside(LeftImageRect(), p)) return kHitLeftImage;
  if (Inside(RightImageRect(), p)) return kHitRightImage;
  return Inside(a, p) ? HTCLIENT : HTBORDER;
}

void TksSkinCustomEdit::SetMouseInside(bool Value) {
  if (FMouseIn == Value) return;
  FMouseIn = Value;
  if (!Value) ClearButtonStates();
  if (!Focused()) UpdateFontColor();
  Invalidate();
  if (Value && OnMouseEnter) OnMouseEnter(this);
  if (!Value && OnMouseLeave) OnMouseLeave(this);
}

void TksSkinCustomEdit::ClearButtonStates() {
  FButtonHot = FButtonDown = false;
  FLeftHot = FLeftDown = FRightHot = FRightDown = false;
}

// Mouse messages while one of the buttons holds the capture, and non-client ones over them.
bool TksSkinCustomEdit::NonClientMouse(TMessage& Message) {
  const bool captured = FButtonDown || FLeftDown || FRightDown;
  TPoint client{};
  int code = HTNOWHERE;
  switch (Message.Msg) {
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCLBUTTONUP: {
      POINT p{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
      ::ScreenToClient(Handle(), &p);
      client = Point(p.x, p.y);
      code = static_cast<int>(Message.WParam);
      break;
    }
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
      if (!captured) return false;
      client = Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
      code = HitCode(client);
      break;
    default:
      return false;
  }
  const bool hot = FButtonHot, left = FLeftHot, right = FRightHot;
  FButtonHot = code == kHitButton;
  FLeftHot = code == kHitLeftImage;
  FRightHot = code == kHitRightImage;
  if (Message.Msg == WM_NCMOUSEMOVE) {
    SetMouseInside(true);
    TRACKMOUSEEVENT tme{sizeof(TRACKMOUSEEVENT), TME_LEAVE | TME_NONCLIENT, Handle(), 0};
    TrackMouseEvent(&tme);
  }
  if (hot != FButtonHot || left != FLeftHot || right != FRightHot) Invalidate();
  switch (Message.Msg) {
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (code != kHitButton && code != kHitLeftImage && code != kHitRightImage) return false;
      if (code != kHitButton && CanFocus()) SetFocus();
      FButtonDown = code == kHitButton;
      FLeftDown = code == kHitLeftImage;
      FRightDown = code == kHitRightImage;
      SetCapture(Handle());
      Invalidate();
      Message.Result = 0;
      return true;
    case WM_LBUTTONUP:
    case WM_NCLBUTTONUP: {
      if (!captured) return false;
      const bool button = FButtonDown && FButtonHot, leftImage = FLeftDown && FLeftHot,
                 rightImage = FRightDown && FRightHot;
      FButtonDown = FLeftDown = FRightDown = false;
      if (GetCapture() == Handle()) ReleaseCapture();
      Invalidate();
      if (button && CanFocus()) SetFocus();
      if (button && OnButtonClick) OnButtonClick(this);
      if (leftImage && OnLeftButtonClick) OnLeftButtonClick(this);
      if (rightImage && OnRightButtonClick) OnRightButtonClick(this);
      Message.Result = 0;
      return true;
    }
  }
  Message.Result = 0;
  return Message.Msg != WM_NCMOUSEMOVE;  // the default handling of a move is harmless
}

void TksSkinCustomEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCCALCSIZE: {
      LoadSkinRecord();
      RECT* r = Message.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(Message.LParam)->rgrc[0]
                               : reinterpret_cast<RECT*>(Message.LParam);
      if (r) {
        const Insets i = TextInsets();
        r->left += i.Left;
        r->top += i.Top;
        r->right = std::max(r->left, r->right - i.Right);
        r->bottom = std::max(r->top, r->bottom - i.Bottom);
      }
      Message.Result = 0;
      return;
    }
    case WM_KSAPPLYSKIN:
      if (FApplyPosted) ApplySkin();
      return;
    case WM_NCPAINT:
      NCPaint();
      Message.Result = 0;
      return;
    case WM_ERASEBKGND:
      // A picture for PaintTo is drawn whole by its WM_PAINT.
      if (!ControlState().Contains(csPaintCopy)) EraseStep(reinterpret_cast<HDC>(Message.WParam));
      Message.Result = 1;
      return;
    case WM_PAINT:
      PaintStep(Message);
      return;
    case WM_KSSKINCONTROLID:
      if (Message.WParam) {
        PaintBoxTo(reinterpret_cast<HDC>(Message.WParam));
        Message.Result = KS_SKINCONTROLID;
      }
      return;
    case WM_KSPAINTFRAME:
      if (Message.WParam && Message.LParam == KS_PAINTFRAME) {
        PaintFrameTo(reinterpret_cast<HDC>(Message.WParam));
        Message.Result = KS_PAINTFRAME;
        return;
      }
      break;
    case WM_NCHITTEST: {
      TksCustomEdit::Dispatch(Message);
      if (Message.Result != HTCLIENT && Message.Result != HTBORDER && Message.Result != HTNOWHERE) return;
      RECT wr;
      GetWindowRect(Handle(), &wr);
      POINT p{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
      if (!PtInRect(&wr, p)) return;
      p = POINT{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
      ::ScreenToClient(Handle(), &p);
      Message.Result = HitCode(Point(p.x, p.y));
      return;
    }
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCLBUTTONUP:
      if (NonClientMouse(Message)) return;
      break;
    case WM_MOUSEMOVE:
      if (NonClientMouse(Message)) return;
      TksCustomEdit::Dispatch(Message);
      if (Message.WParam & MK_LBUTTON) Invalidate();
      return;
    case WM_LBUTTONUP:
      if (NonClientMouse(Message)) return;
      break;
    case CM_MOUSEENTER:
      SetMouseInside(true);
      return;
    case CM_MOUSELEAVE:
    case WM_NCMOUSELEAVE: {
      if (Message.Msg == WM_NCMOUSELEAVE) TksCustomEdit::Dispatch(Message);
      // Moving between the text area and the frame leaves one part for the other.
      POINT p;
      GetCursorPos(&p);
      if (!HandleAllocated() || WindowFromPoint(p) != Handle()) SetMouseInside(false);
      return;
    }
    case WM_CAPTURECHANGED:
      TksCustomEdit::Dispatch(Message);
      if (reinterpret_cast<HWND>(Message.LParam) != Handle() && (FButtonDown || FLeftDown || FRightDown)) {
        FButtonDown = FLeftDown = FRightDown = false;
        Invalidate();
      }
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TksCustomEdit::Dispatch(Message);
      if (!FMouseIn) UpdateFontColor();
      Invalidate();
      return;
    case WM_SIZE:
      TksCustomEdit::Dispatch(Message);
      SetFormatRect();
      return;
    case WM_KEYDOWN:
    case WM_CHAR:
    case WM_IME_CHAR:
    case WM_MOVE:
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
      TksCustomEdit::Dispatch(Message);
      Invalidate();
      return;
  }
  TksCustomEdit::Dispatch(Message);
}
