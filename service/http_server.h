#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

// The service on the network: an HTTP/1.1 server that answers every request through Respond
// and guards itself against clients that send too much or too slowly.
namespace lumoa::service {

struct ServerOptions {
  std::string host = "127.0.0.1";  // a numeric address or a name to resolve
  int port = 8936;                 // 0: any free port
  int threads = 64;                // connections served at once; more wait their turn
  // The whole request (line, header, any body) must arrive within this time of its first
  // byte, else 408: a client that trickles bytes cannot hold a thread for long.
  std::chrono::milliseconds requestTimeout{10000};
  // An idle kept-alive connection is closed after this.
  std::chrono::milliseconds idleTimeout{5000};
  // Bytes one request may take (line, header and body); beyond it 414 or 431.
  size_t maxRequestBytes = 32 * 1024;
  int maxRequestsPerConnection = 100;
};

// One line per request and one at start and stop, without the newline.
using LogSink = std::function<void(const std::string& line)>;

// Writes each line to standard error in one call, so lines of different threads never mix.
LogSink StandardErrorLog();

class MetasearchServer {
 public:
  MetasearchServer(ServerOptions options, LogSink log);
  ~MetasearchServer();
  MetasearchServer(const MetasearchServer&) = delete;
  MetasearchServer& operator=(const MetasearchServer&) = delete;

  // Opens the listening socket; false (and why in *error) when the address cannot be used.
  bool Bind(std::string* error);
  // The bound port (after Bind).
  int port() const;
  // Serves until Stop; false when the listening socket failed.
  bool Run();
  // Ends Run from any thread: stops accepting, ends idle connections, lets requests in
  // progress finish or fail, and joins the workers before Run returns.
  void Stop();

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace lumoa::service
