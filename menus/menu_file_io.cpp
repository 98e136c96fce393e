#include "menus/menu_file_io.h"

#include <algorithm>

#include "menus/dynamic_menu.h"
#include "platform/ansi_case.h"
#include "platform/messages.h"
#include "menus/static_menu.h"
#include "storage/menu_file.h"
#include "storage/orvane_ini_file.h"

namespace orvane {
namespace {

// Saves a section and writes the file; a failed write raises here and the menu keeps
// its mark.
template <class Menu>
void WriteSection(Menu& menu, const std::string& fileName, IFileAccess& files,
                  const std::string& section, bool keepModified) {
  bool wasModified = menu.IsModified();
  TOrvaneIniFile ini(fileName, files);
  menu.SaveToIni(ini, section);
  try {
    ini.UpdateFile();
  } catch (...) {
    menu.SetModified(true);
    throw;
  }
  if (keepModified && wasModified) menu.SetModified(true);
}

}  // namespace

void ApplyStaticMenu(TStaticMenu& menu, const std::string& fileName, IFileAccess& files) {
  WriteSection(menu, fileName, files, kStaticItemsSection, false);
}

void ApplyDynamicMenu(TDynamicMenu& menu, const std::string& fileName, IFileAccess& files) {
  WriteSection(menu, fileName, files, kDynamicItemsSection, false);
}

void ExportDynamicMenu(TDynamicMenu& menu, const std::string& fileName, IFileAccess& files) {
  WriteSection(menu, fileName, files, kDynamicItemsSection, true);
}

void ImportDynamicMenu(TDynamicMenu& menu, const std::string& fileName, IFileAccess& files) {
  TOrvaneIniFile ini(fileName, files);
  // Any other file would empty the menu: it is refused, and the menu stays as it was.
  TIniStrings sections;
  ini.ReadSections(sections);
  if (std::none_of(sections.begin(), sections.end(), [](const std::string& section) {
        return AnsiSameText(section, kDynamicItemsSection);
      }))
    throw EMenuError(FormatRes(msg::SNotAMenuFile, {fileName}));
  menu.LoadFromIni(ini, kDynamicItemsSection);
  menu.SetModified(true);
}

void RevertDynamicMenu(TDynamicMenu& menu, const std::string& fileName, IFileAccess& files) {
  TOrvaneIniFile ini(fileName, files);
  menu.LoadFromIni(ini, kDynamicItemsSection);
  menu.ClearModified();
}

}  // namespace orvane
