#pragma once
// The backups in a backup folder, and putting one back. A backup file is input a user can
// edit, so a restore reads and checks the whole file before it writes anything, and
// writes only where the cleanup tools take keys from.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_access.h"
#include "platform/reg_text.h"
#include "platform/registry_backend.h"

namespace orvane {

struct TBackupInfo {
  std::string FileName;     // with its folder
  std::string Date;         // "2026-12-09 14:03:59" from the file's name; empty when it has none
  std::string Description;  // what the tool said it holds
  std::uint32_t View = 0;   // kKeyWow64_64Key, kKeyWow64_32Key, or 0 for the program's own
  // The keys it holds, full names, each without those below it.
  std::vector<std::string> Keys;
  // Why it cannot be restored (unreadable, a bad or refused line); empty when it can.
  std::string Problem;
};

// The ".reg" files of `folder` (ending with a separator), newest first; files whose names
// carry no date come last, by name. Raises when the folder cannot be read.
std::vector<TBackupInfo> ListBackups(IFileAccess& files, const std::string& folder);

// What `text` holds (FileName and Date stay empty).
TBackupInfo DescribeBackup(std::string_view text);

// Reads the whole text and checks every line: nothing that deletes, nothing outside
// HKEY_CLASSES_ROOT and HKEY_CURRENT_USER\Software\Orvane\DisabledItems. Raises with a
// message naming the first line that fails.
std::vector<TRegTextEntry> CheckBackupText(std::string_view text);

// The registry a view is reached through, or nullptr when this system has no such view.
using TRegistryOfView = std::function<IRegistryBackend*(std::uint32_t view)>;

// Checks the file whole, then writes its keys and values back through the registry of the
// view it was taken from. Raises with the reason when it cannot be read, fails the check,
// or the registry refuses a line (what came before that line stays written).
void RestoreBackup(IFileAccess& files, const std::string& fileName,
                   const TRegistryOfView& registryOfView);

}  // namespace orvane
