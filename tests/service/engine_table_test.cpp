#include "service/engine_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace lumoa::service {
namespace {

// Every selector the launcher sends, with the category it sends along: its five tabs (the
// "more" tab searches as "web" does) and its fifteen list categories.
struct Sent {
  const char* selector;
  const char* hid;
};
constexpr Sent kLauncherSelectors[] = {
    {"baidu", "web"},           {"baidu_news", "news"},    {"xiami", "mp3"},
    {"tudou", "video"},         {"baidu_map", "map"},      {"baidu_zhidao", "answer"},
    {"youdao_gouwu", "buy"},    {"kuxun", "plane"},        {"cheyisou", "car"},
    {"sina", "stock"},          {"baidu_tieba", "tieba"},  {"gougou_soft", "sofeware"},
    {"sina_t", "Micro-blog"},   {"baidu_blog", "blog"},    {"soso_blog", "bbs"},
    {"gougou_game", "game"},    {"yuncheng", "xiaoshuo"},  {"zhizhen", "book"},
    {"258", "shangye"},         {"ip138", "mobile"},
};

// An absolute https URL with a host, no fragment, and only characters a URL may hold as is.
::testing::AssertionResult IsHttpsUrl(std::string_view url) {
  constexpr std::string_view kScheme = "https://";
  if (!url.starts_with(kScheme)) return ::testing::AssertionFailure() << url << ": not https";
  const std::string_view rest = url.substr(kScheme.size());
  const size_t hostEnd = rest.find_first_of("/?");
  const std::string_view host = rest.substr(0, hostEnd);
  if (host.empty() || host.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789.-") !=
                          std::string_view::npos || host.find('.') == std::string_view::npos)
    return ::testing::AssertionFailure() << url << ": bad host '" << host << "'";
  for (const char c : url) {
    const auto u = static_cast<unsigned char>(c);
    if (u <= 0x20 || u >= 0x7F || c == '#' || c == '"' || c == '<' || c == '>' || c == '\\')
      return ::testing::AssertionFailure() << url << ": holds '" << c << "'";
  }
  return ::testing::AssertionSuccess();
}

size_t Count(std::string_view text, std::string_view what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string_view::npos; at = text.find(what, at + 1))
    ++n;
  return n;
}

TEST(EngineTableTest, HoldsEveryLauncherSelectorOnceWithItsCategory) {
  EXPECT_EQ(Engines().size(), std::size(kLauncherSelectors));
  std::set<std::string_view> seen;
  for (const Engine& e : Engines()) EXPECT_TRUE(seen.insert(e.selector).second) << e.selector;
  for (const Sent& s : kLauncherSelectors) {
    const Engine* e = FindEngine(s.selector);
    ASSERT_NE(e, nullptr) << s.selector;
    EXPECT_EQ(e->category, s.hid) << s.selector;
    EXPECT_FALSE(e->name.empty()) << s.selector;
    EXPECT_FALSE(e->caption.empty()) << s.selector;
  }
  // Matching is exact: the launcher's spelling only.
  for (const char* near : {"Baidu", "baidu ", "", "baidu_", "BAIDU_NEWS", "258 "})
    EXPECT_EQ(FindEngine(near), nullptr) << '"' << near << '"';
}

TEST(EngineTableTest, TemplatesAreHttpsUrlsWithExactlyOnePlaceholderInTheQueryOrPath) {
  for (const Engine& e : Engines()) {
    EXPECT_EQ(Count(e.results, kQueryPlaceholder), 1u) << e.results;
    EXPECT_EQ(Count(e.results, "{"), 1u) << e.results;
    EXPECT_EQ(Count(e.results, "}"), 1u) << e.results;
    // Not in the host: after the authority's first slash.
    EXPECT_GT(e.results.find(kQueryPlaceholder), e.results.find('/', 8)) << e.results;
    std::string filled(e.results);
    filled.replace(filled.find(kQueryPlaceholder), kQueryPlaceholder.size(), "x");
    EXPECT_TRUE(IsHttpsUrl(filled));
    EXPECT_TRUE(IsHttpsUrl(e.home));
    EXPECT_EQ(e.home.find('{'), std::string_view::npos) << e.home;
  }
}

TEST(EngineTableTest, ClosedEnginesAreMarkedAndLivingOnesAreNot) {
  // The engines that still answer under the name the selector gives.
  const std::set<std::string_view> living = {"baidu",       "baidu_news", "baidu_map",
                                             "baidu_zhidao", "sina",      "baidu_tieba",
                                             "sina_t",       "ip138"};
  for (const Engine& e : Engines())
    EXPECT_EQ(e.replaces.empty(), living.count(e.selector) == 1) << e.selector;
}

TEST(EngineTableTest, ResultsUrlEncodesTheQueryInTheEnginesCharset) {
  const std::string utf8 = "AT&T \xE4\xB8\xAD\xE6\x96\x87", gbk = "AT&T \xD6\xD0\xCE\xC4";
  const Engine* news = FindEngine("baidu_news");
  ASSERT_EQ(news->charset, QueryCharset::kUtf8);
  EXPECT_EQ(ResultsUrl(*news, utf8, gbk),
            "https://www.baidu.com/s?tn=news&ie=utf-8&word=AT%26T%20%E4%B8%AD%E6%96%87");
  const Engine* zhidao = FindEngine("baidu_zhidao");
  ASSERT_EQ(zhidao->charset, QueryCharset::kGbk);
  EXPECT_EQ(ResultsUrl(*zhidao, utf8, gbk),
            "https://zhidao.baidu.com/search?ie=gbk&word=AT%26T%20%D6%D0%CE%C4");
  // Text after the placeholder stays in place.
  EXPECT_EQ(ResultsUrl(*FindEngine("ip138"), "138", "138"),
            "https://www.ip138.com/mobile.asp?mobile=138&action=mobile");
  EXPECT_EQ(ResultsUrl(*FindEngine("kuxun"), "a b", "a b"),
            "https://www.baidu.com/s?ie=utf-8&wd=a%20b%20%E6%9C%BA%E7%A5%A8");
}

}  // namespace
}  // namespace lumoa::service
