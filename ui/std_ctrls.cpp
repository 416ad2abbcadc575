#include "ui/std_ctrls.h"

#include <algorithm>

// ---- TCustomEdit ----

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
  SetControlStyle({csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight});
  SetBounds(0, 0, 121, 21);
  SetTabStop(true);
  SetColor(clWindow);
}

void TCustomEdit::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, WC_EDITW);
  static const DWORD kAlign[] = {ES_LEFT, ES_RIGHT, ES_CENTER};
  static const DWORD kCase[] = {0, ES_UPPERCASE, ES_LOWERCASE};
  Params.Style |= ES_AUTOHSCROLL | kAlign[FAlignment] | kCase[FCharCase];
  if (FReadOnly) Params.Style |= ES_READONLY;
  if (FPasswordChar) Params.Style |= ES_PASSWORD;
  if (!HideSelection) Params.Style |= ES_NOHIDESEL;
  if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::CreateWnd() {
  FCreating = true;
  try {
    TWinControl::CreateWnd();
  } catch (...) {
    FCreating = false;
    throw;
  }
  FCreating = false;
  Perform(EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
  if (FPasswordChar) Perform(EM_SETPASSWORDCHAR, FPasswordChar, 0);
  Perform(EM_SETMODIFY, FModified, 0);
}

void TCustomEdit::DestroyWnd() {
  FModified = Modified();
  TWinControl::DestroyWnd();
}

void TCustomEdit::SetMaxLength(int Value) {
  FMaxLength = std::max(Value, 0);
  if (HandleAllocated()) Perform(EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
}

void TCustomEdit::SetReadOnly(bool Value) {
  FReadOnly = Value;
  if (HandleAllocated()) Perform(EM_SETREADONLY, Value, 0);
}

void TCustomEdit::SetPasswordChar(WCHAR Value) {
  if (FPasswordChar == Value) return;
  const bool styleChanged = (FPasswordChar == 0) != (Value == 0);
  FPasswordChar = Value;
  if (!HandleAllocated()) return;
  if (styleChanged) {
    RecreateWnd();
    return;
  }
  Perform(EM_SETPASSWORDCHAR, Value, 0);
  Invalidate();
}

void TCustomEdit::SetCharCase(TEditCharCase Value) {
  if (FCharCase == Value) return;
  FCharCase = Value;
  RecreateWnd();
}

void TCustomEdit::SetBorderStyle(TBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
}

void TCustomEdit::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  RecreateWnd();
}

int TCustomEdit::SelStart() {
  DWORD start = 0;
  Perform(EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
  return static_cast<int>(start);
}

void TCustomEdit::SetSelStart(int Value) { Perform(EM_SETSEL, Value, Value); }

int TCustomEdit::SelLength() {
  DWORD start = 0, end = 0;
  Perform(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(end) - static_cast<int>(start);
}

void TCustomEdit::SetSelLength(int Value) {
  const int start = SelStart();
  Perform(EM_SETSEL, start, start + Value);
}

AnsiString TCustomEdit::SelText() {
  const int start = SelStart(), len = SelLength();
  const WideString all = AnsiToWide(Text());
  if (start < 0 || len <= 0 || static_cast<size_t>(start) >= all.size()) return AnsiString();
  return WideToAnsi(all.substr(static_cast<size_t>(start), static_cast<size_t>(len)));
}

void TCustomEdit::SetSelText(const AnsiString& Value) {
  const WideString w = AnsiToWide(Value);
  Perform(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(w.c_str()));
}

void TCustomEdit::SelectAll() {
  if (HandleAllocated()) Perform(EM_SETSEL, 0, -1);
}

void TCustomEdit::Clear() {
  if (!HandleAllocated()) {
    SetText(AnsiString());
    return;
  }
  SetWindowTextW(Handle(), WTEXT(""));
}

bool TCustomEdit::Modified() {
  return HandleAllocated() ? Perform(EM_GETMODIFY) != 0 : FModified;
}

void TCustomEdit::SetModified(bool Value) {
  FModified = Value;
  if (HandleAllocated()) Perform(EM_SETMODIFY, Value, 0);
}

void TCustomEdit::Change() {
  if (OnChange) OnChange(this);
}

void TCustomEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND:
      if (HIWORD(Message.WParam) == EN_CHANGE && !FCreating) Change();
      return;
    case CM_TEXTCHANGED:
      // A multi-line edit does not report text set from code; the framework does.
      if (!HandleAllocated() || (GetWindowLongW(Handle(), GWL_STYLE) & ES_MULTILINE)) Change();
      TWinControl::Dispatch(Message);
      return;
    case CM_ENTER:
      if (AutoSelect && !ControlState().Contains(csLButtonDown)) SelectAll();
      TWinControl::Dispatch(Message);
      return;
  }
  TWinControl::Dispatch(Message);
}

// ---- TListBoxStrings ----

HWND TListBoxStrings::Window() const {
  return FListBox->HandleAllocated() ? FListBox->Handle() : nullptr;
}

int TListBoxStrings::Count() const {
  HWND h = Window();
  return h ? static_cast<int>(SendMessageW(h, LB_GETCOUNT, 0, 0)) : FStash.Count();
}

AnsiString TListBoxStrings::Get(int Index) const {
  HWND h = Window();
  if (!h) return FStash.Get(Index);
  CheckIndex(Index, Count());
  const LRESULT len = SendMessageW(h, LB_GETTEXTLEN, static_cast<WPARAM>(Index), 0);
  if (len <= 0) return AnsiString();
  WideString buf(static_cast<size_t>(len) + 1, WTEXT('\0'));
  SendMessageW(h, LB_GETTEXT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(buf.data()));
  buf.resize(static_cast<size_t>(len));
  return WideToAnsi(buf);
}

void TListBoxStrings::Put(int Index, const AnsiString& S) {
  HWND h = Window();
  if (!h) {
    FStash.Put(Index, S);
    return;
  }
  const int selected = FListBox->ItemIndex();
  TObject* data = GetObject(Index);
  Delete(Index);
  InsertObject(Index, S, data);
  FListBox->SetItemIndex(selected);
}

TObject* TListBoxStrings::GetObject(int Index) const {
  HWND h = Window();
  if (!h) return FStash.GetObject(Index);
  CheckIndex(Index, Count());
  return reinterpret_cast<TObject*>(SendMessageW(h, LB_GETITEMDATA, static_cast<WPARAM>(Index), 0));
}

void TListBoxStrings::PutObject(int Index, TObject* AObject) {
  HWND h = Window();
  if (!h) {
    FStash.PutObject(Index, AObject);
    return;
  }
  CheckIndex(Index, Count());
  SendMessageW(h, LB_SETITEMDATA, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(AObject));
}

int TListBoxStrings::Add(const AnsiString& S) {
  HWND h = Window();
  if (!h) return FStash.Add(S);
  const WideString w = AnsiToWide(S);
  const LRESULT r = SendMessageW(h, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(w.c_str()));
  if (r < 0) throw EOutOfResources("Cannot add an item to the list");
  return static_cast<int>(r);
}

void TListBoxStrings::Insert(int Index, const AnsiString& S) {
  HWND h = Window();
  if (!h) {
    FStash.Insert(Index, S);
    return;
  }
  CheckIndex(Index, Count() + 1);
  const WideString w = AnsiToWide(S);
  if (SendMessageW(h, LB_INSERTSTRING, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(w.c_str())) < 0) {
    throw EOutOfResources("Cannot insert an item into the list");
  }
}

void TListBoxStrings::Delete(int Index) {
  HWND h = Window();
  if (!h) {
    FStash.Delete(Index);
    return;
  }
  CheckIndex(Index, Count());
  SendMessageW(h, LB_DELETESTRING, static_cast<WPARAM>(Index), 0);
}

void TListBoxStrings::Clear() {
  HWND h = Window();
  if (!h) {
    FStash.Clear();
    return;
  }
  SendMessageW(h, LB_RESETCONTENT, 0, 0);
}

// ---- TCustomListBox ----

TCustomListBox::TCustomListBox(TComponent* AOwner)
    : TWinControl(AOwner), FItems(this), FCanvas(std::make_unique<TCanvas>()) {
  SetControlStyle({csSetCaption, csDoubleClicks, csOpaque});
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  SetColor(clWindow);
}

TCustomListBox::~TCustomListBox() = default;

void TCustomListBox::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, WC_LISTBOXW);
  static const DWORD kStyle[] = {0, LBS_OWNERDRAWFIXED, LBS_OWNERDRAWVARIABLE};
  Params.Style |= WS_VSCROLL | LBS_NOTIFY | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | kStyle[FStyle];
  if (FSorted) Params.Style |= LBS_SORT;
  if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::CreateWnd() {
  TWinControl::CreateWnd();
  if (FStyle == lbOwnerDrawFixed) Perform(LB_SETITEMHEIGHT, 0, FItemHeight);
  // Items kept while there was no window move into it.
  TStringList stash;
  stash.Assign(&FItems.FStash);
  FItems.FStash.Clear();
  for (int i = 0; i < stash.Count(); ++i) FItems.AddObject(stash.Get(i), stash.GetObject(i));
  if (FSavedIndex >= 0) Perform(LB_SETCURSEL, static_cast<WPARAM>(FSavedIndex), 0);
  if (FSavedTop > 0) Perform(LB_SETTOPINDEX, static_cast<WPARAM>(FSavedTop), 0);
}

void TCustomListBox::DestroyWnd() {
  TStringList saved;
  for (int i = 0; i < FItems.Count(); ++i) saved.AddObject(FItems.Get(i), FItems.GetObject(i));
  FSavedIndex = ItemIndex();
  FSavedTop = TopIndex();
  TWinControl::DestroyWnd();
  FItems.FStash.Assign(&saved);
}

int TCustomListBox::ItemIndex() {
  if (!HandleAllocated()) return FSavedIndex;
  return static_cast<int>(Perform(LB_GETCURSEL));
}

void TCustomListBox::SetItemIndex(int Value) {
  if (Value < -1 || Value >= Count()) Value = -1;
  if (!HandleAllocated()) {
    FSavedIndex = Value;
    return;
  }
  Perform(LB_SETCURSEL, static_cast<WPARAM>(Value), 0);
}

int TCustomListBox::TopIndex() {
  if (!HandleAllocated()) return FSavedTop;
  return static_cast<int>(Perform(LB_GETTOPINDEX));
}

void TCustomListBox::SetTopIndex(int Value) {
  if (!HandleAllocated()) {
    FSavedTop = std::max(Value, 0);
    return;
  }
  Perform(LB_SETTOPINDEX, static_cast<WPARAM>(std::max(Value, 0)), 0);
}

int TCustomListBox::ItemHeight() {
  if (HandleAllocated() && FStyle == lbStandard) return static_cast<int>(Perform(LB_GETITEMHEIGHT));
  return FItemHeight;
}

void TCustomListBox::SetItemHeight(int Value) {
  if (Value <= 0) throw EInvalidArgument("Item height must be positive");
  FItemHeight = Value;
  if (HandleAllocated() && FStyle != lbStandard) {
    Perform(LB_SETITEMHEIGHT, 0, Value);
    Invalidate();
  }
}

void TCustomListBox::SetStyle(TListBoxStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  RecreateWnd();
}

void TCustomListBox::SetSorted(bool Value) {
  if (FSorted == Value) return;
  FSorted = Value;
  if (Value && !HandleAllocated()) FItems.FStash.SetSorted(true);
  RecreateWnd();
}

void TCustomListBox::SetBorderStyle(TBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
}

int TCustomListBox::ItemAtPos(TPoint Pos, bool Existing) {
  const TRect client = ClientRect();
  if (!PtInRect(&client, Pos)) return -1;
  const LRESULT r = Perform(LB_ITEMFROMPOINT, 0, MAKELPARAM(Pos.x, Pos.y));
  const int index = LOWORD(r);
  const bool outside = HIWORD(r) != 0;
  if (index >= Count()) return Existing ? -1 : Count();
  if (outside && Existing) return -1;
  return index;
}

TRect TCustomListBox::ItemRect(int Index) {
  TRect r{0, 0, 0, 0};
  if (Index < 0 || Index >= Count()) {
    if (Index != Count()) return r;
    // Just past the last item: where the next one would go.
    if (Index == 0) return Rect(0, 0, ClientWidth(), ItemHeight());
    r = ItemRect(Index - 1);
    OffsetRect(&r, 0, r.bottom - r.top);
    return r;
  }
  Perform(LB_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&r));
  return r;
}

void TCustomListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  if (OnDrawItem) {
    OnDrawItem(this, Index, Rect, State);
    return;
  }
  FCanvas->FillRect(Rect);
  if (Index >= 0 && Index < Count()) FCanvas->TextOut(Rect.left + 2, Rect.top, FItems.Get(Index));
}

void TCustomListBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND:
      if (HIWORD(Message.WParam) == LBN_SELCHANGE) Click();
      if (HIWORD(Message.WParam) == LBN_DBLCLK) DblClick();
      return;
    case CN_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
      mis->itemHeight = static_cast<UINT>(FItemHeight);
      Message.Result = TRUE;
      return;
    }
    case CN_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
      TOwnerDrawState state;
      if (dis->itemState & ODS_SELECTED) state.Include(odSelected);
      if (dis->itemState & ODS_GRAYED) state.Include(odGrayed);
      if (dis->itemState & ODS_DISABLED) state.Include(odDisabled);
      if (dis->itemState & ODS_FOCUS) state.Include(odFocused);
      FCanvas->SetHandle(dis->hDC);
      try {
        FCanvas->Font().Assign(Font());
        FCanvas->Brush().SetColor(state.Contains(odSelected) ? clHighlight : Color());
        if (state.Contains(odSelected)) FCanvas->Font().SetColor(clHighlightText);
        DrawItem(static_cast<int>(static_cast<int32_t>(dis->itemID)), dis->rcItem, state);
      } catch (...) {
        FCanvas->SetHandle(nullptr);
        throw;
      }
      FCanvas->SetHandle(nullptr);
      Message.Result = TRUE;
      return;
    }
  }
  TWinControl::Dispatch(Message);
}

// ---- TButton ----

TButton::TButton(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle({csSetCaption, csClickEvents, csCaptureMouse, csOpaque, csDoubleClicks});
  SetBounds(0, 0, 75, 25);
  SetTabStop(true);
  SetColor(clBtnFace);
}

void TButton::SetDown(bool Value) {
  if (FDown == Value) return;
  FDown = Value;
  Invalidate();
}

void TButton::Click() {
  if (ModalResult != 0) {
    if (TCustomForm* form = GetParentForm(this)) form->ModalResult = ModalResult;
  }
  TCustomControl::Click();
}

void TButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    if (CanFocus() && !Focused()) SetFocus();
    SetDown(true);
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) SetDown(false);
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TButton::MouseMove(TShiftState Shift, int X, int Y) {
  if (MouseCapture()) {
    const TRect r = ClientRect();
    SetDown(PtInRect(&r, Point(X, Y)) != 0);
  }
  TCustomControl::MouseMove(Shift, X, Y);
}

void TButton::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  c->Brush().SetColor(FDown ? clBtnShadow : Color());
  c->FillRect(r);
  c->Brush().SetColor(Focused() || Default ? clWindowFrame : clBtnShadow);
  c->FrameRect(r);
  const WideString caption = AnsiToWide(Caption());
  c->Font().Assign(Font());
  c->Brush().SetStyle(bsClear);
  c->RequiredState({csHandleValid, csFontValid, csBrushValid});
  SetBkMode(c->Handle(), TRANSPARENT);
  SetTextColor(c->Handle(), ColorToRGB(Enabled() ? Font()->Color() : clGrayText));
  if (FDown) OffsetRect(&r, 1, 1);
  DrawTextW(c->Handle(), caption.c_str(), static_cast<int>(caption.size()), &r,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  c->Brush().SetStyle(bsSolid);
}

void TButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_DIALOGKEY:
      if (((Message.WParam == VK_RETURN && Default) || (Message.WParam == VK_ESCAPE && Cancel)) &&
          CanFocus()) {
        Click();
        Message.Result = 1;
        return;
      }
      Message.Result = 0;
      return;
    case WM_KEYDOWN:
      if (Message.WParam == VK_SPACE) {
        FSpaceDown = true;
        SetDown(true);
      }
      break;
    case WM_KEYUP:
      if (Message.WParam == VK_SPACE && FSpaceDown) {
        FSpaceDown = false;
        SetDown(false);
        Click();
      }
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case CM_TEXTCHANGED:
    case CM_ENABLEDCHANGED:
      Invalidate();
      break;
  }
  TCustomControl::Dispatch(Message);
}
