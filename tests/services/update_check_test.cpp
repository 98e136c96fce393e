// The update check over a downloader that answers from a table: which version files
// announce a new version, which report why they could not, and which addresses may reach
// the shell.

#include "services/update_check.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

#include "tests/support/fake_services.h"

namespace orvane::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

class TTableDownloader : public IDownloader {
public:
  std::map<std::string, std::string> Pages;
  std::vector<std::string> Asked;
  std::string DownloadText(const std::string& url) override {
    Asked.push_back(url);
    auto found = Pages.find(url);
    if (found == Pages.end()) throw EOSError("The server name could not be resolved", 12007);
    return found->second;
  }
};

constexpr char kProgram[] = "C:\\Orvane\\orvane.exe";
constexpr char kFile[] = "https://updates.test/versioninfo.txt";

class UpdateCheckTest : public ::testing::Test {
protected:
  void SetUp() override { SetProgramVersion("3.1.11.430"); }
  void SetProgramVersion(const std::string& version) {
    versions.Files[kProgram] = TModuleVersion{true, "Orvane", "Orvane 2008", "Vantrel", version};
  }
  TUpdateCheckResult Check(const std::string& file) {
    downloads.Pages[kFile] = file;
    return CheckForUpdate(versions, downloads, kProgram, kFile);
  }
  TFakeModuleVersions versions;
  TTableDownloader downloads;
};

TEST_F(UpdateCheckTest, OnlyALaterVersionIsAnnounced) {
  struct Case {
    const char* latest;
    bool news;
  } cases[] = {{"3.1.11.431", true}, {"3.2", true},          {"10.0.0.0", true},
               {"3.1.11.430", false}, {"3.1.11.430 ", false}, {"3.1.11.429", false},
               {"3.1.11", false},     {"3.1.11.430.0", false}, {"2.99.99.999", false},
               {"3.1.11.430A", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.latest);
    const TUpdateCheckResult result =
        Check(std::string("LatestVersion=") + c.latest + "\r\nUpdateURL=https://site.test/get\r\n");
    EXPECT_EQ(result.Available, c.news);
    EXPECT_EQ(result.Info, "");
    EXPECT_EQ(result.Version.FileVersion, "3.1.11.430");
    EXPECT_EQ(result.LatestVersion, c.news ? c.latest : "");
    EXPECT_EQ(result.UpdateURL, c.news ? "https://site.test/get" : "");
  }
}

TEST_F(UpdateCheckTest, SameVersionDifferingInLetterCaseIsTheLatest) {
  SetProgramVersion("3.1.11.430b");
  EXPECT_FALSE(Check("LatestVersion=3.1.11.430B\n").Available);
  EXPECT_FALSE(Check("LatestVersion=3.1.11.430B\n").Info.size());
}

TEST_F(UpdateCheckTest, WhatIsNewComesFromTheFileOrTheAddressItNames) {
  downloads.Pages["https://site.test/news"] = "Faster start";
  EXPECT_EQ(Check("LatestVersion=4.0\nNewVersionInfo=Icons for all\nNewVersionInfoURL="
                  "https://site.test/news")
                .Info,
            "Icons for all");
  EXPECT_EQ(Check("LatestVersion=4.0\nNewVersionInfo= \nNewVersionInfoURL= https://site.test/news")
                .Info,
            "Faster start");
  // Neither: the announcement has an empty "What's new".
  TUpdateCheckResult bare = Check("LatestVersion=4.0");
  EXPECT_TRUE(bare.Available);
  EXPECT_EQ(bare.Info, "");
}

TEST_F(UpdateCheckTest, AFailingWhatIsNewPageStillAnnouncesTheVersion) {
  const TUpdateCheckResult result =
      Check("LatestVersion=4.0\nNewVersionInfoURL=https://gone.test/news\n");
  EXPECT_TRUE(result.Available);
  EXPECT_EQ(result.LatestVersion, "4.0");
  EXPECT_EQ(result.Info,
            "Cannot get the information page for the new version at URL "
            "\"https://gone.test/news\".\r\nEOSError: The server name could not be resolved");
}

TEST_F(UpdateCheckTest, AFileWithoutAUsableVersionReportsWhy) {
  for (const char* file : {"", "UpdateURL=https://site.test/\n", "LatestVersion=   \n",
                           "LatestVersionX=4.0\n", "<html>Not found</html>"}) {
    SCOPED_TRACE(file);
    const TUpdateCheckResult result = Check(file);
    EXPECT_FALSE(result.Available);
    EXPECT_EQ(result.LatestVersion, "");
    EXPECT_EQ(result.Info, std::string("Cannot get latest version information at URL \"") + kFile +
                               "\".\r\nEAutoUpdate: Latest version info is inaccessible");
  }
  EXPECT_THAT(Check("LatestVersion=latest\n").Info,
              HasSubstr("EAutoUpdate: The latest version \"latest\" is no version number"));
}

TEST_F(UpdateCheckTest, AFailedDownloadReportsTheSystemsReason) {
  const TUpdateCheckResult result = CheckForUpdate(versions, downloads, kProgram, "https://x.test/");
  EXPECT_FALSE(result.Available);
  EXPECT_EQ(result.Info, "Cannot get latest version information at URL \"https://x.test/\".\r\n"
                         "EOSError: The server name could not be resolved");
}

TEST_F(UpdateCheckTest, AProgramWithoutVersionInformationCannotBeChecked) {
  versions.Files.clear();
  try {
    Check("LatestVersion=4.0");
    FAIL() << "no version, no check";
  } catch (const EAutoUpdateMissing& error) {
    EXPECT_STREQ(error.what(), "Cannot extract version information from \"C:\\Orvane\\orvane.exe\"");
  }
  EXPECT_TRUE(downloads.Asked.empty());
}

TEST(VersionFileTest, NamesAreFoundLineByLineIgnoringCase) {
  const std::string file =
      "; the maker's file\r\nlatestversion=1.2\r\n\r\nUpdateURL=https://a.test/?x=1\n"
      "NewVersionInfo=first\rNewVersionInfo=second\nLatestVersion=9.9\nEmpty=";
  EXPECT_EQ(VersionFileValue(file, "LatestVersion"), "1.2");
  EXPECT_EQ(VersionFileValue(file, "UPDATEURL"), "https://a.test/?x=1");
  EXPECT_EQ(VersionFileValue(file, "NewVersionInfo"), "first");
  EXPECT_EQ(VersionFileValue(file, "Empty"), "");
  EXPECT_EQ(VersionFileValue(file, "Missing"), "");
  // A name is the whole text before the "=", blanks included.
  EXPECT_EQ(VersionFileValue(" LatestVersion=1\nLatestVersion =2\n", "LatestVersion"), "");
  // A "=" of a later line does not make the line before it a pair.
  EXPECT_EQ(VersionFileValue("LatestVersion\nx=1", "LatestVersion"), "");
}

TEST(VersionFileTest, VersionNumbersCompareByTheirParts) {
  std::vector<unsigned long> a, b;
  ASSERT_TRUE(ParseVersionNumbers(" 3.10.0 ", a));
  ASSERT_TRUE(ParseVersionNumbers("3.9.99999", b));
  EXPECT_EQ(CompareVersionNumbers(a, b), 1);
  EXPECT_EQ(CompareVersionNumbers(b, a), -1);
  ASSERT_TRUE(ParseVersionNumbers("99999999999999999999.1", a));
  EXPECT_EQ(a.front(), 0xFFFFFFFFUL);
  EXPECT_FALSE(ParseVersionNumbers("v3.1", a));
  EXPECT_FALSE(ParseVersionNumbers("", a));
  EXPECT_FALSE(ParseVersionNumbers(".1", a));
}

TEST(VersionFileTest, OnlyWebPagesMayReachTheShell) {
  for (const char* url : {"https://www.vantrel.com/orvane/", "http://site.test", "HTTPS://Site.Test/a?b#c"})
    EXPECT_TRUE(IsWebPageAddress(url)) << url;
  for (const char* url :
       {"", "file:///C:/Windows/notepad.exe", "C:\\Windows\\System32\\calc.exe", "calc.exe",
        "https://", "https:///path", "http://site.test/a b", "https://site.test/\"x",
        "ftp://site.test/", "javascript:alert(1)", "https://site.test/\r\nx",
        "https:\\\\site.test", "mailto:a@b.test", "\\\\server\\share\\setup.exe"})
    EXPECT_FALSE(IsWebPageAddress(url)) << url;
}

}  // namespace
}  // namespace orvane::testing
