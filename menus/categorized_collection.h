#pragma once
// Trees of two kinds of node: categories, which stand only in the top-level list, and
// items, which stand only below it. A category lives as long as it holds items: the item
// that leaves it last, by a move or by its destruction, takes it along.

#include "menus/tree_collection.h"
#include "platform/exception.h"
#include "storage/menu_file_reader.h"

namespace orvane {

class TCategorizedCollection;

// Adding, pasting and moving stop at kMaxMenuDepth, the depth the menu file's reader
// reads, so that what a user builds loads again whole.
// How deep items added to `list` stand: 1 for a category's own items.
int MenuNesting(const TTreeItems& list);
// Raises EMenuError when `node` with its subtree would reach below kMaxMenuDepth in `list`.
void CheckMenuDepth(const TTreeItems& list, const TTreeItem& node);

// A violation of the menu shape; the tree is left as it was.
class EMenuError : public Exception {
public:
  using Exception::Exception;
};

class TCategorizedCollectionItem : public TTreeItem {
public:
  using TTreeItem::TTreeItem;
  void MoveTo(TTreeItems& list) override;
  TCategorizedCollection* Tree() const;
};

class TCategoryItem : public TCategorizedCollectionItem {
public:
  using TCategorizedCollectionItem::TCategorizedCollectionItem;
  void MoveTo(TTreeItems& list) override;
};

class TNodeItem : public TCategorizedCollectionItem {
public:
  using TCategorizedCollectionItem::TCategorizedCollectionItem;
  void MoveTo(TTreeItems& list) override;
  // Moves the node, or a copy of it, into the children of `target` at `index`: the one
  // operation behind dragging and dropping.
  void TransferTo(TTreeItem& target, int index, bool copy);

protected:
  void Destroy() override;
};

class TCategorizedCollectionItems : public TTreeItems {
public:
  using TTreeItems::TTreeItems;
};

class TCategorizedCollection : public TTreeCollection {
public:
  using TTreeCollection::TTreeCollection;
  void ValidateAdd(TTreeItems& list, TTreeItem* item) override;
};

}  // namespace orvane
