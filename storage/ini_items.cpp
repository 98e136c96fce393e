#include "storage/ini_items.h"

#include <algorithm>
#include <cstring>

#include "platform/ansi_case.h"
#include "platform/messages.h"
#include "storage/storage_errors.h"

namespace orvane {
namespace {

inline bool IsBlank(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  return u >= 1 && u <= 32;
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
  size_t first = 0;
  while (first < text.size() && IsBlank(text[first])) ++first;
  size_t last = text.size();
  while (last > first && IsBlank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

TIniNameRules::TIniNameRules(bool caseSensitive, bool localeCase) : exact_(caseSensitive) {
  for (int c = 0; c < 256; ++c) {
    char ch = static_cast<char>(c);
    if (!caseSensitive && localeCase) {
      ch = AnsiUpperChar(ch);
    } else if (!caseSensitive && c >= 'a' && c <= 'z') {
      ch = static_cast<char>(c - 32);
    }
    table_[c] = static_cast<unsigned char>(ch);
  }
}

bool TIniNameRules::Same(std::string_view a, std::string_view b) const {
  if (a.size() != b.size()) return false;
  if (exact_) return a == b;
  for (size_t i = 0; i < a.size(); ++i) {
    if (table_[static_cast<unsigned char>(a[i])] != table_[static_cast<unsigned char>(b[i])]) {
      return false;
    }
  }
  return true;
}

const TIniItem& TIniItems::Item(std::size_t index) const {
  if (index >= lines_.size()) {
    throw EListError(FormatRes(msg::SIniListIndexError, {static_cast<long long>(index)}));
  }
  return lines_[index];
}

void TIniItems::Clear() {
  lines_.clear();
  lines_.shrink_to_fit();
  chains_.fill(nullptr);
  order_.clear();
  stats_ = TStatistics();
  last_ = nullptr;
  indexed_ = false;
}

void TIniItems::Tally(TIniItemKind kind, int delta) {
  switch (kind) {
    case TIniItemKind::Blank:
      stats_.Blanks += delta;
      break;
    case TIniItemKind::Comment:
      stats_.Comments += delta;
      break;
    case TIniItemKind::Section:
      stats_.Sections += delta;
      break;
    default:
      stats_.Others += delta;
      break;
  }
}

void TIniItems::Grow() {
  size_t capacity = lines_.capacity();
  if (lines_.size() < capacity) return;
  size_t step = capacity <= 256 ? 128 : capacity <= 1024 ? 512 : capacity / 4;
  lines_.reserve(capacity + step);
}

void TIniItems::AddSection(std::string name, std::size_t start) {
  auto section = std::make_unique<TSectionItem>();
  section->Hash = rules_.Hash(name);
  section->Name = std::move(name);
  section->Start = start;
  // At the head of its chain: of two headers with one name the later one is found.
  TSectionItem*& head = chains_[section->Hash & 0xFF];
  section->Next = head;
  head = section.get();
  order_.push_back(std::move(section));
}

void TIniItems::AppendLine(std::string_view text) {
  Grow();
  text = TrimBlanks(text);
  TIniItem& item = lines_.emplace_back();
  if (text.empty()) {
    item.Kind = TIniItemKind::Blank;
  } else if (text.front() == ';') {
    item.Kind = TIniItemKind::Comment;
    item.Text.assign(text);
  } else if (text.size() >= 2 && text.front() == '[' && text.back() == ']') {
    item.Kind = TIniItemKind::Section;
    item.Text.assign(text);
    AddSection(std::string(text.substr(1, text.size() - 2)), lines_.size());
  } else {
    item.Kind = TIniItemKind::Unparsed;
    item.Text.assign(text);
  }
  Tally(item.Kind, 1);
}


void TIniItems::Parse(std::string_view text) {
  Clear();
  // A NUL byte ends the text.
  if (const void* nul = std::memchr(text.data(), 0, text.size())) {
    text = text.substr(0, static_cast<size_t>(static_cast<const char*>(nul) - text.data()));
  }
  // Counting first costs little and sizes the array exactly.
  size_t count = 0;
  ForEachLine(text, [&](std::string_view) { ++count; });
  lines_.reserve(count);
  ForEachLine(text, [&](std::string_view line) { AppendLine(line); });
  if (stats_.Sections > 0 && stats_.Others / stats_.Sections > kIndexThreshold) indexed_ = true;
}

void TIniItems::ParseLine(TIniItem& item) const {
  size_t equals = item.Text.find('=');
  if (equals == std::string::npos) {
    item.Kind = TIniItemKind::Text;
    return;
  }
  item.Value.assign(TrimBlanks(std::string_view(item.Text).substr(equals + 1)));
  size_t nameEnd = equals;
  while (nameEnd > 0 && IsBlank(item.Text[nameEnd - 1])) --nameEnd;
  item.Text.resize(nameEnd);
  item.Hash = rules_.Hash(item.Text);
  item.Kind = TIniItemKind::Key;
}

TSectionItem* TIniItems::FindSection(std::string_view name, bool create) {
  if (!name.empty() && last_ && rules_.Same(last_->Name, name)) return last_;
  std::uint32_t hash = rules_.Hash(name);
  for (TSectionItem* section = chains_[hash & 0xFF]; section; section = section->Next) {
    if (section->Hash == hash && rules_.Same(section->Name, name)) {
      last_ = section;
      return section;
    }
  }
  if (!create) return nullptr;
  if (!lines_.empty() && lines_.back().Kind != TIniItemKind::Blank) AppendLine(std::string_view());
  std::string header;
  header.reserve(name.size() + 2);
  header.append("[").append(name).append("]");
  AppendLine(header);
  last_ = order_.back().get();
  return last_;
}

std::size_t TIniItems::SectionEnd(const TSectionItem& section) const {
  auto next = std::upper_bound(
      order_.begin(), order_.end(), section.Start,
      [](std::size_t start, const std::unique_ptr<TSectionItem>& s) { return start < s->Start; });
  return next == order_.end() ? lines_.size() : (*next)->Start - 1;
}

std::size_t TIniItems::FindKeyLinear(const TSectionItem& section, std::string_view name) {
  // Key lines hold trimmed names; so does every key created.
  name = TrimBlanks(name);
  std::uint32_t hash = rules_.Hash(name);
  for (size_t i = section.Start; i < lines_.size(); ++i) {
    TIniItem& item = lines_[i];
    if (item.Kind == TIniItemKind::Unparsed) ParseLine(item);
    if (item.Kind == TIniItemKind::Section) break;
    if (item.Kind == TIniItemKind::Key && item.Hash == hash && rules_.Same(item.Text, name)) {
      return i;
    }
  }
  return npos;
}

void TIniItems::BuildKeyTable(TSectionItem& section) {
  auto table = std::make_unique<TKeyTable>();
  for (size_t i = section.Start; i < lines_.size(); ++i) {
    TIniItem& item = lines_[i];
    if (item.Kind == TIniItemKind::Unparsed) ParseLine(item);
    if (item.Kind == TIniItemKind::Section) break;
    if (item.Kind == TIniItemKind::Key) {
      (*table)[item.Hash & 0xFF].push_back(
          {item.Hash, static_cast<std::uint32_t>(i - section.Start)});
    }
  }
  section.KeyIndex = std::move(table);
}

std::size_t TIniItems::FindKey(TSectionItem& section, std::string_view name) {
  if (!indexed_) return FindKeyLinear(section, name);
  if (!section.KeyIndex) BuildKeyTable(section);
  name = TrimBlanks(name);
  std::uint32_t hash = rules_.Hash(name);
  const std::vector<TKeyEntry>& bucket = (*section.KeyIndex)[hash & 0xFF];
  // From the last entry: of repeated names the later one wins.
  for (auto it = bucket.rbegin(); it != bucket.rend(); ++it) {
    if (it->Hash != hash) continue;
    size_t index = section.Start + it->Offset;
    if (rules_.Same(lines_[index].Text, name)) return index;
  }
  return npos;
}

void TIniItems::ShiftSectionsAfter(std::size_t index, std::ptrdiff_t delta) {
  auto first = std::upper_bound(
      order_.begin(), order_.end(), index,
      [](std::size_t i, const std::unique_ptr<TSectionItem>& s) { return i < s->Start; });
  for (auto it = first; it != order_.end(); ++it) {
    (*it)->Start = static_cast<std::size_t>(static_cast<std::ptrdiff_t>((*it)->Start) + delta);
  }
}

std::size_t TIniItems::CreateKey(TSectionItem& section, std::string_view name) {
  // After the last key or text line, so that comments and blanks closing the section
  // stay after the new key.
  size_t end = SectionEnd(section);
  size_t at = end;
  while (at > section.Start) {
    TIniItemKind kind = lines_[at - 1].Kind;
    if (kind == TIniItemKind::Key || kind == TIniItemKind::Text || kind == TIniItemKind::Unparsed) {
      break;
    }
    --at;
  }
  Grow();
  TIniItem item;
  item.Kind = TIniItemKind::Key;
  item.Text.assign(TrimBlanks(name));
  item.Hash = rules_.Hash(item.Text);
  std::uint32_t hash = item.Hash;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(item));
  Tally(TIniItemKind::Key, 1);
  ShiftSectionsAfter(at, 1);
  // Every other key of the section lies before the new line, so the table stays in
  // file order.
  if (section.KeyIndex) {
    (*section.KeyIndex)[hash & 0xFF].push_back(
        {hash, static_cast<std::uint32_t>(at - section.Start)});
  }
  return at;
}

void TIniItems::DeleteKeyLine(TSectionItem& section, std::size_t index) {
  Tally(lines_[index].Kind, -1);
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(index));
  ShiftSectionsAfter(index, -1);
  section.KeyIndex.reset();
}

void TIniItems::UnlinkSection(TSectionItem& section) {
  TSectionItem** link = &chains_[section.Hash & 0xFF];
  while (*link && *link != &section) link = &(*link)->Next;
  if (*link) *link = section.Next;
  if (last_ == &section) last_ = nullptr;
}

void TIniItems::EraseSection(TSectionItem& section) {
  const size_t header = section.Start - 1;
  const size_t sectionEnd = SectionEnd(section);
  // A comment closing the section, alone or followed by one blank line, belongs to the
  // next section and stays; a second blank line after it draws it in.
  size_t last = header;
  int counter = 0;
  for (size_t i = section.Start; i < sectionEnd; ++i) {
    switch (lines_[i].Kind) {
      case TIniItemKind::Comment:
        counter = -1;
        break;
      case TIniItemKind::Blank:
        if (++counter > 0) last = i;
        break;
      default:
        counter = 0;
        last = i;
        break;
    }
  }
  const size_t count = last - header + 1;
  for (size_t i = header; i <= last; ++i) Tally(lines_[i].Kind, -1);
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(header),
               lines_.begin() + static_cast<std::ptrdiff_t>(last + 1));
  UnlinkSection(section);
  auto it = std::find_if(order_.begin(), order_.end(), [&](const std::unique_ptr<TSectionItem>& s) {
    return s.get() == &section;
  });
  it = order_.erase(it);
  for (; it != order_.end(); ++it) (*it)->Start -= count;
}

void TIniItems::AppendLineText(std::size_t index, std::string& out) const {
  const TIniItem& item = lines_[index];
  out.append(item.Text);
  if (item.Kind == TIniItemKind::Key) out.append("=").append(item.Value);
}

}  // namespace orvane
