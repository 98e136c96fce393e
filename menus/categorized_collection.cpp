#include "menus/categorized_collection.h"

#include <algorithm>

#include "platform/messages.h"

namespace orvane {
namespace {

// Levels of the subtree of `node`, itself included.
int SubtreeDepth(const TTreeItem& node) {
  int deepest = 0;
  for (int i = 0; i < node.Items().Count(); ++i)
    deepest = std::max(deepest, SubtreeDepth(*node.Items()[i]));
  return deepest + 1;
}

// Opens the bracket of the list a node is about to leave, and closes it afterwards,
// destroying the list's category instead when the node was its last item.
class TLeaveList {
public:
  explicit TLeaveList(TTreeItems* list) : list_(list && !list->Destroying() ? list : nullptr) {
    if (TTreeItems* l = list_.Get()) l->BeginUpdate();
  }
  TLeaveList(const TLeaveList&) = delete;
  TLeaveList& operator=(const TLeaveList&) = delete;
  ~TLeaveList() {
    if (TTreeItems* l = list_.Get()) l->EndUpdate();
  }
  // The node has left: an emptied category goes, its bracket with it.
  void Done() {
    TTreeItems* list = list_.Get();
    if (!list) return;
    TTreeItem* owner = list->OwnerItem();
    if (list->Count() == 0 && dynamic_cast<TCategoryItem*>(owner) && !list->Destroying()) {
      list_ = TLiveRef<TTreeItems>();
      owner->Free();
      return;
    }
    list_ = TLiveRef<TTreeItems>();
    list->EndUpdate();
  }

private:
  TLiveRef<TTreeItems> list_;
};

}  // namespace

int MenuNesting(const TTreeItems& list) {
  int nesting = 0;
  for (const TTreeItem* owner = list.OwnerItem(); owner; owner = owner->Parent()) ++nesting;
  return nesting;
}

void CheckMenuDepth(const TTreeItems& list, const TTreeItem& node) {
  if (MenuNesting(list) + SubtreeDepth(node) - 1 > kMaxMenuDepth)
    throw EMenuError(FormatRes(msg::SMenuTooDeep, {static_cast<long long>(kMaxMenuDepth)}));
}

void TCategorizedCollectionItem::MoveTo(TTreeItems& list) { TTreeItem::MoveTo(list); }

TCategorizedCollection* TCategorizedCollectionItem::Tree() const {
  return dynamic_cast<TCategorizedCollection*>(TTreeItem::Tree());
}

void TCategoryItem::MoveTo(TTreeItems& list) {
  if (list.OwnerItem()) throw EMenuError(LoadResString(msg::SCategoryForItem));
  TCategorizedCollectionItem::MoveTo(list);
}

void TNodeItem::MoveTo(TTreeItems& list) {
  if (list.IsTopLevel()) throw EMenuError(LoadResString(msg::SItemToTopLevel));
  if (&list == Collection()) return;
  CheckMenuDepth(list, *this);
  TLeaveList leave(Collection());
  TCategorizedCollectionItem::MoveTo(list);
  leave.Done();
}

void TNodeItem::Destroy() {
  TLeaveList leave(Collection());
  try {
    TCategorizedCollectionItem::Destroy();
  } catch (...) {
    leave.Done();  // the node is gone all the same
    throw;
  }
  leave.Done();
}

void TNodeItem::TransferTo(TTreeItem& target, int index, bool copy) {
  TTreeItems* own = Collection();
  TTreeCollection* tree = TTreeItem::Tree();
  TTreeItems* bracketList = own;
  // A move may take the node's category with it: bracket the top level then.
  if (!copy && own && own->Count() < 2 && tree) bracketList = &tree->Items();
  TListUpdate listUpdate(copy ? nullptr : bracketList);
  TItemUpdate targetUpdate(&target.Items() == bracketList ? nullptr : &target);
  if (!copy) {
    MoveTo(target.Items());
    SetIndex(index);
    return;
  }
  TTreeCollection* targetTree = target.Tree() ? target.Tree() : tree;
  if (!targetTree) throw EMenuError(LoadResString(msg::SInvalidTreeItemClass));
  CheckMenuDepth(target.Items(), *this);
  TTreeItem* node = targetTree->AddNode(target.Items(), ClassType());
  TLiveRef<TTreeItem> added(node);
  try {
    node->Assign(*this);
    node->SetIndex(index);
  } catch (...) {
    if (TTreeItem* alive = added.Get()) alive->Free();
    throw;
  }
}

void TCategorizedCollection::ValidateAdd(TTreeItems& list, TTreeItem* item) {
  bool isNode = dynamic_cast<TNodeItem*>(item) != nullptr;
  bool isCategory = dynamic_cast<TCategoryItem*>(item) != nullptr;
  if (isNode && list.IsTopLevel()) throw EMenuError(LoadResString(msg::SItemToTopLevel));
  if (isCategory && list.OwnerItem()) throw EMenuError(LoadResString(msg::SCategoryForItem));
  if (!isNode && !isCategory) throw EMenuError(LoadResString(msg::SInvalidTreeItemClass));
  if (isNode) CheckMenuDepth(list, *item);
  TTreeCollection::ValidateAdd(list, item);
}

}  // namespace orvane
