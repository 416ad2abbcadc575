// A bare TCP client for the server tests: sends exactly the bytes given, as fast or as slowly
// as asked, and reads whatever comes back.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

namespace lumoa::service::test {

class Loopback {
 public:
  explicit Loopback(int port) {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
  }
  ~Loopback() {
    if (fd_ >= 0) ::close(fd_);
  }
  Loopback(const Loopback&) = delete;
  Loopback& operator=(const Loopback&) = delete;

  bool connected() const { return connected_; }

  // False once the server no longer takes bytes (it answered and closed).
  bool Send(const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::send(fd_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
      if (n <= 0) return false;
      done += static_cast<size_t>(n);
    }
    return true;
  }

  // One byte every `gap` until all are sent or the server stops taking them.
  bool Trickle(const std::string& bytes, std::chrono::milliseconds gap) {
    for (const char c : bytes) {
      if (!Send(std::string(1, c))) return false;
      if (Readable()) return false;  // answered already
      std::this_thread::sleep_for(gap);
    }
    return true;
  }

  bool Readable(int waitMs = 0) {
    pollfd p{fd_, POLLIN, 0};
    return ::poll(&p, 1, waitMs) > 0;
  }

  // Everything until the server closes, or until `limit` passes; *closed tells which.
  std::string ReadAll(std::chrono::milliseconds limit, bool* closed = nullptr) {
    std::string out;
    const auto until = std::chrono::steady_clock::now() + limit;
    bool ended = false;
    while (!ended) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          until - std::chrono::steady_clock::now());
      if (left.count() <= 0 || !Readable(static_cast<int>(left.count()))) break;
      char buf[4096];
      const ssize_t n = ::recv(fd_, buf, sizeof buf, 0);
      if (n <= 0) {
        ended = true;
        break;
      }
      out.append(buf, static_cast<size_t>(n));
    }
    if (closed) *closed = ended;
    return out;
  }

 private:
  int fd_ = -1;
  bool connected_ = false;
};

// The status line's code of a raw answer, 0 when there is none.
inline int StatusOf(const std::string& answer) {
  if (answer.rfind("HTTP/1.1 ", 0) != 0 || answer.size() < 12) return 0;
  return std::stoi(answer.substr(9, 3));
}

}  // namespace lumoa::service::test
