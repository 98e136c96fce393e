// The dynamic menu: its section of the menu file (numbering, parents, key order), what
// the loader skips, and the items' separators, check marks, copies and images.

#include "menus/dynamic_menu.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <set>

#include "menu_file_fixture.h"
#include "platform/messages.h"
#include "tests/filetypes/fake_icons.h"

namespace orvane::testing {
namespace {

const std::string kSection = "Dynamic Items";

const std::string kPng(
    "\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52\x00\x00\x00\x02\x00\x00"
    "\x00\x01\x08\x06\x00\x00\x00\xf4\x22\x7f\x8a\x00\x00\x00\x0e\x49\x44\x41\x54\x78\x9c\x63"
    "\xf8\xcf\xc0\x00\x42\x0d\x00\x0f\x7a\x03\x7e\x77\xe9\x7f\x97\x00\x00\x00\x00\x49\x45\x4e"
    "\x44\xae\x42\x60\x82",
    71);

const std::string kFile = CrLf({
    "[Dynamic Items]",
    "Parent1=0",
    "Caption1=&Tools",
    "Checked1=1",
    "FileType1=txtfile",
    "Hint1=Tools for text",
    "IconFile1=",
    "IconIndex1=-1",
    "Submenu1=1",
    "Parent2=1",
    "Application2=notepad.exe",
    "Parameters2=%1",
    "Caption2=Edit",
    "Hint2=Edits the file",
    "IconFile2=",
    "IconIndex2=-1",
    "Checked2=1",
    "FileType2=txtfile",
    "Parent3=1",
    "IsSeparator3=1",
    "Checked3=1",
    "FileType3=txtfile",
    "Parent4=1",
    "Caption4=Deeper",
    "Checked4=0",
    "FileType4=txtfile",
    "Hint4=",
    "IconFile4=",
    "IconIndex4=-1",
    "Submenu4=1",
    "Parent5=4",
    "Application5=deep.exe",
    "Parameters5=",
    "Caption5=Deep",
    "Hint5=",
    "IconFile5=",
    "IconIndex5=-1",
    "Checked5=0",
    "FileType5=txtfile",
    "Parent6=0",
    "Application6=cmd.exe",
    "Parameters6=/k",
    "Caption6=Prompt",
    "Hint6=",
    "IconFile6=",
    "IconIndex6=-1",
    "Checked6=1",
    "FileType6=Directory",
    "Count=6",
});

class DynamicMenuTest : public ::testing::Test, public MenuFiles {
protected:
  void Load(const std::string& text) {
    auto document = Document(text);
    menu.LoadFromIni(*document, kSection);
  }
  std::string Save() {
    auto document = Document();
    menu.SaveToIni(*document, kSection);
    return Written(std::move(document));
  }
  TTreeItems& Category(const std::string& type) {
    return menu.List().FindOrAddCategory(Type(type))->Items();
  }
  TDynamicMenuItem* Add(TTreeItems& list, const std::string& caption) {
    auto* item = static_cast<TDynamicMenuItem*>(menu.List().AddFirstItem(list));
    item->SetCaption(caption);
    return item;
  }
  TDynamicSubMenu* AddSub(TTreeItems& list, const std::string& caption) {
    auto* item = static_cast<TDynamicSubMenu*>(menu.List().AddSubMenu(list));
    item->SetCaption(caption);
    return item;
  }

  // "changing CAPTION" and "changed CAPTION" for every item change event, in order. The
  // handlers write to the vector returned, which lives as long as the test's menu.
  std::vector<std::string>& RecordItemChanges() {
    menu.OnItemChanging = [this](TTreeItem* item) {
      events_.push_back("changing " + static_cast<TCustomMenuItem*>(item)->Caption());
    };
    menu.OnItemChanged = [this](TTreeItem* item) {
      events_.push_back("changed " + static_cast<TCustomMenuItem*>(item)->Caption());
    };
    return events_;
  }

  TDynamicMenu menu{&types, Images()};
  std::vector<std::string> events_;
};

TEST_F(DynamicMenuTest, SectionSavesBackByteForByte) {
  Load(kFile);
  EXPECT_TRUE(menu.Log().empty());
  EXPECT_FALSE(menu.IsModified());
  TTreeItems& text = Category("txtfile");
  ASSERT_EQ(text.Count(), 1);
  auto* tools = dynamic_cast<TDynamicSubMenu*>(text[0]);
  ASSERT_NE(tools, nullptr);
  ASSERT_EQ(tools->Items().Count(), 3);
  EXPECT_TRUE(static_cast<TDynamicMenuItem*>(tools->Items()[1])->IsSeparator());
  EXPECT_EQ(static_cast<TDynamicMenuItem*>(tools->Items()[1])->Caption(), std::string(18, '\x97'));
  EXPECT_EQ(tools->Items()[2]->Items().Count(), 1);
  EXPECT_EQ(Save(), kFile);
}

// The start-up path reads the file's text in one pass; it must build the same tree.
TEST_F(DynamicMenuTest, RecordsOfTheFileTextBuildTheTreeTheIniBuilds) {
  menu.LoadFromRecords(ReadMenuFileText("[Orvane]\r\nLeft=1\r\n" + kFile).DynamicItems);
  EXPECT_TRUE(menu.Log().empty());
  EXPECT_EQ(Save(), kFile);
}

TEST_F(DynamicMenuTest, SubmenuWithAnItemAndASeparatorSavesParentsFirst) {
  TDynamicSubMenu* submenu = AddSub(Category("txtfile"), "Sub");
  TDynamicMenuItem* item = Add(submenu->Items(), "Item");
  item->SetApplication("a.exe");
  Add(submenu->Items(), "x")->SetSeparator(true);
  EXPECT_EQ(Save(), CrLf({
                        "[Dynamic Items]",
                        "Parent1=0",
                        "Caption1=Sub",
                        "Checked1=1",
                        "FileType1=txtfile",
                        "Hint1=",
                        "IconFile1=",
                        "IconIndex1=0",
                        "Submenu1=1",
                        "Parent2=1",
                        "Application2=a.exe",
                        "Parameters2=\"\"%1\"\"",
                        "Caption2=Item",
                        "Hint2=",
                        "IconFile2=",
                        "IconIndex2=0",
                        "Checked2=1",
                        "FileType2=txtfile",
                        "Parent3=1",
                        "IsSeparator3=1",
                        "Checked3=1",
                        "FileType3=txtfile",
                        "Count=3",
                    }));
  EXPECT_EQ(submenu->Number(), 1);
  EXPECT_EQ(item->Number(), 2);
}

TEST_F(DynamicMenuTest, EmptyMenuSavesOnlyCount) {
  EXPECT_EQ(Save(), CrLf({"[Dynamic Items]", "Count=0"}));
}

TEST_F(DynamicMenuTest, LoaderSkipsEntriesWithoutParentOrTypeAndLogsTheRest) {
  Load(CrLf({
      "[Dynamic Items]",
      // A parent that comes later: dropped, and its own children with it.
      "Parent1=2",
      "Caption1=Early",
      "FileType1=txtfile",
      "Parent2=0",
      "Caption2=Sub",
      "FileType2=txtfile",
      "Submenu2=1",
      "Checked2=1",
      "Parent3=1",
      "Caption3=Orphan",
      "FileType3=txtfile",
      // A plain item names no submenu either.
      "Parent4=0",
      "Application4=a.exe",
      "Caption4=Plain",
      "Checked4=1",
      "FileType4=txtfile",
      "Parent5=4",
      "Application5=b.exe",
      "Caption5=Inside plain",
      "FileType5=txtfile",
      "Parent6=2",
      "Application6=c.exe",
      "Caption6=Odd",
      "Checked6=2",
      "FileType6=unknown",
      "Parent7=2",
      "Caption7=",
      "FileType7=txtfile",
      "Parent8=2",
      "Application8=d.exe",
      "Caption8=No type",
      "Parent9=2",
      "Application9=e.exe",
      "Caption9=Last",
      "Checked9=1",
      "FileType9=txtfile",
      "Count=30",
  }));
  const std::vector<std::string> expected = {
      "Invalid value of \"Checked\" property for Odd menu item. Set to \"False\".",
      "File type \"unknown\" not found. Menu item \"Odd\" moved to category \"Text Document\".",
      "Invalid menu item skipped.",
      // Left out for their place in the tree: an Apply would lose them, so they are told.
      "Entry 1 left out: its submenu 2 is not a submenu read before it",
      "Entry 3 left out: its submenu 1 is not a submenu read before it",
      "Entry 5 left out: its submenu 4 is not a submenu read before it",
  };
  EXPECT_EQ(menu.Log(), expected);
  TTreeItems& text = Category("txtfile");
  ASSERT_EQ(text.Count(), 2);
  EXPECT_EQ(static_cast<TCustomMenuItem*>(text[0])->Caption(), "Sub");
  EXPECT_EQ(static_cast<TCustomMenuItem*>(text[1])->Caption(), "Plain");
  EXPECT_EQ(text[1]->Items().Count(), 0);
  // The unknown type is the first file type, which the submenu's category already has.
  ASSERT_EQ(text[0]->Items().Count(), 2);
  EXPECT_EQ(static_cast<TCustomMenuItem*>(text[0]->Items()[0])->Caption(), "Odd");
  EXPECT_EQ(static_cast<TCustomMenuItem*>(text[0]->Items()[1])->Caption(), "Last");
  EXPECT_TRUE(menu.IsModified());
}

// A damaged count must not make the loader walk two billion missing numbers.
TEST_F(DynamicMenuTest, CountFarBeyondTheEntriesReadsThePresentOnes) {
  Load(CrLf({"[Dynamic Items]", "Parent1=0", "Application1=a.exe", "Caption1=A", "Checked1=1",
             "FileType1=txtfile", "Parent3=0", "Application3=c.exe", "Caption3=C", "Checked3=1",
             "filetype3=txtfile", "FileTypeX=txtfile", "Count=2000000000"}));
  EXPECT_EQ(Category("txtfile").Count(), 2);
  EXPECT_TRUE(menu.Log().empty());
}

// A damaged or hostile file nesting submenus thousands deep must not nest the tree deeper
// than its recursive walks can follow; what a paste can build still loads whole.
TEST_F(DynamicMenuTest, NestingBeyondTheLimitIsNotRead) {
  std::string text = "[Dynamic Items]\r\n";
  const int entries = kMaxMenuDepth + 40;
  for (int k = 1; k <= entries; ++k) {
    std::string n = std::to_string(k);
    text += "Parent" + n + "=" + std::to_string(k - 1) + "\r\nCaption" + n + "=S\r\nChecked" + n +
            "=1\r\nFileType" + n + "=txtfile\r\nSubmenu" + n + "=1\r\n";
  }
  Load(text + "Count=" + std::to_string(entries) + "\r\n");
  int depth = 0;
  for (TTreeItems* list = &Category("txtfile"); list->Count() > 0; list = &(*list)[0]->Items()) {
    ++depth;
    ASSERT_EQ(list->Count(), 1);
  }
  EXPECT_EQ(depth, kMaxMenuDepth);
}

// Adding, moving and copying stop at the depth the loader reads, so that everything a
// user builds loads again whole.
TEST_F(DynamicMenuTest, NoEditNestsDeeperThanTheLoaderReads) {
  TDynamicSubMenu* holder = nullptr;
  TTreeItems* deepest = &Category("txtfile");
  while (MenuNesting(*deepest) < kMaxMenuDepth) {
    holder = AddSub(*deepest, "S");
    deepest = &holder->Items();
  }
  Add(*deepest, "Deepest");
  TDynamicSubMenu* last = AddSub(*deepest, "Last");
  try {
    menu.List().AddFirstItem(last->Items());
    ADD_FAILURE() << "added beyond the limit";
  } catch (const EMenuError& e) {
    EXPECT_EQ(e.Message(), "Submenus can not be nested deeper than 64 levels");
  }
  EXPECT_THROW(menu.List().AddSubMenu(last->Items()), EMenuError);

  TDynamicSubMenu* pair = AddSub(Category("Directory"), "Pair");
  Add(pair->Items(), "Child");
  EXPECT_THROW(pair->TransferTo(*holder, 0, false), EMenuError);
  EXPECT_THROW(pair->TransferTo(*holder, 0, true), EMenuError);
  EXPECT_THROW(pair->MoveTo(*deepest), EMenuError);
  EXPECT_EQ(pair->Parent(), menu.List().FindCategory(Type("Directory")));
  EXPECT_EQ(deepest->Count(), 2);
  pair->Items()[0]->Free();
  pair->TransferTo(*holder, 0, false);  // alone it fits
  EXPECT_EQ(deepest->Count(), 3);

  const std::string saved = Save();
  Load(saved);
  EXPECT_EQ(Save(), saved);
}

TEST_F(DynamicMenuTest, NestedItemOfAnotherTypeLeavesItsSubmenu) {
  Load(CrLf({"[Dynamic Items]", "Parent1=0", "Caption1=Sub", "Checked1=1", "FileType1=txtfile",
             "Submenu1=1", "Parent2=1", "Application2=x.exe", "Caption2=Away", "Checked2=1",
             "FileType2=Directory", "Count=2"}));
  EXPECT_EQ(Category("txtfile")[0]->Items().Count(), 0);
  EXPECT_EQ(static_cast<TCustomMenuItem*>(Category("Directory")[0])->Caption(), "Away");
}

TEST_F(DynamicMenuTest, SubmenuCheckGovernsItsSubtreeAndEveryTickRepaints) {
  TDynamicSubMenu* outer = AddSub(Category("txtfile"), "Outer");
  TDynamicSubMenu* inner = AddSub(outer->Items(), "Inner");
  TDynamicMenuItem* leaf = Add(inner->Items(), "Leaf");
  std::vector<std::string>& events = RecordItemChanges();
  outer->SetChecked(false);
  EXPECT_FALSE(inner->Checked());
  EXPECT_FALSE(leaf->Checked());
  EXPECT_EQ(events, (std::vector<std::string>{"changing Outer", "changing Inner", "changing Leaf",
                                              "changed Leaf", "changed Inner", "changed Outer"}));
  outer->SetChecked(true);
  EXPECT_TRUE(leaf->Checked());
}

TEST_F(DynamicMenuTest, SubmenuAssignCopiesTheWholeSubtree) {
  TDynamicSubMenu* source = AddSub(Category("txtfile"), "Source");
  source->SetHint("hint");
  TDynamicSubMenu* inner = AddSub(source->Items(), "Inner");
  Add(inner->Items(), "Leaf")->SetChecked(false);
  Add(source->Items(), "-")->SetSeparator(true);
  TDynamicSubMenu* copy = AddSub(Category("Directory"), "Copy");
  Add(copy->Items(), "Old");
  copy->Assign(*source);
  EXPECT_EQ(copy->Caption(), "Source");
  EXPECT_EQ(copy->Hint(), "hint");
  ASSERT_EQ(copy->Items().Count(), 2);
  auto* copiedInner = dynamic_cast<TDynamicSubMenu*>(copy->Items()[0]);
  ASSERT_NE(copiedInner, nullptr);
  ASSERT_EQ(copiedInner->Items().Count(), 1);
  EXPECT_FALSE(static_cast<TDynamicMenuItem*>(copiedInner->Items()[0])->Checked());
  EXPECT_TRUE(static_cast<TDynamicMenuItem*>(copy->Items()[1])->IsSeparator());
}

TEST_F(DynamicMenuTest, SeparatorClearsTheItemInOneChangeAndKeepsItsCaptionWhenTurnedBack) {
  TDynamicMenuItem* item = Add(Category("txtfile"), "Item");
  item->SetHint("h");
  item->SetApplication("a.exe");
  std::vector<std::string>& events = RecordItemChanges();
  item->SetSeparator(true);
  EXPECT_EQ(events, (std::vector<std::string>{"changing Item", "changed " + kSeparatorCaption}));
  EXPECT_EQ(item->Caption(), kSeparatorCaption);
  EXPECT_EQ(item->Application(), "");
  EXPECT_EQ(item->Parameters(), "");
  EXPECT_EQ(item->Hint(), "");
  EXPECT_EQ(item->IconIndex(), -1);
  item->SetSeparator(false);
  EXPECT_EQ(item->Caption(), kSeparatorCaption);
}

TEST_F(DynamicMenuTest, HintWithALineBreakIsRefused) {
  TDynamicMenuItem* item = Add(Category("txtfile"), "Item");
  item->SetHint("status");
  EXPECT_THROW(item->SetHint("status\r\nCaption9=x"), EMenuError);
  EXPECT_EQ(item->Hint(), "status");
}

TEST_F(DynamicMenuTest, PngImagesLoadWholeFilesWhateverTheCaseOfTheExtension) {
  files.Files["C:\\icons\\star.PNG"] = kPng;
  icons.existing.insert("C:\\icons\\star.PNG");
  TDynamicMenuItem* item = Add(Category("txtfile"), "Item");
  item->SetIconFile("C:\\icons\\star.PNG");
  EXPECT_EQ(item->IconIndex(), -1);
  item->SetIconIndex(5);
  EXPECT_EQ(item->IconIndex(), 5);
  ASSERT_EQ(item->Icon().Kind(), TItemImage::TKind::Png);
  EXPECT_EQ(item->Icon().Png().Width(), 2u);
  EXPECT_EQ(item->Icon().Png().Height(), 1u);
  const std::vector<std::uint8_t> pixels = {255, 0, 0, 255, 0, 0, 255, 128};
  EXPECT_EQ(item->Icon().Png().Pixels(), pixels);
  EXPECT_EQ(icons.calls, std::vector<std::string>{"search [C:\\icons\\] star.PNG"});
}

// A load reads each picture once however many items show it, a failed one too; the next
// load and a change afterwards read the file again.
TEST_F(DynamicMenuTest, LoadReadsEachPictureFileOnce) {
  icons.files["C:\\icons\\tools.dll"] = {4};
  icons.existing.insert("C:\\icons\\tools.dll");
  std::string text = "[Dynamic Items]\r\n";
  const int indexes[] = {2, 2, 3, 2, 9, 9};
  for (int n = 1; n <= 6; ++n) {
    const std::string k = std::to_string(n);
    for (const std::string& line :
         {"Parent" + k + "=0", "Caption" + k + "=Item " + k, "Application" + k + "=a.exe",
          "Checked" + k + "=1", "FileType" + k + "=txtfile", "IconFile" + k + "=C:\\icons\\tools.dll",
          "IconIndex" + k + "=" + std::to_string(indexes[n - 1])})
      text += line + "\r\n";
  }
  text += "Count=6\r\n";
  auto extracts = [this] {
    return std::count_if(icons.calls.begin(), icons.calls.end(),
                         [](const std::string& call) { return call.rfind("extract ", 0) == 0; });
  };
  Load(text);
  TTreeItems& items = Category("txtfile");
  ASSERT_EQ(items.Count(), 6);
  EXPECT_EQ(extracts(), 3);  // pictures 2 and 3, and 9, which the file does not have
  auto* first = static_cast<TDynamicMenuItem*>(items[0]);
  for (int n : {1, 3}) {
    auto* item = static_cast<TDynamicMenuItem*>(items[n]);
    ASSERT_FALSE(item->Icon().Empty());
    EXPECT_EQ(item->Icon().Icon().Get(), first->Icon().Icon().Get()) << n;
  }
  EXPECT_NE(static_cast<TDynamicMenuItem*>(items[2])->Icon().Icon().Get(), first->Icon().Icon().Get());
  EXPECT_TRUE(static_cast<TDynamicMenuItem*>(items[4])->Icon().Empty());
  // A picture shared by items lives until the last of them goes.
  const IconHandle shared = first->Icon().Icon().Get();
  first->Free();
  EXPECT_TRUE(icons.alive.count(shared));
  Load(text);
  EXPECT_EQ(extracts(), 6);
  EXPECT_FALSE(icons.alive.count(shared));
  auto* item = static_cast<TDynamicMenuItem*>(Category("txtfile")[0]);
  item->SetIconIndex(1);
  item->SetIconIndex(2);
  EXPECT_EQ(extracts(), 8);
}

TEST(ItemImageFile, OnlyExistingFilesOnLocalDrivesOrTheSearchPathAreOpened) {
  const std::set<std::string> existing = {"C:\\icons\\x.ico",
                                          "c:/icons/x.png",
                                          "shell32.dll",
                                          "icons\\x.ico",
                                          "\\\\server\\share\\x.ico",
                                          "//server/share/x.ico",
                                          "\\\\?\\C:\\x.ico",
                                          "\\x.ico",
                                          "file://server/x.ico",
                                          "C:x.ico",
                                          "C:\\a:b.ico"};
  auto exists = [&existing](const std::string& path) { return existing.count(path) != 0; };
  for (const char* path : {"C:\\icons\\x.ico", "c:/icons/x.png", "shell32.dll", "icons\\x.ico"})
    EXPECT_TRUE(MayOpenImageFile(path, exists)) << path;
  for (const char* path :
       {"\\\\server\\share\\x.ico", "//server/share/x.ico", "\\\\?\\C:\\x.ico", "\\x.ico",
        "file://server/x.ico", "C:x.ico", "C:\\a:b.ico", "C:\\missing.ico", ""})
    EXPECT_FALSE(MayOpenImageFile(path, exists)) << path;
}

TEST_F(DynamicMenuTest, DamagedPngLeavesTheItemWithoutImageAndItsOldIndex) {
  TDynamicMenuItem* item = Add(Category("txtfile"), "Item");
  std::string huge = kPng;
  huge[16] = '\x7f';  // width far beyond any icon
  std::string badCrc = kPng;
  badCrc[40] ^= 0x55;  // inside the image data
  icons.existing.insert("bad.png");
  for (const std::string& bytes :
       {kPng.substr(0, 50), kPng.substr(0, 8), std::string("GIF89a"), huge, badCrc}) {
    files.Files["bad.png"] = bytes;
    item->SetIconFile("bad.png");
    item->SetIconIndex(0);
    EXPECT_EQ(item->IconIndex(), -1);
    EXPECT_TRUE(item->Icon().Empty());
    EXPECT_EQ(item->Icon().Kind(), TItemImage::TKind::Png);
    item->SetIconFile("");
  }
  TPngImage image;
  files.Files["bad.png"] = kPng.substr(0, 60);
  EXPECT_THROW(image.LoadFromFile("bad.png", files), EPngError);
  EXPECT_TRUE(image.Empty());
}

TEST_F(DynamicMenuTest, IconFilesGiveTheSmallIconOfTheIndex) {
  icons.files["shell32.dll"] = {};
  icons.files["shell32.dll"].count = 3;
  icons.existing.insert("shell32.dll");
  TDynamicMenuItem* item = Add(Category("txtfile"), "Item");
  item->SetIconFile("shell32.dll");
  item->SetIconIndex(0);
  EXPECT_EQ(item->IconIndex(), 0);
  ASSERT_FALSE(item->Icon().Empty());
  int width = 0, height = 0;
  icons.IconSize(item->Icon().Icon().Get(), width, height);
  EXPECT_EQ(width, 16);
  EXPECT_EQ(icons.alive.size(), 1u);  // the large one is gone
  item->SetIconIndex(7);              // no such icon
  EXPECT_EQ(item->IconIndex(), 0);
  EXPECT_TRUE(item->Icon().Empty());
  EXPECT_TRUE(icons.alive.empty());
}

}  // namespace
}  // namespace orvane::testing
