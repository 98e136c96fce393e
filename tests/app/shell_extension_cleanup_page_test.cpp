// The shell extensions cleanup page as a user meets it: the list loaded at the first
// showing with the missing module first, switching off and Apply through the window,
// the delete question, the filter and switching off everything of one DLL.
#include <gmock/gmock.h>

#include <condition_variable>
#include <map>
#include <mutex>

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

// Answers each helper run by class id, after `Gate` opens; runs on the measuring thread.
class TGatedRunner : public IProcessRunner {
public:
  std::map<std::string, TProcessResult> Answers;
  TProcessResult Run(const std::string&, const std::string& arguments, std::uint32_t) override {
    std::unique_lock<std::mutex> lock(mutex_);
    ++entered_;
    opened_.notify_all();
    opened_.wait(lock, [this] { return open_; });
    Arguments.push_back(arguments);
    return Answers.at(arguments.substr(0, arguments.find(' ')));
  }
  void Open(bool open) {
    std::lock_guard<std::mutex> lock(mutex_);
    open_ = open;
    opened_.notify_all();
  }
  // Until a helper run has begun.
  void WaitForARun() {
    std::unique_lock<std::mutex> lock(mutex_);
    opened_.wait(lock, [this] { return entered_ > 0; });
  }
  std::vector<std::string> Arguments;

private:
  std::mutex mutex_;
  std::condition_variable opened_;
  bool open_ = true;
  int entered_ = 0;
};

const std::string kSlow = "{55555555-0000-0000-0000-000000000001}";
const std::string kCrash = "{55555555-0000-0000-0000-000000000002}";

class ShellExtensionMeasureTest : public ShellExtensionPageTest {
protected:
  void SetUp() override {
    ImportRegText(registry,
                  "REGEDIT4\n\n[HKEY_CLASSES_ROOT\\.txt\\shellex\\ContextMenuHandlers\\Slow]\n@=\"" +
                      kSlow + "\"\n[HKEY_CLASSES_ROOT\\txtfile\\shellex\\ContextMenuHandlers\\Crash]\n@=\"" +
                      kCrash + "\"\n[HKEY_CLASSES_ROOT\\CLSID\\" + kSlow +
                      "\\InProcServer32]\n@=\"shell32.dll\"\n[HKEY_CLASSES_ROOT\\CLSID\\" + kCrash +
                      "\\InProcServer32]\n@=\"shell32.dll\"\n");
    auto exited = [](std::uint32_t code, std::string output) {
      return TProcessResult{TProcessResult::TEnd::Exited, code, std::move(output)};
    };
    runner.Answers = {{kShell, exited(0, "created 1000\ninitialized 10\nqueried 2000 1\n")},
                      {kSlow, exited(0, "created 100000\ninitialized 10\nqueried 300000 2\n")},
                      {kCrash, exited(0xC0000005, "created 500\n")}};
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    measuring = {&runner, {"p32.exe", "p64.exe", 1000},
                 std::string(temp) + "orvane-samples-" + std::to_string(GetCurrentProcessId()) + "\\"};
    ShellExtensionPageTest::SetUp();
    ShowPage();
  }
  void WaitForTheRun() {
    while (Page().Measuring()) Application().HandleMessage();
  }

  TGatedRunner runner;
};

TEST_F(ShellExtensionMeasureTest, EachListedHandlerIsTimedOnASampleOfItsTypeAndTheSlowestComeFirst) {
  Click(Page().spbMeasure);
  EXPECT_TRUE(Page().Measuring());
  WaitForTheRun();
  // The missing DLL is not run; the others each once, on an object of their own type.
  ASSERT_EQ(runner.Arguments.size(), 4u);
  for (const std::string& arguments : runner.Arguments) {
    const bool folder = arguments.find("Sample folder") != std::string::npos;
    EXPECT_TRUE(folder || arguments.find("Sample.txt\"") != std::string::npos) << arguments;
  }
  EXPECT_EQ(Page().lblMeasure.Caption(),
            "4 of 4 measured. 1 crashed or hung. Slowest: Slow (.txt), 400.0 ms.");
  Click(Page().chkSlowest);
  Application().ProcessMessages();
  EXPECT_EQ(Shown(), (std::vector<std::string>{"Crash (txtfile)", "Slow (.txt)", "Shell Tools (*)",
                                               "Shell Tools (Directory)", "Gone (*)"}));
  Select("Crash (txtfile)");
  EXPECT_EQ(Page().edTime.Text(), "Crashed the helper program (0xC0000005)");
  Select("Gone (*)");
  EXPECT_EQ(Page().edTime.Text(), "Not measured: the DLL is not available");
  EXPECT_FALSE(SaveScreenshot(form->Handle(), "shell_extension_measure").empty());
  // A reload drops the times with the entries they belong to.
  Click(Page().spbRefresh);
  EXPECT_EQ(Page().Timing(*Page().Selected()), nullptr);
}

TEST_F(ShellExtensionMeasureTest, StopEndsTheRunAfterTheHandlerBeingTimed) {
  runner.Open(false);
  Click(Page().spbMeasure);
  runner.WaitForARun();
  Click(Page().spbMeasure);
  EXPECT_FALSE(Page().spbMeasure.Enabled());
  runner.Open(true);
  WaitForTheRun();
  EXPECT_EQ(runner.Arguments.size(), 1u);
  EXPECT_EQ(Page().lblMeasure.Caption().rfind("Stopped: 1 of 4 measured.", 0), 0u)
      << Page().lblMeasure.Caption();
  EXPECT_TRUE(Page().spbMeasure.Enabled());
}

}  // namespace
}  // namespace orvane::testing
