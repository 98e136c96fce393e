#include <gtest/gtest.h>

#include "filetypes/file_type_link.h"
#include "scan_fixture.h"

namespace orvane::testing {
namespace {

using ::testing::ElementsAre;

const char* kTextTypes = R"(
[HKEY_CLASSES_ROOT\.txt]
@="txtfile"
[HKEY_CLASSES_ROOT\.LOG]
@="txtfile"
[HKEY_CLASSES_ROOT\.ini]
@="inifile"
[HKEY_CLASSES_ROOT\txtfile]
@="Text Document"
[HKEY_CLASSES_ROOT\txtfile\DefaultIcon]
@="shell32.dll,-152"
[HKEY_CLASSES_ROOT\inifile]
@="Configuration Settings"
[HKEY_CLASSES_ROOT\lonely]
@="No extension points here"
[HKEY_CLASSES_ROOT\nodesc]
[HKEY_CLASSES_ROOT\.nd]
@="nodesc"
)";

TEST_F(ScanTest, KeepsTypesWithExtensionsSortedAfterThePredefinedOnes) {
  Import(kTextTypes);
  Load();
  ASSERT_EQ(types.Count(), 19 + 3);
  for (int i = 0; i < 19; ++i) {
    EXPECT_TRUE(types.Items(i)->Predefined());
    EXPECT_EQ(types.Items(i)->Name(), PredefinedTable().Names[i]);
  }
  // By description: "Configuration Settings", "nodesc" (its name), "Text Document".
  EXPECT_THAT(OwnTypes(), ElementsAre("inifile", "nodesc", "txtfile"));
  TFileType* text = types.FindByName("TXTFILE");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->Description(), "Text Document");
  EXPECT_EQ(text->DefaultIcon(), "shell32.dll,-152");
  EXPECT_THAT(text->Extensions(), ElementsAre(".LOG", ".txt"));
  EXPECT_EQ(types.FindByName("lonely"), nullptr);
  EXPECT_EQ(bugs.Count(), 0);
  EXPECT_FALSE(types.Loading());
}

TEST_F(ScanTest, ExtensionsPointingNowhereAreBugsUnlessTheyNameAClass) {
  Import(R"(
[HKEY_CLASSES_ROOT\.bare]
@="CLSID"
[HKEY_CLASSES_ROOT\.gone]
@="missingfile"
[HKEY_CLASSES_ROOT\.cls]
@="CLSID\\{00000000-0000-0000-0000-000000000001}"
[HKEY_CLASSES_ROOT\.lcls]
@="clsid\\{00000000-0000-0000-0000-000000000001}"
[HKEY_CLASSES_ROOT\.empty]
@=""
)");
  Load();
  EXPECT_THAT(BugTexts(),
              ElementsAre("Extension \".bare\" belongs to non-existing file type \"CLSID\"",
                          "Extension \".gone\" belongs to non-existing file type \"missingfile\"",
                          "Extension \".lcls\" belongs to non-existing file type "
                          "\"clsid\\{00000000-0000-0000-0000-000000000001}\""));
  EXPECT_EQ(Bug(1).Kind, bkMissingType);
  EXPECT_EQ(Bug(1).Key, ".gone");
  EXPECT_EQ(Bug(1).Target, "missingfile");
  EXPECT_FALSE(Bug(1).Fixed);
}

TEST_F(ScanTest, UnreadableKeysAndNonStringValuesBecomeBugs) {
  Import(R"(
[HKEY_CLASSES_ROOT\.sec]
@="secret"
[HKEY_CLASSES_ROOT\secret]
@="Locked"
[HKEY_CLASSES_ROOT\.odd]
@="oddfile"
[HKEY_CLASSES_ROOT\oddfile]
@="Odd"
[HKEY_CLASSES_ROOT\oddfile\DefaultIcon]
@=dword:00000001
[HKEY_CLASSES_ROOT\oddfile\CLSID]
@="{11111111-0000-0000-0000-000000000000}"
[HKEY_CLASSES_ROOT\CLSID\{11111111-0000-0000-0000-000000000000}\InProcServer32]
@="odd.dll"
)");
  reg.DenyAccess("HKEY_CLASSES_ROOT\\secret");
  Load();
  // Icons are read last, for the types that stay.
  EXPECT_THAT(
      BugTexts(),
      ElementsAre("Access to the egistry key \"secret\" is denied",
                  "Extension \".sec\" belongs to non-existing file type \"secret\"",
                  "Invalid data type for value \"\" of registry key \"oddfile\\DefaultIcon\""));
  EXPECT_EQ(Bug(2).Kind, bkUnreadable);
  EXPECT_EQ(Bug(2).Key, "oddfile\\DefaultIcon");
  EXPECT_EQ(Bug(2).Target, "");
  EXPECT_EQ(Bug(0).Kind, bkUnreadable);
  EXPECT_EQ(Bug(0).Key, "secret");
  // The unreadable icon counts as absent, so the class's server stands in.
  ASSERT_NE(types.FindByName("oddfile"), nullptr);
  EXPECT_EQ(types.FindByName("oddfile")->DefaultIcon(), "odd.dll");
  EXPECT_EQ(reg.OpenHandleCount(), 0u);
}

TEST_F(ScanTest, CurVerChainFollowsTheVisitingOrder) {
  // a -> b -> c: b is visited after a, so a's extensions travel on to c.
  Import(R"(
[HKEY_CLASSES_ROOT\.a]
@="a.1"
[HKEY_CLASSES_ROOT\.b]
@="b.1"
[HKEY_CLASSES_ROOT\.c]
@="c.1"
[HKEY_CLASSES_ROOT\a.1\CurVer]
@="b.1"
[HKEY_CLASSES_ROOT\b.1\CurVer]
@="c.1"
[HKEY_CLASSES_ROOT\c.1]
@="Current"
)");
  Load();
  EXPECT_THAT(OwnTypes(), ElementsAre("c.1"));
  EXPECT_THAT(types.FindByName("c.1")->Extensions(), ElementsAre(".c", ".b", ".a"));
  EXPECT_EQ(bugs.Count(), 0);
}

// Icons are read only for the types that stay: a class no extension names is not asked
// (its broken icon is no bug), a type that only inherits extensions through CurVer is.
TEST_F(ScanTest, OnlyTypesThatStayReadTheirIcons) {
  Import(R"(
[HKEY_CLASSES_ROOT\.old]
@="app.1"
[HKEY_CLASSES_ROOT\app.1\CurVer]
@="app.2"
[HKEY_CLASSES_ROOT\app.2\DefaultIcon]
@="app.exe,2"
[HKEY_CLASSES_ROOT\lonely\DefaultIcon]
@=dword:00000001
)");
  Load();
  EXPECT_THAT(OwnTypes(), ElementsAre("app.2"));
  EXPECT_EQ(types.FindByName("app.2")->DefaultIcon(), "app.exe,2");
  EXPECT_EQ(bugs.Count(), 0);
  EXPECT_EQ(reg.OpenHandleCount(), 0u);
}

TEST_F(ScanTest, CurVerChainVisitedBackwardsLeavesABug) {
  // z -> y -> x: y is visited and removed before z, so z names a type that is gone.
  Import(R"(
[HKEY_CLASSES_ROOT\.y]
@="y.1"
[HKEY_CLASSES_ROOT\.z]
@="z.1"
[HKEY_CLASSES_ROOT\.x]
@="x.1"
[HKEY_CLASSES_ROOT\z.1]
@="Zed"
[HKEY_CLASSES_ROOT\z.1\CurVer]
@="y.1"
[HKEY_CLASSES_ROOT\y.1\CurVer]
@="x.1"
[HKEY_CLASSES_ROOT\x.1]
@="Ex"
)");
  Load();
  EXPECT_THAT(OwnTypes(), ElementsAre("x.1", "z.1"));
  EXPECT_THAT(types.FindByName("x.1")->Extensions(), ElementsAre(".x", ".y"));
  EXPECT_THAT(types.FindByName("z.1")->Extensions(), ElementsAre(".z"));
  EXPECT_THAT(BugTexts(),
              ElementsAre("File type \"z.1\" (\"Zed\") refers to non-existing file type \"y.1\""));
  EXPECT_EQ(Bug(0).Kind, bkBadCurVer);
  EXPECT_EQ(Bug(0).Key, "z.1");
  EXPECT_EQ(Bug(0).Target, "y.1");
}

TEST_F(ScanTest, CurVerNamingItselfIsABugOnlyWithoutAClass) {
  Import(R"(
[HKEY_CLASSES_ROOT\.s1]
@="self1"
[HKEY_CLASSES_ROOT\self1]
@="Self one"
[HKEY_CLASSES_ROOT\self1\CurVer]
@="SELF1"
[HKEY_CLASSES_ROOT\.s2]
@="self2"
[HKEY_CLASSES_ROOT\self2\CurVer]
@="self2"
[HKEY_CLASSES_ROOT\self2\CLSID]
@="{22222222-0000-0000-0000-000000000000}"
)");
  Load();
  EXPECT_THAT(OwnTypes(), ElementsAre("self1", "self2"));
  EXPECT_THAT(BugTexts(), ElementsAre("File type \"self1\" (\"Self one\") refers recurrent to "
                                      "itself and is not linked to any CLSID"));
  EXPECT_EQ(Bug(0).Target, "SELF1");
}

TEST_F(ScanTest, PerceivedTypesCollectExtensions) {
  Import(R"(
[HKEY_CLASSES_ROOT\.txt]
@="txtfile"
"PerceivedType"="text"
[HKEY_CLASSES_ROOT\txtfile]
@="Text Document"
[HKEY_CLASSES_ROOT\.doc]
"PerceivedType"="document"
[HKEY_CLASSES_ROOT\.weird]
"PerceivedType"="nosuch"
[HKEY_CLASSES_ROOT\.bin]
"PerceivedType"=hex:01,02
[HKEY_CLASSES_ROOT\SystemFileAssociations\text]
[HKEY_CLASSES_ROOT\SystemFileAssociations\document]
@="Documents"
[HKEY_CLASSES_ROOT\SystemFileAssociations\.txt\shell\edit]
)");
  Load();
  TFileType* text = types.FindByName("SystemFileAssociations\\Text");
  ASSERT_NE(text, nullptr);
  EXPECT_TRUE(text->Predefined());
  EXPECT_EQ(text->PredefinedType(), ptypText);
  EXPECT_EQ(text->Description(), "Text files");
  EXPECT_EQ(text->Name(), "SystemFileAssociations\\Text");
  EXPECT_THAT(text->Extensions(), ElementsAre(".txt"));
  EXPECT_THAT(types.FindByName("txtfile")->Extensions(), ElementsAre(".txt"));
  // Not in the predefined table: an ordinary type once an extension names it.
  TFileType* document = types.FindByName("SystemFileAssociations\\document");
  ASSERT_NE(document, nullptr);
  EXPECT_FALSE(document->Predefined());
  EXPECT_EQ(document->Description(), "Documents");
  // SystemFileAssociations\.txt is analysed as a type and dropped: nothing points to it.
  EXPECT_EQ(types.FindByName("SystemFileAssociations\\.txt"), nullptr);
  EXPECT_THAT(BugTexts(),
              ElementsAre("Extension \".bin\" belongs to non-existing perceived file type \"\"",
                          "Extension \".weird\" belongs to non-existing perceived file type "
                          "\"nosuch\""));
  EXPECT_EQ(Bug(1).Kind, bkMissingPerceivedType);
  EXPECT_EQ(Bug(1).Target, "nosuch");
}

TEST_F(ScanTest, PredefinedTypesTakeTheirKeysIconAndClass) {
  Import(R"(
[HKEY_CLASSES_ROOT\Folder]
@="Ordner"
[HKEY_CLASSES_ROOT\Folder\DefaultIcon]
@="folder.dll,2"
[HKEY_CLASSES_ROOT\Drive\DefaultIcon]
@=""
[HKEY_CLASSES_ROOT\Drive\CLSID]
@="{33333333-0000-0000-0000-000000000000}"
[HKEY_CLASSES_ROOT\Printers\CLSID]
@="{33333333-0000-0000-0000-000000000000}"
[HKEY_CLASSES_ROOT\CLSID\{33333333-0000-0000-0000-000000000000}\LocalServer32]
@="drives.exe"
[HKEY_CLASSES_ROOT\Network]
)");
  Load();
  TFileType* folder = types.FindByName("folder");
  EXPECT_EQ(folder->Description(), "Ordner");
  EXPECT_EQ(folder->DefaultIcon(), "folder.dll,2");
  EXPECT_EQ(types.FindByName("Drive")->Description(), "All drives");
  EXPECT_EQ(types.FindByName("Drive")->DefaultIcon(), "drives.exe");
  // The table's icon holds unless the key's own icon value is there but empty.
  EXPECT_EQ(types.FindByName("Network")->DefaultIcon(), "shell32.dll,17");
  EXPECT_EQ(types.FindByName("Printers")->DefaultIcon(), "shell32.dll,16");
}

TEST_F(ScanTest, RootThatCannotBeOpenedRaisesAndStillRefreshesLinks) {
  Import(kTextTypes);
  Load();
  TFileTypeLink link;
  link.SetFileTypes(&types);
  link.SetFileType(types.FindByName("txtfile"));
  int refreshes = 0;
  link.OnRefresh = [&](TFileTypeLink*) { ++refreshes; };
  bool destroyed = false;
  link.OnDestroy = [&](TFileTypeLink*, TFileType*) { destroyed = true; };
  reg.DenyAccess("HKEY_CLASSES_ROOT");
  try {
    Load();
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message().rfind("Registry operation error (details: opening read-only "
                                "HKEY_CLASSES_ROOT\\; reason: ",
                                0),
              0u)
        << e.Message();
  }
  EXPECT_FALSE(types.Loading());
  EXPECT_EQ(types.Count(), 19);  // the predefined types made before the failure
  // The linked type is gone: the link detaches and hears OnDestroy instead.
  EXPECT_EQ(refreshes, 0);
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(link.FileTypes(), nullptr);
}

TEST_F(ScanTest, KeepsTheBugListsSortedState) {
  Import(R"(
[HKEY_CLASSES_ROOT\.b]
@="zzz"
[HKEY_CLASSES_ROOT\.a]
@="yyy"
)");
  bugs.SetSorted(true);
  bugs.Add("old entry");
  Load();
  EXPECT_TRUE(bugs.Sorted());
  EXPECT_THAT(BugTexts(),
              ElementsAre("Extension \".a\" belongs to non-existing file type \"yyy\"",
                          "Extension \".b\" belongs to non-existing file type \"zzz\""));
}

}  // namespace
}  // namespace orvane::testing
