// A realized font: FreeType faces found through fontconfig for one logical font at one pixel
// size, their Win32-style metrics, and a cache of rendered glyphs. Characters the primary face
// lacks come from a fallback face that has them; characters no face has render as the primary
// face's .notdef box.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/winfont.h"

namespace lumoa::platform {

struct Glyph {
  int advance = 0;  // pen advance in pixels
  int left = 0;     // bitmap left relative to the pen
  int top = 0;      // rows of the bitmap above the baseline
  int width = 0;
  int height = 0;
  std::vector<BYTE> coverage;  // width * height, 0..255
};

struct FontMetrics {
  int ascent = 0;
  int descent = 0;
  int emPixels = 0;
  int externalLeading = 0;
  int aveCharWidth = 0;
  int maxCharWidth = 0;
  int weight = FW_NORMAL;
  int underlineOffset = 0;  // top of the underline, pixels below the baseline
  int underlineThickness = 1;
  int strikeoutOffset = 0;  // top of the strikeout line, pixels above the baseline
  int strikeoutThickness = 1;
  bool fixedPitch = false;
  int height() const { return ascent + descent; }
};

class FontInstance {
 public:
  // The shared instance for lf's face, size and style (underline and strikeout are drawn by
  // the caller and do not take part).
  static std::shared_ptr<FontInstance> Get(const LOGFONTW& lf);

  explicit FontInstance(const LOGFONTW& lf);
  ~FontInstance();
  FontInstance(const FontInstance&) = delete;
  FontInstance& operator=(const FontInstance&) = delete;

  const FontMetrics& metrics() const { return metrics_; }
  // The face name GetTextFaceW reports: the requested one, or the resolved family when none
  // was requested.
  const std::u16string& faceName() const { return faceName_; }
  // The rendered glyph for a code point (cached).
  const Glyph& GlyphFor(char32_t cp);
  int Advance(char32_t cp) { return GlyphFor(cp).advance; }

 private:
  struct Face;
  const Glyph& Render(char32_t cp);
  Face* FaceFor(char32_t cp, unsigned* index);
  Face* AddFace(const std::string& file, int index);  // appends with a size of its own
  Face* AddFallback(char32_t cp);
  void ComputeMetrics(const LOGFONTW& lf);

  std::vector<std::unique_ptr<Face>> faces_;  // [0] is the primary face when it loaded
  std::unordered_map<char32_t, Glyph> glyphs_;
  FontMetrics metrics_;
  std::u16string faceName_;
  double emPixels_ = 12;
  bool wantBold_ = false;
  bool wantItalic_ = false;
  bool mono_ = false;
};

}  // namespace lumoa::platform
