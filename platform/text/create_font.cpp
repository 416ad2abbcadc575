// CreateFont family: logical fonts from LOGFONTW/LOGFONTA or loose parameters.
#include <cstring>

#include "platform/text/font_object.h"
#include "platform/winbase.h"

using lumoa::platform::NewFont;

namespace {

// The ANSI face name in the system code page, cut at LF_FACESIZE - 1 characters.
void WidenFaceName(const CHAR* face, WCHAR* out) {
  out[0] = 0;
  if (!face || !face[0]) return;
  char bounded[LF_FACESIZE] = {};
  for (int i = 0; i < LF_FACESIZE - 1 && face[i]; ++i) bounded[i] = face[i];
  const int n = MultiByteToWideChar(CP_ACP, 0, bounded, -1, out, LF_FACESIZE);
  if (n <= 0) out[0] = 0;
  out[LF_FACESIZE - 1] = 0;
}

}  // namespace

HFONT CreateFontIndirectW(const LOGFONTW* lplf) {
  if (!lplf) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return NewFont(*lplf);
}

HFONT CreateFontIndirectA(const LOGFONTA* lplf) {
  if (!lplf) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  LOGFONTW lf{};
  std::memcpy(&lf, lplf, offsetof(LOGFONTA, lfFaceName));
  WidenFaceName(lplf->lfFaceName, lf.lfFaceName);
  return NewFont(lf);
}

HFONT CreateFontW(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight,
                  DWORD bItalic, DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet,
                  DWORD iOutPrecision, DWORD iClipPrecision, DWORD iQuality,
                  DWORD iPitchAndFamily, LPCWSTR pszFaceName) {
  LOGFONTW lf{};
  lf.lfHeight = cHeight;
  lf.lfWidth = cWidth;
  lf.lfEscapement = cEscapement;
  lf.lfOrientation = cOrientation;
  lf.lfWeight = cWeight;
  lf.lfItalic = static_cast<BYTE>(bItalic != 0);
  lf.lfUnderline = static_cast<BYTE>(bUnderline != 0);
  lf.lfStrikeOut = static_cast<BYTE>(bStrikeOut != 0);
  lf.lfCharSet = static_cast<BYTE>(iCharSet);
  lf.lfOutPrecision = static_cast<BYTE>(iOutPrecision);
  lf.lfClipPrecision = static_cast<BYTE>(iClipPrecision);
  lf.lfQuality = static_cast<BYTE>(iQuality);
  lf.lfPitchAndFamily = static_cast<BYTE>(iPitchAndFamily);
  for (int i = 0; pszFaceName && i < LF_FACESIZE - 1 && pszFaceName[i]; ++i) {
    lf.lfFaceName[i] = pszFaceName[i];
  }
  return NewFont(lf);
}

HFONT CreateFontA(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight,
                  DWORD bItalic, DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet,
                  DWORD iOutPrecision, DWORD iClipPrecision, DWORD iQuality,
                  DWORD iPitchAndFamily, LPCSTR pszFaceName) {
  WCHAR face[LF_FACESIZE];
  WidenFaceName(pszFaceName, face);
  return CreateFontW(cHeight, cWidth, cEscapement, cOrientation, cWeight, bItalic, bUnderline,
                     bStrikeOut, iCharSet, iOutPrecision, iClipPrecision, iQuality,
                     iPitchAndFamily, face);
}
