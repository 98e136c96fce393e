#include "controls/adv_actions.h"

#include <optional>
#include <gtest/gtest.h>

#include "controls/application.h"
#include "controls/dragged_item.h"
#include "controls/edit_controls.h"
#include "controls/tree_view.h"
#include "filetypes/file_types.h"
#include "menus/menu_clipboard.h"
#include "menus/static_menu.h"
#include "platform/memory_clipboard.h"
#include "platform/memory_registry.h"
#include "platform/win32/window_helpers.h"
#include "test_form.h"
#include "tests/support/fake_services.h"

namespace orvane::testing {
namespace {

// A static menu with one category holding "Open" and "Print", shown in a tree, beside a
// text field; the edit commands on the form, the delete question answered by the test.
class EditActionTest : public ::testing::Test {
protected:
  void SetUp() override {
    TFileType* type = types.Add();
    type->SetName("txtfile");
    type->SetDescription("Text Document");
    open = AddItem("Open");
    print = AddItem("Print");
    category = open->Category();

    form.SetClientSize(300, 300);
    tree.SetBounds(0, 0, 300, 200);
    edit.SetBounds(0, 210, 200, 21);
    edit.SetText("notepad.exe");
    tree.SetCollection(&menu);
    TTreeNode node = tree.AddNode(nullptr, "Text Document", category);
    tree.AddNode(node, "Open", open);
    tree.AddNode(node, "Print", print);
    remove.SetShortCut(VK_DELETE);
    form.Show();
    answers.emplace([this](const std::string& text, const std::string& caption, UINT flags) {
      boxes.push_back({text, caption, flags});
      return answer;
    });
  }

  TCustomMenuItem* AddItem(const std::string& caption) {
    auto* item = static_cast<TCustomMenuItem*>(menu.List().AddFirstItem(menu.Items()));
    item->SetCaption(caption);
    return item;
  }
  void FocusTree(TTreeItem* item) {
    menu.Focus(item);
    tree.SetFocus();
  }
  int ItemCount() const { return category->Items().Count(); }

  struct Box {
    std::string text, caption;
    UINT flags;
  };

  TFileTypes types;
  TMemoryRegistry registry;
  TFakeFileSystem fileSystem;
  TStaticMenu menu{&types, TVerbRegistry{registry, fileSystem, kHkeyClassesRoot, ""}};
  TMemoryClipboard clipboard;
  TCustomMenuItem* open = nullptr;
  TCustomMenuItem* print = nullptr;
  TTreeItem* category = nullptr;
  TTestForm form;
  TAdvTreeView& tree = form.Create<TAdvTreeView>("tvMenu", &form);
  TEdit& edit = form.Create<TEdit>("edApplication", &form);
  TActionList& actions = form.Create<TActionList>("alCommon");
  TAdvEditCopy& copy = actions.Create<TAdvEditCopy>("actCopy", clipboard);
  TAdvEditDelete& remove = actions.Create<TAdvEditDelete>("actDelete", clipboard);
  TAdvEditPaste& paste = actions.Create<TAdvEditPaste>("actPaste", clipboard);
  std::vector<Box> boxes;
  int answer = IDOK;
  std::optional<TMessageBoxAnswers> answers;
};

TEST_F(EditActionTest, TheFocusedControlIsTheTarget) {
  menu.Focus(open);
  edit.SetFocus();
  SendMessageA(edit.Handle(), EM_SETSEL, 0, -1);
  EXPECT_TRUE(remove.Execute());  // deletes the text, not the focused menu item
  EXPECT_EQ(edit.Text(), "");
  EXPECT_EQ(ItemCount(), 2);
  EXPECT_TRUE(boxes.empty());

  FocusTree(open);
  EXPECT_TRUE(copy.Execute());
  EXPECT_TRUE(CanPasteItems(clipboard));  // the menu item, in the menu's format
  EXPECT_TRUE(remove.Execute());
  EXPECT_EQ(ItemCount(), 1);
  EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(EditActionTest, DeleteAsksAndOnlyOkDeletes) {
  FocusTree(print);
  answer = IDCANCEL;
  remove.Execute();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Delete menu item \"Print\"?");
  EXPECT_EQ(boxes[0].caption, kAppTitle);
  EXPECT_EQ(boxes[0].flags, static_cast<UINT>(MB_OKCANCEL | MB_ICONQUESTION));
  EXPECT_EQ(ItemCount(), 2);
  EXPECT_EQ(menu.FocusedItem(), print);

  answer = IDOK;
  remove.Execute();
  EXPECT_EQ(ItemCount(), 1);
  EXPECT_EQ(menu.FocusedItem(), open);  // the focus moved to the previous sibling
  EXPECT_TRUE(menu.Modified());
}

TEST_F(EditActionTest, DelKeyReachesTheTextFieldWhenNothingThereIsSelected) {
  edit.SetFocus();
  SendMessageA(edit.Handle(), EM_SETSEL, 0, 0);  // caret at the start, no selection
  PostMessageA(edit.Handle(), WM_KEYDOWN, VK_DELETE, 0);
  Application().ProcessMessages();
  EXPECT_EQ(edit.Text(), "otepad.exe");  // the edit deleted one character itself
  EXPECT_TRUE(boxes.empty());

  FocusTree(open);
  answer = IDCANCEL;
  PostMessageA(tree.Handle(), WM_KEYDOWN, VK_DELETE, 0);
  Application().ProcessMessages();
  EXPECT_EQ(boxes.size(), 1u);  // on the tree the key is the delete command
}

TEST_F(EditActionTest, CategoryTakesPastesOnlyOfMenuItems) {
  FocusTree(category);
  copy.Update();
  remove.Update();
  EXPECT_FALSE(copy.Enabled());
  EXPECT_FALSE(remove.Enabled());
  paste.Update();
  EXPECT_FALSE(paste.Enabled());  // empty clipboard

  {
    TClipboardOpen opened(clipboard);
    clipboard.Empty();
    clipboard.SetData(kCfText, "[TStaticMenuItem]\r\nCaption1=Open\r\nCount=2\r\n");
  }
  paste.Update();
  EXPECT_FALSE(paste.Enabled());  // text alone is not a menu item

  FocusTree(open);
  copy.Execute();
  FocusTree(category);
  EXPECT_TRUE(paste.Execute());
  ASSERT_EQ(ItemCount(), 3);
  auto* pasted = static_cast<TCustomMenuItem*>(category->Items()[2]);
  EXPECT_EQ(pasted->Caption(), "Open");
  EXPECT_EQ(menu.FocusedItem(), pasted);
}

TEST_F(EditActionTest, RestrictedActionIsOffOutsideItsControls) {
  int afterUpdates = 0;
  copy.OnAfterUpdate = [&](TAdvEditAction&) { ++afterUpdates; };
  copy.SetControls({&tree});
  edit.SetFocus();
  SendMessageA(edit.Handle(), EM_SETSEL, 0, -1);
  copy.Update();
  EXPECT_FALSE(copy.Enabled());
  EXPECT_EQ(afterUpdates, 1);
  FocusTree(open);
  copy.Update();
  EXPECT_TRUE(copy.Enabled());
}

TEST_F(EditActionTest, WhileALabelIsEditedTheEditorIsTheTarget) {
  FocusTree(open);
  ASSERT_TRUE(tree.EditLabel(tree.FindNode(open)));
  HWND editor = tree.EditHandle();
  ASSERT_EQ(GetFocus(), editor);
  SendMessageA(editor, EM_SETSEL, 0, -1);
  EXPECT_TRUE(remove.Execute());
  EXPECT_EQ(GetWindowTextLengthA(editor), 0);
  EXPECT_EQ(ItemCount(), 2);
  EXPECT_TRUE(boxes.empty());
  tree.EndEditing(true);
}

TEST_F(EditActionTest, DraggedItemNamesItsItemAndTheCursor) {
  TDraggedStaticItem dragged(*static_cast<TStaticMenuItem*>(open));
  EXPECT_EQ(dragged.Item(), open);
  EXPECT_EQ(dragged.GetDragCursor(true, 0, 0), crArrow);
  EXPECT_EQ(dragged.GetDragCursor(false, 0, 0), crNo);
  dragged.SetDragCursor(2);
  EXPECT_EQ(dragged.GetDragCursor(true, 0, 0), 2);
  EXPECT_EQ(dragged.GetDragCursor(false, 0, 0), crNo);
  dragged.SetDragImages(TreeView_CreateDragImage(tree.Handle(), tree.FindNode(open)));
  open->Free();  // the item went away during the drag
  EXPECT_EQ(dragged.Item(), nullptr);
}

}  // namespace
}  // namespace orvane::testing
