// The registry bugs dialog as a user meets it: the list and its counters, which commands
// are open when, a fix run with entries that cannot be fixed or fail, the backup, and the
// main window's button on the prefix's own registry.

#include <gmock/gmock.h>

#include <fstream>
#include <sstream>

#include "app/registry_bugs_dialog.h"
#include "app_fixture.h"
#include "filetypes/erroneous_file_type.h"
#include "platform/registry.h"
#include "platform/win32/win32_registry.h"
#include "tests/support/clicks.h"
#include "tests/support/recorded_backup.h"
#include "tests/support/scoped_value.h"

namespace orvane::testing {
namespace {

using ::testing::HasSubstr;

constexpr const char* kFaults =
    "REGEDIT4\n\n"
    "[HKEY_CLASSES_ROOT\\.gone]\n@=\"gonefile\"\n"
    "[HKEY_CLASSES_ROOT\\.gone\\ShellNew]\n"
    "[HKEY_CLASSES_ROOT\\.locked]\n@=\"lockedfile\"\n"
    "[HKEY_CLASSES_ROOT\\.pic]\n\"PerceivedType\"=\"nosuch\"\n";

class RegistryBugsDialogTest : public MainWindowTest {
protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    ImportRegText(registry, kFaults);
    registry.SetKeyRights("HKEY_CLASSES_ROOT\\.locked", kKeyRead);
    AddBug(bugs, bkMissingType, "Extension \".gone\" belongs to non-existing file type", ".gone",
           "gonefile");
    AddBug(bugs, bkMissingType, "Extension \".locked\" belongs to non-existing file type",
           ".locked", "lockedfile");
    AddBug(bugs, bkUnreadable, "Access to the egistry key \"x\" is denied", "x", "");
    AddBug(bugs, bkMissingPerceivedType, "Extension \".pic\" belongs to non-existing perceived",
           ".pic", "nosuch");
    dialog = std::make_unique<TfrmRegistryBugs>(
        nullptr, TRegistryBugsServices{registry, backup, [this](const TControl* control) {
                                         hinted.push_back(control);
                                       }});
    dialog->SetBugs(&bugs);
    dialog->Show();
    Application().ProcessMessages();
  }
  void TearDown() override {
    dialog.reset();
    MainWindowTest::TearDown();
  }

  std::vector<bool> Selection() {
    std::vector<bool> selected;
    for (int i = 0; i < dialog->lvBugs.ItemCount(); ++i)
      selected.push_back(dialog->lvBugs.Selected(i));
    return selected;
  }
  std::vector<bool> Enabled() {
    dialog->UpdateActions("Bugs");
    std::vector<bool> enabled;
    for (TAction* action : {&dialog->actFix, &dialog->actFixAll, &dialog->actSelectAll,
                            &dialog->actSelectNone, &dialog->actInvertSelected,
                            &dialog->actQuickHint})
      enabled.push_back(action->Enabled());
    return enabled;
  }

  TAdvStringList bugs;
  TRecordedBackup backup;
  std::vector<const TControl*> hinted;
  std::unique_ptr<TfrmRegistryBugs> dialog;
};

TEST_F(RegistryBugsDialogTest, ListsTheEntriesWithTheirCounters) {
  ASSERT_EQ(dialog->lvBugs.ItemCount(), 4);
  EXPECT_EQ(dialog->lvBugs.ItemText(2), "Access to the egistry key \"x\" is denied");
  EXPECT_EQ(dialog->lvBugs.ItemData(2), bugs.Objects(2));
  EXPECT_EQ(dialog->lblBugsTotal.Caption(), "4");
  EXPECT_EQ(dialog->lblBugsFixed.Caption(), "0");
  EXPECT_EQ(dialog->spbFix.Caption(), "Fix");  // short captions, not the commands'
  EXPECT_EQ(dialog->spbFixAll.Caption(), "Fix All");
  EXPECT_EQ(dialog->GetPropertyPath("lvBugs.Columns(0).Caption"), "Description");
  char caption[64] = {};
  GetWindowTextA(dialog->Handle(), caption, sizeof caption);
  EXPECT_STREQ(caption, "Registry Bugs");
  std::vector<std::string> menu;
  for (TAction* action : dialog->pmBugs.Items()) menu.push_back(action ? action->Caption() : "-");
  EXPECT_THAT(menu, ::testing::ElementsAre("&Fix Bug", "Fix &All", "-", "&Select All",
                                           "Select &None", "&Invert", "-", "&Quick Hint"));
}

TEST_F(RegistryBugsDialogTest, CommandsFollowTheSelectionAndWhatIsLeftToFix) {
  // Fix, Fix All, Select All, Select None, Invert, Quick Hint.
  EXPECT_THAT(Enabled(), ::testing::ElementsAre(false, true, true, false, true, true));
  dialog->actInvertSelected.Execute();
  EXPECT_THAT(Selection(), ::testing::ElementsAre(true, true, true, true));
  EXPECT_THAT(Enabled(), ::testing::ElementsAre(true, true, true, true, true, true));
  EXPECT_TRUE(dialog->spbFix.Enabled());
  dialog->actSelectNone.Execute();
  EXPECT_THAT(Selection(), ::testing::ElementsAre(false, false, false, false));
  EXPECT_FALSE(dialog->spbFix.Enabled());

  // With every entry fixed only the quick hint is left.
  registry.SetKeyRights("HKEY_CLASSES_ROOT\\.locked", kKeyAllAccess);
  bugs.Delete(2);  // the one that cannot be fixed
  dialog->SetBugs(&bugs);
  dialog->actFixAll.Execute();
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(dialog->lblBugsFixed.Caption(), "3");
  EXPECT_THAT(Enabled(), ::testing::ElementsAre(false, false, false, false, false, true));
  EXPECT_FALSE(dialog->spbFixAll.Enabled());
}

// Two selected entries that can be fixed are, and leave the selection; the one the
// registry refuses stays selected and unfixed, with one warning after the run; the one
// that cannot be fixed says so.
TEST_F(RegistryBugsDialogTest, FixSelectedRepairsWhatItCanAndKeepsTheRestSelected) {
  for (int row : {0, 1, 2, 3}) dialog->lvBugs.SetSelected(row, true);
  dialog->actFix.Execute();
  EXPECT_THAT(Selection(), ::testing::ElementsAre(false, true, true, false));
  EXPECT_EQ(dialog->FixedCount(), 2);
  EXPECT_EQ(dialog->lblBugsFixed.Caption(), "2");
  EXPECT_EQ(dialog->lvBugs.ItemImage(0), 1);
  EXPECT_EQ(dialog->lvBugs.ItemImage(1), 0);
  EXPECT_EQ(ExportRegText(registry, "HKEY_CLASSES_ROOT\\.gone"), "");
  EXPECT_THAT(ExportRegText(registry, "HKEY_CLASSES_ROOT\\.locked"), HasSubstr("lockedfile"));
  EXPECT_THAT(ExportRegText(registry, "HKEY_CLASSES_ROOT\\.pic"), ::testing::Not(HasSubstr("Perceived")));
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].Text, "Unable to fix the problem:\r\nAccess to the egistry key \"x\" is denied");
  EXPECT_EQ(boxes[0].Caption, "Orvane 2008");
  EXPECT_EQ(boxes[0].Flags & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
  EXPECT_EQ(boxes[1].Text, "Errors detected while fixing the registry. Some bugs may appear unfixed.");
  EXPECT_EQ(boxes[1].Flags & MB_ICONMASK, static_cast<UINT>(MB_ICONWARNING));
  ASSERT_EQ(backup.Descriptions.size(), 1u);
  EXPECT_EQ(backup.Descriptions[0], "Registry bugs");
}

TEST_F(RegistryBugsDialogTest, ABackupThatCannotBeWrittenFixesNothingAndSaysWhy) {
  backup.FailCommit = true;
  dialog->actFixAll.Execute();
  EXPECT_EQ(dialog->FixedCount(), 0);
  EXPECT_THAT(ExportRegText(registry, "HKEY_CLASSES_ROOT\\.gone"), HasSubstr("gonefile"));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_THAT(boxes[0].Text, HasSubstr("disk full"));
}

TEST_F(RegistryBugsDialogTest, ClosingDropsTheFixedEntriesAndReopeningCountsFromZero) {
  dialog.reset();
  TScopedValue<std::function<void(TfrmRegistryBugs&)>> modal(
      RegistryBugsModal(), [](TfrmRegistryBugs& form) {
        form.lvBugs.SetSelected(0, true);
        form.actFix.Execute();
      });
  ShowRegistryBugs(bugs, {registry, backup, {}});
  ASSERT_EQ(bugs.Count(), 3);
  EXPECT_EQ(bugs.Strings(0), "Extension \".locked\" belongs to non-existing file type");

  int listed = 0;
  int counted = -1;
  TScopedValue<std::function<void(TfrmRegistryBugs&)>> again(
      RegistryBugsModal(), [&](TfrmRegistryBugs& form) {
        listed = form.lvBugs.ItemCount();
        counted = form.FixedCount();
      });
  ShowRegistryBugs(bugs, {registry, backup, {}});
  EXPECT_EQ(listed, 3);
  EXPECT_EQ(counted, 0);
}

TEST_F(RegistryBugsDialogTest, F1AndTheCloseButtonsMenuExplainTheControl) {
  dialog->lvBugs.SetFocus();
  dialog->KeyUp(VK_F1, 0);
  ASSERT_EQ(hinted.size(), 1u);
  EXPECT_EQ(hinted[0], &dialog->lvBugs);
  // The main window's quick hint of the list.
  auto form = CreateMainWindow();
  form->ShowQuickHint(&dialog->lvBugs);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Caption, "List of registry bugs ");
  EXPECT_THAT(boxes[0].Text, HasSubstr("Fix All command"));
  EXPECT_EQ(dialog->pmHint.Items(), std::vector<TAction*>{&dialog->actQuickHint});
}

// On the prefix's own HKEY_CLASSES_ROOT, with two faults planted: the button shows, the
// dialog lists them, Fix All removes them into a backup file, and closing hides the button.
class SystemRegistryBugsTest : public MainWindowTest {
protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    Wipe();
    ImportRegText(system,
                  "REGEDIT4\n\n"
                  "[HKEY_CLASSES_ROOT\\.orvanetestbug]\n@=\"OrvaneTest.NoSuchType\"\n"
                  "[HKEY_CLASSES_ROOT\\.orvanetestbug\\ShellNew]\n\"NullFile\"=\"\"\n"
                  "[HKEY_CLASSES_ROOT\\.orvanetestdoc]\n@=\"OrvaneTest.Doc\"\n"
                  "[HKEY_CLASSES_ROOT\\OrvaneTest.Doc]\n@=\"Orvane test document\"\n"
                  "[HKEY_CLASSES_ROOT\\OrvaneTest.Doc\\CurVer]\n@=\"OrvaneTest.Doc.99\"\n");
  }
  void TearDown() override {
    if (Application().MainForm()) Application().SetMainForm(nullptr);
    form.reset();
    Wipe();
    MainWindowTest::TearDown();
  }
  void Wipe() {
    TRegistry root(system);
    root.SetRootKey(kHkeyClassesRoot);
    for (const char* key : {"\\.orvanetestbug", "\\.orvanetestdoc", "\\OrvaneTest.Doc"})
      root.DeleteKey(key);
  }
  static bool Ours(const std::string& key) {
    return key.rfind(".orvanetest", 0) == 0 || key.rfind("OrvaneTest.", 0) == 0;
  }
  static bool Exists(const char* key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    RegCloseKey(opened);
    return true;
  }

  TWin32Registry system;
  std::unique_ptr<TfrmMain> form;
};

TEST_F(SystemRegistryBugsTest, FixAllRepairsThePlantedFaultsAndClosingHidesTheButton) {
  TServices real = ServicesOn(system);
  TMainFormSettings settings;
  settings.MenuFile = menuFile;
  form = std::make_unique<TfrmMain>(nullptr, real, settings);
  // The backup writer expects its folder to be there.
  CreateDirectoryA(form->RemovalBackup().Folder().c_str(), nullptr);
  form->Show();
  form->IdleUpdate();
  ASSERT_TRUE(form->spbBugs.Visible());

  // Whatever the prefix itself gets wrong is not this test's to repair.
  TAdvStringList& bugs = form->FileTypeList().Bugs();
  for (int i = bugs.Count() - 1; i >= 0; --i) {
    if (!Ours(static_cast<TErroneousFileType*>(bugs.Objects(i))->Key)) bugs.Delete(i);
  }
  std::vector<std::string> listed;
  TScopedValue<std::function<void(TfrmRegistryBugs&)>> modal(
      RegistryBugsModal(), [&](TfrmRegistryBugs& dialog) {
        dialog.Show();
        Application().ProcessMessages();
        for (int i = 0; i < dialog.lvBugs.ItemCount(); ++i) listed.push_back(dialog.lvBugs.ItemText(i));
        SaveScreenshot(dialog.Handle(), "registry_bugs_dialog");
        Click(dialog.spbFixAll);
        Application().ProcessMessages();
        EXPECT_EQ(dialog.lblBugsFixed.Caption(), "2");
        SaveScreenshot(dialog.Handle(), "registry_bugs_dialog_fixed");
        SendMessageA(dialog.btnClose.Handle(), BM_CLICK, 0, 0);
        EXPECT_FALSE(IsWindowVisible(dialog.Handle()));
      });
  Click(form->spbBugs);
  EXPECT_THAT(listed, ::testing::UnorderedElementsAre(
                          "Extension \".orvanetestbug\" belongs to non-existing file type "
                          "\"OrvaneTest.NoSuchType\"",
                          "File type \"OrvaneTest.Doc\" (\"Orvane test document\") refers to "
                          "non-existing file type \"OrvaneTest.Doc.99\""));
  EXPECT_TRUE(boxes.empty());
  EXPECT_FALSE(Exists(".orvanetestbug"));
  EXPECT_FALSE(Exists("OrvaneTest.Doc"));
  EXPECT_TRUE(Exists(".orvanetestdoc"));
  EXPECT_EQ(bugs.Count(), 0);
  EXPECT_FALSE(form->spbBugs.Visible());

  // What went is in the backup beside the menu file.
  const std::string file = form->RemovalBackup().LastFile();
  ASSERT_FALSE(file.empty());
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_THAT(text.str(), HasSubstr("[HKEY_CLASSES_ROOT\\.orvanetestbug\\ShellNew]"));
  EXPECT_THAT(text.str(), HasSubstr("\"OrvaneTest.Doc.99\""));
  in.close();
  DeleteFileA(file.c_str());
  RemoveDirectoryA(form->RemovalBackup().Folder().c_str());
}

}  // namespace
}  // namespace orvane::testing
