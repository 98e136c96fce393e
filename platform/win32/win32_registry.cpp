#include "platform/win32/win32_registry.h"

#include <windows.h>

#include <vector>

#include "platform/system_info.h"
#include "platform/win32/system_error.h"

namespace orvane {
namespace {

static_assert(kRegSz == REG_SZ && kRegDword == REG_DWORD && kRegBinary == REG_BINARY);
static_assert(kKeyRead == KEY_READ && kKeyAllAccess == KEY_ALL_ACCESS);
static_assert(kKeyWow64_64Key == KEY_WOW64_64KEY && kKeyWow64_32Key == KEY_WOW64_32KEY);
static_assert(kErrorMoreData == ERROR_MORE_DATA && kErrorNoMoreItems == ERROR_NO_MORE_ITEMS);
static_assert(kErrorKeyDeleted == ERROR_KEY_DELETED && kErrorAccessDenied == ERROR_ACCESS_DENIED);

HKEY ToHkey(HKey key) { return reinterpret_cast<HKEY>(key); }

}  // namespace

ErrorCode TWin32Registry::OpenKey(HKey parent, const std::string& subKey, std::uint32_t access,
                                  HKey& result) {
  HKEY opened = nullptr;
  LONG rc = RegOpenKeyExA(ToHkey(parent), subKey.c_str(), 0, access | view_, &opened);
  if (rc == ERROR_SUCCESS) result = reinterpret_cast<HKey>(opened);
  return static_cast<ErrorCode>(rc);
}

ErrorCode TWin32Registry::CreateKey(HKey parent, const std::string& subKey, std::uint32_t access,
                                    HKey& result) {
  HKEY created = nullptr;
  DWORD disposition = 0;
  LONG rc = RegCreateKeyExA(ToHkey(parent), subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                            access | view_, nullptr, &created, &disposition);
  if (rc == ERROR_SUCCESS) result = reinterpret_cast<HKey>(created);
  return static_cast<ErrorCode>(rc);
}

ErrorCode TWin32Registry::CloseKey(HKey key) {
  return static_cast<ErrorCode>(RegCloseKey(ToHkey(key)));
}

ErrorCode TWin32Registry::QueryValue(HKey key, const std::string& name, std::uint32_t* type,
                                     std::uint8_t* data, std::uint32_t* size) {
  DWORD t = 0, s = size ? *size : 0;
  LONG rc = RegQueryValueExA(ToHkey(key), name.c_str(), nullptr, &t, data, size ? &s : nullptr);
  if (type) *type = t;
  if (size) *size = s;
  return static_cast<ErrorCode>(rc);
}

ErrorCode TWin32Registry::SetValue(HKey key, const std::string& name, std::uint32_t type,
                                   const std::uint8_t* data, std::uint32_t size) {
  return static_cast<ErrorCode>(RegSetValueExA(ToHkey(key), name.c_str(), 0, type, data, size));
}

ErrorCode TWin32Registry::EnumKey(HKey key, std::uint32_t index, std::string& name) {
  char buffer[MAX_PATH + 1];
  DWORD length = sizeof(buffer);
  LONG rc = RegEnumKeyExA(ToHkey(key), index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
  if (rc == ERROR_SUCCESS) name.assign(buffer, length);
  return static_cast<ErrorCode>(rc);
}

ErrorCode TWin32Registry::EnumValue(HKey key, std::uint32_t index, std::string& name) {
  // Value names may be up to 16,383 characters.
  std::vector<char> buffer(16384);
  DWORD length = static_cast<DWORD>(buffer.size());
  LONG rc =
      RegEnumValueA(ToHkey(key), index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
  if (rc == ERROR_SUCCESS) name.assign(buffer.data(), length);
  return static_cast<ErrorCode>(rc);
}

ErrorCode TWin32Registry::QueryInfoKey(HKey key, TRegKeyInfo& info) {
  DWORD subKeys = 0, maxSubKeyLen = 0, values = 0, maxValueLen = 0, maxDataLen = 0;
  FILETIME written{};
  LONG rc = RegQueryInfoKeyA(ToHkey(key), nullptr, nullptr, nullptr, &subKeys, &maxSubKeyLen,
                             nullptr, &values, &maxValueLen, &maxDataLen, nullptr, &written);
  if (rc == ERROR_SUCCESS) {
    info.NumSubKeys = subKeys;
    info.MaxSubKeyLen = maxSubKeyLen;
    info.NumValues = values;
    info.MaxValueLen = maxValueLen;
    info.MaxDataLen = maxDataLen;
    info.FileTime =
        (static_cast<std::uint64_t>(written.dwHighDateTime) << 32) | written.dwLowDateTime;
  }
  return static_cast<ErrorCode>(rc);
}

ErrorCode TWin32Registry::DeleteKey(HKey parent, const std::string& subKey) {
  if (view_ != 0) {
    // Only RegDeleteKeyEx deletes in another view; systems without one have one view.
    using Proc = LONG(WINAPI*)(HKEY, LPCSTR, REGSAM, DWORD);
    HMODULE advapi = GetModuleHandleA("advapi32.dll");
    if (auto proc = advapi ? reinterpret_cast<Proc>(
                                 reinterpret_cast<void*>(GetProcAddress(advapi, "RegDeleteKeyExA")))
                           : nullptr) {
      return static_cast<ErrorCode>(proc(ToHkey(parent), subKey.c_str(), view_, 0));
    }
  }
  return static_cast<ErrorCode>(RegDeleteKeyA(ToHkey(parent), subKey.c_str()));
}

ErrorCode TWin32Registry::DeleteKeyInView(HKey parent, const std::string& subKey,
                                          std::uint32_t view) {
  if (view == 0) return DeleteKey(parent, subKey);
  return static_cast<ErrorCode>(
      RegDeleteKeyExA(ToHkey(parent), subKey.c_str(), view & kKeyWow64Views, 0));
}

ErrorCode TWin32Registry::DeleteValue(HKey key, const std::string& name) {
  return static_cast<ErrorCode>(RegDeleteValueA(ToHkey(key), name.c_str()));
}

ErrorCode TWin32Registry::FlushKey(HKey key) {
  return static_cast<ErrorCode>(RegFlushKey(ToHkey(key)));
}

ErrorCode TWin32Registry::LastError() const { return ::GetLastError(); }

void TWin32Registry::SetLastError(ErrorCode code) { ::SetLastError(code); }

std::string TWin32Registry::ErrorMessage(ErrorCode code) const { return SystemErrorMessage(code); }

IRegistryBackend& DefaultRegistryBackend() {
  static TWin32Registry registry;
  return registry;
}

IRegistryBackend& NativeRegistryBackend() {
  static TWin32Registry registry(IsWindows64() ? KEY_WOW64_64KEY : 0);
  return registry;
}

}  // namespace orvane
