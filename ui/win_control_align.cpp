// Alignment of a window control's children: top, bottom, left, right, then the client rest.
#include "ui/win_control.h"

#include <algorithm>
#include <vector>

#include "ui/forms.h"
#include "ui/win_control_parts.h"

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

void TWinControl::AdjustClientRect(TRect& /*Rect*/) {}

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
