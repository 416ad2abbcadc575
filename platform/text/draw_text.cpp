// DrawText: formatted text in a rectangle (alignment, line and word breaks, tabs, "&"
// prefixes, ellipses, DT_CALCRECT).
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text/font_object.h"
#include "platform/text/text_run.h"
#include "platform/winbase.h"
#include "platform/wingdi.h"

using namespace lumoa::platform;

namespace {

constexpr std::u16string_view kEllipsis = u"...";
constexpr UINT kAnyEllipsis = DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS;

struct Line {
  std::u16string text;
  size_t start = 0;  // index of text[0] in the displayed string
  size_t kept = 0;   // leading units of text taken from the displayed string (before "...")
  int width = 0;
};

struct Layout {
  FontInstance* font = nullptr;
  int tabWidth = 0;  // 0: tabs take no room
};

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t'; }

// Ideographs, kana, hangul and full-width forms may be broken before and after.
bool IsWide(char16_t c) {
  return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) ||
         (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF00 && c <= 0xFFEF);
}

bool BreakBefore(std::u16string_view s, size_t i) {
  if (i == 0 || i >= s.size()) return false;
  if (IsSpace(s[i])) return false;
  return IsSpace(s[i - 1]) || IsWide(s[i - 1]) || IsWide(s[i]);
}

int Width(const Layout& l, std::u16string_view s) { return RunWidth(*l.font, s, l.tabWidth); }

// Removes "&" prefixes; marks receives the indexes (in the result) of the underlined characters.
std::u16string StripPrefixes(std::u16string_view s, std::vector<size_t>* marks) {
  std::u16string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != u'&') {
      out.push_back(s[i]);
      continue;
    }
    if (i + 1 >= s.size()) break;  // a lone trailing "&" shows nothing
    ++i;
    if (s[i] != u'&' && s[i] != u'\r' && s[i] != u'\n') marks->push_back(out.size());
    out.push_back(s[i]);
  }
  return out;
}

void AddLine(std::vector<Line>& lines, const Layout& l, std::u16string_view all, size_t from,
             size_t to) {
  while (to > from && all[to - 1] == u' ') --to;  // trailing blanks of a broken line hang
  Line line;
  line.text = std::u16string(all.substr(from, to - from));
  line.start = from;
  line.kept = line.text.size();
  line.width = Width(l, line.text);
  lines.push_back(std::move(line));
}

// Breaks the paragraph all[from, to) into lines no wider than maxWidth where it can.
void WrapParagraph(std::vector<Line>& lines, const Layout& l, std::u16string_view all,
                   size_t from, size_t to, int maxWidth, bool breakWords) {
  const std::u16string_view para = all.substr(0, to);
  size_t pos = from;
  while (true) {
    int x = 0;
    size_t lastBreak = 0;
    size_t i = pos;
    bool overflow = false;
    while (i < to) {
      if (BreakBefore(para, i) && i > pos) lastBreak = i;
      char32_t cp = 0;
      const int units = DecodeUtf16(para, i, &cp);
      int next = x;
      if (cp == u'\t') {
        next = l.tabWidth > 0 ? (x / l.tabWidth + 1) * l.tabWidth : x;
      } else {
        next = x + l.font->Advance(cp);
      }
      if (next > maxWidth && !IsSpace(para[i]) && i > pos) {
        overflow = true;
        break;
      }
      x = next;
      i += static_cast<size_t>(units);
    }
    if (!overflow) {
      AddLine(lines, l, all, pos, to);
      return;
    }
    size_t end = lastBreak;
    if (end <= pos) {
      // One word wider than the line: cut it where it overflows when asked to, else keep it
      // whole up to the next break.
      if (breakWords) {
        end = i;
      } else {
        end = i;
        while (end < to && !BreakBefore(para, end)) ++end;
        if (end >= to) {
          AddLine(lines, l, all, pos, to);
          return;
        }
      }
    }
    AddLine(lines, l, all, pos, end);
    pos = end;
    while (pos < to && para[pos] == u' ') ++pos;
    if (pos >= to) return;
  }
}

// The longest head of s that fits in maxWidth together with tail.
size_t FittingHead(const Layout& l, std::u16string_view s, std::u16string_view tail, int maxWidth) {
  size_t n = s.size();
  const int tailWidth = Width(l, tail);
  while (n > 0 && Width(l, s.substr(0, n)) + tailWidth > maxWidth) {
    --n;
    if (n > 0 && s[n] >= 0xDC00 && s[n] <= 0xDFFF) --n;  // keep surrogate pairs whole
  }
  return n;
}

void Ellipsize(Line& line, const Layout& l, int maxWidth, UINT format) {
  if (line.width <= maxWidth) return;
  const std::u16string original = line.text;
  const size_t sep = format & DT_PATH_ELLIPSIS ? original.find_last_of(u"\\/") : std::u16string::npos;
  if (sep != std::u16string::npos && sep > 0) {
    // Keep the last path component whole and shorten what comes before it.
    const std::u16string tail = std::u16string(kEllipsis) + original.substr(sep);
    const size_t head = FittingHead(l, std::u16string_view(original).substr(0, sep), tail, maxWidth);
    if (head > 0 || Width(l, tail) <= maxWidth) {
      line.text = original.substr(0, head) + tail;
      line.kept = head;
      line.width = Width(l, line.text);
      return;
    }
  }
  const size_t head = FittingHead(l, original, kEllipsis, maxWidth);
  line.text = original.substr(0, head) + std::u16string(kEllipsis);
  line.kept = head;
  line.width = Width(l, line.text);
}

// Writes the displayed text back into the caller's buffer of capacity units, never past it.
void ModifyString(WCHAR* buffer, int capacity, std::u16string_view shown) {
  if (!buffer || capacity <= 0) return;
  const size_t n = std::min(shown.size(), static_cast<size_t>(capacity));
  shown.copy(buffer, n);
  if (n < static_cast<size_t>(capacity)) buffer[n] = 0;
}

// `shownText`, when given, receives the displayed text of a one-line ellipsized result.
int DrawTextCore(HDC hdc, LPCWSTR text, int count, LPRECT rc, UINT format,
                 const DRAWTEXTPARAMS* params, UINT* lengthDrawn, std::u16string* shownText) {
  FontObject* font = DcFont(hdc);
  if (!font || !rc || (count != 0 && !text) || count < -1) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const int length = count == -1 ? lstrlenW(text) : count;
  const std::u16string_view source(text ? text : u"", static_cast<size_t>(length));
  if (lengthDrawn) *lengthDrawn = static_cast<UINT>(length);
  FontInstance& inst = font->instance();
  const FontMetrics& m = inst.metrics();
  const int lineHeight = m.height() + (format & DT_EXTERNALLEADING ? m.externalLeading : 0);
  const bool single = format & DT_SINGLELINE;
  if (source.empty()) {
    if (format & DT_CALCRECT) {
      rc->right = rc->left;
      rc->bottom = single ? rc->top + lineHeight : rc->top;
    }
    return lineHeight;
  }

  Layout layout;
  layout.font = &inst;
  if (format & DT_EXPANDTABS) {
    const int stop = params && params->iTabLength > 0 ? params->iTabLength : 8;
    layout.tabWidth = std::max(stop * m.aveCharWidth, 1);
  }
  const int leftMargin = params ? params->iLeftMargin : 0;
  const int rightMargin = params ? params->iRightMargin : 0;
  const int left = rc->left + leftMargin;
  const int right = rc->right - rightMargin;
  const int available = std::max(right - left, 0);

  std::vector<size_t> marks;
  const std::u16string shown =
      format & DT_NOPREFIX ? std::u16string(source) : StripPrefixes(source, &marks);

  std::vector<Line> lines;
  const std::u16string_view all(shown);
  for (size_t pos = 0; pos <= all.size();) {
    size_t end = single ? all.size() : all.find_first_of(u"\r\n", pos);
    if (end == std::u16string_view::npos) end = all.size();
    if (format & DT_WORDBREAK && !single) {
      WrapParagraph(lines, layout, all, pos, end, available, format & DT_EDITCONTROL);
    } else {
      Line line;
      line.text = std::u16string(all.substr(pos, end - pos));
      line.start = pos;
      line.kept = line.text.size();
      line.width = Width(layout, line.text);
      lines.push_back(std::move(line));
    }
    if (end >= all.size()) break;
    pos = end + (all[end] == u'\r' && end + 1 < all.size() && all[end + 1] == u'\n' ? 2 : 1);
    if (pos >= all.size()) break;  // a final line break opens no new line
  }

  if (format & kAnyEllipsis) {
    const bool truncated = lines.size() == 1 && lines[0].width > available;
    for (Line& line : lines) Ellipsize(line, layout, available, format);
    if (shownText && truncated) *shownText = lines[0].text;
  }

  int widest = 0;
  for (const Line& line : lines) widest = std::max(widest, line.width);
  const int total = lineHeight * static_cast<int>(lines.size());

  if (format & DT_CALCRECT) {
    rc->right = rc->left + widest + leftMargin + rightMargin;
    rc->bottom = rc->top + total;
    return total;
  }

  int y = rc->top;
  if (single && (format & DT_VCENTER)) {
    y = rc->top + (rc->bottom - rc->top - lineHeight) / 2;
  } else if (single && (format & DT_BOTTOM)) {
    y = rc->bottom - lineHeight;
  }
  const int result = single && (format & (DT_VCENTER | DT_BOTTOM)) ? y - rc->top + total : total;

  const RECT clipRect = *rc;
  const RECT* clip = format & DT_NOCLIP ? nullptr : &clipRect;
  const bool opaque = GetBkMode(hdc) == OPAQUE;
  const COLORREF color = GetTextColor(hdc);
  const COLORREF bk = GetBkColor(hdc);
  const LOGFONTW& lf = font->logfont();
  GlyphBatch batch;
  for (size_t n = 0; n < lines.size(); ++n, y += lineHeight) {
    const Line& line = lines[n];
    // An edit control shows no partly visible last line.
    if ((format & DT_EDITCONTROL) && n > 0 && y + lineHeight > rc->bottom) break;
    int x = left;
    if (format & DT_CENTER) {
      x = left + (available - line.width) / 2;
    } else if (format & DT_RIGHT) {
      x = right - line.width;
    }
    const int baseline = y + m.ascent;
    if (opaque && !(format & DT_PREFIXONLY)) {
      FillSolid(hdc, RECT{x, y, x + line.width, y + lineHeight}, bk, clip);
    }
    WalkRun(inst, line.text, layout.tabWidth, [&](size_t i, char32_t cp, int px, const Glyph& g) {
      if (cp != u'\t' && !(format & DT_PREFIXONLY)) batch.Add(g, x + px, baseline);
      if (format & (DT_HIDEPREFIX | DT_NOPREFIX) || i >= line.kept) return;
      if (!std::binary_search(marks.begin(), marks.end(), line.start + i)) return;
      const int top = baseline + m.underlineOffset;
      FillSolid(hdc, RECT{x + px, top, x + px + g.advance, top + m.underlineThickness}, color, clip);
    });
    batch.Flush(hdc, color, clip);
    if (!(format & DT_PREFIXONLY)) {
      DrawTextLines(hdc, inst, lf, x, x + line.width, baseline, color, clip);
    }
  }
  return result;
}

int DrawTextWide(HDC hdc, LPCWSTR text, int count, LPRECT rc, UINT format, LPDRAWTEXTPARAMS params) {
  std::u16string shown;
  const bool modify = (format & DT_MODIFYSTRING) && (format & kAnyEllipsis) && text && count != 0;
  const int result = DrawTextCore(hdc, text, count, rc, format, params,
                                  params ? &params->uiLengthDrawn : nullptr,
                                  modify ? &shown : nullptr);
  if (modify && !shown.empty()) {
    // The buffer holds `count` units, plus its terminator when null-terminated.
    const int length = count == -1 ? lstrlenW(text) + 1 : count;
    ModifyString(const_cast<WCHAR*>(text), length, shown);
  }
  return result;
}

}  // namespace

int DrawTextExW(HDC hdc, LPWSTR lpchText, int cchText, LPRECT lprc, UINT format,
                LPDRAWTEXTPARAMS lpdtp) {
  if (lpdtp && lpdtp->cbSize != sizeof(DRAWTEXTPARAMS)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return DrawTextWide(hdc, lpchText, cchText, lprc, format, lpdtp);
}

int DrawTextW(HDC hdc, LPCWSTR lpchText, int cchText, LPRECT lprc, UINT format) {
  return DrawTextWide(hdc, lpchText, cchText, lprc, format, nullptr);
}

int DrawTextA(HDC hdc, LPCSTR lpchText, int cchText, LPRECT lprc, UINT format) {
  if (!lpchText || cchText < -1) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const int bytes = cchText == -1 ? lstrlenA(lpchText) : cchText;
  std::u16string wide;
  if (bytes > 0) {
    const int n = MultiByteToWideChar(CP_ACP, 0, lpchText, bytes, nullptr, 0);
    wide.resize(static_cast<size_t>(std::max(n, 0)));
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, lpchText, bytes, wide.data(), n);
  }
  std::u16string shown;
  const bool modify = (format & DT_MODIFYSTRING) && (format & kAnyEllipsis) && bytes > 0;
  const int result = DrawTextCore(hdc, wide.c_str(), static_cast<int>(wide.size()), lprc, format,
                                  nullptr, nullptr, modify ? &shown : nullptr);
  if (modify && !shown.empty()) {
    wide = shown;
    // Back to the caller's bytes, within the buffer it gave (its terminator included when
    // it was null-terminated).
    const int capacity = cchText == -1 ? bytes + 1 : bytes;
    std::string narrow(wide.size() * 2 + 1, '\0');
    const int n = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()),
                                      narrow.data(), static_cast<int>(narrow.size()), nullptr, nullptr);
    narrow.resize(static_cast<size_t>(std::max(n, 0)));
    auto* out = const_cast<char*>(lpchText);
    size_t keep = 0;
    while (keep < narrow.size()) {
      const size_t step = IsDBCSLeadByte(static_cast<BYTE>(narrow[keep])) ? 2 : 1;
      if (keep + step > static_cast<size_t>(capacity)) break;
      keep += step;
    }
    narrow.copy(out, keep);
    if (keep < static_cast<size_t>(capacity)) out[keep] = 0;
  }
  return result;
}
