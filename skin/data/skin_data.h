// The skin model: the loaded skin (pictures, global sections, object and control records)
// and the switches that skinned forms and controls consult.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "skin/data/compressed_skin.h"
#include "skin/data/control_records.h"
#include "skin/data/object_records.h"
#include "skin/data/resource_str_data.h"
#include "skin/data/skin_messages.h"
#include "skin/data/sub_records.h"
#include "ui/bitmap.h"

// A form as the skin-change broadcast sees it.
struct TksSkinFormEntry {
  HWND Handle = nullptr;
  const TComponent* Form = nullptr;
  bool LayeredBorder = false;  // a window of the layered-border class
};

// How the broadcast reaches forms. ListForms gives the application's forms in screen order
// (by default the screen's forms that have a window, the layered-border windows known by
// their class name TksFormLayerWindow); Send delivers one message synchronously
// (SendMessageW by default). Tests replace both.
struct TksSkinBroadcastHooks {
  std::function<std::vector<TksSkinFormEntry>()> ListForms;
  std::function<void(HWND, UINT, WPARAM, LPARAM)> Send;
};
TksSkinBroadcastHooks& SkinBroadcastHooks();

// The windows a broadcast goes to, in sending order: the owner form first when layered
// borders are off, then every other form that is not a layered border, last to first when
// layered borders are on and the skin has a layer frame picture.
std::vector<HWND> SkinMessageOrder(const std::vector<TksSkinFormEntry>& forms,
                                   const TComponent* owner, bool showLayeredBorders,
                                   bool layerFramePicture);

class TksSkinData : public TComponent {
 public:
  explicit TksSkinData(TComponent* AOwner);
  ~TksSkinData() override;

  // Published switches.
  bool DlgTreeViewDrawSkin = true;
  AnsiString DlgTreeViewItemSkinDataName = "listbox";
  bool DlgListViewDrawSkin = true;
  AnsiString DlgListViewItemSkinDataName = "listbox";
  bool AnimationForAllWindows = false;
  bool EnableSkinEffects = true;
  bool ShowButtonGlowFrames = true;
  bool ShowCaptionButtonGlowFrames = true;

  bool SkinnableForm() const { return FSkinnableForm; }
  void SetSkinnableForm(bool Value);
  bool ShowLayeredBorders() const { return FShowLayeredBorders; }
  void SetShowLayeredBorders(bool Value);
  bool AeroBlurEnabled() const { return FAeroBlurEnabled; }
  void SetAeroBlurEnabled(bool Value);

  TksCompressedStoredSkin* CompressedStoredSkin() const { return FCompressedStoredSkin; }
  void SetCompressedStoredSkin(TksCompressedStoredSkin* Value);
  TksResourceStrData* ResourceStrData() const { return FResourceStrData; }
  void SetResourceStrData(TksResourceStrData* Value);
  TksCompressedSkinList* SkinList() const { return FSkinList; }
  void SetSkinList(TksCompressedSkinList* Value);
  int SkinIndex() const { return FSkinIndex; }
  void SetSkinIndex(int Value);

  // Raised after a package was parsed, before WM_CHANGESKINDATA.
  TNotifyEvent OnLoadData;

  // Model state.
  bool Empty() const { return FEmpty; }
  bool Changing() const { return FChanging; }
  // Counts the skins loaded and cleared: a client that applied one remembers this number and
  // can tell whether what it applied is still the current skin.
  unsigned LoadSerial() const { return FLoadSerial; }

  // Package items 2, 3 and 4; never null, empty when absent. Valid until the next load.
  std::unique_ptr<TBitmap> Picture;
  std::unique_ptr<TBitmap> InactivePicture;
  std::unique_ptr<TBitmap> MaskPicture;
  // Index k is what a record's pictureindex names.
  std::vector<std::unique_ptr<TBitmap>> ActivePictures;
  AnsiString PictureName;
  AnsiString InactivePictureName;
  AnsiString MaskPictureName;
  std::vector<AnsiString> ActivePictureNames;
  AnsiString SkinName;
  AnsiString SkinAuthor;
  AnsiString AuthorEmail;
  AnsiString AuthorURL;
  AnsiString SkinComments;

  TksDataSkinFormInfo FormInfo;
  TksDataSkinPopupWindow PopupWindow;
  TksDataSkinLayerFrame LayerFrame;
  TksDataSkinHintWindow HintWindow;
  TksSkinColors SkinColors;
  std::vector<std::unique_ptr<TksDataSkinObject>> ObjectRecords;
  std::vector<std::unique_ptr<TksDataSkinControl>> ControlRecords;

  // First record whose name equals Name exactly (letter case significant), or -1.
  int GetControlIndex(const AnsiString& Name) const;
  int GetObjectIndex(const AnsiString& Name) const;
  // The active picture a record's index names, or null for -1 and indices out of range.
  TBitmap* ActivePicture(int Index) const;

  // Loads a package; nothing at all for an empty stored skin. A damaged package or a
  // malformed value raises, leaving the skin data empty.
  void LoadCompressedSkin(TksCompressedStoredSkin* StoredSkin);
  void ClearSkin();
  void BroadcastSkinMessage(UINT Msg);

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  bool Designing() const { return ComponentState().Contains(csDesigning); }
  bool Reading() const {
    return ComponentState().Contains(csReading) || ComponentState().Contains(csLoading);
  }
  void SetReference(TComponent*& field, TComponent* value);
  void LoadSelectedItem();

  bool FSkinnableForm = true;
  bool FShowLayeredBorders = true;
  bool FAeroBlurEnabled = true;
  TksCompressedStoredSkin* FCompressedStoredSkin = nullptr;
  TksResourceStrData* FResourceStrData = nullptr;
  TksCompressedSkinList* FSkinList = nullptr;
  int FSkinIndex = 0;
  bool FEmpty = true;
  bool FChanging = false;
  unsigned FLoadSerial = 0;
};
