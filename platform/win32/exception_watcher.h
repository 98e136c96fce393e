#pragma once
// The exception watcher: sees every system exception (a vectored handler, before any
// frame's handler runs) and every C++ exception at its throw (the runtime's __cxa_throw,
// wrapped at link time: the i686 runtime raises no system exception for a throw), keeps a
// snapshot of the latest one with its processor context, and walks the stack of that
// moment with the system's debug help library. One watcher per process: it holds the
// one registration with the system for as long as it lives.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "services/error_report.h"

namespace orvane {

// A snapshot of one exception.
struct TclExceptionInformation {
  CONTEXT Context{};
  EXCEPTION_RECORD Record{};
  bool Language = false;  // a C++ exception: ClassName and Message say which
  std::string ClassName;
  std::string Message;

  TExceptionDescription Description() const;
};

// The debug help library's stack walker; its symbol handler lives as long as it does.
// Names come from the debug help library, else from the program's symbol table.
class TclDbgHelpStackTracer {
public:
  explicit TclDbgHelpStackTracer(std::string symbolTableFile);
  ~TclDbgHelpStackTracer();
  TclDbgHelpStackTracer(const TclDbgHelpStackTracer&) = delete;
  TclDbgHelpStackTracer& operator=(const TclDbgHelpStackTracer&) = delete;

  // At most 100 frames from the context; one frame for the exception's address when the
  // walk finds none.
  TclStackFrames Walk(const TclExceptionInformation& information);

private:
  bool initialized_ = false;
  std::string symbolTableFile_;
  bool tableRead_ = false;
  TSymbolTable table_;
};

class TclExceptWatcher {
public:
  // Raised on the thread that made the watcher, inside the watcher's lock, for each
  // exception that passed the throttle; an exception a handler raises is swallowed.
  std::function<void(TclExceptWatcher&, const TclExceptionInformation&)> OnException;
  std::function<void(TclExceptWatcher&, const TclExceptionInformation&)> OnSystemException;
  // An exception that no frame handled, about to end the process (the system's
  // unhandled-exception filter, which the watcher installs and restores).
  std::function<void(TclExceptWatcher&, const EXCEPTION_RECORD&)> OnUnhandled;

  // `symbolTableFile`: the program's own table of names (TSymbolTable), or empty.
  explicit TclExceptWatcher(std::string symbolTableFile);
  ~TclExceptWatcher();
  TclExceptWatcher(const TclExceptWatcher&) = delete;
  TclExceptWatcher& operator=(const TclExceptWatcher&) = delete;

  // Notifications come only while active.
  void SetActive(bool value) { active_ = value; }
  bool Active() const { return active_; }

  const TclExceptionInformation* LastInformation() const { return last_.get(); }
  TclDbgHelpStackTracer& Tracer();
  // A fault: a listed C++ class, or a listed code with a frame in the program's module.
  bool IsWatched(const TclExceptionInformation& information);

  // Writes the exception and its stack to the debugger output, one call a line.
  void DebuggerOutput(const TclExceptionInformation& information, const TclStackFrames& frames);

  // The notifications; public for the system's handlers in the watcher's source.
  void Notify(const EXCEPTION_RECORD& record, const CONTEXT& context, bool language,
              std::string className, std::string message) noexcept;
  void NotifyUnhandled(const EXCEPTION_RECORD& record) noexcept;

private:
  void Handle(std::unique_ptr<TclExceptionInformation> information);

  CRITICAL_SECTION lock_;
  PVOID handler_ = nullptr;
  LPTOP_LEVEL_EXCEPTION_FILTER previousFilter_ = nullptr;
  DWORD thread_ = 0;
  bool active_ = false;
  TExceptionThrottle throttle_;
  std::unique_ptr<TclExceptionInformation> last_;
  std::string symbolTableFile_;
  std::unique_ptr<TclDbgHelpStackTracer> tracer_;
};

}  // namespace orvane
