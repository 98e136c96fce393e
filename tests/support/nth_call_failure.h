#pragma once
// A registry that hands every call on to another one, except that the call numbered
// `FailAt` (counted from 1 over every call that can fail; closing a key cannot) answers
// `Code` instead, as a registry that refuses or breaks halfway does. `FailAt` 0 only
// counts, so a clean run tells how many calls there are to fail.

#include <cstdint>
#include <string>

#include "platform/registry_backend.h"

namespace orvane::testing {

class TNthCallFailure : public IRegistryBackend {
public:
  explicit TNthCallFailure(IRegistryBackend& inner) : inner_(inner) {}

  int Calls = 0;
  int FailAt = 0;
  ErrorCode Code = kErrorAccessDenied;
  bool Failed = false;  // the numbered call came and failed

  // Counts from 0 again and fails call number `failAt` from now (0: none).
  void Arm(int failAt) {
    Calls = 0;
    FailAt = failAt;
    Failed = false;
  }

  ErrorCode OpenKey(HKey parent, const std::string& subKey, std::uint32_t access,
                    HKey& result) override {
    return Fails() ? Code : inner_.OpenKey(parent, subKey, access, result);
  }
  ErrorCode CreateKey(HKey parent, const std::string& subKey, std::uint32_t access,
                      HKey& result) override {
    return Fails() ? Code : inner_.CreateKey(parent, subKey, access, result);
  }
  ErrorCode CloseKey(HKey key) override { return inner_.CloseKey(key); }
  ErrorCode QueryValue(HKey key, const std::string& name, std::uint32_t* type, std::uint8_t* data,
                       std::uint32_t* size) override {
    return Fails() ? Code : inner_.QueryValue(key, name, type, data, size);
  }
  ErrorCode SetValue(HKey key, const std::string& name, std::uint32_t type,
                     const std::uint8_t* data, std::uint32_t size) override {
    return Fails() ? Code : inner_.SetValue(key, name, type, data, size);
  }
  ErrorCode EnumKey(HKey key, std::uint32_t index, std::string& name) override {
    return Fails() ? Code : inner_.EnumKey(key, index, name);
  }
  ErrorCode EnumValue(HKey key, std::uint32_t index, std::string& name) override {
    return Fails() ? Code : inner_.EnumValue(key, index, name);
  }
  ErrorCode QueryInfoKey(HKey key, TRegKeyInfo& info) override {
    return Fails() ? Code : inner_.QueryInfoKey(key, info);
  }
  ErrorCode DeleteKey(HKey parent, const std::string& subKey) override {
    return Fails() ? Code : inner_.DeleteKey(parent, subKey);
  }
  ErrorCode DeleteKeyInView(HKey parent, const std::string& subKey, std::uint32_t view) override {
    return Fails() ? Code : inner_.DeleteKeyInView(parent, subKey, view);
  }
  ErrorCode DeleteValue(HKey key, const std::string& name) override {
    return Fails() ? Code : inner_.DeleteValue(key, name);
  }
  ErrorCode FlushKey(HKey key) override { return Fails() ? Code : inner_.FlushKey(key); }
  ErrorCode LastError() const override { return inner_.LastError(); }
  void SetLastError(ErrorCode code) override { inner_.SetLastError(code); }
  std::string ErrorMessage(ErrorCode code) const override { return inner_.ErrorMessage(code); }

private:
  bool Fails() {
    if (++Calls != FailAt) return false;
    Failed = true;
    inner_.SetLastError(Code);
    return true;
  }

  IRegistryBackend& inner_;
};

}  // namespace orvane::testing
