#pragma once
// The restore dialog: the backups the maintenance tools wrote, newest first with what
// each holds, the keys of the chosen one, and "Restore" after a confirmation.

#include <string>
#include <vector>

#include "controls/form.h"
#include "controls/list_view.h"
#include "controls/std_controls.h"
#include "maintenance/backup_list.h"
#include "platform/file_access.h"

namespace orvane {

class TfrmRestoreBackup : public TForm {
public:
  // Lists the backups of `folder` (ending with a separator) at once; `registryOfView`
  // reaches the registry a backup was taken from.
  TfrmRestoreBackup(TComponent* owner, IFileAccess& files, std::string folder,
                    TRegistryOfView registryOfView);
  std::string ClassName() const override { return "TfrmRestoreBackup"; }

  TLabel& lblBackups;
  TListView& lvBackups;
  TLabel& lblKeys;
  TListView& lvKeys;
  TButton& btnRestore;
  TButton& btnClose;

  const std::vector<TBackupInfo>& Backups() const { return backups_; }
  // A restore was tried: the registry may have changed, and what shows it should reload.
  bool RegistryChanged() const { return registryChanged_; }

  // Reads the folder again.
  void Reload();
  // Restores the selected backup after asking.
  void RestoreSelected();

private:
  const TBackupInfo* Selected() const;
  void ShowDetails();

  IFileAccess& files_;
  std::string folder_;
  TRegistryOfView registryOfView_;
  std::vector<TBackupInfo> backups_;
  bool registryChanged_ = false;
};

// Shows the dialog modally; true when the registry may have changed.
bool ShowRestoreBackup(IFileAccess& files, const std::string& folder,
                       const TRegistryOfView& registryOfView);

}  // namespace orvane
