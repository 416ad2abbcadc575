// Painting of TksSkinButton: choosing the face, composing it with its caption and glyph, the
// cross-fade between normal and hot, and the plain look without a record.
#include "skin/controls/button.h"

#include "skin/draw/bitmap_target.h"
#include "skin/draw/effect_bmp.h"
#include "skin/draw/text_draw.h"

using namespace lumoa::skin;

namespace {

bool EmptyRect(const RECT& r) { return r.right - r.left <= 0 || r.bottom - r.top <= 0; }

void Blend(TksEffectBmp& From, const TksEffectBmp& To, int Kind, double X) {
  switch (Kind) {
    case mkGradient:
      From.GradientMorph(To, X);
      break;
    case mkLeftGradient:
      From.LeftGradientMorph(To, X);
      break;
    case mkRightGradient:
      From.RightGradientMorph(To, X);
      break;
    case mkLeftSlide:
      From.LeftSlideMorph(To, X);
      break;
    case mkRightSlide:
      From.RightSlideMorph(To, X);
      break;
    case mkPush:
      From.PushMorph(To, X);
      break;
    default:
      From.Morph(To, X);
  }
}

}  // namespace

void TksSkinButton::PaintSkinImage(TBitmap* B) {
  if (!FSkin.Picture || FSkin.CompositionMode == cmNone) {
    PaintDefaultImage(B);
    return;
  }
  if (MorphActive() && Enabled() && FMorphFactor > 0 && FMorphFactor < 1) {
    TBitmap normal, hot;
    ComposeFace(&normal, FButtonSkin.NormalRect, false, false);
    ComposeFace(&hot, FButtonSkin.ActiveRect, true, false);
    TksEffectBmp from(normal.Handle());
    const TksEffectBmp to(hot.Handle());
    Blend(from, to, FButtonSkin.MorphKind, FMorphFactor);
    B->SetSize(from.Width(), from.Height());
    from.DrawTo(B->Canvas()->Handle(), 0, 0);
    return;
  }
  PaintFace(B);
}

void TksSkinButton::PaintFace(TBitmap* B) {
  const TksButtonSkin& s = FButtonSkin;
  const bool focused = IsFocused();
  if (!Enabled() && !EmptyRect(s.DisabledRect)) {
    ComposeFace(B, s.DisabledRect, false, false);
  } else if (ShowsDown()) {
    ComposeFace(B, s.DownRect, true, true);
  } else if (focused && !EmptyRect(s.FocusedRect) && !FAnimTimer) {
    ComposeFace(B, s.FocusedRect, true, false);
  } else if (focused || FMouseIn) {
    ComposeFace(B, s.ActiveRect, true, false);
  } else if (!MorphActive() || FMorphFactor != 1) {
    ComposeFace(B, s.NormalRect, false, false);
  } else {
    ComposeFace(B, s.ActiveRect, true, false);
  }
}

void TksSkinButton::ComposeFace(TBitmap* B, const RECT& Source, bool Hot, bool Down) {
  TRect text{};
  if (FUseSkinSize || FSkin.CompositionMode == cmNinePart) {
    BuildSkinImage(B, FSkin.Picture, Source);
    text = FSkin.NewClientRect;
  } else {
    B->SetSize(Width(), Height());
    if (FSkin.CompositionMode == cmFixed) {
      const int sw = Source.right - Source.left, sh = Source.bottom - Source.top;
      HDC dc = B->Canvas()->Handle();
      SetStretchBltMode(dc, COLORONCOLOR);
      StretchBlt(dc, 0, 0, Width(), Height(), FSkin.Picture->Canvas()->Handle(), Source.left,
                 Source.top, sw, sh, SRCCOPY);
    } else {
      StretchSkinImage(B, FSkin.Picture, Source, FSkin.ClientRect, true);
    }
    text = FSkin.ClientRect;
    text.right += B->Width() - (Source.right - Source.left);
    text.bottom += B->Height() - (Source.bottom - Source.top);
  }
  TCanvas* c = B->Canvas();
  PrepareFont(c, true);
  const TColor color = CaptionColor(Hot, Down);
  c->Font().SetColor(color);
  if (FButtonSkin.ShowFocus && IsFocused()) {
    c->Brush().SetStyle(bsSolid);
    c->Brush().SetColor(static_cast<TColor>(SkinData()->SkinColors.cbtnface));
    DrawDottedFrame(c, text);
    c->Brush().SetStyle(bsClear);
  }
  PaintContent(c, text, Hot, Down, color);
}

TColor TksSkinButton::CaptionColor(bool Hot, bool Down) {
  if (Enabled() && !FUseSkinFontColor) return DefaultFont()->Color();
  if (SkinIndex() == -1) return Enabled() ? DefaultFont()->Color() : clBtnShadow;
  const TksButtonSkin& s = FButtonSkin;
  if (!Enabled()) return static_cast<TColor>(s.DisabledFontColor);
  if (Hot && Down) return static_cast<TColor>(s.DownFontColor);
  if (Hot) return static_cast<TColor>(s.ActiveFontColor);
  return static_cast<TColor>(s.FontColor);
}

void TksSkinButton::PrepareFont(TCanvas* C, bool FromSkin) {
  TFont& f = C->Font();
  if (FromSkin && UseSkinFont() && SkinIndex() != -1) {
    f.SetName(FButtonSkin.FontName);
    f.SetHeight(FButtonSkin.FontHeight);
    f.SetStyle(FButtonSkin.FontStyle);
  } else {
    f.Assign(DefaultFont());
  }
  TksResourceStrData* strings = SkinData() ? SkinData()->ResourceStrData() : nullptr;
  f.SetCharset(strings ? strings->CharSet : DefaultFont()->Charset());
}

int TksSkinButton::GlyphNumber(bool Hot, bool Down) {
  if (Hot && Down && FNumGlyphs > 2) return 3;
  if (Hot && FNumGlyphs > 3) return 4;
  if (Enabled() || FNumGlyphs < 2) return 1;
  return 2;
}

void TksSkinButton::PaintContent(TCanvas* C, const TRect& TextRect, bool Hot, bool Down,
                                 TColor Color) {
  bool drawDefault = true;
  if (OnPaint) OnPaint(this, C, TextRect, Down, Hot, drawDefault);
  if (!drawDefault) return;
  C->Font().SetColor(Color);
  const auto layout = static_cast<TksGlyphLayout>(FLayout);
  if (FImageList && FImageIndex >= 0 && FImageIndex < FImageList->Count()) {
    DrawImageGlyphAndCaption(C, TextRect, FMargin, clBlack, GlyphMark::None, Enabled(),
                             PressedShift::None, FImageList, FImageIndex, Caption(), layout,
                             FSpacing);
    return;
  }
  DrawStripGlyphAndCaption(C, TextRect, FMargin, clBlack, GlyphMark::None, PressedShift::None,
                           GlyphNumber(Hot, Down), FNumGlyphs, FGlyph.get(), Caption(), layout,
                           FSpacing);
}

void TksSkinButton::PaintDefaultImage(TBitmap* B) {
  const TRect r{0, 0, Width(), Height()};
  B->SetSize(r.right, r.bottom);
  TCanvas* c = B->Canvas();
  const TksPlainState state = ShowsDown()                   ? TksPlainState::Pressed
                              : FMouseIn || IsFocused()     ? TksPlainState::Hot
                                                            : TksPlainState::Normal;
  PaintPlainLook(c, r, state);
  PrepareFont(c, false);
  const TColor color = Enabled() ? DefaultFont()->Color() : clBtnShadow;
  c->Font().SetColor(color);
  c->Brush().SetStyle(bsClear);
  PaintContent(c, r, FMouseIn, FDown, color);
}
