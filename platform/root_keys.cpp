#include "platform/root_keys.h"

#include "platform/ansi_case.h"

namespace orvane {
namespace {

struct RootName {
  HKey key;
  const char* name;
  const char* shortName;
};

constexpr RootName kRoots[] = {
    {kHkeyClassesRoot, "HKEY_CLASSES_ROOT", "HKCR"},
    {kHkeyCurrentUser, "HKEY_CURRENT_USER", "HKCU"},
    {kHkeyLocalMachine, "HKEY_LOCAL_MACHINE", "HKLM"},
    {kHkeyUsers, "HKEY_USERS", "HKU"},
    {kHkeyPerformanceData, "HKEY_PERFORMANCE_DATA", nullptr},
    {kHkeyCurrentConfig, "HKEY_CURRENT_CONFIG", "HKCC"},
    {kHkeyDynData, "HKEY_DYN_DATA", nullptr},
};

}  // namespace

const char* PredefinedRootName(HKey root) {
  for (const auto& r : kRoots) {
    if (r.key == root) return r.name;
  }
  return nullptr;
}

bool ParseRootName(std::string_view name, HKey& root) {
  for (const auto& r : kRoots) {
    if (AnsiSameText(name, r.name) || (r.shortName && AnsiSameText(name, r.shortName))) {
      root = r.key;
      return true;
    }
  }
  return false;
}

bool SplitKeyPath(std::string_view path, HKey& root, std::string& subKey) {
  size_t sep = path.find('\\');
  if (!ParseRootName(path.substr(0, sep), root)) return false;
  subKey = sep == std::string_view::npos ? std::string() : std::string(path.substr(sep + 1));
  return true;
}

}  // namespace orvane
