#pragma once
// The common menu: a categorized tree over the file type list, with one category per
// file type at the top and menu items below. The static and the dynamic menu derive
// their list and tree classes from TCustomMenuItems and TCustomMenu.

#include <functional>
#include <string>
#include <vector>

#include "filetypes/file_type_link.h"
#include "menus/categorized_collection.h"
#include "menus/custom_menu_item.h"
#include "menus/file_type_category.h"

namespace orvane {

class TFileType;
class TFileTypes;

class TCustomMenuItems : public TCategorizedCollectionItems {
public:
  using TCategorizedCollectionItems::TCategorizedCollectionItems;

  // Creates an item of `nodeClass` in `list` (a category's or a submenu's children).
  virtual TTreeItem* AddItem(const TTreeItemClass& nodeClass, TTreeItems& list) = 0;
  // Creates a category of the menu's own class in the top-level list.
  virtual TCustomFileTypeCategory* AddCategory(TTreeItems& list) = 0;
  // The item classes of the menu, the plain item first.
  virtual std::vector<TTreeItemClass> GetItemClasses() const = 0;

  bool CanHold(const TTreeItemClass& nodeClass) const;
  // Adds an item; one added to the top-level list goes to the category of the first
  // file type.
  TTreeItem* AddMenuItem(TTreeItems& list, const TTreeItemClass& nodeClass);
  TTreeItem* AddFirstItem(TTreeItems& list);
  TTreeItem* AddSubMenu(TTreeItems& list);

  bool HasCategory(const TFileType* fileType) const { return FindCategory(fileType) != nullptr; }
  TCustomFileTypeCategory* FindCategory(const TFileType* fileType) const;
  // The category of `fileType`; a new one takes its place in file type order.
  TCustomFileTypeCategory* FindOrAddCategory(TFileType* fileType);
  // The category of a file type the file type list does not hold, known by its name.
  TCustomFileTypeCategory* FindOrAddMissingCategory(const std::string& typeName);

protected:
  // Categories by the position of their file types; items by caption without access
  // keys, from the last to the first in the locale's order.
  int CompareItems(const TTreeItem& a, const TTreeItem& b) const override;
  // The common part of AddItem: refuses children for nodes that are neither a
  // category nor a node that `acceptsItems` admits.
  TTreeItem* AddItemTo(const TTreeItemClass& nodeClass, TTreeItems& list,
                       const std::function<bool(TTreeItem* owner)>& acceptsItems);
  TTreeItems& TopLevel() const;
};

class TCustomMenu : public TCategorizedCollection {
public:
  TCustomMenu(TTreeItemsClass topListClass, TFileTypes* fileTypes);
  ~TCustomMenu() override;

  TFileTypes* FileTypes() const { return fileTypes_; }
  // Problems found by the last load or save, one line each.
  std::vector<std::string>& Log() { return log_; }
  const std::vector<std::string>& Log() const { return log_; }
  bool Modified() const { return modified_; }
  virtual void SetModified(bool value) { modified_ = value; }
  // Clears the menu's and every item's mark, after a load or a save.
  void ClearModified();

  void ValidateAdd(TTreeItems& list, TTreeItem* item) override;
  void DoChange(TTreeItems* list, TTreeItem* item) override;
  bool IsModified() const override;

  // The file type a menu file names for an item; an unknown name sends the item to the
  // first file type, with a line in the log. Null without file types.
  TFileType* FileTypeForItem(const std::string& name, const std::string& caption);

  // Set when the last load stopped before it read every item: saving such a menu would
  // erase the items it did not read from the menu file.
  bool Incomplete() const { return incomplete_; }

  // The list holding the children of the item numbered `number`; the top-level list
  // for 0; nullptr when no item has that number.
  TTreeItems* ListByNumber(int number) const;

protected:
  // The frame every load runs in: one bracket, a fresh log, an empty tree; then the
  // tree fully expanded, the marks cleared when nothing was logged, and the first node
  // focused, also when `readItems` raises.
  void LoadFrame(const std::function<void()>& readItems);

private:
  TFileTypes* fileTypes_;
  // Tells the menu when its file type list goes away before it does.
  TFileTypeLink fileTypesLink_;
  std::vector<std::string> log_;
  bool modified_ = false;
  bool incomplete_ = false;
  bool loadEnding_ = false;
};

}  // namespace orvane
