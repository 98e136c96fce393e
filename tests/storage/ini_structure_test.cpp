// Sections and keys as structure: repeated names in plain and indexed documents, erasing
// sections, deleting keys, and key tables staying right while lines move.

#include <gtest/gtest.h>

#include "ini_document_fixture.h"
#include "storage/orvane_ini_file.h"
#include "storage/storage_errors.h"

namespace orvane {
namespace {

// A section of `keys` keys named k0, k1, ... with values "<prefix><n>".
std::string Section(const std::string& name, int keys, const std::string& prefix) {
  std::string text = "[" + name + "]\r\n";
  for (int i = 0; i < keys; ++i)
    text += "k" + std::to_string(i) + "=" + prefix + std::to_string(i) + "\r\n";
  return text;
}

class IniStructure : public testing::IniDocumentTest {};

TEST_F(IniStructure, RepeatedSectionsLaterOneIsFound) {
  TOrvaneIniFile& ini = Open("[S]\r\na=first\r\n[T]\r\n[s]\r\na=second\r\nb=2\r\n");
  EXPECT_EQ(ini.ReadString("S", "a", "?"), "second");
  TIniStrings list;
  ini.ReadSections(list);
  EXPECT_EQ(list, TIniStrings({"S", "T", "s"}));
  ini.ReadSection("S", list);
  EXPECT_EQ(list, TIniStrings({"a", "b"}));

  // Erasing the later one uncovers the earlier.
  ini.EraseSection("S");
  EXPECT_EQ(ini.ReadString("S", "a", "?"), "first");
  ini.WriteString("S", "c", "3");
  EXPECT_EQ(Written(), "[S]\r\na=first\r\nc=3\r\n[T]\r\n");
}

TEST_F(IniStructure, RepeatedKeysFirstWinsInPlainDocument) {
  TOrvaneIniFile& ini = Open("[S]\r\nk=1\r\nK=2\r\n");
  EXPECT_FALSE(ini.Lines().Indexed());
  EXPECT_EQ(ini.ReadString("S", "k", "?"), "1");
  TIniStrings values;
  ini.ReadSectionValues("S", values);
  EXPECT_EQ(values, TIniStrings({"k=1", "K=1"}));
  ini.WriteString("S", "k", "3");
  EXPECT_EQ(Written(), "[S]\r\nk=3\r\nK=2\r\n");
}

TEST_F(IniStructure, RepeatedKeysLastWinsInIndexedDocument) {
  // 300 lines a section is above the average that switches key tables on.
  TOrvaneIniFile& ini =
      Open(Section("A", 300, "a") + "k5=again\r\n" + Section("B", 300, "b") + "k7=again\r\n");
  EXPECT_TRUE(ini.Lines().Indexed());
  EXPECT_EQ(ini.ReadString("A", "k5", "?"), "again");
  EXPECT_EQ(ini.ReadString("A", "k6", "?"), "a6");
  EXPECT_EQ(ini.ReadString("B", "K7", "?"), "again");
  EXPECT_EQ(ini.ReadString("B", "k299", "?"), "b299");
  EXPECT_EQ(ini.ReadString("B", "k300", "?"), "?");
  TIniStrings values;
  ini.ReadSectionValues("A", values);
  EXPECT_EQ(values[5], "k5=again");

  // Writing changes the one that reads find; deleting takes the first.
  ini.WriteString("A", "k5", "changed");
  EXPECT_EQ(ini.ReadString("A", "k5", "?"), "changed");
  ini.DeleteKey("A", "k5");
  EXPECT_EQ(ini.ReadString("A", "k5", "?"), "changed");
  ini.DeleteKey("A", "k5");
  EXPECT_EQ(ini.ReadString("A", "k5", "?"), "?");
  EXPECT_TRUE(ini.Lines().Indexed());
}

TEST_F(IniStructure, IndexedLookupsStayRightWhileLinesMove) {
  TOrvaneIniFile& ini =
      Open(Section("A", 300, "a") + Section("B", 300, "b") + Section("C", 300, "c"));
  ASSERT_TRUE(ini.Lines().Indexed());
  // Build every key table, then move lines in front of B and C and inside B.
  EXPECT_EQ(ini.ReadString("B", "k10", "?"), "b10");
  EXPECT_EQ(ini.ReadString("C", "k10", "?"), "c10");
  for (int i = 0; i < 200; ++i) ini.WriteString("A", "new" + std::to_string(i), "x");
  EXPECT_EQ(ini.ReadString("B", "k10", "?"), "b10");
  EXPECT_EQ(ini.ReadString("C", "k299", "?"), "c299");
  ini.WriteString("B", "extra", "e");
  ini.DeleteKey("B", "k0");
  EXPECT_EQ(ini.ReadString("B", "extra", "?"), "e");
  EXPECT_EQ(ini.ReadString("B", "k1", "?"), "b1");
  EXPECT_EQ(ini.ReadString("B", "k0", "?"), "?");
  ini.EraseSection("A");
  EXPECT_EQ(ini.ReadString("A", "new3", "?"), "?");
  EXPECT_EQ(ini.ReadString("B", "k299", "?"), "b299");
  EXPECT_EQ(ini.ReadString("C", "k0", "?"), "c0");
  ini.WriteString("C", "k0", "changed");
  std::string text = Written();
  EXPECT_EQ(text.substr(0, 4), "[B]\r");
  EXPECT_NE(text.find("extra=e\r\n[C]\r\nk0=changed\r\n"), std::string::npos);
}

TEST_F(IniStructure, EraseSectionLeavesClosingCommentToNextSection) {
  // A comment, with or without one blank line after it, stays.
  TOrvaneIniFile& ini = Open("[A]\r\na=1\r\n; about B\r\n\r\n[B]\r\nb=1\r\n");
  ini.EraseSection("A");
  EXPECT_EQ(Written(), "; about B\r\n\r\n[B]\r\nb=1\r\n");

  Open("[A]\r\na=1\r\n; about B\r\n[B]\r\nb=1\r\n").EraseSection("A");
  EXPECT_EQ(Written(), "; about B\r\n[B]\r\nb=1\r\n");

  // A second blank line draws the comment in.
  Open("[A]\r\na=1\r\n; about A\r\n\r\n\r\n[B]\r\nb=1\r\n").EraseSection("A");
  EXPECT_EQ(Written(), "[B]\r\nb=1\r\n");

  // A blank line straight after a key goes with the section.
  Open("[A]\r\na=1\r\n\r\n[B]\r\nb=1\r\n").EraseSection("A");
  EXPECT_EQ(Written(), "[B]\r\nb=1\r\n");

  // A comment between keys goes; one at the end of the file stays.
  Open("x=before\r\n[A]\r\n; inner\r\na=1\r\n; tail\r\n").EraseSection("a");
  EXPECT_EQ(Written(), "x=before\r\n; tail\r\n");
}

TEST_F(IniStructure, EraseMissingSectionOnlyMarksModified) {
  TOrvaneIniFile& ini = Open("[A]\r\na=1\r\n");
  ini.EraseSection("B");
  EXPECT_TRUE(ini.Modified());
  EXPECT_EQ(Written(), "[A]\r\na=1\r\n");
}

TEST_F(IniStructure, DeleteKeyAndStatistics) {
  TOrvaneIniFile& ini = Open("; c\r\n[A]\r\na=1\r\ntext\r\nb=2\r\n\r\n[B]\r\nb=3\r\n");
  TStatistics stats = ini.Lines().Statistics();
  EXPECT_EQ(stats.Comments, 1u);
  EXPECT_EQ(stats.Sections, 2u);
  EXPECT_EQ(stats.Blanks, 1u);
  EXPECT_EQ(stats.Others, 4u);
  ini.DeleteKey("A", "missing");
  EXPECT_FALSE(ini.Modified());
  ini.DeleteKey("A", "a");
  EXPECT_TRUE(ini.Modified());
  EXPECT_EQ(ini.Lines().Statistics().Others, 3u);
  EXPECT_EQ(ini.ReadString("B", "b", "?"), "3");
  ini.EraseSection("A");
  stats = ini.Lines().Statistics();
  EXPECT_EQ(stats.Sections, 1u);
  EXPECT_EQ(stats.Blanks, 0u);
  EXPECT_EQ(stats.Others, 1u);
  EXPECT_EQ(Written(), "; c\r\n[B]\r\nb=3\r\n");
}

TEST_F(IniStructure, LineIndexOutsideDocumentRaises) {
  TOrvaneIniFile& ini = Open("[A]\r\n");
  EXPECT_EQ(ini.Lines().Item(0).Text, "[A]");
  try {
    ini.Lines().Item(1);
    FAIL() << "no exception";
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (1)");
  }
}

}  // namespace
}  // namespace orvane
