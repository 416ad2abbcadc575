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

void GlyphBatch::Add(const Glyph& g, int x, int baseline) {
  if (g.width <= 0 || g.height <= 0) return;
  items_.push_back(Item{&g, x + g.left, baseline - g.top});
}

void GlyphBatch::Flush(HDC dc, COLORREF color, const RECT* clip) {
  if (items_.empty()) return;
  RECT area{items_[0].left, items_[0].top, items_[0].left, items_[0].top};
  for (const Item& it : items_) {
    area.left = std::min<LONG>(area.left, it.left);
    area.top = std::min<LONG>(area.top, it.top);
    area.right = std::max<LONG>(area.right, it.left + it.glyph->width);
    area.bottom = std::max<LONG>(area.bottom, it.top + it.glyph->height);
  }
  if (clip) {
    area.left = std::max(area.left, clip->left);
    area.top = std::max(area.top, clip->top);
    area.right = std::min(area.right, clip->right);
    area.bottom = std::min(area.bottom, clip->bottom);
  }
  if (area.left >= area.right || area.top >= area.bottom) {
    items_.clear();
    return;
  }
  const int w = area.right - area.left;
  const int h = area.bottom - area.top;
  static std::vector<BYTE> mask;  // reused: nothing allocated per line once it is large enough
  mask.assign(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
  for (const Item& it : items_) {
    const Glyph& g = *it.glyph;
    // Clip the glyph to the mask, then add its rows (saturating where glyphs overlap).
    const int x0 = std::max<int>(it.left, area.left);
    const int y0 = std::max<int>(it.top, area.top);
    const int x1 = std::min<int>(it.left + g.width, area.right);
    const int y1 = std::min<int>(it.top + g.height, area.bottom);
    for (int y = y0; y < y1; ++y) {
      const BYTE* src = g.coverage.data() + (y - it.top) * g.width + (x0 - it.left);
      BYTE* dst = mask.data() + (y - area.top) * w + (x0 - area.left);
      for (int x = 0; x < x1 - x0; ++x) {
        const int sum = dst[x] + src[x];
        dst[x] = static_cast<BYTE>(sum > 255 ? 255 : sum);
      }
    }
  }
  DcBlendCoverage(dc, area.left, area.top, mask.data(), w, h, w, color);
  items_.clear();
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
