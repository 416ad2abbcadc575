#include "platform/text/text_run.h"

#include <algorithm>
#include <vector>

#include "platform/gdi/surface_dc.h"
#include "platform/text/font_object.h"
#include "platform/text/stock_font.h"
#include "platform/wingdi.h"

namespace lumoa::platform {

FontObject* DcFont(HDC dc) {
  const GdiObject* object = LookupGdiObject(dc);
  if (!object || (object->type() != OBJ_DC && object->type() != OBJ_MEMDC)) return nullptr;
  if (FontObject* font = LookupFont(GetCurrentObject(dc, OBJ_FONT))) return font;
  return LookupFont(StockFont(SYSTEM_FONT));
}

int DecodeUtf16(std::u16string_view s, size_t i, char32_t* cp) {
  const char16_t c = s[i];
  if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
    *cp = 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (s[i + 1] - 0xDC00);
    return 2;
  }
  *cp = c >= 0xD800 && c <= 0xDFFF ? 0xFFFD : c;
  return 1;
}

void DrawGlyph(HDC dc, const Glyph& g, int x, int baseline, COLORREF color, const RECT* clip) {
  if (g.width <= 0 || g.height <= 0) return;
  int left = x + g.left;
  int top = baseline - g.top;
  int right = left + g.width;
  int bottom = top + g.height;
  if (clip) {
    left = std::max(left, static_cast<int>(clip->left));
    top = std::max(top, static_cast<int>(clip->top));
    right = std::min(right, static_cast<int>(clip->right));
    bottom = std::min(bottom, static_cast<int>(clip->bottom));
    if (left >= right || top >= bottom) return;
  }
  const int sx = left - (x + g.left);
  const int sy = top - (baseline - g.top);
  DcBlendCoverage(dc, left, top, g.coverage.data() + sy * g.width + sx, right - left,
                  bottom - top, g.width, color);
}

void FillSolid(HDC dc, RECT r, COLORREF color, const RECT* clip) {
  if (clip) {
    r.left = std::max(r.left, clip->left);
    r.top = std::max(r.top, clip->top);
    r.right = std::min(r.right, clip->right);
    r.bottom = std::min(r.bottom, clip->bottom);
  }
  if (r.left >= r.right || r.top >= r.bottom) return;
  // One opaque row repeated (pitch 0) covers the whole rectangle.
  static std::vector<BYTE> row;
  const auto width = static_cast<size_t>(r.right - r.left);
  if (row.size() < width) row.assign(width, 255);
  DcBlendCoverage(dc, r.left, r.top, row.data(), r.right - r.left, r.bottom - r.top, 0, color);
}

void DrawTextLines(HDC dc, const FontInstance& font, const LOGFONTW& lf, int x0, int x1,
                   int baseline, COLORREF color, const RECT* clip) {
  if (x1 <= x0) return;
  const FontMetrics& m = font.metrics();
  if (lf.lfUnderline) {
    const int top = baseline + m.underlineOffset;
    FillSolid(dc, RECT{x0, top, x1, top + m.underlineThickness}, color, clip);
  }
  if (lf.lfStrikeOut) {
    const int top = baseline - m.strikeoutOffset;
    FillSolid(dc, RECT{x0, top, x1, top + m.strikeoutThickness}, color, clip);
  }
}

}  // namespace lumoa::platform
