// Both menus read at start-up through the profile reader and applied through the INI
// engine, on a real file.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "menu_file_fixture.h"
#include "menus/dynamic_menu.h"
#include "menus/menu_file_io.h"
#include "menus/static_menu.h"
#include "platform/memory_registry.h"
#include "platform/registry.h"
#include "storage/custom_drawn_menu_info.h"
#include "storage/menu_file.h"
#include "storage/profile_ini_file.h"
#include "tests/support/fake_services.h"

namespace orvane::testing {
namespace {

TEST(MenuFileStartUp, BothMenusLoadThroughTheProfileReaderAndApplyRewritesTheirSections) {
  MenuFiles fixture;
  std::string path = (std::filesystem::temp_directory_path() / "orvane_menu_startup.ini").string();
  {
    std::ofstream file(path, std::ios::binary);
    file << CrLf({"[Orvane]", "Left=5", "", "[Dynamic Items]", "Parent1=0", "Application1=note.exe",
                  "Parameters1=%1", "Caption1=Edit; fast", "Checked1=1", "FileType1=txtfile",
                  "Count=1", "", "[Static Items]", "Application0=a.exe", "Parameters0=%1",
                  "Caption0=Go", "Checked0=1", "FileType0=txtfile", "Count=1"});
  }
  TMemoryRegistry registry;
  TFakeFileSystem fileSystem;
  TStaticMenu staticMenu(&fixture.types, TVerbRegistry{registry, fileSystem, kHkeyClassesRoot, ""});
  TDynamicMenu dynamicMenu(&fixture.types, fixture.Images());
  {
    TProfileIniFile startUp(path);
    staticMenu.LoadFromIni(startUp, kStaticItemsSection);
    dynamicMenu.LoadFromIni(startUp, kDynamicItemsSection);
  }
  auto* item = static_cast<TDynamicMenuItem*>(
      dynamicMenu.List().FindCategory(fixture.Type("txtfile"))->Items()[0]);
  EXPECT_EQ(item->Caption(), "Edit; fast");
  EXPECT_EQ(item->Parameters(), "%1");
  EXPECT_EQ(staticMenu.AllItems().size(), 1u);

  item->SetCaption("Edit");
  staticMenu.AllItems()[0]->SetCaption("Run");
  {
    TOrvaneIniFile apply(path, DefaultFileAccess());
    staticMenu.SaveToIni(apply, kStaticItemsSection);
    apply.UpdateFile();
  }
  {
    TOrvaneIniFile apply(path, DefaultFileAccess());
    dynamicMenu.SaveToIni(apply, kDynamicItemsSection);
    apply.UpdateFile();
  }
  std::stringstream text;
  {
    std::ifstream file(path, std::ios::binary);
    text << file.rdbuf();
  }
  EXPECT_EQ(text.str(), CrLf({"[Orvane]",
                              "Left=5",
                              "",
                              "[Static Items]",
                              "Application0=a.exe",
                              "Parameters0=%1",
                              "Caption0=Run",
                              "Checked0=1",
                              "FileType0=txtfile",
                              "Count=1",
                              "",
                              "[Dynamic Items]",
                              "Parent1=0",
                              "Application1=note.exe",
                              "Parameters1=%1",
                              "Caption1=Edit",
                              "Hint1=",
                              "IconFile1=",
                              "IconIndex1=0",
                              "Checked1=1",
                              "FileType1=txtfile",
                              "Count=1"}));
  std::filesystem::remove(path);
}

// Quotes around a program with blanks and around "%1" are what make the verb work: they
// must survive the apply, the restart and the next apply.
TEST(MenuFileStartUp, QuotedProgramAndParametersSurviveARestart) {
  MenuFiles fixture;
  std::string path = (std::filesystem::temp_directory_path() / "orvane_menu_quotes.ini").string();
  std::filesystem::remove(path);
  const std::string program = "\"C:\\Program Files\\Tool\\tool.exe\"";
  TMemoryRegistry registry;
  TFakeFileSystem fileSystem;
  TVerbRegistry where{registry, fileSystem, kHkeyClassesRoot, ""};
  {
    TStaticMenu before(&fixture.types, where);
    auto* item = static_cast<TStaticMenuItem*>(before.List().AddFirstItem(
        before.List().FindOrAddCategory(fixture.Type("txtfile"))->Items()));
    item->SetCaption("Tool");
    item->SetApplication(program);
    TOrvaneIniFile apply(path, DefaultFileAccess());
    before.SaveToIni(apply, kStaticItemsSection);
    apply.UpdateFile();
  }
  TStaticMenu after(&fixture.types, where);
  {
    TProfileIniFile startUp(path);
    after.LoadFromIni(startUp, kStaticItemsSection);
  }
  ASSERT_EQ(after.AllItems().size(), 1u);
  EXPECT_EQ(after.AllItems()[0]->Application(), program);
  EXPECT_EQ(after.AllItems()[0]->Parameters(), "\"%1\"");
  after.AllItems()[0]->SetCaption("Tool 2");
  {
    TOrvaneIniFile apply(path, DefaultFileAccess());
    after.SaveToIni(apply, kStaticItemsSection);
    apply.UpdateFile();
  }
  TRegistry verbs(registry);
  verbs.SetRootKey(kHkeyClassesRoot);
  ASSERT_TRUE(verbs.OpenKeyReadOnly("\\txtfile\\shell\\Tool 2 (*)\\command"));
  EXPECT_EQ(verbs.ReadString(""), program + " \"%1\"");
  std::filesystem::remove(path);
}

}  // namespace
}  // namespace orvane::testing

namespace orvane::testing {
namespace {

class MenuFileIo : public ::testing::Test, public MenuFiles {
protected:
  void AddItem(const std::string& caption) {
    auto* item = static_cast<TCustomMenuItem*>(
        menu.List().AddFirstItem(menu.List().FindOrAddCategory(Type("txtfile"))->Items()));
    item->SetCaption(caption);
  }
  TDynamicMenu menu{&types, Images()};
};

TEST_F(MenuFileIo, FailedApplyLeavesTheMenuModifiedAndARetryWrites) {
  AddItem("A");
  files.FailWrites = true;
  EXPECT_THROW(ApplyDynamicMenu(menu, "menu.ini", files), Exception);
  EXPECT_TRUE(menu.IsModified());
  files.FailWrites = false;
  ApplyDynamicMenu(menu, "menu.ini", files);
  EXPECT_FALSE(menu.IsModified());
  EXPECT_NE(files.Files["menu.ini"].find("Caption1=A\r\n"), std::string::npos);
}

TEST_F(MenuFileIo, ExportKeepsTheModifiedStateImportSetsItRevertClearsIt) {
  AddItem("A");
  ExportDynamicMenu(menu, "export.ini", files);
  EXPECT_TRUE(menu.IsModified());
  ApplyDynamicMenu(menu, "menu.ini", files);
  ExportDynamicMenu(menu, "export.ini", files);
  EXPECT_FALSE(menu.IsModified());

  files.Files["other.ini"] =
      CrLf({"[Dynamic Items]", "Parent1=0", "Caption1=B", "Application1=b.exe", "Checked1=9",
            "FileType1=txtfile", "Count=1"});
  ImportDynamicMenu(menu, "other.ini", files);
  EXPECT_TRUE(menu.IsModified());
  std::string& saved = files.Files["menu.ini"];
  saved.replace(saved.find("Checked1=1"), 10, "Checked1=5");
  RevertDynamicMenu(menu, "menu.ini", files);
  EXPECT_EQ(menu.Log().size(), 1u);
  EXPECT_FALSE(menu.IsModified());
}

TEST_F(MenuFileIo, ImportOfAFileWithoutMenuItemsIsRefusedAndTheMenuStays) {
  AddItem("A");
  ApplyDynamicMenu(menu, "menu.ini", files);
  files.Files["notes.ini"] = CrLf({"[Settings]", "Caption1=B"});
  files.Files["binary.ini"] = std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
  for (const char* file : {"notes.ini", "binary.ini"}) {
    EXPECT_THROW(ImportDynamicMenu(menu, file, files), EMenuError) << file;
    EXPECT_FALSE(menu.IsModified()) << file;
    ASSERT_EQ(menu.Items().Count(), 1) << file;
    EXPECT_EQ(static_cast<TCustomMenuItem*>(menu.Items()[0]->Items()[0])->Caption(), "A");
  }
  // Ten thousand entries, one of them nested in a submenu that comes after it.
  std::string big = "[Dynamic Items]\r\nCount=10000\r\n";
  for (int n = 1; n <= 10000; ++n) {
    const std::string k = std::to_string(n);
    big += "Caption" + k + "=I" + k + "\r\nFileType" + k + "=txtfile\r\nParent" + k + "=" +
           (n == 5 ? "7" : "0") + "\r\n";
  }
  files.Files["big.ini"] = big;
  ImportDynamicMenu(menu, "big.ini", files);
  EXPECT_EQ(menu.Items()[0]->Items().Count(), 9999);
  ASSERT_EQ(menu.Log().size(), 1u);
  EXPECT_EQ(menu.Log()[0], "Entry 5 left out: its submenu 7 is not a submenu read before it");
  // The section's name in another case is the section.
  files.Files["lower.ini"] = CrLf({"[dynamic items]", "Count=0"});
  ImportDynamicMenu(menu, "lower.ini", files);
  EXPECT_TRUE(menu.IsModified());
}

// The drawing settings dialog and the main window's Apply each write the menu file while
// the other may hold changes: neither takes out what the other wrote.
TEST_F(MenuFileIo, DrawingSettingsSaveAndApplyKeepEachOthersSections) {
  files.Files["menu.ini"] = "[Orvane]\r\nLeft=5\r\n";
  {
    TCustomDrawnMenuInfo dialog("menu.ini", files);
    AddItem("A");
    dialog.SetEnabled(true);
    dialog.Save();
    ApplyDynamicMenu(menu, "menu.ini", files);
  }
  {
    TCustomDrawnMenuInfo dialog("menu.ini", files);
    EXPECT_TRUE(dialog.Enabled());
    AddItem("B");
    ApplyDynamicMenu(menu, "menu.ini", files);
    dialog.SetTextIndent(30);
    dialog.Save();
  }
  const std::string& text = files.Files["menu.ini"];
  EXPECT_NE(text.find("Left=5\r\n"), std::string::npos);
  EXPECT_NE(text.find("Caption1=A\r\n"), std::string::npos);
  EXPECT_NE(text.find("Caption2=B\r\n"), std::string::npos);
  EXPECT_NE(text.find("Enabled=True\r\n"), std::string::npos);
  EXPECT_NE(text.find("TextIndent=30\r\n"), std::string::npos);
  // The menu's own reload keeps the settings it does not hold.
  RevertDynamicMenu(menu, "menu.ini", files);
  EXPECT_EQ(TCustomDrawnMenuInfo("menu.ini", files).TextIndent(), 30);
}

}  // namespace
}  // namespace orvane::testing
