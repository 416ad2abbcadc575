// A popup menu painted from the skin's [POPUPWINDOW] frame and "menuitem" record; a skin
// without them (or no skin) gets the framework's plain menu.
#pragma once

#include "skin/data/skin_data.h"
#include "ui/menus.h"

class TksSkinPopupMenu : public TPopupMenu {
 public:
  explicit TksSkinPopupMenu(TComponent* AOwner);
  ~TksSkinPopupMenu() override;

  TksSkinData* SkinData() const { return FSkinData; }
  void SetSkinData(TksSkinData* Value);
  // The object record the items are drawn from.
  AnsiString ItemSkinDataName = "menuitem";

  // True when the skin holds what a skinned menu needs.
  bool Skinned() const;
  // Shows the menu with its top-left at the screen point and returns once it closes; the
  // chosen item's OnClick runs after that.
  void Popup(int X, int Y);
  bool Showing() const { return FShowing || TPopupMenu::Showing(); }
  // Shows any menu's items drawn from Data's item record ItemRecordName; false (showing
  // nothing) when the skin lacks that record. Reports the window and the showing state
  // through the optional pointers while it runs.
  static bool PopupSkinned(TPopupMenu* Menu, TksSkinData* Data, const AnsiString& ItemRecordName, int X, int Y,
                           HWND* WindowOut = nullptr, bool* ShowingOut = nullptr);
  // The menu's window while a skinned menu shows, else null.
  HWND Window() const { return FWindow; }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TksSkinMenuWindow;
  TksSkinData* FSkinData = nullptr;
  HWND FWindow = nullptr;
  bool FShowing = false;
};
