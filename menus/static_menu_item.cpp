#include "menus/static_menu_item.h"

#include <algorithm>

#include "filetypes/file_type.h"
#include "menus/file_type_category.h"
#include "menus/static_menu.h"
#include "platform/file_system.h"
#include "platform/messages.h"
#include "platform/registry.h"
#include "storage/custom_ini_file.h"

namespace orvane {

std::string VerbCommand(const std::string& application, const std::string& parameters,
                        IFileSystem& fileSystem) {
  // Unquoted, the shell would split the path at a blank and could start a program named
  // by the part before it ("C:\Program.exe"); environment variables may expand to blanks.
  // A program typed with its arguments is a command line already: quoted, it would name
  // a file that does not exist.
  const bool quote = !application.empty() && application.front() != '"' &&
                     application.find_first_of(" \t%") != std::string::npos &&
                     fileSystem.FileExists(fileSystem.ExpandEnvironment(application));
  return (quote ? '"' + application + '"' : application) + " " + parameters;
}

TStaticMenu* TStaticMenuItem::StaticMenu() const {
  return dynamic_cast<TStaticMenu*>(TTreeItem::Tree());
}

const TVerbRegistry* TStaticMenuItem::Registry() const {
  TStaticMenu* menu = StaticMenu();
  return menu ? &menu->Registry() : nullptr;
}

std::string TStaticMenuItem::VerbKeyPath() const {
  TFileType* fileType = ItemFileType();
  if (!fileType) return {};
  // A "\" in the caption would name keys below it, possibly below another program's
  // verb: in the key name it becomes "/". The menu shows the caption from the key's value.
  std::string verb = Caption();
  std::replace(verb.begin(), verb.end(), '\\', '/');
  return "\\" + fileType->Name() + "\\shell\\" + verb + " (*)";
}

bool TStaticMenuItem::VerbKeyExists() const {
  std::string path = VerbKeyPath();
  const TVerbRegistry* where = Registry();
  if (path.empty() || !where) return false;
  TRegistry registry(where->Backend);
  registry.SetRootKey(where->Root);
  if (registry.KeyExists(where->Base + path)) return true;
  // A key that cannot be looked at may well be there: writing over it would replace a
  // command the user changed by hand.
  const ErrorCode reason = where->Backend.LastError();
  if (reason != kErrorFileNotFound && reason != kErrorPathNotFound)
    TRegistryEx::RaiseRegistryError(
        registry, "opening read-only " + TRegistryEx::FullKeyName(registry, where->Base + path));
  return false;
}

void TStaticMenuItem::WriteVerb() {
  if (!Checked()) return;
  std::string path = VerbKeyPath();
  const TVerbRegistry* where = Registry();
  if (path.empty() || !where) return;
  TRegistry registry(where->Backend);
  registry.SetRootKey(where->Root);
  TRegistryEx::OpenKeyOrRaise(registry, where->Base + path, true);
  registry.WriteString("", Caption());
  TRegistryEx::OpenKeyOrRaise(registry, "command", true);
  registry.WriteString("", VerbCommand(Application(), Parameters(), where->FileSystem));
  storeInfo_.SetStored(path);
}

void TStaticMenuItem::SetStored(bool value) {
  if (value)
    storeInfo_.SetStored(VerbKeyPath());
  else
    storeInfo_.Clear();
}

bool TStaticMenuItem::LoadFromIni(TCustomIniFile& ini, const std::string& section,
                                  std::vector<std::string>* log, int n) {
  std::string number = std::to_string(n);
  SetApplication(ini.ReadString(section, "Application" + number, ""));
  SetParameters(ini.ReadString(section, "Parameters" + number, ""));
  SetCaption(ini.ReadString(section, "Caption" + number, ""));
  if (Application().empty() && Parameters().empty() && Caption().empty()) {
    if (log) log->push_back(LoadResString(msg::SInvalidMenuItemSkipped));
    return false;
  }
  SetChecked(ReadCheckedFlag(ini, section, n, Caption(), log));
  return true;
}

void TStaticMenuItem::SaveToIni(TCustomIniFile& ini, const std::string& section, int& n, bool) {
  std::string number = std::to_string(n);
  ini.WriteString(section, "Application" + number, Application());
  ini.WriteString(section, "Parameters" + number, Parameters());
  ini.WriteString(section, "Caption" + number, Caption());
  ini.WriteInteger(section, "Checked" + number, Checked() ? 1 : 0);
  TFileType* fileType = ItemFileType();
  TCustomFileTypeCategory* category = Category();
  // An item whose type is missing keeps the name it was read with.
  ini.WriteString(section, "FileType" + number,
                  fileType ? fileType->Name()
                           : (category ? category->MissingTypeName() : std::string()));
  ++n;
}

void TStaticMenuItem::Destroy() {
  TStaticMenu* menu = StaticMenu();
  if (menu && menu->TrackDeletions() && storeInfo_.Stored()) menu->QueueDeletedKey(storeInfo_);
  TCustomMenuItem::Destroy();
}

}  // namespace orvane
