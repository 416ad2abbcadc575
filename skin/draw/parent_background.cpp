#include "skin/draw/parent_background.h"

#include <vector>

#include "ui/forms.h"
#include "ui/win_control.h"

namespace lumoa::skin {

namespace {

// The parent's own paint routine without its windowless children (painting those through
// WM_PAINT would paint the control itself again).
struct PaintAccess : TWinControl {
  static void PaintOwn(TWinControl* control, HDC dc) {
    (control->*(&PaintAccess::PaintWindow))(dc);
  }
};

// Sets csPaintCopy on a control and clears it when it goes, whatever happens between.
class PaintCopyState {
 public:
  explicit PaintCopyState(TControl* control) : FControl(control) {
    TControlState s = control->ControlState();
    FWasSet = s.Contains(csPaintCopy);
    s.Include(csPaintCopy);
    control->SetControlState(s);
  }
  ~PaintCopyState() {
    if (FWasSet) return;
    TControlState s = FControl->ControlState();
    s.Exclude(csPaintCopy);
    FControl->SetControlState(s);
  }
  PaintCopyState(const PaintCopyState&) = delete;
  PaintCopyState& operator=(const PaintCopyState&) = delete;

 private:
  TControl* FControl;
  bool FWasSet;
};

// Restores the DC state saved at construction, also on the way out of an exception.
class SavedDC {
 public:
  explicit SavedDC(HDC dc) : FDC(dc), FSaved(SaveDC(dc)) {}
  ~SavedDC() { RestoreDC(FDC, FSaved); }
  SavedDC(const SavedDC&) = delete;
  SavedDC& operator=(const SavedDC&) = delete;

 private:
  HDC FDC;
  int FSaved;
};

bool Overlap(const RECT& a, const RECT& b) {
  RECT r;
  return IntersectRect(&r, &a, &b) != FALSE;
}

}  // namespace

void PaintParentBackground(TControl* Control, TCanvas* Canvas) {
  PaintParentBackground(Control, Canvas, RECT{0, 0, 0, 0});
}

void PaintParentBackground(TControl* Control, TCanvas* Canvas, const RECT& Extra) {
  if (!Control || !Canvas) return;
  TWinControl* parent = Control->Parent();
  if (!parent) return;
  Canvas->RequiredState({csHandleValid});
  HDC dc = Canvas->Handle();
  const int ox = Control->Left() + Extra.left, oy = Control->Top() + Extra.top;
  {
    PaintCopyState copy(parent);
    SavedDC saved(dc);
    OffsetWindowOrgEx(dc, ox, oy, nullptr);
    const TRect client = parent->ClientRect();
    IntersectClipRect(dc, client.left, client.top, client.right, client.bottom);
    parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(dc));
    if (!dynamic_cast<TCustomForm*>(parent)) PaintAccess::PaintOwn(parent, dc);
  }
  const RECT bounds = Control->BoundsRect();
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* sibling = parent->Controls(i);
    if (sibling == Control) break;
    if (dynamic_cast<TWinControl*>(sibling) || !sibling->Visible()) continue;
    if (!Overlap(sibling->BoundsRect(), bounds)) continue;
    PaintCopyState copy(sibling);
    SavedDC saved(dc);
    OffsetWindowOrgEx(dc, ox - sibling->Left(), oy - sibling->Top(), nullptr);
    IntersectClipRect(dc, 0, 0, sibling->Width(), sibling->Height());
    sibling->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  }
}

}  // namespace lumoa::skin
