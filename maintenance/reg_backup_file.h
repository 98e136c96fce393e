#pragma once
// The backups of the maintenance tools: what an Apply is about to remove, written as one
// REGEDIT4 file in the backup folder ("Backups" beside the menu file) before anything is
// removed, named after the time of the Apply so that the files sort by age.

#include <ctime>
#include <functional>
#include <string>

#include "maintenance/removal_backup.h"
#include "platform/file_access.h"
#include "platform/registry_backend.h"

namespace orvane {

class TRegBackupFile : public IRemovalBackup {
public:
  // `folder` ends with a separator; `now` gives the time of each commit.
  TRegBackupFile(IRegistryBackend& registry, IFileAccess& files, std::string folder,
                 std::function<std::time_t()> now);

  void AddKey(HKey root, const std::string& path) override;
  void AddValue(HKey root, const std::string& keyPath, const std::string& name) override;
  void Commit(const std::string& what) override;

  const std::string& Folder() const { return folder_; }
  // The file the last commit wrote; empty before.
  const std::string& LastFile() const { return lastFile_; }

private:
  IRegistryBackend& registry_;
  IFileAccess& files_;
  std::string folder_;
  std::function<std::time_t()> now_;
  std::string pending_;
  std::string lastFile_;
};

}  // namespace orvane
