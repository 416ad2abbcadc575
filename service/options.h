#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "service/http_server.h"

// The command line of lumoa-metasearch.
namespace lumoa::service {

struct CommandLine {
  ServerOptions server;
  bool help = false;
};

// "ADDR:PORT": a name or IPv4 address, or an IPv6 address in brackets ("[::1]:8936"); the
// port 0 to 65535. False for anything else.
bool ParseListenAddress(std::string_view text, std::string* host, int* port);

// The arguments after the program name; nullopt and why in *error when they do not parse.
std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args,
                                            std::string* error);

std::string Usage();

}  // namespace lumoa::service
