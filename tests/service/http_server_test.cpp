// The server on loopback: answers through real sockets, and clients that send too much, too
// slowly or nothing at all.
#include "service/http_server.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "loopback.h"

namespace lumoa::service {
namespace {

using namespace std::chrono_literals;
using test::Loopback;
using test::StatusOf;

using Clock = std::chrono::steady_clock;

const std::string kHealth = "GET /healthz HTTP/1.1\r\nHost: t\r\n\r\n";

class HttpServerTest : public ::testing::Test {
 protected:
  // Short limits, so that the slow cases take a fraction of a second.
  static ServerOptions Quick() {
    ServerOptions o;
    o.host = "127.0.0.1";
    o.port = 0;
    o.threads = 4;
    o.requestTimeout = 600ms;
    o.idleTimeout = 1000ms;
    return o;
  }

  void Start(ServerOptions options = Quick()) {
    server_ = std::make_unique<MetasearchServer>(options, [this](const std::string& line) {
      std::lock_guard<std::mutex> lock(mutex_);
      lines_.push_back(line);
    });
    std::string error;
    ASSERT_TRUE(server_->Bind(&error)) << error;
    port_ = server_->port();
    runner_ = std::thread([this] { ran_ = server_->Run(); });
  }

  void TearDown() override {
    if (!server_) return;
    server_->Stop();
    runner_.join();
    EXPECT_TRUE(ran_);
  }

  std::vector<std::string> Lines() {
    std::lock_guard<std::mutex> lock(mutex_);
    return lines_;
  }
  // The line of an answer is written just after the answer: wait for it.
  std::vector<std::string> WaitLines(size_t count) {
    for (int i = 0; i < 100 && Lines().size() < count; ++i) std::this_thread::sleep_for(10ms);
    return Lines();
  }

  // The server still answers a plain request at once (a worker held elsewhere would make it
  // wait for seconds).
  void ExpectHealthy() {
    httplib::Client client("127.0.0.1", port_);
    client.set_connection_timeout(2);
    const auto start = Clock::now();
    const httplib::Result r = client.Get("/healthz");
    ASSERT_TRUE(r) << "no answer";
    EXPECT_EQ(r->status, 200);
    EXPECT_LT(Clock::now() - start, 1s);
  }

  std::unique_ptr<MetasearchServer> server_;
  std::thread runner_;
  bool ran_ = false;
  int port_ = 0;
  std::mutex mutex_;
  std::vector<std::string> lines_;
};

TEST_F(HttpServerTest, RedirectsOverHttpAndLogsOneLinePerRequest) {
  Start();
  // Read raw: the library's client decodes the Location it receives.
  {
    Loopback c(port_);
    c.Send("GET /metasearch/msframe.php?search_select=baidu_news&hid=news&keyword=AT%26T%20"
           "%D6%D0%CE%C4 HTTP/1.1\r\nHost: t\r\nConnection: close\r\n\r\n");
    const std::string answer = c.ReadAll(2s);
    EXPECT_EQ(StatusOf(answer), 302);
    EXPECT_NE(answer.find("\r\nLocation: "
                          "https://www.baidu.com/s?tn=news&ie=utf-8&word=AT%26T%20%E4%B8%AD%E6%96%87"
                          "\r\n"),
              std::string::npos)
        << answer;
  }
  httplib::Client client("127.0.0.1", port_);
  httplib::Result r = client.Get("/nowhere");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->status, 404);
  r = client.Head("/");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->status, 200);
  EXPECT_TRUE(r->body.empty());

  // A line is written once its answer is out, so a client's next request may be logged first.
  const std::vector<std::string> lines = WaitLines(3);
  ASSERT_EQ(lines.size(), 3u);
  auto logged = [&](const std::string& part) {
    return std::count_if(lines.begin(), lines.end(),
                         [&](const std::string& l) { return l.find(part) != std::string::npos; });
  };
  EXPECT_EQ(logged(" 127.0.0.1 \"GET /metasearch/msframe.php?search_select=baidu_news&"
                   "hid=news&keyword=AT%26T%20%D6%D0%CE%C4\" 302 "),
            1);
  EXPECT_EQ(logged("\"GET /nowhere\" 404 "), 1);
  EXPECT_EQ(logged("\"HEAD /\" 200 "), 1);
}

TEST_F(HttpServerTest, KeepsAConnectionForSeveralRequestsAndClosesAfterARefusal) {
  Start();
  Loopback c(port_);
  ASSERT_TRUE(c.connected());
  // Two pipelined requests, then one the server refuses; it closes after that answer.
  ASSERT_TRUE(c.Send(kHealth + kHealth +
                     "GET /metasearch/msframe.php?search_select=x HTTP/1.1\r\nHost: t\r\n\r\n" +
                     kHealth));
  bool closed = false;
  const std::string all = c.ReadAll(2s, &closed);
  EXPECT_TRUE(closed);
  size_t oks = 0;
  for (size_t at = all.find("HTTP/1.1 200 OK"); at != std::string::npos;
       at = all.find("HTTP/1.1 200 OK", at + 1))
    ++oks;
  EXPECT_EQ(oks, 2u) << all;
  EXPECT_NE(all.find("HTTP/1.1 400 Bad Request"), std::string::npos);
  EXPECT_NE(all.find("Connection: close"), std::string::npos);
}

TEST_F(HttpServerTest, SlowClientsGet408AtTheDeadline) {
  Start();
  // Stops in the middle of the header.
  {
    Loopback c(port_);
    ASSERT_TRUE(c.Send("GET /healthz HTTP/1.1\r\nHost: t\r\n"));
    const auto start = Clock::now();
    bool closed = false;
    const std::string answer = c.ReadAll(3s, &closed);
    EXPECT_EQ(StatusOf(answer), 408) << answer;
    EXPECT_TRUE(closed);
    EXPECT_GT(Clock::now() - start, 400ms);
    EXPECT_LT(Clock::now() - start, 1500ms);
  }
  // Stops in the middle of the request line.
  {
    Loopback c(port_);
    ASSERT_TRUE(c.Send("GET /heal"));
    EXPECT_EQ(StatusOf(c.ReadAll(3s)), 408);
  }
  // Keeps sending, one byte every 50 ms: the deadline holds for the whole request.
  {
    Loopback c(port_);
    const auto start = Clock::now();
    c.Trickle("GET /healthz HTTP/1.1\r\nHost: t\r\nX-Slow: " + std::string(100, 'z') + "\r\n\r\n",
              50ms);
    EXPECT_EQ(StatusOf(c.ReadAll(3s)), 408);
    EXPECT_LT(Clock::now() - start, 1500ms);
  }
  ExpectHealthy();
}

TEST_F(HttpServerTest, SlowClientsDoNotHoldUpOthers) {
  ServerOptions o = Quick();
  o.requestTimeout = 3s;
  Start(o);
  // Three of the four workers wait on stalled requests; the fourth still serves at once.
  std::vector<std::unique_ptr<Loopback>> stalled;
  for (int i = 0; i < 3; ++i) {
    stalled.push_back(std::make_unique<Loopback>(port_));
    ASSERT_TRUE(stalled.back()->Send("GET / HTTP/1.1\r\n"));
  }
  std::this_thread::sleep_for(100ms);
  ExpectHealthy();
}

TEST_F(HttpServerTest, OversizedRequestsAreRefusedAndTheServerGoesOn) {
  Start();
  // A header flood: many short lines, far past the request budget.
  {
    Loopback c(port_);
    std::string flood = "GET /healthz HTTP/1.1\r\nHost: t\r\n";
    for (int i = 0; i < 5000; ++i) flood += "X-Flood-" + std::to_string(i) + ": yes\r\n";
    c.Send(flood + "\r\n");
    bool closed = false;
    const std::string answer = c.ReadAll(3s, &closed);
    EXPECT_EQ(StatusOf(answer), 431) << answer.substr(0, 200);
    EXPECT_TRUE(closed);
  }
  // One header line longer than any the library takes.
  {
    Loopback c(port_);
    c.Send("GET /healthz HTTP/1.1\r\nHost: t\r\nX-Big: " + std::string(9000, 'b') + "\r\n\r\n");
    EXPECT_EQ(StatusOf(c.ReadAll(3s)), 400);
  }
  // A request line past the library's limit, and one past the whole budget.
  for (size_t length : {9000u, 40000u}) {
    Loopback c(port_);
    c.Send("GET /" + std::string(length, 'a') + " HTTP/1.1\r\nHost: t\r\n\r\n");
    EXPECT_EQ(StatusOf(c.ReadAll(3s)), 414) << length;
  }
  // A body on a method the service does not take.
  {
    Loopback c(port_);
    c.Send("POST / HTTP/1.1\r\nHost: t\r\nContent-Length: 100000\r\n\r\n" +
           std::string(20000, 'p'));
    bool closed = false;
    const std::string answer = c.ReadAll(3s, &closed);
    EXPECT_EQ(StatusOf(answer), 405);
    EXPECT_TRUE(closed);
  }
  ExpectHealthy();
}

TEST_F(HttpServerTest, MalformedRequestsGet400) {
  Start();
  for (const std::string& bad : {std::string("garbage\r\n\r\n"),
                                std::string("GET /a b HTTP/1.1\r\nHost: t\r\n\r\n"),
                                std::string("GET / HTTP/9\r\n\r\n"),
                                std::string("\r\n\r\n")}) {
    Loopback c(port_);
    c.Send(bad);
    bool closed = false;
    EXPECT_EQ(StatusOf(c.ReadAll(3s, &closed)), 400) << bad;
    EXPECT_TRUE(closed) << bad;
  }
  // Raw bytes in a path are taken as they are: a path like any other that leads nowhere.
  {
    Loopback c(port_);
    c.Send("GET /\xD6\xD0 HTTP/1.1\r\nHost: t\r\n\r\n");
    EXPECT_EQ(StatusOf(c.ReadAll(1s)), 404);
  }
  // A connection that sends nothing is closed without an answer after the idle time.
  {
    Loopback c(port_);
    bool closed = false;
    EXPECT_EQ(c.ReadAll(3s, &closed), "");
    EXPECT_TRUE(closed);
  }
  ExpectHealthy();
  for (const std::string& line : Lines())
    EXPECT_EQ(line.find(" - \""), std::string::npos) << "no peer in " << line;
}

TEST_F(HttpServerTest, StopEndsRunPromptlyWithConnectionsOpen) {
  ServerOptions o = Quick();
  o.idleTimeout = 30s;
  o.requestTimeout = 30s;
  Start(o);
  Loopback idle(port_), stalled(port_);
  ASSERT_TRUE(stalled.Send("GET / HTTP/1.1\r\n"));
  ExpectHealthy();
  std::this_thread::sleep_for(100ms);
  const auto start = Clock::now();
  server_->Stop();
  runner_.join();
  EXPECT_LT(Clock::now() - start, 1s);
  EXPECT_TRUE(ran_);
  server_.reset();
  // Nothing listens any more.
  Loopback late(port_);
  EXPECT_FALSE(late.connected());
}

TEST(HttpServerLifetimeTest, StopBeforeRunAndABusyAddress) {
  ServerOptions o;
  o.port = 0;
  MetasearchServer first(o, [](const std::string&) {});
  std::string error;
  ASSERT_TRUE(first.Bind(&error)) << error;
  first.Stop();
  const auto start = Clock::now();
  EXPECT_TRUE(first.Run());
  EXPECT_LT(Clock::now() - start, 1s);

  MetasearchServer holder(o, [](const std::string&) {});
  ASSERT_TRUE(holder.Bind(&error));
  o.port = holder.port();
  MetasearchServer second(o, [](const std::string&) {});
  EXPECT_FALSE(second.Bind(&error));
  EXPECT_NE(error.find("cannot listen on 127.0.0.1:" + std::to_string(o.port)), std::string::npos)
      << error;
}

}  // namespace
}  // namespace lumoa::service
