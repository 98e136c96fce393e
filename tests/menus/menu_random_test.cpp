// Long random sequences of edits, with the menu's shape checked after every step:
// categories only at the top, none empty, one per file type, in file type order; the
// focus on a live node of the tree or nowhere; every bracket closed.

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "menu_fixture.h"

namespace orvane::testing {
namespace {

class RandomEdits : public MenuTest, public ::testing::WithParamInterface<unsigned> {
protected:
  std::mt19937 random{GetParam()};

  int Pick(int count) { return static_cast<int>(random() % static_cast<unsigned>(count)); }

  void Collect(TTreeItems& list, std::vector<TTreeItem*>& nodes, std::vector<TTreeItems*>& lists) {
    lists.push_back(&list);
    for (int i = 0; i < list.Count(); ++i) {
      nodes.push_back(list[i]);
      Collect(list[i]->Items(), nodes, lists);
    }
  }

  TCustomMenuItem* AnyItem(const std::vector<TTreeItem*>& nodes) {
    std::vector<TCustomMenuItem*> items;
    for (TTreeItem* node : nodes)
      if (auto* item = dynamic_cast<TCustomMenuItem*>(node)) items.push_back(item);
    return items.empty() ? nullptr : items[Pick(static_cast<int>(items.size()))];
  }

  // One random operation; shape violations and bad positions may raise.
  std::string Step() {
    std::vector<TTreeItem*> nodes;
    std::vector<TTreeItems*> lists;
    Collect(menu.Items(), nodes, lists);
    TTreeItem* node = nodes.empty() ? nullptr : nodes[Pick(static_cast<int>(nodes.size()))];
    TTreeItems& list = *lists[Pick(static_cast<int>(lists.size()))];
    TCustomMenuItem* item = AnyItem(nodes);
    switch (Pick(13)) {
      case 0:
      case 1:
      case 2:
      case 3:
        menu.List().AddMenuItem(list, menu.List().GetItemClasses()[Pick(2)]);
        return "add";
      case 4:
        if (item) item->MoveTo(list);
        return "move";
      case 5:
        if (item && node) item->TransferTo(*node, Pick(node->Items().Count() + 1), Pick(2) == 0);
        return "transfer";
      case 6:
        list.Sort();
        return "sort";
      case 7:
        // Whole categories go more rarely, or the menu would stay small.
        if (node && (node->Parent() || Pick(4) == 0)) node->Free();
        return "delete";
      case 8:
        menu.Focus(Pick(4) == 0 ? nullptr : node);
        return "focus";
      case 9:
        if (item) item->SetFileType(Type(Pick(types.Count())));
        return "file type";
      case 10:
        if (item && item->Collection()->Count() > 1)
          item->SetIndex(Pick(item->Collection()->Count()));
        return "index";
      case 11:
        if (node) node->SetExpanded(Pick(2) == 0);
        return "expand";
      default:
        if (item) item->SetCaption(std::string(1, static_cast<char>('a' + Pick(26))));
        return "caption";
    }
  }

  void CheckList(TTreeItems& list, TTreeItem* owner, int depth, int& focusedFlags) {
    ASSERT_EQ(list.OwnerItem(), owner);
    ASSERT_EQ(list.UpdateCount(), 0);
    for (int i = 0; i < list.Count(); ++i) {
      TTreeItem* node = list[i];
      ASSERT_EQ(node->Collection(), &list);
      ASSERT_EQ(node->UpdateCount(), 0);
      ASSERT_EQ(node->Tree(), &menu);
      if (depth == 0) {
        ASSERT_NE(dynamic_cast<TCustomFileTypeCategory*>(node), nullptr) << "item at the top";
      } else {
        ASSERT_NE(dynamic_cast<TCustomMenuItem*>(node), nullptr) << "category below the top";
      }
      if (node->Focused()) {
        ++focusedFlags;
        ASSERT_EQ(menu.FocusedItem(), node);
      }
      CheckList(node->Items(), node, depth + 1, focusedFlags);
    }
  }

  void CheckInvariants() {
    ASSERT_EQ(menu.UpdateCount(), 0);
    int focusedFlags = 0;
    CheckList(menu.Items(), nullptr, 0, focusedFlags);
    ASSERT_EQ(focusedFlags, menu.FocusedItem() ? 1 : 0) << "focus on a live node or none";
    std::set<TFileType*> seen;
    int lastPosition = -1;
    for (int i = 0; i < menu.Items().Count(); ++i) {
      auto* category = static_cast<TCustomFileTypeCategory*>(menu.Items()[i]);
      ASSERT_GT(category->Items().Count(), 0) << "empty category";
      ASSERT_NE(category->FileType(), nullptr);
      ASSERT_TRUE(seen.insert(category->FileType()).second) << "two categories for one type";
      ASSERT_GT(category->FileType()->Index(), lastPosition) << "categories out of order";
      lastPosition = category->FileType()->Index();
    }
  }
};

TEST_P(RandomEdits, KeepTheMenuShape) {
  int changes = 0;
  menu.OnChange = [&](TTreeItems*, TTreeItem*) { ++changes; };
  menu.OnItemDeleting = [&](TTreeItem* node) { ASSERT_EQ(node->Tree(), &menu); };
  for (int step = 0; step < 600; ++step) {
    std::string operation;
    try {
      operation = Step();
    } catch (const Exception&) {
      // Refused operations must leave the shape whole as well.
    }
    CheckInvariants();
    if (HasFatalFailure()) {
      ADD_FAILURE() << "after step " << step << " (" << operation << ")";
      return;
    }
  }
  EXPECT_GT(changes, 0);
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomEdits, ::testing::Values(1u, 2u, 3u, 5u, 8u, 13u, 21u, 34u));

}  // namespace
}  // namespace orvane::testing
