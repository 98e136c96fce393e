// Lists in and out of a document: section and key lists, the document as lines, and
// documents without a file.

#include <gtest/gtest.h>

#include "memory_files.h"
#include "storage/orvane_ini_file.h"
#include "storage/storage_errors.h"

namespace orvane {
namespace {

TEST(IniLists, SectionKeysValuesAndExistence) {
  testing::TMemoryFiles files;
  files.Files["a.ini"] = "[S]\r\na=1 ; c\r\nnot a key\r\nb=\"2\"\r\n; note\r\n[T]\r\n";
  TOrvaneIniFile ini("a.ini", files);
  TIniStrings list{"stale"};
  ini.ReadSection("S", list);
  EXPECT_EQ(list, TIniStrings({"a", "b"}));
  ini.ReadSectionValues("S", list);
  EXPECT_EQ(list, TIniStrings({"a=1", "b=2"}));
  ini.ReadSection("T", list);
  EXPECT_TRUE(list.empty());
  ini.ReadSection("missing", list);
  EXPECT_TRUE(list.empty());
  EXPECT_TRUE(ini.ValueExists("S", "A"));
  EXPECT_FALSE(ini.ValueExists("S", "not a key"));
  EXPECT_FALSE(ini.ValueExists("T", "a"));
}

// Keys handed one by one are the listed ones, split as the list's readers split them:
// a document's own views, and the list of any other INI object taken apart.
TEST(IniLists, KeysHandedOneByOneAreTheListedOnes) {
  auto visited = [](TCustomIniFile& ini, const std::string& section) {
    TIniStrings seen;
    ini.ForEachSectionValue(section, [&seen](std::string_view name, std::string_view value) {
      seen.push_back(std::string(name) + "|" + std::string(value));
    });
    return seen;
  };
  testing::TMemoryFiles files;
  files.Files["a.ini"] = "[S]\r\na=1 ; c\r\nnot a key\r\nb=\"2\"\r\n[T]\r\n";
  TOrvaneIniFile ini("a.ini", files);
  EXPECT_EQ(visited(ini, "S"), TIniStrings({"a|1", "b|2"}));
  EXPECT_TRUE(visited(ini, "missing").empty());

  class TListedOnly : public TOrvaneIniFile {
  public:
    using TOrvaneIniFile::TOrvaneIniFile;
    void ReadSectionValues(const std::string&, TIniStrings& list) override {
      list = {"a=1", " b =x=y", "c", "=v"};
    }
    void ForEachSectionValue(const std::string& section, const TIniKeyVisitor& visit) override {
      TCustomIniFile::ForEachSectionValue(section, visit);
    }
  } listed;
  EXPECT_EQ(visited(listed, "S"), TIniStrings({"a|1", "b|x=y", "c|", "|v"}));
}

TEST(IniLists, GetAndSetStrings) {
  testing::TMemoryFiles files;
  files.Files["a.ini"] = "[S]\n a = 1 \n\n;c\n";
  TOrvaneIniFile ini("a.ini", files);
  TIniStrings lines{"kept"};
  ini.GetStrings(lines);
  // A line not looked at yet keeps its blanks around "=".
  EXPECT_EQ(lines, TIniStrings({"kept", "[S]", "a = 1", "", ";c"}));
  EXPECT_EQ(ini.ReadString("S", "a", "?"), "1");
  lines.clear();
  ini.GetStrings(lines);
  EXPECT_EQ(lines, TIniStrings({"[S]", "a=1", "", ";c"}));

  // The same lines change nothing; forced, they mark the document modified.
  ini.SetStrings({"[S]", "a=1", "", ";c"});
  EXPECT_FALSE(ini.Modified());
  ini.SetStrings({"[S]", "a=1", "", ";c"}, true);
  EXPECT_TRUE(ini.Modified());

  ini.SetStrings({"[S]", "a=2"});
  EXPECT_TRUE(ini.Loaded());
  EXPECT_EQ(ini.ReadString("S", "a", "?"), "2");
  ini.UpdateFile();
  EXPECT_EQ(files.Files["a.ini"], "[S]\r\na=2\r\n");

  EXPECT_GT(ini.CompareStrings({"a", "b"}, {"a"}), 0);
  EXPECT_LT(ini.CompareStrings({"z"}, {"a", "b"}), 0);
  EXPECT_LT(ini.CompareStrings({"a", "b"}, {"a", "c"}), 0);
  EXPECT_GT(ini.CompareStrings({"\xE0"}, {"a"}), 0);
  EXPECT_EQ(ini.CompareStrings({"a", "b"}, {"a", "b"}), 0);
}

TEST(IniLists, DocumentWithoutFile) {
  TOrvaneIniFile ini;
  EXPECT_EQ(ini.ReadString("S", "a", "?"), "?");
  EXPECT_TRUE(ini.Loaded());
  ini.WriteString("Clip", "Count", "2");
  TIniStrings lines;
  ini.GetStrings(lines);
  EXPECT_EQ(lines, TIniStrings({"[Clip]", "Count=2"}));

  TOrvaneIniFile parsed;
  parsed.SetStrings(lines);
  EXPECT_EQ(parsed.ReadInteger("Clip", "Count", 0), 2);
  // With no file to write to, flushing a modified document fails and keeps it.
  EXPECT_THROW(parsed.UpdateFile(), EFCreateError);
  EXPECT_TRUE(parsed.Modified());
  parsed.Clear();
  ini.Clear();
  EXPECT_FALSE(ini.Loaded());
  EXPECT_FALSE(ini.Modified());
}

}  // namespace
}  // namespace orvane
