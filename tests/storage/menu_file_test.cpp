// The menu file: where it lives, and the start-up reader's rules (the system's profile
// functions in the Windows build, the portable reader elsewhere: the same answers).

#include "storage/menu_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "storage/orvane_ini_file.h"
#include "storage/profile_ini_file.h"
#include "storage/storage_errors.h"
#include "tests/support/fake_services.h"

namespace orvane::testing {
namespace {

// The legacy file in the Windows folder only when it exists there, else the program's
// own beside the program (not beside the running module); without a Windows folder
// always the program's own.
TEST(MenuFileLocation, LegacyFileInTheWindowsFolderWinsOnlyWhenItExists) {
  struct Case {
    std::string windowsFolder;
    std::set<std::string> existing;
    std::string expected;
  };
  const Case cases[] = {
      {"C:\\WINDOWS\\", {}, "C:\\Tools\\Orvane.ini"},
      {"C:\\WINDOWS\\", {"C:\\Tools\\Orvane.ini"}, "C:\\Tools\\Orvane.ini"},
      {"C:\\WINDOWS\\", {"C:\\Tools\\OV2001.ini"}, "C:\\Tools\\Orvane.ini"},
      {"C:\\WINDOWS\\",
       {"C:\\WINDOWS\\OV2001.ini", "C:\\Tools\\Orvane.ini"},
       "C:\\WINDOWS\\OV2001.ini"},
      {"", {"OV2001.ini", "C:\\WINDOWS\\OV2001.ini"}, "C:\\Tools\\Orvane.ini"},
  };
  for (const Case& c : cases) {
    TFakeServices fake;
    fake.WindowsFolder = c.windowsFolder;
    fake.ProgramFolder = "C:\\Tools\\";
    fake.ModuleFolder = "C:\\Shell\\";
    fake.FileSystem.Existing = c.existing;
    EXPECT_EQ(MenuFileName(fake.Services()), c.expected) << c.windowsFolder;
  }
}

class ProfileReader : public ::testing::Test {
protected:
  void SetUp() override {
    path_ =
        (std::filesystem::temp_directory_path() /
         ("orvane_profile_" +
          std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".ini"))
            .string();
  }
  void TearDown() override {
    std::error_code error;
    std::filesystem::remove(path_, error);
  }
  void Write(const std::string& text) {
    std::ofstream file(path_, std::ios::binary);
    file << text;
  }
  std::string path_;
};

TEST_F(ProfileReader, QuotesRemovedSemicolonsKeptLongValuesCut) {
  std::string longValue(3000, 'x');
  Write(
      "[Static Items]\r\n"
      "Parameters0=\"%1\"\r\n"
      "Caption0=Open; then close\r\n"
      "Application0=  'C:\\a b\\x.exe'  \r\n"
      "Hint0=\"only left\r\n"
      "Long0=" +
      longValue +
      "\r\n"
      "Count=$10\r\n"
      "[Other]\r\n"
      "Caption0=elsewhere\r\n");
  TProfileIniFile ini(path_);
  EXPECT_EQ(ini.ReadString("Static Items", "Parameters0", ""), "%1");
  EXPECT_EQ(ini.ReadString("static items", "caption0", ""), "Open; then close");
  EXPECT_EQ(ini.ReadString("Static Items", "Application0", ""), "C:\\a b\\x.exe");
  EXPECT_EQ(ini.ReadString("Static Items", "Hint0", ""), "\"only left");
  EXPECT_EQ(ini.ReadString("Static Items", "Long0", ""), longValue.substr(0, 2047));
  EXPECT_EQ(ini.ReadString("Static Items", "Missing", "dflt"), "dflt");
  EXPECT_EQ(ini.ReadInteger("Static Items", "Count", 0), 16);

  TIniStrings keys, sections;
  ini.ReadSection("Static Items", keys);
  EXPECT_EQ(keys,
            (TIniStrings{"Parameters0", "Caption0", "Application0", "Hint0", "Long0", "Count"}));
  ini.ReadSections(sections);
  EXPECT_EQ(sections, (TIniStrings{"Static Items", "Other"}));
  EXPECT_THROW(ini.WriteString("Static Items", "Caption0", "x"), EFileStreamError);
}

// The INI engine used for imports strips comments where the start-up reader keeps them.
TEST_F(ProfileReader, ImportCutsAtSemicolonsWhereStartUpKeepsThem) {
  Write("[Dynamic Items]\r\nCaption1=Open; then close\r\n");
  TProfileIniFile startUp(path_);
  TOrvaneIniFile import(path_, DefaultFileAccess());
  EXPECT_EQ(startUp.ReadString("Dynamic Items", "Caption1", ""), "Open; then close");
  EXPECT_EQ(import.ReadString("Dynamic Items", "Caption1", ""), "Open");
}

TEST_F(ProfileReader, RepeatedSectionAndKeyNames) {
  Write("[S]\r\nA=1\r\n[T]\r\nX=1\r\n[s]\r\nB=2\r\nA=9\r\n");
  TProfileIniFile ini(path_);
  TIniStrings keys, sections;
  ini.ReadSection("S", keys);
  ini.ReadSections(sections);
  // Only the first section of a name is read.
  EXPECT_EQ(ini.ReadString("S", "A", "-"), "1");
  EXPECT_EQ(ini.ReadString("S", "B", "-"), "-");
  EXPECT_EQ(keys, TIniStrings{"A"});
  EXPECT_EQ(sections, (TIniStrings{"S", "T", "s"}));
}

TEST_F(ProfileReader, MissingFileReadsDefaults) {
  TProfileIniFile ini(path_ + ".none");
  EXPECT_EQ(ini.ReadInteger("Static Items", "Count", 0), 0);
  TIniStrings sections;
  ini.ReadSections(sections);
  EXPECT_TRUE(sections.empty());
}

}  // namespace
}  // namespace orvane::testing
