// The skin description: INI text parsed into sections and keys, with the value readers and
// writers the skin records use.
#pragma once

#include <string_view>
#include <unordered_map>
#include <vector>

#include "skin/data/skin_types.h"
#include "ui/sysutils.h"

// Lists longer than this are refused as hostile; real skins have under a hundred entries.
constexpr int32_t kMaxIniListCount = 65536;

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
  bool SectionExists(const AnsiString& section) const;
  bool ValueExists(const AnsiString& section, const AnsiString& key) const;
  std::vector<AnsiString> SectionNames() const;
  // Key names of the section in file order, first occurrences only.
  std::vector<AnsiString> KeyNames(const AnsiString& section) const;
  // Null when the key is absent; the first occurrence of section and key counts.
  const AnsiString* FindValue(const AnsiString& section, const AnsiString& key) const;

  AnsiString ReadString(const AnsiString& section, const AnsiString& key,
                        const AnsiString& def) const;
  int32_t ReadInteger(const AnsiString& section, const AnsiString& key, int32_t def) const;
  COLORREF ReadColor(const AnsiString& section, const AnsiString& key, COLORREF def) const;
  bool ReadBoolean(const AnsiString& section, const AnsiString& key) const;
  // Raise EConvertError for a component that is empty once its non-digits are dropped.
  POINT ReadPoint(const AnsiString& section, const AnsiString& key) const;
  RECT ReadRect(const AnsiString& section, const AnsiString& key) const;
  TksFontStyles ReadFontStyle(const AnsiString& section, const AnsiString& key) const;
  TksStretchType ReadStretchType(const AnsiString& section, const AnsiString& key) const;
  TksEffectKind ReadEffectKind(const AnsiString& section, const AnsiString& key) const;
  TksMorphKind ReadMorphKind(const AnsiString& section, const AnsiString& key) const;
  TksAlignment ReadAlignment(const AnsiString& section, const AnsiString& key) const;
  // The list "<name>count" followed by keys "0" .. count-1; EReadError past kMaxIniListCount.
  std::vector<AnsiString> ReadStrings(const AnsiString& section, const AnsiString& name) const;

  // "name:type" split at the first colon; without a colon both parts are empty.
  static void SplitNameType(const AnsiString& value, AnsiString& name, AnsiString& type);

  void EraseSection(const AnsiString& section);
  void WriteString(const AnsiString& section, const AnsiString& key, const AnsiString& value);
  void WriteInteger(const AnsiString& section, const AnsiString& key, int32_t value);
  void WriteColor(const AnsiString& section, const AnsiString& key, COLORREF value);
  void WriteBoolean(const AnsiString& section, const AnsiString& key, bool value);
  void WritePoint(const AnsiString& section, const AnsiString& key, const POINT& value);
  void WriteRect(const AnsiString& section, const AnsiString& key, const RECT& value);
  void WriteFontStyle(const AnsiString& section, const AnsiString& key, const TksFontStyles& v);
  void WriteStretchType(const AnsiString& section, const AnsiString& key, TksStretchType value);
  void WriteEffectKind(const AnsiString& section, const AnsiString& key, TksEffectKind value);
  void WriteMorphKind(const AnsiString& section, const AnsiString& key, TksMorphKind value);
  void WriteAlignment(const AnsiString& section, const AnsiString& key, TksAlignment value);
  void WriteStrings(const AnsiString& section, const AnsiString& name,
                    const std::vector<AnsiString>& values);

  // Value kinds as text, shared with the records' own keyword tables.
  static const char* StretchTypeName(TksStretchType value);
  static const char* EffectKindName(TksEffectKind value);
  static const char* MorphKindName(TksMorphKind value);
  static const char* AlignmentName(TksAlignment value);
  static AnsiString FontStyleText(const TksFontStyles& value);

 private:
  struct Entry {
    AnsiString Name;
    AnsiString Value;
    bool IsKey = true;  // false for a line without "=", kept but matching nothing
  };
  struct Section {
    AnsiString Name;
    std::vector<Entry> Entries;
    int KeyCount = 0;
    // Lower-cased key name -> index in Entries of its first occurrence.
    std::unordered_map<AnsiString, size_t> Keys;
    void AddKey(AnsiString name, AnsiString value);
  };

  const Section* Find(const AnsiString& section) const;
  Section& FindOrAdd(const AnsiString& section);
  void Reindex();

  std::vector<Section> FSections;
  // Lower-cased name -> index of the first section of that name.
  std::unordered_map<AnsiString, size_t> FIndex;
};
