// The version the program acts on: Windows 11 recognised by its build, and the version
// numbers read where the system keeps them, whatever the program's manifest declares.

#ifdef _WIN32
#include <windows.h>
#endif

#include <gtest/gtest.h>

#include "platform/memory_registry.h"
#include "platform/reg_text.h"
#include "platform/registry.h"
#include "platform/system_info.h"
#ifdef _WIN32
#include "tests/support/child_process.h"
#endif

namespace orvane {
namespace {

TEST(WindowsVersion, Windows11IsNt10WithBuild22000OrLater) {
  struct Case {
    std::uint32_t platform, major, minor, build;
    bool windows11;
  } cases[] = {
      {2, 10, 0, 22000, true},  {2, 10, 0, 26100, true}, {2, 10, 0, 21999, false},
      {2, 10, 0, 19045, false}, {2, 6, 3, 22000, false}, {2, 6, 2, 9200, false},
      {1, 10, 0, 22000, false},  // not NT
  };
  for (const Case& c : cases) {
    TOSVersionData os;
    os.Available = true;
    os.PlatformId = c.platform;
    os.MajorVersion = c.major;
    os.MinorVersion = c.minor;
    os.BuildNumber = c.build;
    EXPECT_EQ(IsWindows11(os), c.windows11) << c.major << "." << c.minor << "." << c.build;
  }
  EXPECT_FALSE(IsWindows11(TOSVersionData{}));  // nothing known
}

// With the true version numbers the error report names the system that is really there.
TEST(WindowsVersion, NamesOfTheLaterGenerations) {
  struct Case {
    std::uint32_t major, minor, build;
    std::uint8_t productType;
    const char* name;
  } cases[] = {
      {6, 1, 7601, 1, "Windows 7 Professional"},    {6, 2, 9200, 1, "Windows 8 Professional"},
      {6, 3, 9600, 1, "Windows 8.1 Professional"},  {10, 0, 19045, 1, "Windows 10 Professional"},
      {10, 0, 22000, 1, "Windows 11 Professional"}, {6, 4, 9841, 1, "Windows Professional"},
      {11, 0, 30000, 1, "Windows Professional"},    {6, 1, 7601, 3, "Windows Server 2008 R2"},
      {6, 3, 9600, 3, "Windows Server 2012 R2"},    {10, 0, 14393, 3, "Windows Server 2016"},
      {10, 0, 17763, 2, "Windows Server 2019"},     {10, 0, 20348, 3, "Windows Server 2022"},
      {10, 0, 26100, 3, "Windows Server 2025"},
  };
  for (const Case& c : cases) {
    TOSVersionData os;
    os.Available = os.Extended = true;
    os.PlatformId = 2;
    os.MajorVersion = c.major;
    os.MinorVersion = c.minor;
    os.BuildNumber = c.build;
    os.ProductType = c.productType;
    EXPECT_EQ(OSInfoOf(os).Name, c.name) << c.major << "." << c.minor << "." << c.build;
  }
}

TEST(WindowsVersion, RegistryVersionOfEachGeneration) {
  const std::string key = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion]\n";
  struct Case {
    const char* values;
    bool read;
    std::uint32_t major, minor, build;
  } cases[] = {
      // Windows 10 and 11 keep "6.3" in CurrentVersion for old readers.
      {"\"CurrentVersion\"=\"6.3\"\n\"CurrentMajorVersionNumber\"=dword:0000000a\n"
       "\"CurrentMinorVersionNumber\"=dword:00000000\n\"CurrentBuildNumber\"=\"22631\"\n",
       true, 10, 0, 22631},
      {"\"CurrentVersion\"=\"6.1\"\n\"CurrentBuildNumber\"=\"7601\"\n", true, 6, 1, 7601},
      {"\"CurrentVersion\"=\"6.1\"\n", false, 0, 0, 0},
      {"\"CurrentVersion\"=\"six\"\n\"CurrentBuildNumber\"=\"7601\"\n", false, 0, 0, 0},
      {"\"CurrentVersion\"=\"6.3\"\n\"CurrentMajorVersionNumber\"=\"10\"\n"
       "\"CurrentBuildNumber\"=\"9600\"\n",
       true, 6, 3, 9600},  // a number of the wrong type is not taken
      {"\"CurrentVersion\"=\"6.1\"\n\"CurrentBuildNumber\"=dword:00001db1\n", false, 0, 0, 0},
  };
  for (const Case& c : cases) {
    TMemoryRegistry registry;
    ImportRegText(registry, "REGEDIT4\n\n" + key + c.values);
    std::uint32_t major = 1, minor = 2, build = 3;
    EXPECT_EQ(ReadRegistryVersion(registry, major, minor, build), c.read) << c.values;
    if (c.read) {
      EXPECT_EQ(major, c.major) << c.values;
      EXPECT_EQ(minor, c.minor) << c.values;
      EXPECT_EQ(build, c.build) << c.values;
    } else {
      EXPECT_TRUE(major == 1 && minor == 2 && build == 3) << "changed although unread";
    }
  }
  TMemoryRegistry empty;
  std::uint32_t major = 0, minor = 0, build = 0;
  EXPECT_FALSE(ReadRegistryVersion(empty, major, minor, build));
}

#ifdef _WIN32
// Wine reports the version configured for a program under AppDefaults; set to Windows 10,
// GetVersionEx answers 6.2 to a program without a manifest, as Windows does.
TEST(WindowsVersion, ProgramWithoutManifestReadsTheTrueVersion) {
  if (!GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version")) {
    GTEST_SKIP() << "the version is set through Wine's own settings";
  }
  const std::string appKey = "\\Software\\Wine\\AppDefaults\\os_version_probe.exe";
  {
    TRegistry registry(DefaultRegistryBackend());
    ASSERT_TRUE(registry.OpenKey(appKey, true));
    registry.WriteString("Version", "win10");
  }
  std::string command = "\"Z:" ORVANE_VERSION_PROBE "\"";
  for (char& c : command) {
    if (c == '/') c = '\\';
  }
  const std::optional<DWORD> ended = testing::RunToEnd(command, INFINITE);
  TRegistry(DefaultRegistryBackend()).DeleteKey(appKey);
  ASSERT_TRUE(ended);
  const DWORD code = *ended;
  const DWORD reported = code & 0xFFFF;
  const DWORD truth = code >> 16;
  EXPECT_EQ(reported, 0x0602u) << "GetVersionEx was not capped; the probe proves nothing";
  EXPECT_EQ(truth, 0x0A00u) << std::hex << truth;
}
#endif

}  // namespace
}  // namespace orvane
