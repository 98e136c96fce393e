#include "filetypes/file_type_list.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fake_icons.h"
#include "scan_fixture.h"

namespace orvane::testing {
namespace {

using ::testing::ElementsAre;

class FileTypeListTest : public ScanTest {
protected:
  void SetUp() override {
    ScanTest::SetUp();
    Import(R"(
[HKEY_CLASSES_ROOT\.txt]
@="txtfile"
[HKEY_CLASSES_ROOT\txtfile]
@="Text Document"
[HKEY_CLASSES_ROOT\.gone]
@="nothing"
)");
    list.BusyCursor = [this](bool busy) { cursor.push_back(busy ? "busy" : "normal"); };
    list.OnRefresh() = [this](TFileTypeLink*) { ++refreshes; };
  }
  FakeIconSource icons;
  TFileTypeList list{reg, icons};
  std::vector<std::string> cursor;
  int refreshes = 0;
};

TEST_F(FileTypeListTest, ActivatingScansAndDeactivatingEmpties) {
  EXPECT_FALSE(list.Active());
  EXPECT_EQ(list.Items().Count(), 0);
  list.SetActive(true);
  EXPECT_EQ(list.Items().Count(), 20);
  EXPECT_EQ(list.Bugs().Count(), 1);
  EXPECT_EQ(refreshes, 1);
  list.SetActive(true);  // no change, no reload
  EXPECT_EQ(refreshes, 1);
  int changes = 0;
  list.OnChange() = [&](TFileTypeLink*, TFileType* item) {
    EXPECT_EQ(item, nullptr);
    ++changes;
  };
  list.SetActive(false);
  EXPECT_EQ(list.Items().Count(), 0);
  EXPECT_EQ(changes, 1);
  EXPECT_THAT(cursor, ElementsAre("busy", "normal", "busy", "normal"));
}

TEST_F(FileTypeListTest, ImagesReloadEvenWhenTheSame) {
  icons.files["shell32.dll"] = {};
  FakeImageList images(icons);
  list.SetActive(true);
  std::vector<std::string> loaded;
  list.OnLoadIcon() = [&](TFileTypeLink*, TFileType* item) { loaded.push_back(item->Name()); };
  list.SetImages(&images);
  list.SetImages(&images);
  EXPECT_EQ(refreshes, 3);
  EXPECT_EQ(images.Count(), 20);
  EXPECT_EQ(loaded.size(), 40u);
  list.ImagesDestroying(&images);
  EXPECT_EQ(list.Images(), nullptr);
  EXPECT_EQ(refreshes, 4);
  EXPECT_TRUE(icons.alive.empty());
}

TEST_F(FileTypeListTest, FailedScanRestoresTheCursor) {
  reg.DenyAccess("HKEY_CLASSES_ROOT");
  EXPECT_THROW(list.SetActive(true), Exception);
  EXPECT_THAT(cursor, ElementsAre("busy", "normal"));
  EXPECT_EQ(refreshes, 1);
}

TEST_F(FileTypeListTest, DestroyingTellsTheLinks) {
  auto owned = std::make_unique<TFileTypeList>(reg, icons);
  owned->SetActive(true);
  TFileTypeLink observer;
  observer.SetFileTypes(&owned->Items());
  observer.SetFileType(owned->Items().FindByName("txtfile"));
  int destroyed = 0;
  owned->OnDestroy() = [&](TFileTypeLink*, TFileType*) { ++destroyed; };
  owned.reset();
  EXPECT_EQ(observer.FileTypes(), nullptr);
  EXPECT_EQ(observer.FileType(), nullptr);
  EXPECT_EQ(destroyed, 1);
}

}  // namespace
}  // namespace orvane::testing
