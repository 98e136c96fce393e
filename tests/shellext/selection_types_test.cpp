// The types of the selected objects, from their names and the registry as the program's
// scan files extensions: own type, newest version, perceived type, unknown files.

#include "shellext/selection_types.h"

#include <gtest/gtest.h>

#include "platform/memory_registry.h"
#include "platform/reg_text.h"

namespace orvane::testing {
namespace {

const char* kClasses = R"(REGEDIT4

[HKEY_CLASSES_ROOT\.txt]
@="txtfile"
"PerceivedType"="text"

[HKEY_CLASSES_ROOT\txtfile]
@="Text Document"

[HKEY_CLASSES_ROOT\.doc]
@="Word.Document.8"

[HKEY_CLASSES_ROOT\Word.Document.8\CurVer]
@="Word.Document.12"

[HKEY_CLASSES_ROOT\Word.Document.12]

[HKEY_CLASSES_ROOT\.old]
@="gone"

[HKEY_CLASSES_ROOT\.cls]
@="CLSID\\{00000000-0000-0000-0000-000000000001}"

[HKEY_CLASSES_ROOT\.loop]
@="LoopA"

[HKEY_CLASSES_ROOT\LoopA\CurVer]
@="LoopB"

[HKEY_CLASSES_ROOT\LoopB\CurVer]
@="LoopA"
)";

using TTypes = std::vector<std::string>;

// An object as the module's reader makes it, for a path in ASCII.
TSelectedObject Object(TObjectKind kind, const std::string& path) {
  TSelectedObject object{kind, std::u16string(path.begin(), path.end()), {}};
  std::u16string extension = PathExtension(object.Path);
  object.Extension.assign(extension.begin(), extension.end());
  return object;
}

class SelectionTypesTest : public ::testing::Test {
protected:
  SelectionTypesTest() { ImportRegText(memory, kClasses); }
  TTypes File(const std::string& path) { return ObjectTypes(view, Object(TObjectKind::File, path)); }

  TMemoryRegistry memory;
  // The module always names its view; the in-memory registry has only one.
  TRegistryView view{memory, kKeyWow64_32Key};
};

TEST_F(SelectionTypesTest, FilesTakeTheTypesTheScanGivesTheirExtension) {
  struct {
    const char* path;
    TTypes types;
  } cases[] = {
      {"C:\\dir\\notes.TXT", {"*", "AllFileSystemObjects", "SystemFileAssociations\\text", "txtfile"}},
      {"C:\\a.b\\README", {"*", "AllFileSystemObjects", "Unknown"}},
      {"C:\\report.doc", {"*", "AllFileSystemObjects", "Word.Document.12"}},
      {"C:\\x.old", {"*", "AllFileSystemObjects", "Unknown"}},
      {"C:\\x.cls", {"*", "AllFileSystemObjects"}},
      {"C:\\trailing.", {"*", "AllFileSystemObjects", "Unknown"}},
  };
  for (const auto& c : cases) EXPECT_EQ(File(c.path), c.types) << c.path;
  TTypes loop = File("C:\\x.loop");  // versions naming each other end
  ASSERT_EQ(loop.size(), 3u);
  EXPECT_TRUE(loop[2] == "LoopA" || loop[2] == "LoopB");
}

TEST_F(SelectionTypesTest, OtherObjectsTakeTheirSpecialTypes) {
  EXPECT_EQ(ObjectTypes(view, Object(TObjectKind::Folder, "C:\\dir.txt")),
            (TTypes{"AllFileSystemObjects", "Folder", "Directory"}));
  EXPECT_EQ(ObjectTypes(view, Object(TObjectKind::Drive, "D:\\")), (TTypes{"Folder", "Drive"}));
  EXPECT_EQ(ObjectTypes(view, Object(TObjectKind::Background, "C:\\dir")),
            (TTypes{"Directory\\Background"}));
  EXPECT_TRUE(IsDriveRoot(u"d:\\"));
  EXPECT_TRUE(IsDriveRoot(u"D:"));
  EXPECT_FALSE(IsDriveRoot(u"D:\\x"));
  EXPECT_FALSE(IsDriveRoot(u"\\\\server\\share"));
}

// Several objects show what fits each of them.
TEST_F(SelectionTypesTest, MixedSelectionSharesOnlyCommonTypes) {
  std::vector<TSelectedObject> textAndDoc = {Object(TObjectKind::File, "a.txt"), Object(TObjectKind::File, "b.doc")};
  EXPECT_EQ(SelectionTypes(view, textAndDoc), (TTypes{"*", "AllFileSystemObjects"}));
  std::vector<TSelectedObject> twoTexts = {Object(TObjectKind::File, "a.txt"), Object(TObjectKind::File, "B.TXT")};
  EXPECT_EQ(SelectionTypes(view, twoTexts).size(), 4u);
  std::vector<TSelectedObject> fileAndFolder = {Object(TObjectKind::File, "a.txt"),
                                                Object(TObjectKind::Folder, "C:\\d")};
  EXPECT_EQ(SelectionTypes(view, fileAndFolder), (TTypes{"AllFileSystemObjects"}));
  EXPECT_TRUE(SelectionTypes(view, {}).empty());
}

// The registry is asked per kind of object and extension, not per object: 10,000
// selected files of one type cost what one does.
TEST(SelectionTypesLookupTest, EachExtensionIsLookedUpOncePerSelection) {
  class TCountingRegistry : public TMemoryRegistry {
  public:
    ErrorCode OpenKey(HKey parent, const std::string& subKey, std::uint32_t access,
                      HKey& result) override {
      ++opens;
      return TMemoryRegistry::OpenKey(parent, subKey, access, result);
    }
    int opens = 0;
  } counting;
  ImportRegText(counting, kClasses);
  TRegistryView view{counting, kKeyWow64_32Key};
  auto opensFor = [&](const std::vector<TSelectedObject>& objects) {
    counting.opens = 0;
    SelectionTypes(view, objects);
    return counting.opens;
  };
  const int one = opensFor({Object(TObjectKind::File, "C:\\a.txt")});
  const int doc = opensFor({Object(TObjectKind::File, "C:\\a.doc")});
  ASSERT_GT(one, 0);
  std::vector<TSelectedObject> many;
  for (int k = 0; k < 10000; ++k)
    many.push_back(Object(TObjectKind::File, "C:\\f" + std::to_string(k) + (k % 2 ? ".txt" : ".TXT")));
  EXPECT_EQ(opensFor(many), one);
  many.push_back(Object(TObjectKind::File, "C:\\b.doc"));
  EXPECT_EQ(opensFor(many), one + doc);
  // Types still narrow as before: the document leaves the types both share.
  EXPECT_EQ(SelectionTypes(view, many), (TTypes{"*", "AllFileSystemObjects"}));
}

// The handler keeps one object of each kind and extension; the types of those are the
// types of the whole selection, in the same order.
TEST_F(SelectionTypesTest, KindsOfASelectionGiveItsTypes) {
  const std::vector<std::vector<TSelectedObject>> selections = {
      {Object(TObjectKind::File, "C:\\a.txt"), Object(TObjectKind::File, "C:\\b.TXT"),
       Object(TObjectKind::File, "C:\\c.txt")},
      {Object(TObjectKind::File, "C:\\a.doc"), Object(TObjectKind::File, "C:\\b.txt"),
       Object(TObjectKind::File, "C:\\c.doc")},
      {Object(TObjectKind::Folder, "C:\\d.txt"), Object(TObjectKind::File, "C:\\a.txt"),
       Object(TObjectKind::Folder, "C:\\e")},
      {Object(TObjectKind::File, "C:\\README"), Object(TObjectKind::File, "C:\\x.old")},
      {Object(TObjectKind::Drive, "D:\\"), Object(TObjectKind::Folder, "C:\\e")},
  };
  const std::size_t kinds[] = {1, 2, 2, 2, 2};
  for (std::size_t k = 0; k < selections.size(); ++k) {
    TSelectionKinds selection;
    for (const TSelectedObject& object : selections[k])
      selection.Add(object.Kind, object.Extension);
    EXPECT_EQ(selection.Count(), selections[k].size());
    EXPECT_EQ(selection.Objects().size(), kinds[k]) << k;
    EXPECT_EQ(SelectionTypes(view, selection.Objects()), SelectionTypes(view, selections[k])) << k;
  }
  TSelectionKinds none;
  EXPECT_EQ(none.Count(), 0u);
  EXPECT_TRUE(SelectionTypes(view, none.Objects()).empty());
}

}  // namespace
}  // namespace orvane::testing
