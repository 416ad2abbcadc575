// Code page conversions. GBK (936) comes from tables generated at build time from the C
// library's converter; UTF-8 and 1252 are computed. Invalid input is replaced or refused, never
// read past its end.
#include <cstring>

#include "platform/kernel/gbk_tables.h"
#include "platform/winbase.h"

namespace {

constexpr UINT kGbk = 936;
constexpr UINT kWindows1252 = 1252;
constexpr char16_t kReplacement = 0xFFFD;

// 0x80..0x9F of code page 1252; the five undefined bytes map to the C1 control of that value.
constexpr char16_t k1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

UINT Resolve(UINT codePage) {
  if (codePage == CP_ACP || codePage == CP_OEMCP || codePage == CP_THREAD_ACP) return kGbk;
  return codePage;
}

bool Supported(UINT cp) { return cp == kGbk || cp == CP_UTF8 || cp == kWindows1252; }

bool IsGbkLead(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

// Collects output units, enforcing the caller's buffer size (0: count only).
template <class T>
class Sink {
 public:
  Sink(T* buffer, int size) : buffer_(size > 0 ? buffer : nullptr), size_(size) {}
  bool Put(T unit) {
    if (buffer_) {
      if (count_ >= size_) return false;
      buffer_[count_] = unit;
    }
    ++count_;
    return true;
  }
  int count() const { return count_; }

 private:
  T* buffer_;
  int size_;
  int count_ = 0;
};

// Decodes one UTF-8 character at s (n bytes available); returns the bytes used (at least 1) and
// the code point, or kReplacement for an ill-formed maximal subpart.
int DecodeUtf8(const unsigned char* s, int n, char32_t* cp, bool* valid) {
  *valid = false;
  *cp = kReplacement;
  const unsigned char b = s[0];
  if (b < 0x80) {
    *cp = b;
    *valid = true;
    return 1;
  }
  int len = 0;
  char32_t c = 0;
  unsigned char lo = 0x80, hi = 0xBF;
  if (b >= 0xC2 && b <= 0xDF) {
    len = 2, c = b & 0x1F;
  } else if (b >= 0xE0 && b <= 0xEF) {
    len = 3, c = b & 0x0F;
    if (b == 0xE0) lo = 0xA0;
    if (b == 0xED) hi = 0x9F;  // no surrogates
  } else if (b >= 0xF0 && b <= 0xF4) {
    len = 4, c = b & 0x07;
    if (b == 0xF0) lo = 0x90;
    if (b == 0xF4) hi = 0x8F;
  } else {
    return 1;
  }
  for (int i = 1; i < len; ++i) {
    if (i >= n) return i;
    const unsigned char t = s[i];
    if (t < lo || t > hi) return i;
    lo = 0x80, hi = 0xBF;
    c = c << 6 | (t & 0x3F);
  }
  *cp = c;
  *valid = true;
  return len;
}

}  // namespace

UINT GetACP() { return kGbk; }
UINT GetOEMCP() { return kGbk; }
BOOL IsValidCodePage(UINT CodePage) { return Supported(CodePage); }
BOOL IsDBCSLeadByte(BYTE TestChar) { return IsGbkLead(TestChar); }
BOOL IsDBCSLeadByteEx(UINT CodePage, BYTE TestChar) {
  return Resolve(CodePage) == kGbk && IsGbkLead(TestChar);
}

int MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte,
                        LPWSTR lpWideCharStr, int cchWideChar) {
  const UINT cp = Resolve(CodePage);
  if (!lpMultiByteStr || cbMultiByte == 0 || cbMultiByte < -1 || cchWideChar < 0 ||
      (cchWideChar > 0 && !lpWideCharStr) ||
      (cchWideChar > 0 && static_cast<const void*>(lpMultiByteStr) == lpWideCharStr)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (!Supported(cp)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (dwFlags & ~DWORD{MB_PRECOMPOSED | MB_COMPOSITE | MB_USEGLYPHCHARS | MB_ERR_INVALID_CHARS} ||
      (cp == CP_UTF8 && (dwFlags & ~DWORD{MB_ERR_INVALID_CHARS}))) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  const bool strict = dwFlags & MB_ERR_INVALID_CHARS;
  const auto* s = reinterpret_cast<const unsigned char*>(lpMultiByteStr);
  const int n = cbMultiByte == -1 ? static_cast<int>(std::strlen(lpMultiByteStr)) + 1 : cbMultiByte;
  Sink<WCHAR> out(lpWideCharStr, cchWideChar);
  auto fail = [](DWORD error) {
    SetLastError(error);
    return 0;
  };
  for (int i = 0; i < n;) {
    if (cp == CP_UTF8) {
      char32_t c = 0;
      bool valid = false;
      i += DecodeUtf8(s + i, n - i, &c, &valid);
      if (!valid && strict) return fail(ERROR_NO_UNICODE_TRANSLATION);
      bool ok = true;
      if (c >= 0x10000) {
        ok = out.Put(static_cast<WCHAR>(0xD800 + ((c - 0x10000) >> 10))) &&
             out.Put(static_cast<WCHAR>(0xDC00 + ((c - 0x10000) & 0x3FF)));
      } else {
        ok = out.Put(static_cast<WCHAR>(c));
      }
      if (!ok) return fail(ERROR_INSUFFICIENT_BUFFER);
      continue;
    }
    const unsigned char b = s[i];
    char16_t w = b;
    int used = 1;
    bool valid = true;
    if (cp == kWindows1252) {
      if (b >= 0x80 && b <= 0x9F) w = k1252High[b - 0x80];
    } else if (b == 0x80) {
      w = 0x20AC;
    } else if (b == 0xFF) {
      w = 0xF8F5;
    } else if (IsGbkLead(b)) {
      const unsigned trail = i + 1 < n ? s[i + 1] : 0;
      const char16_t m = trail >= 0x40 && trail <= 0xFE && trail != 0x7F
                             ? lumoa::platform::gbk::kToWide[b - 0x81][trail - 0x40]
                             : char16_t{0};
      // A lead byte without a valid trail stands alone; the next byte is read afresh.
      if (m) {
        w = m;
        used = 2;
      } else {
        valid = false;
        w = u'?';
      }
    }
    if (!valid && strict) return fail(ERROR_NO_UNICODE_TRANSLATION);
    if (!out.Put(w)) return fail(ERROR_INSUFFICIENT_BUFFER);
    i += used;
  }
  return out.count();
}

int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar,
                        LPSTR lpMultiByteStr, int cbMultiByte, LPCSTR lpDefaultChar,
                        BOOL* lpUsedDefaultChar) {
  const UINT cp = Resolve(CodePage);
  if (!lpWideCharStr || cchWideChar == 0 || cchWideChar < -1 || cbMultiByte < 0 ||
      (cbMultiByte > 0 && !lpMultiByteStr) ||
      (cbMultiByte > 0 && static_cast<const void*>(lpWideCharStr) == lpMultiByteStr) ||
      !Supported(cp) || (cp == CP_UTF8 && (lpDefaultChar || lpUsedDefaultChar))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (cp == CP_UTF8 ? (dwFlags & ~DWORD{WC_ERR_INVALID_CHARS}) != 0
                    : (dwFlags & ~DWORD{WC_COMPOSITECHECK | WC_DISCARDNS | WC_SEPCHARS |
                                         WC_DEFAULTCHAR | WC_NO_BEST_FIT_CHARS}) != 0) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  int n = cchWideChar;
  if (n == -1) {
    n = 0;
    while (lpWideCharStr[n]) ++n;
    ++n;
  }
  if (lpUsedDefaultChar) *lpUsedDefaultChar = FALSE;
  // The replacement for unmappable characters: the caller's (one character, possibly double
  // byte) or '?'.
  unsigned char def[2] = {'?', 0};
  int defLen = 1;
  if (lpDefaultChar && lpDefaultChar[0]) {
    def[0] = static_cast<unsigned char>(lpDefaultChar[0]);
    if (cp == kGbk && IsGbkLead(def[0]) && lpDefaultChar[1]) {
      def[1] = static_cast<unsigned char>(lpDefaultChar[1]);
      defLen = 2;
    }
  }
  Sink<char> out(lpMultiByteStr, cbMultiByte);
  auto put = [&](const unsigned char* bytes, int len) {
    for (int k = 0; k < len; ++k) {
      if (!out.Put(static_cast<char>(bytes[k]))) return false;
    }
    return true;
  };
  for (int i = 0; i < n;) {
    char32_t c = lpWideCharStr[i++];
    bool lone = false;
    if (c >= 0xD800 && c <= 0xDBFF && i < n && lpWideCharStr[i] >= 0xDC00 && lpWideCharStr[i] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (lpWideCharStr[i++] - 0xDC00);
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      lone = true;
    }
    unsigned char bytes[4];
    int len = 0;
    if (cp == CP_UTF8) {
      if (lone) {
        if (dwFlags & WC_ERR_INVALID_CHARS) {
          SetLastError(ERROR_NO_UNICODE_TRANSLATION);
          return 0;
        }
        c = kReplacement;
      }
      if (c < 0x80) {
        bytes[len++] = static_cast<unsigned char>(c);
      } else if (c < 0x800) {
        bytes[len++] = static_cast<unsigned char>(0xC0 | c >> 6);
        bytes[len++] = static_cast<unsigned char>(0x80 | (c & 0x3F));
      } else if (c < 0x10000) {
        bytes[len++] = static_cast<unsigned char>(0xE0 | c >> 12);
        bytes[len++] = static_cast<unsigned char>(0x80 | (c >> 6 & 0x3F));
        bytes[len++] = static_cast<unsigned char>(0x80 | (c & 0x3F));
      } else {
        bytes[len++] = static_cast<unsigned char>(0xF0 | c >> 18);
        bytes[len++] = static_cast<unsigned char>(0x80 | (c >> 12 & 0x3F));
        bytes[len++] = static_cast<unsigned char>(0x80 | (c >> 6 & 0x3F));
        bytes[len++] = static_cast<unsigned char>(0x80 | (c & 0x3F));
      }
    } else {
      unsigned mapped = 0;
      bool found = false;
      if (!lone && c < 0x10000) {
        if (cp == kGbk) {
          mapped = lumoa::platform::gbk::kToMulti[c];
          found = mapped != 0 || c == 0;
        } else if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
          mapped = c, found = true;
        } else {
          for (unsigned k = 0; k < 32; ++k) {
            if (k1252High[k] == c) mapped = 0x80 + k, found = true;
          }
        }
      }
      if (found) {
        if (mapped > 0xFF) bytes[len++] = static_cast<unsigned char>(mapped >> 8);
        bytes[len++] = static_cast<unsigned char>(mapped & 0xFF);
      } else {
        std::memcpy(bytes, def, static_cast<size_t>(defLen));
        len = defLen;
        if (lpUsedDefaultChar) *lpUsedDefaultChar = TRUE;
      }
    }
    if (!put(bytes, len)) {
      SetLastError(ERROR_INSUFFICIENT_BUFFER);
      return 0;
    }
  }
  return out.count();
}

LPSTR CharNextA(LPCSTR lpsz) {
  if (!lpsz) return nullptr;
  if (!*lpsz) return const_cast<LPSTR>(lpsz);
  if (IsGbkLead(static_cast<unsigned char>(lpsz[0])) && lpsz[1]) return const_cast<LPSTR>(lpsz + 2);
  return const_cast<LPSTR>(lpsz + 1);
}
