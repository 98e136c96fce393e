#pragma once
// The single-instance guard: a second copy of the program wakes the first (restoring it
// when minimised, bringing it to the front) and ends without showing anything.

#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/win32_handles.h"

namespace orvane {

class TApplication;

// Names both the mutex and the registered window message: every copy must use the very
// same string to find the first one.
inline constexpr char kInstanceIdentifier[] = "Orvane application by Vantrel";

inline constexpr unsigned kSubclassFailed = 1;
inline constexpr unsigned kMutexFailed = 2;

class TSingleInstance {
public:
  // Runs the guard on the application's hidden window.
  explicit TSingleInstance(TApplication& application,
                           const std::string& identifier = kInstanceIdentifier);
  // Puts the hidden window's procedure back.
  ~TSingleInstance();
  TSingleInstance(const TSingleInstance&) = delete;
  TSingleInstance& operator=(const TSingleInstance&) = delete;

  // Another copy was found and has been woken; this one should end.
  bool AnotherRunning() const { return anotherRunning_; }
  UINT Message() const { return message_; }
  // kSubclassFailed | kMutexFailed.
  unsigned ErrorBits() const { return errorBits_; }
  // The texts of the failed steps, in step order.
  std::vector<std::string> ErrorMessages() const;
  // Shows each failure in a stop box; the program runs on without the guard.
  void ReportErrors() const;

private:
  static LRESULT CALLBACK WakeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  TApplication& application_;
  UINT message_ = 0;
  bool anotherRunning_ = false;
  unsigned errorBits_ = 0;
  WNDPROC previous_ = nullptr;
  TKernelHandle mutex_;
};

// Windows NT before version 5 is refused; the 9x family and NT 5 or later pass.
bool IsOSSupported(unsigned platformId, unsigned majorVersion);

}  // namespace orvane
