#include "storage/menu_file.h"

#include "platform/file_system.h"
#include "platform/services.h"

namespace orvane {

std::string ChooseMenuFileName(const std::string& windowsFolder, const std::string& programFolder,
                               const std::function<bool(const std::string&)>& fileExists) {
  if (!windowsFolder.empty()) {
    std::string legacy = windowsFolder + "OV2001.ini";
    if (fileExists(legacy)) return legacy;
  }
  return programFolder + "Orvane.ini";
}

std::string MenuFileName(const TServices& services) {
  return ChooseMenuFileName(
      services.WindowsFolder, services.ProgramFolder,
      [&](const std::string& path) { return services.FileSystem.FileExists(path); });
}

}  // namespace orvane
