#include "menus/dynamic_menu.h"

#include "filetypes/file_types.h"
#include "menus/file_type_category.h"
#include "platform/messages.h"
#include "storage/custom_ini_file.h"

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
  LoadFrame([&] {
    int count = ini.ReadInteger(section, "Count", 0);
    int last = LastEntryNumber(ini, section, count);
    for (int n = 1; n <= last; ++n) {
      std::string number = std::to_string(n);
      TTreeItems* list = ListByNumber(ini.ReadInteger(section, "Parent" + number, 0));
      // Only a submenu holds entries; a number naming a plain item names no submenu.
      if (!list || (list->OwnerItem() && !dynamic_cast<TDynamicSubMenu*>(list->OwnerItem())) ||
          MenuNesting(*list) > kMaxMenuDepth)
        continue;
      std::string typeName = ini.ReadString(section, "FileType" + number, "");
      if (typeName.empty()) continue;
      TTreeItem* node = ini.ReadInteger(section, "Submenu" + number, 0) == 1
                            ? List().AddSubMenu(*list)
                            : List().AddFirstItem(*list);
      auto* item = static_cast<TDynamicMenuItem*>(node);
      if (!item->LoadFromIni(ini, section, &Log(), n)) {
        item->Free();
        continue;
      }
      if (TFileType* fileType = FileTypeForItem(typeName, item->Caption()))
        item->SetFileType(fileType);
      item->SetModified(false);
    }
  });
}

void TDynamicMenu::SaveToIni(TCustomIniFile& ini, const std::string& section) {
  if (!FileTypes() || FileTypes()->Count() == 0)
    throw EMenuError(LoadResString(msg::SFileTypesNotSet));
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
