// TWinControl: the window and its life, the binding of handles to controls, children, bounds
// and text. Painting, keys, alignment and message handling live in the win_control_* files.
#include "ui/win_control.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "ui/forms.h"
#include "ui/win_control_parts.h"

namespace {

std::unordered_map<HWND, TWinControl*>& Bindings() {
  static std::unordered_map<HWND, TWinControl*> map;
  return map;
}

// The control whose window is being created: it claims the first message of an unknown
// window, before CreateWindowExW has returned the handle.
TWinControl* gCreating = nullptr;

// Controls alive now: a handler may free its own control (directly, or by recreating or
// destroying windows), so the window procedure checks before touching it afterwards.
std::unordered_set<const TWinControl*>& Alive() {
  static std::unordered_set<const TWinControl*> set;
  return set;
}
UINT_PTR gNextChildId = 100;

}  // namespace

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
  if (!GetClassInfoExW(HInstance(), p.WinClassName.c_str(), &existing)) {
    WNDCLASSEXW wc = p.WindowClass;
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = ControlWndProc;
    wc.lpszClassName = p.WinClassName.c_str();
    wc.hInstance = HInstance();
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
                           Params.WndParent, id, HInstance(), Params.Param);
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
  WideString buf(static_cast<size_t>(len) + 1, WTEXT('\0'));
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

void TWinControl::DefaultHandler(TMessage& Message) {
  if (!FHandle) {
    TControl::DefaultHandler(Message);
    return;
  }
  Message.Result = CallWindowProcW(FDefWndProc ? FDefWndProc : DefWindowProcW, FHandle,
                                   Message.Msg, Message.WParam, Message.LParam);
}

void TWinControl::Loaded() {
  TControl::Loaded();
  Realign();
}
