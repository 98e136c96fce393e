#pragma once
// Registry access of the module in one registry view (each bitness keeps to its own):
// keys that close themselves and the few reads and writes registration and type lookup
// need, over the registry backend.

#include <cstdint>
#include <string>

#include "platform/registry_backend.h"

namespace orvane {

class TViewKey {
public:
  TViewKey() = default;
  TViewKey(IRegistryBackend* backend, HKey key) : backend_(backend), key_(key) {}
  TViewKey(TViewKey&& other) noexcept : backend_(other.backend_), key_(other.key_) {
    other.key_ = 0;
  }
  TViewKey& operator=(TViewKey&& other) noexcept;
  TViewKey(const TViewKey&) = delete;
  TViewKey& operator=(const TViewKey&) = delete;
  ~TViewKey();

  explicit operator bool() const { return key_ != 0; }
  HKey Get() const { return key_; }

private:
  IRegistryBackend* backend_ = nullptr;
  HKey key_ = 0;
};

class TRegistryView {
public:
  // `view` is kKeyWow64_32Key or kKeyWow64_64Key.
  TRegistryView(IRegistryBackend& backend, std::uint32_t view) : backend_(backend), view_(view) {}

  IRegistryBackend& Backend() const { return backend_; }
  std::uint32_t View() const { return view_; }

  TViewKey Open(HKey root, const std::string& path, std::uint32_t access = kKeyRead) const;
  TViewKey Create(HKey root, const std::string& path) const;
  bool Exists(HKey root, const std::string& path) const { return static_cast<bool>(Open(root, path)); }
  // A string value; false when the key or value is missing or no string.
  bool ReadString(HKey root, const std::string& path, const std::string& name,
                  std::string& value) const;
  bool WriteString(HKey root, const std::string& path, const std::string& name,
                   const std::string& value) const;
  bool DeleteValue(HKey root, const std::string& path, const std::string& name) const;
  bool DeleteKey(HKey root, const std::string& path) const;
  // No subkeys and no values.
  bool IsEmpty(HKey root, const std::string& path) const;

private:
  IRegistryBackend& backend_;
  std::uint32_t view_;
};

}  // namespace orvane
