#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// What the service answers to one parsed request; no sockets here.
namespace lumoa::service {

// The longest search query accepted, in bytes of its GBK text once percent-decoded.
inline constexpr size_t kMaxQueryBytes = 2048;

struct Answer {
  int status = 200;
  std::string contentType;  // of body; empty when there is none
  std::string body;
  std::vector<std::pair<std::string, std::string>> headers;  // Location, Allow ...
  // Answers after which the connection is not reused (the client may have sent more than the
  // request it meant, or the request was refused).
  bool close = false;
};

// method and target exactly as the request line holds them (target: path, then "?" and the
// query when there is one, still percent-encoded).
Answer Respond(std::string_view method, std::string_view target);

// An error page for a request that could not be read as HTTP: 400 malformed, 408 too slow,
// 414 request line too long, 431 header too large, 500 and 503 the service's own trouble.
Answer TransportError(int status);

// The reason phrase of a status the service answers with.
std::string_view StatusText(int status);

}  // namespace lumoa::service
