// The submenu items page as a user meets it: the box that enables it, where new entries
// go, the details by kind, dragging and copying submenus, paste from the static menu, the
// menu file commands and the close question after them, and opening damaged files.

#include <windows.h>
// After windows.h, which it builds on.
#include <commctrl.h>

#include <gmock/gmock.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "app_fixture.h"
#include "menus/dynamic_menu.h"
#include "menus/file_type_category.h"
#include "menus/static_menu.h"
#include "storage/mru_list.h"

namespace orvane::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// A submenu "Tools" holding two items with a separator between them, and a plain item
// after it, all of text files.
constexpr const char* kNested =
    "[Dynamic Items]\r\nCount=5\r\n"
    "Submenu1=1\r\nCaption1=Tools\r\nParent1=0\r\nFileType1=txtfile\r\nChecked1=1\r\n"
    "Caption2=View\r\nApplication2=C:\\orvane-nowhere\\orvview.exe\r\nParent2=1\r\nFileType2=txtfile\r\n"
    "Checked2=1\r\nHint2=Shows the file\r\n"
    "IsSeparator3=1\r\nParent3=1\r\nFileType3=txtfile\r\nChecked3=1\r\n"
    "Caption4=Print\r\nApplication4=C:\\tools\\print.exe\r\nParent4=1\r\nFileType4=txtfile\r\n"
    "Checked4=1\r\n"
    "Caption5=Edit\r\nApplication5=C:\\tools\\edit.exe\r\nParent5=0\r\nFileType5=txtfile\r\n"
    "Checked5=1\r\n";

class SubmenuItemsPageTest : public MainWindowTest {
protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    otherFile = menuFile + ".other.ini";
    DeleteFileA(otherFile.c_str());
  }
  void TearDown() override {
    if (Application().MainForm() == form.get()) Application().SetMainForm(nullptr);
    form.reset();
    Application().ProcessMessages();
    DeleteFileA(otherFile.c_str());
    DeleteFileA((menuFile + ".log.txt").c_str());
    MainWindowTest::TearDown();
  }

  // The window shown with the menu file's text, on the submenu page, dynamic items on.
  void Open(const std::string& menuText, bool enabled = true) {
    WriteText(menuFile, menuText);
    TMainFormSettings settings;
    settings.MenuFile = menuFile;
    settings.LogFile = menuFile + ".log.txt";
    form = std::make_unique<TfrmMain>(nullptr, Services(), settings);
    Application().SetMainForm(form.get());
    form->Show();
    Application().ProcessMessages();
    // As the switch leaves it; its own tests register the module.
    Page().ShowShellExtState(enabled);
    form->pgcMain.SetActivePage(&form->tshtActiveXMenus);
    form->IdleUpdate();
  }

  TSubmenuItemsPage& Page() { return form->SubmenuPage(); }
  TDynamicMenu& Menu() { return form->DynamicMenu(); }
  TAdvTreeView& Tree() { return Page().tvXMenu; }

  // The first entry with the caption, depth first.
  TDynamicMenuItem* Item(const std::string& caption) { return Find(Menu().Items(), caption); }
  static TDynamicMenuItem* Find(TTreeItems& list, const std::string& caption) {
    for (int i = 0; i < list.Count(); ++i) {
      auto* item = dynamic_cast<TDynamicMenuItem*>(list[i]);
      if (item && item->Caption() == caption) return item;
      if (TDynamicMenuItem* found = Find(list[i]->Items(), caption)) return found;
    }
    return nullptr;
  }
  TTreeItem* TextCategory() { return Menu().List().FindCategory(Menu().FileTypes()->FindByName("txtfile")); }

  // The captions of a list, a separator as "-".
  static std::vector<std::string> Captions(TTreeItems& list) {
    std::vector<std::string> captions;
    for (int i = 0; i < list.Count(); ++i) {
      auto* item = static_cast<TDynamicMenuItem*>(list[i]);
      captions.push_back(item->IsSeparator() ? "-" : item->Caption());
    }
    return captions;
  }

  LPARAM NodeMiddle(const void* data) {
    TTreeNode node = Tree().FindNode(data);
    if (!node) return 0;
    const RECT text = Tree().NodeRect(node, true);
    return MAKELPARAM((text.left + text.right) / 2, (text.top + text.bottom) / 2);
  }

  void Focus(TTreeItem* item) {
    ASSERT_NE(item, nullptr);
    item->Focus();
    form->IdleUpdate();
  }

  // Drags the node of `item` onto the node of `onto`; Ctrl held throughout or not.
  bool Drag(TTreeItem* item, TTreeItem* onto, bool ctrl) {
    Focus(item);
    const LPARAM from = NodeMiddle(item);
    Tree().BeginDrag(Tree().FindNode(item), POINT{LOWORD(from), HIWORD(from)});
    BYTE state[256];
    GetKeyboardState(state);
    BYTE held[256];
    std::copy(std::begin(state), std::end(state), held);
    held[VK_CONTROL] = ctrl ? 0x80 : 0;
    SetKeyboardState(held);
    SendMessageA(Tree().Handle(), WM_MOUSEMOVE, 0, NodeMiddle(onto));
    const bool allowed = Page().DropAllowed();
    SendMessageA(Tree().Handle(), WM_LBUTTONUP, 0, NodeMiddle(onto));
    SetKeyboardState(state);
    return allowed;
  }

  std::string otherFile;
  std::unique_ptr<TfrmMain> form;
};

TEST_F(SubmenuItemsPageTest, WithDynamicItemsOffThePageAndEveryCommandAreDisabled) {
  Open(kNested, false);
  Page().Customize = [] {};
  Focus(Item("View"));
  EXPECT_FALSE(Page().chkShellExt.Checked());
  EXPECT_FALSE(IsWindowEnabled(Tree().Handle()));
  EXPECT_FALSE(IsWindowEnabled(Page().pnlDynamicDetails.Handle()));
  for (TAction* action :
       {&Page().actXAdd, &Page().actXSub, &Page().actXSeparator, &Page().actXFind,
        &Page().actXSelectIcon, &Page().actXUp, &Page().actXDown, &Page().actXRename,
        &Page().actXSort, &Page().actXMenuNew, &Page().actXMenuOpen, &Page().actXMenuSave,
        &Page().actXMenuCustom})
    EXPECT_FALSE(action->Enabled()) << action->Name();
  for (TSpeedButton* button : {&Page().spbXNew, &Page().spbXFind, &Page().spbXBitmap,
                               &Page().spbXCustom, &Page().spbXMenu, &Page().spbXDelete})
    EXPECT_FALSE(button->Enabled()) << button->Name();

  // The box ticked enables the page.
  Page().ShowShellExtState(true);
  form->IdleUpdate();
  EXPECT_TRUE(Page().ShellExtEnabled());
  EXPECT_TRUE(IsWindowEnabled(Tree().Handle()));
  for (TAction* action : {&Page().actXAdd, &Page().actXFind, &Page().actXSelectIcon,
                          &Page().actXMenuOpen, &Page().actXMenuCustom})
    EXPECT_TRUE(action->Enabled()) << action->Name();
  EXPECT_TRUE(Page().spbXBitmap.Enabled());
  // Another page shown: the commands rest.
  form->pgcMain.SetActivePage(&form->tshtStaticMenus);
  form->IdleUpdate();
  EXPECT_FALSE(Page().actXAdd.Enabled());
}

TEST_F(SubmenuItemsPageTest, AddPutsTheEntryWhereTheFocusedNodeSays) {
  Open(kNested);
  Page().BrowseApplication = [](const std::string&) -> std::optional<std::string> {
    return "C:\\tools\\new tool.exe";
  };
  TDynamicSubMenu* tools = static_cast<TDynamicSubMenu*>(Item("Tools"));
  // A submenu: inside it, at the end.
  Focus(tools);
  Page().actXAdd.Execute();
  EXPECT_THAT(Captions(tools->Items()), ElementsAre("View", "-", "Print", "new tool"));
  EXPECT_EQ(Menu().FocusedItem(), Item("new tool"));
  EXPECT_EQ(Item("new tool")->IconFile(), "C:\\tools\\new tool.exe");
  Item("new tool")->Free();
  // A separator: its own list, not a submenu of it.
  Focus(tools->Items()[1]);
  Page().actXSeparator.Execute();
  EXPECT_THAT(Captions(tools->Items()), ElementsAre("View", "-", "Print", "-"));
  EXPECT_EQ(Menu().FocusedItem(), tools->Items()[3]);
  tools->Items()[3]->Free();
  // A plain item: the list it stands in.
  Focus(Item("Edit"));
  Page().actXSub.Execute();
  Tree().EndEditing(true);
  ASSERT_EQ(TextCategory()->Items().Count(), 3);
  EXPECT_NE(dynamic_cast<TDynamicSubMenu*>(TextCategory()->Items()[2]), nullptr);
  EXPECT_EQ(Menu().FocusedItem(), TextCategory()->Items()[2]);
  TextCategory()->Items()[2]->Free();
  // A category: its list.
  Focus(TextCategory());
  Page().AddDynamicFiles({"C:\\a\\one.exe", "C:\\a\\two.cmd"});
  EXPECT_THAT(Captions(TextCategory()->Items()), ElementsAre("Tools", "Edit", "one.exe", "two.cmd"));
  EXPECT_EQ(Item("two.cmd")->IconFile(), "C:\\a\\two.cmd");
  EXPECT_EQ(Menu().FocusedItem(), Item("two.cmd"));

  // Add then Cancel: nothing stays, and nothing is pending.
  form->ApplyChanges();
  Page().BrowseApplication = [](const std::string&) -> std::optional<std::string> { return {}; };
  Focus(tools);
  Page().actXAdd.Execute();
  EXPECT_THAT(Captions(tools->Items()), ElementsAre("View", "-", "Print"));
  EXPECT_FALSE(form->HasChanges());
}

TEST_F(SubmenuItemsPageTest, DetailsShowWhatEachKindHas) {
  Open(kNested);
  Focus(Item("View"));
  EXPECT_EQ(Page().edXApplication.Text(), "C:\\orvane-nowhere\\orvview.exe");
  EXPECT_EQ(Page().edXMenuHint.Text(), "Shows the file");
  EXPECT_EQ(Page().edXFileType.Text(), "Key: \"txtfile\"");
  EXPECT_TRUE(Page().pnlXError.Visible());  // the program does not exist
  Page().edXMenuHint.SetText("Opens it");
  EXPECT_EQ(Item("View")->Hint(), "Opens it");

  Focus(Item("Tools"));
  EXPECT_FALSE(IsWindowEnabled(Page().edXApplication.Handle()));
  EXPECT_FALSE(IsWindowEnabled(Page().edXParameters.Handle()));
  EXPECT_TRUE(IsWindowEnabled(Page().edXMenuHint.Handle()));
  EXPECT_FALSE(Page().pnlXError.Visible());
  EXPECT_FALSE(Page().actXFind.Enabled());
  EXPECT_TRUE(Page().actXRename.Enabled());

  Focus(static_cast<TDynamicSubMenu*>(Item("Tools"))->Items()[1]);
  EXPECT_FALSE(IsWindowEnabled(Page().edXMenuHint.Handle()));
  EXPECT_TRUE(IsWindowEnabled(Page().chkXInclude.Handle()));
  EXPECT_FALSE(Page().actXRename.Enabled());
  EXPECT_FALSE(Page().actXSelectIcon.Enabled());

  Focus(TextCategory());
  EXPECT_FALSE(IsWindowEnabled(Page().chkXInclude.Handle()));
  EXPECT_EQ(Page().edXFileType.Text(), "");
}

TEST_F(SubmenuItemsPageTest, CtrlDropOfASubmenuCopiesItsWholeSubtreeAndAPlainDropMovesIt) {
  Open(kNested);
  TDynamicMenuItem* edit = Item("Edit");
  TDynamicMenuItem* tools = Item("Tools");
  edit->SetFileType(Menu().FileTypes()->FindByName("*"));
  TTreeItem* allFiles = edit->Category();
  form->IdleUpdate();
  // Refused: onto itself, into its own subtree, onto its own category.
  EXPECT_FALSE(Drag(tools, tools, true));
  EXPECT_FALSE(Drag(tools, Item("View"), true));
  EXPECT_FALSE(Drag(tools, TextCategory(), true));

  EXPECT_TRUE(Drag(tools, allFiles, true));
  ASSERT_EQ(allFiles->Items().Count(), 2);
  auto* copy = dynamic_cast<TDynamicSubMenu*>(allFiles->Items()[0]);
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy, tools);
  EXPECT_EQ(copy->Caption(), "Tools");
  EXPECT_THAT(Captions(copy->Items()), ElementsAre("View", "-", "Print"));
  EXPECT_EQ(Menu().FocusedItem(), copy);
  EXPECT_THAT(Captions(TextCategory()->Items()), ElementsAre("Tools"));

  // Without Ctrl the item moves, here into the copied submenu before "View".
  EXPECT_TRUE(Drag(edit, copy->Items()[0], false));
  EXPECT_THAT(Captions(copy->Items()), ElementsAre("Edit", "View", "-", "Print"));
  // Within a list: the two swap places.
  EXPECT_TRUE(Drag(edit, copy->Items()[3], false));
  EXPECT_THAT(Captions(copy->Items()), ElementsAre("View", "-", "Print", "Edit"));
}

TEST_F(SubmenuItemsPageTest, StaticItemCopiedIsPastedIntoTheSubmenuMenu) {
  Open(kNested + std::string("[Static Items]\r\nCount=1\r\nApplication0=C:\\s.exe\r\n"
                             "Caption0=Static one\r\nChecked0=1\r\nFileType0=txtfile\r\n"));
  form->pgcMain.SetActivePage(&form->tshtStaticMenus);
  TTreeItem* category = form->StaticMenu().Items()[0];
  category->Items()[0]->Focus();
  form->StaticPage().tvMenu.SetFocus();
  form->IdleUpdate();
  ASSERT_TRUE(form->actCopy.Execute());
  form->pgcMain.SetActivePage(&form->tshtActiveXMenus);
  Focus(Item("Tools"));
  Tree().SetFocus();
  form->IdleUpdate();
  ASSERT_TRUE(form->actPaste.Execute());
  // Beside the focused submenu, as a dynamic item.
  EXPECT_THAT(Captions(TextCategory()->Items()), ElementsAre("Tools", "Edit", "Static one"));
  ASSERT_NE(Item("Static one"), nullptr);
  EXPECT_EQ(Item("Static one")->Application(), "C:\\s.exe");
  EXPECT_EQ(Menu().FocusedItem(), Item("Static one"));
}

TEST_F(SubmenuItemsPageTest, RevertIsEnabledByAChangeOnlyAndReadsTheMenuFileAgain) {
  Open(kNested);
  EXPECT_FALSE(Page().actXMenuRevert.Enabled());
  Item("Edit")->SetCaption("Changed");
  form->IdleUpdate();
  EXPECT_TRUE(Page().actXMenuRevert.Enabled());
  Page().actXMenuRevert.Execute();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Text, "Revert to the last saved version of menu structure?");
  EXPECT_EQ(boxes[0].Flags, static_cast<UINT>(MB_OKCANCEL | MB_ICONQUESTION));
  EXPECT_NE(Item("Edit"), nullptr);
  EXPECT_FALSE(form->HasChanges());
  form->IdleUpdate();
  EXPECT_FALSE(Page().actXMenuRevert.Enabled());

  Item("Edit")->SetCaption("Applied");
  form->ApplyChanges();
  form->IdleUpdate();
  EXPECT_FALSE(Page().actXMenuRevert.Enabled());
  EXPECT_THAT(ReadText(menuFile), HasSubstr("Caption5=Applied"));
}

TEST_F(SubmenuItemsPageTest, SaveElsewhereThenCancelOnClosingStillAsks) {
  Open(kNested);
  Item("Edit")->SetCaption("Unsaved");
  Page().SaveMenuFile = [this]() -> std::optional<std::string> { return otherFile; };
  Page().actXMenuSave.Execute();
  EXPECT_THAT(ReadText(otherFile), HasSubstr("Caption5=Unsaved"));
  EXPECT_THAT(ReadText(menuFile), ::testing::Not(HasSubstr("Unsaved")));
  EXPECT_EQ(form->mruMenus.IndexOf(otherFile), 0);
  EXPECT_TRUE(form->HasChanges());
  TMessageBoxAnswers answers([&](const std::string& text, const std::string& caption, UINT flags) {
    boxes.push_back({text, caption, flags});
    return IDCANCEL;
  });
  SendMessageA(form->btnCancel.Handle(), BM_CLICK, 0, 0);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_THAT(boxes[0].Text, HasSubstr("Changes to menu items were made."));
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
}

TEST_F(SubmenuItemsPageTest, OpenShowsWhatCouldBeReadReportsTheRestAndWritesNothing) {
  Open(kNested);
  const std::string before = ReadText(menuFile);
  Page().OpenMenuFile = [this]() -> std::optional<std::string> { return otherFile; };

  // Not a menu file: refused, the menu as it was.
  WriteText(otherFile, "MZ\x90\0\x03\0\0\0 this is a program, not a menu\r\n[Other]\r\nA=1\r\n");
  EXPECT_THROW(Page().actXMenuOpen.Execute(), EMenuError);
  EXPECT_NE(Item("Tools"), nullptr);
  EXPECT_FALSE(form->HasChanges());

  // A submenu that names itself, a gap, an over-long line: the rest is shown, the
  // problems listed once.
  WriteText(otherFile, "[Dynamic Items]\r\nCount=4\r\n"
                       "Submenu1=1\r\nCaption1=Loop\r\nParent1=1\r\nFileType1=txtfile\r\n"
                       "Caption2=Good\r\nApplication2=g.exe\r\nParent2=0\r\nFileType2=txtfile\r\n"
                       "Caption4=Orphan\r\nParent4=3\r\nFileType4=txtfile\r\n"
                       "Caption5=" + std::string(100000, 'x') + "\r\nParent5=0\r\n");
  boxes.clear();
  Page().actXMenuOpen.Execute();
  EXPECT_NE(Item("Good"), nullptr);
  EXPECT_EQ(Item("Tools"), nullptr);
  EXPECT_EQ(Item("Orphan"), nullptr);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_THAT(boxes[0].Text, HasSubstr(otherFile));
  EXPECT_THAT(boxes[0].Text, HasSubstr("Entry 1 left out"));
  EXPECT_THAT(boxes[0].Text, HasSubstr("Entry 4 left out: its submenu 3"));
  EXPECT_EQ(boxes[0].Flags, static_cast<UINT>(MB_OK | MB_ICONWARNING));
  EXPECT_TRUE(form->HasChanges());
  EXPECT_EQ(ReadText(menuFile), before);
  EXPECT_EQ(form->mruMenus.IndexOf(otherFile), 0);

  // Many entries: read whole, nothing written either. (100,000 are read in 9 s under
  // Wine, but Wine's tree view then takes over a minute to free their nodes when the
  // window closes; the model reads that many in the native tests.)
  constexpr int kEntries = 20000;
  std::string big = "[Dynamic Items]\r\nCount=" + std::to_string(kEntries) + "\r\n";
  for (int n = 1; n <= kEntries; ++n) {
    const std::string k = std::to_string(n);
    big += "Caption" + k + "=Item " + k + "\r\nParent" + k + "=0\r\nFileType" + k + "=txtfile\r\n";
  }
  WriteText(otherFile, big);
  boxes.clear();
  Page().actXMenuOpen.Execute();
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(TextCategory()->Items().Count(), kEntries);
  EXPECT_EQ(ReadText(menuFile), before);
}

TEST_F(SubmenuItemsPageTest, RecentMenuThatIsGoneLeavesTheListWithAMessage) {
  Open(kNested);
  WriteText(otherFile, "[Dynamic Items]\r\nCount=1\r\nCaption1=Recent\r\nParent1=0\r\n"
                       "FileType1=txtfile\r\n");
  form->mruMenus.Add(otherFile + ".gone", 0);
  form->mruMenus.Add(otherFile, 0);
  Page().OpenRecentMenu(otherFile);
  EXPECT_NE(Item("Recent"), nullptr);
  EXPECT_TRUE(form->HasChanges());
  Page().OpenRecentMenu(otherFile + ".gone");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_THAT(boxes[0].Text, HasSubstr("cannot be found"));
  EXPECT_EQ(form->mruMenus.Count(), 1);
  EXPECT_NE(Item("Recent"), nullptr);

  // New asks, and clears on OK.
  boxes.clear();
  Page().actXMenuNew.Execute();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Text, "Clear all the existing menu items to start from nothing?");
  EXPECT_EQ(Menu().Items().Count(), 0);
  EXPECT_EQ(Tree().Count(), 0);
}

// Drawn by the tree itself: what a person looks at in the screenshot is the item's icon
// before its text, the submenu in bold, the switched-off item in grey.
TEST_F(SubmenuItemsPageTest, ScreenshotOfANestedMenuWithIcons) {
  char system[MAX_PATH] = {};
  GetSystemDirectoryA(system, MAX_PATH);
  const std::string shell32 = std::string(system) + "\\shell32.dll";
  Open(kNested);
  Item("Print")->SetChecked(false);
  // The pixels of the icon's place before the node's text that differ from the window.
  auto painted = [this] {
    UpdateWindow(Tree().Handle());
    const RECT text = Tree().NodeRect(Tree().FindNode(Item("Edit")), true);
    HDC dc = GetDC(Tree().Handle());
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    int count = 0;
    for (int y = text.top; y < text.top + 16; ++y)
      for (int x = text.left - Tree().Indent(); x < text.left - Tree().Indent() + 16; ++x)
        count += GetPixel(dc, x, y) != window;
    ReleaseDC(Tree().Handle(), dc);
    return count;
  };
  const int before = painted();
  Item("Edit")->SetIconFile(shell32);
  Item("Edit")->SetIconIndex(3);
  ASSERT_FALSE(Item("Edit")->Icon().Empty());
  Focus(Item("Tools"));
  Application().ProcessMessages();
  EXPECT_GT(painted(), before + 40);
  EXPECT_FALSE(SaveScreenshot(form->Handle(), "submenu_items_page").empty());
}

}  // namespace
}  // namespace orvane::testing
