// The dynamic menu: its section of the menu file (numbering, parents, key order), what
// the loader skips, and the items' separators, check marks, copies and images.

#include "menus/dynamic_menu.h"

#include <gtest/gtest.h>

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

  TDynamicMenu menu{&types, Images()};
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
                        "Parameters2=\"%1\"",
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

TEST_F(DynamicMenuTest, NestedItemOfAnotherTypeLeavesItsSubmenu) {
  Load(CrLf({"[Dynamic Items]", "Parent1=0", "Caption1=Sub", "Checked1=1", "FileType1=txtfile",
             "Submenu1=1", "Parent2=1", "Application2=x.exe", "Caption2=Away", "Checked2=1",
             "FileType2=Directory", "Count=2"}));
  EXPECT_EQ(Category("txtfile")[0]->Items().Count(), 0);
  EXPECT_EQ(static_cast<TCustomMenuItem*>(Category("Directory")[0])->Caption(), "Away");
}

TEST_F(DynamicMenuTest, SubmenuCheckGovernsItsSubtree) {
  TDynamicSubMenu* outer = AddSub(Category("txtfile"), "Outer");
  TDynamicSubMenu* inner = AddSub(outer->Items(), "Inner");
  TDynamicMenuItem* leaf = Add(inner->Items(), "Leaf");
  outer->SetChecked(false);
  EXPECT_FALSE(inner->Checked());
  EXPECT_FALSE(leaf->Checked());
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

TEST_F(DynamicMenuTest, SeparatorClearsTheItemAndKeepsItsCaptionWhenTurnedBack) {
  TDynamicMenuItem* item = Add(Category("txtfile"), "Item");
  item->SetHint("h");
  item->SetApplication("a.exe");
  item->SetSeparator(true);
  EXPECT_EQ(item->Caption(), kSeparatorCaption);
  EXPECT_EQ(item->Application(), "");
  EXPECT_EQ(item->Parameters(), "");
  EXPECT_EQ(item->Hint(), "");
  EXPECT_EQ(item->IconIndex(), -1);
  item->SetSeparator(false);
  EXPECT_EQ(item->Caption(), kSeparatorCaption);
}

TEST_F(DynamicMenuTest, PngImagesLoadWholeFilesWhateverTheCaseOfTheExtension) {
  files.Files["C:\\icons\\star.PNG"] = kPng;
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
  EXPECT_TRUE(icons.calls.empty());
}

TEST_F(DynamicMenuTest, DamagedPngLeavesTheItemWithoutImageAndItsOldIndex) {
  TDynamicMenuItem* item = Add(Category("txtfile"), "Item");
  std::string huge = kPng;
  huge[16] = '\x7f';  // width far beyond any icon
  std::string badCrc = kPng;
  badCrc[40] ^= 0x55;  // inside the image data
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
