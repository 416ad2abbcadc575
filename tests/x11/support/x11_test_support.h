// Helpers for tests on a real X server: helper processes (window manager, compositor,
// xdotool), event pumping with deadlines, and reading the screen.
#pragma once

#include <sys/types.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/backend/backend.h"

namespace lumoa::x11test {

using lumoa::platform::Backend;
using lumoa::platform::BackendEvent;
using lumoa::platform::BackendEventType;

// A started program, stopped (SIGTERM, then SIGKILL) when destroyed.
class ChildProcess {
 public:
  // Standard output and error go to the given files (none: /dev/null).
  explicit ChildProcess(const std::vector<std::string>& argv, const std::string& outPath = "",
                        const std::string& errPath = "");
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  pid_t pid() const { return pid_; }
  bool Running();
  void Stop();
  // Waits up to timeoutMs for the process to end by itself; its exit status or -1.
  int WaitExit(int timeoutMs);

 private:
  pid_t pid_ = -1;
  int status_ = -1;
};

// The whole content of a file ("" when missing).
std::string ReadFile(const std::string& path);

// Runs a command to completion (bounded by timeoutMs) and returns its standard output;
// exitCode is -1 when it had to be killed.
std::string RunTool(const std::vector<std::string>& argv, int* exitCode = nullptr,
                int timeoutMs = 10000);

// True when some client owns the named selection on the display ($DISPLAY).
bool SelectionOwned(const std::string& selection);

// Starts openbox / xcompmgr and waits until they own WM_S0 / _NET_WM_CM_S0.
std::unique_ptr<ChildProcess> StartWindowManager();
std::unique_ptr<ChildProcess> StartCompositor();
// Stops it and waits until the selection is released.
void StopAndWaitReleased(std::unique_ptr<ChildProcess>& p, const std::string& selection);

// Pumps the back end until pred accepts an event (returns it) or the time runs out.
bool PumpUntil(Backend& b, const std::function<bool(const BackendEvent&)>& pred, int timeoutMs,
               BackendEvent* found = nullptr);
// Pumps for a while, collecting everything.
std::vector<BackendEvent> PumpFor(Backend& b, int ms);

// One pixel of the screen (composed, as shown) as 0xRRGGBB.
uint32_t ScreenPixel(int x, int y);
// Saves the whole screen as a PNG under the build folder and returns the path.
std::string SaveScreenshot(const std::string& name);

// Geometry of a top-level client window as xwininfo reports it.
struct WinInfo {
  int x = -1, y = -1, width = -1, height = -1;
  bool viewable = false;
};
WinInfo QueryWindow(unsigned long xid);

// A window property as stored: the bytes of an 8-bit property, the values of a 32-bit one
// (empty when the window has no such property).
std::string StringProperty(unsigned long xid, const std::string& name);
std::vector<unsigned long> CardinalProperty(unsigned long xid, const std::string& name);

void SleepMs(int ms);

}  // namespace lumoa::x11test
