#pragma once

#include <string>
#include <string_view>

// The service's few HTML pages (UTF-8).
namespace lumoa::service {

// "/": names the service, how to ask it, and every category with its engine.
std::string HomePage();

// A refused search: the reason, then the selectors the service knows.
std::string SelectorListPage(std::string_view reason);

// Any other error: status line and one sentence.
std::string ErrorPage(int status, std::string_view statusText, std::string_view detail);

// The body of a redirect, for clients that do not follow Location.
std::string RedirectPage(std::string_view url);

// Text for HTML: & < > " escaped.
std::string HtmlEscape(std::string_view text);

}  // namespace lumoa::service
