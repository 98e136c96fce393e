#pragma once
// The "Static Items Cleanup" page: the file types on the left, the verbs other programs
// registered for the focused one on the right with check marks (checked = active), the
// details of the selected verb, and the commands that mark verbs to be switched off, on
// or deleted. The marks wait in the model for the window's Apply.

#include <functional>
#include <string>
#include <vector>

#include <windows.h>

#include "controls/action.h"
#include "controls/button_row.h"
#include "controls/edit_controls.h"
#include "controls/file_type_list_view.h"
#include "controls/list_view.h"
#include "controls/std_controls.h"
#include "platform/services.h"

namespace orvane {

class IRemovalBackup;
class TAdvEditAction;
class TFileTypeList;
class TForm;
class TMenuItemRec;
class TStaticItems;
class TStaticItemsCleanup;
class TTargetAction;

class TStaticCleanupPage {
public:
  // Controls and actions are components of `form`, on `parent`; the page's actions join
  // `actions` under "Cleanup" and "File Types". `actDelete` is the common delete command,
  // which works on this page's list while the page is shown.
  TStaticCleanupPage(TForm& form, TWinControl& parent, TActionList& actions,
                     TStaticItemsCleanup& cleanup, TFileTypeList& fileTypes,
                     const TServices& services, TAdvEditAction& actDelete);
  ~TStaticCleanupPage();
  TStaticCleanupPage(const TStaticCleanupPage&) = delete;
  TStaticCleanupPage& operator=(const TStaticCleanupPage&) = delete;

  TLabel& lblFileTypes;
  TSpeedButton& spbRefresh;
  TFileTypeListView& lvFileTypes;
  TLabel& lblMenuItems;
  TSpeedButton& spbItemRefresh;
  TSpeedButton& spbItemFind;
  TSpeedButton& spbItemDelete;
  TSpeedButton& spbItemClear;
  TSpeedButton& spbItemProgram;
  TSpeedButton& spbItemRestore;
  TLabel& lblFilter;
  TEdit& edFilter;
  TListView& lbMenuItems;
  TLabel& lblAppPath;
  TEdit& edAppPath;
  TLabel& lblRegistryKey;
  TEdit& edRegistryKey;
  TLabel& lblCleanupNote;
  TAction& actCleanupRefresh;
  TAction& actCleanupFind;
  TAction& actCleanupDeleteAll;
  TAction& actCleanupProgram;
  TAction& actFileTypesRefresh;
  TAction& actFileTypesTypes;
  TAction& actFileTypesExtensions;
  TAction& actFileTypesAll;

  // The window's "Quick Hint", last in the pop-up menus; none leaves it out.
  TAction* QuickHint = nullptr;
  // The window's "Restore..." of backups, on the page's button; none leaves it disabled.
  TAction* Restore = nullptr;
  // The page is the one shown; set by the window.
  std::function<bool()> PageActive;
  // Opens a folder with the shell; returns the shell's result code.
  std::function<long long(const std::string& verb, const std::string& target)> ShellOpen;
  // Shows a pop-up menu of these actions (nullptr: a separator) at a screen point.
  std::function<void(const std::vector<TAction*>& items, POINT at)> ShowPopup;

  bool HasChanges() const;
  // Applies the marks after handing what goes to `backup`; the list is rebuilt also when
  // a step fails.
  void ApplyChanges(IRemovalBackup& backup);
  // The verbs of the focused file type again, from the model.
  void BuildItemList();
  // Every file type's verbs read again from the registry (after a restore); pending marks
  // are dropped.
  void Reload();
  // The page is on screen: its file type list fills the first time. Thousands of types
  // take a second to list, which a start that never shows this page need not wait for.
  void Shown();
  void ShowDetails();
  // The verb of a row of the item list.
  TMenuItemRec* RowRecord(int row) const;
  // What a row's check mark shows: active and not hidden by another program.
  bool ShownActive(const TMenuItemRec& rec) const;

private:
  bool Ready() const;
  TMenuItemRec* SelectedRecord() const;
  TStaticItems* FocusedItems() const;
  void InitLayout(TWinControl& parent);
  void InitActions();
  void InitEvents();
  void ItemChecked(int row, bool checked);
  void DeleteSelected();
  void DeleteAll();
  void FindApplication();
  void DisableProgram();
  void RefreshFileTypes();
  void SelectRow(int row);

  TForm& form_;
  TStaticItemsCleanup& cleanup_;
  TFileTypeList& fileTypes_;
  TServices services_;
  TAdvEditAction& actDelete_;
  TTargetAction* deleteTarget_ = nullptr;
  TStaticItems* shown_ = nullptr;
  int refreshing_ = 0;
  // The speed buttons above the list, which widen for longer captions.
  TButtonRow buttonRow_;
};

}  // namespace orvane
