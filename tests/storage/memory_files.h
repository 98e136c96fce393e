#pragma once
// Files held in memory, for documents whose bytes a test sets and inspects, with a
// switch that makes writing fail.

#include <map>
#include <string>

#include "platform/file_access.h"

namespace orvane::testing {

class TMemoryFiles : public IFileAccess {
public:
  std::map<std::string, std::string> Files;
  bool FailWrites = false;
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
    ++Writes;
    Files[fileName] = std::string(data);
    return true;
  }
};

}  // namespace orvane::testing
