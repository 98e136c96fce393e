#include "maintenance/handler_timing.h"

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <sstream>

namespace orvane {
namespace {

// The helper's own exit codes; anything else is the code of the exception that ended it.
constexpr std::uint32_t kProbeDone = 0;
constexpr std::uint32_t kProbeUsage = 2;
constexpr std::uint32_t kProbeStepFailed = 3;

int Rank(TTimingState state) {
  switch (state) {
    case TTimingState::Crashed:
    case TTimingState::TimedOut:
      return 0;
    case TTimingState::Measured:
      return 1;
    default:
      return 2;
  }
}

std::string Milliseconds(double ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f ms", ms);
  return text;
}

}  // namespace

void ParseProbeOutput(const std::string& output, THandlerTiming& timing) {
  std::istringstream lines(output);
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream words(line);
    std::string step;
    words >> step;
    if (step == "failed") {
      std::string what, code;
      words >> what >> code;
      timing.Detail = what + " failed (" + code + ")";
      continue;
    }
    long long micros = -1;
    if (!(words >> micros) || micros < 0) continue;
    const double ms = static_cast<double>(micros) / 1000.0;
    if (step == "created") timing.CreateMs = ms;
    if (step == "initialized") timing.InitializeMs = ms;
    if (step == "queried") timing.QueryMs = ms;
  }
}

THandlerTiming MeasureHandler(const THandlerToMeasure& handler, IProcessRunner& runner,
                              const THandlerProbes& probes) {
  THandlerTiming timing;
  const std::string& probe = handler.Is64Bit ? probes.Probe64 : probes.Probe32;
  if (probe.empty()) {
    timing.Detail = handler.Is64Bit ? "no 64-bit helper" : "no 32-bit helper";
    return timing;
  }
  // Quotes are not part of a path, so the sample cannot break out of its argument.
  std::string sample = handler.Sample;
  sample.erase(std::remove(sample.begin(), sample.end(), '"'), sample.end());
  // A backslash before the closing quote would escape it ("C:\" is a drive's root).
  if (!sample.empty() && sample.back() == '\\') sample += '\\';
  const TProcessResult result =
      runner.Run(probe, handler.ClassId + " \"" + sample + "\"", probes.TimeoutMs);
  ParseProbeOutput(result.Output, timing);
  switch (result.End) {
    case TProcessResult::TEnd::NotStarted:
      timing.State = TTimingState::Failed;
      timing.Detail = result.Output;
      break;
    case TProcessResult::TEnd::TimedOut:
      timing.State = TTimingState::TimedOut;
      break;
    case TProcessResult::TEnd::Exited:
      if (result.ExitCode == kProbeDone && timing.QueryMs) {
        timing.State = TTimingState::Measured;
      } else if (result.ExitCode == kProbeDone || result.ExitCode == kProbeUsage ||
                 result.ExitCode == kProbeStepFailed) {
        timing.State = TTimingState::Failed;
        if (timing.Detail.empty()) timing.Detail = "no report from the helper";
      } else {
        timing.State = TTimingState::Crashed;
        char code[32];
        std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(result.ExitCode));
        timing.Detail = code;
      }
      break;
  }
  return timing;
}

std::vector<THandlerTiming> MeasureHandlers(
    const std::vector<THandlerToMeasure>& entries, IProcessRunner& runner,
    const THandlerProbes& probes,
    const std::function<bool(std::size_t done, std::size_t total)>& progress) {
  std::vector<THandlerTiming> timings;
  timings.reserve(entries.size());
  for (const THandlerToMeasure& entry : entries) {
    timings.push_back(MeasureHandler(entry, runner, probes));
    if (progress && !progress(timings.size(), entries.size())) break;
  }
  return timings;
}

std::string TimingText(const THandlerTiming& timing) {
  switch (timing.State) {
    case TTimingState::Measured:
      return Milliseconds(timing.TotalMs());
    case TTimingState::Crashed:
      return "crashed";
    case TTimingState::TimedOut:
      return "hangs";
    default:
      return "failed";
  }
}

std::string TimingDetails(const THandlerTiming& timing) {
  switch (timing.State) {
    case TTimingState::Measured:
      return Milliseconds(timing.TotalMs()) + " (created in " +
             Milliseconds(timing.CreateMs.value_or(0)) + ", items added in " +
             Milliseconds(timing.QueryMs.value_or(0)) + ")";
    case TTimingState::Crashed:
      return "Crashed the helper program (" + timing.Detail + ")";
    case TTimingState::TimedOut:
      return std::string("Did not answer in time") +
             (timing.CreateMs ? " (created in " + Milliseconds(*timing.CreateMs) + ")" : "");
    default:
      return "Not measured: " + timing.Detail;
  }
}

std::vector<std::size_t> SlowestFirst(const std::vector<THandlerTiming>& timings) {
  std::vector<std::size_t> order(timings.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    const int rankA = Rank(timings[a].State);
    const int rankB = Rank(timings[b].State);
    if (rankA != rankB) return rankA < rankB;
    return timings[a].TotalMs() > timings[b].TotalMs();
  });
  return order;
}

}  // namespace orvane
