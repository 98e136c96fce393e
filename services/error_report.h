#pragma once
// What the error report decides, apart from the system: which exceptions count as faults,
// the throttle that keeps a storm of them from writing a storm of dumps, the dump files'
// names and the text beside each dump, the message of an exception nobody handled, the
// frames' names from the program's own symbol table, and the mail to the maker. The
// watcher, the dump writer and the mail program's call are the Win32 part's.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace orvane {

class IFileSystem;

// The exception codes the runtime's own C++ exceptions are raised with: on x86_64 GCC's
// ("GCC " as four bytes), and Microsoft's for exceptions from system modules.
inline constexpr std::uint32_t kGccExceptionCode = 0x20474343;
inline constexpr std::uint32_t kMsvcExceptionCode = 0xE06D7363;

enum class TExceptionKind { Language, System, SafeCall, SystemSafeCall };

// The fixed lists: a language exception counts by its class name, any other by its code
// (and, in IsWatched, by a frame in the program's own module).
bool IsWatchedClass(const std::string& className);
bool IsWatchedCode(std::uint32_t code);

// One notification goes on only when more than 500 ms passed since the previous one; the
// previous one's time moves on either way, so a steady storm stays held back. The very
// first one always goes on, however soon after the system's start it comes.
class TExceptionThrottle {
public:
  static constexpr std::uint32_t kDistanceMs = 500;
  // `tick` is the system's millisecond counter, which wraps round after 49.7 days.
  bool Pass(std::uint32_t tick);
  // A notification that passed was handled by `tick`: the distance counts from there, so
  // that exceptions whose dumps take longer than the distance are still held back.
  void Handled(std::uint32_t tick) { lastTick_ = tick; }

private:
  bool seen_ = false;
  std::uint32_t lastTick_ = 0;
};

struct TclStackFrame {
  std::string ModuleName;  // full path of the module that holds the address
  std::uint64_t ModuleBase = 0;
  std::uint64_t Address = 0;
  std::string SymbolName;
};
using TclStackFrames = std::vector<TclStackFrame>;

// An address in hexadecimal, at least 8 digits.
std::string HexAddress(std::uint64_t address);

// "address: module - symbol" with the module's file name only; each line followed by CR LF.
std::string StackLines(const TclStackFrames& frames);

struct TLocalTime {
  int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0, Milliseconds = 0;
};

// The program file's name without its extension followed by "yymmddhhnnsszzz" and ".dmp".
std::string DumpFileName(const std::string& programFile, const TLocalTime& time);

// What the text file beside a dump says of one exception.
struct TExceptionDescription {
  TExceptionKind Kind = TExceptionKind::System;
  std::uint32_t Code = 0;
  std::string ClassName;  // language exceptions only
  std::string Message;
};

// The text file: the exception, the kind, the dump writer's result (0, or the system's
// error code of a failed write) and, after an empty line, the stack of the moment.
std::string DumpText(const TExceptionDescription& exception, std::uint32_t dumpResult,
                     const TclStackFrames& frames);

// The unhandled-exception message: the exception's message with a closing "." where its
// last character sorts after ".", the details (class, message, the dump file's name, the
// stack lines) and the question whether to write to the maker. The dump is named by its
// file name when it is in `logFolder` (with its trailing separator), the folder the user
// knows of, and by its full path when it had to go elsewhere.
std::string UnhandledMessage(const std::string& className, const std::string& message,
                             const std::string& dumpFile, const std::string& logFolder,
                             const TclStackFrames& frames);

// The program's own names for its code, read from the table the build writes beside the
// program: a first line "ImageBase <hex>", then one "<hex address> <name>" a line, as the
// linker placed them. Lines that cannot be read are skipped.
class TSymbolTable {
public:
  static TSymbolTable Parse(const std::string& text);
  bool Empty() const { return starts_.empty(); }
  // The name of the function that holds `address` of a module loaded at `moduleBase`;
  // empty before the first function and past the last one's end.
  std::string NameAt(std::uint64_t moduleBase, std::uint64_t address) const;

private:
  std::uint64_t imageBase_ = 0;
  std::map<std::uint64_t, std::string> starts_;  // address relative to the image base
  std::uint64_t end_ = 0;
};

// The mail of an error report.
struct TMailMessage {
  std::string Subject;
  std::string Body;
  std::vector<std::string> Recipients;   // "to" addresses
  std::vector<std::string> Attachments;  // full paths
};

enum class TMailResult { Sent, Cancelled, Failed };

class IMailSender {
public:
  virtual ~IMailSender() = default;
  // Hands the message to the mail program, with its dialog when `showDialog`. `error`
  // receives the mail program's code when it fails.
  virtual TMailResult Send(const TMailMessage& message, bool showDialog,
                           std::uint32_t& error) = 0;
};

// Subject, the support address, Text + the system report, and as attachments the last
// dump and its text (when there is one) and "OVShlExt.log" beside the program, each only
// when the file is there (environment variables expanded first).
TMailMessage ErrorReportMail(const std::string& text, const std::string& systemReport,
                             const std::string& lastDumpFile, const std::string& programFolder,
                             IFileSystem& fileSystem);

struct TErrorReportSend {
  IFileSystem& FileSystem;
  IMailSender& Mail;
  std::string ProgramFolder;
  std::function<std::string()> SystemReport;
  // The system's text for an error code, and the warning box.
  std::function<std::string(std::uint32_t)> ErrorText;
  std::function<void(const std::string&)> ShowWarning;
};

// Composes the mail and opens it in the mail program's dialog. A failure is shown as a
// warning; the user's cancelling shows nothing. Never raises: a report that cannot be
// made must not fail the program a second time.
void SendErrorReport(const std::string& text, const std::string& lastDumpFile,
                     const TErrorReportSend& send) noexcept;

}  // namespace orvane
