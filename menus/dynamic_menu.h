#pragma once
// The dynamic menu: the nested items that the shell extension module shows, kept in a
// section of the menu file that the module reads (entries numbered from 1, depth
// first, each naming the submenu that holds it).

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "menus/custom_menu.h"
#include "menus/dynamic_menu_item.h"
#include "storage/menu_file_reader.h"

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
  // Reads the section's values through `ini` and builds the tree from them.
  void LoadFromIni(TCustomIniFile& ini, const std::string& section);
  // Builds the tree from records of the menu file reader (ReadMenuFileText reads the
  // file in one pass); the log tells what was left out.
  void LoadFromRecords(const std::vector<TDynamicItemRecord>& records);
  void SaveToIni(TCustomIniFile& ini, const std::string& section);

  // The pictures read so far by the load under way, by file and index (none: the file
  // gave no picture); null outside a load. A menu's items share a few picture files, and
  // every read of an icon file costs the system a library load.
  using TLoadPictures = std::map<std::pair<std::string, int>, std::optional<TItemImage>>;
  TLoadPictures* LoadPictures() const { return loadPictures_; }

private:
  TItemImageSources images_;
  TLoadPictures* loadPictures_ = nullptr;
};

}  // namespace orvane
