// The static items page and the window's write path as a user meets them: adding,
// renaming, deleting, switching items off, the close question, and Apply into the
// registry and the menu file.

#include <windows.h>
// After windows.h, which it builds on.
#include <commctrl.h>
#include <shellapi.h>

#include <gmock/gmock.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

#include "app_fixture.h"
#include "menus/static_menu.h"
#include "platform/clipboard.h"
#include "platform/registry.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_registry.h"
#include "storage/orvane_ini_file.h"
#include "tests/support/child_process.h"

namespace orvane::testing {
namespace {

using ::testing::HasSubstr;

constexpr const char* kTwoItems =
    "[Static Items]\r\nCount=2\r\n"
    "Application0=C:\\tools\\view.exe\r\nParameters0=\"%1\"\r\nCaption0=View\r\n"
    "Checked0=1\r\nFileType0=txtfile\r\n"
    "Application1=C:\\tools\\print.exe\r\nParameters1=/p \"%1\"\r\nCaption1=Print\r\n"
    "Checked1=1\r\nFileType1=txtfile\r\n";

class StaticItemsPageTest : public MainWindowTest {
protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    // Parameterized tests have a "/" in their names.
    std::replace(menuFile.begin(), menuFile.end(), '/', '_');
    logFile = menuFile + ".log.txt";
    DeleteFileA(logFile.c_str());
  }
  void TearDown() override {
    Discard();
    DeleteFileA(logFile.c_str());
    MainWindowTest::TearDown();
  }

  // The window as the program shows it: created, shown (which loads the menus), idle.
  void Open(const std::string& menuText, IRegistryBackend* backend = nullptr,
            IClipboard* clipboard = nullptr) {
    WriteText(menuFile, menuText);
    TServices services = Services();
    TServices system{backend ? *backend : services.Registry,
                     services.Files,
                     services.FileSystem,
                     services.Icons,
                     clipboard ? *clipboard : services.Clipboard,
                     services.Versions,
                     services.WindowsFolder,
                     services.ProgramFolder,
                     services.ModuleFolder};
    TMainFormSettings settings;
    settings.MenuFile = menuFile;
    settings.LogFile = logFile;
    form = std::make_unique<TfrmMain>(nullptr, system, settings);
    Application().SetMainForm(form.get());
    form->Show();
    Application().ProcessMessages();
    form->IdleUpdate();
  }

  void Discard() {
    if (Application().MainForm() == form.get()) Application().SetMainForm(nullptr);
    form.reset();
    Application().ProcessMessages();
    Application().ClearTerminated();
  }

  TStaticItemsPage& Page() { return form->StaticPage(); }
  TStaticMenu& Menu() { return form->StaticMenu(); }
  TAdvTreeView& Tree() { return Page().tvMenu; }

  TStaticMenuItem* Item(const std::string& caption) {
    for (TStaticMenuItem* item : Menu().AllItems())
      if (item->Caption() == caption) return item;
    return nullptr;
  }

  // The middle of the node's text, where the user sees it (0 for a node not shown).
  LPARAM NodeMiddle(const void* data) {
    TTreeNode node = Tree().FindNode(data);
    if (!node) return 0;
    const RECT text = Tree().NodeRect(node, true);
    return MAKELPARAM((text.left + text.right) / 2, (text.top + text.bottom) / 2);
  }

  // A left click in the middle of the node's text.
  void ClickNode(const void* data) {
    ASSERT_NE(Tree().FindNode(data), nullptr);
    const LPARAM at = NodeMiddle(data);
    PostMessageA(Tree().Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(Tree().Handle(), WM_LBUTTONUP, 0, at);
    Application().ProcessMessages();
    form->IdleUpdate();
  }

  void PressKey(HWND target, WORD key, bool control = false) {
    BYTE state[256];
    GetKeyboardState(state);
    BYTE changed[256];
    std::copy(std::begin(state), std::end(state), changed);
    changed[VK_CONTROL] = control ? 0x80 : 0;
    SetKeyboardState(changed);
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, 0xC0000001);
    Application().ProcessMessages();
    SetKeyboardState(state);
    form->IdleUpdate();
  }

  std::vector<std::string> Captions() {
    std::vector<std::string> captions;
    for (TStaticMenuItem* item : Menu().AllItems()) captions.push_back(item->Caption());
    return captions;
  }

  std::string logFile;
  std::unique_ptr<TfrmMain> form;
};

TEST_F(StaticItemsPageTest, TreeShowsFileTypesWithTheirItemsAndFollowsTheSelection) {
  Open(kTwoItems);
  TTreeNode category = Tree().FirstNode();
  ASSERT_NE(category, nullptr);
  EXPECT_EQ(Tree().NodeText(category), "Text Document");
  EXPECT_GE(Tree().NodeImage(category), 0);
  EXPECT_EQ(Tree().NodeImage(Tree().FirstChild(category)), I_IMAGENONE);
  EXPECT_EQ(Tree().NodeText(Tree().FirstChild(category)), "View");
  EXPECT_EQ(Tree().NodeText(Tree().NextSibling(Tree().FirstChild(category))), "Print");

  ClickNode(Item("Print"));
  EXPECT_EQ(Menu().FocusedItem(), Item("Print"));
  EXPECT_EQ(Page().edApplication.Text(), "C:\\tools\\print.exe");
  EXPECT_EQ(Page().edParameters.Text(), "/p \"%1\"");
  EXPECT_EQ(Page().edFileType.Text(), "Key: \"txtfile\"");
  EXPECT_THAT(Page().memFileExtensions.Text(), HasSubstr("Extensions: "));
  EXPECT_THAT(Page().memFileExtensions.Text(), HasSubstr("txt"));
  EXPECT_TRUE(Page().chkInclude.Checked());
  EXPECT_TRUE(Page().pnlStaticError.Visible());  // C:\tools\print.exe does not exist

  // The details write back into the model.
  Page().edParameters.SetText("/q \"%1\"");
  EXPECT_EQ(Item("Print")->Parameters(), "/q \"%1\"");
  EXPECT_TRUE(form->HasChanges());

  ClickNode(Tree().NodeData(category));
  EXPECT_FALSE(IsWindowEnabled(Page().edApplication.Handle()));
  EXPECT_EQ(Page().edApplication.Text(), "");
}

TEST_F(StaticItemsPageTest, AddThenCancelInTheBrowseDialogLeavesNothing) {
  Open(kTwoItems);
  ClickNode(Item("View"));
  int browsed = 0;
  Page().BrowseApplication = [&](const std::string&) -> std::optional<std::string> {
    ++browsed;
    return std::nullopt;
  };
  PressKey(Tree().Handle(), VK_INSERT);
  EXPECT_EQ(browsed, 1);
  EXPECT_EQ(Captions(), (std::vector<std::string>{"View", "Print"}));
  EXPECT_EQ(Tree().Count(), 3);
  EXPECT_FALSE(form->HasChanges());

  // Confirmed: the file's name without extension becomes the caption.
  Page().BrowseApplication = [](const std::string&) -> std::optional<std::string> {
    return "C:\\tools\\my tool.exe";
  };
  form->actApply.Update();
  Page().actAdd.Execute();
  EXPECT_EQ(Captions(), (std::vector<std::string>{"View", "Print", "my tool"}));
  EXPECT_EQ(Menu().FocusedItem(), Item("my tool"));
  EXPECT_EQ(Item("my tool")->Application(), "C:\\tools\\my tool.exe");
  EXPECT_TRUE(form->HasChanges());
}

TEST_F(StaticItemsPageTest, F2RenamesItemsOnlyAndKeysThenGoToTheLabelEditor) {
  Open(kTwoItems);
  ClickNode(Tree().NodeData(Tree().FirstNode()));
  PressKey(Tree().Handle(), VK_F2);
  EXPECT_FALSE(Tree().IsEditing());  // a category name is the file type's

  ClickNode(Item("View"));
  PressKey(Tree().Handle(), VK_F2);
  ASSERT_TRUE(Tree().IsEditing());
  form->IdleUpdate();
  EXPECT_EQ(Page().actAdd.ShortCut(), 0);
  PressKey(Tree().EditHandle(), VK_INSERT);
  PressKey(Tree().EditHandle(), VK_DOWN, true);
  EXPECT_EQ(Captions(), (std::vector<std::string>{"View", "Print"}));  // nothing added or moved

  SetWindowTextA(Tree().EditHandle(), "&Show");
  PostMessageA(Tree().EditHandle(), WM_KEYDOWN, VK_RETURN, 0);
  Application().ProcessMessages();
  form->IdleUpdate();
  EXPECT_EQ(Captions(), (std::vector<std::string>{"&Show", "Print"}));
  EXPECT_EQ(Page().actAdd.ShortCut(), VK_INSERT);
}

TEST_F(StaticItemsPageTest, DeleteQuestionAnsweredNoKeepsTheItem) {
  Open(kTwoItems);
  ClickNode(Item("Print"));
  int answer = IDCANCEL;
  TMessageBoxAnswers answers([&](const std::string& text, const std::string& caption, UINT flags) {
    boxes.push_back({text, caption, flags});
    return answer;
  });
  PressKey(Tree().Handle(), VK_DELETE);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Text, "Delete menu item \"Print\"?");
  EXPECT_EQ(Captions(), (std::vector<std::string>{"View", "Print"}));
  EXPECT_FALSE(form->HasChanges());

  answer = IDOK;
  PressKey(Tree().Handle(), VK_DELETE);
  EXPECT_EQ(Captions(), (std::vector<std::string>{"View"}));
  EXPECT_EQ(Tree().Count(), 2);
  EXPECT_TRUE(form->HasChanges());
}

TEST_F(StaticItemsPageTest, OrderKeysAndTheGlyphClickEditTheFocusedItem) {
  Open(kTwoItems);
  ClickNode(Item("Print"));
  PressKey(Tree().Handle(), VK_UP, true);
  EXPECT_EQ(Captions(), (std::vector<std::string>{"Print", "View"}));
  EXPECT_FALSE(Page().actUp.Enabled());  // first in its list
  EXPECT_EQ(Menu().FocusedItem(), Item("Print"));

  // A click left of the text, on the item's glyph, switches it off.
  TTreeNode node = Tree().FindNode(Item("View"));
  const RECT text = Tree().NodeRect(node, true);
  const LPARAM glyph = MAKELPARAM(text.left - 8, (text.top + text.bottom) / 2);
  PostMessageA(Tree().Handle(), WM_LBUTTONDOWN, MK_LBUTTON, glyph);
  PostMessageA(Tree().Handle(), WM_LBUTTONUP, 0, glyph);
  Application().ProcessMessages();
  EXPECT_FALSE(Item("View")->Checked());
  EXPECT_TRUE(Item("Print")->Checked());
}

TEST_F(StaticItemsPageTest, FindExploresTheProgramsFolderAndShowsTheShellsRefusal) {
  Open(kTwoItems);
  std::vector<std::string> opened;
  long long result = 42;
  Page().ShellOpen = [&](const std::string& verb, const std::string& target) {
    opened.push_back(verb + " " + target);
    return result;
  };
  ClickNode(Item("Print"));
  PressKey(Tree().Handle(), 'F', true);
  // Quoted and through the environment, as the error panel recommends.
  Item("View")->SetApplication("\"%SystemRoot%\\notepad.exe\"");
  ClickNode(Item("View"));
  Page().spbFind.Click();
  char windows[MAX_PATH] = {};
  ExpandEnvironmentStringsA("%SystemRoot%", windows, sizeof windows);
  EXPECT_THAT(opened,
              ::testing::ElementsAre("explore C:\\tools", std::string("explore ") + windows));
  EXPECT_TRUE(boxes.empty());

  result = SE_ERR_PNF;
  Page().actFind.Execute();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Caption, "Orvane 2008");
  EXPECT_EQ(boxes[0].Flags, static_cast<UINT>(MB_OK | MB_ICONWARNING));
  EXPECT_FALSE(boxes[0].Text.empty());

  ClickNode(Item("View")->Category());
  EXPECT_FALSE(Page().actFind.Enabled());
  EXPECT_FALSE(Page().spbFind.Enabled());
}

TEST_F(StaticItemsPageTest, DroppedFilesGoToTheFocusedCategoryWhereverTheyLand) {
  Open(kTwoItems);
  ClickNode(Item("View"));
  Tree().OnFilesDrop({"C:\\a\\one.exe", "C:\\a\\two.cmd", "C:\\a\\three.bat"});
  EXPECT_EQ(Captions(),
            (std::vector<std::string>{"View", "Print", "one.exe", "two.cmd", "three.bat"}));
  EXPECT_EQ(Item("two.cmd")->Application(), "C:\\a\\two.cmd");
  EXPECT_EQ(Menu().FocusedItem(), Item("three.bat"));
  EXPECT_EQ(Tree().Selected(), Tree().FindNode(Item("three.bat")));
}

TEST_F(StaticItemsPageTest, DragRefusesTheOwnCategoryReordersAndMovesUnlessCtrlAtTheDrop) {
  Open(std::string(kTwoItems).replace(std::string(kTwoItems).find("Count=2"), 7, "Count=3") +
       "Application2=C:\\tools\\all.exe\r\nCaption2=All\r\nFileType2=*\r\n");
  ASSERT_NE(Item("All"), nullptr);
  auto drag = [&](const char* caption, const void* onto, bool ctrlAtDrop) {
    ClickNode(Item(caption));
    const LPARAM from = NodeMiddle(Item(caption));
    Tree().BeginDrag(Tree().FindNode(Item(caption)), POINT{LOWORD(from), HIWORD(from)});
    BYTE state[256];
    GetKeyboardState(state);
    BYTE held[256];
    std::copy(std::begin(state), std::end(state), held);
    held[VK_CONTROL] = 0x80;
    SetKeyboardState(held);  // Ctrl during the drag over
    SendMessageA(Tree().Handle(), WM_MOUSEMOVE, 0, NodeMiddle(onto));
    const bool allowed = Page().DropAllowed();
    held[VK_CONTROL] = ctrlAtDrop ? 0x80 : 0;
    SetKeyboardState(held);
    SendMessageA(Tree().Handle(), WM_LBUTTONUP, 0, NodeMiddle(onto));
    SetKeyboardState(state);
    return allowed;
  };
  TTreeItem* textCategory = Item("Print")->Category();
  EXPECT_FALSE(drag("Print", textCategory, false));
  EXPECT_EQ(Captions(), (std::vector<std::string>{"All", "View", "Print"}));

  EXPECT_TRUE(drag("Print", Item("View"), false));
  EXPECT_EQ(Captions(), (std::vector<std::string>{"All", "Print", "View"}));

  EXPECT_TRUE(drag("Print", Item("All")->Category(), false));
  EXPECT_EQ(Captions(), (std::vector<std::string>{"Print", "All", "View"}));
  EXPECT_EQ(Item("Print")->ItemFileType()->Name(), "*");

  EXPECT_TRUE(drag("View", Item("All")->Category(), true));
  EXPECT_EQ(Captions(), (std::vector<std::string>{"View", "Print", "All", "View"}));
}

TEST_F(StaticItemsPageTest, DragOverAClosedCategoryOpensItFromItsIconNotItsText) {
  Open(std::string(kTwoItems).replace(std::string(kTwoItems).find("Count=2"), 7, "Count=3") +
       "Application2=C:\\tools\\all.exe\r\nCaption2=All\r\nFileType2=*\r\n");
  TTreeItem* all = Item("All")->Category();
  TTreeNode node = Tree().FindNode(all);
  all->SetExpanded(false);
  Tree().Expand(node, false);
  ASSERT_FALSE(Tree().Expanded(node));
  ClickNode(Item("Print"));
  TTreeNode dragged = Tree().FindNode(Item("Print"));
  const RECT from = Tree().NodeRect(dragged, true);
  Tree().BeginDrag(dragged, POINT{from.left + 2, from.top + 2});
  ASSERT_TRUE(Tree().Dragging());

  const RECT text = Tree().NodeRect(node, true);
  const int middle = (text.top + text.bottom) / 2;
  SendMessageA(Tree().Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(text.left + 4, middle));
  EXPECT_FALSE(Tree().Expanded(node));
  SendMessageA(Tree().Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(text.left - 8, middle));
  EXPECT_TRUE(Tree().Expanded(node));
  EXPECT_TRUE(all->Expanded());
  EXPECT_TRUE(Page().DropAllowed());
  Tree().EndDrag(false);
  EXPECT_EQ(Captions(), (std::vector<std::string>{"All", "View", "Print"}));
}

// Copy in this window, paste in a second copy of the program running beside it: the
// item crosses the system's clipboard whole, with nothing that only one process knows.
TEST_F(StaticItemsPageTest, ItemCopiedHereIsPastedByASecondRunningCopy) {
  Open(kTwoItems, nullptr, &DefaultClipboard());
  ClickNode(Item("Print"));
  PressKey(Tree().Handle(), 'C', true);

  const std::string peerFile = menuFile + ".peer.ini";
  WriteText(peerFile,
            "[Static Items]\r\nCount=1\r\nApplication0=C:\\mine.exe\r\nCaption0=Mine\r\n"
            "FileType0=txtfile\r\n");
  // This process keeps answering its windows while the other one reads the clipboard.
  const std::optional<DWORD> code = RunToEnd(
      "\"" + WindowsPath(ORVANE_PASTE_PEER) + "\" \"" + peerFile + "\"", 60000, true);
  ASSERT_TRUE(code) << "the second copy did not end";
  EXPECT_EQ(*code, 0u) << "1: nothing pasted, 2: failed";

  TOrvaneIniFile pasted(peerFile, DefaultFileAccess());
  EXPECT_EQ(pasted.ReadString("Static Items", "Count", ""), "2");
  EXPECT_EQ(pasted.ReadString("Static Items", "Caption0", ""), "Mine");
  EXPECT_EQ(pasted.ReadString("Static Items", "Caption1", ""), "Print");
  EXPECT_EQ(pasted.ReadString("Static Items", "Application1", ""), "C:\\tools\\print.exe");
  EXPECT_EQ(pasted.ReadString("Static Items", "Parameters1", ""), "/p \"%1\"");
  EXPECT_EQ(pasted.ReadString("Static Items", "Checked1", ""), "1");
  for (const std::string& file : {peerFile, peerFile + ".log.txt"}) DeleteFileA(file.c_str());
}

// The tree's pop-up menu as its owner is told about it when it opens: each entry's text
// without its shortcut, "-" for a separator, and whether it can be chosen.
struct TShownEntry {
  std::string Text;
  bool Enabled;
};

LRESULT CALLBACK RecordOpenedMenu(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR data) {
  if (message == WM_INITMENUPOPUP) {
    auto& shown = *reinterpret_cast<std::vector<TShownEntry>*>(data);
    shown.clear();
    auto* menu = reinterpret_cast<HMENU>(wParam);
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      char text[128] = {};
      GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
      const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
      std::string entry = (state & MF_SEPARATOR) ? "-" : text;
      entry = entry.substr(0, entry.find('\t'));
      shown.push_back({entry, !(state & (MF_GRAYED | MF_DISABLED))});
    }
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

class PopupMenuTest : public StaticItemsPageTest {
protected:
  // A right click on the node, the menu answered by `key` (a character chooses the entry
  // with that access key; Escape closes the menu).
  void RightClickAndPress(const void* data, WPARAM key) {
    ASSERT_NE(Tree().FindNode(data), nullptr);
    const LPARAM at = NodeMiddle(data);
    PostMessageA(Tree().Handle(), WM_RBUTTONDOWN, MK_RBUTTON, at);
    PostMessageA(Tree().Handle(), WM_RBUTTONUP, 0, at);
    Answer(key);
    Application().ProcessMessages();
    form->IdleUpdate();
  }
  // Queued before the menu opens: its own message loop takes it.
  void Answer(WPARAM key) {
    if (key == VK_ESCAPE) {
      PostMessageA(Tree().Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
    } else {
      PostMessageA(Tree().Handle(), WM_CHAR, key, 1);
    }
  }
  void Record() {
    SetWindowSubclass(form->Handle(), RecordOpenedMenu, 1, reinterpret_cast<DWORD_PTR>(&shown));
  }
  void TearDown() override {
    if (form) RemoveWindowSubclass(form->Handle(), RecordOpenedMenu, 1);
    StaticItemsPageTest::TearDown();
  }
  std::vector<TShownEntry> shown;
};

struct MenuStateCase {
  const char* name;
  const char* node;  // a caption, or empty for the text file type's category
  bool copyFirst;    // an item on the clipboard
  // Add, Find, Up, Down, Sort, Copy, Paste, Delete, Rename, Quick Hint.
  std::vector<bool> enabled;
};

std::ostream& operator<<(std::ostream& out, const MenuStateCase& c) { return out << c.name; }

class PopupMenuStateTest : public PopupMenuTest,
                           public ::testing::WithParamInterface<MenuStateCase> {};

TEST_P(PopupMenuStateTest, RightClickSelectsTheNodeAndTheMenuFollowsIt) {
  const MenuStateCase& c = GetParam();
  Open(kTwoItems);
  Record();
  if (c.copyFirst) {
    ClickNode(Item("Print"));
    form->actCopy.Execute();
  }
  const void* node = *c.node ? static_cast<const void*>(Item(c.node)) : Item("View")->Category();
  RightClickAndPress(node, VK_ESCAPE);
  EXPECT_EQ(Menu().FocusedItem(), node);

  std::vector<std::string> texts;
  std::vector<bool> enabled;
  for (const TShownEntry& entry : shown) {
    texts.push_back(entry.Text);
    if (entry.Text != "-") enabled.push_back(entry.Enabled);
  }
  EXPECT_THAT(texts, ::testing::ElementsAre("&Add Item", "&Find Application", "-", "Move &Up",
                                            "Move Do&wn", "-", "&Sort by Name", "-", "&Copy",
                                            "&Paste", "&Delete", "&Rename", "-", "&Quick Hint"));
  EXPECT_EQ(enabled, c.enabled);
  EXPECT_EQ(Captions(), (std::vector<std::string>{"View", "Print"}));  // Escape ran nothing
}

INSTANTIATE_TEST_SUITE_P(
    Nodes, PopupMenuStateTest,
    ::testing::Values(MenuStateCase{"LastItem",
                                    "Print",
                                    false,
                                    {true, true, true, false, true, true, false, true, true, true}},
                      MenuStateCase{"FirstItemWithAnItemCopied",
                                    "View",
                                    true,
                                    {true, true, false, true, true, true, true, true, true, true}},
                      MenuStateCase{
                          "Category",
                          "",
                          false,
                          {true, false, false, false, true, false, false, false, false, true}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PopupMenuTest, ChosenEntryRunsItsCommandFromTheTreeAndFromTheTitle) {
  Open(kTwoItems);
  RightClickAndPress(Item("View"), 'w');
  EXPECT_EQ(Captions(), (std::vector<std::string>{"Print", "View"}));

  // The title opens the same menu over the tree, which takes the focus.
  Page().edParameters.SetFocus();
  const RECT label = Page().HoverLabel1.BoundsRect();
  const LPARAM at = MAKELPARAM((label.left + label.right) / 2, (label.top + label.bottom) / 2);
  HWND parent = form->tshtStaticMenus.Handle();
  PostMessageA(parent, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(parent, WM_LBUTTONUP, 0, at);
  Answer('u');
  Application().ProcessMessages();
  EXPECT_EQ(GetFocus(), Tree().Handle());
  EXPECT_EQ(Captions(), (std::vector<std::string>{"View", "Print"}));
  EXPECT_EQ(Menu().FocusedItem(), Item("View"));
}

struct CloseCase {
  const char* name;
  bool change;
  int answer;
  bool closed;
  bool written;
};

class CloseQuestionTest : public StaticItemsPageTest,
                          public ::testing::WithParamInterface<CloseCase> {};

TEST_P(CloseQuestionTest, AsksOnlyWithChangesAndDoesWhatTheAnswerSays) {
  const CloseCase& c = GetParam();
  Open(kTwoItems);
  TMessageBoxAnswers answers([&](const std::string& text, const std::string& caption, UINT flags) {
    boxes.push_back({text, caption, flags});
    return c.answer;
  });
  ASSERT_NE(Item("View"), nullptr);
  if (c.change) Item("View")->SetChecked(false);
  SendMessageA(form->btnCancel.Handle(), BM_CLICK, 0, 0);
  ASSERT_EQ(boxes.size(), c.change ? 1u : 0u);
  if (c.change) {
    EXPECT_THAT(boxes[0].Text, HasSubstr("Changes to menu items were made."));
    EXPECT_EQ(boxes[0].Flags, static_cast<UINT>(MB_YESNOCANCEL | MB_ICONQUESTION));
  }
  EXPECT_EQ(IsWindowVisible(form->Handle()) == FALSE, c.closed);
  EXPECT_EQ(ReadText(menuFile).find("Checked0=0") != std::string::npos, c.written);
  EXPECT_EQ(form->HasChanges(), c.change && !c.written);
  if (!c.closed) {
    EXPECT_FALSE(Item("View")->Checked());  // Cancel keeps the change
  }
}

INSTANTIATE_TEST_SUITE_P(Paths, CloseQuestionTest,
                         ::testing::Values(CloseCase{"NoChanges", false, IDYES, true, false},
                                           CloseCase{"Yes", true, IDYES, true, true},
                                           CloseCase{"No", true, IDNO, true, false},
                                           CloseCase{"Cancel", true, IDCANCEL, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(StaticItemsPageTest, LoadProblemsAreLoggedAndOfferedOnceAndOnlyThen) {
  Open(kTwoItems);
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(GetFileAttributesA(logFile.c_str()), INVALID_FILE_ATTRIBUTES);
  Discard();

  Open(
      "[Static Items]\r\nCount=2\r\nApplication0=a.exe\r\nCaption0=A\r\nFileType0=nosuchfile\r\n"
      "FileType1=txtfile\r\n");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_THAT(boxes[0].Text, HasSubstr("Error log saved to \"log.txt\""));
  EXPECT_EQ(boxes[0].Flags, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
  const std::string log = ReadText(logFile);
  EXPECT_EQ(log.rfind("Error log created: ", 0), 0u);
  EXPECT_THAT(log, HasSubstr("\r\nStatic items error log:\r\n"));
  EXPECT_EQ(log.find("Dynamic items error log:"), std::string::npos);
  EXPECT_FALSE(form->Loading());
}

// The reported case: an active item of a type this system does not have is shown under
// that type's name, and nothing reaches the registry at start, under any type.
TEST_F(StaticItemsPageTest, ItemOfAMissingTypeIsShownAsSuchAndWritesNoVerb) {
  Open(
      "[Static Items]\r\nCount=1\r\nApplication0=C:\\tools\\probe.exe\r\nParameters0=%1\r\n"
      "Caption0=Probe Alpha\r\nChecked0=1\r\nFileType0=nosuchtype\r\n");
  TStaticMenuItem* item = Item("Probe Alpha");
  ASSERT_NE(item, nullptr);
  TTreeNode category = Tree().FindNode(item->Category());
  ASSERT_NE(category, nullptr);
  EXPECT_EQ(Tree().NodeText(category), "nosuchtype (no such file type)");
  TRegistry check(registry);
  check.SetRootKey(kHkeyClassesRoot);
  EXPECT_FALSE(check.KeyExists("\\*\\shell"));
  EXPECT_FALSE(check.KeyExists("\\txtfile\\shell"));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_THAT(ReadText(logFile), HasSubstr("File type \"nosuchtype\" not found. Menu item \"Probe "
                                           "Alpha\" is kept without a file type"));
}

// A registry that refuses every verb write at start is each item's logged problem: all
// items are read, the dynamic menu loads after them, and Apply writes both back whole.
TEST_F(StaticItemsPageTest, RefusedVerbWritesAtStartAreLoggedAndLoadingGoesOn) {
  registry.FailOperation(TMemoryRegistry::Op::Create, "", 5 /* access denied */);
  Open(std::string(kTwoItems) +
       "[Dynamic Items]\r\nCount=1\r\nParent1=0\r\nApplication1=note.exe\r\n"
       "Parameters1=%1\r\nCaption1=Edit\r\nChecked1=1\r\nFileType1=txtfile\r\n");
  EXPECT_EQ(Captions(), (std::vector<std::string>{"View", "Print"}));
  EXPECT_EQ(form->DynamicMenu().Items().Count(), 1);
  ASSERT_EQ(boxes.size(), 1u);
  const std::string log = ReadText(logFile);
  EXPECT_THAT(log, HasSubstr("Static items error log:\r\nMenu item \"View\": "));
  EXPECT_THAT(log, HasSubstr("\r\nMenu item \"Print\": "));
  EXPECT_TRUE(form->HasChanges());

  registry.ClearFailures();
  form->ApplyChanges();
  EXPECT_FALSE(form->HasChanges());
  const std::string saved = ReadText(menuFile);
  EXPECT_THAT(saved, HasSubstr("Caption0=View\r\n"));
  EXPECT_THAT(saved, HasSubstr("Caption1=Print\r\n"));
  EXPECT_THAT(saved, HasSubstr("Caption1=Edit\r\n"));
}

// A program folder that cannot be written (Program Files for a user): the problems are
// shown with the reason, and no log is offered to open.
TEST_F(StaticItemsPageTest, LogThatCannotBeWrittenIsSaidSoWithItsProblems) {
  logFile = menuFile + ".nofolder\\log.txt";
  Open("[Static Items]\r\nCount=1\r\nApplication0=a.exe\r\nCaption0=A\r\nFileType0=nosuchfile\r\n");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Flags, static_cast<UINT>(MB_OK | MB_ICONWARNING));
  EXPECT_THAT(boxes[0].Text, HasSubstr("could not be written"));
  EXPECT_THAT(boxes[0].Text, HasSubstr("File type \"nosuchfile\" not found."));
  EXPECT_EQ(boxes[0].Text.find("Do you want to view"), std::string::npos);
}

TEST_F(StaticItemsPageTest, FailedApplyKeepsChangesPendingAndASecondApplyConverges) {
  // The menu file's folder does not exist yet: writing it fails.
  const std::string folder = menuFile + ".dir";
  RemoveDirectoryA(folder.c_str());
  const std::string saved = menuFile;
  menuFile = folder + "\\Orvane.ini";
  Open("");
  Page().AddStaticFiles({"C:\\tools\\edit.exe"});
  ASSERT_TRUE(form->HasChanges());
  form->IdleUpdate();
  SendMessageA(form->btnApply.Handle(), BM_CLICK, 0, 0);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_FALSE(boxes[0].Text.empty());
  EXPECT_TRUE(form->HasChanges());
  form->IdleUpdate();
  EXPECT_TRUE(IsWindowEnabled(form->btnApply.Handle()));

  CreateDirectoryA(folder.c_str(), nullptr);
  SendMessageA(form->btnApply.Handle(), BM_CLICK, 0, 0);
  EXPECT_FALSE(form->HasChanges());
  EXPECT_THAT(ReadText(menuFile), HasSubstr("Caption0=edit.exe"));
  Discard();
  DeleteFileA(menuFile.c_str());
  RemoveDirectoryA(folder.c_str());
  menuFile = saved;
}

// On the prefix's own HKEY_CLASSES_ROOT: Wine's file types, and the verbs Apply writes. A fresh
// prefix registers ".ini" but not ".txt".
// The prefix is shared by every test after these: each leaves it as it found it, without
// the verbs its load or Apply wrote and without the shell keys made for them.
class SystemRegistryPageTest : public StaticItemsPageTest {
protected:
  void SetUp() override {
    StaticItemsPageTest::SetUp();
    TRegistry classes(system);
    classes.SetRootKey(kHkeyClassesRoot);
    for (const char* type : kTypesUsed)
      if (classes.KeyExists(std::string("\\") + type + "\\shell")) hadShell.insert(type);
  }
  void TearDown() override {
    Discard();
    TRegistry classes(system);
    classes.SetRootKey(kHkeyClassesRoot);
    for (const char* type : kTypesUsed) {
      const std::string shell = std::string("\\") + type + "\\shell";
      if (!classes.OpenKeyReadOnly(shell)) continue;
      std::vector<std::string> verbs;
      classes.GetKeyNames(verbs);
      classes.CloseKey();
      for (const std::string& verb : verbs)
        if (verb.size() > 4 && verb.compare(verb.size() - 4, 4, " (*)") == 0)
          classes.DeleteKey(shell + "\\" + verb);
      if (!hadShell.count(type) && classes.OpenKeyReadOnly(shell)) {
        const bool empty = !classes.HasSubKeys();
        classes.CloseKey();
        if (empty) classes.DeleteKey(shell);
      }
    }
    StaticItemsPageTest::TearDown();
  }
  // The types these tests write verbs for.
  static constexpr const char* kTypesUsed[] = {"inifile", "Folder", "Directory", "*", "Drive"};
  TWin32Registry system;
  std::set<std::string> hadShell;
};

TEST_F(SystemRegistryPageTest, ApplyWritesTheVerbAndTheMenuFile) {
  Open("", &system);
  Page().AddStaticFiles({"C:\\tools\\viewer.exe"});
  TStaticMenuItem* item = Item("viewer.exe");
  ASSERT_NE(item, nullptr);
  item->SetCaption("Open with Viewer");
  item->SetFileType(form->FileTypeList().Items().FindByName("inifile"));
  form->IdleUpdate();
  SendMessageA(form->btnApply.Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(boxes.empty());
  EXPECT_FALSE(form->HasChanges());

  char value[256] = {};
  LONG size = sizeof value;
  ASSERT_EQ(RegQueryValueA(HKEY_CLASSES_ROOT, "inifile\\shell\\Open with Viewer (*)\\command",
                           value, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(std::string(value), "C:\\tools\\viewer.exe \"%1\"");
  EXPECT_EQ(ReadText(menuFile),
            "[Static Items]\r\nApplication0=C:\\tools\\viewer.exe\r\nParameters0=\"\"%1\"\"\r\n"
            "Caption0=Open with Viewer\r\nChecked0=1\r\nFileType0=inifile\r\nCount=1\r\n");
}

TEST_F(SystemRegistryPageTest, ScreenshotOfWineFileTypesWithADozenItems) {
  std::string text = "[Static Items]\r\nCount=12\r\n";
  const char* types[] = {"inifile", "inifile", "inifile", "Folder",  "Folder",    "Directory",
                         "*",       "*",       "inifile", "inifile", "inifile", "Drive"};
  const char* captions[] = {"Open with &Viewer", "Print here",  "Count words",  "Command prompt",
                            "Pack folder",       "Size of it",  "Copy path",    "Hash",
                            "Run as tester",     "Dependencies", "Edit in Pad", "Check disk"};
  for (int i = 0; i < 12; ++i) {
    const std::string n = std::to_string(i);
    const std::string app = i == 4 ? "C:\\missing\\packer.exe" : "%SystemRoot%\\notepad.exe";
    text += "Application" + n + "=" + app + "\r\nParameters" + n + "=\"%1\"\r\nCaption" + n + "=" +
            captions[i] + "\r\nChecked" + n + "=" + (i % 5 == 2 ? "0" : "1") + "\r\nFileType" + n +
            "=" + types[i] + "\r\n";
  }
  Open(text, &system);
  EXPECT_TRUE(boxes.empty()) << ReadText(logFile);
  EXPECT_EQ(Menu().AllItems().size(), 12u);
  ClickNode(Item("Pack folder"));
  EXPECT_TRUE(Page().pnlStaticError.Visible());
  EXPECT_FALSE(SaveScreenshot(form->Handle(), "static_items_page").empty());
}

// The shell as the client: a verb that Apply wrote starts its program with the clicked
// file's path, blanks included, also when the program's own path has blanks (unquoted,
// the shell would start "arg.exe" beside it with the rest as arguments).
// A program typed with arguments of its own keeps them: quoted whole, it would name no file.
class ShellVerbTest : public SystemRegistryPageTest {
protected:
  void SetUp() override {
    SystemRegistryPageTest::SetUp();
    CreateDirectoryA(kFolder, nullptr);
    const std::string recorder = WindowsPath(ORVANE_ARG_RECORDER);
    ASSERT_TRUE(CopyFileA(recorder.c_str(), program.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(recorder.c_str(), decoy.c_str(), FALSE));
    CreateDirectoryA(kPlainFolder, nullptr);
    ASSERT_TRUE(CopyFileA(recorder.c_str(), plain.c_str(), FALSE));
    WriteText(document, "[section]\r\n");
  }
  void TearDown() override {
    for (const std::string& file :
         {program, program + ".args", decoy, decoy + ".args", plain, plain + ".args", document})
      DeleteFileA(file.c_str());
    RemoveDirectoryA(kFolder);
    RemoveDirectoryA(kPlainFolder);
    SystemRegistryPageTest::TearDown();
  }

  static constexpr const char* kFolder = "C:\\Orvane shell test";
  const std::string program = std::string(kFolder) + "\\arg recorder.exe";
  const std::string decoy = std::string(kFolder) + "\\arg.exe";
  const std::string document = std::string(kFolder) + "\\my notes.ini";
  // A program typed with arguments of its own, as "rundll32.exe url.dll,..." is.
  static constexpr const char* kPlainFolder = "C:\\OrvaneShellArgs";
  const std::string plain = std::string(kPlainFolder) + "\\recorder.exe";
};

TEST_F(ShellVerbTest, VerbStartsItsProgramWithTheFilePath) {
  struct Case {
    std::string application, recorder, args;
  };
  for (const Case& c : {Case{program, program, document + "\n"},
                        Case{"\"" + program + "\"", program, document + "\n"},
                        Case{plain + " --from-verb", plain, "--from-verb\n" + document + "\n"}}) {
    const std::string& application = c.application;
    SCOPED_TRACE(application);
    Open("", &system);
    Page().AddStaticFiles({program});
    TStaticMenuItem* item = Item("arg recorder.exe");
    ASSERT_NE(item, nullptr);
    item->SetCaption("Open with Viewer");
    item->SetApplication(application);
    item->SetFileType(form->FileTypeList().Items().FindByName("inifile"));
    form->ApplyChanges();
    ASSERT_FALSE(form->HasChanges());

    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = "Open with Viewer (*)";
    info.lpFile = document.c_str();
    info.nShow = SW_HIDE;
    ASSERT_TRUE(ShellExecuteExA(&info)) << GetLastError();
    ASSERT_NE(info.hProcess, nullptr);
    TKernelHandle process(info.hProcess);
    ASSERT_EQ(WaitForSingleObject(info.hProcess, 60000), WAIT_OBJECT_0);
    EXPECT_EQ(ReadText(c.recorder + ".args"), c.args);
    EXPECT_EQ(ReadText(decoy + ".args"), "");
    DeleteFileA((c.recorder + ".args").c_str());
    Discard();
  }
}

}  // namespace
}  // namespace orvane::testing
