#pragma once
// What a maintenance Apply is about to take out of HKEY_CLASSES_ROOT (or out of the
// program's store of switched-off entries), handed over before anything is taken. The
// program writes it to a .reg file beside the menu file; tests record it.

#include <string>

#include "platform/registry_types.h"

namespace orvane {

class IRemovalBackup {
public:
  virtual ~IRemovalBackup() = default;
  // The key `path` under `root` with its values and whole subtree, as it is now. A key
  // that does not exist is passed over.
  virtual void AddKey(HKey root, const std::string& path) = 0;
  // One value of the key `keyPath` under `root`, as it is now.
  virtual void AddValue(HKey root, const std::string& keyPath, const std::string& name) = 0;
  // Writes everything added since the last commit as one backup described by `what`.
  // Raises orvane::Exception with the reason when it cannot; the caller deletes nothing
  // before this has returned. Nothing added: nothing written.
  virtual void Commit(const std::string& what) = 0;
};

}  // namespace orvane
