#include "app/main_form.h"

#include "app/browser_launcher.h"
#include "app/search_request.h"
#include "app/service_host.h"

namespace lumoa::app {

TForm1* Form1 = nullptr;

namespace {

constexpr char kCloseSheet[] = "ksSheetclose";
constexpr char kMoreSheet[] = "more";
constexpr UINT kHotKeyVk = 0x31;  // the digit 1
constexpr ATOM kFirstStringAtom = 0xC000;
constexpr WPARAM kSysCommandDragMove = 0xF012;  // SC_MOVE started as if from the caption

}  // namespace

AnsiString ApplicationTitle() { return Utf8ToAnsi("Lumoa桌面搜索"); }
AnsiString Slogan() { return Utf8ToAnsi("集成近百个主流搜索引擎-最全最强的集成搜索"); }
AnsiString UpdateNotice() { return Utf8ToAnsi("版本更新请关注 ") + kServiceHost; }

TForm1::TForm1(TComponent* AOwner) : TForm(AOwner) { ReadLayout(); }

void TForm1::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_HOTKEY) {
    WMHotKey(Message);
    return;
  }
  TForm::Dispatch(Message);
}

void TForm1::FormCreate(TObject*) {
  const ATOM atom = GlobalAddAtomA(Application->Title().c_str());
  if (atom < kFirstStringAtom) return;  // no atom to derive an identifier from: no hot key
  FAtomHeld = true;
  FHotKeyId = atom - kFirstStringAtom;
  if (RegisterHotKey(Handle(), FHotKeyId, MOD_ALT, kHotKeyVk)) {
    FHotKeyHeld = true;
    return;
  }
  // Someone else holds Alt+1 (often a first instance): run on without it, silently.
  UnregisterHotKey(Handle(), FHotKeyId);
  GlobalDeleteAtom(atom);
  FAtomHeld = false;
}

// Gives back only what this form still holds, so a close after a failed registration (or a
// second close) cannot drop a reference to an atom someone else added.
void TForm1::ReleaseHotKey() {
  if (FHotKeyHeld && HandleAllocated()) UnregisterHotKey(Handle(), FHotKeyId);
  FHotKeyHeld = false;
  if (FAtomHeld) GlobalDeleteAtom(static_cast<ATOM>(FHotKeyId + kFirstStringAtom));
  FAtomHeld = false;
}

void TForm1::FormClose(TObject*, TCloseAction& Action) {
  Action = caFree;
  ReleaseHotKey();
}

void TForm1::FormDestroy(TObject*) {
  ReleaseHotKey();  // a form freed without closing must not leave the grab behind
  if (Form1 == this) Form1 = nullptr;
}

void TForm1::WMHotKey(TMessage& Message) {
  const UINT modifiers = LOWORD(Message.LParam);
  const UINT vk = HIWORD(Message.LParam);
  if (vk != kHotKeyVk || modifiers != MOD_ALT) return;
  if (IsIconic(Application->Handle())) {
    Application->Restore();
  } else {
    Application->BringToFront();
  }
}

void TForm1::ksknpgcntrlMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
  // A press on the close tab has already ended the program: no move loop for a closing form
  // (the system's loop would take the quit message that ends ours).
  if (Application->Terminating() || !HandleAllocated()) return;
  ReleaseCapture();
  SendMessageW(Handle(), WM_SYSCOMMAND, kSysCommandDragMove, 0);
}

void TForm1::ksknpgcntrlChange(TObject*) {
  TTabSheet* page = ksknpgcntrl->ActivePage();
  const AnsiString name = page ? page->Name() : AnsiString();
  if (name == kCloseSheet) {
    Close();
    Release();
    return;
  }
  ksbtn1->SetVisible(name != kMoreSheet);
}

void TForm1::edt2ButtonClick(TObject*) {
  TTabSheet* page = ksknpgcntrl->ActivePage();
  const AnsiString url = BuildForTab(page ? page->Name() : AnsiString(), edt2->Text());
  OpenInBrowser(url);
}

void TForm1::edt2KeyDown(TObject* Sender, WORD& Key, TShiftState) {
  if (Key == VK_RETURN) edt2ButtonClick(Sender);
}

void TForm1::edt2MouseDown(TObject*, TMouseButton, TShiftState, int, int) {
  if (edt2->Text() == Slogan()) edt2->SetText(AnsiString());
}

void TForm1::cbb1Click(TObject*) {
  const int index = cbb1->ItemIndex();
  OpenInBrowser(BuildForListCategory(index, edt2->Text()));
}

void TForm1::tmr1Timer(TObject*) {
  const AnsiString text = edt2->Text();
  if (text == Slogan()) {
    edt2->Clear();
    edt2->SetText(UpdateNotice());
  } else if (text == UpdateNotice()) {
    edt2->Clear();
    edt2->SetText(Slogan());
  }
}

}  // namespace lumoa::app
