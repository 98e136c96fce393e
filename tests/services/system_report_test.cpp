// The system information report: its lines in order, the 64-bit twin's line only where
// there is one, file contents with CR LF line ends, files that cannot be read, and texts
// holding "%" that must not be taken for placeholders.

#include <gtest/gtest.h>

#include "services/system_report.h"
#include "tests/support/fake_services.h"

namespace orvane::testing {
namespace {

TSystemReportFacts SampleFacts() {
  TSystemReportFacts facts;
  facts.ProgramVersion = "2008.0.0.0";
  facts.ModuleVersion = "2008.0.0.1";
  facts.OS = TOSInfo{"Windows XP Professional", "5.1.2600 Service Pack 3"};
  facts.ShellVersion = (6 << 16) | 1;
  facts.MemoryText = "3,072 M";
  facts.FileTypeCount = 1234;
  facts.ModuleRegistered = true;
  facts.Faults = {"first fault", "second fault"};
  facts.MenuFileText = "[Orvane]\r\nTop=1\r\n";
  facts.LogText = "";
  return facts;
}

TEST(SystemReportTest, NamesEveryFactInItsLine) {
  EXPECT_EQ(FormatSystemReport(SampleFacts()),
            "*** automatically generated system information report ***\r\n"
            "Orvane 2008\r\n"
            "Version: 2008.0.0.0\r\n"
            "Shell extension module version: 2008.0.0.1\r\n"
            "OS: Windows XP Professional\r\n"
            "OS version: 5.1.2600 Service Pack 3\r\n"
            "Shell library version: 6.1\r\n"
            "Memory available: 3,072 M\r\n"
            "File types registered: 1234\r\n"
            "Shell extension registered: -1\r\n"
            "Invalid file types: 2\r\n"
            "Invalid file types details:\r\n***\r\nfirst fault\r\nsecond fault\r\n\r\n***\r\n"
            "Contents of .ini file:\r\n***\r\n[Orvane]\r\nTop=1\r\n\r\n***\r\n"
            "Contents of log file:\r\n***\r\n\r\n***\r\n"
            "*** end of report ***\r\n");
}

TEST(SystemReportTest, TheTwinsLineOnlyWhereThereIsOneAndNotRegisteredIsZero) {
  TSystemReportFacts facts = SampleFacts();
  facts.ModuleRegistered = false;
  EXPECT_EQ(FormatSystemReport(facts).find("(64-bit)"), std::string::npos);
  EXPECT_NE(FormatSystemReport(facts).find("Shell extension registered: 0\r\n"),
            std::string::npos);
  facts.Module64Version = "2008.0.0.2";
  EXPECT_NE(FormatSystemReport(facts).find(
                "Shell extension module version: 2008.0.0.1\r\n"
                "Shell extension module version (64-bit): 2008.0.0.2\r\nOS: "),
            std::string::npos);
}

TEST(SystemReportTest, PercentSignsInFilesAndFaultsStayAsWritten) {
  TSystemReportFacts facts = SampleFacts();
  facts.Faults = {"%s %d %x"};
  facts.MenuFileText = "Caption=100%s\r\n";
  const std::string report = FormatSystemReport(facts);
  EXPECT_NE(report.find("***\r\n%s %d %x\r\n"), std::string::npos);
  EXPECT_NE(report.find("Caption=100%s\r\n"), std::string::npos);
  EXPECT_NE(report.find("*** end of report ***"), std::string::npos);
}

TEST(SystemReportTest, EveryLineEndsInCrLfWhateverEndedItBefore) {
  EXPECT_EQ(WithCrLfLines(""), "");
  EXPECT_EQ(WithCrLfLines("a"), "a\r\n");
  EXPECT_EQ(WithCrLfLines("a\nb\r\nc\rd\r\n"), "a\r\nb\r\nc\r\nd\r\n");
  EXPECT_EQ(WithCrLfLines("a\n\nb"), "a\r\n\r\nb\r\n");
}

TEST(SystemReportTest, BuildReadsVersionsBesideTheProgramAndTheFiles) {
  TFakeServices fake;
  const std::string folder = fake.ProgramFolder;
  fake.Versions.Files[folder + "orvane.exe"] = TModuleVersion{true, "", "", "", "2008.1.2.3"};
  fake.Versions.Files[folder + "x64\\OVShlExt.DLL"] =
      TModuleVersion{true, "", "", "", "2008.0.0.64"};
  fake.Files.Files[folder + "Orvane.ini"] = "[Dynamic Items]\nCount=0";
  fake.Files.Files[folder + "log.txt"] = "line one\r\nline two";
  TSystemReportSources sources;
  sources.ProgramFile = folder + "orvane.exe";
  sources.MenuFile = folder + "Orvane.ini";
  sources.FileTypeCount = 7;
  sources.Windows64 = true;
  sources.ShellVersion = (5 << 16) | 50;
  const std::string report = BuildSystemReport(fake.Services(), sources);
  EXPECT_NE(report.find("Version: 2008.1.2.3\r\n"), std::string::npos);
  EXPECT_NE(report.find("Shell extension module version: not found\r\n"), std::string::npos);
  EXPECT_NE(report.find("(64-bit): 2008.0.0.64\r\n"), std::string::npos);
  EXPECT_NE(report.find("Shell library version: 5.50\r\n"), std::string::npos);
  EXPECT_NE(report.find("File types registered: 7\r\n"), std::string::npos);
  EXPECT_NE(report.find("***\r\n[Dynamic Items]\r\nCount=0\r\n\r\n***"), std::string::npos);
  EXPECT_NE(report.find("***\r\nline one\r\nline two\r\n\r\n***"), std::string::npos);
}

TEST(SystemReportTest, UnreadableFilesLeaveTheirPartsEmpty) {
  TFakeServices fake;
  fake.Files.Files[fake.ProgramFolder + "Orvane.ini"] = "[Orvane]";
  fake.Files.FailReads = true;
  TSystemReportSources sources;
  sources.ProgramFile = fake.ProgramFolder + "orvane.exe";
  sources.MenuFile = fake.ProgramFolder + "Orvane.ini";
  const std::string report = BuildSystemReport(fake.Services(), sources);
  EXPECT_NE(report.find("Contents of .ini file:\r\n***\r\n\r\n***\r\n"
                        "Contents of log file:\r\n***\r\n\r\n***\r\n*** end of report ***\r\n"),
            std::string::npos);
}

}  // namespace
}  // namespace orvane::testing
