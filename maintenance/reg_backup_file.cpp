#include "maintenance/reg_backup_file.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/exception.h"
#include "platform/messages.h"
#include "platform/reg_text.h"
#include "platform/root_keys.h"

namespace orvane {

std::string RegistryViewName(std::uint32_t view) {
  if (view & kKeyWow64_64Key) return "64-bit";
  if (view & kKeyWow64_32Key) return "32-bit";
  return {};
}

TRegBackupFile::TRegBackupFile(IRegistryBackend& registry, IFileAccess& files, std::string folder,
                               std::function<std::time_t()> now, std::uint32_t view)
    : registry_(registry),
      files_(files),
      folder_(std::move(folder)),
      now_(std::move(now)),
      view_(view & kKeyWow64Views) {}

std::string TRegBackupFile::FullPath(HKey root, const std::string& path) const {
  const char* rootName = PredefinedRootName(root);
  if (!rootName) throw Exception("Not a root key of the registry: " + std::to_string(root));
  // The tools write absolute paths with a leading "\".
  size_t start = path.find_first_not_of('\\');
  return std::string(rootName) + "\\" + (start == std::string::npos ? "" : path.substr(start));
}

void TRegBackupFile::AddKey(HKey root, const std::string& path) {
  ExportRegKey(registry_, FullPath(root, path), pending_);
}

void TRegBackupFile::AddValue(HKey root, const std::string& keyPath, const std::string& name) {
  ExportRegValue(registry_, FullPath(root, keyPath), name, pending_);
}

// The stamp itself, or the stamp with " #2", " #3" ... when a file of that second exists.
std::string TRegBackupFile::FreeName(const std::string& stamp) {
  std::vector<std::string> names;
  std::string reason;
  if (!files_.ListFiles(folder_, names, reason))
    throw Exception(FormatRes(msg::SBackupFolderUnreadable, {folder_, reason}));
  auto taken = [&](const std::string& name) {
    if (folder_ + name == lastFile_) return true;
    return std::any_of(names.begin(), names.end(), [&](const std::string& existing) {
      return existing.size() == name.size() &&
             std::equal(existing.begin(), existing.end(), name.begin(), [](char a, char b) {
               return (a >= 'A' && a <= 'Z' ? a + 32 : a) == (b >= 'A' && b <= 'Z' ? b + 32 : b);
             });
    });
  };
  std::string name = stamp + ".reg";
  for (int n = 2; taken(name); ++n) name = stamp + " #" + std::to_string(n) + ".reg";
  return folder_ + name;
}

void TRegBackupFile::Commit(const std::string& what) {
  if (pending_.empty()) return;
  std::string reason;
  if (!files_.CreateFolder(folder_, reason))
    throw Exception(FormatRes(msg::SBackupFolderFailed, {folder_, reason}));
  std::time_t t = now_();
  std::tm parts{};
#ifdef _WIN32
  localtime_s(&parts, &t);
#else
  localtime_r(&t, &parts);
#endif
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H-%M-%S", &parts);
  std::string name = FreeName(stamp);
  // One comment line: a line break would end it.
  std::string description = what;
  std::replace_if(description.begin(), description.end(),
                  [](char c) { return c == '\r' || c == '\n'; }, ' ');
  std::string text = "REGEDIT4\n" + std::string(kBackupDescriptionLine) + description + "\n";
  if (view_) text += kBackupViewLine + RegistryViewName(view_) + "\n";
  text += "\n" + pending_;
  if (!files_.ReplaceFile(name, text, reason))
    throw Exception(FormatRes(msg::SBackupCannotWrite, {name, reason}));
  pending_.clear();
  lastFile_ = name;
}

}  // namespace orvane
