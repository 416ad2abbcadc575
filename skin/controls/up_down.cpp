#include "skin/controls/up_down.h"

#include <algorithm>

#include "skin/data/other_control_records.h"
#include "skin/draw/default_glyphs.h"

using namespace lumoa::skin;

namespace {
// A held button repeats: first after the delay, then at the rate.
constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kRepeatDelay = 500;
constexpr UINT kRepeatRate = 50;
}  // namespace

TksSkinUpDown::TksSkinUpDown(TComponent* AOwner) : TksSkinCustomControl(AOwner) {
  SetSkinDataName("updown");
  SetControlStyle(ControlStyle() + TControlStyle{csCaptureMouse});
  SetBounds(Left(), Top(), 32, 16);
}

TksSkinUpDown::~TksSkinUpDown() = default;

void TksSkinUpDown::SetMin(int Value) {
  FMin = Value;
  if (FMax < FMin) FMax = FMin;
  SetPosition(FPosition);
}

void TksSkinUpDown::SetMax(int Value) {
  FMax = Value;
  if (FMin > FMax) FMin = FMax;
  SetPosition(FPosition);
}

void TksSkinUpDown::SetPosition(int Value) {
  Value = std::clamp(Value, FMin, FMax);
  if (Value == FPosition) return;
  FPosition = Value;
  Invalidate();
}

void TksSkinUpDown::SetIncrement(int Value) { FIncrement = Value > 0 ? Value : 1; }

void TksSkinUpDown::SetOrientation(TksUpDownOrientation Value) {
  if (FOrientation == Value) return;
  FOrientation = Value;
  Invalidate();
}

RECT TksSkinUpDown::PartRect(Part P) {
  const int w = Width(), h = Height();
  const bool horz = FOrientation == TksUpDownOrientation::Horizontal;
  if (P == None) return RECT{0, 0, 0, 0};
  if (horz) return P == Down ? RECT{0, 0, w / 2, h} : RECT{w / 2, 0, w, h};
  return P == Up ? RECT{0, 0, w, h / 2} : RECT{0, h / 2, w, h};
}

TksSkinUpDown::Part TksSkinUpDown::PartAt(int X, int Y) {
  const POINT p{X, Y};
  for (Part part : {Down, Up}) {
    const RECT r = PartRect(part);
    if (PtInRect(&r, p)) return part;
  }
  return None;
}

void TksSkinUpDown::Step(int Delta) {
  const int next = std::clamp(FPosition + Delta * FIncrement, FMin, FMax);
  if (next == FPosition) return;
  FPosition = next;
  Invalidate();
  if (OnChange) OnChange(this, FPosition);
}

void TksSkinUpDown::SetHot(Part P) {
  if (FHot == P) return;
  FHot = P;
  Invalidate();
}

void TksSkinUpDown::PaintDefaultImage(TBitmap* B) {
  B->SetSize(Width(), Height());
  TCanvas* c = B->Canvas();
  const bool horz = FOrientation == TksUpDownOrientation::Horizontal;
  for (Part part : {Down, Up}) {
    const RECT r = PartRect(part);
    TksPlainState state = TksPlainState::Normal;
    if (FPressed == part) {
      state = TksPlainState::Pressed;
    } else if (FHot == part) {
      state = TksPlainState::Hot;
    }
    PaintPlainLook(c, TRect{r}, state);
    ArrowDirection dir = part == Up ? ArrowDirection::Up : ArrowDirection::Down;
    if (horz) dir = part == Up ? ArrowDirection::Right : ArrowDirection::Left;
    const bool atEnd = part == Up ? FPosition >= FMax : FPosition <= FMin;
    DrawArrowGlyph(c, r, dir, atEnd ? clBtnShadow : clBtnText);
  }
}

void TksSkinUpDown::PaintSkinImage(TBitmap* B) {
  TksSkinCustomControl::PaintSkinImage(B);
  const auto* rec = dynamic_cast<const TksDataSkinUpDownControl*>(SkinRecord());
  TBitmap* pic = Skin().Picture;
  if (!rec || !pic || pic->Empty()) return;
  // Placement rectangles are relative to skinrect; a button on the far half moves with the
  // control's extra size.
  const int dx = B->Width() - Skin().SkinWidth(), dy = B->Height() - Skin().SkinHeight();
  for (Part part : {Down, Up}) {
    if (FPressed != part && FHot != part) continue;
    RECT place = part == Up ? rec->upbuttonrect : rec->downbuttonrect;
    if (place.left * 2 >= Skin().SkinWidth()) OffsetRect(&place, dx, 0);
    if (place.top * 2 >= Skin().SkinHeight()) OffsetRect(&place, 0, dy);
    const RECT image = FPressed == part ? (part == Up ? rec->downupbuttonrect : rec->downdownbuttonrect)
                                        : (part == Up ? rec->activeupbuttonrect : rec->activedownbuttonrect);
    if (IsRectEmpty(&image) || IsRectEmpty(&place)) continue;
    B->Canvas()->CopyRect(TRect{place}, pic->Canvas(), TRect{image});
  }
}

void TksSkinUpDown::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      const Part p = PartAt(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
      FPressed = p;
      Invalidate();
      TksSkinCustomControl::Dispatch(Message);
      if (p == None) return;
      if (HandleAllocated()) SetTimer(Handle(), kRepeatTimer, kRepeatDelay, nullptr);
      Step(p == Up ? 1 : -1);
      return;
    }
    case WM_TIMER:
      if (Message.WParam != kRepeatTimer) break;
      if (FPressed == None) {
        KillTimer(Handle(), kRepeatTimer);
        return;
      }
      SetTimer(Handle(), kRepeatTimer, kRepeatRate, nullptr);
      if (FHot == FPressed) Step(FPressed == Up ? 1 : -1);
      return;
    case WM_LBUTTONUP:
      if (HandleAllocated()) KillTimer(Handle(), kRepeatTimer);
      if (FPressed != None) {
        FPressed = None;
        Invalidate();
      }
      break;
    case WM_MOUSEMOVE:
      SetHot(PartAt(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)));
      break;
    case CM_MOUSELEAVE:
      SetHot(None);
      break;
  }
  TksSkinCustomControl::Dispatch(Message);
}
