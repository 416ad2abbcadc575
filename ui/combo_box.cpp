#include "ui/combo_box.h"

#include <algorithm>

class TComboPopup : public TWinControl {
 public:
  explicit TComboPopup(TComponent* AOwner) : TWinControl(AOwner), List(new TListBox(this)) {
    SetVisible(false);
    List->SetBorderStyle(bsNone);
    List->SetStyle(lbOwnerDrawFixed);
    List->SetTabStop(false);
    List->SetParent(this);
    List->SetAlign(alClient);
  }
  TListBox* List;

 protected:
  void CreateParams(TCreateParams& Params) override {
    TWinControl::CreateParams(Params);
    Params.Style = WS_POPUP | WS_BORDER | WS_CLIPCHILDREN;
    Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    Params.WndParent = nullptr;
    Params.WindowClass.style |= CS_SAVEBITS | CS_DROPSHADOW;
  }
};

TComboBox::TComboBox(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle({csCaptureMouse, csSetCaption, csDoubleClicks, csFixedHeight, csOpaque});
  SetBounds(0, 0, 145, 21);
  SetTabStop(true);
  SetColor(clWindow);
  FItems.OnChange = [this](TObject*) { ItemsChanged(); };
}

TComboBox::~TComboBox() { FItems.OnChange = nullptr; }

TListBox* TComboBox::ListBox() const { return FDroppedDown && FPopup ? FPopup->List : nullptr; }

void TComboBox::ItemsChanged() {
  if (FItemIndex >= FItems.Count()) FItemIndex = -1;
  Invalidate();
}

void TComboBox::SetItemIndex(int Value) {
  if (Value < -1 || Value >= FItems.Count()) Value = -1;
  if (FItemIndex == Value) return;
  FItemIndex = Value;
  Perform(CM_TEXTCHANGED);
  Invalidate();
}

void TComboBox::SetItemHeight(int Value) {
  if (Value <= 0) throw EInvalidArgument("Item height must be positive");
  FItemHeight = Value;
}

AnsiString TComboBox::GetText() {
  return FItemIndex >= 0 ? FItems.Get(FItemIndex) : AnsiString();
}

void TComboBox::SetTextBuf(const AnsiString& Value) {
  // The text of a drop-down list is its selected item.
  SetItemIndex(FItems.IndexOf(Value));
}

void TComboBox::Select(int Index) {
  if (Index < 0 || Index >= FItems.Count()) return;
  SetItemIndex(Index);
  if (OnChange) OnChange(this);
  Click();
}

void TComboBox::Paint() {
  TCanvas* c = Canvas();
  const TRect r = ClientRect();
  const int button = r.bottom - r.top;
  c->Brush().SetColor(Color());
  c->FillRect(r);
  TRect face = Rect(r.left + 2, r.top + 2, r.right - button - 1, r.bottom - 2);
  if (Focused() && !FDroppedDown) {
    c->Brush().SetColor(clHighlight);
    c->FillRect(face);
  }
  c->Brush().SetColor(clBtnShadow);
  c->FrameRect(r);
  TRect arrow = Rect(r.right - button, r.top + 1, r.right - 1, r.bottom - 1);
  c->Brush().SetColor(clBtnFace);
  c->FillRect(arrow);
  c->Pen().SetColor(Enabled() ? clBtnText : clGrayText);
  const int cx = (arrow.left + arrow.right) / 2, cy = (arrow.top + arrow.bottom) / 2;
  for (int i = 0; i < 4; ++i) {
    c->MoveTo(cx - 3 + i, cy - 1 + i);
    c->LineTo(cx + 4 - i, cy - 1 + i);
  }
  const WideString text = AnsiToWide(GetText());
  c->Font().Assign(Font());
  c->RequiredState({csHandleValid, csFontValid});
  SetBkMode(c->Handle(), TRANSPARENT);
  const TColor color = !Enabled() ? clGrayText : (Focused() && !FDroppedDown) ? clHighlightText
                                                                               : Font()->Color();
  SetTextColor(c->Handle(), ColorToRGB(color));
  face.left += 2;
  DrawTextW(c->Handle(), text.c_str(), static_cast<int>(text.size()), &face,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void TComboBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    if (CanFocus() && !Focused()) SetFocus();
    SetMouseCapture(false);
    TCustomControl::MouseDown(Button, Shift, X, Y);
    DropDown();
    return;
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TComboBox::KeyDown(WORD& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  const bool alt = Shift.Contains(ssAlt);
  if (Key == VK_F4 || (alt && Key == VK_DOWN)) {
    Key = 0;
    DropDown();
    return;
  }
  int index = FItemIndex;
  switch (Key) {
    case VK_UP: case VK_LEFT: index = std::max(FItemIndex - 1, 0); break;
    case VK_DOWN: case VK_RIGHT: index = std::min(FItemIndex + 1, FItems.Count() - 1); break;
    case VK_HOME: index = 0; break;
    case VK_END: index = FItems.Count() - 1; break;
    default: return;
  }
  Key = 0;
  if (index != FItemIndex) Select(index);
}

void TComboBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS;
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case CM_ENABLEDCHANGED:
      Invalidate();
      break;
  }
  TCustomControl::Dispatch(Message);
}

void TComboBox::DropDown() {
  if (FDroppedDown || FItems.Count() == 0) return;
  if (OnDropDown) OnDropDown(this);
  if (!FPopup) FPopup = new TComboPopup(this);
  TListBox* list = FPopup->List;
  list->Font()->Assign(Font());
  list->SetItemHeight(FItemHeight);
  list->Items()->Assign(&FItems);
  const int rows = std::min(FItems.Count(), FDropDownCount);
  const int h = rows * FItemHeight + 2;
  TPoint p = ClientToScreen(Point(0, Height()));
  const TRect work = Screen->WorkAreaRect();
  if (p.y + h > work.bottom) p.y = ClientToScreen(Point(0, 0)).y - h;
  FPopup->SetBounds(p.x, p.y, Width(), h);
  FPopup->HandleNeeded();
  list->SetItemIndex(FItemIndex);
  if (FItemIndex >= rows) list->SetTopIndex(FItemIndex - rows + 1);
  FPopup->SetVisible(true);
  HWND popup = FPopup->Handle();
  SetCapture(popup);
  FDroppedDown = true;
  FCloseRequest = false;
  Invalidate();

  int picked = -1;
  bool done = false;
  bool sawPress = false;  // the release of the press that opened the list keeps it open
  auto itemAt = [&](POINT screen) {
    POINT c = screen;
    ::ScreenToClient(list->Handle(), &c);
    return list->ItemAtPos(c, true);
  };
  auto insidePopup = [&](POINT screen) {
    RECT r;
    GetWindowRect(popup, &r);
    return PtInRect(&r, screen) != 0;
  };
  MSG m;
  while (!done && !FCloseRequest) {
    if (!GetMessageW(&m, nullptr, 0, 0)) {
      PostQuitMessage(static_cast<int>(m.wParam));
      break;
    }
    if (!IsWindow(popup)) break;
    switch (m.message) {
      case WM_MOUSEMOVE: {
        const int i = itemAt(m.pt);
        if (i >= 0 && i != list->ItemIndex()) list->SetItemIndex(i);
        continue;
      }
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
      case WM_RBUTTONDOWN:
      case WM_MBUTTONDOWN:
        sawPress = true;
        if (!insidePopup(m.pt)) done = true;
        continue;
      case WM_LBUTTONUP: {
        const int i = itemAt(m.pt);
        if (i >= 0) {
          picked = i;
          done = true;
        } else if (sawPress && !insidePopup(m.pt)) {
          done = true;
        }
        continue;
      }
      case WM_RBUTTONUP:
      case WM_MBUTTONUP:
        continue;
      case WM_MOUSEWHEEL: {
        const int delta = GET_WHEEL_DELTA_WPARAM(m.wParam);
        list->SetTopIndex(list->TopIndex() + (delta > 0 ? -1 : 1));
        continue;
      }
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
        switch (m.wParam) {
          case VK_ESCAPE:
          case VK_F4:
            done = true;
            break;
          case VK_RETURN:
            picked = list->ItemIndex();
            done = true;
            break;
          case VK_UP:
            if (m.message == WM_SYSKEYDOWN) {
              done = true;
            } else {
              list->SetItemIndex(std::max(list->ItemIndex() - 1, 0));
            }
            break;
          case VK_DOWN:
            list->SetItemIndex(std::min(list->ItemIndex() + 1, list->Count() - 1));
            break;
        }
        continue;
      case WM_KEYUP:
      case WM_SYSKEYUP:
      case WM_CHAR:
      case WM_SYSCHAR:
        continue;
      default:
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
  }
  if (GetCapture() == popup) ReleaseCapture();
  FPopup->SetVisible(false);
  FDroppedDown = false;
  FCloseRequest = false;
  Invalidate();
  if (OnCloseUp) OnCloseUp(this);
  if (picked >= 0) Select(picked);
}
