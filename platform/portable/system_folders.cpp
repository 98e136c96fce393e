#include <filesystem>

#include "platform/system_folders.h"

namespace orvane {

// No Windows folder here: the settings file always lives beside the program.
std::string WindowsFolder() { return {}; }

std::string ProgramFolder() {
  std::error_code error;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return {};
  std::string folder = exe.parent_path().string();
  return folder.empty() || folder.back() == '/' ? folder : folder + '/';
}

}  // namespace orvane
