#pragma once
// A helper program run to its end within a limit while this thread's windows keep
// answering: messages sent to them and their repaints are served meanwhile, and what the
// user types or clicks in the meantime is dropped, so that nothing starts a second time
// while the first run is still working. No output is collected.

#include "platform/process_runner.h"

namespace orvane {

class TServingProcessRunner : public IProcessRunner {
public:
  TProcessResult Run(const std::string& program, const std::string& arguments,
                     std::uint32_t timeoutMs) override;
};

}  // namespace orvane
