#include "platform/win32/exception_manager.h"

#include <dbghelp.h>
#include <shlobj.h>

#include "platform/file_system.h"
#include "platform/messages.h"
#include "platform/win32/system_error.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/window_helpers.h"

namespace orvane {
namespace {

std::wstring FolderOf(const std::wstring& file) {
  const std::size_t slash = file.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : file.substr(0, slash + 1);
}

std::wstring WideText(const std::string& text) {
  if (text.empty()) return {};
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0);
  std::wstring wide(length > 0 ? length : 0, L'\0');
  if (length > 0)
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

TLocalTime LocalTimeNow() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond,
          now.wMilliseconds};
}

// Keeps modules that the dump's memory refers to; drops the others' images.
BOOL CALLBACK DumpCallback(PVOID, const PMINIDUMP_CALLBACK_INPUT input,
                           PMINIDUMP_CALLBACK_OUTPUT output) {
  if (!input || !output) return FALSE;
  switch (input->CallbackType) {
    case ModuleCallback:
      if (!(output->ModuleWriteFlags & ModuleReferencedByMemory))
        output->ModuleWriteFlags &= ~ModuleWriteModule;
      return TRUE;
    case ThreadCallback:
    case ThreadExCallback:
    case IncludeThreadCallback:
    case IncludeModuleCallback:
      return TRUE;
    default:
      return FALSE;
  }
}

bool WriteWhole(const std::wstring& file, const std::string& text) {
  TFileHandle handle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle.Valid()) return false;
  DWORD written = 0;
  const bool ok = WriteFile(handle.Get(), text.data(), static_cast<DWORD>(text.size()), &written,
                            nullptr) &&
                  written == text.size();
  return handle.Close() && ok;
}

}  // namespace

std::string AnsiText(const std::wstring& text) {
  if (text.empty()) return {};
  const int length = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string ansi(length > 0 ? length : 0, '\0');
  if (length > 0)
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), ansi.data(),
                        length, nullptr, nullptr);
  return ansi;
}

bool ThxMiniDumpHelper::Write(const std::wstring& dumpFile,
                              const TclExceptionInformation& information,
                              const TclStackFrames& frames, std::uint32_t& result) {
  result = 0;
  CreateDirectoryW(FolderOf(dumpFile).c_str(), nullptr);  // there already, or fails below
  TFileHandle file(CreateFileW(dumpFile.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return false;
  EXCEPTION_RECORD record = information.Record;
  CONTEXT context = information.Context;
  EXCEPTION_POINTERS pointers{&record, &context};
  // The exception's own thread: a stack overflow's dump is written by the rescue thread.
  MINIDUMP_EXCEPTION_INFORMATION exception{
      information.ThreadId ? information.ThreadId : GetCurrentThreadId(), &pointers, FALSE};
  MINIDUMP_CALLBACK_INFORMATION callback{DumpCallback, nullptr};
  if (!MiniDumpWriteDump(GetCurrentProcess(), GetCurrentProcessId(), file.Get(),
                         static_cast<MINIDUMP_TYPE>(MiniDumpScanMemory |
                                                    MiniDumpWithIndirectlyReferencedMemory),
                         &exception, nullptr, &callback))
    result = GetLastError();
  if (!file.Close() && result == 0) result = GetLastError();
  // A text that cannot be written leaves the dump alone.
  WriteWhole(dumpFile + L".txt", DumpText(information.Description(), result, frames));
  return true;
}

ThxExceptionManager::ThxExceptionManager(TclExceptWatcher& watcher,
                                         const std::wstring& programFile,
                                         IFileSystem& fileSystem, IMailSender& mail)
    : watcher_(watcher),
      programFile_(programFile),
      logFolder_(FolderOf(programFile) + L"Logs\\"),
      fileSystem_(fileSystem),
      mail_(mail) {
  watcher_.OnException = [this](TclExceptWatcher& watcher, const TclExceptionInformation& info) {
    if (watcher.IsWatched(info)) Log(info);
  };
  watcher_.OnSystemException = [this](TclExceptWatcher& watcher,
                                      const TclExceptionInformation& info) {
    if (watcher.IsWatched(info)) Log(info);
  };
  watcher_.OnUnhandled = [this](TclExceptWatcher&, const EXCEPTION_RECORD& record) {
    Unhandled(record);
  };
  watcher_.SetActive(true);
}

ThxExceptionManager::~ThxExceptionManager() {
  watcher_.SetActive(false);
  watcher_.OnException = nullptr;
  watcher_.OnSystemException = nullptr;
  watcher_.OnUnhandled = nullptr;
}

std::wstring ThxExceptionManager::FallbackLogFolder() {
  wchar_t local[MAX_PATH];
  if (SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                       SHGFP_TYPE_CURRENT, local) != S_OK ||
      !local[0])
    return {};
  std::wstring folder = local;
  if (folder.back() != L'\\') folder += L'\\';
  folder += L"Orvane\\";
  CreateDirectoryW(folder.c_str(), nullptr);  // there already, or the dump fails
  return folder + L"Logs\\";
}

void ThxExceptionManager::Log(const TclExceptionInformation& information) {
  lastDumpFile_.clear();
  const TclStackFrames frames = watcher_.Tracer().Walk(information);
  watcher_.DebuggerOutput(information, frames);
  const std::wstring name = WideText(DumpFileName(AnsiText(programFile_), LocalTimeNow()));
  std::uint32_t result = 0;
  // A dump that could not be created is not named anywhere.
  if (ThxMiniDumpHelper::Write(logFolder_ + name, information, frames, result)) {
    lastDumpFile_ = logFolder_ + name;
    return;
  }
  const std::wstring fallback = FallbackLogFolder();
  if (!fallback.empty() && ThxMiniDumpHelper::Write(fallback + name, information, frames, result))
    lastDumpFile_ = fallback + name;
}

std::optional<TclStackFrames> ThxExceptionManager::LogCurrent(bool onlyIfUnwatched) {
  const TclExceptionInformation* last = watcher_.LastInformation();
  if (!last) return std::nullopt;
  if (onlyIfUnwatched && watcher_.IsWatched(*last)) return std::nullopt;
  Log(*last);
  return watcher_.Tracer().Walk(*last);
}

void ThxExceptionManager::ShowUnhandled(const std::string& className,
                                        const std::string& message) noexcept {
  try {
    std::optional<TclStackFrames> frames;
    try {
      frames = LogCurrent(true);
    } catch (...) {
    }
    const std::string dump = AnsiText(lastDumpFile_);
    const std::string text = UnhandledMessage(className, message, dump, AnsiText(logFolder_),
                                              frames ? *frames : TclStackFrames());
    if (ShowMessageBox(text, kAppTitle, MB_YESNO | MB_ICONERROR) != IDYES) return;
    TErrorReportSend send{fileSystem_,
                          mail_,
                          AnsiText(FolderOf(programFile_)),
                          SystemReport,
                          [](std::uint32_t code) { return SystemErrorMessage(code); },
                          [](const std::string& warning) {
                            ShowMessageBox(warning, kAppTitle, MB_OK | MB_ICONWARNING);
                          }};
    SendErrorReport(text, dump, send);
  } catch (...) {
  }
}

void ThxExceptionManager::Unhandled(const EXCEPTION_RECORD& record) {
  // A C++ exception nobody caught was shown as such at its throw's handler, if any; here
  // it and every system exception get the same message, named as the system names it.
  const auto address = reinterpret_cast<std::uintptr_t>(record.ExceptionAddress);
  std::string className = "EExternalException";
  std::string message =
      FormatRes(msg::SReportSystemException,
                {static_cast<long long>(record.ExceptionCode), HexAddress(address)});
  if (record.ExceptionCode == EXCEPTION_STACK_OVERFLOW) {
    className = "EStackOverflow";
  } else if (record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION && record.NumberParameters >= 2) {
    className = "EAccessViolation";
    message = FormatRes(msg::SReportAccessViolation,
                        {HexAddress(address),
                         std::string(record.ExceptionInformation[0] == 1 ? "Write" : "Read"),
                         HexAddress(record.ExceptionInformation[1])});
  } else if (record.ExceptionCode == kGccExceptionCode && watcher_.LastInformation() &&
             watcher_.LastInformation()->Language) {
    className = watcher_.LastInformation()->ClassName;
    message = watcher_.LastInformation()->Message;
  }
  ShowUnhandled(className, message);
}

}  // namespace orvane
