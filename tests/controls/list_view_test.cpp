#include "controls/list_view.h"

#include <gtest/gtest.h>

#include "controls/application.h"
#include "test_form.h"

namespace orvane::testing {
namespace {

class ListViewTest : public ::testing::Test {
protected:
  void SetUp() override {
    form.SetClientSize(300, 200);
    view.SetBounds(0, 0, 300, 200);
    view.AddColumn("Name", 150, 1);
    view.AddColumn("Size", 100, 2);
    form.Show();
  }

  int Add(const std::string& name, const std::string& size, int data) {
    const int index = view.AddItem(name, -1, reinterpret_cast<void*>(static_cast<intptr_t>(data)));
    view.SetSubItem(index, 1, size);
    return index;
  }
  int Data(int index) const {
    return static_cast<int>(reinterpret_cast<intptr_t>(view.ItemData(index)));
  }

  TTestForm form;
  TListView& view = form.Create<TListView>("lvFiles", &form);
};

TEST_F(ListViewTest, ColumnCaptionsAreLanguagePaths) {
  EXPECT_EQ(form.GetPropertyPath("lvFiles.Columns(1).Caption"), "Size");
  form.SetPropertyPath("lvFiles.Columns(0).Caption", "Nom");
  EXPECT_EQ(view.Columns(0).Caption(), "Nom");
  EXPECT_THROW(form.SetPropertyPath("lvFiles.Columns(2).Caption", "x"), EComponentError);
}

TEST_F(ListViewTest, SortingMovesDataSubItemsAndSelectionWithTheirRows) {
  Add("gamma", "3", 30);
  Add("alpha", "1", 10);
  Add("beta", "2", 20);
  view.SetSelected(0, true);
  view.SetFocusedIndex(0);
  view.Sort([&](int a, int b) { return view.ItemText(a).compare(view.ItemText(b)); });
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(Data(i), (i + 1) * 10);
    EXPECT_EQ(view.ItemText(i, 1), std::to_string(i + 1));
  }
  EXPECT_EQ(view.SelectedIndex(), 2);  // "gamma" keeps its selection
  EXPECT_EQ(view.FocusedIndex(), 2);
}

// New rows get their first check box image from the control: that must not look like the
// user's change, or filling a list would mark every entry.
TEST_F(ListViewTest, CheckBoxChangesReachTheOwnerButNewRowsDoNot) {
  view.SetCheckBoxes(true);
  std::vector<std::pair<int, bool>> changes;
  view.OnItemChecked = [&](int index, bool checked) { changes.emplace_back(index, checked); };
  Add("alpha", "1", 10);
  Add("beta", "2", 20);
  EXPECT_TRUE(changes.empty());
  EXPECT_FALSE(view.Checked(1));
  view.SetChecked(1, true);
  EXPECT_TRUE(view.Checked(1));
  view.SetSelected(0, true);
  view.SetFocusedIndex(0);
  SendMessageA(view.Handle(), WM_KEYDOWN, VK_SPACE, 0x00390001);
  SendMessageA(view.Handle(), WM_KEYUP, VK_SPACE, 0xC0390001);
  EXPECT_EQ(changes, (std::vector<std::pair<int, bool>>{{1, true}, {0, true}}));
}

// The pop-up menu acts on the row under the pointer, not on the one selected before.
TEST_F(ListViewTest, RightPressSelectsTheRowUnderThePointer) {
  view.RightClickSelect = true;
  Add("alpha", "1", 10);
  Add("beta", "2", 20);
  view.SetSelected(0, true);
  const RECT row = view.ItemRect(1);
  PostMessageA(view.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(row.left + 20, row.top + 2));
  PostMessageA(view.Handle(), WM_RBUTTONUP, 0, MAKELPARAM(row.left + 20, row.top + 2));
  Application().ProcessMessages();
  EXPECT_EQ(view.SelectedIndex(), 1);
  EXPECT_EQ(view.FocusedIndex(), 1);
}

TEST_F(ListViewTest, HeaderClickNamesTheColumn) {
  std::vector<int> clicks;
  view.OnColumnClick = [&](int column) { clicks.push_back(column); };
  HWND header = ListView_GetHeader(view.Handle());
  RECT rect{};
  Header_GetItemRect(header, 1, &rect);
  const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(header, WM_LBUTTONUP, 0, at);
  EXPECT_EQ(clicks, std::vector<int>{1});
}

TEST_F(ListViewTest, HeaderImageIsSetAndCleared) {
  view.SetColumnImage(1, 0);
  EXPECT_EQ(view.ColumnImage(1), 0);
  EXPECT_EQ(view.ColumnImage(0), -1);
  view.SetColumnImage(1, -1);
  EXPECT_EQ(view.ColumnImage(1), -1);
}

TEST_F(ListViewTest, CustomDrawHookSeesEveryPaintedRow) {
  Add("alpha", "1", 10);
  Add("beta", "2", 20);
  std::vector<int> drawn;
  view.OnCustomDraw = [&](NMLVCUSTOMDRAW& draw) -> LRESULT {
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT)
      drawn.push_back(static_cast<int>(draw.nmcd.lItemlParam));
    return CDRF_DODEFAULT;
  };
  InvalidateRect(view.Handle(), nullptr, TRUE);
  UpdateWindow(view.Handle());
  EXPECT_EQ(drawn, (std::vector<int>{10, 20}));
}

TEST_F(ListViewTest, ClickOnARowSelectsItAndTellsTheHandler) {
  Add("alpha", "1", 10);
  Add("beta", "2", 20);
  std::vector<std::pair<int, bool>> changes;
  view.OnSelectItem = [&](int index, bool selected) { changes.emplace_back(index, selected); };
  const RECT rect = view.ItemRect(1);
  const LPARAM at = MAKELPARAM(rect.left + 5, (rect.top + rect.bottom) / 2);
  EXPECT_EQ(view.ItemAt(rect.left + 5, (rect.top + rect.bottom) / 2), 1);
  SendMessageA(view.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(view.Handle(), WM_LBUTTONUP, 0, at);
  EXPECT_EQ(view.SelectedIndex(), 1);
  ASSERT_FALSE(changes.empty());
  EXPECT_EQ(changes.back(), std::make_pair(1, true));
}

}  // namespace
}  // namespace orvane::testing
