#pragma once
// The backups of the maintenance tools: what an Apply is about to remove, written as one
// REGEDIT4 file in the backup folder ("Backups" beside the menu file) before anything is
// removed, named after the local time of the Apply so that the files sort by age.

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>

#include "maintenance/removal_backup.h"
#include "platform/file_access.h"
#include "platform/registry_backend.h"

namespace orvane {

// The comment lines that open a backup after "REGEDIT4": what it holds, and the registry
// view it was taken from when that is not the program's own.
inline constexpr const char* kBackupDescriptionLine = "; Backup: ";
inline constexpr const char* kBackupViewLine = "; Registry view: ";

class TRegBackupFile : public IRemovalBackup {
public:
  // `folder` ends with a separator and is created at the first commit when missing;
  // `now` gives the time of each commit. `view` (kKeyWow64_64Key, kKeyWow64_32Key or 0)
  // names the view `registry` works in, so that a restore goes back through the same.
  TRegBackupFile(IRegistryBackend& registry, IFileAccess& files, std::string folder,
                 std::function<std::time_t()> now, std::uint32_t view = 0);

  // Both raise, with the reason, when the key or value exists but cannot be read whole;
  // what was added before stays added.
  void AddKey(HKey root, const std::string& path) override;
  void AddValue(HKey root, const std::string& keyPath, const std::string& name) override;
  // A failed commit keeps what was added, for the next try.
  void Commit(const std::string& what) override;

  const std::string& Folder() const { return folder_; }
  std::uint32_t View() const { return view_; }
  // The file the last commit wrote; empty before.
  const std::string& LastFile() const { return lastFile_; }

private:
  std::string FullPath(HKey root, const std::string& path) const;
  std::string FreeName(const std::string& stamp);

  IRegistryBackend& registry_;
  IFileAccess& files_;
  std::string folder_;
  std::function<std::time_t()> now_;
  std::uint32_t view_;
  std::string pending_;
  std::string lastFile_;
};

// "64-bit", "32-bit", or empty for the program's own view.
std::string RegistryViewName(std::uint32_t view);

}  // namespace orvane
