// The static verb clean-up as a user meets it: what the list shows of other programs'
// verbs, the marks, and an Apply that backs up first and never loses a verb, whichever
// registry call fails.

#include "maintenance/static_items_cleanup.h"

#include <gmock/gmock.h>

#include "cleanup_fixture.h"
#include "maintenance/disabled_store.h"
#include "platform/registry.h"

namespace orvane::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr const char* kClasses = "HKEY_CLASSES_ROOT\\";
constexpr const char* kStore = "HKEY_CURRENT_USER\\Software\\Orvane\\DisabledItems\\Static\\";

// txtfile: a canonical verb with a caption of its own, a two-letter verb without a caption,
// the program's own verb, a verb without a command, one hidden by another tool, one whose
// caption is a number, a stored verb; pngfile: a verb of the same program as "ed".
constexpr const char* kVerbs =
    "[HKEY_CLASSES_ROOT\\txtfile\\shell\\Open]\n@=\"View with &Pad\"\n"
    "[HKEY_CLASSES_ROOT\\txtfile\\shell\\Open\\command]\n@=\"C:\\\\Pad\\\\pad.exe \\\"%1\\\"\"\n"
    "[HKEY_CLASSES_ROOT\\txtfile\\shell\\ed]\n@=\"\"\n"
    "[HKEY_CLASSES_ROOT\\txtfile\\shell\\ed\\command]\n"
    "@=\"\\\"C:\\\\Program Files\\\\Ed\\\\ed.exe\\\" /e \\\"%1\\\"\"\n"
    "[HKEY_CLASSES_ROOT\\txtfile\\shell\\Mine (*)]\n"
    "[HKEY_CLASSES_ROOT\\txtfile\\shell\\Mine (*)\\command]\n@=\"mine.exe\"\n"
    "[HKEY_CLASSES_ROOT\\txtfile\\shell\\bare]\n@=\"Bare\"\n"
    "[HKEY_CLASSES_ROOT\\txtfile\\shell\\hidden]\n@=\"Hidden\"\n\"LegacyDisable\"=\"\"\n"
    "[HKEY_CLASSES_ROOT\\txtfile\\shell\\hidden\\command]\n@=\"hide.exe\"\n"
    "[HKEY_CLASSES_ROOT\\txtfile\\shell\\num]\n@=dword:00000001\n"
    "[HKEY_CURRENT_USER\\Software\\Orvane\\DisabledItems\\Static\\txtfile\\shell\\old]\n"
    "@=\"Old\"\n\"Extended\"=hex:01,02\n"
    "[HKEY_CURRENT_USER\\Software\\Orvane\\DisabledItems\\Static\\txtfile\\shell\\old\\command]\n"
    "@=\"old.exe %1\"\n"
    "[HKEY_CLASSES_ROOT\\pngfile\\shell\\edit]\n"
    "[HKEY_CLASSES_ROOT\\pngfile\\shell\\edit\\command]\n"
    "@=\"\\\"c:\\\\program files\\\\ed\\\\ED.EXE\\\" \\\"%1\\\"\"\n";

class StaticItemsCleanupTest : public CleanupTest {
protected:
  StaticItemsCleanupTest() : cleanup(counting, Held()) {
    Import(kVerbs);
    cleanup.OnChange = [this](TStaticItemsCleanup&) { ++changes; };
  }

  TStaticItems& Txt() { return cleanup.GetItems("\\txtfile\\shell"); }
  TMenuItemRec& Rec(TStaticItems& items, const std::string& verb) {
    for (int i = 0; i < items.Count(); ++i) {
      if (items.Item(i).VerbName() == verb) return items.Item(i);
    }
    throw std::runtime_error("no verb " + verb);
  }
  std::vector<std::string> Texts(TStaticItems& items) {
    std::vector<std::string> texts;
    for (int i = 0; i < items.Count(); ++i) texts.push_back(items.Text(i));
    return texts;
  }

  // The static menu holds the verb "Mine (*)" and no other.
  std::set<std::string> held = {"\\txtfile\\shell\\Mine (*)"};
  TStaticItemsCleanup::THeldByMenu Held() {
    return [this](const std::string& verb) { return held.count(verb) != 0; };
  }

  TStaticItemsCleanup cleanup;
  int changes = 0;
};

TEST_F(StaticItemsCleanupTest, ListShowsForeignVerbsAsTheUserKnowsThem) {
  TStaticItems& items = Txt();
  // Own verbs are left out; canonical ones show their key name; a caption that is no text
  // falls back to the key name instead of making the whole type unreadable.
  EXPECT_THAT(Texts(items), ElementsAre("*open", "ed", "Bare", "Hidden", "num", "Old"));
  EXPECT_EQ(Rec(items, "Open").Caption, "View with &Pad");
  EXPECT_EQ(Rec(items, "bare").Command, "<none>");
  EXPECT_EQ(Rec(items, "Open").KeyPath, "txtfile\\shell\\Open");
  EXPECT_EQ(Rec(items, "old").KeyPath,
            "Software\\Orvane\\DisabledItems\\Static\\txtfile\\shell\\old");
  EXPECT_EQ(Rec(items, "old").ActivePath(), "txtfile\\shell\\old");
  EXPECT_TRUE(items.IsDisabled(Rec(items, "old")));
  EXPECT_FALSE(items.IsDisabled(Rec(items, "Open")));
  EXPECT_TRUE(Rec(items, "hidden").LegacyDisabled);
  EXPECT_FALSE(Rec(items, "Open").LegacyDisabled);
}

// A verb of the system's own form that no static item holds (a restored backup brought it
// back) is nobody's to remove unless it is listed: it is, and it can be deleted.
TEST_F(StaticItemsCleanupTest, OwnFormVerbsNoItemHoldsAreListedAndCanGo) {
  held.clear();
  TStaticItems& items = Txt();
  TMenuItemRec& mine = Rec(items, "Mine (*)");
  items.SetDeleted(mine, true);
  cleanup.Apply(backup);
  EXPECT_FALSE(Exists("HKEY_CLASSES_ROOT\\txtfile\\shell\\Mine (*)"));
}

// Otherwise Apply is enabled and closing asks with nothing to apply.
TEST_F(StaticItemsCleanupTest, LoadingStoredVerbsIsNoChange) {
  Txt();
  EXPECT_FALSE(cleanup.Modified());
  EXPECT_EQ(changes, 0);
}

TEST_F(StaticItemsCleanupTest, MarksTakenBackLeaveNothingToApply) {
  TStaticItems& items = Txt();
  items.SetDisabled(Rec(items, "ed"), true);
  EXPECT_TRUE(cleanup.Modified());
  items.SetDisabled(Rec(items, "ed"), false);
  items.SetDisabled(Rec(items, "old"), false);
  items.SetDisabled(Rec(items, "old"), true);
  EXPECT_FALSE(cleanup.Modified());
  EXPECT_EQ(changes, 4);
  const std::string before = Text("HKEY_CLASSES_ROOT\\txtfile");
  cleanup.Apply(backup);
  EXPECT_EQ(Text("HKEY_CLASSES_ROOT\\txtfile"), before);
  EXPECT_TRUE(backup.Committed.empty());
}

// The list is another program's data: a huge caption with line breaks must not flood
// the list or the delete question.
TEST_F(StaticItemsCleanupTest, HostileCaptionBecomesOneBoundedLine) {
  TRegistry writer(memory);
  writer.SetRootKey(kHkeyClassesRoot);
  ASSERT_TRUE(writer.OpenKey("\\badfile\\shell\\x", true));
  writer.WriteString("", "line1\r\nline2\t" + std::string(100000, 'z'));
  writer.CloseKey();
  TStaticItems& items = cleanup.GetItems("\\badfile\\shell");
  ASSERT_EQ(items.Count(), 1);
  EXPECT_LE(items.Text(0).size(), 300u);
  EXPECT_EQ(items.Text(0).find_first_of("\r\n"), std::string::npos);
  EXPECT_EQ(items.Text(0).rfind("line1  line2 zz", 0), 0u);
}

// Nothing that cannot be read can be backed up, so it is shown but never removed; and the
// other verbs of the type stay usable.
TEST_F(StaticItemsCleanupTest, UnreadableVerbIsShownButNeverTouched) {
  memory.DenyAccess("HKEY_CLASSES_ROOT\\txtfile\\shell\\bare");
  TStaticItems& items = Txt();
  ASSERT_EQ(items.Count(), 6);
  TMenuItemRec& bare = Rec(items, "bare");
  EXPECT_FALSE(bare.Readable());
  EXPECT_THAT(bare.ReadError, HasSubstr("denied"));
  items.SetDisabled(bare, true);
  EXPECT_FALSE(items.IsDisabled(bare));
  items.DeleteAll();
  EXPECT_FALSE(items.IsDeleted(bare));
  EXPECT_TRUE(items.IsDeleted(Rec(items, "ed")));
  memory.SetKeyRights("HKEY_CLASSES_ROOT\\txtfile\\shell\\bare", kKeyAllAccess | 0x10000);
  cleanup.Apply(backup);
  EXPECT_TRUE(Exists("HKEY_CLASSES_ROOT\\txtfile\\shell\\bare"));
  EXPECT_FALSE(Exists("HKEY_CLASSES_ROOT\\txtfile\\shell\\ed"));
  EXPECT_EQ(items.Count(), 1);
}

// A user without administrator rights reads machine-wide verbs but cannot remove them:
// they are listed in full, and switching one off leaves no copy behind.
TEST_F(StaticItemsCleanupTest, ReadOnlyVerbIsListedButNotCopiedWhereItCannotBeRemoved) {
  memory.SetKeyRights("HKEY_CLASSES_ROOT\\txtfile\\shell\\ed", kKeyRead);
  TStaticItems& items = Txt();
  EXPECT_THAT(Rec(items, "ed").Command, HasSubstr("ed.exe"));
  items.SetDisabled(Rec(items, "ed"), true);
  EXPECT_THROW(cleanup.Apply(backup), Exception);
  EXPECT_FALSE(Exists(std::string(kStore) + "txtfile\\shell\\ed"));
  EXPECT_TRUE(Exists(std::string(kClasses) + "txtfile\\shell\\ed\\command"));
  EXPECT_TRUE(cleanup.Modified());
}

TEST_F(StaticItemsCleanupTest, ApplyBacksUpThenMovesAndDeletes) {
  TStaticItems& items = Txt();
  const std::string open = Content("HKEY_CLASSES_ROOT\\txtfile\\shell\\Open");
  const std::string old = Content(std::string(kStore) + "txtfile\\shell\\old");
  items.SetDisabled(Rec(items, "Open"), true);
  items.SetDisabled(Rec(items, "old"), false);
  items.SetDeleted(Rec(items, "ed"), true);
  cleanup.Apply(backup);

  ASSERT_EQ(backup.Descriptions, std::vector<std::string>{"Static items"});
  EXPECT_EQ(backup.Texts.size(), 3u);
  EXPECT_FALSE(Exists("HKEY_CLASSES_ROOT\\txtfile\\shell\\Open"));
  EXPECT_EQ(Content(std::string(kStore) + "txtfile\\shell\\Open"), open);
  EXPECT_FALSE(Exists(std::string(kStore) + "txtfile\\shell\\old"));
  EXPECT_EQ(Content("HKEY_CLASSES_ROOT\\txtfile\\shell\\old"), old);
  EXPECT_FALSE(Exists("HKEY_CLASSES_ROOT\\txtfile\\shell\\ed"));
  EXPECT_FALSE(cleanup.Modified());
  // The records follow their keys: marking them again acts on their new places.
  EXPECT_THAT(Texts(items), ElementsAre("*open", "Bare", "Hidden", "num", "Old"));
  EXPECT_TRUE(Rec(items, "Open").Disabled);
  items.SetDeleted(Rec(items, "Open"), true);
  cleanup.Apply(backup);
  EXPECT_FALSE(Exists(std::string(kStore) + "txtfile\\shell\\Open"));
}

TEST_F(StaticItemsCleanupTest, BackupThatCannotBeWrittenStopsApplyBeforeAnyRemoval) {
  TStaticItems& items = Txt();
  const std::string before = Text("HKEY_CLASSES_ROOT\\txtfile") + Text(std::string(kStore) + "txtfile");
  items.SetDisabled(Rec(items, "Open"), true);
  items.SetDeleted(Rec(items, "ed"), true);
  backup.FailCommit = true;
  EXPECT_THROW(cleanup.Apply(backup), Exception);
  EXPECT_EQ(Text("HKEY_CLASSES_ROOT\\txtfile") + Text(std::string(kStore) + "txtfile"), before);
  EXPECT_TRUE(cleanup.Modified());
}

TEST_F(StaticItemsCleanupTest, DeleteAllRemovesActiveAndStoredVerbs) {
  TStaticItems& items = Txt();
  items.DeleteAll();
  EXPECT_EQ(changes, 1);
  cleanup.Apply(backup);
  EXPECT_EQ(items.Count(), 0);
  EXPECT_FALSE(Exists(std::string(kStore) + "txtfile\\shell\\old"));
  EXPECT_TRUE(Exists("HKEY_CLASSES_ROOT\\txtfile\\shell\\Mine (*)"));
  EXPECT_FALSE(Exists("HKEY_CLASSES_ROOT\\txtfile\\shell\\Open"));
  EXPECT_EQ(backup.Texts.size(), 6u);
}

// A verb registered again meanwhile is replaced by the stored copy, and a stale stored
// copy by the verb switched off; what is replaced goes to the backup, and the list keeps
// one entry per key.
TEST_F(StaticItemsCleanupTest, ReplacedKeysAreBackedUpAndLeaveTheList) {
  Import("[HKEY_CLASSES_ROOT\\txtfile\\shell\\old]\n@=\"Old again\"\n"
         "[HKEY_CURRENT_USER\\Software\\Orvane\\DisabledItems\\Static\\txtfile\\shell\\ed]\n"
         "@=\"stale\"\n");
  TStaticItems& items = Txt();
  ASSERT_EQ(items.Count(), 8);
  TMenuItemRec* stored = nullptr;
  for (int i = 0; i < items.Count(); ++i) {
    if (items.Item(i).Disabled && items.Item(i).VerbName() == "old") stored = &items.Item(i);
  }
  ASSERT_NE(stored, nullptr);
  items.SetDisabled(*stored, false);
  items.SetDisabled(Rec(items, "ed"), true);
  cleanup.Apply(backup);
  EXPECT_THAT(backup.Texts[std::string(kClasses) + "txtfile\\shell\\old"], HasSubstr("Old again"));
  EXPECT_THAT(backup.Texts[std::string(kStore) + "txtfile\\shell\\ed"], HasSubstr("stale"));
  EXPECT_THAT(Text(std::string(kClasses) + "txtfile\\shell\\old"), HasSubstr("old.exe"));
  EXPECT_THAT(Text(std::string(kStore) + "txtfile\\shell\\ed"), HasSubstr("ed.exe"));
  EXPECT_EQ(items.Count(), 6);
}

// Switching off and on moves the key whole, the other tool's marker included: it is
// never written or removed by this program.
TEST_F(StaticItemsCleanupTest, OtherToolsMarkerTravelsUntouched) {
  TStaticItems& items = Txt();
  const std::string hidden = Content(std::string(kClasses) + "txtfile\\shell\\hidden");
  items.SetDisabled(Rec(items, "hidden"), true);
  cleanup.Apply(backup);
  items.SetDisabled(Rec(items, "hidden"), false);
  cleanup.Apply(backup);
  EXPECT_EQ(Content(std::string(kClasses) + "txtfile\\shell\\hidden"), hidden);
  EXPECT_TRUE(Rec(items, "hidden").LegacyDisabled);
}

// For every k: the k-th registry call of the Apply fails. Each verb is then whole in its
// old or its new place, the backup holds every key as it was, and Apply again finishes.
TEST_F(StaticItemsCleanupTest, EveryFailingRegistryCallLeavesEachVerbWhole) {
  struct TMove {
    std::string From, To;
  };
  const std::vector<TMove> moves = {
      {std::string(kClasses) + "txtfile\\shell\\Open", std::string(kStore) + "txtfile\\shell\\Open"},
      {std::string(kStore) + "txtfile\\shell\\old", std::string(kClasses) + "txtfile\\shell\\old"}};
  const std::vector<std::string> deletions = {std::string(kClasses) + "txtfile\\shell\\ed",
                                              std::string(kClasses) + "pngfile\\shell\\edit"};
  std::map<std::string, std::string> original;
  for (const TMove& move : moves) original[move.From] = Content(move.From);
  for (const std::string& key : deletions) original[key] = Text(key);
  std::map<std::string, std::string> whole;
  for (const TMove& move : moves) whole[move.From] = Text(move.From);
  const std::string untouched = Text(std::string(kClasses) + "txtfile\\shell\\bare");

  bool reachedEnd = false;
  for (int k = 1; !reachedEnd && k < 2000; ++k) {
    SCOPED_TRACE("failing call " + std::to_string(k));
    ImportRegText(memory, "REGEDIT4\n\n[-HKEY_CLASSES_ROOT\\txtfile]\n[-HKEY_CLASSES_ROOT\\pngfile]\n"
                          "[-HKEY_CURRENT_USER\\Software\\Orvane]\n");
    Import(kVerbs);
    TExportingBackup recorded(memory);
    TStaticItemsCleanup fresh(counting, Held());
    TStaticItems& txt = fresh.GetItems("\\txtfile\\shell");
    TStaticItems& png = fresh.GetItems("\\pngfile\\shell");
    txt.SetDisabled(Rec(txt, "Open"), true);
    txt.SetDisabled(Rec(txt, "old"), false);
    txt.SetDeleted(Rec(txt, "ed"), true);
    png.SetDeleted(Rec(png, "edit"), true);

    counting.Arm(k);
    bool failed = false;
    try {
      fresh.Apply(recorded);
    } catch (const Exception&) {
      failed = true;
    }
    reachedEnd = counting.Calls < k;
    counting.Arm(0);
    // A call whose failure changes nothing (the end of a listing) may pass unnoticed; an
    // Apply that reports success has done everything.
    EXPECT_EQ(fresh.Modified(), failed);
    auto expectDone = [&] {
      for (const TMove& move : moves) {
        EXPECT_FALSE(Exists(move.From)) << move.From;
        EXPECT_EQ(Content(move.To), original[move.From]) << move.To;
      }
      for (const std::string& key : deletions) EXPECT_FALSE(Exists(key)) << key;
    };
    if (!failed) expectDone();

    for (const TMove& move : moves) {
      const bool old = Content(move.From) == original[move.From] && !Exists(move.To);
      const bool moved = Content(move.To) == original[move.From];
      EXPECT_TRUE(old || moved) << move.From;
    }
    for (const std::string& key : deletions) {
      EXPECT_TRUE(!Exists(key) || Text(key) == original[key] || fresh.Modified()) << key;
      EXPECT_EQ(recorded.Texts[key], original[key]) << key;
    }
    for (const TMove& move : moves) EXPECT_EQ(recorded.Texts[move.From], whole[move.From]);
    EXPECT_EQ(Text(std::string(kClasses) + "txtfile\\shell\\bare"), untouched);

    fresh.Apply(recorded);
    EXPECT_FALSE(fresh.Modified());
    expectDone();
    EXPECT_EQ(memory.OpenHandleCount(), 0u);
  }
  EXPECT_TRUE(reachedEnd);
}

TEST_F(StaticItemsCleanupTest, ClearDropsEveryPendingChange) {
  TStaticItems& items = Txt();
  items.SetDisabled(Rec(items, "Open"), true);
  cleanup.Clear();
  EXPECT_FALSE(cleanup.Modified());
  TStaticItems& again = Txt();
  EXPECT_FALSE(again.IsDisabled(Rec(again, "Open")));
}

TEST_F(StaticItemsCleanupTest, ProgramSwitchesOffItsVerbsInEveryType) {
  std::vector<std::pair<int, int>> progress;
  const int count = cleanup.DisableProgram(
      CommandProgram(Rec(Txt(), "ed").Command), {"txtfile", "pngfile", "nosuchfile"},
      [&](int done, int total) { progress.emplace_back(done, total); });
  EXPECT_EQ(count, 2);
  TStaticItems& png = cleanup.GetItems("\\pngfile\\shell");
  EXPECT_TRUE(png.IsDisabled(Rec(png, "edit")));
  EXPECT_FALSE(Txt().IsDisabled(Rec(Txt(), "Open")));
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(progress.back(), std::make_pair(3, 3));
}

TEST(StaticItemsCommandLine, ProgramIsTheFirstArgument) {
  const std::pair<const char*, const char*> cases[] = {
      {"\"C:\\Program Files\\Ed\\ed.exe\" /e \"%1\"", "C:\\Program Files\\Ed\\ed.exe"},
      {"  notepad.exe %1", "notepad.exe"},
      {"C:\\Pro\"gram Fil\"es\\x.exe", "C:\\Program Files\\x.exe"},
      {"\t\x01rundll32.exe,Run", "rundll32.exe,Run"},
      {"<none>", "<none>"},
      {"", ""},
  };
  for (auto [command, program] : cases) EXPECT_EQ(CommandProgram(command), program) << command;
  EXPECT_EQ(ProgramFolderOf("C:\\Program Files\\Ed\\ed.exe"), "C:\\Program Files\\Ed\\");
  EXPECT_EQ(ProgramFolderOf("C:ed.exe"), "C:");
  EXPECT_EQ(ProgramFolderOf("ed.exe"), "");
}

TEST_F(StaticItemsCleanupTest, FilterLooksAtCaptionAndCommandLine) {
  TStaticItems& items = Txt();
  std::vector<std::string> shown;
  for (int i = 0; i < items.Count(); ++i) {
    if (MatchesFilter(items, i, "PROGRAM files")) shown.push_back(items.Text(i));
  }
  EXPECT_THAT(shown, ElementsAre("ed"));
  EXPECT_TRUE(MatchesFilter(items, 0, "*op"));
  EXPECT_TRUE(MatchesFilter(items, 0, "&pad"));
  EXPECT_TRUE(MatchesFilter(items, 0, ""));
}

}  // namespace
}  // namespace orvane::testing
