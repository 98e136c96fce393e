#include "filetypes/sorted_collection.h"

#include <utility>

#include "platform/exception.h"
#include "platform/messages.h"

namespace orvane {

void TCollectionItem::SetIndex(int index) {
  if (collection_ && index != index_) collection_->Move(index_, index);
}

void TCollectionItem::Changed() {
  if (collection_) collection_->Update(this);
}

TSortedCollection::~TSortedCollection() = default;

TCollectionItem* TSortedCollection::Item(int index) const {
  if (index < 0 || index >= Count()) throw Exception(FormatRes(msg::SListIndexError, {index}));
  return items_[index].get();
}

TCollectionItem* TSortedCollection::AddItem(std::unique_ptr<TCollectionItem> item) {
  item->index_ = Count();
  items_.push_back(std::move(item));
  TCollectionItem* added = items_.back().get();
  ItemAdded(added);
  Update(nullptr);
  return added;
}

void TSortedCollection::Delete(int index) {
  TCollectionItem* item = Item(index);
  ItemRemoving(item);
  items_.erase(items_.begin() + index);
  Renumber(index, Count());
  Update(nullptr);
}

void TSortedCollection::Clear() {
  if (items_.empty()) return;
  for (auto& item : items_) ItemRemoving(item.get());
  items_.clear();
  Update(nullptr);
}

void TSortedCollection::RemoveIf(const std::function<bool(TCollectionItem*)>& remove) {
  size_t kept = 0;
  for (size_t i = 0; i < items_.size(); ++i) {
    if (remove(items_[i].get())) {
      ItemRemoving(items_[i].get());
      items_[i].reset();
    } else {
      if (kept != i) items_[kept] = std::move(items_[i]);
      ++kept;
    }
  }
  if (kept == items_.size()) return;
  items_.resize(kept);
  Renumber(0, Count());
  Update(nullptr);
}

void TSortedCollection::Move(int from, int to) {
  Item(from);
  if (to < 0) to = 0;
  if (to >= Count()) to = Count() - 1;
  if (from == to) return;
  auto item = std::move(items_[from]);
  items_.erase(items_.begin() + from);
  items_.insert(items_.begin() + to, std::move(item));
  Renumber(std::min(from, to), std::max(from, to) + 1);
  Update(nullptr);
}

void TSortedCollection::Exchange(int index1, int index2) {
  Item(index1);
  Item(index2);
  std::swap(items_[index1], items_[index2]);
  items_[index1]->index_ = index1;
  items_[index2]->index_ = index2;
}

void TSortedCollection::Reorder(const std::vector<int>& order) {
  std::vector<std::unique_ptr<TCollectionItem>> sorted;
  sorted.reserve(items_.size());
  for (int index : order) sorted.push_back(std::move(items_[index]));
  items_ = std::move(sorted);
  Renumber(0, Count());
}

void TSortedCollection::Renumber(int from, int to) {
  for (int i = from; i < to; ++i) items_[i]->index_ = i;
}

int TSortedCollection::Compare(int index1, int index2) {
  if (!compareProc_) return -1;
  return compareProc_(items_[index1].get(), items_[index2].get());
}

void TSortedCollection::Sort() {
  if (Count() > 1) QuickSort(0, Count() - 1);
}

void TSortedCollection::SetSorted(bool value) {
  if (value && !sorted_) {
    sorted_ = true;
    Sort();
  }
  sorted_ = value;
}

// Hoare partition around the middle item, which is followed as it is exchanged. The
// bounds checks keep an inconsistent compare rule from running off the range.
void TSortedCollection::QuickSort(int left, int right) {
  while (left < right) {
    int i = left;
    int j = right;
    int pivot = (left + right) / 2;
    while (i <= j) {
      while (i < right && i != pivot && Compare(i, pivot) < 0) ++i;
      while (j > left && j != pivot && Compare(j, pivot) > 0) --j;
      if (i <= j) {
        if (i != j) {
          Exchange(i, j);
          if (pivot == i) {
            pivot = j;
          } else if (pivot == j) {
            pivot = i;
          }
        }
        ++i;
        --j;
      }
    }
    if (j - left < right - i) {
      if (left < j) QuickSort(left, j);
      left = i;
    } else {
      if (i < right) QuickSort(i, right);
      right = j;
    }
  }
}

}  // namespace orvane
