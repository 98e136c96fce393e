#include "maintenance/backup_list.h"

#include <gtest/gtest.h>

#include "platform/exception.h"
#include "platform/memory_registry.h"
#include "platform/reg_text.h"
#include "tests/storage/memory_files.h"

namespace orvane::testing {
namespace {

constexpr const char* kGood =
    "REGEDIT4\n; Backup: Static items cleanup\n\n"
    "[HKEY_CLASSES_ROOT\\txtfile\\shell\\print]\n@=\"Print\"\n"
    "[HKEY_CLASSES_ROOT\\txtfile\\shell\\print\\command]\n@=\"notepad /p \\\"%1\\\"\"\n"
    "[HKEY_CURRENT_USER\\Software\\Orvane\\DisabledItems\\Static\\txtfile\\shell\\edit]\n"
    "@=\"Edit\"\n";

struct TRestoreFixture : ::testing::Test {
  void Write(const std::string& name, const std::string& text) { files.Files[kFolder + name] = text; }
  void Restore(const std::string& name) {
    RestoreBackup(files, kFolder + name, [this](std::uint32_t view) -> IRegistryBackend* {
      if (view == 0) return &memory;
      return view == kKeyWow64_64Key ? &native : nullptr;
    });
  }
  std::string Export(TMemoryRegistry& registry, const std::string& key) {
    return ExportRegText(registry, key);
  }

  const std::string kFolder = "C:\\Orvane\\Backups\\";
  TMemoryRegistry memory;
  TMemoryRegistry native;
  TMemoryFiles files;
};

// A backup is text a user can edit: anything but putting keys and values back into the
// places the tools remove from is refused, naming the line, before anything is written.
TEST_F(TRestoreFixture, BadOrForeignLinesAreRefusedBeforeAnythingIsWritten) {
  struct TCase {
    const char* line;
    const char* message;
  };
  const TCase cases[] = {
      {"[-HKEY_CLASSES_ROOT\\txtfile]",
       "Backup file, line 10: a backup only puts keys and values back, it does not delete them: "
       "\"[-HKEY_CLASSES_ROOT\\txtfile]\""},
      {"\"x\"=-", "line 10: a backup only puts"},
      {"@=-", "line 10: a backup only puts"},
      {"[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]",
       "Backup file, line 10: nothing is restored outside the places the cleanup tools remove "
       "entries from: \"[HKEY_LOCAL_MACHINE"},
      {"[HKEY_CURRENT_USER\\Software\\Microsoft]", "line 10: nothing is restored outside"},
      {"[HKEY_CURRENT_USER\\Software\\Orvane\\DisabledItems]", "line 10: nothing is restored"},
      {"[HKEY_CURRENT_USER\\Software\\Orvane\\Other\\x]", "line 10: nothing is restored"},
      {"[HKEY_CLASSES_ROOT]", "line 10: nothing is restored"},
      {"[HKEY_CLASSES_ROOT\\a\\\\b]", "line 10: nothing is restored"},
      {"[HKEY_CLASSES_ROOT\\a\\]", "line 10: nothing is restored"},
      {"[HKEY_USERS\\.DEFAULT\\Software\\Orvane\\DisabledItems\\x]", "line 10: nothing is restored"},
      {"\"v\"=dword:xyz", "Registry file, line 10: cannot read \"\"v\"=dword:xyz\""},
      {"[HKEY_NOWHERE\\x]", "Registry file, line 10: unknown root key"},
      {"garbage", "Registry file, line 10: cannot read \"garbage\""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.line);
    Write("b.reg", std::string(kGood) + c.line + "\n");
    try {
      Restore("b.reg");
      ADD_FAILURE() << "restored";
    } catch (const Exception& e) {
      EXPECT_NE(e.Message().find(c.message), std::string::npos) << e.Message();
    }
    EXPECT_EQ(Export(memory, "HKEY_CLASSES_ROOT\\txtfile"), "");
  }
  Write("header.reg", "Windows Registry Editor Version 4\n[HKEY_CLASSES_ROOT\\x]\n");
  EXPECT_THROW(Restore("header.reg"), Exception);
  EXPECT_THROW(Restore("missing.reg"), Exception);
}

// The classes and the program's store are both restored; a backup of another view goes
// back through that view, and one whose view this system lacks is refused.
TEST_F(TRestoreFixture, RestoreWritesThroughTheViewTheBackupCameFrom) {
  Write("own.reg", kGood);
  Restore("own.reg");
  EXPECT_EQ(Export(memory, "HKEY_CLASSES_ROOT\\txtfile"),
            "REGEDIT4\n\n[HKEY_CLASSES_ROOT\\txtfile]\n\n"
            "[HKEY_CLASSES_ROOT\\txtfile\\shell]\n\n"
            "[HKEY_CLASSES_ROOT\\txtfile\\shell\\print]\n@=\"Print\"\n\n"
            "[HKEY_CLASSES_ROOT\\txtfile\\shell\\print\\command]\n@=\"notepad /p \\\"%1\\\"\"\n\n");
  EXPECT_NE(Export(memory, "HKEY_CURRENT_USER\\Software\\Orvane"), "");

  Write("64.reg", "REGEDIT4\n; Backup: Shell extensions cleanup\n; Registry view: 64-bit\n\n"
                  "[HKEY_CLASSES_ROOT\\*\\shellex\\ContextMenuHandlers\\x]\n@=\"{1}\"\n");
  Restore("64.reg");
  EXPECT_NE(Export(native, "HKEY_CLASSES_ROOT\\*"), "");
  EXPECT_EQ(Export(memory, "HKEY_CLASSES_ROOT\\*"), "");

  Write("32.reg", "REGEDIT4\n; Registry view: 32-bit\n\n[HKEY_CLASSES_ROOT\\y]\n");
  try {
    Restore("32.reg");
    FAIL() << "restored";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(),
              "The backup holds keys of the 32-bit registry view, which cannot be reached on this "
              "system.");
  }
}

// The list: newest first by the date in the name (backups of one second by their number),
// undated files last, other files left out; a broken file is listed with its problem.
TEST_F(TRestoreFixture, ListShowsNewestFirstWithWhatEachHolds) {
  Write("2026-12-09 10-00-00.reg", kGood);
  Write("2026-12-09 10-00-00 #2.reg", kGood);
  Write("2026-12-09 10-00-00 #10.reg", kGood);
  Write("2026-12-10 09-00-00.REG", "REGEDIT4\n[-HKEY_CLASSES_ROOT\\x]\n");
  Write("my copy.reg", kGood);
  Write("notes.txt", "x");
  files.Files["C:\\Orvane\\elsewhere.reg"] = kGood;
  std::vector<TBackupInfo> list = ListBackups(files, kFolder);
  std::vector<std::string> order;
  for (const TBackupInfo& info : list) order.push_back(info.FileName.substr(kFolder.size()));
  EXPECT_EQ(order, (std::vector<std::string>{"2026-12-10 09-00-00.REG",
                                             "2026-12-09 10-00-00 #10.reg",
                                             "2026-12-09 10-00-00 #2.reg",
                                             "2026-12-09 10-00-00.reg", "my copy.reg"}));
  EXPECT_EQ(list[0].Date, "2026-12-10 09:00:00");
  EXPECT_NE(list[0].Problem.find("line 2"), std::string::npos);
  EXPECT_EQ(list[1].Description, "Static items cleanup");
  EXPECT_EQ(list[1].Problem, "");
  EXPECT_EQ(list[1].Keys,
            (std::vector<std::string>{
                "HKEY_CLASSES_ROOT\\txtfile\\shell\\print",
                "HKEY_CURRENT_USER\\Software\\Orvane\\DisabledItems\\Static\\txtfile\\shell\\edit"}));
  EXPECT_EQ(list[4].Date, "");

  files.FailReads = true;
  EXPECT_THROW(ListBackups(files, kFolder), Exception);
}

}  // namespace
}  // namespace orvane::testing
