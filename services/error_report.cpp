#include "services/error_report.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <unordered_set>

#include "platform/file_system.h"
#include "platform/messages.h"
#include "platform/system_info.h"
#include "services/maker_endpoints.h"

namespace orvane {
namespace {

const std::unordered_set<std::string>& WatchedClasses() {
  static const std::unordered_set<std::string> classes = {
      "EAbstractError", "EAccessViolation", "EAssertionFailed", "EDivByZero",
      "EConvertError",  "EIntOverflow",     "EInvalidOp",       "EInvalidPointer",
      "EListError",     "EOleException",    "EOleSysError",     "EOSError",
      "EOutOfMemory",   "EOverflow",        "EPrivilege",       "ERangeError",
      "EStackOverflow", "EStringListError", "EUnderflow",       "EZeroDivide"};
  return classes;
}

const std::unordered_set<std::uint32_t>& WatchedCodes() {
  static const std::unordered_set<std::uint32_t> codes = {
      0xC0000005, 0x80000002, 0xC000008C, 0xC000008D, 0xC000008E, 0xC000008F, 0xC0000090,
      0xC0000091, 0xC0000092, 0xC0000093, 0xC0000094, 0xC0000095, 0xC0000096, 0xC0000006,
      0xC000001D, 0xC0000025, 0xC00000FD, 0xC0000026, 0x80000001, 0xC0000008};
  return codes;
}

std::string FileNameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/:");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Digits(int value, int width) {
  std::string text = std::to_string(value < 0 ? 0 : value);
  if (static_cast<int>(text.size()) > width) text.erase(0, text.size() - width);
  return std::string(width - text.size(), '0') + text;
}

std::string Hex(std::uint64_t value) {
  static const char digits[] = "0123456789abcdef";
  std::string text;
  do {
    text.insert(text.begin(), digits[value % 16]);
    value /= 16;
  } while (value != 0);
  return text;
}

bool ParseHex(const std::string& text, std::uint64_t& value) {
  if (text.empty() || text.size() > 16) return false;
  value = 0;
  for (char c : text) {
    int digit = c >= '0' && c <= '9'   ? c - '0'
                : c >= 'a' && c <= 'f' ? c - 'a' + 10
                : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                       : -1;
    if (digit < 0) return false;
    value = value * 16 + static_cast<unsigned>(digit);
  }
  return true;
}

}  // namespace

bool IsWatchedClass(const std::string& className) { return WatchedClasses().count(className) != 0; }

bool IsWatchedCode(std::uint32_t code) { return WatchedCodes().count(code) != 0; }

bool TExceptionThrottle::Pass(std::uint32_t tick) {
  // Unsigned distance: right across the counter's wrap.
  const bool pass = !seen_ || tick - lastTick_ > kDistanceMs;
  seen_ = true;
  lastTick_ = tick;
  return pass;
}

std::string HexAddress(std::uint64_t address) {
  std::string text = Hex(address);
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return std::string(text.size() < 8 ? 8 - text.size() : 0, '0') + text;
}

std::string StackLines(const TclStackFrames& frames) {
  std::string lines;
  for (const TclStackFrame& frame : frames)
    lines += Hex(frame.Address) + ": " + FileNameOf(frame.ModuleName) + " - " +
             frame.SymbolName + "\r\n";
  return lines;
}

std::string DumpFileName(const std::string& programFile, const TLocalTime& time) {
  return FileNameWithoutExt(programFile) + Digits(time.Year % 100, 2) +
         Digits(time.Month, 2) + Digits(time.Day, 2) + Digits(time.Hour, 2) +
         Digits(time.Minute, 2) + Digits(time.Second, 2) + Digits(time.Milliseconds, 3) + ".dmp";
}

std::string DumpText(const TExceptionDescription& exception, std::uint32_t dumpResult,
                     const TclStackFrames& frames) {
  const bool language =
      exception.Kind == TExceptionKind::Language || exception.Kind == TExceptionKind::SafeCall;
  std::string text = language ? exception.ClassName + ": " + exception.Message
                              : "Code: " + Format("%.8X", {static_cast<long long>(exception.Code)});
  const MessageId label = exception.Kind == TExceptionKind::Language ? msg::SReportLabelLanguage
                          : exception.Kind == TExceptionKind::System ? msg::SReportLabelSystem
                          : exception.Kind == TExceptionKind::SafeCall
                              ? msg::SReportLabelSafeCall
                              : msg::SReportLabelSystemSafeCall;
  text += "\r\n" + LoadResString(label) + "\r\n";
  text += FormatRes(msg::SReportDumpResult, {static_cast<long long>(dumpResult)}) + "\r\n";
  if (!frames.empty()) text += "\r\n------------\r\n" + StackLines(frames) + "------------\r\n";
  return text;
}

std::string UnhandledMessage(const std::string& className, const std::string& message,
                             const std::string& dumpFile, const std::string& logFolder,
                             const TclStackFrames& frames) {
  std::string shown = message;
  if (!shown.empty() && static_cast<unsigned char>(shown.back()) > '.') shown += '.';
  const bool inLogFolder = dumpFile.size() > logFolder.size() &&
                           dumpFile.compare(0, logFolder.size(), logFolder) == 0 &&
                           dumpFile.find_first_of("\\/", logFolder.size()) == std::string::npos;
  const std::string details =
      FormatRes(msg::SReportInternalProblem,
                {className + ": " + message, std::string(),
                 inLogFolder ? FileNameOf(dumpFile) : dumpFile, StackLines(frames)});
  return shown + "\r\n\r\n" + details + "\r\n\r\n" + LoadResString(msg::SReportAskToSend);
}

TSymbolTable TSymbolTable::Parse(const std::string& text) {
  TSymbolTable table;
  std::size_t start = 0;
  bool first = true;
  std::uint64_t last = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t space = line.find(' ');
    if (space == std::string::npos) continue;
    std::uint64_t value = 0;
    if (first) {
      first = false;
      if (line.compare(0, space, "ImageBase") == 0 && ParseHex(line.substr(space + 1), value))
        table.imageBase_ = value;
      else
        return TSymbolTable();  // no table of ours
      continue;
    }
    if (!ParseHex(line.substr(0, space), value) || value < table.imageBase_) continue;
    const std::string name = line.substr(space + 1);
    if (name == "<end>") {
      table.end_ = std::max(table.end_, value - table.imageBase_);
      continue;
    }
    if (name.empty()) continue;
    table.starts_.emplace(value - table.imageBase_, name);
    last = std::max(last, value - table.imageBase_);
  }
  if (table.end_ <= last) table.end_ = table.starts_.empty() ? 0 : last + 1;
  return table;
}

std::string TSymbolTable::NameAt(std::uint64_t moduleBase, std::uint64_t address) const {
  if (address < moduleBase) return std::string();
  const std::uint64_t offset = address - moduleBase;
  if (offset >= end_) return std::string();
  auto next = starts_.upper_bound(offset);
  if (next == starts_.begin()) return std::string();
  return std::prev(next)->second;
}

TMailMessage ErrorReportMail(const std::string& text, const std::string& systemReport,
                             const std::string& lastDumpFile, const std::string& programFolder,
                             IFileSystem& fileSystem) {
  TMailMessage mail;
  mail.Subject = LoadResString(msg::SReportMailSubject);
  mail.Recipients = {kSupportAddress};
  mail.Body = text + "\r\n\r\n" + systemReport;
  std::vector<std::string> candidates;
  if (!lastDumpFile.empty()) candidates = {lastDumpFile, lastDumpFile + ".txt"};
  candidates.push_back(programFolder + "OVShlExt.log");
  for (const std::string& candidate : candidates) {
    const std::string file = fileSystem.ExpandEnvironment(candidate);
    if (fileSystem.FileExists(file)) mail.Attachments.push_back(file);
  }
  return mail;
}

void SendErrorReport(const std::string& text, const std::string& lastDumpFile,
                     const TErrorReportSend& send) noexcept {
  try {
    std::string report;
    try {
      report = send.SystemReport ? send.SystemReport() : std::string();
    } catch (const std::exception&) {
      // The mail goes without it rather than not at all.
    }
    const TMailMessage mail =
        ErrorReportMail(text, report, lastDumpFile, send.ProgramFolder, send.FileSystem);
    std::uint32_t error = 0;
    if (send.Mail.Send(mail, true, error) == TMailResult::Failed && send.ShowWarning)
      send.ShowWarning(FormatRes(msg::SReportMailFailed,
                                 {static_cast<long long>(error),
                                  send.ErrorText ? send.ErrorText(error) : std::string()}));
  } catch (...) {
  }
}

}  // namespace orvane
