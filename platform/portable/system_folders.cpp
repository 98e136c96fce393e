#include <filesystem>

#include "platform/system_folders.h"

namespace orvane {

// No Windows folder here: the settings file always lives beside the program.
std::string WindowsFolder() { return {}; }

std::string ProgramFileName() {
  std::error_code error;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : exe.string();
}

std::string ProgramFolder() {
  std::filesystem::path exe = ProgramFileName();
  if (exe.empty()) return {};
  std::string folder = exe.parent_path().string();
  return folder.empty() || folder.back() == '/' ? folder : folder + '/';
}

}  // namespace orvane
