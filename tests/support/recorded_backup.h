#pragma once
// A backup that records what it was handed, for tests of the tools' Apply: the keys and
// values in the order given, and each commit's description. `FailCommit` makes the next
// commits raise, as a backup that cannot be written does.

#include <string>
#include <vector>

#include "maintenance/removal_backup.h"
#include "platform/exception.h"

namespace orvane::testing {

class TRecordedBackup : public IRemovalBackup {
public:
  struct TEntry {
    HKey Root;
    std::string Path;
    std::string ValueName;  // empty for a whole key
    bool IsValue = false;
  };
  std::vector<TEntry> Pending;
  std::vector<std::vector<TEntry>> Committed;
  std::vector<std::string> Descriptions;
  bool FailCommit = false;

  void AddKey(HKey root, const std::string& path) override {
    Pending.push_back({root, path, {}, false});
  }
  void AddValue(HKey root, const std::string& keyPath, const std::string& name) override {
    Pending.push_back({root, keyPath, name, true});
  }
  void Commit(const std::string& what) override {
    if (FailCommit) {
      Pending.clear();
      throw Exception("The backup cannot be written: disk full");
    }
    if (Pending.empty()) return;
    Committed.push_back(std::move(Pending));
    Pending.clear();
    Descriptions.push_back(what);
  }
};

}  // namespace orvane::testing
