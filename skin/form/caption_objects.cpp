#include "skin/form/caption_objects.h"

#include <algorithm>

#include "skin/draw/bitmap_target.h"
#include "skin/draw/effects.h"
#include "skin/draw/pixel_copy.h"
#include "skin/draw/text_draw.h"
#include "skin/form/form_skinner.h"

using namespace lumoa::skin;

namespace {

bool Empty(const RECT& r) { return IsRectEmptyArea(r); }

constexpr double kMorphStep = 0.2;

}  // namespace

// ---- TksActiveSkinObject ----

TksActiveSkinObject::TksActiveSkinObject(TksMarluneForm* Parent, TksDataSkinObject* Data)
    : FParent(Parent), FData(Data), FName(Data->Name()) {
  TksSkinData* sd = Parent->SkinData();
  Hint = Data->hint;
  ActivePicture = sd ? sd->ActivePicture(Data->activepictureindex) : nullptr;
  ActiveMask = sd ? sd->ActivePicture(Data->activemaskpictureindex) : nullptr;
  Picture = Data->skinrectinapicture ? ActivePicture : Parent->MainPicture();
  SkinRect = Data->skinrect;
  ActiveSkinRect = Data->activeskinrect;
  InActiveSkinRect = Data->inactiveskinrect;
  Morphing = Data->morphing && !Empty(ActiveSkinRect);
  MorphKind = Data->morphkind;
  GlowLayerPictureIndex = Data->glowlayerpictureindex;
  GlowLayerMaskPictureIndex = Data->glowlayermaskpictureindex;
  GlowLayerOffsetX = Data->glowlayeroffsetx;
  GlowLayerOffsetY = Data->glowlayeroffsety;
  GlowLayerAlphaBlendValue = Data->glowlayeralphablendvalue;
  ObjectRect = SkinRect;
}

TksActiveSkinObject::~TksActiveSkinObject() { HideGlow(); }

bool TksActiveSkinObject::PointIn(POINT P) const {
  if (!PtInRect(&ObjectRect, P)) return false;
  if (!ActiveMask || ActiveMask->Empty()) return true;
  const int x = P.x - ObjectRect.left + SkinRect.left, y = P.y - ObjectRect.top + SkinRect.top;
  if (x < 0 || y < 0 || x >= ActiveMask->Width() || y >= ActiveMask->Height()) return false;
  return (ActiveMask->PixelRGB(x, y) & 0xFFFFFF) == 0;
}

RECT TksActiveSkinObject::StateRect(bool Hot, TBitmap*& Source) const {
  Source = ActivePicture;
  if (!FormActive && !Empty(InActiveSkinRect)) return InActiveSkinRect;
  if (Hot && !Empty(ActiveSkinRect)) return ActiveSkinRect;
  Source = Picture;
  return SkinRect;
}

void TksActiveSkinObject::ComposeImage(TBitmap* Source, const RECT& Rect, PixelBuffer& Out) const {
  const int w = RectWidth(ObjectRect), h = RectHeight(ObjectRect);
  Out.Resize(std::max(w, 0), std::max(h, 0), 4);
  if (!Source || Source->Empty() || Empty(Rect) || w <= 0 || h <= 0) return;
  PixelBuffer scratch;
  const PixelMap src = ReadablePixels(*Source, scratch);
  const int rw = RectWidth(Rect), rh = RectHeight(Rect);
  // An object that spans the frame's stretched middle keeps its two ends and stretches (or
  // tiles) what lies between, the way the frame's top side does.
  if (const TksSkinData* sd = FParent->SkinData(); sd && w != rw && rh == h) {
    const TksDataSkinFormInfo& fi = sd->FormInfo;
    const int left = std::clamp<int>(fi.lefttoppoint.x - SkinRect.left, 0, rw);
    const int right = std::clamp<int>(SkinRect.right - fi.righttoppoint.x, 0, rw - left);
    if (fi.righttoppoint.x > SkinRect.left && fi.righttoppoint.x < SkinRect.right &&
        rw - left - right > 0) {
      ComposeHorzSkinImage(left, right, Out, fi.topstretch, w, src, Rect);
      return;
    }
  }
  CopyRectPixels(Out.Map(), RECT{0, 0, w, h}, src, Rect);
}

void TksActiveSkinObject::Draw(TBitmap* Target, POINT Origin) {
  if (!Target || Target->Empty()) return;
  const PixelMap dst = BitmapPixels(*Target);
  if (dst.Empty()) return;
  Draw(dst, Target->Canvas(), Origin);
}

void TksActiveSkinObject::ComposeLook(PixelBuffer& Out) {
  TBitmap* source = nullptr;
  const bool morph = MorphFactor > 0 && MorphFactor < 1 && FormActive;
  const RECT r = StateRect(morph ? false : Active || MorphFactor >= 1, source);
  ComposeImage(source, r, Out);
  if (morph) {
    PixelBuffer hot;
    TBitmap* hotSource = nullptr;
    const RECT hr = StateRect(true, hotSource);
    ComposeImage(hotSource, hr, hot);
    MorphByKind(MorphKind, Out.Map(), hot.Map(), MorphFactor);
  }
}

void TksActiveSkinObject::Draw(const PixelMap& dst, TCanvas*, POINT Origin) {
  if (dst.Empty()) return;
  PixelBuffer image;
  ComposeLook(image);
  const double toward = FormActive ? 1 : 0;
  if (ActiveFade != toward) {
    // Mid-fade: the look being left, blended into the one reached.
    PixelBuffer from;
    FormActive = !FormActive;
    ComposeLook(from);
    FormActive = !FormActive;
    const double reached = FormActive ? ActiveFade : 1 - ActiveFade;
    MorphByKind(mkDefault, from.Map(), image.Map(), reached);
    image = std::move(from);
  }
  const RECT place{ObjectRect.left - Origin.x, ObjectRect.top - Origin.y,
                   ObjectRect.right - Origin.x, ObjectRect.bottom - Origin.y};
  CopyRectPixels(dst, place, image.Map(), RECT{0, 0, image.Width(), image.Height()});
}

void TksActiveSkinObject::Redraw() { FParent->RedrawObject(this); }

void TksActiveSkinObject::MouseEnter() {
  MouseIn = true;
  Active = true;
  FMorphDirection = 1;
  if (Morphing && FParent->EffectsEnabled()) {
    FParent->StartMorphTimer();
  } else {
    MorphFactor = 1;
    Redraw();
  }
  if (FParent->OnMouseEnterEvent) FParent->OnMouseEnterEvent(FName);
  ShowGlow();
}

void TksActiveSkinObject::MouseLeave() {
  MouseIn = false;
  Active = false;
  FMorphDirection = -1;
  if (Morphing && FParent->EffectsEnabled()) {
    FParent->StartMorphTimer();
  } else {
    MorphFactor = 0;
    Redraw();
  }
  HideGlow();
  if (FParent->OnMouseLeaveEvent) FParent->OnMouseLeaveEvent(FName);
}

void TksActiveSkinObject::MouseDown(TMouseButton Button, POINT P) {
  FParent->RaiseObjectEvent(0, this, Button, P);
}

void TksActiveSkinObject::MouseUp(TMouseButton Button, POINT P) {
  FParent->RaiseObjectEvent(1, this, Button, P);
}

void TksActiveSkinObject::MouseMove(POINT P) { FParent->RaiseObjectEvent(2, this, mbLeft, P); }

void TksActiveSkinObject::SetFormActive(bool Value, bool Fade) {
  const double target = Value ? 1 : 0;
  if (FormActive == Value && (Fade || ActiveFade == target)) return;
  FormActive = Value;
  if (!Fade) ActiveFade = target;
  Redraw();
}

bool TksActiveSkinObject::FadeStep() {
  const double target = FormActive ? 1 : 0;
  if (ActiveFade == target) return false;
  ActiveFade = std::clamp(ActiveFade + (FormActive ? kMorphStep : -kMorphStep), 0.0, 1.0);
  if (ActiveFade > 1 - 1e-9) ActiveFade = 1;
  if (ActiveFade < 1e-9) ActiveFade = 0;
  Redraw();
  return ActiveFade != target;
}

bool TksActiveSkinObject::MorphDone() const {
  return FMorphDirection == 0 || (FMorphDirection > 0 && MorphFactor >= 1) ||
         (FMorphDirection < 0 && MorphFactor <= 0);
}

bool TksActiveSkinObject::MorphStep() {
  if (MorphDone()) {
    FMorphDirection = 0;
    return false;
  }
  MorphFactor = std::clamp(MorphFactor + kMorphStep * FMorphDirection, 0.0, 1.0);
  // Steps of 0.2 do not add up to 1 exactly in binary.
  if (MorphFactor > 1 - 1e-9) MorphFactor = 1;
  if (MorphFactor < 1e-9) MorphFactor = 0;
  Redraw();
  return !MorphDone();
}

void TksActiveSkinObject::ShowGlow() { FParent->ShowObjectGlow(this); }
void TksActiveSkinObject::HideGlow() { FParent->HideObjectGlow(this); }

// ---- TksSkinCaptionObject ----

TksSkinCaptionObject::TksSkinCaptionObject(TksMarluneForm* Parent, TksDataSkinCaption* Data)
    : TksActiveSkinObject(Parent, Data), FCaption(Data) {}

void TksSkinCaptionObject::Draw(const PixelMap& Target, TCanvas* Canvas, POINT Origin) {
  TksActiveSkinObject::Draw(Target, Canvas, Origin);
  if (Canvas) DrawCaptionText(Canvas, Origin);
}

void TksSkinCaptionObject::DrawCaptionText(TCanvas* c, POINT Origin) {
  TCustomForm* form = FParent->Form();
  const AnsiString text = form->Caption();
  RECT r = Empty(FCaption->textrect)
               ? ObjectRect
               : RECT{ObjectRect.left + FCaption->textrect.left, ObjectRect.top + FCaption->textrect.top,
                      ObjectRect.left + FCaption->textrect.right +
                          (RectWidth(ObjectRect) - RectWidth(SkinRect)),
                      ObjectRect.top + FCaption->textrect.bottom};
  if (TextRight > 0) r.right = std::min<LONG>(r.right, TextRight);
  OffsetRect(&r, -Origin.x, -Origin.y);
  const bool active = FormActive;
  if (FCaption->fontname.empty()) {
    c->SetFont(active ? *FParent->DefCaptionFont() : *FParent->DefInActiveCaptionFont());
  } else {
    TFont& f = c->Font();
    f.SetName(FCaption->fontname);
    f.SetHeight(FCaption->fontheight);
    TFontStyles st;
    if (FCaption->fontstyle.Bold) st.Include(fsBold);
    if (FCaption->fontstyle.Italic) st.Include(fsItalic);
    if (FCaption->fontstyle.Underline) st.Include(fsUnderline);
    if (FCaption->fontstyle.StrikeOut) st.Include(fsStrikeOut);
    f.SetStyle(st);
    f.SetColor(static_cast<TColor>(active ? FCaption->activefontcolor : FCaption->fontcolor));
  }
  if (TksSkinData* sd = FParent->SkinData(); sd && sd->ResourceStrData())
    c->Font().SetCharset(sd->ResourceStrData()->CharSet);
  if (!text.empty() && r.right > r.left) {
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
    format |= FCaption->alignment == kaCenter ? DT_CENTER
              : FCaption->alignment == kaLeftJustify ? DT_LEFT
                                                      : DT_RIGHT;
    const WideString wide = AnsiToWide(text);
    c->Brush().SetStyle(bsClear);
    const TColor color = c->Font().Color();
    auto at = [&](int dx, int dy, TColor col) {
      RECT m = r;
      OffsetRect(&m, dx, dy);
      c->Font().SetColor(col);
      DrawWideText(c, wide, m, format);
    };
    if (FCaption->shadow)
      at(1, 1, static_cast<TColor>(active ? FCaption->activeshadowcolor : FCaption->shadowcolor));
    if (FCaption->light)
      at(-1, -1, static_cast<TColor>(active ? FCaption->activelightcolor : FCaption->lightcolor));
    c->Font().SetColor(color);
    const bool glow = active ? FCaption->gloweffect : FCaption->glowinactiveeffect;
    if (glow) {
      DrawGlowText(c, r, wide,
                   static_cast<TColor>(active ? FCaption->glowactivecolor : FCaption->glowcolor),
                   FCaption->glowsize, FCaption->glowoffset, format);
    } else if (FCaption->reflectioneffect) {
      DrawReflectedText(c, r, wide,
                        static_cast<TColor>(active ? FCaption->reflactionactivecolor
                                                   : FCaption->reflactioncolor),
                        FCaption->reflectionoffset, format);
    } else {
      RECT m = r;
      DrawWideText(c, wide, m, format);
    }
  }
  if (FParent->OnCaptionPaint) FParent->OnCaptionPaint(c, TRect{r});
}

// ---- TksSkinButtonObject ----

TksSkinButtonObject::TksSkinButtonObject(TksMarluneForm* Parent, TksDataSkinButton* Data)
    : TksActiveSkinObject(Parent, Data), DownRect(Data->downrect) {}

RECT TksSkinButtonObject::StateRect(bool Hot, TBitmap*& Source) const {
  if (FDown && MouseIn && FormActive && !Empty(DownRect)) {
    Source = ActivePicture;
    return DownRect;
  }
  return TksActiveSkinObject::StateRect(Hot, Source);
}

void TksSkinButtonObject::MouseDown(TMouseButton Button, POINT P) {
  if (Button == mbLeft) {
    FDown = true;
    Redraw();
  }
  TksActiveSkinObject::MouseDown(Button, P);
}

void TksSkinButtonObject::MouseUp(TMouseButton Button, POINT P) {
  if (Button == mbLeft && FDown) {
    FDown = false;
    Redraw();
  }
  TksActiveSkinObject::MouseUp(Button, P);
}

void TksSkinButtonObject::MouseMove(POINT P) {
  const bool in = PointIn(P);
  if (FDown && in != MouseIn) {
    MouseIn = in;
    Active = in;
    MorphFactor = in ? 1 : 0;
    Redraw();
  }
  TksActiveSkinObject::MouseMove(P);
}

void TksSkinButtonObject::MouseLeave() {
  if (FDown) {
    // Pressed: the button keeps the mouse until it is released.
    MouseIn = false;
    Active = false;
    MorphFactor = 0;
    Redraw();
    return;
  }
  TksActiveSkinObject::MouseLeave();
}

// ---- TksSkinStdButtonObject ----

TksSkinStdButtonObject::TksSkinStdButtonObject(TksMarluneForm* Parent, TksDataSkinStdButton* Data)
    : TksSkinButtonObject(Parent, Data), RestoreHint(Data->restorehint), FCommand(Data->command),
      FStd(Data) {}

bool TksSkinStdButtonObject::RestoreState() const {
  switch (FCommand) {
    case cmMaximize: return FParent->IsMaximized();
    case cmMinimize: return FParent->IsMinimized();
    case cmRollUp: return FParent->RollUpState();
    default: return false;
  }
}

AnsiString TksSkinStdButtonObject::CurrentHint() const {
  return RestoreState() && !RestoreHint.empty() ? RestoreHint : Hint;
}

RECT TksSkinStdButtonObject::StateRect(bool Hot, TBitmap*& Source) const {
  if (!RestoreState() || Empty(FStd->restorerect))
    return TksSkinButtonObject::StateRect(Hot, Source);
  Source = ActivePicture;
  if (!FormActive && !Empty(FStd->restoreinactiverect)) return FStd->restoreinactiverect;
  if (FDown && MouseIn && !Empty(FStd->restoredownrect)) return FStd->restoredownrect;
  if (Hot && !Empty(FStd->restoreactiverect)) return FStd->restoreactiverect;
  return FStd->restorerect;
}

void TksSkinStdButtonObject::MouseDown(TMouseButton Button, POINT P) {
  TksSkinButtonObject::MouseDown(Button, P);
  if (Button != mbLeft || FCommand != cmSysMenu) return;
  const POINT o = FParent->WindowOrigin();
  FDown = false;
  Redraw();
  FParent->ShowSystemMenu(o.x + ObjectRect.left, o.y + ObjectRect.bottom);
}

void TksSkinStdButtonObject::MouseUp(TMouseButton Button, POINT P) {
  const bool act = Button == mbLeft && FDown && Active && MouseIn;
  TksSkinButtonObject::MouseUp(Button, P);
  if (!act || FCommand == cmSysMenu || FCommand == cmDefault) return;
  MouseIn = false;
  Active = false;
  MorphFactor = 0;
  // Last: the command may close the form.
  FParent->DoStdCommand(FCommand);
}

void TksSkinStdButtonObject::DblClick() {
  if (FCommand == cmSysMenu) FParent->DoStdCommand(cmClose);
}

// ---- TksSkinAnimateObject ----

TksSkinAnimateObject::TksSkinAnimateObject(TksMarluneForm* Parent, TksDataSkinAnimate* Data)
    : TksActiveSkinObject(Parent, Data), RestoreHint(Data->restorehint), FAnim(Data) {
  Morphing = false;
}

// The frame strip stands for the hot look: the current frame is drawn whether hot or not.
RECT TksSkinAnimateObject::StateRect(bool /*Hot*/, TBitmap*& Source) const {
  Source = Picture;
  if (FDown && FAnim->buttonstyle && !Empty(FAnim->downskinrect)) {
    Source = ActivePicture;
    return FAnim->downskinrect;
  }
  if (!FormActive && !Empty(InActiveSkinRect)) {
    Source = ActivePicture;
    return InActiveSkinRect;
  }
  RECT r = SkinRect;
  OffsetRect(&r, FFrame * RectWidth(SkinRect), 0);
  return r;
}

void TksSkinAnimateObject::MouseEnter() {
  TksActiveSkinObject::MouseEnter();
  if (FAnim->countframes > 1) FParent->StartMorphTimer();
}

void TksSkinAnimateObject::MouseLeave() {
  FDown = false;
  TksActiveSkinObject::MouseLeave();
  if (FAnim->countframes > 1) FParent->StartMorphTimer();
}

bool TksSkinAnimateObject::AnimationStep() {
  const int last = std::max(FAnim->countframes - 1, 0);
  int next = FFrame;
  if (MouseIn) {
    next = FFrame < last ? FFrame + 1 : (FAnim->cycle ? 0 : last);
  } else if (FFrame > 0) {
    next = FFrame - 1;
  }
  if (next == FFrame) return false;
  FFrame = next;
  Redraw();
  return MouseIn ? (FAnim->cycle || FFrame < last) : FFrame > 0;
}

void TksSkinAnimateObject::MouseDown(TMouseButton Button, POINT P) {
  if (Button == mbLeft) {
    FDown = true;
    Redraw();
  }
  TksActiveSkinObject::MouseDown(Button, P);
  if (Button == mbLeft && FAnim->command == cmSysMenu) {
    FDown = false;
    const POINT o = FParent->WindowOrigin();
    FParent->ShowSystemMenu(o.x + ObjectRect.left, o.y + ObjectRect.bottom);
  }
}

void TksSkinAnimateObject::MouseUp(TMouseButton Button, POINT P) {
  const bool act = Button == mbLeft && FDown && MouseIn;
  FDown = false;
  Redraw();
  TksActiveSkinObject::MouseUp(Button, P);
  if (!act || FAnim->command == cmSysMenu || FAnim->command == cmDefault) return;
  FParent->DoStdCommand(FAnim->command);
}

// ---- factory ----

std::unique_ptr<TksActiveSkinObject> MakeSkinObject(TksMarluneForm* Parent, TksDataSkinObject* Data) {
  if (dynamic_cast<TksDataSkinMenuItem*>(Data) || dynamic_cast<TksDataSkinMainMenuItem*>(Data) ||
      dynamic_cast<TksDataSkinMainMenuBarButton*>(Data))
    return nullptr;
  if (auto* c = dynamic_cast<TksDataSkinCaption*>(Data))
    return std::make_unique<TksSkinCaptionObject>(Parent, c);
  if (auto* s = dynamic_cast<TksDataSkinStdButton*>(Data))
    return std::make_unique<TksSkinStdButtonObject>(Parent, s);
  if (auto* b = dynamic_cast<TksDataSkinButton*>(Data))
    return std::make_unique<TksSkinButtonObject>(Parent, b);
  if (auto* a = dynamic_cast<TksDataSkinAnimate*>(Data))
    return std::make_unique<TksSkinAnimateObject>(Parent, a);
  return std::make_unique<TksSkinUserObject>(Parent, Data);
}
