#pragma once
// The repair of registry bugs: each entry of the file type list's bug list is fixed by
// deleting the key or value under HKEY_CLASSES_ROOT that causes it. A fix run first finds
// what every entry would remove, hands all of it to the backup and commits it, and only
// then removes anything.

#include <string>
#include <vector>

#include "filetypes/adv_string_list.h"
#include "filetypes/erroneous_file_type.h"
#include "maintenance/removal_backup.h"
#include "platform/registry_backend.h"

namespace orvane {

enum class TFixResult {
  Fixed,      // the key or value is gone, or the fault is no longer there
  Unfixable,  // nothing this tool may delete repairs it; the entry stays
  Failed,     // the registry refused or failed; nothing of the entry is half removed
};

struct TBugFixOutcome {
  int Index;  // in the bug list
  TFixResult Result;
  std::string Reason;  // for Failed: what went wrong
};

struct TBugFixRun {
  // One per entry asked for that was not fixed before, in the order asked.
  std::vector<TBugFixOutcome> Outcomes;
  // Set when the backup could not be written: the run stopped before removing anything.
  std::string BackupFailure;

  bool HasFailures() const;
  int FixedCount() const;
};

// The description the backup of a fix run carries.
inline constexpr const char* kRegistryBugsBackup = "Registry bugs";

// Repairs the entries at `indices` of `bugs` (records of TErroneousFileType) in the
// registry `registry`, whose HKEY_CLASSES_ROOT is worked on. Entries already fixed are
// passed over; a repaired one gets its Fixed flag. Raises nothing for a single entry's
// failure: it becomes that entry's outcome.
TBugFixRun FixBugs(TAdvStringList& bugs, const std::vector<int>& indices,
                   IRegistryBackend& registry, IRemovalBackup& backup);

}  // namespace orvane
