// A search from the real launcher reaches an engine through the real service: the launcher on
// the X server with the browser stand-in, lumoa-metasearch on loopback, and curl fetching the
// URL the browser was given (connected to the service whatever host the build names).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/search_request.h"
#include "support/launcher_driver.h"
#include "support/x11_test_support.h"

namespace lumoa::x11test {
namespace {

// lumoa-metasearch on a free loopback port; stopped with the object.
struct Service {
  std::string err = std::string(LUMOA_BUILD_DIR) + "/metasearch_e2e.err";
  std::unique_ptr<ChildProcess> proc;
  int port = 0;

  bool Start() {
    proc = std::make_unique<ChildProcess>(
        std::vector<std::string>{LUMOA_METASEARCH_PATH, "--listen", "127.0.0.1:0"}, "", err);
    const std::string marker = "listening on http://127.0.0.1:";
    for (int i = 0; i < 300 && !port; ++i) {
      const std::string log = ReadFile(err);
      const size_t at = log.find(marker);
      if (at != std::string::npos && log.find('\n', at) != std::string::npos)
        port = std::stoi(log.substr(at + marker.size()));
      if (!port) SleepMs(10);
    }
    return port != 0;
  }
};

struct Fetched {
  int status = 0;
  std::string location;
};

// GET url with curl, its connection sent to the service: the status and the Location header
// exactly as the service wrote it.
Fetched Fetch(const std::string& url, int servicePort) {
  const std::string scheme = "http://";
  if (url.rfind(scheme, 0) != 0) return {};
  const std::string authority = url.substr(scheme.size(), url.find('/', scheme.size()) -
                                                              scheme.size());
  const std::string hostPort = authority.find(':') == std::string::npos ? authority + ":80"
                                                                        : authority;
  int exitCode = 0;
  const std::string headers = RunTool(
      {"curl", "-sS", "--max-time", "5", "-o", "/dev/null", "-D", "-", "--connect-to",
       hostPort + ":127.0.0.1:" + std::to_string(servicePort), url},
      &exitCode);
  Fetched f;
  if (exitCode != 0 || headers.rfind("HTTP/1.1 ", 0) != 0) return f;
  f.status = std::stoi(headers.substr(9, 3));
  const std::string key = "\r\nLocation: ";
  const size_t at = headers.find(key);
  if (at != std::string::npos) {
    const size_t begin = at + key.size();
    f.location = headers.substr(begin, headers.find("\r\n", begin) - begin);
  }
  return f;
}

TEST(LauncherServiceTest, SearchesFromTheLauncherRedirectToTheEngines) {
  Service service;
  ASSERT_TRUE(service.Start()) << ReadFile(service.err);
  auto wm = StartWindowManager();
  ASSERT_TRUE(wm) << "openbox did not start";
  Browser browser;
  Launcher app("service");
  ASSERT_TRUE(app.Start(browser)) << ReadFile(app.err);

  // "news", then "AT&T 中文" typed into the box and Enter.
  ClickAt(kTabX[1], kTabY);
  ClickAt(kEditX, kEditY);
  TypeText("AT&T 中文");
  Key("Return");
  const std::string news = browser.WaitUrl(1);
  ASSERT_EQ(news, app::ServicePrefix() + "baidu_news&hid=news&keyword=AT%26T%20%D6%D0%CE%C4");
  Fetched f = Fetch(news, service.port);
  EXPECT_EQ(f.status, 302) << ReadFile(service.err);
  EXPECT_EQ(f.location,
            "https://www.baidu.com/s?tn=news&ie=utf-8&word=AT%26T%20%E4%B8%AD%E6%96%87");

  // A list category of an engine that reads GBK: "股票", the fifth row.
  ClickAt(kTabX[5], kTabY);
  ClickAt(kComboX, kComboY);
  ClickAt(kComboX, ComboRowY(4));
  const std::string stock = browser.WaitUrl(2);
  ASSERT_EQ(stock, app::ServicePrefix() + "sina&hid=stock&keyword=AT%26T%20%D6%D0%CE%C4");
  f = Fetch(stock, service.port);
  EXPECT_EQ(f.status, 302);
  EXPECT_EQ(f.location,
            "https://biz.finance.sina.com.cn/suggest/lookup_n.php?country=stock&"
            "q=AT%26T%20%D6%D0%CE%C4");

  // Both requests are in the service's log.
  const std::string log = ReadFile(service.err);
  EXPECT_NE(log.find("search_select=baidu_news&hid=news&keyword=AT%26T%20%D6%D0%CE%C4\" 302"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("search_select=sina&hid=stock&keyword=AT%26T%20%D6%D0%CE%C4\" 302"),
            std::string::npos)
      << log;
  SaveScreenshot("launcher_service");

  ClickAt(kTabX[6], kTabY);
  EXPECT_EQ(app.proc->WaitExit(3000), 0) << ReadFile(app.err);
  service.proc->Stop();
  StopAndWaitReleased(wm, "WM_S0");
}

}  // namespace
}  // namespace lumoa::x11test
