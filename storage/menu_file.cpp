#include "storage/menu_file.h"

#include "platform/file_system.h"
#include "platform/system_folders.h"

namespace orvane {

std::string ChooseMenuFileName(const std::string& windowsFolder, const std::string& programFolder,
                               const std::function<bool(const std::string&)>& fileExists) {
  if (!windowsFolder.empty()) {
    std::string legacy = windowsFolder + "OV2001.ini";
    if (fileExists(legacy)) return legacy;
  }
  return programFolder + "Orvane.ini";
}

const std::string& MenuFileName() {
  static const std::string name = ChooseMenuFileName(
      WindowsFolder(), ProgramFolder(), [](const std::string& path) { return FileExists(path); });
  return name;
}

}  // namespace orvane
