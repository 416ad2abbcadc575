// Loading a shipped skin (inflate, pictures, description, records) against zlib inflating the
// same stream alone: the ratio says how much the skin model adds to the physical floor.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <vector>

#include "skin/data/compressed_skin.h"
#include "skin/data/skin_data.h"
#include "skins/stored_skins.h"
#include "ui/streams.h"

namespace {

std::vector<uint8_t> Compressed(int index) {
  const auto bytes = lumoa::skins::StoredSkin(index);
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  std::vector<uint8_t> compressed;
  if (!ReadStoredFormA(stream, compressed)) throw std::runtime_error("no skin");
  return compressed;
}

size_t InflatedSize(const std::vector<uint8_t>& in) {
  TksCompressedStoredSkin stored(nullptr);
  stored.SetCompressedData(in);
  TMemoryStream out;
  stored.DecompressTo(out);
  return static_cast<size_t>(out.Size());
}

void BM_InflateOnly(benchmark::State& state) {
  const auto in = Compressed(static_cast<int>(state.range(0)));
  std::vector<uint8_t> out(InflatedSize(in));
  for (auto _ : state) {
    uLongf len = out.size();
    if (uncompress(out.data(), &len, in.data(), in.size()) != Z_OK) state.SkipWithError("zlib");
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["inflated_bytes"] = static_cast<double>(out.size());
}

void BM_LoadSkin(benchmark::State& state) {
  TksCompressedStoredSkin stored(nullptr);
  stored.SetCompressedData(Compressed(static_cast<int>(state.range(0))));
  for (auto _ : state) {
    auto data = std::make_unique<TksSkinData>(nullptr);
    data->SetCompressedStoredSkin(&stored);
    if (data->Empty()) state.SkipWithError("skin did not load");
    benchmark::DoNotOptimize(data.get());
  }
}

BENCHMARK(BM_InflateOnly)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadSkin)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("LUMOA_BACKEND", "headless", 0);  // the skin-change broadcast looks for forms
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
