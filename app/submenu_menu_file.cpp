// The submenu page's menu file commands: New, Open..., Open Recent, Save... and Revert,
// and the reads and writes behind them.

#include "app/submenu_items_page.h"

#include "controls/file_dialog.h"
#include "controls/form.h"
#include "menus/dynamic_menu.h"
#include "menus/menu_file_io.h"
#include "platform/file_system.h"
#include "platform/messages.h"
#include "platform/win32/window_helpers.h"
#include "storage/mru_list.h"

namespace orvane {
namespace {

// Problems of an opened file listed in the message; the rest are counted.
constexpr size_t kShownProblems = 15;

std::optional<std::string> MenuFileDialog(bool save) {
  return ShowFileDialog({GetActiveWindow(),
                         LoadResString(save ? msg::SSaveMenuTitle : msg::SOpenMenuTitle),
                         LoadResString(msg::SMenuFileFilter), "", "ini", save});
}

}  // namespace

void TSubmenuItemsPage::InitMenuFileActions() {
  OpenMenuFile = [] { return MenuFileDialog(false); };
  SaveMenuFile = [] { return MenuFileDialog(true); };
  auto ready = [this](TAction& a) {
    a.SetEnabled(Ready());
    SetActionShortCut(tvXMenu, a, 0);
  };
  actXMenuNew.SetHint("Empty menu to start from nothing");
  actXMenuNew.OnUpdate = ready;
  actXMenuNew.OnExecute = [this](TAction&) {
    if (menu_.Items().Count() > 0 &&
        ShowMessageBox(LoadResString(msg::SClearMenuQuestion), kAppTitle,
                       MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
      return;
    menu_.Items().Clear();
    MenuCommandDone();
  };
  actXMenuOpen.SetHint("Open a file with menu items");
  actXMenuOpen.OnUpdate = ready;
  actXMenuOpen.OnExecute = [this](TAction&) {
    std::optional<std::string> file = OpenMenuFile ? OpenMenuFile() : std::nullopt;
    if (!file) return;
    tvXMenu.SetFocus();
    LoadDynamicMenu(*file, true);
  };
  actXMenuSave.SetHint("Save menu items to a file");
  actXMenuSave.OnUpdate = ready;
  actXMenuSave.OnExecute = [this](TAction&) {
    std::optional<std::string> file = SaveMenuFile ? SaveMenuFile() : std::nullopt;
    if (!file) return;
    tvXMenu.SetFocus();
    SaveDynamicMenu(*file);
  };
  actXMenuRevert.SetHint("Revert menu items to last saved state");
  actXMenuRevert.OnUpdate = [this](TAction& a) {
    a.SetEnabled(Ready() && menu_.IsModified());
    SetActionShortCut(tvXMenu, a, 0);
  };
  actXMenuRevert.OnExecute = [this](TAction&) {
    if (ShowMessageBox(LoadResString(msg::SRevertMenuQuestion), kAppTitle,
                       MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
      return;
    tvXMenu.SetFocus();
    LoadDynamicMenu(menuFile_, false);
  };
}

void TSubmenuItemsPage::MenuCommandDone() {
  form_.UpdateActions("Common");
  form_.UpdateActions("ActiveX");
}

void TSubmenuItemsPage::LoadDynamicMenu(const std::string& fileName, bool modified) {
  TBusyCursor busy;
  try {
    if (modified) {
      ImportDynamicMenu(menu_, fileName, services_.Files);
    } else {
      RevertDynamicMenu(menu_, fileName, services_.Files);
    }
  } catch (const std::exception&) {
    // A file refused or unreadable leaves the menu as it was, and its pending state; a
    // load that failed half-way has new items, which count as changes.
    MenuCommandDone();
    throw;
  }
  if (modified) {
    menu_.SetModified(true);
    recentMenus_.Add(fileName, 0);
  }
  MenuCommandDone();
  const std::vector<std::string>& log = menu_.Log();
  if (log.empty()) return;
  std::string lines;
  for (size_t i = 0; i < log.size() && i < kShownProblems; ++i) lines += log[i] + "\r\n";
  if (log.size() > kShownProblems)
    lines += FormatRes(msg::SMoreProblems, {static_cast<int>(log.size() - kShownProblems)});
  ShowMessageBox(FormatRes(msg::SMenuFileProblems, {fileName, lines}), kAppTitle,
                 MB_OK | MB_ICONWARNING);
}

void TSubmenuItemsPage::SaveDynamicMenu(const std::string& fileName) {
  TBusyCursor busy;
  struct Done {
    TSubmenuItemsPage& page;
    ~Done() { page.MenuCommandDone(); }
  } done{*this};
  ExportDynamicMenu(menu_, fileName, services_.Files);
  recentMenus_.Add(fileName, 0);
}

void TSubmenuItemsPage::FillRecentMenus(HMENU menu, TMenuCommands& commands) {
  int number = 0;
  for (const TMruEntry& entry : recentMenus_.Entries()) {
    const std::string file = entry.Text;
    // "&" in a path is no access key here.
    std::string caption = "&" + std::to_string(++number % 10) + " ";
    for (char c : file) caption += c == '&' ? std::string("&&") : std::string(1, c);
    AppendMenuA(menu, MF_STRING, commands.Add([this, file] { OpenRecentMenu(file); }),
                caption.c_str());
  }
}

void TSubmenuItemsPage::OpenRecentMenu(const std::string& fileName) {
  if (!services_.FileSystem.FileExists(fileName)) {
    recentMenus_.Remove(fileName);
    ShowMessageBox(FormatRes(msg::SRecentMenuMissing, {fileName}), kAppTitle,
                   MB_OK | MB_ICONWARNING);
    return;
  }
  tvXMenu.SetFocus();
  LoadDynamicMenu(fileName, true);
}

}  // namespace orvane
