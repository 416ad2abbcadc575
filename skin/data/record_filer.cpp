#include "skin/data/record_filer.h"

#include <algorithm>

namespace {
const char* const kCommandNames[] = {"cmclose",   "cmmaximize", "cmminimize",      "cmsysmenu",
                                     "cmdefault", "cmrollup",   "cmminimizetotray"};

int32_t Bounded(int32_t v) { return std::clamp(v, -kMaxSkinNumber, kMaxSkinNumber); }

}  // namespace

const char* StdCommandName(TksStdCommand value) {
  return kCommandNames[value <= cmMinimizeToTray ? value : cmMinimizeToTray];
}

void TksIniReader::Integer(const char* key, int32_t& value, int32_t def) {
  value = Bounded(FIni.ReadInteger(FSection, key, def));
}
void TksIniReader::Color(const char* key, COLORREF& value, COLORREF def) {
  value = FIni.ReadColor(FSection, key, def);
}
void TksIniReader::Boolean(const char* key, bool& value) { value = FIni.ReadBoolean(FSection, key); }
void TksIniReader::Point(const char* key, POINT& value) {
  const POINT p = FIni.ReadPoint(FSection, key);
  value = POINT{Bounded(p.x), Bounded(p.y)};
}
void TksIniReader::Rect(const char* key, RECT& value) {
  const RECT r = FIni.ReadRect(FSection, key);
  value = RECT{Bounded(r.left), Bounded(r.top), Bounded(r.right), Bounded(r.bottom)};
}
void TksIniReader::String(const char* key, AnsiString& value, const char* def) {
  value = FIni.ReadString(FSection, key, def);
}
void TksIniReader::FontStyle(const char* key, TksFontStyles& value) {
  value = FIni.ReadFontStyle(FSection, key);
}
void TksIniReader::StretchType(const char* key, TksStretchType& value) {
  value = FIni.ReadStretchType(FSection, key);
}
void TksIniReader::EffectKind(const char* key, TksEffectKind& value) {
  value = FIni.ReadEffectKind(FSection, key);
}
void TksIniReader::MorphKind(const char* key, TksMorphKind& value) {
  value = FIni.ReadMorphKind(FSection, key);
}
void TksIniReader::Alignment(const char* key, TksAlignment& value) {
  value = FIni.ReadAlignment(FSection, key);
}
void TksIniReader::Command(const char* key, TksStdCommand& value) {
  const AnsiString text = FIni.ReadString(FSection, key, "cmdefault");
  for (int i = cmClose; i <= cmRollUp; ++i) {
    if (text == kCommandNames[i]) {
      value = static_cast<TksStdCommand>(i);
      return;
    }
  }
  value = cmMinimizeToTray;
}

void TksIniWriter::Integer(const char* key, int32_t& value, int32_t) {
  FIni.WriteInteger(FSection, key, value);
}
void TksIniWriter::Color(const char* key, COLORREF& value, COLORREF) {
  FIni.WriteColor(FSection, key, value);
}
void TksIniWriter::Boolean(const char* key, bool& value) { FIni.WriteBoolean(FSection, key, value); }
void TksIniWriter::Point(const char* key, POINT& value) { FIni.WritePoint(FSection, key, value); }
void TksIniWriter::Rect(const char* key, RECT& value) { FIni.WriteRect(FSection, key, value); }
void TksIniWriter::String(const char* key, AnsiString& value, const char*) {
  FIni.WriteString(FSection, key, value);
}
void TksIniWriter::FontStyle(const char* key, TksFontStyles& value) {
  FIni.WriteFontStyle(FSection, key, value);
}
void TksIniWriter::StretchType(const char* key, TksStretchType& value) {
  FIni.WriteStretchType(FSection, key, value);
}
void TksIniWriter::EffectKind(const char* key, TksEffectKind& value) {
  FIni.WriteEffectKind(FSection, key, value);
}
void TksIniWriter::MorphKind(const char* key, TksMorphKind& value) {
  FIni.WriteMorphKind(FSection, key, value);
}
void TksIniWriter::Alignment(const char* key, TksAlignment& value) {
  FIni.WriteAlignment(FSection, key, value);
}
void TksIniWriter::Command(const char* key, TksStdCommand& value) {
  FIni.WriteString(FSection, key, StdCommandName(value));
}
