#pragma once

#include <string_view>

#include "ui/sysutils.h"

// Search URLs of the metasearch service: a category (tab sheet name or drop-down index) and the
// query text in, the URL out. Pure functions; texts are ANSI (GBK) bytes and stay bytes.
namespace lumoa::app {

// Scheme, host and path up to the value of the first query key.
AnsiString ServicePrefix();

struct SearchRequest {
  AnsiString search_select;  // engine selector the service understands
  AnsiString hid;            // category identifier, echoed to the service
  AnsiString keyword;        // query text as the query box holds it
};

// prefix + search_select + "&hid=" + hid + "&keyword=" + encoded keyword.
AnsiString BuildSearchUrl(const SearchRequest& request);

// RFC 3986 percent-encoding of every byte except the unreserved ones; upper-case hex.
AnsiString PercentEncode(std::string_view bytes);

// Empty string for a sheet name that is not a search category (the close sheet).
AnsiString BuildForTab(const AnsiString& sheetName, const AnsiString& query);

// An index outside the list still yields a URL, with empty selector and category.
AnsiString BuildForListCategory(int itemIndex, const AnsiString& query);

}  // namespace lumoa::app
