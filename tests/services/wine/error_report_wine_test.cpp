// The error report under Wine, end to end: a program that fails on purpose, also by
// running out of stack, leaves a minidump and its text in "Logs" with a stack that names
// the failing function, says so in its message, writes into the user's own "Logs" when it
// cannot write the one beside it, and hands the mail with every attachment to the mail
// program (a recording one, registered for the test only).

#include <windows.h>

#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/win32_handles.h"
#include "tests/support/child_process.h"
#include "tests/support/screenshot.h"

namespace orvane::testing {
namespace {

const std::string kProbe = WindowsPath(ORVANE_CRASH_PROBE);
const std::string kFolder = kProbe.substr(0, kProbe.find_last_of('\\') + 1);
const std::string kLogs = kFolder + "Logs\\";

std::string ReadAll(const std::string& file) {
  std::string data;
  if (FILE* in = std::fopen(file.c_str(), "rb")) {
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;) data.append(buffer, n);
    std::fclose(in);
  }
  return data;
}

std::vector<std::string> FilesIn(const std::string& folder, const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

void RemoveLogs() {
  for (const std::string& name : FilesIn(kLogs, "*")) DeleteFileA((kLogs + name).c_str());
  RemoveDirectoryA(kLogs.c_str());
  const std::string blocker = kLogs.substr(0, kLogs.size() - 1);  // "Logs" made a file
  SetFileAttributesA(blocker.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(blocker.c_str());
  DeleteFileA((kFolder + "box.txt").c_str());
  DeleteFileA((kFolder + "OVShlExt.log").c_str());
}

class ErrorReportWineTest : public ::testing::Test {
protected:
  void SetUp() override { RemoveLogs(); }
  void TearDown() override { RemoveLogs(); }

  DWORD Run(const std::string& mode) {
    const std::optional<DWORD> code = RunToEnd("\"" + kProbe + "\" " + mode, 120000);
    EXPECT_TRUE(code) << "the probe did not end";
    return code.value_or(0xFFFFFFFF);
  }

  // The one dump in "Logs", checked to be a minidump, and the text beside it.
  std::string OnlyDumpText(std::string* dumpName = nullptr) {
    const std::vector<std::string> dumps = FilesIn(kLogs, "*.dmp");
    EXPECT_EQ(dumps.size(), 1u);
    if (dumps.empty()) return {};
    EXPECT_EQ(dumps[0].rfind("crash_probe", 0), 0u);
    EXPECT_EQ(ReadAll(kLogs + dumps[0]).substr(0, 4), "MDMP");
    if (dumpName) *dumpName = dumps[0];
    return ReadAll(kLogs + dumps[0] + ".txt");
  }
};

TEST_F(ErrorReportWineTest, AnAccessViolationLeavesADumpNamingTheFaultingFunction) {
  EXPECT_EQ(Run("av"), static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
  std::string dump;
  const std::string text = OnlyDumpText(&dump);
  EXPECT_EQ(text.rfind("Code: C0000005\r\nSystem exception\r\n", 0), 0u) << text;
  EXPECT_NE(text.find("MiniDumpWriteDump result: 00000000"), std::string::npos) << text;
  EXPECT_NE(text.find("crash_probe.exe - CrashWithAccessViolation("), std::string::npos) << text;
  EXPECT_NE(text.find("crash_probe.exe - main"), std::string::npos) << text;
  // The message names the dump; its stack was logged when raised, not again.
  const std::string box = ReadAll(kFolder + "box.txt");
  EXPECT_NE(box.find("EAccessViolation: Access violation at address"), std::string::npos) << box;
  EXPECT_NE(box.find("Write of address 00000000"), std::string::npos) << box;
  EXPECT_NE(box.find("\r\n" + dump + "\r\n"), std::string::npos) << box;
  EXPECT_EQ(box.find("CrashWithAccessViolation"), std::string::npos) << box;
}

TEST_F(ErrorReportWineTest, ACppExceptionLeavesADumpNamingTheThrowingFunction) {
  EXPECT_EQ(Run("throw"), 0u);
  std::string dump;
  const std::string text = OnlyDumpText(&dump);
  EXPECT_EQ(text.rfind("EOSError: The disk is full\r\nLanguage exception\r\n", 0), 0u) << text;
  EXPECT_NE(text.find("crash_probe.exe - ThrowOSError()"), std::string::npos) << text;
  const std::string box = ReadAll(kFolder + "box.txt");
  EXPECT_EQ(box.rfind("The disk is full.\r\n\r\nInternal Application Problem", 0), 0u) << box;
  EXPECT_NE(box.find("EOSError: The disk is full\r\n\r\n" + dump + "\r\n"), std::string::npos)
      << box;
}

TEST_F(ErrorReportWineTest, AStormOfExceptionsLeavesOneDump) {
  EXPECT_EQ(Run("storm"), 0u);
  EXPECT_EQ(FilesIn(kLogs, "*.dmp").size(), 1u);
  EXPECT_EQ(FilesIn(kLogs, "*.txt").size(), 1u);
}

// The recording mail program, named as the system's mail client for the test's run; the
// client named before comes back after.
class TTestMailClient {
public:
  TTestMailClient() {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Clients\\Mail", 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
      return;
    mail_.reset(key);
    char value[512];
    DWORD size = sizeof value;
    DWORD type = 0;
    if (RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) ==
            ERROR_SUCCESS &&
        type == REG_SZ)
      previous_ = std::string(value, size > 0 ? size - 1 : 0);
    const std::string provider = WindowsPath(ORVANE_MAIL_PROVIDER);
    RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(kName), sizeof kName);
    HKEY client = nullptr;
    if (RegCreateKeyExA(key, kName, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &client, nullptr) ==
        ERROR_SUCCESS) {
      RegSetValueExA(client, "DLLPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(provider.c_str()),
                     static_cast<DWORD>(provider.size() + 1));
      RegCloseKey(client);
    }
  }
  ~TTestMailClient() {
    if (!mail_) return;
    RegDeleteKeyA(mail_.get(), kName);
    if (previous_)
      RegSetValueExA(mail_.get(), nullptr, 0, REG_SZ,
                     reinterpret_cast<const BYTE*>(previous_->c_str()),
                     static_cast<DWORD>(previous_->size() + 1));
    else
      RegDeleteValueA(mail_.get(), nullptr);
  }
  bool Registered() const { return mail_ != nullptr; }

private:
  static constexpr char kName[] = "Orvane Test Mail";
  TRegKeyHandle mail_;
  std::optional<std::string> previous_;
};

// What the recording mail program is handed while this lives.
class TMailRecord {
public:
  TMailRecord() {
    DeleteFileA(file_.c_str());
    SetEnvironmentVariableA("ORVANE_MAIL_RECORD", file_.c_str());
  }
  ~TMailRecord() {
    DeleteFileA(file_.c_str());
    SetEnvironmentVariableA("ORVANE_MAIL_RECORD", nullptr);
  }
  std::string Text() const { return ReadAll(file_); }

private:
  std::string file_ = kFolder + "mail-record.txt";
};

// The user's own "Logs" ("Orvane\Logs" in the local application data): the files and
// folders a test finds there new are taken away again.
class TUserLogs {
public:
  TUserLogs() {
    char local[MAX_PATH];
    if (SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, local) != S_OK)
      return;
    orvane_ = std::string(local) + "\\Orvane\\";
    folder_ = orvane_ + "Logs\\";
    hadOrvane_ = GetFileAttributesA(orvane_.c_str()) != INVALID_FILE_ATTRIBUTES;
    hadLogs_ = GetFileAttributesA(folder_.c_str()) != INVALID_FILE_ATTRIBUTES;
    before_ = FilesIn(folder_, "*");
  }
  ~TUserLogs() {
    for (const std::string& name : New("*")) DeleteFileA((folder_ + name).c_str());
    if (!hadLogs_) RemoveDirectoryA(folder_.c_str());
    if (!hadOrvane_) RemoveDirectoryA(orvane_.c_str());
  }
  const std::string& Folder() const { return folder_; }
  std::vector<std::string> New(const std::string& pattern) const {
    std::vector<std::string> names;
    for (const std::string& name : FilesIn(folder_, pattern))
      if (std::find(before_.begin(), before_.end(), name) == before_.end()) names.push_back(name);
    return names;
  }

private:
  std::string orvane_;
  std::string folder_;
  bool hadOrvane_ = false;
  bool hadLogs_ = false;
  std::vector<std::string> before_;
};

TEST_F(ErrorReportWineTest, AStackOverflowLeavesADumpNamingTheRecursingFunction) {
  TTestMailClient client;
  ASSERT_TRUE(client.Registered());
  TMailRecord record;
  EXPECT_EQ(Run("recurse-mail"), static_cast<DWORD>(EXCEPTION_STACK_OVERFLOW));
  std::string dump;
  const std::string text = OnlyDumpText(&dump);
  EXPECT_EQ(text.rfind("Code: C00000FD\r\nSystem exception\r\n", 0), 0u) << text;
  EXPECT_NE(text.find("MiniDumpWriteDump result: 00000000"), std::string::npos) << text;
  EXPECT_NE(text.find("\r\n------------\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("crash_probe.exe - RecurseWithoutEnd("), std::string::npos) << text;
  // The program's handler still runs, names the dump and sends it.
  const std::string box = ReadAll(kFolder + "box.txt");
  EXPECT_NE(box.find("EStackOverflow: System exception C00000FD at address"), std::string::npos)
      << box;
  EXPECT_NE(box.find("\r\n" + dump + "\r\n"), std::string::npos) << box;
  const std::string mail = record.Text();
  EXPECT_NE(mail.find("attachment=" + kLogs + dump + "|" + dump + "|-1|there\n"), std::string::npos)
      << mail;
}

TEST_F(ErrorReportWineTest, AStackOverflowHoldingTheHeapsLockEndsTheProgramWithoutAReport) {
  EXPECT_EQ(Run("recurse-heap-locked"), static_cast<DWORD>(EXCEPTION_STACK_OVERFLOW));
  EXPECT_TRUE(FilesIn(kLogs, "*.dmp").empty());
}

TEST_F(ErrorReportWineTest, TheWatcherKeepsNoProgramAliveWhoseFirstThreadEnded) {
  EXPECT_EQ(Run("exit-thread"), 3u);
  EXPECT_TRUE(FilesIn(kLogs, "*.dmp").empty());
}

TEST_F(ErrorReportWineTest, ALogsFolderThatCannotBeMadeSendsTheDumpsToTheUsersOwnLogs) {
  TUserLogs userLogs;
  ASSERT_FALSE(userLogs.Folder().empty());
  // A read-only file where the folder would be: neither the folder nor a file in it can
  // be made (as a folder without rights would, which Wine run as root does not keep).
  const std::string blocker = kLogs.substr(0, kLogs.size() - 1);
  {
    TFileHandle file(CreateFileA(blocker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_READONLY, nullptr));
    ASSERT_TRUE(file.Valid());
  }
  TTestMailClient client;
  ASSERT_TRUE(client.Registered());
  TMailRecord record;
  EXPECT_EQ(Run("throw-mail"), 0u);
  const std::vector<std::string> dumps = userLogs.New("*.dmp");
  ASSERT_EQ(dumps.size(), 1u);
  const std::string dump = userLogs.Folder() + dumps[0];
  EXPECT_EQ(ReadAll(dump).substr(0, 4), "MDMP");
  EXPECT_EQ(ReadAll(dump + ".txt").rfind("EOSError: The disk is full\r\n", 0), 0u);
  // The message and the mail name the dump where it is.
  const std::string box = ReadAll(kFolder + "box.txt");
  EXPECT_NE(box.find("EOSError: The disk is full\r\n\r\n" + dump + "\r\n"), std::string::npos)
      << box;
  const std::string mail = record.Text();
  EXPECT_NE(mail.find("attachment=" + dump + "|" + dumps[0] + "|-1|there\n"), std::string::npos)
      << mail;
  EXPECT_NE(mail.find("attachment=" + dump + ".txt|" + dumps[0] + ".txt|-1|there\n"),
            std::string::npos)
      << mail;
  // A system exception goes the same way; what was beside the program stays as it was.
  EXPECT_EQ(Run("av"), static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
  EXPECT_EQ(userLogs.New("*.dmp").size(), 2u);
  EXPECT_EQ(
      GetFileAttributesA(blocker.c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY),
      static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
}

TEST_F(ErrorReportWineTest, TheReportsMailReachesTheMailProgramWithEveryAttachment) {
  TTestMailClient client;
  ASSERT_TRUE(client.Registered());
  TMailRecord record;
  {
    TFileHandle log(CreateFileA((kFolder + "OVShlExt.log").c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(log.Valid());
  }
  EXPECT_EQ(Run("throw-mail"), 0u);
  std::string dump;
  OnlyDumpText(&dump);
  const std::string mail = record.Text();
  EXPECT_EQ(mail.rfind("flags=11\nsubject=Orvane 2008 crash report\n"
                       "recipient=1|orvane-support@vantrel.com|SMTP:orvane-support@vantrel.com\n"
                       "attachment=" + kLogs + dump + "|" + dump + "|-1|there\n"
                       "attachment=" + kLogs + dump + ".txt|" + dump + ".txt|-1|there\n"
                       "attachment=" + kFolder + "OVShlExt.log|OVShlExt.log|-1|there\n"
                       "body=The disk is full.\r\n\r\nInternal Application Problem",
                       0),
            0u)
      << mail;
  EXPECT_NE(mail.find("Create an email with error details now?\r\n\r\nthe system report\n"),
            std::string::npos)
      << mail;
}

}  // namespace
}  // namespace orvane::testing
