// The shell extensions cleanup page as a user meets it: the list loaded at the first
// showing with the missing module first, switching off and Apply through the window,
// the delete question, the filter and switching off everything of one DLL.
#include <gmock/gmock.h>

#include "app_fixture.h"
#include "maintenance/disabled_store.h"
#include "platform/registry.h"
#include "tests/support/clicks.h"

namespace orvane::testing {
namespace {

const std::string kShell = "{11111111-2222-3333-4444-555555555555}";
const std::string kGone = "{33333333-4444-5555-6666-777777777777}";

class ShellExtensionPageTest : public MainWindowTest {
protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    ImportRegText(registry,
                  "REGEDIT4\n\n"
                  "[HKEY_CLASSES_ROOT\\*\\shellex\\ContextMenuHandlers\\Shell Tools]\n@=\"" + kShell +
                      "\"\n[HKEY_CLASSES_ROOT\\Directory\\shellex\\ContextMenuHandlers\\Shell Tools]\n@=\"" +
                      kShell + "\"\n[HKEY_CLASSES_ROOT\\*\\shellex\\ContextMenuHandlers\\Gone]\n@=\"" +
                      kGone + "\"\n[HKEY_CLASSES_ROOT\\CLSID\\" + kShell +
                      "\\InProcServer32]\n@=\"shell32.dll\"\n[HKEY_CLASSES_ROOT\\CLSID\\" + kGone +
                      "\\InProcServer32]\n@=\"C:\\\\nowhere\\\\gone.dll\"\n");
    form = CreateMainWindow();
    // Apply writes its backup there first.
    CreateDirectoryA(form->RemovalBackup().Folder().c_str(), nullptr);
    Application().SetMainForm(form.get());
    form->Show();
    Application().ProcessMessages();
  }
  void TearDown() override {
    DeleteFileA(form->RemovalBackup().LastFile().c_str());
    if (Application().MainForm() == form.get()) Application().SetMainForm(nullptr);
    form.reset();
    MainWindowTest::TearDown();
  }
  void ShowPage() {
    Click(form->CategoryButtons1.Handle(), CentreOf(form->CategoryButtons1.ButtonRect(3)));
    Application().ProcessMessages();
  }
  TfrmDynamicCleanup& Page() { return form->ShellExtPage(); }
  std::vector<std::string> Shown() {
    std::vector<std::string> captions;
    for (TTreeNode node = Page().tvExtensions.FirstNode(); node;
         node = Page().tvExtensions.NextSibling(node))
      captions.push_back(Page().tvExtensions.NodeText(node));
    return captions;
  }
  void Select(const std::string& caption) {
    for (TTreeNode node = Page().tvExtensions.FirstNode(); node;
         node = Page().tvExtensions.NextSibling(node)) {
      if (Page().tvExtensions.NodeText(node) != caption) continue;
      // Posted: the tree follows a pressed button in a loop of its own until the release.
      const POINT at = CentreOf(Page().tvExtensions.NodeRect(node, true));
      PostMessageA(Page().tvExtensions.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
      PostMessageA(Page().tvExtensions.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
      Application().ProcessMessages();
      return;
    }
    FAIL() << caption;
  }

  std::unique_ptr<TfrmMain> form;
};

TEST_F(ShellExtensionPageTest, TheListLoadsAtTheFirstShowingWithTheMissingDllFirst) {
  EXPECT_TRUE(Shown().empty());
  ShowPage();
  EXPECT_EQ(Shown(), (std::vector<std::string>{"Gone (*)", "Shell Tools (*)", "Shell Tools (Directory)"}));
  EXPECT_TRUE(Page().pnlError.Visible());
  EXPECT_EQ(Page().edAppPath.Text(), "C:\\nowhere\\gone.dll");
  Select("Shell Tools (Directory)");
  EXPECT_FALSE(Page().pnlError.Visible());
  // Found on the search path: shown with its folder.
  EXPECT_THAT(Page().edAppPath.Text(), ::testing::EndsWith("\\shell32.dll"));
  EXPECT_NE(Page().edAppPath.Text(), "shell32.dll");
  EXPECT_EQ(Page().edRegistryKey.Text(), "Directory\\shellex\\ContextMenuHandlers\\Shell Tools");
  EXPECT_EQ(Page().edCLSID.Text(), kShell);
  EXPECT_FALSE(Page().edBitness.Text().empty());
  EXPECT_TRUE(Page().chkInclude.Checked());
  EXPECT_FALSE(SaveScreenshot(form->Handle(), "shell_extension_cleanup_page").empty());
}

TEST_F(ShellExtensionPageTest, SwitchedOffAndAppliedTheEntryComesBackGreyFromTheStore) {
  ShowPage();
  Select("Shell Tools (*)");
  Click(Page().chkInclude);
  Application().ProcessMessages();
  EXPECT_TRUE(form->HasChanges());
  form->ApplyChanges();
  EXPECT_FALSE(form->HasChanges());
  TRegistry check(registry);
  check.SetRootKey(kHkeyCurrentUser);
  EXPECT_TRUE(check.KeyExists("\\" + StoredKeyPath("*\\shellex\\ContextMenuHandlers\\Shell Tools",
                                                   kDisabledDynamicPrefix)));
  Click(Page().spbRefresh);
  Select("Shell Tools (*)");
  EXPECT_FALSE(Page().chkInclude.Checked());
  EXPECT_EQ(Page().edRegistryKey.Text(), "*\\shellex\\ContextMenuHandlers\\Shell Tools");
  EXPECT_FALSE(form->HasChanges());
}

// Deleting another program's registration is asked first; No keeps it listed.
TEST_F(ShellExtensionPageTest, DeleteAsksFirst) {
  ShowPage();
  for (int answer : {IDNO, IDYES}) {
    std::vector<std::string> questions;
    TMessageBoxAnswers answers([&](const std::string& text, const std::string&, UINT) {
      questions.push_back(text);
      return answer;
    });
    Select("Gone (*)");
    Click(Page().spbDelete);
    Application().ProcessMessages();
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_THAT(questions[0], ::testing::HasSubstr("\"Gone (*)\""));
    EXPECT_EQ(Shown().size(), answer == IDYES ? 2u : 3u);
    EXPECT_EQ(form->HasChanges(), answer == IDYES);
  }
  form->ApplyChanges();
  TRegistry check(registry);
  check.SetRootKey(kHkeyClassesRoot);
  EXPECT_FALSE(check.KeyExists("\\*\\shellex\\ContextMenuHandlers\\Gone"));
  EXPECT_TRUE(check.KeyExists("\\CLSID\\" + kGone));
}

TEST_F(ShellExtensionPageTest, TheFilterNarrowsTheListAndOneStepSwitchesOffAWholeDll) {
  ShowPage();
  Page().edFilter.SetText("SHELL32");
  Application().ProcessMessages();
  EXPECT_EQ(Shown(), (std::vector<std::string>{"Shell Tools (*)", "Shell Tools (Directory)"}));
  Click(Page().spbModule);
  Application().ProcessMessages();
  EXPECT_FALSE(Page().chkInclude.Checked());
  Page().edFilter.SetText("");
  Application().ProcessMessages();
  EXPECT_EQ(Shown().size(), 3u);
  form->ApplyChanges();
  TRegistry check(registry);
  check.SetRootKey(kHkeyClassesRoot);
  EXPECT_TRUE(check.KeyExists("\\*\\shellex\\ContextMenuHandlers\\Gone"));
  EXPECT_FALSE(check.KeyExists("\\*\\shellex\\ContextMenuHandlers\\Shell Tools"));
  EXPECT_FALSE(check.KeyExists("\\Directory\\shellex\\ContextMenuHandlers\\Shell Tools"));
}

}  // namespace
}  // namespace orvane::testing
