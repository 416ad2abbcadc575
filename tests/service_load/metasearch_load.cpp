// Load on loopback: starts lumoa-metasearch, sends it a fixed number of search requests over a
// fixed number of kept-alive connections (one event loop, one request in flight per
// connection), checks every answer, and reports requests per second, latency percentiles and
// the server's resident memory before and after. Exit status 1 when an answer is wrong, the
// time bound passes, the log misses requests, or memory grew past the allowed noise.
//
// metasearch_load [--requests N] [--connections N] [--seconds LIMIT] [--program PATH]
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <signal.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "service/engine_table.h"

namespace {

using Clock = std::chrono::steady_clock;
using lumoa::service::Engine;
using lumoa::service::Engines;

struct Case {
  std::string request;   // the whole request, kept alive
  std::string location;  // the Location it must get
};

// Every engine with an ASCII query, a GBK one holding an ampersand, and an empty one.
std::vector<Case> Cases() {
  std::vector<Case> cases;
  const std::string utf8 = "AT&T \xE4\xB8\xAD\xE6\x96\x87", gbk = "AT&T \xD6\xD0\xCE\xC4";
  for (const Engine& e : Engines()) {
    const std::string base = "GET /metasearch/msframe.php?search_select=" +
                             std::string(e.selector) + "&hid=" + std::string(e.category) +
                             "&keyword=";
    const std::string tail = " HTTP/1.1\r\nHost: load\r\n\r\n";
    cases.push_back({base + "lumoa" + tail, ResultsUrl(e, "lumoa", "lumoa")});
    cases.push_back({base + "AT%26T%20%D6%D0%CE%C4" + tail, ResultsUrl(e, utf8, gbk)});
    cases.push_back({base + tail, std::string(e.home)});
  }
  return cases;
}

long ResidentKb(pid_t pid) {
  const std::string path = "/proc/" + std::to_string(pid) + "/status";
  FILE* f = std::fopen(path.c_str(), "r");
  if (!f) return -1;
  char line[256];
  long kb = -1;
  while (std::fgets(line, sizeof line, f))
    if (std::sscanf(line, "VmRSS: %ld kB", &kb) == 1) break;
  std::fclose(f);
  return kb;
}

struct Server {
  pid_t pid = -1;
  int port = 0;
  std::atomic<long> logLines{0};
  std::thread drain;
};

// Starts the program on a free port and counts the lines it logs (which also keeps its
// standard error from filling up).
bool StartServer(const std::string& program, Server& s) {
  int fds[2];
  if (pipe(fds) != 0) return false;
  s.pid = fork();
  if (s.pid == 0) {
    dup2(fds[1], 2);
    close(fds[0]);
    close(fds[1]);
    execl(program.c_str(), program.c_str(), "--listen", "127.0.0.1:0", nullptr);
    _exit(127);
  }
  close(fds[1]);
  FILE* err = fdopen(fds[0], "r");
  char line[512];
  const char* marker = "listening on http://127.0.0.1:";
  while (std::fgets(line, sizeof line, err)) {
    if (const char* at = std::strstr(line, marker)) {
      s.port = std::atoi(at + std::strlen(marker));
      break;
    }
  }
  s.drain = std::thread([err, &s] {
    char buf[512];
    while (std::fgets(buf, sizeof buf, err))
      if (std::strstr(buf, "\"GET ")) ++s.logLines;
    std::fclose(err);
  });
  return s.port > 0;
}

struct Conn {
  int fd = -1;
  size_t caseIndex = 0;
  std::string in;
  size_t sent = 0;
  Clock::time_point start;
};

int Connect(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
  const int one = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<uint16_t>(port));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 && errno != EINPROGRESS) {
    close(fd);
    return -1;
  }
  return fd;
}

// Parses one whole answer at the front of in: its length, or 0 while incomplete.
size_t AnswerLength(const std::string& in, int* status, std::string* location, bool* closes) {
  const size_t headEnd = in.find("\r\n\r\n");
  if (headEnd == std::string::npos) return 0;
  const std::string head = in.substr(0, headEnd + 2);
  *status = head.rfind("HTTP/1.1 ", 0) == 0 ? std::atoi(head.c_str() + 9) : 0;
  size_t length = 0;
  if (const size_t at = head.find("\r\nContent-Length: "); at != std::string::npos)
    length = std::strtoul(head.c_str() + at + 18, nullptr, 10);
  if (const size_t at = head.find("\r\nLocation: "); at != std::string::npos) {
    const size_t begin = at + 12;
    *location = head.substr(begin, head.find("\r\n", begin) - begin);
  }
  *closes = head.find("\r\nConnection: close\r\n") != std::string::npos;
  const size_t total = headEnd + 4 + length;
  return in.size() >= total ? total : 0;
}

}  // namespace

int main(int argc, char** argv) {
  long requests = 20000, connections = 50, seconds = 60;
  std::string program = LUMOA_METASEARCH_PATH;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string a = argv[i];
    if (a == "--requests") requests = std::atol(argv[i + 1]);
    else if (a == "--connections") connections = std::atol(argv[i + 1]);
    else if (a == "--seconds") seconds = std::atol(argv[i + 1]);
    else if (a == "--program") program = argv[i + 1];
  }
  signal(SIGPIPE, SIG_IGN);
  Server server;
  if (!StartServer(program, server)) {
    std::fprintf(stderr, "metasearch_load: %s did not start\n", program.c_str());
    return 1;
  }
  const std::vector<Case> cases = Cases();
  const long rssStart = ResidentKb(server.pid);

  // One round of `count` requests; latencies in microseconds. False on a wrong answer or when
  // the deadline passes.
  auto round = [&](long count, std::vector<double>* latencies, double* elapsed) {
    const int ep = epoll_create1(0);
    std::vector<Conn> conns(static_cast<size_t>(std::min(connections, count)));
    long issued = 0, done = 0, wrong = 0;
    auto issue = [&](Conn& c) {
      c.caseIndex = static_cast<size_t>(issued++) % cases.size();
      c.sent = 0;
      c.in.clear();
      c.start = Clock::now();
      epoll_event ev{EPOLLIN | EPOLLOUT, {.ptr = &c}};
      epoll_ctl(ep, EPOLL_CTL_MOD, c.fd, &ev);
    };
    auto open = [&](Conn& c) {
      c.fd = Connect(server.port);
      epoll_event ev{EPOLLIN | EPOLLOUT, {.ptr = &c}};
      epoll_ctl(ep, EPOLL_CTL_ADD, c.fd, &ev);
    };
    for (Conn& c : conns) {
      open(c);
      issue(c);
    }
    const Clock::time_point begin = Clock::now();
    const Clock::time_point deadline = begin + std::chrono::seconds(seconds);
    epoll_event events[64];
    while (done < count && Clock::now() < deadline) {
      const int n = epoll_wait(ep, events, 64, 100);
      for (int i = 0; i < n; ++i) {
        Conn& c = *static_cast<Conn*>(events[i].data.ptr);
        const Case& k = cases[c.caseIndex];
        if ((events[i].events & EPOLLOUT) && c.sent < k.request.size()) {
          const ssize_t w = send(c.fd, k.request.data() + c.sent, k.request.size() - c.sent,
                                 MSG_NOSIGNAL);
          if (w > 0) c.sent += static_cast<size_t>(w);
          if (c.sent == k.request.size()) {
            epoll_event ev{EPOLLIN, {.ptr = &c}};
            epoll_ctl(ep, EPOLL_CTL_MOD, c.fd, &ev);
          }
        }
        if (!(events[i].events & (EPOLLIN | EPOLLHUP | EPOLLERR))) continue;
        char buf[8192];
        ssize_t r;
        while ((r = recv(c.fd, buf, sizeof buf, 0)) > 0) c.in.append(buf, static_cast<size_t>(r));
        int status = 0;
        std::string location;
        bool closes = false;
        const size_t length = AnswerLength(c.in, &status, &location, &closes);
        if (length == 0 && r != 0) continue;  // more to come
        if (length == 0 || status != 302 || location != k.location) {
          if (++wrong <= 5)
            std::fprintf(stderr, "wrong answer (%d, %s) to %s\n", status, location.c_str(),
                         k.request.substr(0, k.request.find(" HTTP")).c_str());
        }
        latencies->push_back(
            std::chrono::duration<double, std::micro>(Clock::now() - c.start).count());
        ++done;
        if (closes || r == 0 || length == 0) {
          epoll_ctl(ep, EPOLL_CTL_DEL, c.fd, nullptr);
          close(c.fd);
          open(c);
        }
        if (issued < count) {
          issue(c);
        } else {
          epoll_ctl(ep, EPOLL_CTL_DEL, c.fd, nullptr);
        }
      }
    }
    *elapsed = std::chrono::duration<double>(Clock::now() - begin).count();
    for (Conn& c : conns) close(c.fd);
    close(ep);
    return done == count && wrong == 0;
  };

  std::vector<double> warm, lat;
  double warmSeconds = 0, elapsed = 0;
  bool ok = round(2000, &warm, &warmSeconds);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  const long rssBefore = ResidentKb(server.pid);
  ok = round(requests, &lat, &elapsed) && ok;
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  const long rssAfter = ResidentKb(server.pid);

  kill(server.pid, SIGTERM);
  int status = 0;
  waitpid(server.pid, &status, 0);
  server.drain.join();
  const bool cleanExit = WIFEXITED(status) && WEXITSTATUS(status) == 0;

  std::sort(lat.begin(), lat.end());
  auto pct = [&](double p) {
    return lat.empty() ? 0.0 : lat[std::min(lat.size() - 1, static_cast<size_t>(p * lat.size()))];
  };
  const long expectedLines = 2000 + requests;
  std::printf("requests %zu of %ld over %ld connections, %s\n", lat.size(), requests,
              connections, ok ? "every answer correct" : "WRONG OR MISSING ANSWERS");
  std::printf("time %.3f s, %.0f requests/s\n", elapsed, static_cast<double>(lat.size()) / elapsed);
  std::printf("latency p50 %.0f us, p99 %.0f us, max %.0f us\n", pct(0.50), pct(0.99),
              lat.empty() ? 0.0 : lat.back());
  std::printf("resident memory: %ld kB at start, %ld kB before, %ld kB after (%+ld kB)\n",
              rssStart, rssBefore, rssAfter, rssAfter - rssBefore);
  std::printf("log lines %ld of %ld; exit on SIGTERM %s\n", server.logLines.load(),
              expectedLines, cleanExit ? "0" : "NOT CLEAN");
  // Allocator arenas and thread stacks settle in the warm-up; what is left is noise.
#ifdef LUMOA_SANITIZED
  const bool memoryFlat = true;
#else
  const bool memoryFlat = rssAfter - rssBefore < 2048;
#endif
  if (!memoryFlat) std::printf("resident memory grew\n");
  return ok && cleanExit && memoryFlat && server.logLines == expectedLines ? 0 : 1;
}
