#include "app/menu_file.h"

#include <windows.h>

#include "platform/system_info.h"

namespace orvane {

std::string ChooseMenuFile(const std::string& windowsDir, const std::string& programDir,
                           const std::function<bool(const std::string&)>& fileExists) {
  const std::string legacy = windowsDir + "OV2001.ini";
  if (fileExists(legacy)) return legacy;
  return programDir + "Orvane.ini";
}

const std::string& MenuFileName() {
  static const std::string name = [] {
    const std::string program = ProgramFileName();
    const std::string programDir = program.substr(0, program.find_last_of("\\/:") + 1);
    return ChooseMenuFile(GetWindowsDir(), programDir, [](const std::string& file) {
      const DWORD attributes = GetFileAttributesA(file.c_str());
      return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    });
  }();
  return name;
}

}  // namespace orvane
