// TksSkinCustomEdit: properties, the skin copy, the skin change, geometry and height.
#include <algorithm>

#include "skin/controls/edit.h"
#include "ui/forms.h"

namespace {

bool EmptyRect(const RECT& R) { return R.right <= R.left || R.bottom <= R.top; }

TFontStyles ToFontStyles(const TksFontStyles& S) {
  TFontStyles r;
  if (S.Bold) r.Include(fsBold);
  if (S.Italic) r.Include(fsItalic);
  if (S.Underline) r.Include(fsUnderline);
  if (S.StrikeOut) r.Include(fsStrikeOut);
  return r;
}

}  // namespace

TksSkinCustomEdit::TksSkinCustomEdit(TComponent* AOwner)
    : TksCustomEdit(AOwner), FDefaultFont(std::make_unique<TFont>()) {
  FBinding.SkinDataName = "edit";
  FDefaultFont->SetName("Arial");
  FDefaultFont->SetHeight(14);
  FDefaultFont->SetColor(clBlack);
  FDefaultFont->OnChange = [this](TObject* Sender) { DefaultFontChanged(Sender); };
  TFont* font = Font();
  font->SetName("Arial");
  font->SetHeight(14);
  font->SetColor(clBlack);
  font->SetStyle({});
  SetParentFont(false);
  SetControlStyle(ControlStyle() + TControlStyle{csOpaque});
  SetBorderStyle(bsNone);
  SetTransparentText(true);
  SetBounds(Left(), Top(), Width(), 20);
}

TksSkinCustomEdit::~TksSkinCustomEdit() {
  // The font's listener points back here.
  FDefaultFont->OnChange = nullptr;
}

// ---- binding ----

void TksSkinCustomEdit::SetSkinData(TksSkinData* Value) {
  if (FBinding.SkinData == Value) return;
  if (FBinding.SkinData) FBinding.SkinData->RemoveFreeNotification(this);
  FBinding.SkinData = Value;
  if (Value) Value->FreeNotification(this);
  if (Value && !ComponentState().Contains(csDesigning) && !Value->Empty()) ApplySkin();
}

void TksSkinCustomEdit::Notification(TComponent* AComponent, TOperation Operation) {
  TksCustomEdit::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FBinding.SkinData) {
    FBinding.SkinData = nullptr;
    FBinding.Index = -1;
    FAppliedData = nullptr;
    FSkin.Clear();
  }
  if (AComponent == FImages) FImages = nullptr;
}

TksSkinData* TksSkinCustomEdit::MenuSkinData() {
  if (TksSkinData* data = FormSkinnerData()) return data;
  if (FBinding.SkinData) return FBinding.SkinData;
  return TksCustomEdit::MenuSkinData();
}

void TksSkinCustomEdit::LoadSkinRecord() {
  FBinding.LookUp();
  auto* record = dynamic_cast<TksDataSkinEditControl*>(FBinding.Record());
  // Only an edit record says where the text goes; anything else draws the plain look.
  if (!record || !FSkin.Load(*FBinding.SkinData, *record) || EmptyRect(FSkin.SkinRect)) {
    FBinding.Index = -1;
    FSkin.Clear();
    return;
  }
  CopySkin(*record);
}

void TksSkinCustomEdit::CopySkin(const TksDataSkinEditControl& R) {
  FActiveSkinRect = EmptyRect(R.activeskinrect) ? R.skinrect : R.activeskinrect;
  FLeftOffset = R.lefttoppoint.x;
  FRightOffset = FSkin.SkinWidth() - R.righttoppoint.x;
  FSkinFontName = R.fontname;
  FSkinFontHeight = R.fontheight;
  FSkinFontStyle = ToFontStyles(R.fontstyle);
  FFontColor = static_cast<TColor>(R.fontcolor);
  FDisabledFontColor = static_cast<TColor>(R.disabledfontcolor);
  FActiveFontColor = static_cast<TColor>(R.activefontcolor);
  FButtonSrc = R.buttonrect;
  FActiveButtonSrc = R.activebuttonrect;
  FDownButtonSrc = EmptyRect(R.downbuttonrect) ? R.activebuttonrect : R.downbuttonrect;
  FUnenabledButtonSrc = R.unenabledbuttonrect;
}

const RECT& TksSkinCustomEdit::StateSkinRect() const {
  return (FMouseIn || const_cast<TksSkinCustomEdit*>(this)->Focused()) ? FActiveSkinRect
                                                                        : FSkin.SkinRect;
}

void TksSkinCustomEdit::ReleaseSkin() {
  FBinding.Index = -1;
  FAppliedIndex = -1;
  FAppliedData = nullptr;
  FSkin.Clear();
}

void TksSkinCustomEdit::ApplySkin() {
  LoadSkinRecord();
  FAppliedIndex = FBinding.Index;
  FAppliedData = FBinding.SkinData;
  FAppliedSerial = FBinding.SkinData ? FBinding.SkinData->LoadSerial() : 0;
  FApplyPosted = false;
  FSettingFont = true;
  if (!Skinned()) {
    Font()->Assign(FDefaultFont.get());
    if (FDefaultWidth > 0) SetWidth(FDefaultWidth);
    if (FDefaultHeight > 0) SetHeight(FDefaultHeight);
  } else if (FUseSkinFont) {
    Font()->SetName(FSkinFontName);
    Font()->SetStyle(FSkinFontStyle);
    Font()->SetHeight(FSkinFontHeight);
  } else {
    Font()->Assign(FDefaultFont.get());
  }
  ApplyFontCharset();
  FSettingFont = false;
  const bool focused = Focused();
  RecreateWnd();
  if (focused && CanFocus()) SetFocus();
  UpdateFontColor();
  RecomputeHeight();
  if (HandleAllocated()) {
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  Invalidate();
}

void TksSkinCustomEdit::ApplyFontCharset() {
  TksSkinData* data = FBinding.SkinData;
  if (data && data->ResourceStrData()) {
    Font()->SetCharset(data->ResourceStrData()->CharSet);
  } else {
    Font()->SetCharset(FDefaultFont->Charset());
  }
}

void TksSkinCustomEdit::Loaded() {
  TksCustomEdit::Loaded();
  // A skin loaded while the form had no window sent its messages to no one; one whose change
  // message arrived was applied then (applying it again would redo the fonts and the window).
  TksSkinData* data = FBinding.SkinData;
  if (data && !data->Empty()) {
    if (FAppliedData != data || FAppliedSerial != data->LoadSerial()) ApplySkin();
    return;
  }
  FSettingFont = true;
  ApplyFontCharset();
  FSettingFont = false;
}

void TksSkinCustomEdit::CheckSkinApplied() {
  // A paint found a record (or lost one) the box was never applied to: font, height and
  // insets follow once the paint is over.
  if ((FBinding.Index >= 0) == (FAppliedIndex >= 0) || FApplyPosted || !HandleAllocated()) return;
  FApplyPosted = true;
  PostMessageW(Handle(), WM_KSAPPLYSKIN, 0, 0);
}

void TksSkinCustomEdit::UpdateFontColor() {
  FSettingFont = true;
  if (!Skinned()) {
    Font()->SetColor(FDefaultFont->Color());
  } else {
    Font()->SetColor((Focused() || FMouseIn) ? FActiveFontColor : FFontColor);
  }
  FSettingFont = false;
}

// ---- properties ----

void TksSkinCustomEdit::SetDefaultColor(TColor Value) {
  if (FDefaultColor == Value) return;
  FDefaultColor = Value;
  if (!Skinned()) Invalidate();
}

void TksSkinCustomEdit::DefaultFontChanged(TObject*) {
  if (Skinned() || ComponentState().Contains(csDestroying)) return;
  Font()->Assign(FDefaultFont.get());
}

void TksSkinCustomEdit::SetUseSkinFont(bool Value) {
  if (FUseSkinFont == Value) return;
  FUseSkinFont = Value;
  if (FBinding.SkinData && !FBinding.SkinData->Empty()) ApplySkin();
}

void TksSkinCustomEdit::SetDefaultWidth(int Value) {
  FDefaultWidth = Value;
  if (!Skinned() && Value > 0) SetWidth(Value);
}

void TksSkinCustomEdit::SetDefaultHeight(int Value) {
  FDefaultHeight = Value;
  if (!Skinned() && Value > 0) SetHeight(Value);
}

void TksSkinCustomEdit::SetButtonMode(bool Value) {
  if (FButtonMode == Value) return;
  FButtonMode = Value;
  ClearButtonStates();
  if (HandleAllocated()) {
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  Invalidate();
}

void TksSkinCustomEdit::SetImages(TImageList* Value) {
  if (FImages == Value) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (Value) Value->FreeNotification(this);
  RecomputeHeight();
  SetFormatRect();
  Invalidate();
}

void TksSkinCustomEdit::SetLeftImageIndex(int Value) {
  LeftImageIndex = Value;
  SetFormatRect();
  Invalidate();
}

void TksSkinCustomEdit::SetRightImageIndex(int Value) {
  RightImageIndex = Value;
  SetFormatRect();
  Invalidate();
}

// ---- geometry ----

TksSkinCustomEdit::Insets TksSkinCustomEdit::TextInsets() {
  if (Skinned()) {
    const RECT& c = FSkin.ClientRect;
    return {c.left, c.top, FSkin.SkinWidth() - c.right, FSkin.SkinHeight() - c.bottom};
  }
  return {2, 2, FButtonMode ? Height() + 2 : 2, 2};
}

TRect TksSkinCustomEdit::TextArea() {
  const Insets i = TextInsets();
  TRect r = Rect(i.Left, i.Top, Width() - i.Right, Height() - i.Bottom);
  r.right = std::max(r.right, r.left);
  r.bottom = std::max(r.bottom, r.top);
  return r;
}

TRect TksSkinCustomEdit::ButtonRect() {
  const int w = Width(), h = Height();
  if (!Skinned()) return Rect(w - h, 0, w, h);
  TRect r = FButtonSrc;
  if (r.left >= FSkin.SkinWidth() - FRightOffset) OffsetRect(&r, w - FSkin.SkinWidth(), 0);
  if (!FUseSkinFont) r.bottom += h - FSkin.SkinHeight();
  return r;
}

TRect TksSkinCustomEdit::LeftImageRect() {
  if (!FImages || LeftImageIndex < 0) return TRect{};
  const TRect a = TextArea();
  const int y = std::max<int>(a.top, a.top + (a.bottom - a.top - FImages->Height()) / 2);
  return Rect(a.left, y, a.left + FImages->Width(), y + FImages->Height());
}

TRect TksSkinCustomEdit::RightImageRect() {
  if (!FImages || RightImageIndex < 0) return TRect{};
  const TRect a = TextArea();
  const int y = std::max<int>(a.top, a.top + (a.bottom - a.top - FImages->Height()) / 2);
  return Rect(a.right - FImages->Width(), y, a.right, y + FImages->Height());
}

void TksSkinCustomEdit::SetFormatRect() {
  if (!HandleAllocated()) return;
  const bool left = FImages && LeftImageIndex >= 0, right = FImages && RightImageIndex >= 0;
  if (!left && !right) {
    Perform(EM_SETRECT, 0, 0);
    return;
  }
  RECT r;
  GetClientRect(Handle(), &r);
  r.left += 2;  // the left margin
  if (left) r.left += FImages->Width() + 2;
  if (right) r.right -= FImages->Width() + 2;
  r.right = std::max(r.right, r.left);
  Perform(EM_SETRECT, 0, reinterpret_cast<LPARAM>(&r));
}

int TksSkinCustomEdit::FontCellHeight() {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font()->Handle());
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return tm.tmHeight;
}

void TksSkinCustomEdit::FitHeight(int& AHeight) {
  if (SkinFont()) {
    AHeight = FSkin.SkinHeight();
    return;
  }
  const int cell = FontCellHeight();
  const int image = FImages ? FImages->Height() : 0;
  if (Skinned()) {
    const int frame = FSkin.SkinHeight() - (FSkin.ClientRect.bottom - FSkin.ClientRect.top);
    AHeight = std::max(cell, image) + frame;
    return;
  }
  if (Align() == alClient || Align() == alLeft || Align() == alRight) return;
  AHeight = image > cell + 2 ? image : cell + 6;
}

void TksSkinCustomEdit::RecomputeHeight() {
  int height = Height();
  FitHeight(height);
  SetBounds(Left(), Top(), Width(), height);
}

void TksSkinCustomEdit::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  LoadSkinRecord();
  const bool resized = AWidth != Width() || AHeight != Height();
  if (resized || !Skinned()) FitHeight(AHeight);
  TksCustomEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
  SetFormatRect();
  RedrawFrame();
}

void TksSkinCustomEdit::CreateParams(TCreateParams& Params) {
  TksCustomEdit::CreateParams(Params);
  // Multi-line only for its formatting rectangle; it still shows one line.
  if (!PasswordChar()) Params.Style |= ES_MULTILINE;
  Params.Style &= ~static_cast<DWORD>(WS_BORDER);
  Params.ExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
}

void TksSkinCustomEdit::CreateWnd() {
  TksCustomEdit::CreateWnd();
  Perform(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(2, 0));
  SetFormatRect();
}

void TksSkinCustomEdit::FontChanged() {
  TksCustomEdit::FontChanged();
  if (HandleAllocated()) {
    Perform(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(2, 0));
    SetFormatRect();
  }
  if (FSettingFont || FUseSkinFont) return;
  RecomputeHeight();
  if (!Skinned()) RecreateWnd();
}
