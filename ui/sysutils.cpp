#include "ui/sysutils.h"

#include <cstdio>
#include <limits>

#if __has_include("platform/winbase.h")
#include "platform/winbase.h"
#define LUMOA_HAVE_CODEPAGES 1
#endif

namespace {

bool IsBlank(unsigned char c) { return c <= ' '; }

int HexDigit(unsigned char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

enum class ParseRange { Int32, Int64 };

// Parses into value; false on any syntax error or overflow of the requested range.
bool ParseInteger(const AnsiString& s, ParseRange range, int64_t& value) {
  size_t i = 0;
  const size_t n = s.size();
  while (i < n && IsBlank(static_cast<unsigned char>(s[i]))) ++i;
  bool negative = false;
  if (i < n && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }
  bool hex = false;
  if (i < n && s[i] == '$') {
    hex = true;
    ++i;
  } else if (i + 1 < n && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    hex = true;
    i += 2;
  } else if (i < n && (s[i] == 'x' || s[i] == 'X')) {
    hex = true;
    ++i;
  }
  if (i >= n) return false;

  const int bits = range == ParseRange::Int32 ? 32 : 64;
  if (hex) {
    uint64_t acc = 0;
    int digits = 0;
    for (; i < n; ++i) {
      const int d = HexDigit(static_cast<unsigned char>(s[i]));
      if (d < 0) return false;
      if (acc == 0 && d == 0) continue;  // leading zeros do not count toward the width
      if (++digits > bits / 4) return false;
      acc = (acc << 4) | static_cast<uint64_t>(d);
    }
    // Hex spells the bit pattern of the word, so $FFFFFFFF is -1.
    int64_t v = bits == 32 ? static_cast<int64_t>(static_cast<int32_t>(static_cast<uint32_t>(acc)))
                           : static_cast<int64_t>(acc);
    value = negative ? static_cast<int64_t>(0ULL - static_cast<uint64_t>(v)) : v;
    if (bits == 32) value = static_cast<int32_t>(static_cast<uint32_t>(value));
    return true;
  }

  const uint64_t limit = bits == 32
                             ? (negative ? 2147483648ULL : 2147483647ULL)
                             : (negative ? 9223372036854775808ULL : 9223372036854775807ULL);
  uint64_t acc = 0;
  for (; i < n; ++i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < '0' || c > '9') return false;
    const uint64_t d = c - '0';
    if (acc > (limit - d) / 10) return false;
    acc = acc * 10 + d;
  }
  value = negative ? static_cast<int64_t>(0ULL - acc) : static_cast<int64_t>(acc);
  return true;
}

[[noreturn]] void RaiseNotInteger(const AnsiString& s) {
  throw EConvertError("'" + s + "' is not a valid integer value");
}

template <class Fn>
AnsiString MapAscii(const AnsiString& s, Fn fn) {
  AnsiString r = s;
  for (size_t i = 0; i < r.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(r[i]);
    if (IsLeadByte(c) && i + 1 < r.size()) {
      ++i;
      continue;
    }
    r[i] = static_cast<char>(fn(c));
  }
  return r;
}

unsigned char AsciiUpper(unsigned char c) { return c >= 'a' && c <= 'z' ? c - 32 : c; }
unsigned char AsciiLower(unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; }

}  // namespace

AnsiString IntToStr(int64_t value) { return std::to_string(value); }

AnsiString IntToHex(uint64_t value, int digits) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%0*llX", digits < 0 ? 0 : (digits > 16 ? 16 : digits),
                static_cast<unsigned long long>(value));
  return buf;
}

bool TryStrToInt(const AnsiString& s, int32_t& value) {
  int64_t v = 0;
  if (!ParseInteger(s, ParseRange::Int32, v)) return false;
  value = static_cast<int32_t>(v);
  return true;
}

bool TryStrToInt64(const AnsiString& s, int64_t& value) {
  return ParseInteger(s, ParseRange::Int64, value);
}

int32_t StrToInt(const AnsiString& s) {
  int32_t v = 0;
  if (!TryStrToInt(s, v)) RaiseNotInteger(s);
  return v;
}

int64_t StrToInt64(const AnsiString& s) {
  int64_t v = 0;
  if (!TryStrToInt64(s, v)) RaiseNotInteger(s);
  return v;
}

int32_t StrToIntDef(const AnsiString& s, int32_t def) {
  int32_t v = 0;
  return TryStrToInt(s, v) ? v : def;
}

AnsiString TrimLeft(const AnsiString& s) {
  size_t b = 0;
  while (b < s.size() && IsBlank(static_cast<unsigned char>(s[b]))) ++b;
  return s.substr(b);
}

AnsiString TrimRight(const AnsiString& s) {
  size_t e = s.size();
  while (e > 0 && IsBlank(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(0, e);
}

AnsiString Trim(const AnsiString& s) { return TrimRight(TrimLeft(s)); }

AnsiString UpperCase(const AnsiString& s) { return MapAscii(s, AsciiUpper); }
AnsiString LowerCase(const AnsiString& s) { return MapAscii(s, AsciiLower); }

int CompareText(const AnsiString& a, const AnsiString& b) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  bool inDouble = false;  // the previous byte was a lead byte: this one is a trail byte
  for (size_t i = 0; i < n; ++i) {
    unsigned char ca = static_cast<unsigned char>(a[i]);
    unsigned char cb = static_cast<unsigned char>(b[i]);
    if (!inDouble) {
      ca = AsciiUpper(ca);
      cb = AsciiUpper(cb);
    }
    if (ca != cb) return ca < cb ? -1 : 1;
    inDouble = !inDouble && IsLeadByte(ca);
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool SameText(const AnsiString& a, const AnsiString& b) {
  return a.size() == b.size() && CompareText(a, b) == 0;
}

WideString Utf8ToWide(const std::string& s) {
  WideString out;
  out.reserve(s.size());
  size_t i = 0;
  const size_t n = s.size();
  while (i < n) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    uint32_t cp = 0;
    int extra = 0;
    if (c < 0x80) {
      cp = c;
    } else if ((c & 0xE0) == 0xC0) {
      cp = c & 0x1F;
      extra = 1;
    } else if ((c & 0xF0) == 0xE0) {
      cp = c & 0x0F;
      extra = 2;
    } else if ((c & 0xF8) == 0xF0) {
      cp = c & 0x07;
      extra = 3;
    } else {
      out.push_back(WTEXT('\uFFFD'));
      ++i;
      continue;
    }
    bool ok = true;
    for (int k = 1; k <= extra; ++k) {
      if (i + k >= n || (static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    }
    static const uint32_t kMin[4] = {0, 0x80, 0x800, 0x10000};
    if (!ok || cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      out.push_back(WTEXT('\uFFFD'));
      ++i;
      continue;
    }
    i += static_cast<size_t>(extra) + 1;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<WCHAR>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<WCHAR>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<WCHAR>(cp));
    }
  }
  return out;
}

std::string WideToUtf8(const WideString& s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    uint32_t cp = s[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 &&
        s[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;  // lone surrogate
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

#ifdef LUMOA_HAVE_CODEPAGES

WideString AnsiToWide(const AnsiString& s) {
  if (s.empty()) return {};
  const int len = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  if (len <= 0) throw EConvertError("Text cannot be converted from the ANSI code page");
  WideString out(static_cast<size_t>(len), WTEXT('\0'));
  MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), out.data(), len);
  return out;
}

AnsiString WideToAnsi(const WideString& s) {
  if (s.empty()) return {};
  const int len = WideCharToMultiByte(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0,
                                      nullptr, nullptr);
  if (len <= 0) throw EConvertError("Text cannot be converted to the ANSI code page");
  AnsiString out(static_cast<size_t>(len), '\0');
  WideCharToMultiByte(CP_ACP, 0, s.data(), static_cast<int>(s.size()), out.data(), len, nullptr,
                      nullptr);
  return out;
}

#else

// Until the platform's code pages are available only ASCII converts; everything else
// becomes '?' / U+FFFD rather than garbage.
WideString AnsiToWide(const AnsiString& s) {
  WideString out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      out.push_back(c);
      continue;
    }
    if (IsLeadByte(c) && i + 1 < s.size()) ++i;
    out.push_back(WTEXT('\uFFFD'));
  }
  return out;
}

AnsiString WideToAnsi(const WideString& s) {
  AnsiString out;
  out.reserve(s.size());
  for (WCHAR c : s) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return out;
}

#endif

AnsiString Utf8ToAnsi(const std::string& s) { return WideToAnsi(Utf8ToWide(s)); }
std::string AnsiToUtf8(const AnsiString& s) { return WideToUtf8(AnsiToWide(s)); }
