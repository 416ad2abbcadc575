#include "service/responder.h"

#include <gtest/gtest.h>

#include <string>

#include "service/engine_table.h"

namespace lumoa::service {
namespace {

const std::string kSearch = "/metasearch/msframe.php?";

std::string Header(const Answer& a, const std::string& name) {
  for (const auto& [n, v] : a.headers)
    if (n == name) return v;
  return "";
}

Answer Search(const std::string& query) { return Respond("GET", kSearch + query); }

std::string LocationOf(const std::string& query) {
  const Answer a = Search(query);
  EXPECT_EQ(a.status, 302) << query << "\n" << a.body;
  return Header(a, "Location");
}

TEST(ResponderTest, ChineseInGbkReachesAUtf8EngineAsUtf8) {
  EXPECT_EQ(LocationOf("search_select=baidu&hid=web&keyword=%D6%D0%CE%C4"),
            "https://www.baidu.com/s?ie=utf-8&wd=%E4%B8%AD%E6%96%87");
  // Lower-case escapes are the same bytes.
  EXPECT_EQ(LocationOf("search_select=baidu&hid=web&keyword=%d6%d0%ce%c4"),
            "https://www.baidu.com/s?ie=utf-8&wd=%E4%B8%AD%E6%96%87");
}

TEST(ResponderTest, GbkEnginesGetTheGbkBytes) {
  EXPECT_EQ(LocationOf("search_select=baidu_zhidao&hid=answer&keyword=%D6%D0%CE%C4"),
            "https://zhidao.baidu.com/search?ie=gbk&word=%D6%D0%CE%C4");
  EXPECT_EQ(LocationOf("search_select=sina&hid=stock&keyword=%D6%D0%B9%FA"),
            "https://biz.finance.sina.com.cn/suggest/lookup_n.php?country=stock&q=%D6%D0%B9%FA");
}

TEST(ResponderTest, AnAmpersandInTheQueryStaysInTheOneParameter) {
  const std::string expected = "https://www.baidu.com/s?tn=news&ie=utf-8&word=AT%26T";
  EXPECT_EQ(LocationOf("search_select=baidu_news&hid=news&keyword=AT%26T"), expected);
  // Unencoded, as a client of the original URL form sends it.
  EXPECT_EQ(LocationOf("search_select=baidu_news&hid=news&keyword=AT&T"), expected);
  EXPECT_EQ(LocationOf("search_select=baidu_news&hid=news&keyword=AT&T%20%D6%D0%CE%C4"),
            "https://www.baidu.com/s?tn=news&ie=utf-8&word=AT%26T%20%E4%B8%AD%E6%96%87");
  // Whatever else the query string says, the engine URL gets no parameter from it.
  const std::string url =
      LocationOf("search_select=baidu&hid=web&keyword=x&search_select=sina&wd=evil#");
  EXPECT_EQ(url, "https://www.baidu.com/s?ie=utf-8&wd=x%26search_select%3Dsina%26wd%3Devil%23");
}

TEST(ResponderTest, EveryEngineRedirectsAndHidDoesNotRoute) {
  for (const Engine& e : Engines()) {
    const std::string select = "search_select=" + std::string(e.selector);
    EXPECT_EQ(LocationOf(select + "&hid=whatever&keyword=q"), ResultsUrl(e, "q", "q"));
    EXPECT_EQ(LocationOf(select + "&keyword=q"), ResultsUrl(e, "q", "q"));
    // An empty query opens the engine's home page.
    EXPECT_EQ(LocationOf(select + "&hid=" + std::string(e.category) + "&keyword="), e.home);
    EXPECT_EQ(LocationOf(select), e.home);
  }
}

TEST(ResponderTest, RedirectsCarryALinkAndAreNotCached) {
  const Answer a = Search("search_select=baidu&hid=web&keyword=a%3Cb");
  EXPECT_EQ(a.status, 302);
  EXPECT_EQ(Header(a, "Cache-Control"), "no-store");
  EXPECT_NE(a.body.find("href=\"https://www.baidu.com/s?ie=utf-8&amp;wd=a%3Cb\""),
            std::string::npos)
      << a.body;
  EXPECT_FALSE(a.close);
}

TEST(ResponderTest, UnknownOrEmptySelectorsListTheKnownOnes) {
  for (const std::string q : {"search_select=&hid=&keyword=x", "hid=web&keyword=x", "",
                              "search_select=google&hid=web&keyword=x",
                              "search_select=Baidu&hid=web&keyword=x",
                              "search_select=baidu%20&hid=web&keyword="}) {
    const Answer a = Search(q);
    EXPECT_EQ(a.status, 400) << q;
    EXPECT_TRUE(a.close);
    EXPECT_EQ(a.contentType, "text/html; charset=utf-8");
    for (const Engine& e : Engines())
      EXPECT_NE(a.body.find("<code>" + std::string(e.selector) + "</code>"), std::string::npos)
          << e.selector;
  }
  EXPECT_NE(Search("search_select=&hid=&keyword=x").body.find("search_select is empty"),
            std::string::npos);
  // The selector is decoded before it is looked up.
  EXPECT_EQ(Search("search_select=baidu%5Fnews&keyword=").status, 302);
}

TEST(ResponderTest, MalformedEscapesAndNonGbkQueriesAre400) {
  for (const std::string q :
       {"search_select=baidu&hid=web&keyword=100%", "search_select=baidu&hid=web&keyword=%G1",
        "search_select=baidu&hid=web&keyword=%4", "search_select=bai%du&keyword=x",
        "search_select=baidu&keyword=%D6", "search_select=baidu&keyword=%FF%FF",
        "search_select=baidu&keyword=%81%7F", "search_select=baidu&keyword=%E4%B8%AD%E6%96%87"}) {
    const Answer a = Search(q);
    EXPECT_EQ(a.status, 400) << q;
    EXPECT_TRUE(a.close) << q;
    EXPECT_TRUE(a.headers.empty()) << q;
  }
  EXPECT_NE(Search("search_select=baidu&keyword=%D6").body.find("not GBK"), std::string::npos);
  EXPECT_NE(Search("search_select=baidu&keyword=%G1").body.find("percent-escape"),
            std::string::npos);
  // A malformed category echo does not matter: it is not used.
  EXPECT_EQ(Search("search_select=baidu&hid=%%&keyword=x").status, 302);
}

TEST(ResponderTest, QueriesOver2048BytesAre413) {
  const std::string max(kMaxQueryBytes, 'a');
  EXPECT_EQ(Search("search_select=baidu&keyword=" + max).status, 302);
  EXPECT_EQ(Search("search_select=baidu&keyword=" + max + "a").status, 413);
  // Counted in decoded bytes: 1024 Chinese characters are 2048 bytes, 6144 characters sent.
  std::string chinese;
  for (size_t i = 0; i < kMaxQueryBytes / 2; ++i) chinese += "%D6%D0";
  EXPECT_EQ(Search("search_select=baidu&keyword=" + chinese).status, 302);
  EXPECT_EQ(Search("search_select=baidu&keyword=" + chinese + "%D6%D0").status, 413);
  const Answer a = Search("search_select=nothing&keyword=" + std::string(10000, '%'));
  EXPECT_EQ(a.status, 413);
  EXPECT_TRUE(a.close);
}

TEST(ResponderTest, HomeHealthNotFoundAndMethods) {
  const Answer home = Respond("GET", "/");
  EXPECT_EQ(home.status, 200);
  EXPECT_NE(home.body.find("Lumoa metasearch"), std::string::npos);
  for (const Engine& e : Engines()) {
    EXPECT_NE(home.body.find(std::string(e.caption)), std::string::npos) << e.caption;
    EXPECT_NE(home.body.find(std::string(e.name)), std::string::npos) << e.name;
  }
  EXPECT_EQ(Respond("GET", "/?x=1").status, 200);

  const Answer health = Respond("GET", "/healthz");
  EXPECT_EQ(health.status, 200);
  EXPECT_EQ(health.body, "ok\n");

  for (const char* target : {"/metasearch", "/metasearch/", "/metasearch/msframe.php/x",
                             "/healthz/", "/index.html", "/METASEARCH/msframe.php", "*", ""}) {
    const Answer a = Respond("GET", target);
    EXPECT_EQ(a.status, 404) << target;
    EXPECT_FALSE(a.close);
  }

  EXPECT_EQ(Respond("HEAD", kSearch + "search_select=baidu&keyword=x").status, 302);
  for (const char* method : {"POST", "PUT", "DELETE", "OPTIONS", "get"}) {
    const Answer a = Respond(method, "/healthz");
    EXPECT_EQ(a.status, 405) << method;
    EXPECT_EQ(Header(a, "Allow"), "GET, HEAD");
    EXPECT_TRUE(a.close);
  }
}

TEST(ResponderTest, TransportErrorsCloseWithTheirStatus) {
  for (int status : {400, 408, 414, 431, 500, 503}) {
    const Answer a = TransportError(status);
    EXPECT_EQ(a.status, status);
    EXPECT_TRUE(a.close);
    EXPECT_NE(a.body.find(std::to_string(status) + " " + std::string(StatusText(status))),
              std::string::npos);
  }
  EXPECT_EQ(TransportError(416).status, 400);
}

}  // namespace
}  // namespace lumoa::service
