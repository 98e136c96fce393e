#include "filetypes/file_type_icons.h"

#include <algorithm>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fake_icons.h"
#include "scan_fixture.h"

namespace orvane::testing {
namespace {

using ::testing::ElementsAre;

TEST(IconLocation, SplitsAtTheLastComma) {
  EXPECT_EQ(ParseIconLocation("shell32.dll,3").File, "shell32.dll");
  EXPECT_EQ(ParseIconLocation("shell32.dll,3").Index, 3);
  EXPECT_EQ(ParseIconLocation("C:\\a,b\\x.dll,-101").File, "C:\\a,b\\x.dll");
  EXPECT_EQ(ParseIconLocation("C:\\a,b\\x.dll,-101").Index, -101);
  EXPECT_EQ(ParseIconLocation("x.ico").Index, 0);
  EXPECT_EQ(ParseIconLocation("x.ico").File, "x.ico");
  EXPECT_EQ(ParseIconLocation("x.dll,two").Index, 0);
  // Blanks around the index, as the shell's own parser reads them.
  EXPECT_EQ(ParseIconLocation("shell32.dll, 3").Index, 3);
  EXPECT_EQ(ParseIconLocation("shell32.dll, 3").File, "shell32.dll");
  EXPECT_EQ(ParseIconLocation("x.dll,\t-4 ").Index, -4);
  EXPECT_EQ(ParseIconLocation("x.dll, 3 4").Index, 0);
  EXPECT_EQ(ParseIconLocation("x.dll, ").Index, 0);
  EXPECT_EQ(ParseIconLocation("\"C:\\a,b\\x.dll\",4").File, "\"C:\\a,b\\x.dll\"");
  EXPECT_EQ(ParseIconLocation("\"C:\\a,b\\x.dll\",4").Index, 4);
  // Without an index, a comma inside the quotes stays part of the file.
  EXPECT_EQ(ParseIconLocation("\"C:\\a,b\\x.dll\"").File, "\"C:\\a,b\\x.dll\"");
  EXPECT_EQ(ParseIconLocation("\"C:\\a,b\\x.dll\"").Index, 0);
  EXPECT_EQ(Unquote("\"x\""), "x");
  EXPECT_EQ(Unquote("\"x"), "x");
}

TEST(IconLocation, ExpandsByThePlatformsRules) {
  FakeIconSource source;
  source.environment["SystemRoot"] = "C:\\WINNT";
  EXPECT_EQ(ExpandIconPath("%SystemRoot%\\x.dll", source), "C:\\WINNT\\x.dll");
  source.nt = false;
  const std::string dir = Win9xWindowsDir();
  EXPECT_EQ(ExpandIconPath("%systemroot%\\x.dll", source), dir + "\\x.dll");
  EXPECT_EQ(ExpandIconPath("%WINDIR%", source), dir);
  EXPECT_EQ(ExpandIconPath("%WinDir%\",1", source), dir + "\",1");
  EXPECT_EQ(ExpandIconPath("%WinDirX%\\x.dll", source), "%WinDirX%\\x.dll");
  EXPECT_EQ(ExpandIconPath("C:\\%WinDir%\\x.dll", source), "C:\\%WinDir%\\x.dll");
}

class IconTest : public ScanTest {
protected:
  TFileType* Type(const std::string& name, const std::string& icon,
                  const std::string& extension = "") {
    TFileType* type = types.Add();
    type->SetName(name);
    type->SetDescription(name + " description");
    type->SetDefaultIcon(icon);
    if (!extension.empty()) type->AddExtension(extension);
    return type;
  }
  FakeIconSource source;
};

TEST_F(IconTest, LocationIsUnquotedAndExpandedBeforeExtraction) {
  source.environment["SystemRoot"] = "C:\\WINDOWS";
  source.files["C:\\WINDOWS\\system32\\x.dll"] = {};
  source.existing.insert("C:\\WINDOWS\\system32\\x.dll");
  TIcon icon;
  EXPECT_TRUE(IconFromLocation("\"%SystemRoot%\\system32\\x.dll\",-4", nullptr, 16, 16, icon, true,
                               &bugs, source));
  EXPECT_THAT(source.calls, ElementsAre("search [C:\\WINDOWS\\system32\\] x.dll",
                                        "extract C:\\WINDOWS\\system32\\x.dll,-4"));
  EXPECT_EQ(source.alive.size(), 1u);  // the large one was destroyed
  icon.Reset();
  EXPECT_TRUE(source.alive.empty());
}

TEST_F(IconTest, MissingIconFileIsABugAndExtractionIsTriedAnyway) {
  TFileType* type = Type("odd", "");
  source.files["gone.dll"] = {};
  TIcon icon;
  EXPECT_TRUE(IconFromLocation("gone.dll,0", type, 16, 16, icon, true, &bugs, source));
  EXPECT_THAT(BugTexts(), ElementsAre("Icon file \"gone.dll\" of file type \"odd description\" "
                                      "(\"odd\") does not exist or unavailable"));
  EXPECT_EQ(Bug(0).Kind, bkMissingIconFile);
  EXPECT_EQ(Bug(0).Key, "odd");
  EXPECT_EQ(Bug(0).Target, "odd description");
  EXPECT_THAT(source.calls, ElementsAre("search [] gone.dll", "extract gone.dll,0"));
}

TEST_F(IconTest, SizeAndChoiceOfTheExtractedIcon) {
  source.files["big.dll"] = {1, 48, 0};
  TIcon icon;
  EXPECT_FALSE(IconFromLocation("big.dll", nullptr, 16, 16, icon, false, nullptr, source));
  // Only a small one: taken although a large one was asked for.
  source.files["small.dll"] = {1, 0, 16};
  EXPECT_TRUE(IconFromLocation("small.dll", nullptr, 16, 16, icon, false, nullptr, source));
  // Index -1 reports a count without icons: tried again with 0.
  source.calls.clear();
  EXPECT_TRUE(IconFromLocation("small.dll,-1", nullptr, 16, 16, icon, false, nullptr, source));
  EXPECT_THAT(source.calls,
              ElementsAre("search [] small.dll", "extract small.dll,-1", "extract small.dll,0"));
  source.files["raises.dll"].raises = true;
  EXPECT_FALSE(IconFromLocation("raises.dll", nullptr, 16, 16, icon, true, nullptr, source));
  icon.Reset();
  EXPECT_TRUE(source.alive.empty());
}

TEST_F(IconTest, DocumentIconsAskTheShellInOrder) {
  source.associatedSize = 32;
  source.privateSize = 16;
  TIcon icon;
  EXPECT_TRUE(IconFromDocument("", icon, 16, 16, source));
  EXPECT_THAT(source.calls, ElementsAre("temp ", "associated C:\\temp\\ov1.tmp",
                                        "private C:\\app.exe,2 16x16", "delete C:\\temp\\ov1.tmp"));
  source.calls.clear();
  source.privateSize = 0;
  source.fileInfoSize = 32;
  EXPECT_FALSE(IconFromDocument(".lnk", icon, 16, 16, source));
  EXPECT_THAT(source.calls, ElementsAre("temp .lnk", "associated C:\\temp\\ov1.tmp.lnk",
                                        "fileinfo C:\\app.exe", "delete C:\\temp\\ov1.tmp.lnk"));
  EXPECT_TRUE(source.alive.empty());
  // "%1" goes to the document's icon, compared after unquoting only.
  source.calls.clear();
  EXPECT_FALSE(LoadTypeIcon(".ico", "\"%1\"", 16, 16, nullptr, nullptr, true, icon, source));
  EXPECT_EQ(source.calls.front(), "temp .ico");
  source.calls.clear();
  EXPECT_FALSE(LoadTypeIcon(".ico", "%1,0", 16, 16, nullptr, nullptr, true, icon, source));
  EXPECT_EQ(source.calls.front(), "search [] %1");
}

TEST_F(IconTest, OneImagePerTypeWithFallbacks) {
  source.files["shell32.dll"] = {};
  source.existing.insert("shell32.dll");
  source.files["good.dll"] = {2};
  source.existing.insert("good.dll");
  source.files["empty.dll"] = {0};
  source.existing.insert("empty.dll");
  for (int i = 0; i < 22; ++i) Type("t" + std::to_string(i), "good.dll," + std::to_string(i % 2));
  Type("noicon", "empty.dll,0");   // exists, holds nothing: shell32's icon, no bug
  Type("missing", "missing.ico");  // a bug, then shell32's icon
  Type("none", "");                // shell32's icon
  FakeImageList images(source);
  std::vector<std::string> loaded;
  TFileTypeLink link;
  link.SetFileTypes(&types);
  link.OnLoadIcon = [&](TFileTypeLink*, TFileType* t) { loaded.push_back(t->Name()); };
  types.LoadIcons(images, bugs, source);
  EXPECT_EQ(images.recreated, 1);
  EXPECT_EQ(images.Count(), types.Count());
  EXPECT_EQ(static_cast<int>(loaded.size()), types.Count());
  EXPECT_EQ(loaded.back(), "none");
  EXPECT_THAT(BugTexts(), ElementsAre("Icon file \"missing.ico\" of file type \"missing "
                                      "description\" (\"missing\") does not exist or unavailable"));
  EXPECT_TRUE(source.alive.empty());

  // Without shell32's icon the three become transparent.
  source.files.erase("shell32.dll");
  types.LoadIcons(images, bugs, source);
  EXPECT_EQ(images.Count(), 25);
  EXPECT_EQ(std::count(images.images.begin(), images.images.end(), 0), 3);
  EXPECT_EQ(images.images[22], 0);
  EXPECT_EQ(images.images[0], 16);
}

// Types share icon files, and every type without an icon of its own shares the fallback:
// one search per file and one extraction per location for the whole list, with each
// type's own bug and image still there.
TEST_F(IconTest, SharedLocationsAreExtractedOnceEachTypeKeepsItsBugAndImage) {
  source.files["shell32.dll"] = {};
  source.existing.insert("shell32.dll");
  source.files["good.dll"] = {2, 32, 16};
  source.existing.insert("good.dll");
  for (int i = 0; i < 6; ++i) {
    Type("g" + std::to_string(i), "good.dll," + std::to_string(i % 2));
    Type("m" + std::to_string(i), "missing.ico");
  }
  FakeImageList images(source);
  types.LoadIcons(images, bugs, source);
  auto calls = [&](const std::string& call) {
    return std::count(source.calls.begin(), source.calls.end(), call);
  };
  EXPECT_EQ(calls("search [] good.dll"), 1);
  EXPECT_EQ(calls("extract good.dll,0"), 1);
  EXPECT_EQ(calls("extract good.dll,1"), 1);
  // A file the search misses is asked for its count once; holding none, never opened again.
  EXPECT_EQ(calls("search [] missing.ico"), 1);
  EXPECT_EQ(calls("extract missing.ico,-1"), 1);
  EXPECT_EQ(calls("extract missing.ico,0"), 0);
  EXPECT_EQ(calls("extract shell32.dll,0"), 1);
  EXPECT_EQ(images.Count(), 12);
  EXPECT_EQ(std::count(images.images.begin(), images.images.end(), 16), 12);
  EXPECT_EQ(images.copies, 9);  // three icons, each added once, then copied
  EXPECT_EQ(bugs.Count(), 6);
  EXPECT_EQ(Bug(5).Key, "m5");
  EXPECT_TRUE(source.alive.empty());
}

// Past the icons kept for reuse, a new location's icon is still added and let go.
TEST_F(IconTest, ManyDistinctIconsAreAllAddedAndReleased) {
  source.files["many.dll"] = {2000, 16, 16};
  source.existing.insert("many.dll");
  for (int i = 0; i < 600; ++i) Type("t" + std::to_string(i), "many.dll," + std::to_string(i));
  Type("again", "many.dll,599");
  FakeImageList images(source);
  types.LoadIcons(images, bugs, source);
  EXPECT_EQ(images.Count(), 601);
  EXPECT_EQ(std::count(images.images.begin(), images.images.end(), 16), 601);
  EXPECT_EQ(images.copies, 0);  // icons let go are never copied: their handles are reused
  EXPECT_EQ(std::count(source.calls.begin(), source.calls.end(), "extract shell32.dll,0"), 0);
  EXPECT_TRUE(source.alive.empty());
}

TEST_F(IconTest, ImageListFailures) {
  Type("a", "");
  FakeImageList images(source);
  images.blankFails = true;
  try {
    types.LoadIcons(images, bugs, source);
    FAIL();
  } catch (const EIconError& e) {
    EXPECT_EQ(e.Message(), "Not enough memory to load associated icons");
  }
  images.hasHandle = false;
  try {
    MakeImageList32(images);
    FAIL();
  } catch (const EIconError& e) {
    EXPECT_EQ(e.Message(), "Invalid ImageList");
  }
  try {
    ExtractIconOrRaise("nothing.dll", 0, true, source);
    FAIL();
  } catch (const EIconError& e) {
    EXPECT_EQ(e.Message(), "Error extracting icon from file");
  }
  source.files["two.dll"] = {};
  TIcon large = ExtractIconHandle("two.dll", 0, false, source);
  int w = 0, h = 0;
  source.IconSize(large.Get(), w, h);
  EXPECT_EQ(w, 32);
  EXPECT_EQ(source.alive.size(), 1u);
}

}  // namespace
}  // namespace orvane::testing
