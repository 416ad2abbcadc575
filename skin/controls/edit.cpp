#include "skin/controls/edit.h"

#include "skin/controls/popup_menu.h"
#include "skin/form/form_skinner.h"
#include "ui/forms.h"

namespace {

bool IsMenuKey(WORD Key, TShiftState Shift) {
  return Key == VK_APPS || (Key == VK_F10 && Shift.Contains(ssShift));
}

// Texts of the context menu when no skin data gives its own.
struct MenuText {
  const char* Key;
  const char* BuiltIn;
};
constexpr MenuText kUndo{"EDIT_UNDO", "Undo"};
constexpr MenuText kCut{"EDIT_CUT", "Cut"};
constexpr MenuText kCopy{"EDIT_COPY", "Copy"};
constexpr MenuText kPaste{"EDIT_PASTE", "Paste"};
constexpr MenuText kDelete{"EDIT_DELETE", "Delete"};
constexpr MenuText kSelectAll{"EDIT_SELECTALL", "Select All"};

AnsiString MenuCaption(TksSkinData* Data, const MenuText& T) {
  if (Data && Data->ResourceStrData()) {
    const AnsiString s = Data->ResourceStrData()->GetResStr(T.Key);
    // A table that lacks the key would leave a blank item; the built-in text is better.
    if (!s.empty()) return s;
  }
  return T.BuiltIn;
}

}  // namespace

// ---- TksCustomEdit ----

TksCustomEdit::TksCustomEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {}

TksCustomEdit::~TksCustomEdit() { FreeContextMenu(); }

void TksCustomEdit::SetTransparentText(bool Value) {
  if (FTransparentText == Value) return;
  FTransparentText = Value;
  Invalidate();
}

void TksCustomEdit::SetPopupMenu(TPopupMenu* Value) {
  if (FPopupMenu == Value) return;
  if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
  FPopupMenu = Value;
  if (Value) Value->FreeNotification(this);
}

void TksCustomEdit::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomMaskEdit::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FPopupMenu) FPopupMenu = nullptr;
  if (AComponent == FContextMenu) FContextMenu = nullptr;
}

TksSkinData* TksCustomEdit::FormSkinnerData() {
  TCustomForm* form = GetParentForm(this);
  if (!form) return nullptr;
  for (int i = 0; i < form->ComponentCount(); ++i) {
    if (auto* skinner = dynamic_cast<TksMarluneForm*>(form->Components(i))) return skinner->SkinData();
  }
  return nullptr;
}

TksSkinData* TksCustomEdit::MenuSkinData() {
  if (TksSkinData* data = FormSkinnerData()) return data;
  // A form without a skinner: the skin data it holds, if any.
  TCustomForm* form = GetParentForm(this);
  for (int i = 0; form && i < form->ComponentCount(); ++i) {
    if (auto* data = dynamic_cast<TksSkinData*>(form->Components(i))) return data;
  }
  return nullptr;
}

void TksCustomEdit::FreeContextMenu() {
  if (!FContextMenu || FContextMenu->Showing()) return;
  TksSkinPopupMenu* menu = FContextMenu;
  FContextMenu = nullptr;
  menu->Free();
}

void TksCustomEdit::BuildContextMenu() {
  TksSkinData* data = MenuSkinData();
  FContextMenu = new TksSkinPopupMenu(this);
  FContextMenu->SetSkinData(data);
  FContextMenu->PopupComponent = this;
  const int length = static_cast<int>(AnsiToWide(Text()).size());
  const bool selection = SelLength() > 0;
  const bool writable = !ReadOnly();
  TMenuItem* root = FContextMenu->Items();
  auto add = [&](const AnsiString& caption, bool enabled, TNotifyEvent click) {
    root->Add(NewItem(FContextMenu, caption, scNone, std::move(click), enabled));
  };
  add(MenuCaption(data, kUndo), writable && CanUndo(), [this](TObject*) { Undo(); });
  add("-", true, nullptr);
  add(MenuCaption(data, kCut), writable && selection, [this](TObject*) { CutToClipboard(); });
  add(MenuCaption(data, kCopy), selection, [this](TObject*) { CopyToClipboard(); });
  add(MenuCaption(data, kPaste), writable && IsClipboardFormatAvailable(CF_UNICODETEXT),
      [this](TObject*) { PasteFromClipboard(); });
  add(MenuCaption(data, kDelete), writable && selection, [this](TObject*) { ClearSelection(); });
  add("-", true, nullptr);
  add(MenuCaption(data, kSelectAll), !(SelStart() == 0 && SelLength() == length),
      [this](TObject*) { SelectAll(); });
}

void TksCustomEdit::ShowContextMenu(TPoint ScreenPos, bool Keyboard) {
  if (Keyboard) ScreenPos = ClientToScreen(Point(ClientWidth() / 2, ClientHeight() / 2));
  if (FPopupMenu) {
    FPopupMenu->PopupComponent = this;
    FPopupMenu->Popup(ScreenPos.x, ScreenPos.y);
    return;
  }
  if (FContextMenu && FContextMenu->Showing()) return;
  FreeContextMenu();
  BuildContextMenu();
  FContextMenu->Popup(ScreenPos.x, ScreenPos.y);
}

void TksCustomEdit::KeyDown(WORD& Key, TShiftState Shift) {
  TCustomMaskEdit::KeyDown(Key, Shift);
  if (ReadOnly() && Key == VK_DELETE) Key = 0;
  if (IsMenuKey(Key, Shift)) {
    Key = 0;
    ShowContextMenu(TPoint{}, true);
  }
}

void TksCustomEdit::KeyPress(WCHAR& Key) {
  TCustomMaskEdit::KeyPress(Key);
  if (Key == WTEXT('\r') || Key == 0x1B) {
    // Never a line break: the form's default or cancel button gets the key instead.
    const WORD vk = Key == WTEXT('\r') ? VK_RETURN : VK_ESCAPE;
    Key = 0;
    if (TCustomForm* form = GetParentForm(this)) form->Perform(CM_DIALOGKEY, vk, 0);
    return;
  }
  // Ctrl+A and Ctrl+C select and copy, which a read-only box still allows.
  if (ReadOnly() && Key != 0x01 && Key != 0x03) Key = 0;
}

void TksCustomEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC:
      if (FTransparentText) {
        HDC dc = reinterpret_cast<HDC>(Message.WParam);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, ColorToRGB(Font()->Color()));
        Message.Result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
        return;
      }
      break;
    case CN_KEYDOWN:
      // Enter and Escape reach OnKeyDown and OnKeyPress first; the form gets them as dialog
      // keys from KeyPress.
      if (Message.WParam == VK_RETURN || Message.WParam == VK_ESCAPE) {
        Message.Result = 0;
        return;
      }
      break;
    case WM_GETDLGCODE:
      // One line of text: Tab moves on, arrows and characters stay here.
      TCustomMaskEdit::Dispatch(Message);
      Message.Result &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS | DLGC_WANTTAB);
      Message.Result |= DLGC_WANTARROWS | DLGC_WANTCHARS;
      return;
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
      if (ReadOnly()) {
        Message.Result = 0;
        return;
      }
      TCustomMaskEdit::Dispatch(Message);
      Invalidate();
      return;
    case WM_CONTEXTMENU: {
      Message.Result = 1;
      FMenuRequested = true;
      const bool keyboard = Message.LParam == -1;
      ShowContextMenu(Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)), keyboard);
      return;
    }
    case WM_RBUTTONUP: {
      // A right click becomes WM_CONTEXTMENU here unless the default handling made one.
      FMenuRequested = false;
      TCustomMaskEdit::Dispatch(Message);
      if (FMenuRequested || !HandleAllocated()) return;
      POINT p{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
      ::ClientToScreen(Handle(), &p);
      Perform(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Handle()), MAKELPARAM(p.x, p.y));
      return;
    }
    case WM_KSFREECONTEXTMENU:
      FreeContextMenu();
      return;
  }
  TCustomMaskEdit::Dispatch(Message);
}
