#include "app/serving_process_runner.h"

#include <windows.h>

#include "platform/win32/system_error.h"
#include "platform/win32/win32_handles.h"

namespace orvane {
namespace {

// Serves what is due now: sent messages (PeekMessage handles them), repaints; input
// goes, posted messages wait for the message loop.
void ServeWindows() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_INPUT)) {
  }
}

}  // namespace

TProcessResult TServingProcessRunner::Run(const std::string& program, const std::string& arguments,
                                          std::uint32_t timeoutMs) {
  TProcessResult result;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  std::string commandLine = "\"" + program + "\" " + arguments;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                      CREATE_NO_WINDOW, nullptr, nullptr, &startup, &info)) {
    result.Output = SystemErrorMessage(GetLastError());
    return result;
  }
  TKernelHandle process(info.hProcess);
  TKernelHandle thread(info.hThread);
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  HANDLE waitFor = process.get();
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    const DWORD left = now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
    const DWORD woke = MsgWaitForMultipleObjects(1, &waitFor, FALSE, left,
                                                 QS_SENDMESSAGE | QS_PAINT | QS_INPUT);
    if (woke == WAIT_OBJECT_0) break;
    if (woke == WAIT_OBJECT_0 + 1) {
      ServeWindows();
      continue;
    }
    // The limit passed (or the wait itself failed): the tool is stopped.
    TerminateProcess(process.get(), 1);
    WaitForSingleObject(process.get(), 5000);
    result.End = TProcessResult::TEnd::TimedOut;
    return result;
  }
  DWORD code = 0;
  GetExitCodeProcess(process.get(), &code);
  result.End = TProcessResult::TEnd::Exited;
  result.ExitCode = code;
  return result;
}

}  // namespace orvane
