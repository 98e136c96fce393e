#pragma once
// The exception watcher: sees every system exception (a vectored handler, before any
// frame's handler runs) and every C++ exception at its throw (the runtime's __cxa_throw,
// wrapped at link time: the i686 runtime raises no system exception for a throw), keeps a
// snapshot of the latest one with its processor context, and walks the stack of that
// moment with the system's debug help library. One watcher per process: it holds the
// one registration with the system for as long as it lives.
//
// A stack overflow leaves its thread a few KiB of stack, too little for any of that: the
// thread only copies the exception into storage made with the watcher and waits while the
// watcher's rescue thread, made at the start, handles it in its place.

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/win32/win32_handles.h"
#include "services/error_report.h"

namespace orvane {

// A snapshot of one exception.
struct TclExceptionInformation {
  CONTEXT Context{};
  EXCEPTION_RECORD Record{};
  DWORD ThreadId = 0;     // the thread it happened on
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

  // `symbolTableFile`: the program's own table of names (TSymbolTable), or empty. The
  // thread that makes the watcher is the one whose exceptions it handles (the UI thread);
  // its stack keeps room back for what still runs there at a stack overflow.
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
  // `thread`: the one the exception happened on.
  void Notify(const EXCEPTION_RECORD& record, const CONTEXT& context, DWORD thread, bool language,
              std::string className, std::string message) noexcept;
  void NotifyUnhandled(const EXCEPTION_RECORD& record) noexcept;
  // On the overflowed thread: hands the exception to the rescue thread, which notifies
  // (or, `unhandled`, notifies of the unhandled exception) as if it were that thread, and
  // returns when it is done.
  void RescueStackOverflow(const EXCEPTION_RECORD& record, const CONTEXT& context,
                           bool unhandled) noexcept;

private:
  void Handle(std::unique_ptr<TclExceptionInformation> information);
  static DWORD WINAPI RescueThread(LPVOID watcher);
  DWORD Rescue();  // the watched thread's exit code, when it ended first

  // One stack overflow at a time, filled by the overflowed thread without a call that
  // needs stack.
  struct TRescueRequest {
    CONTEXT Context;
    EXCEPTION_RECORD Record;
    DWORD ThreadId;
    bool Unhandled;
  };

  CRITICAL_SECTION lock_;
  PVOID handler_ = nullptr;
  LPTOP_LEVEL_EXCEPTION_FILTER previousFilter_ = nullptr;
  DWORD thread_ = 0;
  bool active_ = false;
  TExceptionThrottle throttle_;
  std::unique_ptr<TclExceptionInformation> last_;
  std::string symbolTableFile_;
  std::unique_ptr<TclDbgHelpStackTracer> tracer_;
  CRITICAL_SECTION rescueLock_;
  TRescueRequest request_{};
  TKernelHandle requestEvent_;
  TKernelHandle begunEvent_;
  TKernelHandle doneEvent_;
  TKernelHandle watchedThread_;  // the thread that made the watcher, waited for
  std::atomic<bool> stopping_{false};
  TKernelHandle rescueThread_;
  DWORD rescueThreadId_ = 0;
};

}  // namespace orvane
