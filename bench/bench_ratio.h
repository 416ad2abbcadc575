// Ratio lines for scripts/bench: after the benchmarks ran, each figure is printed as
//   ratio <figure> <measured> <reference> <ratio> <limit>
// with times in milliseconds. The reference is either another benchmark of the same run (its
// mean time) or a fixed budget.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace lumoa::bench {

// A console reporter (without colours, so that the ratio lines stand alone) that also
// remembers each run's CPU time per iteration in ms, or its manual time where the benchmark
// measures its own; with repetitions, a benchmark's figure is the median of its runs. CPU
// time keeps the ratios steady on a machine that others load.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  RatioReporter() : ConsoleReporter(OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
      const bool manual = run.run_name.time_type == "manual_time";
      const double t = manual ? run.GetAdjustedRealTime() : run.GetAdjustedCPUTime();
      ms_[run.benchmark_name()].push_back(t / benchmark::GetTimeUnitMultiplier(run.time_unit) *
                                          1e3);
    }
  }
  bool Has(const std::string& name) const { return ms_.count(name) != 0; }
  double Ms(const std::string& name) const {
    const auto it = ms_.find(name);
    if (it == ms_.end()) return 0;
    std::vector<double> v = it->second;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
  }

 private:
  std::map<std::string, std::vector<double>> ms_;
};

inline void PrintRatio(const char* figure, double measured, double reference, double limit) {
  const double ratio = reference > 0 ? measured / reference : 0;
  std::printf("ratio %s %.4f %.4f %.3f %.3f\n", figure, measured, reference, ratio, limit);
}

// measured / reference between two benchmarks of the run, when both ran.
inline void PrintRatio(const RatioReporter& r, const char* figure, const std::string& measured,
                       const std::string& reference, double limit) {
  if (!r.Has(measured) || !r.Has(reference)) return;
  PrintRatio(figure, r.Ms(measured), r.Ms(reference), limit);
}

// measured against a fixed budget in ms (the ratio must stay under 1).
inline void PrintBudget(const RatioReporter& r, const char* figure, const std::string& measured,
                        double budgetMs) {
  if (!r.Has(measured)) return;
  PrintRatio(figure, r.Ms(measured), budgetMs, 1.0);
}

}  // namespace lumoa::bench
