#include "ui/forms.h"

#include <algorithm>
#include <cstdio>

TApplication* Application = new TApplication(nullptr);
TScreen* Screen = new TScreen(nullptr);

TCustomForm* GetParentForm(TControl* Control) {
  while (Control && Control->Parent()) Control = Control->Parent();
  return dynamic_cast<TCustomForm*>(Control);
}

// ---- TCustomForm ----

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner) {
  SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption,
                   csDoubleClicks});
  SetVisible(false);
  SetColor(clBtnFace);
  SetBounds(0, 0, 320, 240);
  Screen->AddForm(this);
}

TCustomForm::~TCustomForm() { Screen->RemoveForm(this); }

void TCustomForm::Destroying() {
  if (ComponentState().Contains(csDestroying)) return;
  if (OnDestroy) {
    try {
      OnDestroy(this);
    } catch (...) {
      Application->HandleException(this);
    }
  }
  Screen->RemoveForm(this);
  TWinControl::Destroying();
}

void TCustomForm::DoCreate() {
  if (FCreated) return;
  FCreated = true;
  if (OnCreate) OnCreate(this);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons Value) {
  if (FBorderIcons == Value) return;
  FBorderIcons = Value;
  RecreateWnd();
}

void TCustomForm::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.Style = WS_CLIPCHILDREN;
  Params.ExStyle = 0;
  switch (FBorderStyle) {
    case bsNone:
      Params.Style |= WS_POPUP;
      break;
    case bsSingle:
      Params.Style |= WS_CAPTION | WS_BORDER;
      break;
    case bsSizeable:
      Params.Style |= WS_CAPTION | WS_THICKFRAME;
      break;
    case bsDialog:
      Params.Style |= WS_POPUP | WS_CAPTION;
      Params.ExStyle |= WS_EX_DLGMODALFRAME;
      break;
    case bsToolWindow:
      Params.Style |= WS_CAPTION;
      Params.ExStyle |= WS_EX_TOOLWINDOW;
      break;
    case bsSizeToolWin:
      Params.Style |= WS_CAPTION | WS_THICKFRAME;
      Params.ExStyle |= WS_EX_TOOLWINDOW;
      break;
  }
  if (FBorderStyle != bsNone) {
    if (FBorderIcons.Contains(biSystemMenu)) Params.Style |= WS_SYSMENU;
    const bool boxes = FBorderStyle == bsSingle || FBorderStyle == bsSizeable;
    if (boxes && FBorderIcons.Contains(biMinimize)) Params.Style |= WS_MINIMIZEBOX;
    if (boxes && FBorderIcons.Contains(biMaximize)) Params.Style |= WS_MAXIMIZEBOX;
  }
  if (!Enabled()) Params.Style |= WS_DISABLED;
  Params.WndParent = FParentWindow;
  Params.WindowClass.hbrBackground = nullptr;
}

TRect TCustomForm::ClientRect() {
  if (HandleAllocated()) return TWinControl::ClientRect();
  // No window yet: the frame the window will get, so ClientWidth can be set before it exists.
  TCreateParams p;
  CreateParams(p);
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, p.Style, FALSE, p.ExStyle);
  return Rect(0, 0, Width() - (frame.right - frame.left), Height() - (frame.bottom - frame.top));
}

TWindowState TCustomForm::WindowState() {
  if (!HandleAllocated()) return wsNormal;
  if (IsIconic(Handle())) return wsMinimized;
  if (IsZoomed(Handle())) return wsMaximized;
  return wsNormal;
}

void TCustomForm::SetWindowState(TWindowState Value) {
  static const int kShow[] = {SW_RESTORE, SW_MINIMIZE, SW_MAXIMIZE};
  ShowWindow(Handle(), kShow[Value]);
}

void TCustomForm::SetActiveControl(TWinControl* Control) {
  if (FActiveControl == Control) return;
  if (Control && (!Control->CanFocus() || GetParentForm(Control) != this)) {
    throw EInvalidOperation("Cannot focus a disabled or invisible window");
  }
  FActiveControl = Control;
  if (Control && HandleAllocated() && IsWindowVisible(Handle())) ::SetFocus(Control->Handle());
}

void TCustomForm::FocusControl(TWinControl* Control) {
  if (!Control->CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  if (Control == this) {
    ::SetFocus(Handle());
    return;
  }
  FActiveControl = Control;
  if (HandleAllocated() && IsWindowVisible(Handle())) ::SetFocus(Control->Handle());
}

bool TCustomForm::SetFocusedControl(TWinControl* Control) {
  if (Control == this) {
    if (FActive) Screen->SetActiveForm(this);
    return true;
  }
  TWinControl* old = FFocusedControl;
  FFocusedControl = Control;
  FActiveControl = Control;
  if (old != Control) {
    if (old) old->Perform(CM_EXIT);
    // An OnExit handler may have moved the focus elsewhere.
    if (FFocusedControl != Control) return false;
    Control->Perform(CM_ENTER);
  }
  Screen->SetActiveForm(this);
  Screen->SetActiveControl(Control);
  Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(Control));
  return true;
}

void TCustomForm::ControlRemoved(TControl* Control) {
  auto inside = [Control](TWinControl* w) {
    for (TControl* c = w; c; c = c->Parent()) {
      if (c == Control) return true;
    }
    return false;
  };
  if (inside(FActiveControl)) FActiveControl = nullptr;
  if (inside(FFocusedControl)) FFocusedControl = nullptr;
  if (Screen->FActiveControl && inside(Screen->FActiveControl)) Screen->SetActiveControl(nullptr);
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::DoClose(TCloseAction& Action) {
  if (OnClose) OnClose(this, Action);
}

void TCustomForm::Close() {
  if (FModal) ModalResult = mrCancel;
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  DoClose(action);
  if (action == caNone) return;
  if (Application->MainForm() == this) {
    Application->Terminate();
    return;
  }
  switch (action) {
    case caHide:
      Hide();
      break;
    case caMinimize:
      SetWindowState(wsMinimized);
      break;
    default:
      Release();
  }
}

void TCustomForm::Release() { PostMessageW(Handle(), CM_RELEASE, 0, 0); }

void TCustomForm::Show() {
  SetVisible(true);
  if (HandleAllocated()) SetForegroundWindow(Handle());
}

void TCustomForm::Hide() { SetVisible(false); }

int TCustomForm::ShowModal() {
  if (Visible() || FModal) throw EInvalidOperation("Cannot make a visible window modal");
  FModal = true;
  ModalResult = mrNone;
  Show();
  try {
    while (ModalResult == mrNone && !Application->Terminated() && HandleAllocated()) {
      Application->HandleMessage();
    }
  } catch (...) {
    FModal = false;
    throw;
  }
  FModal = false;
  Hide();
  return ModalResult;
}

void TCustomForm::ShowingChanged() {
  if (!Visible()) {
    if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
    if (OnHide) OnHide(this);
    return;
  }
  HWND h = Handle();
  if (!FPositioned) {
    FPositioned = true;
    TRect area = Rect(0, 0, Screen->Width(), Screen->Height());
    if (Position == poDesktopCenter) area = Screen->WorkAreaRect();
    if (Position == poMainFormCenter && Application->MainForm() && Application->MainForm() != this) {
      area = Application->MainForm()->BoundsRect();
    }
    if (Position == poScreenCenter || Position == poDesktopCenter || Position == poMainFormCenter) {
      SetBounds(area.left + (area.right - area.left - Width()) / 2,
                area.top + (area.bottom - area.top - Height()) / 2, Width(), Height());
    }
  }
  if (!FActiveControl) FActiveControl = FindNextControl(nullptr, true, true, false);
  if (OnShow) OnShow(this);
  ShowWindow(h, SW_SHOW);
}

void TCustomForm::Activated(bool Active) {
  FActive = Active;
  if (!Active) {
    if (OnDeactivate) OnDeactivate(this);
    return;
  }
  Screen->SetActiveForm(this);
  if (FActiveControl && FActiveControl->CanFocus()) {
    ::SetFocus(FActiveControl->Handle());
  }
  if (OnActivate) OnActivate(this);
}

bool TCustomForm::DialogKey(TMessage& Message) {
  if (Message.WParam != VK_TAB || GetKeyState(VK_CONTROL) < 0) return false;
  SelectNext(FActiveControl, GetKeyState(VK_SHIFT) >= 0, true);
  return true;
}

void TCustomForm::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_CLOSE:
      Close();
      return;
    case WM_ACTIVATE:
      DefaultHandler(Message);
      Activated(LOWORD(Message.WParam) != WA_INACTIVE);
      return;
    case CM_RELEASE:
      if (DeferFreeUntilDispatchEnds()) return;
      Free();
      return;
    case CM_DIALOGKEY:
      if (DialogKey(Message)) {
        Message.Result = 1;
        return;
      }
      break;
    case CM_VISIBLECHANGED:
      ShowingChanged();
      return;
  }
  TWinControl::Dispatch(Message);
}

// ---- TScreen ----

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) {}

void TScreen::AddForm(TCustomForm* Form) { FForms.push_back(Form); }

void TScreen::RemoveForm(TCustomForm* Form) {
  auto it = std::find(FForms.begin(), FForms.end(), Form);
  if (it == FForms.end()) return;
  FForms.erase(it);
  if (FActiveForm == Form) FActiveForm = nullptr;
  if (FActiveControl && GetParentForm(FActiveControl) == Form) FActiveControl = nullptr;
  if (Application->FMainForm == Form) {
    Application->FMainForm = nullptr;
    Application->Terminate();
  }
}

TCustomForm* TScreen::Forms(int Index) {
  if (Index < 0 || Index >= FormCount()) {
    throw EListError("Form index out of bounds (" + IntToStr(Index) + ")");
  }
  std::vector<TCustomForm*> order;
  for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT)) {
    auto* f = dynamic_cast<TCustomForm*>(TWinControl::FindControl(h));
    if (f && std::find(FForms.begin(), FForms.end(), f) != FForms.end()) order.push_back(f);
  }
  for (TCustomForm* f : FForms) {
    if (std::find(order.begin(), order.end(), f) == order.end()) order.push_back(f);
  }
  return order[static_cast<size_t>(Index)];
}

void TScreen::SetActiveForm(TCustomForm* Form) {
  if (FActiveForm == Form) return;
  FActiveForm = Form;
  if (OnActiveFormChange) OnActiveFormChange(this);
}

void TScreen::SetActiveControl(TWinControl* Control) {
  if (FActiveControl == Control) return;
  FActiveControl = Control;
  if (OnActiveControlChange) OnActiveControlChange(this);
}

void TScreen::SetCursor(TCursor Value) {
  if (FCursor == Value) return;
  FCursor = Value;
  ::SetCursor(Cursors(Value));
}

HCURSOR TScreen::Cursors(int Index) {
  auto it = FCursors.find(Index);
  if (it != FCursors.end()) return it->second;
  LPCWSTR shape = nullptr;
  switch (Index) {
    case crNone:
      return nullptr;
    case crCross: shape = IDC_CROSS; break;
    case crIBeam: shape = IDC_IBEAM; break;
    case crSizeNESW: shape = IDC_SIZENESW; break;
    case crSizeNS: shape = IDC_SIZENS; break;
    case crSizeNWSE: shape = IDC_SIZENWSE; break;
    case crSizeWE: shape = IDC_SIZEWE; break;
    case crUpArrow: shape = IDC_UPARROW; break;
    case crHourGlass: shape = IDC_WAIT; break;
    case crNo: shape = IDC_NO; break;
    case crAppStart: shape = IDC_APPSTARTING; break;
    case crHelp: shape = IDC_HELP; break;
    case crHandPoint: shape = IDC_HAND; break;
    case crSizeAll: shape = IDC_SIZEALL; break;
    default: shape = IDC_ARROW;
  }
  return LoadCursorW(nullptr, shape);
}

void TScreen::SetCursors(int Index, HCURSOR Handle) {
  if (Handle) {
    FCursors[Index] = Handle;
  } else {
    FCursors.erase(Index);
  }
}

int TScreen::Width() { return GetSystemMetrics(SM_CXSCREEN); }
int TScreen::Height() { return GetSystemMetrics(SM_CYSCREEN); }

TRect TScreen::WorkAreaRect() {
  RECT r{0, 0, Width(), Height()};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
  return r;
}

TMonitor TScreen::MonitorFromWindow(HWND Handle) {
  TMonitor m;
  m.Handle = ::MonitorFromWindow(Handle, MONITOR_DEFAULTTONEAREST);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (m.Handle && GetMonitorInfoW(m.Handle, &info)) {
    m.BoundsRect = info.rcMonitor;
    m.WorkareaRect = info.rcWork;
    m.Primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
  }
  return m;
}

// ---- TApplication ----

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {}

void TApplication::FormCreated(TCustomForm* Form) {
  if (!FMainForm) {
    FMainForm = Form;
    Form->HandleNeeded();
  }
  Form->DoCreate();
}

HWND TApplication::Handle() {
  return FMainForm && FMainForm->HandleAllocated() ? FMainForm->Handle() : nullptr;
}

void TApplication::Terminate() {
  // The loop ends when it takes the quit message, after what is already posted (a Release).
  if (FQuitPosted || FTerminated) return;
  FQuitPosted = true;
  PostQuitMessage(0);
}

bool TApplication::IsKeyMsg(MSG& Msg) {
  if (Msg.message != WM_KEYDOWN && Msg.message != WM_SYSKEYDOWN) return false;
  TWinControl* c = TWinControl::FindControl(Msg.hwnd);
  if (!c && Msg.hwnd) c = TWinControl::FindControl(GetParent(Msg.hwnd));
  if (!c) return false;
  try {
    return c->Perform(CN_BASE + Msg.message, Msg.wParam, Msg.lParam) != 0;
  } catch (...) {
    HandleException(c);
    return true;
  }
}

bool TApplication::ProcessMessage(MSG& Msg) {
  if (!PeekMessageW(&Msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (Msg.message == WM_QUIT) {
    FTerminated = true;
    FQuitPosted = false;
    return true;
  }
  bool handled = false;
  if (OnMessage) OnMessage(Msg, handled);
  if (handled || IsKeyMsg(Msg)) return true;
  TranslateMessage(&Msg);
  DispatchMessageW(&Msg);
  return true;
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (ProcessMessage(msg)) {
  }
}

void TApplication::Idle() {
  bool done = true;
  if (OnIdle) OnIdle(this, done);
  if (done && !FTerminated) WaitMessage();
}

void TApplication::HandleMessage() {
  MSG msg;
  if (!ProcessMessage(msg)) Idle();
}

void TApplication::Run() {
  if (FMainForm && !FMainForm->Visible()) FMainForm->Show();
  while (!FTerminated) {
    try {
      HandleMessage();
    } catch (...) {
      HandleException(this);
    }
  }
}

void TApplication::Restore() {
  if (HWND h = Handle()) {
    ShowWindow(h, SW_RESTORE);
    SetForegroundWindow(h);
  }
}

void TApplication::Minimize() {
  if (HWND h = Handle()) ShowWindow(h, SW_MINIMIZE);
}

void TApplication::BringToFront() {
  TCustomForm* form = Screen->ActiveForm() ? Screen->ActiveForm() : FMainForm;
  if (!form || !form->HandleAllocated()) return;
  BringWindowToTop(form->Handle());
  SetForegroundWindow(form->Handle());
}

void TApplication::ShowException(const AnsiString& Message) {
  AnsiString text = Message;
  if (!text.empty() && text.back() != '.') text += '.';
  HWND owner = Screen->ActiveForm() && Screen->ActiveForm()->HandleAllocated()
                   ? Screen->ActiveForm()->Handle()
                   : nullptr;
  const WideString title = AnsiToWide(FTitle);
  MessageBoxW(owner, AnsiToWide(text).c_str(), title.c_str(), MB_OK | MB_ICONSTOP);
}

void TApplication::HandleException(TObject* Sender) {
  AnsiString message;
  try {
    throw;
  } catch (const Exception& e) {
    message = e.Message();
  } catch (const std::exception& e) {
    message = e.what();
  } catch (...) {
    message = "Unknown exception";
  }
  // A failure while reporting (a second exception from a modal loop) must not recurse.
  if (FHandlingException) {
    std::fprintf(stderr, "lumoa: %s\n", message.c_str());
    return;
  }
  FHandlingException = true;
  try {
    if (OnException) {
      OnException(Sender, message);
    } else {
      ShowException(message);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "lumoa: %s (while reporting: %s)\n", message.c_str(), e.what());
  } catch (...) {
    std::fprintf(stderr, "lumoa: %s\n", message.c_str());
  }
  FHandlingException = false;
}
