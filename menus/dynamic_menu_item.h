#pragma once
// Items of the dynamic menu, which the shell extension module shows: plain items and
// separators (TDynamicMenuItem) and submenus (TDynamicSubMenu) to any depth, each with
// a hint and an icon from an icon resource or a PNG file.

#include "menus/custom_menu_item.h"
#include "menus/item_image.h"
#include "menus/menu_item_ini.h"
#include "storage/menu_file_reader.h"

namespace orvane {

// The caption of a separator: 18 em dashes of the ANSI code page.
extern const std::string kSeparatorCaption;

class TDynamicMenuItem : public TCustomMenuItem, public IMenuItemIni {
public:
  explicit TDynamicMenuItem(TTreeItemsClass childListClass) : TCustomMenuItem(childListClass) {}

  bool IsSeparator() const { return isSeparator_; }
  int IconIndex() const { return iconIndex_; }
  const std::string& Hint() const { return hint_; }
  const std::string& IconFile() const { return iconFile_; }
  const TItemImage& Icon() const { return icon_; }

  void SetHint(const std::string& value);
  // Takes the file without loading it: the icon index becomes -1 and the image empty,
  // for the SetIconIndex that follows.
  void SetIconFile(const std::string& value);
  // Loads the image; a file that cannot be loaded leaves the index as it was and the
  // image empty, without a message.
  void SetIconIndex(int index);
  void SetSeparator(bool value);
  // From another dynamic item also the separator flag, hint and icon.
  void Assign(const TTreeItem& source) override;

  const char* ClassName() const override { return "TDynamicMenuItem"; }
  bool LoadFromIni(TCustomIniFile& ini, const std::string& section, std::vector<std::string>* log,
                   int n) override;
  void SaveToIni(TCustomIniFile& ini, const std::string& section, int& n, bool detached) override;
  // Takes an entry of the menu file; false for an invalid one (a line then goes to
  // `log`, when given). The file type is left to the caller.
  bool LoadFromRecord(const TDynamicItemRecord& record, std::vector<std::string>* log);

protected:
  // "Parent" + n, the number of the submenu holding the item (0 in a category).
  void WriteParent(TCustomIniFile& ini, const std::string& section, int n, bool detached) const;
  void SetHintText(const std::string& value) { hint_ = value; }

private:
  bool isSeparator_ = false;
  int iconIndex_ = 0;
  std::string hint_;
  std::string iconFile_;
  TItemImage icon_;
};

class TDynamicSubMenu : public TDynamicMenuItem {
public:
  using TDynamicMenuItem::TDynamicMenuItem;

  // The flag governs the whole subtree.
  void SetChecked(bool value) override;
  // From another submenu also a copy of its whole subtree.
  void Assign(const TTreeItem& source) override;

  const char* ClassName() const override { return "TDynamicSubMenu"; }
  void SaveToIni(TCustomIniFile& ini, const std::string& section, int& n, bool detached) override;
};

}  // namespace orvane
