#include "platform/system_info.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/system_folders.h"

namespace orvane {
namespace {

TOSVersionData Nt(std::uint32_t major, std::uint32_t minor, std::uint8_t productType,
                  std::uint16_t suite = 0, std::uint16_t arch = kArchIntel) {
  TOSVersionData os;
  os.Available = true;
  os.Extended = true;
  os.PlatformId = 2;
  os.MajorVersion = major;
  os.MinorVersion = minor;
  os.BuildNumber = 0x0A280000u + 2600;
  os.CSDVersion = "Service Pack 2";
  os.ProductType = productType;
  os.SuiteMask = suite;
  os.ProcessorArchitecture = arch;
  return os;
}

TOSVersionData Win9x(std::uint32_t minor, const std::string& csd) {
  TOSVersionData os;
  os.Available = true;
  os.PlatformId = 1;
  os.MajorVersion = 4;
  os.MinorVersion = minor;
  os.BuildNumber = 1998;
  os.CSDVersion = csd;
  return os;
}

std::string NameOf(const TOSVersionData& os) { return OSInfoOf(os).Name; }

TEST(OSInfo, Windows9xFamily) {
  EXPECT_EQ(NameOf(Win9x(0, "")), "Windows 95");
  EXPECT_EQ(NameOf(Win9x(0, " C")), "Windows 95 OSR2");
  EXPECT_EQ(NameOf(Win9x(0, " B")), "Windows 95");
  EXPECT_EQ(NameOf(Win9x(10, " A ")), "Windows 98 SE");
  EXPECT_EQ(NameOf(Win9x(10, "")), "Windows 98");
  EXPECT_EQ(NameOf(Win9x(90, "")), "Windows Me");
  EXPECT_EQ(NameOf(Win9x(50, "")), "unknown");
  TOSVersionData win32s = Win9x(0, "");
  win32s.PlatformId = 0;
  EXPECT_EQ(NameOf(win32s), "Win32s");
}

TEST(OSInfo, WorkstationsByVersionAndSuite) {
  EXPECT_EQ(NameOf(Nt(4, 0, 1)), "Windows NT Workstation 4.0");
  EXPECT_EQ(NameOf(Nt(5, 0, 1)), "Windows 2000 Professional");
  EXPECT_EQ(NameOf(Nt(5, 1, 1, 0x200)), "Windows XP Home Edition");
  EXPECT_EQ(NameOf(Nt(5, 1, 1)), "Windows XP Professional");
  EXPECT_EQ(NameOf(Nt(5, 2, 1, 0, kArchAmd64)), "Windows XP Professional x64 Edition");
  EXPECT_EQ(NameOf(Nt(6, 0, 1)), "Windows Vista Professional");
  EXPECT_EQ(NameOf(Nt(6, 0, 1, 0x200)), "Windows Vista Home Edition");
  EXPECT_EQ(NameOf(Nt(5, 3, 1)), "Windows Professional");
}

TEST(OSInfo, ServersByVersionArchitectureAndSuite) {
  EXPECT_EQ(NameOf(Nt(4, 0, 3)), "Windows NT Server 4.0");
  EXPECT_EQ(NameOf(Nt(4, 0, 2, 0x2)), "Windows NT Server 4.0 Enterprise Edition");
  EXPECT_EQ(NameOf(Nt(5, 0, 3)), "Windows 2000 Server");
  EXPECT_EQ(NameOf(Nt(5, 0, 3, 0x82)), "Windows 2000 Datacenter Server");
  EXPECT_EQ(NameOf(Nt(5, 0, 2, 0x2)), "Windows 2000 Advanced Server");
  EXPECT_EQ(NameOf(Nt(5, 2, 3)), "Server 2003 Standard Edition");
  EXPECT_EQ(NameOf(Nt(5, 2, 3, 0x2 | 0x400)), "Server 2003 Enterprise Edition");
  EXPECT_EQ(NameOf(Nt(5, 2, 3, 0x400)), "Server 2003 Web Edition");
  EXPECT_EQ(NameOf(Nt(5, 2, 3, 0x1)), "Server 2003 Small Business Server");
  EXPECT_EQ(NameOf(Nt(5, 2, 3, 0x20)), "Server 2003 Small Business Server (Restricted)");
  EXPECT_EQ(NameOf(Nt(5, 2, 3, 0x80, kArchIa64)),
            "Server 2003 Datacenter Edition for Itanium-based Systems");
  EXPECT_EQ(NameOf(Nt(5, 2, 3, 0x2, kArchIa64)),
            "Server 2003 Enterprise Edition for Itanium-based Systems");
  EXPECT_EQ(NameOf(Nt(5, 2, 3, 0, kArchIa64)), "Server 2003");
  EXPECT_EQ(NameOf(Nt(5, 2, 3, 0, kArchAmd64)), "Server 2003 Standard x64 Edition");
  EXPECT_EQ(NameOf(Nt(5, 2, 2, 0x80, kArchAmd64)), "Server 2003 Datacenter x64 Edition");
  TOSVersionData r2 = Nt(5, 2, 3, 0x2);
  r2.ServerR2 = true;
  EXPECT_EQ(NameOf(r2), "Windows Server 2003 R2 Enterprise Edition");
  EXPECT_EQ(NameOf(Nt(6, 0, 3)), "Windows Server 2008");
}

TEST(OSInfo, PlainVersionQueryFallsBackToTheRegistryProductType) {
  TOSVersionData os = Nt(4, 0, 0);
  os.Extended = false;
  os.RegistryProductType = "lanmannt";
  EXPECT_EQ(NameOf(os), "Windows NT Server");
  os.RegistryProductType = "WinNT";
  EXPECT_EQ(NameOf(os), "Windows NT Professional");
  os.RegistryProductType = "SERVERNT";
  EXPECT_EQ(NameOf(os), "Windows NT Advanced Server");
  os.RegistryProductType = "";
  EXPECT_EQ(NameOf(os), "Windows NT");
}

TEST(OSInfo, VersionText) {
  EXPECT_EQ(OSInfoOf(Nt(5, 1, 1)).Version, "5.1 Service Pack 2 (Build 2600)");
  TOSVersionData plain = Nt(6, 0, 1);
  plain.CSDVersion = "";
  plain.BuildNumber = 6000;
  EXPECT_EQ(OSInfoOf(plain).Version, "6.0 (Build 6000)");
  TOSInfo none = OSInfoOf(TOSVersionData{});
  EXPECT_EQ(none.Name, "unknown");
  EXPECT_EQ(none.Version, "unknown");
}

TEST(MemoryText, RoundsHalfToEvenAndGroupsThousands) {
  EXPECT_EQ(MemoryTextOf(536870912ull, ","), "512 M");
  EXPECT_EQ(MemoryTextOf(3221225472ull, ","), "3,072 M");
  EXPECT_EQ(MemoryTextOf(3221225472ull, "."), "3.072 M");
  EXPECT_EQ(MemoryTextOf(1048576ull * 2 + 524288, ","), "2 M");  // 2.5 -> 2
  EXPECT_EQ(MemoryTextOf(1048576ull * 3 + 524288, ","), "4 M");  // 3.5 -> 4
  EXPECT_EQ(MemoryTextOf(1048576ull * 3 + 524289, ","), "4 M");
  EXPECT_EQ(MemoryTextOf(1048576ull * 1234567, ","), "1,234,567 M");
}

TEST(DllVersion, FromVersionText) {
  EXPECT_EQ(DllVersionFromText("6.00.2900.2180"), 0x60000);
  EXPECT_EQ(DllVersionFromText("4.71"), 0x40047);
  EXPECT_EQ(DllVersionFromText("5.x.1"), 0x50000);
  EXPECT_EQ(DllVersionFromText("6"), 0);
  EXPECT_EQ(DllVersionFromText(""), 0);
}

TEST(FileNames, ValidityAndNameWithoutExtension) {
  EXPECT_TRUE(IsValidFileName("menu.ini"));
  EXPECT_FALSE(IsValidFileName("a|b"));
  EXPECT_FALSE(IsValidFileName(""));
  EXPECT_FALSE(IsValidFileName("[x]"));
  EXPECT_EQ(FileNameWithoutExt("C:\\dir.d\\file.tar.gz"), "file.tar");
  EXPECT_EQ(FileNameWithoutExt("C:name.ext"), "name");
  EXPECT_EQ(FileNameWithoutExt("C:\\dir.d\\noext"), "noext");
  EXPECT_FALSE(IsWindows64Architecture(12));  // ARM64 is neither AMD64 nor IA64
  EXPECT_TRUE(IsWindows64Architecture(kArchIa64));
}

// The folders name real places: the running test program lies in its folder, and the
// system's own library in the Windows folder (none without Windows).
TEST(SystemFolders, NameTheFoldersTheFilesAreIn) {
  const std::string program = ProgramFileName();
  const std::string folder = ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(program.rfind(folder, 0), 0u) << program;
  EXPECT_EQ(program.find_first_of("\\/", folder.size()), std::string::npos) << program;
  EXPECT_TRUE(std::filesystem::is_regular_file(program)) << program;
#ifdef _WIN32
  EXPECT_TRUE(std::filesystem::is_regular_file(WindowsFolder() + "system32\\kernel32.dll"))
      << WindowsFolder();
#else
  EXPECT_EQ(WindowsFolder(), "");
#endif
}

TEST(SystemInfo, RunningSystemAnswers) {
  EXPECT_NE(GetMemoryText().find(" M"), std::string::npos);
#ifdef _WIN32
  TOSInfo os = GetOSInfo();
  EXPECT_NE(os.Name, "unknown");
  EXPECT_NE(os.Version.find("(Build "), std::string::npos);
  EXPECT_GE(GetDllVersion("shell32.dll"), 0x40047);
  EXPECT_EQ(GetDllVersion("kernel32.dll"), 0);  // no DllGetVersion
  TModuleVersion shell = GetModuleVersion("C:\\windows\\system32\\shell32.dll");
  EXPECT_TRUE(shell.Valid);
  EXPECT_FALSE(shell.FileVersion.empty());
  EXPECT_FALSE(GetModuleVersion("C:\\no\\such.dll").Valid);
#endif
}

}  // namespace
}  // namespace orvane
