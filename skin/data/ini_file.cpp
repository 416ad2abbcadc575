#include "skin/data/ini_file.h"

#include <algorithm>
#include <cstring>

namespace {

const char* const kStretchNames[] = {"stfull", "sthorz", "stvert"};
const char* const kEffectNames[] = {"iebrightness", "iedarkness", "iegrayscale",
                                    "ienoise",      "iesplitblur", "ieinvert"};
const char* const kMorphNames[] = {"mkdefault",   "mkgradient",  "mkleftgradient", "mkrightgradient",
                                   "mkleftslide", "mkrightslide", "mkpush"};
const char* const kAlignmentNames[] = {"taleftjustify", "tarightjustify", "tacenter"};

// Names compare as LowerCase compares them. The hash reads eight bytes at a time with the
// 0x20 bit set, so names that differ only in the case of ASCII letters hash alike (as do a
// few other byte pairs, which costs no more than a comparison).
uint32_t FoldHash(std::string_view s) {
  constexpr uint64_t kCase = 0x2020202020202020ull;
  constexpr uint64_t kMul = 0x9E3779B97F4A7C15ull;
  uint64_t h = s.size() * kMul;
  size_t i = 0;
  for (; i + 8 <= s.size(); i += 8) {
    uint64_t w;
    std::memcpy(&w, s.data() + i, 8);
    h = (h ^ (w | kCase)) * kMul;
    h ^= h >> 29;
  }
  if (i < s.size()) {
    uint64_t w = 0;
    std::memcpy(&w, s.data() + i, s.size() - i);
    h = (h ^ (w | (kCase >> (8 * (8 - (s.size() - i)))))) * kMul;
    h ^= h >> 29;
  }
  return static_cast<uint32_t>(h ^ (h >> 32));
}

unsigned char FoldByte(unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; }

bool FoldEquals(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  if (std::memcmp(a.data(), b.data(), a.size()) == 0) return true;
  for (size_t i = 0; i < a.size(); ++i) {
    const auto ca = static_cast<unsigned char>(a[i]);
    const auto cb = static_cast<unsigned char>(b[i]);
    if ((IsLeadByte(ca) || IsLeadByte(cb)) && i + 1 < a.size()) {
      // Lead bytes are no letters: both must hold the same double-byte character.
      if (ca != cb || a[i + 1] != b[i + 1]) return false;
      ++i;
      continue;
    }
    if (FoldByte(ca) != FoldByte(cb)) return false;
  }
  return true;
}

std::string_view TrimView(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return s.substr(b, e - b);
}

[[noreturn]] void BadComponents(std::string_view value, int count, std::string_view section,
                                std::string_view key, bool tooFew) {
  const AnsiString v(value), k(key), sec(section);
  if (tooFew) {
    throw EConvertError("'" + v + "' has too few components for key '" + k + "' of section [" +
                        sec + "]");
  }
  throw EConvertError("'" + v + "' is not a valid " + (count == 2 ? "point" : "rectangle") +
                      " for key '" + k + "' of section [" + sec + "]");
}

// Splits a point or rectangle value and converts the first `count` components: the digits of
// each, everything else dropped.
void ReadComponents(std::string_view value, LONG* out, int count, std::string_view section,
                    std::string_view key) {
  int index = 0;
  size_t start = 0;
  while (index < count) {
    const size_t comma = value.find(',', start);
    const size_t end = comma == std::string_view::npos ? value.size() : comma;
    uint64_t number = 0;
    bool digits = false;
    for (size_t i = start; i < end; ++i) {
      const char c = value[i];
      if (c < '0' || c > '9') continue;
      digits = true;
      number = number * 10 + static_cast<uint64_t>(c - '0');
      if (number > 2147483647u) BadComponents(value, count, section, key, false);
    }
    if (!digits) BadComponents(value, count, section, key, false);
    out[index++] = static_cast<LONG>(number);
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  if (index < count) BadComponents(value, count, section, key, true);
}

}  // namespace

template <class Items>
const typename Items::value_type* TksIniFile::NameIndex::Find(const Items& items,
                                                              std::string_view name,
                                                              uint32_t hash) const {
  if (FSlots.empty()) return nullptr;
  const size_t mask = FSlots.size() - 1;
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    const uint32_t slot = FSlots[i];
    if (slot == 0) return nullptr;
    const auto& item = items[slot - 1];
    if (item.Hash == hash && FoldEquals(item.Name, name)) return &item;
  }
}

void TksIniFile::NameIndex::Reserve(size_t count) {
  size_t size = 16;
  while (size < count * 2) size *= 2;
  if (size > FSlots.size()) FSlots.assign(size, 0);  // only ever called while empty
}

template <class Items>
void TksIniFile::NameIndex::Add(const Items& items, size_t index) {
  if ((FCount + 1) * 2 > FSlots.size()) {
    // Grown to keep at most half the slots used, every name placed again.
    std::vector<uint32_t> old = std::move(FSlots);
    FSlots.assign(std::max<size_t>(16, old.size() * 2), 0);
    const size_t mask = FSlots.size() - 1;
    for (uint32_t slot : old) {
      if (slot == 0) continue;
      size_t i = items[slot - 1].Hash & mask;
      while (FSlots[i] != 0) i = (i + 1) & mask;
      FSlots[i] = slot;
    }
  }
  const auto& item = items[index];
  const size_t mask = FSlots.size() - 1;
  size_t i = item.Hash & mask;
  for (; FSlots[i] != 0; i = (i + 1) & mask) {
    const auto& other = items[FSlots[i] - 1];
    if (other.Hash == item.Hash && FoldEquals(other.Name, item.Name)) return;  // a later duplicate
  }
  FSlots[i] = static_cast<uint32_t>(index + 1);
  ++FCount;
}

const TksIniFile::Entry* TksIniFile::Section::FindKey(std::string_view key) const {
  return Keys.Find(Entries, key, FoldHash(key));
}

void TksIniFile::Section::AddKey(std::string_view name, std::string_view value) {
  Entries.emplace_back(name, value, FoldHash(name), true);
  Keys.Add(Entries, Entries.size() - 1);
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
  FIndex.Clear();
  FLast.Valid = false;
}

namespace {
enum class LineKind : uint8_t { Section, Key, Other };
}  // namespace

// A line that holds something, as views into the text: a section header (its name), a key
// (name and value) or a line without "=" (kept whole, matching nothing).
struct TksIniFile::ParsedLine {
  LineKind Kind;
  std::string_view Name;
  std::string_view Value;
};

void TksIniFile::Classify(std::string_view raw, std::vector<ParsedLine>& out) {
  const std::string_view line = TrimView(raw);
  if (line.empty() || line[0] == ';') return;
  if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
    out.push_back({LineKind::Section, TrimView(line.substr(1, line.size() - 2)), {}});
    return;
  }
  const size_t eq = line.find('=');
  if (eq == std::string_view::npos) {
    out.push_back({LineKind::Other, line, {}});
    return;
  }
  out.push_back({LineKind::Key, TrimView(line.substr(0, eq)), TrimView(line.substr(eq + 1))});
}

// Sections and their entries are built with their final sizes known, so nothing is moved
// while the index grows.
void TksIniFile::Build(const std::vector<ParsedLine>& lines) {
  Clear();
  size_t sections = 0;
  for (const ParsedLine& l : lines) sections += l.Kind == LineKind::Section;
  FSections.reserve(sections);
  FIndex.Reserve(sections);
  size_t i = 0;
  while (i < lines.size() && lines[i].Kind != LineKind::Section) ++i;  // before any section
  while (i < lines.size()) {
    AddSection(lines[i++].Name);
    Section& s = FSections.back();
    size_t end = i, keys = 0;
    for (; end < lines.size() && lines[end].Kind != LineKind::Section; ++end) {
      keys += lines[end].Kind == LineKind::Key;
    }
    s.Entries.reserve(end - i);
    s.Keys.Reserve(keys);
    for (; i < end; ++i) {
      if (lines[i].Kind == LineKind::Key) {
        s.AddKey(lines[i].Name, lines[i].Value);
      } else {
        s.Entries.emplace_back(lines[i].Name, std::string_view(), 0, false);
      }
    }
  }
}

void TksIniFile::SetText(std::string_view text) {
  std::vector<ParsedLine> lines;
  lines.reserve(text.size() / 16 + 1);
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n') continue;
    Classify(text.substr(start, i - start), lines);
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) Classify(text.substr(start), lines);
  Build(lines);
}

void TksIniFile::SetLines(const std::vector<AnsiString>& lines) {
  std::vector<ParsedLine> parsed;
  parsed.reserve(lines.size());
  for (const AnsiString& line : lines) Classify(line, parsed);
  Build(parsed);
}

void TksIniFile::AddSection(std::string_view name) {
  FSections.push_back(Section{AnsiString(name), FoldHash(name), {}, 0, {}});
  FIndex.Add(FSections, FSections.size() - 1);
  FLast.Valid = false;
}

void TksIniFile::Reindex() {
  FIndex.Clear();
  FLast.Valid = false;
  for (size_t i = 0; i < FSections.size(); ++i) FIndex.Add(FSections, i);
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

const TksIniFile::Section* TksIniFile::Find(std::string_view section) const {
  if (FLast.Valid && FLast.Query == section) return FLast.Found;
  FLast.Found = FIndex.Find(FSections, section, FoldHash(section));
  FLast.Query = section;
  FLast.Valid = true;
  return FLast.Found;
}

TksIniFile::Section& TksIniFile::FindOrAdd(std::string_view section) {
  if (const Section* s = Find(section)) return FSections[static_cast<size_t>(s - FSections.data())];
  AddSection(section);
  return FSections.back();
}

bool TksIniFile::SectionExists(std::string_view section) const {
  const Section* s = Find(section);
  return s != nullptr && s->KeyCount > 0;
}

bool TksIniFile::ValueExists(std::string_view section, std::string_view key) const {
  return FindValue(section, key) != nullptr;
}

std::vector<AnsiString> TksIniFile::SectionNames() const {
  std::vector<AnsiString> names;
  for (const Section& s : FSections) {
    if (s.KeyCount > 0 && Find(s.Name) == &s) names.push_back(s.Name);
  }
  return names;
}

std::vector<AnsiString> TksIniFile::KeyNames(std::string_view section) const {
  std::vector<AnsiString> names;
  const Section* s = Find(section);
  if (s == nullptr) return names;
  for (const Entry& e : s->Entries) {
    if (e.IsKey && s->FindKey(e.Name) == &e) names.push_back(e.Name);
  }
  return names;
}

const AnsiString* TksIniFile::FindValue(std::string_view section, std::string_view key) const {
  const Section* s = Find(section);
  if (s == nullptr) return nullptr;
  const Entry* e = s->FindKey(key);
  return e == nullptr ? nullptr : &e->Value;
}

AnsiString TksIniFile::ReadString(std::string_view section, std::string_view key,
                                  std::string_view def) const {
  const AnsiString* v = FindValue(section, key);
  return v != nullptr ? *v : AnsiString(def);
}

std::string_view TksIniFile::ValueOr(std::string_view section, std::string_view key,
                                    std::string_view def) const {
  const AnsiString* v = FindValue(section, key);
  return v != nullptr ? std::string_view(*v) : def;
}

int32_t TksIniFile::ReadInteger(std::string_view section, std::string_view key,
                                int32_t def) const {
  const AnsiString* v = FindValue(section, key);
  return v != nullptr ? StrToIntDef(*v, def) : def;
}

COLORREF TksIniFile::ReadColor(std::string_view section, std::string_view key,
                               COLORREF def) const {
  return static_cast<COLORREF>(ReadInteger(section, key, static_cast<int32_t>(def)));
}

bool TksIniFile::ReadBoolean(std::string_view section, std::string_view key) const {
  return ReadInteger(section, key, 0) == 1;
}

POINT TksIniFile::ReadPoint(std::string_view section, std::string_view key) const {
  LONG c[2] = {0, 0};
  const AnsiString* v = FindValue(section, key);
  ReadComponents(v != nullptr ? std::string_view(*v) : "0,0", c, 2, section, key);
  return POINT{c[0], c[1]};
}

RECT TksIniFile::ReadRect(std::string_view section, std::string_view key) const {
  LONG c[4] = {0, 0, 0, 0};
  const AnsiString* v = FindValue(section, key);
  ReadComponents(v != nullptr ? std::string_view(*v) : "0,0,0,0", c, 4, section, key);
  return RECT{c[0], c[1], c[2], c[3]};
}

TksFontStyles TksIniFile::ReadFontStyle(std::string_view section, std::string_view key) const {
  const std::string_view v = ValueOr(section, key, "");
  TksFontStyles styles;
  styles.Bold = v.find("fsbold") != std::string_view::npos;
  styles.Italic = v.find("fsitalic") != std::string_view::npos;
  styles.Underline = v.find("fsunderline") != std::string_view::npos;
  styles.StrikeOut = v.find("fsstrikeout") != std::string_view::npos;
  return styles;
}

TksStretchType TksIniFile::ReadStretchType(std::string_view section, std::string_view key) const {
  const std::string_view v = ValueOr(section, key, "stfull");
  if (v == "stfull") return stFull;
  if (v == "stvert") return stVert;
  return stHorz;
}

TksEffectKind TksIniFile::ReadEffectKind(std::string_view section, std::string_view key) const {
  const std::string_view v = ValueOr(section, key, "iebrightness");
  for (int i = 0; i < 6; ++i) {
    if (v == kEffectNames[i]) return static_cast<TksEffectKind>(i);
  }
  return ieGrayScale;
}

TksMorphKind TksIniFile::ReadMorphKind(std::string_view section, std::string_view key) const {
  const std::string_view v = ValueOr(section, key, "mkdefault");
  for (int i = 0; i < 7; ++i) {
    if (v == kMorphNames[i]) return static_cast<TksMorphKind>(i);
  }
  return mkDefault;
}

TksAlignment TksIniFile::ReadAlignment(std::string_view section, std::string_view key) const {
  const std::string_view v = ValueOr(section, key, "tacenter");
  if (v == "tacenter") return kaCenter;
  if (v == "taleftjustify") return kaLeftJustify;
  return kaRightJustify;
}

std::vector<AnsiString> TksIniFile::ReadStrings(std::string_view section, std::string_view name) const {
  std::vector<AnsiString> values;
  const int32_t count = ReadInteger(section, AnsiString(name) + "count", 0);
  if (count > kMaxIniListCount) {
    throw EReadError("[" + AnsiString(section) + "] " + AnsiString(name) + "count " +
                     IntToStr(count) + " exceeds " + IntToStr(kMaxIniListCount));
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

void TksIniFile::EraseSection(std::string_view section) {
  std::erase_if(FSections, [&](const Section& s) { return FoldEquals(s.Name, section); });
  Reindex();
}

void TksIniFile::WriteString(std::string_view section, std::string_view key,
                             const AnsiString& value) {
  Section& s = FindOrAdd(section);
  if (const Entry* e = s.FindKey(key)) {
    s.Entries[static_cast<size_t>(e - s.Entries.data())].Value = value;
    return;
  }
  s.AddKey(key, value);
}

void TksIniFile::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
  WriteString(section, key, IntToStr(value));
}

void TksIniFile::WriteColor(std::string_view section, std::string_view key, COLORREF value) {
  WriteInteger(section, key, static_cast<int32_t>(value));
}

void TksIniFile::WriteBoolean(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void TksIniFile::WritePoint(std::string_view section, std::string_view key, const POINT& v) {
  WriteString(section, key, IntToStr(v.x) + "," + IntToStr(v.y));
}

void TksIniFile::WriteRect(std::string_view section, std::string_view key, const RECT& v) {
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

void TksIniFile::WriteFontStyle(std::string_view section, std::string_view key,
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

void TksIniFile::WriteStretchType(std::string_view section, std::string_view key,
                                  TksStretchType value) {
  WriteString(section, key, StretchTypeName(value));
}
void TksIniFile::WriteEffectKind(std::string_view section, std::string_view key,
                                 TksEffectKind value) {
  WriteString(section, key, EffectKindName(value));
}
void TksIniFile::WriteMorphKind(std::string_view section, std::string_view key,
                                TksMorphKind value) {
  WriteString(section, key, MorphKindName(value));
}
void TksIniFile::WriteAlignment(std::string_view section, std::string_view key,
                                TksAlignment value) {
  WriteString(section, key, AlignmentName(value));
}

void TksIniFile::WriteStrings(std::string_view section, std::string_view name,
                              const std::vector<AnsiString>& values) {
  WriteInteger(section, AnsiString(name) + "count", static_cast<int32_t>(values.size()));
  for (size_t i = 0; i < values.size(); ++i) {
    WriteString(section, IntToStr(static_cast<int64_t>(i)), values[i]);
  }
}
