#pragma once
// How long context menu handlers take to appear: each one is created, initialized on a
// sample object and asked for its items by a helper program of the handler's bitness,
// in a process of its own, so that a handler that crashes or hangs takes only the
// helper with it.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/process_runner.h"

namespace orvane {

struct THandlerToMeasure {
  std::string ClassId;  // "{...}"
  bool Is64Bit = false;
  std::string Sample;   // a file or folder of a type the handler is registered for
};

enum class TTimingState {
  Measured,
  Crashed,   // the helper died inside the handler
  TimedOut,  // the helper was killed at the time limit
  Failed,    // the handler could not be created or refused; Detail says why
};

struct THandlerTiming {
  TTimingState State = TTimingState::Failed;
  // Milliseconds; each is known once the helper got past that step.
  std::optional<double> CreateMs;
  std::optional<double> InitializeMs;
  std::optional<double> QueryMs;
  std::string Detail;

  // Creation and QueryContextMenu together: what the right click waits for.
  double TotalMs() const { return CreateMs.value_or(0) + QueryMs.value_or(0); }
};

// Where the helpers are and how long each may take.
struct THandlerProbes {
  std::string Probe32;  // may be empty where there is none
  std::string Probe64;
  std::uint32_t TimeoutMs = 5000;
};

// The helper's report, one line a step: "created MICROSECONDS", "initialized ...",
// "queried MICROSECONDS ITEMS", or "failed STEP HRESULT". Parsed into `timing`.
void ParseProbeOutput(const std::string& output, THandlerTiming& timing);

THandlerTiming MeasureHandler(const THandlerToMeasure& handler, IProcessRunner& runner,
                              const THandlerProbes& probes);

// Measures each entry in turn; `progress` (may be empty) hears each one done and may
// stop the run by answering false. The results are in the order of `entries`, as far as
// the run got.
std::vector<THandlerTiming> MeasureHandlers(
    const std::vector<THandlerToMeasure>& entries, IProcessRunner& runner,
    const THandlerProbes& probes,
    const std::function<bool(std::size_t done, std::size_t total)>& progress);

// The list's column: "12.3 ms", "crashed", "hangs" or "failed".
std::string TimingText(const THandlerTiming& timing);
// The details line: the time with its steps, or what went wrong.
std::string TimingDetails(const THandlerTiming& timing);

// Indices of `timings` with the slowest first; crashed and timed-out handlers before all
// measured ones, failures last.
std::vector<std::size_t> SlowestFirst(const std::vector<THandlerTiming>& timings);

}  // namespace orvane
