#pragma once
// A registry backend that counts the calls it passes on to another one and fails exactly
// the call numbered `FailAt` (1 = the next one), for tests that break an operation at
// every step in turn. Closing a key never fails.

#include "platform/registry_backend.h"

namespace orvane::testing {

class TFailingRegistry : public IRegistryBackend {
public:
  explicit TFailingRegistry(IRegistryBackend& inner) : inner_(inner) {}

  int Calls = 0;
  int FailAt = -1;
  bool Failed = false;
  // Fails the `k`-th call from now.
  void FailCall(int k) { FailAt = Calls + k; }

  ErrorCode OpenKey(HKey parent, const std::string& subKey, std::uint32_t access,
                    HKey& result) override {
    return Fail() ? Code() : inner_.OpenKey(parent, subKey, access, result);
  }
  ErrorCode CreateKey(HKey parent, const std::string& subKey, std::uint32_t access,
                      HKey& result) override {
    return Fail() ? Code() : inner_.CreateKey(parent, subKey, access, result);
  }
  ErrorCode CloseKey(HKey key) override { return inner_.CloseKey(key); }
  ErrorCode QueryValue(HKey key, const std::string& name, std::uint32_t* type, std::uint8_t* data,
                       std::uint32_t* size) override {
    return Fail() ? Code() : inner_.QueryValue(key, name, type, data, size);
  }
  ErrorCode SetValue(HKey key, const std::string& name, std::uint32_t type,
                     const std::uint8_t* data, std::uint32_t size) override {
    return Fail() ? Code() : inner_.SetValue(key, name, type, data, size);
  }
  ErrorCode EnumKey(HKey key, std::uint32_t index, std::string& name) override {
    return Fail() ? Code() : inner_.EnumKey(key, index, name);
  }
  ErrorCode EnumValue(HKey key, std::uint32_t index, std::string& name) override {
    return Fail() ? Code() : inner_.EnumValue(key, index, name);
  }
  ErrorCode QueryInfoKey(HKey key, TRegKeyInfo& info) override {
    return Fail() ? Code() : inner_.QueryInfoKey(key, info);
  }
  ErrorCode DeleteKey(HKey parent, const std::string& subKey) override {
    return Fail() ? Code() : inner_.DeleteKey(parent, subKey);
  }
  ErrorCode DeleteValue(HKey key, const std::string& name) override {
    return Fail() ? Code() : inner_.DeleteValue(key, name);
  }
  ErrorCode FlushKey(HKey key) override { return Fail() ? Code() : inner_.FlushKey(key); }
  ErrorCode LastError() const override { return inner_.LastError(); }
  void SetLastError(ErrorCode code) override { inner_.SetLastError(code); }
  std::string ErrorMessage(ErrorCode code) const override { return inner_.ErrorMessage(code); }

private:
  bool Fail() {
    if (++Calls != FailAt) return false;
    Failed = true;
    return true;
  }
  ErrorCode Code() {
    inner_.SetLastError(kErrorRegistryIoFailed);
    return kErrorRegistryIoFailed;
  }

  IRegistryBackend& inner_;
};

}  // namespace orvane::testing
