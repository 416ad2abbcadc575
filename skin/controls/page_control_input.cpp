// Mouse handling of the skinned page control: which tab the pointer is over (and the
// repaints that follows from it), and the close buttons on tabs.
#include "skin/controls/page_control.h"

void TksSkinPageControl::RepaintStrip() {
  if (!HandleAllocated()) return;
  RECT r = TabStripRect();
  const TRect grown = ActiveTabGrown();
  if (!IsRectEmpty(&grown)) UnionRect(&r, &r, &grown);
  InvalidateRect(Handle(), &r, FALSE);
  UpdateWindow(Handle());
}

void TksSkinPageControl::ClearCloseFlags(TksSkinCustomTabSheet* Sheet) {
  if (!Sheet) return;
  Sheet->CloseButtonMouseIn = false;
  Sheet->CloseButtonMouseDown = false;
}

void TksSkinPageControl::TestMouseOver(int X, int Y) {
  const POINT p{X, Y};
  int found = -1;
  if (X >= 0 && Y >= 0) {
    const int count = VisibleTabCount();
    for (int i = 0; i < count; ++i) {
      const TRect r = GetTabRect(i);
      if (PtInRect(&r, p)) {
        found = i;
        break;
      }
    }
  }
  FOldMouseInTab = FMouseInTab;
  FOldMouseInPage = FMouseInPage;
  FMouseInTab = found;
  TTabSheet* page = VisiblePage(found);
  FMouseInPage = page ? page->PageIndex() : -1;
  if (FMouseInTab != FOldMouseInTab) {
    const int active = TabIndex();
    const int count = VisibleTabCount();
    if (FOldMouseInTab >= 0 && FOldMouseInTab < count && FOldMouseInTab != active) {
      ClearCloseFlags(VisibleSheet(FOldMouseInTab));
      RepaintStrip();
    }
    if (FMouseInTab >= 0 && FMouseInTab != active) RepaintStrip();
  }
  if (!FShowCloseButtons || FMouseInTab < 0) return;
  TksSkinCustomTabSheet* sheet = VisibleSheet(FMouseInTab);
  if (!sheet) return;
  const bool inside = PtInRect(&sheet->CloseButtonRect, p) != FALSE;
  if (inside == sheet->CloseButtonMouseIn) return;
  sheet->CloseButtonMouseIn = inside;
  RepaintStrip();
}

void TksSkinPageControl::MouseLeft() {
  const int old = FMouseInTab;
  TestMouseOver(-1, -1);
  if (old >= 0 && old == TabIndex()) {
    // The active tab's close button may have shown its hot look.
    TksSkinCustomTabSheet* sheet = VisibleSheet(old);
    if (sheet && (sheet->CloseButtonMouseIn || sheet->CloseButtonMouseDown)) {
      ClearCloseFlags(sheet);
      RepaintStrip();
    }
  }
}

bool TksSkinPageControl::CloseButtonDown(int X, int Y) {
  TksSkinCustomTabSheet* sheet = VisibleSheet(FMouseInTab);
  if (!sheet) return false;
  const POINT p{X, Y};
  if (PtInRect(&sheet->CloseButtonRect, p)) {
    sheet->CloseButtonMouseIn = true;
    sheet->CloseButtonMouseDown = true;
    RepaintStrip();
    return true;
  }
  if (sheet->CloseButtonMouseIn || sheet->CloseButtonMouseDown) {
    ClearCloseFlags(sheet);
    RepaintStrip();
  }
  return false;
}

bool TksSkinPageControl::CloseButtonUp(int X, int Y) {
  TksSkinCustomTabSheet* sheet = VisibleSheet(FMouseInTab);
  if (!sheet) return false;
  const POINT p{X, Y};
  // Only a press that started on the button closes: a drag released over it does not.
  if (PtInRect(&sheet->CloseButtonRect, p) && sheet->CloseButtonMouseDown) {
    sheet->CloseButtonMouseIn = true;
    sheet->CloseButtonMouseDown = false;
    RepaintStrip();
    CloseActivePage();
    return true;
  }
  if (sheet->CloseButtonMouseIn || sheet->CloseButtonMouseDown) {
    ClearCloseFlags(sheet);
    RepaintStrip();
  }
  return false;
}

void TksSkinPageControl::CloseActivePage() {
  TTabSheet* page = ActivePage();
  if (!page) return;
  bool canClose = true;
  if (OnClose) OnClose(page, canClose);
  if (canClose) {
    if (auto* sheet = dynamic_cast<TksSkinCustomTabSheet*>(page)) ClearCloseFlags(sheet);
    page->SetTabVisible(false);
    if (FreeOnClose) page->Free();
    FMouseInTab = FOldMouseInTab = -1;
    FMouseInPage = FOldMouseInPage = -1;
    UpdateScroller();
    Invalidate();
    if (OnAfterClose) OnAfterClose(this);
    return;
  }
  POINT cursor{};
  GetCursorPos(&cursor);
  const TPoint local = ScreenToClient(Point(cursor.x, cursor.y));
  const TRect client = ClientRect();
  if (PtInRect(&client, local)) return;
  if (auto* sheet = dynamic_cast<TksSkinCustomTabSheet*>(page)) ClearCloseFlags(sheet);
  RepaintStrip();
}
