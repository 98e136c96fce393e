#include "shellext/registry_view.h"

#include <vector>

namespace orvane {

TViewKey& TViewKey::operator=(TViewKey&& other) noexcept {
  if (this != &other) {
    if (key_) backend_->CloseKey(key_);
    backend_ = other.backend_;
    key_ = other.key_;
    other.key_ = 0;
  }
  return *this;
}

TViewKey::~TViewKey() {
  if (key_) backend_->CloseKey(key_);
}

TViewKey TRegistryView::Open(HKey root, const std::string& path, std::uint32_t access) const {
  HKey key = 0;
  if (backend_.OpenKey(root, path, access | view_, key) != kErrorSuccess) return {};
  return TViewKey(&backend_, key);
}

TViewKey TRegistryView::Create(HKey root, const std::string& path) const {
  HKey key = 0;
  if (backend_.CreateKey(root, path, kKeyAllAccess | view_, key) != kErrorSuccess) return {};
  return TViewKey(&backend_, key);
}

bool TRegistryView::ReadString(HKey root, const std::string& path, const std::string& name,
                               std::string& value) const {
  TViewKey key = Open(root, path, kKeyQueryValue);
  if (!key) return false;
  std::uint32_t type = 0, size = 0;
  if (backend_.QueryValue(key.Get(), name, &type, nullptr, &size) != kErrorSuccess) return false;
  if (type != kRegSz && type != kRegExpandSz) return false;
  std::vector<std::uint8_t> data(size + 1, 0);
  if (backend_.QueryValue(key.Get(), name, &type, data.data(), &size) != kErrorSuccess) return false;
  value.assign(reinterpret_cast<const char*>(data.data()));
  return true;
}

bool TRegistryView::WriteString(HKey root, const std::string& path, const std::string& name,
                                const std::string& value) const {
  TViewKey key = Create(root, path);
  if (!key) return false;
  return backend_.SetValue(key.Get(), name, kRegSz,
                           reinterpret_cast<const std::uint8_t*>(value.c_str()),
                           static_cast<std::uint32_t>(value.size() + 1)) == kErrorSuccess;
}

bool TRegistryView::DeleteValue(HKey root, const std::string& path, const std::string& name) const {
  TViewKey key = Open(root, path, kKeySetValue);
  return key && backend_.DeleteValue(key.Get(), name) == kErrorSuccess;
}

bool TRegistryView::DeleteKey(HKey root, const std::string& path) const {
  return backend_.DeleteKeyInView(root, path, view_) == kErrorSuccess;
}

bool TRegistryView::IsEmpty(HKey root, const std::string& path) const {
  TViewKey key = Open(root, path);
  if (!key) return false;
  TRegKeyInfo info;
  return backend_.QueryInfoKey(key.Get(), info) == kErrorSuccess && info.NumSubKeys == 0 &&
         info.NumValues == 0;
}

}  // namespace orvane
