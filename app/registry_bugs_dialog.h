#pragma once
// The registry bugs dialog: the faults the file type scan met, the counters, and the
// commands that repair the selected entries or all of them. It works on the file type
// list's own bug list; entries it fixed leave that list when it closes.

#include <functional>

#include "controls/action.h"
#include "controls/form.h"
#include "controls/list_view.h"
#include "controls/popup_menu.h"
#include "controls/std_controls.h"
#include "filetypes/adv_string_list.h"
#include "maintenance/registry_bugs.h"
#include "maintenance/removal_backup.h"
#include "platform/registry_backend.h"
#include "platform/win32/win32_handles.h"

namespace orvane {

// What the dialog works with: the registry it repairs (its HKEY_CLASSES_ROOT), the
// backup that takes what a fix run removes, and the main window's quick hint.
struct TRegistryBugsServices {
  IRegistryBackend& Registry;
  IRemovalBackup& Backup;
  std::function<void(const TControl*)> QuickHint;
};

class TfrmRegistryBugs : public TForm {
public:
  TfrmRegistryBugs(TComponent* owner, const TRegistryBugsServices& services);
  ~TfrmRegistryBugs() override;
  std::string ClassName() const override { return "TfrmRegistryBugs"; }

  TLabel& lblTitle;
  TSpeedButton& spbFix;
  TSpeedButton& spbFixAll;
  TLabel& lblTotalCaption;
  TLabel& lblBugsTotal;
  TLabel& lblFixedCaption;
  TLabel& lblBugsFixed;
  TListView& lvBugs;
  TLabel& lblF1Hint;
  TButton& btnClose;
  TActionList& alBugs;
  TAction& actFix;
  TAction& actFixAll;
  TAction& actSelectAll;
  TAction& actSelectNone;
  TAction& actInvertSelected;
  TAction& actQuickHint;
  TPopupMenu& pmBugs;
  TPopupMenu& pmHint;

  // Removes the fixed entries from the list shown so far, then shows `bugs` (none: shows
  // nothing) and starts counting fixes from 0.
  void SetBugs(TAdvStringList* bugs);
  int FixedCount() const { return fixedCount_; }
  // The fix run over the selected rows, or over all of them.
  void FixRows(bool selectedOnly);

  bool KeyDown(WORD key, TShortCut shift) override;
  bool KeyUp(WORD key, TShortCut shift) override;

protected:
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  void InitActions();
  bool SomeUnfixed() const;
  bool SelectionUnfixed() const;
  void ShowCounters();

  TRegistryBugsServices services_;
  TAdvStringList* bugs_ = nullptr;
  int fixedCount_ = 0;
  TImageListHandle images_;
};

// Shows the dialog over `bugs` modally and removes the fixed entries when it closes.
void ShowRegistryBugs(TAdvStringList& bugs, const TRegistryBugsServices& services);

// How ShowRegistryBugs runs the open dialog: modally. Tests work the dialog here instead.
std::function<void(TfrmRegistryBugs&)>& RegistryBugsModal();

}  // namespace orvane
