#pragma once
// What every benchmark program shares: timing one run, the suffix that the Wine runs give
// their figure names ("--suffix=_wine"), and figures that hold on a busy machine: the
// sides of a comparison timed in rounds, one run of each side per round, so that whatever
// disturbs the machine meets every side alike; a figure is the median over the rounds,
// a ratio the median of the rounds' own quotients, and the line after it gives the
// lowest and highest round ("spread NAME LOW..HIGH over N rounds").

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace orvane::bench {

template <class F>
double Seconds(F&& f) {
  const auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The value of "--NAME=VALUE" among the arguments, or `fallback`.
inline std::string Argument(int argc, char** argv, const char* name, std::string fallback = {}) {
  const std::string prefix = std::string("--") + name + "=";
  for (int i = 1; i < argc; ++i)
    if (std::strncmp(argv[i], prefix.c_str(), prefix.size()) == 0) return argv[i] + prefix.size();
  return fallback;
}

// One figure's values, one a round.
struct TSamples {
  std::vector<double> Values;

  double Median() const {
    if (Values.empty()) return 0;
    std::vector<double> sorted = Values;
    std::sort(sorted.begin(), sorted.end());
    const size_t n = sorted.size();
    return n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
  }
  double Low() const {
    return Values.empty() ? 0 : *std::min_element(Values.begin(), Values.end());
  }
  double High() const {
    return Values.empty() ? 0 : *std::max_element(Values.begin(), Values.end());
  }
};

// Runs every side once a round, in the order given, for `rounds` rounds. A side returns
// what it measured, negative when it failed; false then, after no further rounds.
inline bool Interleave(int rounds,
                       const std::vector<std::pair<TSamples*, std::function<double()>>>& sides) {
  for (int round = 0; round < rounds; ++round) {
    for (const auto& [samples, run] : sides) {
      const double value = run();
      if (value < 0) return false;
      samples->Values.push_back(value);
    }
  }
  return true;
}

// Each round's quotient of `a` over `b`: a ratio taken within a round compares sides that
// met the same machine.
inline TSamples Ratios(const TSamples& a, const TSamples& b) {
  TSamples ratios;
  for (size_t i = 0; i < a.Values.size() && i < b.Values.size(); ++i)
    ratios.Values.push_back(b.Values[i] > 0 ? a.Values[i] / b.Values[i] : 0);
  return ratios;
}

inline void PrintSpread(const std::string& name, const TSamples& samples) {
  std::printf("spread %s %.3f..%.3f over %zu rounds\n", name.c_str(), samples.Low(), samples.High(),
              samples.Values.size());
}

// "ratio NAME MEDIAN" and its spread.
inline void PrintRatio(const std::string& name, const TSamples& ratios) {
  std::printf("ratio %s %.3f\n", name.c_str(), ratios.Median());
  PrintSpread(name, ratios);
}

// "value NAME MEDIAN UNIT" and its spread.
inline void PrintValue(const std::string& name, const TSamples& values, const char* unit) {
  std::printf("value %s %.3f %s\n", name.c_str(), values.Median(), unit);
  PrintSpread(name, values);
}

}  // namespace orvane::bench
