// Forms, the screen and the application: TCustomForm/TForm (top-level windows with focus
// bookkeeping, closing and dialog keys), TScreen (forms in z-order, active form and control,
// cursors, work area) and TApplication (the message loop and the exception handler).
#pragma once

#include <map>
#include <vector>

#include "ui/win_control.h"

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TPosition { poDesigned, poDefault, poScreenCenter, poDesktopCenter, poMainFormCenter };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = IDOK;
constexpr TModalResult mrCancel = IDCANCEL;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

class TCustomForm : public TWinControl {
 public:
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;

  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle Value);
  TBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons Value);
  TPosition Position = poDesigned;
  int PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int Value) { FPixelsPerInch = Value > 0 ? Value : ScreenPixelsPerInch; }
  bool KeyPreview = false;
  TWindowState WindowState();
  void SetWindowState(TWindowState Value);

  TWinControl* ActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* Control);
  bool Active() const { return FActive; }
  // Moves the keyboard focus to Control (when the form is shown) and remembers it.
  void FocusControl(TWinControl* Control);
  // Told by a control of this form that it received the focus; false refuses it.
  bool SetFocusedControl(TWinControl* Control);
  // Forgets Control (and what it contains) as the active or focused control.
  void ControlRemoved(TControl* Control);

  // Asks OnCloseQuery, then OnClose for the action: hide, minimise or free. Closing the
  // main form ends the application.
  void Close();
  bool CloseQuery();
  // Frees the form once the message loop comes back to it.
  void Release();
  void Show();
  void Hide();
  int ShowModal();
  TModalResult ModalResult = mrNone;
  // Fires OnCreate once (TApplication::CreateForm does this after construction).
  void DoCreate();

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

  TRect ClientRect() override;
  void Dispatch(TMessage& Message) override;
  void Destroying() override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  virtual void DoClose(TCloseAction& Action);

 private:
  void ShowingChanged();
  void Activated(bool Active);
  bool DialogKey(TMessage& Message);

  TFormBorderStyle FBorderStyle = bsSizeable;
  TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
  int FPixelsPerInch = ScreenPixelsPerInch;
  TWinControl* FActiveControl = nullptr;
  TWinControl* FFocusedControl = nullptr;
  bool FActive = false;
  bool FCreated = false;
  bool FPositioned = false;
  bool FModal = false;
};

class TForm : public TCustomForm {
 public:
  using TCustomForm::TCustomForm;
};

struct TMonitor {
  HMONITOR Handle = nullptr;
  TRect BoundsRect{};
  TRect WorkareaRect{};
  bool Primary = false;
};

class TScreen : public TComponent {
 public:
  explicit TScreen(TComponent* AOwner);

  // Forms in screen order: topmost window first; forms without a window come last.
  int FormCount() const { return static_cast<int>(FForms.size()); }
  TCustomForm* Forms(int Index);
  TCustomForm* ActiveForm() const { return FActiveForm; }
  TWinControl* ActiveControl() const { return FActiveControl; }
  // A cursor for the whole application while not crDefault.
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  // The cursor registered under Index; the default arrow for an unknown index.
  HCURSOR Cursors(int Index);
  void SetCursors(int Index, HCURSOR Handle);
  int Width();
  int Height();
  TRect WorkAreaRect();
  TMonitor MonitorFromWindow(HWND Handle);
  TNotifyEvent OnActiveControlChange;
  TNotifyEvent OnActiveFormChange;

 private:
  friend class TCustomForm;
  void AddForm(TCustomForm* Form);
  void RemoveForm(TCustomForm* Form);
  void SetActiveForm(TCustomForm* Form);
  void SetActiveControl(TWinControl* Control);

  std::vector<TCustomForm*> FForms;  // creation order
  TCustomForm* FActiveForm = nullptr;
  TWinControl* FActiveControl = nullptr;
  TCursor FCursor = crDefault;
  std::map<int, HCURSOR> FCursors;
};

using TIdleEvent = std::function<void(TObject* Sender, bool& Done)>;
using TMessageEvent = std::function<void(MSG& Msg, bool& Handled)>;
using TExceptionEvent = std::function<void(TObject* Sender, const AnsiString& Message)>;

class TApplication : public TComponent {
 public:
  explicit TApplication(TComponent* AOwner);

  void Initialize() {}
  const AnsiString& Title() const { return FTitle; }
  void SetTitle(const AnsiString& Value) { FTitle = Value; }

  // Creates a form owned by the application; the first becomes the main form.
  template <class T>
  void CreateForm(T*& Reference) {
    T* form = new T(this);
    Reference = form;
    FormCreated(form);
  }
  TCustomForm* MainForm() const { return FMainForm; }
  // The window that stands for the application: the main form's.
  HWND Handle();

  // Shows the main form and handles messages until Terminate (closing the main form).
  void Run();
  // Asks the loop to end: it does once it takes the quit message (Terminated then).
  void Terminate();
  bool Terminated() const { return FTerminated; }
  // Terminate was called, whether or not the loop has taken the quit message yet.
  bool Terminating() const { return FQuitPosted || FTerminated; }
  void ProcessMessages();
  void HandleMessage();
  bool ProcessMessage(MSG& Msg);
  void Restore();
  void Minimize();
  void BringToFront();
  // Reports the exception being handled (call it from a catch block): OnException when
  // assigned, else a message box with its message. Never throws.
  void HandleException(TObject* Sender);
  void ShowException(const AnsiString& Message);

  TIdleEvent OnIdle;
  TMessageEvent OnMessage;
  TExceptionEvent OnException;

 private:
  friend class TScreen;
  void FormCreated(TCustomForm* Form);
  bool IsKeyMsg(MSG& Msg);
  void Idle();

  AnsiString FTitle;
  TCustomForm* FMainForm = nullptr;
  bool FTerminated = false;
  bool FQuitPosted = false;
  bool FHandlingException = false;
};

extern TApplication* Application;
extern TScreen* Screen;
