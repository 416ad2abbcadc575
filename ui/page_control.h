// TPageControl and TTabSheet: pages in order over the platform tab control, one tab per
// visible sheet, one active sheet shown in the display area.
#pragma once

#include <vector>

#include "ui/win_control.h"

class TPageControl;
class TImageList;

class TTabSheet : public TWinControl {
 public:
  explicit TTabSheet(TComponent* AOwner);
  ~TTabSheet() override;

  TPageControl* PageControl() const { return FPageControl; }
  void SetPageControl(TPageControl* APageControl);
  void SetParent(TWinControl* AParent) override;
  // Position among all pages; moving it reorders the tabs.
  int PageIndex() const;
  void SetPageIndex(int Value);
  // Position among the visible tabs, -1 when the tab is hidden.
  int TabIndex() const;
  bool TabVisible() const { return FTabVisible; }
  void SetTabVisible(bool Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);

  void Dispatch(TMessage& Message) override;

 private:
  friend class TPageControl;
  TPageControl* FPageControl = nullptr;
  bool FTabVisible = true;
  int FImageIndex = -1;
};

enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
enum TTabStyle { tsTabs, tsButtons, tsFlatButtons };
using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

class TPageControl : public TWinControl {
 public:
  explicit TPageControl(TComponent* AOwner);
  ~TPageControl() override;

  int PageCount() const { return static_cast<int>(FPages.size()); }
  TTabSheet* Pages(int Index) const;
  TTabSheet* ActivePage() const { return FActivePage; }
  // From code: switches without OnChanging / OnChange.
  void SetActivePage(TTabSheet* Page);
  int ActivePageIndex() const { return FActivePage ? FActivePage->PageIndex() : -1; }
  void SetActivePageIndex(int Value);
  // The selected tab among the visible ones (-1 for none).
  int TabIndex();
  // The next (previous) page with a visible tab after CurPage, wrapping around.
  TTabSheet* FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible);
  // As the user would: OnChanging may veto, OnChange follows.
  void SelectNextPage(bool GoForward, bool CheckTabVisible = true);

  TTabPosition TabPosition() const { return FTabPosition; }
  void SetTabPosition(TTabPosition Value);
  TTabStyle Style() const { return FStyle; }
  void SetStyle(TTabStyle Value);
  bool MultiLine() const { return FMultiLine; }
  void SetMultiLine(bool Value);
  int TabHeight() const { return FTabHeight; }
  void SetTabHeight(int Value);
  int TabWidth() const { return FTabWidth; }
  void SetTabWidth(int Value);
  // Reserves room for a glyph of the list's width in every tab.
  TImageList* Images() const { return FImages; }
  void SetImages(TImageList* Value);

  // The tab's rectangle in client coordinates (empty for an index out of range).
  TRect TabRect(int Index);
  // The visible tab at a client point, -1 for none.
  int IndexOfTabAt(int X, int Y);
  // Where the sheets sit: the tab control's display area.
  TRect DisplayRect();
  // Sends the tab size (TabWidth, TabHeight) to the tab control; descendants that size their
  // tabs otherwise replace it.
  virtual void UpdateTabSize();

  TTabChangingEvent OnChanging;
  TNotifyEvent OnChange;

  void Dispatch(TMessage& Message) override;
  void Loaded() override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void AdjustClientRect(TRect& Rect) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  virtual bool CanChange();
  virtual void Change();
  // Makes Page the shown one (focus moves off a hidden page); no events.
  void ChangeActivePage(TTabSheet* Page);

 private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* Page);
  void RemovePage(TTabSheet* Page);
  // Rebuilds the tab items from the visible sheets and selects the active one.
  void UpdateTabs();
  void UpdateImageList();

  std::vector<TTabSheet*> FPages;
  TTabSheet* FActivePage = nullptr;
  TTabPosition FTabPosition = tpTop;
  TTabStyle FStyle = tsTabs;
  bool FMultiLine = false;
  int FTabHeight = 0;
  int FTabWidth = 0;
  TImageList* FImages = nullptr;
  HIMAGELIST FImageHandle = nullptr;
};
