#include "menus/static_menu.h"

#include <set>

#include "filetypes/file_types.h"
#include "maintenance/removal_backup.h"
#include "platform/ansi_case.h"
#include "platform/registry.h"
#include "menus/file_type_category.h"
#include "platform/messages.h"
#include "storage/custom_ini_file.h"

namespace orvane {

// ---------------------------------------------------------------------------------------
// TStaticMenuItems

TTreeItem* TStaticMenuItems::AddItem(const TTreeItemClass& nodeClass, TTreeItems& list) {
  // Static items never hold children: only a category takes them.
  return AddItemTo(nodeClass, list, nullptr);
}

TCustomFileTypeCategory* TStaticMenuItems::AddCategory(TTreeItems& list) {
  return static_cast<TCustomFileTypeCategory*>(
      list.Tree()->AddNode(list, TTreeItemClass::Of<TFileTypeCategory>()));
}

std::vector<TTreeItemClass> TStaticMenuItems::GetItemClasses() const {
  return {TTreeItemClass::Of<TStaticMenuItem>()};
}

// ---------------------------------------------------------------------------------------
// TStaticMenu

TStaticMenu::TStaticMenu(TFileTypes* fileTypes, TVerbRegistry registry)
    : TCustomMenu(TreeItemsClass<TStaticMenuItems>(), fileTypes), registry_(std::move(registry)) {}

TStaticMenu::~TStaticMenu() {
  // Tearing the menu down is no deletion of its items.
  trackDeletions_ = false;
  DestroyNodes();
}

void TStaticMenu::CheckFileTypes() const {
  if (!FileTypes() || FileTypes()->Count() == 0)
    throw EMenuError(LoadResString(msg::SFileTypesNotSet));
}

std::vector<TStaticMenuItem*> TStaticMenu::AllItems() const {
  std::vector<TStaticMenuItem*> items;
  for (int i = 0; i < Items().Count(); ++i) {
    TTreeItems& children = Items()[i]->Items();
    for (int k = 0; k < children.Count(); ++k)
      if (auto* item = dynamic_cast<TStaticMenuItem*>(children[k])) items.push_back(item);
  }
  return items;
}

bool TStaticMenu::HoldsVerb(const std::string& keyPath) const {
  auto same = [&](const std::string& path) { return !path.empty() && AnsiSameText(path, keyPath); };
  for (TStaticMenuItem* item : AllItems()) {
    if ((item->StoreInfo().Stored() && same(item->StoreInfo().KeyPath())) ||
        (item->Checked() && same(item->VerbKeyPath())))
      return true;
  }
  for (const TStoreInfo& info : deletedKeys_)
    if (same(info.KeyPath())) return true;
  return false;
}

void TStaticMenu::FlushDeletedKeys(bool remove) {
  while (!deletedKeys_.empty()) {
    if (remove) deletedKeys_.back().Remove(registry_);
    deletedKeys_.pop_back();
  }
}

void TStaticMenu::BackUpRemovedVerbs(const std::vector<TStaticMenuItem*>& items) {
  IRemovalBackup* backup = registry_.Backup;
  if (!backup) return;
  // A verb written again right after its removal is no loss.
  std::set<std::string> rewritten;
  for (TStaticMenuItem* item : items) {
    if (item->Checked() && !item->VerbKeyPath().empty())
      rewritten.insert(AnsiUpperCase(item->VerbKeyPath()));
  }
  TRegistry registry(registry_.Backend);
  registry.SetRootKey(registry_.Root);
  std::set<std::string> removed;  // every key the save removes, upper case
  std::vector<std::string> parents;
  auto add = [&](const TStoreInfo& info) {
    if (!info.Stored()) return;
    removed.insert(AnsiUpperCase(info.KeyPath()));
    size_t cut = info.KeyPath().rfind('\\');
    if (cut != std::string::npos && cut > 0) parents.push_back(info.KeyPath().substr(0, cut));
    if (!rewritten.count(AnsiUpperCase(info.KeyPath())))
      backup->AddKey(registry_.Root, registry_.Base + info.KeyPath());
  };
  for (TStaticMenuItem* item : items) add(item->StoreInfo());
  for (const TStoreInfo& info : deletedKeys_) add(info);
  // A shell key left without subkeys goes, its own values (a default verb) too, also
  // when all its verbs are written again: those values are not.
  std::set<std::string> seen;
  for (const std::string& parent : parents) {
    if (!seen.insert(AnsiUpperCase(parent)).second) continue;
    if (!registry.OpenKeyReadOnly(registry_.Base + parent)) continue;
    std::vector<std::string> keys, values;
    registry.GetKeyNames(keys);
    registry.GetValueNames(values);
    registry.CloseKey();
    bool emptied = true;
    for (const std::string& key : keys)
      emptied = emptied && removed.count(AnsiUpperCase(parent + "\\" + key));
    if (!emptied) continue;
    for (const std::string& name : values)
      backup->AddValue(registry_.Root, registry_.Base + parent, name);
  }
  backup->Commit("Static Items");
}

void TStaticMenu::ApplyToRegistry() {
  CheckFileTypes();
  std::vector<TStaticMenuItem*> items = AllItems();
  // Nothing goes before its copy is safe.
  BackUpRemovedVerbs(items);
  for (TStaticMenuItem* item : items) item->StoreInfo().Remove(registry_);
  FlushDeletedKeys(true);
  for (TStaticMenuItem* item : items) item->WriteVerb();
}

void TStaticMenu::LoadFromIni(TCustomIniFile& ini, const std::string& section) {
  if (!FileTypes()) throw EMenuError(LoadResString(msg::SFileTypesNotSet));
  LoadFrame([&] {
    int count = ini.ReadInteger(section, "Count", 0);
    // Entries run from 0; one past the last that names a file type is enough.
    int last = LastEntryNumber(ini, section, count - 1);
    for (int n = 0; n < count && n <= last; ++n) {
      std::string typeName = ini.ReadString(section, "FileType" + std::to_string(n), "");
      if (typeName.empty()) continue;
      auto* item = static_cast<TStaticMenuItem*>(List().AddFirstItem(Items()));
      item->SetRegistrySync(true);
      if (!item->LoadFromIni(ini, section, &Log(), n)) {
        item->Free();
        continue;
      }
      if (TFileType* fileType = FileTypes()->FindByName(typeName)) {
        item->SetFileType(fileType);
      } else {
        // Another type would show the command on files it was never meant for: the item
        // waits under its own type's name, with no verb.
        item->MoveTo(List().FindOrAddMissingCategory(typeName)->Items());
        Log().push_back(FormatRes(msg::SFileTypeNotFoundItemKept, {typeName, item->Caption()}));
      }
      // The registry follows the file: an active item whose verb has gone is written
      // again. A registry that refuses is this item's problem only; it stays as read,
      // and the next save writes its verb.
      try {
        if (item->RegistrySync() && item->Checked()) {
          if (item->VerbKeyExists())
            item->SetStored(true);
          else
            item->WriteVerb();
        }
      } catch (const Exception& error) {
        Log().push_back(FormatRes(msg::SMenuItemLoadFailed, {item->Caption(), error.what()}));
      }
      item->SetModified(false);
    }
  });
}

void TStaticMenu::SaveToIni(TCustomIniFile& ini, const std::string& section) {
  CheckFileTypes();
  if (Incomplete()) throw EMenuError(LoadResString(msg::SMenuNotReadWhole));
  Log().clear();
  ApplyToRegistry();
  ini.EraseSection(section);
  int n = 0;
  for (TStaticMenuItem* item : AllItems()) {
    item->SaveToIni(ini, section, n, false);
    item->SetModified(false);
  }
  ini.WriteInteger(section, "Count", n);
  SetModified(false);
}

}  // namespace orvane
