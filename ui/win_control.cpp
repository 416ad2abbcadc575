#include "ui/win_control.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "ui/forms.h"

namespace {

std::unordered_map<HWND, TWinControl*>& Bindings() {
  static std::unordered_map<HWND, TWinControl*> map;
  return map;
}

// The control whose window is being created: it claims the first message of an unknown
// window, before CreateWindowExW has returned the handle.
TWinControl* gCreating = nullptr;
TControl* gMouseControl = nullptr;
// Controls alive now: a handler may free its own control (directly, or by recreating or
// destroying windows), so the window procedure checks before touching it afterwards.
std::unordered_set<const TWinControl*>& Alive() {
  static std::unordered_set<const TWinControl*> set;
  return set;
}
UINT_PTR gNextChildId = 100;

bool IsWindowed(TControl* c) { return dynamic_cast<TWinControl*>(c) != nullptr; }

}  // namespace

TControl* MouseControl() { return gMouseControl; }

void ClearMouseControl(TControl* Control) {
  if (gMouseControl == Control) gMouseControl = nullptr;
}

LRESULT CALLBACK ControlWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto& map = Bindings();
  auto it = map.find(hwnd);
  TWinControl* c = it == map.end() ? nullptr : it->second;
  if (!c && gCreating) {
    c = gCreating;
    gCreating = nullptr;
    c->FHandle = hwnd;
    map[hwnd] = c;
  }
  if (!c) return DefWindowProcW(hwnd, msg, wParam, lParam);
  TMessage m{msg, wParam, lParam, 0};
  ++c->FDispatchDepth;
  try {
    c->WindowProc(m);
  } catch (...) {
    // Nothing may unwind through the window manager: the application reports it.
    Application->HandleException(c);
  }
  if (!Alive().count(c)) return m.Result;
  if (msg == WM_NCDESTROY) {
    map.erase(hwnd);
    if (c->FHandle == hwnd) c->FHandle = nullptr;
  }
  if (--c->FDispatchDepth == 0 && c->FFreePending) {
    c->FFreePending = false;
    c->Free();
  }
  return m.Result;
}

// ---- TWinControl ----

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) { Alive().insert(this); }

TWinControl::~TWinControl() {
  Alive().erase(this);
  // Leave the parent while still whole, so it never sees a half-destroyed window control.
  if (FParent) FParent->RemoveControl(this);
  if (FHandle) {
    // Derived parts are gone: the window goes without reaching this object's handlers.
    Bindings().erase(FHandle);
    HWND h = FHandle;
    FHandle = nullptr;
    DestroyWindow(h);
  }
  while (!FControls.empty()) {
    TControl* c = FControls.back();
    RemoveControl(c);
    c->Free();
  }
  if (FBrush) DeleteObject(FBrush);
}

void TWinControl::Destroying() {
  if (ComponentState().Contains(csDestroying)) return;
  TControl::Destroying();
  DestroyHandle();
}

TWinControl* TWinControl::FindControl(HWND Handle) {
  auto& map = Bindings();
  auto it = map.find(Handle);
  return it == map.end() ? nullptr : it->second;
}

HWND TWinControl::Handle() {
  HandleNeeded();
  return FHandle;
}

void TWinControl::HandleNeeded() {
  if (FHandle) return;
  if (FParent) FParent->HandleNeeded();
  if (!FHandle) CreateHandle();
}

void TWinControl::CreateParams(TCreateParams& Params) {
  Params = TCreateParams{};
  Params.Caption = AnsiToWide(FText);
  Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (ControlStyle().Contains(csAcceptsControls)) Params.Style |= WS_CLIPCHILDREN;
  if (!Enabled()) Params.Style |= WS_DISABLED;
  if (FTabStop) Params.Style |= WS_TABSTOP;
  Params.X = FLeft;
  Params.Y = FTop;
  Params.Width = FWidth;
  Params.Height = FHeight;
  Params.WndParent = FParent ? FParent->Handle() : FParentWindow;
  Params.WindowClass.cbSize = sizeof(WNDCLASSEXW);
  Params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  Params.WindowClass.lpfnWndProc = DefWindowProcW;
  Params.WindowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  Params.WinClassName = AnsiToWide(ClassName());
}

void TWinControl::CreateSubClass(TCreateParams& Params, LPCWSTR ClassName) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (!GetClassInfoExW(nullptr, ClassName, &wc)) {
    lumoa::platform::RegisterCommonControlClasses();
    if (!GetClassInfoExW(nullptr, ClassName, &wc)) {
      throw EOSError("Window class " + WideToAnsi(ClassName) + " is not registered",
                     GetLastError());
    }
  }
  Params.WindowClass = wc;
  Params.WindowClass.cbSize = sizeof wc;
  Params.WindowClass.lpszClassName = nullptr;
}

DWORD TWinControl::StyleForVisibility(DWORD Style) {
  if ((Style & WS_CHILD) && Visible()) return Style | WS_VISIBLE;
  return Style & ~static_cast<DWORD>(WS_VISIBLE);
}

void TWinControl::CreateWnd() {
  TCreateParams p;
  CreateParams(p);
  if ((p.Style & WS_CHILD) && !p.WndParent) {
    throw EInvalidOperation("Control '" + Name() + "' has no parent window");
  }
  p.Style = StyleForVisibility(p.Style);
  FDefWndProc = p.WindowClass.lpfnWndProc ? p.WindowClass.lpfnWndProc : DefWindowProcW;
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (!GetClassInfoExW(nullptr, p.WinClassName.c_str(), &existing)) {
    WNDCLASSEXW wc = p.WindowClass;
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = ControlWndProc;
    wc.lpszClassName = p.WinClassName.c_str();
    wc.hInstance = nullptr;
    if (!RegisterClassExW(&wc)) {
      throw EOSError("Cannot register window class " + WideToAnsi(p.WinClassName),
                     GetLastError());
    }
  } else if (existing.lpfnWndProc != ControlWndProc) {
    throw EOSError("Window class " + WideToAnsi(p.WinClassName) +
                   " belongs to another window procedure");
  }
  CreateWindowHandle(p);
  if (!FHandle) {
    throw EOSError("Error creating window for '" + Name() + "' (" + ClassName() + ")",
                   GetLastError());
  }
}

void TWinControl::CreateWindowHandle(const TCreateParams& Params) {
  HMENU id = nullptr;
  if (Params.Style & WS_CHILD) {
    id = reinterpret_cast<HMENU>(gNextChildId);
    gNextChildId = gNextChildId >= 0x7FFF ? 100 : gNextChildId + 1;
  }
  TWinControl* saved = gCreating;
  gCreating = this;
  HWND h = CreateWindowExW(Params.ExStyle, Params.WinClassName.c_str(), Params.Caption.c_str(),
                           Params.Style, Params.X, Params.Y, Params.Width, Params.Height,
                           Params.WndParent, id, nullptr, Params.Param);
  if (gCreating == this) gCreating = saved;
  if (!h) return;
  FHandle = h;
  Bindings()[h] = this;
}

// The window of the nearest later sibling that has one: a new window goes right below it, so
// windowed siblings stack in the order of the parent's list, later ones above.
HWND TWinControl::PrecedingWindow() const {
  if (!FParent) return HWND_TOP;
  const auto& list = FParent->FControls;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return HWND_TOP;
  for (++it; it != list.end(); ++it) {
    auto* w = dynamic_cast<TWinControl*>(*it);
    if (w && w->FHandle) return w->FHandle;
  }
  return HWND_TOP;
}

void TWinControl::CreateHandle() {
  if (FHandle) return;
  CreateWnd();
  if (FParent) {
    SetWindowPos(FHandle, PrecedingWindow(), 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  UpdateBounds();
  Perform(WM_SETFONT, reinterpret_cast<WPARAM>(FFont.Handle()), 0);
  for (TWinControl* child : std::vector<TWinControl*>(FTabList)) child->HandleNeeded();
  Realign();
}

void TWinControl::DestroyHandle() {
  if (!FHandle) return;
  for (TWinControl* child : std::vector<TWinControl*>(FTabList)) child->DestroyHandle();
  DestroyWnd();
}

void TWinControl::DestroyWnd() {
  FText = GetText();
  DestroyWindowHandle();
}

void TWinControl::DestroyWindowHandle() {
  SetControlState(ControlState() + TControlState{csDestroyingHandle});
  HWND h = FHandle;
  DestroyWindow(h);
  Bindings().erase(h);
  FHandle = nullptr;
  SetControlState(ControlState() - TControlState{csDestroyingHandle});
}

bool TWinControl::DeferFreeUntilDispatchEnds() {
  if (FDispatchDepth == 0) return false;
  FFreePending = true;
  return true;
}

void TWinControl::RecreateWnd() {
  if (!FHandle) return;
  DestroyHandle();
  HandleNeeded();
}

TControl* TWinControl::Controls(int Index) const {
  if (Index < 0 || Index >= ControlCount()) {
    throw EListError("Control index out of bounds (" + IntToStr(Index) + ")");
  }
  return FControls[static_cast<size_t>(Index)];
}

void TWinControl::InsertControl(TControl* AControl) {
  if (!AControl || AControl->FParent == this) return;
  FControls.push_back(AControl);
  AControl->FParent = this;
  auto* win = dynamic_cast<TWinControl*>(AControl);
  if (win) FTabList.push_back(win);
  AControl->ParentFontChanged();
  AControl->ParentColorChanged();
  if (win && FHandle) win->HandleNeeded();
  Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), TRUE);
  if (AControl->Align() != alNone) Realign();
  AControl->Invalidate();
}

void TWinControl::RemoveControl(TControl* AControl) {
  auto it = std::find(FControls.begin(), FControls.end(), AControl);
  if (it == FControls.end()) return;
  if (!ComponentState().Contains(csDestroying)) {
    Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), FALSE);
  }
  if (FCaptureControl == AControl) FCaptureControl = nullptr;
  if (TCustomForm* form = GetParentForm(this)) form->ControlRemoved(AControl);
  auto tab = std::find_if(FTabList.begin(), FTabList.end(),
                          [&](TWinControl* w) { return static_cast<TControl*>(w) == AControl; });
  if (tab != FTabList.end()) {
    TWinControl* w = *tab;
    FTabList.erase(tab);
    if (w->FHandle && !w->ComponentState().Contains(csDestroying)) w->DestroyHandle();
  } else if (FHandle && AControl->Visible()) {
    const TRect r = AControl->BoundsRect();
    InvalidateRect(FHandle, &r, TRUE);
  }
  FControls.erase(std::find(FControls.begin(), FControls.end(), AControl));
  AControl->FParent = nullptr;
  if (AControl->Align() != alNone) Realign();
}

bool TWinControl::ContainsControl(TControl* Control) {
  for (TControl* c = Control; c; c = c->Parent()) {
    if (c == this) return true;
  }
  return false;
}

TControl* TWinControl::ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls) {
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
    TControl* c = *it;
    if (!AllowWinControls && IsWindowed(c)) continue;
    if (!c->Visible() || (!c->Enabled() && !AllowDisabled)) continue;
    const TRect r = c->BoundsRect();
    if (PtInRect(&r, Pos)) return c;
  }
  return nullptr;
}

int TWinControl::TabOrder() {
  if (!FParent) return -1;
  auto& list = FParent->FTabList;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int Value) {
  if (!FParent) return;
  auto& list = FParent->FTabList;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  Value = std::clamp(Value, 0, static_cast<int>(list.size()));
  list.insert(list.begin() + Value, this);
}

void TWinControl::SetTabStop(bool Value) {
  if (FTabStop == Value) return;
  FTabStop = Value;
  if (!FHandle) return;
  LONG style = GetWindowLongW(FHandle, GWL_STYLE);
  style = Value ? (style | WS_TABSTOP) : (style & ~static_cast<LONG>(WS_TABSTOP));
  SetWindowLongW(FHandle, GWL_STYLE, style);
}

std::vector<TWinControl*> TWinControl::TabOrderList() {
  std::vector<TWinControl*> out;
  for (TWinControl* w : FTabList) {
    out.push_back(w);
    const auto inner = w->TabOrderList();
    out.insert(out.end(), inner.begin(), inner.end());
  }
  return out;
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward,
                                          bool CheckTabStop, bool CheckParent) {
  const auto list = TabOrderList();
  if (list.empty()) return nullptr;
  const int n = static_cast<int>(list.size());
  auto it = std::find(list.begin(), list.end(), CurControl);
  int start = it == list.end() ? (GoForward ? n - 1 : 0) : static_cast<int>(it - list.begin());
  for (int step = 1; step <= n; ++step) {
    const int i = ((GoForward ? start + step : start - step) % n + n) % n;
    TWinControl* w = list[static_cast<size_t>(i)];
    if (w == CurControl) continue;
    if (CheckTabStop && !w->TabStop()) continue;
    if (CheckParent && w->Parent() != this) continue;
    if (w->CanFocus()) return w;
  }
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
  if (TWinControl* w = FindNextControl(CurControl, GoForward, CheckTabStop, false)) {
    w->SetFocus();
  }
}

bool TWinControl::CanFocus() {
  TCustomForm* form = GetParentForm(this);
  if (!form) return Visible() && Enabled();
  for (TControl* c = this; c; c = c->Parent()) {
    if (!c->Visible() || !c->Enabled()) return false;
    if (c == form) break;
  }
  return true;
}

bool TWinControl::Focused() { return FHandle && GetFocus() == FHandle; }

void TWinControl::SetFocus() {
  if (TCustomForm* form = GetParentForm(this)) {
    form->FocusControl(this);
    return;
  }
  if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  ::SetFocus(Handle());
}

void TWinControl::EnableAlign() {
  if (FAlignLevel > 0) --FAlignLevel;
  if (FAlignLevel == 0) Realign();
}

void TWinControl::Realign() {
  if (FAlignLevel > 0) return;
  if (ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying)) return;
  TRect r = ClientRect();
  AdjustClientRect(r);
  AlignControls(nullptr, r);
}

void TWinControl::AdjustClientRect(TRect& Rect) {}

void TWinControl::AlignControls(TControl* AControl, TRect& Rect) {
  ++FAlignLevel;
  try {
    for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient}) DoAlign(a, Rect, AControl);
  } catch (...) {
    --FAlignLevel;
    throw;
  }
  --FAlignLevel;
}

void TWinControl::DoAlign(TAlign Align, TRect& Rect, TControl* AControl) {
  std::vector<TControl*> list;
  for (TControl* c : FControls) {
    if (c->Align() == Align && c->Visible()) list.push_back(c);
  }
  // Controls sharing an edge keep their order on it; the one being moved wins ties.
  auto key = [Align](TControl* c) {
    switch (Align) {
      case alTop: return c->Top();
      case alBottom: return -(c->Top() + c->Height());
      case alLeft: return c->Left();
      case alRight: return -(c->Left() + c->Width());
      default: return 0;
    }
  };
  std::stable_sort(list.begin(), list.end(), [&](TControl* a, TControl* b) {
    const int ka = key(a), kb = key(b);
    if (ka != kb) return ka < kb;
    return a == AControl && b != AControl;
  });
  for (TControl* c : list) {
    const int w = Rect.right - Rect.left, h = Rect.bottom - Rect.top;
    switch (Align) {
      case alTop:
        c->SetBounds(Rect.left, Rect.top, w, c->Height());
        Rect.top += c->Height();
        break;
      case alBottom:
        c->SetBounds(Rect.left, Rect.bottom - c->Height(), w, c->Height());
        Rect.bottom -= c->Height();
        break;
      case alLeft:
        c->SetBounds(Rect.left, Rect.top, c->Width(), h);
        Rect.left += c->Width();
        break;
      case alRight:
        c->SetBounds(Rect.right - c->Width(), Rect.top, c->Width(), h);
        Rect.right -= c->Width();
        break;
      case alClient:
        c->SetBounds(Rect.left, Rect.top, w, h);
        break;
      case alNone:
        break;
    }
  }
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  AWidth = std::max(AWidth, 0);
  AHeight = std::max(AHeight, 0);
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  const bool resized = AWidth != FWidth || AHeight != FHeight;
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  if (FHandle) {
    SetWindowPos(FHandle, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  RequestAlign();
  if (!resized) return;
  Realign();
  Resize();
}

void TWinControl::UpdateBounds() {
  if (!FHandle) return;
  RECT r;
  GetWindowRect(FHandle, &r);
  if (GetWindowLongW(FHandle, GWL_STYLE) & WS_CHILD) {
    MapWindowPoints(HWND_DESKTOP, GetParent(FHandle), reinterpret_cast<LPPOINT>(&r), 2);
  }
  UpdateBoundsRect(r);
}

TRect TWinControl::ClientRect() {
  if (!FHandle) return TControl::ClientRect();
  RECT r;
  GetClientRect(FHandle, &r);
  return r;
}

TPoint TWinControl::ClientOrigin() {
  POINT p{0, 0};
  ::ClientToScreen(Handle(), &p);
  return p;
}

void TWinControl::Invalidate() {
  if (FHandle) InvalidateRect(FHandle, nullptr, !ControlStyle().Contains(csOpaque));
}

void TWinControl::Update() {
  if (FHandle) UpdateWindow(FHandle);
}

void TWinControl::SetEnabled(bool Value) { TControl::SetEnabled(Value); }

void TWinControl::UpdateShowing() {
  if (FHandle) {
    ShowWindow(FHandle, Visible() ? SW_SHOWNOACTIVATE : SW_HIDE);
    return;
  }
  if (Visible() && FParent && FParent->HandleAllocated()) HandleNeeded();
}

void TWinControl::FontChanged() {
  if (FHandle) Perform(WM_SETFONT, reinterpret_cast<WPARAM>(FFont.Handle()), 0);
  for (TControl* c : std::vector<TControl*>(FControls)) c->Perform(CM_PARENTFONTCHANGED);
  Invalidate();
}

AnsiString TWinControl::GetText() {
  if (!FHandle) return FText;
  const LRESULT len = Perform(WM_GETTEXTLENGTH);
  if (len <= 0) return AnsiString();
  WideString buf(static_cast<size_t>(len) + 1, u'\0');
  const LRESULT got = Perform(WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()));
  buf.resize(static_cast<size_t>(std::clamp<LRESULT>(got, 0, len)));
  return WideToAnsi(buf);
}

void TWinControl::SetTextBuf(const AnsiString& Value) {
  FText = Value;
  if (!FHandle) return;
  const WideString w = AnsiToWide(Value);
  Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(w.c_str()));
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

void TWinControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
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
      if (LOWORD(Message.LParam) == HTCLIENT && reinterpret_cast<HWND>(Message.WParam) == FHandle) {
        TCursor cursor = Screen->Cursor();
        if (cursor == crDefault) {
          POINT p;
          GetCursorPos(&p);
          ::ScreenToClient(FHandle, &p);
          TControl* c = ControlAtPos(p, false);
          cursor = (c ? c : this)->Cursor();
        }
        if (cursor != crDefault) {
          ::SetCursor(Screen->Cursors(cursor));
          Message.Result = 1;
          return;
        }
      }
      break;
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
      if (Message.LParam) {
        ReflectToChild(Message);
        return;
      }
      break;
    case CN_CTLCOLORMSGBOX:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORDLG:
    case CN_CTLCOLORSCROLLBAR:
    case CN_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(Message.WParam);
      SetTextColor(dc, ColorToRGB(FFont.Color()));
      SetBkColor(dc, ColorToRGB(Color()));
      if (!FBrush || FBrushColor != Color()) {
        if (FBrush) DeleteObject(FBrush);
        FBrush = CreateSolidBrush(ColorToRGB(Color()));
        FBrushColor = Color();
      }
      Message.Result = reinterpret_cast<LRESULT>(FBrush);
      return;
    }
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
      // Offered to every child in turn (default and cancel buttons, accelerators answer it).
      for (TControl* c : std::vector<TControl*>(FControls)) {
        if (c->Visible() && c->Perform(Message.Msg, Message.WParam, Message.LParam) != 0) {
          Message.Result = 1;
          return;
        }
      }
      Message.Result = 0;
      return;
    case CN_KEYDOWN:
    case CN_BASE + WM_SYSKEYDOWN:
      Message.Result = HandleDialogKey(Message) ? 1 : 0;
      return;
    case WM_MOUSEWHEEL:
      if (OnMouseWheel) {
        bool handled = false;
        const TPoint pos = Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
        OnMouseWheel(this, KeysToShiftState(GET_KEYSTATE_WPARAM(Message.WParam)),
                     GET_WHEEL_DELTA_WPARAM(Message.WParam), pos, handled);
        if (handled) {
          Message.Result = 1;
          return;
        }
      }
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

void TWinControl::DefaultHandler(TMessage& Message) {
  if (!FHandle) {
    TControl::DefaultHandler(Message);
    return;
  }
  Message.Result = CallWindowProcW(FDefWndProc ? FDefWndProc : DefWindowProcW, FHandle,
                                   Message.Msg, Message.WParam, Message.LParam);
}

void TWinControl::WMWindowPosChanged(TMessage& Message) {
  const int w = FWidth, h = FHeight;
  UpdateBounds();
  DefaultHandler(Message);
  if (w == FWidth && h == FHeight) return;
  Realign();
  Resize();
}

void TWinControl::WMSize(TMessage& Message) { DefaultHandler(Message); }

void TWinControl::WMEraseBkgnd(TMessage& Message) {
  if (FDefWndProc && FDefWndProc != DefWindowProcW) {
    DefaultHandler(Message);
    return;
  }
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  const TRect r = ClientRect();
  HBRUSH brush = CreateSolidBrush(ColorToRGB(Color()));
  ::FillRect(dc, &r, brush);
  DeleteObject(brush);
  Message.Result = 1;
}

void TWinControl::WMPaint(TMessage& Message) {
  const bool custom = ControlState().Contains(csCustomPaint) ||
                      std::any_of(FControls.begin(), FControls.end(),
                                  [](TControl* c) { return !IsWindowed(c); });
  if (!DoubleBuffered || Message.WParam) {
    const bool ownClass = !FDefWndProc || FDefWndProc == DefWindowProcW;
    if (custom || (Message.WParam && ownClass)) {
      PaintHandler(Message);
    } else {
      DefaultHandler(Message);
    }
    return;
  }
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(FHandle, &ps);
  const TRect cr = ClientRect();
  HDC mem = CreateCompatibleDC(dc);
  HBITMAP bmp = CreateCompatibleBitmap(dc, std::max<int>(cr.right, 1), std::max<int>(cr.bottom, 1));
  HGDIOBJ old = SelectObject(mem, bmp);
  auto cleanup = [&] {
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    EndPaint(FHandle, &ps);
  };
  try {
    Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(mem), reinterpret_cast<LPARAM>(mem));
    TMessage inner{WM_PAINT, reinterpret_cast<WPARAM>(mem), 0, 0};
    WMPaint(inner);
    BitBlt(dc, 0, 0, cr.right, cr.bottom, mem, 0, 0, SRCCOPY);
  } catch (...) {
    cleanup();
    throw;
  }
  cleanup();
}

void TWinControl::PaintHandler(TMessage& Message) {
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  PAINTSTRUCT ps{};
  if (!dc) dc = BeginPaint(FHandle, &ps);
  auto done = [&] {
    if (!Message.WParam) EndPaint(FHandle, &ps);
  };
  try {
    const int saved = SaveDC(dc);
    int clip = SIMPLEREGION;
    for (TControl* c : FControls) {
      if (IsWindowed(c) || !c->Visible() || !c->ControlStyle().Contains(csOpaque)) continue;
      clip = ExcludeClipRect(dc, c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height());
      if (clip == NULLREGION) break;
    }
    if (clip != NULLREGION) PaintWindow(dc);
    RestoreDC(dc, saved);
    PaintControls(dc, nullptr);
  } catch (...) {
    done();
    throw;
  }
  done();
}

void TWinControl::PaintWindow(HDC DC) {
  if (!FDefWndProc || FDefWndProc == DefWindowProcW) return;
  TMessage m{WM_PAINT, reinterpret_cast<WPARAM>(DC), 0, 0};
  DefaultHandler(m);
}

void TWinControl::PaintControls(HDC DC, TControl* First) {
  auto it = First ? std::find(FControls.begin(), FControls.end(), First) : FControls.begin();
  const std::vector<TControl*> list(it, FControls.end());
  for (TControl* c : list) {
    if (IsWindowed(c) || !c->Visible()) continue;
    const TRect r = c->BoundsRect();
    if (!RectVisible(DC, &r)) continue;
    const int saved = SaveDC(DC);
    OffsetWindowOrgEx(DC, -c->Left(), -c->Top(), nullptr);
    IntersectClipRect(DC, 0, 0, c->Width(), c->Height());
    try {
      c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
    } catch (...) {
      RestoreDC(DC, saved);
      throw;
    }
    RestoreDC(DC, saved);
  }
}

void TWinControl::PaintTo(HDC DC, int X, int Y) {
  const bool wasCopy = ControlState().Contains(csPaintCopy);
  SetControlState(ControlState() + TControlState{csPaintCopy});
  const int saved = SaveDC(DC);
  auto restore = [&] {
    RestoreDC(DC, saved);
    if (!wasCopy) SetControlState(ControlState() - TControlState{csPaintCopy});
  };
  try {
    OffsetWindowOrgEx(DC, -X, -Y, nullptr);
    IntersectClipRect(DC, 0, 0, Width(), Height());
    Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), reinterpret_cast<LPARAM>(DC));
    Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
    for (TControl* c : std::vector<TControl*>(FControls)) {
      auto* w = dynamic_cast<TWinControl*>(c);
      if (w && w->Visible()) w->PaintTo(DC, w->Left(), w->Top());
    }
  } catch (...) {
    restore();
    throw;
  }
  restore();
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

bool TWinControl::DoKeyDown(TMessage& Message) {
  TWinControl* form = GetParentForm(this);
  if (form && form != this && static_cast<TCustomForm*>(form)->KeyPreview &&
      !form->DoKeyDown(Message)) {
    return false;
  }
  WORD key = static_cast<WORD>(Message.WParam);
  TShiftState shift = KeyboardShiftState();
  if (KeyDataAltDown(Message.LParam)) shift.Include(ssAlt);
  KeyDown(key, shift);
  if (key == 0) return false;
  Message.WParam = key;
  return true;
}

bool TWinControl::DoKeyUp(TMessage& Message) {
  TWinControl* form = GetParentForm(this);
  if (form && form != this && static_cast<TCustomForm*>(form)->KeyPreview &&
      !form->DoKeyUp(Message)) {
    return false;
  }
  WORD key = static_cast<WORD>(Message.WParam);
  TShiftState shift = KeyboardShiftState();
  if (KeyDataAltDown(Message.LParam)) shift.Include(ssAlt);
  KeyUp(key, shift);
  if (key == 0) return false;
  Message.WParam = key;
  return true;
}

bool TWinControl::DoKeyPress(TMessage& Message) {
  TWinControl* form = GetParentForm(this);
  if (form && form != this && static_cast<TCustomForm*>(form)->KeyPreview &&
      !form->DoKeyPress(Message)) {
    return false;
  }
  WCHAR key = static_cast<WCHAR>(Message.WParam);
  KeyPress(key);
  if (key == 0) return false;
  Message.WParam = key;
  return true;
}

void TWinControl::KeyDown(WORD& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(WORD& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(WCHAR& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}

bool TWinControl::HandleDialogKey(TMessage& Message) {
  const WORD key = static_cast<WORD>(Message.WParam);
  LRESULT mask = 0;
  switch (key) {
    case VK_TAB:
      mask = DLGC_WANTTAB;
      break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
      mask = DLGC_WANTARROWS;
      break;
    case VK_RETURN:
    case VK_ESCAPE:
      mask = DLGC_WANTALLKEYS;
      break;
    default:
      return false;
  }
  if (Perform(CM_WANTSPECIALKEY, key, Message.LParam) != 0) return false;
  const LRESULT code = Perform(WM_GETDLGCODE);
  if (code & (mask | DLGC_WANTALLKEYS)) return false;
  TCustomForm* form = GetParentForm(this);
  return form && form->Perform(CM_DIALOGKEY, key, Message.LParam) != 0;
}

void TWinControl::Loaded() {
  TControl::Loaded();
  Realign();
}

// ---- TCustomControl ----

TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner), FCanvas(std::make_unique<TControlCanvas>(this)) {
  SetControlState(ControlState() + TControlState{csCustomPaint});
}

TCustomControl::~TCustomControl() = default;

void TCustomControl::PaintWindow(HDC DC) {
  FCanvas->FreeHandle();
  FCanvas->Lock();
  FCanvas->SetHandle(DC);
  try {
    FCanvas->Font().Assign(Font());
    Paint();
  } catch (...) {
    FCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
    throw;
  }
  FCanvas->SetHandle(nullptr);
  FCanvas->Unlock();
}
