#pragma once

#include <optional>
#include <string>
#include <string_view>

// Percent-encoding and the query string of a search request.
namespace lumoa::service {

// Every byte but the unreserved ones (A-Z a-z 0-9 - . _ ~) as %XX, upper-case hex.
std::string PercentEncode(std::string_view bytes);

// %XX escapes to bytes; nullopt when a '%' is not followed by two hex digits. "+" stays "+":
// the launcher encodes its own plus signs, so a bare one is a plus, not a space.
std::optional<std::string> PercentDecode(std::string_view text);

// The raw (still encoded) values of a search request's query string. keyword is the last
// key the launcher sends: its value runs to the end of the query, so an ampersand a client
// left unencoded stays part of the keyword instead of starting a new parameter.
struct SearchQuery {
  std::string_view search_select;
  std::string_view hid;
  std::string_view keyword;
};
SearchQuery SplitSearchQuery(std::string_view query);

}  // namespace lumoa::service
