#include <gtest/gtest.h>

#include <memory>

#include "filetypes/file_type_link.h"
#include "scan_fixture.h"

namespace orvane::testing {
namespace {

using ::testing::ElementsAre;

// Records what a link hears as short lines.
struct Recorder {
  explicit Recorder(TFileTypeLink& link, std::vector<std::string>& log, const std::string& tag) {
    auto name = [](TFileType* item) { return item ? item->Name() : std::string("-"); };
    link.OnChange = [&log, tag, name](TFileTypeLink*, TFileType* i) {
      log.push_back(tag + " change " + name(i));
    };
    link.OnDestroy = [&log, tag, name](TFileTypeLink*, TFileType* i) {
      log.push_back(tag + " destroy " + name(i));
    };
    link.OnMove = [&log, tag, name](TFileTypeLink*, TFileType* i) {
      log.push_back(tag + " move " + name(i));
    };
    link.OnRefresh = [&log, tag](TFileTypeLink*) { log.push_back(tag + " refresh"); };
  }
};

class LinkTest : public ScanTest {
protected:
  void SetUp() override {
    ScanTest::SetUp();
    Import(R"(
[HKEY_CLASSES_ROOT\.txt]
@="txtfile"
[HKEY_CLASSES_ROOT\txtfile]
@="Text Document"
[HKEY_CLASSES_ROOT\.ini]
@="inifile"
)");
  }
  std::vector<std::string> log;
};

TEST_F(LinkTest, LinkFindsItsTypeAgainAfterEachReload) {
  Load();
  Import("[HKEY_CLASSES_ROOT\\inifile]\n@=\"Settings\"\n");
  TFileTypeLink link;
  Recorder recorder(link, log, "L");
  link.SetFileTypes(&types);
  link.SetFileType(types.FindByName("txtfile"));
  int refreshItems = 0;
  link.OnRefreshItem = [&](TFileTypeLink*, TFileType*) { ++refreshItems; };
  Load();
  ASSERT_NE(link.FileType(), nullptr);
  EXPECT_EQ(link.FileType(), types.FindByName("txtfile"));
  EXPECT_EQ(link.FileTypeName(), "txtfile");
  // Attaching says "changed"; the reload itself only says "refreshed".
  EXPECT_THAT(log, ElementsAre("L change -", "L refresh"));
  EXPECT_GT(refreshItems, 0);
}

TEST_F(LinkTest, LinkNeverShowsAFreedTypeDuringAReload) {
  Load();
  TFileTypeLink link;
  link.SetFileTypes(&types);
  link.SetFileType(types.FindByName("txtfile"));
  int checked = 0;
  link.OnRefreshItem = [&](TFileTypeLink* sender, TFileType*) {
    if (TFileType* linked = sender->FileType()) {
      EXPECT_EQ(types.FindByName(linked->Name()), linked);
      ++checked;
    }
  };
  Load();
  EXPECT_EQ(link.FileType(), types.FindByName("txtfile"));
  EXPECT_EQ(checked, 0);  // unlinked while its old type is gone, found again at the end
}

TEST_F(LinkTest, LinkWhoseTypeVanishedDetaches) {
  Load();
  TFileTypeLink link;
  Recorder recorder(link, log, "L");
  link.SetFileTypes(&types);
  link.SetFileType(types.FindByName("txtfile"));
  ImportRegText(reg, "REGEDIT4\n[-HKEY_CLASSES_ROOT\\.txt]\n");
  Load();
  EXPECT_EQ(link.FileTypes(), nullptr);
  EXPECT_EQ(link.FileType(), nullptr);
  EXPECT_THAT(log, ElementsAre("L change -", "L destroy -"));
}

TEST_F(LinkTest, LinkDetachingWhileNotifiedKeepsTheOthersNotified) {
  Load();
  TFileTypeLink first, second, third;
  Recorder r1(first, log, "1");
  Recorder r3(third, log, "3");
  first.SetFileTypes(&types);
  second.SetFileTypes(&types);
  third.SetFileTypes(&types);
  second.OnChange = [&](TFileTypeLink* sender, TFileType*) {
    log.push_back("2 change");
    sender->SetFileTypes(nullptr);
  };
  log.clear();
  types.Items(0)->SetDescription("Everything");
  EXPECT_THAT(log, ElementsAre("1 change *", "2 change", "3 change *"));
  log.clear();
  types.Items(0)->SetDescription("Everything again");
  EXPECT_THAT(log, ElementsAre("1 change *", "3 change *"));
}

TEST_F(LinkTest, LinkDestroyedWhileNotifiedIsSkipped) {
  Load();
  TFileTypeLink first;
  auto second = std::make_unique<TFileTypeLink>();
  TFileTypeLink third;
  first.SetFileTypes(&types);
  second->SetFileTypes(&types);
  third.SetFileTypes(&types);
  first.OnChange = [&](TFileTypeLink*, TFileType*) { second.reset(); };
  bool thirdHeard = false;
  third.OnChange = [&](TFileTypeLink*, TFileType*) { thirdHeard = true; };
  types.Items(1)->SetCurVer("x");
  EXPECT_TRUE(thirdHeard);
  EXPECT_EQ(types.Links().size(), 2u);
}

TEST_F(LinkTest, CollectionGoingAwayDetachesEveryLink) {
  auto owned = std::make_unique<TFileTypes>();
  TFileTypeLink a, b;
  Recorder ra(a, log, "a");
  Recorder rb(b, log, "b");
  a.SetFileTypes(owned.get());
  b.SetFileTypes(owned.get());
  owned->BeginUpdate();  // even inside a bracket
  owned.reset();
  EXPECT_EQ(a.FileTypes(), nullptr);
  EXPECT_EQ(b.FileTypes(), nullptr);
  EXPECT_THAT(log, ElementsAre("a change -", "b change -", "a destroy -", "b destroy -"));
}

TEST_F(LinkTest, ItemEventsReachTheLinks) {
  Load();
  TFileTypeLink link;
  Recorder recorder(link, log, "L");
  link.SetFileTypes(&types);
  TFileType* text = types.FindByName("txtfile");
  link.SetFileType(text);
  log.clear();
  text->SetIndex(0);
  EXPECT_EQ(types.Items(0), text);
  EXPECT_EQ(text->Index(), 0);
  types.BeginUpdate();
  text->SetDescription("dropped while updating");
  types.EndUpdate();
  types.Delete(0);
  EXPECT_EQ(link.FileType(), nullptr);
  EXPECT_EQ(link.FileTypeName(), "");
  EXPECT_THAT(log, ElementsAre("L move txtfile", "L change -", "L destroy txtfile", "L change -"));
}

TEST_F(LinkTest, LinkingAnItemOfAnotherCollectionRaises) {
  Load();
  TFileTypes other;
  TFileType* foreign = other.Add();
  TFileTypeLink link;
  EXPECT_THROW(link.SetFileType(types.Items(0)), Exception);
  link.SetFileTypes(&types);
  try {
    link.SetFileType(foreign);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "FileTypes property not set or item does not belong to FileTypes");
  }
}

TEST_F(LinkTest, ExtensionAccessAndLists) {
  Load();
  TFileType* item = types.Add();
  item->AddExtension(".b");
  item->AddExtension(".A");
  item->AddExtension(".c");
  EXPECT_EQ(item->Extension(1), ".A");
  try {
    item->Extension(3);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "List index out of bounds (3)");
  }
  auto list = item->GetExtensionList();
  EXPECT_EQ(list->JoinText(), ".A;.b;.c");
  list->SetSeparator(", ");
  EXPECT_EQ(list->JoinText(), ".A, .b, .c");
  EXPECT_EQ(TAdvStringList().JoinText(), "");
}

TEST_F(LinkTest, FindByNameFollowsRenamesAndRemovals) {
  TFileTypes own;
  TFileType* a = own.Add();
  a->SetName("Alpha");
  TFileType* b = own.Add();
  b->SetName("ALPHA");
  EXPECT_EQ(own.FindByName("alpha"), a);
  a->SetIndex(1);
  EXPECT_EQ(own.FindByName("alpha"), b);
  b->SetName("beta");
  EXPECT_EQ(own.FindByName("alpha"), a);
  EXPECT_EQ(own.FindByName("BETA"), b);
  own.Delete(a->Index());
  EXPECT_EQ(own.FindByName("alpha"), nullptr);
  EXPECT_EQ(own.FindByName(""), nullptr);
}

}  // namespace
}  // namespace orvane::testing
