#include "controls/tree_view.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstring>

#include "controls/application.h"
#include "controls/edit_controls.h"
#include "platform/exception.h"
#include "test_form.h"

namespace orvane::testing {
namespace {

// A drop as the file manager hands it over: DROPFILES followed by the names, each ended
// by a NUL, and a final NUL. The receiver releases it.
HDROP MakeDrop(const std::vector<std::string>& names) {
  size_t size = sizeof(DROPFILES) + 1;
  for (const auto& name : names) size += name.size() + 1;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  char* text = reinterpret_cast<char*>(drop + 1);
  for (const auto& name : names) {
    std::memcpy(text, name.c_str(), name.size() + 1);
    text += name.size() + 1;
  }
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

class TreeViewTest : public ::testing::Test {
protected:
  void SetUp() override {
    form.SetClientSize(300, 300);
    tree.SetBounds(0, 0, 300, 260);
    edit.SetBounds(0, 270, 100, 21);
    category = tree.AddNode(nullptr, "Text Document", &categoryData);
    item = tree.AddNode(category, "Open with Notepad", &itemData);
    tree.Expand(category, true);
    form.Show();
  }

  POINT CenterOf(TTreeNode node) const {
    const RECT rect = tree.NodeRect(node, true);
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  }

  int categoryData = 0;
  int itemData = 0;
  TTestForm form;
  TAdvTreeView& tree = form.Create<TAdvTreeView>("tvMenu", &form);
  TEdit& edit = form.Create<TEdit>("edOther", &form);
  TTreeNode category = nullptr;
  TTreeNode item = nullptr;
};

TEST_F(TreeViewTest, F2OnANodeWhoseEditingIsRefusedOpensNoEditor) {
  tree.OnEditing = [&](TTreeNode node, bool& allow) { allow = node != category; };
  tree.SetSelected(category);
  tree.SetFocus();
  SendMessageA(tree.Handle(), WM_KEYDOWN, VK_F2, 0);
  EXPECT_FALSE(tree.IsEditing());
  tree.SetSelected(item);
  SendMessageA(tree.Handle(), WM_KEYDOWN, VK_F2, 0);
  EXPECT_TRUE(tree.IsEditing());
  tree.EndEditing(true);
  tree.SetReadOnly(true);
  SendMessageA(tree.Handle(), WM_KEYDOWN, VK_F2, 0);
  EXPECT_FALSE(tree.IsEditing());
}

TEST_F(TreeViewTest, EnterAndEscapeReachTheLabelEditorThroughTheWindowsKeyHandling) {
  std::vector<std::string> edited;
  tree.OnEdited = [&](TTreeNode, std::string& text) {
    edited.push_back(text);
    text += " (edited)";
  };
  ASSERT_EQ(tree.EditLabel(item), item);
  SetWindowTextA(tree.EditHandle(), "Print");
  PostMessageA(tree.EditHandle(), WM_KEYDOWN, VK_RETURN, 0);
  Application().ProcessMessages();
  EXPECT_FALSE(tree.IsEditing());
  EXPECT_EQ(edited, std::vector<std::string>{"Print"});
  EXPECT_EQ(tree.NodeText(item), "Print (edited)");

  ASSERT_EQ(tree.EditLabel(item), item);
  SetWindowTextA(tree.EditHandle(), "Lost");
  PostMessageA(tree.EditHandle(), WM_KEYDOWN, VK_ESCAPE, 0);
  Application().ProcessMessages();
  EXPECT_FALSE(tree.IsEditing());
  EXPECT_EQ(edited.size(), 1u);  // cancelled: no edit reported
  EXPECT_EQ(tree.NodeText(item), "Print (edited)");
}

TEST_F(TreeViewTest, DroppedNamesComeInDropOrderCutAt254Characters) {
  std::vector<std::vector<std::string>> drops;
  tree.OnFilesDrop = [&](const std::vector<std::string>& files) { drops.push_back(files); };
  const std::string longName = "C:\\" + std::string(300, 'a') + ".exe";
  SendMessageA(tree.Handle(), WM_DROPFILES,
               reinterpret_cast<WPARAM>(MakeDrop({"C:\\b.exe", longName, "C:\\a.exe"})), 0);
  ASSERT_EQ(drops.size(), 1u);
  EXPECT_EQ(drops[0], (std::vector<std::string>{"C:\\b.exe", longName.substr(0, 254), "C:\\a.exe"}));

  SendMessageA(tree.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({})), 0);
  EXPECT_EQ(drops.size(), 1u);  // an empty drop raises nothing
}

TEST_F(TreeViewTest, AcceptFilesRegistersTheWindowForDrops) {
  tree.SetAcceptFiles(true);
  EXPECT_TRUE(GetWindowLongPtrA(tree.Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  tree.SetAcceptFiles(false);
  EXPECT_FALSE(GetWindowLongPtrA(tree.Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
}

TEST_F(TreeViewTest, RightClickSelectsTheNodeUnderTheMouse) {
  tree.SetSelected(category);
  tree.RightClickSelect = true;
  const POINT at = CenterOf(item);
  PostMessageA(tree.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
  PostMessageA(tree.Handle(), WM_RBUTTONUP, 0, MAKELPARAM(at.x, at.y));
  Application().ProcessMessages();
  EXPECT_EQ(tree.Selected(), item);
}

struct CountingDrag : TDragObject {
  explicit CountingDrag(int& alive) : alive_(alive) { ++alive_; }
  ~CountingDrag() override { --alive_; }
  int& alive_;
};

TEST_F(TreeViewTest, DragRemembersItsStartNodeAndDropsOnlyWhereAccepted) {
  int alive = 0;
  tree.OnStartDrag = [&](std::unique_ptr<TDragObject>& object) {
    if (tree.DragNode() == item) object = std::make_unique<CountingDrag>(alive);
  };
  tree.OnDragOver = [&](TDragObject&, int x, int y, bool& accept) {
    accept = tree.NodeAt(x, y) == category;
  };
  std::vector<TTreeNode> drops;
  tree.OnDragDrop = [&](TDragObject&, int x, int y) { drops.push_back(tree.NodeAt(x, y)); };

  tree.BeginDrag(category, CenterOf(category));  // refused by the page: no object
  EXPECT_FALSE(tree.Dragging());
  EXPECT_EQ(tree.DragNode(), nullptr);

  tree.BeginDrag(item, CenterOf(item));
  ASSERT_TRUE(tree.Dragging());
  EXPECT_EQ(tree.DragNode(), item);
  EXPECT_THROW(tree.SetDefaultDragging(false), Exception);
  const POINT over = CenterOf(category);
  SendMessageA(tree.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(over.x, over.y));
  EXPECT_EQ(tree.DropTarget(), category);
  SendMessageA(tree.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(over.x, over.y));
  EXPECT_FALSE(tree.Dragging());
  EXPECT_EQ(tree.DragNode(), nullptr);
  EXPECT_EQ(drops, std::vector<TTreeNode>{category});
  EXPECT_EQ(alive, 0);  // the drag object ends with the drag

  tree.BeginDrag(item, CenterOf(item));  // released over a refusing place
  const POINT self = CenterOf(item);
  SendMessageA(tree.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(self.x, self.y));
  EXPECT_EQ(drops.size(), 1u);

  tree.BeginDrag(item, CenterOf(item));  // Escape cancels
  SendMessageA(tree.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(over.x, over.y));
  SendMessageA(tree.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(tree.Dragging());
  EXPECT_EQ(drops.size(), 1u);
  EXPECT_EQ(alive, 0);
  tree.SetDefaultDragging(false);  // allowed again after the drag
}

TEST_F(TreeViewTest, BeginDragNotificationStartsTheDragOnItsNode) {
  tree.OnStartDrag = [&](std::unique_ptr<TDragObject>& object) {
    object = std::make_unique<TDragObject>();
  };
  NMTREEVIEWA drag{};
  drag.hdr.hwndFrom = tree.Handle();
  drag.hdr.code = TVN_BEGINDRAGA;
  drag.itemNew.hItem = item;
  drag.ptDrag = CenterOf(item);
  SendMessageA(form.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&drag));
  EXPECT_EQ(tree.DragNode(), item);
  tree.EndDrag(false);
}

TEST_F(TreeViewTest, EveryLeftClickReportsOneRelease) {
  std::vector<std::string> events;
  tree.OnMouseDown = [&](int button, int, int) { events.push_back("down" + std::to_string(button)); };
  tree.OnMouseUp = [&](int button, int x, int y) {
    events.push_back("up" + std::to_string(button));
    EXPECT_EQ(tree.NodeAt(x, y), item);  // where the click was
  };
  const POINT at = CenterOf(item);
  PostMessageA(tree.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
  PostMessageA(tree.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
  Application().ProcessMessages();
  EXPECT_EQ(events, (std::vector<std::string>{"down0", "up0"}));
}

TEST_F(TreeViewTest, CustomDrawHookSeesEveryPaintedNode) {
  std::vector<void*> drawn;
  tree.OnCustomDraw = [&](NMTVCUSTOMDRAW& draw) -> LRESULT {
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT)
      drawn.push_back(reinterpret_cast<void*>(draw.nmcd.lItemlParam));
    return CDRF_DODEFAULT;
  };
  InvalidateRect(tree.Handle(), nullptr, TRUE);
  UpdateWindow(tree.Handle());
  EXPECT_EQ(drawn, (std::vector<void*>{&categoryData, &itemData}));
}

TEST_F(TreeViewTest, FindNodeSearchesTheWholeTree) {
  EXPECT_EQ(tree.FindNode(&itemData), item);
  EXPECT_EQ(tree.FindNode(&categoryData), category);
  tree.DeleteChildren(category);
  EXPECT_EQ(tree.FindNode(&itemData), nullptr);
  EXPECT_EQ(tree.Count(), 1);
}

}  // namespace
}  // namespace orvane::testing
