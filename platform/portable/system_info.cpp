// System facts where there is no Windows: no version resources, no shell library.
#include <unistd.h>

#include <climits>

#include "platform/system_info.h"

namespace orvane {

TModuleVersion GetModuleVersion(const std::string&) { return {}; }

std::int32_t GetDllVersion(const std::string&) { return 0; }

TOSVersionData ReadOSVersionData() { return {}; }

std::string GetMemoryText() {
  long pages = sysconf(_SC_PHYS_PAGES);
  long pageSize = sysconf(_SC_PAGESIZE);
  if (pages <= 0 || pageSize <= 0) return MemoryTextOf(0, ",");
  return MemoryTextOf(static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize),
                      ",");
}

bool IsWindows64() { return false; }

}  // namespace orvane
