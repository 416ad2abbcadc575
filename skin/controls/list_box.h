// The skinned list family: TksSkinCustomListBox / TksSkinListBox, a skin-painted frame around
// an owner-drawn platform list (TksListBox) whose own scroll bars are replaced by skinned ones
// (TksSkinScrollBar), and TksPopupListBox, the same list as a top-level popup that never takes
// activation (the combo box's drop-down).
#pragma once

#include <functional>
#include <vector>

#include "skin/controls/scroll_bar.h"
#include "ui/std_ctrls.h"
#include "ui/string_list.h"

class TksSkinCustomListBox;

// Owner drawing of an item (list items and the combo's face item): draw on Cnvs, an image of
// ItemWidth x ItemHeight; TxtRect is where the text goes.
using TksDrawSkinItemEvent =
    std::function<void(TObject* Sender, TCanvas* Cnvs, int Index, int ItemWidth, int ItemHeight,
                       TRect TxtRect, TOwnerDrawState State)>;

// The inner list: the platform list window, owner-drawn with a fixed item height. It keeps
// the platform's scroll state but shows no scroll bar and no frame of its own; its frame
// paints it.
class TksListBox : public TListBox {
 public:
  explicit TksListBox(TComponent* AOwner);
  // The frame that paints this list and receives its events.
  TksSkinCustomListBox* SkinListBox = nullptr;

  void WndProc(TMessage& Message) override;
  void Click() override;
  void DblClick() override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Dispatch(TMessage& Message) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;
  void KeyPress(WCHAR& Key) override;

 private:
  void PaintList(HDC DC);
  void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;
};

// What the list copies from its "listbox" record beyond the control-image data.
struct TksListBoxSkin {
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
  COLORREF ActiveFontColor = 0;
  COLORREF FocusFontColor = 0;
  AnsiString VScrollBarName = "vscrollbar";
  AnsiString HScrollBarName = "hscrollbar";
  AnsiString BothHScrollBarName = "bothhscrollbar";
  bool ShowFocus = false;
  RECT CaptionRect{};
  AnsiString CaptionFontName = "Arial";
  int CaptionFontHeight = 14;
  TFontStyles CaptionFontStyle;
  COLORREF CaptionFontColor = 0;
  // Caption buttons: placement (relative to skinrect), hot and pressed images.
  RECT ButtonRects[3]{};
  RECT ActiveButtonRects[3]{};
  RECT DownButtonRects[3]{};
};

class TksSkinCustomListBox : public TksSkinCustomControl {
 public:
  explicit TksSkinCustomListBox(TComponent* AOwner);
  ~TksSkinCustomListBox() override;

  TksListBox* ListBox() const { return FListBox; }
  TStrings* Items() { return FListBox->Items(); }
  void SetItems(TStrings* Value) { FListBox->SetItems(Value); }
  int ItemIndex() { return FListBox->ItemIndex(); }
  void SetItemIndex(int Value) { FListBox->SetItemIndex(Value); }
  int RowCount() const { return FRowCount; }
  // When not 0 the list takes the height of that many rows.
  void SetRowCount(int Value);
  int DefaultItemHeight() const { return FDefaultItemHeight; }
  void SetDefaultItemHeight(int Value);
  bool UseSkinItemHeight() const { return FUseSkinItemHeight; }
  void SetUseSkinItemHeight(bool Value);
  TImageList* Images() const { return FImages; }
  void SetImages(TImageList* Value);
  int ImageIndex = -1;
  // Tab stops in pixels from the text's start; only entries that are plain decimal numbers
  // count, the first 10 of them.
  TStrings* TabWidths() { return &FTabWidths; }
  bool HorizontalExtent() const { return FHorizontalExtent; }
  void SetHorizontalExtent(bool Value);
  bool Sorted() const { return FListBox->Sorted(); }
  void SetSorted(bool Value) { FListBox->SetSorted(Value); }

  // A caption strip above the rows with the control's Caption and up, down and check
  // buttons; up and down step the selection (or fire their events), repeating while held.
  bool CaptionMode() const { return FCaptionMode; }
  void SetCaptionMode(bool Value);
  int DefaultCaptionHeight() const { return FDefaultCaptionHeight; }
  void SetDefaultCaptionHeight(int Value);
  TFont* DefaultCaptionFont() { return &FDefaultCaptionFont; }
  bool ShowCaptionButtons() const { return FShowCaptionButtons; }
  void SetShowCaptionButtons(bool Value);
  TksAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TksAlignment Value);
  enum CaptionButton { UpButton = 0, DownButton = 1, CheckButton = 2 };
  // Where a caption button sits, in the frame's coordinates (empty when not shown).
  TRect CaptionButtonRect(CaptionButton B);
  TRect CaptionRect();
  TNotifyEvent OnUpButtonClick;
  TNotifyEvent OnDownButtonClick;
  TNotifyEvent OnCheckButtonClick;

  TksDrawSkinItemEvent OnDrawItem;
  TNotifyEvent OnListBoxClick;
  TNotifyEvent OnListBoxDblClick;
  TMouseEvent OnListBoxMouseDown;
  TMouseMoveEvent OnListBoxMouseMove;
  TMouseEvent OnListBoxMouseUp;
  TKeyEvent OnListBoxKeyDown;
  TKeyPressEvent OnListBoxKeyPress;
  TKeyEvent OnListBoxKeyUp;

  // The item under a point of the inner list's client area, -1 when none.
  int ItemAtPos(TPoint P);
  // Scrolls so that Index is the top row as far as the list can scroll.
  void SetTopItem(int Index);
  // The row height in use: the skin's item height or DefaultItemHeight.
  int ItemHeight() const;
  TksSkinScrollBar* VScrollBar() const { return FVScrollBar; }
  TksSkinScrollBar* HScrollBar() const { return FHScrollBar; }
  // Creates, sets or removes the skinned bars from the inner list's scroll state.
  void UpdateScrollBars();
  bool ListSkinned() const { return FListSkinned; }
  const TksListBoxSkin& ListSkin() const { return FListSkin; }

  void LoadSkinRecord() override;
  void ApplySkin() override;
  void ReleaseSkin() override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void PaintDefaultImage(TBitmap* B) override;
  void PaintSkinImage(TBitmap* B) override;

  // Painting of the inner list, in its client coordinates.
  void PaintListBackground(TCanvas* Canvas, const TRect& R);
  void DrawListItem(TCanvas* Canvas, int Index, const TRect& R, TOwnerDrawState State);

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DefaultFontChanged() override;
  void Dispatch(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  // Places the bars and the inner list inside the frame.
  void Layout();

 private:
  friend class TksListBox;
  void ApplyItemHeight();
  void ApplyListFont(TFont* Font);
  void ScrollBarChanged(TObject* Sender);
  TksSkinScrollBar* MakeScrollBar(TksScrollBarKind Kind);
  void UpdateHorizontalBar();
  int HorzOffset() const;
  void DrawItemText(TCanvas* Canvas, int Index, const TRect& TextRect, TOwnerDrawState State);
  // Caption strip (list_box_caption.cpp).
  int PlainCaptionHeight() const { return FCaptionMode ? FDefaultCaptionHeight : 0; }
  void PaintCaption(TBitmap* B, bool Skinned);
  int CaptionButtonAt(TPoint P);
  void CaptionButtonStep(int Button);

  TksListBox* FListBox = nullptr;
  TksSkinScrollBar* FVScrollBar = nullptr;
  TksSkinScrollBar* FHScrollBar = nullptr;
  TImageList* FImages = nullptr;
  TStringList FTabWidths;
  TksListBoxSkin FListSkin;
  bool FListSkinned = false;
  int FRowCount = 0;
  int FDefaultItemHeight = 20;
  bool FUseSkinItemHeight = true;
  bool FHorizontalExtent = false;
  bool FUpdatingBars = false;
  bool FCaptionMode = false;
  int FDefaultCaptionHeight = 20;
  TFont FDefaultCaptionFont;
  bool FShowCaptionButtons = true;
  TksAlignment FAlignment = kaLeftJustify;
  int FHotButton = -1;
  int FPressedButton = -1;
};

class TksSkinListBox : public TksSkinCustomListBox {
 public:
  using TksSkinCustomListBox::TksSkinCustomListBox;
};

// The drop-down list: a top-level popup tool window, invisible until shown, that never takes
// activation, so the keyboard focus stays where it was.
class TksPopupListBox : public TksSkinListBox {
 public:
  explicit TksPopupListBox(TComponent* AOwner);

  // Moves the popup to a screen point and shows it without activation; with Alpha below 255
  // the popup is a layered window of that opacity.
  void ShowAt(TPoint ScreenPos, BYTE Alpha = 255);
  void SetAlpha(BYTE Alpha);
  void HidePopup();

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Dispatch(TMessage& Message) override;
};

// Font of skinned text: the skin's name, height and style when UseSkin, else Default; the
// charset from the skin data's interface strings when there are some, else Default's.
void AssignSkinTextFont(TFont* Font, bool UseSkin, const AnsiString& Name, int Height,
                        const TFontStyles& Style, TksSkinData* Data, TFont* Default);
TFontStyles FontStylesOf(const TksFontStyles& Styles);
// The first 10 entries of TabWidths that are plain decimal numbers.
std::vector<int> TabStopsOf(const TStrings& TabWidths);
// DrawCaptionAt (Offset as there), each tab moving on to the next stop (pixels from the text's
// start); past the last stop the text just follows.
void DrawTabbedCaption(TCanvas* Canvas, const AnsiString& Text, const TRect& Rect, int Offset,
                       const std::vector<int>& Stops);
