#include "skin/controls/popup_menu.h"

#include <algorithm>
#include <vector>

#include "skin/draw/bitmap_target.h"
#include "skin/form/form_skinner.h"
#include "ui/forms.h"

namespace {

bool EmptyRect(const RECT& R) { return R.right <= R.left || R.bottom <= R.top; }
int W(const RECT& R) { return R.right - R.left; }
int H(const RECT& R) { return R.bottom - R.top; }

TksDataSkinMenuItem* ItemRecord(TksSkinData* Data, const AnsiString& Name) {
  if (!Data || Data->Empty()) return nullptr;
  const int i = Data->GetObjectIndex(Name);
  if (i < 0) return nullptr;
  auto* r = dynamic_cast<TksDataSkinMenuItem*>(Data->ObjectRecords[size_t(i)].get());
  if (!r || EmptyRect(r->skinrect) || !Data->ActivePicture(r->activepictureindex)) return nullptr;
  return r;
}

// The window picture is the frame image itself. A picture much wider or taller than its
// borders around itemsrect suggest is an atlas of other pieces, not a frame.
bool FramePicture(const TksDataSkinPopupWindow& P, TBitmap* Picture) {
  if (!Picture || EmptyRect(P.itemsrect)) return false;
  const int right = Picture->Width() - P.itemsrect.right;
  const int bottom = Picture->Height() - P.itemsrect.bottom;
  return right >= 0 && bottom >= 0 && right <= 4 * std::max<int>(P.itemsrect.left, 1) &&
         bottom <= 4 * std::max<int>(P.itemsrect.top, 1) && P.rightbottompoint.x < Picture->Width() &&
         P.rightbottompoint.y < Picture->Height();
}

bool IsMouseDown(UINT m) {
  return m == WM_LBUTTONDOWN || m == WM_RBUTTONDOWN || m == WM_MBUTTONDOWN ||
         m == WM_NCLBUTTONDOWN || m == WM_NCRBUTTONDOWN || m == WM_LBUTTONDBLCLK ||
         m == WM_RBUTTONDBLCLK;
}

}  // namespace

// The menu's window: rows of item images and dividers inside the skin's popup frame.
class TksSkinMenuWindow : public TCustomControl {
 public:
  TksSkinMenuWindow(TPopupMenu* Menu, TksSkinData* Data, TksDataSkinMenuItem* Item)
      : TCustomControl(nullptr), FData(Data), FItem(Item) {
    for (int i = 0; i < Menu->Items()->Count(); ++i)
      if (Menu->Items()->Items(i)->Visible) FShown.push_back(Menu->Items()->Items(i));
    FPicture = FData->ActivePicture(Item->activepictureindex);
    FFrame = FData->ActivePicture(FData->PopupWindow.windowpictureindex);
    if (!FramePicture(FData->PopupWindow, FFrame)) FFrame = nullptr;
    const RECT& items = FData->PopupWindow.itemsrect;
    FInsets = FFrame ? RECT{items.left, items.top, FFrame->Width() - items.right, FFrame->Height() - items.bottom}
                     : RECT{1, 1, 1, 1};
    TFont* f = Font();
    f->SetName(Item->fontname);
    f->SetHeight(Item->fontheight);
    TFontStyles style;
    if (Item->fontstyle.Bold) style.Include(fsBold);
    if (Item->fontstyle.Italic) style.Include(fsItalic);
    if (Item->fontstyle.Underline) style.Include(fsUnderline);
    f->SetStyle(style);
  }

  std::vector<TMenuItem*> FShown;
  int FHot = -1;

  int RowHeight(int i) const {
    if (!FShown[size_t(i)]->IsLine()) return H(FItem->skinrect);
    return EmptyRect(FItem->dividerrect) ? 5 : H(FItem->dividerrect);
  }
  TRect Row(int Index) {
    int y = FInsets.top;
    for (int i = 0; i < Index; ++i) y += RowHeight(i);
    return Rect(FInsets.left, y, Width() - FInsets.right, y + RowHeight(Index));
  }
  void Measure(int& w, int& h) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    int text = 0;
    h = FInsets.top + FInsets.bottom;
    for (int i = 0; i < int(FShown.size()); ++i) {
      h += RowHeight(i);
      if (FShown[size_t(i)]->IsLine()) continue;
      const WideString s = AnsiToWide(FShown[size_t(i)]->Caption);
      RECT r{0, 0, 0, 0};
      DrawTextW(dc, s.c_str(), int(s.size()), &r, DT_SINGLELINE | DT_CALCRECT);
      text = std::max<int>(text, r.right);
    }
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    // Room on both sides as the item image keeps around its text, and some air for the eye.
    const int sides = FItem->textrect.left + (W(FItem->skinrect) - FItem->textrect.right);
    w = FInsets.left + FInsets.right + std::max(text + sides + 16, W(FItem->skinrect));
  }
  int ItemAt(TPoint p) {
    for (int i = 0; i < int(FShown.size()); ++i) {
      const TRect r = Row(i);
      if (PtInRect(&r, p)) return FShown[size_t(i)]->IsLine() ? -1 : i;
    }
    return -1;
  }
  bool Selectable(int i) const { return i >= 0 && i < int(FShown.size()) && !FShown[size_t(i)]->IsLine(); }
  void SetHot(int i) {
    if (FHot == i) return;
    FHot = i;
    Invalidate();
  }
  void Step(bool down) {
    const int n = int(FShown.size());
    int i = FHot;
    for (int k = 0; k < n; ++k) {
      i = down ? (i + 1) % n : (i <= 0 ? n - 1 : i - 1);
      if (Selectable(i)) return SetHot(i);
    }
  }

 protected:
  void CreateParams(TCreateParams& Params) override {
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP;
    Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    Params.WndParent = nullptr;
  }

  void Paint() override {
    const int w = Width(), h = Height();
    TBitmap image(w, h, pf24bit);
    TCanvas* c = image.Canvas();
    if (FFrame) {
      const TksDataSkinPopupWindow& p = FData->PopupWindow;
      lumoa::skin::SkinGeometry g{RECT{0, 0, FFrame->Width(), FFrame->Height()}, p.lefttoppoint,
                                  p.righttoppoint, p.leftbottompoint, p.rightbottompoint, p.itemsrect};
      lumoa::skin::StretchModes modes{p.leftstretch, p.topstretch, p.rightstretch, p.bottomstretch,
                                      p.stretcheffect, p.stretchtype};
      lumoa::skin::ComposeSkinImage(FFrame, g, lumoa::skin::ResizeSkinGeometry(g, w, h), w, h, true,
                                    modes, &image);
    } else {
      c->Brush().SetColor(static_cast<TColor>(FData->SkinColors.cbtnshadow));
      c->FillRect(Rect(0, 0, w, h));
    }
    for (int i = 0; i < int(FShown.size()); ++i) PaintRow(c, &image, i);
    Canvas()->Draw(0, 0, &image);
  }

 private:
  void PaintRow(TCanvas* c, TBitmap* image, int i) {
    TMenuItem* item = FShown[size_t(i)];
    const TRect r = Row(i);
    const int rw = r.right - r.left;
    TBitmap piece;
    if (item->IsLine()) {
      if (EmptyRect(FItem->dividerrect)) return;
      lumoa::skin::ComposeHorzSkinImage(FItem->dividerleftoffset, FItem->dividerrightoffset, &piece,
                                        FItem->dividerstretcheffect, rw, FPicture, FItem->dividerrect);
      c->Draw(r.left, r.top, &piece);
      return;
    }
    const bool hot = i == FHot && item->Enabled;
    const RECT& src = hot && !EmptyRect(FItem->activeskinrect) ? FItem->activeskinrect : FItem->skinrect;
    lumoa::skin::ComposeHorzSkinImage(FItem->itemleftoffset, FItem->itemrightoffset, &piece,
                                      FItem->stretcheffect, rw, FPicture, src);
    c->Draw(r.left, r.top, &piece);
    RECT text{r.left + FItem->textrect.left, r.top + FItem->textrect.top,
              r.right - (W(FItem->skinrect) - FItem->textrect.right), r.top + FItem->textrect.bottom};
    if (EmptyRect(text)) text = r;
    HDC dc = image->Canvas()->Handle();
    const int saved = SaveDC(dc);
    SelectObject(dc, Font()->Handle());
    SetBkMode(dc, TRANSPARENT);
    const COLORREF color = !item->Enabled ? FItem->unenabledfontcolor : hot ? FItem->activefontcolor : FItem->fontcolor;
    SetTextColor(dc, color);
    const WideString s = AnsiToWide(item->Caption);
    DrawTextW(dc, s.c_str(), int(s.size()), &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    RestoreDC(dc, saved);
  }

  TksSkinData* FData;
  TksDataSkinMenuItem* FItem;
  TBitmap* FPicture = nullptr;
  TBitmap* FFrame = nullptr;
  RECT FInsets{};
};

// ---- TksSkinPopupMenu ----

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

bool TksSkinPopupMenu::Skinned() const { return ItemRecord(FSkinData, ItemSkinDataName) != nullptr; }

void TksSkinPopupMenu::Popup(int X, int Y) {
  if (Showing()) return;
  if (!ItemRecord(FSkinData, ItemSkinDataName)) {
    TPopupMenu::Popup(X, Y);
    return;
  }
  PopupSkinned(this, FSkinData, ItemSkinDataName, X, Y, &FWindow, &FShowing);
}

bool TksSkinPopupMenu::PopupSkinned(TPopupMenu* Menu, TksSkinData* Data, const AnsiString& ItemRecordName,
                                    int X, int Y, HWND* WindowOut, bool* ShowingOut) {
  TksDataSkinMenuItem* record = ItemRecord(Data, ItemRecordName);
  if (!record) return false;
  if (Menu->OnPopup) Menu->OnPopup(Menu);
  TComponentPtr<TksSkinMenuWindow> window(new TksSkinMenuWindow(Menu, Data, record));
  if (window->FShown.empty()) return true;
  int w = 0, h = 0;
  window->Measure(w, h);
  const TRect work = Screen->WorkAreaRect();
  if (X + w > work.right) X = std::max<int>(work.left, X - w);
  if (Y + h > work.bottom) Y = std::max<int>(work.top, Y - h);
  window->SetBounds(X, Y, w, h);
  HWND hwnd = window->Handle();
  if (WindowOut) *WindowOut = hwnd;
  ShowWindow(hwnd, SW_SHOWNOACTIVATE);
  SetCapture(hwnd);
  if (ShowingOut) *ShowingOut = true;

  TMenuItem* chosen = nullptr;
  bool done = false;
  auto pick = [&](int i) {
    if (!window->Selectable(i) || !window->FShown[size_t(i)]->Enabled) return;
    chosen = window->FShown[size_t(i)];
    done = true;
  };
  auto clientPoint = [&](POINT p) {
    ::ScreenToClient(hwnd, &p);
    return Point(p.x, p.y);
  };
  MSG m;
  while (!done) {
    if (!GetMessageW(&m, nullptr, 0, 0)) {
      PostQuitMessage(static_cast<int>(m.wParam));
      break;
    }
    if (!IsWindow(hwnd) || GetCapture() != hwnd) break;
    const TPoint p = clientPoint(m.pt);
    const TRect client = window->ClientRect();
    switch (m.message) {
      case WM_MOUSEMOVE:
        window->SetHot(window->ItemAt(p));
        continue;
      case WM_LBUTTONUP:
      case WM_RBUTTONUP:
        if (PtInRect(&client, p)) pick(window->ItemAt(p));
        continue;
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
        TranslateMessage(&m);
        if (m.wParam == VK_ESCAPE || m.wParam == VK_MENU) done = true;
        if (m.wParam == VK_UP || m.wParam == VK_DOWN) window->Step(m.wParam == VK_DOWN);
        if (m.wParam == VK_RETURN) pick(window->FHot);
        continue;
      case WM_CHAR:
      case WM_SYSCHAR: {
        WCHAR c = static_cast<WCHAR>(m.wParam);
        if (c >= WTEXT('a') && c <= WTEXT('z')) c = static_cast<WCHAR>(c - WTEXT('a') + WTEXT('A'));
        int found = -1, matches = 0;
        for (int i = 0; i < int(window->FShown.size()); ++i) {
          TMenuItem* item = window->FShown[size_t(i)];
          if (item->Accelerator() == c && item->Enabled && matches++ == 0) found = i;
        }
        if (matches == 1) pick(found);
        if (matches > 1) window->SetHot(found);
        continue;
      }
      case WM_KEYUP:
      case WM_SYSKEYUP:
      case WM_MOUSEWHEEL:
        continue;
      default:
        if (IsMouseDown(m.message)) {
          if (!PtInRect(&client, p)) done = true;  // a press outside dismisses the menu
          continue;
        }
        if (m.message == WM_ACTIVATE || m.message == WM_ACTIVATEAPP) done = true;
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
  }
  if (ShowingOut) *ShowingOut = false;
  if (WindowOut) *WindowOut = nullptr;
  if (GetCapture() == hwnd) ReleaseCapture();
  window.reset();
  if (Menu->OnClose) Menu->OnClose(Menu);
  if (chosen) chosen->Click();
  return true;
}

namespace {
// Every skinned form's system menu is drawn from its skin once this layer is linked in.
const bool kMenuPresenterInstalled = [] {
  SetSkinMenuPresenter([](TPopupMenu* Menu, TksSkinData* Data, int X, int Y) {
    if (auto* skinned = dynamic_cast<TksSkinPopupMenu*>(Menu)) {
      if (skinned->SkinData() == nullptr) skinned->SetSkinData(Data);
      skinned->Popup(X, Y);
    } else if (!TksSkinPopupMenu::PopupSkinned(Menu, Data, "menuitem", X, Y)) {
      Menu->Popup(X, Y);
    }
  });
  return true;
}();
}  // namespace
