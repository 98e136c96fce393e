#pragma once
// The registry operations of advapi32 that the registry object builds on. Each returns
// a Win32 error code (kErrorSuccess on success) exactly as the "A" functions do, so the
// logic above behaves the same on the real registry and on the in-memory one.

#include <cstdint>
#include <string>

#include "platform/registry_types.h"

namespace orvane {

class IRegistryBackend {
public:
  virtual ~IRegistryBackend() = default;

  // RegOpenKeyExA. An empty subKey opens a new handle to `parent` itself. `access` may
  // name a registry view (kKeyWow64_64Key, kKeyWow64_32Key); the in-memory registry has
  // one view unless told to keep two (TMemoryRegistry::UseTwoViews).
  virtual ErrorCode OpenKey(HKey parent, const std::string& subKey, std::uint32_t access,
                            HKey& result) = 0;
  // RegCreateKeyExA, non-volatile; creates every missing level.
  virtual ErrorCode CreateKey(HKey parent, const std::string& subKey, std::uint32_t access,
                              HKey& result) = 0;
  virtual ErrorCode CloseKey(HKey key) = 0;
  // RegQueryValueExA: `data` may be null to ask for type and size only; a buffer that is
  // too small gives kErrorMoreData with `size` set to what is needed.
  virtual ErrorCode QueryValue(HKey key, const std::string& name, std::uint32_t* type,
                               std::uint8_t* data, std::uint32_t* size) = 0;
  virtual ErrorCode SetValue(HKey key, const std::string& name, std::uint32_t type,
                             const std::uint8_t* data, std::uint32_t size) = 0;
  // RegEnumKeyExA / RegEnumValueA: kErrorNoMoreItems past the end.
  virtual ErrorCode EnumKey(HKey key, std::uint32_t index, std::string& name) = 0;
  virtual ErrorCode EnumValue(HKey key, std::uint32_t index, std::string& name) = 0;
  virtual ErrorCode QueryInfoKey(HKey key, TRegKeyInfo& info) = 0;
  // RegDeleteKeyA: refuses (kErrorAccessDenied) a key that still has subkeys.
  virtual ErrorCode DeleteKey(HKey parent, const std::string& subKey) = 0;
  // RegDeleteKeyExA: the key in registry view `view` (kKeyWow64_64Key, kKeyWow64_32Key,
  // or 0 for the process's own). One view only by default.
  virtual ErrorCode DeleteKeyInView(HKey parent, const std::string& subKey, std::uint32_t view) {
    (void)view;
    return DeleteKey(parent, subKey);
  }
  virtual ErrorCode DeleteValue(HKey key, const std::string& name) = 0;
  virtual ErrorCode FlushKey(HKey key) = 0;

  // The calling thread's last-error code, as GetLastError/SetLastError keep it.
  virtual ErrorCode LastError() const = 0;
  virtual void SetLastError(ErrorCode code) = 0;
  // The system's text for an error code, without the trailing period and line break.
  virtual std::string ErrorMessage(ErrorCode code) const = 0;
};

// The registry of this process: advapi32 on Windows, a process-wide in-memory registry
// elsewhere. The start-up puts it into the services (platform/services.h); nothing else
// reaches for it.
IRegistryBackend& DefaultRegistryBackend();

}  // namespace orvane
