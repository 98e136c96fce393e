#include <windows.h>

#include "platform/file_system.h"
#include "platform/win32/win32_handles.h"

namespace orvane {
namespace {

using PathFindOnPathFn = BOOL(WINAPI*)(LPSTR, LPCSTR*);

// shlwapi is looked up at run time: old systems may lack it.
PathFindOnPathFn PathFindOnPathEntry() {
  static TModuleHandle module(LoadLibraryA("shlwapi.dll"));
  static PathFindOnPathFn entry =
      module ? reinterpret_cast<PathFindOnPathFn>(
                   reinterpret_cast<void*>(GetProcAddress(module.get(), "PathFindOnPathA")))
             : nullptr;
  return entry;
}

class TWin32FileSystem : public IFileSystem {
public:
  std::string ExpandEnvironment(const std::string& text) override;
  std::optional<bool> FindFileOnPath(const std::string& fileName,
                                     const std::vector<std::string>& folders,
                                     std::string* found) override;
  bool FileExists(const std::string& path) override;
};

std::string TWin32FileSystem::ExpandEnvironment(const std::string& text) {
  char buffer[kMaxPath + 1] = {};
  DWORD n = ExpandEnvironmentStringsA(text.c_str(), buffer, kMaxPath);
  // A result that does not fit leaves the buffer unwritten: keep the text as it is.
  if (n == 0 || n > kMaxPath) return text;
  return std::string(buffer);
}

std::optional<bool> TWin32FileSystem::FindFileOnPath(const std::string& fileName,
                                                     const std::vector<std::string>& folders,
                                                     std::string* found) {
  PathFindOnPathFn find = PathFindOnPathEntry();
  if (!find) return std::nullopt;
  if (fileName.empty() || fileName.size() >= MAX_PATH) return false;
  char path[MAX_PATH] = {};
  fileName.copy(path, fileName.size());
  std::vector<LPCSTR> others;
  for (const std::string& folder : folders) others.push_back(folder.c_str());
  others.push_back(nullptr);
  if (!find(path, others.data())) return false;
  if (found) *found = path;
  return true;
}

bool TWin32FileSystem::FileExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

IFileSystem& DefaultFileSystem() {
  static TWin32FileSystem fileSystem;
  return fileSystem;
}

}  // namespace orvane
