#include "shellext/registration.h"

#include <algorithm>
#include <vector>

#include "platform/ansi_case.h"

namespace orvane {
namespace {

const std::string kClassKey = std::string("CLSID\\") + kShellExtClassId;
const std::string kApprovedKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";
constexpr const char* kCreatedValue = "CreatedKeys";

struct TPlace {
  HKey Root;
  std::string Path;
};

// Named by the class id, so that no other program's entry can have the name.
std::string HandlerKey(const std::string& type) {
  return type + "\\shellex\\ContextMenuHandlers\\" + kShellExtClassId;
}

std::string Encode(const TPlace& place) {
  return (place.Root == kHkeyLocalMachine ? "HKLM\\" : "HKCR\\") + place.Path;
}

bool Decode(const std::string& text, TPlace& place) {
  if (text.size() <= 5) return false;
  std::string root = text.substr(0, 5);
  if (root == "HKLM\\")
    place.Root = kHkeyLocalMachine;
  else if (root == "HKCR\\")
    place.Root = kHkeyClassesRoot;
  else
    return false;
  place.Path = text.substr(5);
  return true;
}

std::vector<std::string> Split(const std::string& text) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('|', start);
    if (end == std::string::npos) end = text.size();
    if (end > start) parts.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// Notes every missing level of `path` (the last one excluded) before it is created.
void NoteMissing(const TRegistryView& registry, HKey root, const std::string& path,
                 std::vector<std::string>& created) {
  for (std::size_t at = path.find('\\'); at != std::string::npos; at = path.find('\\', at + 1)) {
    TPlace level{root, path.substr(0, at)};
    if (!registry.Exists(root, level.Path)) {
      std::string text = Encode(level);
      if (std::find(created.begin(), created.end(), text) == created.end()) created.push_back(text);
    }
  }
}

}  // namespace

bool RegisterShellExtension(const TRegistryView& registry, const std::string& modulePath) {
  std::vector<std::string> created;
  std::string previous;
  if (registry.ReadString(kHkeyClassesRoot, kClassKey, kCreatedValue, previous))
    created = Split(previous);
  for (const char* type : kServedTypes) NoteMissing(registry, kHkeyClassesRoot, HandlerKey(type), created);
  NoteMissing(registry, kHkeyLocalMachine, kApprovedKey + "\\x", created);

  std::string list;
  for (const std::string& place : created) list += (list.empty() ? "" : "|") + place;
  bool ok = registry.WriteString(kHkeyClassesRoot, kClassKey, "", kShellExtName) &&
            registry.WriteString(kHkeyClassesRoot, kClassKey, kCreatedValue, list) &&
            registry.WriteString(kHkeyClassesRoot, kClassKey + "\\InProcServer32", "", modulePath) &&
            registry.WriteString(kHkeyClassesRoot, kClassKey + "\\InProcServer32", "ThreadingModel",
                                 "Apartment");
  for (const char* type : kServedTypes)
    ok = ok && registry.WriteString(kHkeyClassesRoot, HandlerKey(type), "", kShellExtClassId);
  // Where the list is kept from users who may not write it, the rest still counts.
  registry.WriteString(kHkeyLocalMachine, kApprovedKey, kShellExtClassId, kShellExtName);
  return ok;
}

bool UnregisterShellExtension(const TRegistryView& registry) {
  std::string list;
  registry.ReadString(kHkeyClassesRoot, kClassKey, kCreatedValue, list);
  bool ok = true;
  std::string approved;
  if (registry.ReadString(kHkeyLocalMachine, kApprovedKey, kShellExtClassId, approved))
    registry.DeleteValue(kHkeyLocalMachine, kApprovedKey, kShellExtClassId);
  if (registry.Exists(kHkeyClassesRoot, kClassKey)) {
    registry.DeleteKey(kHkeyClassesRoot, kClassKey + "\\InProcServer32");
    if (!registry.DeleteKey(kHkeyClassesRoot, kClassKey)) ok = false;
  }
  // The handler entries are in the classes both views share; the class keys are not. With
  // our class key gone, one still there is the other bitness's (where both views are one,
  // none is), which still needs the entries and now owns the keys made for them.
  const TRegistryView other(registry.Backend(), registry.View() == kKeyWow64_32Key
                                                    ? kKeyWow64_64Key
                                                    : kKeyWow64_32Key);
  const bool otherRegistered = other.Exists(kHkeyClassesRoot, kClassKey + "\\InProcServer32");
  std::vector<TPlace> places;
  std::vector<std::string> handedOver;
  for (const std::string& text : Split(list)) {
    TPlace place;
    if (!Decode(text, place)) continue;
    if (otherRegistered && place.Root == kHkeyClassesRoot)
      handedOver.push_back(text);
    else
      places.push_back(place);
  }
  if (otherRegistered) {
    std::string theirs;
    other.ReadString(kHkeyClassesRoot, kClassKey, kCreatedValue, theirs);
    std::vector<std::string> merged = Split(theirs);
    for (const std::string& text : handedOver)
      if (std::find(merged.begin(), merged.end(), text) == merged.end()) merged.push_back(text);
    std::string joined;
    for (const std::string& text : merged) joined += (joined.empty() ? "" : "|") + text;
    if (!other.WriteString(kHkeyClassesRoot, kClassKey, kCreatedValue, joined)) ok = false;
  } else {
    for (const char* type : kServedTypes) {
      std::string key = HandlerKey(type);
      std::string value;
      // Only an entry that names this module is ours.
      if (registry.ReadString(kHkeyClassesRoot, key, "", value) &&
          AnsiSameText(value, kShellExtClassId) && !registry.DeleteKey(kHkeyClassesRoot, key))
        ok = false;
    }
  }
  // Keys made for the entries go deepest first, and only when nothing else is in them.
  std::sort(places.begin(), places.end(),
            [](const TPlace& a, const TPlace& b) { return a.Path.size() > b.Path.size(); });
  for (const TPlace& place : places)
    if (registry.IsEmpty(place.Root, place.Path)) registry.DeleteKey(place.Root, place.Path);
  return ok;
}

}  // namespace orvane
