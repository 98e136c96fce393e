// The shell extension cleanup on the prefix's own registry, with foreign handlers
// registered for the test and removed after: one whose class only the 64-bit view
// knows, one only the 32-bit view knows, one on the shell's Blocked list.
#ifdef _WIN32
#include <windows.h>

#include <gtest/gtest.h>

#include "maintenance/disabled_store.h"
#include "maintenance/shell_extension_cleanup.h"
#include "platform/file_system.h"
#include "platform/reg_text.h"
#include "platform/registry.h"
#include "platform/system_info.h"
#include "platform/win32/win32_registry.h"
#include "tests/support/recorded_backup.h"

namespace orvane {
namespace {

const std::string kWide = "{0A1B2C3D-1111-4E5F-8A9B-0C1D2E3F4A51}";
const std::string kNarrow = "{0A1B2C3D-2222-4E5F-8A9B-0C1D2E3F4A52}";
const std::string kHandlers = "*\\shellex\\ContextMenuHandlers\\";
const std::string kBlocked =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Blocked";

std::string Escaped(const std::string& path) {
  std::string out;
  for (char c : path) out += c == '\\' ? std::string("\\\\") : std::string(1, c);
  return out;
}

class ShellExtensionCleanupWine : public ::testing::Test {
protected:
  TWin32Registry view32{kKeyWow64_32Key};
  TWin32Registry view64{kKeyWow64_64Key};
  IRegistryBackend& own = DefaultRegistryBackend();
  std::string module;

  void SetUp() override {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    module = path;
    Remove();
    ImportRegText(own, "REGEDIT4\n\n[HKEY_CLASSES_ROOT\\" + kHandlers + "OrvaneTestWide]\n@=\"" +
                           kWide + "\"\n\"Extra\"=dword:00000003\n[HKEY_CLASSES_ROOT\\" + kHandlers +
                           "OrvaneTestNarrow]\n@=\"" + kNarrow + "\"\n");
    const std::string server = "\\InProcServer32]\n@=\"" + Escaped(module) + "\"\n";
    ImportRegText(view64, "REGEDIT4\n\n[HKEY_CLASSES_ROOT\\CLSID\\" + kWide + server);
    ImportRegText(view32, "REGEDIT4\n\n[HKEY_CLASSES_ROOT\\CLSID\\" + kNarrow + server);
    ImportRegText(own, "REGEDIT4\n\n[HKEY_CURRENT_USER\\" + kBlocked + "]\n\"" + kNarrow + "\"=\"\"\n");
  }
  void TearDown() override { Remove(); }
  void Remove() {
    for (IRegistryBackend* backend : {&own, static_cast<IRegistryBackend*>(&view32),
                                      static_cast<IRegistryBackend*>(&view64)}) {
      TRegistry classes(*backend), user(*backend);
      classes.SetRootKey(kHkeyClassesRoot);
      for (const std::string& key : {"\\" + kHandlers + "OrvaneTestWide", "\\" + kHandlers + "OrvaneTestNarrow",
                                     "\\CLSID\\" + kWide, "\\CLSID\\" + kNarrow})
        classes.DeleteKey(key);
      user.DeleteKey("\\" + StoredKeyPath(kHandlers + "OrvaneTestWide", kDisabledDynamicPrefix));
      if (user.OpenKey("\\" + kBlocked, false)) user.DeleteValue(kNarrow);
    }
  }
  TShellExtensionCleanup Cleanup() {
    return TShellExtensionCleanup(TShellExtensionServices{
        own,
        {{&view32, TBitness::Bits32, {}, {}}, {&view64, TBitness::Bits64, {}, {}}},
        DefaultFileSystem(),
        DefaultModuleVersions()});
  }
  static const TExtensionInfo* Find(TShellExtensionCleanup& cleanup, const std::string& caption) {
    for (const auto& entry : cleanup.Entries())
      if (entry->Caption == caption) return entry.get();
    return nullptr;
  }
};

TEST_F(ShellExtensionCleanupWine, EachViewsHandlersAreFoundAndTheBlockedOneIsMarked) {
  // 32-bit Windows has one view: both classes land in it.
  if (!IsWindows64()) GTEST_SKIP() << "this system has one registry view";
  TShellExtensionCleanup cleanup = Cleanup();
  cleanup.Reload(nullptr);
  const TExtensionInfo* wide = Find(cleanup, "OrvaneTestWide (*)");
  const TExtensionInfo* narrow = Find(cleanup, "OrvaneTestNarrow (*)");
  ASSERT_TRUE(wide && narrow);
  EXPECT_FALSE(wide->Missing);
  EXPECT_EQ(BitnessText(wide->Bitness), "64-bit");
  EXPECT_EQ(wide->FileName, module);
  EXPECT_FALSE(wide->Blocked);
  EXPECT_EQ(BitnessText(narrow->Bitness), "32-bit");
  EXPECT_TRUE(narrow->Blocked);
}

TEST_F(ShellExtensionCleanupWine, SwitchedOffAndOnTheHandlerKeyIsBackUnchanged) {
  const std::string active = "HKEY_CLASSES_ROOT\\" + kHandlers + "OrvaneTestWide";
  const std::string before = ExportRegText(own, active);
  TShellExtensionCleanup cleanup = Cleanup();
  cleanup.Reload(nullptr);
  cleanup.SetWantDisabled(const_cast<TExtensionInfo&>(*Find(cleanup, "OrvaneTestWide (*)")), true);
  testing::TRecordedBackup backup;
  cleanup.Apply(backup);
  EXPECT_TRUE(ExportRegText(own, active).empty());
  cleanup.Reload(nullptr);
  const TExtensionInfo* stored = Find(cleanup, "OrvaneTestWide (*)");
  ASSERT_TRUE(stored);
  EXPECT_TRUE(stored->Disabled);
  cleanup.SetWantDisabled(const_cast<TExtensionInfo&>(*stored), false);
  cleanup.Apply(backup);
  EXPECT_EQ(ExportRegText(own, active), before);
  ASSERT_EQ(backup.Committed.size(), 2u);
}

}  // namespace
}  // namespace orvane
#endif
