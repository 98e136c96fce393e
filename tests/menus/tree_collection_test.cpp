// The tree collection: focus moves, change batching, node creation, sorting, moves.

#include "menus/tree_collection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace orvane {
namespace {

struct KeyItem : TTreeItem {
  using TTreeItem::TTreeItem;
  int key = 0;
  void Assign(const TTreeItem& source) override {
    TTreeItem::Assign(source);
    if (auto* from = dynamic_cast<const KeyItem*>(&source)) key = from->key;
  }
};

struct KeyItems : TTreeItems {
  using TTreeItems::TTreeItems;
  int compares = 0;

protected:
  int CompareItems(const TTreeItem& a, const TTreeItem& b) const override {
    ++const_cast<KeyItems*>(this)->compares;
    int ka = static_cast<const KeyItem&>(a).key;
    int kb = static_cast<const KeyItem&>(b).key;
    return ka < kb ? -1 : ka > kb ? 1 : 0;
  }
};

class Tree : public ::testing::Test {
protected:
  TTreeCollection tree{TreeItemsClass<KeyItems>()};

  KeyItem* Add(TTreeItems& list, int key) {
    auto* node = static_cast<KeyItem*>(tree.AddNode(list, TTreeItemClass::Of<KeyItem>()));
    node->key = key;
    return node;
  }
  static std::vector<int> Keys(const TTreeItems& list) {
    std::vector<int> keys;
    for (int i = 0; i < list.Count(); ++i) keys.push_back(static_cast<KeyItem*>(list[i])->key);
    return keys;
  }
  int changes = 0;
  TTreeItems* lastList = reinterpret_cast<TTreeItems*>(1);
  TTreeItem* lastItem = reinterpret_cast<TTreeItem*>(1);
  void CountChanges() {
    tree.OnChange = [this](TTreeItems* list, TTreeItem* item) {
      ++changes;
      lastList = list;
      lastItem = item;
    };
  }
};

TEST_F(Tree, DeletingTheFocusedNodeMovesTheFocusToANeighbourOrTheParent) {
  KeyItem* top = Add(tree.Items(), 1);
  KeyItem* a = Add(top->Items(), 2);
  KeyItem* b = Add(top->Items(), 3);
  KeyItem* c = Add(top->Items(), 4);
  int focusEvents = 0;
  tree.OnFocusChanged = [&] { ++focusEvents; };

  ASSERT_TRUE(b->Focus());
  EXPECT_EQ(focusEvents, 1);
  b->Free();  // middle: the next sibling
  EXPECT_EQ(tree.FocusedItem(), c);
  EXPECT_TRUE(c->Focused());
  c->Free();  // last: the previous sibling
  EXPECT_EQ(tree.FocusedItem(), a);
  a->Free();  // only child: the parent
  EXPECT_EQ(tree.FocusedItem(), top);
  top->Free();  // only top-level node: nothing
  EXPECT_EQ(tree.FocusedItem(), nullptr);
  EXPECT_EQ(focusEvents, 1) << "focus moves on deletion are silent";
}

TEST_F(Tree, DeletingAnAncestorOfTheFocusedNodeMovesTheFocusOutOfTheSubtree) {
  KeyItem* first = Add(tree.Items(), 1);
  KeyItem* second = Add(tree.Items(), 2);
  KeyItem* deep = Add(Add(first->Items(), 3)->Items(), 4);
  deep->Focus();
  first->Free();
  EXPECT_EQ(tree.FocusedItem(), second);
  EXPECT_TRUE(second->Focused());

  Add(second->Items(), 5)->Focus();
  tree.Items().Clear();
  EXPECT_EQ(tree.FocusedItem(), nullptr);
}

TEST_F(Tree, RefusedFocusKeepsTheOldFocusWhole) {
  KeyItem* a = Add(tree.Items(), 1);
  KeyItem* b = Add(tree.Items(), 2);
  a->Focus();
  tree.OnCanFocus = [&](TTreeItem* item, bool& allow) { allow = item != b; };
  EXPECT_FALSE(b->Focus());
  EXPECT_EQ(tree.FocusedItem(), a);
  EXPECT_TRUE(a->Focused());
  a->Free();  // b refuses: nothing stays focused, nothing dangles
  EXPECT_EQ(tree.FocusedItem(), nullptr);
}

TEST_F(Tree, FocusingANodeOfAnotherTreeRaises) {
  TTreeCollection other(TreeItemsClass<KeyItems>());
  TTreeItem* foreign = other.AddNode(other.Items(), TTreeItemClass::Of<KeyItem>());
  KeyItem* own = Add(tree.Items(), 1);
  own->Focus();
  EXPECT_THROW(tree.Focus(foreign), ETreeError);
  EXPECT_EQ(tree.FocusedItem(), own);
  EXPECT_TRUE(tree.Focus(nullptr));
  EXPECT_EQ(tree.FocusedItem(), nullptr);
  EXPECT_FALSE(own->Focused());
}

TEST_F(Tree, OneChangeNotificationPerBracket) {
  KeyItem* a = Add(tree.Items(), 1);
  CountChanges();

  tree.BeginUpdate();
  tree.BeginUpdate();
  Add(a->Items(), 2);
  Add(tree.Items(), 3)->SetIndex(0);
  a->DoChanged();
  tree.EndUpdate();
  EXPECT_EQ(changes, 0);
  tree.EndUpdate();
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(lastList, nullptr);
  EXPECT_EQ(lastItem, nullptr);

  tree.Lock();
  tree.BeginUpdate();
  Add(a->Items(), 4);
  tree.EndUpdate();
  a->Items()[0]->Free();
  EXPECT_EQ(changes, 1) << "locked";
  tree.Unlock();

  changes = 0;
  a->Items().BeginUpdate();
  Add(a->Items(), 5);
  Add(a->Items(), 6);
  a->Items().EndUpdate();
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(lastList, &a->Items());

  changes = 0;
  a->BeginUpdate();  // a node's bracket mutes its children's lists
  Add(a->Items(), 7);
  a->DoChanged();
  a->EndUpdate();
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(lastList, &tree.Items());
  EXPECT_EQ(lastItem, a);
}

TEST_F(Tree, ChangeHandlerExceptionsAreSwallowed) {
  tree.OnChange = [](TTreeItems*, TTreeItem*) { throw Exception("view gone"); };
  KeyItem* a = nullptr;
  EXPECT_NO_THROW(a = Add(tree.Items(), 1));
  EXPECT_NO_THROW(a->Free());
  EXPECT_EQ(tree.Items().Count(), 0);
}

TEST_F(Tree, GuardedEventsAreSilentInsideTheTreeBracket) {
  int events = 0;
  tree.OnItemAdded = [&](TTreeItem*) { ++events; };
  tree.OnItemDeleting = [&](TTreeItem*) { ++events; };
  tree.OnItemChanged = [&](TTreeItem*) { ++events; };
  tree.OnFocusChanged = [&] { ++events; };
  KeyItem* a = Add(tree.Items(), 1);
  a->DoChanged();
  a->Focus();
  EXPECT_EQ(events, 3);
  tree.BeginUpdate();
  Add(tree.Items(), 2)->Focus();
  a->DoChanged();
  a->Free();
  tree.EndUpdate();
  EXPECT_EQ(events, 3);
}

TEST_F(Tree, FailedAdditionsLeaveTheListUnchangedAndItsBracketClosed) {
  Add(tree.Items(), 1);
  CountChanges();
  int deleting = 0;
  tree.OnItemDeleting = [&](TTreeItem*) { ++deleting; };
  tree.OnValidateAdd = [](TTreeItems*, TTreeItem*) { throw Exception("refused"); };
  EXPECT_THROW(Add(tree.Items(), 2), Exception);
  EXPECT_EQ(tree.Items().Count(), 1);
  EXPECT_EQ(deleting, 0) << "a node that never entered the tree is not announced";

  tree.OnValidateAdd = nullptr;
  tree.OnItemAdded = [](TTreeItem*) { throw Exception("no view"); };
  EXPECT_THROW(Add(tree.Items(), 3), Exception);
  EXPECT_EQ(tree.Items().Count(), 1);
  EXPECT_EQ(deleting, 1);
  EXPECT_EQ(tree.Items().UpdateCount(), 0);

  tree.OnItemAdded = nullptr;
  changes = 0;
  Add(tree.Items(), 4);
  EXPECT_EQ(changes, 1);
}

TEST_F(Tree, SortOrdersByCompareAndTracksThePivotByPosition) {
  auto& list = static_cast<KeyItems&>(tree.Items());
  CountChanges();
  list.Sort();
  Add(list, 1);
  changes = 0;
  list.Sort();
  EXPECT_EQ(changes, 0) << "fewer than two nodes: no bracket";
  EXPECT_EQ(list.compares, 0);
  Add(list, 0);
  changes = 0;
  list.Sort();
  EXPECT_EQ(Keys(list), (std::vector<int>{0, 1}));
  EXPECT_EQ(changes, 1);
  list.Clear();

  std::mt19937 random(7);
  for (int round = 0; round < 50; ++round) {
    list.Clear();
    std::vector<int> keys;
    int n = static_cast<int>(random() % 20);
    for (int i = 0; i < n; ++i) keys.push_back(static_cast<int>(random() % 6));
    for (int k : keys) Add(list, k);
    list.Sort();
    std::sort(keys.begin(), keys.end());
    ASSERT_EQ(Keys(list), keys) << "round " << round;
  }
}

TEST_F(Tree, SortWithoutAnOrderStaysInsideTheList) {
  TTreeCollection plain(TreeItemsClass<TTreeItems>());
  for (int i = 0; i < 9; ++i) plain.AddNode(plain.Items(), TTreeItemClass::Of<TTreeItem>());
  plain.Items().Sort();
  EXPECT_EQ(plain.Items().Count(), 9);
}

TEST_F(Tree, FindReturnsTheFirstEqualOrTheInsertionPosition) {
  for (int k : {1, 3, 3, 5}) Add(tree.Items(), k);
  KeyItem probe(TreeItemsClass<KeyItems>());
  int index = -1;
  probe.key = 3;
  EXPECT_TRUE(tree.Items().Find(probe, index));
  EXPECT_EQ(index, 1);
  probe.key = 4;
  EXPECT_FALSE(tree.Items().Find(probe, index));
  EXPECT_EQ(index, 3);
  probe.key = 9;
  EXPECT_FALSE(tree.Items().Find(probe, index));
  EXPECT_EQ(index, 4);
}

TEST_F(Tree, ExchangeSetIndexAndMoveTo) {
  KeyItem* a = Add(tree.Items(), 1);
  KeyItem* b = Add(tree.Items(), 2);
  Add(tree.Items(), 3);
  a->SetModified(false);
  tree.Items().Exchange(2, 0);
  EXPECT_EQ(Keys(tree.Items()), (std::vector<int>{3, 2, 1}));
  EXPECT_TRUE(a->Modified());
  EXPECT_THROW(a->SetIndex(3), ETreeError);
  EXPECT_THROW(tree.Items().Exchange(0, 5), ETreeError);

  b->SetModified(false);
  b->MoveTo(tree.Items());
  EXPECT_FALSE(b->Modified());
  EXPECT_EQ(b->Index(), 1);
  b->MoveTo(a->Items());
  EXPECT_TRUE(b->Modified());
  EXPECT_EQ(b->Parent(), a);
  EXPECT_EQ(b->Tree(), &tree);
  EXPECT_TRUE(b->IsWithin(a));
  EXPECT_FALSE(a->IsWithin(b));
}

TEST_F(Tree, MovingANodeIntoItsOwnSubtreeIsRefused) {
  KeyItem* a = Add(tree.Items(), 1);
  KeyItem* child = Add(a->Items(), 2);
  EXPECT_THROW(a->MoveTo(child->Items()), ETreeError);
  EXPECT_THROW(a->MoveTo(a->Items()), ETreeError);
  EXPECT_EQ(a->Parent(), nullptr);
  EXPECT_EQ(child->Parent(), a);
  EXPECT_THROW(child->Items().Assign(a->Items()), ETreeError);
  EXPECT_THROW(child->Items().Assign(tree.Items()), ETreeError);
}

TEST_F(Tree, NodesNotMadeByTheirClassStayOutOfLists) {
  KeyItem loose(TreeItemsClass<KeyItems>());
  EXPECT_THROW(loose.MoveTo(tree.Items()), ETreeError);
  Add(loose.Items(), 1);
  EXPECT_EQ(tree.Items().Count(), 0);
  EXPECT_NO_THROW(loose.Items().Clear());
}

TEST_F(Tree, AssignCopiesTheSubtreeWithItsClasses) {
  KeyItem* a = Add(tree.Items(), 1);
  Add(Add(a->Items(), 2)->Items(), 3);
  a->SetExpanded(true);
  TTreeCollection copy(TreeItemsClass<KeyItems>());
  copy.Assign(tree);
  ASSERT_EQ(copy.Items().Count(), 1);
  auto* c = dynamic_cast<KeyItem*>(copy.Items()[0]);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->key, 1);
  EXPECT_TRUE(c->Expanded());
  EXPECT_EQ(Keys(c->Items()[0]->Items()), (std::vector<int>{3}));
  EXPECT_EQ(c->Items()[0]->Tree(), &copy);
}

TEST_F(Tree, ExpandAndCollapseAskTheTree) {
  KeyItem* a = Add(tree.Items(), 1);
  std::string log;
  tree.OnCanExpand = [&](TTreeItem*, bool&) { log += "E?"; };
  tree.OnExpanded = [&](TTreeItem*) { log += "E"; };
  tree.OnCanCollapse = [&](TTreeItem*, bool&) { log += "C?"; };
  tree.OnCollapsed = [&](TTreeItem*) { log += "C"; };
  a->SetExpanded(false);  // already collapsed: still asked and announced
  a->SetExpanded(true);
  a->SetExpanded(true);
  EXPECT_EQ(log, "C?CE?E");
  tree.OnCanCollapse = [](TTreeItem*, bool& allow) { allow = false; };
  a->SetExpanded(false);
  EXPECT_TRUE(a->Expanded());

  Add(a->Items(), 2);
  Add(Add(tree.Items(), 3)->Items(), 4);
  tree.FullExpand();
  for (TTreeItem* n : {tree.Items()[1], tree.Items()[1]->Items()[0], a->Items()[0]})
    EXPECT_TRUE(n->Expanded());

  KeyItem detached(TreeItemsClass<KeyItems>());
  detached.SetExpanded(true);
  EXPECT_FALSE(detached.Expanded());
}

TEST_F(Tree, ExpandHandlersMayDeleteNodesDuringFullExpand) {
  for (int k = 0; k < 4; ++k) Add(Add(tree.Items(), k)->Items(), 10 + k);
  tree.OnExpanded = [&](TTreeItem* item) {
    if (item->Parent() == nullptr && item->NextSibling()) item->NextSibling()->Free();
    if (item->Parent() == nullptr) item->Items()[0]->Free();
  };
  tree.FullExpand();
  EXPECT_EQ(Keys(tree.Items()), (std::vector<int>{0, 2}));
}

TEST_F(Tree, WalksCloseTheirEndNotificationBeforeAnExceptionPasses) {
  KeyItem* a = Add(tree.Items(), 1);
  Add(a->Items(), 2);
  std::string log;
  tree.OnWalkAll = [&](int phase) { log += phase ? "]" : "["; };
  tree.OnWalkItem = [&](TTreeItem* item, int phase) {
    log += phase ? ")" : "(";
    if (static_cast<KeyItem*>(item)->key == 2 && phase == 0) throw Exception("stop");
  };
  EXPECT_THROW(tree.WalkAll(), Exception);
  EXPECT_EQ(log, "[(()]")
      << "the failing begin of the child, then the ends of the parent and the walk";
  log.clear();
  tree.OnWalkItem = nullptr;
  tree.OnWalkItemAlt = [&](TTreeItem*, int phase) { log += phase ? ")" : "("; };
  tree.WalkAllAlt();
  EXPECT_EQ(log, "(())");
}

TEST_F(Tree, ModifiedIsSeenThroughTheSubtree) {
  KeyItem* a = Add(tree.Items(), 1);
  KeyItem* b = Add(a->Items(), 2);
  a->SetModified(false);
  b->SetModified(false);
  EXPECT_FALSE(tree.IsModified());
  b->DoChanged();
  EXPECT_TRUE(a->IsModified());
  EXPECT_TRUE(tree.IsModified());
}

}  // namespace
}  // namespace orvane
