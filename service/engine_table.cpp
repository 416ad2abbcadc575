#include "service/engine_table.h"

#include <array>

#include "service/url_text.h"

namespace lumoa::service {
namespace {

constexpr QueryCharset U = QueryCharset::kUtf8;
constexpr QueryCharset G = QueryCharset::kGbk;

// The one table of the service. A row with a "replaces" note names a selector whose own engine
// has closed; the row points at a living engine of the same category instead. Engines that
// read GBK query bytes are marked G (their pages and forms are GBK); every other one takes
// UTF-8. Three categories have no free-text engine left, so they search the web for the query
// with the category's word added ("机票", "软件下载", "游戏").
constexpr std::array<Engine, 20> kEngines{{
    // The tabs.
    {"baidu", "web", "集成搜索", "Baidu", "https://www.baidu.com/s?ie=utf-8&wd={query}",
     "https://www.baidu.com/", U, ""},
    {"baidu_news", "news", "新闻", "Baidu News",
     "https://www.baidu.com/s?tn=news&ie=utf-8&word={query}", "https://news.baidu.com/", U, ""},
    {"xiami", "mp3", "音乐", "QQ Music", "https://y.qq.com/n/ryqq/search?w={query}",
     "https://y.qq.com/", U, "Xiami Music has closed"},
    {"tudou", "video", "视频", "bilibili", "https://search.bilibili.com/all?keyword={query}",
     "https://www.bilibili.com/", U, "Tudou's video search is gone"},
    {"baidu_map", "map", "地图", "Baidu Maps", "https://map.baidu.com/search/{query}",
     "https://map.baidu.com/", U, ""},
    // The drop-down list, in its order.
    {"baidu_zhidao", "answer", "问答", "Baidu Zhidao",
     "https://zhidao.baidu.com/search?ie=gbk&word={query}", "https://zhidao.baidu.com/", G, ""},
    {"youdao_gouwu", "buy", "购物", "JD", "https://search.jd.com/Search?keyword={query}&enc=utf-8",
     "https://www.jd.com/", U, "Youdao's shopping search has closed"},
    {"kuxun", "plane", "机票", "Baidu (flights)",
     "https://www.baidu.com/s?ie=utf-8&wd={query}%20%E6%9C%BA%E7%A5%A8",
     "https://flights.ctrip.com/", U, "Kuxun's flight search has closed"},
    {"cheyisou", "car", "汽车", "Autohome", "https://sou.autohome.com.cn/zonghe?q={query}",
     "https://www.autohome.com.cn/", G, "Cheyisou's car search has closed"},
    {"sina", "stock", "股票", "Sina Finance",
     "https://biz.finance.sina.com.cn/suggest/lookup_n.php?country=stock&q={query}",
     "https://finance.sina.com.cn/stock/", G, ""},
    {"baidu_tieba", "tieba", "贴吧", "Baidu Tieba",
     "https://tieba.baidu.com/f/search/res?ie=utf-8&qw={query}", "https://tieba.baidu.com/", U,
     ""},
    {"gougou_soft", "sofeware", "软件", "Baidu (software)",
     "https://www.baidu.com/s?ie=utf-8&wd={query}%20%E8%BD%AF%E4%BB%B6%E4%B8%8B%E8%BD%BD",
     "https://pc.qq.com/", U, "Gougou's software search has closed"},
    {"sina_t", "Micro-blog", "微博", "Weibo", "https://s.weibo.com/weibo?q={query}",
     "https://weibo.com/", U, ""},
    {"baidu_blog", "blog", "博客", "Sogou WeChat articles",
     "https://weixin.sogou.com/weixin?type=2&query={query}", "https://weixin.sogou.com/", U,
     "Baidu's blog search has closed"},
    {"soso_blog", "bbs", "论坛", "Douban groups",
     "https://www.douban.com/group/search?cat=1013&q={query}", "https://www.douban.com/group/",
     U, "Soso has closed"},
    {"gougou_game", "game", "游戏", "Baidu (games)",
     "https://www.baidu.com/s?ie=utf-8&wd={query}%20%E6%B8%B8%E6%88%8F", "https://www.taptap.cn/",
     U, "Gougou's game search has closed"},
    {"yuncheng", "xiaoshuo", "小说", "Qidian", "https://www.qidian.com/search?kw={query}",
     "https://www.qidian.com/", U, "Yuncheng's novel search has closed"},
    {"zhizhen", "book", "图书", "Douban Books",
     "https://search.douban.com/book/subject_search?search_text={query}",
     "https://book.douban.com/", U, "Zhizhen's book search no longer answers"},
    {"258", "shangye", "商业", "1688",
     "https://s.1688.com/selloffer/offer_search.htm?keywords={query}", "https://www.1688.com/",
     G, "258.com offers no public search address"},
    {"ip138", "mobile", "手机号", "ip138",
     "https://www.ip138.com/mobile.asp?mobile={query}&action=mobile", "https://www.ip138.com/",
     G, ""},
}};

}  // namespace

std::span<const Engine> Engines() { return kEngines; }

const Engine* FindEngine(std::string_view selector) {
  for (const Engine& engine : kEngines) {
    if (engine.selector == selector) return &engine;
  }
  return nullptr;
}

std::string ResultsUrl(const Engine& engine, std::string_view utf8Query,
                       std::string_view gbkQuery) {
  const std::string_view t = engine.results;
  const size_t at = t.find(kQueryPlaceholder);
  if (at == std::string_view::npos) return std::string(t);
  std::string url(t.substr(0, at));
  url += PercentEncode(engine.charset == QueryCharset::kGbk ? gbkQuery : utf8Query);
  url += t.substr(at + kQueryPlaceholder.size());
  return url;
}

}  // namespace lumoa::service
