#include <gtest/gtest.h>

#include "platform/messages.h"
#include "platform/system_folders.h"
#include "platform/system_info.h"
#include "scan_fixture.h"

namespace orvane::testing {
namespace {

using ::testing::ElementsAre;

using PredefinedTest = ScanTest;

TEST_F(PredefinedTest, TableFollowsPlatformAndShellVersion) {
  UsePlatform(pcWin9x, 0x40048);
  EXPECT_EQ(PredefinedTable().Count(), 13);
  EXPECT_EQ(PredefinedTable().Names[12], "DVDFile");
  EXPECT_EQ(PredefinedTable().IndexOf("DVD"), -1);

  UsePlatform(pcNT, 0x50000);
  EXPECT_EQ(PredefinedTable().Count(), 13);
  EXPECT_EQ(PredefinedTable().Names[12], "DVD");

  UsePlatform(pcXP, 0x60000);
  EXPECT_EQ(PredefinedTable().Count(), 19);
  EXPECT_EQ(PredefinedTable().Names[18], "SystemFileAssociations\\System");
  EXPECT_EQ(PredefinedTable().Captions[13], "Images");
  EXPECT_EQ(PredefinedTable().Icons[2], "shell32.dll,0");
  const std::string ownIcon = ProgramFileName() + ",-2000";
  EXPECT_EQ(PredefinedTable().Icons[0], ownIcon);
  EXPECT_EQ(PredefinedTable().Icons[1], ownIcon);
}

TEST_F(PredefinedTest, OldShellKeepsOnlyTheBasicRows) {
  UsePlatform(pcXP, 0x40046);
  EXPECT_THAT(PredefinedTable().Names, ElementsAre("*", "Unknown", "Folder", "Directory", "Network",
                                                   "Printers", "Drive", "AudioCD"));
  const std::string ownIcon = ProgramFileName() + ",-2000";
  EXPECT_EQ(PredefinedTable().Icons[1], ownIcon);
  EXPECT_EQ(PredefinedTable().Icons[2], "shell32.dll,3");
}

TEST_F(PredefinedTest, TypeOfNameSearchesAllRows) {
  UsePlatform(pcNT, 0x50000);
  EXPECT_EQ(TypeOfName("dvd"), ptypDVD);
  EXPECT_EQ(TypeOfName("DVDFile"), ptypDVD);
  EXPECT_EQ(TypeOfName("systemfileassociations\\image"), ptypImage);
  EXPECT_EQ(TypeOfName("txtfile"), ptypAllFiles);
  EXPECT_EQ(SpecialTypes().size(), 20u);
}

TEST_F(PredefinedTest, LanguageChangeRereadsCaptions) {
  Import("[HKEY_CLASSES_ROOT\\Folder]\n@=\"Folder key text\"\n");
  Load();
  EXPECT_EQ(types.FindByName("Folder")->Description(), "Folder key text");
  SetResStringLookup([](MessageId id) -> std::optional<std::string> {
    if (id == msg::SCaptionFolder) return "Alle Ordner";
    return std::nullopt;
  });
  BuildPredefinedTable();
  BuildPredefinedTable();
  SetResStringLookup({});
  EXPECT_EQ(PredefinedTable().Count(), 19);
  EXPECT_EQ(PredefinedTable().Captions[3], "Alle Ordner");
  int refreshes = 0;
  TFileTypeLink link;
  link.SetFileTypes(&types);
  link.OnRefresh = [&](TFileTypeLink*) { ++refreshes; };
  link.OnChange = [&](TFileTypeLink*, TFileType* item) { ADD_FAILURE() << item; };
  types.UpdateCaptions();
  EXPECT_EQ(types.FindByName("Folder")->Description(), "Alle Ordner");
  EXPECT_EQ(refreshes, 1);
  BuildPredefinedTable();
}

}  // namespace
}  // namespace orvane::testing
