// Tab order, focus, and the keyboard: key events, the form's key preview and dialog keys.
#include "ui/win_control.h"

#include <algorithm>
#include <vector>

#include "ui/forms.h"
#include "ui/win_control_parts.h"

int TWinControl::TabOrder() {
  if (!FParent) return -1;
  auto& list = FParent->FTabList;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int Value) {
  if (!FParent) return;
  auto& list = FParent->FTabList;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  Value = std::clamp(Value, 0, static_cast<int>(list.size()));
  list.insert(list.begin() + Value, this);
}

void TWinControl::SetTabStop(bool Value) {
  if (FTabStop == Value) return;
  FTabStop = Value;
  if (!FHandle) return;
  LONG style = GetWindowLongW(FHandle, GWL_STYLE);
  style = Value ? (style | WS_TABSTOP) : (style & ~static_cast<LONG>(WS_TABSTOP));
  SetWindowLongW(FHandle, GWL_STYLE, style);
}

std::vector<TWinControl*> TWinControl::TabOrderList() {
  std::vector<TWinControl*> out;
  for (TWinControl* w : FTabList) {
    out.push_back(w);
    const auto inner = w->TabOrderList();
    out.insert(out.end(), inner.begin(), inner.end());
  }
  return out;
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward,
                                          bool CheckTabStop, bool CheckParent) {
  const auto list = TabOrderList();
  if (list.empty()) return nullptr;
  const int n = static_cast<int>(list.size());
  auto it = std::find(list.begin(), list.end(), CurControl);
  int start = it == list.end() ? (GoForward ? n - 1 : 0) : static_cast<int>(it - list.begin());
  for (int step = 1; step <= n; ++step) {
    const int i = ((GoForward ? start + step : start - step) % n + n) % n;
    TWinControl* w = list[static_cast<size_t>(i)];
    if (w == CurControl) continue;
    if (CheckTabStop && !w->TabStop()) continue;
    if (CheckParent && w->Parent() != this) continue;
    if (w->CanFocus()) return w;
  }
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
  if (TWinControl* w = FindNextControl(CurControl, GoForward, CheckTabStop, false)) {
    w->SetFocus();
  }
}

bool TWinControl::CanFocus() {
  TCustomForm* form = GetParentForm(this);
  if (!form) return Visible() && Enabled();
  for (TControl* c = this; c; c = c->Parent()) {
    if (!c->Visible() || !c->Enabled()) return false;
    if (c == form) break;
  }
  return true;
}

bool TWinControl::Focused() { return FHandle && GetFocus() == FHandle; }

void TWinControl::SetFocus() {
  if (TCustomForm* form = GetParentForm(this)) {
    form->FocusControl(this);
    return;
  }
  if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  ::SetFocus(Handle());
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

bool TWinControl::DoKeyDown(TMessage& Message) {
  TWinControl* form = GetParentForm(this);
  if (form && form != this && static_cast<TCustomForm*>(form)->KeyPreview &&
      !form->DoKeyDown(Message)) {
    return false;
  }
  WORD key = static_cast<WORD>(Message.WParam);
  TShiftState shift = KeyboardShiftState();
  if (KeyDataAltDown(Message.LParam)) shift.Include(ssAlt);
  KeyDown(key, shift);
  if (key == 0) return false;
  Message.WParam = key;
  return true;
}

bool TWinControl::DoKeyUp(TMessage& Message) {
  TWinControl* form = GetParentForm(this);
  if (form && form != this && static_cast<TCustomForm*>(form)->KeyPreview &&
      !form->DoKeyUp(Message)) {
    return false;
  }
  WORD key = static_cast<WORD>(Message.WParam);
  TShiftState shift = KeyboardShiftState();
  if (KeyDataAltDown(Message.LParam)) shift.Include(ssAlt);
  KeyUp(key, shift);
  if (key == 0) return false;
  Message.WParam = key;
  return true;
}

bool TWinControl::DoKeyPress(TMessage& Message) {
  TWinControl* form = GetParentForm(this);
  if (form && form != this && static_cast<TCustomForm*>(form)->KeyPreview &&
      !form->DoKeyPress(Message)) {
    return false;
  }
  WCHAR key = static_cast<WCHAR>(Message.WParam);
  KeyPress(key);
  if (key == 0) return false;
  Message.WParam = key;
  return true;
}

void TWinControl::KeyDown(WORD& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(WORD& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(WCHAR& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}

bool TWinControl::HandleDialogKey(TMessage& Message) {
  const WORD key = static_cast<WORD>(Message.WParam);
  LRESULT mask = 0;
  switch (key) {
    case VK_TAB:
      mask = DLGC_WANTTAB;
      break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
      mask = DLGC_WANTARROWS;
      break;
    case VK_RETURN:
    case VK_ESCAPE:
      mask = DLGC_WANTALLKEYS;
      break;
    default:
      return false;
  }
  if (Perform(CM_WANTSPECIALKEY, key, Message.LParam) != 0) return false;
  const LRESULT code = Perform(WM_GETDLGCODE);
  if (code & (mask | DLGC_WANTALLKEYS)) return false;
  TCustomForm* form = GetParentForm(this);
  return form && form->Perform(CM_DIALOGKEY, key, Message.LParam) != 0;
}
