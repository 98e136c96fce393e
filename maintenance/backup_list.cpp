#include "maintenance/backup_list.h"

#include <algorithm>
#include <cstring>

#include "maintenance/reg_backup_file.h"
#include "platform/ansi_case.h"
#include "platform/exception.h"
#include "platform/messages.h"
#include "platform/root_keys.h"

namespace orvane {
namespace {

// Longest key name the registry takes.
constexpr size_t kMaxKeyNameLength = 255;

bool EndsWithNoCase(const std::string& text, std::string_view tail) {
  return text.size() >= tail.size() && AnsiSameText(text.substr(text.size() - tail.size()), tail);
}

bool IsDigits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "2026-12-09 14-03-59" (and " #N") at the start of a file name: the date as shown, and
// the number of the backup within its second.
bool ParseStamp(const std::string& name, std::string& date, int& number) {
  if (name.size() < 23) return false;
  static constexpr char kPattern[] = "dddd-dd-dd dd-dd-dd";
  for (size_t i = 0; i < 19; ++i) {
    const char c = name[i];
    if (kPattern[i] == 'd' ? !(c >= '0' && c <= '9') : c != kPattern[i]) return false;
  }
  date = name.substr(0, 10) + " " + name.substr(11, 2) + ":" + name.substr(14, 2) + ":" +
         name.substr(17, 2);
  number = 1;
  std::string rest = name.substr(19, name.size() - 19 - 4);
  if (rest.size() > 2 && rest.compare(0, 2, " #") == 0 && IsDigits(rest.substr(2)) &&
      rest.size() < 8)
    number = std::stoi(rest.substr(2));
  return true;
}

std::vector<std::string> Components(const std::string& subKey) {
  std::vector<std::string> parts;
  size_t i = 0;
  while (i <= subKey.size()) {
    size_t sep = subKey.find('\\', i);
    if (sep == std::string::npos) sep = subKey.size();
    parts.push_back(subKey.substr(i, sep - i));
    i = sep + 1;
  }
  return parts;
}

// A key the cleanup tools may have removed: anything below HKEY_CLASSES_ROOT, and the
// program's store of switched-off entries.
bool IsRestorablePlace(HKey root, const std::string& subKey) {
  if (subKey.empty()) return false;
  std::vector<std::string> parts = Components(subKey);
  // A NUL would end the name early on the way into the registry: some other key.
  for (const std::string& part : parts)
    if (part.empty() || part.size() > kMaxKeyNameLength || part.find('\0') != std::string::npos)
      return false;
  if (root == kHkeyClassesRoot) return true;
  if (root != kHkeyCurrentUser) return false;
  static const char* const kStore[] = {"Software", "Orvane", "DisabledItems"};
  if (parts.size() <= std::size(kStore)) return false;
  for (size_t i = 0; i < std::size(kStore); ++i)
    if (!AnsiSameText(parts[i], kStore[i])) return false;
  return true;
}

std::string FullName(const TRegTextEntry& entry) {
  const char* root = PredefinedRootName(entry.Root);
  return std::string(root ? root : "") + "\\" + entry.SubKey;
}

// The comment lines of the header: what the backup holds, and its view.
void ReadHeaderComments(std::string_view text, TBackupInfo& info) {
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line == "REGEDIT4") continue;
    if (line[0] != ';') break;
    const size_t descLength = std::strlen(kBackupDescriptionLine);
    const size_t viewLength = std::strlen(kBackupViewLine);
    if (line.substr(0, descLength) == kBackupDescriptionLine) {
      info.Description = std::string(line.substr(descLength));
    } else if (line.substr(0, viewLength) == kBackupViewLine) {
      std::string_view view = line.substr(viewLength);
      if (view == "64-bit") info.View = kKeyWow64_64Key;
      if (view == "32-bit") info.View = kKeyWow64_32Key;
    }
  }
}

}  // namespace

std::vector<TRegTextEntry> CheckBackupText(std::string_view text) {
  std::vector<TRegTextEntry> entries = ParseRegText(text);
  for (const TRegTextEntry& entry : entries) {
    if (entry.Kind == TRegTextEntry::TKind::DeleteKey ||
        entry.Kind == TRegTextEntry::TKind::DeleteValue)
      throw Exception(FormatRes(msg::SBackupRefusedDelete,
                                {static_cast<long long>(entry.Line), entry.Text}));
    if (!IsRestorablePlace(entry.Root, entry.SubKey))
      throw Exception(FormatRes(msg::SBackupRefusedPlace,
                                {static_cast<long long>(entry.Line), entry.Text}));
    if (entry.Name.find('\0') != std::string::npos)
      throw Exception(
          FormatRes(msg::SRegFileBadLine, {static_cast<long long>(entry.Line), entry.Text}));
  }
  return entries;
}

TBackupInfo DescribeBackup(std::string_view text) {
  TBackupInfo info;
  ReadHeaderComments(text, info);
  try {
    for (const TRegTextEntry& entry : CheckBackupText(text)) {
      if (entry.Kind != TRegTextEntry::TKind::Key) continue;
      std::string name = FullName(entry);
      if (!info.Keys.empty()) {
        // Below a key already listed: its subtree came with it.
        const std::string& last = info.Keys.back();
        if (AnsiSameText(name, last) ||
            (name.size() > last.size() && name[last.size()] == '\\' &&
             AnsiSameText(name.substr(0, last.size()), last)))
          continue;
      }
      info.Keys.push_back(name);
    }
  } catch (const Exception& e) {
    info.Problem = e.Message();
  }
  return info;
}

std::vector<TBackupInfo> ListBackups(IFileAccess& files, const std::string& folder) {
  std::vector<std::string> names;
  std::string reason;
  if (!files.ListFiles(folder, names, reason))
    throw Exception(FormatRes(msg::SBackupFolderUnreadable, {folder, reason}));
  struct TSorted {
    TBackupInfo info;
    std::string name;
    int number = 0;
  };
  std::vector<TSorted> found;
  for (const std::string& name : names) {
    if (!EndsWithNoCase(name, ".reg")) continue;
    TSorted item;
    item.name = name;
    std::string date;
    std::string text;
    IFileAccess::ReadResult read = files.ReadFile(folder + name, text, reason);
    if (read == IFileAccess::ReadResult::Read) {
      item.info = DescribeBackup(text);
    } else {
      item.info.Problem = FormatRes(msg::SBackupUnreadable, {folder + name, reason});
    }
    item.info.FileName = folder + name;
    if (ParseStamp(name, date, item.number)) item.info.Date = date;
    found.push_back(std::move(item));
  }
  std::sort(found.begin(), found.end(), [](const TSorted& a, const TSorted& b) {
    if (a.info.Date.empty() != b.info.Date.empty()) return b.info.Date.empty();
    if (a.info.Date != b.info.Date) return a.info.Date > b.info.Date;
    if (a.number != b.number) return a.number > b.number;
    return a.name < b.name;
  });
  std::vector<TBackupInfo> result;
  for (TSorted& item : found) result.push_back(std::move(item.info));
  return result;
}

void RestoreBackup(IFileAccess& files, const std::string& fileName,
                   const TRegistryOfView& registryOfView) {
  std::string text;
  std::string reason;
  switch (files.ReadFile(fileName, text, reason)) {
    case IFileAccess::ReadResult::Read:
      break;
    case IFileAccess::ReadResult::Missing:
      reason = "The file does not exist";
      [[fallthrough]];
    case IFileAccess::ReadResult::Failed:
      throw Exception(FormatRes(msg::SBackupUnreadable, {fileName, reason}));
  }
  std::vector<TRegTextEntry> entries = CheckBackupText(text);
  TBackupInfo info;
  ReadHeaderComments(text, info);
  IRegistryBackend* registry = registryOfView ? registryOfView(info.View) : nullptr;
  if (!registry) throw Exception(FormatRes(msg::SBackupNoView, {RegistryViewName(info.View)}));
  ApplyRegText(*registry, entries);
}

}  // namespace orvane
