#pragma once
// The registry backend over advapi32's "A" functions.

#include "platform/registry_backend.h"

namespace orvane {

class TWin32Registry : public IRegistryBackend {
public:
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
};

}  // namespace orvane
