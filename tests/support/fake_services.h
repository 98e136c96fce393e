#pragma once
// The services of a test: an in-memory registry, files, file system, icons and
// clipboard, and made-up folders. Nothing a test does through them reaches the system.

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/memory_clipboard.h"
#include "platform/memory_registry.h"
#include "platform/services.h"
#include "platform/system_info.h"
#include "tests/filetypes/fake_icons.h"
#include "tests/storage/memory_files.h"

namespace orvane::testing {

// Files that exist by full name, a search path and an environment, all made up.
class TFakeFileSystem : public IFileSystem {
public:
  std::set<std::string> Existing;
  std::map<std::string, std::string> Environment;
  // Folders searched after the caller's; std::nullopt: the system offers no search.
  std::optional<std::vector<std::string>> SearchPath = std::vector<std::string>();

  std::string ExpandEnvironment(const std::string& text) override {
    std::string out;
    for (size_t i = 0; i < text.size();) {
      size_t close = text[i] == '%' ? text.find('%', i + 1) : std::string::npos;
      auto value = close == std::string::npos ? Environment.end()
                                              : Environment.find(text.substr(i + 1, close - i - 1));
      if (value == Environment.end()) {
        out += text[i++];
      } else {
        out += value->second;
        i = close + 1;
      }
    }
    return out;
  }
  std::optional<bool> FindFileOnPath(const std::string& fileName,
                                     const std::vector<std::string>& folders,
                                     std::string* found) override {
    if (!SearchPath) return std::nullopt;
    std::vector<std::string> searched = folders;
    searched.insert(searched.end(), SearchPath->begin(), SearchPath->end());
    for (const std::string& folder : searched)
      if (Existing.count(folder + fileName)) {
        if (found) *found = folder + fileName;
        return true;
      }
    return false;
  }
  bool FileExists(const std::string& path) override { return Existing.count(path) != 0; }
};

// Version information by file name; other files have none.
class TFakeModuleVersions : public IModuleVersions {
public:
  std::map<std::string, TModuleVersion> Files;
  TModuleVersion Read(const std::string& file) override {
    auto found = Files.find(file);
    return found == Files.end() ? TModuleVersion{} : found->second;
  }
};

struct TFakeServices {
  TMemoryRegistry Registry;
  TMemoryFiles Files;
  TFakeFileSystem FileSystem;
  FakeIconSource Icons;
  TMemoryClipboard Clipboard;
  TFakeModuleVersions Versions;
  std::string WindowsFolder = "C:\\WINDOWS\\";
  std::string ProgramFolder = "C:\\Program Files\\Orvane\\";
  std::string ModuleFolder = ProgramFolder;

  TServices Services() {
    return TServices{Registry,  Files,    FileSystem,    Icons,        Clipboard,
                     Versions,  WindowsFolder, ProgramFolder, ModuleFolder};
  }
};

}  // namespace orvane::testing
