// Categories follow the file type list: a type that vanishes on a reload gives way to
// the first type, and a list that goes away before the menu leaves nothing dangling.

#include "menus/file_type_category.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "filetypes/adv_string_list.h"
#include "filetypes/file_type_list.h"
#include "filetypes/predefined_types.h"
#include "menu_fixture.h"
#include "platform/file_system.h"
#include "platform/memory_registry.h"
#include "platform/reg_text.h"
#include "tests/filetypes/fake_icons.h"
#include "tests/support/fake_services.h"

namespace orvane::testing {
namespace {

constexpr const char* kTypes = R"(REGEDIT4

[HKEY_CLASSES_ROOT\.txt]
@="txtfile"
[HKEY_CLASSES_ROOT\txtfile]
@="Text Document"
[HKEY_CLASSES_ROOT\.ini]
@="inifile"
[HKEY_CLASSES_ROOT\inifile]
@="Configuration Settings"
)";

TFileType* CategoryType(TestMenu& menu, int index) {
  return static_cast<TCustomFileTypeCategory*>(menu.Items()[index])->FileType();
}

class Reload : public ::testing::Test {
protected:
  void SetUp() override {
    SetPlatformClass(pcXP);
    SetShellVersion(0x60000);
    BuildPredefinedTable();
    ImportRegText(before, kTypes);
    ImportRegText(after, std::string(kTypes).substr(
                             0, std::string(kTypes).find("[HKEY_CLASSES_ROOT\\.ini]")));
    types->Load(bugs, before);
  }

  TMemoryRegistry before;
  TMemoryRegistry after;
  TAdvStringList bugs;
  std::unique_ptr<TFileTypes> types = std::make_unique<TFileTypes>();
};

TEST_F(Reload, ACategoryWhoseTypeVanishesIsRelinkedToTheFirstType) {
  TestMenu menu(types.get());
  TFileType* ini = types->FindByName("inifile");
  ASSERT_NE(ini, nullptr);
  TCustomFileTypeCategory* iniCategory = menu.List().FindOrAddCategory(ini);
  menu.List().AddFirstItem(iniCategory->Items());
  TCustomFileTypeCategory* txtCategory =
      menu.List().FindOrAddCategory(types->FindByName("txtfile"));
  menu.List().AddFirstItem(txtCategory->Items());

  types->Load(bugs, after);
  ASSERT_EQ(types->FindByName("inifile"), nullptr);
  EXPECT_EQ(iniCategory->FileType(), types->Items(0));
  EXPECT_EQ(iniCategory->Link().FileTypes(), types.get());
  EXPECT_EQ(txtCategory->FileType(), types->FindByName("txtfile"));

  types->Load(bugs, before);  // still linked: it follows later reloads
  EXPECT_EQ(iniCategory->FileType(), types->Items(0));
}

TEST_F(Reload, ARelinkedCategoryJoinsTheCategoryOfTheFirstType) {
  TestMenu menu(types.get());
  TCustomFileTypeCategory* first = menu.List().FindOrAddCategory(types->Items(0));
  static_cast<TCustomMenuItem*>(menu.List().AddFirstItem(first->Items()))->SetCaption("kept");
  TCustomFileTypeCategory* ini = menu.List().FindOrAddCategory(types->FindByName("inifile"));
  static_cast<TCustomMenuItem*>(menu.List().AddFirstItem(ini->Items()))->SetCaption("moved 1");
  static_cast<TCustomMenuItem*>(menu.List().AddFirstItem(ini->Items()))->SetCaption("moved 2");
  ini->Focus();
  int changes = 0;
  menu.OnChange = [&](TTreeItems*, TTreeItem*) { ++changes; };

  types->Load(bugs, after);
  ASSERT_EQ(menu.Items().Count(), 1) << "one category per file type";
  TTreeItem* category = menu.Items()[0];
  EXPECT_EQ(static_cast<TCustomFileTypeCategory*>(category)->FileType(), types->Items(0));
  ASSERT_EQ(category->Items().Count(), 3);
  EXPECT_EQ(static_cast<TCustomMenuItem*>(category->Items()[2])->Caption(), "moved 2");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(menu.FocusedItem(), category);
}

TEST_F(Reload, ARescanKeepsEveryCategoryOnTheTypeOfTheSameName) {
  FakeIconSource icons;
  TFileTypeList list(before, icons);
  list.SetActive(true);
  TestMenu menu(&list.Items());
  for (const char* name : {"txtfile", "inifile"})
    menu.List().AddFirstItem(menu.List().FindOrAddCategory(list.Items().FindByName(name))->Items());
  std::vector<std::string> heard;
  TFileTypeLink observer;
  observer.OnChange = [&](TFileTypeLink*, TFileType* item) {
    heard.push_back(item ? "change " + item->Name() : "change");
  };
  observer.OnDestroy = [&](TFileTypeLink*, TFileType*) { heard.push_back("destroy"); };
  observer.OnRefresh = [&](TFileTypeLink*) { heard.push_back("refresh"); };
  observer.SetFileTypes(&list.Items());
  observer.SetFileType(list.Items().FindByName("txtfile"));
  heard.clear();

  for (auto rescan : {+[](TFileTypeList& l) {
                        l.SetActive(false);
                        l.SetActive(true);
                      },
                      +[](TFileTypeList& l) {
                        l.SetActive(false);
                        l.Reload();  // while inactive
                        l.SetActive(true);
                      }}) {
    rescan(list);
    ASSERT_EQ(menu.Items().Count(), 2);
    EXPECT_EQ(CategoryType(menu, 0), list.Items().FindByName("inifile"));
    EXPECT_EQ(CategoryType(menu, 1), list.Items().FindByName("txtfile"));
    EXPECT_EQ(observer.FileType(), list.Items().FindByName("txtfile"));
  }
  // Emptying tells the links once, without an item; each scan ends with a refresh.
  EXPECT_EQ(heard, (std::vector<std::string>{"change", "refresh", "change", "change", "refresh"}));
}

TEST_F(Reload, AFileTypeListThatGoesFirstLeavesTheMenuUsable) {
  TestMenu menu(types.get());
  TCustomFileTypeCategory* category = menu.List().FindOrAddCategory(types->Items(0));
  menu.List().AddFirstItem(category->Items());
  types.reset();
  EXPECT_EQ(menu.FileTypes(), nullptr);
  EXPECT_EQ(category->FileType(), nullptr);
  EXPECT_THROW(menu.List().AddFirstItem(menu.Items()), EMenuError);
  menu.Items().Clear();
}

std::string NativePath(const std::filesystem::path& path) {
  return std::filesystem::path(path).make_preferred().string();
}

void SetVariable(const char* name, const std::string& value) {
#ifdef _WIN32
  _putenv_s(name, value.c_str());
#else
  setenv(name, value.c_str(), 1);
#endif
}

TEST(ApplicationCheck, FindsProgramsAsTypedQuotedOrThroughTheEnvironment) {
  std::filesystem::path folder = std::filesystem::temp_directory_path() / "orvane_menus_test";
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "tool.exe") << "MZ";
  TestItem item(TreeItemsClass<TestItems>());

  item.SetApplication(NativePath(folder / "tool.exe"));
  EXPECT_FALSE(item.IsApplicationMissing(DefaultFileSystem()));
  item.SetApplication("\"" + NativePath(folder / "tool.exe") + "\"");
  EXPECT_FALSE(item.IsApplicationMissing(DefaultFileSystem()));
  SetVariable("ORVANE_TOOL_DIR", NativePath(folder));
  item.SetApplication(std::string("%ORVANE_TOOL_DIR%") + NativePath("/") + "tool.exe");
  EXPECT_FALSE(item.IsApplicationMissing(DefaultFileSystem()));

  item.SetApplication(NativePath(folder / "missing.exe"));
  EXPECT_TRUE(item.IsApplicationMissing(DefaultFileSystem()));
  item.SetApplication("");
  EXPECT_TRUE(item.IsApplicationMissing(DefaultFileSystem()));
  item.SetApplication("%ORVANE_NO_SUCH_VARIABLE%tool.exe");
  EXPECT_TRUE(item.IsApplicationMissing(DefaultFileSystem()));
#ifdef _WIN32
  item.SetApplication("cmd.exe");
  EXPECT_FALSE(item.IsApplicationMissing(DefaultFileSystem())) << "found on the search path";
#endif
  std::filesystem::remove_all(folder);
}

// What Find Application opens: the folder of the program the shell would start.
TEST(ApplicationCheck, FolderIsWhereTheSearchFindsTheProgram) {
  TFakeFileSystem files;
  files.Environment["SystemRoot"] = "C:\\WINDOWS";
  files.SearchPath = std::vector<std::string>{"C:\\WINDOWS\\system32\\"};
  files.Existing.insert("C:\\WINDOWS\\system32\\notepad.exe");
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\tools\\view.exe", "C:\\tools"},
      {"\"C:\\my tools\\view.exe\"", "C:\\my tools"},
      {"%SystemRoot%\\notepad.exe", "C:\\WINDOWS"},
      {"notepad.exe", "C:\\WINDOWS\\system32"},
      {"C:\\view.exe", "C:\\"},
      {"missing.exe", ""},
      {"", ""},
  };
  TestItem item(TreeItemsClass<TestItems>());
  for (const auto& [application, folder] : cases) {
    item.SetApplication(application);
    EXPECT_EQ(item.ApplicationFolder(files), folder) << application;
  }
}

}  // namespace
}  // namespace orvane::testing
