#include "ui/sysutils.h"

#include <gtest/gtest.h>

TEST(StrToInt, AcceptsDecimalHexSignsAndLeadingBlanks) {
  EXPECT_EQ(StrToInt("0"), 0);
  EXPECT_EQ(StrToInt("  42"), 42);
  EXPECT_EQ(StrToInt("-17"), -17);
  EXPECT_EQ(StrToInt("+8"), 8);
  EXPECT_EQ(StrToInt("$1F"), 31);
  EXPECT_EQ(StrToInt("0x10"), 16);
  EXPECT_EQ(StrToInt("-$10"), -16);
  EXPECT_EQ(StrToInt("2147483647"), 2147483647);
  EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
  // Hex spells the word's bit pattern.
  EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
  EXPECT_EQ(StrToInt("$00000000FF"), 255);
}

TEST(StrToInt, RefusesGarbageOverflowAndTrailingText) {
  for (const char* bad : {"", " ", "-", "$", "0x", "12a", "12 ", "1.5", "2147483648",
                          "-2147483649", "$100000000", "abc", "--1"}) {
    EXPECT_THROW(StrToInt(bad), EConvertError) << bad;
    EXPECT_EQ(StrToIntDef(bad, -99), -99) << bad;
  }
  try {
    StrToInt("x1z");
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "'x1z' is not a valid integer value");
  }
  EXPECT_EQ(StrToInt64("9223372036854775807"), INT64_MAX);
  EXPECT_THROW(StrToInt64("9223372036854775808"), EConvertError);
}

TEST(TextFunctions, TrimAndCaseKeepDoubleByteCharacters) {
  EXPECT_EQ(Trim("\t a b \r\n"), "a b");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(IntToStr(-5), "-5");
  EXPECT_EQ(IntToHex(255, 4), "00FF");
  // "\xB0\x61" is one double-byte character whose trail byte is 'a'.
  const AnsiString mixed = "ab\xB0\x61yZ";
  EXPECT_EQ(UpperCase(mixed), "AB\xB0\x61YZ");
  EXPECT_EQ(LowerCase(mixed), "ab\xB0\x61yz");
  EXPECT_TRUE(SameText("Hello", "hELLO"));
  EXPECT_FALSE(SameText("\xB0\x61", "\xB0\x41"));
  EXPECT_FALSE(SameText("abc", "abcd"));
  EXPECT_LT(CompareText("abc", "ABD"), 0);
  EXPECT_GT(CompareText("b", "A"), 0);
}

TEST(Conversions, Utf8RoundTripsAndMalformedInputIsReplaced) {
  const std::string utf8 = "A\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80";  // A, e-acute, CJK, emoji
  const WideString w = Utf8ToWide(utf8);
  ASSERT_EQ(w.size(), 5u);
  EXPECT_EQ(w[1], u'\u00E9');
  EXPECT_EQ(w[2], u'\u4E2D');
  EXPECT_EQ(w[3], 0xD83D);
  EXPECT_EQ(WideToUtf8(w), utf8);
  EXPECT_EQ(Utf8ToWide("\xE4\xB8"), WideString(u"\uFFFD\uFFFD"));
  EXPECT_EQ(Utf8ToWide("\xC0\x80"), WideString(u"\uFFFD\uFFFD"));  // overlong
  EXPECT_EQ(AnsiToWide("plain"), WideString(u"plain"));
  // The ANSI code page is GBK: U+4E2D is D6 D0.
  EXPECT_EQ(Utf8ToAnsi("\xE4\xB8\xAD!"), "\xD6\xD0!");
  EXPECT_EQ(AnsiToUtf8("\xD6\xD0"), "\xE4\xB8\xAD");
  EXPECT_EQ(WideToAnsi(u"plain"), "plain");
}
