// The combo box's face: body, button and item layers from the combo record, or the plain look.
#include <algorithm>

#include "skin/controls/combo_box.h"
#include "skin/controls/edit.h"
#include "skin/draw/bitmap_target.h"
#include "skin/draw/default_glyphs.h"
#include "skin/draw/pixel_copy.h"
#include "skin/draw/text_draw.h"

using namespace lumoa::skin;

namespace {

bool EmptyRect(const RECT& r) { return r.right - r.left <= 0 || r.bottom - r.top <= 0; }

void CopyPiece(TBitmap* Dest, const TRect& To, TBitmap* Source, const RECT& From) {
  if (!Source || EmptyRect(From) || EmptyRect(To)) return;
  HDC dst = Dest->Canvas()->Handle();
  SetStretchBltMode(dst, COLORONCOLOR);
  StretchBlt(dst, To.left, To.top, RectWidth(To), RectHeight(To), Source->Canvas()->Handle(),
             From.left, From.top, RectWidth(From), RectHeight(From), SRCCOPY);
}

}  // namespace

bool TksSkinCustomComboBox::FaceFocused() {
  return (HandleAllocated() && Focused()) || (FEdit && FEdit->HandleAllocated() && FEdit->Focused());
}

TColor TksSkinCustomComboBox::FaceFontColor(bool Focused) {
  if (!Enabled()) {
    TksSkinData* data = SkinData();
    const int i = data && !data->Empty() ? data->GetControlIndex("edit") : -1;
    const auto* edit =
        i >= 0 ? dynamic_cast<const TksDataSkinEditControl*>(data->ControlRecords[size_t(i)].get())
               : nullptr;
    return edit ? static_cast<TColor>(edit->disabledfontcolor) : clGrayText;
  }
  if (Focused) return static_cast<TColor>(FCombo.FocusFontColor);
  if (FMouseIn && !EmptyRect(FCombo.ActiveSkinRect)) return static_cast<TColor>(FCombo.ActiveFontColor);
  return static_cast<TColor>(FCombo.FontColor);
}

void TksSkinCustomComboBox::PaintSkinImage(TBitmap* B) {
  CalcRects();
  if (!FComboSkinned || FToolButtonStyle) {
    PaintDefaultImage(B);
    return;
  }
  const TksSkinRecordData& s = Skin();
  TBitmap* pic = s.Picture;
  const bool focused = FaceFocused();
  const bool active = !EmptyRect(FCombo.ActiveSkinRect) && (FMouseIn || focused);
  const RECT body = active ? FCombo.ActiveSkinRect : s.SkinRect;
  if (!FUseSkinSize) {
    B->SetSize(Width(), Height());
    StretchSkinImage(B, pic, body, s.ClientRect, true);
  } else if (active) {
    ComposeHorzSkinImage(s.LeftTopPoint.x, RectWidth(FCombo.ActiveSkinRect) - s.RightTopPoint.x, B,
                         s.StretchEffect, Width(), pic, FCombo.ActiveSkinRect);
  } else {
    TksSkinCustomControl::PaintSkinImage(B);
  }
  RECT button{};
  if (!Enabled() && !EmptyRect(FCombo.UnenabledButtonRect)) {
    button = FCombo.UnenabledButtonRect;
  } else if (FButtonPressed && FButtonHot) {
    button = FCombo.DownButtonRect;
  } else if (FButtonHot) {
    button = FCombo.ActiveButtonRect;
  }
  CopyPiece(B, FButtonRect, pic, button);
  if (FStyle == kscbFixedStyle) DrawFaceItem(B, true);
}

void TksSkinCustomComboBox::PaintDefaultImage(TBitmap* B) {
  CalcRects();
  const int w = Width(), h = Height();
  B->SetSize(w, h);
  TCanvas* c = B->Canvas();
  const TRect all = Rect(0, 0, w, h);
  c->Brush().SetColor(clBtnFace);
  c->FillRect(all);
  c->Brush().SetColor(clBtnShadow);
  c->FrameRect(all);
  if (!FToolButtonStyle) {
    c->Brush().SetColor(FDefaultColor);
    c->FillRect(Rect(1, 1, w - 1, h - 1));
  }
  const TksPlainState state = FButtonPressed && FButtonHot ? TksPlainState::Pressed
                              : FButtonHot                 ? TksPlainState::Hot
                                                           : TksPlainState::Normal;
  PaintPlainLook(c, FButtonRect, state);
  DrawArrowGlyph(c, FButtonRect, ArrowDirection::Down, Enabled() ? clBlack : clBtnShadow);
  if (FStyle == kscbFixedStyle) DrawFaceItem(B, false);
}

void TksSkinCustomComboBox::DrawFaceItem(TBitmap* B, bool Skinned) {
  const int index = FDroppedDown ? FRememberedIndex : ItemIndex();
  const int iw = RectWidth(FItemRect);
  const bool focused = FaceFocused();
  int ih = RectHeight(FItemRect);
  if (Skinned) ih = RectHeight(!EmptyRect(FCombo.ItemRect) ? FCombo.ItemRect : FCombo.FocusItemRect);
  ih = std::min(ih, B->Height());  // a skin's item taller than the face shows only the face
  if (iw <= 0 || ih <= 0) return;
  TBitmap image;
  TRect text;
  TCanvas* c = nullptr;
  if (Skinned) {
    TBitmap* pic = Skin().Picture;
    RECT piece = FCombo.ItemRect;
    bool stretch = FCombo.ItemStretchEffect;
    if (focused) {
      piece = FCombo.FocusItemRect;
      stretch = FCombo.FocusItemStretchEffect;
    } else if (FMouseIn && !EmptyRect(FCombo.ActiveItemRect) && !EmptyRect(FCombo.ActiveSkinRect)) {
      piece = FCombo.ActiveItemRect;
    }
    if (!EmptyRect(piece)) {
      ComposeHorzSkinImage(FCombo.ItemLeftOffset, FCombo.ItemRightOffset, &image, stretch, iw, pic,
                           piece);
    } else {
      // No piece for this state: the item sits on the face as it is.
      image.SetSize(iw, ih);
      BitBlt(image.Canvas()->Handle(), 0, 0, iw, ih, B->Canvas()->Handle(), FItemRect.left,
             FItemRect.top, SRCCOPY);
    }
    text = FCombo.ItemTextRect;
    text.right += iw - (!EmptyRect(FCombo.ItemRect) ? RectWidth(FCombo.ItemRect)
                                                    : RectWidth(Skin().ClientRect));
    c = image.Canvas();
    AssignSkinTextFont(&c->Font(), UseSkinFont(), FCombo.FontName, FCombo.FontHeight,
                       FCombo.FontStyle, SkinData(), DefaultFont());
    c->Font().SetColor(FaceFontColor(focused));
  } else {
    image.SetSize(iw, ih);
    c = image.Canvas();
    c->Brush().SetColor(focused ? clHighlight : FDefaultColor);
    c->FillRect(Rect(0, 0, iw, ih));
    c->Font().Assign(DefaultFont());
    if (focused) c->Font().SetColor(clHighlightText);
    if (!Enabled()) c->Font().SetColor(clGrayText);
    text = Rect(0, 0, iw - 2, ih);
    if (focused) {
      const RECT all{0, 0, iw, ih};
      DrawDottedFrame(c, all);
    }
  }
  if (index >= 0 && index < Items()->Count()) {
    TOwnerDrawState state;
    state.Include(odSelected);
    if (focused) state.Include(odFocused);
    if (!Enabled()) state.Include(odDisabled);
    if (OnComboBoxDrawItem) {
      OnComboBoxDrawItem(this, c, index, image.Width(), image.Height(), text, state);
    } else {
      if (Skinned && focused && FCombo.ShowFocus) {
        const TColor color = c->Font().Color();
        const TksSkinData* data = SkinData();
        c->Font().SetColor(data ? static_cast<TColor>(data->SkinColors.cbtnface) : clBtnFace);
        DrawDottedFrame(c, RECT{0, 0, image.Width(), image.Height()});
        c->Font().SetColor(color);
      }
      TImageList* images = Images();
      const int glyph = ImageIndex() >= 0 ? ImageIndex() : index;
      if (images && glyph < images->Count()) {
        images->Draw(c, text.left, text.top + (RectHeight(text) - images->Height()) / 2, glyph,
                     Enabled());
        text.left += images->Width() + 2;
      }
      c->Brush().SetStyle(bsClear);
      DrawTabbedCaption(c, Items()->Get(index), text, 0, TabStopsOf(*TabWidths()));
    }
  }
  BitBlt(B->Canvas()->Handle(), FItemRect.left, FItemRect.top, image.Width(), image.Height(),
         c->Handle(), 0, 0, SRCCOPY);
}
