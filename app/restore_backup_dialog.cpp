#include "app/restore_backup_dialog.h"

#include <utility>

#include "maintenance/reg_backup_file.h"
#include "platform/messages.h"
#include "platform/win32/window_helpers.h"

namespace orvane {
namespace {

constexpr int kClientWidth = 560;
constexpr int kClientHeight = 330;

std::string WhenOf(const TBackupInfo& info) {
  if (!info.Date.empty()) return info.Date;
  size_t slash = info.FileName.find_last_of("\\/");
  return slash == std::string::npos ? info.FileName : info.FileName.substr(slash + 1);
}

std::string HoldsOf(const TBackupInfo& info) {
  std::string text = info.Description;
  if (info.View) text += " (" + RegistryViewName(info.View) + " view)";
  return text;
}

}  // namespace

TfrmRestoreBackup::TfrmRestoreBackup(TComponent* owner, IFileAccess& files, std::string folder,
                                     TRegistryOfView registryOfView)
    : TForm(owner, "frmRestoreBackup", TStyle{TBorderStyle::Sizeable, false, false, false}),
      lblBackups(Create<TLabel>("lblBackups", this)),
      lvBackups(Create<TListView>("lvBackups", this)),
      lblKeys(Create<TLabel>("lblKeys", this)),
      lvKeys(Create<TListView>("lvKeys", this)),
      btnRestore(Create<TButton>("btnRestore", this)),
      btnClose(Create<TButton>("btnClose", this)),
      files_(files),
      folder_(std::move(folder)),
      registryOfView_(std::move(registryOfView)) {
  SetCaption("Restore from a Backup");
  SetClientSize(kClientWidth, kClientHeight);
  SetMinSize(kClientWidth / 2 + 100, kClientHeight);
  CenterOnScreen();
  lblBackups.SetBounds(8, 8, 300, 16);
  lblBackups.SetCaption(" Backups ");
  lblBackups.SetFocusControl(&lvBackups);
  lvBackups.SetBounds(8, 26, kClientWidth - 16, 150);
  lvBackups.SetAnchors({true, true, true, true});
  lvBackups.AddColumn("Date", 130);
  lvBackups.AddColumn("Holds", kClientWidth - 16 - 134).AutoSize = true;
  lvBackups.SetRowSelect(true);
  lvBackups.SetHideSelection(false);
  lvBackups.SetHint(
      "|Backups\r\nWhat the cleanup tools removed, saved before each Apply, newest first.");
  lvBackups.OnSelectItem = [this](int, bool) { ShowDetails(); };
  lblKeys.SetBounds(8, 184, 300, 16);
  lblKeys.SetCaption("Keys in the backup:");
  lblKeys.SetAnchors({true, false, false, true});
  lblKeys.SetFocusControl(&lvKeys);
  lvKeys.SetBounds(8, 202, kClientWidth - 16, 86);
  lvKeys.SetAnchors({true, false, true, true});
  lvKeys.AddColumn("Key", kClientWidth - 20).AutoSize = true;
  lvKeys.SetShowColumnHeaders(false);
  btnRestore.SetBounds(kClientWidth - 166, kClientHeight - 33, 75, 25);
  btnRestore.SetAnchors({false, false, true, true});
  btnRestore.SetCaption("&Restore");
  btnRestore.SetHint("|Restore\r\nWrites the keys and values of the chosen backup back into the "
                     "registry.");
  btnRestore.OnClick = [this] { RestoreSelected(); };
  btnClose.SetBounds(kClientWidth - 83, kClientHeight - 33, 75, 25);
  btnClose.SetAnchors({false, false, true, true});
  btnClose.SetCaption("&Close");
  btnClose.OnClick = [this] { SetModalResult(IDCANCEL); };
  ApplyMessageFont(*this);
  Reload();
}

void TfrmRestoreBackup::Reload() {
  lvBackups.Clear();
  backups_.clear();
  try {
    backups_ = ListBackups(files_, folder_);
  } catch (const std::exception& e) {
    ShowMessageBox(e.what(), kAppTitle, MB_OK | MB_ICONWARNING);
  }
  lvBackups.BeginUpdate();
  for (const TBackupInfo& info : backups_) {
    int row = lvBackups.AddItem(WhenOf(info), -1, const_cast<TBackupInfo*>(&info));
    lvBackups.SetSubItem(row, 1, HoldsOf(info));
  }
  lvBackups.EndUpdate();
  if (!backups_.empty()) {
    lvBackups.SetFocusedIndex(0);
    lvBackups.SetSelected(0, true);
  }
  ShowDetails();
}

const TBackupInfo* TfrmRestoreBackup::Selected() const {
  int row = lvBackups.SelectedIndex();
  return row < 0 ? nullptr : static_cast<const TBackupInfo*>(lvBackups.ItemData(row));
}

void TfrmRestoreBackup::ShowDetails() {
  lvKeys.Clear();
  const TBackupInfo* info = Selected();
  btnRestore.SetEnabled(info && info->Problem.empty());
  if (!info) return;
  if (!info->Problem.empty()) lvKeys.AddItem(info->Problem, -1, nullptr);
  for (const std::string& key : info->Keys) lvKeys.AddItem(key, -1, nullptr);
}

void TfrmRestoreBackup::RestoreSelected() {
  const TBackupInfo* info = Selected();
  if (!info || !info->Problem.empty()) return;
  std::string what = WhenOf(*info);
  if (!info->Description.empty()) what += " (" + info->Description + ")";
  std::string keys;
  for (const std::string& key : info->Keys) keys += (keys.empty() ? "" : "\r\n") + key;
  if (ShowMessageBox(FormatRes(msg::SRestoreConfirm, {what, keys}), kAppTitle,
                     MB_YESNO | MB_ICONQUESTION) != IDYES)
    return;
  TBusyCursor busy;
  registryChanged_ = true;
  try {
    RestoreBackup(files_, info->FileName, registryOfView_);
  } catch (const std::exception& e) {
    ShowMessageBox(e.what(), kAppTitle, MB_OK | MB_ICONWARNING);
  }
}

bool ShowRestoreBackup(IFileAccess& files, const std::string& folder,
                       const TRegistryOfView& registryOfView) {
  TfrmRestoreBackup dialog(nullptr, files, folder, registryOfView);
  dialog.ShowModal();
  return dialog.RegistryChanged();
}

}  // namespace orvane
