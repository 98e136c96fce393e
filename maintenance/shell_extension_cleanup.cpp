#include "maintenance/shell_extension_cleanup.h"

#include <algorithm>
#include <cstring>

#include "maintenance/disabled_store.h"
#include "maintenance/removal_backup.h"
#include "platform/ansi_case.h"
#include "platform/exception.h"
#include "platform/file_system.h"
#include "platform/messages.h"
#include "platform/registry.h"
#include "platform/system_info.h"

namespace orvane {
namespace {

constexpr const char* kHandlers = "\\shellex\\ContextMenuHandlers";
constexpr const char* kBlockedKey =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Blocked";

// The default value, or "" when it is missing or no string.
std::string DefaultText(TRegistry& registry) {
  try {
    return registry.ReadString("");
  } catch (const Exception&) {
    return {};
  }
}

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool StartsWithText(const std::string& text, const std::string& prefix) {
  return !prefix.empty() && text.size() >= prefix.size() &&
         AnsiSameText(std::string_view(text).substr(0, prefix.size()), prefix);
}

// A key handle closed on every path.
struct TOpenKey {
  IRegistryBackend& registry;
  HKey key = 0;
  TOpenKey(IRegistryBackend& backend, HKey root, const std::string& path) : registry(backend) {
    if (backend.OpenKey(root, path, kKeyRead, key) != kErrorSuccess) key = 0;
  }
  ~TOpenKey() {
    if (key) registry.CloseKey(key);
  }
  TOpenKey(const TOpenKey&) = delete;
  TOpenKey& operator=(const TOpenKey&) = delete;
};

bool ReadValue(IRegistryBackend& registry, HKey key, const std::string& name, std::uint32_t& type,
               std::vector<std::uint8_t>& data) {
  std::uint32_t size = 0;
  if (registry.QueryValue(key, name, &type, nullptr, &size) != kErrorSuccess) return false;
  data.assign(size, 0);
  return registry.QueryValue(key, name, &type, data.data(), &size) == kErrorSuccess &&
         size == data.size();
}

// The copy holds every value and subkey of the original and nothing else. Any read that
// fails answers false: a copy that cannot be checked is no copy to remove the original for.
bool SameTree(IRegistryBackend& registry, HKey rootA, const std::string& a, HKey rootB,
              const std::string& b) {
  TOpenKey keyA(registry, rootA, a), keyB(registry, rootB, b);
  TRegKeyInfo infoA, infoB;
  if (!keyA.key || !keyB.key || registry.QueryInfoKey(keyA.key, infoA) != kErrorSuccess ||
      registry.QueryInfoKey(keyB.key, infoB) != kErrorSuccess ||
      infoA.NumValues != infoB.NumValues || infoA.NumSubKeys != infoB.NumSubKeys) {
    return false;
  }
  std::string name;
  std::uint32_t i = 0;
  for (; registry.EnumValue(keyA.key, i, name) == kErrorSuccess; ++i) {
    std::uint32_t typeA = 0, typeB = 0;
    std::vector<std::uint8_t> dataA, dataB;
    if (!ReadValue(registry, keyA.key, name, typeA, dataA) ||
        !ReadValue(registry, keyB.key, name, typeB, dataB) || typeA != typeB || dataA != dataB) {
      return false;
    }
  }
  if (i != infoA.NumValues) return false;
  std::vector<std::string> subKeys;
  for (; registry.EnumKey(keyA.key, static_cast<std::uint32_t>(subKeys.size()), name) ==
         kErrorSuccess;) {
    subKeys.push_back(name);
  }
  if (subKeys.size() != infoA.NumSubKeys) return false;
  for (const std::string& sub : subKeys) {
    if (!SameTree(registry, rootA, a + "\\" + sub, rootB, b + "\\" + sub)) return false;
  }
  return true;
}

// Deletes `path` with its subtree. Unlike a delete that first asks whether the key
// exists, a key that is still there afterwards is always a failure.
void RemoveKey(TRegistry& registry, const std::string& path) {
  if (registry.DeleteKey(path)) return;
  IRegistryBackend& backend = registry.Backend();
  const ErrorCode error = backend.LastError();
  if (!registry.KeyExists(path)) return;
  backend.SetLastError(error);
  TRegistryEx::RaiseRegistryError(registry, "deleting " + TRegistryEx::FullKeyName(registry, path));
}

}  // namespace

TShellExtensionCleanup::TShellExtensionCleanup(TShellExtensionServices services)
    : services_(std::move(services)) {}

TShellExtensionCleanup::~TShellExtensionCleanup() = default;

void TShellExtensionCleanup::Reload(const THasIcon& hasIcon) {
  modified_ = false;
  entries_.clear();
  details_.clear();
  ReadBlocked();
  const std::string store(kDisabledDynamicPrefix);
  ScanPlace("\\", false);
  ScanPlace("\\SystemFileAssociations\\", false);
  ScanPlace("\\" + store, true);
  ScanPlace("\\" + store + "SystemFileAssociations\\", true);

  std::vector<std::pair<std::string, std::unique_ptr<TExtensionInfo>>> sorted;
  sorted.reserve(entries_.size());
  for (auto& entry : entries_) {
    FillDetails(*entry);
    sorted.emplace_back(AnsiSortKeyText(entry->Caption), std::move(entry));
  }
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  entries_.clear();
  for (auto& [key, entry] : sorted) {
    entry->Missing = entry->ModuleFile.empty() &&
                     (entry->FileName.empty() || !hasIcon || !hasIcon(entry->FileName));
    entries_.push_back(std::move(entry));
  }
  std::stable_partition(entries_.begin(), entries_.end(),
                        [](const auto& entry) { return entry->Missing; });
}

void TShellExtensionCleanup::ReadBlocked() {
  blocked_.clear();
  std::vector<IRegistryBackend*> registries;
  for (const TClassView& view : services_.ClassViews) registries.push_back(view.Registry);
  if (registries.empty()) registries.push_back(&services_.Registry);
  for (IRegistryBackend* backend : registries) {
    for (HKey root : {kHkeyLocalMachine, kHkeyCurrentUser}) {
      TRegistry registry(kKeyRead, *backend);
      registry.SetRootKey(root);
      if (!registry.OpenKeyReadOnly(kBlockedKey)) continue;
      std::vector<std::string> names;
      registry.GetValueNames(names);
      for (const std::string& name : names) {
        if (std::optional<TClassId> id = ClassIdFromText(name)) blocked_.push_back(*id);
      }
    }
  }
  std::sort(blocked_.begin(), blocked_.end());
}

void TShellExtensionCleanup::ScanPlace(const std::string& base, bool inactive) {
  TRegistry registry(kKeyRead, services_.Registry);
  registry.SetRootKey(inactive ? kHkeyCurrentUser : kHkeyClassesRoot);
  const std::string place = base.size() > 1 ? base.substr(0, base.size() - 1) : base;
  if (!registry.OpenKeyReadOnly(place)) return;
  std::vector<std::string> types;
  registry.GetKeyNames(types);
  std::vector<std::string> handlers;
  for (const std::string& type : types) {
    const std::string handlersKey = base + type + kHandlers;
    if (!registry.OpenKeyReadOnly(handlersKey)) continue;
    registry.GetKeyNames(handlers);
    for (const std::string& handler : handlers) {
      const std::string key = handlersKey + "\\" + handler;
      if (!registry.OpenKeyReadOnly(key)) continue;
      const std::string value = DefaultText(registry);
      std::optional<TClassId> id = ClassIdFromText(value);
      std::string name = handler;
      if (!id) {
        id = ClassIdFromText(handler);
        name = value;
      }
      if (!id || id->IsNull()) continue;
      name = Trimmed(name);
      auto entry = std::make_unique<TExtensionInfo>();
      entry->Caption = name.empty() ? "(" + type + ")" : name + " (" + type + ")";
      entry->CLSID = *id;
      entry->KeyPath = key.substr(1);
      entry->Disabled = entry->WantDisabled = inactive;
      entry->Blocked = std::binary_search(blocked_.begin(), blocked_.end(), *id);
      entries_.push_back(std::move(entry));
    }
  }
}

bool TShellExtensionCleanup::FindModule(const TClassView& view, const std::string& fileName,
                                        std::string& found) {
  IFileSystem& files = services_.FileSystem;
  std::string name = fileName;
  // Registrations are sometimes written in quotes, as on a command line.
  if (name.size() >= 2 && name.front() == '"' && name.back() == '"')
    name = name.substr(1, name.size() - 2);
  name = files.ExpandEnvironment(name);
  if (StartsWithText(name, view.RedirectedFolder))
    name = view.NativeFolder + name.substr(view.RedirectedFolder.size());
  std::vector<std::string> folders;
  std::string bare = name;
  const std::size_t slash = name.find_last_of("\\/:");
  if (slash != std::string::npos) {
    folders.push_back(name.substr(0, slash + 1));
    bare = name.substr(slash + 1);
  } else if (!view.NativeFolder.empty()) {
    folders.push_back(view.NativeFolder);
  }
  found.clear();
  if (std::optional<bool> onPath = files.FindFileOnPath(bare, folders, &found)) {
    if (*onPath && found.empty()) found = name;
    return *onPath;
  }
  if (!files.FileExists(name)) return false;
  found = name;
  return true;
}

const TShellExtensionCleanup::TClassDetails& TShellExtensionCleanup::DetailsOf(
    const TClassId& id) {
  auto known = details_.find(id);
  if (known != details_.end()) return known->second;
  TClassDetails details;
  const std::string key = "\\CLSID\\" + ClassIdText(id) + "\\InProcServer32";
  for (const TClassView& view : services_.ClassViews) {
    TRegistry registry(kKeyRead, *view.Registry);
    registry.SetRootKey(kHkeyClassesRoot);
    if (!registry.OpenKeyReadOnly(key)) continue;
    details.Bitness = details.Bitness | view.Bits;
    const std::string fileName = DefaultText(registry);
    if (fileName.empty() || !details.ModuleFile.empty()) continue;
    std::string found;
    if (FindModule(view, fileName, found)) {
      details.FileName = fileName;
      details.ModuleFile = found;
    } else if (details.FileName.empty()) {
      details.FileName = fileName;
    }
  }
  return details_.emplace(id, std::move(details)).first->second;
}

void TShellExtensionCleanup::FillDetails(TExtensionInfo& entry) {
  const TClassDetails& details = DetailsOf(entry.CLSID);
  entry.FileName = details.FileName;
  entry.ModuleFile = details.ModuleFile;
  entry.Bitness = details.Bitness;
  if (entry.FileName.empty()) return;
  TModuleVersion version =
      services_.Versions.Read(entry.ModuleFile.empty() ? entry.FileName : entry.ModuleFile);
  // A module found elsewhere than named is shown where it was found.
  if (!entry.ModuleFile.empty() && entry.FileName.find_first_of("\\/:") == std::string::npos)
    entry.FileName = entry.ModuleFile;
  if (!version.Valid) return;
  entry.Description = version.FileDescription;
  entry.ProductName = version.ProductName;
  entry.Version = version.FileVersion;
  entry.Company = version.CompanyName;
}

void TShellExtensionCleanup::Changed() {
  modified_ = true;
  if (OnChange) OnChange();
}

void TShellExtensionCleanup::SetWantDisabled(TExtensionInfo& entry, bool wantDisabled) {
  entry.WantDisabled = wantDisabled;
  Changed();
}

void TShellExtensionCleanup::MarkDeleted(TExtensionInfo& entry) {
  entry.Deleted = true;
  Changed();
}

int TShellExtensionCleanup::DisableAllOfModule(const TExtensionInfo& entry) {
  if (entry.FileName.empty()) return 0;
  int changed = 0;
  for (auto& other : entries_) {
    if (other->Deleted || other->WantDisabled || !AnsiSameText(other->FileName, entry.FileName))
      continue;
    other->WantDisabled = true;
    ++changed;
  }
  if (changed > 0) Changed();
  return changed;
}

void TShellExtensionCleanup::Apply(IRemovalBackup& backup) {
  if (!modified_) return;
  // Everything that will leave its place is backed up before the first key goes.
  for (const auto& entry : entries_) {
    if (!entry->LeftOver.empty())
      backup.AddKey(entry->Disabled ? kHkeyClassesRoot : kHkeyCurrentUser, entry->LeftOver);
    const HKey root = entry->Disabled ? kHkeyCurrentUser : kHkeyClassesRoot;
    if (entry->Deleted) {
      backup.AddKey(root, entry->KeyPath);
    } else if (entry->WantDisabled != entry->Disabled) {
      backup.AddKey(root, entry->KeyPath);
      // An existing key at the target is replaced.
      backup.AddKey(entry->Disabled ? kHkeyClassesRoot : kHkeyCurrentUser,
                    entry->Disabled ? ActiveKeyPath(entry->KeyPath, kDisabledDynamicPrefix)
                                    : StoredKeyPath(entry->KeyPath, kDisabledDynamicPrefix));
    }
  }
  backup.Commit("Shell extensions");

  for (const auto& entry : entries_) ApplyEntry(*entry);
  std::erase_if(entries_, [](const auto& entry) { return entry->Deleted; });
  modified_ = false;
}

void TShellExtensionCleanup::ApplyEntry(TExtensionInfo& entry) {
  TRegistry classes(kKeyAllAccess, services_.Registry);
  classes.SetRootKey(kHkeyClassesRoot);
  TRegistry user(kKeyAllAccess, services_.Registry);
  user.SetRootKey(kHkeyCurrentUser);
  TRegistry& current = entry.Disabled ? user : classes;
  TRegistry& other = entry.Disabled ? classes : user;

  if (!entry.LeftOver.empty()) {
    RemoveKey(other, "\\" + entry.LeftOver);
    entry.LeftOver.clear();
  }
  if (entry.Deleted) {
    RemoveKey(current, "\\" + entry.KeyPath);
    return;
  }
  if (entry.WantDisabled == entry.Disabled) return;
  const std::string target = entry.Disabled
                                 ? ActiveKeyPath(entry.KeyPath, kDisabledDynamicPrefix)
                                 : StoredKeyPath(entry.KeyPath, kDisabledDynamicPrefix);
  // A key the user may read but not remove (a machine-wide handler without administrator
  // rights) is not copied: the copy would replace the one the store may already hold.
  TRegistryEx::OpenKeyOrRaise(current, "\\" + entry.KeyPath, false);
  current.CloseKey();
  const bool targetExisted = other.KeyExists("\\" + target);
  try {
    TRegistryEx::CopyKey(current, "\\" + entry.KeyPath, other, "\\" + target);
    current.CloseKey();
    other.CloseKey();
    if (!SameTree(services_.Registry, current.RootKey(), entry.KeyPath, other.RootKey(), target)) {
      throw Exception(LoadResString(msg::SRegistryOperationError) +
                      FormatRes(msg::SRegistryErrorDetails,
                                {"copying " + TRegistryEx::FullKeyName(current, "\\" + entry.KeyPath),
                                 "the copy differs from the original"}));
    }
  } catch (...) {
    // A half-made copy would list the entry twice; the original is still in place. A key
    // that was there before (an earlier copy in the store) is not ours to delete: the
    // next Apply replaces it again.
    if (!targetExisted) {
      other.CloseKey();
      other.DeleteKey("\\" + target);
    }
    throw;
  }
  // From here the copy is the entry; the original goes, now or at the next Apply.
  entry.LeftOver = entry.KeyPath;
  entry.KeyPath = target;
  entry.Disabled = entry.WantDisabled;
  RemoveKey(current, "\\" + entry.LeftOver);
  entry.LeftOver.clear();
}

}  // namespace orvane
