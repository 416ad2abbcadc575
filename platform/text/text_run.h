// The shared core of text output: the DC's realized font, measuring and drawing a run of
// UTF-16 text on one baseline, and the solid fills text needs (background cell, underline).
#pragma once

#include <string_view>
#include <vector>

#include "platform/text/font_instance.h"

namespace lumoa::platform {

class FontObject;

// The font selected into dc (the stock system font when the DC has none); nullptr when dc is
// not a DC.
FontObject* DcFont(HDC dc);

// Decodes the code point starting at s[i] (a lone surrogate stands for U+FFFD) and returns the
// UTF-16 units it uses.
int DecodeUtf16(std::u16string_view s, size_t i, char32_t* cp);

// Calls glyph(index, code point, pen x, glyph) for each character of s laid out from x = 0 and
// returns the run's width. tabWidth > 0 expands tabs to multiples of it; else tabs take no room.
template <class F>
int WalkRun(FontInstance& font, std::u16string_view s, int tabWidth, F&& glyph) {
  int x = 0;
  for (size_t i = 0; i < s.size();) {
    char32_t cp = 0;
    const int units = DecodeUtf16(s, i, &cp);
    if (cp == u'\t') {
      const int next = tabWidth > 0 ? (x / tabWidth + 1) * tabWidth : x;
      glyph(i, cp, x, font.GlyphFor(cp));
      x = next;
    } else {
      const Glyph& g = font.GlyphFor(cp);
      glyph(i, cp, x, g);
      x += g.advance;
    }
    i += static_cast<size_t>(units);
  }
  return x;
}

inline int RunWidth(FontInstance& font, std::u16string_view s, int tabWidth = 0) {
  return WalkRun(font, s, tabWidth, [](size_t, char32_t, int, const Glyph&) {});
}

// The glyphs of one line, merged into one coverage mask and blended in one pass.
class GlyphBatch {
 public:
  // g must stay alive until Flush (glyphs of a FontInstance do).
  void Add(const Glyph& g, int x, int baseline);
  // Blends everything added in color, cut to clip (logical; null: no cut), and empties the batch.
  void Flush(HDC dc, COLORREF color, const RECT* clip);

 private:
  struct Item {
    const Glyph* glyph;
    int left;
    int top;
  };
  std::vector<Item> items_;
};
// Fills r (logical) with color through the DC's clip and the optional extra clip.
void FillSolid(HDC dc, RECT r, COLORREF color, const RECT* clip);
// The font's underline and strikeout lines over [x0, x1) on the baseline, as lf asks.
void DrawTextLines(HDC dc, const FontInstance& font, const LOGFONTW& lf, int x0, int x1,
                   int baseline, COLORREF color, const RECT* clip);

}  // namespace lumoa::platform
