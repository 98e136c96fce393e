#include "maintenance/static_items_cleanup.h"

#include <algorithm>
#include <cassert>

#include "maintenance/disabled_store.h"
#include "maintenance/removal_backup.h"
#include "platform/ansi_case.h"
#include "platform/exception.h"
#include "platform/messages.h"
#include "platform/reg_text.h"
#include "platform/registry.h"
#include "platform/root_keys.h"

namespace orvane {
namespace {

constexpr const char* kCanonicalVerbs[] = {"openas", "find",    "explore",   "open",
                                           "print",  "properties", "printto", "openwith",
                                           "opennew", "edit",   "play",      "runas"};
constexpr const char* kNoCommand = "<none>";
constexpr const char* kLegacyDisable = "LegacyDisable";
// Longer captions are cut: a caption is another program's data, shown in lists and
// questions.
constexpr std::size_t kMaxCaption = 256;

std::string AsciiLower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// One line of bounded length: control characters become blanks.
std::string CleanCaption(const std::string& text) {
  std::string clean = text.substr(0, kMaxCaption);
  for (char& c : clean) {
    if (static_cast<unsigned char>(c) < 32) c = ' ';
  }
  if (text.size() > kMaxCaption) clean += "...";
  return clean;
}

// The default value of the open key, or `fallback` when it is missing, empty or no text.
std::string DefaultText(TRegistry& registry, const std::string& fallback) {
  try {
    std::string text = registry.ReadString("");
    return text.empty() ? fallback : text;
  } catch (const Exception&) {
    return fallback;
  }
}

[[noreturn]] void RaiseFailure(const std::string& operation, const std::string& reason) {
  throw ERegistryException(LoadResString(msg::SRegistryOperationError) +
                           FormatRes(msg::SRegistryErrorDetails, {operation, reason}));
}

std::string FullName(HKey root, const std::string& path) {
  return TRegistryEx::RootKeyName(root) + "\\" + path;
}

// The key's subtree as registry text with its own path taken out of the key lines, so
// that a key and its copy elsewhere give the same text.
std::string SubtreeText(IRegistryBackend& backend, HKey root, const std::string& path) {
  const std::string full = FullName(root, path);
  std::string text = ExportRegText(backend, full);
  std::string out;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(at, end - at);
    if (line.size() > full.size() && line[0] == '[' &&
        AnsiSameText(std::string_view(line).substr(1, full.size()), full)) {
      line = "[" + line.substr(full.size() + 1);
    }
    out += line + "\n";
    at = end + 1;
  }
  return out;
}

// Deletes `path` with its subtree. A key that is already gone is fine; any other failure,
// also one to find out whether it is there, raises.
void DeleteIfPresent(TRegistry& registry, const std::string& path) {
  IRegistryBackend& backend = registry.Backend();
  HKey key = 0;
  const ErrorCode rc = backend.OpenKey(registry.RootKey(), path, kKeyRead, key);
  if (rc == kErrorFileNotFound || rc == kErrorPathNotFound) return;
  if (rc != kErrorSuccess) {
    backend.SetLastError(rc);
    TRegistryEx::RaiseRegistryError(registry, "deleting " + FullName(registry.RootKey(), path));
  }
  backend.CloseKey(key);
  registry.CloseKey();
  if (!registry.DeleteKey("\\" + path)) {
    TRegistryEx::RaiseRegistryError(registry, "deleting " + FullName(registry.RootKey(), path));
  }
}

bool KeyPresent(TRegistry& registry, const std::string& path) {
  HKey key = 0;
  if (registry.Backend().OpenKey(registry.RootKey(), path, kKeyRead, key) != kErrorSuccess)
    return false;
  registry.Backend().CloseKey(key);
  return true;
}

}  // namespace

bool IsCanonicalVerb(std::string_view name) {
  return std::any_of(std::begin(kCanonicalVerbs), std::end(kCanonicalVerbs),
                     [&](const char* verb) { return AsciiLower(std::string(name)) == verb; });
}

std::string CommandProgram(const std::string& command) {
  std::size_t i = 0;
  auto blank = [](char c) { return c >= 1 && c <= 32; };
  while (i < command.size() && blank(command[i])) ++i;
  std::string program;
  bool quoted = false;
  for (; i < command.size(); ++i) {
    const char c = command[i];
    if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && (blank(c) || c == '\0')) {
      break;
    } else {
      program += c;
    }
  }
  return program;
}

std::string ProgramFolderOf(const std::string& program) {
  const std::size_t at = program.find_last_of("\\:");
  return at == std::string::npos ? std::string() : program.substr(0, at + 1);
}

std::string ShellKeyPath(const std::string& typeName) { return "\\" + typeName + "\\shell"; }

bool MatchesFilter(const TStaticItems& items, int index, const std::string& filter) {
  if (filter.empty()) return true;
  const std::string wanted = AnsiUpperCase(filter);
  const TMenuItemRec& rec = items.Item(index);
  for (const std::string* text : {&items.Text(index), &rec.Caption, &rec.Command}) {
    if (AnsiUpperCase(*text).find(wanted) != std::string::npos) return true;
  }
  return false;
}

std::string TMenuItemRec::VerbName() const {
  const std::size_t slash = KeyPath.rfind('\\');
  return slash == std::string::npos ? KeyPath : KeyPath.substr(slash + 1);
}

std::string TMenuItemRec::ActivePath() const {
  return Disabled ? ActiveKeyPath(KeyPath, kDisabledStaticPrefix) : KeyPath;
}

TStaticItems::TStaticItems(TStaticItemsCleanup& owner, std::string keyPath)
    : owner_(owner), keyPath_(std::move(keyPath)) {}

TStaticItems::~TStaticItems() = default;

void TStaticItems::Load() {
  items_.clear();
  disabled_.clear();
  deleted_.clear();
  TRegistry registry(kKeyRead, owner_.Registry());
  registry.SetRootKey(kHkeyClassesRoot);
  if (registry.OpenKeyReadOnly(keyPath_)) Scan(registry, keyPath_, false);
  const std::string relative = keyPath_.substr(keyPath_.rfind('\\', 0) == 0 ? 1 : 0);
  const std::string store = "\\" + StoredKeyPath(relative, kDisabledStaticPrefix);
  registry.SetRootKey(kHkeyCurrentUser);
  if (registry.OpenKeyReadOnly(store)) Scan(registry, store, true);
}

void TStaticItems::Scan(TRegistry& registry, const std::string& path, bool inactive) {
  std::vector<std::string> names;
  registry.GetKeyNames(names);
  for (const std::string& name : names) {
    if (name.size() >= 3 && name.compare(name.size() - 3, 3, "(*)") == 0 &&
        (inactive || owner_.HeldByMenu(path + "\\" + name)))
      continue;
    auto rec = std::make_unique<TMenuItemRec>(this, CleanCaption(name), kNoCommand,
                                              path.substr(1) + "\\" + name, inactive);
    if (!registry.OpenKeyReadOnly(path + "\\" + name)) {
      // Shown, so the user knows it is there, but not touched.
      rec->ReadError = registry.Backend().ErrorMessage(registry.Backend().LastError());
    } else {
      rec->Caption = CleanCaption(DefaultText(registry, name));
      rec->LegacyDisabled = registry.ValueExists(kLegacyDisable);
      if (registry.OpenKeyReadOnly("command")) rec->Command = DefaultText(registry, "");
      if (rec->Command.empty()) rec->Command = kNoCommand;
    }
    std::string text = IsCanonicalVerb(name) ? "*" + AsciiLower(CleanCaption(name)) : rec->Caption;
    // The store's entries are inactive as found: no change to apply.
    if (inactive) disabled_.insert(rec.get());
    items_.emplace_back(std::move(text), std::move(rec));
  }
}

bool TStaticItems::IsDeleted(const TMenuItemRec& rec) const {
  return std::find(deleted_.begin(), deleted_.end(), &rec) != deleted_.end();
}

void TStaticItems::SetDisabled(TMenuItemRec& rec, bool value) {
  if (!rec.Readable() || IsDisabled(rec) == value) return;
  if (value) {
    disabled_.insert(&rec);
  } else {
    disabled_.erase(&rec);
  }
  owner_.Changed();
}

void TStaticItems::SetDeleted(TMenuItemRec& rec, bool value) {
  if (!rec.Readable() || IsDeleted(rec) == value) return;
  if (value) {
    deleted_.push_back(&rec);
  } else {
    deleted_.erase(std::find(deleted_.begin(), deleted_.end(), &rec));
  }
  owner_.Changed();
}

void TStaticItems::DeleteAll() {
  owner_.BeginUpdate();
  struct End {
    TStaticItemsCleanup& owner;
    ~End() { owner.EndUpdate(); }
  } end{owner_};
  for (auto& [text, rec] : items_) SetDeleted(*rec, true);
}

bool TStaticItems::MovePending(const TMenuItemRec& rec) const {
  return rec.Readable() && !IsDeleted(rec) && IsDisabled(rec) != rec.Disabled;
}

bool TStaticItems::HasPending() const {
  if (!deleted_.empty()) return true;
  return std::any_of(items_.begin(), items_.end(), [&](const auto& entry) {
    return MovePending(*entry.second) || entry.second->Leftover.has_value();
  });
}

void TStaticItems::AddToBackup(IRemovalBackup& backup) const {
  for (const auto& [text, rec] : items_) {
    if (rec->Leftover) backup.AddKey(rec->Leftover->first, rec->Leftover->second);
    const HKey root = rec->Disabled ? kHkeyCurrentUser : kHkeyClassesRoot;
    if (IsDeleted(*rec)) {
      backup.AddKey(root, rec->KeyPath);
    } else if (MovePending(*rec)) {
      backup.AddKey(root, rec->KeyPath);
      // A key already at the target is replaced.
      if (rec->Disabled) {
        backup.AddKey(kHkeyClassesRoot, rec->ActivePath());
      } else {
        backup.AddKey(kHkeyCurrentUser, StoredKeyPath(rec->KeyPath, kDisabledStaticPrefix));
      }
    }
  }
}

void TStaticItems::Apply(TRegistry& readClasses, TRegistry& writeClasses, TRegistry& readUser,
                         TRegistry& writeUser) {
  auto writer = [&](HKey root) -> TRegistry& {
    return root == kHkeyCurrentUser ? writeUser : writeClasses;
  };
  for (TMenuItemRec* rec : deleted_) {
    if (rec->Leftover) {
      DeleteIfPresent(writer(rec->Leftover->first), rec->Leftover->second);
      rec->Leftover.reset();
    }
    DeleteIfPresent(rec->Disabled ? writeUser : writeClasses, rec->KeyPath);
  }
  std::set<const TMenuItemRec*> replaced;
  for (auto& [text, rec] : items_) {
    if (IsDeleted(*rec) || replaced.count(rec.get())) continue;
    if (rec->Leftover) {
      DeleteIfPresent(writer(rec->Leftover->first), rec->Leftover->second);
      rec->Leftover.reset();
    }
    if (!MovePending(*rec)) continue;
    const bool toStore = IsDisabled(*rec);
    const std::string target =
        toStore ? StoredKeyPath(rec->KeyPath, kDisabledStaticPrefix) : rec->ActivePath();
    if (toStore) {
      Move(*rec, readClasses, writeClasses, writeUser, target);
    } else {
      Move(*rec, readUser, writeUser, writeClasses, target);
    }
    // Another entry of the list whose key the move replaced is gone; the backup has it.
    for (auto& [otherText, other] : items_) {
      if (other.get() != rec.get() && other->Disabled == rec->Disabled &&
          AnsiSameText(other->KeyPath, rec->KeyPath)) {
        replaced.insert(other.get());
      }
    }
  }
  // Deleted and replaced entries leave the list, last first.
  for (int i = Count() - 1; i >= 0; --i) {
    TMenuItemRec* rec = items_[i].second.get();
    if (IsDeleted(*rec) || replaced.count(rec)) {
      disabled_.erase(rec);
      items_.erase(items_.begin() + i);
    }
  }
  deleted_.clear();
}

void TStaticItems::Move(TMenuItemRec& rec, TRegistry& readSource, TRegistry& writeSource,
                        TRegistry& writeTarget, const std::string& target) {
  IRegistryBackend& backend = owner_.Registry();
  const HKey sourceRoot = readSource.RootKey();
  const HKey targetRoot = writeTarget.RootKey();
  const std::string source = rec.KeyPath;
  // A key the user may read but not remove (a machine-wide verb without administrator
  // rights) is not copied: the copy would be a second entry next to the original.
  TRegistryEx::OpenKeyOrRaise(writeSource, "\\" + source, false);
  writeSource.CloseKey();
  const bool targetExisted = KeyPresent(writeTarget, target);
  try {
    TRegistryEx::CopyKey(readSource, "\\" + source, writeTarget, "\\" + target);
    readSource.CloseKey();
    writeTarget.CloseKey();
    // The copy is checked before the original goes: a listing that stops early must
    // not make a partial copy look complete.
    if (SubtreeText(backend, sourceRoot, source) != SubtreeText(backend, targetRoot, target)) {
      RaiseFailure("copying " + FullName(sourceRoot, source) + " to " +
                       FullName(targetRoot, target),
                   "the copy differs from the original");
    }
  } catch (...) {
    // A partial copy would show as one more entry; one that replaced a key stays for
    // the next Apply to replace again.
    if (!targetExisted) {
      try {
        writeTarget.CloseKey();
        writeTarget.DeleteKey("\\" + target);
      } catch (...) {
      }
    }
    throw;
  }
  rec.Disabled = targetRoot == kHkeyCurrentUser;
  rec.KeyPath = target;
  rec.Leftover = std::make_pair(sourceRoot, source);
  DeleteIfPresent(writeSource, source);
  rec.Leftover.reset();
}

TStaticItemsCleanup::TStaticItemsCleanup(IRegistryBackend& registry, THeldByMenu heldByMenu)
    : registry_(registry), heldByMenu_(std::move(heldByMenu)) {}

TStaticItemsCleanup::~TStaticItemsCleanup() = default;

TStaticItems& TStaticItemsCleanup::GetItems(const std::string& keyPath) {
  const std::string key = AnsiUpperCase(keyPath);
  auto found = lists_.find(key);
  if (found != lists_.end()) return *found->second;
  auto items = std::make_unique<TStaticItems>(*this, keyPath);
  items->Load();
  return *lists_.emplace(key, std::move(items)).first->second;
}

std::vector<TStaticItems*> TStaticItemsCleanup::Lists() const {
  std::vector<TStaticItems*> lists;
  for (const auto& [key, items] : lists_) lists.push_back(items.get());
  return lists;
}

bool TStaticItemsCleanup::Modified() const {
  return std::any_of(lists_.begin(), lists_.end(),
                     [](const auto& entry) { return entry.second->HasPending(); });
}

void TStaticItemsCleanup::Apply(IRemovalBackup& backup) {
  if (!Modified()) return;
  for (const auto& [key, items] : lists_) items->AddToBackup(backup);
  backup.Commit("Static items");

  BeginUpdate();
  struct End {
    TStaticItemsCleanup& owner;
    ~End() { owner.EndUpdate(); }
  } end{*this};
  TRegistry readClasses(kKeyRead, registry_);
  readClasses.SetRootKey(kHkeyClassesRoot);
  TRegistry writeClasses(registry_);
  writeClasses.SetRootKey(kHkeyClassesRoot);
  TRegistry readUser(kKeyRead, registry_);
  readUser.SetRootKey(kHkeyCurrentUser);
  TRegistry writeUser(registry_);
  writeUser.SetRootKey(kHkeyCurrentUser);
  for (const auto& [key, items] : lists_) {
    if (items->HasPending()) items->Apply(readClasses, writeClasses, readUser, writeUser);
  }
}

void TStaticItemsCleanup::Clear() { lists_.clear(); }

void TStaticItemsCleanup::EndUpdate() {
  assert(updateCount_ > 0 && "StaticItemsCleanupHelpers: EndUpdate without BeginUpdate");
  if (updateCount_ > 0 && --updateCount_ == 0) Changed();
}

void TStaticItemsCleanup::Changed() {
  if (updateCount_ == 0 && OnChange) OnChange(*this);
}

int TStaticItemsCleanup::DisableProgram(const std::string& program,
                                        const std::vector<std::string>& typeNames,
                                        const std::function<void(int, int)>& progress) {
  if (program.empty()) return 0;
  int count = 0;
  BeginUpdate();
  struct End {
    TStaticItemsCleanup& owner;
    ~End() { owner.EndUpdate(); }
  } end{*this};
  const int total = static_cast<int>(typeNames.size());
  for (int t = 0; t < total; ++t) {
    if (progress) progress(t, total);
    TStaticItems& items = GetItems(ShellKeyPath(typeNames[t]));
    for (int i = 0; i < items.Count(); ++i) {
      TMenuItemRec& rec = items.Item(i);
      if (items.IsDeleted(rec) || items.IsDisabled(rec) || !rec.Readable()) continue;
      if (!AnsiSameText(CommandProgram(rec.Command), program)) continue;
      items.SetDisabled(rec, true);
      ++count;
    }
  }
  if (progress) progress(total, total);
  return count;
}

}  // namespace orvane
