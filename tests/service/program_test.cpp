// The lumoa-metasearch program: its command line, its log and its stop on SIGTERM.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "service/options.h"

namespace lumoa::service {
namespace {

using namespace std::chrono_literals;

TEST(OptionsTest, ListenAddresses) {
  std::string host;
  int port = -1;
  EXPECT_TRUE(ParseListenAddress("127.0.0.1:8936", &host, &port));
  EXPECT_EQ(host, "127.0.0.1");
  EXPECT_EQ(port, 8936);
  EXPECT_TRUE(ParseListenAddress("[::1]:0", &host, &port));
  EXPECT_EQ(host, "::1");
  EXPECT_EQ(port, 0);
  EXPECT_TRUE(ParseListenAddress("localhost:65535", &host, &port));
  EXPECT_EQ(host, "localhost");
  for (const char* bad : {"127.0.0.1", "127.0.0.1:", ":80", "127.0.0.1:65536", "127.0.0.1:-1",
                          "127.0.0.1:80x", "::1:80", "[::1]", "[]:80", "[::g]:80", ""})
    EXPECT_FALSE(ParseListenAddress(bad, &host, &port)) << bad;
}

TEST(OptionsTest, CommandLine) {
  std::string error;
  std::optional<CommandLine> cl = ParseCommandLine({}, &error);
  ASSERT_TRUE(cl);
  EXPECT_EQ(cl->server.host, "127.0.0.1");  // loopback unless told otherwise
  EXPECT_EQ(cl->server.port, 8936);

  cl = ParseCommandLine({"--listen", "0.0.0.0:80", "--threads", "8", "--request-timeout", "3"},
                        &error);
  ASSERT_TRUE(cl) << error;
  EXPECT_EQ(cl->server.host, "0.0.0.0");
  EXPECT_EQ(cl->server.port, 80);
  EXPECT_EQ(cl->server.threads, 8);
  EXPECT_EQ(cl->server.requestTimeout, 3s);

  for (const std::vector<std::string>& bad :
       std::vector<std::vector<std::string>>{{"--listen"}, {"--listen", "80"},
                                             {"--threads", "0"}, {"--threads", "x"},
                                             {"--request-timeout", "0"}, {"--port", "80"},
                                             {"extra"}}) {
    EXPECT_FALSE(ParseCommandLine(bad, &error)) << bad[0];
    EXPECT_FALSE(error.empty());
  }
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The program with its standard error in a file; killed if a test leaves it running.
struct Program {
  std::string errPath;
  pid_t pid = -1;

  explicit Program(const std::vector<std::string>& args) {
    char pattern[] = "/tmp/lumoa-metasearch-test-XXXXXX";
    const int fd = mkstemp(pattern);
    errPath = pattern;
    pid = fork();
    if (pid == 0) {
      dup2(fd, 2);
      std::vector<char*> argv{const_cast<char*>(LUMOA_METASEARCH_PATH)};
      for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      execv(argv[0], argv.data());
      _exit(127);
    }
    close(fd);
  }
  ~Program() {
    if (pid > 0) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
    unlink(errPath.c_str());
  }

  // Its exit status, -1 when it is still running after the wait.
  int Wait(std::chrono::milliseconds limit) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < until) {
      int status = 0;
      if (waitpid(pid, &status, WNOHANG) == pid) {
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      std::this_thread::sleep_for(10ms);
    }
    return -1;
  }

  // The port from its "listening on" line, 0 when that never came.
  int ListeningPort() {
    const std::string marker = "listening on http://127.0.0.1:";
    for (int i = 0; i < 300; ++i) {
      const std::string err = ReadAll(errPath);
      const size_t at = err.find(marker);
      if (at != std::string::npos && err.find('\n', at) != std::string::npos)
        return std::stoi(err.substr(at + marker.size()));
      std::this_thread::sleep_for(10ms);
    }
    return 0;
  }
};

TEST(ProgramTest, ServesLogsAndStopsCleanlyOnSigterm) {
  Program p({"--listen", "127.0.0.1:0"});
  const int port = p.ListeningPort();
  ASSERT_GT(port, 0) << ReadAll(p.errPath);

  httplib::Client client("127.0.0.1", port);
  const httplib::Result r = client.Get("/metasearch/msframe.php?search_select=ip138&hid=mobile"
                                       "&keyword=13800138000");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->status, 302);
  EXPECT_EQ(r->get_header_value("Location"),
            "https://www.ip138.com/mobile.asp?mobile=13800138000&action=mobile");
  // A connection left open does not delay the stop.
  httplib::Client idle("127.0.0.1", port);
  idle.set_keep_alive(true);
  ASSERT_TRUE(idle.Get("/healthz"));

  ASSERT_EQ(kill(p.pid, SIGTERM), 0);
  EXPECT_EQ(p.Wait(3s), 0);
  const std::string err = ReadAll(p.errPath);
  EXPECT_NE(err.find("\"GET /metasearch/msframe.php?search_select=ip138&hid=mobile&keyword="
                     "13800138000\" 302 "),
            std::string::npos)
      << err;
  EXPECT_NE(err.find("\"GET /healthz\" 200 "), std::string::npos) << err;
  EXPECT_NE(err.find("stopping (SIGTERM)\n"), std::string::npos) << err;
  EXPECT_TRUE(err.ends_with("lumoa-metasearch stopped\n")) << err;
}

TEST(ProgramTest, BadArgumentsAndABusyPortFail) {
  Program bad({"--listen", "nowhere"});
  EXPECT_EQ(bad.Wait(3s), 2);
  EXPECT_NE(ReadAll(bad.errPath).find("--listen takes ADDR:PORT"), std::string::npos);

  Program first({"--listen", "127.0.0.1:0"});
  const int port = first.ListeningPort();
  ASSERT_GT(port, 0);
  Program second({"--listen", "127.0.0.1:" + std::to_string(port)});
  EXPECT_EQ(second.Wait(3s), 1);
  EXPECT_NE(ReadAll(second.errPath).find("cannot listen on 127.0.0.1:" + std::to_string(port)),
            std::string::npos)
      << ReadAll(second.errPath);
}

}  // namespace
}  // namespace lumoa::service
