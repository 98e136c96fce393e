#include "storage/orvane_ini_file.h"

#include "platform/messages.h"
#include "storage/storage_errors.h"

namespace orvane {

std::size_t FindInlineComment(std::string_view value) {
  bool quoted = false;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '"') {
      quoted = !quoted;
    } else if (value[i] == ';' && !quoted) {
      return i;
    }
  }
  return std::string_view::npos;
}

namespace {

// What a reader makes of a stored value: blanks at the ends dropped, an inline comment
// cut off (the engine only), one pair of matching quotes removed.
std::string_view AsRead(std::string_view stored, bool cutComment) {
  std::string_view value = TrimBlanks(stored);
  if (cutComment) {
    size_t comment = FindInlineComment(value);
    if (comment != std::string_view::npos) value = TrimBlanks(value.substr(0, comment));
  }
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return value;
}

bool ReadsBackAs(std::string_view stored, std::string_view value) {
  return AsRead(stored, true) == value && AsRead(stored, false) == value;
}

}  // namespace

std::string QuoteIniValue(const std::string& value) {
  if (ReadsBackAs(value, value)) return value;
  // Both readers take an added pair off again and keep what is inside as it is. Single
  // quotes leave the engine's view of ";" between double quotes as it was.
  for (char quote : {'"', '\''}) {
    std::string quoted = quote + value + quote;
    if (ReadsBackAs(quoted, value)) return quoted;
  }
  return "\"" + value + "\"";
}

TOrvaneIniFile::TOrvaneIniFile(TIniOptions options)
    : TCustomIniFile(std::string()),
      files_(nullptr),
      options_(options),
      rules_(options.CaseSensitive, options.LocaleCase),
      lines_(rules_) {}

TOrvaneIniFile::TOrvaneIniFile(std::string fileName, IFileAccess& files, TIniOptions options)
    : TCustomIniFile(std::move(fileName)),
      files_(&files),
      options_(options),
      rules_(options.CaseSensitive, options.LocaleCase),
      lines_(rules_) {}

void TOrvaneIniFile::Load() {
  lines_.Clear();
  if (files_ && !FileName().empty()) {
    std::string data;
    std::string reason;
    switch (files_->ReadFile(FileName(), data, reason)) {
      case IFileAccess::ReadResult::Read:
        lines_.Parse(data);
        break;
      case IFileAccess::ReadResult::Missing:
        break;
      case IFileAccess::ReadResult::Failed:
        throw EFOpenError(FormatRes(msg::SFOpenErrorEx, {FileName(), reason}));
    }
  }
  loaded_ = true;
}

const TIniItems& TOrvaneIniFile::Lines() {
  EnsureLoaded();
  return lines_;
}

std::string TOrvaneIniFile::ReadString(const std::string& section, const std::string& ident,
                                       const std::string& defaultValue) {
  EnsureLoaded();
  TSectionItem* found = lines_.FindSection(section, false);
  if (!found) return defaultValue;
  size_t index = lines_.FindKey(*found, ident);
  if (index == TIniItems::npos) return defaultValue;
  return std::string(ValueAt(index));
}

std::string_view TOrvaneIniFile::ValueAt(std::size_t index) const {
  std::string_view value = lines_.Line(index).Value;
  if (stripComments_) {
    size_t comment = FindInlineComment(value);
    if (comment != std::string_view::npos) value = TrimBlanks(value.substr(0, comment));
  }
  if (stripQuotes_ && value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return value;
}

void TOrvaneIniFile::WriteString(const std::string& section, const std::string& ident,
                                 const std::string& value) {
  if (ident.empty()) {
    if (!value.empty()) return;
    if (!section.empty()) {
      EraseSection(section);
    } else {
      Flush();
    }
    return;
  }
  if (HasLineBreak(section) || HasLineBreak(ident) || HasLineBreak(value))
    throw EIniLineBreakError(FormatRes(msg::SIniLineBreak, {ident}));
  EnsureLoaded();
  TSectionItem* found = lines_.FindSection(section, true);
  size_t index = lines_.FindKey(*found, ident);
  if (index == TIniItems::npos) index = lines_.CreateKey(*found, ident);
  const std::string stored = QuoteIniValue(value);
  TIniItem& item = lines_.Line(index);
  std::string_view compared = item.Value;
  size_t comment = std::string_view::npos;
  if (stripComments_) {
    comment = FindInlineComment(item.Value);
    if (comment != std::string_view::npos) compared = TrimBlanks(compared.substr(0, comment));
  }
  if (stored == compared) return;
  if (comment == std::string_view::npos) {
    item.Value = stored;
  } else {
    // The comment keeps its column when the new value leaves room for it.
    std::string updated = stored;
    if (updated.size() < comment) {
      updated.resize(comment, ' ');
    } else {
      updated += ' ';
    }
    updated.append(item.Value, comment, std::string::npos);
    item.Value = std::move(updated);
  }
  modified_ = true;
}

void TOrvaneIniFile::ReadSection(const std::string& section, TIniStrings& list) {
  list.clear();
  EnsureLoaded();
  TSectionItem* found = lines_.FindSection(section, false);
  if (!found) return;
  size_t end = lines_.SectionEnd(*found);
  for (size_t i = found->Start; i < end; ++i) {
    lines_.Parse(i);
    const TIniItem& item = lines_.Line(i);
    if (item.Kind == TIniItemKind::Key) list.push_back(item.Text);
  }
}

void TOrvaneIniFile::ReadSections(TIniStrings& list) {
  list.clear();
  EnsureLoaded();
  for (const auto& section : lines_.Sections()) list.push_back(section->Name);
}

void TOrvaneIniFile::ReadSectionValues(const std::string& section, TIniStrings& list) {
  list.clear();
  ForEachSectionValue(section, [&list](std::string_view name, std::string_view value) {
    std::string& entry = list.emplace_back();
    entry.reserve(name.size() + 1 + value.size());
    entry.append(name).append(1, '=').append(value);
  });
}

void TOrvaneIniFile::ForEachSectionValue(const std::string& section, const TIniKeyVisitor& visit) {
  EnsureLoaded();
  TSectionItem* found = lines_.FindSection(section, false);
  if (!found) return;
  // Every key line in order, each with the value ReadString gives its name (of repeated
  // names the later one's).
  const size_t end = lines_.SectionEnd(*found);
  for (size_t i = found->Start; i < end; ++i) {
    lines_.Parse(i);
    const TIniItem& item = lines_.Line(i);
    if (item.Kind != TIniItemKind::Key) continue;
    const size_t index = lines_.FindKey(*found, item.Text);
    visit(item.Text, index == TIniItems::npos ? std::string_view() : ValueAt(index));
  }
}

void TOrvaneIniFile::EraseSection(const std::string& section) {
  EnsureLoaded();
  if (TSectionItem* found = lines_.FindSection(section, false)) lines_.EraseSection(*found);
  modified_ = true;
}

void TOrvaneIniFile::DeleteKey(const std::string& section, const std::string& ident) {
  EnsureLoaded();
  TSectionItem* found = lines_.FindSection(section, false);
  if (!found) return;
  // The first of repeated names goes, indexed or not.
  size_t index = lines_.FindKeyLinear(*found, ident);
  if (index == TIniItems::npos) return;
  lines_.DeleteKeyLine(*found, index);
  modified_ = true;
}

std::string TOrvaneIniFile::Text() const {
  size_t size = 0;
  for (size_t i = 0; i < lines_.Count(); ++i) {
    const TIniItem& item = lines_.Line(i);
    size += item.Text.size() + item.Value.size() + 3;
  }
  std::string text;
  text.reserve(size);
  for (size_t i = 0; i < lines_.Count(); ++i) {
    lines_.AppendLineText(i, text);
    text.append("\r\n");
  }
  return text;
}

void TOrvaneIniFile::Flush() {
  if (!modified_) return;
  std::string reason;
  // A document without a file has nowhere to go: that is a failed write, not a done one.
  if (!files_ || !files_->ReplaceFile(FileName(), Text(), reason)) {
    throw EFCreateError(FormatRes(msg::SFCreateErrorEx, {FileName(), reason}));
  }
  modified_ = false;
}

void TOrvaneIniFile::Clear() {
  lines_.Clear();
  loaded_ = false;
  modified_ = false;
}

void TOrvaneIniFile::GetStrings(TIniStrings& list) {
  EnsureLoaded();
  list.reserve(list.size() + lines_.Count());
  for (size_t i = 0; i < lines_.Count(); ++i) {
    std::string line;
    lines_.AppendLineText(i, line);
    list.push_back(std::move(line));
  }
}

void TOrvaneIniFile::SetStrings(const TIniStrings& list, bool force) {
  if (!force) {
    TIniStrings current;
    GetStrings(current);
    if (CompareStrings(current, list) == 0) return;
  }
  modified_ = true;
  std::string text;
  for (const std::string& line : list) text.append(line).append("\r\n");
  lines_.Parse(text);
  loaded_ = true;
}

int TOrvaneIniFile::CompareStrings(const TIniStrings& a, const TIniStrings& b) const {
  if (a.size() != b.size()) return a.size() > b.size() ? 1 : -1;
  for (size_t i = 0; i < a.size(); ++i) {
    int result = a[i].compare(b[i]);
    if (result != 0) return result;
  }
  return 0;
}

}  // namespace orvane
