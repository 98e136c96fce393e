#include "storage/mru_list.h"

#include <algorithm>
#include <set>
#include <utility>

#include "platform/ansi_case.h"
#include "storage/custom_ini_file.h"

namespace orvane {
namespace {

constexpr const char* kItemKey = "Item_";
constexpr const char* kValueKey = "User_";
// More significant digits cannot be an entry's number.
constexpr std::size_t kMaxDigits = 9;

// The number after "Item_" in a key name, or -1.
int ItemNumber(const std::string& key) {
  const std::size_t prefix = std::char_traits<char>::length(kItemKey);
  if (key.size() <= prefix || !AnsiSameText(std::string_view(key).substr(0, prefix), kItemKey))
    return -1;
  const std::string digits = key.substr(prefix);
  int number = 0;
  std::size_t significant = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return -1;
    if (number == 0 && c == '0') continue;
    if (++significant > kMaxDigits) return -1;
    number = number * 10 + (c - '0');
  }
  return number;
}

}  // namespace

int TMruList::IndexOf(const std::string& text) const {
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (AnsiSameText(entries_[i].Text, text)) return static_cast<int>(i);
  }
  return -1;
}

bool TMruList::Add(const std::string& text, int value) {
  if (text.empty() || HasLineBreak(text) || capacity_ <= 0) return false;
  if (const int index = IndexOf(text); index >= 0) entries_.erase(entries_.begin() + index);
  entries_.insert(entries_.begin(), TMruEntry{text, value});
  if (Count() > capacity_) entries_.resize(static_cast<std::size_t>(capacity_));
  return true;
}

bool TMruList::Remove(const std::string& text) {
  const int index = IndexOf(text);
  if (index < 0) return false;
  entries_.erase(entries_.begin() + index);
  return true;
}

void TMruList::LoadFromIni(TCustomIniFile& ini, const std::string& section) {
  entries_.clear();
  TIniStrings keys;
  ini.ReadSection(section, keys);
  // The same number twice: the first in the file counts.
  std::vector<std::pair<int, std::string>> numbered;
  for (const std::string& key : keys) {
    const int number = ItemNumber(key);
    if (number >= 0) numbered.emplace_back(number, key);
  }
  std::stable_sort(numbered.begin(), numbered.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  int previous = -1;
  for (const auto& [number, key] : numbered) {
    if (Count() >= capacity_) break;
    if (number == previous) continue;
    previous = number;
    std::string text = ini.ReadString(section, key, "");
    if (text.empty() || HasLineBreak(text) || IndexOf(text) >= 0) continue;
    const std::string valueKey = kValueKey + key.substr(std::char_traits<char>::length(kItemKey));
    entries_.push_back(TMruEntry{std::move(text), ini.ReadInteger(section, valueKey, 0)});
  }
}

void TMruList::SaveToIni(TCustomIniFile& ini, const std::string& section) const {
  if (entries_.empty()) {
    ini.EraseSection(section);
    return;
  }
  std::vector<std::pair<std::string, std::string>> wanted;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    const std::string number = std::to_string(i);
    wanted.emplace_back(kItemKey + number, entries_[i].Text);
    if (entries_[i].Value != 0)
      wanted.emplace_back(kValueKey + number, std::to_string(entries_[i].Value));
  }
  auto isWanted = [&](const std::string& key) {
    return std::any_of(wanted.begin(), wanted.end(),
                       [&](const auto& pair) { return AnsiSameText(pair.first, key); });
  };
  // Written in place, so that the file keeps its layout, unless a key is there twice:
  // then only a new section leaves no stale copy behind.
  TIniStrings keys;
  ini.ReadSection(section, keys);
  std::set<std::string> names;
  bool repeated = false;
  for (const std::string& key : keys) {
    if (!names.insert(AnsiUpperCase(key)).second) repeated = true;
  }
  if (repeated) {
    ini.EraseSection(section);
  } else {
    for (const std::string& key : keys) {
      if (!isWanted(key)) ini.DeleteKey(section, key);
    }
  }
  for (const auto& [key, value] : wanted) ini.WriteString(section, key, value);
}

std::string MruSection(const std::string& formClass, const std::string& listName) {
  return "Orvane\\" + formClass + "." + listName;
}

}  // namespace orvane
