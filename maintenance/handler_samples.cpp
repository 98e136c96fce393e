#include "maintenance/handler_samples.h"

#include <vector>

#include "maintenance/disabled_store.h"
#include "platform/ansi_case.h"
#include "platform/file_access.h"
#include "platform/registry.h"

namespace orvane {
namespace {

constexpr std::string_view kAssociations = "SystemFileAssociations\\";
constexpr std::string_view kShellEx = "\\shellex\\";

bool StartsWith(std::string_view text, std::string_view start) {
  return text.size() >= start.size() && AnsiSameText(text.substr(0, start.size()), start);
}

}  // namespace

std::string HandlerFileType(const std::string& keyPath) {
  std::string path = ActiveKeyPath(keyPath, kDisabledDynamicPrefix);
  if (StartsWith(path, kAssociations)) path.erase(0, kAssociations.size());
  const std::size_t end = AnsiUpperCase(path).find(AnsiUpperCase(kShellEx));
  return end == std::string::npos ? std::string() : path.substr(0, end);
}

THandlerSamples::THandlerSamples(IRegistryBackend& registry, IFileAccess& files,
                                 std::string folder)
    : registry_(registry), files_(files), folder_(std::move(folder)) {}

std::string THandlerSamples::SampleFor(const std::string& type, std::string& why) {
  const std::string upper = AnsiUpperCase(type);
  if (upper == "*" || upper == "ALLFILESYSTEMOBJECTS") return SampleFile(".txt", why);
  if (upper == "DIRECTORY" || upper == "FOLDER") return SampleFolder(why);
  if (upper == "DRIVE") {
    // The drive the samples are on: a right click on its root.
    if (folder_.size() >= 3 && folder_[1] == ':' && folder_[2] == '\\') return folder_.substr(0, 3);
    why = "no drive for a sample";
    return {};
  }
  if (!type.empty() && type.front() == '.') return SampleFile(type, why);
  ReadExtensions();
  for (const auto* extensions : {&byFileType_, &byPerceivedType_}) {
    auto found = extensions->find(upper);
    if (found != extensions->end()) return SampleFile(found->second, why);
  }
  why = "no sample for \"" + type + "\"";
  return {};
}

std::string THandlerSamples::SampleFile(const std::string& extension, std::string& why) {
  const std::string key = AnsiUpperCase(extension);
  auto made = made_.find(key);
  if (made != made_.end()) return made->second;
  if (!files_.CreateFolder(folder_, why)) return {};
  const std::string path = folder_ + "Sample" + extension;
  if (!files_.ReplaceFile(path, "", why)) return {};
  made_.emplace(key, path);
  return path;
}

std::string THandlerSamples::SampleFolder(std::string& why) {
  const std::string path = folder_ + "Sample folder";
  if (!files_.CreateFolder(path, why)) return {};
  return path;
}

void THandlerSamples::ReadExtensions() {
  if (extensionsRead_) return;
  extensionsRead_ = true;
  TRegistry registry(kKeyRead, registry_);
  registry.SetRootKey(kHkeyClassesRoot);
  if (!registry.OpenKeyReadOnly("\\")) return;
  std::vector<std::string> names;
  registry.GetKeyNames(names);
  for (const std::string& name : names) {
    if (name.size() < 2 || name.front() != '.') continue;
    if (!registry.OpenKeyReadOnly("\\" + name)) continue;
    // A value of another kind says nothing of the extension's type.
    for (auto [value, extensions] :
         {std::pair{"", &byFileType_}, {"PerceivedType", &byPerceivedType_}}) {
      try {
        const std::string type = registry.ReadString(value);
        if (!type.empty()) extensions->emplace(AnsiUpperCase(type), name);
      } catch (const std::exception&) {
      }
    }
  }
}

}  // namespace orvane
