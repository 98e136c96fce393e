#include "filetypes/sorted_collection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "scan_fixture.h"

namespace orvane::testing {
namespace {

class Number : public TCollectionItem {
public:
  Number(TSortedCollection& owner, int value) : TCollectionItem(owner), value(value) {}
  int value;
};

class Numbers : public TSortedCollection {
public:
  Number* Add(int value) {
    return static_cast<Number*>(AddItem(std::make_unique<Number>(*this, value)));
  }
  int At(int index) const { return static_cast<Number*>(Item(index))->value; }
};

TEST(SortedCollection, QuicksortWithTheCompareProcedure) {
  Numbers numbers;
  std::mt19937 random(7);
  for (int i = 0; i < 500; ++i) numbers.Add(static_cast<int>(random() % 50));
  numbers.SetCompareProc([](TCollectionItem* a, TCollectionItem* b) {
    int x = static_cast<Number*>(a)->value;
    int y = static_cast<Number*>(b)->value;
    return x < y ? -1 : (x > y ? 1 : 0);
  });
  numbers.SetSorted(true);
  for (int i = 0; i < numbers.Count(); ++i) {
    EXPECT_EQ(numbers.Item(i)->Index(), i);
    if (i > 0) {
      EXPECT_LE(numbers.At(i - 1), numbers.At(i));
    }
  }
  // Without a compare procedure every pair compares as -1: the sort still ends, and
  // only exchanges items.
  std::vector<int> before;
  for (int i = 0; i < numbers.Count(); ++i) before.push_back(numbers.At(i));
  numbers.SetCompareProc({});
  numbers.Sort();
  std::vector<int> after;
  for (int i = 0; i < numbers.Count(); ++i) {
    EXPECT_EQ(numbers.Item(i)->Index(), i);
    after.push_back(numbers.At(i));
  }
  std::sort(after.begin(), after.end());
  EXPECT_EQ(after, before);
}

TEST(SortedCollection, MovesKeepIndexes) {
  Numbers numbers;
  for (int i = 0; i < 5; ++i) numbers.Add(i);
  numbers.Item(4)->SetIndex(1);
  EXPECT_EQ(numbers.At(1), 4);
  EXPECT_EQ(numbers.At(4), 3);
  numbers.Exchange(0, 4);
  EXPECT_EQ(numbers.At(0), 3);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(numbers.Item(i)->Index(), i);
  EXPECT_THROW(numbers.Item(5), Exception);
}

using FileTypeOrderTest = ScanTest;

TEST_F(FileTypeOrderTest, SortAgreesWithCompare) {
  std::string body;
  const char* descriptions[] = {"beta", "Beta", "alpha", "Alpha", "", "b", "B", "alpha"};
  for (int i = 0; i < 8; ++i) {
    const std::string type = "type" + std::to_string(i);
    body += "[HKEY_CLASSES_ROOT\\." + std::to_string(i) + "]\n@=\"" + type + "\"\n";
    body += "[HKEY_CLASSES_ROOT\\" + type + "]\n@=\"" + descriptions[i] + "\"\n";
  }
  Import(body);
  Load();
  ASSERT_EQ(types.Count(), 19 + 8);
  for (int i = 1; i < types.Count(); ++i) EXPECT_LE(types.Compare(i - 1, i), 0) << i;
  EXPECT_EQ(types.Items(19)->Description(), "alpha");
  EXPECT_EQ(types.Items(21)->Description(), "Alpha");
  EXPECT_EQ(types.Items(26)->Description(), "type4");
}

}  // namespace
}  // namespace orvane::testing
