// The skinned single-line edit: the platform's edit window keeps all text editing (caret,
// selection, clipboard, undo, input methods) and draws its text transparently over a frame
// and background painted from the skin's "edit" record.
//   TksCustomEdit      keyboard and clipboard rules, transparent text, the context menu;
//   TksSkinCustomEdit  the skin binding, geometry, height rules, painting, buttons;
//   TksSkinEdit        the published class.
#pragma once

#include <memory>

#include "skin/data/skin_data.h"
#include "skin/form/skin_control.h"
#include "ui/image_list.h"
#include "ui/menus.h"
#include "ui/std_ctrls.h"

class TksSkinPopupMenu;

// Answer of a skinned control built on a platform window to the identification message.
constexpr UINT WM_KSSKINCONTROLID = 45513;
constexpr LRESULT KS_SKINCONTROLID = 12851;
// Paints the frame only (text area excluded) into the DC in wParam when lParam is 16802.
constexpr UINT WM_KSPAINTFRAME = 48203;
constexpr LPARAM KS_PAINTFRAME = 16802;
// Destroys the edit's context menu.
constexpr UINT WM_KSFREECONTEXTMENU = WM_USER + 205;
// Posted to itself by an edit whose paint found a record it was never applied to.
constexpr UINT WM_KSAPPLYSKIN = WM_APP + 0x2E1;

class TksCustomEdit : public TCustomMaskEdit {
 public:
  explicit TksCustomEdit(TComponent* AOwner);
  ~TksCustomEdit() override;

  // The platform edit draws its text without filling behind it.
  bool TransparentText() const { return FTransparentText; }
  void SetTransparentText(bool Value);

  // A menu of the owner's; when none, a right click or the menu key shows the edit's own.
  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* Value);
  // The edit's own context menu while it exists (until the next request or WM_USER + 205).
  TksSkinPopupMenu* ContextMenu() const { return FContextMenu; }
  // Shows the context menu at a screen point (the edit's centre when Keyboard).
  void ShowContextMenu(TPoint ScreenPos, bool Keyboard);

  void Dispatch(TMessage& Message) override;

 protected:
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(WCHAR& Key) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // The skin data the context menu takes its captions and look from.
  virtual TksSkinData* MenuSkinData();
  // The skin data of the form skinner on the parent form, if there is one.
  TksSkinData* FormSkinnerData();
  void FreeContextMenu();

 private:
  void BuildContextMenu();

  bool FTransparentText = true;
  TPopupMenu* FPopupMenu = nullptr;
  TksSkinPopupMenu* FContextMenu = nullptr;
  bool FMenuRequested = false;
};

class TksSkinCustomEdit : public TksCustomEdit, public IksSkinClient {
 public:
  explicit TksSkinCustomEdit(TComponent* AOwner);
  ~TksSkinCustomEdit() override;

  // --- skin binding ---
  TksSkinData* SkinData() const override { return FBinding.SkinData; }
  void SetSkinData(TksSkinData* Value);
  const AnsiString& SkinDataName() const { return FBinding.SkinDataName; }
  void SetSkinDataName(const AnsiString& Value) { FBinding.SkinDataName = Value; }
  // The bound edit record's index, -1 when the box is unskinned.
  int SkinIndex() const { return FBinding.Index; }
  void LoadSkinRecord();
  void ApplySkin() override;
  void ReleaseSkin() override;

  // --- published ---
  TColor DefaultColor() const { return FDefaultColor; }
  void SetDefaultColor(TColor Value);
  TFont* DefaultFont() { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
  bool UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool Value);
  int DefaultWidth() const { return FDefaultWidth; }
  void SetDefaultWidth(int Value);
  int DefaultHeight() const { return FDefaultHeight; }
  void SetDefaultHeight(int Value);
  bool ButtonMode() const { return FButtonMode; }
  void SetButtonMode(bool Value);
  TImageList* Images() const { return FImages; }
  void SetImages(TImageList* Value);
  int LeftImageIndex = -1, LeftImageHotIndex = -1, LeftImageDownIndex = -1;
  int RightImageIndex = -1, RightImageHotIndex = -1, RightImageDownIndex = -1;
  void SetLeftImageIndex(int Value);
  void SetRightImageIndex(int Value);

  TNotifyEvent OnButtonClick;
  TNotifyEvent OnLeftButtonClick;
  TNotifyEvent OnRightButtonClick;

  // --- geometry, in control coordinates ---
  TRect TextArea();
  TRect ButtonRect();
  // Where the left and right image buttons sit (empty when that side has none).
  TRect LeftImageRect();
  TRect RightImageRect();
  bool MouseInside() const { return FMouseIn; }
  bool ButtonHot() const { return FButtonHot; }
  bool ButtonPressed() const { return FButtonDown; }

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void Invalidate() override;
  void Loaded() override;
  void Dispatch(TMessage& Message) override;

  // The whole box as the platform would show it without text (frame and background), or
  // the frame alone with the text area left as it was.
  void PaintFrameTo(HDC DC);
  void PaintBoxTo(HDC DC);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void FontChanged() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  TksSkinData* MenuSkinData() override;

 private:
  struct Insets {
    int Left, Top, Right, Bottom;
  };
  // --- skin copy ---
  bool Skinned() const { return FBinding.Index >= 0; }
  bool SkinFont() const { return Skinned() && FUseSkinFont; }
  void CopySkin(const TksDataSkinEditControl& R);
  const RECT& StateSkinRect() const;
  Insets TextInsets();
  int FontCellHeight();
  void FitHeight(int& AHeight);
  void RecomputeHeight();
  void SetFormatRect();
  void UpdateFontColor();
  void ApplyFontCharset();
  void DefaultFontChanged(TObject* Sender);
  void CheckSkinApplied();

  // --- painting (edit_paint.cpp) ---
  void BuildFrame(TBitmap* B);
  void BuildBackground(TBitmap* B, const TRect& Area);
  void DrawButton(TBitmap* B, const TRect& R);
  void DrawImageButtons(TCanvas* C, TPoint Offset);
  void DrawDisabledText(HDC DC);
  void NCPaint();
  void EraseStep(HDC DC);
  void PaintStep(TMessage& Message);
  void RedrawFrame();

  // --- input (edit_input.cpp) ---
  int HitCode(TPoint ClientPt);
  void SetMouseInside(bool Value);
  void ClearButtonStates();
  bool NonClientMouse(TMessage& Message);
  bool ClientImageMouse(TMessage& Message);

  TksSkinBinding FBinding;
  TksSkinRecordData FSkin;
  RECT FActiveSkinRect{};
  int FLeftOffset = 0, FRightOffset = 0;
  AnsiString FSkinFontName;
  int FSkinFontHeight = 14;
  TFontStyles FSkinFontStyle;
  TColor FFontColor = clBlack, FDisabledFontColor = clGrayText, FActiveFontColor = clBlack;
  RECT FButtonSrc{}, FActiveButtonSrc{}, FDownButtonSrc{}, FUnenabledButtonSrc{};

  TColor FDefaultColor = clWindow;
  std::unique_ptr<TFont> FDefaultFont;
  bool FUseSkinFont = true;
  int FDefaultWidth = 0, FDefaultHeight = 0;
  bool FButtonMode = false;
  TImageList* FImages = nullptr;

  bool FMouseIn = false;
  bool FButtonHot = false, FButtonDown = false;
  bool FLeftHot = false, FLeftDown = false, FRightHot = false, FRightDown = false;
  bool FPaintFromErase = false;
  bool FPaintDone = false;
  bool FSettingFont = false;
  int FAppliedIndex = -1;  // the record the last ApplySkin bound
  // The skin the last ApplySkin applied (data and its load serial), so that Loaded applies
  // only a skin whose change message missed this box.
  const TksSkinData* FAppliedData = nullptr;
  unsigned FAppliedSerial = 0;
  bool FApplyPosted = false;
};

class TksSkinEdit : public TksSkinCustomEdit {
 public:
  explicit TksSkinEdit(TComponent* AOwner) : TksSkinCustomEdit(AOwner) {}
};
