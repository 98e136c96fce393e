#include "platform/win32/process_runner.h"

#include <windows.h>

#include "platform/win32/system_error.h"
#include "platform/win32/win32_handles.h"

namespace orvane {
namespace {

constexpr DWORD kPollMs = 20;

// Takes what the pipe holds now without blocking.
void Drain(HANDLE pipe, std::string& output) {
  DWORD available = 0;
  while (PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
    char buffer[4096];
    DWORD read = 0;
    if (!ReadFile(pipe, buffer, available < sizeof buffer ? available : sizeof buffer, &read,
                  nullptr) ||
        read == 0)
      return;
    output.append(buffer, read);
  }
}

}  // namespace

TProcessResult TWin32ProcessRunner::Run(const std::string& program, const std::string& arguments,
                                        std::uint32_t timeoutMs) {
  TProcessResult result;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) {
    result.Output = SystemErrorMessage(GetLastError());
    return result;
  }
  TKernelHandle reader(readEnd);
  TKernelHandle writer(writeEnd);
  SetHandleInformation(reader.get(), HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nullptr;
  startup.hStdOutput = writer.get();
  startup.hStdError = writer.get();
  std::string commandLine = "\"" + program + "\" " + arguments;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                      CREATE_NO_WINDOW, nullptr, nullptr, &startup, &info)) {
    result.Output = SystemErrorMessage(GetLastError());
    return result;
  }
  TKernelHandle process(info.hProcess);
  TKernelHandle thread(info.hThread);
  // Only the child writes now: its end of the pipe closes with it.
  writer.reset();

  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    Drain(reader.get(), result.Output);
    if (WaitForSingleObject(process.get(), kPollMs) == WAIT_OBJECT_0) break;
    if (GetTickCount64() >= deadline) {
      TerminateProcess(process.get(), 1);
      WaitForSingleObject(process.get(), INFINITE);
      Drain(reader.get(), result.Output);
      result.End = TProcessResult::TEnd::TimedOut;
      return result;
    }
  }
  Drain(reader.get(), result.Output);
  DWORD code = 0;
  GetExitCodeProcess(process.get(), &code);
  result.End = TProcessResult::TEnd::Exited;
  result.ExitCode = code;
  return result;
}

}  // namespace orvane
