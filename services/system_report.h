#pragma once
// The system information report: what the program knows of itself and of the machine it
// runs on, as the error report's mail and the About window's "Copy System Information"
// hand it over. The text is made from plain facts, so that its layout can be checked
// anywhere; the facts are gathered through the services.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/services.h"
#include "platform/system_info.h"

namespace orvane {

struct TSystemReportFacts {
  std::string ProgramVersion;
  std::string ModuleVersion;
  // The 64-bit twin's version; its line is left out when this is empty (32-bit Windows).
  std::string Module64Version;
  TOSInfo OS;
  std::int32_t ShellVersion = 0;  // major << 16 | minor
  std::string MemoryText;
  int FileTypeCount = 0;
  bool ModuleRegistered = false;
  std::vector<std::string> Faults;  // the file type faults, one text each
  std::string MenuFileText;         // as read; empty when it could not be read
  std::string LogText;
};

std::string FormatSystemReport(const TSystemReportFacts& facts);

// What only the caller knows: the program file (the modules lie beside it), the menu
// file, the file type list's count and faults, and whether the module is registered (the
// module switch's answer).
struct TSystemReportSources {
  std::string ProgramFile;
  std::string MenuFile;
  int FileTypeCount = 0;
  std::vector<std::string> Faults;
  bool ModuleRegistered = false;
  bool Windows64 = false;
  std::int32_t ShellVersion = 0;
};

// Versions through the services' version reader, the files through their file access,
// "log.txt" beside the program; the system's name and memory from the running system.
std::string BuildSystemReport(const TServices& services, const TSystemReportSources& sources);

// `text` with every line ended by CR LF, whatever ended it before.
std::string WithCrLfLines(const std::string& text);

}  // namespace orvane
