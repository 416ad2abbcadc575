// Text output on one line and text measurement: ExtTextOut, TextOut, GetTextMetrics,
// GetTextExtent*, GetCharWidth32, GetTextFace.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/text/font_object.h"
#include "platform/text/text_run.h"
#include "platform/winbase.h"
#include "platform/wingdi.h"

using namespace lumoa::platform;

namespace {

std::u16string_view View(LPCWSTR s, int n) {
  if (!s || n <= 0) return {};
  return std::u16string_view(s, static_cast<size_t>(n));
}

// ANSI text converted one character at a time so that per-byte widths can follow it.
struct Widened {
  std::u16string text;
  std::vector<INT> dx;
};

Widened Widen(LPCSTR s, int n, const INT* byteDx) {
  Widened w;
  for (int i = 0; s && i < n;) {
    int unit = IsDBCSLeadByte(static_cast<BYTE>(s[i])) && i + 1 < n ? 2 : 1;
    WCHAR c[2] = {};
    if (MultiByteToWideChar(CP_ACP, 0, s + i, unit, c, 2) != 1) {
      unit = 1;
      MultiByteToWideChar(CP_ACP, 0, s + i, 1, c, 2);
    }
    w.text.push_back(c[0]);
    if (byteDx) w.dx.push_back(byteDx[i] + (unit == 2 ? byteDx[i + 1] : 0));
    i += unit;
  }
  return w;
}

BYTE ReportedCharset(BYTE charset) {
  // The default character set is the system's: Simplified Chinese.
  return charset == DEFAULT_CHARSET ? GB2312_CHARSET : charset;
}

template <class TM>
bool FillMetrics(HDC hdc, TM* tm) {
  FontObject* font = DcFont(hdc);
  if (!font || !tm) return false;
  const LOGFONTW& lf = font->logfont();
  const FontMetrics& m = font->instance().metrics();
  *tm = TM{};
  tm->tmHeight = m.height();
  tm->tmAscent = m.ascent;
  tm->tmDescent = m.descent;
  tm->tmInternalLeading = m.height() - m.emPixels;
  tm->tmExternalLeading = m.externalLeading;
  tm->tmAveCharWidth = m.aveCharWidth;
  tm->tmMaxCharWidth = m.maxCharWidth;
  tm->tmWeight = m.weight;
  tm->tmDigitizedAspectX = 96;
  tm->tmDigitizedAspectY = 96;
  tm->tmItalic = lf.lfItalic ? 255 : 0;
  tm->tmUnderlined = lf.lfUnderline ? 255 : 0;
  tm->tmStruckOut = lf.lfStrikeOut ? 255 : 0;
  // TMPF_FIXED_PITCH (1) is set for variable-pitch fonts; scalable outline (vector, TrueType).
  tm->tmPitchAndFamily =
      static_cast<BYTE>((m.fixedPitch ? 0 : 0x01) | 0x02 | 0x04 | (lf.lfPitchAndFamily & 0xF0));
  tm->tmCharSet = ReportedCharset(lf.lfCharSet);
  return true;
}

}  // namespace

BOOL GetTextMetricsW(HDC hdc, LPTEXTMETRICW lptm) {
  if (!FillMetrics(hdc, lptm)) return FALSE;
  lptm->tmFirstChar = 0x20;
  lptm->tmLastChar = 0xFFFC;
  lptm->tmDefaultChar = 0x1F;
  lptm->tmBreakChar = 0x20;
  return TRUE;
}

BOOL GetTextMetricsA(HDC hdc, LPTEXTMETRICA lptm) {
  if (!FillMetrics(hdc, lptm)) return FALSE;
  lptm->tmFirstChar = 0x20;
  lptm->tmLastChar = 0xFF;
  lptm->tmDefaultChar = 0x1F;
  lptm->tmBreakChar = 0x20;
  return TRUE;
}

BOOL GetTextExtentPoint32W(HDC hdc, LPCWSTR lpString, int c, LPSIZE psizl) {
  FontObject* font = DcFont(hdc);
  if (!font || !psizl || c < 0 || (c > 0 && !lpString)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  FontInstance& inst = font->instance();
  psizl->cx = RunWidth(inst, View(lpString, c));
  psizl->cy = inst.metrics().height();
  return TRUE;
}

BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR lpString, int c, LPSIZE psizl) {
  if (c < 0 || (c > 0 && !lpString)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const Widened w = Widen(lpString, c, nullptr);
  return GetTextExtentPoint32W(hdc, w.text.data(), static_cast<int>(w.text.size()), psizl);
}

BOOL GetTextExtentExPointW(HDC hdc, LPCWSTR lpszString, int cchString, int nMaxExtent,
                           INT* lpnFit, INT* lpnDx, LPSIZE lpSize) {
  FontObject* font = DcFont(hdc);
  if (!font || !lpSize || cchString < 0 || (cchString > 0 && !lpszString)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  FontInstance& inst = font->instance();
  const std::u16string_view s = View(lpszString, cchString);
  int fit = 0;
  const int width = WalkRun(inst, s, 0, [&](size_t i, char32_t cp, int x, const Glyph& g) {
    const int end = x + g.advance;
    const size_t units = cp >= 0x10000 ? 2 : 1;
    for (size_t k = 0; k < units; ++k) {
      if (lpnDx) lpnDx[i + k] = end;
      if (end <= nMaxExtent && static_cast<int>(i + k) == fit) ++fit;
    }
  });
  if (lpnFit) *lpnFit = fit;
  lpSize->cx = width;
  lpSize->cy = inst.metrics().height();
  return TRUE;
}

BOOL GetCharWidth32W(HDC hdc, UINT iFirst, UINT iLast, INT* lpBuffer) {
  FontObject* font = DcFont(hdc);
  if (!font || !lpBuffer || iLast < iFirst || iLast > 0x10FFFF) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  FontInstance& inst = font->instance();
  for (UINT c = iFirst; c <= iLast; ++c) lpBuffer[c - iFirst] = inst.Advance(c);
  return TRUE;
}

int GetTextFaceW(HDC hdc, int c, LPWSTR lpName) {
  FontObject* font = DcFont(hdc);
  if (!font) return 0;
  const std::u16string& face = font->instance().faceName();
  if (!lpName) return static_cast<int>(face.size()) + 1;
  if (c <= 0) return 0;
  const size_t n = std::min(face.size(), static_cast<size_t>(c - 1));
  face.copy(lpName, n);
  lpName[n] = 0;
  return static_cast<int>(n);
}

BOOL ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT* lprect, LPCWSTR lpString,
                 UINT c, const INT* lpDx) {
  FontObject* font = DcFont(hdc);
  if (!font || (c > 0 && !lpString) || c > 0x7FFFFFFF) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  FontInstance& inst = font->instance();
  const FontMetrics& m = inst.metrics();
  const std::u16string_view s = View(lpString, static_cast<int>(c));
  const UINT align = GetTextAlign(hdc);
  const bool updateCp = align != GDI_ERROR && (align & TA_UPDATECP);
  if (updateCp) {
    POINT cp{};
    GetCurrentPositionEx(hdc, &cp);
    x = cp.x;
    y = cp.y;
  }
  // Pen positions: the font's advances, or the caller's per-unit distances.
  std::vector<int> pens;
  pens.reserve(s.size() + 1);
  int width = WalkRun(inst, s, 0, [&](size_t, char32_t cp, int px, const Glyph&) {
    pens.push_back(px);
    if (cp >= 0x10000) pens.push_back(px);
  });
  if (lpDx) {
    int px = 0;
    for (size_t i = 0; i < s.size(); ++i) {
      pens[i] = px;
      px += lpDx[i];
    }
    width = px;
  }
  if (align != GDI_ERROR) {
    if ((align & TA_CENTER) == TA_CENTER) {
      x -= width / 2;
    } else if (align & TA_RIGHT) {
      x -= width;
    }
  }
  int baseline = y + m.ascent;
  if (align != GDI_ERROR && (align & TA_BASELINE) == TA_BASELINE) {
    baseline = y;
  } else if (align != GDI_ERROR && (align & TA_BOTTOM)) {
    baseline = y - m.descent;
  }
  const RECT* clip = lprect && (options & ETO_CLIPPED) ? lprect : nullptr;
  const COLORREF bk = GetBkColor(hdc);
  if (lprect && (options & ETO_OPAQUE)) FillSolid(hdc, *lprect, bk, nullptr);
  if (GetBkMode(hdc) == OPAQUE) {
    FillSolid(hdc, RECT{x, baseline - m.ascent, x + width, baseline + m.descent}, bk, clip);
  }
  const COLORREF color = GetTextColor(hdc);
  GlyphBatch batch;
  for (size_t i = 0; i < s.size();) {
    char32_t cp = 0;
    const int units = DecodeUtf16(s, i, &cp);
    batch.Add(inst.GlyphFor(cp), x + pens[i], baseline);
    i += static_cast<size_t>(units);
  }
  batch.Flush(hdc, color, clip);
  DrawTextLines(hdc, inst, font->logfont(), x, x + width, baseline, color, clip);
  if (updateCp && !(align & TA_RIGHT)) MoveToEx(hdc, x + width, y, nullptr);
  return TRUE;
}

BOOL ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* lprect, LPCSTR lpString,
                 UINT c, const INT* lpDx) {
  if ((c > 0 && !lpString) || c > 0x7FFFFFFF) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const Widened w = Widen(lpString, static_cast<int>(c), lpDx);
  return ExtTextOutW(hdc, x, y, options, lprect, w.text.data(), static_cast<UINT>(w.text.size()),
                     lpDx ? w.dx.data() : nullptr);
}

BOOL TextOutW(HDC hdc, int x, int y, LPCWSTR lpString, int c) {
  if (c < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return ExtTextOutW(hdc, x, y, 0, nullptr, lpString, static_cast<UINT>(c), nullptr);
}

BOOL TextOutA(HDC hdc, int x, int y, LPCSTR lpString, int c) {
  if (c < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return ExtTextOutA(hdc, x, y, 0, nullptr, lpString, static_cast<UINT>(c), nullptr);
}
