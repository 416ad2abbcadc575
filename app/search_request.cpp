#include "app/search_request.h"

#include <array>

#include "app/service_host.h"

namespace lumoa::app {
namespace {

struct Category {
  std::string_view search_select;
  std::string_view hid;
};

struct Tab {
  std::string_view sheetName;
  Category category;
};

// "more" searches the web category: its button is hidden, but Enter still reaches here.
constexpr std::array<Tab, 6> kTabs{{
    {"web", {"baidu", "web"}},
    {"news", {"baidu_news", "news"}},
    {"mp3", {"xiami", "mp3"}},
    {"video", {"tudou", "video"}},
    {"map", {"baidu_map", "map"}},
    {"more", {"baidu", "web"}},
}};

// In the drop-down's item order. The spellings are the service's vocabulary.
constexpr std::array<Category, 15> kListCategories{{
    {"baidu_zhidao", "answer"},
    {"youdao_gouwu", "buy"},
    {"kuxun", "plane"},
    {"cheyisou", "car"},
    {"sina", "stock"},
    {"baidu_tieba", "tieba"},
    {"gougou_soft", "sofeware"},
    {"sina_t", "Micro-blog"},
    {"baidu_blog", "blog"},
    {"soso_blog", "bbs"},
    {"gougou_game", "game"},
    {"yuncheng", "xiaoshuo"},
    {"zhizhen", "book"},
    {"258", "shangye"},
    {"ip138", "mobile"},
}};

bool IsUnreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~';
}

SearchRequest RequestFor(const Category& category, const AnsiString& query) {
  return {AnsiString(category.search_select), AnsiString(category.hid), query};
}

}  // namespace

AnsiString ServicePrefix() {
  return AnsiString("http://") + kServiceHost + "/metasearch/msframe.php?search_select=";
}

AnsiString PercentEncode(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  AnsiString out;
  out.reserve(bytes.size() * 3);
  for (const char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if (IsUnreserved(c)) {
      out += ch;
      continue;
    }
    out += '%';
    out += kHex[c >> 4];
    out += kHex[c & 0x0F];
  }
  return out;
}

AnsiString BuildSearchUrl(const SearchRequest& request) {
  // The selector and category are fixed vocabulary; only the typed keyword needs encoding,
  // otherwise "&", "#" or "=" in it would cut the query or inject parameters.
  return ServicePrefix() + request.search_select + "&hid=" + request.hid + "&keyword=" +
         PercentEncode(request.keyword);
}

AnsiString BuildForTab(const AnsiString& sheetName, const AnsiString& query) {
  for (const Tab& tab : kTabs) {
    if (tab.sheetName == sheetName) return BuildSearchUrl(RequestFor(tab.category, query));
  }
  return {};
}

AnsiString BuildForListCategory(int itemIndex, const AnsiString& query) {
  if (itemIndex < 0 || itemIndex >= static_cast<int>(kListCategories.size()))
    return BuildSearchUrl({{}, {}, query});
  return BuildSearchUrl(RequestFor(kListCategories[static_cast<size_t>(itemIndex)], query));
}

}  // namespace lumoa::app
