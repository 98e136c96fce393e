// The static menu against the registry (in memory, and the real one under Wine): its
// section of the menu file, the verbs it writes at load and save, and how edits reach
// the registry.

#include "menus/static_menu.h"

#include <gtest/gtest.h>

#include <set>

#include "menu_file_fixture.h"
#include "platform/messages.h"
#include "platform/reg_text.h"
#include "platform/registry.h"
#include "tests/support/fake_services.h"
#include "tests/support/nth_call_failure.h"
#include "tests/support/recorded_backup.h"
#include "tests/support/registry_backends.h"

namespace orvane::testing {
namespace {

const std::string kSection = "Static Items";

const std::string kFile = CrLf({
    "[Orvane]",
    "Left=10",
    "",
    "[Static Items]",
    "Application0=notepad.exe",
    "Parameters0=/e %1",
    "Caption0=Open with &Editor",
    "Checked0=1",
    "FileType0=txtfile",
    "Application1=wordpad.exe",
    "Parameters1=%1",
    "Caption1=Print here",
    "Checked1=0",
    "FileType1=txtfile",
    "Application2=cmd.exe",
    "Parameters2=/k cd %1",
    "Caption2=Prompt",
    "Checked2=1",
    "FileType2=Directory",
    "Application3=run.exe",
    "Parameters3=%1",
    "Caption3=Run",
    "Checked3=1",
    "FileType3=exefile",
    "Count=4",
});

template <class Backend>
class StaticMenuTest : public RegistryBackendTest<Backend>, public MenuFiles {
protected:
  using Base = RegistryBackendTest<Backend>;
  using Base::Abs;
  using Base::Memory;
  using Base::Reg;

  TVerbRegistry Where() { return TVerbRegistry{Reg(), fileSystem, kHkeyCurrentUser, Abs()}; }

  void Load(const std::string& text = kFile) {
    auto document = Document(text);
    menu->LoadFromIni(*document, kSection);
  }
  // Saves into the menu file; its bytes afterwards.
  std::string Save() {
    auto document = Document();
    menu->SaveToIni(*document, kSection);
    return Written(std::move(document));
  }
  bool KeyExists(const std::string& path) {
    TRegistry registry(Reg());
    return registry.KeyExists(Abs(path));
  }
  std::string Value(const std::string& path) {
    TRegistry registry(Reg());
    if (!registry.OpenKeyReadOnly(Abs(path))) return "(missing)";
    return registry.ReadString("");
  }
  TStaticMenuItem* Item(const std::string& caption) {
    for (TStaticMenuItem* item : menu->AllItems())
      if (item->Caption() == caption) return item;
    return nullptr;
  }
  void Import(const std::string& text) {
    std::string full = "REGEDIT4\n\n";
    size_t start = 0;
    // Fixture keys are written relative to the scratch key.
    while (start < text.size()) {
      size_t end = text.find('\n', start);
      std::string line = text.substr(start, end - start);
      if (line.size() > 1 && line[0] == '[')
        line = "[" + Base::Full(line.substr(1, line.size() - 2)) + "]";
      full += line + "\n";
      start = end == std::string::npos ? text.size() : end + 1;
    }
    ImportRegText(Reg(), full);
  }

  TFakeFileSystem fileSystem;
  std::unique_ptr<TStaticMenu> menu = std::make_unique<TStaticMenu>(&types, Where());
};

TYPED_TEST_SUITE(StaticMenuTest, RegistryBackends, BackendName);

TYPED_TEST(StaticMenuTest, SectionSavesBackByteForByteAndActiveVerbsAreWritten) {
  this->Load();
  EXPECT_TRUE(this->menu->Log().empty());
  EXPECT_FALSE(this->menu->IsModified());
  EXPECT_EQ(this->Save(), kFile);

  EXPECT_EQ(this->Value("txtfile\\shell\\Open with &Editor (*)"), "Open with &Editor");
  EXPECT_EQ(this->Value("txtfile\\shell\\Open with &Editor (*)\\command"), "notepad.exe /e %1");
  EXPECT_FALSE(this->KeyExists("txtfile\\shell\\Print here (*)"));
  EXPECT_EQ(this->Value("Directory\\shell\\Prompt (*)\\command"), "cmd.exe /k cd %1");
}

TYPED_TEST(StaticMenuTest, LoadingWritesMissingVerbsAndKeepsExistingOnes) {
  this->Import(
      "[exefile\\shell\\Run (*)\\command]\n"
      "@=\"custom command\"\n");
  this->Load();
  EXPECT_EQ(this->Value("txtfile\\shell\\Open with &Editor (*)\\command"), "notepad.exe /e %1");
  EXPECT_EQ(this->Value("exefile\\shell\\Run (*)\\command"), "custom command");
  EXPECT_TRUE(this->Item("Run")->StoreInfo().Stored());
  EXPECT_EQ(this->Item("Run")->StoreInfo().KeyPath(), "\\exefile\\shell\\Run (*)");
  EXPECT_FALSE(this->Item("Print here")->StoreInfo().Stored());
}

TYPED_TEST(StaticMenuTest, RenameMoveDeactivateAndDeleteReachTheRegistryAtTheNextSave) {
  this->Load();
  this->Item("Open with &Editor")->SetCaption("Edit");
  this->Item("Print here")->SetChecked(true);
  this->Item("Print here")->SetFileType(this->Type("exefile"));
  this->Item("Run")->SetChecked(false);
  this->Item("Prompt")->Free();
  EXPECT_EQ(this->menu->DeletedKeys().size(), 1u);
  // Nothing reaches the registry before the save.
  EXPECT_TRUE(this->KeyExists("txtfile\\shell\\Open with &Editor (*)"));
  EXPECT_TRUE(this->KeyExists("Directory\\shell\\Prompt (*)"));

  this->Save();
  EXPECT_FALSE(this->KeyExists("txtfile\\shell\\Open with &Editor (*)"));
  EXPECT_EQ(this->Value("txtfile\\shell\\Edit (*)\\command"), "notepad.exe /e %1");
  EXPECT_EQ(this->Value("exefile\\shell\\Print here (*)\\command"), "wordpad.exe %1");
  EXPECT_FALSE(this->KeyExists("exefile\\shell\\Run (*)"));
  // The emptied shell key goes with the last verb; the file type's key stays.
  EXPECT_FALSE(this->KeyExists("Directory\\shell"));
  EXPECT_TRUE(this->KeyExists("Directory"));
  EXPECT_TRUE(this->menu->DeletedKeys().empty());
  EXPECT_FALSE(this->menu->IsModified());
}

TYPED_TEST(StaticMenuTest, ShellKeyStaysForOtherVerbsButNotForItsOwnValues) {
  this->Import(
      "[txtfile\\shell]\n"
      "@=\"open\"\n"
      "[Directory\\shell\\find\\command]\n"
      "@=\"find.exe\"\n");
  this->Load();
  this->Item("Open with &Editor")->Free();
  this->Item("Print here")->Free();
  this->Item("Prompt")->Free();
  this->Save();
  EXPECT_FALSE(this->KeyExists("txtfile\\shell"));
  EXPECT_TRUE(this->KeyExists("Directory\\shell\\find"));
  EXPECT_FALSE(this->KeyExists("Directory\\shell\\Prompt (*)"));
}

// A ":" in a caption must not make another program's verb look like the parent key.
TYPED_TEST(StaticMenuTest, ColonInCaptionLeavesForeignVerbAlone) {
  this->Import(
      "[txtfile\\shell\\Run]\n"
      "@=\"Run\"\n");
  this->Load();
  this->Item("Open with &Editor")->SetCaption("Run: now");
  this->Save();
  EXPECT_TRUE(this->KeyExists("txtfile\\shell\\Run: now (*)"));
  this->Item("Run: now")->Free();
  this->Save();
  EXPECT_FALSE(this->KeyExists("txtfile\\shell\\Run: now (*)"));
  EXPECT_EQ(this->Value("txtfile\\shell\\Run"), "Run");
}

// A "\" in a caption would write the verb below another program's verb key, and the
// removal would then take that key for the emptied parent.
TYPED_TEST(StaticMenuTest, BackslashInCaptionLeavesForeignVerbAlone) {
  this->Import(
      "[txtfile\\shell\\Edit]\n"
      "@=\"Edit\"\n");
  this->Load();
  this->Item("Open with &Editor")->SetCaption("Edit\\Now");
  this->Save();
  EXPECT_FALSE(this->KeyExists("txtfile\\shell\\Edit\\Now (*)"));
  EXPECT_EQ(this->Value("txtfile\\shell\\Edit/Now (*)"), "Edit\\Now");
  EXPECT_EQ(this->Value("txtfile\\shell\\Edit/Now (*)\\command"), "notepad.exe /e %1");
  this->Item("Edit\\Now")->Free();
  this->Save();
  EXPECT_FALSE(this->KeyExists("txtfile\\shell\\Edit/Now (*)"));
  EXPECT_EQ(this->Value("txtfile\\shell\\Edit"), "Edit");
}

TYPED_TEST(StaticMenuTest, DestroyingTheMenuLeavesTheRegistryAlone) {
  this->Load();
  this->menu.reset();
  EXPECT_TRUE(this->KeyExists("txtfile\\shell\\Open with &Editor (*)"));
  EXPECT_TRUE(this->KeyExists("exefile\\shell\\Run (*)"));
}

TYPED_TEST(StaticMenuTest, RegistryFailureStopsTheSaveAndTheNextSaveConverges) {
  TMemoryRegistry* memory = this->Memory();
  if (!memory) GTEST_SKIP() << "failures are injected in memory only";
  this->Load();
  this->Item("Open with &Editor")->SetCaption("Edit");
  this->Item("Prompt")->Free();
  memory->FailOperation(TMemoryRegistry::Op::Create, this->Full("exefile\\shell\\Run (*)"),
                        5 /* access denied */, 1);
  auto document = this->Document(kFile);
  EXPECT_THROW(this->menu->SaveToIni(*document, kSection), Exception);
  // The section is not rewritten and the menu stays modified.
  EXPECT_EQ(this->Written(std::move(document)), kFile);
  EXPECT_TRUE(this->menu->IsModified());
  EXPECT_FALSE(this->KeyExists("exefile\\shell\\Run (*)"));

  std::string saved = this->Save();
  EXPECT_NE(saved.find("Caption0=Edit\r\n"), std::string::npos);
  EXPECT_EQ(this->Value("exefile\\shell\\Run (*)\\command"), "run.exe %1");
  EXPECT_TRUE(this->KeyExists("txtfile\\shell\\Edit (*)"));
  EXPECT_FALSE(this->KeyExists("txtfile\\shell\\Open with &Editor (*)"));
  EXPECT_FALSE(this->KeyExists("Directory\\shell"));
  EXPECT_FALSE(this->menu->IsModified());
}

// What a save removes for good reaches the backup first, with the own values of the shell
// key that goes with its last verb; verbs written again do not. A backup that cannot be
// written stops the save before anything is removed.
TYPED_TEST(StaticMenuTest, VerbsRemovedForGoodAreBackedUpBeforeTheyGo) {
  this->Import("[txtfile\\shell]\n@=\"open\"\n");
  TRecordedBackup backup;
  TVerbRegistry where = this->Where();
  where.Backup = &backup;
  this->menu = std::make_unique<TStaticMenu>(&this->types, where);
  this->Load();
  this->Item("Open with &Editor")->SetCaption("Edit");
  this->Item("Prompt")->Free();
  backup.FailCommit = true;
  EXPECT_THROW(this->Save(), Exception);
  EXPECT_TRUE(this->KeyExists("Directory\\shell\\Prompt (*)"));
  EXPECT_TRUE(this->KeyExists("txtfile\\shell\\Open with &Editor (*)"));

  backup.FailCommit = false;
  this->Save();
  ASSERT_EQ(backup.Committed.size(), 1u);
  std::set<std::string> handed;
  for (const auto& entry : backup.Committed[0]) {
    EXPECT_EQ(entry.Root, kHkeyCurrentUser);
    handed.insert(entry.Path + (entry.IsValue ? " value \"" + entry.ValueName + "\"" : ""));
  }
  const std::string base = this->Abs();
  EXPECT_EQ(handed, (std::set<std::string>{base + "\\txtfile\\shell\\Open with &Editor (*)",
                                           base + "\\txtfile\\shell value \"\"",
                                           base + "\\Directory\\shell\\Prompt (*)"}));
  // Nothing removed: nothing backed up.
  this->menu->SetModified(true);
  this->Save();
  EXPECT_EQ(backup.Committed.size(), 1u);
}

// A save that only writes the same verbs again still deletes the shell key they emptied,
// with its own values: those reach the backup first. A shell key that keeps another
// program's verb keeps its values, and they are not backed up.
TYPED_TEST(StaticMenuTest, ValuesOfAShellKeyEmptiedByTheSaveAreBackedUp) {
  this->Import(
      "[txtfile\\shell]\n@=\"Open with &Editor (*)\"\n"
      "[Directory\\shell]\n@=\"find\"\n[Directory\\shell\\find\\command]\n@=\"find.exe\"\n");
  TRecordedBackup backup;
  TVerbRegistry where = this->Where();
  where.Backup = &backup;
  this->menu = std::make_unique<TStaticMenu>(&this->types, where);
  this->Load();
  this->menu->SetModified(true);
  this->Save();
  ASSERT_EQ(backup.Committed.size(), 1u);
  ASSERT_EQ(backup.Committed[0].size(), 1u);
  const TRecordedBackup::TEntry& entry = backup.Committed[0][0];
  EXPECT_TRUE(entry.IsValue);
  EXPECT_EQ(entry.Path, this->Abs("txtfile\\shell"));
  EXPECT_EQ(entry.ValueName, "");
  EXPECT_EQ(this->Value("Directory\\shell"), "find");
}

// The static cleanup leaves out exactly the verbs the menu holds: written, to be written,
// or queued for removal; an inactive item holds none.
TYPED_TEST(StaticMenuTest, MenuHoldsTheVerbsItWroteWillWriteOrWillRemove) {
  this->Load();
  EXPECT_TRUE(this->menu->HoldsVerb("\\TXTFILE\\shell\\open with &editor (*)"));
  EXPECT_FALSE(this->menu->HoldsVerb("\\txtfile\\shell\\Print here (*)"));
  this->Item("Prompt")->Free();
  this->Item("Run")->SetCaption("Go");
  EXPECT_TRUE(this->menu->HoldsVerb("\\Directory\\shell\\Prompt (*)"));
  EXPECT_TRUE(this->menu->HoldsVerb("\\exefile\\shell\\Run (*)"));
  EXPECT_TRUE(this->menu->HoldsVerb("\\exefile\\shell\\Go (*)"));
  this->Save();
  EXPECT_FALSE(this->menu->HoldsVerb("\\Directory\\shell\\Prompt (*)"));
  EXPECT_FALSE(this->menu->HoldsVerb("\\exefile\\shell\\Run (*)"));
}

TYPED_TEST(StaticMenuTest, FailedDeletionOfAQueuedKeyIsRetried) {
  TMemoryRegistry* memory = this->Memory();
  if (!memory) GTEST_SKIP() << "failures are injected in memory only";
  this->Load();
  this->Item("Prompt")->Free();
  memory->FailOperation(TMemoryRegistry::Op::DeleteKey, "", 5, 1);
  EXPECT_THROW(this->Save(), Exception);
  this->Save();
  EXPECT_FALSE(this->KeyExists("Directory\\shell\\Prompt (*)"));
  EXPECT_TRUE(this->menu->DeletedKeys().empty());
}

TYPED_TEST(StaticMenuTest, LoadProblemsAreLoggedAndLeaveTheMenuModified) {
  this->Load(CrLf({
      "[Static Items]",     "Application0=",        "Parameters0=",
      "Caption0=",          "Checked0=1",           "FileType0=txtfile",
      "Application1=a.exe", "Caption1=Odd",         "Checked1=7",
      "FileType1=txtfile",  "Application2=b.exe",   "Caption2=Lost",
      "Checked2=0",         "FileType2=nosuchfile", "Application3=c.exe",
      "Caption3=No type",   "Application5=d.exe",   "Caption5=Late",
      "Checked5=x",         "FileType5=Directory",  "Count=9",
  }));
  const std::vector<std::string> expected = {
      "Invalid menu item skipped.",
      "Invalid value of \"Checked\" property for Odd menu item. Set to \"False\".",
      "File type \"nosuchfile\" not found. Menu item \"Lost\" is kept without a file type and "
      "is not written to the registry.",
  };
  EXPECT_EQ(this->menu->Log(), expected);
  EXPECT_TRUE(this->menu->IsModified());
  std::vector<std::string> captions;
  for (TStaticMenuItem* item : this->menu->AllItems()) {
    captions.push_back(item->Caption());
    EXPECT_FALSE(item->Checked());
  }
  // The category of the missing type stands before those of the list's types.
  EXPECT_EQ(captions, (std::vector<std::string>{"Lost", "Odd", "Late"}));
  EXPECT_EQ(this->Item("Lost")->ItemFileType(), nullptr);
}

// An item whose file type this system does not have is no command for some other type:
// no verb at load or save, a category of its own under the type's name, and the section
// saved back as read; moved to a type that exists, it is an ordinary item again.
TYPED_TEST(StaticMenuTest, ItemOfAMissingFileTypeKeepsItsTypeAndWritesNoVerb) {
  const std::string file =
      CrLf({"[Static Items]", "Application0=probe.exe", "Parameters0=%1", "Caption0=Probe Alpha",
            "Checked0=1", "FileType0=nosuchfile", "Count=1"});
  this->Load(file);
  EXPECT_FALSE(this->KeyExists(""));
  TStaticMenuItem* item = this->Item("Probe Alpha");
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->ItemFileType(), nullptr);
  EXPECT_EQ(item->VerbKeyPath(), "");
  EXPECT_EQ(item->Category()->DisplayName(), "nosuchfile (no such file type)");
  EXPECT_EQ(this->menu->Log().size(), 1u);
  EXPECT_EQ(this->Save(), file);
  EXPECT_FALSE(this->KeyExists(""));

  item->SetFileType(this->Type("exefile"));
  this->Save();
  EXPECT_EQ(this->Value("exefile\\shell\\Probe Alpha (*)\\command"), "probe.exe %1");
  // The type's category left with its last item.
  EXPECT_EQ(this->menu->Items().Count(), 1);
}

// A registry that refuses any one call of the load costs one item its verb, nothing
// more: every item is read, the refusal is logged for that item, a verb key that could
// not be looked at is not written over, and the next save writes the whole section.
TYPED_TEST(StaticMenuTest, RegistryFailureAtAnyCallOfTheLoadLosesNothing) {
  TNthCallFailure failing(this->Reg());
  auto fresh = [&] {
    TRegistry registry(this->Reg());
    registry.DeleteKey(this->Abs());
    this->Import("[exefile\\shell\\Run (*)\\command]\n@=\"custom command\"\n");
    failing.Arm(0);
    return std::make_unique<TStaticMenu>(
        &this->types, TVerbRegistry{failing, this->fileSystem, kHkeyCurrentUser, this->Abs()});
  };
  {
    auto menu = fresh();
    auto document = this->Document(kFile);
    menu->LoadFromIni(*document, kSection);
  }
  const int calls = failing.Calls;
  ASSERT_GT(calls, 4);
  for (int k = 1; k <= calls; ++k) {
    SCOPED_TRACE("failing call " + std::to_string(k));
    auto menu = fresh();
    failing.Arm(k);
    auto document = this->Document(kFile);
    ASSERT_NO_THROW(menu->LoadFromIni(*document, kSection));
    EXPECT_TRUE(failing.Failed);
    EXPECT_EQ(menu->AllItems().size(), 4u);
    ASSERT_EQ(menu->Log().size(), 1u);
    EXPECT_EQ(menu->Log()[0].rfind("Menu item \"", 0), 0u) << menu->Log()[0];
    EXPECT_TRUE(menu->IsModified());
    EXPECT_EQ(this->Value("exefile\\shell\\Run (*)\\command"), "custom command");

    failing.Arm(0);
    auto saved = this->Document();
    menu->SaveToIni(*saved, kSection);
    EXPECT_EQ(this->Written(std::move(saved)), kFile);
    EXPECT_EQ(this->Value("txtfile\\shell\\Open with &Editor (*)\\command"), "notepad.exe /e %1");
    EXPECT_EQ(this->Value("Directory\\shell\\Prompt (*)\\command"), "cmd.exe /k cd %1");
  }
}

// A menu file whose reading stops halfway: what was read is shown, but saving it would
// erase the rest from the file, so the save refuses and the file stays as it was.
TYPED_TEST(StaticMenuTest, MenuNotReadWholeIsNotSavedOverTheFile) {
  struct TBrokenDocument : TOrvaneIniFile {
    using TOrvaneIniFile::TOrvaneIniFile;
    std::string ReadString(const std::string& section, const std::string& ident,
                           const std::string& defaultValue) override {
      if (ident == "FileType2") throw Exception("The menu file cannot be read");
      return TOrvaneIniFile::ReadString(section, ident, defaultValue);
    }
  };
  this->files.Files["menu.ini"] = kFile;
  TBrokenDocument broken("menu.ini", this->files);
  EXPECT_THROW(this->menu->LoadFromIni(broken, kSection), Exception);
  EXPECT_TRUE(this->menu->Incomplete());
  EXPECT_EQ(this->menu->AllItems().size(), 2u);
  this->menu->SetModified(true);
  auto document = this->Document(kFile);
  EXPECT_THROW(this->menu->SaveToIni(*document, kSection), EMenuError);
  EXPECT_EQ(this->Written(std::move(document)), kFile);

  this->Load();
  EXPECT_FALSE(this->menu->Incomplete());
  EXPECT_EQ(this->Save(), kFile);
}

TYPED_TEST(StaticMenuTest, CountFarBeyondTheEntriesReadsThePresentOnes) {
  this->Load(CrLf({"[Static Items]", "Application0=a.exe", "Caption0=A", "Checked0=0",
                   "FileType0=txtfile", "Application2=b.exe", "Caption2=B", "Checked2=0",
                   "FileType2=exefile", "Count=2147483647"}));
  EXPECT_EQ(this->menu->AllItems().size(), 2u);
}

TYPED_TEST(StaticMenuTest, MissingSectionIsAnEmptyMenuAndSavesCountZero) {
  this->Load(CrLf({"[Other]", "A=1"}));
  EXPECT_EQ(this->menu->Items().Count(), 0);
  EXPECT_FALSE(this->KeyExists(""));
  EXPECT_EQ(this->Save(), CrLf({"[Other]", "A=1", "", "[Static Items]", "Count=0"}));
}

TYPED_TEST(StaticMenuTest, NoFileTypesRaiseBeforeAnythingChanges) {
  TStaticMenu bare(nullptr, this->Where());
  auto document = this->Document(kFile);
  EXPECT_THROW(bare.LoadFromIni(*document, kSection), EMenuError);
  EXPECT_THROW(bare.SaveToIni(*document, kSection), EMenuError);
  EXPECT_EQ(this->Written(std::move(document)), kFile);
}

// The shell splits an unquoted command at blanks: a program path with blanks (or with
// variables that may expand to some) is quoted, once; a program typed with its own
// arguments is a command line and stays as typed.
TEST(VerbCommandTest, OnlyAnExistingProgramPathIsQuoted) {
  TFakeFileSystem files;
  files.Environment["ProgramFiles"] = "C:\\Program Files";
  files.Existing = {"C:\\Program Files\\Tool\\tool.exe", "C:\\Windows\\rundll32.exe"};
  struct Case {
    const char* application;
    const char* parameters;
    const char* command;
  };
  const Case cases[] = {
      {"notepad.exe", "/e %1", "notepad.exe /e %1"},
      {"C:\\Program Files\\Tool\\tool.exe", "\"%1\"",
       "\"C:\\Program Files\\Tool\\tool.exe\" \"%1\""},
      {"\"C:\\Program Files\\Tool\\tool.exe\"", "\"%1\"",
       "\"C:\\Program Files\\Tool\\tool.exe\" \"%1\""},
      {"%ProgramFiles%\\Tool\\tool.exe", "%1", "\"%ProgramFiles%\\Tool\\tool.exe\" %1"},
      {"rundll32.exe url.dll,FileProtocolHandler", "%1", "rundll32.exe url.dll,FileProtocolHandler %1"},
      {"C:\\Windows\\rundll32.exe shell32.dll,OpenAs_RunDLL", "%1",
       "C:\\Windows\\rundll32.exe shell32.dll,OpenAs_RunDLL %1"},
      {"cmd /c", "type \"%1\"", "cmd /c type \"%1\""},
      {"%ComSpec% /k", "cd %1", "%ComSpec% /k cd %1"},
      {"", "%1", " %1"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(VerbCommand(c.application, c.parameters, files), c.command) << c.application;
  }
}

}  // namespace
}  // namespace orvane::testing
