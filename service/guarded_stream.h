#pragma once

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <cstddef>

// A connection's socket as the HTTP library reads and writes it, with the limits the library
// itself does not keep: a deadline for the whole request and a byte budget per request.
namespace lumoa::service {

class GuardedStream final : public httplib::Stream {
 public:
  using Clock = std::chrono::steady_clock;

  enum class Failure { kNone, kTimeout, kTooLarge, kStopping, kError };

  struct Limits {
    std::chrono::milliseconds requestTimeout;
    std::chrono::milliseconds writeTimeout;
    size_t maxRequestBytes;
  };

  // listening is the server's listening socket, which turns invalid when the server stops.
  GuardedStream(int fd, Limits limits, const std::atomic<socket_t>& listening);

  // Waits up to idle for the first byte of the next request; false when the peer closed, the
  // wait ran out or the server is stopping.
  bool WaitForRequest(std::chrono::milliseconds idle);
  // Starts the next request: its deadline runs from now, its byte budget is full again.
  void BeginRequest();

  Failure failure() const { return failure_; }
  // A line end was read in this request: what failed was the header, not the request line.
  bool ReadLineEnd() const { return lineEnd_; }
  size_t BytesRead() const { return consumed_; }
  size_t BytesWritten() const { return written_; }
  Clock::time_point RequestStart() const { return start_; }

  // After an answer that closes the connection: stops sending, then reads and drops what
  // the client still sends for a short while, so that closing does not reset the connection
  // before the client has read the answer.
  void DrainBeforeClose();

  bool is_readable() const override;
  bool is_writable() const override;
  ssize_t read(char* ptr, size_t size) override;
  ssize_t write(const char* ptr, size_t size) override;
  void get_remote_ip_and_port(std::string& ip, int& port) const override;
  void get_local_ip_and_port(std::string& ip, int& port) const override;
  socket_t socket() const override { return fd_; }

 private:
  // Polls until the socket is readable before the deadline; records the failure otherwise.
  bool WaitReadable(Clock::time_point deadline) const;
  bool Stopping() const;

  int fd_;
  Limits limits_;
  const std::atomic<socket_t>& listening_;
  char buffer_[4096];
  size_t begin_ = 0, end_ = 0;  // unread bytes of buffer_
  size_t consumed_ = 0;         // of the current request
  size_t written_ = 0;
  bool lineEnd_ = false;
  Clock::time_point start_ = Clock::now();
  Clock::time_point deadline_ = Clock::time_point::max();
  mutable Failure failure_ = Failure::kNone;
};

}  // namespace lumoa::service
