// Painting the launcher's main window on the headless back end, without a compositor (as on a
// plain X server): a full repaint (every control composed off screen and presented) and one
// hover step of the search button (a step of its cross-fade and the repaint it asks for). The
// references are the budgets: 1 ms and 0.2 ms.
//
// --frames=DIR writes the window as it is shown, for each shipped skin, at rest, with the
// search button lit and on the "more" tab, as binary PPM files: two builds that draw the same
// write the same files.
#include <benchmark/benchmark.h>

#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "app/main_form.h"
#include "bench/bench_ratio.h"
#include "platform/backend/headless/headless_backend.h"
#include "platform/user/window.h"

using namespace lumoa;
using lumoa::app::Form1;

namespace {

platform::HeadlessBackend& hb() { return platform::Headless(); }

void Pump() { platform::RunUntilIdle(); }

// The real main form, shown, on a fresh headless back end with layered windows unavailable.
void StartLauncher() {
  platform::user::ResetUserState();
  platform::SetBackend(std::make_unique<platform::HeadlessBackend>());
  hb().SetLayeredAvailable(false);
  Application->Free();
  Screen->Free();
  Application = new TApplication(nullptr);
  Screen = new TScreen(nullptr);
  Application->SetTitle(app::ApplicationTitle());
  Application->CreateForm(Form1);
  Form1->Show();
  Form1->tmr1->SetEnabled(false);  // the rotating hint would repaint the box now and then
  Pump();
}

void StopLauncher() {
  Application->DestroyComponents();
  platform::user::ResetUserState();
}

void MoveTo(TControl* c, int x, int y) {
  const TPoint p = c->ClientToScreen(Point(x, y));
  hb().MoveMouse(p.x, p.y);
  Pump();
}

void FullRepaint() {
  RedrawWindow(Form1->Handle(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void BM_FullRepaint(benchmark::State& state) {
  StartLauncher();
  for (auto _ : state) FullRepaint();
  StopLauncher();
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMicrosecond);

// CPU time of this thread: steady on a machine that others load.
double ThreadSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// One step of the button's cross-fade: its timer fires, the factor moves by a fifth, the
// button is composed and presented. Pointer moves that start a fade in or out are not timed.
void BM_HoverStep(benchmark::State& state) {
  StartLauncher();
  TksSkinButton* button = Form1->ksbtn1;
  bool inside = false;
  for (auto _ : state) {
    if (!button->MorphTimerRunning()) {
      inside = !inside;
      MoveTo(inside ? static_cast<TControl*>(button) : Form1, inside ? button->Width() / 2 : 30,
             inside ? button->Height() / 2 : 5);
    }
    const double start = ThreadSeconds();
    hb().AdvanceClock(20);
    Pump();
    state.SetIterationTime(ThreadSeconds() - start);
  }
  StopLauncher();
}
BENCHMARK(BM_HoverStep)->UseManualTime()->Unit(benchmark::kMicrosecond);

bool WriteFrame(const std::string& path) {
  const platform::NativeId id = platform::NativeWindowOf(Form1->Handle());
  const int w = Form1->Width(), h = Form1->Height();
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  std::fprintf(f, "P6\n%d %d\n255\n", w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const uint32_t p = hb().WindowPixel(id, x, y);
      const unsigned char rgb[3] = {static_cast<unsigned char>(p >> 16),
                                    static_cast<unsigned char>(p >> 8),
                                    static_cast<unsigned char>(p)};
      std::fwrite(rgb, 1, 3, f);
    }
  }
  return std::fclose(f) == 0;
}

int WriteFrames(const std::string& dir) {
  StartLauncher();
  bool ok = true;
  for (int skin = 0; skin < 3; ++skin) {
    Form1->ksSkinData1->SetSkinIndex(skin);
    Pump();
    const std::string base = dir + "/launcher_skin" + std::to_string(skin);
    ok = WriteFrame(base + "_rest.ppm") && ok;
    MoveTo(Form1->ksbtn1, Form1->ksbtn1->Width() / 2, Form1->ksbtn1->Height() / 2);
    for (int i = 0; i < 10; ++i) {
      hb().AdvanceClock(20);
      Pump();
    }
    ok = WriteFrame(base + "_lit.ppm") && ok;
    MoveTo(Form1, 30, 5);
    for (int i = 0; i < 10; ++i) {
      hb().AdvanceClock(20);
      Pump();
    }
    Form1->ksknpgcntrl->SetActivePage(Form1->more);
    Pump();
    ok = WriteFrame(base + "_more.ppm") && ok;
    Form1->ksknpgcntrl->SetActivePage(Form1->web);
    Pump();
  }
  StopLauncher();
  std::printf("frames %s in %s\n", ok ? "written" : "NOT written", dir.c_str());
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  setenv("LUMOA_BACKEND", "headless", 1);
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--frames=", 9) == 0) return WriteFrames(argv[i] + 9);
  }
  benchmark::Initialize(&argc, argv);
  lumoa::bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  lumoa::bench::PrintBudget(reporter, "full_repaint_ms", "BM_FullRepaint", 1.0);
  lumoa::bench::PrintBudget(reporter, "hover_step_ms", "BM_HoverStep/manual_time", 0.2);
  return 0;
}
