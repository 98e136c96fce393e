// The dynamic items switch: registering the real module under Wine and removing it again,
// the failures that leave the box clear and the registry as it was, the 64-bit twin's
// registration tool and its exit code, the rights of the user, and Apply's bracket.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "app/serving_process_runner.h"
#include "app/shell_ext_switch.h"
#include "platform/file_system.h"
#include "platform/messages.h"
#include "platform/process_runner.h"
#include "platform/reg_text.h"
#include "platform/registry.h"
#include "platform/registry_backend.h"
#include "platform/system_info.h"
#include "platform/system_folders.h"
#include "tests/app/app_fixture.h"

namespace orvane::testing {
namespace {

const std::string kClassKey = "CLSID\\{5D1E7A42-3C9B-4F08-A6D2-9B71E0C4F315}";
const std::string kHandlerKey =
    "*\\shellex\\ContextMenuHandlers\\{5D1E7A42-3C9B-4F08-A6D2-9B71E0C4F315}";

// The registration tool as the test decides it ends.
class TFakeRunner : public IProcessRunner {
public:
  TProcessResult Result{TProcessResult::TEnd::Exited, 0, ""};
  std::vector<std::string> Calls;
  TProcessResult Run(const std::string& program, const std::string& arguments,
                     std::uint32_t) override {
    Calls.push_back(program + " " + arguments);
    return Result;
  }
};

// Files that exist because the test says so.
class TListedFiles : public IFileSystem {
public:
  std::vector<std::string> Existing;
  std::string ExpandEnvironment(const std::string& text) override { return text; }
  std::optional<bool> FindFileOnPath(const std::string&, const std::vector<std::string>&,
                                     std::string*) override {
    return std::nullopt;
  }
  bool FileExists(const std::string& path) override {
    return std::find(Existing.begin(), Existing.end(), path) != Existing.end();
  }
};

// A key of the real registry, in the 64-bit view.
bool KeyExists64(const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &key) != 0)
    return false;
  RegCloseKey(key);
  return true;
}

std::string DefaultValue64(const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &key) != 0)
    return "";
  char value[MAX_PATH * 2] = {};
  DWORD size = sizeof value - 1;
  DWORD type = 0;
  const LONG read = RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(key);
  return read == 0 && type == REG_SZ ? std::string(value) : std::string();
}

void MakeClassKey(IRegistryBackend& registry) {
  HKey key = 0;
  if (registry.CreateKey(kHkeyClassesRoot, kClassKey, kKeyAllAccess, key) == kErrorSuccess)
    registry.CloseKey(key);
}

void DropClassKey(IRegistryBackend& registry) { registry.DeleteKey(kHkeyClassesRoot, kClassKey); }

class ShellExtSwitchTest : public MainWindowTest {
protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    folder = std::string(temp) + "orvane-switch-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA((folder + "x64").c_str(), nullptr);
  }
  void TearDown() override {
    DeleteFileA((folder + "x64\\OVShlExt.DLL").c_str());
    DeleteFileA((folder + "OVShlExt.DLL").c_str());
    RemoveDirectoryA((folder + "x64").c_str());
    RemoveDirectoryA(folder.c_str());
    MainWindowTest::TearDown();
  }

  // Over the test's registry, with the in-process registration recorded.
  std::unique_ptr<TShellExtSwitch> FakeSwitch(bool windows64) {
    return std::make_unique<TShellExtSwitch>(
        TShellExtSystem{registry, files, runner, "regsvr32.exe", windows64,
                        [this](const std::string& path, bool unregister) {
                          calls.push_back((unregister ? "unregister " : "register ") + path);
                          if (!unregister && !registerFailure.empty())
                            throw EOleSysError(registerFailure, 1);
                          if (unregister)
                            DropClassKey(registry);
                          else
                            MakeClassKey(registry);
                        }},
        folder);
  }

  std::vector<std::string> WarningTexts() const {
    std::vector<std::string> texts;
    for (const TShownBox& box : boxes) {
      EXPECT_EQ(box.Caption, kAppTitle);
      EXPECT_TRUE(box.Flags & MB_ICONWARNING);
      texts.push_back(box.Text);
    }
    return texts;
  }

  std::unique_ptr<TfrmMain> CreateMainWindowWithSwitch() {
    TMainFormSettings settings;
    settings.MenuFile = menuFile;
    settings.ShellExt = std::move(settingsSwitch);
    return std::make_unique<TfrmMain>(nullptr, Services(), settings);
  }

  std::string folder;
  std::shared_ptr<TShellExtSwitch> settingsSwitch;
  TFakeRunner runner;
  TListedFiles files;
  std::vector<std::string> calls;
  std::string registerFailure;
};

TEST_F(ShellExtSwitchTest, EnablingWithoutModuleLeavesBoxClearWithSystemsReason) {
  auto shellExt = SystemShellExtSwitch(DefaultRegistryBackend(), DefaultFileSystem(), folder,
                                       WindowsFolder(), true);
  EXPECT_FALSE(shellExt->Click(true));
  std::vector<std::string> texts = WarningTexts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0], LoadResString(msg::SShellExtWarning));
  EXPECT_EQ(texts[1].rfind("Failed to load \"" + folder + "OVShlExt.DLL\": ", 0), 0u) << texts[1];
  EXPECT_NE(texts[1].find("(126)"), std::string::npos) << texts[1];
  EXPECT_FALSE(shellExt->Registered());
  EXPECT_FALSE(KeyExists64(kClassKey));
}

TEST_F(ShellExtSwitchTest, RealModuleRegistersInBothPlacesAndDisablingRemovesItSilently) {
  // The module beside the program, and on 64-bit Windows its 64-bit twin in "x64" for
  // the registration tool.
  const bool windows64 = IsWindows64();
  const std::string twin = ModuleTwin();
  if (windows64 && twin.empty()) GTEST_SKIP() << "the 64-bit module has not been built";
  ASSERT_TRUE(CopyFileA(ORVANE_MODULE, (folder + "OVShlExt.DLL").c_str(), FALSE));
  if (windows64) {
    ASSERT_TRUE(CopyFileA(twin.c_str(), (folder + "x64\\OVShlExt.DLL").c_str(), FALSE));
  }
  ASSERT_FALSE(ShellExtRegistered(DefaultRegistryBackend())) << "the prefix holds a registration";
  auto shellExt = SystemShellExtSwitch(DefaultRegistryBackend(), DefaultFileSystem(), folder,
                                       WindowsFolder(), windows64);

  EXPECT_TRUE(shellExt->Click(true));
  EXPECT_EQ(WarningTexts(), std::vector<std::string>{LoadResString(msg::SShellExtWarning)});
  EXPECT_TRUE(shellExt->Registered());
  // The 64-bit view is the file manager's: the twin registered there, by the tool (32-bit
  // Windows has the one view, the module's).
  EXPECT_TRUE(KeyExists64(kHandlerKey));
  EXPECT_EQ(DefaultValue64(kClassKey + "\\InProcServer32"),
            folder + (windows64 ? "x64\\OVShlExt.DLL" : "OVShlExt.DLL"));

  boxes.clear();
  EXPECT_FALSE(shellExt->Click(false));
  EXPECT_TRUE(boxes.empty());
  EXPECT_FALSE(shellExt->Registered());
  EXPECT_FALSE(KeyExists64(kClassKey));
  EXPECT_FALSE(KeyExists64(kHandlerKey));
}

TEST_F(ShellExtSwitchTest, FailingTwinUndoesTheRegistrationAndSaysWhy) {
  files.Existing = {folder + "x64\\OVShlExt.DLL"};
  auto shellExt = FakeSwitch(true);
  struct TCase {
    TProcessResult Result;
    std::string Expected;
  };
  const std::string twin = folder + "x64\\OVShlExt.DLL";
  for (const TCase& c : std::vector<TCase>{
           {{TProcessResult::TEnd::Exited, 5, ""},
            "The registration tool failed on \"" + twin +
                "\": the module's registration reported a failure (exit code 5)"},
           {{TProcessResult::TEnd::Exited, 3, ""},
            "The registration tool failed on \"" + twin +
                "\": the module could not be loaded (exit code 3)"},
           {{TProcessResult::TEnd::TimedOut, 0, ""},
            "The registration tool did not finish with \"" + twin +
                "\" within 60 seconds and was stopped."},
           {{TProcessResult::TEnd::NotStarted, 0, "File not found"},
            "The registration tool \"regsvr32.exe\" could not be started: File not found"}}) {
    runner.Result = c.Result;
    runner.Calls.clear();
    calls.clear();
    boxes.clear();
    EXPECT_FALSE(shellExt->Click(true));
    EXPECT_EQ(WarningTexts(),
              (std::vector<std::string>{LoadResString(msg::SShellExtWarning), c.Expected}));
    // Registered, then taken back: in this process and by the tool.
    EXPECT_EQ(calls, (std::vector<std::string>{"register " + folder + "OVShlExt.DLL",
                                               "unregister " + folder + "OVShlExt.DLL"}));
    EXPECT_EQ(runner.Calls, (std::vector<std::string>{"regsvr32.exe \"" + twin + "\" /s",
                                                      "regsvr32.exe \"" + twin + "\" /u /s"}));
    EXPECT_FALSE(shellExt->Registered());
  }
}

TEST_F(ShellExtSwitchTest, TwinIsRegisteredOnlyOnWindows64AndOnlyWhenPresent) {
  files.Existing = {folder + "x64\\OVShlExt.DLL"};
  EXPECT_TRUE(FakeSwitch(false)->Click(true));
  EXPECT_TRUE(runner.Calls.empty());
  files.Existing.clear();
  boxes.clear();
  EXPECT_TRUE(FakeSwitch(true)->Click(true));
  EXPECT_TRUE(runner.Calls.empty());
  EXPECT_EQ(WarningTexts(), std::vector<std::string>{LoadResString(msg::SShellExtWarning)});
}

TEST_F(ShellExtSwitchTest, ModuleWithoutEntryPointCountsAsFailedRegistration) {
  auto shellExt = std::make_unique<TShellExtSwitch>(
      TShellExtSystem{registry, files, runner, "regsvr32.exe", false,
                      [](const std::string& path, bool unregister) {
                        if (!unregister)
                          throw Exception(FormatRes(msg::SShellExtProcNotFound,
                                                    {std::string("DllRegisterServer"), path}));
                      }},
      folder);
  EXPECT_FALSE(shellExt->Click(true));
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1].Text, "DllRegisterServer procedure not found in \"" + folder + "OVShlExt.DLL\"");
}

TEST_F(ShellExtSwitchTest, ReadOnlyUserSeesRegistrationAndIsToldAdministratorRightsAreNeeded) {
  MakeClassKey(registry);
  registry.SetKeyRights("HKEY_CLASSES_ROOT\\" + kClassKey, kKeyRead);
  registry.SetKeyRights("HKEY_CLASSES_ROOT\\CLSID", kKeyRead);
  auto shellExt = FakeSwitch(false);
  EXPECT_TRUE(shellExt->Registered());
  // Clearing the box: nothing is tried, and the box stays ticked.
  EXPECT_TRUE(shellExt->Click(false));
  EXPECT_EQ(WarningTexts(), std::vector<std::string>{LoadResString(msg::SShellExtRights)});
  EXPECT_TRUE(calls.empty());

  // Not registered and no right to create the key: ticking is refused the same way.
  registry.ClearFailures();
  DropClassKey(registry);
  registry.SetKeyRights("HKEY_CLASSES_ROOT\\CLSID", kKeyRead);
  boxes.clear();
  EXPECT_FALSE(shellExt->Click(true));
  EXPECT_EQ(WarningTexts(), std::vector<std::string>{LoadResString(msg::SShellExtRights)});
  EXPECT_TRUE(calls.empty());
}

TEST_F(ShellExtSwitchTest, ToolReportsItsExitCodeAndStartsWithHiddenArguments) {
  // The registration tool's exit codes, under Wine's own regsvr32: a file that is no
  // module does not load (3 on Windows, other non-zero codes elsewhere).
  const std::string notModule = folder + "x64\\OVShlExt.DLL";
  HANDLE file = CreateFileA(notModule.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, "not a module", 12, &written, nullptr);
  CloseHandle(file);
  TServingProcessRunner serving;
  try {
    RunRegsvr32(serving, Regsvr32Path(WindowsFolder(), IsWindows64()), notModule, false);
    ADD_FAILURE() << "a file that is no module was registered";
  } catch (const EOleSysError& failure) {
    EXPECT_NE(failure.Message().find("(exit code "), std::string::npos) << failure.Message();
    EXPECT_NE(failure.ErrorCode(), 0u);
  }
}

TEST_F(ShellExtSwitchTest, BoxFollowsRegistrationAndApplyBracketsOnlyChangedDynamicItems) {
  settingsSwitch = FakeSwitch(false);
  MakeClassKey(registry);
  auto form = CreateMainWindowWithSwitch();
  TCheckBox& box = form->Create<TCheckBox>("chkShellExtTest", &form->tshtActiveXMenus);
  box.SetBounds(8, 8, 200, 20);
  ConnectShellExtBox(box, *form, form->ShellExt());
  // Ticked from the registry at start, with nothing registered meanwhile.
  EXPECT_TRUE(box.Checked());
  EXPECT_TRUE(calls.empty());

  // Apply with the dynamic items unchanged registers nothing.
  form->StaticMenu().SetModified(true);
  form->ApplyChanges();
  EXPECT_TRUE(calls.empty());

  // Changed: unregistered before the save, registered after it.
  form->DynamicMenu().SetModified(true);
  form->ApplyChanges();
  EXPECT_EQ(calls, (std::vector<std::string>{"unregister " + folder + "OVShlExt.DLL",
                                             "register " + folder + "OVShlExt.DLL"}));

  // A registration that fails after the save: the reason shown, the box stays ticked.
  calls.clear();
  registerFailure = "Call to DllRegisterServer failed";
  form->DynamicMenu().SetModified(true);
  form->ApplyChanges();
  EXPECT_EQ(WarningTexts(), std::vector<std::string>{"Call to DllRegisterServer failed"});
  EXPECT_TRUE(box.Checked());

  // Clearing the box by a click: no message; ticking it again with the registration
  // failing: the box ends clear.
  boxes.clear();
  SendMessageA(box.Handle(), BM_CLICK, 0, 0);
  EXPECT_FALSE(box.Checked());
  EXPECT_TRUE(boxes.empty());
  SendMessageA(box.Handle(), BM_CLICK, 0, 0);
  EXPECT_FALSE(box.Checked());
  EXPECT_EQ(WarningTexts(), (std::vector<std::string>{LoadResString(msg::SShellExtWarning),
                                                      "Call to DllRegisterServer failed"}));
  registerFailure.clear();
  SendMessageA(box.Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(box.Checked());
}

}  // namespace
}  // namespace orvane::testing
