#include <string>
#include <vector>

#include "ui/std_ctrls.h"
#include "ui_fixture.h"

namespace lumoa::ui::test {
namespace {

class Forms : public UiTest {};

class Box : public TCustomControl {
 public:
  explicit Box(TComponent* owner) : TCustomControl(owner) { SetTabStop(true); }
};

TEST_F(Forms, AnExceptionFromAClickHandlerIsShownAndTheLoopGoesOn) {
  Application->SetTitle("Lumoa");
  TForm* f = MakeForm(0, 0, 100, 100);
  auto* b = new Box(f);
  b->SetBounds(10, 10, 20, 20);
  b->SetParent(f);
  int clicks = 0;
  int step = 0;
  b->OnClick = [&](TObject*) {
    if (++clicks == 1) throw EInvalidOperation("browser not found");
  };
  std::u16string boxCaption;
  hb().SetIdleHandler([&] {
    switch (step++) {
      case 0: hb().Click(15, 15); break;   // throws: the message box comes up
      case 1: {
        HWND box = GetActiveWindow();
        WCHAR buf[64] = {};
        GetWindowTextW(box, buf, 64);
        boxCaption = buf;
        hb().PressKey(VK_RETURN);        // dismisses it
        break;
      }
      case 2:                              // the loop still runs: a second click
        hb().AdvanceClock(1000);           // (not a double click)
        hb().Click(15, 15);
        break;
      default: Application->Terminate();
    }
  });
  Application->Run();
  hb().SetIdleHandler(nullptr);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(boxCaption, u"Lumoa");
  EXPECT_TRUE(IsWindowVisible(f->Handle()));
}

TEST_F(Forms, OnExceptionReplacesTheMessageBox) {
  TForm* f = MakeForm();
  std::vector<std::string> got;
  Application->OnException = [&](TObject* sender, const AnsiString& msg) {
    got.push_back(msg + (sender == f ? " from form" : ""));
  };
  f->SetMessageHandler(WM_USER + 1, [](TMessage&) { throw std::runtime_error("plain"); });
  f->SetMessageHandler(WM_USER + 2, [](TMessage&) { throw 42; });
  SendMessageW(f->Handle(), WM_USER + 1, 0, 0);
  PostMessageW(f->Handle(), WM_USER + 2, 0, 0);
  Pump();
  EXPECT_EQ(got, (std::vector<std::string>{"plain from form", "Unknown exception from form"}));
}

TEST_F(Forms, ReleaseFreesTheFormFromTheLoopAndCloseActionsAreHonoured) {
  TForm* main = nullptr;
  Application->CreateForm(main);
  TForm* other = nullptr;
  Application->CreateForm(other);  // only the first form created becomes the main form
  EXPECT_EQ(Application->MainForm(), main);
  bool destroyed = false;
  other->OnDestroy = [&](TObject*) { destroyed = true; };
  other->Show();
  Pump();
  TCloseAction action = caNone;
  other->OnClose = [&](TObject*, TCloseAction& a) { a = action; };
  other->Close();
  EXPECT_TRUE(other->Visible());
  action = caHide;
  other->Close();
  EXPECT_FALSE(other->Visible());
  EXPECT_FALSE(IsWindowVisible(other->Handle()));
  action = caFree;
  other->Close();
  EXPECT_FALSE(destroyed);  // queued, not freed under the caller
  Pump();
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(Screen->FormCount(), 1);
  EXPECT_FALSE(Application->Terminated());
}

TEST_F(Forms, ClosingTheMainFormEndsRun) {
  TForm* main = nullptr;
  Application->CreateForm(main);
  main->SetBorderStyle(bsNone);
  int created = 0;
  ASSERT_EQ(Application->MainForm(), main);
  main->OnCreate = [&](TObject*) { ++created; };
  main->DoCreate();  // CreateForm already ran it (no handler then): never twice
  EXPECT_EQ(created, 0);
  bool closed = false;
  main->OnClose = [&](TObject*, TCloseAction& a) {
    closed = true;
    a = caFree;
  };
  hb().SetIdleHandler([&] { PostMessageW(main->Handle(), WM_CLOSE, 0, 0); });
  Application->Run();
  hb().SetIdleHandler(nullptr);
  EXPECT_TRUE(closed);
  EXPECT_TRUE(Application->Terminated());
}

TEST_F(Forms, CloseThenReleaseOfTheMainFormFreesItAndEndsTheLoop) {
  TForm* main = nullptr;
  Application->CreateForm(main);
  main->SetBorderStyle(bsNone);
  main->SetBounds(0, 0, 100, 50);
  auto* b = new Box(main);
  b->SetBounds(0, 0, 20, 20);
  b->SetParent(main);
  std::vector<std::string> log;
  main->OnClose = [&](TObject*, TCloseAction& a) {
    log.push_back("close");
    a = caFree;
  };
  main->OnDestroy = [&](TObject*) { log.push_back("destroy"); };
  b->OnClick = [&](TObject*) {
    main->Close();
    main->Release();
    log.push_back("handler done");
  };
  hb().SetIdleHandler([&] { hb().Click(5, 5); });
  Application->Run();
  hb().SetIdleHandler(nullptr);
  EXPECT_EQ(log, (std::vector<std::string>{"close", "handler done", "destroy"}));
  if (Application->MainForm()) Application->MainForm()->OnDestroy = nullptr;  // log dies here
  EXPECT_EQ(Application->MainForm(), nullptr);
  EXPECT_EQ(Screen->FormCount(), 0);
}

TEST_F(Forms, WheelGoesToTheFocusedControlThenItsParent) {
  TForm* f = MakeForm(0, 0, 100, 100);
  auto* b = new Box(f);
  b->SetParent(f);
  b->SetFocus();
  std::vector<std::string> log;
  f->OnMouseWheel = [&](TObject*, TShiftState, int delta, TPoint, bool& handled) {
    log.push_back("form " + std::to_string(delta));
    handled = true;
  };
  b->OnMouseWheel = [&](TObject*, TShiftState, int delta, TPoint, bool& handled) {
    log.push_back("box " + std::to_string(delta));
    handled = delta > 0;
  };
  hb().MoveMouse(50, 50);
  hb().Wheel(120);
  hb().Wheel(-120);
  Pump();
  EXPECT_EQ(log, (std::vector<std::string>{"box 120", "box -120", "form -120"}));
}

TEST_F(Forms, TabMovesFocusInTabOrderAndTheFormTracksTheActiveControl) {
  TForm* f = MakeForm();
  auto* a = new Box(f);
  a->SetParent(f);
  auto* b = new Box(f);
  b->SetParent(f);
  auto* c = new Box(f);
  c->SetParent(f);
  c->SetTabOrder(0);  // c, a, b
  std::vector<std::string> log;
  for (auto [box, name] : {std::pair{a, "a"}, {b, "b"}, {c, "c"}}) {
    box->OnEnter = [&log, n = std::string(name)](TObject*) { log.push_back("enter " + n); };
    box->OnExit = [&log, n = std::string(name)](TObject*) { log.push_back("exit " + n); };
  }
  int changes = 0;
  Screen->OnActiveControlChange = [&](TObject*) { ++changes; };
  c->SetFocus();
  Pump();
  EXPECT_TRUE(c->Focused());
  hb().PressKey(VK_TAB);
  Pump();
  EXPECT_EQ(f->ActiveControl(), a);
  EXPECT_EQ(Screen->ActiveControl(), a);
  hb().KeyDown(VK_SHIFT);
  hb().PressKey(VK_TAB);
  hb().KeyUp(VK_SHIFT);
  Pump();
  EXPECT_TRUE(c->Focused());
  b->Hide();  // hidden controls are skipped
  hb().PressKey(VK_TAB);
  hb().PressKey(VK_TAB);
  Pump();
  EXPECT_TRUE(c->Focused());
  EXPECT_EQ(log, (std::vector<std::string>{"enter c", "exit c", "enter a", "exit a", "enter c",
                                           "exit c", "enter a", "exit a", "enter c"}));
  EXPECT_EQ(changes, 5);
  // Freeing the focused control leaves no dangling active control behind.
  c->Free();
  EXPECT_EQ(f->ActiveControl(), nullptr);
  EXPECT_EQ(Screen->ActiveControl(), nullptr);
}

TEST_F(Forms, KeyPreviewLetsTheFormSeeAndEatKeysFirst) {
  TForm* f = MakeForm();
  auto* b = new Box(f);
  b->SetParent(f);
  b->SetFocus();
  std::vector<std::string> log;
  f->OnKeyDown = [&](TObject*, WORD& key, TShiftState) {
    log.push_back("form " + std::to_string(key));
    if (key == 'X') key = 0;
  };
  b->OnKeyDown = [&](TObject*, WORD& key, TShiftState) { log.push_back("box " + std::to_string(key)); };
  hb().PressKey('A', u"a");
  Pump();
  f->KeyPreview = true;
  hb().PressKey('A', u"a");
  hb().PressKey('X', u"x");
  Pump();
  EXPECT_EQ(log, (std::vector<std::string>{"box 65", "form 65", "box 65", "form 88"}));
}

TEST_F(Forms, ApplicationMinimizesRestoresAndRaisesTheMainForm) {
  TForm* main = nullptr;
  Application->CreateForm(main);
  main->SetBorderStyle(bsNone);
  main->Show();
  TForm* other = MakeForm(300, 300, 50, 50);
  Pump();
  ASSERT_EQ(Application->Handle(), main->Handle());
  Application->Minimize();
  Pump();
  EXPECT_TRUE(IsIconic(Application->Handle()));
  Application->Restore();
  Pump();
  EXPECT_FALSE(IsIconic(Application->Handle()));
  other->BringToFront();
  other->SetFocus();
  Pump();
  EXPECT_EQ(Screen->Forms(0), other);
  main->SetFocus();  // focusing a form activates it without making it its own active control
  EXPECT_EQ(main->ActiveControl(), nullptr);
  Application->BringToFront();
  Pump();
  EXPECT_EQ(Screen->Forms(0), main);
}

TEST_F(Forms, ScreenListsFormsInZOrderAndTracksTheActiveForm) {
  TForm* a = MakeForm(0, 0, 50, 50);
  TForm* b = MakeForm(60, 0, 50, 50);
  TForm* c = MakeForm(120, 0, 50, 50);
  auto* hidden = new TForm(Application);  // no window yet: last
  ASSERT_EQ(Screen->FormCount(), 4);
  EXPECT_EQ(Screen->Forms(0), c);
  EXPECT_EQ(Screen->ActiveForm(), c);
  hb().Click(5, 5);  // clicking a raises and activates it
  Pump();
  EXPECT_EQ(Screen->Forms(0), a);
  EXPECT_EQ(Screen->Forms(1), c);
  EXPECT_EQ(Screen->Forms(2), b);
  EXPECT_EQ(Screen->Forms(3), hidden);
  EXPECT_EQ(Screen->ActiveForm(), a);
  b->BringToFront();
  EXPECT_EQ(Screen->Forms(0), b);
  EXPECT_THROW(Screen->Forms(4), EListError);
  hidden->Free();
  EXPECT_EQ(Screen->FormCount(), 3);
}

TEST_F(Forms, ScreenCursorsIncludeCustomNegativeIndices) {
  HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
  EXPECT_EQ(Screen->Cursors(crDefault), arrow);
  EXPECT_EQ(Screen->Cursors(12345), arrow);
  EXPECT_EQ(Screen->Cursors(crHandPoint), LoadCursorW(nullptr, IDC_HAND));
  HCURSOR drag = LoadCursorW(nullptr, IDC_SIZEALL);
  Screen->SetCursors(-23, drag);
  EXPECT_EQ(Screen->Cursors(-23), drag);
  Screen->SetCursors(-23, nullptr);
  EXPECT_EQ(Screen->Cursors(-23), arrow);
  EXPECT_GT(Screen->Width(), 0);
  const TRect work = Screen->WorkAreaRect();
  EXPECT_LE(work.bottom, Screen->Height());
  TForm* f = MakeForm();
  EXPECT_EQ(Str(Screen->MonitorFromWindow(f->Handle()).WorkareaRect), Str(work));
}

TEST_F(Forms, ClientSizeAndBorderStyleBeforeAndAfterTheWindowExists) {
  auto* f = new TForm(Application);
  f->SetBorderStyle(bsSingle);
  f->SetClientWidth(402);
  f->SetClientHeight(55);
  f->Show();
  Pump();
  EXPECT_EQ(f->ClientWidth(), 402);
  EXPECT_EQ(f->ClientHeight(), 55);
  EXPECT_GT(f->Width(), 402);
  EXPECT_TRUE(GetWindowLongW(f->Handle(), GWL_STYLE) & WS_CAPTION);
  f->SetBorderStyle(bsNone);  // the window is made again without a frame
  EXPECT_FALSE(GetWindowLongW(f->Handle(), GWL_STYLE) & WS_CAPTION);
  EXPECT_EQ(f->ClientWidth(), f->Width());
}

}  // namespace
}  // namespace lumoa::ui::test

namespace lumoa::ui::test {
namespace {

class Windows : public UiTest {};

TEST_F(Windows, HandlesAreMadeWhenNeededAndRecreatedWithTheirText) {
  TForm* f = MakeForm();
  auto* b = new Box(f);
  b->SetText("kept");
  EXPECT_FALSE(b->HandleAllocated());
  EXPECT_THROW(b->Handle(), EInvalidOperation);  // no parent window to live in
  b->SetParent(f);
  EXPECT_TRUE(b->HandleAllocated());
  HWND first = b->Handle();
  EXPECT_EQ(TWinControl::FindControl(first), b);
  WCHAR buf[16] = {};
  GetWindowTextW(first, buf, 16);
  EXPECT_EQ(std::u16string(buf), u"kept");
  b->RecreateWnd();
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(b->Text(), "kept");
  EXPECT_EQ(TWinControl::FindControl(b->Handle()), b);
  // A window class is registered once per control class.
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  EXPECT_TRUE(GetClassInfoExW(nullptr, u"Box", &wc));
  auto* second = new Box(f);
  second->SetParent(f);
  EXPECT_TRUE(second->HandleAllocated());
}

TEST_F(Windows, NotificationsToTheParentAreReflectedToTheChild) {
  TForm* f = MakeForm();
  auto* b = new Box(f);
  b->SetParent(f);
  std::vector<UINT> got;
  for (UINT msg : {CN_COMMAND, CN_NOTIFY}) {
    b->SetMessageHandler(msg, [&, msg](TMessage& m) {
      got.push_back(msg);
      m.Result = 7;
    });
  }
  HWND child = b->Handle();
  EXPECT_EQ(SendMessageW(f->Handle(), WM_COMMAND, MAKEWPARAM(1, 2), reinterpret_cast<LPARAM>(child)), 7);
  NMHDR hdr{child, 1, 99};
  EXPECT_EQ(SendMessageW(f->Handle(), WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&hdr)), 7);
  EXPECT_EQ(got, (std::vector<UINT>{CN_COMMAND, CN_NOTIFY}));
  // Colour requests are answered by the child from its own font and colour.
  b->SetColor(clYellow);
  b->Font()->SetColor(clRed);
  HDC dc = GetDC(child);
  const LRESULT brush =
      SendMessageW(f->Handle(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(child));
  EXPECT_NE(brush, 0);
  EXPECT_EQ(GetTextColor(dc), ColorToRGB(clRed));
  EXPECT_EQ(GetBkColor(dc), ColorToRGB(clYellow));
  ReleaseDC(child, dc);
  // Without a child behind it the notification goes to the form's own default handling.
  EXPECT_EQ(SendMessageW(f->Handle(), WM_COMMAND, 1, 0), 0);
}

TEST_F(Windows, HiddenOrDisabledControlsRefuseTheFocus) {
  TForm* f = MakeForm();
  auto* b = new Box(f);
  b->SetParent(f);
  b->SetEnabled(false);
  EXPECT_FALSE(b->CanFocus());
  EXPECT_THROW(b->SetFocus(), EInvalidOperation);
  EXPECT_FALSE(IsWindowEnabled(b->Handle()));
  b->SetEnabled(true);
  b->Hide();
  EXPECT_THROW(b->SetFocus(), EInvalidOperation);
  EXPECT_FALSE(IsWindowVisible(b->Handle()));
  b->Show();
  b->SetFocus();
  EXPECT_TRUE(b->Focused());
}

TEST_F(Windows, ShowModalRunsUntilAButtonSetsTheResult) {
  MakeForm();
  auto* dlg = new TForm(Application);
  dlg->SetBorderStyle(bsDialog);
  dlg->SetBounds(50, 50, 200, 100);
  auto* ok = new TButton(dlg);
  ok->SetParent(dlg);
  ok->SetBounds(10, 10, 60, 24);
  ok->ModalResult = mrOk;
  hb().SetIdleHandler([&] {
    const TPoint p = ok->ClientToScreen(Point(5, 5));
    hb().Click(p.x, p.y);
  });
  EXPECT_EQ(dlg->ShowModal(), mrOk);
  hb().SetIdleHandler(nullptr);
  EXPECT_FALSE(dlg->Visible());
  hb().SetIdleHandler([&] { PostMessageW(dlg->Handle(), WM_CLOSE, 0, 0); });
  EXPECT_EQ(dlg->ShowModal(), mrCancel);
  hb().SetIdleHandler(nullptr);
}

}  // namespace
}  // namespace lumoa::ui::test
