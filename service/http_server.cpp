#include "service/http_server.h"

#include <httplib.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "service/guarded_stream.h"
#include "service/responder.h"

namespace lumoa::service {
namespace {

using Clock = GuardedStream::Clock;

// The connection a worker thread is serving: the library's handlers reach it through here,
// since they see only the request and the response.
struct Connection {
  GuardedStream stream;
  bool close = false;  // the answer just given ends the connection
};
thread_local Connection* tConnection = nullptr;

// A request target for the log: printable ASCII as is, anything else as \xHH, cut short.
std::string LogSafe(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  constexpr size_t kMax = 1024;
  std::string out;
  for (const char ch : text.substr(0, kMax)) {
    const auto c = static_cast<unsigned char>(ch);
    if (c >= 0x21 && c < 0x7F && c != '"' && c != '\\') {
      out += ch;
      continue;
    }
    out += "\\x";
    out += kHex[c >> 4];
    out += kHex[c & 0x0F];
  }
  if (text.size() > kMax) out += "...";
  return out;
}

std::string UtcNow() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  tm t{};
  gmtime_r(&ts.tv_sec, &t);
  char s[80];
  std::snprintf(s, sizeof s, "%04d-%02d-%02dT%02d:%02d:%02d.%03ldZ", t.tm_year + 1900,
                t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec, ts.tv_nsec / 1000000);
  return s;
}

// time remote "METHOD target" status duration [forwarded-for]
std::string LogLine(const std::string& remote, std::string_view forwarded,
                    std::string_view method, std::string_view target, int status,
                    Clock::time_point start) {
  const double ms =
      std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  char tail[64];
  std::snprintf(tail, sizeof tail, "\" %d %.2fms", status, ms);
  std::string line = UtcNow() + " " + (remote.empty() ? "-" : remote) + " \"" +
                     (method.empty() ? "-" : LogSafe(method)) + " " +
                     (target.empty() ? "-" : LogSafe(target)) + tail;
  if (!forwarded.empty()) line += " for=" + LogSafe(forwarded);
  return line;
}

void Apply(const Answer& answer, httplib::Response& res) {
  res.status = answer.status;
  for (const auto& [name, value] : answer.headers) res.set_header(name.c_str(), value);
  if (!answer.body.empty()) res.set_content(answer.body, answer.contentType.c_str());
  if (answer.close) {
    res.set_header("Connection", "close");
    if (tConnection) tConnection->close = true;
  }
}

// The library serves each connection on one of its worker threads; this server replaces
// that loop so that every read goes through the guarded stream.
class Server final : public httplib::Server {
 public:
  Server(const ServerOptions& options, const LogSink& log) : options_(options), log_(log) {}

  // The library listens with a backlog of five; a burst of connections would then wait for
  // SYN retransmits. Listening again on the bound socket only widens the queue.
  void WidenBacklog() { ::listen(svr_sock_, SOMAXCONN); }

  // What the library's stop() does, without its check that the accept loop already runs: a
  // stop that comes before Run then still ends it at once.
  void CloseListening() {
    const socket_t sock = svr_sock_.exchange(INVALID_SOCKET);
    if (sock == INVALID_SOCKET) return;
    ::shutdown(sock, SHUT_RDWR);
    ::close(sock);
  }

 private:
  bool process_and_close_socket(socket_t sock) override {
    const GuardedStream::Limits limits{options_.requestTimeout, options_.idleTimeout,
                                       options_.maxRequestBytes};
    // The library writes an answer's head and body separately; without this the body would
    // wait for the client's delayed acknowledgement of the head.
    const int one = 1;
    ::setsockopt(sock, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    Connection c{GuardedStream(sock, limits, svr_sock_)};
    tConnection = &c;
    for (int served = 0; served < options_.maxRequestsPerConnection; ++served) {
      if (!c.stream.WaitForRequest(options_.idleTimeout)) break;
      c.stream.BeginRequest();
      c.close = false;
      bool clientCloses = false;
      const bool last = served + 1 == options_.maxRequestsPerConnection;
      if (!process_request(c.stream, last, clientCloses, {})) {
        AnswerUnread(c);
        break;
      }
      if (c.close) {
        c.stream.DrainBeforeClose();
        break;
      }
      if (clientCloses) break;
    }
    tConnection = nullptr;
    ::close(sock);
    return true;
  }

  // The library gives up without a word when the request line itself cannot be read; say why
  // when the client sent something.
  void AnswerUnread(Connection& c) {
    if (c.stream.BytesWritten() > 0 || c.stream.BytesRead() == 0) return;
    int status;
    switch (c.stream.failure()) {
      case GuardedStream::Failure::kTimeout: status = 408; break;
      case GuardedStream::Failure::kTooLarge: status = 414; break;
      case GuardedStream::Failure::kStopping: status = 503; break;
      default: return;  // the client went away
    }
    const Answer a = TransportError(status);
    std::string head = "HTTP/1.1 " + std::to_string(a.status) + " " +
                       std::string(StatusText(a.status)) + "\r\nContent-Type: " +
                       a.contentType + "\r\nContent-Length: " + std::to_string(a.body.size()) +
                       "\r\nConnection: close\r\n\r\n";
    if (c.stream.write(head.data(), head.size()) > 0)
      c.stream.write(a.body.data(), a.body.size());
    std::string ip;
    int port = 0;
    c.stream.get_remote_ip_and_port(ip, port);
    log_(LogLine(ip, {}, {}, {}, a.status, c.stream.RequestStart()));
    c.stream.DrainBeforeClose();
  }

  const ServerOptions& options_;
  const LogSink& log_;
};

}  // namespace

LogSink StandardErrorLog() {
  return [](const std::string& line) {
    const std::string withEnd = line + "\n";
    std::fputs(withEnd.c_str(), stderr);
  };
}

class MetasearchServer::Impl {
 public:
  Impl(ServerOptions options, LogSink log)
      : options_(std::move(options)), log_(std::move(log)), server_(options_, log_) {
    const int threads = options_.threads;
    // The library owns and deletes the queue it is given.
    server_.new_task_queue = [threads] {
      return new httplib::ThreadPool(static_cast<size_t>(threads));
    };
    // The library's default adds SO_REUSEPORT, which would let a second instance share the
    // port and take half of its connections; a taken port must be an error instead.
    server_.set_socket_options([](socket_t sock) {
      const int yes = 1;
      ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    // Only what the Keep-Alive header announces: the serving loop above keeps the limits.
    server_.set_keep_alive_max_count(static_cast<size_t>(options_.maxRequestsPerConnection));
    server_.set_keep_alive_timeout(
        std::chrono::ceil<std::chrono::seconds>(options_.idleTimeout).count());
    server_.set_pre_routing_handler([](const httplib::Request& req, httplib::Response& res) {
      Apply(Respond(req.method, req.target), res);
      return httplib::Server::HandlerResponse::Handled;
    });
    // Errors the library found itself arrive without a body.
    server_.set_error_handler(httplib::Server::HandlerWithResponse(
        [](const httplib::Request&, httplib::Response& res) {
          if (!res.body.empty()) return httplib::Server::HandlerResponse::Handled;
          int status = res.status;
          // A header the library could not read: the stream knows whether time or room ran
          // out. Its other refusals (414 and the like) stand.
          if (tConnection && status == 400) {
            switch (tConnection->stream.failure()) {
              case GuardedStream::Failure::kTimeout: status = 408; break;
              case GuardedStream::Failure::kTooLarge:
                status = tConnection->stream.ReadLineEnd() ? 431 : 414;
                break;
              case GuardedStream::Failure::kStopping: status = 503; break;
              default: break;
            }
          }
          Apply(TransportError(status), res);
          return httplib::Server::HandlerResponse::Handled;
        }));
    server_.set_logger([this](const httplib::Request& req, const httplib::Response& res) {
      const Clock::time_point start =
          tConnection ? tConnection->stream.RequestStart() : Clock::now();
      // A request line that did not parse leaves the request without its peer.
      std::string remote = req.remote_addr;
      int port = 0;
      if (remote.empty() && tConnection) tConnection->stream.get_remote_ip_and_port(remote, port);
      log_(LogLine(remote, req.get_header_value("X-Forwarded-For"), req.method,
                   req.target, res.status, start));
    });
  }

  bool Bind(std::string* error) {
    errno = 0;
    if (options_.port == 0) {
      port_ = server_.bind_to_any_port(options_.host);
    } else {
      port_ = server_.bind_to_port(options_.host, options_.port) ? options_.port : -1;
    }
    if (port_ <= 0) {
      if (error) {
        *error = "cannot listen on " + options_.host + ":" + std::to_string(options_.port);
        if (errno != 0) *error += std::string(": ") + std::strerror(errno);
      }
      return false;
    }
    server_.WidenBacklog();
    return true;
  }

  int port() const { return port_; }
  bool Run() { return server_.listen_after_bind(); }
  void Stop() { server_.CloseListening(); }

 private:
  ServerOptions options_;
  LogSink log_;
  Server server_;
  int port_ = -1;
};

MetasearchServer::MetasearchServer(ServerOptions options, LogSink log)
    : impl_(std::make_unique<Impl>(std::move(options), std::move(log))) {}
MetasearchServer::~MetasearchServer() = default;
bool MetasearchServer::Bind(std::string* error) { return impl_->Bind(error); }
int MetasearchServer::port() const { return impl_->port(); }
bool MetasearchServer::Run() { return impl_->Run(); }
void MetasearchServer::Stop() { impl_->Stop(); }

}  // namespace lumoa::service
