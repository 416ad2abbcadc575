// Loading a shipped skin (inflate, pictures, description, records) against zlib inflating the
// same stream alone into a fresh buffer: the ratio says how much the skin model adds to the
// physical floor. The first load in a fresh process (cold caches, fresh heap) is timed in
// child processes of this program, against a budget of 3 ms.
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/bench_ratio.h"
#include "skin/data/compressed_skin.h"
#include "skin/data/skin_data.h"
#include "skins/stored_skins.h"
#include "ui/streams.h"

namespace {

std::vector<uint8_t> Compressed(int index) {
  const auto bytes = lumoa::skins::StoredSkin(index);
  TConstMemoryStream stream(bytes.data(), static_cast<int64_t>(bytes.size()));
  std::vector<uint8_t> compressed;
  if (!ReadStoredFormA(stream, compressed)) throw std::runtime_error("no skin");
  return compressed;
}

// The inflated size, read from the package the way a reader without a size would find it.
size_t InflatedSize(const std::vector<uint8_t>& in) {
  TksCompressedStoredSkin stored(nullptr);
  stored.SetCompressedData(in);
  TMemoryStream out;
  stored.DecompressTo(out);
  return static_cast<size_t>(out.Size());
}

// zlib alone, into memory fresh from the allocator (not zeroed).
void InflateFresh(const std::vector<uint8_t>& in, size_t size) {
  std::unique_ptr<uint8_t[]> out(new uint8_t[size]);
  uLongf len = size;
  if (uncompress(out.get(), &len, in.data(), in.size()) != Z_OK || len != size) {
    throw std::runtime_error("zlib");
  }
  benchmark::DoNotOptimize(out.get());
}

void LoadSkin(TksCompressedStoredSkin& stored) {
  auto data = std::make_unique<TksSkinData>(nullptr);
  data->SetCompressedStoredSkin(&stored);
  if (data->Empty()) throw std::runtime_error("skin did not load");
  benchmark::DoNotOptimize(data.get());
}

void BM_InflateOnly(benchmark::State& state) {
  const auto in = Compressed(static_cast<int>(state.range(0)));
  const size_t size = InflatedSize(in);
  for (auto _ : state) InflateFresh(in, size);
  state.counters["inflated_bytes"] = static_cast<double>(size);
}

void BM_LoadSkin(benchmark::State& state) {
  TksCompressedStoredSkin stored(nullptr);
  stored.SetCompressedData(Compressed(static_cast<int>(state.range(0))));
  for (auto _ : state) LoadSkin(stored);
}

BENCHMARK(BM_InflateOnly)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadSkin)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// In a child: one first load of skin 0 ("load"), or one first inflate of its stream
// ("inflate:<inflated size>"); its time in ms on standard output.
int Child(const char* what) {
  TksCompressedStoredSkin stored(nullptr);
  stored.SetCompressedData(Compressed(0));
  const bool inflate = std::strncmp(what, "inflate:", 8) == 0;
  const size_t size = inflate ? std::strtoul(what + 8, nullptr, 10) : 0;
  const std::vector<uint8_t> in = stored.CompressedData();
  const auto start = std::chrono::steady_clock::now();
  if (inflate) {
    InflateFresh(in, size);
  } else {
    LoadSkin(stored);
  }
  const double ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::printf("%.4f\n", ms);
  return 0;
}

double RunChild(const char* self, const std::string& what) {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(fds[1], STDOUT_FILENO);
    close(fds[0]);
    execl(self, self, (std::string("--child=") + what).c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  char buf[64] = {};
  const ssize_t n = read(fds[0], buf, sizeof buf - 1);
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  return n > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0 ? std::atof(buf) : -1;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Alternating fresh processes: first load of skin 0, and the first inflate of its stream.
void FirstLoads(const char* self, int runs) {
  std::vector<double> load, inflate;
  const std::string inflateArg = "inflate:" + std::to_string(InflatedSize(Compressed(0)));
  for (int i = 0; i < runs; ++i) {
    load.push_back(RunChild(self, "load"));
    inflate.push_back(RunChild(self, inflateArg));
  }
  const double l = Median(load), z = Median(inflate);
  std::printf("first load of skin 0 in a fresh process: %.3f ms (bare inflate %.3f ms), median of %d\n",
              l, z, runs);
  lumoa::bench::PrintRatio("first_skin_load_ms", l, 3.0, 1.0);
}

}  // namespace

int main(int argc, char** argv) {
  setenv("LUMOA_BACKEND", "headless", 0);  // the skin-change broadcast looks for forms
  int runs = 15;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--child=", 8) == 0) return Child(argv[i] + 8);
    if (std::strncmp(argv[i], "--fresh-runs=", 13) == 0) runs = std::atoi(argv[i] + 13);
  }
  benchmark::Initialize(&argc, argv);
  lumoa::bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  for (int i = 0; i < 3; ++i) {
    const std::string n = std::to_string(i);
    const std::string figure = "skin" + n + "_load_vs_inflate";
    lumoa::bench::PrintRatio(reporter, figure.c_str(), "BM_LoadSkin/" + n, "BM_InflateOnly/" + n,
                             1.3);
  }
  if (runs > 0) FirstLoads("/proc/self/exe", runs);
  return 0;
}
