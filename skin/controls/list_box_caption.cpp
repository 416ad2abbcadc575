// The skinned list's caption strip: the caption text and the up, down and check buttons.
#include <algorithm>

#include "skin/controls/list_box.h"
#include "skin/draw/default_glyphs.h"
#include "skin/draw/pixel_copy.h"
#include "skin/draw/text_draw.h"

using namespace lumoa::skin;

namespace {

constexpr UINT_PTR kCaptionRepeatTimer = 3;
constexpr UINT kFirstRepeatMs = 500;
constexpr UINT kNextRepeatMs = 100;

bool EmptyRect(const RECT& r) { return r.right - r.left <= 0 || r.bottom - r.top <= 0; }

}  // namespace

void TksSkinCustomListBox::SetCaptionMode(bool Value) {
  if (FCaptionMode == Value) return;
  FCaptionMode = Value;
  if (FRowCount) SetRowCount(FRowCount);
  Layout();
  Invalidate();
}

void TksSkinCustomListBox::SetDefaultCaptionHeight(int Value) {
  if (Value < 0 || Value == FDefaultCaptionHeight) return;
  FDefaultCaptionHeight = Value;
  if (FRowCount) SetRowCount(FRowCount);
  Layout();
  Invalidate();
}

void TksSkinCustomListBox::SetShowCaptionButtons(bool Value) {
  FShowCaptionButtons = Value;
  Invalidate();
}

void TksSkinCustomListBox::SetAlignment(TksAlignment Value) {
  FAlignment = Value;
  Invalidate();
}

TRect TksSkinCustomListBox::CaptionRect() {
  if (!FCaptionMode) return Rect(0, 0, 0, 0);
  if (FListSkinned) {
    TRect r = FListSkin.CaptionRect;
    if (!EmptyRect(r)) r.right += Width() - Skin().SkinWidth();
    return r;
  }
  return Rect(1, 1, Width() - 1, FDefaultCaptionHeight);
}

TRect TksSkinCustomListBox::CaptionButtonRect(CaptionButton B) {
  if (!FCaptionMode || !FShowCaptionButtons) return Rect(0, 0, 0, 0);
  if (FListSkinned) {
    TRect r = FListSkin.ButtonRects[B];
    // Buttons centred in the right half keep their distance to the right edge.
    if (!EmptyRect(r) && r.left + r.right > Skin().SkinWidth()) OffsetRect(&r, Width() - Skin().SkinWidth(), 0);
    return r;
  }
  const int top = std::max(1, (FDefaultCaptionHeight - 16) / 2), w = Width();
  switch (B) {
    case CheckButton: return Rect(3, top, 19, top + 16);
    case UpButton: return Rect(w - 37, top, w - 21, top + 16);
    case DownButton: return Rect(w - 19, top, w - 3, top + 16);
  }
  return Rect(0, 0, 0, 0);
}

void TksSkinCustomListBox::PaintCaption(TBitmap* B, bool Skinned) {
  TCanvas* c = B->Canvas();
  TRect text = CaptionRect();
  if (EmptyRect(text)) return;
  if (!Skinned) {
    c->Brush().SetColor(clBtnFace);
    c->FillRect(text);
  }
  for (int i = 0; i < 3; ++i) {
    const TRect r = CaptionButtonRect(static_cast<CaptionButton>(i));
    if (EmptyRect(r)) continue;
    const bool hot = FHotButton == i, down = FPressedButton == i && hot;
    if (i == CheckButton) text.left = std::max<LONG>(text.left, r.right + 2);
    else text.right = std::min<LONG>(text.right, r.left - 2);
    if (Skinned) {
      // Hot and pressed images cover the button; at rest it is a glyph on the frame.
      const RECT piece = down ? FListSkin.DownButtonRects[i] : FListSkin.ActiveButtonRects[i];
      if (hot && !EmptyRect(piece) && Skin().Picture) {
        StretchBlt(c->Handle(), r.left, r.top, RectWidth(r), RectHeight(r),
                   Skin().Picture->Canvas()->Handle(), piece.left, piece.top, RectWidth(piece),
                   RectHeight(piece), SRCCOPY);
        continue;
      }
      const TColor glyph = static_cast<TColor>(FListSkin.CaptionFontColor);
      if (i == CheckButton) {
        DrawCheckGlyph(c, r.left + (RectWidth(r) - 8) / 2, r.top + (RectHeight(r) - 8) / 2, glyph);
      } else {
        DrawArrowGlyph(c, r, i == UpButton ? ArrowDirection::Up : ArrowDirection::Down, glyph);
      }
      continue;
    }
    PaintPlainLook(c, r, down ? TksPlainState::Pressed : hot ? TksPlainState::Hot : TksPlainState::Normal);
    const TColor glyph = Enabled() ? clBtnText : clBtnShadow;
    if (i == CheckButton) DrawCheckGlyph(c, r.left + 4, r.top + 4, glyph);
    else DrawArrowGlyph(c, r, i == UpButton ? ArrowDirection::Up : ArrowDirection::Down, glyph);
  }
  const AnsiString caption = Caption();
  if (caption.empty()) return;
  if (Skinned && UseSkinFont()) {
    AssignSkinTextFont(&c->Font(), true, FListSkin.CaptionFontName, FListSkin.CaptionFontHeight,
                       FListSkin.CaptionFontStyle, SkinData(), &FDefaultCaptionFont);
    c->Font().SetColor(static_cast<TColor>(FListSkin.CaptionFontColor));
  } else {
    c->Font().Assign(&FDefaultCaptionFont);
  }
  c->Brush().SetStyle(bsClear);
  const int width = c->TextWidth(caption);
  int offset = 0;
  if (FAlignment == kaCenter) offset = (RectWidth(text) - width) / 2 - 2;
  if (FAlignment == kaRightJustify) offset = RectWidth(text) - width - 4;
  DrawCaptionAt(c, caption, text, std::max(0, offset));
}

int TksSkinCustomListBox::CaptionButtonAt(TPoint P) {
  for (int i = 0; i < 3; ++i) {
    const TRect r = CaptionButtonRect(static_cast<CaptionButton>(i));
    if (!EmptyRect(r) && PtInRect(&r, P)) return i;
  }
  return -1;
}

void TksSkinCustomListBox::CaptionButtonStep(int Button) {
  switch (Button) {
    case UpButton:
      if (OnUpButtonClick) OnUpButtonClick(this);
      else if (ItemIndex() > 0) SetItemIndex(ItemIndex() - 1);
      return;
    case DownButton:
      if (OnDownButtonClick) OnDownButtonClick(this);
      else if (ItemIndex() < Items()->Count() - 1) SetItemIndex(ItemIndex() + 1);
      return;
    case CheckButton:
      if (OnCheckButtonClick) OnCheckButtonClick(this);
      return;
  }
}

void TksSkinCustomListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TksSkinCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !FCaptionMode) return;
  FPressedButton = CaptionButtonAt(Point(X, Y));
  if (FPressedButton < 0) return;
  FHotButton = FPressedButton;
  Invalidate();
  CaptionButtonStep(FPressedButton);
  if (FPressedButton != CheckButton && HandleAllocated()) {
    SetTimer(Handle(), kCaptionRepeatTimer, kFirstRepeatMs, nullptr);
  }
}

void TksSkinCustomListBox::MouseMove(TShiftState Shift, int X, int Y) {
  TksSkinCustomControl::MouseMove(Shift, X, Y);
  if (!FCaptionMode) return;
  int hot = CaptionButtonAt(Point(X, Y));
  if (FPressedButton >= 0 && hot != FPressedButton) hot = -1;
  if (hot == FHotButton) return;
  FHotButton = hot;
  Invalidate();
}

void TksSkinCustomListBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft && FPressedButton >= 0) {
    FPressedButton = -1;
    if (HandleAllocated()) KillTimer(Handle(), kCaptionRepeatTimer);
    Invalidate();
  }
  TksSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TksSkinCustomListBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_TIMER:
      if (Message.WParam == kCaptionRepeatTimer) {
        SetTimer(Handle(), kCaptionRepeatTimer, kNextRepeatMs, nullptr);
        // Paused while the pointer is off the held button.
        if (FPressedButton >= 0 && FHotButton == FPressedButton) CaptionButtonStep(FPressedButton);
        return;
      }
      break;
    case CM_MOUSELEAVE:
      if (FHotButton >= 0) {
        FHotButton = -1;
        Invalidate();
      }
      break;
  }
  TksSkinCustomControl::Dispatch(Message);
}
