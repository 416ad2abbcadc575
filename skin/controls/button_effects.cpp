// The timed effects of TksSkinButton: the cross-fade between normal and hot, the frame
// animation, the auto-repeat, and the layered glow around a hovered button.
#include "skin/controls/button.h"

#include <algorithm>

#include "skin/draw/bitmap_target.h"
#include "skin/draw/layer_manager.h"

using namespace lumoa::skin;

namespace {

constexpr UINT_PTR kMorphTimer = 1;
constexpr UINT_PTR kAnimationTimer = 2;
constexpr UINT_PTR kRepeatTimer = 3;
constexpr UINT kMorphInterval = 20;
constexpr UINT kRepeatDelay = 500;
constexpr double kMorphStep = 0.2;

}  // namespace

bool TksSkinButton::SetButtonTimer(UINT_PTR Id, UINT Interval) {
  if (!HandleAllocated()) return false;
  return SetTimer(Handle(), Id, Interval, nullptr) != 0;
}

void TksSkinButton::KillButtonTimer(UINT_PTR Id) {
  if (HandleAllocated()) KillTimer(Handle(), Id);
}

void TksSkinButton::TimerFired(UINT_PTR Id) {
  switch (Id) {
    case kMorphTimer:
      MorphTick();
      return;
    case kAnimationTimer:
      AnimationTick();
      return;
    case kRepeatTimer:
      RepeatTick();
      return;
  }
}

// ---- morph ----

void TksSkinButton::StartMorph() {
  if (!MorphActive()) {
    Invalidate();
    return;
  }
  if (!FMorphTimer) FMorphTimer = SetButtonTimer(kMorphTimer, kMorphInterval);
  if (!FMorphTimer) Invalidate();
}

void TksSkinButton::MorphTick() {
  const bool lit = FMouseIn || IsFocused();
  if (lit && FMorphFactor < 1) {
    // Snapped so that five steps land on 1 exactly despite binary fractions.
    FMorphFactor = std::min(1.0, FMorphFactor + kMorphStep);
    if (FMorphFactor > 1 - 1e-9) FMorphFactor = 1;
  } else if (!lit && FMorphFactor > 0) {
    FMorphFactor = std::max(0.0, FMorphFactor - kMorphStep);
    if (FMorphFactor < 1e-9) FMorphFactor = 0;
  } else {
    FMorphFactor = lit ? 1 : 0;
    StopMorph();
  }
  Invalidate();
}

void TksSkinButton::StopMorph() {
  if (FMorphTimer) KillButtonTimer(kMorphTimer);
  FMorphTimer = false;
}

// ---- frame animation ----

void TksSkinButton::StartAnimation(bool Forward) {
  if (!AnimationPossible()) return;
  StopAnimation();
  FAnimForward = Forward;
  FAnimFrame = Forward ? 1 : FButtonSkin.FrameCount;
  FAnimTimer = SetButtonTimer(kAnimationTimer, static_cast<UINT>(std::max(1, FButtonSkin.AnimateInterval)));
  Invalidate();
}

void TksSkinButton::AnimationTick() {
  FAnimFrame += FAnimForward ? 1 : -1;
  if (FAnimFrame > FButtonSkin.FrameCount || FAnimFrame <= 0) StopAnimation();
  Invalidate();
}

void TksSkinButton::StopAnimation() {
  if (FAnimTimer) KillButtonTimer(kAnimationTimer);
  FAnimTimer = false;
}

// ---- repeat ----

void TksSkinButton::StartRepeat() {
  StopRepeat();
  FRepeatFirst = true;
  FRepeatTimer = SetButtonTimer(kRepeatTimer, kRepeatDelay);
}

void TksSkinButton::RepeatTick() {
  if (FRepeatFirst) {
    FRepeatFirst = false;
    SetButtonTimer(kRepeatTimer, static_cast<UINT>(std::max(1, RepeatInterval)));
  }
  Click();
}

void TksSkinButton::StopRepeat() {
  if (FRepeatTimer) KillButtonTimer(kRepeatTimer);
  FRepeatTimer = false;
  FRepeatFirst = false;
}

// ---- glow ----

bool TksSkinButton::GlowAllowed() const {
  return SkinData() && !SkinData()->Empty() && TksLayerManager::LayeredWindowsAvailable() &&
         (SkinData()->ShowButtonGlowFrames || AlwaysShowLayeredFrame) &&
         FButtonSkin.GlowPictureIndex != -1;
}

void TksSkinButton::ShowGlow() {
  LoadSkinRecord();
  if (!HasRecord() || !GlowAllowed() || !HandleAllocated() || !IsShowing()) return;
  const TksButtonSkin& s = FButtonSkin;
  TBitmap* picture = SkinData()->ActivePicture(s.GlowPictureIndex);
  TBitmap* mask = SkinData()->ActivePicture(s.GlowMaskPictureIndex);
  if (!picture || picture->Empty()) return;
  const int dw = Width() - FSkin.SkinWidth(), dh = Height() - FSkin.SkinHeight();
  // A glow fitted to no size, or to one no window can have, is not shown.
  const auto fits = [&](const TBitmap* b) {
    const int64_t w = int64_t{b->Width()} + dw, h = int64_t{b->Height()} + dh;
    return w > 0 && h > 0 && w <= 32767 && h <= 32767;
  };
  if (FSkin.CompositionMode != cmFixed && (!fits(picture) || (mask && !fits(mask)))) return;
  // Offsets from the skin are taken as they come, held where the arithmetic stays in range.
  const auto less = [](int size, int offset) {
    return static_cast<int>(std::clamp<int64_t>(int64_t{size} - offset, INT32_MIN, INT32_MAX));
  };
  TBitmap fittedPicture, fittedMask;
  TBitmap* shownPicture = picture;
  TBitmap* shownMask = mask;
  auto whole = [](TBitmap* b) { return RECT{0, 0, b->Width(), b->Height()}; };
  switch (FSkin.CompositionMode) {
    case cmFixed:
      break;
    case cmHorizontal: {
      if (!FUseSkinSize) return;
      auto fit = [&](TBitmap* src, TBitmap* dst) {
        ComposeHorzSkinImage(s.GlowOffsetLeft, s.GlowOffsetRight, dst, true, src->Width() + dw, src,
                             whole(src));
      };
      fit(picture, &fittedPicture);
      shownPicture = &fittedPicture;
      if (mask) {
        fit(mask, &fittedMask);
        shownMask = &fittedMask;
      }
      break;
    }
    case cmNinePart: {
      auto fit = [&](TBitmap* src, TBitmap* dst) {
        dst->SetSize(src->Width() + dw, src->Height() + dh);
        const RECT client{s.GlowOffsetLeft, s.GlowOffsetTop, less(src->Width(), s.GlowOffsetRight),
                          less(src->Height(), s.GlowOffsetBottom)};
        StretchSkinImage(dst, src, whole(src), client, true);
      };
      fit(picture, &fittedPicture);
      shownPicture = &fittedPicture;
      if (mask) {
        fit(mask, &fittedMask);
        shownMask = &fittedMask;
      }
      break;
    }
    default:
      return;
  }
  if (shownPicture->Empty()) return;
  TCustomForm* form = GetParentForm(this);
  FGlow->Topmost = form && form->HandleAllocated() &&
                   (GetWindowLongPtrW(form->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  const TPoint origin = ClientToScreen(Point(0, 0));
  FGlow->Show(less(origin.x, s.GlowShowOffsetX), less(origin.y, s.GlowShowOffsetY),
              static_cast<BYTE>(std::clamp(s.GlowAlphaBlendValue, 0, 255)), shownPicture,
              shownMask);
}

void TksSkinButton::HideGlow() {
  // Whatever allowed the glow to show, it goes when the pointer goes.
  if (FGlow->Visible()) FGlow->Hide();
}
