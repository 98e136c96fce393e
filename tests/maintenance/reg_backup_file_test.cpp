#include "maintenance/reg_backup_file.h"

#include <gtest/gtest.h>

#include "platform/exception.h"
#include "tests/maintenance/backup_fixture.h"
#ifdef _WIN32
#include "platform/win32/win32_registry.h"
#endif

namespace orvane::testing {
namespace {

using std::string_literals::operator""s;

TYPED_TEST_SUITE(BackupTest, RegistryBackends, BackendName);

struct TValueCase {
  const char* key;  // below the throwaway key
  std::string name;
  std::uint32_t type;
  std::string bytes;
};

// Everything a removed key may hold, odd names and data included.
const std::vector<TValueCase>& OddValues() {
  static const std::vector<TValueCase> cases = {
      {"v", "", kRegSz, "default text\0"s},
      {"v", "no terminator", kRegSz, "abc"s},
      {"v", "embedded nul", kRegSz, "a\0b\0"s},
      {"v", "empty", kRegSz, ""s},
      {"v", "only nul", kRegSz, "\0"s},
      {"v", "line break", kRegSz, "one\r\ntwo\0"s},
      {"v", "trailing blanks", kRegSz, "x  \t\0"s},
      {"v", "backslash end", kRegSz, "C:\\dir\\\0"s},
      {"v", "ansi", kRegSz, "caf\xe9\0"s},
      {"v", "expand", kRegExpandSz, "%SystemRoot%\\x.dll\0"s},
      {"v", "multi", kRegMultiSz, "a\0b c\0\0"s},
      {"v", "dword", kRegDword, "\x01\x02\x03\xff"s},
      {"v", "short dword", kRegDword, "\x01\x02\x03"s},
      {"v", "binary empty", kRegBinary, ""s},
      {"v", "long binary", kRegBinary, std::string(3000, '\xa5')},
      {"v", "none", kRegNone, "\x00\x01"s},
      {"v", "odd type", 0x12345678, "z"s},
      {"v", "top type", 0xffffffff, ""s},
      {"v", "with \"quotes\"", kRegSz, "say \"hi\"\0"s},
      {"v", "back\\slash", kRegSz, "\\\\server\\\0"s},
      {"v", "a=b", kRegSz, "=\0"s},
      {"v", "]", kRegSz, "[x]\0"s},
      {"v", "@", kRegSz, "@\0"s},
      {"v", " lead and trail ", kRegSz, ";semi\0"s},
      {"odd ] name\\[bracket", "", kRegSz, "deep\0"s},
      {"odd ] name\\semi;colon", "x", kRegDword, "\0\0\0\0"s},
      {"odd ] name\\ space\\-dash", "q\"", kRegSz, "\"\0"s},
      {"empty key", "", kRegNone, ""s},
  };
  return cases;
}

// What the registry held comes back byte for byte after backup, removal and restore.
TYPED_TEST(BackupTest, RestoreBringsEveryKindOfValueBackByteForByte) {
  for (const TValueCase& c : OddValues()) this->Put(c.key, c.name, c.type, c.bytes);
  const std::string before = this->Export();
  ASSERT_FALSE(before.empty());
  TRegBackupFile backup = this->NewBackup();
  backup.AddKey(kHkeyClassesRoot, "\\" + this->Path());
  backup.Commit("Static items cleanup");
  this->DeleteAll();
  ASSERT_TRUE(this->Export().empty());
  this->Restore(backup.LastFile());
  EXPECT_EQ(this->Export(), before);
}

// One value handed over: only it is backed up, and only it is put back.
TYPED_TEST(BackupTest, ValueBackupHoldsOnlyThatValue) {
  this->Put("type", "PerceivedType", kRegSz, "nowhere\0"s);
  this->Put("type", "Content Type", kRegSz, "text/plain\0"s);
  TRegBackupFile backup = this->NewBackup();
  backup.AddValue(kHkeyClassesRoot, this->Path("type"), "PerceivedType");
  backup.AddValue(kHkeyClassesRoot, this->Path("type"), "not there");
  backup.AddValue(kHkeyClassesRoot, this->Path("no such key"), "x");
  backup.Commit("Registry bugs");
  const std::string& text = this->files.Files[backup.LastFile()];
  EXPECT_NE(text.find("\"PerceivedType\"=\"nowhere\""), std::string::npos);
  EXPECT_EQ(text.find("Content Type"), std::string::npos);
  EXPECT_EQ(text.find("no such key"), std::string::npos);

  TRegistry registry(this->Reg());
  registry.SetRootKey(kHkeyClassesRoot);
  ASSERT_TRUE(registry.OpenKey("\\" + this->Path("type"), false));
  registry.DeleteValue("PerceivedType");
  registry.WriteString("Content Type", "changed since");
  this->Restore(backup.LastFile());
  EXPECT_EQ(registry.ReadString("PerceivedType"), "nowhere");
  EXPECT_EQ(registry.ReadString("Content Type"), "changed since");
}

// Nothing to back up (the keys are gone already): no file.
TYPED_TEST(BackupTest, MissingKeysWriteNoBackup) {
  TRegBackupFile backup = this->NewBackup();
  backup.AddKey(kHkeyClassesRoot, this->Path("gone"));
  backup.Commit("Shell extensions cleanup");
  EXPECT_TRUE(this->files.Files.empty());
  EXPECT_TRUE(backup.LastFile().empty());
}

struct TUnreadableCase {
  const char* what;
  TMemoryRegistry::Op op;
  const char* failingKey;  // below the throwaway key
  const char* expected;    // in the message
};

// A part of a key that cannot be read stops the backup, naming what and why, so that the
// tool removes nothing it could not save.
TEST(RegBackupFile, UnreadablePartsRaiseWithTheReason) {
  const TUnreadableCase cases[] = {
      {"subkey", TMemoryRegistry::Op::Open, "shell\\open",
       "Cannot read the registry key \"HKEY_CLASSES_ROOT\\t\\shell\\open\": Access is denied"},
      {"value", TMemoryRegistry::Op::QueryValue, "shell",
       "Cannot read the value \"v\" of the registry key \"HKEY_CLASSES_ROOT\\t\\shell\""},
      {"value list", TMemoryRegistry::Op::EnumValue, "shell",
       "Cannot read the registry key \"HKEY_CLASSES_ROOT\\t\\shell\""},
      {"subkey list", TMemoryRegistry::Op::EnumKey, "shell",
       "Cannot read the registry key \"HKEY_CLASSES_ROOT\\t\\shell\""},
  };
  for (const TUnreadableCase& c : cases) {
    SCOPED_TRACE(c.what);
    TMemoryRegistry memory;
    TMemoryFiles files;
    ImportRegText(memory,
                  "REGEDIT4\n[HKEY_CLASSES_ROOT\\t\\shell]\n\"v\"=\"x\"\n"
                  "[HKEY_CLASSES_ROOT\\t\\shell\\open\\command]\n@=\"a.exe\"\n");
    memory.FailOperation(c.op, "HKEY_CLASSES_ROOT\\t\\"s + c.failingKey, kErrorAccessDenied);
    TRegBackupFile backup(memory, files, "B\\", [] { return std::time_t{0}; });
    try {
      backup.AddKey(kHkeyClassesRoot, "t");
      FAIL() << "no exception";
    } catch (const Exception& e) {
      EXPECT_NE(e.Message().find(c.expected), std::string::npos) << e.Message();
    }
    backup.Commit("x");
    EXPECT_TRUE(files.Files.empty());
    EXPECT_EQ(memory.OpenHandleCount(), 0u);
  }
}

// A name the text format cannot carry would come back as something else: refuse it.
TEST(RegBackupFile, NamesWithLineBreaksAreRefused) {
  TMemoryRegistry memory;
  TMemoryFiles files;
  TRegistry registry(memory);
  registry.SetRootKey(kHkeyClassesRoot);
  ASSERT_TRUE(registry.OpenKey("\\t\\shell", true));
  registry.WriteString("two\nlines", "x");
  TRegBackupFile backup(memory, files, "B\\", [] { return std::time_t{0}; });
  EXPECT_THROW(backup.AddKey(kHkeyClassesRoot, "t"), Exception);
  EXPECT_THROW(backup.AddValue(kHkeyClassesRoot, "t\\shell", "two\nlines"), Exception);
}

// The folder is made when missing; backups of the same second sit side by side; a
// backup that cannot be written raises, and what it held is written by the next try.
TEST(RegBackupFile, CommitsMakeTheFolderAndNeverOverwrite) {
  TMemoryRegistry memory;
  TMemoryFiles files;
  files.RequireFolders = true;
  ImportRegText(memory, "REGEDIT4\n[HKEY_CLASSES_ROOT\\t\\shell\\v]\n@=\"x\"\n");
  TRegBackupFile backup(memory, files, "C:\\O\\Backups\\", [] { return std::time_t{1000}; });

  files.FailFolders = true;
  backup.AddKey(kHkeyClassesRoot, "t\\shell\\v");
  try {
    backup.Commit("Static items cleanup");
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(),
              "The backup folder \"C:\\O\\Backups\\\" cannot be created: Access denied");
  }
  files.FailFolders = false;
  files.FailWrites = true;
  EXPECT_THROW(backup.Commit("Static items cleanup"), Exception);
  files.FailWrites = false;

  std::vector<std::string> names;
  for (int i = 0; i < 3; ++i) {
    if (i > 0) backup.AddKey(kHkeyClassesRoot, "t\\shell\\v");
    backup.Commit(i == 2 ? "two\r\nlines" : "Static items cleanup");
    names.push_back(backup.LastFile());
  }
  ASSERT_EQ(files.Files.size(), 3u);
  EXPECT_NE(names[0], names[1]);
  EXPECT_NE(names[1], names[2]);
  const std::string& first = files.Files[names[0]];
  EXPECT_EQ(first.rfind("REGEDIT4\n; Backup: Static items cleanup\n\n[HKEY_CLASSES_ROOT", 0), 0u)
      << first;
  // Each try added the key once; the failed tries' copy went into the first file.
  EXPECT_EQ(first.find("[HKEY_CLASSES_ROOT\\t\\shell\\v]"),
            first.rfind("[HKEY_CLASSES_ROOT\\t\\shell\\v]"));
  EXPECT_NE(files.Files[names[2]].find("; Backup: two  lines\n"), std::string::npos);

  // Newest first, each with its date and what it holds.
  std::vector<TBackupInfo> list = ListBackups(files, "C:\\O\\Backups\\");
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].FileName, names[2]);
  EXPECT_EQ(list[2].FileName, names[0]);
  EXPECT_FALSE(list[0].Date.empty());
  EXPECT_EQ(list[2].Keys, std::vector<std::string>{"HKEY_CLASSES_ROOT\\t\\shell\\v"});
}

#ifdef _WIN32
// A class registration of the 32-bit view, backed up through that view, goes back into
// it and not into the other one, as the file says which view it came from.
TEST(RegBackupFile, RestoreGoesBackIntoTheViewTheBackupCameFrom) {
  TWin32Registry view32(kKeyWow64_32Key);
  TWin32Registry view64(kKeyWow64_64Key);
  const std::string clsid = "CLSID\\{0D1E7A42-3C9B-4F08-A6D2-9B71E0C4F399}";
  const std::string full = "HKEY_CLASSES_ROOT\\" + clsid;
  auto remove = [&](IRegistryBackend& registry) {
    TRegistry reg(registry);
    reg.SetRootKey(kHkeyClassesRoot);
    reg.DeleteKey("\\" + clsid);
  };
  ImportRegText(view32, "REGEDIT4\n[" + full + "\\InProcServer32]\n@=\"x32.dll\"\n");
  if (!ExportRegText(view64, full).empty()) {
    remove(view32);
    GTEST_SKIP() << "this system has one registry view";
  }
  const std::string before = ExportRegText(view32, full);
  TMemoryFiles files;
  TRegBackupFile backup(view32, files, "B\\", [] { return std::time_t{0}; }, kKeyWow64_32Key);
  backup.AddKey(kHkeyClassesRoot, clsid);
  backup.Commit("Shell extensions cleanup");
  remove(view32);
  RestoreBackup(files, backup.LastFile(), [&](std::uint32_t view) -> IRegistryBackend* {
    if (view == kKeyWow64_32Key) return &view32;
    return view == 0 ? &view64 : nullptr;
  });
  EXPECT_EQ(ExportRegText(view32, full), before);
  EXPECT_EQ(ExportRegText(view64, full), "");
  remove(view32);
  remove(view64);
}
#endif

}  // namespace
}  // namespace orvane::testing
