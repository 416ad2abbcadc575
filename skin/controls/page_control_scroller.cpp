// The tab scroller of the skinned page control: a skinned up-down child that appears while
// some tabs do not fit and scrolls the row through the platform's horizontal scroll request.
#include <algorithm>
#include <string_view>
#include <vector>

#include "skin/controls/page_control.h"
#include "skin/controls/up_down.h"

void TksSkinPageControl::RemovePlatformScroller() {
  if (!HandleAllocated()) return;
  HWND own = FScroller && FScroller->HandleAllocated() ? FScroller->Handle() : nullptr;
  std::vector<HWND> arrows;
  for (HWND c = GetWindow(Handle(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (c == own || TWinControl::FindControl(c)) continue;
    WCHAR name[32] = {};
    GetClassNameW(c, name, 32);
    if (std::basic_string_view<WCHAR>(name) == std::basic_string_view<WCHAR>(UPDOWN_CLASSW)) arrows.push_back(c);
  }
  for (HWND c : arrows) DestroyWindow(c);
}

int TksSkinPageControl::CountTabsOutside() {
  // Past the scroller's left edge once there is one, so the last tab can come out from
  // under it.
  const int limit = FScroller ? FScroller->Left() : Width() - 3;
  int n = 0;
  const int count = VisibleTabCount();
  for (int i = 0; i < count; ++i) {
    const TRect r = GetTabRect(i);
    if (r.right > limit || r.right <= 0) ++n;
  }
  return n;
}

int TksSkinPageControl::CountTabsBefore() {
  int n = 0;
  const int count = VisibleTabCount();
  for (int i = 0; i < count; ++i) n += GetTabRect(i).right <= 0 ? 1 : 0;
  return n;
}

void TksSkinPageControl::PlaceScroller() {
  if (!FScroller) return;
  const int row = TabRowHeight();
  const int w = FScroller->Width(), h = FScroller->Height();
  // A scroller fitted to a smaller skin picture sits in the middle of the row's height.
  int top = std::max(0, (row - h) / 2);
  if (TabPosition() != tpTop) top = Height() - row + top;
  FScroller->SetBounds(Width() - w, top, w, h);
}

void TksSkinPageControl::UpdateScroller() {
  if (Designing() || !HandleAllocated() || ComponentState().Contains(csDestroying)) return;
  RemovePlatformScroller();
  const bool vertical = TabPosition() == tpLeft || TabPosition() == tpRight;
  const int outside = MultiLine() || vertical ? 0 : CountTabsOutside();
  if (outside == 0) {
    if (FScroller) {
      TksSkinUpDown* old = FScroller;
      FScroller = nullptr;
      old->Free();
    }
    return;
  }
  if (!FScroller) {
    auto* s = new TksSkinUpDown(this);
    s->SetSkinDataName(FSkin.UpDown);
    s->SetBounds(Width() - 2 * FDefaultItemHeight, 0, 2 * FDefaultItemHeight, FDefaultItemHeight);
    s->SetMin(0);
    s->SetMax(outside);
    s->SetPosition(CountTabsBefore());
    s->SetIncrement(1);
    s->OnChange = [this](TObject*, int Position) { ScrollerChanged(Position); };
    s->SetParent(this);
    s->SetSkinData(FSkinData);
    FScroller = s;
  } else {
    FScroller->SetMax(outside);
  }
  PlaceScroller();
}

void TksSkinPageControl::UpdateScrollerPosition() {
  if (!FScroller || FInScrollerUpdate) return;
  FScroller->SetPosition(CountTabsBefore());
}

void TksSkinPageControl::ScrollerChanged(int Position) {
  FInScrollerUpdate = true;
  Perform(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, Position), 0);
  if (FScroller) FScroller->SetMax(std::max(CountTabsOutside(), Position));
  FInScrollerUpdate = false;
}

