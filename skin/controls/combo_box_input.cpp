// The combo box's mouse, keyboard and wheel handling, its tracking of the open list and the
// incremental search.
#include <algorithm>

#include "skin/controls/combo_box.h"

namespace {

constexpr UINT_PTR kAutoScrollTimer = 2;
constexpr UINT kAutoScrollMs = 25;
// A key typed later than this after the previous one starts a new search prefix.
constexpr DWORD kSearchPauseMs = 499;

WideString Lower(WideString s) {
  if (!s.empty()) CharLowerBuffW(s.data(), static_cast<DWORD>(s.size()));
  return s;
}

}  // namespace

void TksSkinCustomComboBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      // Enter and Escape belong to the open list, not to the form's buttons.
      Message.Result = DLGC_WANTARROWS | (FDroppedDown ? DLGC_WANTALLKEYS : 0);
      return;
    case WM_SETFOCUS:
      TksSkinCustomControl::Dispatch(Message);
      if (FEdit && FEdit->CanFocus()) FEdit->SetFocus();
      Invalidate();
      return;
    case WM_KILLFOCUS:
      TksSkinCustomControl::Dispatch(Message);
      if (FDroppedDown && FStyle == kscbFixedStyle) CloseUp(false);
      Invalidate();
      return;
    case WM_TIMER:
      if (Message.WParam == kAutoScrollTimer) {
        AutoScrollTick();
        return;
      }
      break;
    case WM_MOUSEWHEEL:
      if (FStyle == kscbFixedStyle) {
        SelectStep(GET_WHEEL_DELTA_WPARAM(Message.WParam) < 0 ? 1 : -1);
        Message.Result = 1;
        return;
      }
      break;
    case CM_CANCELMODE: {
      auto* sender = reinterpret_cast<TControl*>(Message.LParam);
      const bool ours = sender == this || sender == FPopup || sender == FPopup->ListBox() ||
                        (sender && sender == FPopup->VScrollBar());
      if (!ours && FDroppedDown) CloseUp(false);
      return;
    }
    case WM_LBUTTONUP:
      // The framework lets the capture go before MouseUp; that is not a lost capture.
      FReleasing = true;
      try {
        TksSkinCustomControl::Dispatch(Message);
      } catch (...) {
        FReleasing = false;
        throw;
      }
      FReleasing = false;
      return;
    case WM_CAPTURECHANGED:
      if (FTracking && !FReleasing && reinterpret_cast<HWND>(Message.LParam) != Handle()) {
        FTracking = false;
        StopAutoScroll();
      }
      break;
    case CM_MOUSEENTER:
      FMouseIn = true;
      UpdateEditFont();
      Invalidate();
      break;
    case CM_MOUSELEAVE:
      FMouseIn = false;
      if (FButtonHot) FButtonHot = false;
      UpdateEditFont();
      Invalidate();
      break;
    case CM_ENABLEDCHANGED:
      if (!Enabled() && FDroppedDown) CloseUp(false);
      if (FEdit) FEdit->SetEnabled(Enabled());
      UpdateEditFont();
      Invalidate();
      break;
  }
  TksSkinCustomControl::Dispatch(Message);
}

// ---- mouse ----

void TksSkinCustomComboBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TksSkinCustomControl::MouseDown(Button, Shift, X, Y);
  if (FStyle == kscbFixedStyle && CanFocus() && !Focused()) SetFocus();
  if (Button != mbLeft) return;
  const TPoint p = Point(X, Y);
  const bool opener = FToolButtonStyle || PtInRect(&FButtonRect, p) ||
                      (FStyle == kscbFixedStyle && PtInRect(&FItemRect, p));
  if (!opener) {
    if (FDroppedDown) CloseUp(false);
    return;
  }
  FButtonPressed = true;
  Invalidate();
  if (FDroppedDown) {
    CloseUp(false);
    return;
  }
  FTracking = true;
  DropDown();
  if (!FDroppedDown) FTracking = false;
}

void TksSkinCustomComboBox::TrackPointer(TPoint ScreenPos) {
  TksListBox* list = FPopup->ListBox();
  const TPoint p = list->ScreenToClient(ScreenPos);
  const bool scrolls = FPopup->VScrollBar() != nullptr;
  if (p.y < 0 && scrolls && FTrackingEntered) {
    StartAutoScroll(1);
    return;
  }
  if (p.y >= list->Height() && scrolls && FTrackingEntered) {
    StartAutoScroll(2);
    return;
  }
  StopAutoScroll();
  const TRect inside = Rect(0, 0, list->Width(), list->Height());
  if (!PtInRect(&inside, p)) return;
  const int index = FPopup->ItemAtPos(p);
  if (index >= 0 && index != list->ItemIndex()) list->SetItemIndex(index);
  FTrackingEntered = true;
}

void TksSkinCustomComboBox::MouseMove(TShiftState Shift, int X, int Y) {
  TksSkinCustomControl::MouseMove(Shift, X, Y);
  if (FTracking && FDroppedDown) {
    TrackPointer(ClientToScreen(Point(X, Y)));
    return;
  }
  const TPoint p = Point(X, Y);
  const bool hot = FToolButtonStyle || PtInRect(&FButtonRect, p) ||
                   (FStyle == kscbFixedStyle && PtInRect(&FItemRect, p));
  if (hot != FButtonHot) {
    FButtonHot = hot;
    Invalidate();
  }
}

void TksSkinCustomComboBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    const bool tracked = FTracking && FTrackingEntered && FDroppedDown;
    FTracking = false;
    StopAutoScroll();
    if (FButtonPressed) {
      FButtonPressed = false;
      Invalidate();
    }
    if (tracked) {
      if (GetCapture() == Handle()) ReleaseCapture();
      RECT popup;
      GetWindowRect(FPopup->Handle(), &popup);
      const POINT screen = ClientToScreen(Point(X, Y));
      CloseUp(PtInRect(&popup, screen) != 0);
    }
  }
  TksSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TksSkinCustomComboBox::ListWindowProc(TMessage& Message) {
  if (!FDroppedDown || !FPopup->Visible()) {
    FListProc(Message);
    return;
  }
  TksListBox* list = FPopup->ListBox();
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      // The press starts the combo's tracking with the pointer inside; the release over the
      // list then accepts.
      FTracking = true;
      FTrackingEntered = true;
      SetCapture(Handle());
      const TPoint p = Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
      TrackPointer(list->ClientToScreen(p));
      return;
    }
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
      return;
    case WM_MOUSEMOVE:
      if (!FTracking) {
        const TPoint p = Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
        const int index = FPopup->ItemAtPos(p);
        if (index >= 0 && index != list->ItemIndex()) list->SetItemIndex(index);
      }
      break;
  }
  FListProc(Message);
}

// ---- auto-scroll ----

void TksSkinCustomComboBox::StartAutoScroll(int Mode) {
  if (FAutoScroll == Mode) return;
  FAutoScroll = Mode;
  SetTimer(Handle(), kAutoScrollTimer, kAutoScrollMs, nullptr);
}

void TksSkinCustomComboBox::StopAutoScroll() {
  if (FAutoScroll == 0) return;
  FAutoScroll = 0;
  if (HandleAllocated()) KillTimer(Handle(), kAutoScrollTimer);
}

void TksSkinCustomComboBox::AutoScrollTick() {
  if (!FDroppedDown || FAutoScroll == 0) {
    StopAutoScroll();
    return;
  }
  TksListBox* list = FPopup->ListBox();
  const int index = list->ItemIndex();
  if (FAutoScroll == 1 && index > 0) list->SetItemIndex(index - 1);
  if (FAutoScroll == 2 && index < list->Count() - 1) list->SetItemIndex(index + 1);
}

// ---- keyboard and wheel ----

void TksSkinCustomComboBox::SelectStep(int Delta) {
  const int count = Items()->Count();
  const int index = ItemIndex();
  const int next = index + Delta;
  if (count == 0 || next < 0 || next >= count) return;
  if (FDroppedDown) {
    FPopup->SetItemIndex(next);
    return;
  }
  SetItemIndex(next);
}

void TksSkinCustomComboBox::KeyDown(WORD& Key, TShiftState Shift) {
  TksSkinCustomControl::KeyDown(Key, Shift);
  if (FStyle != kscbFixedStyle || Key == 0) return;
  HandleKey(Key, Shift);
}

void TksSkinCustomComboBox::HandleKey(WORD& Key, TShiftState Shift) {
  // Left and right move the inner edit's caret in the edit style.
  if (FStyle == kscbEditStyle && (Key == VK_LEFT || Key == VK_RIGHT)) return;
  const bool alt = Shift.Contains(ssAlt);
  const int count = Items()->Count();
  const int index = ItemIndex();
  switch (Key) {
    case VK_RETURN:
      if (!FDroppedDown) return;
      CloseUp(true);
      break;
    case VK_ESCAPE:
      if (!FDroppedDown) return;
      CloseUp(false);
      break;
    case VK_UP:
    case VK_LEFT:
      if (alt && Key == VK_UP) {
        if (FDroppedDown) CloseUp(false);
        break;
      }
      if (index > 0) SetItemIndex(index - 1);
      break;
    case VK_DOWN:
    case VK_RIGHT:
      if (alt && Key == VK_DOWN) {
        if (!FDroppedDown) DropDown();
        break;
      }
      if (index < count - 1) SetItemIndex(index + 1);
      break;
    case VK_PRIOR:
      // Deliberately not the mirror of Page Down: DropDownCount + 1 back, DropDownCount - 1 on.
      if (count > 0) SetItemIndex(std::max(0, index - FDropDownCount - 1));
      break;
    case VK_NEXT:
      if (count > 0) SetItemIndex(std::min(count - 1, index + FDropDownCount - 1));
      break;
    default:
      return;
  }
  Key = 0;
}

void TksSkinCustomComboBox::KeyPress(WCHAR& Key) {
  TksSkinCustomControl::KeyPress(Key);
  if (FStyle != kscbFixedStyle || Key < 0x20) return;
  IncrementalSearch(Key);
}

int TksSkinCustomComboBox::FindPrefix(const WideString& Prefix, int Start) {
  const int count = Items()->Count();
  if (count == 0 || Prefix.empty()) return -1;
  if (Start < -1 || Start >= count) Start = -1;
  const WideString key = Lower(Prefix);
  for (int k = 1; k <= count; ++k) {
    const int i = (Start + k) % count;
    const WideString item = Lower(AnsiToWide(Items()->Get(i)));
    if (item.compare(0, key.size(), key) == 0) return i;
  }
  return -1;
}

void TksSkinCustomComboBox::IncrementalSearch(WCHAR Key) {
  const DWORD now = GetTickCount();
  if (!AutoComplete || now - FLastKeyTime > kSearchPauseMs) FSearch.clear();
  FSearch.push_back(Key);
  FLastKeyTime = now;
  // One letter steps on from the current item; a longer prefix searches from the top.
  const int found = FindPrefix(FSearch, FSearch.size() == 1 ? ItemIndex() : -1);
  if (found >= 0) SetItemIndex(found);
}
