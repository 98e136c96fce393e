#include "platform/registry.h"

#include <algorithm>
#include <vector>

#include "platform/exception.h"
#include "platform/messages.h"
#include "platform/root_keys.h"

namespace orvane {

namespace {
constexpr std::uint32_t kReadOnlyFallback =
    kStandardRightsRead | kKeyQueryValue | kKeyEnumerateSubKeys;
}  // namespace

TRegistry::TRegistry(IRegistryBackend& backend) : backend_(backend) {}

TRegistry::TRegistry(std::uint32_t access, IRegistryBackend& backend)
    : backend_(backend), access_(access) {}

TRegistry::~TRegistry() { CloseKey(); }

void TRegistry::SetRootKey(HKey root) {
  CloseKey();
  rootKey_ = root;
}

HKey TRegistry::BaseKey(bool relative) const {
  return (currentKey_ == 0 || !relative) ? rootKey_ : currentKey_;
}

bool TRegistry::Check(ErrorCode rc) {
  if (rc != kErrorSuccess) backend_.SetLastError(rc);
  return rc == kErrorSuccess;
}

void TRegistry::ChangeKey(HKey key, const std::string& keyPath, bool relative) {
  std::string path = keyPath;
  // A relative path extends the open key's path; no separator after an empty one.
  if (currentKey_ != 0 && relative && !currentPath_.empty()) path = currentPath_ + "\\" + keyPath;
  CloseKey();
  currentKey_ = key;
  currentPath_ = std::move(path);
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) {
  bool relative = IsRelative(key);
  std::string sub = relative ? key : key.substr(1);
  HKey opened = 0;
  bool ok = (!canCreate || sub.empty())
                ? Check(backend_.OpenKey(BaseKey(relative), sub, access_, opened))
                : Check(backend_.CreateKey(BaseKey(relative), sub, access_, opened));
  if (ok) ChangeKey(opened, sub, relative);
  return ok;
}

bool TRegistry::OpenKeyReadOnly(const std::string& key) {
  bool relative = IsRelative(key);
  std::string sub = relative ? key : key.substr(1);
  for (std::uint32_t access : {kKeyRead, kReadOnlyFallback, kKeyQueryValue}) {
    HKey opened = 0;
    const ErrorCode rc = backend_.OpenKey(BaseKey(relative), sub, access, opened);
    if (Check(rc)) {
      ChangeKey(opened, sub, relative);
      return true;
    }
    // Fewer rights only help against a refusal, not against a missing key.
    if (rc != kErrorAccessDenied) break;
  }
  return false;
}

void TRegistry::CloseKey() {
  if (currentKey_ == 0) return;
  if (!lazyWrite_) backend_.FlushKey(currentKey_);
  backend_.CloseKey(currentKey_);
  currentKey_ = 0;
  currentPath_.clear();
}

HKey TRegistry::OpenTemporary(const std::string& key, std::uint32_t access) {
  bool relative = IsRelative(key);
  HKey opened = 0;
  if (!Check(backend_.OpenKey(BaseKey(relative), relative ? key : key.substr(1), access, opened))) {
    return 0;
  }
  return opened;
}

bool TRegistry::KeyExists(const std::string& key) {
  HKey opened = OpenTemporary(key, kReadOnlyFallback);
  if (opened) backend_.CloseKey(opened);
  return opened != 0;
}

bool TRegistry::ValueExists(const std::string& name) {
  TRegDataInfo info;
  return GetDataInfo(name, info);
}

bool TRegistry::DeleteKey(const std::string& key) {
  bool relative = IsRelative(key);
  if (HKey target = OpenTemporary(key, access_)) {
    // Walk the subtree through this object with the target as current key, then put
    // the caller's key back.
    HKey savedKey = currentKey_;
    std::string savedPath = currentPath_;
    currentKey_ = target;
    std::vector<std::string> names;
    GetKeyNames(names);
    for (auto it = names.rbegin(); it != names.rend(); ++it) DeleteKey(*it);
    currentKey_ = savedKey;
    currentPath_ = std::move(savedPath);
    backend_.CloseKey(target);
  }
  return Check(backend_.DeleteKey(BaseKey(relative), relative ? key : key.substr(1)));
}

bool TRegistry::DeleteValue(const std::string& name) {
  return Check(backend_.DeleteValue(currentKey_, name));
}

void TRegistry::GetKeyNames(std::vector<std::string>& list) {
  list.clear();
  std::string name;
  for (std::uint32_t i = 0; backend_.EnumKey(currentKey_, i, name) == kErrorSuccess; ++i) {
    list.push_back(name);
  }
}

void TRegistry::GetValueNames(std::vector<std::string>& list) {
  list.clear();
  std::string name;
  for (std::uint32_t i = 0; backend_.EnumValue(currentKey_, i, name) == kErrorSuccess; ++i) {
    list.push_back(name);
  }
}

bool TRegistry::GetKeyInfo(TRegKeyInfo& info) {
  info = TRegKeyInfo{};
  return Check(backend_.QueryInfoKey(currentKey_, info));
}

bool TRegistry::GetDataInfo(const std::string& name, TRegDataInfo& info) {
  info = TRegDataInfo{};
  return Check(backend_.QueryValue(currentKey_, name, &info.RegData, nullptr, &info.DataSize));
}

std::uint32_t TRegistry::GetData(const std::string& name, void* buffer, std::uint32_t size,
                                 std::uint32_t& type) {
  type = kRegNone;
  if (!Check(backend_.QueryValue(currentKey_, name, &type, static_cast<std::uint8_t*>(buffer),
                                 &size))) {
    throw ERegistryException(FormatRes(msg::SRegGetDataFailed, {name}));
  }
  return size;
}

void TRegistry::PutData(const std::string& name, const void* buffer, std::uint32_t size,
                        std::uint32_t type) {
  if (!Check(backend_.SetValue(currentKey_, name, type, static_cast<const std::uint8_t*>(buffer),
                               size))) {
    throw ERegistryException(FormatRes(msg::SRegSetDataFailed, {name}));
  }
}

std::string TRegistry::ReadString(const std::string& name) {
  std::string text;
  TryReadString(name, text);
  return text;
}

bool TRegistry::TryReadString(const std::string& name, std::string& text) {
  // Most values fit the first buffer, which spares asking for the size first: each
  // question is a trip to the registry. A value that grew meanwhile is asked again.
  text.assign(256, '\0');
  std::uint32_t type = kRegNone;
  std::uint32_t size = static_cast<std::uint32_t>(text.size());
  ErrorCode rc = backend_.QueryValue(currentKey_, name, &type,
                                     reinterpret_cast<std::uint8_t*>(text.data()), &size);
  for (int attempt = 0; rc == kErrorMoreData && attempt < 4; ++attempt) {
    text.assign(size, '\0');
    rc = backend_.QueryValue(currentKey_, name, &type,
                             reinterpret_cast<std::uint8_t*>(text.data()), &size);
  }
  if (rc == kErrorMoreData) throw ERegistryException(FormatRes(msg::SRegGetDataFailed, {name}));
  if (!Check(rc)) {
    text.clear();
    return false;
  }
  if (size == 0) {
    text.clear();
    return true;
  }
  if (type != kRegSz && type != kRegExpandSz) {
    text.clear();
    throw ERegistryException(FormatRes(msg::SInvalidRegType, {name}));
  }
  text.resize(std::min<size_t>(size, text.find('\0')));
  return true;
}

void TRegistry::WriteString(const std::string& name, const std::string& text) {
  PutData(name, text.c_str(), static_cast<std::uint32_t>(text.size() + 1), kRegSz);
}

bool TRegistry::HasSubKeys() {
  TRegKeyInfo info;
  return GetKeyInfo(info) && info.NumSubKeys > 0;
}

void TRegistryEx::OpenKeyReadOnlyOrRaise(TRegistry& registry, const std::string& key) {
  if (!registry.OpenKeyReadOnly(key)) {
    RaiseRegistryError(registry, "opening read-only " + FullKeyName(registry, key));
  }
}

void TRegistryEx::OpenKeyOrRaise(TRegistry& registry, const std::string& key, bool canCreate) {
  if (!registry.OpenKey(key, canCreate)) {
    RaiseRegistryError(registry,
                       (canCreate ? "opening/creating " : "opening ") + FullKeyName(registry, key));
  }
}

void TRegistryEx::DeleteKeyOrRaise(TRegistry& registry, const std::string& key) {
  if (registry.KeyExists(key) && !registry.DeleteKey(key)) {
    RaiseRegistryError(registry, "deleting " + FullKeyName(registry, key));
  }
}

void TRegistryEx::CopyKey(TRegistry& source, const std::string& sourceKey, TRegistry& destination,
                          const std::string& destinationKey) {
  auto absolute = [](const std::string& key) {
    return (!key.empty() && key[0] == '\\') ? key : "\\" + key;
  };
  auto child = [](const std::string& path, const std::string& name) {
    return (!path.empty() && path.back() == '\\') ? path + name : path + "\\" + name;
  };
  const std::string from = absolute(sourceKey);
  const std::string to = absolute(destinationKey);

  OpenKeyOrRaise(source, from, false);
  TRegKeyInfo info;
  if (!source.GetKeyInfo(info)) {
    RaiseRegistryError(source, "getting info on " + FullKeyName(source, from));
  }
  DeleteKeyOrRaise(destination, to);  // replaced, never merged
  OpenKeyOrRaise(destination, to, true);

  std::vector<std::string> names;
  source.GetValueNames(names);
  for (const auto& name : names) {
    auto failure = [&](const char* what) {
      return std::string(what) + " \"" + name + "\" of " + FullKeyName(source, from);
    };
    TRegDataInfo dataInfo;
    if (!source.GetDataInfo(name, dataInfo))
      RaiseRegistryError(source, failure("reading value info"));
    std::vector<std::uint8_t> buffer(dataInfo.DataSize);
    std::uint32_t type;
    if (source.GetData(name, buffer.data(), dataInfo.DataSize, type) != dataInfo.DataSize) {
      RaiseRegistryError(source, failure("reading value data"));
    }
    destination.PutData(name, buffer.data(), dataInfo.DataSize, type);
  }

  source.GetKeyNames(names);
  for (const auto& name : names) CopyKey(source, child(from, name), destination, child(to, name));
}

std::string TRegistryEx::RootKeyName(HKey root) {
  if (const char* name = PredefinedRootName(root)) return name;
  return Format("%.8X", {static_cast<long long>(root)});
}

std::string TRegistryEx::CurrentKeyName(const TRegistry& registry) {
  std::string name = RootKeyName(registry.RootKey());
  if (!registry.CurrentPath().empty()) name += "\\" + registry.CurrentPath();
  return name;
}

std::string TRegistryEx::FullKeyName(const TRegistry& registry, const std::string& key) {
  if (!key.empty() && key[0] == '\\') return RootKeyName(registry.RootKey()) + key;
  std::string name = CurrentKeyName(registry);
  if (!key.empty()) name += "\\" + key;
  return name;
}

void TRegistryEx::RaiseRegistryError(const TRegistry& registry, const std::string& operation) {
  std::string message = LoadResString(msg::SRegistryOperationError);
  if (!operation.empty()) {
    IRegistryBackend& backend = registry.Backend();
    message += FormatRes(msg::SRegistryErrorDetails,
                         {operation, backend.ErrorMessage(backend.LastError())});
  }
  throw Exception(message);
}

}  // namespace orvane
