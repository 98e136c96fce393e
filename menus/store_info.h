#pragma once
// Where the static menu's verbs live and where one item's verb was last written.

#include <string>

#include "platform/registry_backend.h"

namespace orvane {

class IFileSystem;
class IRemovalBackup;

// The registry the verbs go to: HKEY_CLASSES_ROOT of the registry passed in, or, for
// tests, any root key with a path that stands in for it.
struct TVerbRegistry {
  IRegistryBackend& Backend;
  // Tells a program path from a command line typed with its arguments.
  IFileSystem& FileSystem;
  HKey Root = kHkeyClassesRoot;
  // Absolute path ("\Software\...") prefixed to every verb key; empty for the root.
  std::string Base;
  // Takes the verbs a save removes for good before they go; none: no backup.
  IRemovalBackup* Backup = nullptr;
};

class TStoreInfo {
public:
  bool Stored() const { return stored_; }
  // The verb key, "\" + file type + "\shell\" + caption + " (*)".
  const std::string& KeyPath() const { return keyPath_; }

  void Assign(const TStoreInfo& source) { *this = source; }
  void Clear();
  void SetStored(const std::string& path);
  // Deletes the recorded key with its subkeys, and its parent (the "shell" key) when
  // that has no subkeys left; then forgets the key. Registry failures raise, and the
  // key stays recorded so that the next try deletes it again.
  void Remove(const TVerbRegistry& registry);

private:
  bool stored_ = false;
  std::string keyPath_;
};

}  // namespace orvane
