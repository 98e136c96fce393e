#pragma once
// The exception manager: for each exception the watcher reports that counts as a fault,
// a memory dump and the text beside it in "Logs" (in the user's own "Logs" when the one
// beside the program cannot be written); for an exception that reaches the
// program's handler, the message that names them and offers to mail them to the maker.
// Every step may fail (no folder, a full disk, no mail program): the manager then goes
// on without that step's result and never raises.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/win32/exception_watcher.h"
#include "services/error_report.h"

namespace orvane {

class IFileSystem;

// Writes a dump of this process at an exception, and the text beside it.
class ThxMiniDumpHelper {
public:
  // False when the dump file could not be created (then neither file is written).
  // `result`: 0, or the system's error code of a failed MiniDumpWriteDump.
  static bool Write(const std::wstring& dumpFile, const TclExceptionInformation& information,
                    const TclStackFrames& frames, std::uint32_t& result);
};

class ThxExceptionManager {
public:
  // Connects to `watcher` for as long as the manager lives. `programFile`: the running
  // program; the dumps go into "Logs" beside it.
  ThxExceptionManager(TclExceptWatcher& watcher, const std::wstring& programFile,
                      IFileSystem& fileSystem, IMailSender& mail);
  ~ThxExceptionManager();
  ThxExceptionManager(const ThxExceptionManager&) = delete;
  ThxExceptionManager& operator=(const ThxExceptionManager&) = delete;

  // "Logs" beside the program: the dumps' place, where the user is told to look.
  const std::wstring& LogFolder() const { return logFolder_; }
  // Their place when that folder cannot be made or written (a program installed where
  // its user may not write): "Orvane\Logs\" in the user's local application data, made
  // as needed up to "Orvane"; empty when the system names no such folder.
  static std::wstring FallbackLogFolder();
  // The latest dump written; empty when none was, or when it could not be created.
  const std::wstring& LastDumpFile() const { return lastDumpFile_; }

  // The system information report for the mail; set once the main window exists.
  std::function<std::string()> SystemReport;

  // Logs the watcher's latest exception now, unless `onlyIfUnwatched` and it was logged
  // when raised; the frames of its stack, or nothing.
  std::optional<TclStackFrames> LogCurrent(bool onlyIfUnwatched);

  // The program's handler of an exception nobody else answered: the message with the
  // details, and the mail when the user asks for it. Never raises.
  void ShowUnhandled(const std::string& className, const std::string& message) noexcept;

private:
  void Log(const TclExceptionInformation& information);
  void Unhandled(const EXCEPTION_RECORD& record);

  TclExceptWatcher& watcher_;
  std::wstring programFile_;
  std::wstring logFolder_;
  std::wstring lastDumpFile_;
  IFileSystem& fileSystem_;
  IMailSender& mail_;
};

// The texts of file names in the ANSI code page, as messages and the mail carry them.
std::string AnsiText(const std::wstring& text);

}  // namespace orvane
