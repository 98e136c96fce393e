#include "filetypes/file_types.h"

#include <algorithm>
#include <cstdint>

#include "filetypes/file_type_link.h"
#include "platform/ansi_case.h"

namespace orvane {

TFileTypes::TFileTypes() { SetSorted(true); }

TFileTypes::~TFileTypes() {
  // Links must let go even when the collection dies inside an update bracket.
  updateCount_ = 0;
  destroying_ = true;
  Notify(nkDestroying, nullptr);
  links_.clear();
  Clear();
}

TFileType* TFileTypes::Add() {
  return static_cast<TFileType*>(AddItem(std::make_unique<TFileType>(*this)));
}

size_t TFileTypes::NameHash::operator()(const std::string& name) const {
  const unsigned char* upper = AnsiUpperTable();
  size_t hash = static_cast<size_t>(14695981039346656037ull);
  for (char c : name) hash = (hash ^ upper[static_cast<unsigned char>(c)]) * 1099511628211ull;
  return hash;
}

bool TFileTypes::NameEqual::operator()(const std::string& a, const std::string& b) const {
  return AnsiSameText(a, b);
}

TFileType* TFileTypes::AddNamed(const std::string& name) {
  auto item = std::make_unique<TFileType>(*this);
  item->name_ = name;
  return static_cast<TFileType*>(AddItem(std::move(item)));
}

TFileType* TFileTypes::FindByName(const std::string& name) const {
  auto it = byName_.find(name);
  if (it == byName_.end() || it->second.empty()) return nullptr;
  TFileType* first = it->second.front();
  for (TFileType* item : it->second) {
    if (item->Index() < first->Index()) first = item;
  }
  return first;
}

void TFileTypes::IndexName(TFileType* item, const std::string& name) {
  byName_[name].push_back(item);
}

void TFileTypes::UnindexName(TFileType* item, const std::string& name) {
  auto it = byName_.find(name);
  if (it == byName_.end()) return;
  auto& bucket = it->second;
  bucket.erase(std::remove(bucket.begin(), bucket.end(), item), bucket.end());
  if (bucket.empty()) byName_.erase(it);
}

void TFileTypes::NameChanging(TFileType* item, const std::string& oldName,
                              const std::string& newName) {
  UnindexName(item, oldName);
  IndexName(item, newName);
}

void TFileTypes::ItemAdded(TCollectionItem* item) {
  auto* type = static_cast<TFileType*>(item);
  IndexName(type, type->Name());
}

void TFileTypes::ItemRemoving(TCollectionItem* item) {
  auto* type = static_cast<TFileType*>(item);
  UnindexName(type, type->Name());
  if (destroying_) return;
  if (updateCount_ > 0) {
    // The notification is dropped inside a bracket: links still let go of the pointer,
    // keeping the name by which they find their type again.
    for (TFileTypeLink* link : links_) {
      if (link->fileType_ == type) link->fileType_ = nullptr;
    }
  }
  Notify(nkDestroying, type);
}

void TFileTypes::AttachLink(TFileTypeLink* link) {
  links_.push_back(link);
  link->Notify(nkChange, nullptr);
}

void TFileTypes::DetachLink(TFileTypeLink* link) {
  links_.erase(std::remove(links_.begin(), links_.end(), link), links_.end());
}

void TFileTypes::Notify(TNotifyKind kind, TFileType* item) {
  if (updateCount_ > 0 && kind != nkRefreshItem) return;
  // A link may detach (or be destroyed) while it is notified: go over a copy and skip
  // links that are no longer attached.
  const std::vector<TFileTypeLink*> snapshot = links_;
  for (TFileTypeLink* link : snapshot) {
    if (std::find(links_.begin(), links_.end(), link) == links_.end()) continue;
    link->Notify(kind, item);
  }
}

void TFileTypes::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) Update(nullptr);
}

void TFileTypes::Update(TCollectionItem* item) {
  if (indexChanging_) {
    indexChanging_ = false;
    return;
  }
  if (!loading_) Notify(nkChange, static_cast<TFileType*>(item));
}

int TFileTypes::Compare(int index1, int index2) {
  TFileType* a = Items(index1);
  TFileType* b = Items(index2);
  if (a->Predefined() != b->Predefined()) return a->Predefined() ? -1 : 1;
  if (a->Predefined()) {
    const TPredefinedTable& table = PredefinedTable();
    int ia = table.IndexOf(a->Name());
    int ib = table.IndexOf(b->Name());
    return ia < ib ? -1 : (ia > ib ? 1 : 0);
  }
  return AnsiCompareStr(a->Description(), b->Description());
}

void TFileTypes::Sort() {
  const TPredefinedTable& table = PredefinedTable();
  std::vector<std::string> keys(Count());
  for (int i = 0; i < Count(); ++i) {
    TFileType* item = Items(i);
    if (item->Predefined()) {
      keys[i] = std::string(1, '\0') + static_cast<char>(table.IndexOf(item->Name()) + 1);
    } else {
      keys[i] = '\1' + AnsiSortKeyStr(item->Description());
    }
  }
  std::vector<int> order(Count());
  for (int i = 0; i < Count(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(), [&keys](int a, int b) { return keys[a] < keys[b]; });
  Reorder(order);
}

void TFileTypes::UpdateCaptions() {
  BeginUpdate();
  loading_ = true;
  const TPredefinedTable& table = PredefinedTable();
  for (int i = 0; i < table.Count(); ++i) {
    if (TFileType* item = FindByName(table.Names[i])) item->SetDescription(table.Captions[i]);
  }
  EndUpdate();
  loading_ = false;
  Notify(nkRefresh, nullptr);
}

}  // namespace orvane
