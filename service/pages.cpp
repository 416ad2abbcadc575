#include "service/pages.h"

#include "service/engine_table.h"

namespace lumoa::service {
namespace {

std::string Page(std::string_view title, const std::string& content) {
  std::string page =
      "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><title>";
  page += HtmlEscape(title);
  page += "</title></head>\n<body>\n";
  page += content;
  page += "</body></html>\n";
  return page;
}

// One row per selector: category, selector, engine, and what it stands in for.
std::string EngineTable() {
  std::string t =
      "<table>\n<tr><th>category</th><th>hid</th><th>search_select</th><th>engine</th>"
      "<th>query</th></tr>\n";
  for (const Engine& e : Engines()) {
    t += "<tr><td>";
    t += HtmlEscape(e.caption);
    t += "</td><td>";
    t += HtmlEscape(e.category);
    t += "</td><td><code>";
    t += HtmlEscape(e.selector);
    t += "</code></td><td><a href=\"";
    t += HtmlEscape(e.home);
    t += "\">";
    t += HtmlEscape(e.name);
    t += "</a>";
    if (!e.replaces.empty()) {
      t += " (";
      t += HtmlEscape(e.replaces);
      t += ")";
    }
    t += "</td><td>";
    t += e.charset == QueryCharset::kGbk ? "GBK" : "UTF-8";
    t += "</td></tr>\n";
  }
  t += "</table>\n";
  return t;
}

}  // namespace

std::string HtmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string HomePage() {
  return Page("Lumoa metasearch",
              "<h1>Lumoa metasearch</h1>\n"
              "<p>Sends each search of the Lumoa launcher on to the results page of the engine "
              "its category names.</p>\n"
              "<p><code>GET /metasearch/msframe.php?search_select=<i>selector</i>&amp;hid="
              "<i>category</i>&amp;keyword=<i>query</i></code> answers with a redirect; the "
              "query is GBK text, percent-encoded, and an empty one opens the engine's home "
              "page.</p>\n" +
                  EngineTable());
}

std::string SelectorListPage(std::string_view reason) {
  return Page("400 Bad Request", "<h1>400 Bad Request</h1>\n<p>" + HtmlEscape(reason) +
                                     "</p>\n<p>The selectors this service knows:</p>\n" +
                                     EngineTable());
}

std::string ErrorPage(int status, std::string_view statusText, std::string_view detail) {
  const std::string title = std::to_string(status) + " " + std::string(statusText);
  return Page(title, "<h1>" + HtmlEscape(title) + "</h1>\n<p>" + HtmlEscape(detail) + "</p>\n");
}

std::string RedirectPage(std::string_view url) {
  const std::string href = HtmlEscape(url);
  return Page("302 Found", "<p>The results are at <a href=\"" + href + "\">" + href +
                               "</a>.</p>\n");
}

}  // namespace lumoa::service
