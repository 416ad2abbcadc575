// The skinned page control and its sheets: the framework's page control over the platform
// tab control, with every pixel of the tab row, the tabs, the page frame and the sheet
// backgrounds drawn from the skin's tab record (a plain look without one), hover tracking,
// close buttons on tabs, a shifted or centred row and a skinned scroller for rows that do not
// fit.
#pragma once

#include <functional>
#include <memory>

#include "skin/draw/glyph_draw.h"
#include "skin/form/skin_control.h"
#include "skin/form/skin_record_data.h"
#include "ui/bitmap.h"
#include "ui/page_control.h"

class TksSkinPageControl;
class TksSkinUpDown;

// Skinned controls built on platform windows answer this with kSkinControlAnswer.
constexpr UINT WM_SKINCONTROLQUERY = 45513;
constexpr LRESULT kSkinControlAnswer = 12851;

class TksSkinCustomTabSheet : public TTabSheet {
 public:
  explicit TksSkinCustomTabSheet(TComponent* AOwner);
  ~TksSkinCustomTabSheet() override;

  // Tiled over the sheet instead of the skin's page background when not empty.
  TBitmap* WallPaper() { return &FWallPaper; }
  void SetWallPaper(TBitmap* Value);

  // The close button's rectangle in the page control's client coordinates, as last painted.
  RECT CloseButtonRect{};
  bool CloseButtonMouseIn = false;
  bool CloseButtonMouseDown = false;

  TksSkinPageControl* SkinPageControl() const;

  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;

 private:
  void PaintBackground(HDC DC);

  TBitmap FWallPaper;
};

class TksSkinTabSheet : public TksSkinCustomTabSheet {
 public:
  using TksSkinCustomTabSheet::TksSkinCustomTabSheet;
};

using TksTabCloseEvent = std::function<void(TObject* Sender, bool& CanClose)>;
// Replaces the drawing of a tab's content: page index, the tab bitmap's rectangle, active,
// mouse over it, and the tab bitmap's canvas (skin piece drawn, tab font and colour set).
using TksDrawSkinTabEvent =
    std::function<void(int TabIndex, const TRect& Rct, bool Active, bool MouseIn, TCanvas* Cnvs)>;

// What the page control copies from its tab record; refreshed before every paint.
struct TksTabSkin {
  int Index = -1;  // -1: no record, the plain look
  // The page image: picture, skinrect, points, client rectangle, side and client modes.
  TksSkinRecordData Page;
  RECT TabRect{};
  RECT ActiveTabRect{};
  RECT FocusTabRect{};
  RECT MouseInTabRect{};
  RECT TabsBGRect{};
  int TabLeftOffset = 0;
  int TabRightOffset = 0;
  AnsiString FontName = "Arial";
  int FontHeight = 14;
  TFontStyles FontStyle;
  TColor FontColor = clBlack;
  TColor ActiveFontColor = clBlack;
  TColor FocusFontColor = clBlack;
  TColor MouseInFontColor = clBlack;
  AnsiString UpDown;
  int BGPictureIndex = -1;
  bool TabStretchEffect = false;
  bool ShowFocus = false;
  int FocusOffsetX = 0;
  int FocusOffsetY = 0;
  RECT CloseButtonRect{};
  RECT CloseButtonActiveRect{};
  RECT CloseButtonDownRect{};
  bool ButtonTransparent = false;
  TColor ButtonTransparentColor = clBlack;

  bool Skinned() const { return Index >= 0; }
};

class TksSkinPageControl : public TPageControl, public IksSkinClient {
 public:
  explicit TksSkinPageControl(TComponent* AOwner);
  ~TksSkinPageControl() override;

  // ---- skin binding ----
  TksSkinData* SkinData() const override { return FSkinData; }
  void SetSkinData(TksSkinData* Value);
  const AnsiString& SkinDataName() const { return FSkinDataName; }
  void SetSkinDataName(const AnsiString& Value);
  void ApplySkin() override;
  void ReleaseSkin() override;
  // The copy of the tab record as the last refresh left it.
  const TksTabSkin& TabSkin() const { return FSkin; }

  // ---- published properties ----
  bool MouseWheelSupport = false;
  bool TabExtededDraw() const { return FTabExtededDraw; }
  void SetTabExtededDraw(bool Value);
  const AnsiString& ButtonTabSkinDataName() const { return FButtonTabSkinDataName; }
  void SetButtonTabSkinDataName(const AnsiString& Value);
  int TabsOffset() const { return FTabsOffset; }
  void SetTabsOffset(int Value);
  int TabMargin() const { return FTabMargin; }
  void SetTabMargin(int Value);
  int TabSpacing() const { return FTabSpacing; }
  void SetTabSpacing(int Value);
  lumoa::skin::TksGlyphLayout TabLayout() const { return FTabLayout; }
  void SetTabLayout(lumoa::skin::TksGlyphLayout Value);
  bool TextInHorizontal() const { return FTextInHorizontal; }
  void SetTextInHorizontal(bool Value);
  bool TabsInCenter() const { return FTabsInCenter; }
  void SetTabsInCenter(bool Value);
  bool FreeOnClose = false;
  bool ShowCloseButtons() const { return FShowCloseButtons; }
  void SetShowCloseButtons(bool Value);
  // Glyphs per sheet (its ImageIndex); room for them is reserved in every tab.
  TImageList* Images() const { return FGlyphs; }
  void SetImages(TImageList* Value);
  bool TabsBGTransparent() const { return FTabsBGTransparent; }
  void SetTabsBGTransparent(bool Value);
  TFont* DefaultFont() { return &FDefaultFont; }
  void SetDefaultFont(TFont* Value);
  bool UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool Value);
  int DefaultItemHeight() const { return FDefaultItemHeight; }
  void SetDefaultItemHeight(int Value);

  TksTabCloseEvent OnClose;
  TNotifyEvent OnAfterClose;
  TksDrawSkinTabEvent OnDrawSkinTab;

  // ---- geometry ----
  // The I-th visible tab in client coordinates, corrected from what the platform reports.
  TRect GetTabRect(int Index);
  int VisibleTabCount() const;
  // The tab row's height: TabHeight, else the skin's tab height, else DefaultItemHeight.
  int TabRowHeight() const;
  // Where the sheets sit, and the frame drawn around them.
  TRect PageArea();
  TRect PageFrame();
  // The area between the control's edge and the page frame on the row's side.
  TRect TabStripRect();
  // The visible index of the tab under the mouse, -1 for none.
  int HoveredTab() const { return FMouseInTab; }
  // The tab scroller, present only while some tabs do not fit.
  TksSkinUpDown* Scroller() const { return FScroller; }
  // The next (previous) page with a visible tab after the active one, made active without
  // OnChange; nothing at the end.
  void NextPage();
  void PriorPage();
  // The visible tab's page, or nullptr.
  TksSkinCustomTabSheet* VisibleSheet(int TabIndex) const;

  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;
  void Loaded() override;
  void UpdateTabSize() override;

  // Draws the page control's background (the erase without tabs) into DC at (0, 0).
  void PaintBackground(HDC DC);
  // Re-reads the copy of the tab record (every paint starts with it).
  void LoadSkinCopy();

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void AdjustClientRect(TRect& Rect) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Change() override;
  void PaintWindow(HDC DC) override;

 private:
  friend class TksSkinCustomTabSheet;

  // ---- painting (page_control_paint.cpp) ----
  void LayBackground(TBitmap& B);
  void PaintControl(TBitmap& B);
  void PaintPageFrame(TBitmap& B, const TRect& ActiveGrown);
  void PaintTabStrip(TBitmap& Strip, const TRect& StripRect);
  // Draws visible tab TabIndex at R onto Canvas.
  void PaintTab(TCanvas* Canvas, int TabIndex, TRect R, bool Active, bool MouseIn);
  // Sizes T and draws the tab record's piece for the state; returns the caption colour.
  TColor PaintTabPiece(TBitmap& T, int Len, int Across, bool Active, bool MouseIn, bool Focus);
  // The same from the button record of ButtonTabSkinDataName; false without one.
  bool PaintButtonTabPiece(TBitmap& T, int Len, int Across, bool Active, bool MouseIn,
                           TColor& FontColor);
  void PaintCloseButton(TBitmap& T, TksSkinCustomTabSheet* Sheet, const TRect& Text, bool Skinned);
  void SetUpTabFont(TCanvas* Canvas, TColor Color);
  // The active tab's rectangle grown towards the page by the active image's extra height.
  TRect ActiveTabGrown();
  void PaintSheetBackground(TksSkinCustomTabSheet* Sheet, HDC DC);
  TTabSheet* VisiblePage(int TabIndex) const;

  // ---- input (page_control_input.cpp) ----
  void TestMouseOver(int X, int Y);
  void RepaintStrip();
  void MouseLeft();
  bool CloseButtonDown(int X, int Y);
  bool CloseButtonUp(int X, int Y);
  void CloseActivePage();
  void ClearCloseFlags(TksSkinCustomTabSheet* Sheet);
  // Horizontal shift of the row (TabsOffset, or the centring offset).
  int RowOffset();
  void WheelTurned(int Delta);

  // ---- scroller (page_control.cpp) ----
  void UpdateScroller();
  void RemovePlatformScroller();
  void UpdateScrollerPosition();
  int CountTabsOutside();
  int CountTabsBefore();
  void ScrollerChanged(int Position);
  void PlaceScroller();

  void UpdateTabImages();
  bool ReservesTabRoom() const;
  // The image index the platform gets for a sheet's tab.
  int ItemImage(int ImageIndex) const;
  void UpdateFonts();
  void ForceTopSingleLine();
  bool Designing() const { return ComponentState().Contains(csDesigning); }
  bool Loading() const { return ComponentState().Contains(csLoading); }
  int CloseButtonWidth() const;

  TksSkinData* FSkinData = nullptr;
  AnsiString FSkinDataName = "tab";
  TksTabSkin FSkin;

  bool FTabExtededDraw = false;
  AnsiString FButtonTabSkinDataName = "resizetoolbutton";
  int FTabsOffset = 0;
  int FTabMargin = -1;
  int FTabSpacing = 1;
  lumoa::skin::TksGlyphLayout FTabLayout = lumoa::skin::glGlyphLeft;
  bool FTextInHorizontal = false;
  bool FTabsInCenter = false;
  bool FShowCloseButtons = false;
  TImageList* FGlyphs = nullptr;
  bool FTabsBGTransparent = false;
  TFont FDefaultFont;
  bool FUseSkinFont = true;
  int FDefaultItemHeight = 20;

  int FMouseInTab = -1;
  int FMouseInPage = -1;
  int FOldMouseInTab = -1;
  int FOldMouseInPage = -1;

  // Always attached to the platform control: its width reserves room for glyph and close
  // button in every tab, since the platform sizes a tab from caption plus image.
  HIMAGELIST FTabImages = nullptr;
  TksSkinUpDown* FScroller = nullptr;
  bool FInScrollerUpdate = false;
  bool FScrollerCheckPosted = false;
};
