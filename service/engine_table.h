#pragma once

#include <span>
#include <string>
#include <string_view>

// The engines behind the launcher's selectors: where a search of each one lands.
namespace lumoa::service {

// How an engine wants the query bytes it is given.
enum class QueryCharset { kUtf8, kGbk };

// The placeholder every results template holds exactly once.
inline constexpr std::string_view kQueryPlaceholder = "{query}";

struct Engine {
  std::string_view selector;  // search_select as the launcher sends it
  std::string_view category;  // the hid the launcher sends with it
  std::string_view caption;   // the category as the launcher shows it (UTF-8)
  std::string_view name;      // the engine searched, for people
  std::string_view results;   // https URL of the results page, with kQueryPlaceholder
  std::string_view home;      // https URL opened for an empty query
  QueryCharset charset;
  // Empty when the engine the selector names still answers; else why this one stands in.
  std::string_view replaces;
};

// Every selector the launcher can send, each once, in the launcher's order (tabs, then the
// drop-down list).
std::span<const Engine> Engines();

// nullptr for a selector that is not in the table (exact, case-sensitive match).
const Engine* FindEngine(std::string_view selector);

// The results URL for a query: utf8Query and gbkQuery are the same text in both encodings; the
// engine's charset picks one, percent-encoded (unreserved bytes kept, the rest %XX).
std::string ResultsUrl(const Engine& engine, std::string_view utf8Query,
                       std::string_view gbkQuery);

}  // namespace lumoa::service
