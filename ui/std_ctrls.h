// Standard controls over the platform's window classes: the edit (EDIT), the list box
// (LISTBOX), and a push button the framework paints itself.
#pragma once

#include <memory>

#include "ui/forms.h"
#include "ui/string_list.h"

// bsNone or bsSingle (a client edge).
using TBorderStyle = TFormBorderStyle;
enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

class TCustomEdit : public TWinControl {
 public:
  explicit TCustomEdit(TComponent* AOwner);

  int MaxLength() const { return FMaxLength; }
  void SetMaxLength(int Value);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  WCHAR PasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(WCHAR Value);
  TEditCharCase CharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase Value);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  bool AutoSelect = true;
  bool HideSelection = true;

  // Selection positions count the window's UTF-16 characters.
  int SelStart();
  void SetSelStart(int Value);
  int SelLength();
  void SetSelLength(int Value);
  AnsiString SelText();
  void SetSelText(const AnsiString& Value);
  void SelectAll();
  // Empties the window's text directly (no OnChange for a multi-line edit).
  void Clear();
  void ClearSelection() { Perform(WM_CLEAR); }
  void CopyToClipboard() { Perform(WM_COPY); }
  void CutToClipboard() { Perform(WM_CUT); }
  void PasteFromClipboard() { Perform(WM_PASTE); }
  void Undo() { Perform(EM_UNDO); }
  bool CanUndo() { return HandleAllocated() && Perform(EM_CANUNDO) != 0; }
  bool Modified();
  void SetModified(bool Value);

  TNotifyEvent OnChange;

  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  virtual void Change();

 private:
  int FMaxLength = 0;
  bool FReadOnly = false;
  WCHAR FPasswordChar = 0;
  TEditCharCase FCharCase = ecNormal;
  TBorderStyle FBorderStyle = bsSingle;
  TAlignment FAlignment = taLeftJustify;
  bool FModified = false;
  bool FCreating = false;
};

class TEdit : public TCustomEdit {
 public:
  using TCustomEdit::TCustomEdit;
};

// The base the skinned edit extends. Edit masks are not supported: it edits as TCustomEdit.
class TCustomMaskEdit : public TCustomEdit {
 public:
  using TCustomEdit::TCustomEdit;
};

class TCustomListBox;

// The items of a list box: in the window once it exists, kept aside while it does not.
class TListBoxStrings : public TStrings {
 public:
  explicit TListBoxStrings(TCustomListBox* ListBox) : FListBox(ListBox) {}
  int Count() const override;
  AnsiString Get(int Index) const override;
  void Put(int Index, const AnsiString& S) override;
  TObject* GetObject(int Index) const override;
  void PutObject(int Index, TObject* AObject) override;
  int Add(const AnsiString& S) override;
  void Insert(int Index, const AnsiString& S) override;
  void Delete(int Index) override;
  void Clear() override;

 private:
  friend class TCustomListBox;
  HWND Window() const;
  TCustomListBox* FListBox;
  TStringList FStash;
};

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };
enum TOwnerDrawStateItem { odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault };
using TOwnerDrawState = TSet<TOwnerDrawStateItem>;
using TDrawItemEvent = std::function<void(TWinControl* Control, int Index, const TRect& Rect,
                                          TOwnerDrawState State)>;

class TCustomListBox : public TWinControl {
 public:
  explicit TCustomListBox(TComponent* AOwner);
  ~TCustomListBox() override;

  TStrings* Items() { return &FItems; }
  void SetItems(TStrings* Value) { FItems.Assign(Value); }
  int Count() const { return FItems.Count(); }
  void Clear() { FItems.Clear(); }
  // The selected item, -1 for none. Setting it fires no event.
  int ItemIndex();
  void SetItemIndex(int Value);
  int TopIndex();
  void SetTopIndex(int Value);
  int ItemHeight();
  void SetItemHeight(int Value);
  TListBoxStyle Style() const { return FStyle; }
  void SetStyle(TListBoxStyle Value);
  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  // The item under a client point; with Existing, -1 below the last item.
  int ItemAtPos(TPoint Pos, bool Existing);
  TRect ItemRect(int Index);
  TCanvas* Canvas() { return FCanvas.get(); }

  TDrawItemEvent OnDrawItem;

  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);

 private:
  friend class TListBoxStrings;
  TListBoxStrings FItems;
  std::unique_ptr<TCanvas> FCanvas;
  TListBoxStyle FStyle = lbStandard;
  TBorderStyle FBorderStyle = bsSingle;
  bool FSorted = false;
  int FItemHeight = 16;
  int FSavedIndex = -1;
  int FSavedTop = 0;
};

class TListBox : public TCustomListBox {
 public:
  using TCustomListBox::TCustomListBox;
};

// A push button painted by the framework (there is no platform button class): a framed
// face with the centred caption, pressed while the mouse holds it, Space and the form's
// Enter / Escape for the default and cancel button.
class TButton : public TCustomControl {
 public:
  explicit TButton(TComponent* AOwner);
  bool Default = false;
  bool Cancel = false;
  int ModalResult = 0;
  void Click() override;
  void Dispatch(TMessage& Message) override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;

 private:
  void SetDown(bool Value);
  bool FDown = false;
  bool FSpaceDown = false;
};
