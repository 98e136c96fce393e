#include "app/handler_measure_run.h"

#include <utility>

#include "controls/application.h"

namespace orvane {

THandlerMeasureRun::THandlerMeasureRun(std::vector<THandlerToMeasure> entries,
                                       IProcessRunner& runner, THandlerProbes probes,
                                       TResult onResult, TDone onDone)
    : shared_(std::make_shared<TShared>()) {
  thread_ = std::thread([shared = shared_, entries = std::move(entries), &runner,
                         probes = std::move(probes), onResult = std::move(onResult),
                         onDone = std::move(onDone)] {
    std::size_t index = 0;
    for (; index < entries.size() && !shared->Stop; ++index) {
      THandlerTiming timing;
      try {
        timing = MeasureHandler(entries[index], runner, probes);
      } catch (const std::exception& error) {
        timing.Detail = error.what();
      }
      Application().Post([shared, onResult, index, timing] {
        if (shared->Listening) onResult(index, timing);
      });
    }
    const bool stopped = index < entries.size();
    Application().Post([shared, onDone, stopped] {
      if (shared->Listening) onDone(stopped);
    });
  });
}

THandlerMeasureRun::~THandlerMeasureRun() {
  shared_->Listening = false;
  shared_->Stop = true;
  if (thread_.joinable()) thread_.join();
}

}  // namespace orvane
