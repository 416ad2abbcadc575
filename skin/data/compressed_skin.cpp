#include "skin/data/compressed_skin.h"

#include "skin/data/ini_file.h"
#include "ui/bitmap.h"
#include "ui/streams.h"

namespace {

bool DesignTimeLoad(const TComponent* component) {
  const TComponentState state = component->ComponentState();
  return state.Contains(csDesigning) && !state.Contains(csReading) && !state.Contains(csLoading);
}

AnsiString ExtractDirectory(const AnsiString& path) {
  const size_t slash = path.find_last_of('/');
  return slash == AnsiString::npos ? AnsiString() : path.substr(0, slash + 1);
}

}  // namespace

TksBmpImage LoadSkinPicture(const AnsiString& path) {
  try {
    return TksBmpImage::FromFile(path);
  } catch (const EInvalidGraphic&) {
    TBitmap bitmap;
    TFileStream file(path, fmOpenRead);
    try {
      bitmap.LoadFromStream(file);
    } catch (Exception& e) {
      e.SetMessage(path + ": " + e.Message());
      throw;
    }
    TMemoryStream out;
    bitmap.SaveToStream(out);
    return TksBmpImage::FromBytes(static_cast<const uint8_t*>(out.Memory()),
                                  static_cast<size_t>(out.Size()));
  }
}

TksBmpImage LoadSkinPicture(const AnsiString& path, const AnsiString& what,
                            TksSkinPictureBudget& budget) {
  CheckSkinPictureFile(path, what, budget);
  try {
    return LoadSkinPicture(path);
  } catch (Exception& e) {
    e.SetMessage(what + ": " + e.Message());
    throw;
  }
}

namespace {

TksBmpImage LoadNamedPicture(const AnsiString& directory, const AnsiString& name,
                             const AnsiString& what, TksSkinPictureBudget& budget) {
  if (name.empty()) return TksBmpImage();
  return LoadSkinPicture(directory + name, what, budget);
}

}  // namespace

const std::vector<AnsiString>& SkinRequiredSections() {
  static const std::vector<AnsiString> sections = {"VERSION", "PICTURES", "FORMINFO",
                                                   "SKINOBJECTS", "SKINCONTROLS"};
  return sections;
}

AnsiString ExtractSkinFileName(const AnsiString& path) {
  const size_t slash = path.find_last_of('/');
  return slash == AnsiString::npos ? path : path.substr(slash + 1);
}

namespace {

bool ImportSkinFiles(const AnsiString& descriptionPath, TksSkinPackage& package) {
  TMemoryStream file;
  {
    TFileStream stream(descriptionPath, fmOpenRead);
    CheckSkinDescriptionSize(static_cast<size_t>(stream.Size()));
    file.LoadFromStream(stream);
  }
  const std::vector<AnsiString> lines = TksIniFile::SplitLines(std::string_view(
      static_cast<const char*>(file.Memory()), static_cast<size_t>(file.Size())));
  TksIniFile ini;
  ini.SetLines(lines);
  for (const AnsiString& section : SkinRequiredSections()) {
    if (!ini.SectionExists(section)) return false;
  }
  const AnsiString directory = ExtractDirectory(descriptionPath);
  TksSkinPackage result;
  TksSkinPictureBudget budget;
  result.Picture =
      LoadNamedPicture(directory, ini.ReadString("PICTURES", "picture", ""), "main picture", budget);
  result.InactivePicture = LoadNamedPicture(
      directory, ini.ReadString("PICTURES", "inactivepicture", ""), "inactive picture", budget);
  result.MaskPicture =
      LoadNamedPicture(directory, ini.ReadString("PICTURES", "mask", ""), "mask picture", budget);
  CheckSkinPictureCount(ini.ReadInteger("PICTURES", "activepicturescount", 0));
  const std::vector<AnsiString> names = ini.ReadStrings("PICTURES", "activepictures");
  for (size_t i = 0; i < names.size(); ++i) {
    // Every listed active picture must exist: its position is its index.
    result.ActivePictures.push_back(LoadSkinPicture(
        directory + names[i], "active picture " + IntToStr(static_cast<int64_t>(i)), budget));
  }
  for (const AnsiString& line : lines) result.Description += line + "\r\n";
  CheckSkinDescriptionSize(result.Description.size());  // line ends may have grown
  package = std::move(result);
  return true;
}

}  // namespace

bool ImportSkinPackage(const AnsiString& descriptionPath, TksSkinPackage& package) {
  try {
    return ImportSkinFiles(descriptionPath, package);
  } catch (Exception& e) {
    e.SetMessage(descriptionPath + ": " + e.Message());
    throw;
  }
}

std::vector<uint8_t> MakeStoredFormA(std::span<const uint8_t> compressed) {
  TMemoryStream stream;
  stream.WriteValue<int32_t>(kSkinPackageVersion);
  stream.WriteValue<int32_t>(static_cast<int32_t>(compressed.size()));
  const auto* p = static_cast<const uint8_t*>(stream.Memory());
  std::vector<uint8_t> out(p, p + stream.Size());
  out.insert(out.end(), compressed.begin(), compressed.end());
  return out;
}

bool ReadStoredFormA(TStream& stream, std::vector<uint8_t>& compressed) {
  compressed.clear();
  stream.SetPosition(0);
  const auto version = stream.ReadValue<int32_t>();
  if (version > kSkinPackageVersion) return false;
  const auto length = stream.ReadValue<int32_t>();
  if (length < 0) throw EReadError("Stored skin has a negative length " + IntToStr(length));
  if (length > stream.Size() - stream.Position()) {
    throw EReadError("Stored skin is truncated: " + IntToStr(length) + " bytes announced, " +
                     IntToStr(stream.Size() - stream.Position()) + " present");
  }
  std::vector<uint8_t> data(static_cast<size_t>(length));
  if (length > 0) stream.ReadBuffer(data.data(), length);
  compressed = std::move(data);
  return true;
}

bool ReadStoredFormA(std::span<const uint8_t> stored, std::span<const uint8_t>& compressed) {
  compressed = {};
  TConstMemoryStream stream(stored.data(), static_cast<int64_t>(stored.size()));
  const auto version = stream.ReadValue<int32_t>();
  if (version > kSkinPackageVersion) return false;
  const auto length = stream.ReadValue<int32_t>();
  if (length < 0) throw EReadError("Stored skin has a negative length " + IntToStr(length));
  const auto rest = static_cast<int64_t>(stored.size()) - stream.Position();
  if (length > rest) {
    throw EReadError("Stored skin is truncated: " + IntToStr(length) + " bytes announced, " +
                     IntToStr(rest) + " present");
  }
  compressed = stored.subspan(static_cast<size_t>(stream.Position()), static_cast<size_t>(length));
  return true;
}

// TksCompressedStoredSkin

TksCompressedStoredSkin::TksCompressedStoredSkin(TComponent* AOwner) : TComponent(AOwner) {}

TksCompressedStoredSkin::~TksCompressedStoredSkin() { BeforeDestruction(); }

void TksCompressedStoredSkin::SetFileName(const AnsiString& Value) {
  if (!DesignTimeLoad(this)) {
    FFileName = Value;
    return;
  }
  FFileName = ExtractSkinFileName(Value);
  LoadFromSkinFile(Value);
}

void TksCompressedStoredSkin::SetCompressedFileName(const AnsiString& Value) {
  if (!DesignTimeLoad(this)) {
    FCompressedFileName = Value;
    return;
  }
  FCompressedFileName = ExtractSkinFileName(Value);
  LoadFromCompressedFile(Value);
}

void TksCompressedStoredSkin::DecompressTo(TMemoryStream& Stream) const {
  Stream.Seek(0, soEnd);
  const std::span<const uint8_t> data = Compressed();
  InflateSkinData(data.data(), data.size(), Stream);
}

TksByteBuffer TksCompressedStoredSkin::Decompress() const {
  const std::span<const uint8_t> data = Compressed();
  return InflateSkinData(data.data(), data.size());
}

void TksCompressedStoredSkin::LoadFromCompressedFile(const AnsiString& Path) {
  SetCompressedData({});
  TFileStream file(Path, fmOpenRead);
  try {
    ReadStoredFormA(file, FCompressedData);
  } catch (Exception& e) {
    e.SetMessage(Path + ": " + e.Message());
    throw;
  }
}

void TksCompressedStoredSkin::LoadFromSkinFile(const AnsiString& Path) {
  // A failing read leaves the data empty; a description without its sections is ignored.
  std::vector<uint8_t> previous = std::move(FCompressedData);
  const std::span<const uint8_t> previousConstant = FConstantData;
  SetCompressedData({});
  TksSkinPackage package;
  if (!ImportSkinPackage(Path, package)) {
    FCompressedData = std::move(previous);
    FConstantData = previousConstant;
    return;
  }
  const std::vector<uint8_t> raw = BuildSkinPackage(package);
  SetCompressedData(DeflateSkinData(raw.data(), raw.size()));
}

void TksCompressedStoredSkin::ReadCompressedData(TStream& Stream) {
  SetCompressedData({});
  const int64_t size = Stream.Size();
  std::vector<uint8_t> data(static_cast<size_t>(size));
  Stream.SetPosition(0);
  if (size > 0) Stream.ReadBuffer(data.data(), size);
  SetCompressedData(std::move(data));
}

void TksCompressedStoredSkin::WriteCompressedData(TStream& Stream) const {
  const std::span<const uint8_t> data = Compressed();
  if (!data.empty()) Stream.WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
}

// TksSkinListItem

TksSkinListItem::TksSkinListItem(TCollection* Collection)
    : TCollectionItem(Collection), FStoredSkin(new TksCompressedStoredSkin(nullptr)) {
  Name = "ksSkin" + IntToStr(Index());
}

TksSkinListItem::~TksSkinListItem() = default;

bool TksSkinListItem::Designing() const {
  const auto* items = dynamic_cast<TksSkinListItems*>(Collection());
  return items != nullptr && items->SkinList() != nullptr && DesignTimeLoad(items->SkinList());
}

void TksSkinListItem::SetFileName(const AnsiString& Value) {
  if (!Designing()) {
    FFileName = Value;
    return;
  }
  FStoredSkin->LoadFromSkinFile(Value);
  FFileName = ExtractSkinFileName(Value);
}

void TksSkinListItem::SetCompressedFileName(const AnsiString& Value) {
  if (!Designing()) {
    FCompressedFileName = Value;
    return;
  }
  FStoredSkin->LoadFromCompressedFile(Value);
  FCompressedFileName = ExtractSkinFileName(Value);
}

void TksSkinListItem::Assign(TPersistent* Source) {
  auto* item = dynamic_cast<TksSkinListItem*>(Source);
  if (item == nullptr) {
    TCollectionItem::Assign(Source);
    return;
  }
  Description = item->Description;
  Name = item->Name;
  FFileName = item->FFileName;
  FCompressedFileName = item->FCompressedFileName;
  if (item->FStoredSkin->ReferencesConstantData()) {
    FStoredSkin->SetConstantCompressedData(item->FStoredSkin->Compressed());
  } else {
    FStoredSkin->SetCompressedData(item->FStoredSkin->CompressedData());
  }
}

void TksSkinListItem::ReadSkinProperty(TStream& Stream) {
  std::vector<uint8_t> data;
  FStoredSkin->SetCompressedData({});
  ReadStoredFormA(Stream, data);
  FStoredSkin->SetCompressedData(std::move(data));
}

void TksSkinListItem::ReadConstantSkinProperty(std::span<const uint8_t> Stored) {
  std::span<const uint8_t> data;
  FStoredSkin->SetCompressedData({});
  if (ReadStoredFormA(Stored, data)) FStoredSkin->SetConstantCompressedData(data);
}

void TksSkinListItem::WriteSkinProperty(TStream& Stream) const {
  const std::vector<uint8_t> stored = MakeStoredFormA(FStoredSkin->Compressed());
  Stream.WriteBuffer(stored.data(), static_cast<int64_t>(stored.size()));
}

// TksSkinListItems

TksSkinListItems::TksSkinListItems(TksCompressedSkinList* AOwner)
    : TOwnedCollection(AOwner, &TCollection::ItemClassOf<TksSkinListItem>), FSkinList(AOwner) {}

TksSkinListItem* TksSkinListItems::Items(int Index) const {
  return static_cast<TksSkinListItem*>(TCollection::Items(Index));
}

TksSkinListItem* TksSkinListItems::Add() { return static_cast<TksSkinListItem*>(TCollection::Add()); }

// TksCompressedSkinList

TksCompressedSkinList::TksCompressedSkinList(TComponent* AOwner)
    : TComponent(AOwner), FSkins(std::make_unique<TksSkinListItems>(this)) {}

TksCompressedSkinList::~TksCompressedSkinList() { BeforeDestruction(); }

void TksCompressedSkinList::SetSkins(TksSkinListItems* Value) { FSkins->Assign(Value); }
