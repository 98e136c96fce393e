#include "maintenance/reg_backup_file.h"

#include <utility>

#include "platform/exception.h"
#include "platform/reg_text.h"
#include "platform/root_keys.h"

namespace orvane {

TRegBackupFile::TRegBackupFile(IRegistryBackend& registry, IFileAccess& files, std::string folder,
                               std::function<std::time_t()> now)
    : registry_(registry), files_(files), folder_(std::move(folder)), now_(std::move(now)) {}

void TRegBackupFile::AddKey(HKey root, const std::string& path) {
  const char* rootName = PredefinedRootName(root);
  if (!rootName) return;
  std::string text = ExportRegText(registry_, std::string(rootName) + "\\" + path);
  // Each export starts with its own header; the file keeps one.
  std::size_t body = text.find("\n\n");
  if (body != std::string::npos) pending_ += text.substr(body + 2);
}

void TRegBackupFile::AddValue(HKey root, const std::string& keyPath, const std::string&) {
  AddKey(root, keyPath);
}

void TRegBackupFile::Commit(const std::string& what) {
  if (pending_.empty()) return;
  std::time_t t = now_();
  std::tm parts{};
#ifdef _WIN32
  gmtime_s(&parts, &t);
#else
  gmtime_r(&t, &parts);
#endif
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H-%M-%S", &parts);
  std::string name = folder_ + stamp + " " + what + ".reg";
  std::string text = "REGEDIT4\n\n" + pending_;
  std::string reason;
  if (!files_.ReplaceFile(name, text, reason))
    throw Exception("The backup \"" + name + "\" cannot be written: " + reason);
  pending_.clear();
  lastFile_ = name;
}

}  // namespace orvane
