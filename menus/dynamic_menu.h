#pragma once
// The dynamic menu: the nested items that the shell extension module shows, kept in a
// section of the menu file that the module reads (entries numbered from 1, depth
// first, each naming the submenu that holds it).

#include <string>
#include <vector>

#include "menus/custom_menu.h"
#include "menus/dynamic_menu_item.h"

namespace orvane {

class TCustomIniFile;

class TDynamicMenuItems : public TCustomMenuItems {
public:
  using TCustomMenuItems::TCustomMenuItems;
  TTreeItem* AddItem(const TTreeItemClass& nodeClass, TTreeItems& list) override;
  TCustomFileTypeCategory* AddCategory(TTreeItems& list) override;
  std::vector<TTreeItemClass> GetItemClasses() const override;
};

class TDynamicMenu : public TCustomMenu {
public:
  TDynamicMenu(TFileTypes* fileTypes, TItemImageSources images);

  // Where the items load their pictures from.
  const TItemImageSources& ImageSources() const { return images_; }

  TDynamicMenuItems& List() const { return static_cast<TDynamicMenuItems&>(Items()); }
  void LoadFromIni(TCustomIniFile& ini, const std::string& section);
  void SaveToIni(TCustomIniFile& ini, const std::string& section);

private:
  TItemImageSources images_;
};

}  // namespace orvane
