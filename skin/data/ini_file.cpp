#include "skin/data/ini_file.h"

#include <cstring>

namespace {

const char* const kStretchNames[] = {"stfull", "sthorz", "stvert"};
const char* const kEffectNames[] = {"iebrightness", "iedarkness", "iegrayscale",
                                    "ienoise",      "iesplitblur", "ieinvert"};
const char* const kMorphNames[] = {"mkdefault",   "mkgradient",  "mkleftgradient", "mkrightgradient",
                                   "mkleftslide", "mkrightslide", "mkpush"};
const char* const kAlignmentNames[] = {"taleftjustify", "tarightjustify", "tacenter"};

// Splits a point or rectangle value and converts the first `count` components.
void ReadComponents(const AnsiString& value, LONG* out, int count, const AnsiString& section,
                    const AnsiString& key) {
  int index = 0;
  size_t start = 0;
  while (index < count) {
    const size_t comma = value.find(',', start);
    const size_t end = comma == AnsiString::npos ? value.size() : comma;
    AnsiString digits;
    for (size_t i = start; i < end; ++i) {
      if (value[i] >= '0' && value[i] <= '9') digits += value[i];
    }
    int32_t number = 0;
    if (digits.empty() || !TryStrToInt(digits, number)) {
      throw EConvertError("'" + value + "' is not a valid " + (count == 2 ? "point" : "rectangle") +
                          " for key '" + key + "' of section [" + section + "]");
    }
    out[index++] = number;
    if (comma == AnsiString::npos) break;
    start = comma + 1;
  }
  if (index < count) {
    throw EConvertError("'" + value + "' has too few components for key '" + key +
                        "' of section [" + section + "]");
  }
}

}  // namespace

void TksIniFile::Section::AddKey(AnsiString name, AnsiString value) {
  Keys.emplace(LowerCase(name), Entries.size());
  Entries.push_back(Entry{std::move(name), std::move(value), true});
  ++KeyCount;
}

std::vector<AnsiString> TksIniFile::SplitLines(std::string_view text) {
  std::vector<AnsiString> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

void TksIniFile::Clear() {
  FSections.clear();
  FIndex.clear();
}

void TksIniFile::SetText(std::string_view text) { SetLines(SplitLines(text)); }

void TksIniFile::SetLines(const std::vector<AnsiString>& lines) {
  Clear();
  Section* current = nullptr;
  for (const AnsiString& raw : lines) {
    const AnsiString line = Trim(raw);
    if (line.empty() || line[0] == ';') continue;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      FSections.push_back(Section{Trim(line.substr(1, line.size() - 2)), {}, 0, {}});
      current = &FSections.back();
      continue;
    }
    if (current == nullptr) continue;
    const size_t eq = line.find('=');
    if (eq == AnsiString::npos) {
      current->Entries.push_back(Entry{line, AnsiString(), false});
      continue;
    }
    current->AddKey(Trim(line.substr(0, eq)), Trim(line.substr(eq + 1)));
  }
  Reindex();
}

void TksIniFile::Reindex() {
  FIndex.clear();
  for (size_t i = 0; i < FSections.size(); ++i) FIndex.emplace(LowerCase(FSections[i].Name), i);
}

AnsiString TksIniFile::GetText() const {
  AnsiString text;
  for (size_t i = 0; i < FSections.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += "[" + FSections[i].Name + "]\r\n";
    for (const Entry& e : FSections[i].Entries) {
      text += e.IsKey ? e.Name + "=" + e.Value : e.Name;
      text += "\r\n";
    }
  }
  return text;
}

const TksIniFile::Section* TksIniFile::Find(const AnsiString& section) const {
  const auto it = FIndex.find(LowerCase(section));
  return it == FIndex.end() ? nullptr : &FSections[it->second];
}

TksIniFile::Section& TksIniFile::FindOrAdd(const AnsiString& section) {
  const auto it = FIndex.find(LowerCase(section));
  if (it != FIndex.end()) return FSections[it->second];
  FSections.push_back(Section{section, {}, 0, {}});
  FIndex.emplace(LowerCase(section), FSections.size() - 1);
  return FSections.back();
}

bool TksIniFile::SectionExists(const AnsiString& section) const {
  const Section* s = Find(section);
  return s != nullptr && s->KeyCount > 0;
}

bool TksIniFile::ValueExists(const AnsiString& section, const AnsiString& key) const {
  return FindValue(section, key) != nullptr;
}

std::vector<AnsiString> TksIniFile::SectionNames() const {
  std::vector<AnsiString> names;
  for (const Section& s : FSections) {
    if (s.KeyCount > 0 && Find(s.Name) == &s) names.push_back(s.Name);
  }
  return names;
}

std::vector<AnsiString> TksIniFile::KeyNames(const AnsiString& section) const {
  std::vector<AnsiString> names;
  const Section* s = Find(section);
  if (s == nullptr) return names;
  for (size_t i = 0; i < s->Entries.size(); ++i) {
    const Entry& e = s->Entries[i];
    if (e.IsKey && s->Keys.at(LowerCase(e.Name)) == i) names.push_back(e.Name);
  }
  return names;
}

const AnsiString* TksIniFile::FindValue(const AnsiString& section, const AnsiString& key) const {
  const Section* s = Find(section);
  if (s == nullptr) return nullptr;
  const auto it = s->Keys.find(LowerCase(key));
  return it == s->Keys.end() ? nullptr : &s->Entries[it->second].Value;
}

AnsiString TksIniFile::ReadString(const AnsiString& section, const AnsiString& key,
                                  const AnsiString& def) const {
  const AnsiString* v = FindValue(section, key);
  return v != nullptr ? *v : def;
}

int32_t TksIniFile::ReadInteger(const AnsiString& section, const AnsiString& key,
                                int32_t def) const {
  const AnsiString* v = FindValue(section, key);
  return v != nullptr ? StrToIntDef(*v, def) : def;
}

COLORREF TksIniFile::ReadColor(const AnsiString& section, const AnsiString& key,
                               COLORREF def) const {
  return static_cast<COLORREF>(ReadInteger(section, key, static_cast<int32_t>(def)));
}

bool TksIniFile::ReadBoolean(const AnsiString& section, const AnsiString& key) const {
  return ReadInteger(section, key, 0) == 1;
}

POINT TksIniFile::ReadPoint(const AnsiString& section, const AnsiString& key) const {
  LONG c[2] = {0, 0};
  ReadComponents(ReadString(section, key, "0,0"), c, 2, section, key);
  return POINT{c[0], c[1]};
}

RECT TksIniFile::ReadRect(const AnsiString& section, const AnsiString& key) const {
  LONG c[4] = {0, 0, 0, 0};
  ReadComponents(ReadString(section, key, "0,0,0,0"), c, 4, section, key);
  return RECT{c[0], c[1], c[2], c[3]};
}

TksFontStyles TksIniFile::ReadFontStyle(const AnsiString& section, const AnsiString& key) const {
  const AnsiString v = ReadString(section, key, "");
  TksFontStyles styles;
  styles.Bold = v.find("fsbold") != AnsiString::npos;
  styles.Italic = v.find("fsitalic") != AnsiString::npos;
  styles.Underline = v.find("fsunderline") != AnsiString::npos;
  styles.StrikeOut = v.find("fsstrikeout") != AnsiString::npos;
  return styles;
}

TksStretchType TksIniFile::ReadStretchType(const AnsiString& section,
                                           const AnsiString& key) const {
  const AnsiString v = ReadString(section, key, "stfull");
  if (v == "stfull") return stFull;
  if (v == "stvert") return stVert;
  return stHorz;
}

TksEffectKind TksIniFile::ReadEffectKind(const AnsiString& section, const AnsiString& key) const {
  const AnsiString v = ReadString(section, key, "iebrightness");
  for (int i = 0; i < 6; ++i) {
    if (v == kEffectNames[i]) return static_cast<TksEffectKind>(i);
  }
  return ieGrayScale;
}

TksMorphKind TksIniFile::ReadMorphKind(const AnsiString& section, const AnsiString& key) const {
  const AnsiString v = ReadString(section, key, "mkdefault");
  for (int i = 0; i < 7; ++i) {
    if (v == kMorphNames[i]) return static_cast<TksMorphKind>(i);
  }
  return mkDefault;
}

TksAlignment TksIniFile::ReadAlignment(const AnsiString& section, const AnsiString& key) const {
  const AnsiString v = ReadString(section, key, "tacenter");
  if (v == "tacenter") return kaCenter;
  if (v == "taleftjustify") return kaLeftJustify;
  return kaRightJustify;
}

std::vector<AnsiString> TksIniFile::ReadStrings(const AnsiString& section,
                                                const AnsiString& name) const {
  std::vector<AnsiString> values;
  const int32_t count = ReadInteger(section, name + "count", 0);
  if (count > kMaxIniListCount) {
    throw EReadError("[" + section + "] " + name + "count " + IntToStr(count) + " exceeds " +
                     IntToStr(kMaxIniListCount));
  }
  for (int32_t i = 0; i < count; ++i) values.push_back(ReadString(section, IntToStr(i), ""));
  return values;
}

void TksIniFile::SplitNameType(const AnsiString& value, AnsiString& name, AnsiString& type) {
  const size_t colon = value.find(':');
  if (colon == AnsiString::npos) {
    name.clear();
    type.clear();
    return;
  }
  name = value.substr(0, colon);
  type = value.substr(colon + 1);
}

void TksIniFile::EraseSection(const AnsiString& section) {
  const AnsiString lower = LowerCase(section);
  std::erase_if(FSections, [&](const Section& s) { return LowerCase(s.Name) == lower; });
  Reindex();
}

void TksIniFile::WriteString(const AnsiString& section, const AnsiString& key,
                             const AnsiString& value) {
  Section& s = FindOrAdd(section);
  const auto it = s.Keys.find(LowerCase(key));
  if (it != s.Keys.end()) {
    s.Entries[it->second].Value = value;
    return;
  }
  s.AddKey(key, value);
}

void TksIniFile::WriteInteger(const AnsiString& section, const AnsiString& key, int32_t value) {
  WriteString(section, key, IntToStr(value));
}

void TksIniFile::WriteColor(const AnsiString& section, const AnsiString& key, COLORREF value) {
  WriteInteger(section, key, static_cast<int32_t>(value));
}

void TksIniFile::WriteBoolean(const AnsiString& section, const AnsiString& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void TksIniFile::WritePoint(const AnsiString& section, const AnsiString& key, const POINT& v) {
  WriteString(section, key, IntToStr(v.x) + "," + IntToStr(v.y));
}

void TksIniFile::WriteRect(const AnsiString& section, const AnsiString& key, const RECT& v) {
  WriteString(section, key,
              IntToStr(v.left) + "," + IntToStr(v.top) + "," + IntToStr(v.right) + "," +
                  IntToStr(v.bottom));
}

AnsiString TksIniFile::FontStyleText(const TksFontStyles& v) {
  AnsiString text;
  const auto add = [&](bool on, const char* name) {
    if (!on) return;
    if (!text.empty()) text += ",";
    text += name;
  };
  add(v.Bold, "fsbold");
  add(v.Italic, "fsitalic");
  add(v.Underline, "fsunderline");
  add(v.StrikeOut, "fsstrikeout");
  return text;
}

void TksIniFile::WriteFontStyle(const AnsiString& section, const AnsiString& key,
                                const TksFontStyles& v) {
  WriteString(section, key, FontStyleText(v));
}

const char* TksIniFile::StretchTypeName(TksStretchType value) {
  return kStretchNames[value <= stVert ? value : stHorz];
}
const char* TksIniFile::EffectKindName(TksEffectKind value) {
  return kEffectNames[value <= ieInvert ? value : ieGrayScale];
}
const char* TksIniFile::MorphKindName(TksMorphKind value) {
  return kMorphNames[value <= mkPush ? value : mkDefault];
}
const char* TksIniFile::AlignmentName(TksAlignment value) {
  return kAlignmentNames[value <= kaCenter ? value : kaRightJustify];
}

void TksIniFile::WriteStretchType(const AnsiString& section, const AnsiString& key,
                                  TksStretchType value) {
  WriteString(section, key, StretchTypeName(value));
}
void TksIniFile::WriteEffectKind(const AnsiString& section, const AnsiString& key,
                                 TksEffectKind value) {
  WriteString(section, key, EffectKindName(value));
}
void TksIniFile::WriteMorphKind(const AnsiString& section, const AnsiString& key,
                                TksMorphKind value) {
  WriteString(section, key, MorphKindName(value));
}
void TksIniFile::WriteAlignment(const AnsiString& section, const AnsiString& key,
                                TksAlignment value) {
  WriteString(section, key, AlignmentName(value));
}

void TksIniFile::WriteStrings(const AnsiString& section, const AnsiString& name,
                              const std::vector<AnsiString>& values) {
  WriteInteger(section, name + "count", static_cast<int32_t>(values.size()));
  for (size_t i = 0; i < values.size(); ++i) {
    WriteString(section, IntToStr(static_cast<int64_t>(i)), values[i]);
  }
}
