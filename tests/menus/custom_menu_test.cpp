// The common menu: categories made and found by file type, item order, moves between
// file types, numbering lookups, the modified mark and the load frame.

#include "menus/custom_menu.h"

#include <gtest/gtest.h>

#include "menu_fixture.h"
#include "platform/messages.h"

namespace orvane::testing {
namespace {

using Menu = MenuTest;

template <class F>
void ExpectMenuError(F action, MessageId id) {
  try {
    action();
    ADD_FAILURE() << "no error";
  } catch (const EMenuError& e) {
    EXPECT_EQ(e.Message(), LoadResString(id));
  }
}

TEST_F(Menu, NewItemsCarryTheDefaults) {
  TCustomMenuItem* item = static_cast<TCustomMenuItem*>(menu.List().AddFirstItem(menu.Items()));
  EXPECT_EQ(item->Caption(), "new item");
  EXPECT_EQ(item->Parameters(), "\"%1\"");
  EXPECT_EQ(item->Application(), "");
  EXPECT_TRUE(item->Checked());
  EXPECT_EQ(item->Number(), 0);
}

TEST_F(Menu, AddingAtTheTopGoesToTheFirstFileTypeInFileTypeOrder) {
  AddItem(Type(3), "d");
  AddItem(Type(1), "b");
  EXPECT_EQ(CategoryNames(), (std::vector<std::string>{"beta", "delta"}));

  TCustomMenuItem* first = AddItem(menu.Items(), "a");
  EXPECT_EQ(first->ItemFileType(), Type(0));
  EXPECT_EQ(CategoryNames(), (std::vector<std::string>{"alpha", "beta", "delta"}));
  AddItem(menu.Items(), "a2");
  EXPECT_EQ(menu.Items().Count(), 3) << "one category per file type";
  EXPECT_EQ(menu.Items()[0]->Items().Count(), 2);
}

TEST_F(Menu, ShapeViolationsRaiseTheirTextsAndChangeNothing) {
  TCustomMenuItem* item = AddItem(Type(0), "a");
  auto* sub = static_cast<TCustomMenuItem*>(menu.List().AddSubMenu(item->Category()->Items()));

  ExpectMenuError([&] { menu.List().AddFirstItem(item->Items()); }, msg::SSubitemForMenuItem);
  ExpectMenuError([&] { menu.List().AddMenuItem(item->Items(), TTreeItemClass::Of<TTreeItem>()); },
                  msg::SInvalidTreeItemClass);
  ExpectMenuError([&] { menu.AddNode(menu.Items(), TTreeItemClass::Of<TestItem>()); },
                  msg::SItemToTopLevel);
  ExpectMenuError([&] { menu.AddNode(item->Items(), TTreeItemClass::Of<TFileTypeCategory>()); },
                  msg::SCategoryForItem);
  ExpectMenuError([&] { sub->MoveTo(menu.Items()); }, msg::SItemToTopLevel);
  ExpectMenuError([&] { item->Category()->MoveTo(sub->Items()); }, msg::SCategoryForItem);
  EXPECT_EQ(menu.Items().Count(), 1);
  EXPECT_EQ(item->Category()->Items().Count(), 2);
  EXPECT_EQ(item->Items().Count(), 0);

  menu.List().AddFirstItem(sub->Items());  // a submenu takes items
  EXPECT_EQ(sub->Items().Count(), 1);

  TestMenu bare(nullptr);
  ExpectMenuError([&] { bare.List().AddFirstItem(bare.Items()); }, msg::SFileTypesNotSet);
  TFileTypes none;
  TestMenu empty(&none);
  ExpectMenuError([&] { empty.List().AddFirstItem(empty.Items()); }, msg::SFileTypesNotSet);
  EXPECT_EQ(bare.Items().Count() + empty.Items().Count(), 0);
}

TEST_F(Menu, AFailedItemTakesItsNewCategoryBack) {
  menu.OnItemAdded = [](TTreeItem* node) {
    if (dynamic_cast<TCustomMenuItem*>(node)) throw Exception("refused");
  };
  EXPECT_THROW(menu.List().AddFirstItem(menu.Items()), Exception);
  EXPECT_EQ(menu.Items().Count(), 0);
}

TEST_F(Menu, ItemsSortFromTheLastCaptionToTheFirstWithoutAccessKeys) {
  TTreeItems& list = AddItem(Type(0), "b")->Category()->Items();
  list.Sort();
  EXPECT_EQ(Captions(list), (std::vector<std::string>{"b"}));
  AddItem(list, "c");
  list.Sort();
  EXPECT_EQ(Captions(list), (std::vector<std::string>{"c", "b"}));
  AddItem(list, "a");
  AddItem(list, "&Zeta");
  AddItem(list, "&&x");
  list.Sort();
  EXPECT_EQ(Captions(list), (std::vector<std::string>{"&Zeta", "c", "b", "a", "&&x"}));

  TestItem probe(TreeItemsClass<TestItems>());
  probe.SetCaption("Zeta");
  int index = -1;
  list.Sort();
  EXPECT_TRUE(list.Find(probe, index)) << "an access key marker compares equal";
  EXPECT_EQ(index, 0);
}

TEST_F(Menu, CategoriesSortByFileTypePosition) {
  AddItem(Type(4), "e");
  AddItem(Type(2), "c");
  AddItem(Type(0), "a");
  EXPECT_EQ(CategoryNames(), (std::vector<std::string>{"alpha", "gamma", "epsilon"}));
  menu.Items().Exchange(0, 2);
  menu.Items().Sort();
  EXPECT_EQ(CategoryNames(), (std::vector<std::string>{"alpha", "gamma", "epsilon"}));
}

TEST_F(Menu, SetFileTypeMovesTheItemAndTakesEmptiedCategoriesAlong) {
  TCustomMenuItem* a = AddItem(Type(1), "a");
  TCustomMenuItem* b = AddItem(Type(1), "b");
  menu.ClearModified();
  int changes = 0;
  menu.OnChange = [&](TTreeItems*, TTreeItem*) { ++changes; };

  a->SetFileType(Type(1));
  EXPECT_FALSE(a->Modified());
  EXPECT_EQ(changes, 0);
  EXPECT_THROW(a->SetFileType(nullptr), EMenuError);

  a->SetFileType(Type(2));
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(a->Modified());
  EXPECT_EQ(CategoryNames(), (std::vector<std::string>{"beta", "gamma"}));
  b->SetFileType(Type(2));
  EXPECT_EQ(CategoryNames(), (std::vector<std::string>{"gamma"}));
  EXPECT_EQ(Captions(a->Category()->Items()), (std::vector<std::string>{"a", "b"}));

  auto* sub = static_cast<TCustomMenuItem*>(menu.List().AddSubMenu(a->Category()->Items()));
  TCustomMenuItem* inner = AddItem(sub->Items(), "inner");
  EXPECT_EQ(inner->ItemFileType(), Type(2));
  inner->SetFileType(Type(0));
  EXPECT_EQ(inner->Parent(), menu.List().FindCategory(Type(0)));
  EXPECT_EQ(sub->Items().Count(), 0);

  TFileTypes foreign;
  TFileType* stranger = foreign.Add();
  EXPECT_THROW(inner->SetFileType(stranger), Exception);
  EXPECT_EQ(inner->ItemFileType(), Type(0));
  EXPECT_EQ(CategoryNames(), (std::vector<std::string>{"alpha", "gamma"}));
}

TEST_F(Menu, TransferCopiesAndMovesItemsBetweenFileTypes) {
  TCustomMenuItem* a = AddItem(Type(0), "a");
  a->SetApplication("notepad.exe");
  a->SetChecked(false);
  TCustomMenuItem* b = AddItem(Type(1), "b");
  TTreeItem* beta = b->Category();

  a->TransferTo(*beta, 0, true);
  ASSERT_EQ(beta->Items().Count(), 2);
  auto* copy = static_cast<TCustomMenuItem*>(beta->Items()[0]);
  EXPECT_EQ(copy->Caption(), "a");
  EXPECT_EQ(copy->Application(), "notepad.exe");
  EXPECT_FALSE(copy->Checked());
  EXPECT_EQ(CategoryNames(), (std::vector<std::string>{"alpha", "beta"}));

  a->TransferTo(*beta, 2, false);
  EXPECT_EQ(CategoryNames(), (std::vector<std::string>{"beta"}));
  EXPECT_EQ(Captions(beta->Items()), (std::vector<std::string>{"a", "b", "a"}));
  EXPECT_EQ(a->ItemFileType(), Type(1));
}

TEST_F(Menu, SettersAnnounceRealChangesOnly) {
  TCustomMenuItem* a = AddItem(Type(0), "a");
  std::string log;
  menu.OnItemChanging = [&](TTreeItem*) { log += "<"; };
  menu.OnItemChanged = [&](TTreeItem*) { log += ">"; };
  a->SetCaption("a");
  a->SetChecked(true);
  EXPECT_EQ(log, "");
  a->SetCaption("A");
  a->SetParameters("/x");
  a->SetChecked(false);
  EXPECT_EQ(log, "<><><>");

  AddItem(a->Category()->Items(), "child-of-category");
  auto* sub = static_cast<TCustomMenuItem*>(menu.List().AddSubMenu(a->Category()->Items()));
  AddItem(sub->Items(), "inner");
  TestSubMenu copy(TreeItemsClass<TestItems>());
  copy.Assign(*sub);
  EXPECT_EQ(copy.Items().Count(), 0) << "menu items copy their own fields only";
  EXPECT_EQ(copy.Caption(), sub->Caption());
}

// The menu file holds one value per line: a text with a line break would write keys of
// its own. The editors show the refusal.
TEST_F(Menu, TextsWithLineBreaksAreRefused) {
  TCustomMenuItem* a = AddItem(Type(0), "a");
  std::string log;
  menu.OnItemChanging = [&](TTreeItem*) { log += "<"; };
  using Setter = void (TCustomMenuItem::*)(const std::string&);
  for (Setter set : {&TCustomMenuItem::SetCaption, &TCustomMenuItem::SetApplication,
                     &TCustomMenuItem::SetParameters}) {
    for (const std::string& bad : {std::string("Evil\r\nApplication1=x.exe"), std::string("a\nb"),
                                   std::string("a\rb"), std::string("a\0b", 3)}) {
      try {
        (a->*set)(bad);
        ADD_FAILURE() << "taken: " << bad;
      } catch (const EMenuError& e) {
        EXPECT_EQ(e.Message(), "A menu item's texts must not contain line breaks");
      }
    }
  }
  EXPECT_EQ(a->Caption(), "a");
  EXPECT_EQ(a->Application(), "");
  EXPECT_EQ(a->Parameters(), "\"%1\"");
  EXPECT_EQ(log, "");
}

TEST_F(Menu, ListByNumberFollowsDepthFirstNumbering) {
  // alpha: 1 [2 [3, 4], 5]; beta: 6 [7]
  TCustomMenuItem* one = AddItem(Type(0), "1");
  auto* two = static_cast<TCustomMenuItem*>(menu.List().AddSubMenu(one->Category()->Items()));
  TCustomMenuItem* three = AddItem(two->Items(), "3");
  auto* four = static_cast<TCustomMenuItem*>(menu.List().AddSubMenu(two->Items()));
  TCustomMenuItem* five = AddItem(one->Category()->Items(), "5");
  auto* six = static_cast<TCustomMenuItem*>(
      menu.List().AddSubMenu(menu.List().FindOrAddCategory(Type(1))->Items()));
  TCustomMenuItem* seven = AddItem(six->Items(), "7");
  int n = 0;
  for (TCustomMenuItem* item : {one, two, three, four, five, six, seven}) item->SetNumber(++n);

  EXPECT_EQ(menu.ListByNumber(0), &menu.Items());
  EXPECT_EQ(menu.ListByNumber(2), &two->Items());
  EXPECT_EQ(menu.ListByNumber(3), &three->Items());
  EXPECT_EQ(menu.ListByNumber(4), &four->Items());
  EXPECT_EQ(menu.ListByNumber(5), &five->Items());
  EXPECT_EQ(menu.ListByNumber(6), &six->Items());
  EXPECT_EQ(menu.ListByNumber(7), &seven->Items());
  EXPECT_EQ(menu.ListByNumber(8), nullptr);
  EXPECT_EQ(menu.ListByNumber(-1), nullptr);
}

TEST_F(Menu, AnUnknownFileTypeNameLogsTheMoveToTheFirstType) {
  EXPECT_EQ(menu.FileTypeForItem("GAMMA", "Edit"), Type(2));
  EXPECT_TRUE(menu.Log().empty());
  EXPECT_EQ(menu.FileTypeForItem("lost", "Edit"), Type(0));
  ASSERT_EQ(menu.Log().size(), 1u);
  EXPECT_EQ(menu.Log()[0],
            "File type \"lost\" not found. Menu item \"Edit\" moved to category \"Type alpha\".");
}

TEST_F(Menu, ModifiedFollowsChangesAndIsClearedWhole) {
  TCustomMenuItem* a = AddItem(Type(0), "a");
  auto* sub = static_cast<TCustomMenuItem*>(menu.List().AddSubMenu(a->Category()->Items()));
  TCustomMenuItem* inner = AddItem(sub->Items(), "inner");
  EXPECT_TRUE(menu.Modified());
  menu.ClearModified();
  EXPECT_FALSE(menu.IsModified());
  inner->SetCaption("x");
  EXPECT_TRUE(sub->IsModified());
  EXPECT_TRUE(menu.IsModified());
  menu.ClearModified();
  EXPECT_FALSE(inner->Modified());

  menu.Lock();
  a->SetIndex(1);
  menu.Unlock();
  EXPECT_FALSE(menu.Modified()) << "no change notification while locked";
  EXPECT_TRUE(menu.IsModified()) << "the item itself is marked";
}

TEST_F(Menu, TheLoadFrameClearsExpandsAndFocuses) {
  AddItem(Type(0), "old");
  menu.Log().push_back("stale");
  // One notice, which already sees the menu as the load leaves it: a page refreshes once
  // and its commands (Apply, the focused item's) need no second look.
  int changes = 0, focusNotices = 0;
  bool modifiedAtNotice = true;
  TTreeItem* focusedAtNotice = nullptr;
  menu.OnChange = [&](TTreeItems*, TTreeItem*) {
    ++changes;
    modifiedAtNotice = menu.IsModified();
    focusedAtNotice = menu.FocusedItem();
  };
  menu.OnFocusChanged = [&] { ++focusNotices; };
  menu.LoadFrame([&] {
    TCustomMenuItem* item = AddItem(Type(2), "x");
    auto* sub = static_cast<TCustomMenuItem*>(menu.List().AddSubMenu(item->Category()->Items()));
    AddItem(sub->Items(), "y");
  });
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(focusNotices, 0);
  EXPECT_FALSE(modifiedAtNotice);
  EXPECT_EQ(focusedAtNotice, menu.Items()[0]);
  EXPECT_TRUE(menu.Log().empty());
  EXPECT_FALSE(menu.IsModified());
  EXPECT_EQ(CategoryNames(), (std::vector<std::string>{"gamma"}));
  EXPECT_EQ(menu.FocusedItem(), menu.Items()[0]);
  EXPECT_TRUE(menu.Items()[0]->Items()[1]->Expanded());

  menu.LoadFrame([&] {
    AddItem(Type(1), "z");
    menu.Log().push_back("File type \"x\" not found.");
  });
  EXPECT_TRUE(menu.Modified()) << "a load that logged problems stays modified";
  EXPECT_TRUE(modifiedAtNotice);

  EXPECT_THROW(menu.LoadFrame([&] {
    AddItem(Type(3), "w");
    throw Exception("broken file");
  }),
               Exception);
  EXPECT_EQ(menu.UpdateCount(), 0);
  EXPECT_EQ(menu.FocusedItem(), menu.Items()[0]);
  EXPECT_FALSE(menu.Items()[0]->Items()[0]->Expanded()) << "no expansion after a failed read";
}

}  // namespace
}  // namespace orvane::testing
