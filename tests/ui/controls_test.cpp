#include <string>
#include <vector>

#include "ui/bitmap.h"
#include "ui/reader.h"
#include "ui/timer.h"
#include "ui_fixture.h"

namespace lumoa::ui::test {
namespace {

class Controls : public UiTest {};

// A windowless square filled with one colour, logging its events.
class Swatch : public TGraphicControl {
 public:
  Swatch(TComponent* owner, TColor fill) : TGraphicControl(owner), Fill(fill) {
    SetControlStyle(ControlStyle() + TControlStyle{csOpaque});
  }
  TColor Fill;
  int Paints = 0;
  bool ParentPaintCopy = false;

 protected:
  void Paint() override {
    ++Paints;
    ParentPaintCopy = Parent()->ControlState().Contains(csPaintCopy);
    Canvas()->Brush().SetColor(Fill);
    Canvas()->FillRect(Rect(0, 0, Width(), Height()));
  }
};

class Panel : public TCustomControl {
 public:
  explicit Panel(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls});
    SetColor(clWhite);
  }

 protected:
  void Paint() override {
    Canvas()->Brush().SetColor(Color());
    Canvas()->FillRect(ClientRect());
  }
};

uint32_t Rgb(TColor c) {
  const COLORREF v = ColorToRGB(c);
  return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
}

TEST_F(Controls, AlignedChildrenShareTheClientAreaAndFollowResizes) {
  TForm* f = MakeForm(0, 0, 402, 55);
  auto* left = new Panel(f);
  left->SetBounds(0, 0, 55, 55);
  left->SetParent(f);
  left->SetAlign(alLeft);
  auto* right = new Panel(f);
  right->SetBounds(56, 0, 346, 55);
  right->SetParent(f);
  right->SetAlign(alRight);
  EXPECT_EQ(left->BoundsRect().right, 55);
  EXPECT_EQ(right->Left(), 56);
  EXPECT_EQ(right->Height(), 55);

  auto* top = new Panel(f);
  top->SetBounds(0, 0, 10, 10);
  top->SetParent(f);
  top->SetAlign(alTop);
  auto* bottom = new Panel(f);
  bottom->SetBounds(0, 0, 10, 5);
  bottom->SetParent(f);
  bottom->SetAlign(alBottom);
  auto* client = new Panel(f);
  client->SetParent(f);
  client->SetAlign(alClient);
  // Top and bottom take whole rows first, the sides the rest, the client what remains.
  EXPECT_EQ(Str(top->BoundsRect()), Str(Rect(0, 0, 402, 10)));
  EXPECT_EQ(Str(bottom->BoundsRect()), Str(Rect(0, 50, 402, 55)));
  EXPECT_EQ(Str(left->BoundsRect()), Str(Rect(0, 10, 55, 50)));
  EXPECT_EQ(Str(right->BoundsRect()), Str(Rect(56, 10, 402, 50)));
  EXPECT_EQ(Str(client->BoundsRect()), Str(Rect(55, 10, 56, 50)));

  f->SetBounds(0, 0, 500, 100);  // the window manager's WM_WINDOWPOSCHANGED path realigns
  EXPECT_EQ(Str(right->BoundsRect()), Str(Rect(154, 10, 500, 95)));
  EXPECT_EQ(Str(client->BoundsRect()), Str(Rect(55, 10, 154, 95)));
  SetWindowPos(f->Handle(), nullptr, 0, 0, 300, 60, SWP_NOZORDER | SWP_NOMOVE);
  EXPECT_EQ(Str(bottom->BoundsRect()), Str(Rect(0, 55, 300, 60)));
  // Hiding an aligned control gives its room to the others.
  top->Hide();
  EXPECT_EQ(Str(left->BoundsRect()), Str(Rect(0, 0, 55, 55)));
}

TEST_F(Controls, AStoredLayoutAlignsOnceLoadedAndResolvesReferences) {
  auto* f = new TForm(Application);
  Panel* logo = nullptr;
  Panel* tabs = nullptr;
  {
    TReader reader(f);
    reader.Adopt(f, "Form1");
    f->SetBorderStyle(bsNone);
    f->SetBounds(285, 211, 402, 55);
    logo = reader.Create<Panel>("img1");
    logo->SetParent(f);
    logo->SetBounds(0, 0, 55, 55);
    logo->SetAlign(alLeft);
    tabs = reader.Create<Panel>("ksknpgcntrl");
    tabs->SetParent(f);
    tabs->SetBounds(56, 0, 300, 55);
    tabs->SetAlign(alRight);
    reader.ReferenceTo<Panel>("img1", [&](Panel* p) { tabs->Tag = p->Width(); });
    // Nothing moves while loading.
    EXPECT_EQ(tabs->Left(), 56);
    reader.Finish();
  }
  EXPECT_FALSE(tabs->ComponentState().Contains(csLoading));
  EXPECT_EQ(tabs->Tag, 55);
  EXPECT_EQ(Str(logo->BoundsRect()), Str(Rect(0, 0, 55, 55)));
  EXPECT_EQ(Str(tabs->BoundsRect()), Str(Rect(102, 0, 402, 55)));
  f->Show();
  Pump();
  RECT r;
  GetWindowRect(f->Handle(), &r);
  EXPECT_EQ(Str(r), Str(Rect(285, 211, 687, 266)));
}

TEST_F(Controls, WindowlessChildrenArePaintedAtTheirPlaceAndGetMouseInTheirCoordinates) {
  TForm* f = MakeForm(10, 10, 100, 60);
  f->SetColor(clWhite);
  auto* red = new Swatch(f, clRed);
  red->SetBounds(20, 10, 30, 20);
  red->SetParent(f);
  auto* blue = new Swatch(f, clBlue);
  blue->SetBounds(40, 20, 30, 20);  // overlaps red, above it
  blue->SetParent(f);
  std::vector<std::string> log;
  blue->OnMouseDown = [&](TObject*, TMouseButton b, TShiftState, int x, int y) {
    log.push_back("down " + std::to_string(b) + " " + std::to_string(x) + "," + std::to_string(y));
  };
  blue->OnClick = [&](TObject*) { log.push_back("click"); };
  red->OnClick = [&](TObject*) { log.push_back("red click"); };
  f->Invalidate();
  Pump();
  EXPECT_EQ(platform::Headless().ScreenPixel(10 + 25, 10 + 12) & 0xFFFFFF, Rgb(clRed));
  EXPECT_EQ(platform::Headless().ScreenPixel(10 + 45, 10 + 25) & 0xFFFFFF, Rgb(clBlue));
  EXPECT_EQ(platform::Headless().ScreenPixel(10 + 5, 10 + 5) & 0xFFFFFF, Rgb(clWhite));
  EXPECT_EQ(platform::Headless().ScreenPixel(10 + 75, 10 + 25) & 0xFFFFFF, Rgb(clWhite));

  ClickAt(f, 45, 25);
  ClickAt(f, 22, 12);
  EXPECT_EQ(log, (std::vector<std::string>{"down 0 5,5", "click", "red click"}));
  // A press that leaves the control before the release is no click; the control keeps the
  // mouse meanwhile.
  log.clear();
  const TPoint p = f->ClientToScreen(Point(45, 25));
  hb().MoveMouse(p.x, p.y);
  hb().PressButton(1);
  Pump();
  EXPECT_TRUE(blue->MouseCapture());
  hb().MoveMouse(p.x + 50, p.y + 50);
  hb().ReleaseButton(1);
  Pump();
  EXPECT_EQ(log, std::vector<std::string>{"down 0 5,5"});
  EXPECT_FALSE(blue->MouseCapture());
}

// The child windows of a parent, topmost first, as the names of their controls.
std::string Stacking(TWinControl* parent) {
  std::string out;
  for (HWND h = GetWindow(parent->Handle(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
    TWinControl* c = TWinControl::FindControl(h);
    out += (out.empty() ? "" : " ") + (c ? c->Name() : AnsiString("?"));
  }
  return out;
}

TEST_F(Controls, WindowedSiblingsStackInTheOrderOfTheParentsListLaterAbove) {
  // Windows made while the parent's window exists.
  TForm* f = MakeForm(0, 0, 100, 60);
  std::vector<Panel*> p;
  for (const char* name : {"a", "b", "c"}) {
    p.push_back(new Panel(f));
    p.back()->SetName(name);
    p.back()->SetBounds(10, 10, 40, 30);
    p.back()->SetParent(f);
  }
  EXPECT_EQ(Stacking(f), "c b a");
  const TPoint mid = f->ClientToScreen(Point(20, 20));
  EXPECT_EQ(WindowFromPoint(POINT{mid.x, mid.y}), p[2]->Handle());

  // Windows made together with the parent's, in tab order rather than list order.
  auto* g = new TForm(Application);
  g->SetBorderStyle(bsNone);
  g->SetBounds(200, 0, 100, 60);
  std::vector<Panel*> q;
  for (const char* name : {"x", "y", "z"}) {
    q.push_back(new Panel(g));
    q.back()->SetName(name);
    q.back()->SetBounds(10, 10, 40, 30);
    q.back()->SetParent(g);
  }
  q[2]->SetTabOrder(0);
  q[1]->SetTabOrder(0);
  g->Show();
  Pump();
  EXPECT_EQ(Stacking(g), "z y x");

  // A recreated window keeps its place; moving in the list moves the window.
  p[1]->RecreateWnd();
  EXPECT_EQ(Stacking(f), "c b a");
  p[0]->RecreateWnd();
  EXPECT_EQ(Stacking(f), "c b a");
  p[2]->SendToBack();
  EXPECT_EQ(Stacking(f), "b a c");
  p[2]->BringToFront();
  p[0]->BringToFront();
  EXPECT_EQ(Stacking(f), "a c b");
  EXPECT_EQ(WindowFromPoint(POINT{mid.x, mid.y}), p[0]->Handle());
}

TEST_F(Controls, PaintToDrawsTheWholeTreeIntoAForeignContextAndDoubleBufferingShowsTheSame) {
  TForm* f = MakeForm(0, 0, 100, 60);
  f->SetColor(clWhite);
  auto* red = new Swatch(f, clRed);
  red->SetBounds(20, 10, 10, 10);
  red->SetParent(f);
  auto* panel = new Panel(f);
  panel->SetColor(clBlue);
  panel->SetBounds(50, 10, 20, 20);
  panel->SetParent(f);
  auto* green = new Swatch(f, clLime);
  green->SetBounds(5, 5, 5, 5);
  green->SetParent(panel);
  TBitmap bmp(120, 60, pf32bit);
  bmp.Canvas()->Brush().SetColor(clBlack);
  bmp.Canvas()->FillRect(Rect(0, 0, 120, 60));
  f->PaintTo(bmp.Canvas()->Handle(), 10, 0);
  auto at = [&](int x, int y) { return bmp.PixelRGB(x, y) & 0xFFFFFF; };
  EXPECT_EQ(at(5, 5), 0u);                               // left of the picture: untouched
  EXPECT_EQ(at(15, 5), ColorToRGB(clWhite));            // the form's background
  EXPECT_EQ(at(10 + 25, 15), ColorToRGB(clRed));        // windowless child
  EXPECT_EQ(at(10 + 52, 12), ColorToRGB(clBlue));       // windowed child
  EXPECT_EQ(at(10 + 57, 17), ColorToRGB(clLime));       // its windowless child
  EXPECT_TRUE(red->ParentPaintCopy);
  EXPECT_FALSE(f->ControlState().Contains(csPaintCopy));
  // A double-buffered form shows the same picture on screen.
  f->DoubleBuffered = true;
  red->ParentPaintCopy = true;
  f->Invalidate();
  Pump();
  EXPECT_FALSE(red->ParentPaintCopy);
  EXPECT_EQ(hb().ScreenPixel(25, 15) & 0xFFFFFF, Rgb(clRed));
  EXPECT_EQ(hb().ScreenPixel(5, 5) & 0xFFFFFF, Rgb(clWhite));
}

TEST_F(Controls, MouseEnterAndLeaveFollowThePointerAcrossControls) {
  TForm* f = MakeForm(0, 0, 100, 60);
  auto* a = new Swatch(f, clRed);
  a->SetBounds(0, 0, 20, 20);
  a->SetParent(f);
  auto* panel = new Panel(f);
  panel->SetBounds(50, 0, 40, 40);
  panel->SetParent(f);
  std::vector<std::string> log;
  auto track = [&](TControl* c, const std::string& name) {
    c->OnMouseEnter = [&log, name](TObject*) { log.push_back("enter " + name); };
    c->OnMouseLeave = [&log, name](TObject*) { log.push_back("leave " + name); };
  };
  track(a, "a");
  track(panel, "panel");
  track(f, "form");
  hb().MoveMouse(5, 5);
  Pump();
  hb().MoveMouse(30, 30);
  Pump();
  hb().MoveMouse(60, 10);
  Pump();
  hb().MoveMouse(500, 500);
  Pump();
  EXPECT_EQ(log, (std::vector<std::string>{"enter a", "leave a", "enter form", "leave form",
                                           "enter panel", "leave panel"}));
}

TEST_F(Controls, WindowProcCanBeReplacedAndChained) {
  TForm* f = MakeForm();
  auto* panel = new Panel(f);
  panel->SetBounds(0, 0, 50, 50);
  panel->SetParent(f);
  std::vector<UINT> seen;
  TWndMethod old = panel->WindowProc;
  panel->WindowProc = [&, old](TMessage& m) {
    if (m.Msg == WM_USER + 7) {
      m.Result = 42;
      return;
    }
    if (m.Msg == WM_PAINT || m.Msg == WM_SETTEXT) seen.push_back(m.Msg);
    old(m);
  };
  EXPECT_EQ(SendMessageW(panel->Handle(), WM_USER + 7, 0, 0), 42);
  EXPECT_EQ(panel->Perform(WM_USER + 7), 42);
  panel->SetText("caption");
  EXPECT_EQ(panel->Text(), "caption");  // the chained procedure stored it in the window
  panel->Invalidate();
  Pump();
  EXPECT_EQ(seen, (std::vector<UINT>{WM_SETTEXT, WM_PAINT}));
  panel->WindowProc = old;
  EXPECT_EQ(panel->Perform(WM_USER + 7), 0);

  // A message number handled per instance, after the built-in handlers passed it on.
  int hotkeys = 0;
  f->SetMessageHandler(WM_HOTKEY, [&](TMessage& m) {
    hotkeys += static_cast<int>(m.WParam);
    m.Result = 1;
  });
  PostMessageW(f->Handle(), WM_HOTKEY, 5, MAKELPARAM(MOD_ALT, '1'));
  Pump();
  EXPECT_EQ(hotkeys, 5);
}

TEST_F(Controls, ParentFontAndColourFlowToChildrenUntilSetOwn) {
  TForm* f = MakeForm();
  auto* a = new Panel(f);
  a->SetParent(f);
  a->SetParentColor(true);
  auto* b = new Swatch(f, clRed);
  b->SetParent(a);
  f->Font()->SetName("Arial");
  f->Font()->SetHeight(14);
  EXPECT_EQ(b->Font()->Name(), "Arial");
  EXPECT_EQ(b->Font()->Height(), 14);
  b->Font()->SetHeight(20);
  EXPECT_FALSE(b->ParentFont());
  f->Font()->SetHeight(16);
  EXPECT_EQ(a->Font()->Height(), 16);
  EXPECT_EQ(b->Font()->Height(), 20);
  f->SetColor(clYellow);
  EXPECT_EQ(a->Color(), clYellow);
  a->SetColor(clAqua);
  f->SetColor(clLime);
  EXPECT_EQ(a->Color(), clAqua);
}

TEST_F(Controls, TimersFollowTheVirtualClock) {
  TForm* f = MakeForm();
  auto* t = new TTimer(f);
  t->SetInterval(10000);
  int ticks = 0;
  t->OnTimer = [&](TObject*) { ++ticks; };
  hb().AdvanceClock(9999);
  Pump();
  EXPECT_EQ(ticks, 0);
  hb().AdvanceClock(1);
  Pump();
  EXPECT_EQ(ticks, 1);
  hb().AdvanceClock(10000);
  Pump();
  EXPECT_EQ(ticks, 2);
  t->SetEnabled(false);
  hb().AdvanceClock(30000);
  Pump();
  EXPECT_EQ(ticks, 2);
  t->SetInterval(50);  // changing the interval of a stopped timer does not start it
  t->SetEnabled(true);
  hb().AdvanceClock(50);
  Pump();
  EXPECT_EQ(ticks, 3);
  t->Free();
  hb().AdvanceClock(1000);
  Pump();
  EXPECT_EQ(ticks, 3);
}

}  // namespace
}  // namespace lumoa::ui::test
