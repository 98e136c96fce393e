#include "filetypes/adv_string_list.h"

#include <algorithm>

#include "platform/ansi_case.h"
#include "platform/exception.h"
#include "platform/messages.h"

namespace orvane {

void TAdvStringList::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) throw Exception(FormatRes(msg::SListIndexError, {index}));
}

const std::string& TAdvStringList::Strings(int index) const {
  CheckIndex(index);
  return entries_[index].text;
}

TStringListObject* TAdvStringList::Objects(int index) const {
  CheckIndex(index);
  return entries_[index].object.get();
}

int TAdvStringList::Add(const std::string& text) { return AddObject(text, nullptr); }

int TAdvStringList::AddObject(const std::string& text, std::unique_ptr<TStringListObject> object) {
  auto at = entries_.end();
  if (sorted_) {
    at = std::upper_bound(
        entries_.begin(), entries_.end(), text,
        [](const std::string& t, const Entry& e) { return AnsiCompareText(t, e.text) < 0; });
  }
  at = entries_.insert(at, Entry{text, std::move(object)});
  return static_cast<int>(at - entries_.begin());
}

void TAdvStringList::Delete(int index) {
  CheckIndex(index);
  entries_.erase(entries_.begin() + index);
}

int TAdvStringList::IndexOf(const std::string& text) const {
  for (int i = 0; i < Count(); ++i) {
    if (AnsiCompareText(entries_[i].text, text) == 0) return i;
  }
  return -1;
}

void TAdvStringList::SetSorted(bool value) {
  if (value && !sorted_) Sort();
  sorted_ = value;
}

void TAdvStringList::Sort() {
  std::stable_sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
    return AnsiCompareText(a.text, b.text) < 0;
  });
}

std::string TAdvStringList::JoinText() const {
  std::string out;
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (i > 0) out += separator_;
    out += entries_[i].text;
  }
  return out;
}

}  // namespace orvane
