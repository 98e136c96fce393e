#pragma once
// Facts about modules and the machine: version strings of a module file, the shell
// library's version, the operating system's name and edition, the memory size. The
// naming rules work on version data passed in, so that every Windows version can be
// checked anywhere; the readers of the running system are per platform.

#include <cstdint>
#include <string>

#include "platform/registry_backend.h"

namespace orvane {

struct TModuleVersion {
  bool Valid = false;  // the file has version information with a translation table
  std::string FileDescription;
  std::string ProductName;
  std::string CompanyName;
  std::string FileVersion;
};

TModuleVersion GetModuleVersion(const std::string& file);

// The version information of module files, passed in where the model shows it.
class IModuleVersions {
public:
  virtual ~IModuleVersions() = default;
  virtual TModuleVersion Read(const std::string& file) = 0;
};
// GetModuleVersion of the running system (nothing on other systems).
IModuleVersions& DefaultModuleVersions();
// FileVersion of the program file.
std::string GetProgramVersion();
// FileVersion of the shell extension module in the program's directory.
std::string GetShellExtensionVersion();
// Major << 16 | minor of a library (DllGetVersion, else its file version); 0 unknown.
std::int32_t GetDllVersion(const std::string& file);
// Major << 16 | minor read from a version text such as "6.00.2900.2180"; 0 when the
// text has no ".".
std::int32_t DllVersionFromText(const std::string& fileVersion);

inline constexpr std::uint16_t kArchIntel = 0;
inline constexpr std::uint16_t kArchIa64 = 6;
inline constexpr std::uint16_t kArchAmd64 = 9;

// What the system reports of its version, as GetVersionExA, the native system
// information, GetSystemMetrics(SM_SERVERR2) and the ProductOptions key give it.
struct TOSVersionData {
  bool Available = false;  // at least the plain version query succeeded
  bool Extended = false;   // the extended query succeeded
  std::uint32_t MajorVersion = 0;
  std::uint32_t MinorVersion = 0;
  std::uint32_t BuildNumber = 0;
  std::uint32_t PlatformId = 0;  // 0 Win32s, 1 Windows 95 family, 2 NT
  std::string CSDVersion;        // service pack text
  std::uint16_t SuiteMask = 0;
  std::uint8_t ProductType = 0;  // 1 workstation, 2 domain controller, 3 server
  std::uint16_t ProcessorArchitecture = kArchIntel;
  bool ServerR2 = false;
  // ProductOptions\ProductType, read only when the extended query failed on NT.
  std::string RegistryProductType;
};

struct TOSInfo {
  std::string Name = "unknown";
  std::string Version = "unknown";
};

// On NT the version numbers are the system's own (ntdll's RtlGetVersion, else the
// CurrentVersion key): GetVersionEx reports Windows 8 to a program whose manifest does not
// name later systems, and a manifest can be lost when the program is repackaged.
TOSVersionData ReadOSVersionData();
TOSInfo OSInfoOf(const TOSVersionData& data);

// The version that HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion
// names: CurrentMajorVersionNumber and CurrentMinorVersionNumber (Windows 10 and later),
// else CurrentVersion ("6.1"), and CurrentBuildNumber. False, with nothing changed, when
// one of them is missing or no number.
bool ReadRegistryVersion(IRegistryBackend& registry, std::uint32_t& major, std::uint32_t& minor,
                         std::uint32_t& build);

// Windows 11: NT 10.0, build 22000 or later, whose file manager shows the classic context
// menu only behind "Show more options".
bool IsWindows11(const TOSVersionData& os);
TOSInfo GetOSInfo();

// Physical memory in megabytes, e.g. "3,072 M".
std::string GetMemoryText();
std::string MemoryTextOf(std::uint64_t totalBytes, const std::string& thousandSeparator);

// The native processor architecture is 64-bit (AMD64 or IA64).
bool IsWindows64();
bool IsWindows64Architecture(std::uint16_t architecture);

// Not empty and none of <>"[]|.
bool IsValidFileName(const std::string& name);
// The part after the last "\" or ":" without the text from its last "." on.
std::string FileNameWithoutExt(const std::string& path);

}  // namespace orvane
