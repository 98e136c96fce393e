// The naming and formatting rules of the system information, on data passed in.
#include "platform/system_info.h"

#include "platform/ansi_case.h"
#include "platform/messages.h"
#include "platform/registry.h"
#include "platform/system_folders.h"

namespace orvane {
namespace {

// A whole decimal number, or 0 for any text that is not one.
std::int32_t DecimalOrZero(const std::string& text) {
  if (text.empty() || text.size() > 9) return 0;
  std::int32_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::string ProgramDirectory() {
  std::string program = ProgramFileName();
  size_t slash = program.find_last_of("\\/:");
  return slash == std::string::npos ? std::string() : program.substr(0, slash + 1);
}

std::string Nt4Or2000Edition(const TOSVersionData& os) {
  const std::uint16_t suite = os.SuiteMask;
  if (os.ProductType == 1) {
    if (os.ProcessorArchitecture == kArchAmd64) return "";
    if (os.MajorVersion == 4) return " Workstation 4.0";
    return (suite & 0x200) ? " Home Edition" : " Professional";
  }
  if (os.ProductType != 2 && os.ProductType != 3) return "";
  if (os.MajorVersion == 5 && os.MinorVersion == 2) {
    if (os.ProcessorArchitecture == kArchIa64) {
      if (suite & 0x80) return " Datacenter Edition for Itanium-based Systems";
      if (suite & 0x2) return " Enterprise Edition for Itanium-based Systems";
      return "";
    }
    if (os.ProcessorArchitecture == kArchAmd64) {
      if (suite & 0x80) return " Datacenter x64 Edition";
      if (suite & 0x2) return " Enterprise x64 Edition";
      return " Standard x64 Edition";
    }
    if (suite & 0x80) return " Datacenter Edition";
    if (suite & 0x2) return " Enterprise Edition";
    if (suite & 0x400) return " Web Edition";
    if (suite & 0x1) return " Small Business Server";
    if (suite & 0x20) return " Small Business Server (Restricted)";
    return " Standard Edition";
  }
  if (os.MajorVersion == 5 && os.MinorVersion == 0) {
    if (suite & 0x80) return " Datacenter Server";
    if (suite & 0x2) return " Advanced Server";
    return " Server";
  }
  if (os.MajorVersion <= 4) return (suite & 0x2) ? " Server 4.0 Enterprise Edition" : " Server 4.0";
  return "";
}

// Names of the NT 6 and 10 generations, which the version numbers tell apart now that
// they are read whatever the manifest declares.
std::string LaterWorkstationName(const TOSVersionData& os) {
  if (os.MajorVersion == 6) {
    static const char* const names[] = {"Windows Vista", "Windows 7", "Windows 8", "Windows 8.1"};
    return os.MinorVersion < 4 ? names[os.MinorVersion] : "Windows";
  }
  if (os.MajorVersion == 10 && os.MinorVersion == 0)
    return os.BuildNumber >= 22000 ? "Windows 11" : "Windows 10";
  return "Windows";
}

std::string LaterServerName(const TOSVersionData& os) {
  if (os.MajorVersion == 6) {
    static const char* const names[] = {"Windows Server 2008", "Windows Server 2008 R2",
                                        "Windows Server 2012", "Windows Server 2012 R2"};
    return os.MinorVersion < 4 ? names[os.MinorVersion] : "Windows Server";
  }
  if (os.MajorVersion == 10 && os.MinorVersion == 0) {
    if (os.BuildNumber >= 26100) return "Windows Server 2025";
    if (os.BuildNumber >= 20348) return "Windows Server 2022";
    if (os.BuildNumber >= 17763) return "Windows Server 2019";
    return "Windows Server 2016";
  }
  return "Windows Server";
}

std::string NtName(const TOSVersionData& os) {
  const auto major = os.MajorVersion;
  const auto minor = os.MinorVersion;
  if (major <= 4) return "Windows NT";
  if (major == 5) {
    if (minor == 0) return "Windows 2000";
    if (minor == 1) return "Windows XP";
    if (minor == 2) {
      if (os.ServerR2) return "Windows Server 2003 R2";
      if (os.ProductType == 1 && os.ProcessorArchitecture == kArchAmd64)
        return "Windows XP Professional x64 Edition";
      return "Server 2003";
    }
    return "Windows";
  }
  return os.ProductType == 1 ? LaterWorkstationName(os) : LaterServerName(os);
}

}  // namespace

IModuleVersions& DefaultModuleVersions() {
  struct TSystemVersions : IModuleVersions {
    TModuleVersion Read(const std::string& file) override { return GetModuleVersion(file); }
  };
  static TSystemVersions versions;
  return versions;
}

std::string GetProgramVersion() { return GetModuleVersion(ProgramFileName()).FileVersion; }

std::string GetShellExtensionVersion() {
  return GetModuleVersion(ProgramDirectory() + "OVShlExt.DLL").FileVersion;
}

std::int32_t DllVersionFromText(const std::string& fileVersion) {
  size_t first = fileVersion.find('.');
  if (first == std::string::npos) return 0;
  size_t second = fileVersion.find('.', first + 1);
  std::int32_t major = DecimalOrZero(fileVersion.substr(0, first));
  std::int32_t minor = DecimalOrZero(fileVersion.substr(
      first + 1, second == std::string::npos ? std::string::npos : second - first - 1));
  return static_cast<std::int32_t>((static_cast<std::uint32_t>(major) << 16) +
                                   static_cast<std::uint32_t>(minor));
}

TOSInfo OSInfoOf(const TOSVersionData& os) {
  TOSInfo info;
  if (!os.Available) return info;
  const char spLetter = os.CSDVersion.size() > 1 ? os.CSDVersion[1] : '\0';
  switch (os.PlatformId) {
    case 0:
      info.Name = "Win32s";
      break;
    case 1:
      if (os.MajorVersion == 4 && os.MinorVersion == 0) {
        info.Name = spLetter == 'C' ? "Windows 95 OSR2" : "Windows 95";
      } else if (os.MajorVersion == 4 && os.MinorVersion == 10) {
        info.Name = spLetter == 'A' ? "Windows 98 SE" : "Windows 98";
      } else if (os.MajorVersion == 4 && os.MinorVersion == 90) {
        info.Name = "Windows Me";
      }
      break;
    case 2:
      info.Name = NtName(os);
      if (os.Extended) {
        info.Name += Nt4Or2000Edition(os);
      } else if (AnsiSameText(os.RegistryProductType, "WINNT")) {
        info.Name += " Professional";
      } else if (AnsiSameText(os.RegistryProductType, "SERVERNT")) {
        info.Name += " Advanced Server";
      } else if (AnsiSameText(os.RegistryProductType, "LANMANNT")) {
        info.Name += " Server";
      }
      break;
    default:
      break;
  }
  // Without a service pack the text would show two spaces before "(Build".
  const std::string servicePack = os.CSDVersion.empty() ? "" : os.CSDVersion + " ";
  info.Version = Format("%d.%d %s(Build %d)", {static_cast<long long>(os.MajorVersion),
                                               static_cast<long long>(os.MinorVersion), servicePack,
                                               static_cast<long long>(os.BuildNumber & 0xFFFF)});
  return info;
}

TOSInfo GetOSInfo() { return OSInfoOf(ReadOSVersionData()); }

bool ReadRegistryVersion(IRegistryBackend& backend, std::uint32_t& major, std::uint32_t& minor,
                         std::uint32_t& build) {
  TRegistry registry(kKeyRead, backend);
  registry.SetRootKey(kHkeyLocalMachine);
  if (!registry.OpenKeyReadOnly("\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion")) return false;
  try {
    std::uint32_t newMajor = 0, newMinor = 0;
    TRegDataInfo info;
    if (registry.GetDataInfo("CurrentMajorVersionNumber", info) && info.RegData == kRegDword &&
        registry.GetDataInfo("CurrentMinorVersionNumber", info) && info.RegData == kRegDword) {
      std::uint32_t type = 0;
      registry.GetData("CurrentMajorVersionNumber", &newMajor, sizeof newMajor, type);
      registry.GetData("CurrentMinorVersionNumber", &newMinor, sizeof newMinor, type);
    } else {
      const std::string version = registry.ReadString("CurrentVersion");
      const size_t dot = version.find('.');
      if (dot == std::string::npos) return false;
      newMajor = static_cast<std::uint32_t>(DecimalOrZero(version.substr(0, dot)));
      newMinor = static_cast<std::uint32_t>(DecimalOrZero(version.substr(dot + 1)));
    }
    const std::int32_t newBuild = DecimalOrZero(registry.ReadString("CurrentBuildNumber"));
    if (newMajor == 0 || newBuild == 0) return false;
    major = newMajor;
    minor = newMinor;
    build = static_cast<std::uint32_t>(newBuild);
    return true;
  } catch (const std::exception&) {
    return false;  // a value of another type
  }
}

bool IsWindows11(const TOSVersionData& os) {
  return os.Available && os.PlatformId == 2 && os.MajorVersion == 10 && os.MinorVersion == 0 &&
         os.BuildNumber >= 22000;
}

std::string MemoryTextOf(std::uint64_t totalBytes, const std::string& thousandSeparator) {
  std::uint64_t megabytes = totalBytes >> 20;
  const std::uint64_t rest = totalBytes & 0xFFFFF;
  if (rest > 0x80000 || (rest == 0x80000 && (megabytes & 1))) ++megabytes;
  std::string digits = megabytes == 0 ? std::string() : std::to_string(megabytes);
  std::string grouped;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += thousandSeparator;
    grouped += digits[i];
  }
  return grouped + " M";
}

bool IsWindows64Architecture(std::uint16_t architecture) {
  return architecture == kArchAmd64 || architecture == kArchIa64;
}

bool IsValidFileName(const std::string& name) {
  return !name.empty() && name.find_first_of("<>\"[]|") == std::string::npos;
}

std::string FileNameWithoutExt(const std::string& path) {
  size_t start = path.find_last_of("\\:");
  std::string name = start == std::string::npos ? path : path.substr(start + 1);
  size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

}  // namespace orvane
