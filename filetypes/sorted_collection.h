#pragma once
// A collection that owns its items and can sort them with a compare rule.

#include <functional>
#include <memory>
#include <vector>

namespace orvane {

class TSortedCollection;

class TCollectionItem {
public:
  explicit TCollectionItem(TSortedCollection& collection) : collection_(&collection) {}
  virtual ~TCollectionItem() = default;
  TCollectionItem(const TCollectionItem&) = delete;
  TCollectionItem& operator=(const TCollectionItem&) = delete;

  TSortedCollection* Collection() const { return collection_; }
  int Index() const { return index_; }
  // Moves the item to `index` in its collection.
  virtual void SetIndex(int index);

protected:
  // Tells the collection that this item changed.
  void Changed();

private:
  friend class TSortedCollection;
  TSortedCollection* collection_;
  int index_ = -1;
};

class TSortedCollection {
public:
  using TCompareProc = std::function<int(TCollectionItem* a, TCollectionItem* b)>;

  TSortedCollection() = default;
  virtual ~TSortedCollection();
  TSortedCollection(const TSortedCollection&) = delete;
  TSortedCollection& operator=(const TSortedCollection&) = delete;

  int Count() const { return static_cast<int>(items_.size()); }
  TCollectionItem* Item(int index) const;
  void Delete(int index);
  void Clear();
  // Moves the item at `from` to `to`, shifting those between.
  void Move(int from, int to);
  void Exchange(int index1, int index2);

  const TCompareProc& CompareProc() const { return compareProc_; }
  void SetCompareProc(TCompareProc proc) { compareProc_ = std::move(proc); }
  // The compare procedure's result, -1 when there is none.
  virtual int Compare(int index1, int index2);
  virtual void Sort();
  bool Sorted() const { return sorted_; }
  // Switching from false to true sorts once.
  void SetSorted(bool value);

  // Called after a change of an item (or of the whole collection: nullptr).
  virtual void Update(TCollectionItem* item) { (void)item; }

protected:
  TCollectionItem* AddItem(std::unique_ptr<TCollectionItem> item);
  // Hooks for descendants that keep indexes of their items.
  virtual void ItemAdded(TCollectionItem* item) { (void)item; }
  virtual void ItemRemoving(TCollectionItem* item) { (void)item; }
  // Puts the item at old index order[k] at index k, for every k.
  void Reorder(const std::vector<int>& order);
  // Removes, in one pass, every item for which `remove` holds.
  void RemoveIf(const std::function<bool(TCollectionItem*)>& remove);

private:
  void Renumber(int from, int to);
  void QuickSort(int left, int right);

  std::vector<std::unique_ptr<TCollectionItem>> items_;
  TCompareProc compareProc_;
  bool sorted_ = false;
};

}  // namespace orvane
