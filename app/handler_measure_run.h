#pragma once
// Timing context menu handlers one after another on a thread of its own, so that the
// window stays responsive while helper programs start, work and are killed; each result
// reaches the caller on the message loop's thread.

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "maintenance/handler_timing.h"

namespace orvane {

class THandlerMeasureRun {
public:
  using TResult = std::function<void(std::size_t index, const THandlerTiming& timing)>;
  using TDone = std::function<void(bool stopped)>;

  // Starts at once. `onResult` hears each entry's timing by its index in `entries`, then
  // `onDone` the end; neither is called once the run is destroyed.
  THandlerMeasureRun(std::vector<THandlerToMeasure> entries, IProcessRunner& runner,
                     THandlerProbes probes, TResult onResult, TDone onDone);
  // Stops, and waits for the helper being timed (at most its time limit).
  ~THandlerMeasureRun();
  THandlerMeasureRun(const THandlerMeasureRun&) = delete;
  THandlerMeasureRun& operator=(const THandlerMeasureRun&) = delete;

  // Lets the helper being timed finish, then ends the run.
  void Stop() { shared_->Stop = true; }
  bool Stopping() const { return shared_->Stop; }

private:
  struct TShared {
    std::atomic<bool> Stop{false};
    // Read and written on the loop's thread only.
    bool Listening = true;
  };
  std::shared_ptr<TShared> shared_;
  std::thread thread_;
};

}  // namespace orvane
