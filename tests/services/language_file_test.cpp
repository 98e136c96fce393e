// The language file reader: what a file translates, and how far a damaged one is read.

#include "services/language_file.h"

#include <gtest/gtest.h>

#include "platform/locale_system.h"

namespace orvane {
namespace {

std::string File(const std::string& body) {
  return std::string(kLanguageSignature) + "\r\n" + body;
}

TLanguageFile Parse(const std::string& data) {
  return ParseLanguageFile(data, "C:\\Orvane\\languages\\Orvane.1031.lng", DefaultLocaleSystem());
}

TEST(LanguageFile, ReadsClassSectionsAndMessageTexts) {
  const TLanguageFile file = Parse(File(
      "; a comment\r\n"
      "Codepage=1252\r\n"
      "\r\n"
      "[TfrmMain]\r\n"
      "btnCancel.Caption='Abbrechen'\r\n"
      "btnOK.Hint{the OK button}='|OK'#13'Schlie''t'\r\n"
      "(x)spbOld.Caption='weg'\r\n"
      "(!)spbNew.Caption='new'\r\n"
      "(comment)='ignored'\r\n"
      "[TfrmAbout]\r\n"
      "lblTitle.Caption='Info' + 'zeile'\r\n"
      "[ResourceStrings]\r\n"
      "64693_SLangDefault='Standard'\r\n"
      "64401_SOSNotSupported='Nicht unterst'#252'tzt'\r\n"));
  EXPECT_TRUE(file.Complete);
  EXPECT_EQ(file.CodePage, 1252u);
  ASSERT_EQ(file.Forms.size(), 2u);
  const TResForm* main = file.Form("TfrmMain");
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(main->Paths, (std::vector<std::string>{"btnCancel.Caption", "btnOK.Hint"}));
  EXPECT_EQ(main->Values, (std::vector<std::string>{"Abbrechen", "|OK\rSchlie't"}));
  // A character outside the runs ends a line.
  EXPECT_EQ(file.Form("TfrmAbout")->Values, (std::vector<std::string>{"Info\rzeile"}));
  ASSERT_EQ(file.ResStrings.size(), 2u);
  EXPECT_EQ(file.ResStrings[0], (std::pair<MessageId, std::string>{64401, "Nicht unterst\xFCtzt"}));
  EXPECT_EQ(file.ResStrings[1], (std::pair<MessageId, std::string>{64693, "Standard"}));
  // Marked lines are reported and left out; the reading goes on.
  ASSERT_EQ(file.Problems.size(), 2u);
  EXPECT_NE(file.Problems[0].find("Obsolete line"), std::string::npos);
  EXPECT_NE(file.Problems[1].find("Untranslated line"), std::string::npos);
}

TEST(LanguageFile, PlainValuesWithTheirDivider) {
  const TLanguageFile file = Parse(File(
      "Humanize=1\r\nHumanizeDivider=|\r\n[TfrmMain]\r\nlblF1Hint.Caption=A|B 'x'\r\n"
      "[RESOURCESTRINGS]\r\n64404_SLoadingTitle=eins|zwei\r\n"));
  EXPECT_EQ(file.Form("TfrmMain")->Values[0], "A\rB 'x'");
  EXPECT_EQ(file.ResStrings[0].second, "eins\r\nzwei");
}

TEST(LanguageFile, WrongSignatureOrCodePageReadsNothing) {
  for (const std::string& data :
       {std::string(), std::string("[TfrmMain]\r\nbtnOK.Caption='x'\r\n"),
        std::string("\xEF\xBB\xBF") + "; Another program's file\r\n[TfrmMain]\r\nbtnOK.Caption='x'\r\n"}) {
    const TLanguageFile file = Parse(data);
    EXPECT_FALSE(file.Complete);
    EXPECT_TRUE(file.Forms.empty());
    ASSERT_EQ(file.Problems.size(), 1u);
    EXPECT_NE(file.Problems[0].find("Bad signature"), std::string::npos);
  }
  for (const char* codePage : {"Codepage=cyrillic", "Codepage=4294968548", "Codepage=99999",
                               "Codepage="}) {
    const TLanguageFile file =
        Parse(File(std::string(codePage) + "\r\n[TfrmMain]\r\nbtnOK.Caption='x'\r\n"));
    EXPECT_FALSE(file.Complete) << codePage;
    EXPECT_TRUE(file.Forms.empty()) << codePage;
    EXPECT_NE(file.Problems.at(0).find("Bad codepage"), std::string::npos) << codePage;
  }
}

TEST(LanguageFile, FatalLineKeepsWhatCameBefore) {
  for (const char* fatal : {"[(x)TfrmGone]", "=no path", "no equals sign", "btnApply.Caption='open"}) {
    const TLanguageFile file = Parse(File(std::string("[TfrmMain]\r\nbtnOK.Caption='Gut'\r\n") +
                                          fatal + "\r\nbtnCancel.Caption='Abbrechen'\r\n"));
    EXPECT_FALSE(file.Complete) << fatal;
    ASSERT_NE(file.Form("TfrmMain"), nullptr);
    EXPECT_EQ(file.Form("TfrmMain")->Values, std::vector<std::string>{"Gut"}) << fatal;
    EXPECT_EQ(file.Problems.size(), 1u) << fatal;
  }
}

TEST(LanguageFile, MessageTextsSortedForTheLookupFirstOneKept) {
  const TLanguageFile file = Parse(File(
      "[RESOURCESTRINGS]\r\n64620_A='drei'\r\n64401_B='eins'\r\n64401_C='doppelt'\r\n"
      "abc_D='kaputt'\r\n70000_E='zu gross'\r\n64500='ohne Namen'\r\n(x)64405_F='alt'\r\n"));
  EXPECT_TRUE(file.Complete);
  ASSERT_EQ(file.ResStrings.size(), 3u);
  EXPECT_EQ(file.ResStrings[0], (std::pair<MessageId, std::string>{64401, "eins"}));
  EXPECT_EQ(file.ResStrings[1].first, 64500);
  EXPECT_EQ(file.ResStrings[2].first, 64620);
  ASSERT_EQ(file.Problems.size(), 2u);
  EXPECT_NE(file.Problems[0].find("Bad resource ID in language file: \"abc\""), std::string::npos);
  EXPECT_NE(file.Problems[1].find("You have to delete it!"), std::string::npos);
}

TEST(LanguageFile, OverLongTextsAreLeftOut) {
  const std::string longValue = "'" + std::string(kMaxLanguageText + 1, 'x') + "'";
  const TLanguageFile file = Parse(File("[TfrmMain]\r\nbtnOK.Caption=" + longValue +
                                        "\r\n" + std::string(kMaxLanguagePath + 1, 'p') +
                                        ".Caption='x'\r\nbtnCancel.Caption='Nein'\r\n"));
  EXPECT_TRUE(file.Complete);
  EXPECT_EQ(file.Form("TfrmMain")->Paths, std::vector<std::string>{"btnCancel.Caption"});
  EXPECT_EQ(file.Problems.size(), 2u);

  const TLanguageFile big = Parse(File(std::string(kMaxLanguageFileSize, ';')));
  EXPECT_FALSE(big.Complete);
  EXPECT_TRUE(big.Forms.empty());
}

TEST(LanguageFile, ProblemsBeyondTheLimitAreCounted) {
  std::string body = "[TfrmMain]\r\n";
  for (std::size_t i = 0; i < kMaxLanguageProblems + 7; ++i) body += "(!)x.Caption='y'\r\n";
  const TLanguageFile file = Parse(File(body));
  EXPECT_EQ(file.Problems.size(), kMaxLanguageProblems);
  EXPECT_EQ(file.ProblemsLeftOut, 7u);
}

TEST(LanguageFile, Utf8TextsInTheAnsiCodePage) {
  // "Schließen" and a euro sign; a character 1252 lacks becomes "?".
  const TLanguageFile file = Parse("\xEF\xBB\xBF" + File(
      "[TfrmMain]\r\nbtnOK.Caption='Schlie\xC3\x9F" "en \xE2\x82\xAC \xD0\x96'\r\n"));
  EXPECT_EQ(file.CodePage, 65001u);
  EXPECT_EQ(file.Form("TfrmMain")->Values[0], "Schlie\xDF" "en \x80 ?");
}

}  // namespace
}  // namespace orvane
