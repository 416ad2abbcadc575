#include "support/x11_test_support.h"

// Before Xlib, whose macros (None, Bool ...) collide with gtest's names.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <thread>

namespace lumoa::x11test {

namespace {

uint64_t Now() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<uint64_t>(ts.tv_sec) * 1000 + static_cast<uint64_t>(ts.tv_nsec) / 1000000;
}

pid_t Spawn(const std::vector<std::string>& argv, int outFd, int errFd = -1) {
  const pid_t pid = fork();
  if (pid != 0) return pid;
  const int devnull = open("/dev/null", O_RDWR);
  dup2(devnull, 0);
  dup2(outFd >= 0 ? outFd : devnull, 1);
  dup2(errFd >= 0 ? errFd : devnull, 2);
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  execvp(args[0], args.data());
  _exit(127);
}

std::string FileText(const char* path) {
  std::string text;
  if (FILE* f = std::fopen(path, "rb")) {
    char buf[256];
    const size_t n = std::fread(buf, 1, sizeof buf, f);
    text.assign(buf, n);
    std::fclose(f);
  }
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

// Points every test (and what it starts) at the X server that CTest's fixture started, or
// skips them all with the reason there is none.
class DisplayEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    const std::string display = FileText(LUMOA_X11_SERVER_DIR "/display");
    if (display.rfind("none:", 0) == 0) GTEST_SKIP() << "skipped:" << display.substr(5);
    if (!display.empty()) {
      setenv("DISPLAY", display.c_str(), 1);
    } else if (std::getenv("DISPLAY") == nullptr) {
      GTEST_SKIP() << "skipped: no X display; run these through ctest, which starts one, or set DISPLAY";
    }
  }
};

[[maybe_unused]] ::testing::Environment* const kDisplayEnvironment =
    ::testing::AddGlobalTestEnvironment(new DisplayEnvironment);

}  // namespace

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const std::string& outPath,
                           const std::string& errPath) {
  auto openOut = [](const std::string& path) {
    return path.empty() ? -1 : open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  };
  const int out = openOut(outPath), err = openOut(errPath);
  pid_ = Spawn(argv, out, err);
  if (out >= 0) close(out);
  if (err >= 0) close(err);
}

std::string ReadFile(const std::string& path) {
  std::string data;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return data;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) data.append(buf, n);
  std::fclose(f);
  return data;
}

ChildProcess::~ChildProcess() { Stop(); }

bool ChildProcess::Running() {
  if (pid_ <= 0) return false;
  if (waitpid(pid_, &status_, WNOHANG) == pid_) {
    pid_ = -1;
    return false;
  }
  return true;
}

int ChildProcess::WaitExit(int timeoutMs) {
  const uint64_t end = Now() + static_cast<uint64_t>(timeoutMs);
  while (Running() && Now() < end) SleepMs(10);
  if (pid_ > 0) return -1;
  return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
}

void ChildProcess::Stop() {
  if (!Running()) return;
  kill(pid_, SIGTERM);
  if (WaitExit(2000) == -1 && pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, &status_, 0);
    pid_ = -1;
  }
}

std::string RunTool(const std::vector<std::string>& argv, int* exitCode, int timeoutMs) {
  int fds[2];
  if (pipe(fds) != 0) return {};
  const pid_t pid = Spawn(argv, fds[1]);
  close(fds[1]);
  fcntl(fds[0], F_SETFL, O_NONBLOCK);
  std::string out;
  int status = 0;
  bool done = false;
  const uint64_t end = Now() + static_cast<uint64_t>(timeoutMs);
  while (!done) {
    char buf[4096];
    ssize_t n;
    while ((n = read(fds[0], buf, sizeof buf)) > 0) out.append(buf, static_cast<size_t>(n));
    if (waitpid(pid, &status, WNOHANG) == pid) {
      done = true;
      while ((n = read(fds[0], buf, sizeof buf)) > 0) out.append(buf, static_cast<size_t>(n));
      break;
    }
    if (Now() > end) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      close(fds[0]);
      if (exitCode) *exitCode = -1;
      return out;
    }
    SleepMs(5);
  }
  close(fds[0]);
  if (exitCode) *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return out;
}

bool SelectionOwned(const std::string& selection) {
  Display* dpy = XOpenDisplay(nullptr);
  if (!dpy) return false;
  const Atom a = XInternAtom(dpy, selection.c_str(), False);
  const bool owned = XGetSelectionOwner(dpy, a) != None;
  XCloseDisplay(dpy);
  return owned;
}

namespace {
std::unique_ptr<ChildProcess> StartOwner(const std::vector<std::string>& argv,
                                         const std::string& selection) {
  // A predecessor that is still shutting down can make it give up at once: try again.
  for (int attempt = 0; attempt < 3; ++attempt) {
    auto p = std::make_unique<ChildProcess>(argv);
    const uint64_t end = Now() + 5000;
    while (Now() < end) {
      if (SelectionOwned(selection)) {
        SleepMs(100);  // let it finish setting up after taking the selection
        return p;
      }
      if (!p->Running()) break;
      SleepMs(20);
    }
    SleepMs(200);
  }
  return nullptr;
}
}  // namespace

// A window manager that owns its selection may still drop map requests while it starts up:
// it is ready once it manages (sets WM_STATE on) a probe window.
bool WindowManagerManages() {
  Display* dpy = XOpenDisplay(nullptr);
  if (!dpy) return false;
  const Atom wmState = XInternAtom(dpy, "WM_STATE", False);
  bool managed = false;
  for (int attempt = 0; attempt < 5 && !managed; ++attempt) {
    const Window probe = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, 10, 10, 0, 0, 0);
    XMapWindow(dpy, probe);
    XSync(dpy, False);
    for (int i = 0; i < 50 && !managed; ++i) {
      Atom type = 0;
      int format = 0;
      unsigned long n = 0, after = 0;
      unsigned char* data = nullptr;
      if (XGetWindowProperty(dpy, probe, wmState, 0, 2, False, wmState, &type, &format, &n,
                             &after, &data) == Success && data) {
        managed = n > 0;
        XFree(data);
      }
      if (!managed) SleepMs(10);
    }
    XDestroyWindow(dpy, probe);
    XSync(dpy, False);
  }
  XCloseDisplay(dpy);
  return managed;
}

std::unique_ptr<ChildProcess> StartWindowManager() {
  auto wm = StartOwner({"openbox", "--sm-disable"}, "WM_S0");
  if (wm && !WindowManagerManages()) return nullptr;
  return wm;
}

std::unique_ptr<ChildProcess> StartCompositor() {
  return StartOwner({"xcompmgr"}, "_NET_WM_CM_S0");
}

void StopAndWaitReleased(std::unique_ptr<ChildProcess>& p, const std::string& selection) {
  if (!p) return;
  p->Stop();
  p.reset();
  const uint64_t end = Now() + 3000;
  while (SelectionOwned(selection) && Now() < end) SleepMs(20);
}

bool PumpUntil(Backend& b, const std::function<bool(const BackendEvent&)>& pred, int timeoutMs,
               BackendEvent* found) {
  const uint64_t end = Now() + static_cast<uint64_t>(timeoutMs);
  bool hit = false;
  while (!hit) {
    const uint64_t now = Now();
    if (now >= end) break;
    b.WaitEvents(static_cast<int>(std::min<uint64_t>(end - now, 50)), [&](const BackendEvent& e) {
      if (hit || !pred(e)) return;
      hit = true;
      if (found) *found = e;
    });
  }
  return hit;
}

std::vector<BackendEvent> PumpFor(Backend& b, int ms) {
  std::vector<BackendEvent> all;
  const uint64_t end = Now() + static_cast<uint64_t>(ms);
  for (uint64_t now = Now(); now < end; now = Now()) {
    b.WaitEvents(static_cast<int>(end - now), [&](const BackendEvent& e) { all.push_back(e); });
  }
  return all;
}

namespace {

// Reads the whole property; calls got(format, items, data) when there is one.
template <class Got>
void ReadProperty(unsigned long xid, const std::string& name, Got got) {
  Display* dpy = XOpenDisplay(nullptr);
  if (!dpy) return;
  const Atom atom = XInternAtom(dpy, name.c_str(), False);
  Atom type = 0;
  int format = 0;
  unsigned long n = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(dpy, xid, atom, 0, 1L << 24, False, AnyPropertyType, &type, &format,
                         &n, &after, &data) == Success && data) {
    got(format, n, data);
    XFree(data);
  }
  XCloseDisplay(dpy);
}

}  // namespace

std::string StringProperty(unsigned long xid, const std::string& name) {
  std::string out;
  ReadProperty(xid, name, [&](int format, unsigned long n, const unsigned char* data) {
    if (format == 8) out.assign(reinterpret_cast<const char*>(data), n);
  });
  return out;
}

std::vector<unsigned long> CardinalProperty(unsigned long xid, const std::string& name) {
  std::vector<unsigned long> out;
  ReadProperty(xid, name, [&](int format, unsigned long n, const unsigned char* data) {
    // Format 32 arrives as longs on the client side, sign-extended from the wire's 32 bits.
    if (format != 32) return;
    const auto* v = reinterpret_cast<const unsigned long*>(data);
    for (unsigned long i = 0; i < n; ++i) out.push_back(v[i] & 0xFFFFFFFFul);
  });
  return out;
}

uint32_t ScreenPixel(int x, int y) {
  Display* dpy = XOpenDisplay(nullptr);
  if (!dpy) return 0xFFFFFFFF;
  XImage* img = XGetImage(dpy, DefaultRootWindow(dpy), x, y, 1, 1, AllPlanes, ZPixmap);
  uint32_t v = 0xFFFFFFFF;
  if (img) {
    v = static_cast<uint32_t>(XGetPixel(img, 0, 0)) & 0xFFFFFF;
    XDestroyImage(img);
  }
  XCloseDisplay(dpy);
  return v;
}

std::string SaveScreenshot(const std::string& name) {
  const std::string path = std::string(LUMOA_BUILD_DIR_FOR_SUPPORT) + "/" + name + ".png";
  RunTool({"import", "-window", "root", path});
  std::printf("screenshot: %s\n", path.c_str());
  return path;
}

WinInfo QueryWindow(unsigned long xid) {
  WinInfo info;
  char id[32];
  std::snprintf(id, sizeof id, "0x%lx", xid);
  std::istringstream in(RunTool({"xwininfo", "-id", id}));
  std::string line;
  auto value = [](const std::string& l) { return std::atoi(l.substr(l.find(':') + 1).c_str()); };
  while (std::getline(in, line)) {
    if (line.find("Absolute upper-left X:") != std::string::npos) info.x = value(line);
    if (line.find("Absolute upper-left Y:") != std::string::npos) info.y = value(line);
    if (line.find("  Width:") != std::string::npos) info.width = value(line);
    if (line.find("  Height:") != std::string::npos) info.height = value(line);
    if (line.find("Map State: IsViewable") != std::string::npos) info.viewable = true;
  }
  return info;
}

}  // namespace lumoa::x11test
