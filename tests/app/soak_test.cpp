// A long run of the skinned main form: thousands of searches through every path, then hours of
// virtual time of every timer with the pointer wandering over the controls. Afterwards nothing
// may have piled up: GDI and user objects, file descriptors, child processes, heap.
//
// LUMOA_SOAK_SEARCHES and LUMOA_SOAK_HOURS set the size (CI runs a shorter one).
#include <dirent.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "main_form_fixture.h"

namespace lumoa::app {
namespace {

namespace fs = std::filesystem;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kHeapMeasurable = false;  // the sanitizer's allocator keeps freed memory aside
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kHeapMeasurable = false;
#else
constexpr bool kHeapMeasurable = true;
#endif
#else
constexpr bool kHeapMeasurable = true;
#endif

int EnvInt(const char* name, int fallback) {
  const char* v = std::getenv(name);
  return v && *v ? std::atoi(v) : fallback;
}

struct Counts {
  DWORD gdi = 0, user = 0;
  int fds = 0, children = 0;
  size_t heap = 0;
};

int CountEntries(const char* dir, bool (*keep)(const dirent*)) {
  int n = 0;
  if (DIR* d = opendir(dir)) {
    while (const dirent* e = readdir(d)) n += keep(e) ? 1 : 0;
    closedir(d);
  }
  return n;
}

// Processes whose parent is this one (zombies included).
int CountChildren() {
  static pid_t self;
  self = getpid();
  return CountEntries("/proc", [](const dirent* e) {
    if (e->d_name[0] < '0' || e->d_name[0] > '9') return false;
    std::ifstream stat(std::string("/proc/") + e->d_name + "/stat");
    std::string line;
    std::getline(stat, line);
    const size_t close = line.rfind(')');
    if (close == std::string::npos) return false;
    char state = 0;
    int ppid = 0;
    return std::sscanf(line.c_str() + close + 1, " %c %d", &state, &ppid) == 2 && ppid == self;
  });
}

Counts Measure() {
  Counts c;
  c.gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  c.user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  c.fds = CountEntries("/proc/self/fd", [](const dirent* e) { return e->d_name[0] != '.'; });
  c.children = CountChildren();
  c.heap = mallinfo2().uordblks;
  return c;
}

std::string Describe(const Counts& c) {
  return "gdi " + std::to_string(c.gdi) + ", user " + std::to_string(c.user) + ", fds " +
         std::to_string(c.fds) + ", children " + std::to_string(c.children) + ", heap " +
         std::to_string(c.heap / 1024) + " KiB";
}

class SoakTest : public test::MainFormTest {
 protected:
  // The stand-in appends each URL as a line, so concurrent browsers never lose one.
  std::string AppendingRecorder() {
    const fs::path script = dir_ / "append-browser";
    std::ofstream(script) << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" << Log().string() << "'\n";
    fs::permissions(script, fs::perms::owner_all);
    return script.string();
  }
  fs::path Log() const { return dir_ / "urls.log"; }

  int LoggedUrls() {
    std::ifstream in(Log());
    int n = 0;
    for (std::string line; std::getline(in, line);) n += line.empty() ? 0 : 1;
    return n;
  }

  // Waits for the detached browsers to finish writing.
  void WaitForUrls(int expected) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (LoggedUrls() < expected && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    // The middle processes are reaped at once; give the last browsers time to be adopted.
    for (int i = 0; i < 100 && CountChildren() > 0; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }

  void Step(int ms) {
    hb().AdvanceClock(ms);
    Pump();
  }

  TPoint TabCentre(int index) {
    const TRect r = Form1->ksknpgcntrl->TabRect(index);
    return Point((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }

  // One search through path k of five; returns how many searches it started.
  int Search(int k, int n) {
    switch (k) {
      case 0: {  // typed query, Enter
        ClickAt(Form1->edt2, 20, 8);
        Form1->edt2->SetText("");
        hb().CommitText(u"q" + Utf8ToWide(std::to_string(n).c_str()));
        hb().PressKey(VK_RETURN);
        Pump();
        return 1;
      }
      case 1:  // the search button
        ClickAt(Form1->ksbtn1, 10, 8);
        return 1;
      case 2:  // the query box's button event
        Form1->edt2->OnButtonClick(Form1->edt2);
        Pump();
        return 1;
      case 3: {  // a pick in the drop-down list on the "more" tab
        const TPoint more = TabCentre(5);
        ClickAt(Form1->ksknpgcntrl, more.x, more.y);
        const TRect arrow = Form1->cbb1->ButtonRect();
        ClickAt(Form1->cbb1, (arrow.left + arrow.right) / 2, (arrow.top + arrow.bottom) / 2);
        if (!Form1->cbb1->DroppedDown()) return 0;
        const int row = 1 + n % 10;
        ClickAt(Form1->cbb1, 20, Form1->cbb1->Height() + 3 + 19 * row + 9);
        return 1;
      }
      default: {  // an arrow key on the closed combo box
        Form1->cbb1->SetFocus();
        Pump();
        hb().PressKey(Form1->cbb1->ItemIndex() > 0 ? VK_UP : VK_DOWN);
        Pump();
        const TPoint web = TabCentre(0);
        ClickAt(Form1->ksknpgcntrl, web.x, web.y);
        return 1;
      }
    }
  }

  // Ten seconds of virtual time: the pointer moves to the next place, the hover morphs and
  // glow fades run in 25 ms steps, the rest of the time passes at once (the hint rotates).
  void Wander(int k) {
    const std::vector<std::pair<TControl*, TPoint>> places = {
        {Form1->ksknpgcntrl, TabCentre(1)}, {Form1->ksbtn1, Point(10, 8)},
        {Form1->ksknpgcntrl, TabCentre(3)}, {Form1->edt2, Point(30, 8)},
        {Form1->img1, Point(20, 30)},       {Form1->ksknpgcntrl, TabCentre(6)},
    };
    const auto& [control, at] = places[size_t(k) % places.size()];
    const TPoint p = control->ClientToScreen(at);
    hb().MoveMouse(p.x, p.y);
    Pump();
    for (int i = 0; i < 12; ++i) Step(25);
    if (k % 7 == 6) {
      hb().MoveMouse(900, 700);  // off the window: leave and cool-down timers run
      Pump();
      for (int i = 0; i < 12; ++i) Step(25);
    }
    Step(10000 - 12 * 25 * (k % 7 == 6 ? 2 : 1));
  }

  void Settle() {
    hb().MoveMouse(900, 700);
    Pump();
    for (int i = 0; i < 40; ++i) Step(25);
  }
};

TEST_F(SoakTest, ThousandsOfSearchesAndADayOfTimersLeaveNothingBehind) {
  setenv("BROWSER", AppendingRecorder().c_str(), 1);
  StartForm();
  // Sanitized builds run about twenty times slower: a shorter soak by default.
  const int searches = EnvInt("LUMOA_SOAK_SEARCHES", kHeapMeasurable ? 1000 : 100);
  const int hours = EnvInt("LUMOA_SOAK_HOURS", kHeapMeasurable ? 2 : 1);

  // A first round of everything, so that lazily made resources exist before counting.
  int started = 0;
  for (int k = 0; k < 5; ++k) started += Search(k, k);
  for (int k = 0; k < 7; ++k) Wander(k);
  Settle();
  WaitForUrls(started);
  ASSERT_EQ(LoggedUrls(), started);
  const Counts before = Measure();

  for (int n = 0; n < searches; ++n) started += Search(n % 5, n);
  EXPECT_EQ(started, 5 + searches) << "the drop-down list did not open for a pick";
  WaitForUrls(started);
  EXPECT_EQ(LoggedUrls(), started) << "every search opens exactly one browser";
  const int cycles = hours * 360;
  for (int k = 0; k < cycles; ++k) Wander(k);
  Settle();
  const Counts after = Measure();

  std::printf("soak: %d searches, %d h of virtual time\n  before: %s\n  after:  %s\n", searches, hours,
              Describe(before).c_str(), Describe(after).c_str());
  EXPECT_LE(after.gdi, before.gdi + 4);
  EXPECT_LE(after.user, before.user + 2);
  EXPECT_LE(after.fds, before.fds);
  EXPECT_EQ(after.children, 0);
  if (kHeapMeasurable) {
    EXPECT_LE(after.heap, before.heap + 256 * 1024);
  }
}

}  // namespace
}  // namespace lumoa::app
