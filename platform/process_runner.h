#pragma once
// Starting a helper program and waiting for it with a time limit: the program is run in
// a process of its own, so that whatever it loads cannot harm the caller.

#include <cstdint>
#include <string>

namespace orvane {

struct TProcessResult {
  enum class TEnd {
    Exited,      // ExitCode holds its exit code
    TimedOut,    // killed at the time limit
    NotStarted,  // Output holds the reason
  };
  TEnd End = TEnd::NotStarted;
  std::uint32_t ExitCode = 0;
  // What it wrote to its standard output, up to its end.
  std::string Output;
};

class IProcessRunner {
public:
  virtual ~IProcessRunner() = default;
  // Runs `program` with the command line arguments `arguments` (quoted as the program
  // reads them), waits at most `timeoutMs` milliseconds and kills it after that.
  virtual TProcessResult Run(const std::string& program, const std::string& arguments,
                             std::uint32_t timeoutMs) = 0;
};

}  // namespace orvane
