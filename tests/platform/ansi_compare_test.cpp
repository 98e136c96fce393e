#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/ansi_case.h"

namespace orvane {
namespace {

const std::vector<std::string> kSamples = {"txtfile",
                                           "TXTFILE",
                                           "TxtFile",
                                           ".txt",
                                           ".TXT",
                                           "a",
                                           "A",
                                           "b",
                                           "B",
                                           "ab",
                                           "aB",
                                           "Ab",
                                           "AB",
                                           "",
                                           "abc",
                                           "abd",
                                           "a.b",
                                           "a\\b",
                                           "SystemFileAssociations\\image",
                                           "Bench type 10",
                                           "Bench type 9",
                                           "bench type 9",
                                           "z",
                                           "Z",
                                           "zz",
                                           "Zz",
                                           "1",
                                           "10",
                                           "9",
                                           "\xE4",
                                           "\xC4"};

int Sign(int value) { return (value > 0) - (value < 0); }

TEST(AnsiCompare, SortKeysOrderAsTheComparisons) {
  for (const auto& a : kSamples) {
    for (const auto& b : kSamples) {
      EXPECT_EQ(Sign(AnsiSortKeyText(a).compare(AnsiSortKeyText(b))), Sign(AnsiCompareText(a, b)))
          << a << " / " << b;
      EXPECT_EQ(Sign(AnsiSortKeyStr(a).compare(AnsiSortKeyStr(b))), Sign(AnsiCompareStr(a, b)))
          << a << " / " << b;
    }
  }
}

TEST(AnsiCase, UpperCaseOfTheCodePage) {
  EXPECT_EQ(AnsiUpperCase("txtfile.1"), "TXTFILE.1");
  EXPECT_EQ(AnsiUpperChar('\xE4'), '\xC4');
  EXPECT_EQ(AnsiUpperChar('\xFF'), '\x9F');
  EXPECT_EQ(AnsiUpperChar('\x9A'), '\x8A');
  EXPECT_EQ(AnsiUpperChar('\xF7'), '\xF7');
  EXPECT_EQ(AnsiUpperChar('\xDF'), '\xDF');
  EXPECT_TRUE(AnsiSameText("Text\xE4", "TEXT\xC4"));
}

TEST(AnsiCompare, CaseRules) {
  EXPECT_EQ(AnsiCompareText("txtfile", "TXTFILE"), 0);
  EXPECT_LT(AnsiCompareText("abc", "ABD"), 0);
  EXPECT_LT(AnsiCompareText("ab", "abc"), 0);
  EXPECT_NE(AnsiCompareStr("txtfile", "TXTFILE"), 0);
  EXPECT_LT(AnsiCompareStr("abc", "ABD"), 0);
  EXPECT_LT(AnsiCompareStr("a", "A"), 0);  // lower case first, as the system collates
  EXPECT_EQ(AnsiCompareText("\xE4", "\xC4"), 0);
}

}  // namespace
}  // namespace orvane
