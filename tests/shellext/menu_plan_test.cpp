// What the context menu shows of the dynamic items: the selection's types in order, the
// active entries only, nesting as in the program, tidy separators, a bounded number of
// commands.

#include "shellext/menu_plan.h"

#include <gtest/gtest.h>

#include <map>
#include <new>

#include "shellext/staged_menu.h"

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
  // What the limit leaves empty or at an edge goes too.
  EXPECT_EQ(Show(Menu({"0,i,A,1,t", "0,s,,1,t", "0,m,S,1,t", "3,i,B,1,t", "3,m,T,1,t",
                       "5,i,C,1,t"}),
                 {"t"}, 1),
            "A#0");
  EXPECT_EQ(Show(Menu({"0,m,S,1,t", "1,i,A,1,t", "1,s,,1,t", "1,i,B,1,t"}), {"t"}, 1), "S{A#0}");
  EXPECT_EQ(Show(Menu({"0,m,S,1,t", "1,i,A,1,t"}), {"t"}, 0), "");
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

// Menus as the window system keeps them, with a host menu (1) holding the host's own
// entries; the n-th insert or picture can be made to fail.
class TFakeMenus : public IMenuTarget {
public:
  TFakeMenus() { menus[1] = {"Open", "Copy"}; }
  void Prepare(const TDynamicItemRecord&) override {
    if (++prepares == throwAtPrepare) throw std::bad_alloc();
  }
  TMenuRef NewPopup() override {
    menus[next] = {};
    return next++;
  }
  void DestroyPopup(TMenuRef popup) override {
    for (const std::string& entry : menus.at(popup))
      if (entry[0] == '>') DestroyPopup(std::stoul(entry.substr(1)));
    menus.erase(popup);
  }
  bool Insert(TMenuRef menu, unsigned position, const TMenuEntry& entry) override {
    ++inserts;
    if (inserts == throwAtInsert) throw std::bad_alloc();
    if (inserts == refuseAtInsert) return false;
    auto& entries = menus.at(menu);
    std::string text = entry.Kind == TDynamicEntryKind::Separator ? "-"
                       : entry.Kind == TDynamicEntryKind::Submenu ? ">" + std::to_string(entry.Popup)
                                                                 : entry.Record->Caption;
    entries.insert(entries.begin() + position, text);
    return true;
  }
  void Remove(TMenuRef menu, unsigned position) override {
    auto& entries = menus.at(menu);
    entries.erase(entries.begin() + position);
  }
  std::string Outline(TMenuRef menu) const {
    std::string text;
    for (const std::string& entry : menus.at(menu))
      text += (text.empty() ? "" : ",") +
              (entry[0] == '>' ? "{" + Outline(std::stoul(entry.substr(1))) + "}" : entry);
    return text;
  }

  std::map<TMenuRef, std::vector<std::string>> menus;
  TMenuRef next = 2;
  int inserts = 0, prepares = 0, refuseAtInsert = 0, throwAtInsert = 0, throwAtPrepare = 0;
};

// Builds kMenu's plan for text files into the fake and puts it after the host's first
// entry; what the host's menu then holds.
bool Stage(TFakeMenus& menus, std::vector<const TDynamicItemRecord*>& commands) {
  static const auto records = ReadMenuFileText(kMenu).DynamicItems;
  TStagedMenu staged(menus);
  commands = ShowMenu(PlanMenu(records, {"*", "txtfile"}), staged, 100);
  return staged.CommitTo(1, 1);
}

TEST(StagedMenuTest, ComesWholeIntoTheHostsMenu) {
  TFakeMenus menus;
  std::vector<const TDynamicItemRecord*> commands;
  EXPECT_TRUE(Stage(menus, commands));
  EXPECT_EQ(menus.Outline(1), "Open,Any,Moved,{Edit,-,Print},Copy");
  EXPECT_EQ(commands.size(), 4u);
  EXPECT_EQ(menus.menus.size(), 2u);  // the host's and our one pop-up, now the host's
}

// Whichever insert or picture fails, refused or thrown, the host's menu is as it was and
// every pop-up of ours is gone.
TEST(StagedMenuTest, FailureAtAnyStepLeavesTheHostsMenuAsItWas) {
  TFakeMenus whole;
  std::vector<const TDynamicItemRecord*> commands;
  Stage(whole, commands);
  ASSERT_GT(whole.inserts, 0);
  for (int k = 1; k <= whole.inserts; ++k) {
    for (bool thrown : {false, true}) {
      TFakeMenus menus;
      (thrown ? menus.throwAtInsert : menus.refuseAtInsert) = k;
      bool committed = true;
      try {
        committed = Stage(menus, commands);
      } catch (const std::bad_alloc&) {
        committed = false;
      }
      EXPECT_FALSE(committed) << k;
      EXPECT_EQ(menus.Outline(1), "Open,Copy") << k << (thrown ? " thrown" : " refused");
      EXPECT_EQ(menus.menus.size(), 1u) << k;
    }
  }
  for (int k = 1; k <= whole.prepares; ++k) {
    TFakeMenus menus;
    menus.throwAtPrepare = k;
    EXPECT_THROW(Stage(menus, commands), std::bad_alloc);
    EXPECT_EQ(menus.Outline(1), "Open,Copy") << k;
    EXPECT_EQ(menus.menus.size(), 1u) << k;
  }
}

}  // namespace
}  // namespace orvane::testing
