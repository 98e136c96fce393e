// What the context menu shows of the dynamic items: the selection's types in order, the
// active entries only, nesting as in the program, tidy separators, a bounded number of
// commands.

#include "shellext/menu_plan.h"

#include <gtest/gtest.h>

namespace orvane::testing {
namespace {

// The menu as text: captions, "-" for separators, submenus in braces.
class TOutline : public IMenuSink {
public:
  void AddItem(const TDynamicItemRecord& record, int command) override {
    Add(record.Caption + "#" + std::to_string(command));
  }
  void AddSeparator() override { Add("-"); }
  void BeginSubmenu(const TDynamicItemRecord& record) override {
    Add(record.Caption + "{");
    first = true;
  }
  void EndSubmenu() override {
    text += "}";
    first = false;
  }
  void Add(const std::string& part) {
    if (!first && !text.empty()) text += ",";
    text += part;
    first = false;
  }
  std::string text;
  bool first = true;
};

// "P,Kind,Caption,Checked,Type" per line: P the parent's number, Kind i, s or m.
std::string Menu(std::initializer_list<std::string> entries) {
  std::string text = "[Dynamic Items]\r\n";
  int n = 0;
  for (const std::string& entry : entries) {
    ++n;
    std::string k = std::to_string(n);
    std::vector<std::string> f;
    std::size_t start = 0;
    for (std::size_t comma; (comma = entry.find(',', start)) != std::string::npos; start = comma + 1)
      f.push_back(entry.substr(start, comma - start));
    f.push_back(entry.substr(start));
    text += "Parent" + k + "=" + f[0] + "\r\nCaption" + k + "=" + f[2] + "\r\nApplication" + k +
            "=a.exe\r\nChecked" + k + "=" + f[3] + "\r\nFileType" + k + "=" + f[4] + "\r\n";
    if (f[1] == "s") text += "IsSeparator" + k + "=1\r\n";
    if (f[1] == "m") text += "Submenu" + k + "=1\r\n";
  }
  return text + "Count=" + std::to_string(n) + "\r\n";
}

std::string Show(const std::string& file, const std::vector<std::string>& types,
                 int maxCommands = 100) {
  auto records = ReadMenuFileText(file).DynamicItems;
  TOutline outline;
  ShowMenu(PlanMenu(records, types), outline, maxCommands);
  return outline.text;
}

const std::string kMenu = Menu({
    "0,i,Any,1,*",               // 1
    "0,m,Tools,1,txtfile",       // 2
    "2,i,Edit,1,txtfile",        // 3
    "2,s,,1,txtfile",            // 4
    "2,i,Off,0,txtfile",         // 5
    "2,m,Hidden,0,txtfile",      // 6
    "6,i,Under hidden,1,txtfile",// 7
    "2,i,Print,1,txtfile",       // 8
    "2,i,Moved,1,*",             // 9: another type than its submenu's
    "0,i,Folder item,1,Directory",  // 10
    "0,m,Empty,1,txtfile",       // 11
    "11,i,Off too,0,txtfile",    // 12
    "0,s,,1,txtfile",            // 13: ends the menu
});

TEST(MenuPlanTest, ActiveItemsOfTheSelectionTypesNestAsInTheProgram) {
  EXPECT_EQ(Show(kMenu, {"*", "txtfile"}), "Any#0,Moved#1,Tools{Edit#2,-,Print#3}");
  EXPECT_EQ(Show(kMenu, {"TXTFILE"}), "Tools{Edit#0,-,Print#1}");
  EXPECT_EQ(Show(kMenu, {"Directory"}), "Folder item#0");
  EXPECT_EQ(Show(kMenu, {"exefile"}), "");
}

TEST(MenuPlanTest, SeparatorsAtEdgesOrInRowsAreLeftOut) {
  EXPECT_EQ(Show(Menu({"0,s,,1,t", "0,i,A,1,t", "0,s,,1,t", "0,s,,1,t", "0,i,B,1,t",
                       "0,s,,1,t"}),
                 {"t"}),
            "A#0,-,B#1");
}

TEST(MenuPlanTest, CommandsStopAtTheHostsLimit) {
  EXPECT_EQ(Show(Menu({"0,i,A,1,t", "0,m,S,1,t", "2,i,B,1,t", "0,i,C,1,t"}), {"t"}, 2),
            "A#0,S{B#1}");
}

TEST(MenuPlanTest, DeepNestingIsShownWhole) {
  std::vector<std::string> entries;
  std::string expected;
  for (int n = 1; n <= kMaxMenuDepth; ++n) {
    entries.push_back(std::to_string(n - 1) + ",m,S,1,t");
    expected += "S{";
  }
  std::string file = "[Dynamic Items]\r\n";
  for (int n = 1; n <= kMaxMenuDepth; ++n) {
    std::string k = std::to_string(n);
    file += "Parent" + k + "=" + std::to_string(n - 1) + "\r\nCaption" + k + "=S\r\nChecked" + k +
            "=1\r\nFileType" + k + "=t\r\nSubmenu" + k + "=1\r\n";
  }
  std::string k = std::to_string(kMaxMenuDepth + 1);
  file += "Parent" + k + "=" + std::to_string(kMaxMenuDepth) + "\r\nCaption" + k +
          "=Leaf\r\nApplication" + k + "=a\r\nChecked" + k + "=1\r\nFileType" + k + "=t\r\n";
  file += "Count=" + k + "\r\n";
  // The leaf stands one level too deep and is not read, so every submenu is empty.
  EXPECT_EQ(Show(file, {"t"}), "");
}

}  // namespace
}  // namespace orvane::testing
