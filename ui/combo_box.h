// TComboBox in the drop-down-list style: a face showing the selected item and a list of
// items that drops down in a popup window; picks raise OnChange and OnClick. Built from the
// framework's own controls (a TListBox in a popup), not over a platform combo box class.
#pragma once

#include "ui/std_ctrls.h"

class TComboPopup;

class TComboBox : public TCustomControl {
 public:
  explicit TComboBox(TComponent* AOwner);
  ~TComboBox() override;

  TStrings* Items() { return &FItems; }
  void SetItems(TStrings* Value) { FItems.Assign(Value); }
  // The selected item (-1 for none); setting it fires no event.
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value);
  int DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(int Value) { FDropDownCount = Value > 0 ? Value : 1; }
  int ItemHeight() const { return FItemHeight; }
  void SetItemHeight(int Value);
  bool DroppedDown() const { return FDroppedDown; }
  // Opens the list and runs until it closes (a pick, Escape, Enter, a click elsewhere).
  void DropDown();
  // Closes an open list as if dismissed; the list's loop returns.
  void CloseUp() { FCloseRequest = true; }
  // The list window while open (for tests and owners that style it), else nullptr.
  TListBox* ListBox() const;

  TNotifyEvent OnChange;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;

  void Dispatch(TMessage& Message) override;

 protected:
  AnsiString GetText() override;
  void SetTextBuf(const AnsiString& Value) override;
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  // A selection by the user: the index changes, then OnChange and OnClick.
  void Select(int Index);

 private:
  void ItemsChanged();
  TStringList FItems;
  int FItemIndex = -1;
  int FDropDownCount = 8;
  int FItemHeight = 16;
  bool FDroppedDown = false;
  bool FCloseRequest = false;
  TComboPopup* FPopup = nullptr;
};
