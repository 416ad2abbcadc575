#include "skin/controls/popup_menu.h"

TksSkinPopupMenu::TksSkinPopupMenu(TComponent* AOwner) : TPopupMenu(AOwner) {}

TksSkinPopupMenu::~TksSkinPopupMenu() { SetSkinData(nullptr); }

void TksSkinPopupMenu::SetSkinData(TksSkinData* Value) {
  if (FSkinData == Value) return;
  if (FSkinData) FSkinData->RemoveFreeNotification(this);
  FSkinData = Value;
  if (Value) Value->FreeNotification(this);
}

void TksSkinPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TPopupMenu::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSkinData) FSkinData = nullptr;
}

bool TksSkinPopupMenu::Skinned() const { return false; }

void TksSkinPopupMenu::Popup(int X, int Y) { TPopupMenu::Popup(X, Y); }
