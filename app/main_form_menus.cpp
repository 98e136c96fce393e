// The main window's part of the menu file: both menus and the recent lists read at the
// first showing, the load problems logged and offered, the recent lists written at closing.

#include "app/main_form.h"

#include <shellapi.h>

#include <functional>

#include "filetypes/predefined_types.h"
#include "menus/menu_file_io.h"
#include "platform/file_access.h"
#include "platform/messages.h"
#include "platform/win32/system_error.h"
#include "platform/win32/window_helpers.h"
#include "storage/menu_file.h"
#include "storage/orvane_ini_file.h"
#include "storage/profile_ini_file.h"

namespace orvane {
namespace {

// The current date and time as the user writes them.
std::string NowText() {
  char date[128] = {};
  char time[128] = {};
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, sizeof date);
  GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, time, sizeof time);
  return std::string(date) + " " + time;
}

}  // namespace

void TfrmMain::LoadMenus() {
  TBusyCursor busy;
  loading_ = true;
  std::string log;
  auto addLog = [&](const std::string& header, const std::vector<std::string>& lines) {
    if (lines.empty()) return;
    if (log.empty()) log = FormatRes(msg::SLogCreated, {NowText()}) + "\r\n";
    log += header + "\r\n";
    for (const std::string& line : lines) log += line + "\r\n";
  };
  auto finish = [&] {
    loading_ = false;
    if (log.empty()) return;
    std::string reason;
    if (!services_.Files.ReplaceFile(logFile_, log, reason)) {
      // Nothing to open: the problems are shown here instead.
      ShowMessageBox(FormatRes(msg::SLogNotWritten, {logFile_, reason, log}), kAppTitle,
                     MB_OK | MB_ICONWARNING);
      return;
    }
    if (ShowMessageBox(LoadResString(msg::SLoadErrorsQuestion), kAppTitle,
                       MB_YESNO | MB_ICONQUESTION) == IDYES) {
      const auto result = reinterpret_cast<INT_PTR>(
          ShellExecuteA(Handle(), "open", logFile_.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
      if (result <= 32) {
        throw Exception(FormatRes(msg::SLinkError, {SystemErrorMessage(static_cast<DWORD>(result))}));
      }
    }
  };
  // A menu that fails to load is reported in the log like its other problems, and the
  // other menu still loads; the failed one refuses to be saved over the file.
  auto load = [&](MessageId header, TCustomMenu& menu, const std::function<void()>& read) {
    try {
      read();
    } catch (const std::exception& error) {
      menu.Log().push_back(error.what());
    }
    addLog(LoadResString(header), menu.Log());
  };
  try {
    TProfileIniFile ini(settings_.MenuFile);
    load(msg::SLogStaticItems, *staticMenu_,
         [&] { staticMenu_->LoadFromIni(ini, kStaticItemsSection); });
    staticPage_->Rebuild();
    load(msg::SLogDynamicItems, *dynamicMenu_,
         [&] { dynamicMenu_->LoadFromIni(ini, kDynamicItemsSection); });
    ReadRecentLists();
  } catch (...) {
    finish();
    throw;
  }
  finish();
  UpdateActions(std::nullopt);
}

void TfrmMain::ReadRecentLists() {
  // Through the engine, which reads values of any length: the lists go back whole.
  try {
    TOrvaneIniFile ini(settings_.MenuFile, services_.Files);
    mruIcons.LoadFromIni(ini, MruSection(ClassName(), "mruIcons"));
    mruMenus.LoadFromIni(ini, MruSection(ClassName(), "mruMenus"));
    recentListsRead_ = true;
  } catch (const std::exception&) {
    // An unreadable file keeps its lists: they are not written at close either.
    mruIcons.Clear();
    mruMenus.Clear();
  }
}

void TfrmMain::WriteRecentLists() {
  if (!recentListsRead_) return;
  try {
    TOrvaneIniFile ini(settings_.MenuFile, services_.Files);
    mruIcons.SaveToIni(ini, MruSection(ClassName(), "mruIcons"));
    mruMenus.SaveToIni(ini, MruSection(ClassName(), "mruMenus"));
    ini.UpdateFile();
  } catch (const std::exception&) {
    // Like the placement beside them: a menu file that cannot be written does not keep
    // the window open.
  }
}

void TfrmMain::BuildLocaleMenu() {
  if (!settings_.Localizer) return;
  const std::vector<TLocaleInfo>& locales = settings_.Localizer->Locales().Items;
  for (std::size_t i = 0; i < locales.size(); ++i) {
    // Language names are no texts of a language file: the entries are named by position.
    TAction& entry = alLocales.Add("miLocale" + std::to_string(i), "", "");
    entry.OnExecute = [this, i](TAction&) { ChooseLocale(i); };
    pmLocales.Add(&entry);
  }
  CheckLocales();
  spbLanguage.SetVisible(locales.size() > 1);
}

void TfrmMain::CheckLocales() {
  TLocalizer& localizer = *settings_.Localizer;
  const std::vector<TLocaleInfo>& locales = localizer.Locales().Items;
  for (std::size_t i = 0; i < locales.size() && i < static_cast<std::size_t>(alLocales.Count()); ++i) {
    alLocales.Actions(static_cast<int>(i)).SetCaption(localizer.LanguageCaption(locales[i]));
    alLocales.Actions(static_cast<int>(i)).SetChecked(localizer.IsCurrent(locales[i]));
  }
}

void TfrmMain::ChooseLocale(std::size_t index) {
  TBusyCursor busy;
  TLocalizer& localizer = *settings_.Localizer;
  const TLocaleInfo info = localizer.Locales().Items.at(index);
  localizer.LoadLanguage(info, true);
  // The texts the window made from messages, in the new language.
  lblTabDescr.SetCaption(PageDescription(pgcMain.ActivePageIndex()));
  BuildPredefinedTable();
  CheckLocales();
}

}  // namespace orvane
