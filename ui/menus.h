// Popup menus: TMenuItem (caption with an "&" accelerator, "-" for a separator, enabled,
// checked, shortcut text, OnClick) and TPopupMenu, whose Popup runs a modal loop on the
// message queue until an item is chosen by mouse or keyboard or the menu is dismissed.
// Items do not open submenus.
#pragma once

#include <vector>

#include "ui/win_control.h"

// A key with modifiers: the virtual key in the low byte plus scShift / scCtrl / scAlt.
using TShortCut = WORD;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;
TShortCut ShortCut(WORD Key, TShiftState Shift);
// "Ctrl+C", "Alt+F4", "Shift+Del" ...; empty for no shortcut.
AnsiString ShortCutToText(TShortCut ShortCut);

class TMenuItem : public TComponent {
 public:
  explicit TMenuItem(TComponent* AOwner);
  ~TMenuItem() override;

  AnsiString Caption;
  bool Enabled = true;
  bool Visible = true;
  bool Checked = false;
  TShortCut ShortCut = scNone;
  TNotifyEvent OnClick;
  bool IsLine() const { return Caption == "-"; }
  // The accelerator character after "&" ("&&" is a plain ampersand), 0 when none.
  WCHAR Accelerator() const;
  virtual void Click();

  // Child items, owned by this item.
  int Count() const { return static_cast<int>(FItems.size()); }
  TMenuItem* Items(int Index) const;
  void Add(TMenuItem* Item);
  void Insert(int Index, TMenuItem* Item);
  void Delete(int Index);
  void Remove(TMenuItem* Item);
  void Clear();
  TMenuItem* Parent() const { return FParent; }

 private:
  std::vector<TMenuItem*> FItems;
  TMenuItem* FParent = nullptr;
};

// Makes an item owned by Owner with the given caption and click handler.
TMenuItem* NewItem(TComponent* Owner, const AnsiString& Caption, TShortCut ShortCut = scNone,
                   TNotifyEvent OnClick = nullptr, bool Enabled = true);

class TPopupMenu : public TComponent {
 public:
  explicit TPopupMenu(TComponent* AOwner);
  ~TPopupMenu() override;

  TMenuItem* Items() const { return FItems; }
  // Shows the menu with its top-left at the screen point (moved to stay on the work area)
  // and returns once it closes; the chosen item's OnClick runs after it has closed.
  void Popup(int X, int Y);
  // True while Popup runs.
  bool Showing() const { return FShowing; }
  TComponent* PopupComponent = nullptr;
  TNotifyEvent OnPopup;
  TNotifyEvent OnClose;

 private:
  TMenuItem* FItems;
  bool FShowing = false;
};
