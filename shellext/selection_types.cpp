#include "shellext/selection_types.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "platform/ansi_case.h"

namespace orvane {
namespace {

constexpr const char* kPerceivedRoot = "SystemFileAssociations\\";
// How many CurVer steps are followed; a loop of versions ends there.
constexpr int kMaxCurVerSteps = 8;

bool Contains(const std::vector<std::string>& names, const std::string& name) {
  return std::any_of(names.begin(), names.end(),
                     [&](const std::string& n) { return AnsiSameText(n, name); });
}

// The type of an extension: its default value when that key exists, followed through
// CurVer to the newest version, as the scan moves the extensions there.
std::string ExtensionType(const TRegistryView& registry, const std::string& extension) {
  std::string type;
  if (!registry.ReadString(kHkeyClassesRoot, extension, "", type) || type.empty()) return {};
  if (!registry.Exists(kHkeyClassesRoot, type)) return {};
  for (int step = 0; step < kMaxCurVerSteps; ++step) {
    std::string newer;
    if (!registry.ReadString(kHkeyClassesRoot, type + "\\CurVer", "", newer) || newer.empty() ||
        AnsiSameText(newer, type) || !registry.Exists(kHkeyClassesRoot, newer))
      break;
    type = newer;
  }
  return type;
}

// What an object's types follow from: its kind, and a file's extension without case.
std::string KindKey(TObjectKind kind, const std::string& extension) {
  return std::to_string(static_cast<int>(kind)) +
         (kind == TObjectKind::File ? AnsiUpperCase(extension) : std::string());
}

}  // namespace

void TSelectionKinds::Add(TObjectKind kind, const std::string& extension) {
  ++count_;
  // Most selections hold one kind: the last one met needs no key.
  if (!kinds_.empty() && kinds_.back().Kind == kind && kinds_.back().Extension == extension) return;
  if (seen_.insert(KindKey(kind, extension)).second) kinds_.push_back({kind, {}, extension});
}

std::u16string PathExtension(const std::u16string& path) {
  std::size_t name = path.find_last_of(u"\\/:");
  name = name == std::u16string::npos ? 0 : name + 1;
  std::size_t dot = path.rfind(u'.');
  if (dot == std::u16string::npos || dot < name || dot + 1 == path.size()) return {};
  return path.substr(dot);
}

bool IsDriveRoot(const std::u16string& path) {
  bool letter = path.size() >= 2 && path[0] < 0x80 &&
                std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == u':';
  return letter && (path.size() == 2 || (path.size() == 3 && (path[2] == u'\\' || path[2] == u'/')));
}

std::vector<std::string> ObjectTypes(const TRegistryView& registry, const TSelectedObject& object) {
  switch (object.Kind) {
    case TObjectKind::Background:
      return {"Directory\\Background"};
    case TObjectKind::Drive:
      return {"Folder", "Drive"};
    case TObjectKind::Folder:
      return {"AllFileSystemObjects", "Folder", "Directory"};
    case TObjectKind::File:
      break;
  }
  std::vector<std::string> types = {"*", "AllFileSystemObjects"};
  const std::string& extension = object.Extension;
  std::string type = extension.empty() ? std::string() : ExtensionType(registry, extension);
  std::string perceived;
  if (!extension.empty() &&
      registry.ReadString(kHkeyClassesRoot, extension, "PerceivedType", perceived) &&
      !perceived.empty())
    types.push_back(kPerceivedRoot + perceived);
  // An extension naming a class id has a handler of its own, so it is no unknown file.
  std::string value;
  bool classId = !extension.empty() &&
                 registry.ReadString(kHkeyClassesRoot, extension, "", value) &&
                 value.compare(0, 6, "CLSID\\") == 0;
  if (!type.empty()) {
    if (!Contains(types, type)) types.push_back(type);
  } else if (!classId) {
    types.push_back("Unknown");
  }
  return types;
}

std::vector<std::string> SelectionTypes(const TRegistryView& registry,
                                        const std::vector<TSelectedObject>& objects) {
  if (objects.empty()) return {};
  // An object's types follow from its kind and extension alone: each pair is looked up
  // once, however many objects share it.
  std::set<std::string> seen;
  std::vector<std::string> shared;
  for (std::size_t i = 0; i < objects.size() && (i == 0 || !shared.empty()); ++i) {
    const TSelectedObject& object = objects[i];
    if (!seen.insert(KindKey(object.Kind, object.Extension)).second) continue;
    std::vector<std::string> types = ObjectTypes(registry, object);
    if (i == 0) {
      shared = std::move(types);
      continue;
    }
    shared.erase(std::remove_if(shared.begin(), shared.end(),
                                [&](const std::string& t) { return !Contains(types, t); }),
                 shared.end());
  }
  return shared;
}

}  // namespace orvane
