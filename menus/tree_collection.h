#pragma once
// The ordered tree both menus are built on: nodes (TTreeItem) that own their child
// list, sibling lists (TTreeItems) that own their nodes, and the root (TTreeCollection)
// that owns the top-level list, keeps the focused node and batches change notifications.
//
// Ownership: every node is held by exactly one std::unique_ptr, in the vector of the list
// it stands in; a node that is not in any list (between its creation and its first
// attachment) holds itself. Nodes are destroyed only through Free(), which runs the
// destruction sequence (deleting event, focus move, subtree) and then drops that pointer.

#include <functional>
#include <memory>
#include <typeinfo>
#include <vector>

#include "platform/exception.h"

namespace orvane {

class TTreeItem;
class TTreeItems;
class TTreeCollection;

// A misuse of the tree: focusing a foreign node, an index out of range, a node moved
// into its own subtree.
class ETreeError : public Exception {
public:
  using Exception::Exception;
};

// Lets callers notice that a node or list was destroyed by an event handler they ran.
class TLiveObject {
public:
  TLiveObject() = default;
  TLiveObject(const TLiveObject&) = delete;
  TLiveObject& operator=(const TLiveObject&) = delete;

  template <class T>
  friend class TLiveRef;

private:
  std::shared_ptr<char> token_ = std::make_shared<char>(0);
};

template <class T>
class TLiveRef {
public:
  TLiveRef() = default;
  TLiveRef(T* object) : object_(object) {
    if (object) token_ = static_cast<const TLiveObject*>(object)->token_;
  }
  T* Get() const { return token_.expired() ? nullptr : object_; }

private:
  T* object_ = nullptr;
  std::weak_ptr<char> token_;
};

// The class of a list: creates a list of that class for an owner node or a tree.
using TTreeItemsClass = std::unique_ptr<TTreeItems> (*)(TTreeItem* ownerItem,
                                                        TTreeCollection* ownerTree);

// The class of a node: its identity and a factory taking the class of its child list.
struct TTreeItemClass {
  const std::type_info* type = nullptr;
  std::unique_ptr<TTreeItem> (*create)(TTreeItemsClass childListClass) = nullptr;

  template <class T>
  static TTreeItemClass Of();
  bool operator==(const TTreeItemClass& other) const {
    return type && other.type && *type == *other.type;
  }
  explicit operator bool() const { return create != nullptr; }
};

class TTreeItem : public TLiveObject {
public:
  explicit TTreeItem(TTreeItemsClass childListClass);
  virtual ~TTreeItem();

  // Destroys the node and its subtree. The node must not be used afterwards.
  void Free();

  TTreeItems& Items() const { return *items_; }
  TTreeItems* Collection() const { return collection_; }
  TTreeItem* Parent() const;
  TTreeCollection* Tree() const;
  TTreeItem* NextSibling() const;
  TTreeItem* PrevSibling() const;
  int Index() const;  // -1 when detached
  const TTreeItemClass& ClassType() const { return class_; }

  int UpdateCount() const { return updateCount_; }
  bool Modified() const { return modified_; }
  bool Expanded() const { return expanded_; }
  bool Focused() const { return focused_; }

  virtual void MoveTo(TTreeItems& list);
  virtual void SetModified(bool value);
  virtual void DoChanged();
  virtual void DoChanging();
  virtual void WalkSubtree();
  virtual void WalkSubtreeAlt();
  virtual bool IsModified() const;
  virtual bool Focus();
  virtual void Assign(const TTreeItem& source);
  virtual void SetIndex(int index);

  void BeginUpdate();
  void EndUpdate();
  void SetExpanded(bool value);
  // True when `other` is this node or one of its ancestors.
  bool IsWithin(const TTreeItem* other) const;

protected:
  // The destruction sequence; overrides do their part around the inherited call and
  // must not touch the node after it.
  virtual void Destroy();
  bool Destroying() const { return destroying_; }

private:
  friend class TTreeItems;
  friend class TTreeCollection;
  template <class T>
  friend std::unique_ptr<TTreeItem> CreateTreeItem(TTreeItemsClass);

  void Walk(int kind);
  // Puts the node into `list` (appended), taking it out of its current list.
  void SetCollection(TTreeItems& list);
  // Moves the tree's focus out of this subtree before it is destroyed or leaves the tree.
  void MoveFocusAway();
  void Changed();

  std::unique_ptr<TTreeItems> items_;
  TTreeItems* collection_ = nullptr;
  std::unique_ptr<TTreeItem> detachedSelf_;
  TTreeItemClass class_;
  int updateCount_ = 0;
  bool modified_ = false;
  bool expanded_ = false;
  bool focused_ = false;
  bool destroying_ = false;
};

template <class T>
std::unique_ptr<TTreeItem> CreateTreeItem(TTreeItemsClass childListClass) {
  std::unique_ptr<TTreeItem> node = std::make_unique<T>(childListClass);
  node->class_ = TTreeItemClass::Of<T>();
  return node;
}

template <class T>
TTreeItemClass TTreeItemClass::Of() {
  return TTreeItemClass{&typeid(T), &CreateTreeItem<T>};
}

class TTreeItems : public TLiveObject {
public:
  TTreeItems(TTreeItem* ownerItem, TTreeCollection* ownerTree);
  virtual ~TTreeItems();

  int Count() const { return static_cast<int>(items_.size()); }
  TTreeItem* Item(int index) const;  // raises ETreeError when out of range
  TTreeItem* operator[](int index) const { return Item(index); }
  int IndexOf(const TTreeItem* item) const;

  TTreeItem* OwnerItem() const { return ownerItem_; }
  // The tree: the owner of the top-level list, found through the owner nodes.
  TTreeCollection* Tree() const;
  bool IsTopLevel() const { return ownerTree_ != nullptr; }
  bool Destroying() const { return destroying_; }
  TTreeItemsClass ClassType() const { return class_; }
  int UpdateCount() const { return updateCount_; }

  void BeginUpdate();
  void EndUpdate();

  virtual void Update(TTreeItem* item);
  virtual void NotifyChange(TTreeItems* list, TTreeItem* item);
  // Binary search by Compare: true and the first equal position, or false and the
  // insertion position.
  virtual bool Find(const TTreeItem& item, int& index) const;
  int Compare(int i, int j) const { return CompareItems(*Item(i), *Item(j)); }
  void Exchange(int i, int j);
  void Sort();
  void FullExpand();

  void Clear();
  void Delete(int index) { Item(index)->Free(); }
  // Deep copy of another list's nodes, each of its own class.
  void Assign(const TTreeItems& source);

protected:
  // Order of two nodes for Find and Sort; the plain list has none.
  virtual int CompareItems(const TTreeItem& a, const TTreeItem& b) const;

private:
  friend class TTreeItem;
  friend class TTreeCollection;
  template <class L>
  friend std::unique_ptr<TTreeItems> CreateTreeItems(TTreeItem*, TTreeCollection*);

  void Changed();
  void Attach(std::unique_ptr<TTreeItem> item);
  std::unique_ptr<TTreeItem> Extract(TTreeItem* item);
  void MoveItem(int from, int to);
  void QuickSort(int low, int high);
  void DestroyNodes();

  std::vector<std::unique_ptr<TTreeItem>> items_;
  TTreeItem* ownerItem_;
  TTreeCollection* ownerTree_;
  TTreeItemsClass class_ = nullptr;
  int updateCount_ = 0;
  bool destroying_ = false;
};

template <class L>
std::unique_ptr<TTreeItems> CreateTreeItems(TTreeItem* ownerItem, TTreeCollection* ownerTree) {
  std::unique_ptr<TTreeItems> list = std::make_unique<L>(ownerItem, ownerTree);
  list->class_ = &CreateTreeItems<L>;
  return list;
}

template <class L>
TTreeItemsClass TreeItemsClass() {
  return &CreateTreeItems<L>;
}

// Opens a list's update bracket and closes it when the scope ends, unless an event
// handler destroyed the list meanwhile.
class TListUpdate {
public:
  explicit TListUpdate(TTreeItems* list);
  ~TListUpdate();
  TListUpdate(const TListUpdate&) = delete;
  TListUpdate& operator=(const TListUpdate&) = delete;

private:
  TLiveRef<TTreeItems> list_;
};

// The same for a node's own bracket.
class TItemUpdate {
public:
  explicit TItemUpdate(TTreeItem* item);
  ~TItemUpdate();
  TItemUpdate(const TItemUpdate&) = delete;
  TItemUpdate& operator=(const TItemUpdate&) = delete;

private:
  TLiveRef<TTreeItem> item_;
};

class TTreeCollection {
public:
  using TItemEvent = std::function<void(TTreeItem* item)>;
  using TListItemEvent = std::function<void(TTreeItems* list, TTreeItem* item)>;
  using TQueryEvent = std::function<void(TTreeItem* item, bool& allow)>;
  using TValuesEvent = std::function<void(long long a, long long b)>;
  using TPhaseEvent = std::function<void(int phase)>;
  using TItemPhaseEvent = std::function<void(TTreeItem* item, int phase)>;

  explicit TTreeCollection(TTreeItemsClass topListClass);
  virtual ~TTreeCollection();
  TTreeCollection(const TTreeCollection&) = delete;
  TTreeCollection& operator=(const TTreeCollection&) = delete;

  TTreeItems& Items() const { return *items_; }
  TTreeItem* FocusedItem() const { return focused_; }
  int UpdateCount() const { return updateCount_; }
  int LockCount() const { return lockCount_; }

  virtual void Assign(const TTreeCollection& source);
  void BeginUpdate();
  void EndUpdate();
  void Lock();
  void Unlock();
  // Focuses `item` (null: nothing) with the focus-changed event; raises ETreeError for a
  // node of another tree.
  bool Focus(TTreeItem* item);
  // The focus setter behind Focus; a refused node leaves the focus as it was.
  bool SetFocus(TTreeItem* item, bool notify);
  void FullExpand();
  virtual bool IsModified() const;
  void WalkAll();
  void WalkAllAlt();

  // Adds a new node of `nodeClass` at the end of `list`, after validation; the node is
  // destroyed again when validation or the added event raises.
  TTreeItem* AddNode(TTreeItems& list, const TTreeItemClass& nodeClass);

  // Hook operations.
  virtual void Notify(int kind, int phase, TTreeItem* item);
  virtual void NotifyChange(bool skip, TTreeItems* list, TTreeItem* item);
  virtual void DoItemAdded(TTreeItem* item);
  virtual void ValidateAdd(TTreeItems& list, TTreeItem* item);
  virtual void DoItemEvent(TTreeItem* item);
  virtual void DoItemDeleting(TTreeItem* item);
  virtual void DoItemChanged(TTreeItem* item);
  virtual void DoItemChanging(TTreeItem* item);
  virtual void DoValuesEvent(long long a, long long b);
  virtual void DoValuesEventAlt(long long a, long long b);
  virtual void DoChange(TTreeItems* list, TTreeItem* item);
  virtual void DoWalkAll(int phase);
  virtual void DoWalkAllAlt(int phase);
  virtual void DoWalkItem(TTreeItem* item, int phase);
  virtual void DoWalkItemAlt(TTreeItem* item, int phase);
  virtual bool CanFocus(TTreeItem* item);
  virtual void DoFocusChanged();
  virtual bool CanExpand(TTreeItem* item);
  virtual void DoExpanded(TTreeItem* item);
  virtual bool CanCollapse(TTreeItem* item);
  virtual void DoCollapsed(TTreeItem* item);

  TItemEvent OnItemAdded;
  TListItemEvent OnValidateAdd;
  TItemEvent OnItemEvent;  // not raised by the model
  // Raised while the node is still whole; its handler must not destroy nodes.
  TItemEvent OnItemDeleting;
  TItemEvent OnItemChanged;
  TItemEvent OnItemChanging;
  TValuesEvent OnValuesEvent;     // not raised by the model
  TValuesEvent OnValuesEventAlt;  // not raised by the model
  TListItemEvent OnChange;
  TPhaseEvent OnWalkAll;
  TPhaseEvent OnWalkAllAlt;
  TItemPhaseEvent OnWalkItem;
  TItemPhaseEvent OnWalkItemAlt;
  TQueryEvent OnCanFocus;
  std::function<void()> OnFocusChanged;
  TQueryEvent OnCanExpand;
  TItemEvent OnExpanded;
  TQueryEvent OnCanCollapse;
  TItemEvent OnCollapsed;

protected:
  // Destroys every node without raising events; derived trees call it first in their
  // destructor, while they are still whole.
  void DestroyNodes();

private:
  friend class TTreeItem;
  bool Guarded() const { return updateCount_ > 0; }

  std::unique_ptr<TTreeItems> items_;
  TTreeItem* focused_ = nullptr;
  int updateCount_ = 0;
  int lockCount_ = 0;
};

}  // namespace orvane
