// Input of TksSkinButton: the pointer entering and leaving, left presses and releases with
// toggle, group and repeat behaviour, Space and Enter, the form's dialog keys, focus and
// enabling.
#include "skin/controls/button.h"

bool TksSkinButton::MouseOver(int X, int Y) {
  const TRect r = ClientRect();
  const POINT p{X, Y};
  return PtInRect(&r, p) != 0;
}

void TksSkinButton::PointerEntered() {
  FPointerInside = true;
  if (OnMouseEnter) OnMouseEnter(this);
  MouseEntered();
}

void TksSkinButton::PointerLeft() {
  FPointerInside = false;
  if (OnMouseLeave) OnMouseLeave(this);
  MouseLeft();
}

void TksSkinButton::MouseEntered() {
  FMouseIn = true;
  const bool react = FGroupIndex != 0 ? !FDown : FDown || !IsFocused();
  if (react) {
    if (FDown) {
      if (MorphActive()) FMorphFactor = 1;
      Invalidate();
    } else {
      StartAnimation(true);
      MorphOrRepaint();
    }
  }
  if (FDown && RepeatMode && FGroupIndex == 0) StartRepeat();
  if (HandleAllocated()) PostMessageW(Handle(), WM_SHOWGLOWFRAME, 0, 0);
}

void TksSkinButton::MouseLeft() {
  // A default button stays lit while another kind of control holds the focus.
  if (!(FActiveDefault && !IsFocused())) FMouseIn = false;
  const bool react = FGroupIndex != 0 ? !FDown : FDown || !IsFocused();
  if (react) {
    StartAnimation(false);
    MorphOrRepaint();
  }
  if (FDown && RepeatMode && FGroupIndex == 0) StopRepeat();
  if (HandleAllocated()) PostMessageW(Handle(), WM_HIDEGLOWFRAME, 0, 0);
}

void TksSkinButton::LeftButtonDown(TMessage& Message) {
  if (FCanFocused && !Focused()) {
    if (CanFocus()) SetFocus();
    if (!Focused()) return;  // refused the focus: the press is dropped
  }
  TksSkinCustomControl::Dispatch(Message);
  StopAnimation();
  FMousePressed = true;
  if (!FDown) {
    FMouseIn = true;
    SetDown(true);
    if (FCheckedMode) {
      FToggledByPress = true;
      Click();
    } else if (RepeatMode && FGroupIndex == 0) {
      StartRepeat();
    } else if (FGroupIndex != 0) {
      Click();
    }
    FDownAtPress = false;
  } else if (FGroupIndex != 0) {
    FDownAtPress = true;
  }
}

void TksSkinButton::LeftButtonUp(TMessage& Message) {
  const bool pressed = FMousePressed;
  FMousePressed = false;
  const bool over = MouseOver(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
  // A release without our press (the press went to another window) changes nothing.
  if (pressed) {
    if (FCheckedMode) {
      if (FToggledByPress) {
        FToggledByPress = false;
      } else {
        SetDown(false);
        Click();
      }
    } else if (FGroupIndex == 0) {
      if (over) {
        const bool was = FDown;
        SetDown(false);
        StopRepeat();
        if (was) Click();
      } else {
        FDown = false;
        StopRepeat();
      }
    } else if (FDown && AllowAllUp && FDownAtPress && over) {
      SetDown(false);
      Click();
    }
  }
  if (HandleAllocated() && Visible()) TksSkinCustomControl::Dispatch(Message);
}

void TksSkinButton::KeyPressed(TMessage& Message, bool KeyDown) {
  switch (Message.WParam) {
    case VK_SPACE:
      if (KeyDown) {
        StopAnimation();
        FSpaceDown = true;
        SetDown(true);
        if (RepeatMode) Click();
      } else if (FSpaceDown) {
        FSpaceDown = false;
        SetDown(false);
        Click();
      }
      return;
    case VK_RETURN:
      if (KeyDown) Click();
      return;
  }
}

void TksSkinButton::DialogKey(TMessage& Message) {
  Message.Result = 0;
  switch (Message.WParam) {
    case VK_RETURN:
      if (!FActiveDefault || !Enabled()) return;
      break;
    case VK_ESCAPE:
      if (!Cancel || !FCanFocused || !CanFocus()) return;
      if (KeyboardShiftState() * TShiftState{ssShift, ssCtrl, ssAlt} != TShiftState{}) return;
      break;
    default:
      return;
  }
  Click();
  Message.Result = 1;
}

void TksSkinButton::FocusGained() {
  StartAnimation(true);
  MorphOrRepaint();
}

void TksSkinButton::FocusLost() {
  StopRepeat();
  if (FGroupIndex == 0) FDown = false;
  FSpaceDown = false;
  StartAnimation(false);
  MorphOrRepaint();
}

void TksSkinButton::EnabledChanged() {
  StopMorph();
  FMorphFactor = 0;
  FMouseIn = false;
  // A disabled button never clicks, not even from a repeat already under way.
  StopRepeat();
  Invalidate();
}
