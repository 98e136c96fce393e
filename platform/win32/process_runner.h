#pragma once
// Helper programs in processes of their own, with a pipe for their output.

#include "platform/process_runner.h"

namespace orvane {

class TWin32ProcessRunner : public IProcessRunner {
public:
  TProcessResult Run(const std::string& program, const std::string& arguments,
                     std::uint32_t timeoutMs) override;
};

}  // namespace orvane
