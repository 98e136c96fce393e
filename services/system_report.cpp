#include "services/system_report.h"

#include "platform/file_access.h"
#include "platform/messages.h"
#include "resources/version.h"

namespace orvane {
namespace {

std::string FolderOf(const std::string& file) {
  const std::size_t slash = file.find_last_of("\\/:");
  return slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
}

std::string VersionOf(IModuleVersions& versions, const std::string& file) {
  const TModuleVersion version = versions.Read(file);
  return version.Valid && !version.FileVersion.empty() ? version.FileVersion
                                                        : LoadResString(msg::SAboutNotFound);
}

// A file that cannot be read counts as empty: the report goes out all the same.
std::string ContentOf(IFileAccess& files, const std::string& file) {
  std::string data;
  std::string reason;
  if (file.empty() || files.ReadFile(file, data, reason) != IFileAccess::ReadResult::Read)
    return std::string();
  return WithCrLfLines(data);
}

}  // namespace

std::string WithCrLfLines(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    out.append(text, start, end - start).append("\r\n");
    if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
      ++end;
    start = end + 1;
  }
  return out;
}

std::string FormatSystemReport(const TSystemReportFacts& facts) {
  std::string faults;
  for (const std::string& fault : facts.Faults) faults += fault + "\r\n";
  // The texts go in as arguments, never as patterns: a "%" in a menu file stays as it is.
  std::string report = FormatRes(
      msg::SReportSystemHead,
      {std::string(ORVANE_PRODUCT_NAME), facts.ProgramVersion, facts.ModuleVersion});
  if (!facts.Module64Version.empty())
    report += FormatRes(msg::SReportModule64, {facts.Module64Version});
  report += FormatRes(
      msg::SReportSystemBody,
      {facts.OS.Name, facts.OS.Version,
       static_cast<long long>((static_cast<std::uint32_t>(facts.ShellVersion) >> 16) & 0xFFFF),
       static_cast<long long>(static_cast<std::uint32_t>(facts.ShellVersion) & 0xFFFF),
       facts.MemoryText, std::to_string(facts.FileTypeCount),
       std::string(facts.ModuleRegistered ? "-1" : "0"),
       static_cast<long long>(facts.Faults.size()), faults, facts.MenuFileText, facts.LogText});
  return report;
}

std::string BuildSystemReport(const TServices& services, const TSystemReportSources& sources) {
  const std::string folder = FolderOf(sources.ProgramFile);
  TSystemReportFacts facts;
  facts.ProgramVersion = VersionOf(services.Versions, sources.ProgramFile);
  facts.ModuleVersion = VersionOf(services.Versions, folder + "OVShlExt.DLL");
  if (sources.Windows64)
    facts.Module64Version = VersionOf(services.Versions, folder + "x64\\OVShlExt.DLL");
  facts.OS = GetOSInfo();
  facts.ShellVersion = sources.ShellVersion;
  facts.MemoryText = GetMemoryText();
  facts.FileTypeCount = sources.FileTypeCount;
  facts.ModuleRegistered = sources.ModuleRegistered;
  facts.Faults = sources.Faults;
  facts.MenuFileText = ContentOf(services.Files, sources.MenuFile);
  facts.LogText = ContentOf(services.Files, services.ProgramFolder + "log.txt");
  return FormatSystemReport(facts);
}

}  // namespace orvane
