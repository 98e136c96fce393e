#include <windows.h>

#include <memory>
#include <type_traits>

#include "platform/file_system.h"

namespace orvane {
namespace {

struct ModuleDeleter {
  void operator()(HMODULE module) const { FreeLibrary(module); }
};
using TModuleHandle = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleDeleter>;

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
                                     const std::vector<std::string>& folders) override;
  bool FileExists(const std::string& path) override;
};

std::string TWin32FileSystem::ExpandEnvironment(const std::string& text) {
  std::string buffer(text.size() + 256, '\0');
  for (;;) {
    DWORD needed =
        ExpandEnvironmentStringsA(text.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (needed == 0) return text;
    if (needed <= buffer.size()) {
      buffer.resize(needed - 1);
      return buffer;
    }
    buffer.assign(needed, '\0');
  }
}

std::optional<bool> TWin32FileSystem::FindFileOnPath(const std::string& fileName,
                                                     const std::vector<std::string>& folders) {
  PathFindOnPathFn find = PathFindOnPathEntry();
  if (!find) return std::nullopt;
  if (fileName.empty() || fileName.size() >= MAX_PATH) return false;
  char path[MAX_PATH] = {};
  fileName.copy(path, fileName.size());
  std::vector<LPCSTR> others;
  for (const std::string& folder : folders) others.push_back(folder.c_str());
  others.push_back(nullptr);
  return find(path, others.data()) != FALSE;
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
