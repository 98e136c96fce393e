// The shared reader of the menu file: entries as the program's loader takes them, values
// as the system's profile reader gives them, and the drawing settings with their defaults.

#include "storage/menu_file_reader.h"

#include <gtest/gtest.h>

#include "memory_files.h"
#include "storage/orvane_ini_file.h"

namespace orvane::testing {
namespace {

std::string Lines(std::initializer_list<std::string> lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// "Parent", "Caption" ... of one plain entry in the writer's order.
std::string Item(int n, int parent, const std::string& caption, const std::string& type = "txtfile",
                 const std::string& checked = "1") {
  std::string k = std::to_string(n);
  return Lines({"Parent" + k + "=" + std::to_string(parent), "Application" + k + "=a.exe",
                "Parameters" + k + "=\"%1\"", "Caption" + k + "=" + caption, "Hint" + k + "=",
                "IconFile" + k + "=", "IconIndex" + k + "=-1", "Checked" + k + "=" + checked,
                "FileType" + k + "=" + type});
}

std::string Submenu(int n, int parent, const std::string& caption) {
  std::string k = std::to_string(n);
  return Lines({"Parent" + k + "=" + std::to_string(parent), "Caption" + k + "=" + caption,
                "Checked" + k + "=1", "FileType" + k + "=txtfile", "Hint" + k + "=",
                "IconFile" + k + "=", "IconIndex" + k + "=-1", "Submenu" + k + "=1"});
}

std::string Section(const std::string& body, const std::string& count) {
  return "[Dynamic Items]\r\n" + body + "Count=" + count + "\r\n";
}

std::vector<std::string> Captions(const std::vector<TDynamicItemRecord>& records) {
  std::vector<std::string> captions;
  for (const auto& r : records) captions.push_back(r.Caption);
  return captions;
}

TEST(MenuFileReaderTest, WrittenSectionReadsAsTheLoaderTakesIt) {
  std::string text = "[Orvane]\r\nLeft=3\r\n\r\n" +
                     Section(Submenu(1, 0, "&Tools") + Item(2, 1, "Edit") +
                                 Lines({"Parent3=1", "IsSeparator3=1", "Checked3=1",
                                        "FileType3=txtfile"}) +
                                 Item(4, 0, "Prompt", "Directory", "0"),
                             "4");
  auto records = ReadMenuFileText(text).DynamicItems;
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(records[0].Kind, TDynamicEntryKind::Submenu);
  EXPECT_EQ(records[0].Caption, "&Tools");
  EXPECT_EQ(records[0].Parent, -1);
  EXPECT_EQ(records[1].Parent, 0);
  EXPECT_EQ(records[1].Depth, 2);
  EXPECT_EQ(records[1].Application, "a.exe");
  EXPECT_EQ(records[1].Parameters, "%1");  // the profile reader's one pair of quotes
  EXPECT_EQ(records[1].IconIndex, -1);
  EXPECT_EQ(records[2].Kind, TDynamicEntryKind::Separator);
  EXPECT_EQ(records[2].Parent, 0);
  EXPECT_EQ(records[3].FileType, "Directory");
  EXPECT_FALSE(records[3].Checked);
  EXPECT_TRUE(records[1].Checked);
}

// Everything the loader skips without a word, in one table.
struct TSkipCase {
  const char* name;
  std::string text;
  std::vector<std::string> captions;
};

class ReaderSkipTest : public ::testing::TestWithParam<TSkipCase> {};

TEST_P(ReaderSkipTest, ReadsWhatTheLoaderReads) {
  EXPECT_EQ(Captions(ReadMenuFileText(GetParam().text).DynamicItems), GetParam().captions);
}

INSTANTIATE_TEST_SUITE_P(
    Damage, ReaderSkipTest,
    ::testing::Values(
        TSkipCase{"MissingCount", "[Dynamic Items]\r\n" + Item(1, 0, "A"), {}},
        TSkipCase{"CountNoNumber", Section(Item(1, 0, "A"), "lots"), {}},
        TSkipCase{"CountBelowEntries", Section(Item(1, 0, "A") + Item(2, 0, "B"), "1"), {"A"}},
        TSkipCase{"CountFarBeyond", Section(Item(1, 0, "A") + Item(3, 0, "C"), "2000000000"),
                  {"A", "C"}},
        TSkipCase{"NoFileType", Section(Item(1, 0, "A", ""), "1"), {}},
        TSkipCase{"ParentLater", Section(Item(1, 2, "A") + Submenu(2, 0, "S"), "2"), {"S"}},
        TSkipCase{"ParentIsPlainItem", Section(Item(1, 0, "A") + Item(2, 1, "B"), "2"), {"A"}},
        TSkipCase{"ParentIsItself", Section(Submenu(1, 1, "S"), "1"), {}},
        TSkipCase{"ParentNegative", Section(Item(1, -1, "A"), "1"), {}},
        TSkipCase{"ParentNoNumberIsTop",
                  Section(Lines({"Parent1=x", "Caption1=A", "FileType1=t"}), "1"),
                  {"A"}},
        TSkipCase{"ChildOfInvalidSubmenu",
                  Section(Lines({"Parent1=0", "Submenu1=1", "FileType1=t"}) + Item(2, 1, "B"), "2"),
                  {""}},
        TSkipCase{"LeadingZeroNamesAnotherKey",
                  Section(Lines({"Parent01=0", "Caption01=A", "FileType01=t"}), "1"),
                  {}},
        TSkipCase{"OutOfOrderEntries", Section(Item(2, 0, "B") + Item(1, 0, "A"), "2"), {"A", "B"}},
        TSkipCase{"KeysInAnyCase",
                  Section(Lines({"PARENT1=0", "caption1=A", "filetype1=t"}), "1"),
                  {"A"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MenuFileReaderTest, InvalidEntriesAndBadChecksAreMarkedForTheLog) {
  auto records = ReadMenuFileText(Section(Lines({"Parent1=0", "Hint1=only a hint", "FileType1=t",
                                                 "Parent2=0", "Hint2=h", "Submenu2=1",
                                                 "FileType2=t"}) +
                                              Item(3, 0, "C", "t", "2"),
                                          "3"))
                     .DynamicItems;
  ASSERT_EQ(records.size(), 3u);
  EXPECT_TRUE(records[0].Invalid);  // a plain item's hint does not count
  EXPECT_FALSE(records[1].Invalid);  // a submenu's does
  EXPECT_TRUE(records[2].CheckedInvalid);
  EXPECT_FALSE(records[2].Checked);
}

TEST(MenuFileReaderTest, NestingStopsAtTheLimit) {
  std::string body;
  const int entries = kMaxMenuDepth + 5;
  for (int n = 1; n <= entries; ++n) body += Submenu(n, n - 1, "S");
  auto records = ReadMenuFileText(Section(body, std::to_string(entries))).DynamicItems;
  ASSERT_EQ(records.size(), static_cast<size_t>(kMaxMenuDepth));
  EXPECT_EQ(records.back().Depth, kMaxMenuDepth);
}

// The profile reader: first section and first key of a name, values trimmed, one pair of
// quotes off, ";" kept, 2047 characters.
TEST(MenuFileReaderTest, ValuesReadAsTheProfileReaderGivesThem) {
  std::string longCaption(3000, 'x');
  std::string text = "[ dynamic items ]\r\n"
                     "Parent1 = 0\r\n"
                     "Caption1 =  'quoted; with semicolon'  \r\n"
                     "Caption1=second\r\n"
                     "Application1=\"\"%1\"\"\r\n"
                     "Parameters1=\"half\r\n"
                     "; Caption2=commented out\r\n"
                     "FileType1=t\r\n"
                     "Parent2=0\r\nCaption2=" + longCaption + "\r\nFileType2=t\r\n"
                     "Count=2\r\n"
                     "[Dynamic Items]\r\nParent3=0\r\nCaption3=later\r\nFileType3=t\r\nCount=3\r\n";
  auto records = ReadMenuFileText(text).DynamicItems;
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].Caption, "quoted; with semicolon");
  EXPECT_EQ(records[0].Application, "\"%1\"");
  EXPECT_EQ(records[0].Parameters, "\"half");
  EXPECT_EQ(records[1].Caption, std::string(2047, 'x'));
}

TEST(MenuFileReaderTest, ByteSoupEndsAtNulAndKeepsToItsSection) {
  std::string text = Section(Item(1, 0, "A"), "2") + std::string("\0", 1) + Item(2, 0, "B");
  EXPECT_EQ(Captions(ReadMenuFileText(text).DynamicItems), std::vector<std::string>{"A"});
  EXPECT_TRUE(ReadMenuFileText("Parent1=0\nCaption1=A\nFileType1=t\nCount=1").DynamicItems.empty());
}

// The program's INI object reads the same file into the same records.
TEST(MenuFileReaderTest, IniValuesGiveTheRecordsOfTheText) {
  std::string text = Section(Submenu(1, 0, "S") + Item(2, 1, "A") + Item(3, 9, "Lost") +
                                 Item(4, 0, "B", "Directory", "7"),
                             "4");
  TMemoryFiles files;
  files.Files["m.ini"] = text;
  TOrvaneIniFile ini("m.ini", files);
  TIniStrings values;
  ini.ReadSectionValues("Dynamic Items", values);
  auto fromText = ReadMenuFileText(text).DynamicItems;
  for (const auto& fromIni :
       {ReadDynamicItems(values), ReadDynamicItems([&ini](const TIniKeyVisitor& visit) {
          ini.ForEachSectionValue("Dynamic Items", visit);
        })}) {
    ASSERT_EQ(fromIni.size(), fromText.size());
    for (size_t i = 0; i < fromIni.size(); ++i) {
      EXPECT_EQ(fromIni[i].Caption, fromText[i].Caption);
      EXPECT_EQ(fromIni[i].Parent, fromText[i].Parent);
      EXPECT_EQ(fromIni[i].Parameters, fromText[i].Parameters);
      EXPECT_EQ(fromIni[i].CheckedInvalid, fromText[i].CheckedInvalid);
    }
  }
}

TEST(MenuFileReaderTest, DrawingSettingsDefaultAndParse) {
  TCustomDrawRecord none = ReadMenuFileText("[Dynamic Items]\r\nCount=0\r\n").CustomDraw;
  EXPECT_FALSE(none.Enabled);
  EXPECT_TRUE(none.FirstLevelDefault);
  EXPECT_TRUE(none.BackgroundFix);
  EXPECT_EQ(none.TextIndent, 20);
  EXPECT_EQ(none.NormalTextColor, kDefaultMenuColor);
  TCustomDrawRecord set = ReadMenuFileText(Lines({"[Custom-drawn Menu Properties]",
                                                  "Enabled=TRUE", "FirstLevelDefault=yes",
                                                  "TextIndent=abc", "TextFontFace=Tahoma",
                                                  "TextFontSize=9", "NormalTextColor=$FF00000F",
                                                  "SelectedBackColor=255", "FrameStyle=257",
                                                  "FrameBorderColor=red", "FrameAll=True"}))
                              .CustomDraw;
  EXPECT_TRUE(set.Enabled);
  EXPECT_FALSE(set.FirstLevelDefault);
  EXPECT_TRUE(set.BackgroundFix);
  EXPECT_EQ(set.TextIndent, 20);
  EXPECT_EQ(set.TextFontFace, "Tahoma");
  EXPECT_EQ(set.TextFontSize, 9);
  EXPECT_EQ(set.NormalTextColor, 0xFF00000Fu);
  EXPECT_EQ(set.SelectedBackColor, 255u);
  EXPECT_EQ(set.FrameStyle, 0);  // out of range, not cut into Raised
  EXPECT_EQ(set.FrameBorderColor, kDefaultMenuColor);
  EXPECT_TRUE(set.FrameAll);
}

}  // namespace
}  // namespace orvane::testing
