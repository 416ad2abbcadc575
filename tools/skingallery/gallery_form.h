// The gallery window: a bordered, sizeable form with the form skinner, one of every skinned
// control the project has, the three shipped skins in a skin list, and switches for the skin
// (F1, F2, F3 or the system menu) and the layered border (F5).
#pragma once

#include <vector>

#include "skin/data/compressed_skin.h"
#include "skin/data/skin_data.h"
#include "skin/form/form_skinner.h"
#include "ui/forms.h"

namespace lumoa::gallery {

AnsiString GalleryTitle();

// What the next gallery window starts with: shipped skin Skin, the layered border on or off.
struct TGalleryOptions {
  int Skin = 0;
  bool LayeredBorder = true;
};

class TGalleryForm : public TForm {
 public:
  static TGalleryOptions Options;
  explicit TGalleryForm(TComponent* AOwner);

  TksSkinData* SkinData() const { return FSkinData; }
  TksMarluneForm* Skinner() const { return FSkinner; }
  // Switches the skin through the skin data (the whole change protocol).
  void SelectSkin(int Index);
  void ToggleLayeredBorder();
  // Every skinned control on the form.
  const std::vector<TControl*>& SkinnedControls() const { return FControls; }

 private:
  void BuildControls();
  void BuildMenu();
  void FormKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
  void UpdateTitle();

  TksSkinData* FSkinData = nullptr;
  TksCompressedSkinList* FSkins = nullptr;
  TksResourceStrData* FStrings = nullptr;
  TksMarluneForm* FSkinner = nullptr;
  TPopupMenu* FMenu = nullptr;
  std::vector<TControl*> FControls;
};

}  // namespace lumoa::gallery
