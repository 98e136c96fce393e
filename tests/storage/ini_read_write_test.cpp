// Reading and writing values: blanks, inline comments, quotes, line breaks, new keys and
// sections, and the bytes that come out.

#include <gtest/gtest.h>

#include "ini_document_fixture.h"
#include "storage/orvane_ini_file.h"

namespace orvane {
namespace {

class IniReadWrite : public testing::IniDocumentTest {};

TEST_F(IniReadWrite, BlanksAroundEqualsAreNotPartOfNameOrValue) {
  TOrvaneIniFile& ini = Open("[S]\r\n  name  =  some value \t\r\nplain\r\n=empty name\r\n");
  EXPECT_EQ(ini.ReadString("S", "name", "?"), "some value");
  EXPECT_EQ(ini.ReadString("s", "NAME", "?"), "some value");
  EXPECT_EQ(ini.ReadString("S", "plain", "?"), "?");
  EXPECT_EQ(ini.ReadString("S", "", "?"), "empty name");
  ini.WriteString("S", "name", "other");
  EXPECT_EQ(Written(), "[S]\r\nname=other\r\nplain\r\n=empty name\r\n");
}

TEST_F(IniReadWrite, InlineCommentsAndQuotes) {
  TOrvaneIniFile& ini = Open(
      "[S]\n"
      "a=value ; comment\n"
      "b=\"quoted;not a comment\"\n"
      "c=\"quoted;kept\" ; cut\n"
      "d='single'\n"
      "e=\"mismatched'\n"
      "f=\"\n"
      "g=\n"
      "h=x;y\n");
  EXPECT_EQ(ini.ReadString("S", "a", "?"), "value");
  EXPECT_EQ(ini.ReadString("S", "b", "?"), "quoted;not a comment");
  EXPECT_EQ(ini.ReadString("S", "c", "?"), "quoted;kept");
  EXPECT_EQ(ini.ReadString("S", "d", "?"), "single");
  EXPECT_EQ(ini.ReadString("S", "e", "?"), "\"mismatched'");
  EXPECT_EQ(ini.ReadString("S", "f", "?"), "\"");
  EXPECT_EQ(ini.ReadString("S", "g", "?"), "");
  EXPECT_EQ(ini.ReadString("S", "h", "?"), "x");

  ini.SetStripComments(false);
  ini.SetStripQuotes(false);
  EXPECT_EQ(ini.ReadString("S", "a", "?"), "value ; comment");
  EXPECT_EQ(ini.ReadString("S", "d", "?"), "'single'");
}

TEST_F(IniReadWrite, RewriteKeepsInlineCommentAtItsColumn) {
  TOrvaneIniFile& ini = Open(
      "[S]\r\n"
      "a=value      ; about a\r\n"
      "b=v ; about b\r\n"
      "c=same ; unchanged\r\n");
  ini.WriteString("S", "a", "new");
  ini.WriteString("S", "b", "a much longer value");
  ini.WriteString("S", "c", "same");
  EXPECT_EQ(ini.ReadString("S", "a", "?"), "new");
  EXPECT_EQ(Written(),
            "[S]\r\n"
            "a=new        ; about a\r\n"
            "b=a much longer value ; about b\r\n"
            "c=same ; unchanged\r\n");
}

TEST_F(IniReadWrite, LongInlineCommentIsKeptWhole) {
  const std::string comment = "; " + std::string(400, 'c');
  TOrvaneIniFile& ini = Open("[S]\r\na=1 " + comment + "\r\n");
  ini.WriteString("S", "a", "2");
  EXPECT_EQ(Written(), "[S]\r\na=2 " + comment + "\r\n");
}

TEST_F(IniReadWrite, EqualValueLeavesDocumentUnmodified) {
  TOrvaneIniFile& ini = Open("[S]\r\na=1\r\n");
  ini.WriteString("S", "a", "1");
  EXPECT_FALSE(ini.Modified());
  // A new key written empty is no change either.
  ini.WriteString("New", "k", "");
  EXPECT_FALSE(ini.Modified());
  ini.WriteString("S", "a", "2");
  EXPECT_TRUE(ini.Modified());
}

TEST_F(IniReadWrite, NewKeyGoesAfterLastKeyBeforeClosingComments) {
  TOrvaneIniFile& ini = Open(
      "[S]\r\n"
      "a=1\r\n"
      "; about T\r\n"
      "\r\n"
      "[T]\r\n"
      "; only a comment\r\n"
      "[U]\r\n"
      "x=1\r\n");
  ini.WriteString("S", "b", "2");
  ini.WriteString("T", "t", "3");
  ini.WriteString("U", "y", "4");
  EXPECT_EQ(ini.ReadString("U", "x", "?"), "1");
  EXPECT_EQ(ini.ReadString("U", "y", "?"), "4");
  EXPECT_EQ(Written(),
            "[S]\r\na=1\r\nb=2\r\n; about T\r\n\r\n"
            "[T]\r\nt=3\r\n; only a comment\r\n"
            "[U]\r\nx=1\r\ny=4\r\n");
}

TEST_F(IniReadWrite, NewSectionIsAppendedAfterABlankLine) {
  TOrvaneIniFile& ini = Open("[S]\r\na=1");
  ini.WriteString("New", "k", "v");
  ini.WriteString("Newer", "k", "w");
  EXPECT_EQ(Written(), "[S]\r\na=1\r\n\r\n[New]\r\nk=v\r\n\r\n[Newer]\r\nk=w\r\n");

  TOrvaneIniFile& ended = Open("[S]\r\n\r\n");
  ended.WriteString("New", "k", "v");
  EXPECT_EQ(Written(), "[S]\r\n\r\n[New]\r\nk=v\r\n");

  TOrvaneIniFile& empty = Open("");
  empty.WriteString("New", "k", "v");
  EXPECT_EQ(Written(), "[New]\r\nk=v\r\n");
}

TEST_F(IniReadWrite, LineBreaksOfEveryKindAreWrittenAsCrLf) {
  TOrvaneIniFile& ini = Open("[S]\na=1\rb=2\r\nc=3\n\rd=4");
  EXPECT_EQ(ini.ReadString("S", "d", "?"), "4");
  ini.WriteString("S", "a", "0");
  // LF CR is two breaks: an empty line between c and d.
  EXPECT_EQ(Written(), "[S]\r\na=0\r\nb=2\r\nc=3\r\n\r\nd=4\r\n");
}

TEST_F(IniReadWrite, LfOnlyFileIsWrittenBackWithCrLf) {
  TOrvaneIniFile& ini = Open("; settings\n[S]\na=1\n\n[T]\nb=2\n");
  ini.WriteString("T", "b", "3");
  EXPECT_EQ(Written(), "; settings\r\n[S]\r\na=1\r\n\r\n[T]\r\nb=3\r\n");
}

TEST_F(IniReadWrite, NulByteEndsTheText) {
  TOrvaneIniFile& ini = Open(std::string("[S]\r\na=1\r\nb=2\0\r\nc=3\r\n", 21));
  EXPECT_EQ(ini.ReadString("S", "b", "?"), "2");
  EXPECT_EQ(ini.ReadString("S", "c", "?"), "?");
  EXPECT_EQ(ini.Lines().Count(), 3u);
}

TEST_F(IniReadWrite, HeaderNeedsClosingBracketAtTheEnd) {
  TOrvaneIniFile& ini = Open("[A] ; not a header\r\nk=1\r\n[ B ]\r\nk=2\r\n[\r\n");
  TIniStrings sections;
  ini.ReadSections(sections);
  EXPECT_EQ(sections, TIniStrings({" B "}));
  EXPECT_EQ(ini.ReadString(" b ", "k", "?"), "2");
  EXPECT_EQ(ini.ReadString("B", "k", "?"), "?");
}

// Key lines hold trimmed names, so a name with blanks at its ends must find that line
// rather than add another on every write.
TEST_F(IniReadWrite, KeyNameWithBlanksAtItsEndsFindsTheTrimmedKey) {
  TOrvaneIniFile& ini = Open("[S]\r\nk=1\r\n");
  ini.WriteString("S", " k ", "2");
  ini.WriteString("S", "\tk", "3");
  EXPECT_EQ(ini.ReadString("S", " k", "?"), "3");
  ini.DeleteKey("S", "k ");
  EXPECT_EQ(ini.ReadString("S", "k", "?"), "?");
  EXPECT_EQ(Written(), "[S]\r\n");
}

TEST_F(IniReadWrite, EmptyKeyWrites) {
  TOrvaneIniFile& ini = Open("[S]\r\na=1\r\n[T]\r\nb=2\r\n");
  ini.WriteString("S", "", "ignored");
  EXPECT_FALSE(ini.Modified());
  ini.WriteString("S", "", "");
  EXPECT_TRUE(ini.Modified());
  EXPECT_EQ(files_.Writes, 0);
  // Empty section, key and value: write the file now.
  ini.WriteString("", "", "");
  EXPECT_FALSE(ini.Modified());
  EXPECT_EQ(files_.Files["a.ini"], "[T]\r\nb=2\r\n");
}

TEST_F(IniReadWrite, IntegersAndFlags) {
  TOrvaneIniFile& ini = Open(
      "[S]\r\nhex=0x1F\r\nHEX=0XfF\r\ndollar=$10\r\nneg=-12\r\nspaced=  7\r\nbad=12a\r\n"
      "short=0x\r\nbig=99999999999\r\nallbits=$FFFFFFFF\r\nempty=\r\n");
  EXPECT_EQ(ini.ReadInteger("S", "hex", -1), 31);
  EXPECT_EQ(ini.ReadInteger("S", "HEX", -1), 31);  // first of the repeated name
  EXPECT_EQ(ini.ReadInteger("S", "dollar", -1), 16);
  EXPECT_EQ(ini.ReadInteger("S", "neg", -1), -12);
  EXPECT_EQ(ini.ReadInteger("S", "spaced", -1), 7);
  EXPECT_EQ(ini.ReadInteger("S", "bad", -1), -1);
  EXPECT_EQ(ini.ReadInteger("S", "short", -1), -1);
  EXPECT_EQ(ini.ReadInteger("S", "big", -1), -1);
  EXPECT_EQ(ini.ReadInteger("S", "allbits", 0), -1);
  EXPECT_EQ(ini.ReadInteger("S", "empty", 5), 5);
  EXPECT_EQ(ini.ReadInteger("S", "missing", 5), 5);
  ini.WriteInteger("S", "n", -2147483647 - 1);
  EXPECT_EQ(ini.ReadInteger("S", "n", 0), -2147483647 - 1);

  EXPECT_TRUE(ini.ReadBool("S", "hex", false));
  EXPECT_TRUE(ini.ReadBool("S", "missing", true));
  ini.WriteBool("S", "flag", false);
  EXPECT_EQ(ini.ReadString("S", "flag", ""), "0");
  EXPECT_FALSE(ini.ReadBool("S", "flag", true));
  ini.WriteBool("S", "flag", true);
  EXPECT_EQ(ini.ReadString("S", "flag", ""), "1");
}

TEST_F(IniReadWrite, AnsiLettersCompareWithoutCase) {
  TOrvaneIniFile& ini = Open("[\xC4rger]\r\n\xE9t\xE9=1\r\n");
  EXPECT_EQ(ini.ReadString("\xE4RGER", "\xC9T\xC9", "?"), "1");

  files_.Files["b.ini"] = "[S]\r\nKey=1\r\n";
  TOrvaneIniFile exact("b.ini", files_, TIniOptions{true, true});
  EXPECT_EQ(exact.ReadString("S", "key", "?"), "?");
  EXPECT_EQ(exact.ReadString("S", "Key", "?"), "1");
  TOrvaneIniFile ascii("b.ini", files_, TIniOptions{false, false});
  EXPECT_EQ(ascii.ReadString("s", "KEY", "?"), "1");
}

}  // namespace
}  // namespace orvane
