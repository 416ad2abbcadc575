// TksSkinButton: properties, the record copy, the skin-change operations, the message switch
// and the default-button rule. Painting, input and the timed effects live beside it.
#include "skin/controls/button.h"

#include <algorithm>
#include <cwctype>

#include "skin/draw/layer_manager.h"

namespace {

bool EmptyRect(const RECT& r) { return r.right - r.left <= 0 || r.bottom - r.top <= 0; }

// Frame n (from 1) of Count equal frames cut from Strip: side by side when the strip is wider
// than one face, else stacked.
RECT FrameOf(const RECT& Strip, const RECT& Face, int Count, int N) {
  RECT r = Strip;
  if (Strip.right - Strip.left > Face.right - Face.left) {
    const int w = (Strip.right - Strip.left) / Count;
    r.left = Strip.left + w * (N - 1);
    r.right = Strip.left + w * N;
  } else {
    const int h = (Strip.bottom - Strip.top) / Count;
    r.top = Strip.top + h * (N - 1);
    r.bottom = Strip.top + h * N;
  }
  return r;
}

}  // namespace

TksSkinButton::TksSkinButton(TComponent* AOwner)
    : TksSkinCustomControl(AOwner),
      FGlyph(std::make_unique<TBitmap>()),
      FGlow(std::make_unique<TksLayerManager>(nullptr)) {
  SetControlStyle({csCaptureMouse, csOpaque, csSetCaption});
  SetSkinDataName("button");
  SetBounds(Left(), Top(), 75, 25);
  SetTabStop(true);
}

TksSkinButton::~TksSkinButton() {
  if (HandleAllocated()) {
    KillButtonTimer(1);
    KillButtonTimer(2);
    KillButtonTimer(3);
  }
  FGlow->Hide();
  if (FImageList) FImageList->RemoveFreeNotification(this);
}

// ---- properties ----

void TksSkinButton::SetCheckedMode(bool Value) {
  FCheckedMode = Value;
  if (Value) {
    SetGroupIndex(-1);
  } else if (FGroupIndex == -1) {
    SetGroupIndex(0);
  }
}

void TksSkinButton::SetImageList(TImageList* Value) {
  if (FImageList == Value) return;
  if (FImageList) FImageList->RemoveFreeNotification(this);
  FImageList = Value;
  if (FImageList) FImageList->FreeNotification(this);
  Invalidate();
}

void TksSkinButton::SetImageIndex(int Value) {
  FImageIndex = Value;
  Invalidate();
}

void TksSkinButton::SetUseSkinSize(bool Value) {
  if (FUseSkinSize == Value) return;
  FUseSkinSize = Value;
  if (ComponentState().Contains(csLoading)) return;
  // The mask and the fitted size follow the new rule at once.
  LoadSkinRecord();
  int w = Width(), h = Height();
  FitSizeToSkin(w, h);
  if (w != Width() || h != Height()) {
    SetBounds(Left(), Top(), w, h);
    return;
  }
  UpdateSkinRegion();
  Invalidate();
}

void TksSkinButton::SetUseSkinFontColor(bool Value) {
  FUseSkinFontColor = Value;
  Invalidate();
}

void TksSkinButton::SetCanFocused(bool Value) {
  FCanFocused = Value;
  SetTabStop(Value);
}

void TksSkinButton::SetDown(bool Value) {
  FDown = Value;
  if (MorphActive()) {
    FMorphFactor = 1;
    if (Value) {
      StopMorph();
    } else {
      StartMorph();
    }
  }
  Invalidate();
  if (FGroupIndex > 0 && FDown && !AllowAllUp && Parent()) {
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
      auto* b = dynamic_cast<TksSkinButton*>(Parent()->Controls(i));
      if (b && b != this && b->FGroupIndex == FGroupIndex && b->FDown) b->SetDown(false);
    }
  }
}

void TksSkinButton::SetGroupIndex(int Value) {
  FGroupIndex = Value;
  if (Value != 0) SetCanFocused(false);
}

void TksSkinButton::SetGlyph(TBitmap* Value) {
  if (Value) {
    FGlyph->Assign(Value);
  } else {
    FGlyph = std::make_unique<TBitmap>();
  }
  Invalidate();
}

void TksSkinButton::SetNumGlyphs(TksNumGlyphs Value) {
  FNumGlyphs = std::clamp(Value, 1, 4);
  Invalidate();
}

void TksSkinButton::SetMargin(int Value) {
  if (Value < -1) return;
  FMargin = Value;
  Invalidate();
}

void TksSkinButton::SetSpacing(int Value) {
  FSpacing = Value;
  Invalidate();
}

void TksSkinButton::SetLayout(TksButtonLayout Value) {
  FLayout = Value;
  Invalidate();
}

void TksSkinButton::SetDefault(bool Value) {
  FDefault = Value;
  if (!HandleAllocated() || !FCanFocused) return;
  if (TCustomForm* form = GetParentForm(this)) {
    form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(form->ActiveControl()));
  }
}

void TksSkinButton::Click() {
  if (FCanFocused) {
    if (TCustomForm* form = GetParentForm(this)) form->ModalResult = ModalResult;
  }
  // No action framework here: the button's own event is all there is to run.
  if (OnClick) OnClick(this);
}

// ---- skin ----

bool TksSkinButton::EffectsOn() const { return SkinData() && SkinData()->EnableSkinEffects; }

bool TksSkinButton::MorphActive() const { return HasRecord() && FButtonSkin.Morphing && EffectsOn(); }

bool TksSkinButton::AnimationPossible() const {
  return HasRecord() && EffectsOn() && !EmptyRect(FButtonSkin.AnimateRect) &&
         FButtonSkin.FrameCount > 0;
}

void TksSkinButton::LoadSkinRecord() {
  TksSkinCustomControl::LoadSkinRecord();
  FButtonSkin = TksButtonSkin{};
  if (SkinIndex() == -1) return;  // no record: no animation rectangle either
  FButtonSkin.NormalRect = FSkin.SkinRect;
  FButtonSkin.ActiveRect = FSkin.SkinRect;
  FButtonSkin.DownRect = FSkin.SkinRect;
  auto* r = dynamic_cast<TksDataSkinButtonControl*>(SkinRecord());
  if (!r) return;
  TksButtonSkin& s = FButtonSkin;
  s.FontName = r->fontname;
  s.FontHeight = r->fontheight;
  if (r->fontstyle.Bold) s.FontStyle.Include(fsBold);
  if (r->fontstyle.Italic) s.FontStyle.Include(fsItalic);
  if (r->fontstyle.Underline) s.FontStyle.Include(fsUnderline);
  if (r->fontstyle.StrikeOut) s.FontStyle.Include(fsStrikeOut);
  s.FontColor = r->fontcolor;
  s.ActiveFontColor = r->activefontcolor;
  s.DownFontColor = r->downfontcolor;
  s.DisabledFontColor = r->disabledfontcolor == r->fontcolor ? 8421504 : r->disabledfontcolor;
  s.ActiveRect = EmptyRect(r->activeskinrect) ? FSkin.SkinRect : r->activeskinrect;
  s.DownRect = EmptyRect(r->downskinrect) ? s.ActiveRect : r->downskinrect;
  s.FocusedRect = r->focusedskinrect;
  s.DisabledRect = r->disabledskinrect;
  s.Morphing = r->morphing;
  s.MorphKind = static_cast<int>(r->morphkind);
  s.AnimateRect = r->animateskinrect;
  s.FrameCount = r->framecount;
  s.AnimateInterval = r->animateinterval;
  s.ShowFocus = r->showfocus;
  s.MenuMarkerFlatRect = r->menumarkerflatrect;
  s.MenuMarkerRect = r->menumarkerrect;
  s.MenuMarkerActiveRect = r->menumarkeractiverect;
  s.MenuMarkerDownRect = r->menumarkerdownrect;
  s.MenuMarkerTransparentColor = r->menumarkertransparentcolor;
  s.GlowPictureIndex = r->glowlayerpictureindex;
  s.GlowMaskPictureIndex = r->glowlayermaskpictureindex;
  s.GlowOffsetLeft = r->glowlayeroffsetleft;
  s.GlowOffsetTop = r->glowlayeroffsettop;
  s.GlowOffsetRight = r->glowlayeroffsetright;
  s.GlowOffsetBottom = r->glowlayeroffsetbottom;
  s.GlowShowOffsetX = r->glowlayershowoffsetx;
  s.GlowShowOffsetY = r->glowlayershowoffsety;
  s.GlowAlphaBlendValue = r->glowlayeralphablendvalue;
  // A freely stretched button has no shape of its own.
  if (!FUseSkinSize) FSkin.Mask = nullptr;
  if (FAnimTimer && AnimationPossible() && FAnimFrame >= 1 && FAnimFrame <= s.FrameCount) {
    const RECT frame = FrameOf(s.AnimateRect, FSkin.SkinRect, s.FrameCount, FAnimFrame);
    if (FAnimForward) {
      s.ActiveRect = frame;
    } else {
      s.NormalRect = frame;
    }
  }
}

void TksSkinButton::FitSizeToSkin(int& AWidth, int& AHeight) {
  if (FUseSkinSize || FSkin.CompositionMode == lumoa::skin::cmNinePart) {
    TksSkinCustomControl::FitSizeToSkin(AWidth, AHeight);
    return;
  }
  if (SkinIndex() == -1 || FSkin.CompositionMode == lumoa::skin::cmNone) return;
  // Free stretch: the size stays, the text area grows with it.
  FSkin.NewClientRect = FSkin.ClientRect;
  FSkin.NewClientRect.right += AWidth - FSkin.SkinWidth();
  FSkin.NewClientRect.bottom += AHeight - FSkin.SkinHeight();
}

void TksSkinButton::ApplySkin() {
  StopMorph();
  StopAnimation();
  FMorphFactor = 0;
  TksSkinCustomControl::ApplySkin();
  if (FMouseIn || IsFocused()) FMorphFactor = 1;
  if (FMouseIn && HandleAllocated()) PostMessageW(Handle(), WM_SHOWGLOWFRAME, 0, 0);
}

void TksSkinButton::ReleaseSkin() {
  if (FGlow->Visible()) FGlow->Hide();
  TksSkinCustomControl::ReleaseSkin();
}

// ---- messages ----

void TksSkinButton::CreateWnd() {
  TksSkinCustomControl::CreateWnd();
  FActiveDefault = FDefault;
}

void TksSkinButton::Notification(TComponent* AComponent, TOperation Operation) {
  TksSkinCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImageList) {
    FImageList = nullptr;
    Invalidate();
  }
}

bool TksSkinButton::IsFocused() { return FCanFocused && Focused(); }

bool TksSkinButton::ShowsDown() {
  return FDown && (FGroupIndex != 0 || FMouseIn || (IsFocused() && !FMousePressed));
}

void TksSkinButton::FocusChanged(TWinControl* NewFocus) {
  auto* button = dynamic_cast<TksSkinButton*>(NewFocus);
  const bool was = FActiveDefault;
  FActiveDefault = button ? button == this : FDefault;
  if (FCanFocused && FDefault) {
    if (!button && !FMouseIn) {
      FMouseIn = true;
      if (MorphActive()) FMorphFactor = 1;
      Invalidate();
    } else if (button && button != this && FMouseIn && !FPointerInside) {
      FMouseIn = false;
      MorphOrRepaint();
    }
  }
  if (was != FActiveDefault) Invalidate();
}

bool TksSkinButton::IsAccel(WCHAR Char) {
  const WideString caption = AnsiToWide(Caption());
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != WTEXT('&')) continue;
    if (caption[i + 1] == WTEXT('&')) {  // "&&" is a literal ampersand
      ++i;
      continue;
    }
    return std::towupper(caption[i + 1]) == std::towupper(Char);
  }
  return false;
}

void TksSkinButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_TIMER:
      TimerFired(static_cast<UINT_PTR>(Message.WParam));
      return;
    case WM_SHOWGLOWFRAME:
      ShowGlow();
      return;
    case WM_HIDEGLOWFRAME:
      HideGlow();
      return;
    case CM_MOUSEENTER:
      if (!FPointerInside) PointerEntered();
      return;
    case CM_MOUSELEAVE:
      if (FPointerInside) PointerLeft();
      return;
    case WM_MOUSEMOVE: {
      TksSkinCustomControl::Dispatch(Message);
      // The pointer stays captured while the button is held, so crossing the edge is seen
      // here rather than by the platform's enter and leave notifications.
      const bool inside = MouseOver(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
      if (inside && !FPointerInside) PointerEntered();
      if (!inside && FPointerInside && MouseCapture()) PointerLeft();
      return;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      LeftButtonDown(Message);
      return;
    case WM_LBUTTONUP:
      LeftButtonUp(Message);
      return;
    case WM_KEYDOWN:
    case WM_KEYUP:
      if (FCanFocused) KeyPressed(Message, Message.Msg == WM_KEYDOWN);
      break;
    case CM_DIALOGKEY:
      DialogKey(Message);
      return;
    case CM_DIALOGCHAR:
      if (FCanFocused && IsAccel(static_cast<WCHAR>(Message.WParam)) && CanFocus()) {
        SetFocus();
        Click();
        Message.Result = 1;
        return;
      }
      Message.Result = 0;
      return;
    case CM_FOCUSCHANGED:
      FocusChanged(reinterpret_cast<TWinControl*>(Message.LParam));
      return;
    case WM_SETFOCUS:
      TksSkinCustomControl::Dispatch(Message);
      if (FCanFocused) FocusGained();
      return;
    case WM_KILLFOCUS:
      TksSkinCustomControl::Dispatch(Message);
      FocusLost();
      return;
    case CM_ENABLEDCHANGED:
      TksSkinCustomControl::Dispatch(Message);
      EnabledChanged();
      return;
    case CM_TEXTCHANGED:
      Invalidate();
      return;
    case WM_ERASEBKGND: {
      // Someone else asking for a picture of the button (not the button's own paint).
      HDC dc = reinterpret_cast<HDC>(Message.WParam);
      if (!InPaint() && dc && Width() > 0 && Height() > 0) {
        TBitmap b(Width(), Height());
        LoadSkinRecord();
        if (SkinIndex() == -1) {
          PaintDefaultImage(&b);
        } else {
          PaintSkinImage(&b);
        }
        BitBlt(dc, 0, 0, b.Width(), b.Height(), b.Canvas()->Handle(), 0, 0, SRCCOPY);
      }
      Message.Result = 1;
      return;
    }
  }
  TksSkinCustomControl::Dispatch(Message);
}
