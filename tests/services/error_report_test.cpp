// The error report's decisions: which exceptions count, the throttle in a storm and across
// the tick counter's wrap, the dump's names and text, the unhandled message's period and
// details, the program's own symbol table, and the mail with the files that are there.

#include <gtest/gtest.h>

#include "services/error_report.h"
#include "tests/support/fake_services.h"

namespace orvane::testing {
namespace {

TEST(ErrorReportTest, FaultsAreTheListedClassesAndCodesOnly) {
  EXPECT_TRUE(IsWatchedClass("EOSError"));
  EXPECT_TRUE(IsWatchedClass("EOutOfMemory"));
  EXPECT_FALSE(IsWatchedClass("ERegistryException"));
  EXPECT_FALSE(IsWatchedClass("eoserror"));
  EXPECT_TRUE(IsWatchedCode(0xC0000005));
  EXPECT_TRUE(IsWatchedCode(0xC0000093));
  EXPECT_TRUE(IsWatchedCode(0x80000001));
  EXPECT_FALSE(IsWatchedCode(kGccExceptionCode));
  EXPECT_FALSE(IsWatchedCode(0x40010006));  // OutputDebugString's own
}

TEST(ErrorReportTest, AStormIsHeldBackUntilItPauses) {
  TExceptionThrottle throttle;
  // The first one passes even right after the system's start.
  EXPECT_TRUE(throttle.Pass(100));
  EXPECT_FALSE(throttle.Pass(300));
  // Each held-back one moves the mark on, so a steady storm stays held back.
  EXPECT_FALSE(throttle.Pass(700));
  EXPECT_FALSE(throttle.Pass(1100));
  EXPECT_FALSE(throttle.Pass(1600));  // exactly 500 is not more
  EXPECT_TRUE(throttle.Pass(2101));
}

TEST(ErrorReportTest, TheDistanceCountsFromTheEndOfASlowDump) {
  TExceptionThrottle throttle;
  EXPECT_TRUE(throttle.Pass(1000));
  throttle.Handled(4000);  // the first dump took three seconds
  EXPECT_FALSE(throttle.Pass(4001));
  EXPECT_TRUE(throttle.Pass(4600));
}

TEST(ErrorReportTest, TheThrottleMeasuresAcrossTheCountersWrap) {
  TExceptionThrottle throttle;
  EXPECT_TRUE(throttle.Pass(0xFFFFFF00u));
  EXPECT_FALSE(throttle.Pass(0x00000010u));  // 272 ms later
  EXPECT_TRUE(throttle.Pass(0x00000300u));
}

TEST(ErrorReportTest, DumpNamesCarryTheProgramsNameAndTheTimeToTheMillisecond) {
  EXPECT_EQ(DumpFileName("C:\\Program Files\\Orvane\\orvane.exe", {2008, 3, 7, 9, 5, 2, 45}),
            "orvane080307090502045.dmp");
  EXPECT_EQ(DumpFileName("orvane.exe", {2031, 12, 31, 23, 59, 59, 999}),
            "orvane311231235959999.dmp");
}

TEST(ErrorReportTest, TheDumpTextNamesTheExceptionTheResultAndTheStack) {
  TclStackFrames frames = {{"C:\\Orvane\\orvane.exe", 0x400000, 0x401234, "Crash()"},
                           {"C:\\windows\\system32\\user32.dll", 0x7e000000, 0x7e001000, ""}};
  EXPECT_EQ(DumpText({TExceptionKind::System, 0xC0000005, "", ""}, 0, frames),
            "Code: C0000005\r\nSystem exception\r\n\r\nMiniDumpWriteDump result: 00000000\r\n"
            "\r\n------------\r\n401234: orvane.exe - Crash()\r\n"
            "7e001000: user32.dll - \r\n------------\r\n");
  EXPECT_EQ(DumpText({TExceptionKind::Language, 0, "EOSError", "No disk"}, 0x70, {}),
            "EOSError: No disk\r\nLanguage exception\r\n\r\nMiniDumpWriteDump result: "
            "00000070\r\n");
}

TEST(ErrorReportTest, TheUnhandledMessageEndsItsSentenceOnce) {
  auto first = [](const std::string& message) {
    const std::string text = UnhandledMessage("EOSError", message, "", "", {});
    return text.substr(0, text.find("\r\n"));
  };
  EXPECT_EQ(first("Disk full"), "Disk full.");
  EXPECT_EQ(first("Disk full."), "Disk full.");
  EXPECT_EQ(first("Disk full (drive C)"), "Disk full (drive C)");  // ")" sorts before "."
  EXPECT_EQ(first("Disk full!"), "Disk full!");
  EXPECT_EQ(UnhandledMessage("E", "", "", "", {}).substr(0, 4), "\r\n\r\n");
}

TEST(ErrorReportTest, TheUnhandledMessageNamesTheDumpAndTheStack) {
  const std::string text = UnhandledMessage(
      "ERegistryException", "Registry operation error", "C:\\Orvane\\Logs\\orvane1.dmp",
      "C:\\Orvane\\Logs\\", {{"C:\\Orvane\\orvane.exe", 0x400000, 0x40abcd, "orvane::Save()"}});
  EXPECT_EQ(text,
            "Registry operation error.\r\n\r\nInternal Application Problem\r\n"
            "We are sorry for inconvenience, but the application has encountered an unexpected "
            "error.\r\nThe following details are the part of the event:\r\n"
            "ERegistryException: Registry operation error\r\n\r\norvane1.dmp\r\n"
            "40abcd: orvane.exe - orvane::Save()\r\n\r\n\r\n\r\n"
            "It is recommended to send error report to the author.\r\n"
            "Create an email with error details now?");
}

TEST(ErrorReportTest, TheUnhandledMessageNamesADumpElsewhereByItsFullPath) {
  auto named = [](const std::string& dump) {
    const std::string text =
        UnhandledMessage("EOSError", "Disk full", dump, "C:\\Orvane\\Logs\\", {});
    const std::size_t start = text.find("Disk full\r\n\r\n") + 13;
    return text.substr(start, text.find("\r\n", start) - start);
  };
  EXPECT_EQ(named("C:\\Orvane\\Logs\\orvane1.dmp"), "orvane1.dmp");
  EXPECT_EQ(named("C:\\Users\\u\\AppData\\Local\\Orvane\\Logs\\orvane1.dmp"),
            "C:\\Users\\u\\AppData\\Local\\Orvane\\Logs\\orvane1.dmp");
  EXPECT_EQ(named("C:\\Orvane\\Logs\\old\\orvane1.dmp"), "C:\\Orvane\\Logs\\old\\orvane1.dmp");
  EXPECT_EQ(named(""), "");
}

TEST(ErrorReportTest, TheSymbolTableNamesTheFunctionHoldingAnAddress) {
  const TSymbolTable table = TSymbolTable::Parse(
      "ImageBase 140000000\r\n"
      "140001000 main\r\n"
      "140001200 Crash()\r\n"
      "not a line\r\n"
      "13fffffff before the image\r\n"
      "140001400 orvane::Save(std::string const&)\n"
      "140001500 <end>\n");
  ASSERT_FALSE(table.Empty());
  // Loaded elsewhere than the linker placed it.
  const std::uint64_t base = 0x7ff600000000;
  EXPECT_EQ(table.NameAt(base, base + 0x1000), "main");
  EXPECT_EQ(table.NameAt(base, base + 0x11ff), "main");
  EXPECT_EQ(table.NameAt(base, base + 0x1200), "Crash()");
  EXPECT_EQ(table.NameAt(base, base + 0x14ff), "orvane::Save(std::string const&)");
  EXPECT_EQ(table.NameAt(base, base + 0x0fff), "");
  EXPECT_EQ(table.NameAt(base, base + 0x1500), "");
  EXPECT_EQ(table.NameAt(base, base - 1), "");
}

TEST(ErrorReportTest, ATableWithoutItsHeaderOrWithBrokenLinesNamesNothingWrong) {
  EXPECT_TRUE(TSymbolTable::Parse("").Empty());
  EXPECT_TRUE(TSymbolTable::Parse("140001000 main\n").Empty());
  EXPECT_TRUE(TSymbolTable::Parse("ImageBase zz\n140001000 main\n").Empty());
  const TSymbolTable table =
      TSymbolTable::Parse("ImageBase 400000\n401000 \n4010000000000000000 long\n402000 f\n");
  EXPECT_EQ(table.NameAt(0x400000, 0x402000), "f");
  EXPECT_EQ(table.NameAt(0x400000, 0x401500), "");
}

class ErrorReportMailTest : public ::testing::Test {
protected:
  TFakeServices fake;
};

TEST_F(ErrorReportMailTest, TheMailCarriesTheFilesThatAreThere) {
  const std::string dump = "%LOGS%\\orvane1.dmp";
  fake.FileSystem.Environment["LOGS"] = "C:\\Orvane\\Logs";
  fake.FileSystem.Existing = {"C:\\Orvane\\Logs\\orvane1.dmp", "C:\\Orvane\\Logs\\orvane1.dmp.txt",
                              "C:\\Orvane\\OVShlExt.log"};
  const TMailMessage mail =
      ErrorReportMail("the message", "the report", dump, "C:\\Orvane\\", fake.FileSystem);
  EXPECT_EQ(mail.Subject, "Orvane 2008 crash report");
  EXPECT_EQ(mail.Recipients, std::vector<std::string>{"orvane-support@vantrel.com"});
  EXPECT_EQ(mail.Body, "the message\r\n\r\nthe report");
  EXPECT_EQ(mail.Attachments,
            (std::vector<std::string>{"C:\\Orvane\\Logs\\orvane1.dmp",
                                      "C:\\Orvane\\Logs\\orvane1.dmp.txt",
                                      "C:\\Orvane\\OVShlExt.log"}));
}

TEST_F(ErrorReportMailTest, MissingFilesAndNoDumpLeaveTheirAttachmentsOut) {
  fake.FileSystem.Existing = {"C:\\Orvane\\Logs\\orvane1.dmp"};
  EXPECT_EQ(ErrorReportMail("t", "r", "C:\\Orvane\\Logs\\orvane1.dmp", "C:\\Orvane\\",
                            fake.FileSystem)
                .Attachments,
            std::vector<std::string>{"C:\\Orvane\\Logs\\orvane1.dmp"});
  EXPECT_TRUE(ErrorReportMail("t", "r", "", "C:\\Orvane\\", fake.FileSystem).Attachments.empty());
}

class TRecordingMail : public IMailSender {
public:
  TMailResult Result = TMailResult::Sent;
  std::uint32_t Error = 0;
  std::vector<TMailMessage> Sent;
  bool ShowedDialog = false;
  TMailResult Send(const TMailMessage& message, bool showDialog, std::uint32_t& error) override {
    Sent.push_back(message);
    ShowedDialog = showDialog;
    error = Error;
    return Result;
  }
};

TEST_F(ErrorReportMailTest, AFailedMailIsShownACancelledOneIsNot) {
  TRecordingMail mail;
  std::vector<std::string> warnings;
  TErrorReportSend send{fake.FileSystem, mail, "C:\\Orvane\\", [] { return std::string("R"); },
                        [](std::uint32_t code) { return "reason " + std::to_string(code); },
                        [&](const std::string& text) { warnings.push_back(text); }};
  SendErrorReport("T", "", send);
  ASSERT_EQ(mail.Sent.size(), 1u);
  EXPECT_TRUE(mail.ShowedDialog);
  EXPECT_EQ(mail.Sent[0].Body, "T\r\n\r\nR");
  mail.Result = TMailResult::Cancelled;
  SendErrorReport("T", "", send);
  EXPECT_TRUE(warnings.empty());
  mail.Result = TMailResult::Failed;
  mail.Error = 0x1a;
  SendErrorReport("T", "", send);
  EXPECT_EQ(warnings, std::vector<std::string>{
                          "Failed to create an email (1a: reason 26).\r\n"
                          "Please send the error report manually."});
}

TEST_F(ErrorReportMailTest, AReportThatFailsToBuildStillSendsTheMessage) {
  TRecordingMail mail;
  TErrorReportSend send{fake.FileSystem, mail, "C:\\Orvane\\",
                        []() -> std::string { throw std::runtime_error("no report"); }, nullptr,
                        [](const std::string&) { throw std::runtime_error("no box"); }};
  SendErrorReport("T", "", send);
  ASSERT_EQ(mail.Sent.size(), 1u);
  EXPECT_EQ(mail.Sent[0].Body, "T\r\n\r\n");
  mail.Result = TMailResult::Failed;
  EXPECT_NO_THROW(SendErrorReport("T", "", send));
}

}  // namespace
}  // namespace orvane::testing
