// The launcher's one window: its stored layout (logo, category tabs, query box, search
// button, the category drop-down on the "more" tab, the hint timer) and the handlers that turn
// it into a search launcher: searches, the rotating hint, the Alt+1 hot key and dragging.
#pragma once

#include "image/png/png_image_view.h"
#include "image/png/png_storage.h"
#include "skin/controls/button.h"
#include "skin/controls/combo_box.h"
#include "skin/controls/edit.h"
#include "skin/controls/page_control.h"
#include "skin/form/form_skinner.h"
#include "skin/data/compressed_skin.h"
#include "skin/data/resource_str_data.h"
#include "skin/data/skin_data.h"
#include "ui/forms.h"
#include "ui/timer.h"

namespace lumoa::app {

// Fixed texts, in the ANSI code page.
AnsiString ApplicationTitle();
AnsiString Slogan();
AnsiString UpdateNotice();

class TForm1 : public TForm {
 public:
  // Builds the stored layout through the loading protocol.
  explicit TForm1(TComponent* AOwner);

  // Components of the layout, named as stored.
  TksPngImageView* img1 = nullptr;
  TksSkinPageControl* ksknpgcntrl = nullptr;
  TksSkinTabSheet* web = nullptr;
  TksSkinTabSheet* news = nullptr;
  TksSkinTabSheet* mp3 = nullptr;
  TksSkinTabSheet* video = nullptr;
  TksSkinTabSheet* map = nullptr;
  TksSkinTabSheet* more = nullptr;
  TksSkinComboBox* cbb1 = nullptr;
  TksSkinTabSheet* ksSheetclose = nullptr;
  TksSkinEdit* edt2 = nullptr;
  TksSkinButton* ksbtn1 = nullptr;
  TksSkinData* ksSkinData1 = nullptr;
  TksResourceStrData* ksResourceStrData1 = nullptr;
  TksCompressedSkinList* ksCompressedSkinList1 = nullptr;
  TksMarluneForm* ksMarluneForm1 = nullptr;
  TksPngImageStorage* kspngmgstrg1 = nullptr;
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
