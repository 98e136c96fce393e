#include "app/restore_backup_dialog.h"

#include <gtest/gtest.h>

#include <optional>

#include "platform/memory_registry.h"
#include "platform/reg_text.h"
#include "platform/win32/window_helpers.h"
#include "tests/storage/memory_files.h"
#include "tests/support/screenshot.h"

namespace orvane::testing {
namespace {

constexpr const char* kFolder = "C:\\Orvane\\Backups\\";
constexpr const char* kOlder =
    "REGEDIT4\n; Backup: Static items cleanup\n\n"
    "[HKEY_CLASSES_ROOT\\txtfile\\shell\\print]\n@=\"Print\"\n"
    "[HKEY_CLASSES_ROOT\\txtfile\\shell\\print\\command]\n@=\"notepad /p %1\"\n";
constexpr const char* kNewer =
    "REGEDIT4\n; Backup: Shell extensions cleanup\n\n"
    "[HKEY_CLASSES_ROOT\\*\\shellex\\ContextMenuHandlers\\Zip]\n@=\"{1}\"\n";

class RestoreBackupDialogTest : public ::testing::Test {
protected:
  void SetUp() override {
    files.Files[std::string(kFolder) + "2026-12-01 08-00-00.reg"] = kOlder;
    files.Files[std::string(kFolder) + "2026-12-02 09-30-15.reg"] = kNewer;
    answers_.emplace([this](const std::string& text, const std::string&, UINT flags) {
      boxes.push_back(text);
      flagsShown.push_back(flags);
      return answer;
    });
  }
  void TearDown() override { answers_.reset(); }

  std::unique_ptr<TfrmRestoreBackup> Open() {
    return std::make_unique<TfrmRestoreBackup>(
        nullptr, files, kFolder, [this](std::uint32_t view) -> IRegistryBackend* {
          return view == 0 ? &registry : nullptr;
        });
  }
  static void Press(TButton& button) { SendMessageA(button.Handle(), BM_CLICK, 0, 0); }
  static std::vector<std::string> Rows(const TListView& view, int column = 0) {
    std::vector<std::string> rows;
    for (int i = 0; i < view.ItemCount(); ++i) rows.push_back(view.ItemText(i, column));
    return rows;
  }

  TMemoryFiles files;
  TMemoryRegistry registry;
  std::vector<std::string> boxes;
  std::vector<UINT> flagsShown;
  int answer = IDNO;

private:
  std::optional<TMessageBoxAnswers> answers_;
};

// The list shows the newest backup first with what it holds; the chosen one's keys show
// below; nothing is written unless the user says Yes.
TEST_F(RestoreBackupDialogTest, RestoresTheChosenBackupOnlyAfterYes) {
  auto dialog = Open();
  dialog->Show();
  EXPECT_EQ(Rows(dialog->lvBackups),
            (std::vector<std::string>{"2026-12-02 09:30:15", "2026-12-01 08:00:00"}));
  EXPECT_EQ(Rows(dialog->lvBackups, 1),
            (std::vector<std::string>{"Shell extensions cleanup", "Static items cleanup"}));
  EXPECT_EQ(Rows(dialog->lvKeys),
            std::vector<std::string>{"HKEY_CLASSES_ROOT\\*\\shellex\\ContextMenuHandlers\\Zip"});
  dialog->lvBackups.SetSelected(0, false);
  dialog->lvBackups.SetSelected(1, true);
  EXPECT_EQ(Rows(dialog->lvKeys),
            std::vector<std::string>{"HKEY_CLASSES_ROOT\\txtfile\\shell\\print"});
  SaveScreenshot(dialog->Handle(), "restore_backup_dialog");

  Press(dialog->btnRestore);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("2026-12-01 08:00:00 (Static items cleanup)"), std::string::npos);
  EXPECT_EQ(flagsShown[0], static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
  EXPECT_EQ(ExportRegText(registry, "HKEY_CLASSES_ROOT\\txtfile"), "");
  EXPECT_FALSE(dialog->RegistryChanged());

  answer = IDYES;
  Press(dialog->btnRestore);
  EXPECT_NE(ExportRegText(registry, "HKEY_CLASSES_ROOT\\txtfile").find("@=\"notepad /p %1\""),
            std::string::npos);
  EXPECT_TRUE(dialog->RegistryChanged());
  EXPECT_EQ(boxes.size(), 2u);
}

// A backup that fails its check cannot be restored and says why; a registry that refuses
// a key is reported in the system's words.
TEST_F(RestoreBackupDialogTest, ProblemsAreShownInsteadOfRestoring) {
  files.Files[std::string(kFolder) + "2026-12-03 10-00-00.reg"] =
      "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\x]\n";
  auto dialog = Open();
  EXPECT_FALSE(dialog->btnRestore.Enabled());
  ASSERT_EQ(dialog->lvKeys.ItemCount(), 1);
  EXPECT_NE(dialog->lvKeys.ItemText(0).find("line 2: nothing is restored outside"),
            std::string::npos);

  answer = IDYES;
  registry.FailOperation(TMemoryRegistry::Op::Create, "", kErrorAccessDenied);
  dialog->lvBackups.SetSelected(0, false);
  dialog->lvBackups.SetSelected(1, true);
  Press(dialog->btnRestore);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1],
            "Registry file, line 4: \"[HKEY_CLASSES_ROOT\\*\\shellex\\ContextMenuHandlers\\Zip]\" "
            "cannot be written: Access is denied");
  EXPECT_EQ(flagsShown[1], static_cast<UINT>(MB_OK | MB_ICONWARNING));
}

}  // namespace
}  // namespace orvane::testing
