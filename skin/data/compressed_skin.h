// Components that hold compressed skin packages: a standalone stored skin, and the skin
// list whose items the skin data selects from.
#pragma once

#include <span>
#include <vector>

#include "skin/data/skin_package.h"
#include "ui/classes.h"
#include "ui/collection.h"

class TMemoryStream;

// [VERSION], [PICTURES], [FORMINFO], [SKINOBJECTS], [SKINCONTROLS].
const std::vector<AnsiString>& SkinRequiredSections();
// Builds a package from a skin description file and the bitmaps it names (found beside
// it). False when one of [VERSION], [PICTURES], [FORMINFO], [SKINOBJECTS] or
// [SKINCONTROLS] is missing; a missing or bad bitmap, and a skin past the limits of
// skin_limits.h, raise naming the description and the picture. Bitmaps are stored byte for
// byte when they have the stored layout (40-byte info header, no compression), else
// converted to it.
bool ImportSkinPackage(const AnsiString& descriptionPath, TksSkinPackage& package);
// A bitmap file as a package stores it: byte for byte when it has the stored layout, else
// converted by the framework's bitmap (which reads larger headers and bit-field masks).
TksBmpImage LoadSkinPicture(const AnsiString& path);
// The same, the picture first counted against the skin's budget; errors name it by `what`.
TksBmpImage LoadSkinPicture(const AnsiString& path, const AnsiString& what,
                            TksSkinPictureBudget& budget);
// Stored form A: version, length, zlib stream.
std::vector<uint8_t> MakeStoredFormA(std::span<const uint8_t> compressed);
inline std::vector<uint8_t> MakeStoredFormA(const std::vector<uint8_t>& compressed) {
  return MakeStoredFormA(std::span<const uint8_t>(compressed));
}
// Reads stored form A from the stream's start; false (nothing read) for a newer version.
bool ReadStoredFormA(TStream& stream, std::vector<uint8_t>& compressed);
// The same from bytes in memory: the zlib stream as a view into them.
bool ReadStoredFormA(std::span<const uint8_t> stored, std::span<const uint8_t>& compressed);
AnsiString ExtractSkinFileName(const AnsiString& path);

class TksCompressedStoredSkin : public TComponent {
 public:
  explicit TksCompressedStoredSkin(TComponent* AOwner);
  ~TksCompressedStoredSkin() override;

  AnsiString Description;
  const AnsiString& FileName() const { return FFileName; }
  const AnsiString& CompressedFileName() const { return FCompressedFileName; }
  // At design time, outside reading a stored form, keeps only the file name part and loads
  // the file; otherwise only stores the value.
  void SetFileName(const AnsiString& Value);
  void SetCompressedFileName(const AnsiString& Value);

  bool IsEmpty() const { return Compressed().empty(); }
  // The zlib stream, held or referenced.
  std::span<const uint8_t> Compressed() const {
    return FConstantData.data() ? FConstantData : std::span<const uint8_t>(FCompressedData);
  }
  std::vector<uint8_t> CompressedData() const {
    const std::span<const uint8_t> data = Compressed();
    return std::vector<uint8_t>(data.begin(), data.end());
  }
  void SetCompressedData(std::vector<uint8_t> Data) {
    FConstantData = {};
    FCompressedData = std::move(Data);
  }
  // A stream in memory that outlives this skin and never changes (compiled into the
  // program): referenced in place, not copied.
  void SetConstantCompressedData(std::span<const uint8_t> Data) {
    FCompressedData.clear();
    FCompressedData.shrink_to_fit();
    FConstantData = Data.empty() ? std::span<const uint8_t>() : Data;
  }
  bool ReferencesConstantData() const { return FConstantData.data() != nullptr; }

  // Inflates the whole package and appends it to Stream (EZDecompressionError when the
  // data is damaged or inflates past kMaxInflatedSkinSize).
  void DecompressTo(TMemoryStream& Stream) const;
  // The whole package inflated into a buffer of its own (the same errors).
  TksByteBuffer Decompress() const;
  void LoadFromCompressedFile(const AnsiString& Path);
  void LoadFromSkinFile(const AnsiString& Path);

  // The stored property "CompressedData": the zlib stream alone.
  void ReadCompressedData(TStream& Stream);
  void WriteCompressedData(TStream& Stream) const;

 private:
  AnsiString FFileName;
  AnsiString FCompressedFileName;
  std::vector<uint8_t> FCompressedData;
  std::span<const uint8_t> FConstantData;  // when set, the stream instead of FCompressedData
};

class TksCompressedSkinList;
class TksSkinListItems;

class TksSkinListItem : public TCollectionItem {
 public:
  // Named "ksSkin<index>" from its index at creation; never renumbered.
  explicit TksSkinListItem(TCollection* Collection);
  ~TksSkinListItem() override;

  AnsiString Description;
  AnsiString Name;
  const AnsiString& FileName() const { return FFileName; }
  const AnsiString& CompressedFileName() const { return FCompressedFileName; }
  // Design time is judged by the owning list: then the file is loaded first and only its
  // file name part is kept.
  void SetFileName(const AnsiString& Value);
  void SetCompressedFileName(const AnsiString& Value);

  TksCompressedStoredSkin* StoredSkin() const { return FStoredSkin.get(); }
  AnsiString DisplayName() const override { return Name; }
  void Assign(TPersistent* Source) override;

  // The stored property "Skin" in stored form A.
  void ReadSkinProperty(TStream& Stream);
  // The same from stored form A in constant memory that outlives the item (a skin compiled
  // into the program): the stream is referenced in place.
  void ReadConstantSkinProperty(std::span<const uint8_t> Stored);
  void WriteSkinProperty(TStream& Stream) const;

 private:
  bool Designing() const;

  AnsiString FFileName;
  AnsiString FCompressedFileName;
  TComponentPtr<TksCompressedStoredSkin> FStoredSkin;
};

class TksSkinListItems : public TOwnedCollection {
 public:
  explicit TksSkinListItems(TksCompressedSkinList* AOwner);

  TksSkinListItem* Items(int Index) const;
  TksSkinListItem* Add();
  TksCompressedSkinList* SkinList() const { return FSkinList; }

 private:
  TksCompressedSkinList* FSkinList;
};

class TksCompressedSkinList : public TComponent {
 public:
  explicit TksCompressedSkinList(TComponent* AOwner);
  ~TksCompressedSkinList() override;

  TksSkinListItems* Skins() const { return FSkins.get(); }
  void SetSkins(TksSkinListItems* Value);

 private:
  std::unique_ptr<TksSkinListItems> FSkins;
};
