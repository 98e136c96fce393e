#pragma once
// Shared set-up of the clean-up tools' tests: an in-memory registry behind a counter that
// can make the k-th call of an Apply fail, and a backup that keeps the text of every key
// it was handed, as it was at that moment.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/memory_registry.h"
#include "platform/reg_text.h"
#include "platform/root_keys.h"
#include "tests/support/recorded_backup.h"

namespace orvane::testing {

// Forwards to the in-memory registry; call number `FailAt` (counted from 1 since the last
// `Arm`) answers kErrorAccessDenied instead.
class TCountingRegistry : public IRegistryBackend {
public:
  explicit TCountingRegistry(TMemoryRegistry& inner) : inner_(inner) {}
  int Calls = 0;
  int FailAt = 0;
  void Arm(int failAt) {
    Calls = 0;
    FailAt = failAt;
  }

  ErrorCode OpenKey(HKey parent, const std::string& subKey, std::uint32_t access,
                    HKey& result) override {
    return Fail() ? kErrorAccessDenied : inner_.OpenKey(parent, subKey, access, result);
  }
  ErrorCode CreateKey(HKey parent, const std::string& subKey, std::uint32_t access,
                      HKey& result) override {
    return Fail() ? kErrorAccessDenied : inner_.CreateKey(parent, subKey, access, result);
  }
  // Closing cannot fail in a way the caller could answer; it is not counted.
  ErrorCode CloseKey(HKey key) override { return inner_.CloseKey(key); }
  ErrorCode QueryValue(HKey key, const std::string& name, std::uint32_t* type,
                       std::uint8_t* data, std::uint32_t* size) override {
    return Fail() ? kErrorAccessDenied : inner_.QueryValue(key, name, type, data, size);
  }
  ErrorCode SetValue(HKey key, const std::string& name, std::uint32_t type,
                     const std::uint8_t* data, std::uint32_t size) override {
    return Fail() ? kErrorAccessDenied : inner_.SetValue(key, name, type, data, size);
  }
  ErrorCode EnumKey(HKey key, std::uint32_t index, std::string& name) override {
    return Fail() ? kErrorAccessDenied : inner_.EnumKey(key, index, name);
  }
  ErrorCode EnumValue(HKey key, std::uint32_t index, std::string& name) override {
    return Fail() ? kErrorAccessDenied : inner_.EnumValue(key, index, name);
  }
  ErrorCode QueryInfoKey(HKey key, TRegKeyInfo& info) override {
    return Fail() ? kErrorAccessDenied : inner_.QueryInfoKey(key, info);
  }
  ErrorCode DeleteKey(HKey parent, const std::string& subKey) override {
    return Fail() ? kErrorAccessDenied : inner_.DeleteKey(parent, subKey);
  }
  ErrorCode DeleteValue(HKey key, const std::string& name) override {
    return Fail() ? kErrorAccessDenied : inner_.DeleteValue(key, name);
  }
  ErrorCode FlushKey(HKey key) override { return inner_.FlushKey(key); }
  ErrorCode LastError() const override { return inner_.LastError(); }
  void SetLastError(ErrorCode code) override { inner_.SetLastError(code); }
  std::string ErrorMessage(ErrorCode code) const override { return inner_.ErrorMessage(code); }

private:
  bool Fail() { return ++Calls == FailAt; }
  TMemoryRegistry& inner_;
};

// Keeps, for every key handed over, its registry text at that moment.
class TExportingBackup : public TRecordedBackup {
public:
  explicit TExportingBackup(IRegistryBackend& registry) : registry_(registry) {}
  std::map<std::string, std::string> Texts;  // by full key name

  void AddKey(HKey root, const std::string& path) override {
    TRecordedBackup::AddKey(root, path);
    const std::string full = std::string(PredefinedRootName(root)) + "\\" + path;
    std::string text = ExportRegText(registry_, full);
    if (!text.empty()) Texts[full] = text;
  }

private:
  IRegistryBackend& registry_;
};

class CleanupTest : public ::testing::Test {
protected:
  CleanupTest() : counting(memory), backup(memory) {}

  void Import(const std::string& text) { ImportRegText(memory, "REGEDIT4\n\n" + text); }
  // The key's text ("HKEY_CLASSES_ROOT\txtfile\shell\open"), empty when it is missing.
  std::string Text(const std::string& full) { return ExportRegText(memory, full); }
  // The same with the key's own path taken out, so that a key and its copy compare equal.
  std::string Content(const std::string& full) {
    std::string text = Text(full);
    std::string out;
    std::size_t at = 0;
    while (at < text.size()) {
      std::size_t end = text.find('\n', at);
      std::string line = text.substr(at, end - at);
      if (line.rfind("[" + full, 0) == 0) line = "[" + line.substr(full.size() + 1);
      out += line + "\n";
      at = end == std::string::npos ? text.size() : end + 1;
    }
    return out;
  }
  bool Exists(const std::string& full) { return !Text(full).empty(); }

  TMemoryRegistry memory;
  TCountingRegistry counting;
  TExportingBackup backup;
};

}  // namespace orvane::testing
