#include "skin/data/skin_data.h"

#include <algorithm>

#include "platform/winuser.h"
#include "skin/data/record_factory.h"
#include "skin/data/skin_bitmap.h"
#include "ui/forms.h"
#include "ui/streams.h"

namespace {

template <class Record>
int FindRecord(const std::vector<std::unique_ptr<Record>>& records, const AnsiString& name) {
  for (size_t i = 0; i < records.size(); ++i) {
    if (records[i]->Name() == name) return static_cast<int>(i);
  }
  return -1;
}

// Reads an object or control list: each entry "name:type" creates the record class of its
// type, which reads the section of that name; unknown types are skipped.
template <class Record, class Factory>
std::vector<std::unique_ptr<Record>> ReadRecordList(const TksIniFile& ini,
                                                    const AnsiString& section, Factory create) {
  std::vector<std::unique_ptr<Record>> records;
  const int32_t count = ini.ReadInteger(section, "count", 0);
  if (count > kMaxIniListCount) {
    throw EReadError("[" + section + "] count " + IntToStr(count) + " exceeds " +
                     IntToStr(kMaxIniListCount));
  }
  for (int32_t i = 0; i < count; ++i) {
    AnsiString name, type;
    TksIniFile::SplitNameType(ini.ReadString(section, IntToStr(i), ""), name, type);
    std::unique_ptr<Record> record = create(type, name);
    if (!record) continue;
    record->LoadFromIni(ini);
    records.push_back(std::move(record));
  }
  return records;
}

}  // namespace

// The screen's forms, topmost first, each asked for its window: a form still being loaded
// (whose skin list is assigned from its own stored layout) has none yet, and its controls
// must still hear of the skin. The layered-border windows are forms of the form layer above
// this one, known here by their class name.
std::vector<TksSkinFormEntry> ScreenForms() {
  std::vector<TksSkinFormEntry> forms;
  if (Screen == nullptr) return forms;
  for (int i = 0; i < Screen->FormCount(); ++i) {
    TCustomForm* form = Screen->Forms(i);
    if (form == nullptr || form->ComponentState().Contains(csDestroying)) continue;
    forms.push_back({form->Handle(), form, form->ClassName() == "TksFormLayerWindow"});
  }
  return forms;
}

TksSkinBroadcastHooks& SkinBroadcastHooks() {
  static TksSkinBroadcastHooks hooks{
      ScreenForms, [](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        SendMessageW(hwnd, msg, wParam, lParam);
      }};
  return hooks;
}

std::vector<HWND> SkinMessageOrder(const std::vector<TksSkinFormEntry>& forms,
                                   const TComponent* owner, bool showLayeredBorders,
                                   bool layerFramePicture) {
  std::vector<HWND> order;
  bool ownerServed = false;
  if (!showLayeredBorders && owner != nullptr) {
    const auto it = std::find_if(forms.begin(), forms.end(),
                                 [&](const TksSkinFormEntry& e) { return e.Form == owner; });
    if (it != forms.end()) {
      order.push_back(it->Handle);
      ownerServed = true;
    }
  }
  std::vector<HWND> rest;
  for (const TksSkinFormEntry& e : forms) {
    if (e.LayeredBorder || (ownerServed && e.Form == owner)) continue;
    rest.push_back(e.Handle);
  }
  if (showLayeredBorders && layerFramePicture) std::reverse(rest.begin(), rest.end());
  order.insert(order.end(), rest.begin(), rest.end());
  return order;
}

TksSkinData::TksSkinData(TComponent* AOwner)
    : TComponent(AOwner),
      Picture(std::make_unique<TBitmap>()),
      InactivePicture(std::make_unique<TBitmap>()),
      MaskPicture(std::make_unique<TBitmap>()) {}

TksSkinData::~TksSkinData() {
  BeforeDestruction();
  ClearSkin();
}

void TksSkinData::SetSkinnableForm(bool Value) {
  if (Value == FSkinnableForm) return;
  FSkinnableForm = Value;
  if (!Designing() && !Reading()) BroadcastSkinMessage(WM_CHANGEFORMSKINNABLE);
}

void TksSkinData::SetShowLayeredBorders(bool Value) {
  if (Value == FShowLayeredBorders) return;
  FShowLayeredBorders = Value;
  if (!Designing() && !Reading()) BroadcastSkinMessage(WM_CHANGELAYEREDBORDERS);
}

void TksSkinData::SetAeroBlurEnabled(bool Value) {
  if (Value == FAeroBlurEnabled) return;
  FAeroBlurEnabled = Value;
  if (!Designing() && !Reading()) BroadcastSkinMessage(WM_CHANGEAEROBLUR);
}

template <class T>
static void Relink(TksSkinData* self, T*& field, T* value) {
  if (field == value) return;
  if (field != nullptr) self->RemoveFreeNotification(field);
  field = value;
  if (value != nullptr) self->FreeNotification(value);
}

void TksSkinData::SetCompressedStoredSkin(TksCompressedStoredSkin* Value) {
  Relink(this, FCompressedStoredSkin, Value);
  if (!Designing() && Value != nullptr) LoadCompressedSkin(Value);
}

void TksSkinData::SetResourceStrData(TksResourceStrData* Value) {
  Relink(this, FResourceStrData, Value);
  if (!Designing()) BroadcastSkinMessage(WM_CHANGERESSTRDATA);
}

void TksSkinData::SetSkinList(TksCompressedSkinList* Value) {
  Relink(this, FSkinList, Value);
  if (Designing() || FSkinList == nullptr || FSkinIndex < 0) return;
  LoadSelectedItem();
}

void TksSkinData::SetSkinIndex(int Value) {
  if (Value == FSkinIndex) return;
  if (FSkinList == nullptr) {
    FSkinIndex = Value;
    return;
  }
  if (Value < 0 || Value >= FSkinList->Skins()->Count()) return;
  FSkinIndex = Value;
  if (!Designing()) LoadSelectedItem();
}

void TksSkinData::LoadSelectedItem() {
  if (FSkinIndex >= FSkinList->Skins()->Count()) return;
  LoadCompressedSkin(FSkinList->Skins()->Items(FSkinIndex)->StoredSkin());
}

void TksSkinData::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSkinList) FSkinList = nullptr;
  if (AComponent == FCompressedStoredSkin) FCompressedStoredSkin = nullptr;
  if (AComponent == FResourceStrData) FResourceStrData = nullptr;
}

int TksSkinData::GetControlIndex(const AnsiString& Name) const {
  return FindRecord(ControlRecords, Name);
}

int TksSkinData::GetObjectIndex(const AnsiString& Name) const {
  return FindRecord(ObjectRecords, Name);
}

TBitmap* TksSkinData::ActivePicture(int Index) const {
  if (Index < 0 || Index >= static_cast<int>(ActivePictures.size())) return nullptr;
  return ActivePictures[static_cast<size_t>(Index)].get();
}

void TksSkinData::ClearSkin() {
  ObjectRecords.clear();
  ControlRecords.clear();
  ActivePictures.clear();
  ActivePictureNames.clear();
  LayerFrame.pictureindex = -1;
  PopupWindow.windowpictureindex = -1;
  HintWindow.windowpictureindex = -1;
  SkinColors.Reset();
  Picture = std::make_unique<TBitmap>();
  InactivePicture = std::make_unique<TBitmap>();
  MaskPicture = std::make_unique<TBitmap>();
  PictureName.clear();
  InactivePictureName.clear();
  MaskPictureName.clear();
  // Also the [VERSION] texts, so that nothing of an abandoned load stays visible.
  SkinName.clear();
  SkinAuthor.clear();
  AuthorEmail.clear();
  AuthorURL.clear();
  SkinComments.clear();
  FEmpty = true;
  ++FLoadSerial;
}

void TksSkinData::LoadCompressedSkin(TksCompressedStoredSkin* StoredSkin) {
  if (StoredSkin == nullptr || StoredSkin->IsEmpty()) return;
  FEmpty = true;
  FChanging = true;
  BroadcastSkinMessage(WM_BEFORECHANGESKINDATA);
  ClearSkin();
  try {
    // Each picture is decoded into its bitmap as soon as it has inflated: the package as a
    // whole never exists in memory, only the piece being read.
    const std::span<const uint8_t> compressed = StoredSkin->Compressed();
    TksSkinInflater in(compressed.data(), compressed.size());
    std::unique_ptr<TBitmap> picture, inactivePicture, maskPicture;
    std::vector<std::unique_ptr<TBitmap>> activePictures;
    int32_t version = 0;
    const bool current = ReadSkinPackage(
        in, version, [&](TksPackagePicture kind, int, std::span<const uint8_t> image) {
          std::unique_ptr<TBitmap> bitmap = MakeSkinBitmap(image);
          switch (kind) {
            case TksPackagePicture::Main: picture = std::move(bitmap); break;
            case TksPackagePicture::Inactive: inactivePicture = std::move(bitmap); break;
            case TksPackagePicture::Mask: maskPicture = std::move(bitmap); break;
            case TksPackagePicture::Active: activePictures.push_back(std::move(bitmap)); break;
          }
        });
    if (!current) {
      FChanging = false;  // a newer package: the skin data stays empty
      return;
    }
    const TksIniFile ini(std::string_view(reinterpret_cast<const char*>(in.Data()), in.Available()));
    for (auto* p : {&picture, &inactivePicture, &maskPicture}) {
      if (!*p) *p = std::make_unique<TBitmap>();
    }

    // Everything is parsed aside and taken over only when the whole skin has loaded.
    const AnsiString pictureName = ini.ReadString("PICTURES", "picture", "");
    const AnsiString inactiveName = ini.ReadString("PICTURES", "inactivepicture", "");
    const AnsiString maskName = ini.ReadString("PICTURES", "mask", "");
    std::vector<AnsiString> activeNames = ini.ReadStrings("PICTURES", "activepictures");
    TksDataSkinFormInfo formInfo;
    formInfo.LoadFromIni(ini);
    ApplyFormInfoCorrections(formInfo, !maskName.empty());
    TksDataSkinPopupWindow popup;
    popup.LoadFromIni(ini);
    TksDataSkinLayerFrame layer;
    layer.LoadFromIni(ini);
    TksDataSkinHintWindow hint;
    hint.LoadFromIni(ini);
    TksSkinColors colors;
    colors.LoadFromIni(ini);
    auto objects = ReadRecordList<TksDataSkinObject>(ini, "SKINOBJECTS", CreateObjectRecord);
    auto controls = ReadRecordList<TksDataSkinControl>(ini, "SKINCONTROLS", CreateControlRecord);

    SkinName = ini.ReadString("VERSION", "skinname", "");
    SkinAuthor = ini.ReadString("VERSION", "skinauthor", "");
    AuthorEmail = ini.ReadString("VERSION", "authoremail", "");
    AuthorURL = ini.ReadString("VERSION", "authorurl", "");
    SkinComments = ini.ReadString("VERSION", "skincomments", "");
    Picture = std::move(picture);
    InactivePicture = std::move(inactivePicture);
    MaskPicture = std::move(maskPicture);
    ActivePictures = std::move(activePictures);
    PictureName = pictureName;
    InactivePictureName = inactiveName;
    MaskPictureName = maskName;
    ActivePictureNames = std::move(activeNames);
    FormInfo = formInfo;
    PopupWindow = popup;
    LayerFrame = layer;
    HintWindow = hint;
    SkinColors = colors;
    ObjectRecords = std::move(objects);
    ControlRecords = std::move(controls);
  } catch (...) {
    ClearSkin();
    FChanging = false;
    throw;
  }
  FEmpty = false;
  ++FLoadSerial;
  if (OnLoadData) OnLoadData(this);
  BroadcastSkinMessage(WM_CHANGESKINDATA);
  FChanging = false;
  BroadcastSkinMessage(WM_AFTERCHANGESKINDATA);
}

void TksSkinData::BroadcastSkinMessage(UINT Msg) {
  const TksSkinBroadcastHooks& hooks = SkinBroadcastHooks();
  if (!hooks.ListForms || !hooks.Send) return;
  const std::vector<TksSkinFormEntry> forms = hooks.ListForms();
  const bool layerPicture = LayerFrame.pictureindex != -1;
  for (HWND hwnd : SkinMessageOrder(forms, Owner(), FShowLayeredBorders, layerPicture)) {
    hooks.Send(hwnd, Msg, reinterpret_cast<WPARAM>(this), kSkinMessageTag);
  }
}
