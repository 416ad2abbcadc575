#include "ui/page_control.h"

#include <algorithm>

#include "ui/forms.h"
#include "ui/image_list.h"

// ---- TTabSheet ----

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls});
  SetVisible(false);
  SetAlign(alClient);
}

TTabSheet::~TTabSheet() {
  if (FPageControl) FPageControl->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* APageControl) { SetParent(APageControl); }

void TTabSheet::SetParent(TWinControl* AParent) {
  if (FPageControl && FPageControl != AParent) {
    TPageControl* old = FPageControl;
    FPageControl = nullptr;
    old->RemovePage(this);
  }
  TWinControl::SetParent(AParent);
  auto* pc = dynamic_cast<TPageControl*>(AParent);
  if (pc && FPageControl != pc) {
    FPageControl = pc;
    pc->InsertPage(this);
  }
}

int TTabSheet::PageIndex() const {
  if (!FPageControl) return -1;
  const auto& pages = FPageControl->FPages;
  auto it = std::find(pages.begin(), pages.end(), this);
  return it == pages.end() ? -1 : static_cast<int>(it - pages.begin());
}

void TTabSheet::SetPageIndex(int Value) {
  if (!FPageControl) return;
  auto& pages = FPageControl->FPages;
  const int cur = PageIndex();
  Value = std::clamp(Value, 0, static_cast<int>(pages.size()) - 1);
  if (cur < 0 || cur == Value) return;
  pages.erase(pages.begin() + cur);
  pages.insert(pages.begin() + Value, this);
  FPageControl->UpdateTabs();
}

int TTabSheet::TabIndex() const {
  if (!FPageControl || !FTabVisible) return -1;
  int index = 0;
  for (TTabSheet* p : FPageControl->FPages) {
    if (p == this) return index;
    if (p->FTabVisible) ++index;
  }
  return -1;
}

void TTabSheet::SetTabVisible(bool Value) {
  if (FTabVisible == Value) return;
  FTabVisible = Value;
  if (!FPageControl) return;
  if (!Value && FPageControl->FActivePage == this) {
    TTabSheet* next = FPageControl->FindNextPage(this, true, true);
    FPageControl->ChangeActivePage(next == this ? nullptr : next);
  }
  FPageControl->UpdateTabs();
}

void TTabSheet::SetImageIndex(int Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  if (FPageControl) FPageControl->UpdateTabs();
}

void TTabSheet::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_TEXTCHANGED && FPageControl) FPageControl->UpdateTabs();
  TWinControl::Dispatch(Message);
}

// ---- TPageControl ----

TPageControl::TPageControl(TComponent* AOwner) : TWinControl(AOwner) {
  SetControlStyle({csDoubleClicks, csOpaque});
  SetBounds(0, 0, 289, 193);
  SetTabStop(true);
  SetColor(clBtnFace);
}

TPageControl::~TPageControl() {
  for (TTabSheet* p : FPages) p->FPageControl = nullptr;
  FPages.clear();
  if (FImageHandle) ImageList_Destroy(FImageHandle);
}

TTabSheet* TPageControl::Pages(int Index) const {
  if (Index < 0 || Index >= PageCount()) {
    throw EListError("Page index out of bounds (" + IntToStr(Index) + ")");
  }
  return FPages[static_cast<size_t>(Index)];
}

void TPageControl::InsertPage(TTabSheet* Page) {
  FPages.push_back(Page);
  UpdateTabs();
}

void TPageControl::RemovePage(TTabSheet* Page) {
  auto it = std::find(FPages.begin(), FPages.end(), Page);
  if (it == FPages.end()) return;
  TTabSheet* next = nullptr;
  if (FActivePage == Page) {
    next = FindNextPage(Page, true, true);
    if (next == Page) next = nullptr;
    FActivePage = nullptr;
  }
  FPages.erase(std::find(FPages.begin(), FPages.end(), Page));
  Page->FPageControl = nullptr;
  if (!ComponentState().Contains(csDestroying) && next) ChangeActivePage(next);
  UpdateTabs();
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible) {
  const int n = PageCount();
  if (n == 0) return nullptr;
  auto it = std::find(FPages.begin(), FPages.end(), CurPage);
  int start = it == FPages.end() ? (GoForward ? n - 1 : 0) : static_cast<int>(it - FPages.begin());
  for (int step = 1; step <= n; ++step) {
    const int i = ((GoForward ? start + step : start - step) % n + n) % n;
    TTabSheet* p = FPages[static_cast<size_t>(i)];
    if (!CheckTabVisible || p->FTabVisible) return p;
  }
  return nullptr;
}

void TPageControl::SelectNextPage(bool GoForward, bool CheckTabVisible) {
  TTabSheet* page = FindNextPage(FActivePage, GoForward, CheckTabVisible);
  if (!page || page == FActivePage || !CanChange()) return;
  ChangeActivePage(page);
  Change();
}

void TPageControl::SetActivePage(TTabSheet* Page) {
  if (Page && Page->FPageControl != this) {
    throw EInvalidOperation("Page '" + Page->Name() + "' does not belong to '" + Name() + "'");
  }
  ChangeActivePage(Page);
  if (!Page && HandleAllocated()) Perform(TCM_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

void TPageControl::SetActivePageIndex(int Value) {
  SetActivePage(Value >= 0 && Value < PageCount() ? FPages[static_cast<size_t>(Value)] : nullptr);
}

void TPageControl::ChangeActivePage(TTabSheet* Page) {
  if (FActivePage == Page) return;
  TTabSheet* old = FActivePage;
  TCustomForm* form = GetParentForm(this);
  const bool focusInside = form && old && form->ActiveControl() && old->ContainsControl(form->ActiveControl());
  if (Page) {
    Page->BringToFront();
    Page->SetVisible(true);
    if (focusInside) {
      TWinControl* next = Page->FindNextControl(nullptr, true, true, false);
      if (next && next->CanFocus()) {
        next->SetFocus();
      } else if (CanFocus()) {
        SetFocus();
      }
    }
  }
  FActivePage = Page;
  if (old) old->SetVisible(false);
  if (Page && HandleAllocated()) Perform(TCM_SETCURSEL, static_cast<WPARAM>(Page->TabIndex()), 0);
  if (!ComponentState().Contains(csLoading)) {
    Invalidate();
    if (Page) Page->Invalidate();
  }
}

int TPageControl::TabIndex() {
  if (!HandleAllocated()) return FActivePage ? FActivePage->TabIndex() : -1;
  return static_cast<int>(Perform(TCM_GETCURSEL));
}

void TPageControl::UpdateTabs() {
  if (!HandleAllocated() || ComponentState().Contains(csDestroying)) return;
  Perform(TCM_DELETEALLITEMS);
  int index = 0;
  for (TTabSheet* p : FPages) {
    if (!p->FTabVisible) continue;
    WideString caption = AnsiToWide(p->Caption());
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_PARAM;
    item.pszText = caption.data();
    item.iImage = p->FImageIndex;
    item.lParam = reinterpret_cast<LPARAM>(p);
    Perform(TCM_INSERTITEMW, static_cast<WPARAM>(index++), reinterpret_cast<LPARAM>(&item));
  }
  const int sel = FActivePage ? FActivePage->TabIndex() : -1;
  Perform(TCM_SETCURSEL, static_cast<WPARAM>(sel), 0);
  Realign();
}

void TPageControl::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, WC_TABCONTROLW);
  Params.Style |= WS_CLIPCHILDREN;
  static const DWORD kStyle[] = {TCS_TABS, TCS_BUTTONS, TCS_BUTTONS | TCS_FLATBUTTONS};
  Params.Style |= kStyle[FStyle];
  if (FMultiLine) Params.Style |= TCS_MULTILINE;
  if (FTabWidth > 0) Params.Style |= TCS_FIXEDWIDTH;
  switch (FTabPosition) {
    case tpTop: break;
    case tpBottom: Params.Style |= TCS_BOTTOM; break;
    case tpLeft: Params.Style |= TCS_VERTICAL | TCS_MULTILINE; break;
    case tpRight: Params.Style |= TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE; break;
  }
  Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TPageControl::CreateWnd() {
  TWinControl::CreateWnd();
  if (FImageHandle) Perform(TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(FImageHandle));
  UpdateTabSize();
  UpdateTabs();
}

void TPageControl::UpdateTabSize() {
  if (HandleAllocated()) Perform(TCM_SETITEMSIZE, 0, MAKELPARAM(FTabWidth, FTabHeight));
  Realign();
}

TRect TPageControl::DisplayRect() {
  TRect r = ClientRect();
  if (!HandleAllocated()) return r;
  Perform(TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  if (FTabPosition == tpTop) r.top += 2;
  return r;
}

void TPageControl::AdjustClientRect(TRect& Rect) { Rect = DisplayRect(); }

TRect TPageControl::TabRect(int Index) {
  TRect r{0, 0, 0, 0};
  if (HandleAllocated()) Perform(TCM_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&r));
  return r;
}

int TPageControl::IndexOfTabAt(int X, int Y) {
  if (!HandleAllocated()) return -1;
  TCHITTESTINFO info{};
  info.pt = Point(X, Y);
  return static_cast<int>(Perform(TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
}

void TPageControl::SetTabPosition(TTabPosition Value) {
  if (FTabPosition == Value) return;
  FTabPosition = Value;
  RecreateWnd();
}

void TPageControl::SetStyle(TTabStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  RecreateWnd();
}

void TPageControl::SetMultiLine(bool Value) {
  if (FMultiLine == Value) return;
  FMultiLine = Value;
  RecreateWnd();
}

void TPageControl::SetTabHeight(int Value) {
  if (Value < 0) throw EInvalidArgument("Tab height must not be negative");
  if (FTabHeight == Value) return;
  FTabHeight = Value;
  UpdateTabSize();
}

void TPageControl::SetTabWidth(int Value) {
  if (Value < 0) throw EInvalidArgument("Tab width must not be negative");
  if (FTabWidth == Value) return;
  const bool fixedChanged = (FTabWidth > 0) != (Value > 0);
  FTabWidth = Value;
  if (fixedChanged) {
    RecreateWnd();
    return;
  }
  UpdateTabSize();
}

void TPageControl::SetImages(TImageList* Value) {
  if (FImages == Value) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (FImages) FImages->FreeNotification(this);
  UpdateImageList();
}

void TPageControl::UpdateImageList() {
  HIMAGELIST old = FImageHandle;
  FImageHandle = nullptr;
  if (FImages) {
    FImageHandle = ImageList_Create(FImages->Width(), FImages->Height(), ILC_COLOR32 | ILC_MASK,
                                    FImages->Count(), 4);
    if (FImageHandle) ImageList_SetImageCount(FImageHandle, static_cast<UINT>(FImages->Count()));
  }
  if (HandleAllocated()) {
    Perform(TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(FImageHandle));
    Realign();
  }
  if (old) ImageList_Destroy(old);
}

void TPageControl::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) {
    FImages = nullptr;
    UpdateImageList();
  }
}

bool TPageControl::CanChange() {
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  return allow;
}

void TPageControl::Change() {
  if (OnChange) OnChange(this);
}

void TPageControl::Loaded() {
  TWinControl::Loaded();
  UpdateTabs();
}

void TPageControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_NOTIFY: {
      const auto* hdr = reinterpret_cast<const NMHDR*>(Message.LParam);
      if (hdr->code == TCN_SELCHANGING) {
        Message.Result = CanChange() ? FALSE : TRUE;
        return;
      }
      if (hdr->code == TCN_SELCHANGE) {
        // The tab control has moved its selection: the page follows, then the event.
        const int tab = static_cast<int>(Perform(TCM_GETCURSEL));
        for (TTabSheet* p : FPages) {
          if (p->TabIndex() == tab) {
            ChangeActivePage(p);
            break;
          }
        }
        Change();
        return;
      }
      break;
    }
    case CM_DIALOGKEY:
      if (Message.WParam == VK_TAB && GetKeyState(VK_CONTROL) < 0 && CanFocus()) {
        TCustomForm* form = GetParentForm(this);
        if (Focused() || (form && ContainsControl(form->ActiveControl()))) {
          SelectNextPage(GetKeyState(VK_SHIFT) >= 0);
          Message.Result = 1;
          return;
        }
      }
      break;
    case WM_SIZE:
    case CM_FONTCHANGED:  // the tab row may change height with the font
      TWinControl::Dispatch(Message);
      Realign();
      return;
  }
  TWinControl::Dispatch(Message);
}
