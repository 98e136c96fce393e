#pragma once
// A small menu family over a hand-made file type list: plain items and submenus (the
// only items that take children), in categories of the static menu's class.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "filetypes/file_types.h"
#include "menus/custom_menu.h"

namespace orvane::testing {

struct TestItem : TCustomMenuItem {
  using TCustomMenuItem::TCustomMenuItem;
};

struct TestSubMenu : TCustomMenuItem {
  using TCustomMenuItem::TCustomMenuItem;
};

struct TestItems : TCustomMenuItems {
  using TCustomMenuItems::TCustomMenuItems;
  TTreeItem* AddItem(const TTreeItemClass& nodeClass, TTreeItems& list) override {
    return AddItemTo(nodeClass, list,
                     [](TTreeItem* owner) { return dynamic_cast<TestSubMenu*>(owner) != nullptr; });
  }
  TCustomFileTypeCategory* AddCategory(TTreeItems& list) override {
    return static_cast<TCustomFileTypeCategory*>(
        list.Tree()->AddNode(list, TTreeItemClass::Of<TFileTypeCategory>()));
  }
  std::vector<TTreeItemClass> GetItemClasses() const override {
    return {TTreeItemClass::Of<TestItem>(), TTreeItemClass::Of<TestSubMenu>()};
  }
};

struct TestMenu : TCustomMenu {
  explicit TestMenu(TFileTypes* fileTypes) : TCustomMenu(TreeItemsClass<TestItems>(), fileTypes) {}
  TestItems& List() { return static_cast<TestItems&>(Items()); }
  using TCustomMenu::LoadFrame;
};

class MenuTest : public ::testing::Test {
protected:
  MenuTest() {
    for (const char* name : {"alpha", "beta", "gamma", "delta", "epsilon"}) {
      TFileType* type = types.Add();
      type->SetName(name);
      type->SetDescription(std::string("Type ") + name);
    }
  }

  TFileType* Type(int index) const { return types.Items(index); }
  TCustomMenuItem* AddItem(TTreeItems& list, const std::string& caption) {
    auto* item = static_cast<TCustomMenuItem*>(menu.List().AddFirstItem(list));
    item->SetCaption(caption);
    return item;
  }
  TCustomMenuItem* AddItem(TFileType* type, const std::string& caption) {
    return AddItem(menu.List().FindOrAddCategory(type)->Items(), caption);
  }
  static std::vector<std::string> Captions(const TTreeItems& list) {
    std::vector<std::string> captions;
    for (int i = 0; i < list.Count(); ++i)
      captions.push_back(static_cast<TCustomMenuItem*>(list[i])->Caption());
    return captions;
  }
  std::vector<std::string> CategoryNames() const {
    std::vector<std::string> names;
    for (int i = 0; i < menu.Items().Count(); ++i) {
      TFileType* type = static_cast<TCustomFileTypeCategory*>(menu.Items()[i])->FileType();
      names.push_back(type ? type->Name() : "(none)");
    }
    return names;
  }

  TFileTypes types;
  TestMenu menu{&types};
};

}  // namespace orvane::testing
