#include "platform/text/font_instance.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SIZES_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <string_view>
#include <tuple>
#include <unordered_set>

#include "platform/text/font_face.h"
#include "platform/text/font_match_cache.h"
#include "platform/winbase.h"

namespace lumoa::platform {

struct FontInstance::Face {
  SharedFace* shared = nullptr;
  FT_Face face = nullptr;  // shared->face
  FT_Size size = nullptr;  // this instance's size of the shared face
  bool synthBold = false;
  bool synthItalic = false;
  ~Face() {
    if (size) FT_Done_Size(size);
  }
  // Makes this instance's size the one the face scales and loads glyphs with.
  void Activate() const { FT_Activate_Size(size); }
};

namespace {

// Code points no installed face has: looked up once, then drawn as .notdef straight away.
std::unordered_set<char32_t>& MissingCodePoints() {
  static std::unordered_set<char32_t> missing;
  return missing;
}

std::string Utf8(std::u16string_view s) {
  if (s.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string out(static_cast<size_t>(std::max(n, 0)), '\0');
  if (n > 0) {
    WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr,
                        nullptr);
  }
  return out;
}

std::u16string Utf16(const char* s) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, s, -1, nullptr, 0);
  if (n <= 1) return {};
  std::u16string out(static_cast<size_t>(n), u'\0');
  MultiByteToWideChar(CP_UTF8, 0, s, -1, out.data(), n);
  out.pop_back();
  return out;
}

std::string LowerAscii(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

// Faces of the Chinese system whose names fontconfig does not know: asking for the language
// instead finds an installed Chinese face.
bool IsChineseFaceName(const std::string& lower) {
  static const char* const kNames[] = {
      "simsun",    "nsimsun", "simhei",   "microsoft yahei", "microsoft jhenghei",
      "kaiti",     "kaiti_gb2312", "fangsong", "fangsong_gb2312", "mingliu", "pmingliu",
      "dengxian",  "宋体",    "新宋体",   "黑体",            "微软雅黑",
      "楷体",      "楷体_gb2312", "仿宋", "仿宋_gb2312", "等线", "细明体", "新細明體"};
  return std::any_of(std::begin(kNames), std::end(kNames),
                     [&](const char* n) { return lower == n; });
}

// The system's dialog faces are rarely installed; the Arial-compatible face is far closer in
// width than the desktop's default sans, so it is the next choice after them.
bool IsDialogFaceName(const std::string& lower) {
  static const char* const kNames[] = {"ms sans serif", "microsoft sans serif", "ms shell dlg",
                                       "ms shell dlg 2", "tahoma", "system", "verdana", "segoe ui"};
  return std::any_of(std::begin(kNames), std::end(kNames),
                     [&](const char* n) { return lower == n; });
}

const char* LangForCharset(BYTE charset) {
  switch (charset) {
    case GB2312_CHARSET: return "zh-cn";
    case CHINESEBIG5_CHARSET: return "zh-tw";
    case SHIFTJIS_CHARSET: return "ja";
    case HANGUL_CHARSET: return "ko";
    default: return nullptr;
  }
}

void AddStyle(FcPattern* pattern, bool bold, bool italic) {
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
}

// Best match for pattern (consumed): its file, face index and family.
FontMatch Match(FcPattern* pattern) {
  FontMatch r;
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (!match) return r;
  FcChar8* path = nullptr;
  if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path) {
    r.found = true;
    r.file = reinterpret_cast<const char*>(path);
    FcPatternGetInteger(match, FC_INDEX, 0, &r.index);
    FcChar8* fam = nullptr;
    if (FcPatternGetString(match, FC_FAMILY, 0, &fam) == FcResultMatch && fam) {
      r.family = reinterpret_cast<const char*>(fam);
    }
  }
  FcPatternDestroy(match);
  return r;
}

// The answer to a question, asked of this run's answers, then of those kept from earlier runs,
// and only then of fontconfig (which is made ready for it). Without fontconfig: no match.
template <typename MakePattern>
const FontMatch& Resolve(const std::string& key, MakePattern makePattern) {
  static std::map<std::string, FontMatch> answers;
  const auto it = answers.find(key);
  if (it != answers.end()) return it->second;
  if (const FontMatch* kept = FontMatches().Find(key)) return answers[key] = *kept;
  static const FontMatch kNone;
  if (!FontconfigReady()) return kNone;
  FontMatch found = Match(makePattern());
  FontMatches().Put(key, found);
  return answers[key] = std::move(found);
}

std::string StyleKey(bool bold, bool italic) {
  return std::string(bold ? "|b" : "|-") + (italic ? "i" : "-");
}

// The face for a requested family, language and style. Fonts of several sizes ask the same
// question; it is answered once.
const FontMatch& MatchFamily(const std::string& family, const char* lang, bool bold,
                             bool italic) {
  const std::string key = "family|" + family + '|' + (lang ? lang : "") + StyleKey(bold, italic);
  return Resolve(key, [&] {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    if (IsDialogFaceName(LowerAscii(family))) {
      FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("Arial"));
    }
    if (lang) FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>(lang));
    AddStyle(pattern, bold, italic);
    return pattern;
  });
}

// The face fontconfig offers for a character the instance's faces lack, by style; every
// instance that meets the character asks the same question.
const FontMatch& MatchFallback(char32_t cp, bool bold, bool italic) {
  const std::string key = "char|" + std::to_string(static_cast<uint32_t>(cp)) + StyleKey(bold, italic);
  return Resolve(key, [&] {
    FcCharSet* charset = FcCharSetCreate();
    FcCharSetAddChar(charset, cp);
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddCharSet(pattern, FC_CHARSET, charset);
    FcCharSetDestroy(charset);
    // Among faces that have the character, prefer the Chinese ones of the target system.
    FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("zh-cn"));
    AddStyle(pattern, bold, italic);
    return pattern;
  });
}

int Round(double v) { return static_cast<int>(std::lround(v)); }

constexpr LONG kMaxPixels = 1024;

}  // namespace

std::shared_ptr<FontInstance> FontInstance::Get(const LOGFONTW& lf) {
  static std::map<std::string, std::shared_ptr<FontInstance>> cache;
  std::u16string_view face(lf.lfFaceName);
  std::string key = LowerAscii(Utf8(face));
  key += '|' + std::to_string(lf.lfHeight) + '|' + std::to_string(lf.lfWeight >= 600) + '|' +
         std::to_string(lf.lfItalic != 0) + '|' + std::to_string(lf.lfCharSet) + '|' +
         std::to_string(lf.lfQuality == NONANTIALIASED_QUALITY);
  // Pitch and family choose the face only when no face name is given.
  if (face.empty()) key += '|' + std::to_string(lf.lfPitchAndFamily);
  auto& slot = cache[key];
  if (!slot) slot = std::make_shared<FontInstance>(lf);
  return slot;
}

FontInstance::FontInstance(const LOGFONTW& lf)
    : wantBold_(lf.lfWeight >= 600),
      wantItalic_(lf.lfItalic != 0),
      mono_(lf.lfQuality == NONANTIALIASED_QUALITY) {
  std::u16string_view requested(lf.lfFaceName);
  if (!requested.empty() && requested.front() == u'@') requested.remove_prefix(1);  // vertical
  faceName_ = std::u16string(requested);
  std::string family = Utf8(requested);
  if (family.empty()) {
    const int pitch = lf.lfPitchAndFamily & 0x3;
    const int kind = lf.lfPitchAndFamily & 0xF0;
    family = pitch == FIXED_PITCH || kind == FF_MODERN ? "monospace"
             : kind == FF_ROMAN                        ? "serif"
                                                       : "sans-serif";
  }
  if (FreeTypeLibrary()) {
    const char* lang = IsChineseFaceName(LowerAscii(family)) ? "zh-cn" : LangForCharset(lf.lfCharSet);
    const FontMatch& match = MatchFamily(family, lang, wantBold_, wantItalic_);
    if (match.found && AddFace(match.file, match.index) && faceName_.empty()) {
      faceName_ = Utf16(match.family.c_str());
    }
  }
  ComputeMetrics(lf);
}

FontInstance::~FontInstance() = default;

void FontInstance::ComputeMetrics(const LOGFONTW& request) {
  // Absurd heights are capped so a bad value cannot ask for gigantic glyph bitmaps.
  LOGFONTW lf = request;
  lf.lfHeight = std::clamp<LONG>(lf.lfHeight, -kMaxPixels, kMaxPixels);
  FontMetrics& m = metrics_;
  m.weight = lf.lfWeight > 0 ? lf.lfWeight : FW_NORMAL;
  FT_Face f = faces_.empty() ? nullptr : faces_[0]->face;
  if (f) faces_[0]->Activate();
  if (!f || !FT_IS_SCALABLE(f) || f->units_per_EM == 0) {
    // No usable outline face: plain proportions so layout still works (glyphs stay empty).
    const int em = lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight > 0 ? lf.lfHeight * 4 / 5 : 12;
    emPixels_ = std::max(em, 1);
    m.emPixels = static_cast<int>(emPixels_);
    m.ascent = Round(emPixels_ * 0.9);
    m.descent = lf.lfHeight > 0 ? std::max(lf.lfHeight - m.ascent, 0) : Round(emPixels_ * 0.25);
    m.aveCharWidth = std::max(m.emPixels / 2, 1);
    m.maxCharWidth = m.emPixels;
    m.underlineOffset = 1;
    m.strikeoutOffset = m.ascent / 3;
    if (f && !FT_IS_SCALABLE(f) && f->num_fixed_sizes > 0) FT_Select_Size(f, 0);
    return;
  }
  const double upem = f->units_per_EM;
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(f, FT_SFNT_OS2));
  const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(f, FT_SFNT_HHEA));
  double ascUnits = f->ascender;
  double descUnits = -f->descender;
  if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
    ascUnits = os2->usWinAscent;
    descUnits = os2->usWinDescent;
  }
  const double cellUnits = std::max(ascUnits + descUnits, 1.0);
  double em = 12;
  if (lf.lfHeight < 0) em = -static_cast<double>(lf.lfHeight);
  if (lf.lfHeight > 0) em = lf.lfHeight * upem / cellUnits;
  emPixels_ = std::max(Round(em), 1);
  FT_Set_Char_Size(f, 0, static_cast<FT_F26Dot6>(emPixels_ * 64), 72, 72);
  const double scale = emPixels_ / upem;
  m.emPixels = static_cast<int>(emPixels_);
  m.ascent = Round(ascUnits * scale);
  // A positive height is the cell height exactly.
  m.descent = lf.lfHeight > 0 ? std::max(lf.lfHeight - m.ascent, 0) : Round(descUnits * scale);
  if (hhea) {
    const double gap = hhea->Line_Gap - (cellUnits - (hhea->Ascender - hhea->Descender));
    m.externalLeading = std::max(Round(gap * scale), 0);
  }
  const bool synthBold = wantBold_ && !(f->style_flags & FT_STYLE_FLAG_BOLD);
  faces_[0]->synthBold = synthBold;
  faces_[0]->synthItalic = wantItalic_ && !(f->style_flags & FT_STYLE_FLAG_ITALIC);
  m.aveCharWidth = os2 && os2->xAvgCharWidth > 0 ? Round(os2->xAvgCharWidth * scale) : Advance('x');
  m.aveCharWidth = std::max(m.aveCharWidth + (synthBold ? 1 : 0), 1);
  m.maxCharWidth = std::max(Round(f->max_advance_width * scale) + (synthBold ? 1 : 0), 1);
  m.fixedPitch = FT_IS_FIXED_WIDTH(f);
  m.underlineThickness = std::max(Round(f->underline_thickness * scale), 1);
  const int underlineTop = Round(-f->underline_position * scale) - m.underlineThickness / 2;
  m.underlineOffset = std::clamp(underlineTop, 1, std::max(m.descent - m.underlineThickness, 1));
  if (os2 && os2->version != 0xFFFF && os2->yStrikeoutSize > 0) {
    m.strikeoutThickness = std::max(Round(os2->yStrikeoutSize * scale), 1);
    m.strikeoutOffset = Round(os2->yStrikeoutPosition * scale);
  } else {
    m.strikeoutThickness = m.underlineThickness;
    m.strikeoutOffset = Round(emPixels_ * 0.3);
  }
}

const Glyph& FontInstance::GlyphFor(char32_t cp) {
  auto it = glyphs_.find(cp);
  if (it != glyphs_.end()) return it->second;
  return Render(cp);
}

FontInstance::Face* FontInstance::FaceFor(char32_t cp, unsigned* index) {
  *index = 0;
  for (auto& face : faces_) {
    *index = FT_Get_Char_Index(face->face, cp);
    if (*index) return face.get();
  }
  Face* primary = faces_.empty() ? nullptr : faces_[0].get();
  if (MissingCodePoints().count(cp)) return primary;
  if (Face* fallback = AddFallback(cp)) {
    *index = FT_Get_Char_Index(fallback->face, cp);
    return fallback;
  }
  MissingCodePoints().insert(cp);
  return primary;
}

FontInstance::Face* FontInstance::AddFace(const std::string& file, int index) {
  SharedFace* shared = OpenSharedFace(file, index);
  if (!shared) return nullptr;
  auto face = std::make_unique<Face>();
  face->shared = shared;
  face->face = shared->face;
  if (FT_New_Size(face->face, &face->size) != 0) return nullptr;
  faces_.push_back(std::move(face));
  return faces_.back().get();
}

FontInstance::Face* FontInstance::AddFallback(char32_t cp) {
  if (!FreeTypeLibrary()) return nullptr;
  const FontMatch& match = MatchFallback(cp, wantBold_, wantItalic_);
  if (!match.found) return nullptr;
  for (auto& face : faces_) {
    // Already asked: it lacks cp.
    if (face->shared->file == match.file && face->shared->index == match.index) return nullptr;
  }
  SharedFace* shared = OpenSharedFace(match.file, match.index);
  if (!shared || FT_Get_Char_Index(shared->face, cp) == 0) return nullptr;
  Face* face = AddFace(match.file, match.index);
  if (!face) return nullptr;
  face->Activate();
  if (FT_IS_SCALABLE(face->face)) {
    FT_Set_Char_Size(face->face, 0, static_cast<FT_F26Dot6>(emPixels_ * 64), 72, 72);
  } else if (face->face->num_fixed_sizes > 0) {
    FT_Select_Size(face->face, 0);
  }
  face->synthBold = wantBold_ && !(face->face->style_flags & FT_STYLE_FLAG_BOLD);
  face->synthItalic = wantItalic_ && !(face->face->style_flags & FT_STYLE_FLAG_ITALIC);
  return face;
}

const Glyph& FontInstance::Render(char32_t cp) {
  Glyph& g = glyphs_[cp];
  if (cp < 0x20 || cp == 0x7F) return g;  // control characters take no room
  unsigned index = 0;
  Face* face = FaceFor(cp, &index);
  g.advance = std::max(metrics_.emPixels / 2, 1);
  if (!face) return g;
  FT_Face f = face->face;
  face->Activate();
  const FT_Int32 load = FT_LOAD_DEFAULT | (mono_ ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_LIGHT);
  if (FT_Load_Glyph(f, index, load) != 0) return g;
  FT_GlyphSlot slot = f->glyph;
  if (slot->format == FT_GLYPH_FORMAT_OUTLINE && face->synthItalic) {
    FT_Matrix shear{0x10000, 0x0366A, 0, 0x10000};  // about 12 degrees, as an oblique
    FT_Outline_Transform(&slot->outline, &shear);
  }
  if (face->synthBold) FT_GlyphSlot_Embolden(slot);
  if (slot->format != FT_GLYPH_FORMAT_BITMAP &&
      FT_Render_Glyph(slot, mono_ ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0) {
    return g;
  }
  g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
  const FT_Bitmap& bm = slot->bitmap;
  g.left = slot->bitmap_left;
  g.top = slot->bitmap_top;
  g.width = static_cast<int>(bm.width);
  g.height = static_cast<int>(bm.rows);
  g.coverage.assign(static_cast<size_t>(g.width) * static_cast<size_t>(g.height), 0);
  const int pitch = std::abs(bm.pitch);
  for (int y = 0; y < g.height; ++y) {
    const unsigned char* src = bm.buffer + static_cast<ptrdiff_t>(bm.pitch >= 0 ? y : g.height - 1 - y) * pitch;
    BYTE* dst = g.coverage.data() + static_cast<size_t>(y) * static_cast<size_t>(g.width);
    switch (bm.pixel_mode) {
      case FT_PIXEL_MODE_GRAY:
        std::memcpy(dst, src, static_cast<size_t>(g.width));
        break;
      case FT_PIXEL_MODE_MONO:
        for (int x = 0; x < g.width; ++x) dst[x] = (src[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
        break;
      case FT_PIXEL_MODE_BGRA:
        for (int x = 0; x < g.width; ++x) dst[x] = src[x * 4 + 3];
        break;
      default:
        break;
    }
  }
  return g;
}

}  // namespace lumoa::platform
