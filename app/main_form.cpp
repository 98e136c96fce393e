#include "app/main_form.h"

#include <shellapi.h>

#include <ctime>
#include <functional>
#include <tuple>

#include "app/about_dialog.h"
#include "app/custom_draw_dialog.h"
#include "app/loading.h"
#include "app/registry_bugs_dialog.h"
#include "app/restore_backup_dialog.h"
#include "app/select_icon_dialog.h"
#include "app/shell_ext_switch.h"
#include "app/update_prompt.h"
#include "filetypes/predefined_types.h"
#include "menus/menu_file_io.h"
#include "platform/file_access.h"
#include "platform/messages.h"
#include "platform/system_folders.h"
#include "platform/system_info.h"
#include "platform/win32/system_error.h"
#include "platform/win32/window_helpers.h"
#include "services/system_report.h"
#include "storage/menu_file.h"
#include "storage/orvane_ini_file.h"
#include "storage/profile_ini_file.h"

namespace orvane {
namespace {

constexpr int kClientWidth = 916;
constexpr int kClientHeight = 413;
constexpr int kMinWidth = 593;
constexpr int kMinHeight = 382;
constexpr int kHeaderHeight = 57;
constexpr int kBottomHeight = 41;
constexpr int kLeftWidth = 176;

// "Backups" in the menu file's folder, with a trailing separator.
std::string BackupFolder(const std::string& menuFile) {
  std::size_t slash = menuFile.find_last_of("\\/:");
  return (slash == std::string::npos ? std::string() : menuFile.substr(0, slash + 1)) + "Backups\\";
}

TFont HeaderFont(bool bold, int size) {
  TFont font;
  font.Bold = bold;
  font.Size = size;
  font.Color = RGB(255, 255, 255);
  return font;
}

}  // namespace

TfrmMain::TfrmMain(TComponent* owner, const TServices& services, const TMainFormSettings& settings)
    : TForm(owner, "frmMain", TStyle{TBorderStyle::Sizeable, true, false, false}),
      pnlTop(Create<TGradientPanel>("pnlTop", this, RGB(0, 45, 110), RGB(90, 150, 220))),
      lblCaption(Create<TLabel>("lblCaption", &pnlTop)),
      lblTabDescr(Create<TLabel>("lblTabDescr", &pnlTop)),
      spbLanguage(Create<TSpeedButton>("spbLanguage", &pnlTop)),
      spbAbout(Create<TSpeedButton>("spbAbout", &pnlTop)),
      pnlBottom(Create<TPanel>("pnlBottom", this)),
      lblF1Hint(Create<TLabel>("lblF1Hint", &pnlBottom)),
      btnOK(Create<TButton>("btnOK", &pnlBottom)),
      btnCancel(Create<TButton>("btnCancel", &pnlBottom)),
      btnApply(Create<TButton>("btnApply", &pnlBottom)),
      pnlLeft(Create<TPanel>("pnlLeft", this)),
      CategoryButtons1(Create<TCategoryButtons>("CategoryButtons1", &pnlLeft)),
      spbCheckUpdates(Create<TSpeedButton>("spbCheckUpdates", &pnlLeft)),
      spbBugs(Create<TSpeedButton>("spbBugs", &pnlLeft)),
      chkClassicMenu(Create<TCheckBox>("chkClassicMenu", &pnlLeft)),
      pgcMain(Create<TPageControl>("pgcMain", this)),
      tshtStaticMenus(Create<TTabSheet>("tshtStaticMenus", pgcMain)),
      tshtActiveXMenus(Create<TTabSheet>("tshtActiveXMenus", pgcMain)),
      tshtCleanup(Create<TTabSheet>("tshtCleanup", pgcMain)),
      TabSheet2(Create<TTabSheet>("TabSheet2", pgcMain)),
      alMain(Create<TActionList>("alMain")),
      actApply(alMain.Add("actApply", "Apply", "Common")),
      actAbout(alMain.Add("actAbout", "About", "Common")),
      actQuickHint(alMain.Add("actQuickHint", "&Quick Hint", "Common")),
      actRegistryBugs(alMain.Add("actRegistryBugs", "&Registry Bugs...", "Common")),
      actNextPage(alMain.Add("actNextPage", "Next Page", "Tab")),
      actPrevPage(alMain.Add("actPrevPage", "Previous Page", "Tab")),
      actClassicMenu(
          alMain.Add("actClassicMenu", "Use the full context menu (Windows 11)", "Common")),
      actRestoreBackup(alMain.Add("actRestoreBackup", "&Restore...", "Cleanup")),
      actCopy(alMain.Create<TAdvEditCopy>("actCopy", services.Clipboard)),
      actDelete(alMain.Create<TAdvEditDelete>("actDelete", services.Clipboard)),
      actPaste(alMain.Create<TAdvEditPaste>("actPaste", services.Clipboard)),
      alLocales(Create<TActionList>("alLocales")),
      pmLocales(Create<TPopupMenu>("pmLocales")),
      services_(services),
      settings_(settings),
      placement_(settings.MenuFile, "Orvane"),
      fileTypeList_(services.Registry, services.Icons),
      logFile_(settings.LogFile.empty() ? services.ProgramFolder + "log.txt" : settings.LogFile),
      removalBackup_(services.Registry, services.Files, BackupFolder(settings.MenuFile),
                     [] { return std::time(nullptr); }) {
  if (!settings_.ShellExt) {
    settings_.ShellExt = SystemShellExtSwitch(services.Registry, services.FileSystem,
                                              services.ProgramFolder, services.WindowsFolder,
                                              settings.Windows64);
  }
  SetKeyPreview(true);
  SetClientSize(kClientWidth, kClientHeight);
  SetMinSize(kMinWidth, kMinHeight);
  CenterOnScreen();

  // Header.
  pnlTop.SetBounds(0, 0, kClientWidth, kHeaderHeight);
  pnlTop.SetAlign(TAlign::Top);
  lblCaption.SetBounds(12, 6, 400, 18);
  lblCaption.SetFont(HeaderFont(true, 10));
  lblCaption.SetCaption("Context menu management");
  lblTabDescr.SetBounds(24, 25, Width() - 160, 28);
  lblTabDescr.SetFont(HeaderFont(false, 8));
  lblTabDescr.SetWordWrap(true);
  // Keeps its width of the window's width less 160 when the window is resized.
  lblTabDescr.SetAnchors({true, true, true, false});
  spbAbout.SetBounds(kClientWidth - 76, 16, 68, 24);
  spbAbout.SetAnchors({false, true, true, false});
  spbAbout.SetFont(HeaderFont(false, 8));
  spbAbout.SetAction(&actAbout);
  spbAbout.SetHint("Show info on this stuff");
  spbLanguage.SetBounds(kClientWidth - 152, 16, 72, 24);
  spbLanguage.SetAnchors({false, true, true, false});
  spbLanguage.SetFont(HeaderFont(false, 8));
  spbLanguage.SetCaption("Language");
  spbLanguage.SetHint("Choose interface language");
  // Shown once more than one interface language is available.
  spbLanguage.SetVisible(false);
  spbLanguage.OnClick = [this] {
    RECT bounds = spbLanguage.BoundsRect();
    POINT at{bounds.left, bounds.bottom};
    ClientToScreen(pnlTop.Handle(), &at);
    pmLocales.Popup(Handle(), at);
  };

  // Bottom.
  pnlBottom.SetBounds(0, kClientHeight - kBottomHeight, kClientWidth, kBottomHeight);
  pnlBottom.SetAlign(TAlign::Bottom);
  lblF1Hint.SetBounds(12, 14, 400, 16);
  lblF1Hint.SetCaption("Press F1 on dialog's control to get quick hint.");
  int right = kClientWidth - 8;
  for (TButton* button : {&btnApply, &btnCancel, &btnOK}) {
    button->SetBounds(right - 75, 8, 75, 25);
    button->SetAnchors({false, true, true, false});
    right -= 83;
  }
  btnOK.SetCaption("OK ");
  btnOK.SetHint("|OK button\r\nCloses Orvane with all changes saved.");
  btnCancel.SetCaption("Cancel");
  btnCancel.SetHint("|Cancel button\r\nCloses Orvane with all changes cancelled.");
  actApply.SetHint("|Apply button\r\nSaves all changes without exiting Orvane.");
  btnApply.SetAction(&actApply);

  // Left.
  pnlLeft.SetBounds(0, kHeaderHeight, kLeftWidth, kClientHeight - kHeaderHeight - kBottomHeight);
  pnlLeft.SetAlign(TAlign::Left);
  spbCheckUpdates.SetBounds(4, 0, kLeftWidth - 8, 26);
  spbCheckUpdates.SetAlign(TAlign::Bottom);
  spbCheckUpdates.SetFlat(false);
  spbCheckUpdates.SetCaption("Check for Updates");
  spbCheckUpdates.SetHint("|Check for Updates\r\nLooks for a newer version of Orvane.");
  spbCheckUpdates.OnClick = [this] {
    if (!settings_.Downloader) return;
    CheckForUpdatesAndAsk({services_.Versions, *settings_.Downloader, executablePath_,
                           settings_.VersionFileUrl, kMakerWebSite, ShellOpenPage});
  };
  spbBugs.SetBounds(4, 0, kLeftWidth - 8, 26);
  spbBugs.SetAlign(TAlign::Bottom);
  spbBugs.SetFlat(false);
  spbBugs.SetCaption("Registry Bugs !");
  spbBugs.SetHint("|Registry Bugs\r\nLists the faults found in the registry.");
  spbBugs.OnClick = [this] { actRegistryBugs.Execute(); };
  chkClassicMenu.SetBounds(8, 0, kLeftWidth - 12, 32);
  chkClassicMenu.SetAlign(TAlign::Bottom);
  SetWindowLongA(chkClassicMenu.Handle(), GWL_STYLE,
                 GetWindowLongA(chkClassicMenu.Handle(), GWL_STYLE) | BS_MULTILINE);
  CategoryButtons1.SetAlign(TAlign::Client);
  TButtonCategory& tools = CategoryButtons1.AddCategory("Context menu tools");
  for (const char* caption :
       {"Static Items", "Submenu Items", "Static Items Cleanup", "Shell Extensions Cleanup"}) {
    tools.AddItem(caption);
  }
  CategoryButtons1.OnButtonClicked = [this](int index) { pgcMain.SetActivePageIndex(index); };

  // Pages.
  pgcMain.SetAlign(TAlign::Client);
  tshtStaticMenus.SetCaption("Static Items");
  tshtActiveXMenus.SetCaption("Submenu Items");
  tshtCleanup.SetCaption("Static Items Cleanup");
  TabSheet2.SetCaption("Shell Extensions Cleanup");
  pgcMain.OnChange = [this] {
    if (!loading_) PageChanged();
  };

  // Commands.
  actApply.OnUpdate = [this](TAction& action) { action.SetEnabled(HasChanges()); };
  actApply.OnExecute = [this](TAction&) { ApplyChanges(); };
  actQuickHint.OnExecute = [this](TAction&) { ShowQuickHint(ActiveControl()); };
  actAbout.SetHint("Show info on this stuff");
  actAbout.OnExecute = [this](TAction&) {
    // The release date in the interface language's date format.
    const unsigned locale =
        settings_.Localizer ? settings_.Localizer->CurrentLocaleId() : LOCALE_USER_DEFAULT;
    ShowAbout(services_,
              TAboutFacts{executablePath_, ReleaseDateText(executablePath_, locale),
                          fileTypeList_.Items().Count(), settings_.Windows64},
              [this] { return SystemReport(); });
  };
  actRegistryBugs.SetHint("Display registry bugs detected");
  actRegistryBugs.OnUpdate = [this](TAction& action) {
    action.SetEnabled(fileTypeList_.Bugs().Count() > 0);
    spbBugs.SetVisible(action.Enabled());
  };
  actRegistryBugs.OnExecute = [this](TAction& action) {
    ShowRegistryBugs(fileTypeList_.Bugs(),
                     {services_.Registry, RemovalBackup(),
                      [this](const TControl* control) { ShowQuickHint(control); }});
    action.Update();
  };
  actNextPage.SetShortCut(scCtrl | VK_TAB);
  actNextPage.OnExecute = [this](TAction&) { pgcMain.SelectNextPage(true); };
  actPrevPage.SetShortCut(scCtrl | scShift | VK_TAB);
  actPrevPage.OnExecute = [this](TAction&) { pgcMain.SelectNextPage(false); };

  actClassicMenu.SetHint(
      "|Use the full context menu\r\nWindows 11 shows the classic context menu, and with it the "
      "items of Orvane, at once instead of behind \"Show more options\".");
  actClassicMenu.OnExecute = [this](TAction& action) {
    const bool on = !action.Checked();
    try {
      classicMenu_->SetOn(on);
    } catch (...) {
      ShowClassicMenuState();
      throw;
    }
    ShowClassicMenuState();
    if (action.Checked() == on) {
      ShowMessageBox(LoadResString(msg::SClassicMenuRestart), kAppTitle,
                     MB_OK | MB_ICONINFORMATION);
    }
  };
  chkClassicMenu.SetAction(&actClassicMenu);
  actRestoreBackup.SetHint("Restore removed entries from a backup");
  actRestoreBackup.OnExecute = [this](TAction&) { RestoreBackupExecute(); };
  if (settings.ShellRegistry && IsWindows11(settings.OSVersion)) {
    classicMenu_ = std::make_unique<TClassicMenuSwitch>(*settings.ShellRegistry);
    ShowClassicMenuState();
  } else {
    actClassicMenu.SetVisible(false);
  }
  for (auto [action, caption, shortCut] :
       {std::tuple<TAction*, const char*, TShortCut>{&actCopy, "&Copy", scCtrl | 'C'},
        {&actDelete, "&Delete", VK_DELETE},
        {&actPaste, "&Paste", scCtrl | 'V'}}) {
    action->SetCaption(caption);
    action->SetCategory("Common");
    action->SetShortCut(shortCut);
  }

  btnOK.OnClick = [this] {
    ApplyChanges();
    Close();
  };
  btnCancel.OnClick = [this] { Close(); };
  OnCloseQuery = [this](bool& canClose) { FormCloseQuery(canClose); };
  OnClose = [this] {
    placement_.Save(Handle());
    WriteRecentLists();
  };
  OnFirstShow = [this] {
    FormStorageRestorePlacement();
    LoadMenus();
  };

  Realign();
  // The language's texts before the window sets texts of its own.
  Translate();
  FormCreate();
}

TfrmMain::~TfrmMain() {
  RemovePropA(Handle(), kMainWindowReadyProperty);
  staticCleanupPage_.reset();
  staticPage_.reset();
  submenuPage_.reset();
  shellExtPage_.reset();
  // The file type list goes before the controls that show it.
  fileTypeList_.OnRefreshItem() = nullptr;
  fileTypeList_.OnRefresh() = nullptr;
  fileTypeList_.OnLoadIcon() = nullptr;
}

void TfrmMain::FormCreate() {
  TBusyCursor busy;
  loading_ = true;
  // The last step runs also when an earlier one raised.
  auto finish = [this] {
    loading_ = false;
    pgcMain.SetActivePage(&tshtStaticMenus);
    PageChanged();
    UpdateActions(std::nullopt);
  };
  try {
    CreateSteps();
  } catch (...) {
    finish();
    throw;
  }
  finish();
}

void TfrmMain::CreateSteps() {
  ShowProgress(LoadResString(msg::SPreparingEnvironment));
  SetCaption(kAppTitle);
  ApplyMessageFont(*this);

  executablePath_ = ProgramFileName();
  placement_.SetIniFile(settings_.MenuFile);

  CategoryButtons1.SetSelectedIndex(0);

  // Per type only when a repaint is due: setting the text costs a trip to the window
  // system, thousands of times over.
  fileTypeList_.OnRefreshItem() = [](TFileTypeLink*, TFileType* item) {
    if (item && ProgressDue()) {
      ShowProgress(FormatRes(msg::SAnalyzingFileType, {item->Name()}));
    } else {
      RepaintProgress();
    }
  };
  fileTypeList_.OnRefresh() = [](TFileTypeLink*) {
    ShowProgress(LoadResString(msg::SReadyToLoadIcons));
  };
  fileTypeList_.OnLoadIcon() = [](TFileTypeLink*, TFileType* item) {
    if (item && ProgressDue()) {
      ShowProgress(FormatRes(msg::SLoadingIcon, {item->Name()}));
    } else {
      RepaintProgress();
    }
  };
  fileTypeList_.SetImages(&fileTypeImages_);
  fileTypeList_.BusyCursor = [cursor = std::shared_ptr<TBusyCursor>()](bool busy) mutable {
    if (busy) {
      cursor = std::make_shared<TBusyCursor>();
    } else {
      cursor.reset();
    }
  };

  staticMenu_ = std::make_unique<TStaticMenu>(&fileTypeList_.Items(), TVerbRegistry{services_.Registry, services_.FileSystem, kHkeyClassesRoot, {}, &removalBackup_});
  dynamicMenu_ = std::make_unique<TDynamicMenu>(
      &fileTypeList_.Items(), TItemImageSources{services_.Icons, services_.Files});

  ShowProgress(LoadResString(msg::SScanningFileTypes));
  fileTypeList_.SetActive(false);
  fileTypeList_.SetActive(true);

  ShowProgress(LoadResString(msg::SReadyToStart));
  BuildLocaleMenu();

  fileTypeImages_.Recreate32();
  for (int i = 0; i < pgcMain.PageCount(); ++i) pgcMain.Pages(i).SetTabVisible(false);

  // After the icons became 32-bit: the tree takes the list's final handle.
  staticPage_ = std::make_unique<TStaticItemsPage>(
      *this, tshtStaticMenus, alMain, *staticMenu_, fileTypeList_, services_,
      TStaticPageCommands{actCopy, actPaste, actDelete, actQuickHint});
  staticPage_->PageActive = [this] { return pgcMain.ActivePage() == &tshtStaticMenus; };
  // A hidden page takes the shown page's size, so that its anchors start from there.
  const RECT shown = tshtStaticMenus.BoundsRect();
  tshtActiveXMenus.SetBounds(shown.left, shown.top, shown.right - shown.left,
                             shown.bottom - shown.top);
  submenuPage_ = std::make_unique<TSubmenuItemsPage>(
      *this, tshtActiveXMenus, alMain, *dynamicMenu_, fileTypeList_, services_,
      TMenuPageCommands{actCopy, actPaste, actDelete, actQuickHint}, settings_.MenuFile, mruMenus);
  submenuPage_->PageActive = [this] { return pgcMain.ActivePage() == &tshtActiveXMenus; };
  submenuPage_->Customize = [this] { ShowCustomDraw(settings_.MenuFile, services_.Files); };
  ConnectShellExtBox(submenuPage_->chkShellExt, *this, ShellExt());
  submenuPage_->UseIconChoice(mruIcons, {services_.Icons, services_.Files,
                                         services_.WindowsFolder + "System32\\shell32.dll"});
  // The scan told the empty menus about their file types: that is no change of theirs.
  staticMenu_->ClearModified();
  dynamicMenu_->ClearModified();
}

// The cleanup pages are made when first needed: most starts never show them.
TStaticCleanupPage& TfrmMain::StaticCleanupPage() {
  if (!staticCleanupPage_) CreateStaticCleanup();
  return *staticCleanupPage_;
}

TStaticItemsCleanup& TfrmMain::StaticCleanup() {
  StaticCleanupPage();
  return *staticCleanup_;
}

TfrmDynamicCleanup& TfrmMain::ShellExtPage() {
  if (!shellExtPage_) CreateShellExtensionPage();
  return *shellExtPage_;
}

void TfrmMain::CreateStaticCleanup() {
  TBusyCursor busy;
  // A hidden page has not been laid out yet: it takes the shown page's size, so that its
  // controls' anchors start from the right edges.
  const RECT shown = tshtStaticMenus.BoundsRect();
  tshtCleanup.SetBounds(shown.left, shown.top, shown.right - shown.left, shown.bottom - shown.top);
  staticCleanup_ = std::make_unique<TStaticItemsCleanup>(
      services_.Registry, [this](const std::string& verb) { return staticMenu_->HoldsVerb(verb); });
  staticCleanupPage_ = std::make_unique<TStaticCleanupPage>(
      *this, tshtCleanup, alMain, *staticCleanup_, fileTypeList_, services_, actDelete);
  staticCleanupPage_->PageActive = [this] { return pgcMain.ActivePage() == &tshtCleanup; };
  staticCleanupPage_->QuickHint = &actQuickHint;
  staticCleanupPage_->Restore = &actRestoreBackup;
  Cleanups.push_back({[this] { return staticCleanupPage_->HasChanges(); },
                      [this] { staticCleanupPage_->ApplyChanges(RemovalBackup()); }});
  Translate();
}

void TfrmMain::CreateShellExtensionPage() {
  TBusyCursor busy;
  // As for the static cleanup: anchors start from the shown page's size.
  const RECT shown = tshtStaticMenus.BoundsRect();
  TabSheet2.SetBounds(shown.left, shown.top, shown.right - shown.left, shown.bottom - shown.top);
  std::vector<TClassView> views = settings_.ClassViews;
  if (views.empty())
    views.push_back(
        {&services_.Registry, sizeof(void*) == 8 ? TBitness::Bits64 : TBitness::Bits32, {}, {}});
  shellExtCleanup_ = std::make_unique<TShellExtensionCleanup>(TShellExtensionServices{
      services_.Registry, std::move(views), services_.FileSystem, services_.Versions});
  shellExtPage_ = std::make_unique<TfrmDynamicCleanup>(*this, TabSheet2, *shellExtCleanup_, services_,
                                                       settings_.Measuring);
  shellExtPage_->OnChange = [this] { UpdateActions("Common"); };
  // Applied before the static items cleanup.
  Cleanups.insert(Cleanups.begin(),
                  TPendingChanges{[this] { return shellExtPage_->IsModified(); },
                                  [this] { shellExtPage_->Apply(removalBackup_); }});
  Translate();
}

void TfrmMain::FormCloseQuery(bool& canClose) {
  if (!HasChanges()) return;
  switch (ShowMessageBox(LoadResString(msg::SCloseQuestion), kAppTitle,
                         MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
      // A failure keeps the window open; the changes stay pending.
      canClose = false;
      ApplyChanges();
      canClose = true;
      break;
    case IDNO:
      break;
    default:
      canClose = false;
  }
}

void TfrmMain::RestoreBackupExecute() {
  // Each backup goes back through the registry view it was taken from; this 32-bit
  // program's own view is the 32-bit one on a 64-bit system.
  auto registryOfView = [this](std::uint32_t view) -> IRegistryBackend* {
    if (view == 0) return &services_.Registry;
    if (!settings_.Windows64) return nullptr;
    return view == kKeyWow64_64Key ? settings_.ShellRegistry : &services_.Registry;
  };
  if (!ShowRestoreBackup(services_.Files, removalBackup_.Folder(), registryOfView)) return;
  // The lists show the registry as it is now; marks made before the restore are dropped.
  if (staticCleanupPage_) staticCleanupPage_->Reload();
  if (shellExtCleanupShown_) shellExtPage_->Reload();
}

// The registry decides: the check box has toggled itself when it was clicked.
void TfrmMain::ShowClassicMenuState() {
  const TClassicMenuSwitch::TState state = classicMenu_->State();
  actClassicMenu.SetChecked(state == TClassicMenuSwitch::TState::On);
  actClassicMenu.SetEnabled(state != TClassicMenuSwitch::TState::Foreign);
  chkClassicMenu.SetChecked(actClassicMenu.Checked());
}

void TfrmMain::FormStorageRestorePlacement() {
  TBusyCursor busy;
  placement_.Restore(Handle(), kMinWidth, kMinHeight);
}

std::string TfrmMain::PageDescription(int pageIndex) const {
  static constexpr MessageId kTexts[] = {msg::SDescrStaticItems, msg::SDescrSubmenuItems,
                                         msg::SDescrStaticCleanup, msg::SDescrShellExtCleanup};
  if (pageIndex < 0 || pageIndex >= 4) return {};
  std::string text = LoadResString(kTexts[pageIndex]);
  // The submenu items live in the menu file, not in the registry.
  if (settings_.Windows64 && pageIndex != 1) text += LoadResString(msg::SWow64Suffix);
  return text;
}

void TfrmMain::PageChanged() {
  const int index = pgcMain.ActivePageIndex();
  CategoryButtons1.SetSelectedIndex(index);
  if (pgcMain.ActivePage() == &tshtCleanup) StaticCleanupPage().Shown();
  if (pgcMain.ActivePage() == &TabSheet2 && !shellExtCleanupShown_) {
    shellExtCleanupShown_ = true;
    ShellExtPage().Reload();
  }
  lblTabDescr.SetBounds(lblTabDescr.Left(), lblTabDescr.Top(), Width() - 160, lblTabDescr.Height());
  lblTabDescr.SetCaption(PageDescription(index));
  if (TTabSheet* page = pgcMain.ActivePage()) {
    for (TControl* control : page->Controls()) {
      if (control->IsWindowed() && static_cast<TWinControl*>(control)->CanFocus()) {
        static_cast<TWinControl*>(control)->SetFocus();
        break;
      }
    }
  }
  UpdateActions(std::nullopt);
}

std::string TfrmMain::SystemReport() {
  TSystemReportSources sources;
  sources.ProgramFile = executablePath_;
  sources.MenuFile = settings_.MenuFile;
  sources.FileTypeCount = fileTypeList_.Items().Count();
  for (int i = 0; i < fileTypeList_.Bugs().Count(); ++i)
    sources.Faults.push_back(fileTypeList_.Bugs().Strings(i));
  sources.ModuleRegistered = ShellExtRegistered(services_.Registry);
  sources.Windows64 = settings_.Windows64;
  sources.ShellVersion = ShellVersion();
  return BuildSystemReport(services_, sources);
}

bool TfrmMain::HasChanges() const {
  if (staticPage_ && staticPage_->HasChanges()) return true;
  if (dynamicMenu_ && dynamicMenu_->IsModified()) return true;
  for (const TPendingChanges& cleanup : Cleanups) {
    if (cleanup.HasChanges && cleanup.HasChanges()) return true;
  }
  return false;
}

void TfrmMain::ApplyChanges() {
  TBusyCursor busy;
  struct Reevaluate {
    TAction& action;
    ~Reevaluate() { action.Update(); }
  } reevaluate{actApply};
  if (staticPage_) staticPage_->ApplyChanges(settings_.MenuFile);
  if (dynamicMenu_ && dynamicMenu_->IsModified()) {
    const bool enabled = ShellExtensionEnabled && ShellExtensionEnabled();
    if (enabled && UnregisterShellExtension) {
      try {
        UnregisterShellExtension();
      } catch (const std::exception&) {
        // The module is registered again below in any case.
      }
    }
    ApplyDynamicMenu(*dynamicMenu_, settings_.MenuFile, services_.Files);
    if (enabled && RegisterShellExtension) RegisterShellExtension();
  }
  for (const TPendingChanges& cleanup : Cleanups) {
    if (cleanup.HasChanges && cleanup.HasChanges() && cleanup.Apply) cleanup.Apply();
  }
}

void TfrmMain::ShowQuickHint(const TControl* control) {
  if (!control) return;
  std::vector<std::string> lines = SplitLines(GetLongHint(control->Hint()));
  if (lines.empty()) return;
  std::string text;
  for (size_t i = 1; i < lines.size(); ++i) text += (i > 1 ? "\r\n" : "") + lines[i];
  ShowMessageBox(text, lines.front(), MB_OK | MB_ICONINFORMATION);
}

void TfrmMain::IdleUpdate() {
  UpdateActions("Static");
  UpdateActions("ActiveX");
  UpdateActions("Common");
  if (!markedReady_ && IsWindowVisible(Handle())) {
    SetPropA(Handle(), kMainWindowReadyProperty, reinterpret_cast<HANDLE>(1));
    markedReady_ = true;
  }
}

bool TfrmMain::KeyDown(WORD key, TShortCut shift) {
  // F1 is answered on release; its press must not become a help request as well.
  return key == VK_F1 && shift == 0;
}

bool TfrmMain::KeyUp(WORD key, TShortCut shift) {
  if (key != VK_F1 || shift != 0) return false;
  ShowQuickHint(ActiveControl());
  return true;
}

}  // namespace orvane
