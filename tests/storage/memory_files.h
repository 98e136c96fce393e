#pragma once
// Files held in memory, for documents whose bytes a test sets and inspects, with a
// switch that makes writing fail.

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/file_access.h"

namespace orvane::testing {

class TMemoryFiles : public IFileAccess {
public:
  std::map<std::string, std::string> Files;
  // Folders that exist, each with its trailing separator; a file's folder need not be
  // listed for the file to be written.
  std::set<std::string> Folders;
  bool FailWrites = false;
  bool FailFolders = false;
  // Writing into a folder not in `Folders` fails, as on a real disk.
  bool RequireFolders = false;
  bool FailReads = false;
  int Writes = 0;

  ReadResult ReadFile(const std::string& fileName, std::string& data,
                      std::string& reason) override {
    if (FailReads) {
      reason = "Access denied";
      return ReadResult::Failed;
    }
    auto it = Files.find(fileName);
    if (it == Files.end()) return ReadResult::Missing;
    data = it->second;
    return ReadResult::Read;
  }

  bool ReplaceFile(const std::string& fileName, std::string_view data,
                   std::string& reason) override {
    if (FailWrites || fileName.empty()) {
      reason = "Disk full";
      return false;
    }
    if (RequireFolders &&
        !Folders.count(fileName.substr(0, fileName.find_last_of("\\/") + 1))) {
      reason = "The system cannot find the path specified";
      return false;
    }
    ++Writes;
    Files[fileName] = std::string(data);
    return true;
  }

  bool CreateFolder(const std::string& folder, std::string& reason) override {
    if (FailFolders) {
      reason = "Access denied";
      return false;
    }
    Folders.insert(WithSeparator(folder));
    return true;
  }

  bool ListFiles(const std::string& folder, std::vector<std::string>& names,
                 std::string& reason) override {
    names.clear();
    if (FailReads) {
      reason = "Access denied";
      return false;
    }
    const std::string prefix = WithSeparator(folder);
    for (const auto& [name, data] : Files) {
      if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
          name.find_first_of("\\/", prefix.size()) == std::string::npos)
        names.push_back(name.substr(prefix.size()));
    }
    return true;
  }

private:
  static std::string WithSeparator(const std::string& folder) {
    if (folder.empty() || folder.back() == '\\' || folder.back() == '/') return folder;
    return folder + "\\";
  }
};

}  // namespace orvane::testing
