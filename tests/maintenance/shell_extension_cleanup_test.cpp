#include "maintenance/shell_extension_cleanup.h"

#include <gtest/gtest.h>

#include <map>

#include "maintenance/disabled_store.h"
#include "platform/exception.h"
#include "platform/memory_registry.h"
#include "platform/reg_text.h"
#include "platform/registry.h"
#include "tests/support/nth_call_failure.h"
#include "tests/support/fake_services.h"
#include "tests/support/recorded_backup.h"

namespace orvane {
namespace {

using testing::TNthCallFailure;

const std::string kZip = "{11111111-2222-3333-4444-555555555555}";
const std::string kView = "{22222222-3333-4444-5555-666666666666}";
const std::string kGone = "{33333333-4444-5555-6666-777777777777}";
const std::string kWide = "{44444444-5555-6666-7777-888888888888}";

// A recorded backup that also keeps the text of each key as it was when handed over.
class TSnapshotBackup : public testing::TRecordedBackup {
public:
  explicit TSnapshotBackup(IRegistryBackend& registry) : registry_(registry) {}
  std::map<std::string, std::string> Texts;
  void AddKey(HKey root, const std::string& path) override {
    TRecordedBackup::AddKey(root, path);
    const std::string full = TRegistryEx::RootKeyName(root) + "\\" + path;
    Texts[full] = ExportRegText(registry_, full);
  }

private:
  IRegistryBackend& registry_;
};

class ShellExtensionCleanup : public ::testing::Test {
protected:
  testing::TFakeServices fake;
  TMemoryRegistry view64;
  TNthCallFailure registry{fake.Registry};
  std::unique_ptr<TShellExtensionCleanup> cleanup;
  std::vector<std::string> iconFiles;  // files the icon probe was asked about

  void SetUp() override {
    fake.FileSystem.Existing = {"C:\\Tools\\zipper.dll", "C:\\WINDOWS\\system32\\viewer.dll",
                                "C:\\WINDOWS\\Sysnative\\wide.dll"};
    fake.FileSystem.SearchPath = std::vector<std::string>{"C:\\WINDOWS\\system32\\"};
    fake.Versions.Files["C:\\Tools\\zipper.dll"] = {true, "Zip it", "Zipper", "Zip Ltd", "2.1"};
    cleanup = std::make_unique<TShellExtensionCleanup>(TShellExtensionServices{
        registry,
        {{&fake.Registry, TBitness::Bits32, {}, {}},
         {&view64, TBitness::Bits64, "C:\\WINDOWS\\system32\\", "C:\\WINDOWS\\Sysnative\\"}},
        fake.FileSystem,
        fake.Versions});
  }
  void Wipe() {
    TRegistry classes(fake.Registry), user(fake.Registry);
    classes.SetRootKey(kHkeyClassesRoot);
    for (const char* key : {"\\*", "\\Directory", "\\SystemFileAssociations", "\\CLSID"})
      classes.DeleteKey(key);
    user.DeleteKey("\\Software");
  }
  void Import(const std::string& text) { ImportRegText(fake.Registry, "REGEDIT4\n\n" + text); }
  void Reload() {
    cleanup->Reload([this](const std::string& file) {
      iconFiles.push_back(file);
      return false;
    });
  }
  TExtensionInfo* Find(const std::string& caption) {
    for (auto& entry : cleanup->Entries())
      if (entry->Caption == caption) return entry.get();
    return nullptr;
  }
  std::vector<std::string> Captions() {
    std::vector<std::string> captions;
    for (auto& entry : cleanup->Entries()) captions.push_back(entry->Caption);
    return captions;
  }
  // The key's text with its own path taken out, so that a moved key compares equal.
  std::string Body(const std::string& full) {
    std::string text = ExportRegText(fake.Registry, full);
    for (std::size_t at; (at = text.find("[" + full)) != std::string::npos;)
      text.replace(at + 1, full.size(), "");
    return text;
  }
  bool Exists(const std::string& full) { return !ExportRegText(fake.Registry, full).empty(); }
};

const std::string kHandlers = "shellex\\ContextMenuHandlers\\";

TEST_F(ShellExtensionCleanup, HandlerKeysFollowTheClassIdTextRule) {
  struct Case {
    std::string key, value, caption;  // caption empty: not listed
  } cases[] = {
      {"Zipper", kZip, "Zipper (*)"},
      {kZip, " Named by key ", "Named by key (*)"},
      {"{11111111-2222-3333-4444-55555555555X}", "  ", ""},
      {"{11111111-2222-3333-4444-555555555555]", "", "(*)"},  // last character not examined
      {"Short", "{11111111-2222-3333-4444-55555555555}", ""},
      {"Null", "{00000000-0000-0000-0000-000000000000}", ""},
      {"Text", "no class", ""},
  };
  for (const Case& c : cases) {
    Wipe();
    Import("[HKEY_CLASSES_ROOT\\*\\" + kHandlers + c.key + "]\n@=\"" + c.value + "\"\n");
    Reload();
    SCOPED_TRACE(c.key + " = " + c.value);
    if (c.caption.empty()) {
      EXPECT_TRUE(cleanup->Entries().empty());
    } else {
      ASSERT_EQ(Captions(), std::vector<std::string>{c.caption});
      EXPECT_EQ(ClassIdText(cleanup->Entries()[0]->CLSID), kZip);
    }
  }
}

TEST_F(ShellExtensionCleanup, OneHandlerForTwoTypesGivesTwoEntriesAndMissingModulesComeFirst) {
  Import("[HKEY_CLASSES_ROOT\\*\\" + kHandlers + "zipper]\n@=\"" + kZip + "\"\n" +
         "[HKEY_CLASSES_ROOT\\Directory\\" + kHandlers + "Zipper]\n@=\"" + kZip + "\"\n" +
         "[HKEY_CLASSES_ROOT\\.txt\\" + kHandlers + "Old]\n@=\"" + kGone + "\"\n" +
         "[HKEY_CLASSES_ROOT\\CLSID\\" + kZip + "\\InProcServer32]\n@=\"C:\\\\Tools\\\\zipper.dll\"\n" +
         "[HKEY_CLASSES_ROOT\\CLSID\\" + kGone + "\\InProcServer32]\n@=\"C:\\\\Gone\\\\old.dll\"\n");
  Reload();
  EXPECT_EQ(Captions(), (std::vector<std::string>{"Old (.txt)", "zipper (*)", "Zipper (Directory)"}));
  TExtensionInfo& gone = *cleanup->Entries()[0];
  EXPECT_TRUE(gone.Missing);
  EXPECT_EQ(iconFiles, std::vector<std::string>{"C:\\Gone\\old.dll"});
  TExtensionInfo& zip = *Find("zipper (*)");
  EXPECT_FALSE(zip.Missing);
  EXPECT_EQ(zip.Description + "|" + zip.ProductName + "|" + zip.Company + "|" + zip.Version,
            "Zip it|Zipper|Zip Ltd|2.1");
}

// A bare module name is found on the search path and shown with its folder; a module a
// 32-bit program sees only through the 64-bit system folder is no missing module.
TEST_F(ShellExtensionCleanup, ModulesAreFoundOnThePathAndInTheOtherView) {
  Import("[HKEY_CLASSES_ROOT\\*\\" + kHandlers + "Viewer]\n@=\"" + kView + "\"\n" +
         "[HKEY_CLASSES_ROOT\\*\\" + kHandlers + "Wide]\n@=\"" + kWide + "\"\n" +
         "[HKEY_CLASSES_ROOT\\CLSID\\" + kView + "\\InProcServer32]\n@=\"viewer.dll\"\n" +
         "[HKEY_CLASSES_ROOT\\CLSID\\" + kWide + "\\InProcServer32]\n@=\"C:\\\\Gone\\\\wide.dll\"\n");
  ImportRegText(view64, "REGEDIT4\n\n[HKEY_CLASSES_ROOT\\CLSID\\" + kWide +
                            "\\InProcServer32]\n@=\"C:\\\\WINDOWS\\\\system32\\\\wide.dll\"\n");
  Reload();
  TExtensionInfo& viewer = *Find("Viewer (*)");
  EXPECT_EQ(viewer.FileName, "C:\\WINDOWS\\system32\\viewer.dll");
  EXPECT_EQ(viewer.Bitness, TBitness::Bits32);
  TExtensionInfo& wide = *Find("Wide (*)");
  EXPECT_FALSE(wide.Missing);
  EXPECT_EQ(wide.Bitness, TBitness::Both);
  EXPECT_EQ(wide.FileName, "C:\\WINDOWS\\system32\\wide.dll");
  EXPECT_EQ(wide.ModuleFile, "C:\\WINDOWS\\Sysnative\\wide.dll");
}

TEST_F(ShellExtensionCleanup, AHandlerRegisteredOnlyForSixtyFourBitIsNotMissing) {
  Import("[HKEY_CLASSES_ROOT\\*\\" + kHandlers + "Zipper]\n@=\"" + kZip + "\"\n");
  ImportRegText(view64, "REGEDIT4\n\n[HKEY_CLASSES_ROOT\\CLSID\\" + kZip +
                            "\\InProcServer32]\n@=\"C:\\\\Tools\\\\zipper.dll\"\n");
  Reload();
  ASSERT_EQ(cleanup->Entries().size(), 1u);
  EXPECT_FALSE(cleanup->Entries()[0]->Missing);
  EXPECT_EQ(BitnessText(cleanup->Entries()[0]->Bitness), "64-bit");
}

// Other tools' markers are shown and left alone.
TEST_F(ShellExtensionCleanup, HandlersOnTheShellsBlockedListAreMarkedAndTheListStays) {
  const std::string blocked =
      "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Blocked]\n\"" +
      kZip + "\"=\"\"\n";
  Import("[HKEY_CLASSES_ROOT\\*\\" + kHandlers + "Zipper]\n@=\"" + kZip + "\"\n" +
         "[HKEY_CLASSES_ROOT\\*\\" + kHandlers + "Viewer]\n@=\"" + kView + "\"\n" + blocked);
  const std::string before = ExportRegText(fake.Registry, "HKEY_CURRENT_USER\\Software\\Microsoft");
  Reload();
  EXPECT_TRUE(Find("Zipper (*)")->Blocked);
  EXPECT_FALSE(Find("Viewer (*)")->Blocked);
  cleanup->MarkDeleted(*Find("Zipper (*)"));
  testing::TRecordedBackup backup;
  cleanup->Apply(backup);
  EXPECT_EQ(ExportRegText(fake.Registry, "HKEY_CURRENT_USER\\Software\\Microsoft"), before);
}

// Switched off, applied and reloaded: listed from the store, its details still naming
// the active place; switched on again: back byte for byte. Also below
// SystemFileAssociations.
TEST_F(ShellExtensionCleanup, EntriesSwitchedOffComeBackUnchanged) {
  for (const std::string type : {"*", "SystemFileAssociations\\image"}) {
    SCOPED_TRACE(type);
    Wipe();
    const std::string active = "HKEY_CLASSES_ROOT\\" + type + "\\" + kHandlers + "Zipper";
    Import("[" + active + "]\n@=\"" + kZip + "\"\n\"Flags\"=dword:00000007\n[" + active +
           "\\Sub]\n\"Data\"=hex:00,01,ff\n");
    const std::string original = Body(active);
    Reload();
    cleanup->SetWantDisabled(*cleanup->Entries()[0], true);
    testing::TRecordedBackup backup;
    cleanup->Apply(backup);
    EXPECT_FALSE(Exists(active));
    Reload();
    ASSERT_EQ(cleanup->Entries().size(), 1u);
    TExtensionInfo& entry = *cleanup->Entries()[0];
    EXPECT_TRUE(entry.Disabled && entry.WantDisabled);
    EXPECT_EQ(entry.KeyPath, StoredKeyPath(type + "\\" + kHandlers + "Zipper", kDisabledDynamicPrefix));
    cleanup->SetWantDisabled(entry, false);
    cleanup->Apply(backup);
    EXPECT_EQ(Body(active), original);
    EXPECT_FALSE(Exists("HKEY_CURRENT_USER\\" +
                        StoredKeyPath(type + "\\" + kHandlers + "Zipper", kDisabledDynamicPrefix)));
  }
}

TEST_F(ShellExtensionCleanup, ReloadDropsPendingChanges) {
  Import("[HKEY_CLASSES_ROOT\\*\\" + kHandlers + "Zipper]\n@=\"" + kZip + "\"\n");
  Reload();
  int changes = 0;
  cleanup->OnChange = [&] { ++changes; };
  cleanup->SetWantDisabled(*cleanup->Entries()[0], true);
  EXPECT_TRUE(cleanup->IsModified());
  Reload();
  EXPECT_FALSE(cleanup->IsModified());
  EXPECT_FALSE(cleanup->Entries()[0]->WantDisabled);
  EXPECT_EQ(changes, 1);
}

TEST_F(ShellExtensionCleanup, EverythingOfOneModuleIsSwitchedOffInOneStepAndFiltered) {
  Import("[HKEY_CLASSES_ROOT\\*\\" + kHandlers + "Zipper]\n@=\"" + kZip + "\"\n" +
         "[HKEY_CLASSES_ROOT\\Directory\\" + kHandlers + "Zipper]\n@=\"" + kZip + "\"\n" +
         "[HKEY_CLASSES_ROOT\\Folder\\" + kHandlers + "ZipMore]\n@=\"" + kGone + "\"\n" +
         "[HKEY_CLASSES_ROOT\\*\\" + kHandlers + "Viewer]\n@=\"" + kView + "\"\n" +
         "[HKEY_CLASSES_ROOT\\CLSID\\" + kZip + "\\InProcServer32]\n@=\"C:\\\\Tools\\\\zipper.dll\"\n" +
         "[HKEY_CLASSES_ROOT\\CLSID\\" + kGone + "\\InProcServer32]\n@=\"c:\\\\tools\\\\ZIPPER.DLL\"\n" +
         "[HKEY_CLASSES_ROOT\\CLSID\\" + kView + "\\InProcServer32]\n@=\"viewer.dll\"\n");
  Reload();
  EXPECT_EQ(cleanup->DisableAllOfModule(*Find("Zipper (*)")), 3);
  EXPECT_FALSE(Find("Viewer (*)")->WantDisabled);
  EXPECT_TRUE(cleanup->IsModified());
  std::vector<std::string> shown;
  for (auto& entry : cleanup->Entries())
    if (MatchesFilter(*entry, "zip ltd") || MatchesFilter(*entry, "SYSTEM32")) shown.push_back(entry->Caption);
  EXPECT_EQ(shown, (std::vector<std::string>{"Viewer (*)", "Zipper (*)", "Zipper (Directory)"}));
}

TEST_F(ShellExtensionCleanup, AFailedBackupStopsApplyBeforeAnythingIsRemoved) {
  Import("[HKEY_CLASSES_ROOT\\*\\" + kHandlers + "Zipper]\n@=\"" + kZip + "\"\n" +
         "[HKEY_CLASSES_ROOT\\*\\" + kHandlers + "Viewer]\n@=\"" + kView + "\"\n");
  const std::string before = ExportRegText(fake.Registry, "HKEY_CLASSES_ROOT\\*");
  Reload();
  cleanup->MarkDeleted(*Find("Zipper (*)"));
  cleanup->SetWantDisabled(*Find("Viewer (*)"), true);
  testing::TRecordedBackup backup;
  backup.FailCommit = true;
  EXPECT_THROW(cleanup->Apply(backup), Exception);
  EXPECT_EQ(ExportRegText(fake.Registry, "HKEY_CLASSES_ROOT\\*"), before);
  EXPECT_TRUE(cleanup->IsModified());
  backup.FailCommit = false;
  cleanup->Apply(backup);
  ASSERT_EQ(backup.Descriptions, std::vector<std::string>{"Shell extensions"});
  EXPECT_EQ(backup.Committed[0].size(), 3u);  // both keys, and the store's place for one
}

// Switched off before, registered again by a reinstall, and switched off once more by a
// user who may not write the registered key: the copy already in the store stays.
TEST_F(ShellExtensionCleanup, SwitchOffRefusedKeepsTheCopyAlreadyStored) {
  const std::string active = "HKEY_CLASSES_ROOT\\*\\" + kHandlers + "Zipper";
  const std::string stored =
      "HKEY_CURRENT_USER\\" + StoredKeyPath("*\\" + kHandlers + "Zipper", kDisabledDynamicPrefix);
  Import("[" + active + "]\n@=\"" + kZip + "\"\n\"Version\"=\"2\"\n[" + stored + "]\n@=\"" + kZip +
         "\"\n\"Version\"=\"1\"\n");
  const std::string before = Body(stored);
  Reload();
  TExtensionInfo* registered = nullptr;
  for (auto& entry : cleanup->Entries())
    if (!entry->Disabled) registered = entry.get();
  ASSERT_NE(registered, nullptr);
  cleanup->SetWantDisabled(*registered, true);
  fake.Registry.SetKeyRights(active, kKeyRead);
  testing::TRecordedBackup backup;
  EXPECT_THROW(cleanup->Apply(backup), Exception);
  EXPECT_EQ(Body(stored), before);
  EXPECT_TRUE(Exists(active));
  EXPECT_TRUE(cleanup->IsModified());
}

// Any one registry call of Apply failing leaves each entry where it was or where it was
// going, never lost; the backup holds every key removed as it was; Apply again finishes.
TEST_F(ShellExtensionCleanup, ApplyBrokenAtAnyStepLosesNothingAndConverges) {
  const std::string off = "HKEY_CLASSES_ROOT\\*\\" + kHandlers + "Zipper";
  const std::string on = "HKEY_CURRENT_USER\\" +
                         StoredKeyPath("SystemFileAssociations\\image\\" + kHandlers + "Viewer",
                                       kDisabledDynamicPrefix);
  const std::string del = "HKEY_CLASSES_ROOT\\Directory\\" + kHandlers + "Old";
  const std::string fixture = "[" + off + "]\n@=\"" + kZip + "\"\n\"Flags\"=dword:00000007\n[" +
                              off + "\\Options]\n\"Mode\"=hex:01,02,03\n[" + on + "]\n@=\"" +
                              kView + "\"\n[" + del + "]\n@=\"" + kGone + "\"\n\"x\"=\"y\"\n";
  auto target = [](const std::string& full) {
    if (full.rfind("HKEY_CLASSES_ROOT\\", 0) == 0)
      return "HKEY_CURRENT_USER\\" + StoredKeyPath(full.substr(18), kDisabledDynamicPrefix);
    return "HKEY_CLASSES_ROOT\\" + ActiveKeyPath(full.substr(18), kDisabledDynamicPrefix);
  };
  std::string reference;
  for (int k = 0;; ++k) {
    SCOPED_TRACE(k);
    Wipe();
    Import(fixture);
    std::map<std::string, std::string> original = {{off, Body(off)}, {on, Body(on)}, {del, Body(del)}};
    Reload();
    cleanup->SetWantDisabled(*Find("Zipper (*)"), true);
    cleanup->SetWantDisabled(*Find("Viewer (image)"), false);
    cleanup->MarkDeleted(*Find("Old (Directory)"));
    TSnapshotBackup backup(fake.Registry);
    registry.Arm(k);
    bool raised = false;
    try {
      cleanup->Apply(backup);
    } catch (const Exception&) {
      raised = true;
    }
    registry.FailAt = -1;
    EXPECT_EQ(raised, cleanup->IsModified());
    for (const std::string& moved : {off, on}) {
      const bool old = Body(moved) == original[moved] && !Exists(target(moved));
      const bool done = Body(target(moved)) == original[moved];
      EXPECT_TRUE(old || done) << moved;
      EXPECT_TRUE(raised || (done && !Exists(moved))) << moved;
    }
    EXPECT_TRUE(!Exists(del) || Body(del) == original[del]);
    EXPECT_TRUE(raised || !Exists(del));
    for (const auto& [full, text] : original) {
      std::string kept = backup.Texts[full];
      for (std::size_t at; (at = kept.find("[" + full)) != std::string::npos;)
        kept.replace(at + 1, full.size(), "");
      EXPECT_EQ(kept, text) << full;
    }
    cleanup->Apply(backup);
    EXPECT_FALSE(cleanup->IsModified());
    const std::string result = ExportRegText(fake.Registry, "HKEY_CLASSES_ROOT") +
                               ExportRegText(fake.Registry, "HKEY_CURRENT_USER");
    if (k == 0) reference = result;
    EXPECT_EQ(result, reference);
    if (k > 0 && !registry.Failed) break;
  }
}

}  // namespace
}  // namespace orvane
