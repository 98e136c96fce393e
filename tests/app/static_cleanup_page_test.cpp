// The static items cleanup page on the prefix's own registry, with other programs' verbs
// added for the test: what the list shows, switching a verb off and on again through
// Apply, deleting with the question, and the backup that must exist before anything goes.

#include <gmock/gmock.h>

#include "app_fixture.h"
#include "maintenance/backup_list.h"
#include "maintenance/static_items_cleanup.h"
#include "platform/registry.h"
#include "platform/win32/win32_registry.h"
#include "tests/support/scoped_value.h"

namespace orvane::testing {
namespace {

using ::testing::HasSubstr;

constexpr const char* kForeignVerbs =
    "REGEDIT4\n\n"
    "[HKEY_CLASSES_ROOT\\inifile\\shell\\ZapIt]\n@=\"Zap with &Tool\"\n"
    "[HKEY_CLASSES_ROOT\\inifile\\shell\\ZapIt\\command]\n"
    "@=\"\\\"C:\\\\Tools\\\\zap.exe\\\" \\\"%1\\\"\"\n"
    "[HKEY_CLASSES_ROOT\\inifile\\shell\\Count]\n@=\"Count words\"\n"
    "[HKEY_CLASSES_ROOT\\inifile\\shell\\Count\\command]\n@=\"C:\\\\Tools\\\\count.exe %1\"\n"
    "[HKEY_CLASSES_ROOT\\inifile\\shell\\Quiet]\n@=\"Hidden by a tweaker\"\n"
    "\"LegacyDisable\"=\"\"\n"
    "[HKEY_CLASSES_ROOT\\inifile\\shell\\Quiet\\command]\n@=\"quiet.exe\"\n"
    "[HKEY_CLASSES_ROOT\\*\\shell\\ZapAll]\n@=\"Zap anything\"\n"
    "[HKEY_CLASSES_ROOT\\*\\shell\\ZapAll\\command]\n@=\"c:\\\\tools\\\\ZAP.EXE /a %1\"\n"
    "[HKEY_CURRENT_USER\\Software\\Orvane\\DisabledItems\\Static\\inifile\\shell\\Older]\n"
    "@=\"Older tool\"\n"
    "[HKEY_CURRENT_USER\\Software\\Orvane\\DisabledItems\\Static\\inifile\\shell\\Older\\command]\n"
    "@=\"old.exe %1\"\n";

class StaticCleanupPageTest : public MainWindowTest {
protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    Wipe();
    ImportRegText(system, kForeignVerbs);
    const std::size_t slash = menuFile.find_last_of('\\');
    backups = menuFile.substr(0, slash + 1) + "Backups\\";
    CreateDirectoryA(backups.c_str(), nullptr);
    RemoveBackups();
  }
  void TearDown() override {
    if (form) {
      if (Application().MainForm() == form.get()) Application().SetMainForm(nullptr);
      form.reset();
    }
    Wipe();
    RemoveBackups();
    MainWindowTest::TearDown();
  }

  void Wipe() {
    TRegistry registry(system);
    registry.SetRootKey(kHkeyClassesRoot);
    for (const char* key : {"\\inifile\\shell\\ZapIt", "\\inifile\\shell\\Count",
                            "\\inifile\\shell\\Quiet", "\\*\\shell\\ZapAll", "\\inifile\\shell\\Older"})
      registry.DeleteKey(key);
    registry.SetRootKey(kHkeyCurrentUser);
    registry.DeleteKey("\\Software\\Orvane\\DisabledItems");
  }
  void RemoveBackups() {
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((backups + "*.reg").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
      DeleteFileA((backups + found.cFileName).c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  std::vector<std::string> BackupTexts() {
    std::vector<std::string> texts;
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((backups + "*.reg").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return texts;
    do {
      std::string text;
      std::string reason;
      DefaultFileAccess().ReadFile(backups + found.cFileName, text, reason);
      texts.push_back(text);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return texts;
  }

  // The window on the prefix's registry, shown, with the cleanup page active and the
  // file type `type` chosen by a click on its row.
  void Open(const std::string& type = "inifile") {
    Start();
    form->pgcMain.SetActivePage(&form->tshtCleanup);
    form->IdleUpdate();
    ChooseType(type);
  }
  // The window shown on its first page.
  void Start() {
    TServices real = ServicesOn(system);
    TMainFormSettings settings;
    settings.MenuFile = menuFile;
    form = std::make_unique<TfrmMain>(nullptr, real, settings);
    Application().SetMainForm(form.get());
    form->Show();
    Application().ProcessMessages();
  }
  void ChooseType(const std::string& type) {
    TFileTypeListView& types = Page().lvFileTypes;
    int row = -1;
    for (int i = 0; i < types.ItemCount() && row < 0; ++i) {
      if (types.ItemFileType(i)->Name() == type) row = i;
    }
    ASSERT_GE(row, 0) << type;
    types.MakeVisible(row);
    const RECT rect = types.ItemRect(row);
    const LPARAM at = MAKELPARAM(rect.left + 40, (rect.top + rect.bottom) / 2);
    SendMessageA(types.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(types.Handle(), WM_LBUTTONUP, 0, at);
    Application().ProcessMessages();
    form->IdleUpdate();
  }

  TStaticCleanupPage& Page() { return form->StaticCleanupPage(); }
  TListView& List() { return Page().lbMenuItems; }
  int Row(const std::string& text) {
    for (int i = 0; i < List().ItemCount(); ++i) {
      if (List().ItemText(i) == text) return i;
    }
    return -1;
  }
  void Select(const std::string& text) {
    const int row = Row(text);
    ASSERT_GE(row, 0) << text;
    const RECT rect = List().ItemRect(row);
    const LPARAM at = MAKELPARAM(rect.left + 60, (rect.top + rect.bottom) / 2);
    SendMessageA(List().Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(List().Handle(), WM_LBUTTONUP, 0, at);
    form->IdleUpdate();
  }
  // The space bar toggles the selected row's check box, as the user does it.
  void Toggle(const std::string& text) {
    Select(text);
    SendMessageA(List().Handle(), WM_KEYDOWN, VK_SPACE, 0x00390001);
    SendMessageA(List().Handle(), WM_KEYUP, VK_SPACE, 0xC0390001);
    Application().ProcessMessages();
    form->IdleUpdate();
  }
  void PressDelete() {
    PostMessageA(List().Handle(), WM_KEYDOWN, VK_DELETE, 0x00530001);
    PostMessageA(List().Handle(), WM_KEYUP, VK_DELETE, 0xC0530001);
    Application().ProcessMessages();
    form->IdleUpdate();
  }
  void Apply() {
    form->IdleUpdate();
    SendMessageA(form->btnApply.Handle(), BM_CLICK, 0, 0);
    Application().ProcessMessages();
  }
  bool KeyExists(HKEY root, const char* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }

  TWin32Registry system;
  std::string backups;
  std::unique_ptr<TfrmMain> form;
};

constexpr const char* kZapStored =
    "Software\\Orvane\\DisabledItems\\Static\\inifile\\shell\\ZapIt\\command";

// Thousands of types take a second to list: a start that never shows the page does not.
TEST_F(StaticCleanupPageTest, FileTypesAreListedWhenThePageIsFirstShown) {
  Start();
  EXPECT_EQ(Page().lvFileTypes.ItemCount(), 0);
  form->pgcMain.SetActivePage(&form->tshtCleanup);
  EXPECT_GT(Page().lvFileTypes.ItemCount(), 0);
  ChooseType("inifile");
  EXPECT_GE(Row("Zap with &Tool"), 0);
}

TEST_F(StaticCleanupPageTest, ListShowsForeignVerbsAndTheStoreWithoutAChange) {
  Open();
  ASSERT_GE(Row("Zap with &Tool"), 0);
  EXPECT_TRUE(List().Checked(Row("Zap with &Tool")));
  EXPECT_TRUE(List().Checked(Row("Count words")));
  // Switched off here, and hidden by another tool: neither shows as active.
  EXPECT_FALSE(List().Checked(Row("Older tool")));
  EXPECT_FALSE(List().Checked(Row("Hidden by a tweaker")));
  EXPECT_FALSE(form->HasChanges());
  EXPECT_FALSE(IsWindowEnabled(form->btnApply.Handle()));

  Select("Hidden by a tweaker");
  EXPECT_THAT(Page().lblCleanupNote.Caption(), HasSubstr("LegacyDisable"));
  Toggle("Hidden by a tweaker");
  EXPECT_FALSE(List().Checked(Row("Hidden by a tweaker")));
  EXPECT_FALSE(form->HasChanges());

  Select("Zap with &Tool");
  EXPECT_EQ(Page().edAppPath.Text(), "\"c:\\tools\\zap.exe\" \"%1\"");
  EXPECT_EQ(Page().edRegistryKey.Text(), "inifile\\shell\\ZapIt");
  Select("Older tool");
  EXPECT_EQ(Page().edRegistryKey.Text(), "inifile\\shell\\Older");
  EXPECT_FALSE(SaveScreenshot(form->Handle(), "static_cleanup_page").empty());
}

TEST_F(StaticCleanupPageTest, UncheckApplyStoresTheVerbAndRecheckApplyBringsItBack) {
  RemoveDirectoryA(backups.c_str());  // made by the first Apply that needs it
  Open();
  Toggle("Zap with &Tool");
  EXPECT_FALSE(List().Checked(Row("Zap with &Tool")));
  EXPECT_TRUE(form->HasChanges());
  Apply();
  EXPECT_TRUE(boxes.empty()) << boxes.front().Text;
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "inifile\\shell\\ZapIt"));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kZapStored));
  EXPECT_FALSE(form->HasChanges());
  const std::vector<std::string> written = BackupTexts();
  ASSERT_EQ(written.size(), 1u);
  EXPECT_THAT(written[0], HasSubstr("[HKEY_CLASSES_ROOT\\inifile\\shell\\ZapIt\\command]"));

  Toggle("Zap with &Tool");
  Apply();
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "inifile\\shell\\ZapIt\\command"));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kZapStored));
  EXPECT_TRUE(List().Checked(Row("Zap with &Tool")));
  EXPECT_FALSE(form->HasChanges());
}

TEST_F(StaticCleanupPageTest, DeleteAsksWithTheCaptionAndOnlyYesDeletesRestoreBringsItBack) {
  Open();
  int answer = IDNO;
  TMessageBoxAnswers answers([&](const std::string& text, const std::string& caption, UINT flags) {
    boxes.push_back({text, caption, flags});
    return answer;
  });
  Select("Count words");
  PressDelete();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Text, "Delete menu item \"Count words\"?");
  EXPECT_EQ(boxes[0].Flags, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
  EXPECT_GE(Row("Count words"), 0);

  answer = IDYES;
  PressDelete();
  EXPECT_EQ(Row("Count words"), -1);
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "inifile\\shell\\Count"));
  Apply();
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "inifile\\shell\\Count"));
  const std::vector<TBackupInfo> written = ListBackups(DefaultFileAccess(), backups);
  ASSERT_EQ(written.size(), 1u);

  // What the restore dialog does once the user said Yes, then the window's reload.
  RestoreBackup(DefaultFileAccess(), written[0].FileName,
                [this](std::uint32_t) -> IRegistryBackend* { return &system; });
  form->StaticCleanupPage().Reload();
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "inifile\\shell\\Count\\command"));
  ASSERT_GE(Row("Count words"), 0);
  EXPECT_TRUE(List().Checked(Row("Count words")));
}

TEST_F(StaticCleanupPageTest, BackupThatCannotBeWrittenKeepsTheVerbAndSaysWhy) {
  Open();
  // A file where the folder should be: neither the folder nor the backup can be made.
  RemoveDirectoryA(backups.c_str());
  const std::string blocker = backups.substr(0, backups.size() - 1);
  CloseHandle(CreateFileA(blocker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  Toggle("Count words");
  Apply();
  DeleteFileA(blocker.c_str());
  CreateDirectoryA(backups.c_str(), nullptr);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_THAT(boxes[0].Text, HasSubstr("cannot be created: "));
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "inifile\\shell\\Count\\command"));
  EXPECT_TRUE(form->HasChanges());
}

TEST_F(StaticCleanupPageTest, ProgramCommandSwitchesOffItsVerbsOfEveryType) {
  Open();
  Select("Zap with &Tool");
  Page().actCleanupProgram.Execute();
  EXPECT_FALSE(List().Checked(Row("Zap with &Tool")));
  EXPECT_TRUE(List().Checked(Row("Count words")));
  TStaticItems& all = form->StaticCleanup().GetItems("\\*\\shell");
  bool zapAll = false;
  for (int i = 0; i < all.Count(); ++i) {
    if (all.Item(i).VerbName() == "ZapAll") zapAll = all.IsDisabled(all.Item(i));
  }
  EXPECT_TRUE(zapAll);

  // A file types refresh drops every pending change.
  Page().actFileTypesRefresh.Execute();
  ChooseType("inifile");
  EXPECT_TRUE(List().Checked(Row("Zap with &Tool")));
  EXPECT_FALSE(form->HasChanges());
}

TEST_F(StaticCleanupPageTest, FilterAndFindApplication) {
  Open();
  Page().edFilter.SetText("COUNT.exe");
  EXPECT_EQ(List().ItemCount(), 1);
  EXPECT_EQ(List().ItemText(0), "Count words");
  std::string opened;
  Page().ShellOpen = [&](const std::string& verb, const std::string& target) {
    opened = verb + " " + target;
    return 2LL;
  };
  Page().actCleanupFind.Execute();
  EXPECT_EQ(opened, "explore C:\\Tools\\");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_FALSE(boxes[0].Text.empty());
  EXPECT_EQ(boxes[0].Flags, static_cast<UINT>(MB_OK | MB_ICONWARNING));
}

// The page is hidden while the window is made; its controls must still fit it once shown,
// also in a larger window.
TEST_F(StaticCleanupPageTest, ControlsStayInsideThePage) {
  Open();
  for (int grow : {0, 120}) {
    RECT window{};
    GetWindowRect(form->Handle(), &window);
    SetWindowPos(form->Handle(), nullptr, 0, 0, window.right - window.left + grow,
                 window.bottom - window.top + grow, SWP_NOMOVE | SWP_NOZORDER);
    Application().ProcessMessages();
    for (TControl* control : form->tshtCleanup.Controls()) {
      EXPECT_LE(control->BoundsRect().right, form->tshtCleanup.ClientWidth()) << control->Name();
      EXPECT_LE(control->BoundsRect().bottom, form->tshtCleanup.ClientHeight()) << control->Name();
    }
  }
  EXPECT_GE(Page().lbMenuItems.Height(), 100);
}

}  // namespace
}  // namespace orvane::testing
