// The launcher's one window: its stored layout (logo, category tabs, query box, search
// button, the category drop-down on the "more" tab, the hint timer) and the handlers that turn
// it into a search launcher: searches, the rotating hint, the Alt+1 hot key and dragging.
#pragma once

#include "ui/combo_box.h"
#include "ui/forms.h"
#include "ui/page_control.h"
#include "ui/std_ctrls.h"
#include "ui/timer.h"

namespace lumoa::app {

class TLogoView;

// Fixed texts, in the ANSI code page.
AnsiString ApplicationTitle();
AnsiString Slogan();
AnsiString UpdateNotice();

class TForm1 : public TForm {
 public:
  // Builds the stored layout through the loading protocol.
  explicit TForm1(TComponent* AOwner);

  // Components of the layout, named as stored.
  TLogoView* img1 = nullptr;
  TPageControl* ksknpgcntrl = nullptr;
  TTabSheet* web = nullptr;
  TTabSheet* news = nullptr;
  TTabSheet* mp3 = nullptr;
  TTabSheet* video = nullptr;
  TTabSheet* map = nullptr;
  TTabSheet* more = nullptr;
  TComboBox* cbb1 = nullptr;
  TTabSheet* ksSheetclose = nullptr;
  TCustomMaskEdit* edt2 = nullptr;
  TButton* ksbtn1 = nullptr;
  TTimer* tmr1 = nullptr;

  // Handlers, as bound by the layout.
  void FormCreate(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FormDestroy(TObject* Sender);
  void ksknpgcntrlMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void ksknpgcntrlChange(TObject* Sender);
  void edt2ButtonClick(TObject* Sender);
  void edt2KeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
  void edt2MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void cbb1Click(TObject* Sender);
  void tmr1Timer(TObject* Sender);

  // The hot-key identifier while Alt+1 is registered, else -1.
  int HotKeyId() const { return FHotKeyHeld ? FHotKeyId : -1; }

  void Dispatch(TMessage& Message) override;

 private:
  void ReadLayout();
  void WMHotKey(TMessage& Message);
  void ReleaseHotKey();

  int FHotKeyId = 0;
  bool FHotKeyHeld = false;
  bool FAtomHeld = false;
};

// The one main form; set when it is created, cleared when it is destroyed.
extern TForm1* Form1;

}  // namespace lumoa::app
