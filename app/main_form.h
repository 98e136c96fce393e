#pragma once
// The main window: a header with the page description, the page selector on the left,
// the four pages, and OK / Cancel / Apply at the bottom. It owns the file type list,
// whose scan at creation feeds the loading window's progress texts.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/form_placement.h"
#include "app/shell_ext_switch.h"
#include "app/shell_extension_cleanup_page.h"
#include "app/static_cleanup_page.h"
#include "app/static_items_page.h"
#include "app/submenu_items_page.h"
#include "controls/action.h"
#include "controls/adv_actions.h"
#include "controls/category_buttons.h"
#include "controls/edit_controls.h"
#include "controls/form.h"
#include "controls/page_control.h"
#include "controls/popup_menu.h"
#include "controls/panels.h"
#include "controls/std_controls.h"
#include "filetypes/file_type_list.h"
#include "maintenance/reg_backup_file.h"
#include "maintenance/static_items_cleanup.h"
#include "menus/dynamic_menu.h"
#include "menus/static_menu.h"
#include "platform/downloader.h"
#include "platform/services.h"
#include "platform/system_info.h"
#include "platform/win32/image_list.h"
#include "services/classic_menu_switch.h"
#include "services/localizer.h"
#include "services/maker_endpoints.h"
#include "storage/mru_list.h"

namespace orvane {

// What the main window is set to besides the services it works through.
struct TMainFormSettings {
  std::string MenuFile;
  bool Windows64 = false;  // pages on the registry say " [WOW64]"
  // Windows 11 and the registry as the file manager reads it (its native view): the full
  // context menu switch. Without that registry there is no switch.
  TOSVersionData OSVersion;
  IRegistryBackend* ShellRegistry = nullptr;
  // Where load problems are written; empty: "log.txt" beside the program.
  std::string LogFile;
  // Where the shell extension cleanup looks classes up; empty: the services' registry,
  // of this program's bitness.
  std::vector<TClassView> ClassViews;
  // How the shell extension page times handlers; no runner: no timing.
  THandlerMeasuring Measuring;
  // The dynamic items switch; none: the system's, over the services' registry and files.
  std::shared_ptr<TShellExtSwitch> ShellExt;
  // What "Check for Updates" downloads with, and from where; no downloader: no check.
  IDownloader* Downloader = nullptr;
  std::string VersionFileUrl = kVersionFileUrl;
  // The interface languages the "Language" button offers; none: no button.
  TLocalizer* Localizer = nullptr;
};

// Pending changes kept elsewhere (the cleanup pages): asked by HasChanges, written by
// ApplyChanges after both menus.
struct TPendingChanges {
  std::function<bool()> HasChanges;
  std::function<void()> Apply;
};

// The main window carries this property from its first idle pass on: shown, menus loaded,
// the first page filled and painted. What a start-up benchmark waits for.
inline constexpr char kMainWindowReadyProperty[] = "OrvaneReady";

class TfrmMain : public TForm {
public:
  // The program passes the system's services, tests their fakes.
  TfrmMain(TComponent* owner, const TServices& services, const TMainFormSettings& settings);
  ~TfrmMain() override;
  std::string ClassName() const override { return "TfrmMain"; }

  // Header.
  TGradientPanel& pnlTop;
  TLabel& lblCaption;
  TLabel& lblTabDescr;
  TSpeedButton& spbLanguage;
  TSpeedButton& spbAbout;
  // Bottom.
  TPanel& pnlBottom;
  TLabel& lblF1Hint;
  TButton& btnOK;
  TButton& btnCancel;
  TButton& btnApply;
  // Left.
  TPanel& pnlLeft;
  TCategoryButtons& CategoryButtons1;
  // Aligned to the bottom in this order: "Check for Updates" lowest.
  TSpeedButton& spbCheckUpdates;
  TSpeedButton& spbBugs;
  TCheckBox& chkClassicMenu;
  // Pages.
  TPageControl& pgcMain;
  TTabSheet& tshtStaticMenus;
  TTabSheet& tshtActiveXMenus;
  TTabSheet& tshtCleanup;
  TTabSheet& TabSheet2;
  // Commands.
  TActionList& alMain;
  TAction& actApply;
  TAction& actAbout;
  TAction& actQuickHint;
  TAction& actRegistryBugs;
  TAction& actNextPage;
  TAction& actPrevPage;
  TAction& actClassicMenu;  // present on Windows 11 only
  TAction& actRestoreBackup;
  TAdvEditCopy& actCopy;
  TAdvEditDelete& actDelete;
  TAdvEditPaste& actPaste;
  // The "Language" drop-down: one entry per language, the current one checked.
  TActionList& alLocales;
  TPopupMenu& pmLocales;
  // The recent icons and the recent menu files: read with the menus, written when the
  // window closes.
  TMruList mruIcons{30};
  TMruList mruMenus{5};

  bool Loading() const { return loading_; }
  bool ShellExtCleanupShown() const { return shellExtCleanupShown_; }
  const std::string& ExecutablePath() const { return executablePath_; }
  // The system information report of the error report and the About window.
  std::string SystemReport();
  TFileTypeList& FileTypeList() { return fileTypeList_; }
  const TFormPlacement& Placement() const { return placement_; }
  TStaticMenu& StaticMenu() { return *staticMenu_; }
  TDynamicMenu& DynamicMenu() { return *dynamicMenu_; }
  TStaticItemsPage& StaticPage() { return *staticPage_; }
  TSubmenuItemsPage& SubmenuPage() { return *submenuPage_; }
  // The cleanup pages, made at their first showing or here, whichever comes first.
  TStaticCleanupPage& StaticCleanupPage();
  TfrmDynamicCleanup& ShellExtPage();
  TStaticItemsCleanup& StaticCleanup();
  const std::string& LogFile() const { return logFile_; }
  // Where the maintenance tools put what they are about to remove: "Backups" beside the
  // menu file.
  TRegBackupFile& RemovalBackup() { return removalBackup_; }

  // The shell extension's part of Apply: whether dynamic items are enabled, and the
  // module's unregistration and registration around the dynamic menu's save.
  std::function<bool()> ShellExtensionEnabled;
  // What registers the module: the submenu page's box goes through it.
  TShellExtSwitch& ShellExt() { return *settings_.ShellExt; }
  std::function<void()> UnregisterShellExtension;
  std::function<void()> RegisterShellExtension;
  // The shell extensions cleanup first, then the static items cleanup; each joins when
  // its page is made.
  std::vector<TPendingChanges> Cleanups;

  // Pending changes of either menu or of a cleanup page.
  bool HasChanges() const;
  // Writes every pending change.
  void ApplyChanges();
  // Shows the long part of the control's hint: its first line as the caption, the other
  // lines as the text.
  void ShowQuickHint(const TControl* control);
  // The description line of a page, with " [WOW64]" where the page works on the registry
  // of a 64-bit system.
  std::string PageDescription(int pageIndex) const;
  // The idle-time pass; the first one after the window appeared marks it ready.
  void IdleUpdate();

  bool KeyDown(WORD key, TShortCut shift) override;
  bool KeyUp(WORD key, TShortCut shift) override;

private:
  void FormCreate();
  void CreateSteps();
  void CreateStaticCleanup();
  void PageChanged();
  void FormStorageRestorePlacement();
  void ShowClassicMenuState();
  void LoadMenus();
  void ReadRecentLists();
  void WriteRecentLists();
  void CreateShellExtensionPage();
  void FormCloseQuery(bool& canClose);
  void RestoreBackupExecute();
  void BuildLocaleMenu();
  void ChooseLocale(std::size_t index);
  void CheckLocales();

  TServices services_;
  TMainFormSettings settings_;
  bool loading_ = true;
  bool shellExtCleanupShown_ = false;
  bool markedReady_ = false;
  // Until the lists were read, the file's lists are not ours to write.
  bool recentListsRead_ = false;
  std::string executablePath_;
  TFormPlacement placement_;
  TWin32ImageList fileTypeImages_;
  TFileTypeList fileTypeList_;
  std::unique_ptr<TClassicMenuSwitch> classicMenu_;
  std::string logFile_;
  TRegBackupFile removalBackup_;
  // The menus go before the file type list, the pages before the menus.
  std::unique_ptr<TStaticMenu> staticMenu_;
  std::unique_ptr<TDynamicMenu> dynamicMenu_;
  std::unique_ptr<TStaticItemsPage> staticPage_;
  std::unique_ptr<TSubmenuItemsPage> submenuPage_;
  // The static verb clean-up: its model before its page, which goes first.
  std::unique_ptr<TStaticItemsCleanup> staticCleanup_;
  std::unique_ptr<TStaticCleanupPage> staticCleanupPage_;
  // The shell extensions cleanup model belongs to its page, which goes first.
  std::unique_ptr<TShellExtensionCleanup> shellExtCleanup_;
  std::unique_ptr<TfrmDynamicCleanup> shellExtPage_;
};

}  // namespace orvane
