// lumoa-metasearch: serves until SIGTERM or SIGINT, then stops accepting, lets the requests
// in progress finish and exits 0.
#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "service/gbk.h"
#include "service/http_server.h"
#include "service/options.h"

int main(int argc, char** argv) {
  using namespace lumoa::service;
  std::string error;
  const std::optional<CommandLine> cl =
      ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), &error);
  if (!cl) {
    std::fprintf(stderr, "lumoa-metasearch: %s\n%s", error.c_str(), Usage().c_str());
    return 2;
  }
  if (cl->help) {
    std::fputs(Usage().c_str(), stdout);
    return 0;
  }
  if (!GbkAvailable()) {
    std::fputs("lumoa-metasearch: the C library has no GBK (CP936) converter\n", stderr);
    return 1;
  }

  // The signals are taken by one thread with sigwait; every other thread, the server's
  // workers included, inherits the mask and never sees them.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  signal(SIGPIPE, SIG_IGN);

  const LogSink log = StandardErrorLog();
  MetasearchServer server(cl->server, log);
  if (!server.Bind(&error)) {
    std::fprintf(stderr, "lumoa-metasearch: %s\n", error.c_str());
    return 1;
  }
  const std::string host = cl->server.host.find(':') == std::string::npos
                               ? cl->server.host
                               : "[" + cl->server.host + "]";
  log("lumoa-metasearch listening on http://" + host + ":" + std::to_string(server.port()));

  std::atomic<bool> finished{false};
  std::thread waiter([&] {
    int sig = 0;
    sigwait(&stopSignals, &sig);
    if (finished) return;
    log(std::string("lumoa-metasearch stopping (") + (sig == SIGINT ? "SIGINT" : "SIGTERM") + ")");
    server.Stop();
  });
  const bool ok = server.Run();
  // Run also ends when the listening socket fails; the waiter is then woken for nothing.
  finished = true;
  pthread_kill(waiter.native_handle(), SIGTERM);
  waiter.join();
  log(ok ? "lumoa-metasearch stopped" : "lumoa-metasearch: the listening socket failed");
  return ok ? 0 : 1;
}
