#include "service/guarded_stream.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace lumoa::service {
namespace {

using std::chrono::milliseconds;

// How often a wait looks whether the server is stopping.
constexpr milliseconds kStopCheck{100};

int PollOnce(int fd, short events, milliseconds wait) {
  pollfd p{fd, events, 0};
  const int r = ::poll(&p, 1, static_cast<int>(wait.count()));
  if (r > 0 && (p.revents & (events | POLLHUP | POLLERR))) return 1;
  return r < 0 && errno != EINTR ? -1 : 0;
}

void NameOf(const sockaddr_storage& addr, socklen_t len, std::string& ip, int& port) {
  char host[NI_MAXHOST], serv[NI_MAXSERV];
  if (getnameinfo(reinterpret_cast<const sockaddr*>(&addr), len, host, sizeof host, serv,
                  sizeof serv, NI_NUMERICHOST | NI_NUMERICSERV) != 0)
    return;
  ip = host;
  port = std::atoi(serv);
}

}  // namespace

GuardedStream::GuardedStream(int fd, Limits limits,
                             const std::atomic<socket_t>& listening)
    : fd_(fd), limits_(limits), listening_(listening) {}

bool GuardedStream::Stopping() const { return listening_ == INVALID_SOCKET; }

bool GuardedStream::WaitForRequest(milliseconds idle) {
  if (begin_ < end_) return true;
  const Clock::time_point until = Clock::now() + idle;
  for (;;) {
    if (Stopping()) return false;
    const Clock::time_point now = Clock::now();
    if (now >= until) return false;
    const int r = PollOnce(fd_, POLLIN,
                           std::min(kStopCheck, std::chrono::ceil<milliseconds>(until - now)));
    if (r != 0) return r > 0;
  }
}

void GuardedStream::BeginRequest() {
  start_ = Clock::now();
  deadline_ = start_ + limits_.requestTimeout;
  consumed_ = 0;
  written_ = 0;
  lineEnd_ = false;
  failure_ = Failure::kNone;
}

bool GuardedStream::WaitReadable(Clock::time_point deadline) const {
  for (;;) {
    if (Stopping()) {
      failure_ = Failure::kStopping;
      return false;
    }
    const Clock::time_point now = Clock::now();
    if (now >= deadline) {
      failure_ = Failure::kTimeout;
      return false;
    }
    const int r = PollOnce(fd_, POLLIN,
                           std::min(kStopCheck, std::chrono::ceil<milliseconds>(deadline - now)));
    if (r > 0) return true;
    if (r < 0) {
      failure_ = Failure::kError;
      return false;
    }
  }
}

bool GuardedStream::is_readable() const { return begin_ < end_ || WaitReadable(deadline_); }

bool GuardedStream::is_writable() const {
  return PollOnce(fd_, POLLOUT, limits_.writeTimeout) > 0;
}

ssize_t GuardedStream::read(char* ptr, size_t size) {
  if (consumed_ >= limits_.maxRequestBytes) {
    failure_ = Failure::kTooLarge;
    return -1;
  }
  if (begin_ == end_) {
    if (!WaitReadable(deadline_)) return -1;
    ssize_t got;
    do {
      got = ::recv(fd_, buffer_, sizeof buffer_, 0);
    } while (got < 0 && errno == EINTR);
    if (got < 0) {
      failure_ = Failure::kError;
      return -1;
    }
    if (got == 0) return 0;
    begin_ = 0;
    end_ = static_cast<size_t>(got);
  }
  const size_t n = std::min({size, end_ - begin_, limits_.maxRequestBytes - consumed_});
  std::memcpy(ptr, buffer_ + begin_, n);
  if (!lineEnd_ && std::memchr(buffer_ + begin_, '\n', n)) lineEnd_ = true;
  begin_ += n;
  consumed_ += n;
  return static_cast<ssize_t>(n);
}

ssize_t GuardedStream::write(const char* ptr, size_t size) {
  size_t done = 0;
  while (done < size) {
    if (PollOnce(fd_, POLLOUT, limits_.writeTimeout) <= 0) return -1;
    const ssize_t n = ::send(fd_, ptr + done, size - done, MSG_NOSIGNAL);
    if (n < 0) {
      if (errno == EINTR || errno == EAGAIN) continue;
      return -1;
    }
    done += static_cast<size_t>(n);
  }
  written_ += done;
  return static_cast<ssize_t>(done);
}

void GuardedStream::DrainBeforeClose() {
  ::shutdown(fd_, SHUT_WR);
  // Bounded in time and bytes: a client that keeps sending is cut off all the same.
  const Clock::time_point until = Clock::now() + milliseconds(500);
  size_t dropped = 0;
  while (dropped < 256 * 1024 && Clock::now() < until) {
    if (PollOnce(fd_, POLLIN, milliseconds(50)) <= 0) continue;
    char sink[4096];
    const ssize_t n = ::recv(fd_, sink, sizeof sink, 0);
    if (n <= 0) break;
    dropped += static_cast<size_t>(n);
  }
}

void GuardedStream::get_remote_ip_and_port(std::string& ip, int& port) const {
  sockaddr_storage addr{};
  socklen_t len = sizeof addr;
  if (getpeername(fd_, reinterpret_cast<sockaddr*>(&addr), &len) == 0)
    NameOf(addr, len, ip, port);
}

void GuardedStream::get_local_ip_and_port(std::string& ip, int& port) const {
  sockaddr_storage addr{};
  socklen_t len = sizeof addr;
  if (getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len) == 0)
    NameOf(addr, len, ip, port);
}

}  // namespace lumoa::service
