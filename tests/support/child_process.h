#pragma once
// Another program started by a test, waited for to its end within a time limit.

#include <windows.h>

#include <optional>
#include <string>

#include "platform/win32/win32_handles.h"

namespace orvane::testing {

// Runs `commandLine` and returns its exit code; none when it did not start or did not
// end within `timeoutMs` (it is killed then). With `answerWindows` this thread's windows
// are served meanwhile, for a program that asks them for something (the clipboard).
inline std::optional<DWORD> RunToEnd(std::string commandLine, DWORD timeoutMs,
                                     bool answerWindows = false) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return std::nullopt;
  TKernelHandle processHandle(process.hProcess);
  TKernelHandle threadHandle(process.hThread);
  const DWORD start = GetTickCount();
  DWORD waited = WAIT_TIMEOUT;
  if (!answerWindows) {
    waited = WaitForSingleObject(process.hProcess, timeoutMs);
  } else {
    for (DWORD passed = 0; waited != WAIT_OBJECT_0 && passed < timeoutMs;
         passed = GetTickCount() - start) {
      waited = MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, timeoutMs - passed,
                                         QS_ALLINPUT);
      MSG message;
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
      }
    }
  }
  if (waited != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 99);
    return std::nullopt;
  }
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  return code;
}

}  // namespace orvane::testing
