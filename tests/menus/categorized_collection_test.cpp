// The menu shape: categories at the top only, items below only, and a category that
// lives only while it holds items.

#include "menus/categorized_collection.h"

#include <gtest/gtest.h>

#include "platform/messages.h"

namespace orvane {
namespace {

struct Category : TCategoryItem {
  using TCategoryItem::TCategoryItem;
};
struct Node : TNodeItem {
  using TNodeItem::TNodeItem;
  int key = 0;
  void Assign(const TTreeItem& source) override {
    TNodeItem::Assign(source);
    key = static_cast<const Node&>(source).key;
  }
};

class Categorized : public ::testing::Test {
protected:
  TCategorizedCollection tree{TreeItemsClass<TCategorizedCollectionItems>()};

  TTreeItem* AddCategory() { return tree.AddNode(tree.Items(), TTreeItemClass::Of<Category>()); }
  Node* AddNode(TTreeItem* parent, int key) {
    auto* node = static_cast<Node*>(tree.AddNode(parent->Items(), TTreeItemClass::Of<Node>()));
    node->key = key;
    return node;
  }
  static int Key(TTreeItem* node) { return static_cast<Node*>(node)->key; }
  template <class F>
  void ExpectShapeError(F action, MessageId id) {
    try {
      action();
      ADD_FAILURE() << "no error";
    } catch (const EMenuError& e) {
      EXPECT_EQ(e.Message(), LoadResString(id));
    }
  }
};

TEST_F(Categorized, TheLastItemLeavingACategoryTakesItAlong) {
  TTreeItem* first = AddCategory();
  TTreeItem* second = AddCategory();
  Node* a = AddNode(first, 1);
  Node* b = AddNode(first, 2);
  Node* c = AddNode(second, 3);

  a->MoveTo(second->Items());  // one of two: the category stays
  EXPECT_EQ(tree.Items().Count(), 2);
  b->MoveTo(second->Items());  // the last one: it goes
  ASSERT_EQ(tree.Items().Count(), 1);
  EXPECT_EQ(tree.Items()[0], second);

  Node* sub = AddNode(c, 4);  // an item's own children never take their parent along
  sub->Free();
  EXPECT_EQ(c->Tree(), &tree);

  a->Free();
  b->Free();
  EXPECT_EQ(tree.Items().Count(), 1);
  c->Free();
  EXPECT_EQ(tree.Items().Count(), 0);
}

TEST_F(Categorized, AFailingDeletingHandlerDoesNotKeepTheNode) {
  TTreeItem* category = AddCategory();
  Node* a = AddNode(category, 1);
  tree.OnItemDeleting = [](TTreeItem* node) {
    if (dynamic_cast<Node*>(node)) throw Exception("view refused");
  };
  EXPECT_THROW(a->Free(), Exception);
  EXPECT_EQ(tree.Items().Count(), 0);
}

TEST_F(Categorized, ClearingACategoryDestroysIt) {
  TTreeItem* category = AddCategory();
  AddNode(category, 1);
  AddNode(category, 2);
  category->Items().Clear();
  EXPECT_EQ(tree.Items().Count(), 0);
}

TEST_F(Categorized, ShapeViolationsRaiseAndLeaveTheTreeUnchanged) {
  TTreeItem* category = AddCategory();
  Node* item = AddNode(category, 1);
  ExpectShapeError([&] { tree.AddNode(tree.Items(), TTreeItemClass::Of<Node>()); },
                   msg::SItemToTopLevel);
  ExpectShapeError([&] { tree.AddNode(item->Items(), TTreeItemClass::Of<Category>()); },
                   msg::SCategoryForItem);
  ExpectShapeError([&] { tree.AddNode(category->Items(), TTreeItemClass::Of<TTreeItem>()); },
                   msg::SInvalidTreeItemClass);
  ExpectShapeError([&] { item->MoveTo(tree.Items()); }, msg::SItemToTopLevel);
  ExpectShapeError([&] { category->MoveTo(item->Items()); }, msg::SCategoryForItem);

  ASSERT_EQ(tree.Items().Count(), 1);
  ASSERT_EQ(category->Items().Count(), 1);
  EXPECT_EQ(category->Items()[0], item);
  EXPECT_EQ(item->Items().Count(), 0);
  EXPECT_EQ(tree.Items().UpdateCount(), 0);
  EXPECT_EQ(category->Items().UpdateCount(), 0);
}

TEST_F(Categorized, TransferMovesAcrossCategoriesWithOneNotification) {
  TTreeItem* first = AddCategory();
  TTreeItem* second = AddCategory();
  Node* a = AddNode(first, 1);
  AddNode(second, 2);
  AddNode(second, 3);
  int changes = 0;
  tree.OnChange = [&](TTreeItems*, TTreeItem*) { ++changes; };

  a->TransferTo(*second, 1, false);
  EXPECT_EQ(changes, 1);
  ASSERT_EQ(tree.Items().Count(), 1) << "the emptied category is gone";
  EXPECT_EQ(Key(second->Items()[0]), 2);
  EXPECT_EQ(Key(second->Items()[1]), 1);
  EXPECT_EQ(Key(second->Items()[2]), 3);
  EXPECT_EQ(tree.Items().UpdateCount(), 0);
  EXPECT_EQ(second->UpdateCount(), 0);
  EXPECT_EQ(second->Items().UpdateCount(), 0);
}

TEST_F(Categorized, TransferCopiesIntoAnotherCategory) {
  TTreeItem* first = AddCategory();
  TTreeItem* second = AddCategory();
  Node* a = AddNode(first, 7);
  AddNode(second, 2);
  a->TransferTo(*second, 0, true);
  ASSERT_EQ(second->Items().Count(), 2);
  auto* copy = dynamic_cast<Node*>(second->Items()[0]);
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy, a);
  EXPECT_EQ(copy->key, 7);
  EXPECT_EQ(first->Items().Count(), 1);
  EXPECT_EQ(a->Parent(), first);
}

TEST_F(Categorized, AFailedTransferClosesEveryBracket) {
  TTreeItem* first = AddCategory();
  TTreeItem* second = AddCategory();
  Node* a = AddNode(first, 1);
  AddNode(second, 2);
  EXPECT_THROW(a->TransferTo(*second, 5, true), ETreeError);
  EXPECT_EQ(second->Items().Count(), 1) << "the copy is taken back";
  EXPECT_THROW(a->TransferTo(*second, 5, false), ETreeError);
  EXPECT_EQ(a->Parent(), second);
  EXPECT_EQ(tree.Items().Count(), 1);
  for (TTreeItems* list : {&tree.Items(), &second->Items()}) EXPECT_EQ(list->UpdateCount(), 0);
  EXPECT_EQ(second->UpdateCount(), 0);
  EXPECT_THROW(a->TransferTo(*AddNode(a, 3), 0, false), ETreeError);
  EXPECT_EQ(a->Parent(), second);
}

TEST_F(Categorized, DestroyingTheFocusedLastItemMovesTheFocusOffItsCategory) {
  TTreeItem* first = AddCategory();
  TTreeItem* second = AddCategory();
  Node* a = AddNode(first, 1);
  AddNode(second, 2);
  a->Focus();
  a->Free();
  EXPECT_EQ(tree.Items().Count(), 1);
  EXPECT_EQ(tree.FocusedItem(), second);
}

}  // namespace
}  // namespace orvane
