#include "menus/tree_collection.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "platform/messages.h"

namespace orvane {

// ---------------------------------------------------------------------------------------
// TTreeItem

TTreeItem::TTreeItem(TTreeItemsClass childListClass) : items_(childListClass(this, nullptr)) {}

TTreeItem::~TTreeItem() = default;

void TTreeItem::Free() {
  if (destroying_) return;
  destroying_ = true;
  Destroy();
}

void TTreeItem::Destroy() {
  TTreeCollection* tree = Tree();
  // A failing handler does not keep a half-destroyed node alive; its error passes on
  // once the node is gone.
  std::exception_ptr failure;
  if (tree && tree->UpdateCount() == 0) {
    try {
      tree->DoItemDeleting(this);
    } catch (...) {
      failure = std::current_exception();
    }
  }
  if (tree) MoveFocusAway();
  items_->DestroyNodes();
  {
    // Dropping the owning pointer ends the node.
    std::unique_ptr<TTreeItem> owner =
        collection_ ? collection_->Extract(this) : std::move(detachedSelf_);
  }
  if (failure) std::rethrow_exception(failure);
}

void TTreeItem::MoveFocusAway() {
  TTreeCollection* tree = Tree();
  if (!tree || !tree->focused_ || !tree->focused_->IsWithin(this)) return;
  TTreeItem* choice = nullptr;
  if (collection_ && !collection_->Destroying()) choice = NextSibling();
  if (!choice && collection_ && !collection_->Destroying()) choice = PrevSibling();
  if (!choice) choice = Parent();
  if (choice && choice->Destroying()) choice = nullptr;
  if (!tree->SetFocus(choice, false)) tree->SetFocus(nullptr, false);
}

TTreeItem* TTreeItem::Parent() const { return collection_ ? collection_->OwnerItem() : nullptr; }

TTreeCollection* TTreeItem::Tree() const { return collection_ ? collection_->Tree() : nullptr; }

int TTreeItem::Index() const { return collection_ ? collection_->IndexOf(this) : -1; }

TTreeItem* TTreeItem::NextSibling() const {
  if (!collection_) return nullptr;
  int next = Index() + 1;
  return next < collection_->Count() ? collection_->Item(next) : nullptr;
}

TTreeItem* TTreeItem::PrevSibling() const {
  if (!collection_) return nullptr;
  int prev = Index() - 1;
  return prev >= 0 ? collection_->Item(prev) : nullptr;
}

void TTreeItem::MoveTo(TTreeItems& list) {
  if (&list == collection_) return;
  if (list.OwnerItem() && list.OwnerItem()->IsWithin(this))
    throw ETreeError(LoadResString(msg::SItemIntoOwnSubtree));
  if (collection_) SetModified(true);
  SetCollection(list);
}

void TTreeItem::SetCollection(TTreeItems& list) {
  // Only nodes made by their class own themselves while detached; any other node has no
  // owner to hand to the list.
  if (!collection_ && !detachedSelf_) throw ETreeError(LoadResString(msg::SInvalidTreeItemClass));
  if (collection_ && collection_->Tree() != list.Tree()) MoveFocusAway();
  std::unique_ptr<TTreeItem> owner =
      collection_ ? collection_->Extract(this) : std::move(detachedSelf_);
  list.Attach(std::move(owner));
}

void TTreeItem::SetModified(bool value) { modified_ = value; }

void TTreeItem::DoChanged() {
  SetModified(true);
  if (updateCount_ == 0) {
    if (TTreeCollection* tree = Tree()) tree->DoItemChanged(this);
  }
}

void TTreeItem::DoChanging() {
  if (updateCount_ == 0) {
    if (TTreeCollection* tree = Tree()) tree->DoItemChanging(this);
  }
}

void TTreeItem::Walk(int kind) {
  TLiveRef<TTreeItem> self(this);
  auto notify = [&](int phase) {
    TTreeItem* item = self.Get();
    if (!item) return;
    if (TTreeCollection* tree = item->Tree()) tree->Notify(kind, phase, item);
  };
  notify(0);
  try {
    for (int i = 0; self.Get() && i < items_->Count(); ++i) {
      TTreeItem* child = items_->Item(i);
      if (kind == 0) {
        child->WalkSubtree();
      } else {
        child->WalkSubtreeAlt();
      }
    }
  } catch (...) {
    notify(1);
    throw;
  }
  notify(1);
}

void TTreeItem::WalkSubtree() { Walk(0); }

void TTreeItem::WalkSubtreeAlt() { Walk(1); }

bool TTreeItem::IsModified() const {
  if (modified_) return true;
  for (int i = 0; i < items_->Count(); ++i)
    if (items_->Item(i)->IsModified()) return true;
  return false;
}

bool TTreeItem::Focus() {
  TTreeCollection* tree = Tree();
  return tree && tree->SetFocus(this, true);
}

void TTreeItem::Assign(const TTreeItem& source) {
  TItemUpdate update(this);
  items_->Assign(source.Items());
  SetExpanded(source.Expanded());
}

void TTreeItem::SetIndex(int index) {
  if (!collection_) return;
  if (index < 0 || index >= collection_->Count())
    throw ETreeError(FormatRes(msg::STreeIndexOutOfBounds, {static_cast<long long>(index)}));
  int current = Index();
  if (index == current) return;
  SetModified(true);
  collection_->MoveItem(current, index);
  collection_->Changed();
}

void TTreeItem::BeginUpdate() { ++updateCount_; }

void TTreeItem::EndUpdate() {
  if (updateCount_ == 0) return;
  if (--updateCount_ == 0) Changed();
}

void TTreeItem::Changed() {
  if (collection_ && collection_->UpdateCount() == 0) collection_->Update(this);
}

void TTreeItem::SetExpanded(bool value) {
  TTreeCollection* tree = Tree();
  if (value) {
    if (expanded_) return;
    if (!tree || !tree->CanExpand(this)) return;
    expanded_ = true;
    tree->DoExpanded(this);
  } else {
    if (!tree || !tree->CanCollapse(this)) return;
    expanded_ = false;
    tree->DoCollapsed(this);
  }
}

bool TTreeItem::IsWithin(const TTreeItem* other) const {
  for (const TTreeItem* node = this; node; node = node->Parent())
    if (node == other) return true;
  return false;
}

// ---------------------------------------------------------------------------------------
// TTreeItems

TTreeItems::TTreeItems(TTreeItem* ownerItem, TTreeCollection* ownerTree)
    : ownerItem_(ownerItem), ownerTree_(ownerTree) {}

TTreeItems::~TTreeItems() { DestroyNodes(); }

void TTreeItems::DestroyNodes() {
  destroying_ = true;
  ++updateCount_;
  while (!items_.empty()) items_.back()->Free();
}

TTreeItem* TTreeItems::Item(int index) const {
  if (index < 0 || index >= Count())
    throw ETreeError(FormatRes(msg::STreeIndexOutOfBounds, {static_cast<long long>(index)}));
  return items_[index].get();
}

int TTreeItems::IndexOf(const TTreeItem* item) const {
  for (int i = 0; i < Count(); ++i)
    if (items_[i].get() == item) return i;
  return -1;
}

TTreeCollection* TTreeItems::Tree() const {
  if (ownerTree_) return ownerTree_;
  return ownerItem_ ? ownerItem_->Tree() : nullptr;
}

void TTreeItems::BeginUpdate() { ++updateCount_; }

void TTreeItems::EndUpdate() {
  if (updateCount_ == 0) return;
  --updateCount_;
  Changed();
}

void TTreeItems::Changed() {
  if (updateCount_ == 0) Update(nullptr);
}

void TTreeItems::Update(TTreeItem* item) {
  if (updateCount_ == 0) NotifyChange(this, item);
}

void TTreeItems::NotifyChange(TTreeItems* list, TTreeItem* item) {
  if (updateCount_ > 0) return;
  if (ownerItem_) {
    TTreeItems* above = ownerItem_->Collection();
    if (above && ownerItem_->UpdateCount() == 0) above->NotifyChange(list, item);
  } else if (ownerTree_) {
    ownerTree_->NotifyChange(false, list, item);
  }
}

bool TTreeItems::Find(const TTreeItem& item, int& index) const {
  bool found = false;
  int low = 0;
  int high = Count() - 1;
  while (low <= high) {
    int i = static_cast<int>((static_cast<unsigned>(low) + static_cast<unsigned>(high)) >> 1);
    int c = CompareItems(*Item(i), item);
    if (c < 0) {
      low = i + 1;
    } else {
      high = i - 1;
      if (c == 0) {
        found = true;
        low = i;
      }
    }
  }
  index = low;
  return found;
}

int TTreeItems::CompareItems(const TTreeItem&, const TTreeItem&) const { return -1; }

void TTreeItems::Exchange(int i, int j) {
  if (i == j) {
    Item(i);
    return;
  }
  int low = std::min(i, j);
  int high = std::max(i, j);
  TTreeItem* lowItem = Item(low);
  Item(high)->SetIndex(low);
  lowItem->SetIndex(high);
}

void TTreeItems::Sort() {
  if (Count() < 2) return;
  TListUpdate update(this);
  QuickSort(0, Count() - 1);
}

void TTreeItems::QuickSort(int low, int high) {
  int i;
  do {
    i = low;
    int j = high;
    int pivot = static_cast<int>((static_cast<unsigned>(low) + static_cast<unsigned>(high)) >> 1);
    do {
      // The bounds only matter for an inconsistent order; a consistent one stops at the
      // pivot on its own.
      while (i < high && Compare(i, pivot) < 0) ++i;
      while (j > low && Compare(j, pivot) > 0) --j;
      if (i <= j) {
        Exchange(i, j);
        if (pivot == i) {
          pivot = j;
        } else if (pivot == j) {
          pivot = i;
        }
        ++i;
        --j;
      }
    } while (i <= j);
    if (low < j) QuickSort(low, j);
    low = i;
  } while (i < high);
}

void TTreeItems::FullExpand() {
  TListUpdate update(this);
  TLiveRef<TTreeItems> self(this);
  for (int i = 0; self.Get() && i < Count(); ++i) {
    TLiveRef<TTreeItem> node(Item(i));
    node.Get()->SetExpanded(true);
    if (TTreeItem* alive = node.Get()) alive->Items().FullExpand();
  }
}

void TTreeItems::Clear() {
  TListUpdate update(this);
  TLiveRef<TTreeItems> self(this);
  while (self.Get() && Count() > 0) items_.back()->Free();
}

void TTreeItems::Assign(const TTreeItems& source) {
  if (&source == this) return;
  // Copying a subtree into itself would never end.
  bool intoSource = source.OwnerItem() ? ownerItem_ && ownerItem_->IsWithin(source.OwnerItem())
                                       : ownerItem_ && Tree() == source.Tree();
  if (intoSource) throw ETreeError(LoadResString(msg::SItemIntoOwnSubtree));
  TListUpdate update(this);
  Clear();
  for (int i = 0; i < source.Count(); ++i) {
    const TTreeItem* from = source.Item(i);
    if (!from->ClassType()) throw ETreeError(LoadResString(msg::SInvalidTreeItemClass));
    TTreeItem* node = from->ClassType().create(class_).release();
    node->detachedSelf_.reset(node);
    try {
      node->MoveTo(*this);
    } catch (...) {
      node->Free();
      throw;
    }
    node->Assign(*from);
  }
}

void TTreeItems::Attach(std::unique_ptr<TTreeItem> item) {
  item->collection_ = this;
  items_.push_back(std::move(item));
  Changed();
}

std::unique_ptr<TTreeItem> TTreeItems::Extract(TTreeItem* item) {
  int index = IndexOf(item);
  std::unique_ptr<TTreeItem> owner = std::move(items_[index]);
  items_.erase(items_.begin() + index);
  owner->collection_ = nullptr;
  Changed();
  return owner;
}

void TTreeItems::MoveItem(int from, int to) {
  if (from < to) {
    std::rotate(items_.begin() + from, items_.begin() + from + 1, items_.begin() + to + 1);
  } else {
    std::rotate(items_.begin() + to, items_.begin() + from, items_.begin() + from + 1);
  }
}

TListUpdate::TListUpdate(TTreeItems* list) : list_(list) {
  if (list) list->BeginUpdate();
}

TListUpdate::~TListUpdate() {
  if (TTreeItems* list = list_.Get()) list->EndUpdate();
}

TItemUpdate::TItemUpdate(TTreeItem* item) : item_(item) {
  if (item) item->BeginUpdate();
}

TItemUpdate::~TItemUpdate() {
  if (TTreeItem* item = item_.Get()) item->EndUpdate();
}

// ---------------------------------------------------------------------------------------
// TTreeCollection

TTreeCollection::TTreeCollection(TTreeItemsClass topListClass)
    : items_(topListClass(nullptr, this)) {}

TTreeCollection::~TTreeCollection() { DestroyNodes(); }

void TTreeCollection::DestroyNodes() {
  ++updateCount_;
  items_->DestroyNodes();
  focused_ = nullptr;
}

void TTreeCollection::Assign(const TTreeCollection& source) { items_->Assign(source.Items()); }

void TTreeCollection::BeginUpdate() { ++updateCount_; }

void TTreeCollection::EndUpdate() {
  if (updateCount_ == 0) return;
  if (--updateCount_ == 0) NotifyChange(false, nullptr, nullptr);
}

void TTreeCollection::Lock() { ++lockCount_; }

void TTreeCollection::Unlock() {
  if (lockCount_ > 0) --lockCount_;
}

bool TTreeCollection::Focus(TTreeItem* item) {
  if (item && item->Tree() != this)
    throw ETreeError(LoadResString(msg::SItemMustBelongToCollection));
  return SetFocus(item, true);
}

bool TTreeCollection::SetFocus(TTreeItem* item, bool notify) {
  if (item && !CanFocus(item)) return false;
  if (focused_) focused_->focused_ = false;
  focused_ = item;
  if (item) item->focused_ = true;
  if (notify && updateCount_ == 0) DoFocusChanged();
  return true;
}

void TTreeCollection::FullExpand() { items_->FullExpand(); }

bool TTreeCollection::IsModified() const {
  for (int i = 0; i < items_->Count(); ++i)
    if (items_->Item(i)->IsModified()) return true;
  return false;
}

void TTreeCollection::WalkAll() {
  Notify(2, 0, nullptr);
  try {
    for (int i = 0; i < items_->Count(); ++i) items_->Item(i)->WalkSubtree();
  } catch (...) {
    Notify(2, 1, nullptr);
    throw;
  }
  Notify(2, 1, nullptr);
}

void TTreeCollection::WalkAllAlt() {
  Notify(3, 0, nullptr);
  try {
    for (int i = 0; i < items_->Count(); ++i) items_->Item(i)->WalkSubtreeAlt();
  } catch (...) {
    Notify(3, 1, nullptr);
    throw;
  }
  Notify(3, 1, nullptr);
}

TTreeItem* TTreeCollection::AddNode(TTreeItems& list, const TTreeItemClass& nodeClass) {
  TListUpdate update(&list);
  TTreeItem* node = nodeClass.create(list.ClassType()).release();
  node->detachedSelf_.reset(node);
  TLiveRef<TTreeItem> ref(node);
  try {
    ValidateAdd(list, node);
    node->MoveTo(list);
    DoItemAdded(node);
  } catch (...) {
    if (TTreeItem* alive = ref.Get()) alive->Free();
    throw;
  }
  return ref.Get();
}

void TTreeCollection::Notify(int kind, int phase, TTreeItem* item) {
  switch (kind) {
    case 0:
      DoWalkItem(item, phase);
      break;
    case 1:
      DoWalkItemAlt(item, phase);
      break;
    case 2:
      DoWalkAll(phase);
      break;
    case 3:
      DoWalkAllAlt(phase);
      break;
    default:
      break;
  }
}

void TTreeCollection::NotifyChange(bool skip, TTreeItems* list, TTreeItem* item) {
  if (updateCount_ == 0 && lockCount_ == 0 && !skip) DoChange(list, item);
}

void TTreeCollection::DoItemAdded(TTreeItem* item) {
  if (!Guarded() && OnItemAdded) OnItemAdded(item);
}

void TTreeCollection::ValidateAdd(TTreeItems& list, TTreeItem* item) {
  if (!Guarded() && OnValidateAdd) OnValidateAdd(&list, item);
}

void TTreeCollection::DoItemEvent(TTreeItem* item) {
  if (!Guarded() && OnItemEvent) OnItemEvent(item);
}

void TTreeCollection::DoItemDeleting(TTreeItem* item) {
  if (!Guarded() && OnItemDeleting) OnItemDeleting(item);
}

void TTreeCollection::DoItemChanged(TTreeItem* item) {
  if (!Guarded() && OnItemChanged) OnItemChanged(item);
}

void TTreeCollection::DoItemChanging(TTreeItem* item) {
  if (!Guarded() && OnItemChanging) OnItemChanging(item);
}

void TTreeCollection::DoValuesEvent(long long a, long long b) {
  if (!Guarded() && OnValuesEvent) OnValuesEvent(a, b);
}

void TTreeCollection::DoValuesEventAlt(long long a, long long b) {
  if (!Guarded() && OnValuesEventAlt) OnValuesEventAlt(a, b);
}

void TTreeCollection::DoChange(TTreeItems* list, TTreeItem* item) {
  if (Guarded() || !OnChange) return;
  try {
    OnChange(list, item);
  } catch (...) {
    // A failing view refresh must not undo or interrupt the model change behind it.
  }
}

void TTreeCollection::DoWalkAll(int phase) {
  if (OnWalkAll) OnWalkAll(phase);
}

void TTreeCollection::DoWalkAllAlt(int phase) {
  if (OnWalkAllAlt) OnWalkAllAlt(phase);
}

void TTreeCollection::DoWalkItem(TTreeItem* item, int phase) {
  if (OnWalkItem) OnWalkItem(item, phase);
}

void TTreeCollection::DoWalkItemAlt(TTreeItem* item, int phase) {
  if (OnWalkItemAlt) OnWalkItemAlt(item, phase);
}

bool TTreeCollection::CanFocus(TTreeItem* item) {
  bool allow = true;
  if (!Guarded() && OnCanFocus) OnCanFocus(item, allow);
  return allow;
}

void TTreeCollection::DoFocusChanged() {
  if (!Guarded() && OnFocusChanged) OnFocusChanged();
}

bool TTreeCollection::CanExpand(TTreeItem* item) {
  bool allow = true;
  if (OnCanExpand) OnCanExpand(item, allow);
  return allow;
}

void TTreeCollection::DoExpanded(TTreeItem* item) {
  if (OnExpanded) OnExpanded(item);
}

bool TTreeCollection::CanCollapse(TTreeItem* item) {
  bool allow = true;
  if (OnCanCollapse) OnCanCollapse(item, allow);
  return allow;
}

void TTreeCollection::DoCollapsed(TTreeItem* item) {
  if (OnCollapsed) OnCollapsed(item);
}

}  // namespace orvane
