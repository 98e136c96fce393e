#pragma once
// The registry object: one open key at a time over a registry backend, and the raising
// operations that turn a failed step into an exception naming the operation and key.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/registry_backend.h"

namespace orvane {

class TRegistry {
public:
  explicit TRegistry(IRegistryBackend& backend);
  TRegistry(std::uint32_t access, IRegistryBackend& backend);
  ~TRegistry();
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  HKey RootKey() const { return rootKey_; }
  void SetRootKey(HKey root);
  HKey CurrentKey() const { return currentKey_; }
  const std::string& CurrentPath() const { return currentPath_; }
  bool LazyWrite() const { return lazyWrite_; }
  void SetLazyWrite(bool value) { lazyWrite_ = value; }
  std::uint32_t Access() const { return access_; }
  void SetAccess(std::uint32_t value) { access_ = value; }
  IRegistryBackend& Backend() const { return backend_; }

  // A key beginning with "\" is absolute below RootKey; any other is relative to the
  // open key (to the root when none is open). A failed open keeps the current key.
  bool OpenKey(const std::string& key, bool canCreate);
  bool OpenKeyReadOnly(const std::string& key);
  void CloseKey();
  bool KeyExists(const std::string& key);
  bool ValueExists(const std::string& name);
  // Deletes the key's subkeys deepest first, then the key.
  bool DeleteKey(const std::string& key);
  bool DeleteValue(const std::string& name);
  void GetKeyNames(std::vector<std::string>& list);
  void GetValueNames(std::vector<std::string>& list);
  bool GetKeyInfo(TRegKeyInfo& info);
  bool GetDataInfo(const std::string& name, TRegDataInfo& info);
  // Raw value data; raise ERegistryException when the value cannot be read or written.
  std::uint32_t GetData(const std::string& name, void* buffer, std::uint32_t size,
                        std::uint32_t& type);
  void PutData(const std::string& name, const void* buffer, std::uint32_t size, std::uint32_t type);
  // Empty for a missing or empty value; the text up to its first zero byte for string
  // types; ERegistryException for any other type.
  std::string ReadString(const std::string& name);
  // As ReadString in one question to the registry; false when the value does not exist.
  bool TryReadString(const std::string& name, std::string& text);
  void WriteString(const std::string& name, const std::string& text);
  bool HasSubKeys();

private:
  static bool IsRelative(const std::string& key) { return key.empty() || key[0] != '\\'; }
  HKey BaseKey(bool relative) const;
  // Opens `key` (relative or absolute) with `access` without making it current.
  HKey OpenTemporary(const std::string& key, std::uint32_t access);
  bool Check(ErrorCode rc);
  void ChangeKey(HKey key, const std::string& keyPath, bool relative);

  IRegistryBackend& backend_;
  HKey rootKey_ = kHkeyCurrentUser;
  HKey currentKey_ = 0;
  std::string currentPath_;
  bool lazyWrite_ = true;
  std::uint32_t access_ = kKeyAllAccess;
};

// Operations that raise instead of answering false.
class TRegistryEx {
public:
  static void OpenKeyReadOnlyOrRaise(TRegistry& registry, const std::string& key);
  static void OpenKeyOrRaise(TRegistry& registry, const std::string& key, bool canCreate);
  // A missing key is no failure.
  static void DeleteKeyOrRaise(TRegistry& registry, const std::string& key);
  // Replaces the destination key with a copy of the source key and its subtree.
  static void CopyKey(TRegistry& source, const std::string& sourceKey, TRegistry& destination,
                      const std::string& destinationKey);

  static std::string RootKeyName(HKey root);
  static std::string CurrentKeyName(const TRegistry& registry);
  static std::string FullKeyName(const TRegistry& registry, const std::string& key);
  // Raises Exception with "Registry operation error" and, for a non-empty operation,
  // the details and the system's text for the backend's last error.
  [[noreturn]] static void RaiseRegistryError(const TRegistry& registry,
                                              const std::string& operation);
};

}  // namespace orvane
