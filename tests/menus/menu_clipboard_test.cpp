// Menu items through the clipboard: the text a copy puts there, pastes within a menu,
// across categories and across the two menus, and texts that are damaged or hostile.
// The same cases run on the in-memory clipboard and, in the Windows build, on the
// system clipboard.

#include "menus/menu_clipboard.h"

#include <gtest/gtest.h>

#include "menu_file_fixture.h"
#include "menus/dynamic_menu.h"
#include "menus/static_menu.h"
#include "platform/memory_clipboard.h"
#include "platform/memory_registry.h"
#include "storage/storage_errors.h"
#include "tests/filetypes/fake_icons.h"
#include "tests/support/fake_services.h"

namespace orvane::testing {
namespace {

struct MemoryClipboard {
  static constexpr const char* kName = "Memory";
  TMemoryClipboard clipboard;
  IClipboard& Get() { return clipboard; }
};

#ifdef _WIN32
struct SystemClipboard {
  static constexpr const char* kName = "Win32";
  IClipboard& Get() { return DefaultClipboard(); }
};
using Clipboards = ::testing::Types<MemoryClipboard, SystemClipboard>;
#else
using Clipboards = ::testing::Types<MemoryClipboard>;
#endif

struct ClipboardName {
  template <class T>
  static std::string GetName(int) {
    return T::kName;
  }
};

template <class Clipboard>
class MenuClipboardTest : public ::testing::Test, public MenuFiles {
protected:
  IClipboard& Board() { return clipboard_.Get(); }
  // Puts raw data on the clipboard as another program would.
  void PutText(const std::string& text, bool marked) {
    TClipboardOpen open(Board());
    Board().Empty();
    Board().SetData(kCfText, text + std::string(1, '\0'));
    if (marked) Board().SetData(Board().RegisterFormat("OrvaneMenuItem"), std::string(4, '\0'));
  }
  std::string ClipboardText() {
    TClipboardOpen open(Board());
    std::optional<std::string> text = Board().GetData(kCfText);
    return text ? text->substr(0, text->find('\0')) : std::string("(none)");
  }

  TTreeItems& Dyn(const std::string& type) {
    return dynamicMenu.List().FindOrAddCategory(Type(type))->Items();
  }
  TTreeItems& Stat(const std::string& type) {
    return staticMenu.List().FindOrAddCategory(Type(type))->Items();
  }
  TDynamicMenuItem* Add(TTreeItems& list, const std::string& caption, bool checked = true) {
    auto* item = static_cast<TDynamicMenuItem*>(dynamicMenu.List().AddFirstItem(list));
    item->SetCaption(caption);
    item->SetApplication(caption + ".exe");
    item->SetChecked(checked);
    return item;
  }
  // A submenu with three children (an item, a separator, an inactive item) in txtfile.
  TDynamicSubMenu* Tools() {
    auto* submenu = static_cast<TDynamicSubMenu*>(dynamicMenu.List().AddSubMenu(Dyn("txtfile")));
    submenu->SetCaption("Tools");
    submenu->SetHint("Tools hint");
    Add(submenu->Items(), "Edit");
    Add(submenu->Items(), "-")->SetSeparator(true);
    Add(submenu->Items(), "View", false);
    return submenu;
  }
  static std::vector<std::string> Captions(const TTreeItems& list) {
    std::vector<std::string> captions;
    for (int i = 0; i < list.Count(); ++i)
      captions.push_back(static_cast<TCustomMenuItem*>(list[i])->Caption());
    return captions;
  }

  TMemoryRegistry registry;
  TFakeFileSystem fileSystem;
  TStaticMenu staticMenu{&types, TVerbRegistry{registry, fileSystem, kHkeyClassesRoot, ""}};
  TDynamicMenu dynamicMenu{&types, Images()};

private:
  Clipboard clipboard_;
};

TYPED_TEST_SUITE(MenuClipboardTest, Clipboards, ClipboardName);

TYPED_TEST(MenuClipboardTest, CopyWritesTheSubtreeAndCountOnePastTheLastEntry) {
  TDynamicSubMenu* tools = this->Tools();
  CopyItemToClipboard(*tools, this->Board());
  EXPECT_TRUE(CanPasteItems(this->Board()));
  EXPECT_EQ(this->ClipboardText(), CrLf({"[TDynamicSubMenu]",
                                         "Parent1=0",
                                         "Caption1=Tools",
                                         "Checked1=1",
                                         "FileType1=txtfile",
                                         "Hint1=Tools hint",
                                         "IconFile1=",
                                         "IconIndex1=0",
                                         "Submenu1=1",
                                         "Parent2=1",
                                         "Application2=Edit.exe",
                                         "Parameters2=\"\"%1\"\"",
                                         "Caption2=Edit",
                                         "Hint2=",
                                         "IconFile2=",
                                         "IconIndex2=0",
                                         "Checked2=1",
                                         "FileType2=txtfile",
                                         "Parent3=1",
                                         "IsSeparator3=1",
                                         "Checked3=1",
                                         "FileType3=txtfile",
                                         "Parent4=1",
                                         "Application4=View.exe",
                                         "Parameters4=\"\"%1\"\"",
                                         "Caption4=View",
                                         "Hint4=",
                                         "IconFile4=",
                                         "IconIndex4=0",
                                         "Checked4=0",
                                         "FileType4=txtfile",
                                         "Count=5"}));
  TClipboardOpen open(this->Board());
  EXPECT_EQ(this->Board().GetData(this->Board().RegisterFormat("OrvaneMenuItem"))->substr(0, 4),
            std::string("\x05\x00\x00\x00", 4));
}

TYPED_TEST(MenuClipboardTest, SubmenuPastedInItsMenuComesBackWhole) {
  TDynamicSubMenu* tools = this->Tools();
  CopyItemToClipboard(*tools, this->Board());
  this->dynamicMenu.ClearModified();
  std::vector<TCustomMenuItem*> pasted = PasteItems(this->Dyn("txtfile"), this->Board());
  ASSERT_EQ(pasted.size(), 4u);
  ASSERT_EQ(this->Dyn("txtfile").Count(), 2);
  auto* copy = dynamic_cast<TDynamicSubMenu*>(this->Dyn("txtfile")[1]);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(pasted[0], copy);
  EXPECT_EQ(copy->Hint(), "Tools hint");
  EXPECT_EQ(this->Captions(copy->Items()),
            (std::vector<std::string>{"Edit", kSeparatorCaption, "View"}));
  EXPECT_TRUE(static_cast<TDynamicMenuItem*>(copy->Items()[1])->IsSeparator());
  EXPECT_TRUE(static_cast<TDynamicMenuItem*>(copy->Items()[0])->Checked());
  EXPECT_FALSE(static_cast<TDynamicMenuItem*>(copy->Items()[2])->Checked());
  EXPECT_TRUE(this->dynamicMenu.IsModified());
}

TYPED_TEST(MenuClipboardTest, NestedItemPastedOnAnotherCategoryStandsAtItsTop) {
  TDynamicSubMenu* tools = this->Tools();
  CopyItemToClipboard(*static_cast<TCustomMenuItem*>(tools->Items()[0]), this->Board());
  EXPECT_NE(this->ClipboardText().find("Parent1=0\r\n"), std::string::npos);
  std::vector<TCustomMenuItem*> pasted = PasteItems(this->Dyn("Directory"), this->Board());
  ASSERT_EQ(pasted.size(), 1u);
  EXPECT_EQ(pasted[0]->Parent(), this->dynamicMenu.List().FindCategory(this->Type("Directory")));
  EXPECT_EQ(pasted[0]->Caption(), "Edit");
  EXPECT_EQ(pasted[0]->ItemFileType(), this->Type("Directory"));
}

TYPED_TEST(MenuClipboardTest, DynamicSubmenuPastedIntoTheStaticMenuArrivesFlattened) {
  CopyItemToClipboard(*this->Tools(), this->Board());
  TTreeItems& target = this->Stat("exefile");
  std::vector<TCustomMenuItem*> pasted = PasteItems(target, this->Board());
  ASSERT_EQ(pasted.size(), 4u);
  EXPECT_EQ(this->Captions(target),
            (std::vector<std::string>{"Tools", "Edit", kSeparatorCaption, "View"}));
  for (TCustomMenuItem* item : pasted) {
    EXPECT_NE(dynamic_cast<TStaticMenuItem*>(item), nullptr);
    EXPECT_FALSE(static_cast<TStaticMenuItem*>(item)->StoreInfo().Stored());
  }
  EXPECT_EQ(pasted[1]->Application(), "Edit.exe");
  EXPECT_FALSE(pasted[3]->Checked());
}

TYPED_TEST(MenuClipboardTest, StaticItemPastedIntoTheDynamicMenuBecomesAPlainItem) {
  auto* item =
      static_cast<TStaticMenuItem*>(this->staticMenu.List().AddFirstItem(this->Stat("txtfile")));
  item->SetCaption("Open");
  item->SetApplication("open.exe");
  CopyItemToClipboard(*item, this->Board());
  EXPECT_EQ(this->ClipboardText(),
            CrLf({"[TStaticMenuItem]", "Application1=open.exe", "Parameters1=\"\"%1\"\"",
                  "Caption1=Open", "Checked1=1", "FileType1=txtfile", "Count=2"}));
  std::vector<TCustomMenuItem*> pasted = PasteItems(this->Dyn("Directory"), this->Board());
  ASSERT_EQ(pasted.size(), 1u);
  EXPECT_NE(dynamic_cast<TDynamicMenuItem*>(pasted[0]), nullptr);
  EXPECT_EQ(pasted[0]->Application(), "open.exe");
  EXPECT_EQ(pasted[0]->Parameters(), "\"%1\"");
}

// Section names are matched as the INI engine matches them: without regard to case.
TYPED_TEST(MenuClipboardTest, ClassNamesMatchWithoutCase) {
  this->PutText(CrLf({"[tdynamicsubmenu]", "Parent1=0", "Caption1=Tools", "Submenu1=1", "Parent2=1",
                      "Application2=a.exe", "Caption2=A", "Count=3"}),
                true);
  std::vector<TCustomMenuItem*> pasted = PasteItems(this->Dyn("txtfile"), this->Board());
  ASSERT_EQ(pasted.size(), 2u);
  EXPECT_NE(dynamic_cast<TDynamicSubMenu*>(pasted[0]), nullptr);
  EXPECT_EQ(pasted[1]->Parent(), pasted[0]);

  this->PutText(CrLf({"[TSTATICMENUITEM]", "Application1=b.exe", "Caption1=B", "Count=2"}), true);
  pasted = PasteItems(this->Stat("txtfile"), this->Board());
  ASSERT_EQ(pasted.size(), 1u);
  EXPECT_NE(dynamic_cast<TStaticMenuItem*>(pasted[0]), nullptr);
}

// Another program's text may name any path; opening one on a server would reach out to
// it. Such an item keeps its file but gets no image.
TYPED_TEST(MenuClipboardTest, IconFilesOnTheNetworkAreNeverOpened) {
  const std::string remote = "\\\\server\\share\\x.ico";
  const std::string local = "C:\\icons\\x.ico";
  for (const std::string& path : {remote, local}) {
    this->icons.files[path] = {};
    this->icons.existing.insert(path);
  }
  this->PutText(CrLf({"[TDynamicMenuItem]", "Parent1=0", "Caption1=Remote"}) + "IconFile1=" +
                    remote + "\r\n" + CrLf({"IconIndex1=0", "Parent2=0", "Caption2=Local"}) +
                    "IconFile2=" + local + "\r\n" + CrLf({"IconIndex2=0", "Count=3"}),
                true);
  std::vector<TCustomMenuItem*> pasted = PasteItems(this->Dyn("txtfile"), this->Board());
  ASSERT_EQ(pasted.size(), 2u);
  auto* remoteItem = static_cast<TDynamicMenuItem*>(pasted[0]);
  EXPECT_EQ(remoteItem->IconFile(), remote);
  EXPECT_TRUE(remoteItem->Icon().Empty());
  EXPECT_FALSE(static_cast<TDynamicMenuItem*>(pasted[1])->Icon().Empty());
  for (const std::string& call : this->icons.calls)
    EXPECT_EQ(call.find("server"), std::string::npos) << call;
}

TYPED_TEST(MenuClipboardTest, ForwardParentRaisesTheListErrorAndKeepsEarlierEntries) {
  this->PutText(
      CrLf({"[TDynamicMenuItem]", "Parent1=0", "Application1=a.exe", "Caption1=A", "Checked1=1",
            "Parent2=3", "Application2=b.exe", "Caption2=B", "Checked2=1", "Count=3"}),
      true);
  TTreeItems& target = this->Dyn("txtfile");
  try {
    PasteItems(target, this->Board());
    ADD_FAILURE() << "no error";
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), "List index out of bounds (3)");
  }
  EXPECT_EQ(this->Captions(target), (std::vector<std::string>{"A"}));
}

TYPED_TEST(MenuClipboardTest, DamagedOrForeignTextsPasteNothingOrStopAtTheDamage) {
  // Pastes go to a category that holds items, as the focused item's list does.
  TTreeItems& target = this->Dyn("txtfile");
  this->Add(target, "Anchor");
  // Plain text, even a valid menu section, is no menu item.
  this->PutText(CrLf({"[TDynamicMenuItem]", "Application1=a.exe", "Count=2"}), false);
  EXPECT_FALSE(CanPasteItems(this->Board()));
  EXPECT_TRUE(PasteItems(target, this->Board()).empty());

  for (const std::string& text :
       {std::string(""), std::string("no sections at all"),
        CrLf({"[TCollectionItem]", "Caption1=x"}), CrLf({"[TFileType]", "Caption1=x"}),
        CrLf({"", "[TDynamicMenuItem]", "Parent1=0"}), std::string("[TStaticMenuItem")}) {
    this->PutText(text, true);
    EXPECT_TRUE(PasteItems(target, this->Board()).empty()) << text;
  }
  EXPECT_EQ(target.Count(), 1);

  // A truncated second entry ends the paste there.
  this->PutText(CrLf({"[TDynamicMenuItem]", "Parent1=0", "Application1=a.exe", "Caption1=A",
                      "Checked1=1", "Parent2=0", "Parameters"}),
                true);
  EXPECT_EQ(PasteItems(target, this->Board()).size(), 1u);
  // Text after a NUL byte is not read.
  this->PutText(std::string("[TDynamicMenuItem]\r\n\0Caption1=B\r\n", 32), true);
  EXPECT_TRUE(PasteItems(target, this->Board()).empty());
  // A parent naming a plain item is refused by the menu's shape.
  this->PutText(
      CrLf({"[TDynamicMenuItem]", "Application1=a.exe", "Parent2=1", "Application2=b.exe"}), true);
  EXPECT_THROW(PasteItems(target, this->Board()), Exception);
  EXPECT_EQ(this->Captions(target), (std::vector<std::string>{"Anchor", "A", ""}));
}

// Another program's text nesting submenus thousands deep would overflow the stack of
// every recursive walk of the tree.
TYPED_TEST(MenuClipboardTest, NestingBeyondTheLimitEndsThePaste) {
  std::string text = "[TDynamicSubMenu]\r\n";
  for (int k = 1; k <= 20000; ++k) {
    std::string n = std::to_string(k);
    text += "Parent" + n + "=" + std::to_string(k - 1) + "\r\nCaption" + n + "=S\r\nSubmenu" + n +
            "=1\r\n";
  }
  this->PutText(text, true);
  std::vector<TCustomMenuItem*> pasted = PasteItems(this->Dyn("txtfile"), this->Board());
  EXPECT_EQ(pasted.size(), static_cast<size_t>(kMaxMenuDepth));
  TTreeItem* deepest = pasted.back();
  EXPECT_EQ(deepest->Items().Count(), 0);
  this->dynamicMenu.Items().Clear();
}

// What a paste builds must load again whole: the limit counts from the category, not
// from the paste target.
TYPED_TEST(MenuClipboardTest, PasteIntoADeepSubmenuStopsAtTheLoadersLimit) {
  std::string text = "[TDynamicSubMenu]\r\n";
  for (int k = 1; k <= 5; ++k) {
    std::string n = std::to_string(k);
    text += "Parent" + n + "=" + std::to_string(k - 1) + "\r\nCaption" + n + "=S\r\nSubmenu" + n +
            "=1\r\n";
  }
  this->PutText(text, true);
  TTreeItems* target = &this->Dyn("txtfile");
  while (MenuNesting(*target) < kMaxMenuDepth - 1)
    target = &this->dynamicMenu.List().AddSubMenu(*target)->Items();
  EXPECT_EQ(PasteItems(*target, this->Board()).size(), 2u);
  this->dynamicMenu.Items().Clear();
}

// A clipboard that another program holds cannot be opened.
TEST(MenuClipboard, LockedClipboardRaises) {
  MenuFiles files;
  TDynamicMenu menu(&files.types, files.Images());
  auto* item = static_cast<TCustomMenuItem*>(
      menu.List().AddFirstItem(menu.List().FindOrAddCategory(files.Type("txtfile"))->Items()));
  TMemoryClipboard clipboard;
  clipboard.Locked = true;
  EXPECT_THROW(CopyItemToClipboard(*item, clipboard), EClipboardError);
  clipboard.Locked = false;
  CopyItemToClipboard(*item, clipboard);
  EXPECT_FALSE(clipboard.IsOpen());
  clipboard.Locked = true;
  EXPECT_THROW(PasteItems(*item->Collection(), clipboard), EClipboardError);
}

}  // namespace
}  // namespace orvane::testing

#ifdef _WIN32
#include <cstdlib>

#include "platform/system_folders.h"

namespace orvane::testing {
namespace {

// What another running copy put on the system clipboard pastes here.
TEST(SystemClipboard, ItemsCopiedByAnotherProcessPasteHere) {
  std::string peer = ProgramFolder() + "menus_clipboard_peer.exe";
  ASSERT_EQ(std::system(("\"" + peer + "\"").c_str()), 0);
  MenuFiles files;
  TDynamicMenu menu(&files.types, files.Images());
  TTreeItems& target = menu.List().FindOrAddCategory(files.Type("Directory"))->Items();
  ASSERT_TRUE(CanPasteItems(DefaultClipboard()));
  std::vector<TCustomMenuItem*> pasted = PasteItems(target, DefaultClipboard());
  ASSERT_EQ(pasted.size(), 3u);
  EXPECT_EQ(pasted[0]->Caption(), "From peer");
  ASSERT_EQ(pasted[0]->Items().Count(), 2);
  EXPECT_EQ(static_cast<TCustomMenuItem*>(pasted[0]->Items()[1])->Caption(), "Two");
}

}  // namespace
}  // namespace orvane::testing
#endif
