#include "menus/dynamic_menu.h"

#include "filetypes/file_types.h"
#include "menus/file_type_category.h"
#include "platform/messages.h"
#include "storage/custom_ini_file.h"
#include "storage/menu_file_reader.h"

namespace orvane {

// ---------------------------------------------------------------------------------------
// TDynamicMenuItems

TTreeItem* TDynamicMenuItems::AddItem(const TTreeItemClass& nodeClass, TTreeItems& list) {
  return AddItemTo(nodeClass, list, [](TTreeItem* owner) {
    return dynamic_cast<TDynamicSubMenu*>(owner) != nullptr;
  });
}

TCustomFileTypeCategory* TDynamicMenuItems::AddCategory(TTreeItems& list) {
  return static_cast<TCustomFileTypeCategory*>(
      list.Tree()->AddNode(list, TTreeItemClass::Of<TXFileTypeCategory>()));
}

std::vector<TTreeItemClass> TDynamicMenuItems::GetItemClasses() const {
  return {TTreeItemClass::Of<TDynamicMenuItem>(), TTreeItemClass::Of<TDynamicSubMenu>()};
}

// ---------------------------------------------------------------------------------------
// TDynamicMenu

TDynamicMenu::TDynamicMenu(TFileTypes* fileTypes, TItemImageSources images)
    : TCustomMenu(TreeItemsClass<TDynamicMenuItems>(), fileTypes), images_(images) {}

void TDynamicMenu::LoadFromIni(TCustomIniFile& ini, const std::string& section) {
  if (!FileTypes() || FileTypes()->Count() == 0)
    throw EMenuError(LoadResString(msg::SFileTypesNotSet));
  std::vector<std::string> leftOut;
  std::vector<TDynamicItemRecord> records = ReadDynamicItems(
      [&](const TIniKeyVisitor& visit) { ini.ForEachSectionValue(section, visit); }, &leftOut);
  // After the load, which starts a fresh log.
  auto tell = [&] { Log().insert(Log().end(), leftOut.begin(), leftOut.end()); };
  try {
    LoadFromRecords(records);
  } catch (...) {
    tell();
    throw;
  }
  tell();
}

void TDynamicMenu::LoadFromRecords(const std::vector<TDynamicItemRecord>& records) {
  if (!FileTypes() || FileTypes()->Count() == 0)
    throw EMenuError(LoadResString(msg::SFileTypesNotSet));
  // Each picture file is read once in a load; the next load reads it again.
  TLoadPictures pictures;
  loadPictures_ = &pictures;
  struct TEnd {
    TLoadPictures*& pictures;
    ~TEnd() { pictures = nullptr; }
  } end{loadPictures_};
  LoadFrame([&] {
    // The item made of each record; a record's parent always comes before it.
    std::vector<TDynamicMenuItem*> made(records.size(), nullptr);
    for (std::size_t i = 0; i < records.size(); ++i) {
      const TDynamicItemRecord& record = records[i];
      TTreeItems* list = &Items();
      if (record.Parent >= 0) {
        if (!made[record.Parent]) continue;
        list = &made[record.Parent]->Items();
      } else if (TFileType* fileType = FileTypes()->FindByName(record.FileType)) {
        // Straight into its type's category, rather than into the first type's (made for
        // it and gone again when it moves on).
        list = &List().FindOrAddCategory(fileType)->Items();
      }
      TTreeItem* node = record.Kind == TDynamicEntryKind::Submenu ? List().AddSubMenu(*list)
                                                                 : List().AddFirstItem(*list);
      auto* item = static_cast<TDynamicMenuItem*>(node);
      if (!item->LoadFromRecord(record, &Log())) {
        item->Free();
        continue;
      }
      if (TFileType* fileType = FileTypeForItem(record.FileType, item->Caption()))
        item->SetFileType(fileType);
      item->SetModified(false);
      made[i] = item;
    }
  });
}

void TDynamicMenu::SaveToIni(TCustomIniFile& ini, const std::string& section) {
  if (!FileTypes() || FileTypes()->Count() == 0)
    throw EMenuError(LoadResString(msg::SFileTypesNotSet));
  if (Incomplete()) throw EMenuError(LoadResString(msg::SMenuNotReadWhole));
  Log().clear();
  ini.EraseSection(section);
  int n = 1;
  for (int i = 0; i < Items().Count(); ++i) {
    TTreeItems& children = Items()[i]->Items();
    for (int k = 0; k < children.Count(); ++k) {
      if (auto* item = dynamic_cast<TDynamicMenuItem*>(children[k])) {
        item->SaveToIni(ini, section, n, false);
        item->SetModified(false);
      }
    }
  }
  ini.WriteInteger(section, "Count", n - 1);
  SetModified(false);
}

}  // namespace orvane
