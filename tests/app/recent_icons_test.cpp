// Choosing an item's icon: through the dialog onto the item and the recent list (one
// entry per choice, at most 30), from a recent entry (one that fails goes with a
// message, the item keeps its icon), and the two-column submenu with its pictures.

#include <gtest/gtest.h>

#include "app/recent_icons.h"
#include "platform/messages.h"
#include "storage/mru_list.h"
#include "tests/app/icon_fixture.h"
#include "tests/support/png_writer.h"

namespace orvane::testing {
namespace {

class RecentIconsTest : public IconChoiceTest {
protected:
  // The dialog as the user leaves it: `choose` runs on it, then OK.
  bool Choose(const std::function<void(TfrmSelectIcon&)>& choose, int result = IDOK) {
    return SelectItemIcon(*item, recent, Sources(), nullptr, [&](TfrmSelectIcon& dialog) {
      choose(dialog);
      return result;
    });
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const TMruEntry& entry : recent.Entries()) texts.push_back(entry.Text);
    return texts;
  }

  TMruList recent{30};
};

TEST_F(RecentIconsTest, OkWithoutClickGivesTheHighlightedFirstPicture) {
  // An item without an icon: the default file, its first picture highlighted and chosen.
  EXPECT_TRUE(Choose([](TfrmSelectIcon& dialog) {
    EXPECT_EQ(dialog.FileName(), "C:\\icons\\shell32.dll");
    EXPECT_EQ(dialog.IconIndex(), 0);
  }));
  EXPECT_EQ(item->IconFile(), "C:\\icons\\shell32.dll");
  EXPECT_EQ(item->IconIndex(), 0);
  EXPECT_FALSE(item->Icon().Empty());
  EXPECT_EQ(Texts(), std::vector<std::string>{"C:\\icons\\shell32.dll, 0"});
}

TEST_F(RecentIconsTest, DialogOpensOnTheItemsPictureAndCancelChangesNothing) {
  item->SetIconFile("C:\\icons\\shell32.dll");
  item->SetIconIndex(7);
  EXPECT_FALSE(Choose(
      [](TfrmSelectIcon& dialog) {
        EXPECT_EQ(dialog.IconIndex(), 7);
        EXPECT_EQ(dialog.dgPictures.Col(), 1);
        EXPECT_EQ(dialog.dgPictures.Row(), 3);
        dialog.SetIconIndex(2);
      },
      IDCANCEL));
  EXPECT_EQ(item->IconIndex(), 7);
  EXPECT_TRUE(recent.Entries().empty());
}

TEST_F(RecentIconsTest, SameChoiceTwiceIsOneEntryAndTheThirtyFirstDropsTheOldest) {
  for (int n : {3, 4, 3}) Choose([n](TfrmSelectIcon& dialog) { dialog.SetIconIndex(n); });
  EXPECT_EQ(Texts(), (std::vector<std::string>{"C:\\icons\\shell32.dll, 3", "C:\\icons\\shell32.dll, 4"}));
  EXPECT_EQ(recent.Entries()[0].Value, 3);
  for (int n = 5; n < 35; ++n) Choose([n](TfrmSelectIcon& dialog) { dialog.SetIconIndex(n); });
  ASSERT_EQ(recent.Count(), 30);
  EXPECT_EQ(recent.Entries().front().Text, "C:\\icons\\shell32.dll, 34");
  EXPECT_EQ(recent.Entries().back().Text, "C:\\icons\\shell32.dll, 5");
  EXPECT_EQ(recent.IndexOf("C:\\icons\\shell32.dll, 4"), -1);
}

TEST_F(RecentIconsTest, PictureThatFailsLeavesTheItemsIconAndSaysWhy) {
  item->SetIconFile("C:\\icons\\shell32.dll");
  item->SetIconIndex(2);
  icons.Files["C:\\icons\\broken.dll"] = {3, {1}};
  EXPECT_FALSE(Choose([](TfrmSelectIcon& dialog) {
    dialog.SetFileName("C:\\icons\\broken.dll");
    dialog.SetIconIndex(1);
  }));
  EXPECT_EQ(item->IconFile(), "C:\\icons\\shell32.dll");
  EXPECT_EQ(item->IconIndex(), 2);
  EXPECT_FALSE(item->Icon().Empty());
  EXPECT_TRUE(recent.Entries().empty());
  ASSERT_EQ(boxes.size(), 2u);  // the dialog's list of failures, then the refusal
  EXPECT_EQ(boxes[1].Text.rfind("The icon was not changed: picture 1 of \"C:\\icons\\broken.dll\"", 0), 0u)
      << boxes[1].Text;
}

TEST_F(RecentIconsTest, RecentEntryThatFailsIsRemovedWithTheMessage) {
  item->SetIconFile("C:\\icons\\shell32.dll");
  item->SetIconIndex(2);
  recent.Add("C:\\icons\\shell32.dll, 5", 5);
  recent.Add("C:\\gone\\old.dll, 1", 1);
  recent.Add("C:\\icons\\shell32.dll, -1", -1);
  for (const char* text : {"C:\\gone\\old.dll, 1", "C:\\icons\\shell32.dll, -1"}) {
    boxes.clear();
    const TMruEntry& entry = recent.Entries()[static_cast<size_t>(recent.IndexOf(text))];
    EXPECT_FALSE(ChooseRecentIcon(*item, recent, entry));
    EXPECT_EQ(recent.IndexOf(text), -1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "Error loading icon from specified file");
    EXPECT_EQ(item->IconFile(), "C:\\icons\\shell32.dll");
    EXPECT_EQ(item->IconIndex(), 2);
    EXPECT_FALSE(item->Icon().Empty());
  }
  boxes.clear();
  EXPECT_TRUE(ChooseRecentIcon(*item, recent, recent.Entries()[0]));
  EXPECT_EQ(item->IconIndex(), 5);
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(recent.Count(), 1);
}

TEST_F(RecentIconsTest, SubmenuHasTwoColumnsAndEachEntryItsOwnPicture) {
  files.Files["C:\\pics\\star.png"] = EncodePng(48, 48, QuarterPicture(48, 0x0000FFFF, 0xFF0000FF));
  icons.Existing.insert("C:\\pics\\star.png");
  icons.Files["C:\\pics\\R&D.dll"] = {2, {}};
  recent.Add("C:\\pics\\R&D.dll, 1", 1);
  for (int n = 0; n < 14; ++n) recent.Add(RecentIconText("C:\\icons\\shell32.dll", n), n);
  recent.Add("C:\\gone\\old.dll, 1", 1);
  recent.Add("C:\\pics\\star.png, 0", 0);
  TRecentIconsMenu submenu(recent, icons, files);
  HMENU menu = submenu.Build(1000);
  ASSERT_NE(menu, nullptr);
  // 17 entries, separators after the 5th and the 10th; the 16th starts the second column.
  EXPECT_EQ(GetMenuItemCount(menu), 19);
  auto typeOf = [&](int position) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_BITMAP;
    GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info);
    return info;
  };
  EXPECT_TRUE(typeOf(5).fType & MFT_SEPARATOR);
  EXPECT_TRUE(typeOf(11).fType & MFT_SEPARATOR);
  EXPECT_EQ(typeOf(17).wID, 1015u);
  EXPECT_TRUE(typeOf(17).fType & MFT_MENUBARBREAK);
  EXPECT_FALSE(typeOf(16).fType & MFT_MENUBARBREAK);
  char caption[64] = {};
  GetMenuStringA(menu, 1016, caption, sizeof caption, MF_BYCOMMAND);
  EXPECT_STREQ(caption, "R&&D.dll, 1");
  // The entry whose file is gone has no picture; the ones after it keep theirs.
  const std::vector<TBitmapHandle>& pictures = submenu.Pictures();
  ASSERT_EQ(pictures.size(), 17u);
  EXPECT_NE(pictures[0], nullptr);  // the PNG file
  EXPECT_EQ(pictures[1], nullptr);
  EXPECT_NE(pictures[2], nullptr);
  EXPECT_NE(pictures[16], nullptr);
  EXPECT_EQ(typeOf(0).hbmpItem, pictures[0].get());
  EXPECT_EQ(typeOf(2).hbmpItem, pictures[2].get());
  EXPECT_EQ(submenu.EntryOf(1016), 16);
  EXPECT_EQ(submenu.EntryOf(1017), -1);
  DestroyMenu(menu);
  // Pictures are made once until the list changes.
  const int extracted = icons.Extracted;
  DestroyMenu(submenu.Build(1000));
  EXPECT_EQ(icons.Extracted, extracted);
  submenu.Changed();
  DestroyMenu(submenu.Build(1000));
  EXPECT_GT(icons.Extracted, extracted);
}

TEST(RecentIconTextTest, EntryTextsSplitAtTheirLastComma) {
  EXPECT_EQ(RecentIconText("C:\\a,b\\x.dll", 4), "C:\\a,b\\x.dll, 4");
  EXPECT_EQ(RecentIconFile("C:\\a,b\\x.dll, 4"), "C:\\a,b\\x.dll");
  EXPECT_EQ(RecentIconCaption("C:\\a,b\\R&D.dll, 4"), "R&&D.dll, 4");
}

}  // namespace
}  // namespace orvane::testing
