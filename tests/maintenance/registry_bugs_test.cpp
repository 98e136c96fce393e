#include "maintenance/registry_bugs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "platform/memory_registry.h"
#include "platform/reg_text.h"
#include "tests/support/nth_call_failure.h"
#include "tests/support/recorded_backup.h"

namespace orvane {
namespace {

using testing::TNthCallFailure;
using testing::TRecordedBackup;

// A registry with one fault of every repairable kind, each next to what must survive it.
constexpr const char* kFaults =
    "REGEDIT4\n\n"
    "[HKEY_CLASSES_ROOT\\txtfile]\n@=\"Text\"\n"
    "[HKEY_CLASSES_ROOT\\.txt]\n@=\"txtfile\"\n\"PerceivedType\"=\"nosuch\"\n"
    "[HKEY_CLASSES_ROOT\\.gone]\n@=\"gonefile\"\n"
    "[HKEY_CLASSES_ROOT\\.gone\\ShellNew]\n\"NullFile\"=\"\"\n"
    "[HKEY_CLASSES_ROOT\\.gone\\OpenWithList\\viewer.exe]\n"
    "[HKEY_CLASSES_ROOT\\Old.Doc]\n@=\"Old document\"\n"
    "[HKEY_CLASSES_ROOT\\Old.Doc\\CurVer]\n@=\"Old.Doc.9\"\n"
    "[HKEY_CLASSES_ROOT\\Old.Doc\\shell\\open\\command]\n@=\"old.exe %1\"\n"
    "[HKEY_CLASSES_ROOT\\Self.Doc]\n"
    "[HKEY_CLASSES_ROOT\\Self.Doc\\CurVer]\n@=\"Self.Doc\"\n"
    "[HKEY_CLASSES_ROOT\\iconfile]\n"
    "[HKEY_CLASSES_ROOT\\iconfile\\DefaultIcon]\n@=\"C:\\\\missing.ico,0\"\n"
    "[HKEY_CLASSES_ROOT\\comfile]\n"
    "[HKEY_CLASSES_ROOT\\comfile\\CLSID]\n@=\"{C1}\"\n"
    "[HKEY_CLASSES_ROOT\\CLSID\\{C1}\\DefaultIcon]\n@=\"C:\\\\missing.dll,1\"\n"
    "[HKEY_CLASSES_ROOT\\CLSID\\{C1}\\InProcServer32]\n@=\"C:\\\\missing.dll\"\n"
    "[HKEY_CLASSES_ROOT\\.bin]\n\"PerceivedType\"=dword:00000001\n";

// The keys of an export in name order, as the system's registry enumerates them; the
// in-memory one keeps the order of creation, which a put-back key does not.
std::string Sorted(const std::string& text) {
  std::vector<std::string> blocks;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find("\n\n", start);
    if (end == std::string::npos) end = text.size();
    blocks.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  std::sort(blocks.begin(), blocks.end());
  std::string sorted;
  for (const std::string& block : blocks) sorted += block + "\n\n";
  return sorted;
}

class RegistryBugs : public ::testing::Test {
protected:
  void SetUp() override { ImportRegText(registry, kFaults); }

  int Add(TBugKind kind, const std::string& key, const std::string& target) {
    AddBug(bugs, kind, key + " -> " + target, key, target);
    return bugs.Count() - 1;
  }
  const TErroneousFileType& Bug(int index) const {
    return *static_cast<TErroneousFileType*>(bugs.Objects(index));
  }
  TBugFixRun FixAll(IRegistryBackend& backend) {
    std::vector<int> all(static_cast<size_t>(bugs.Count()));
    std::iota(all.begin(), all.end(), 0);
    return FixBugs(bugs, all, backend, backup);
  }
  TBugFixRun FixAll() { return FixAll(registry); }
  std::string Export(const std::string& path = "") {
    return ExportRegText(registry, "HKEY_CLASSES_ROOT" + (path.empty() ? "" : "\\" + path));
  }
  // The repairable faults of kFaults, and what each one removes.
  struct TRepair {
    int Index;
    std::string Key;      // removed whole, or holding the removed value
    std::string Value;    // empty: the whole key goes
  };
  std::vector<TRepair> AddRepairableFaults() {
    return {{Add(bkMissingType, ".gone", "gonefile"), ".gone", ""},
            {Add(bkBadCurVer, "Old.Doc", "Old.Doc.9"), "Old.Doc", ""},
            {Add(bkBadCurVer, "Self.Doc", "Self.Doc"), "Self.Doc", ""},
            {Add(bkMissingIconFile, "iconfile", "Icons"), "iconfile\\DefaultIcon", ""},
            {Add(bkMissingIconFile, "comfile", "Com"), "CLSID\\{C1}\\DefaultIcon", ""},
            {Add(bkMissingPerceivedType, ".txt", "nosuch"), ".txt", "PerceivedType"},
            {Add(bkMissingPerceivedType, ".bin", ""), ".bin", "PerceivedType"}};
  }
  bool ValueExists(const std::string& key, const std::string& name) {
    return Export(key).find("\"" + name + "\"=") != std::string::npos;
  }

  TMemoryRegistry registry;
  TRecordedBackup backup;
  TAdvStringList bugs;
};

TEST_F(RegistryBugs, EachKindRemovesWhatCausesItAndNothingElse) {
  const std::vector<TRepair> repairs = AddRepairableFaults();
  const TBugFixRun run = FixAll();
  EXPECT_FALSE(run.HasFailures());
  EXPECT_EQ(run.FixedCount(), static_cast<int>(repairs.size()));
  for (const TRepair& repair : repairs) {
    SCOPED_TRACE(repair.Key);
    EXPECT_TRUE(Bug(repair.Index).Fixed);
    if (repair.Value.empty()) {
      EXPECT_EQ(Export(repair.Key), "");  // with every subkey (ShellNew, OpenWithList)
    } else {
      EXPECT_FALSE(ValueExists(repair.Key, repair.Value));
    }
  }
  EXPECT_NE(Export("txtfile"), "");
  EXPECT_NE(Export(".txt").find("@=\"txtfile\""), std::string::npos);
  EXPECT_NE(Export("iconfile"), "");
  EXPECT_NE(Export("CLSID\\{C1}\\InProcServer32"), "");

  // Everything that went was handed to the backup first, as one commit.
  ASSERT_EQ(backup.Committed.size(), 1u);
  EXPECT_EQ(backup.Descriptions[0], "Registry bugs");
  ASSERT_EQ(backup.Committed[0].size(), repairs.size());
  for (size_t i = 0; i < repairs.size(); ++i) {
    EXPECT_EQ(backup.Committed[0][i].Root, kHkeyClassesRoot);
    EXPECT_EQ(backup.Committed[0][i].Path, repairs[i].Key);
    EXPECT_EQ(backup.Committed[0][i].ValueName, repairs[i].Value);
  }

  // A second run passes over what is fixed.
  EXPECT_TRUE(FixAll().Outcomes.empty());
}

TEST_F(RegistryBugs, UnrepairableEntriesStayAndRemoveNothing) {
  ImportRegText(registry,
                "REGEDIT4\n\n[HKEY_CLASSES_ROOT\\serverfile\\CLSID]\n@=\"{C2}\"\n"
                "[HKEY_CLASSES_ROOT\\CLSID\\{C2}\\InProcServer32]\n@=\"C:\\\\gone.dll\"\n"
                "[HKEY_CLASSES_ROOT\\Folder\\CurVer]\n@=\"NoFolder\"\n"
                "[HKEY_CLASSES_ROOT\\Folder\\shell\\explore]\n");
  const std::string before = Export();
  Add(bkUnreadable, "locked", "");
  Add(bkMissingIconFile, "serverfile", "Server");  // the icon came from InProcServer32
  Add(bkMissingIconFile, "nosuchtype", "None");
  Add(bkMissingPerceivedType, ".gone", "x");       // no PerceivedType value
  Add(bkBadCurVer, "Folder", "NoFolder");          // the shell's own key is never deleted
  Add(bkMissingType, "", "x");                     // would be the whole root
  const TBugFixRun run = FixAll();
  ASSERT_EQ(run.Outcomes.size(), 6u);
  for (const TBugFixOutcome& outcome : run.Outcomes) {
    EXPECT_EQ(outcome.Result, TFixResult::Unfixable) << bugs.Strings(outcome.Index);
    EXPECT_FALSE(Bug(outcome.Index).Fixed);
  }
  EXPECT_EQ(Export(), before);
  EXPECT_TRUE(backup.Committed.empty());
}

// The list is as old as the last scan: what has been put right since, or was never wrong
// in the registry, is not deleted.
TEST_F(RegistryBugs, AFaultThatIsNotInTheRegistryDeletesNothing) {
  ImportRegText(registry,
                "REGEDIT4\n\n[HKEY_CLASSES_ROOT\\.now]\n@=\"txtfile\"\n"
                "[HKEY_CLASSES_ROOT\\A.1]\n[HKEY_CLASSES_ROOT\\A.1\\CurVer]\n@=\"A.2\"\n"
                "[HKEY_CLASSES_ROOT\\A.2]\n[HKEY_CLASSES_ROOT\\A.2\\CurVer]\n@=\"A.3\"\n"
                "[HKEY_CLASSES_ROOT\\A.3]\n@=\"Current\"\n"
                "[HKEY_CLASSES_ROOT\\Linked]\n[HKEY_CLASSES_ROOT\\Linked\\CurVer]\n@=\"Linked\"\n"
                "[HKEY_CLASSES_ROOT\\Linked\\CLSID]\n@=\"{C3}\"\n");
  const std::string before = Export();
  Add(bkMissingType, ".now", "nowfile");  // points to an existing type now
  Add(bkBadCurVer, "A.1", "A.2");         // the scan had merged A.2 into A.3 first
  Add(bkBadCurVer, "Linked", "Linked");   // has a CLSID after all
  Add(bkMissingType, ".vanished", "x");   // the extension is gone already
  const TBugFixRun run = FixAll();
  EXPECT_EQ(run.FixedCount(), 4);
  EXPECT_EQ(Export(), before);
  EXPECT_TRUE(backup.Committed.empty());
}

TEST_F(RegistryBugs, ADeleteTheRegistryRefusesIsAFailureAndTheKeyStaysWhole) {
  registry.SetKeyRights("HKEY_CLASSES_ROOT\\.gone\\ShellNew", kKeyRead);
  registry.SetKeyRights("HKEY_CLASSES_ROOT\\Old.Doc", kKeyRead);
  const std::string gone = Export(".gone");
  const std::string old = Export("Old.Doc");
  const int first = Add(bkMissingType, ".gone", "gonefile");
  const int second = Add(bkBadCurVer, "Old.Doc", "Old.Doc.9");
  const int third = Add(bkMissingIconFile, "iconfile", "Icons");
  const TBugFixRun run = FixAll();
  EXPECT_TRUE(run.HasFailures());
  EXPECT_EQ(run.Outcomes[0].Result, TFixResult::Failed);
  EXPECT_NE(run.Outcomes[0].Reason.find(".gone"), std::string::npos) << run.Outcomes[0].Reason;
  EXPECT_EQ(run.Outcomes[1].Result, TFixResult::Failed);
  EXPECT_FALSE(Bug(first).Fixed);
  EXPECT_FALSE(Bug(second).Fixed);
  EXPECT_EQ(Export(".gone"), gone);  // the subkeys deleted before the refusal are back
  EXPECT_EQ(Export("Old.Doc"), old);
  EXPECT_TRUE(Bug(third).Fixed);  // one refusal does not stop the others
}

TEST_F(RegistryBugs, ABackupThatCannotBeWrittenStopsTheRunBeforeAnyRemoval) {
  AddRepairableFaults();
  const std::string before = Export();
  backup.FailCommit = true;
  const TBugFixRun run = FixAll();
  EXPECT_EQ(run.BackupFailure, "The backup cannot be written: disk full");
  EXPECT_TRUE(run.Outcomes.empty());
  EXPECT_EQ(Export(), before);
  for (int i = 0; i < bugs.Count(); ++i) EXPECT_FALSE(Bug(i).Fixed);
}

TEST_F(RegistryBugs, AnExtensionWithTwoFaultsIsRepairedByBoth) {
  ImportRegText(registry, "REGEDIT4\n\n[HKEY_CLASSES_ROOT\\.gone]\n\"PerceivedType\"=\"x\"\n");
  Add(bkMissingType, ".gone", "gonefile");
  Add(bkMissingPerceivedType, ".gone", "x");
  const TBugFixRun run = FixAll();
  EXPECT_EQ(run.FixedCount(), 2);
  EXPECT_EQ(Export(".gone"), "");
}

// For every k the k-th registry call of the run fails: each entry is afterwards either
// repaired or exactly as before, what went is in the backup, and a second run finishes.
TEST_F(RegistryBugs, AFailingRegistryCallLeavesNoEntryHalfRepaired) {
  const std::vector<TRepair> repairs = AddRepairableFaults();
  TNthCallFailure counter(registry);
  FixAll(counter);
  const int calls = counter.Calls;
  ASSERT_GT(calls, 20);
  const std::string repaired = Export();

  for (int k = 1; k <= calls; ++k) {
    SCOPED_TRACE("call " + std::to_string(k));
    TMemoryRegistry fresh;
    ImportRegText(fresh, kFaults);
    TAdvStringList list;
    for (int i = 0; i < bugs.Count(); ++i) {
      const TErroneousFileType& bug = Bug(i);
      AddBug(list, bug.Kind, bugs.Strings(i), bug.Key, bug.Target);
    }
    std::vector<std::string> before;
    for (const TRepair& repair : repairs)
      before.push_back(Sorted(ExportRegText(fresh, "HKEY_CLASSES_ROOT\\" + repair.Key)));

    TNthCallFailure failing(fresh);
    failing.FailAt = k;
    TRecordedBackup recorded;
    std::vector<int> all(static_cast<size_t>(list.Count()));
    std::iota(all.begin(), all.end(), 0);
    FixBugs(list, all, failing, recorded);

    for (size_t i = 0; i < repairs.size(); ++i) {
      const TRepair& repair = repairs[i];
      const bool fixed = static_cast<TErroneousFileType*>(list.Objects(repair.Index))->Fixed;
      const std::string now = ExportRegText(fresh, "HKEY_CLASSES_ROOT\\" + repair.Key);
      const bool gone = repair.Value.empty()
                            ? now.empty()
                            : now.find("\"" + repair.Value + "\"=") == std::string::npos;
      if (fixed) {
        EXPECT_TRUE(gone) << repair.Key;
        bool backedUp = false;
        for (const auto& commit : recorded.Committed)
          for (const auto& entry : commit) backedUp |= entry.Path == repair.Key;
        EXPECT_TRUE(backedUp) << repair.Key;
      } else {
        EXPECT_EQ(Sorted(now), before[i]) << repair.Key;
      }
    }
    // Without the failure a second run completes the repair.
    FixBugs(list, all, fresh, recorded);
    EXPECT_EQ(Sorted(ExportRegText(fresh, "HKEY_CLASSES_ROOT")), Sorted(repaired));
    for (int i = 0; i < list.Count(); ++i)
      EXPECT_TRUE(static_cast<TErroneousFileType*>(list.Objects(i))->Fixed) << list.Strings(i);
  }
}

}  // namespace
}  // namespace orvane
