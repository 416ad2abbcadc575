// The combo box's edit style: an inner edit in the item area that draws its text over the
// combo's face, hands its keys, cancel-mode and focus changes to the combo, and searches the
// list as the user types.
#include <algorithm>

#include "skin/controls/combo_box.h"

TksComboEdit::TksComboEdit(TksSkinCustomComboBox* Combo) : TksCustomEdit(Combo), FCombo(Combo) {}

void TksComboEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      FCombo->PaintFaceUnder(reinterpret_cast<HDC>(Message.WParam), BoundsRect());
      Message.Result = 1;
      return;
    case CM_CANCELMODE:
      FCombo->Perform(CM_CANCELMODE, Message.WParam, Message.LParam);
      return;
    case WM_SETFOCUS:
      TksCustomEdit::Dispatch(Message);
      FCombo->EditFocusChanged(true, reinterpret_cast<HWND>(Message.WParam));
      return;
    case WM_KILLFOCUS:
      TksCustomEdit::Dispatch(Message);
      FCombo->EditFocusChanged(false, reinterpret_cast<HWND>(Message.WParam));
      return;
    case WM_GETDLGCODE:
      TksCustomEdit::Dispatch(Message);
      if (FCombo->DroppedDown()) Message.Result |= DLGC_WANTALLKEYS;
      return;
  }
  TksCustomEdit::Dispatch(Message);
}

void TksComboEdit::KeyDown(WORD& Key, TShiftState Shift) {
  FSwallowChar = false;
  FCombo->EditKeyDown(Key, Shift);
  // Enter and Escape that closed the list are not the form's dialog keys as well.
  if (Key == 0) {
    FSwallowChar = true;
    return;
  }
  TksCustomEdit::KeyDown(Key, Shift);
}

void TksComboEdit::KeyPress(WCHAR& Key) {
  if (FSwallowChar && (Key == WTEXT('\r') || Key == 0x1B)) {
    FSwallowChar = false;
    Key = 0;
    return;
  }
  if (FCombo->OnKeyPress) FCombo->OnKeyPress(FCombo, Key);
  if (Key) TksCustomEdit::KeyPress(Key);
}

void TksComboEdit::Change() {
  TksCustomEdit::Change();
  FCombo->EditChanged();
}

TksCustomEdit* TksSkinCustomComboBox::Edit() const { return FEdit; }

TksComboEdit* TksSkinCustomComboBox::CreateEdit() { return new TksComboEdit(this); }

void TksSkinCustomComboBox::SetStyle(TksComboBoxStyle Value) {
  if (FToolButtonStyle) Value = kscbFixedStyle;
  if (FStyle == Value) return;
  FStyle = Value;
  if (Value == kscbEditStyle) {
    const bool focused = HandleAllocated() && Focused();
    FEdit = CreateEdit();
    FEdit->SetBorderStyle(bsNone);
    FEdit->SetColor(FDefaultColor);
    FEdit->HideSelection = FHideSelection;
    FEdit->SetCharCase(FCharCase);
    FEdit->SetParent(this);
    SetTabStop(false);
    FEdit->SetTabStop(true);
    FSyncingEdit = true;
    FEdit->SetText(FFaceText);
    FSyncingEdit = false;
    UpdateEditFont();
    PlaceEdit();
    if (focused && FEdit->CanFocus()) FEdit->SetFocus();
  } else if (FEdit) {
    TksComboEdit* edit = FEdit;
    FEdit = nullptr;
    edit->Free();
    SetTabStop(true);
  }
  Invalidate();
}

void TksSkinCustomComboBox::SetHideSelection(bool Value) {
  FHideSelection = Value;
  if (FEdit) FEdit->HideSelection = Value;
}

void TksSkinCustomComboBox::SetCharCase(TEditCharCase Value) {
  FCharCase = Value;
  if (FEdit) FEdit->SetCharCase(Value);
}

void TksSkinCustomComboBox::PlaceEdit() {
  if (!FEdit) return;
  TBitmap probe(1, 1);
  probe.Canvas()->Font().Assign(FEdit->Font());
  const int cell = probe.Canvas()->TextHeight("Wg");
  const int h = std::min<int>(cell, FItemRect.bottom - FItemRect.top);
  const int top = FItemRect.top + (FItemRect.bottom - FItemRect.top - h) / 2;
  FEdit->SetBounds(FItemRect.left + 2, top, std::max<int>(0, FItemRect.right - FItemRect.left - 2), h);
}

void TksSkinCustomComboBox::UpdateEditFont() {
  if (!FEdit) return;
  TFont* f = FEdit->Font();
  if (FComboSkinned) {
    AssignSkinTextFont(f, UseSkinFont(), FCombo.FontName, FCombo.FontHeight, FCombo.FontStyle,
                       SkinData(), DefaultFont());
    f->SetColor(FaceFontColor(false));
    const bool active = !IsRectEmptyArea(FCombo.ActiveSkinRect) && (FaceFocused() || FMouseIn);
    if (Enabled() && active) f->SetColor(static_cast<TColor>(FCombo.ActiveFontColor));
  } else {
    f->Assign(DefaultFont());
    if (!Enabled()) f->SetColor(clGrayText);
  }
  PlaceEdit();
  FEdit->Invalidate();
}

void TksSkinCustomComboBox::PaintFaceUnder(HDC DC, const TRect& Area) {
  const int w = Width(), h = Height();
  if (w <= 0 || h <= 0) return;
  LoadSkinRecord();
  TBitmap face(w, h);
  if (FComboSkinned) PaintSkinImage(&face);
  else PaintDefaultImage(&face);
  BitBlt(DC, 0, 0, Area.right - Area.left, Area.bottom - Area.top, face.Canvas()->Handle(),
         Area.left, Area.top, SRCCOPY);
}

void TksSkinCustomComboBox::EditKeyDown(WORD& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
  if (Key == 0) return;
  HandleKey(Key, Shift);
}

void TksSkinCustomComboBox::EditChanged() {
  if (FSyncingEdit || !FEdit) return;
  const AnsiString text = FEdit->Text();
  const int found = text.empty() ? -1 : FindPrefix(AnsiToWide(text), -1);
  if (found >= 0) {
    if (AutoComplete) FPopup->SetItemIndex(found);
    else FPopup->SetTopItem(found);
  }
  FSyncingEdit = true;
  SetFaceText(text);
  FSyncingEdit = false;
}

void TksSkinCustomComboBox::EditFocusChanged(bool Gained, HWND Other) {
  if (!Gained && FDroppedDown && (!HandleAllocated() || Other != Handle())) CloseUp(false);
  UpdateEditFont();
  Invalidate();
}
