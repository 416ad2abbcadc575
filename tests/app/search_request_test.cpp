#include "app/search_request.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "app/service_host.h"

namespace lumoa::app {
namespace {

// The host is a build option; everything after it is fixed.
const std::string kPrefix =
    "http://" + std::string(kServiceHost) + "/metasearch/msframe.php?search_select=";

std::string Url(const std::string& select, const std::string& hid, const std::string& keyword) {
  return kPrefix + select + "&hid=" + hid + "&keyword=" + keyword;
}

TEST(SearchRequestTest, TabsMapToTheirSelectorAndCategory) {
  struct Row {
    const char* sheet;
    const char* select;
    const char* hid;
  };
  const Row rows[] = {{"web", "baidu", "web"},         {"news", "baidu_news", "news"},
                      {"mp3", "xiami", "mp3"},         {"video", "tudou", "video"},
                      {"map", "baidu_map", "map"},     {"more", "baidu", "web"}};
  for (const Row& row : rows)
    EXPECT_EQ(BuildForTab(row.sheet, "abc"), Url(row.select, row.hid, "abc")) << row.sheet;

  EXPECT_EQ(BuildForTab("news", "abc"), kPrefix + "baidu_news&hid=news&keyword=abc");
  EXPECT_EQ(BuildForTab("more", "x"), BuildForTab("web", "x"));
}

TEST(SearchRequestTest, UnknownTabNamesYieldNoUrl) {
  for (const char* name : {"ksSheetclose", "Web", "NEWS", "", "web ", " map", "mp"})
    EXPECT_EQ(BuildForTab(name, "abc"), "") << '"' << name << '"';
}

TEST(SearchRequestTest, ListCategoriesMapInItemOrder) {
  struct Row {
    const char* hid;
    const char* select;
  };
  const Row rows[] = {
      {"answer", "baidu_zhidao"}, {"buy", "youdao_gouwu"},   {"plane", "kuxun"},
      {"car", "cheyisou"},        {"stock", "sina"},         {"tieba", "baidu_tieba"},
      {"sofeware", "gougou_soft"}, {"Micro-blog", "sina_t"}, {"blog", "baidu_blog"},
      {"bbs", "soso_blog"},       {"game", "gougou_game"},   {"xiaoshuo", "yuncheng"},
      {"book", "zhizhen"},        {"shangye", "258"},        {"mobile", "ip138"}};
  for (int i = 0; i < 15; ++i)
    EXPECT_EQ(BuildForListCategory(i, "q"), Url(rows[i].select, rows[i].hid, "q")) << i;

  EXPECT_EQ(BuildForListCategory(13, "q"), kPrefix + "258&hid=shangye&keyword=q");
}

TEST(SearchRequestTest, ListIndexOutsideTheListStillBuildsAUrl) {
  for (int index : {-1, 15, 100, INT_MIN, INT_MAX})
    EXPECT_EQ(BuildForListCategory(index, "q"), kPrefix + "&hid=&keyword=q") << index;
}

TEST(SearchRequestTest, EmptyQueryEndsAtTheKeywordKey) {
  EXPECT_EQ(BuildForTab("web", ""), kPrefix + "baidu&hid=web&keyword=");
  EXPECT_EQ(BuildForListCategory(0, ""), kPrefix + "baidu_zhidao&hid=answer&keyword=");
}

TEST(SearchRequestTest, KeywordIsPercentEncoded) {
  struct Row {
    std::string query;
    std::string encoded;
  };
  const Row rows[] = {
      {"a b", "a%20b"},
      {"AT&T", "AT%26T"},
      {"c#", "c%23"},
      {"1+1", "1%2B1"},
      {"100%", "100%25"},
      {"x=y", "x%3Dy"},
      {"why?", "why%3F"},
      {"/:@!$'()*,;", "%2F%3A%40%21%24%27%28%29%2A%2C%3B"},
      {"AZaz09-._~", "AZaz09-._~"},
      {"\xD0\xC2\xCE\xC5", "%D0%C2%CE%C5"},  // GBK bytes of a two-character Chinese word
      {std::string("a\0b\x7F\xFF", 5), "a%00b%7F%FF"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(PercentEncode(row.query), row.encoded) << row.query;
    EXPECT_EQ(BuildForTab("news", row.query), Url("baidu_news", "news", row.encoded));
    EXPECT_EQ(BuildForListCategory(4, row.query), Url("sina", "stock", row.encoded));
  }
}

TEST(SearchRequestTest, TypedTextCannotAddParametersOrAFragment) {
  const std::string url = BuildForTab("web", "x&hid=evil&search_select=other#frag");
  EXPECT_EQ(url.find('#'), std::string::npos);
  EXPECT_EQ(url.find("&hid="), url.rfind("&hid="));
  EXPECT_EQ(url.find("search_select="), url.rfind("search_select="));
  EXPECT_TRUE(url.ends_with("&keyword=x%26hid%3Devil%26search_select%3Dother%23frag")) << url;
}

}  // namespace
}  // namespace lumoa::app
