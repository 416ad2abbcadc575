// Driving the real launcher on the X server: start it with a browser stand-in that records
// the URLs it is asked to open, click, type and press keys with xdotool. Header-only, so that
// each test binary's LUMOA_BUILD_DIR and LUMOA_LAUNCHER_PATH apply.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "support/x11_test_support.h"

namespace lumoa::x11test {

// Where the standard controls of the stored layout land on screen (window at 285, 211).
constexpr int kLeft = 285, kTop = 211;
constexpr int kTabY = kTop + 12;  // middle of the tab row
// Middle of each tab, in order, as skin 0 lays out the row.
constexpr int kTabX[] = {370, 417, 457, 497, 533, 568, 602};
constexpr int kEditX = kLeft + 72 + 100, kEditY = kTop + 27 + 10;
constexpr int kButtonX = kLeft + 304 + 29, kButtonY = kTop + 28 + 8;
constexpr int kComboX = 615, kComboY = 251;        // the category box on "more"
constexpr int kComboListTop = kTop + 23 + 4 + 21;  // skin 0: 19-pixel rows inside a 3-pixel frame

// The middle of a row of the open category list.
inline int ComboRowY(int row) { return kComboListTop + 3 + row * 19 + 9; }

inline std::string Hex(unsigned long id) {
  char s[32];
  std::snprintf(s, sizeof s, "0x%lx", id);
  return s;
}

inline void Xdo(const std::vector<std::string>& args) {
  std::vector<std::string> argv{"xdotool"};
  argv.insert(argv.end(), args.begin(), args.end());
  RunTool(argv);
}

// A private folder with the browser stand-in; removed with the object.
struct Browser {
  std::filesystem::path dir;
  Browser() {
    char pattern[] = "/tmp/lumoa-x11-browser-XXXXXX";
    if (mkdtemp(pattern)) dir = pattern;
    std::ofstream(dir / "browser") << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '"
                                   << (dir / "urls.txt").string() << "'\n";
    std::filesystem::permissions(dir / "browser", std::filesystem::perms::owner_all);
  }
  ~Browser() { std::filesystem::remove_all(dir); }
  std::string Script() const { return (dir / "browser").string(); }
  // The URLs opened so far, one a line.
  std::vector<std::string> Urls() const {
    std::vector<std::string> urls;
    std::ifstream in(dir / "urls.txt");
    for (std::string line; std::getline(in, line);) urls.push_back(line);
    return urls;
  }
  // Waits until the n-th URL was recorded and returns it ("" when it never came).
  std::string WaitUrl(size_t n, int ms = 5000) const {
    for (int i = 0; i < ms / 20; ++i) {
      const std::vector<std::string> urls = Urls();
      if (urls.size() >= n) return urls[n - 1];
      SleepMs(20);
    }
    return "";
  }
};

struct Launcher {
  std::string err;
  std::unique_ptr<ChildProcess> proc;
  unsigned long window = 0;
  std::vector<std::string> env;  // NAME=value pairs added to the program's environment

  explicit Launcher(const std::string& tag)
      : err(std::string(LUMOA_BUILD_DIR) + "/launcher_" + tag + ".err") {}

  // Starts the program and waits for its window to be on screen and painted.
  bool Start(const Browser& browser) {
    std::vector<std::string> argv{"env", "BROWSER=" + browser.Script()};
    argv.insert(argv.end(), env.begin(), env.end());
    argv.push_back(LUMOA_LAUNCHER_PATH);
    proc = std::make_unique<ChildProcess>(argv, "", err);
    for (int i = 0; i < 250 && !window; ++i) {
      const std::string found =
          RunTool({"xdotool", "search", "--onlyvisible", "--pid", std::to_string(proc->pid())});
      if (!found.empty()) window = std::stoul(found);
      if (!window) SleepMs(20);
    }
    SleepMs(400);  // the first paint follows the map
    return window != 0;
  }
};

// Clicks at a screen point and gives the program time to answer.
inline void ClickAt(int x, int y, int button = 1) {
  Xdo({"mousemove", std::to_string(x), std::to_string(y), "click", std::to_string(button)});
  SleepMs(250);
}

inline void TypeText(const std::string& text) {
  Xdo({"type", "--delay", "30", text});
  SleepMs(200);
}

inline void Key(const std::string& key) {
  Xdo({"key", key});
  SleepMs(200);
}

}  // namespace lumoa::x11test
