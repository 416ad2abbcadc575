// The skin description: INI text parsed into sections and keys, with the value readers and
// writers the skin records use.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "skin/data/skin_limits.h"
#include "skin/data/skin_types.h"
#include "ui/sysutils.h"

class TksIniFile {
 public:
  TksIniFile() = default;
  explicit TksIniFile(std::string_view text) { SetText(text); }

  // Splits at CR, LF or CR LF; a final line ending adds no empty line.
  static std::vector<AnsiString> SplitLines(std::string_view text);

  void Clear();
  void SetText(std::string_view text);
  void SetLines(const std::vector<AnsiString>& lines);
  // Every section with its keys, each line followed by CR LF, a blank line between sections.
  AnsiString GetText() const;

  // A section exists only when it holds at least one key.
  bool SectionExists(std::string_view section) const;
  bool ValueExists(std::string_view section, std::string_view key) const;
  std::vector<AnsiString> SectionNames() const;
  // Key names of the section in file order, first occurrences only.
  std::vector<AnsiString> KeyNames(std::string_view section) const;
  // Null when the key is absent; the first occurrence of section and key counts.
  const AnsiString* FindValue(std::string_view section, std::string_view key) const;

  AnsiString ReadString(std::string_view section, std::string_view key,
                        std::string_view def) const;
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t def) const;
  COLORREF ReadColor(std::string_view section, std::string_view key, COLORREF def) const;
  bool ReadBoolean(std::string_view section, std::string_view key) const;
  // Raise EConvertError for a component that is empty once its non-digits are dropped.
  POINT ReadPoint(std::string_view section, std::string_view key) const;
  RECT ReadRect(std::string_view section, std::string_view key) const;
  TksFontStyles ReadFontStyle(std::string_view section, std::string_view key) const;
  TksStretchType ReadStretchType(std::string_view section, std::string_view key) const;
  TksEffectKind ReadEffectKind(std::string_view section, std::string_view key) const;
  TksMorphKind ReadMorphKind(std::string_view section, std::string_view key) const;
  TksAlignment ReadAlignment(std::string_view section, std::string_view key) const;
  // The list "<name>count" followed by keys "0" .. count-1; EReadError past kMaxIniListCount.
  std::vector<AnsiString> ReadStrings(std::string_view section, std::string_view name) const;

  // "name:type" split at the first colon; without a colon both parts are empty.
  static void SplitNameType(const AnsiString& value, AnsiString& name, AnsiString& type);

  void EraseSection(std::string_view section);
  void WriteString(std::string_view section, std::string_view key, const AnsiString& value);
  void WriteInteger(std::string_view section, std::string_view key, int32_t value);
  void WriteColor(std::string_view section, std::string_view key, COLORREF value);
  void WriteBoolean(std::string_view section, std::string_view key, bool value);
  void WritePoint(std::string_view section, std::string_view key, const POINT& value);
  void WriteRect(std::string_view section, std::string_view key, const RECT& value);
  void WriteFontStyle(std::string_view section, std::string_view key, const TksFontStyles& v);
  void WriteStretchType(std::string_view section, std::string_view key, TksStretchType value);
  void WriteEffectKind(std::string_view section, std::string_view key, TksEffectKind value);
  void WriteMorphKind(std::string_view section, std::string_view key, TksMorphKind value);
  void WriteAlignment(std::string_view section, std::string_view key, TksAlignment value);
  void WriteStrings(std::string_view section, std::string_view name,
                    const std::vector<AnsiString>& values);

  // Value kinds as text, shared with the records' own keyword tables.
  static const char* StretchTypeName(TksStretchType value);
  static const char* EffectKindName(TksEffectKind value);
  static const char* MorphKindName(TksMorphKind value);
  static const char* AlignmentName(TksAlignment value);
  static AnsiString FontStyleText(const TksFontStyles& value);

 private:
  // Names are compared as LowerCase compares them: ASCII letters fold, the trail byte of a
  // double-byte character does not.
  struct Entry {
    Entry(std::string_view name, std::string_view value, uint32_t hash, bool isKey)
        : Name(name), Value(value), Hash(hash), IsKey(isKey) {}
    AnsiString Name;
    AnsiString Value;
    uint32_t Hash = 0;  // of the folded name
    bool IsKey = true;  // false for a line without "=", kept but matching nothing
  };
  // An open-addressing index over the first occurrence of each folded name: slot values are
  // item index + 1, 0 for a free slot.
  class NameIndex {
   public:
    template <class Items>
    const typename Items::value_type* Find(const Items& items, std::string_view name,
                                           uint32_t hash) const;
    // Adds item `index` unless an earlier item has the same folded name.
    template <class Items>
    void Add(const Items& items, size_t index);
    void Clear() { FSlots.clear(); FCount = 0; }
    void Reserve(size_t count);  // room for count names without growing; while empty

   private:
    std::vector<uint32_t> FSlots;
    size_t FCount = 0;
  };
  struct Section {
    AnsiString Name;
    uint32_t Hash = 0;
    std::vector<Entry> Entries;
    int KeyCount = 0;
    NameIndex Keys;
    const Entry* FindKey(std::string_view key) const;
    void AddKey(std::string_view name, std::string_view value);
  };

  const Section* Find(std::string_view section) const;
  // The value, or def when the key is absent (a view valid until the next change).
  std::string_view ValueOr(std::string_view section, std::string_view key,
                           std::string_view def) const;
  Section& FindOrAdd(std::string_view section);
  void AddSection(std::string_view name);
  struct ParsedLine;
  static void Classify(std::string_view raw, std::vector<ParsedLine>& out);
  void Build(const std::vector<ParsedLine>& lines);
  void Reindex();

  // The last section looked up and what it found: records read many keys of one section in
  // turn. Emptied by every change to the sections and never copied with them.
  struct LastSection {
    LastSection() = default;
    LastSection(const LastSection&) {}
    LastSection& operator=(const LastSection&) {
      Valid = false;
      return *this;
    }
    AnsiString Query;
    const Section* Found = nullptr;
    bool Valid = false;
  };

  std::vector<Section> FSections;
  NameIndex FIndex;  // over FSections
  mutable LastSection FLast;
};
