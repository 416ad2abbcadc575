#include <gtest/gtest.h>

#include <string>

#include "platform/winbase.h"

namespace {

std::u16string ToWide(UINT cp, const std::string& bytes, DWORD flags = 0) {
  const int n = MultiByteToWideChar(cp, flags, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::u16string out(static_cast<size_t>(n), u'\0');
  if (n > 0) {
    EXPECT_EQ(MultiByteToWideChar(cp, flags, bytes.data(), static_cast<int>(bytes.size()), out.data(), n), n);
  }
  return out;
}

std::string ToMulti(UINT cp, const std::u16string& wide, BOOL* usedDefault = nullptr,
                    const char* defaultChar = nullptr) {
  const int n = WideCharToMultiByte(cp, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                    defaultChar, usedDefault);
  std::string out(static_cast<size_t>(n), '\0');
  if (n > 0) {
    WideCharToMultiByte(cp, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n,
                        defaultChar, usedDefault);
  }
  return out;
}

TEST(CodePage, GbkRoundTripsAsciiChineseAndEuro) {
  EXPECT_EQ(GetACP(), 936u);
  const std::string gbk = "Hi \xD6\xD0\xCE\xC4\x80";  // "Hi 中文€"
  const std::u16string wide = u"Hi \u4E2D\u6587\u20AC";
  EXPECT_EQ(ToWide(CP_ACP, gbk), wide);
  EXPECT_EQ(ToWide(936, gbk), wide);
  BOOL used = TRUE;
  EXPECT_EQ(ToMulti(CP_ACP, wide, &used), gbk);
  EXPECT_FALSE(used);
  // Every double-byte code that decodes encodes back to itself.
  int checked = 0;
  for (int lead = 0x81; lead <= 0xFE; lead += 7) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
      const std::u16string w = ToWide(936, pair, MB_ERR_INVALID_CHARS);
      if (w.size() != 1) continue;
      ASSERT_EQ(ToMulti(936, w), pair) << lead << "," << trail;
      ++checked;
    }
  }
  EXPECT_GT(checked, 3000);
}

TEST(CodePage, GbkInvalidSequences) {
  // A lead byte at the end, and a lead byte followed by a byte that cannot trail.
  EXPECT_EQ(ToWide(936, "a\xD6"), u"a?");
  EXPECT_EQ(ToWide(936, std::string("\xD6\x20z")), u"? z");
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, "a\xD6", 2, nullptr, 0), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
  // Unmappable characters become the default character and say so.
  BOOL used = FALSE;
  EXPECT_EQ(ToMulti(936, u"x\u0E01y", &used), "x?y");
  EXPECT_TRUE(used);
  EXPECT_EQ(ToMulti(936, u"\u0E01", &used, "*"), "*");
  // A lone surrogate is one unmappable character.
  EXPECT_EQ(ToMulti(936, std::u16string(1, char16_t(0xD800)) + u"a"), "?a");
}

TEST(CodePage, SizeQueriesTerminatorsAndSmallBuffers) {
  // -1: the terminator is converted and counted.
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "\xD6\xD0!", -1, nullptr, 0), 3);
  WCHAR w[3] = {1, 1, 1};
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "\xD6\xD0!", -1, w, 3), 3);
  EXPECT_EQ(w[0], 0x4E2D);
  EXPECT_EQ(w[2], 0);
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"\u4E2D!", -1, nullptr, 0, nullptr, nullptr), 4);

  WCHAR small[2] = {7, 7};
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", 3, small, 2), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  char narrow[2] = {7, 7};
  SetLastError(0);
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"\u4E2D!", 2, narrow, 2, nullptr, nullptr), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));

  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", 0, w, 3), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(MultiByteToWideChar(12345, 0, "abc", 3, w, 3), 0);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"a", 1, narrow, 2, "?", nullptr), 0);
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, nullptr, 3, w, 3), 0);
}

TEST(CodePage, Utf8) {
  const std::string utf8 = "a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80";  // a é 中 😀
  const std::u16string wide = u"a\u00E9\u4E2D\U0001F600";
  EXPECT_EQ(ToWide(CP_UTF8, utf8), wide);
  EXPECT_EQ(ToMulti(CP_UTF8, wide), utf8);
  // Overlong forms, encoded surrogates, truncated sequences: one U+FFFD per bad piece.
  EXPECT_EQ(ToWide(CP_UTF8, "\xC0\xAF" "b"), u"\uFFFD\uFFFDb");
  EXPECT_EQ(ToWide(CP_UTF8, "\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");
  EXPECT_EQ(ToWide(CP_UTF8, "x\xE4\xB8"), u"x\uFFFD");
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "x\xE4\xB8", 3, nullptr, 0), 0);
  EXPECT_EQ(ToMulti(CP_UTF8, std::u16string(1, char16_t(0xDC00))), "\xEF\xBF\xBD");
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, u"\xDC00", 1, nullptr, 0, nullptr, nullptr), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
}

TEST(CodePage, Windows1252) {
  EXPECT_EQ(ToWide(1252, "\x80\x93\xE9"), u"\u20AC\u201C\u00E9");
  EXPECT_EQ(ToMulti(1252, u"\u20AC\u201C\u00E9"), "\x80\x93\xE9");
  EXPECT_EQ(ToMulti(1252, u"\u4E2D"), "?");
}

TEST(KernelStrings, CaseMappingLengthsAndCharNext) {
  WCHAR s[] = u"abc\u00E9\u0434Z1";
  CharUpperW(s);
  EXPECT_EQ(std::u16string(s), u"ABC\u00C9\u0414Z1");
  CharLowerW(s);
  EXPECT_EQ(std::u16string(s), u"abc\u00E9\u0434z1");
  // A character packed into the pointer's low word.
  const auto upper = reinterpret_cast<ULONG_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(ULONG_PTR{u'q'})));
  EXPECT_EQ(upper, ULONG_PTR{u'Q'});
  EXPECT_EQ(lstrlenW(u"\u4E2D\u6587"), 2);
  EXPECT_EQ(lstrlenW(nullptr), 0);
  EXPECT_EQ(lstrlenA("\xD6\xD0"), 2);
  const char* gbk = "\xD6\xD0" "a";
  EXPECT_EQ(CharNextA(gbk), gbk + 2);
  EXPECT_EQ(CharNextA(gbk + 2), gbk + 3);
  EXPECT_EQ(CharNextA(gbk + 3), gbk + 3);
  const char* cut = "\xD6";
  EXPECT_EQ(CharNextA(cut), cut + 1);
}

}  // namespace
