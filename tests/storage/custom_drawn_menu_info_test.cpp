// The drawing settings of the dynamic items: their defaults, how each kind of value is
// read and written, what a damaged section reads as, and the change notifications the
// dialog relies on.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/exception.h"
#include "storage/custom_drawn_menu_info.h"
#include "tests/storage/memory_files.h"

namespace orvane::testing {
namespace {

std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

std::string Section(const std::vector<std::string>& keys) {
  std::vector<std::string> lines{"[Custom-drawn Menu Properties]"};
  lines.insert(lines.end(), keys.begin(), keys.end());
  return Lines(lines);
}

class CustomDrawnMenuInfoTest : public ::testing::Test {
protected:
  TCustomDrawnMenuInfo Open(const std::string& text) {
    files.Files["menu.ini"] = text;
    return TCustomDrawnMenuInfo("menu.ini", files);
  }
  TMemoryFiles files;
};

TEST_F(CustomDrawnMenuInfoTest, NoSectionGivesTheDefaultsAndSaveWritesAllKeysInOrder) {
  TCustomDrawnMenuInfo info = Open("[Orvane]\r\nLeft=5\r\n");
  EXPECT_EQ(info.Values(), TCustomDrawRecord());
  EXPECT_FALSE(info.Modified());
  info.Save();
  EXPECT_EQ(files.Files["menu.ini"],
            Lines({"[Orvane]", "Left=5", "", "[Custom-drawn Menu Properties]", "Enabled=False",
                   "FirstLevelDefault=True", "BackgroundFix=True", "TextIndent=20", "TextFontFace=",
                   "TextFontSize=0", "NormalTextColor=$20000000", "SelectedTextColor=$20000000",
                   "NormalBackColor=$20000000", "SelectedBackColor=$20000000",
                   "NormalIconBackColor=$20000000", "SelectedIconBackColor=$20000000", "FrameStyle=0",
                   "FrameLightColor=$20000000", "FrameShadowColor=$20000000",
                   "FrameBorderColor=$20000000", "FrameAll=False"}));
}

TEST_F(CustomDrawnMenuInfoTest, WrittenSectionMatchesTheExpectedFileByteForByte) {
  TCustomDrawnMenuInfo info = Open("[Orvane]\r\nLeft=5\r\n");
  info.SetEnabled(true);
  info.SetFirstLevelDefault(false);
  info.SetTextIndent(24);
  info.SetTextFontFace("Tahoma");
  info.SetTextFontSize(9);
  info.SetNormalTextColor(0xFF00000F);
  info.SetSelectedTextColor(0xFFFFFF);
  info.SetSelectedBackColor(0x800000);
  info.SetNormalIconBackColor(0);
  info.SetFrameStyle(2);
  info.SetFrameLightColor(0xFF000016);
  info.SetFrameBorderColor(0xFF);
  info.SetFrameAll(true);
  info.Save();
  std::ifstream expected(ORVANE_STORAGE_EXPECTED "/custom_draw_section.ini", std::ios::binary);
  ASSERT_TRUE(expected) << "expected file missing";
  std::stringstream bytes;
  bytes << expected.rdbuf();
  EXPECT_EQ(files.Files["menu.ini"], bytes.str());

  // And it reads back as written.
  TCustomDrawnMenuInfo again("menu.ini", files);
  EXPECT_EQ(again.Values(), info.Values());
}

TEST_F(CustomDrawnMenuInfoTest, ValuesReadByTheirKindsRules) {
  TCustomDrawnMenuInfo info =
      Open(Section({"Enabled=yes", "FirstLevelDefault=false", "BackgroundFix=TRUE",
                    "TextIndent=abc", "TextFontSize=x", "NormalTextColor=$FF00000F",
                    "SelectedTextColor=255", "NormalBackColor=$FFFFFFFF", "SelectedBackColor=red",
                    "FrameStyle=1", "FrameLightColor=-16777201"}));
  EXPECT_FALSE(info.Enabled());
  EXPECT_FALSE(info.FirstLevelDefault());
  EXPECT_TRUE(info.BackgroundFix());
  EXPECT_EQ(info.TextIndent(), 20);
  EXPECT_EQ(info.TextFontSize(), 0);
  EXPECT_EQ(info.NormalTextColor(), 0xFF00000Fu);
  EXPECT_EQ(info.SelectedTextColor(), 255u);
  // All eight digits: the negative range, which is no colour here.
  EXPECT_EQ(info.NormalBackColor(), kDefaultMenuColor);
  EXPECT_EQ(info.SelectedBackColor(), kDefaultMenuColor);
  EXPECT_EQ(info.FrameStyle(), 1);
  EXPECT_EQ(info.FrameLightColor(), 0xFF00000Fu);  // decimal of a system colour
}

TEST_F(CustomDrawnMenuInfoTest, DamagedValuesGiveTheirKeysDefaults) {
  TCustomDrawnMenuInfo info = Open(
      Section({"Enabled=True", "TextIndent=100000", "TextFontFace=" + std::string(10000, 'A'),
               "TextFontSize=-3", "NormalTextColor=$01000005", "SelectedTextColor=$FF0000FF",
               "FrameStyle=257", "FrameBorderColor=99999999999"}));
  EXPECT_TRUE(info.Enabled());
  EXPECT_EQ(info.TextIndent(), 20);
  EXPECT_EQ(info.TextFontFace(), "");
  EXPECT_EQ(info.TextFontSize(), 0);
  EXPECT_EQ(info.NormalTextColor(), kDefaultMenuColor);
  EXPECT_EQ(info.SelectedTextColor(), kDefaultMenuColor);
  EXPECT_EQ(info.FrameStyle(), 0);
  EXPECT_EQ(info.FrameBorderColor(), kDefaultMenuColor);
  // The edges of the ranges are values.
  TCustomDrawnMenuInfo edges =
      Open(Section({"TextIndent=10", "TextFontSize=20", "FrameStyle=3",
                    "TextFontFace=" + std::string(kMaxFontFaceLength, 'B')}));
  EXPECT_EQ(edges.TextIndent(), 10);
  EXPECT_EQ(edges.TextFontSize(), 20);
  EXPECT_EQ(edges.FrameStyle(), 3);
  EXPECT_EQ(edges.TextFontFace().size(), kMaxFontFaceLength);
}

TEST_F(CustomDrawnMenuInfoTest, SystemColourAndQuotedFontNameRoundTrip) {
  TCustomDrawnMenuInfo info = Open("");
  info.SetNormalBackColor(0xFF00000F);
  info.SetTextFontFace(" Odd; Font ");
  info.Save();
  EXPECT_NE(files.Files["menu.ini"].find("NormalBackColor=$FF00000F\r\n"), std::string::npos);
  TCustomDrawnMenuInfo again("menu.ini", files);
  EXPECT_EQ(again.NormalBackColor(), 0xFF00000Fu);
  EXPECT_EQ(again.TextFontFace(), " Odd; Font ");
}

TEST_F(CustomDrawnMenuInfoTest, NotificationsFollowTheUpdateCounter) {
  TCustomDrawnMenuInfo info = Open("");
  int changes = 0;
  std::vector<bool> modified;
  info.OnChange = [&](TCustomDrawnMenuInfo&) { ++changes; };
  info.OnModifiedChange = [&](TCustomDrawnMenuInfo& sender) { modified.push_back(sender.Modified()); };

  info.SetTextIndent(20);  // equal: nothing
  EXPECT_EQ(changes, 0);
  EXPECT_TRUE(modified.empty());

  info.BeginUpdate();
  info.SetTextIndent(30);
  info.EndUpdate();
  EXPECT_EQ(changes, 0);
  EXPECT_TRUE(info.Modified());
  // Changed back: still modified, as the dialog's Apply stays enabled.
  info.SetTextIndent(20);
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(info.Modified());

  modified.clear();
  changes = 0;
  info.Load();
  EXPECT_EQ(changes, 1);  // once for the whole section
  EXPECT_FALSE(info.Modified());
  ASSERT_FALSE(modified.empty());
  EXPECT_FALSE(modified.back());

  info.SetEnabled(true);
  modified.clear();
  info.Save();
  EXPECT_EQ(modified, std::vector<bool>{false});
}

TEST_F(CustomDrawnMenuInfoTest, FailedSaveRaisesAndKeepsTheValuesModified) {
  TCustomDrawnMenuInfo info = Open("");
  info.SetEnabled(true);
  files.FailWrites = true;
  EXPECT_THROW(info.Save(), Exception);
  EXPECT_TRUE(info.Modified());
}

TEST_F(CustomDrawnMenuInfoTest, SaveKeepsWhatOthersWroteSinceTheLoad) {
  TCustomDrawnMenuInfo info = Open(Lines({"[Dynamic Items]", "Count=0"}));
  files.Files["menu.ini"] = Lines({"[Dynamic Items]", "Caption1=Edit", "Count=1"});
  info.SetEnabled(true);
  info.Save();
  EXPECT_NE(files.Files["menu.ini"].find("Caption1=Edit\r\n"), std::string::npos);
  EXPECT_NE(files.Files["menu.ini"].find("Enabled=True\r\n"), std::string::npos);
}

}  // namespace
}  // namespace orvane::testing
