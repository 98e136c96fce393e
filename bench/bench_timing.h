#pragma once
// What every benchmark program shares: timing one run, and the suffix that the Wine runs
// give their figure names ("--suffix=_wine").

#include <chrono>
#include <cstring>
#include <string>

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

}  // namespace orvane::bench
