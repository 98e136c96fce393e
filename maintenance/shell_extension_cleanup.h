#pragma once
// The shell extension cleanup: every context-menu handler registered under a
// "shellex\ContextMenuHandlers" key, active (HKEY_CLASSES_ROOT) or switched off (the
// program's store under HKEY_CURRENT_USER), with its module's details; the changes the
// user chose stay pending until Apply moves and deletes the handler keys. A handler's
// class registration under CLSID is never touched.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "maintenance/extension_info.h"

namespace orvane {

class IFileSystem;
class IModuleVersions;
class IRegistryBackend;
class IRemovalBackup;

// One registry view in which classes are looked up: a 64-bit system has two, and the
// file manager loads what its own (64-bit) view names.
struct TClassView {
  IRegistryBackend* Registry = nullptr;
  TBitness Bits = TBitness::Bits32;
  // A 32-bit program on 64-bit Windows sees the 32-bit system folder under the 64-bit
  // one's name: a module path below RedirectedFolder is reached below NativeFolder
  // ("...\Sysnative\"). Both empty where there is no such redirection.
  std::string RedirectedFolder;
  std::string NativeFolder;
};

struct TShellExtensionServices {
  // Handler keys under HKEY_CLASSES_ROOT and the store under HKEY_CURRENT_USER.
  IRegistryBackend& Registry;
  // Where classes and the shell's Blocked list are read: one view, or the 32-bit and the
  // 64-bit view of a 64-bit system.
  std::vector<TClassView> ClassViews;
  IFileSystem& FileSystem;
  IModuleVersions& Versions;
};

// Whether an icon can be taken from a module file; the page extracts it once per file.
using THasIcon = std::function<bool(const std::string& moduleFile)>;

class TShellExtensionCleanup {
public:
  explicit TShellExtensionCleanup(TShellExtensionServices services);
  ~TShellExtensionCleanup();
  TShellExtensionCleanup(const TShellExtensionCleanup&) = delete;
  TShellExtensionCleanup& operator=(const TShellExtensionCleanup&) = delete;

  // Reads the list again: sorted by caption, missing modules first. Pending changes are
  // dropped without a notification.
  void Reload(const THasIcon& hasIcon);
  const std::vector<std::unique_ptr<TExtensionInfo>>& Entries() const { return entries_; }
  bool IsModified() const { return modified_; }

  // The user's changes; each sets Modified and raises OnChange.
  void SetWantDisabled(TExtensionInfo& entry, bool wantDisabled);
  void MarkDeleted(TExtensionInfo& entry);
  // Switches off every listed entry whose module is `entry`'s; returns how many changed.
  int DisableAllOfModule(const TExtensionInfo& entry);

  // Hands every key about to be moved or deleted to `backup` and commits it ("Shell
  // extensions"); only then moves and deletes. A failed commit stops here, nothing
  // removed. A registry failure raises with Modified still set; the entries done keep
  // their new state and a repeated Apply finishes the rest.
  void Apply(IRemovalBackup& backup);

  std::function<void()> OnChange;

private:
  // What the class views say of one class, read once per reload.
  struct TClassDetails {
    std::string FileName;
    std::string ModuleFile;  // empty when the module was not found
    TBitness Bitness = TBitness::None;
  };
  const TClassDetails& DetailsOf(const TClassId& id);
  void ScanPlace(const std::string& base, bool inactive);
  void ReadBlocked();
  void FillDetails(TExtensionInfo& entry);
  bool FindModule(const TClassView& view, const std::string& fileName, std::string& found);
  void Changed();
  void ApplyEntry(TExtensionInfo& entry);

  TShellExtensionServices services_;
  std::vector<std::unique_ptr<TExtensionInfo>> entries_;
  std::vector<TClassId> blocked_;
  std::map<TClassId, TClassDetails> details_;
  bool modified_ = false;
};

}  // namespace orvane
