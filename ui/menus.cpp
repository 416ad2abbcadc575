#include "ui/menus.h"

#include <algorithm>

#include "ui/forms.h"

TShortCut ShortCut(WORD Key, TShiftState Shift) {
  TShortCut s = Key & 0xFF;
  if (Shift.Contains(ssShift)) s |= scShift;
  if (Shift.Contains(ssCtrl)) s |= scCtrl;
  if (Shift.Contains(ssAlt)) s |= scAlt;
  return s;
}

AnsiString ShortCutToText(TShortCut ShortCut) {
  const WORD key = ShortCut & 0xFF;
  AnsiString name;
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) {
    name = AnsiString(1, static_cast<char>(key));
  } else if (key >= VK_F1 && key <= VK_F12) {
    name = "F";
    name += IntToStr(key - VK_F1 + 1);
  } else {
    switch (key) {
      case VK_BACK: name = "BkSp"; break;
      case VK_TAB: name = "Tab"; break;
      case VK_RETURN: name = "Enter"; break;
      case VK_ESCAPE: name = "Esc"; break;
      case VK_SPACE: name = "Space"; break;
      case VK_PRIOR: name = "PgUp"; break;
      case VK_NEXT: name = "PgDn"; break;
      case VK_END: name = "End"; break;
      case VK_HOME: name = "Home"; break;
      case VK_LEFT: name = "Left"; break;
      case VK_UP: name = "Up"; break;
      case VK_RIGHT: name = "Right"; break;
      case VK_DOWN: name = "Down"; break;
      case VK_INSERT: name = "Ins"; break;
      case VK_DELETE: name = "Del"; break;
      default: return AnsiString();
    }
  }
  AnsiString prefix;
  if (ShortCut & scShift) prefix += "Shift+";
  if (ShortCut & scCtrl) prefix += "Ctrl+";
  if (ShortCut & scAlt) prefix += "Alt+";
  return prefix + name;
}

// ---- TMenuItem ----

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}

TMenuItem::~TMenuItem() {
  if (FParent) FParent->Remove(this);
  Clear();
}

WCHAR TMenuItem::Accelerator() const {
  const WideString w = AnsiToWide(Caption);
  for (size_t i = 0; i + 1 < w.size(); ++i) {
    if (w[i] != WTEXT('&')) continue;
    if (w[i + 1] == WTEXT('&')) {
      ++i;
      continue;
    }
    WCHAR c = w[i + 1];
    if (c >= WTEXT('a') && c <= WTEXT('z')) c = static_cast<WCHAR>(c - WTEXT('a') + WTEXT('A'));
    return c;
  }
  return 0;
}

void TMenuItem::Click() {
  if (Enabled && OnClick) OnClick(this);
}

TMenuItem* TMenuItem::Items(int Index) const {
  if (Index < 0 || Index >= Count()) {
    throw EListError("Menu index out of bounds (" + IntToStr(Index) + ")");
  }
  return FItems[static_cast<size_t>(Index)];
}

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Insert(int Index, TMenuItem* Item) {
  if (!Item || Item == this) throw EInvalidArgument("Invalid menu item");
  if (Item->FParent) throw EInvalidOperation("Menu item '" + Item->Caption + "' is already in a menu");
  Index = std::clamp(Index, 0, Count());
  FItems.insert(FItems.begin() + Index, Item);
  Item->FParent = this;
}

void TMenuItem::Delete(int Index) {
  TMenuItem* item = Items(Index);
  FItems.erase(FItems.begin() + Index);
  item->FParent = nullptr;
}

void TMenuItem::Remove(TMenuItem* Item) {
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  if (it == FItems.end()) return;
  FItems.erase(it);
  Item->FParent = nullptr;
}

void TMenuItem::Clear() {
  // Child items belong to their owner component; the menu only lets go of them.
  while (!FItems.empty()) Delete(Count() - 1);
}

TMenuItem* NewItem(TComponent* Owner, const AnsiString& Caption, TShortCut ShortCut,
                   TNotifyEvent OnClick, bool Enabled) {
  auto* item = new TMenuItem(Owner);
  item->Caption = Caption;
  item->ShortCut = ShortCut;
  item->OnClick = std::move(OnClick);
  item->Enabled = Enabled;
  return item;
}

// ---- the menu window ----

namespace {

constexpr int kItemHeight = 20;
constexpr int kLineHeight = 8;
constexpr int kTextLeft = 20;
constexpr int kGap = 24;

class TMenuWindow : public TCustomControl {
 public:
  explicit TMenuWindow(TMenuItem* root) : TCustomControl(nullptr) {
    for (int i = 0; i < root->Count(); ++i) {
      if (root->Items(i)->Visible) FShown.push_back(root->Items(i));
    }
    SetColor(clMenu);
  }
  std::vector<TMenuItem*> FShown;
  int FHot = -1;

  void Measure(int& w, int& h) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    int captions = 0, keys = 0;
    h = 2;
    for (TMenuItem* item : FShown) {
      h += item->IsLine() ? kLineHeight : kItemHeight;
      if (item->IsLine()) continue;
      captions = std::max(captions, TextWidth(dc, item->Caption, true));
      keys = std::max(keys, TextWidth(dc, ShortCutToText(item->ShortCut), false));
    }
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    w = kTextLeft + captions + (keys ? kGap + keys : 0) + kTextLeft + 2;
  }

  TRect ItemBounds(int Index) {
    int y = 1;
    for (int i = 0; i < Index; ++i) y += FShown[static_cast<size_t>(i)]->IsLine() ? kLineHeight : kItemHeight;
    const int h = FShown[static_cast<size_t>(Index)]->IsLine() ? kLineHeight : kItemHeight;
    return Rect(1, y, Width() - 1, y + h);
  }

  int ItemAt(TPoint p) {
    for (int i = 0; i < static_cast<int>(FShown.size()); ++i) {
      const TRect r = ItemBounds(i);
      if (PtInRect(&r, p)) return FShown[static_cast<size_t>(i)]->IsLine() ? -1 : i;
    }
    return -1;
  }

  bool Selectable(int i) { return i >= 0 && !FShown[static_cast<size_t>(i)]->IsLine(); }

  void SetHot(int i) {
    if (FHot == i) return;
    FHot = i;
    Invalidate();
  }

  void Step(bool down) {
    const int n = static_cast<int>(FShown.size());
    if (n == 0) return;
    int i = FHot;
    for (int k = 0; k < n; ++k) {
      i = down ? (i + 1) % n : (i <= 0 ? n - 1 : i - 1);
      if (Selectable(i)) {
        SetHot(i);
        return;
      }
    }
  }

 protected:
  void CreateParams(TCreateParams& Params) override {
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP;  // the frame is painted inside the measured size
    Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    Params.WndParent = nullptr;
    Params.WindowClass.style |= CS_SAVEBITS | CS_DROPSHADOW;
  }

  void Paint() override {
    TCanvas* c = Canvas();
    c->Brush().SetColor(clMenu);
    c->FillRect(ClientRect());
    c->Brush().SetColor(clBtnShadow);
    c->FrameRect(ClientRect());
    for (int i = 0; i < static_cast<int>(FShown.size()); ++i) {
      TMenuItem* item = FShown[static_cast<size_t>(i)];
      TRect r = ItemBounds(i);
      if (item->IsLine()) {
        c->Pen().SetColor(clBtnShadow);
        const int y = (r.top + r.bottom) / 2;
        c->MoveTo(r.left + 2, y);
        c->LineTo(r.right - 2, y);
        continue;
      }
      const bool hot = i == FHot;
      if (hot) {
        c->Brush().SetColor(clHighlight);
        c->FillRect(r);
      }
      c->RequiredState({csHandleValid, csFontValid});
      HDC dc = c->Handle();
      SetBkMode(dc, TRANSPARENT);
      const TColor color = !item->Enabled ? clGrayText : hot ? clHighlightText : clMenuText;
      SetTextColor(dc, ColorToRGB(color));
      if (item->Checked) {
        TRect mark = Rect(r.left + 4, r.top + 6, r.left + 12, r.top + 14);
        c->Brush().SetColor(color);
        c->FillRect(mark);
      }
      TRect text = r;
      text.left += kTextLeft;
      text.right -= kTextLeft;
      const WideString caption = AnsiToWide(item->Caption);
      DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
                DT_SINGLELINE | DT_VCENTER | DT_LEFT);
      const WideString keys = AnsiToWide(ShortCutToText(item->ShortCut));
      if (!keys.empty()) {
        DrawTextW(dc, keys.c_str(), static_cast<int>(keys.size()), &text,
                  DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
      }
    }
  }

 private:
  static int TextWidth(HDC dc, const AnsiString& s, bool prefixes) {
    const WideString w = AnsiToWide(s);
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, w.c_str(), static_cast<int>(w.size()), &r,
              DT_SINGLELINE | DT_CALCRECT | (prefixes ? 0u : static_cast<UINT>(DT_NOPREFIX)));
    return r.right - r.left;
  }
};

bool IsMouseDown(UINT m) {
  return m == WM_LBUTTONDOWN || m == WM_RBUTTONDOWN || m == WM_MBUTTONDOWN ||
         m == WM_NCLBUTTONDOWN || m == WM_NCRBUTTONDOWN || m == WM_LBUTTONDBLCLK ||
         m == WM_RBUTTONDBLCLK;
}

}  // namespace

// ---- TPopupMenu ----

TPopupMenu::TPopupMenu(TComponent* AOwner) : TComponent(AOwner), FItems(new TMenuItem(this)) {}

TPopupMenu::~TPopupMenu() = default;

void TPopupMenu::Popup(int X, int Y) {
  if (FShowing) return;
  if (OnPopup) OnPopup(this);
  TComponentPtr<TMenuWindow> window(new TMenuWindow(FItems));
  if (window->FShown.empty()) return;
  int w = 0, h = 0;
  window->Measure(w, h);
  const TRect work = Screen->WorkAreaRect();
  if (X + w > work.right) X = std::max<int>(work.left, X - w);
  if (Y + h > work.bottom) Y = std::max<int>(work.top, Y - h);
  window->SetBounds(X, Y, w, h);
  HWND hwnd = window->Handle();
  ShowWindow(hwnd, SW_SHOWNOACTIVATE);
  SetCapture(hwnd);
  FShowing = true;

  TMenuItem* chosen = nullptr;
  bool done = false;
  auto pick = [&](int i) {
    if (!window->Selectable(i)) return;
    TMenuItem* item = window->FShown[static_cast<size_t>(i)];
    if (!item->Enabled) return;
    chosen = item;
    done = true;
  };
  MSG m;
  while (!done) {
    if (!GetMessageW(&m, nullptr, 0, 0)) {
      PostQuitMessage(static_cast<int>(m.wParam));  // for the outer loop
      break;
    }
    if (!IsWindow(hwnd)) break;
    switch (m.message) {
      case WM_MOUSEMOVE: {
        POINT p = m.pt;
        ::ScreenToClient(hwnd, &p);
        window->SetHot(window->ItemAt(p));
        continue;
      }
      case WM_LBUTTONUP:
      case WM_RBUTTONUP: {
        POINT p = m.pt;
        ::ScreenToClient(hwnd, &p);
        const TRect client = window->ClientRect();
        if (PtInRect(&client, p)) pick(window->ItemAt(p));
        continue;
      }
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
        TranslateMessage(&m);
        switch (m.wParam) {
          case VK_ESCAPE:
          case VK_MENU:
            done = true;
            break;
          case VK_UP:
            window->Step(false);
            break;
          case VK_DOWN:
            window->Step(true);
            break;
          case VK_RETURN:
            pick(window->FHot);
            break;
        }
        continue;
      case WM_CHAR:
      case WM_SYSCHAR: {
        WCHAR c = static_cast<WCHAR>(m.wParam);
        if (c >= WTEXT('a') && c <= WTEXT('z')) c = static_cast<WCHAR>(c - WTEXT('a') + WTEXT('A'));
        int found = -1, matches = 0;
        for (int i = 0; i < static_cast<int>(window->FShown.size()); ++i) {
          TMenuItem* item = window->FShown[static_cast<size_t>(i)];
          if (item->Accelerator() != c || !item->Enabled) continue;
          if (matches++ == 0) found = i;
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
          POINT p = m.pt;
          ::ScreenToClient(hwnd, &p);
          const TRect client = window->ClientRect();
          if (!PtInRect(&client, p)) done = true;  // a press outside dismisses the menu
          continue;
        }
        if (m.message == WM_ACTIVATE || m.message == WM_ACTIVATEAPP) done = true;
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
  }
  FShowing = false;
  if (GetCapture() == hwnd) ReleaseCapture();
  window.reset();
  if (OnClose) OnClose(this);
  if (chosen) chosen->Click();
}
