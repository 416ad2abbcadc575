#include "app/browser_launcher.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace lumoa::app {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::vector<AnsiString>>;

TEST(BrowserCommandLinesTest, FallsBackToXdgOpen) {
  EXPECT_EQ(BrowserCommandLines("", "http://h/x"), (Lines{{"xdg-open", "http://h/x"}}));
  EXPECT_EQ(BrowserCommandLines(" : \t::", "u"), (Lines{{"xdg-open", "u"}}));
  // xdg-open insists on a target; a blank page stands for "none".
  EXPECT_EQ(BrowserCommandLines("", ""), (Lines{{"xdg-open", "about:blank"}}));
}

TEST(BrowserCommandLinesTest, SplitsCommandsAndPlacesTheUrl) {
  EXPECT_EQ(BrowserCommandLines("a:b --new  -x::c %s --y", "u"),
            (Lines{{"a", "u"}, {"b", "--new", "-x", "u"}, {"c", "u", "--y"}}));
  EXPECT_EQ(BrowserCommandLines("w --url=%s --again=%s", "u"),
            (Lines{{"w", "--url=u", "--again=u"}}));
  // The URL is substituted, never re-split or re-scanned.
  EXPECT_EQ(BrowserCommandLines("w %s", "a b%s:c"), (Lines{{"w", "a b%s:c"}}));
}

TEST(BrowserCommandLinesTest, EmptyUrlOpensWithoutAPage) {
  EXPECT_EQ(BrowserCommandLines("w:v %s --n", ""), (Lines{{"w"}, {"v", "--n"}}));
}

// BROWSER pointed at scripts in a private folder that record their arguments, NUL-separated.
class OpenInBrowserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/lumoa-browser-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    if (const char* old = std::getenv("BROWSER")) saved_ = old;
  }

  void TearDown() override {
    if (saved_)
      setenv("BROWSER", saved_->c_str(), 1);
    else
      unsetenv("BROWSER");
    fs::remove_all(dir_);
  }

  // A script that writes its arguments and its parent's pid to <name>.args.
  std::string Recorder(const std::string& name) {
    const fs::path script = dir_ / name;
    const fs::path out = dir_ / (name + ".args");
    std::ofstream(script) << "#!/bin/sh\n"
                          << "{ echo $PPID; for a in \"$@\"; do printf '%s\\0' \"$a\"; done; } > '"
                          << out.string() << "'.$$\n"
                          << "mv '" << out.string() << "'.$$ '" << out.string() << "'\n";
    fs::permissions(script, fs::perms::owner_all);
    return script.string();
  }

  // The arguments a recorder saw, waiting for it to run; nullopt when it never did.
  std::optional<std::vector<std::string>> Recorded(const std::string& name,
                                                   std::chrono::milliseconds wait) {
    const fs::path out = dir_ / (name + ".args");
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (!fs::exists(out)) {
      if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::ifstream in(out, std::ios::binary);
    std::string ppid;
    std::getline(in, ppid);
    parentPid_ = std::stol(ppid);
    std::vector<std::string> args;
    for (std::string arg; std::getline(in, arg, '\0');) args.push_back(arg);
    return args;
  }

  static void ExpectNoChildren() {
    // Neither a running nor a zombie child of ours is left.
    errno = 0;
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
  }

  fs::path dir_;
  std::optional<std::string> saved_;
  long parentPid_ = 0;
};

constexpr std::chrono::seconds kRunWait{10};

TEST_F(OpenInBrowserTest, PassesTheUrlAsOneUntouchedArgument) {
  const std::string marker = (dir_ / "injected").string();
  const std::string url = "http://h/?q=a b \"c\" 'd' $(x) `y`; touch " + marker + " |&";
  setenv("BROWSER", Recorder("rec").c_str(), 1);

  OpenInBrowser(url);

  EXPECT_EQ(Recorded("rec", kRunWait), (std::vector<std::string>{url}));
  EXPECT_FALSE(fs::exists(marker));
  EXPECT_NE(parentPid_, static_cast<long>(getpid()));  // detached, not our child
  ExpectNoChildren();
}

TEST_F(OpenInBrowserTest, SubstitutesTheUrlIntoTheCommand) {
  setenv("BROWSER", (Recorder("rec") + " --new-window %s --tail").c_str(), 1);
  OpenInBrowser("http://h/x");
  EXPECT_EQ(Recorded("rec", kRunWait),
            (std::vector<std::string>{"--new-window", "http://h/x", "--tail"}));

  fs::remove(dir_ / "rec.args");
  OpenInBrowser("");
  EXPECT_EQ(Recorded("rec", kRunWait), (std::vector<std::string>{"--new-window", "--tail"}));
  ExpectNoChildren();
}

TEST_F(OpenInBrowserTest, FirstStartableCommandWins) {
  const std::string notExecutable = (dir_ / "plain").string();
  std::ofstream(notExecutable) << "#!/bin/sh\n";
  setenv("BROWSER",
         ((dir_ / "missing").string() + ":" + notExecutable + ":" + Recorder("first") + ":" +
          Recorder("second"))
             .c_str(),
         1);

  OpenInBrowser("u");

  EXPECT_EQ(Recorded("first", kRunWait), (std::vector<std::string>{"u"}));
  EXPECT_EQ(Recorded("second", std::chrono::milliseconds(300)), std::nullopt);
  ExpectNoChildren();
}

TEST_F(OpenInBrowserTest, NoStartableCommandRaisesNamingEach) {
  const std::string missing = (dir_ / "no-such-browser").string();
  const std::string notExecutable = (dir_ / "plain").string();
  std::ofstream(notExecutable) << "#!/bin/sh\n";
  setenv("BROWSER", (missing + " --flag:" + notExecutable).c_str(), 1);

  try {
    OpenInBrowser("u");
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_NE(e.Message().find(missing + ": No such file or directory"), std::string::npos)
        << e.Message();
    EXPECT_NE(e.Message().find(notExecutable + ": Permission denied"), std::string::npos)
        << e.Message();
  }
  ExpectNoChildren();

  setenv("BROWSER", "lumoa-no-such-command-on-path", 1);
  EXPECT_THROW(OpenInBrowser("u"), EBrowserError);
  ExpectNoChildren();
}

TEST_F(OpenInBrowserTest, RepeatedOpensLeaveNoZombies) {
  for (int i = 0; i < 5; ++i) {
    setenv("BROWSER", Recorder("rec" + std::to_string(i)).c_str(), 1);
    OpenInBrowser("u");
  }
  ExpectNoChildren();
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(Recorded("rec" + std::to_string(i), kRunWait)) << i;
}

}  // namespace
}  // namespace lumoa::app
