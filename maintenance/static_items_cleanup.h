#pragma once
// The static verbs other software registered under HKEY_CLASSES_ROOT\<type>\shell, per
// file type, with the changes the user has marked: switch off (move into the program's
// store under HKEY_CURRENT_USER), switch back on, delete. Nothing reaches the registry
// before Apply, and Apply hands everything it will remove to a backup first.

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/registry_backend.h"

namespace orvane {

class IRemovalBackup;
class TRegistry;
class TStaticItems;
class TStaticItemsCleanup;

// The twelve verbs the shell itself knows (compared ignoring ASCII case).
bool IsCanonicalVerb(std::string_view name);
// The program of a command line: its first token, split as program arguments are
// (characters 1 to 32 separate, double quotes group and are dropped).
std::string CommandProgram(const std::string& command);
// The program's folder: its path up to and including the last "\" or ":".
std::string ProgramFolderOf(const std::string& program);

// One verb.
class TMenuItemRec {
public:
  TMenuItemRec(TStaticItems* owner, std::string caption, std::string command,
               std::string keyPath, bool disabled)
      : Owner(owner), Caption(std::move(caption)), Command(std::move(command)),
        KeyPath(std::move(keyPath)), Disabled(disabled) {}

  TStaticItems* Owner;
  std::string Caption;
  std::string Command;
  // Relative to HKEY_CLASSES_ROOT while active, to HKEY_CURRENT_USER while in the store.
  std::string KeyPath;
  // Where the key is now: true = in the store.
  bool Disabled;
  // Another program hid the verb with a "LegacyDisable" value; it is left as it is.
  bool LegacyDisabled = false;
  // Why the verb key could not be read; such a verb is shown but never touched, since
  // nothing that cannot be read can be backed up.
  std::string ReadError;
  // A copy of the key left behind by a move whose deletion failed: removed by the next
  // Apply. Root and path.
  std::optional<std::pair<HKey, std::string>> Leftover;

  // The verb key's name, the last part of KeyPath.
  std::string VerbName() const;
  // Its place under HKEY_CLASSES_ROOT, also while it is in the store.
  std::string ActivePath() const;
  bool Readable() const { return ReadError.empty(); }
};

// The verbs of one file type: active ones first, then those in the store, each in
// registry order.
class TStaticItems {
public:
  TStaticItems(TStaticItemsCleanup& owner, std::string keyPath);
  ~TStaticItems();
  TStaticItems(const TStaticItems&) = delete;
  TStaticItems& operator=(const TStaticItems&) = delete;

  TStaticItemsCleanup& Owner() const { return owner_; }
  // "\<type>\shell".
  const std::string& KeyPath() const { return keyPath_; }

  void Load();
  int Count() const { return static_cast<int>(items_.size()); }
  const std::string& Text(int index) const { return items_.at(index).first; }
  TMenuItemRec& Item(int index) const { return *items_.at(index).second; }

  bool IsDeleted(const TMenuItemRec& rec) const;
  bool IsDisabled(const TMenuItemRec& rec) const { return disabled_.count(&rec) > 0; }
  // Unreadable verbs keep their state.
  void SetDisabled(TMenuItemRec& rec, bool value);
  void SetDeleted(TMenuItemRec& rec, bool value);
  void DeleteAll();

  // Whether Apply has anything to do here.
  bool HasPending() const;
  // Hands every key the Apply would remove or replace to `backup`.
  void AddToBackup(IRemovalBackup& backup) const;
  // Deletions, then moves. `read*` open keys read-only, `write*` with full rights.
  void Apply(TRegistry& readClasses, TRegistry& writeClasses, TRegistry& readUser,
             TRegistry& writeUser);

private:
  void Scan(TRegistry& registry, const std::string& path, bool inactive);
  bool MovePending(const TMenuItemRec& rec) const;
  void Move(TMenuItemRec& rec, TRegistry& readSource, TRegistry& writeSource,
            TRegistry& writeTarget, const std::string& target);

  TStaticItemsCleanup& owner_;
  std::string keyPath_;
  std::vector<std::pair<std::string, std::unique_ptr<TMenuItemRec>>> items_;
  std::set<const TMenuItemRec*> disabled_;
  std::vector<TMenuItemRec*> deleted_;  // in marking order
};

// The static verbs of every file type shown so far, with their pending changes. One per
// main window.
class TStaticItemsCleanup {
public:
  // Tells whether the static menu holds the verb key "\<type>\shell\<caption> (*)": the
  // system's own verbs are its business, and only those are left out of the lists. One
  // that no item holds (brought back by a restore, or left by another copy of the menu
  // file) is listed like any other program's.
  using THeldByMenu = std::function<bool(const std::string& verbKeyPath)>;

  TStaticItemsCleanup(IRegistryBackend& registry, THeldByMenu heldByMenu);
  ~TStaticItemsCleanup();
  TStaticItemsCleanup(const TStaticItemsCleanup&) = delete;
  TStaticItemsCleanup& operator=(const TStaticItemsCleanup&) = delete;

  IRegistryBackend& Registry() const { return registry_; }
  bool HeldByMenu(const std::string& verbKeyPath) const { return heldByMenu_(verbKeyPath); }
  // The verbs of the shell key "\<type>\shell", loaded the first time they are asked for
  // and kept with their marks afterwards.
  TStaticItems& GetItems(const std::string& keyPath);
  // In key order.
  std::vector<TStaticItems*> Lists() const;

  // Something is to be written: marks that differ from the registry, not merely marks
  // that were set and taken back, nor the store's entries found by a load.
  bool Modified() const;
  // Hands everything that will be removed or replaced to `backup` and commits it; only
  // then moves and deletes. A failed commit raises before anything changed; a failed
  // registry step raises with what was done so far kept, and a repeated Apply goes on
  // from there.
  void Apply(IRemovalBackup& backup);
  // Forgets every list and every pending change.
  void Clear();

  void BeginUpdate() { ++updateCount_; }
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }
  void Changed();
  std::function<void(TStaticItemsCleanup& sender)> OnChange;

  // Switches off every listed verb of the named file types whose program is `program`
  // (ignoring case), loading the types' lists as needed; `progress` hears (done, total).
  // Returns how many verbs it switched off.
  int DisableProgram(const std::string& program, const std::vector<std::string>& typeNames,
                     const std::function<void(int, int)>& progress = {});

private:
  IRegistryBackend& registry_;
  THeldByMenu heldByMenu_;
  std::map<std::string, std::unique_ptr<TStaticItems>> lists_;  // by upper-case key path
  int updateCount_ = 0;
};

// The shell key of a file type: "\<type>\shell".
std::string ShellKeyPath(const std::string& typeName);
// A verb matches a filter when its shown text, caption or command line holds it,
// ignoring case; an empty filter matches every verb.
bool MatchesFilter(const TStaticItems& items, int index, const std::string& filter);

}  // namespace orvane
