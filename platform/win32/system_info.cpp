// System facts of the running Windows: version resources, the shell library, the
// version and edition data, memory and the processor architecture.
#include <windows.h>

#include <memory>
#include <vector>

#include "platform/registry.h"
#include "platform/system_info.h"
#include "platform/win32/win32_handles.h"

namespace orvane {
namespace {

template <class Proc>
Proc LookUp(const char* module, const char* name) {
  HMODULE handle = GetModuleHandleA(module);
  return handle ? reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(handle, name)))
                : nullptr;
}

SYSTEM_INFO NativeSystemInfo() {
  SYSTEM_INFO info{};
  using Proc = void(WINAPI*)(LPSYSTEM_INFO);
  if (auto proc = LookUp<Proc>("kernel32.dll", "GetNativeSystemInfo")) {
    proc(&info);
  } else {
    GetSystemInfo(&info);
  }
  return info;
}

std::string QueryVersionString(const std::vector<char>& data, const std::string& path) {
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(data.data(), path.c_str(), &value, &length) || !value || length == 0)
    return std::string();
  return std::string(static_cast<const char*>(value));
}

struct DllVersionInfo {
  DWORD cbSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformID;
};

// The version numbers the system itself holds, whatever the manifest of the running
// program declares.
void ReadTrueVersion(TOSVersionData& data) {
  using Proc = LONG(WINAPI*)(OSVERSIONINFOW*);
  if (auto proc = LookUp<Proc>("ntdll.dll", "RtlGetVersion")) {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (proc(&info) == 0) {
      data.MajorVersion = info.dwMajorVersion;
      data.MinorVersion = info.dwMinorVersion;
      data.BuildNumber = info.dwBuildNumber;
      return;
    }
  }
  ReadRegistryVersion(DefaultRegistryBackend(), data.MajorVersion, data.MinorVersion,
                      data.BuildNumber);
}

}  // namespace

TModuleVersion GetModuleVersion(const std::string& file) {
  TModuleVersion result;
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeA(file.c_str(), &handle);
  if (size == 0) return result;
  std::vector<char> data(size);
  if (!GetFileVersionInfoA(file.c_str(), 0, size, data.data())) return result;
  void* translation = nullptr;
  UINT length = 0;
  result.Valid =
      VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", &translation, &length) != 0 &&
      translation && length >= 4;
  if (!result.Valid) return result;
  const auto* words = static_cast<const WORD*>(translation);
  char prefix[64];
  wsprintfA(prefix, "\\StringFileInfo\\%04x%04x", words[0], words[1]);
  result.FileDescription = QueryVersionString(data, std::string(prefix) + "\\FileDescription");
  result.FileVersion = QueryVersionString(data, std::string(prefix) + "\\FileVersion");
  result.CompanyName = QueryVersionString(data, std::string(prefix) + "\\CompanyName");
  result.ProductName = QueryVersionString(data, std::string(prefix) + "\\ProductName");
  return result;
}

std::int32_t GetDllVersion(const std::string& file) {
  TModuleHandle library(LoadLibraryA(file.c_str()));
  if (library) {
    using Proc = HRESULT(CALLBACK*)(DllVersionInfo*);
    auto proc = reinterpret_cast<Proc>(
        reinterpret_cast<void*>(GetProcAddress(library.get(), "DllGetVersion")));
    if (!proc) return 0;
    DllVersionInfo info{};
    info.cbSize = sizeof info;
    if (proc(&info) < 0) return 0;
    return static_cast<std::int32_t>((info.dwMajorVersion << 16) + (info.dwMinorVersion & 0xFFFF));
  }
  TModuleVersion version = GetModuleVersion(file);
  if (!version.Valid) return 0;
  return DllVersionFromText(version.FileVersion);
}

TOSVersionData ReadOSVersionData() {
  TOSVersionData data;
  OSVERSIONINFOEXA ex{};
  ex.dwOSVersionInfoSize = sizeof ex;
  if (GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&ex))) {
    data.Extended = true;
  } else {
    ex = OSVERSIONINFOEXA{};
    ex.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&ex))) return data;
  }
  data.Available = true;
  data.MajorVersion = ex.dwMajorVersion;
  data.MinorVersion = ex.dwMinorVersion;
  data.BuildNumber = ex.dwBuildNumber;
  data.PlatformId = ex.dwPlatformId;
  data.CSDVersion = ex.szCSDVersion;
  if (data.Extended) {
    data.SuiteMask = ex.wSuiteMask;
    data.ProductType = ex.wProductType;
  }
  if (data.PlatformId == VER_PLATFORM_WIN32_NT) ReadTrueVersion(data);
  data.ProcessorArchitecture = NativeSystemInfo().wProcessorArchitecture;
  data.ServerR2 = GetSystemMetrics(89) != 0;
  if (!data.Extended && data.PlatformId == VER_PLATFORM_WIN32_NT) {
    TRegistry registry(KEY_READ, DefaultRegistryBackend());
    registry.SetRootKey(kHkeyLocalMachine);
    if (registry.OpenKeyReadOnly("\\SYSTEM\\CurrentControlSet\\Control\\ProductOptions")) {
      try {
        data.RegistryProductType = registry.ReadString("ProductType");
      } catch (const std::exception&) {
        data.RegistryProductType.clear();
      }
    }
  }
  return data;
}

std::string GetMemoryText() {
  MEMORYSTATUS status{};
  status.dwLength = sizeof status;
  GlobalMemoryStatus(&status);
  char separator[8] = ",";
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, separator, sizeof separator);
  return MemoryTextOf(status.dwTotalPhys, separator);
}

bool IsWindows64() { return IsWindows64Architecture(NativeSystemInfo().wProcessorArchitecture); }

}  // namespace orvane
