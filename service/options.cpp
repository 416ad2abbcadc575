#include "service/options.h"

#include <charconv>

namespace lumoa::service {
namespace {

// A decimal number within [low, high], nothing else.
bool ParseNumber(std::string_view text, long low, long high, long* value) {
  if (text.empty()) return false;
  long v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size() || v < low || v > high) return false;
  *value = v;
  return true;
}

}  // namespace

bool ParseListenAddress(std::string_view text, std::string* host, int* port) {
  const size_t colon = text.rfind(':');
  if (colon == std::string_view::npos) return false;
  std::string_view h = text.substr(0, colon);
  long p = 0;
  if (!ParseNumber(text.substr(colon + 1), 0, 65535, &p)) return false;
  if (h.size() >= 2 && h.front() == '[' && h.back() == ']') {
    h = h.substr(1, h.size() - 2);
    if (h.find_first_not_of("0123456789abcdefABCDEF:.") != std::string_view::npos) return false;
  } else if (h.find(':') != std::string_view::npos) {
    return false;  // an IPv6 address needs its brackets
  }
  if (h.empty()) return false;
  *host = std::string(h);
  *port = static_cast<int>(p);
  return true;
}

std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args,
                                            std::string* error) {
  CommandLine cl;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      cl.help = true;
      continue;
    }
    const bool takesValue = arg == "--listen" || arg == "--threads" || arg == "--request-timeout";
    if (!takesValue) {
      *error = "unknown argument: " + arg;
      return std::nullopt;
    }
    if (i + 1 >= args.size()) {
      *error = arg + " needs a value";
      return std::nullopt;
    }
    const std::string& value = args[++i];
    long n = 0;
    if (arg == "--listen") {
      if (!ParseListenAddress(value, &cl.server.host, &cl.server.port)) {
        *error = "--listen takes ADDR:PORT (IPv6 in brackets), not " + value;
        return std::nullopt;
      }
    } else if (arg == "--threads") {
      if (!ParseNumber(value, 1, 1024, &n)) {
        *error = "--threads takes a number from 1 to 1024, not " + value;
        return std::nullopt;
      }
      cl.server.threads = static_cast<int>(n);
    } else {
      if (!ParseNumber(value, 1, 300, &n)) {
        *error = "--request-timeout takes seconds from 1 to 300, not " + value;
        return std::nullopt;
      }
      cl.server.requestTimeout = std::chrono::seconds(n);
    }
  }
  return cl;
}

std::string Usage() {
  return "usage: lumoa-metasearch [--listen ADDR:PORT] [--threads N] [--request-timeout S]\n"
         "Redirects the searches of the Lumoa launcher to the engines' results pages.\n"
         "  --listen ADDR:PORT     address to serve (default 127.0.0.1:8936; IPv6 as "
         "[::1]:8936;\n"
         "                         port 0 picks a free one)\n"
         "  --threads N            connections served at once (default 64)\n"
         "  --request-timeout S    seconds a client has to send a whole request (default "
         "10)\n"
         "Logs one line per request to standard error; stops on SIGTERM or SIGINT.\n";
}

}  // namespace lumoa::service
