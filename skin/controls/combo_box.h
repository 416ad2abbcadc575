// TksSkinComboBox: a self-drawn combo box. The face shows the selected item and a drop-down
// button; the list drops down in a TksPopupListBox that never takes the focus, so the combo
// keeps the keyboard while the list is open. OnClick marks every selection: an accepted pick,
// each arrow key, page key, typed match or wheel step with the list closed, and every
// ItemIndex assignment from code outside loading.
#pragma once

#include "skin/controls/edit.h"
#include "skin/controls/list_box.h"

class TksSkinCustomComboBox;

// The inner edit of the edit style.
class TksComboEdit : public TksCustomEdit {
 public:
  explicit TksComboEdit(TksSkinCustomComboBox* Combo);
  void Dispatch(TMessage& Message) override;

 protected:
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(WCHAR& Key) override;
  void Change() override;

 private:
  TksSkinCustomComboBox* FCombo;
  bool FSwallowChar = false;
};

enum TksComboBoxStyle { kscbEditStyle, kscbFixedStyle };

// What the combo copies from its "combobox" record beyond the control-image data.
struct TksComboBoxSkin {
  RECT ActiveSkinRect{};
  RECT ItemRect{};
  RECT ActiveItemRect{};
  RECT FocusItemRect{};
  int ItemLeftOffset = 0;
  int ItemRightOffset = 0;
  RECT ItemTextRect{};
  AnsiString FontName = "Arial";
  int FontHeight = 14;
  TFontStyles FontStyle;
  COLORREF FontColor = 0;
  COLORREF FocusFontColor = 0;
  COLORREF ActiveFontColor = 0;
  RECT ButtonRect{};
  RECT ActiveButtonRect{};
  RECT DownButtonRect{};
  RECT UnenabledButtonRect{};
  bool ItemStretchEffect = false;
  bool FocusItemStretchEffect = false;
  AnsiString ListBoxName;
  bool ShowFocus = false;
};

class TksSkinCustomComboBox : public TksSkinCustomControl {
 public:
  explicit TksSkinCustomComboBox(TComponent* AOwner);
  ~TksSkinCustomComboBox() override;

  TksComboBoxStyle Style() const { return FStyle; }
  virtual void SetStyle(TksComboBoxStyle Value);
  TStrings* Items() { return FPopup->Items(); }
  void SetItems(TStrings* Value) { FPopup->SetItems(Value); }
  // The list's index (while the list is open: the item under the pointer or keys).
  int ItemIndex() { return FPopup->ItemIndex(); }
  // Selection from code: the face takes the item, then OnClick, even when nothing changed
  // (never while loading).
  void SetItemIndex(int Value);
  int DropDownCount() const { return FDropDownCount; }
  // Values below 1 are refused.
  void SetDropDownCount(int Value);
  bool AutoComplete = true;
  // Width of the open list; 0 is the combo's width.
  int ListBoxWidth = 0;
  bool UseSkinSize() const { return FUseSkinSize; }
  void SetUseSkinSize(bool Value);
  bool ToolButtonStyle() const { return FToolButtonStyle; }
  void SetToolButtonStyle(bool Value);
  bool AlphaBlend = false;
  BYTE AlphaBlendValue = 0;
  bool AlphaBlendAnimation = false;
  TColor DefaultColor() const { return FDefaultColor; }
  void SetDefaultColor(TColor Value);

  // Forwarded to the list.
  TFont* ListBoxDefaultFont() { return FPopup->DefaultFont(); }
  void SetListBoxDefaultFont(TFont* Value) { FPopup->SetDefaultFont(Value); }
  int ListBoxDefaultItemHeight() const { return FPopup->DefaultItemHeight(); }
  void SetListBoxDefaultItemHeight(int Value) { FPopup->SetDefaultItemHeight(Value); }
  bool ListBoxUseSkinFont() const { return FPopup->UseSkinFont(); }
  void SetListBoxUseSkinFont(bool Value) { FPopup->SetUseSkinFont(Value); }
  bool ListBoxUseSkinItemHeight() const { return FPopup->UseSkinItemHeight(); }
  void SetListBoxUseSkinItemHeight(bool Value) { FPopup->SetUseSkinItemHeight(Value); }
  bool HorizontalExtent() const { return FPopup->HorizontalExtent(); }
  void SetHorizontalExtent(bool Value) { FPopup->SetHorizontalExtent(Value); }
  bool Sorted() const { return FPopup->Sorted(); }
  void SetSorted(bool Value) { FPopup->SetSorted(Value); }
  TImageList* Images() const { return FPopup->Images(); }
  void SetImages(TImageList* Value) { FPopup->SetImages(Value); }
  int ImageIndex() const { return FPopup->ImageIndex; }
  void SetImageIndex(int Value);
  TStrings* TabWidths() { return FPopup->TabWidths(); }
  AnsiString ListBoxCaption() { return FPopup->Caption(); }
  void SetListBoxCaption(const AnsiString& Value) { FPopup->SetCaption(Value); }
  bool ListBoxCaptionMode() const { return FPopup->CaptionMode(); }
  void SetListBoxCaptionMode(bool Value) { FPopup->SetCaptionMode(Value); }
  TFont* ListBoxDefaultCaptionFont() { return FPopup->DefaultCaptionFont(); }
  TksAlignment ListBoxCaptionAlignment() const { return FPopup->Alignment(); }
  void SetListBoxCaptionAlignment(TksAlignment Value) { FPopup->SetAlignment(Value); }

  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value);
  TEditCharCase CharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase Value);
  // The inner edit of the edit style, else null.
  TksCustomEdit* Edit() const;

  TNotifyEvent OnChange;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;
  TksDrawSkinItemEvent OnComboBoxDrawItem;
  TksDrawSkinItemEvent& OnListBoxDrawItem() { return FPopup->OnDrawItem; }

  // Opens the list below the combo (above it when it would pass the work area's bottom).
  void DropDown();
  // Closes the list: accepting takes the list's index (OnClick), cancelling restores the index
  // that was current when it opened. OnCloseUp fires either way.
  void CloseUp(bool AcceptValue);
  bool DroppedDown() const { return FDroppedDown; }
  TksPopupListBox* PopupList() const { return FPopup; }
  TRect ItemRect() const { return FItemRect; }
  TRect ButtonRect() const { return FButtonRect; }
  bool ButtonHot() const { return FButtonHot; }
  bool ButtonPressed() const { return FButtonPressed; }
  bool MouseInside() const { return FMouseIn; }
  const TksComboBoxSkin& ComboSkin() const { return FCombo; }

  void LoadSkinRecord() override;
  void PaintSkinImage(TBitmap* B) override;
  void PaintDefaultImage(TBitmap* B) override;
  void ApplySkin() override;
  void ReleaseSkin() override;
  void SetSkinData(TksSkinData* Value) override;
  void FitSizeToSkin(int& AWidth, int& AHeight) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void Destroying() override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  AnsiString GetText() override;
  void SetTextBuf(const AnsiString& Value) override;
  void Dispatch(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(WCHAR& Key) override;
  // The face item: text, glyph or owner drawing on an image of the item area.
  void DrawFaceItem(TBitmap* B, bool Skinned);
  bool FaceFocused();
  // The inner edit of the edit style; descendants may make another kind (a numeric one).
  virtual TksComboEdit* CreateEdit();

 private:
  friend class TksComboEdit;
  // Key handling shared by the combo (fixed style) and its inner edit (edit style).
  void HandleKey(WORD& Key, TShiftState Shift);
  void EditKeyDown(WORD& Key, TShiftState Shift);
  void EditChanged();
  void EditFocusChanged(bool Gained, HWND Other);
  // The face under the inner edit, which draws its text transparently over it.
  void PaintFaceUnder(HDC DC, const TRect& Area);
  void PlaceEdit();
  void UpdateEditFont();

  void CalcRects();
  void SetFaceText(const AnsiString& Value);
  void ListWindowProc(TMessage& Message);
  // Tracking of the pointer over the open list while the left button is held.
  void TrackPointer(TPoint ScreenPos);
  void StartAutoScroll(int Mode);
  void StopAutoScroll();
  void AutoScrollTick();
  void SelectStep(int Delta);
  void IncrementalSearch(WCHAR Key);
  // Case-insensitive prefix search from the item after Start, wrapping; -1 when none.
  int FindPrefix(const WideString& Prefix, int Start);
  void FadeIn();
  TColor FaceFontColor(bool Focused);

  TksPopupListBox* FPopup = nullptr;
  TWndMethod FListProc;
  TksComboBoxStyle FStyle = kscbFixedStyle;
  TksComboBoxSkin FCombo;
  bool FComboSkinned = false;
  AnsiString FFaceText;
  TRect FItemRect{0, 0, 0, 0};
  TRect FButtonRect{0, 0, 0, 0};
  int FDropDownCount = 8;
  bool FUseSkinSize = true;
  bool FToolButtonStyle = false;
  TColor FDefaultColor = clWindow;
  bool FMouseIn = false;
  bool FButtonHot = false;
  bool FButtonPressed = false;
  bool FDroppedDown = false;
  bool FTracking = false;
  bool FTrackingEntered = false;
  bool FReleasing = false;
  int FRememberedIndex = -1;
  int FAutoScroll = 0;  // 0 none, 1 up, 2 down
  WideString FSearch;
  DWORD FLastKeyTime = 0;
  TksComboEdit* FEdit = nullptr;
  bool FHideSelection = true;
  TEditCharCase FCharCase = ecNormal;
  bool FSyncingEdit = false;
};

class TksSkinComboBox : public TksSkinCustomComboBox {
 public:
  using TksSkinCustomComboBox::TksSkinCustomComboBox;
};
