#include "service/responder.h"

#include "service/engine_table.h"
#include "service/gbk.h"
#include "service/pages.h"
#include "service/url_text.h"

namespace lumoa::service {
namespace {

constexpr std::string_view kHtml = "text/html; charset=utf-8";
constexpr std::string_view kText = "text/plain; charset=utf-8";
constexpr std::string_view kSearchPath = "/metasearch/msframe.php";

Answer Page(int status, std::string body, bool close = false) {
  Answer a;
  a.status = status;
  a.contentType = kHtml;
  a.body = std::move(body);
  a.close = close;
  return a;
}

Answer Error(int status, std::string_view detail) {
  // Refused requests end the connection: whatever followed them is not trusted to be a
  // request of its own.
  return Page(status, ErrorPage(status, StatusText(status), detail), true);
}

Answer Redirect(std::string url) {
  Answer a;
  a.status = 302;
  a.contentType = kHtml;
  a.body = RedirectPage(url);
  a.headers.emplace_back("Location", std::move(url));
  a.headers.emplace_back("Cache-Control", "no-store");
  return a;
}

Answer Search(std::string_view query) {
  const SearchQuery q = SplitSearchQuery(query);
  // Cheap bound before decoding: an encoded byte takes at most three characters.
  if (q.keyword.size() > 3 * kMaxQueryBytes)
    return Error(413, "The search query is longer than 2048 bytes.");
  const std::optional<std::string> select = PercentDecode(q.search_select);
  const std::optional<std::string> keyword = PercentDecode(q.keyword);
  if (!select || !keyword)
    return Error(400, "The request holds a malformed percent-escape (a '%' not followed by "
                      "two hexadecimal digits).");
  if (keyword->size() > kMaxQueryBytes)
    return Error(413, "The search query is longer than 2048 bytes.");

  const Engine* engine = FindEngine(*select);
  if (!engine) {
    const std::string reason =
        select->empty() ? "The request names no search engine (search_select is empty)."
                        : "search_select names no engine this service knows.";
    return Page(400, SelectorListPage(reason), true);
  }
  if (keyword->empty()) return Redirect(std::string(engine->home));
  const std::optional<std::string> utf8 = GbkToUtf8(*keyword);
  if (!utf8) return Error(400, "The search query is not GBK text.");
  return Redirect(ResultsUrl(*engine, *utf8, *keyword));
}

}  // namespace

std::string_view StatusText(int status) {
  switch (status) {
    case 200: return "OK";
    case 302: return "Found";
    case 400: return "Bad Request";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 408: return "Request Timeout";
    case 413: return "Content Too Large";
    case 414: return "URI Too Long";
    case 431: return "Request Header Fields Too Large";
    case 500: return "Internal Server Error";
    case 503: return "Service Unavailable";
    default: return "Error";
  }
}

Answer Respond(std::string_view method, std::string_view target) {
  if (method != "GET" && method != "HEAD") {
    Answer a = Error(405, "This service answers GET and HEAD only.");
    a.headers.emplace_back("Allow", "GET, HEAD");
    return a;
  }
  const size_t mark = target.find('?');
  const std::string_view path = target.substr(0, mark);
  const std::string_view query =
      mark == std::string_view::npos ? std::string_view() : target.substr(mark + 1);

  if (path == kSearchPath) return Search(query);
  if (path == "/") return Page(200, HomePage());
  if (path == "/healthz") {
    Answer a;
    a.contentType = kText;
    a.body = "ok\n";
    return a;
  }
  return Page(404, ErrorPage(404, StatusText(404), "There is nothing at this address."));
}

Answer TransportError(int status) {
  switch (status) {
    case 408: return Error(408, "The request did not arrive in time.");
    case 414: return Error(414, "The request line is too long.");
    case 431: return Error(431, "The request header is too large.");
    case 500: return Error(500, "The service could not take this connection.");
    case 503: return Error(503, "The service is stopping.");
    default: return Error(400, "The request is not well-formed HTTP.");
  }
}

}  // namespace lumoa::service
