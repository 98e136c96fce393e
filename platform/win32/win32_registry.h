#pragma once
// The registry backend over advapi32's "A" functions.

#include "platform/registry_backend.h"

namespace orvane {

class TWin32Registry : public IRegistryBackend {
public:
  TWin32Registry() = default;
  // Opens, creates and deletes every key in one registry view (KEY_WOW64_64KEY or
  // KEY_WOW64_32KEY) instead of this process's own.
  explicit TWin32Registry(std::uint32_t view) : view_(view) {}

  ErrorCode OpenKey(HKey parent, const std::string& subKey, std::uint32_t access,
                    HKey& result) override;
  ErrorCode CreateKey(HKey parent, const std::string& subKey, std::uint32_t access,
                      HKey& result) override;
  ErrorCode CloseKey(HKey key) override;
  ErrorCode QueryValue(HKey key, const std::string& name, std::uint32_t* type, std::uint8_t* data,
                       std::uint32_t* size) override;
  ErrorCode SetValue(HKey key, const std::string& name, std::uint32_t type,
                     const std::uint8_t* data, std::uint32_t size) override;
  ErrorCode EnumKey(HKey key, std::uint32_t index, std::string& name) override;
  ErrorCode EnumValue(HKey key, std::uint32_t index, std::string& name) override;
  ErrorCode QueryInfoKey(HKey key, TRegKeyInfo& info) override;
  ErrorCode DeleteKey(HKey parent, const std::string& subKey) override;
  ErrorCode DeleteKeyInView(HKey parent, const std::string& subKey, std::uint32_t view) override;
  ErrorCode DeleteValue(HKey key, const std::string& name) override;
  ErrorCode FlushKey(HKey key) override;
  ErrorCode LastError() const override;
  void SetLastError(ErrorCode code) override;
  std::string ErrorMessage(ErrorCode code) const override;

private:
  std::uint32_t view_ = 0;
};

// The registry as the system's native programs, the file manager among them, see it: on
// 64-bit Windows its 64-bit view, where this 32-bit program's own view would put keys
// below Software\Classes\CLSID into Wow6432Node.
IRegistryBackend& NativeRegistryBackend();

}  // namespace orvane
