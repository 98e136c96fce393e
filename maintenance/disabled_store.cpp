#include "maintenance/disabled_store.h"

namespace orvane {

std::string ActiveKeyPath(const std::string& keyPath, std::string_view prefix) {
  std::size_t at = keyPath.find(prefix);
  if (at == std::string::npos) return keyPath;
  return keyPath.substr(at + prefix.size());
}

std::string StoredKeyPath(const std::string& activeKeyPath, std::string_view prefix) {
  return std::string(prefix) + activeKeyPath;
}

}  // namespace orvane
