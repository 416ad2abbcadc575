#include "skin/controls/combo_box.h"

#include <algorithm>

#include "skin/draw/layer_manager.h"
#include "skin/draw/pixel_copy.h"
#include "skin/draw/platform_entry.h"

using namespace lumoa::skin;

namespace {

bool EmptyRect(const RECT& r) { return r.right - r.left <= 0 || r.bottom - r.top <= 0; }
RECT Or(const RECT& r, const RECT& fallback) { return EmptyRect(r) ? fallback : r; }

}  // namespace

TksSkinCustomComboBox::TksSkinCustomComboBox(TComponent* AOwner) : TksSkinCustomControl(AOwner) {
  SetControlStyle({csAcceptsControls, csCaptureMouse, csDoubleClicks, csOpaque});
  Font()->SetName("Arial");
  Font()->SetHeight(14);
  Font()->SetColor(clWindowText);
  Font()->SetStyle({});
  DefaultFont()->Assign(Font());
  SetTabStop(true);
  FPopup = new TksPopupListBox(this);
  // The combo sees the list's messages first while the list is open.
  FListProc = FPopup->ListBox()->WindowProc;
  FPopup->ListBox()->WindowProc = [this](TMessage& m) { ListWindowProc(m); };
  SetSkinDataName("combobox");
  SetBounds(Left(), Top(), 120, 20);
}

TksSkinCustomComboBox::~TksSkinCustomComboBox() = default;

void TksSkinCustomComboBox::Destroying() {
  // The list outlives the combo's own parts for a moment: it must not call back into them.
  if (FPopup) FPopup->ListBox()->WindowProc = FListProc;
  TksSkinCustomControl::Destroying();
}

void TksSkinCustomComboBox::Notification(TComponent* AComponent, TOperation Operation) {
  TksSkinCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPopup) FPopup = nullptr;
}

void TksSkinCustomComboBox::SetDropDownCount(int Value) {
  if (Value < 1) return;
  FDropDownCount = Value;
}

void TksSkinCustomComboBox::SetUseSkinSize(bool Value) {
  if (FToolButtonStyle) Value = false;
  if (FUseSkinSize == Value) return;
  FUseSkinSize = Value;
  if (SkinIndex() >= 0) ApplySkin();
  CalcRects();
  Invalidate();
}

void TksSkinCustomComboBox::SetToolButtonStyle(bool Value) {
  if (FToolButtonStyle == Value) return;
  FToolButtonStyle = Value;
  if (Value) {
    SetStyle(kscbFixedStyle);
    FUseSkinSize = false;
  }
  CalcRects();
  Invalidate();
}

void TksSkinCustomComboBox::SetDefaultColor(TColor Value) {
  FDefaultColor = Value;
  if (FEdit) FEdit->SetColor(Value);
  Invalidate();
}

void TksSkinCustomComboBox::SetImageIndex(int Value) {
  FPopup->ImageIndex = Value;
  Invalidate();
}

AnsiString TksSkinCustomComboBox::GetText() { return FFaceText; }

void TksSkinCustomComboBox::SetTextBuf(const AnsiString& Value) { SetFaceText(Value); }

void TksSkinCustomComboBox::SetFaceText(const AnsiString& Value) {
  if (Value == FFaceText) return;
  FFaceText = Value;
  if (FEdit && !FSyncingEdit && FEdit->Text() != Value) {
    FSyncingEdit = true;
    FEdit->SetText(Value);
    FSyncingEdit = false;
  }
  Invalidate();
  if (OnChange) OnChange(this);
}

void TksSkinCustomComboBox::SetItemIndex(int Value) {
  FPopup->SetItemIndex(Value);
  const int index = FPopup->ItemIndex();
  if (Items()->Count() > 0 && index != -1) SetFaceText(Items()->Get(index));
  FRememberedIndex = index;
  Invalidate();
  const TComponentState state = ComponentState();
  if (state.Contains(csLoading) || state.Contains(csDesigning)) return;
  if (OnClick) OnClick(this);
}

// ---- skin ----

void TksSkinCustomComboBox::LoadSkinRecord() {
  TksSkinCustomControl::LoadSkinRecord();
  const auto* r = dynamic_cast<const TksDataSkinComboBox*>(SkinRecord());
  FComboSkinned = r != nullptr && Skin().Picture != nullptr;
  if (!r) {
    FCombo = TksComboBoxSkin{};
    return;
  }
  FCombo.ActiveSkinRect = r->activeskinrect;
  FCombo.ItemRect = r->itemrect;
  FCombo.ActiveItemRect = r->activeitemrect;
  FCombo.FocusItemRect = Or(r->focusitemrect, r->itemrect);
  FCombo.ItemLeftOffset = r->itemleftoffset;
  FCombo.ItemRightOffset = r->itemrightoffset;
  FCombo.ItemTextRect = r->itemtextrect;
  FCombo.FontName = r->fontname;
  FCombo.FontHeight = r->fontheight;
  FCombo.FontStyle = FontStylesOf(r->fontstyle);
  FCombo.FontColor = r->fontcolor;
  FCombo.FocusFontColor = r->focusfontcolor;
  FCombo.ActiveFontColor = r->activefontcolor;
  FCombo.ButtonRect = r->buttonrect;
  FCombo.ActiveButtonRect = r->activebuttonrect;
  FCombo.DownButtonRect = r->downbuttonrect;
  FCombo.UnenabledButtonRect = r->unenabledbuttonrect;
  FCombo.ItemStretchEffect = r->itemstretcheffect;
  FCombo.FocusItemStretchEffect = r->focusitemstretcheffect;
  FCombo.ListBoxName = r->listboxname;
  FCombo.ShowFocus = r->showfocus;
}

void TksSkinCustomComboBox::FitSizeToSkin(int& AWidth, int& AHeight) {
  if (!FUseSkinSize || FToolButtonStyle) {
    // Free size: the geometry follows, the proposal stays.
    int w = AWidth, h = AHeight;
    TksSkinCustomControl::FitSizeToSkin(w, h);
    return;
  }
  TksSkinCustomControl::FitSizeToSkin(AWidth, AHeight);
}

void TksSkinCustomComboBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TksSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  CalcRects();
  PlaceEdit();
}

void TksSkinCustomComboBox::CalcRects() {
  const int w = Width(), h = Height();
  if (!FComboSkinned || FToolButtonStyle) {
    FButtonRect = Rect(w - 19, 2, w - 2, h - 2);
    FItemRect = Rect(2, 2, FButtonRect.left - 1, h - 2);
    return;
  }
  const TksSkinRecordData& s = Skin();
  FButtonRect = FCombo.ButtonRect;
  if (FButtonRect.left >= s.SkinWidth() - s.RightTopPoint.x) {
    OffsetRect(&FButtonRect, w - s.SkinWidth(), 0);
  }
  FItemRect = Rect(s.ClientRect.left, s.ClientRect.top, w - (s.SkinWidth() - s.ClientRect.right),
                   s.ClientRect.bottom);
  if (!FUseSkinSize) {
    FButtonRect.bottom += h - s.SkinHeight();
    FItemRect.bottom += h - s.SkinHeight();
  }
}

void TksSkinCustomComboBox::SetSkinData(TksSkinData* Value) {
  TksSkinCustomControl::SetSkinData(Value);
  FPopup->SetSkinData(Value);
}

void TksSkinCustomComboBox::ApplySkin() {
  TksSkinCustomControl::ApplySkin();
  LoadSkinRecord();
  CalcRects();
  FPopup->SetSkinDataName(FComboSkinned ? FCombo.ListBoxName : AnsiString());
  FPopup->SetSkinData(SkinData());
  FPopup->ApplySkin();
  UpdateEditFont();
  Invalidate();
}

void TksSkinCustomComboBox::ReleaseSkin() {
  TksSkinCustomControl::ReleaseSkin();
  FPopup->ReleaseSkin();
}

// ---- opening and closing ----

void TksSkinCustomComboBox::DropDown() {
  if (FDroppedDown || Items()->Count() == 0) return;
  FTrackingEntered = false;
  StopAutoScroll();
  if (OnDropDown) OnDropDown(this);
  const int count = Items()->Count();
  if (count == 0) return;
  if (!FPopup->HandleAllocated()) FPopup->SetParentWindow(GetAncestor(Handle(), GA_ROOT));
  FPopup->HandleNeeded();
  FPopup->SetSkinDataName(FComboSkinned ? FCombo.ListBoxName : AnsiString());
  if (FPopup->SkinData() != SkinData()) FPopup->SetSkinData(SkinData());
  const int width = ListBoxWidth > 0 ? ListBoxWidth : Width();
  FPopup->SetBounds(FPopup->Left(), FPopup->Top(), width, FPopup->Height());
  const int rows = std::min(FDropDownCount, count);
  FPopup->SetRowCount(rows);
  TPoint p = ClientToScreen(Point(0, Height()));
  const RECT work = GetMonitorArea(Handle(), MonitorArea::Work);
  if (p.y + FPopup->Height() > work.bottom) p.y = ClientToScreen(Point(0, 0)).y - FPopup->Height();
  // Kept inside the work area sideways as well, so no part of the list is off screen.
  p.x = std::max<int>(work.left, std::min<int>(p.x, work.right - FPopup->Width()));
  if (FEdit && FEdit->CanFocus() && !FEdit->Focused()) FEdit->SetFocus();
  FRememberedIndex = ItemIndex();
  if (FRememberedIndex == 0 && count >= 2) {
    FPopup->SetItemIndex(1);
    FPopup->SetItemIndex(0);
  }
  FDroppedDown = true;
  if (FToolButtonStyle) Invalidate();
  const int index = ItemIndex();
  if (index >= 0) {
    const int top = FPopup->ListBox()->TopIndex();
    if (index < top) FPopup->SetTopItem(index);
    else if (index >= top + rows) FPopup->SetTopItem(index - rows + 1);
  }
  const bool layered = AlphaBlend && TksLayerManager::LayeredWindowsAvailable();
  const BYTE alpha = !layered ? 255 : AlphaBlendAnimation ? 0 : AlphaBlendValue;
  FPopup->ShowAt(p, alpha);
  if (layered && AlphaBlendAnimation) FadeIn();
  Invalidate();
}

void TksSkinCustomComboBox::FadeIn() {
  const int step = std::max(1, AlphaBlendValue / 15);
  int alpha = 0, waits = 0;
  DWORD last = GetTickCount();
  while (alpha < AlphaBlendValue && FDroppedDown && FPopup->Visible()) {
    Application->ProcessMessages();
    const DWORD now = GetTickCount();
    // A clock that does not move (a test's virtual one) must not hold the list half faded.
    if (now - last <= 5 && ++waits < 50) {
      Sleep(1);
      continue;
    }
    waits = 0;
    last = now;
    alpha = std::min<int>(AlphaBlendValue, alpha + step);
    FPopup->SetAlpha(static_cast<BYTE>(alpha));
  }
}

void TksSkinCustomComboBox::CloseUp(bool AcceptValue) {
  StopAutoScroll();
  if (FTracking) {
    FTracking = false;
    if (GetCapture() == Handle()) ReleaseCapture();
  }
  if (FPopup->Visible()) FPopup->HidePopup();
  const int index = FPopup->ItemIndex();
  if (index == -1) {
    FPopup->SetItemIndex(FRememberedIndex);
  } else if (AcceptValue && index < Items()->Count()) {
    SetFaceText(Items()->Get(index));
    if (FEdit) FEdit->SelectAll();
    FRememberedIndex = index;
    Invalidate();
    if (OnClick) OnClick(this);
  } else {
    FPopup->SetItemIndex(FRememberedIndex);
  }
  FDroppedDown = false;
  FButtonPressed = false;
  Invalidate();
  if (OnCloseUp) OnCloseUp(this);
}
