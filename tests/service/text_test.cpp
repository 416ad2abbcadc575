// Percent-encoding, the search query string, and GBK.
#include <gtest/gtest.h>

#include "service/gbk.h"
#include "service/url_text.h"

namespace lumoa::service {
namespace {

TEST(UrlTextTest, PercentDecodingTakesEitherCaseAndRefusesBrokenEscapes) {
  EXPECT_EQ(PercentDecode("%D6%D0%ce%c4"), "\xD6\xD0\xCE\xC4");
  EXPECT_EQ(PercentDecode("a+b%20c%2B"), "a+b c+");
  EXPECT_EQ(PercentDecode(""), "");
  EXPECT_EQ(PercentDecode("%00"), std::string("\0", 1));
  for (const char* broken : {"%", "%4", "a%", "%G0", "%0G", "%%41", "100%", "%-1", "% 1"})
    EXPECT_EQ(PercentDecode(broken), std::nullopt) << broken;
}

TEST(UrlTextTest, PercentEncodingKeepsOnlyUnreservedBytes) {
  EXPECT_EQ(PercentEncode("AZaz09-._~"), "AZaz09-._~");
  EXPECT_EQ(PercentEncode("a b&c=d+e/f?g#h%"), "a%20b%26c%3Dd%2Be%2Ff%3Fg%23h%25");
  EXPECT_EQ(PercentEncode("\xE4\xB8\xAD"), "%E4%B8%AD");
  EXPECT_EQ(PercentEncode(std::string("\0\xFF", 2)), "%00%FF");
}

TEST(UrlTextTest, TheKeywordRunsToTheEndOfTheQuery) {
  SearchQuery q = SplitSearchQuery("search_select=baidu&hid=web&keyword=AT&T&x=1");
  EXPECT_EQ(q.search_select, "baidu");
  EXPECT_EQ(q.hid, "web");
  EXPECT_EQ(q.keyword, "AT&T&x=1");

  q = SplitSearchQuery("search_select=baidu&hid=web&keyword=AT%26T");
  EXPECT_EQ(q.keyword, "AT%26T");

  // Order does not matter before the keyword; the first of a repeated key counts.
  q = SplitSearchQuery("hid=news&search_select=baidu_news&search_select=sina&keyword=");
  EXPECT_EQ(q.search_select, "baidu_news");
  EXPECT_EQ(q.hid, "news");
  EXPECT_EQ(q.keyword, "");

  // Missing keys are empty; a key without "=" has an empty value; names match exactly.
  q = SplitSearchQuery("search_select&Keyword=x&keywords=y");
  EXPECT_EQ(q.search_select, "");
  EXPECT_EQ(q.keyword, "");
  q = SplitSearchQuery("");
  EXPECT_EQ(q.search_select, "");
  EXPECT_EQ(q.keyword, "");
  // A keyword value that holds "keyword=" is still one value.
  EXPECT_EQ(SplitSearchQuery("keyword=a&keyword=b").keyword, "a&keyword=b");
}

TEST(GbkTest, DecodesToUtf8) {
  ASSERT_TRUE(GbkAvailable());
  EXPECT_EQ(GbkToUtf8("\xD6\xD0\xCE\xC4"), "\xE4\xB8\xAD\xE6\x96\x87");  // 中文
  EXPECT_EQ(GbkToUtf8("AT&T \xD6\xD0"), "AT&T \xE4\xB8\xAD");
  EXPECT_EQ(GbkToUtf8(""), "");
  EXPECT_EQ(GbkToUtf8("\x80"), "\xE2\x82\xAC");                        // the euro sign
  EXPECT_EQ(GbkToUtf8("\xA1\xA1"), "\xE3\x80\x80");                    // ideographic space
  EXPECT_EQ(GbkToUtf8("\x81\x40"), "\xE4\xB8\x82");                    // first GBK pair
  EXPECT_EQ(GbkToUtf8("\xA3\xA1"), "\xEF\xBC\x81");                    // full-width "!"
  EXPECT_EQ(GbkToUtf8("\xB0\xA1z"), "\xE5\x95\x8Az");                  // 啊, then ASCII
}

TEST(GbkTest, RefusesWhatIsNotGbk) {
  for (const std::string& bad : {std::string("\xD6"), std::string("a\xD6"),
                                 std::string("\xFF"), std::string("\xFF\xA1"),
                                 std::string("\x81\x7F"), std::string("\x81\x30"),
                                 std::string("\xD6\xFF"), std::string("\xD6\x0A"),
                                 std::string("\xA1\x40"),  // a pair GBK leaves undefined
                                 // UTF-8 of 中文 read as GBK: E4 B8 is a pair, AD E6 none
                                 std::string("\xE4\xB8\xAD\xE6\x96\x87")})
    EXPECT_EQ(GbkToUtf8(bad), std::nullopt) << testing::PrintToString(bad);
}

}  // namespace
}  // namespace lumoa::service
