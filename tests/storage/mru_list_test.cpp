// The main window's recently used lists in the menu file: what a run reads and writes
// back must be the list the user had, whatever the section looked like.

#include "storage/mru_list.h"

#include <gmock/gmock.h>

#include "ini_document_fixture.h"

namespace orvane::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::vector<std::string> Texts(const TMruList& list) {
  std::vector<std::string> texts;
  for (const TMruEntry& entry : list.Entries()) texts.push_back(entry.Text);
  return texts;
}

class MruListTest : public IniDocumentTest {
protected:
  const std::string section = MruSection("TfrmMain", "mruIcons");
};

TEST_F(MruListTest, RoundTripKeepsTextsValuesAndOrder) {
  TMruList list(30);
  const std::string longText = "C:\\" + std::string(5000, 'x') + "\\icons.dll, 7";
  ASSERT_TRUE(list.Add(longText, 7));
  ASSERT_TRUE(list.Add("\"C:\\quoted.dll\", 0", 0));
  ASSERT_TRUE(list.Add("C:\\a;b\\shell32.dll, -1", -1));
  TOrvaneIniFile& ini = Open("[Other]\r\nKey=1\r\n");
  list.SaveToIni(ini, section);
  const std::string written = Written();
  EXPECT_THAT(written, HasSubstr("[Orvane\\TfrmMain.mruIcons]\r\nItem_0="));
  EXPECT_THAT(written, HasSubstr("User_0=-1\r\n"));
  EXPECT_EQ(written.find("User_1"), std::string::npos);  // 0 is not written
  EXPECT_THAT(written, HasSubstr("User_2=7\r\n"));
  EXPECT_THAT(written, HasSubstr("[Other]\r\nKey=1\r\n"));

  TMruList read(30);
  read.LoadFromIni(Open(written), section);
  EXPECT_THAT(Texts(read),
              ElementsAre("C:\\a;b\\shell32.dll, -1", "\"C:\\quoted.dll\", 0", longText));
  EXPECT_EQ(read.Entries()[0].Value, -1);
  EXPECT_EQ(read.Entries()[2].Value, 7);
}

TEST_F(MruListTest, AddKeepsNewestFirstOneEntryPerTextAndTheCapacity) {
  TMruList list(5);
  for (int i = 0; i < 7; ++i) ASSERT_TRUE(list.Add("file" + std::to_string(i), i));
  EXPECT_THAT(Texts(list), ElementsAre("file6", "file5", "file4", "file3", "file2"));

  // The same text in another case moves to the top with the new value.
  ASSERT_TRUE(list.Add("FILE3", 30));
  EXPECT_THAT(Texts(list), ElementsAre("FILE3", "file6", "file5", "file4", "file2"));
  EXPECT_EQ(list.Entries()[0].Value, 30);
  EXPECT_TRUE(list.Remove("File5"));
  EXPECT_FALSE(list.Remove("file5"));

  // Nothing that would break the section's lines, and no empty entry.
  EXPECT_FALSE(list.Add("", 1));
  EXPECT_FALSE(list.Add("two\r\nlines", 1));
  EXPECT_FALSE(list.Add(std::string("nul\0inside", 10), 1));
  EXPECT_EQ(list.Count(), 4);
}

TEST_F(MruListTest, HostileSectionLoadsWhatAUserCouldHaveMeant) {
  TOrvaneIniFile& ini = Open(
      "[Orvane\\TfrmMain.mruIcons]\r\n"
      "Item_7=seventh\r\nUser_7=7\r\n"
      "Item_2=second\r\nUser_2=junk\r\n"
      "item_03=third\r\nuser_03=3\r\n"
      "Item_3=third again\r\n"  // number 3 came first as item_03
      "Item_4=SECOND\r\n"       // the same text as Item_2
      "Item_5=\r\n"             // empty
      "Item_x=not a number\r\nItem_-1=negative\r\nItem_9999999999=too big\r\n"
      "Item_8=eighth\r\nItem_9=ninth\r\n");
  TMruList list(4);
  list.LoadFromIni(ini, section);
  EXPECT_THAT(Texts(list), ElementsAre("second", "third", "seventh", "eighth"));
  EXPECT_EQ(list.Entries()[0].Value, 0);
  EXPECT_EQ(list.Entries()[1].Value, 3);
  EXPECT_EQ(list.Entries()[2].Value, 7);

  // Written back as the list holds it, with nothing stale left in the section.
  list.SaveToIni(ini, section);
  const std::string written = Written();
  EXPECT_THAT(written, HasSubstr("Item_0=second\r\n"));
  EXPECT_THAT(written, HasSubstr("Item_3=eighth\r\n"));
  for (const char* stale : {"item_03", "Item_7", "Item_9", "Item_x", "Item_-1", "User_7"})
    EXPECT_EQ(written.find(stale), std::string::npos) << stale;
  TMruList again(4);
  again.LoadFromIni(Open(written), section);
  EXPECT_EQ(Texts(again), Texts(list));
}

TEST_F(MruListTest, UnchangedListLeavesTheFileAsItWas) {
  const std::string text =
      "; settings\r\n[Orvane]\r\nFlags=0\r\n\r\n"
      "[Orvane\\TfrmMain.mruIcons]\r\nItem_0=C:\\a.dll, 1\r\nUser_0=1\r\nItem_1=C:\\b.png, "
      "0\r\n\r\n"
      "[Static Items]\r\nCount=0\r\n";
  TOrvaneIniFile& ini = Open(text);
  TMruList list(30);
  list.LoadFromIni(ini, section);
  list.SaveToIni(ini, section);
  EXPECT_EQ(Written(), text);

  // A key written twice leaves no stale copy that a later read would take.
  TOrvaneIniFile& twice = Open("[Orvane\\TfrmMain.mruIcons]\r\nItem_0=new\r\nItem_0=old\r\n");
  list.LoadFromIni(twice, section);
  ASSERT_THAT(Texts(list), ElementsAre("new"));
  list.SaveToIni(twice, section);
  EXPECT_EQ(Written().find("old"), std::string::npos);

  // An emptied list leaves no section behind.
  list.Clear();
  list.SaveToIni(Open(text), section);
  EXPECT_EQ(Written().find("mruIcons"), std::string::npos);
}

}  // namespace
}  // namespace orvane::testing
