#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/application.h"
#include "controls/edit_controls.h"
#include "controls/file_type_combo_box.h"
#include "controls/file_type_list_view.h"
#include "filetypes/file_type.h"
#include "filetypes/file_type_list.h"
#include "filetypes/predefined_types.h"
#include "platform/icon_source.h"
#include "platform/memory_registry.h"
#include "platform/reg_text.h"
#include "platform/win32/image_list.h"
#include "platform/win32/win32_registry.h"
#include "test_form.h"
#include "tests/support/screenshot.h"

namespace orvane::testing {
namespace {

// Two extensions of one type, one of another, and a type whose description sorts first
// but whose extension sorts last.
constexpr char kTypes[] =
    "REGEDIT4\n\n"
    "[HKEY_CLASSES_ROOT\\.b]\n@=\"alphafile\"\n"
    "[HKEY_CLASSES_ROOT\\.a]\n@=\"alphafile\"\n"
    "[HKEY_CLASSES_ROOT\\alphafile]\n@=\"Alpha file\"\n"
    "[HKEY_CLASSES_ROOT\\.txt]\n@=\"txtfile\"\n"
    "[HKEY_CLASSES_ROOT\\txtfile]\n@=\"Text Document\"\n"
    "[HKEY_CLASSES_ROOT\\.zz]\n@=\"aaafile\"\n"
    "[HKEY_CLASSES_ROOT\\aaafile]\n@=\"Aaa file\"\n";

class PickerTest : public ::testing::Test {
protected:
  void SetUp() override {
    SetPlatformClass(pcXP);
    SetShellVersion(0x60000);
    BuildPredefinedTable();
    ImportRegText(registry, kTypes);
    types.SetActive(true);
    form.SetClientSize(400, 300);
    form.Show();
  }

  std::vector<std::string> Column(const TListView& view, int column) const {
    std::vector<std::string> texts;
    for (int i = 0; i < view.ItemCount(); ++i) texts.push_back(view.ItemText(i, column));
    return texts;
  }

  TMemoryRegistry registry;
  TFileTypeList types{registry, DefaultIconSource()};
  TTestForm form;
};

constexpr TPredefinedTypes kAllFilesOnly = PredefinedTypeBit(ptypAllFiles);

struct StyleCase {
  TFileTypesViewStyle style;
  std::vector<std::string> captions;
  std::vector<std::string> extensions;  // the second column in ftvsAll
};

TEST_F(PickerTest, RowsOfEachViewStyle) {
  const StyleCase cases[] = {
      {ftvsTypes, {"All files", "Aaa file (.zz)", "Alpha file (.a;.b)", "Text Document (.txt)"}, {}},
      {ftvsExtensions, {".a", ".b", ".txt", ".zz"}, {}},
      {ftvsAll,
       {"All files", "Aaa file", "Alpha file", "Alpha file", "Text Document"},
       {"", ".zz", ".a", ".b", ".txt"}},
  };
  auto& view = form.Create<TFileTypeListView>("lvFileTypes", &form);
  view.SetPredefinedTypes(kAllFilesOnly);
  view.SetFileTypes(&types);
  for (const StyleCase& c : cases) {
    view.SetViewStyle(c.style);
    EXPECT_EQ(Column(view, 0), c.captions) << c.style;
    if (c.style == ftvsAll) {
      EXPECT_EQ(Column(view, 1), c.extensions);
    }
    EXPECT_EQ(view.ShowColumnHeaders(), c.style == ftvsAll);
    for (int i = 0; i < view.ItemCount(); ++i)
      EXPECT_EQ(view.ItemImage(i), view.ItemFileType(i)->Index());  // the type's icon
  }
  view.SetPredefinedTypes(0);
  view.SetViewStyle(ftvsTypes);
  EXPECT_EQ(Column(view, 0),
            (std::vector<std::string>{"Aaa file (.zz)", "Alpha file (.a;.b)", "Text Document (.txt)"}));
  view.SetPredefinedTypes(kAllPredefinedTypes);
  EXPECT_EQ(view.ItemCount(), 19 + 3);
  EXPECT_TRUE(view.ItemFileType(0)->Predefined());
}

TEST_F(PickerTest, HeaderClickSortsByExtensionAndMarksTheColumn) {
  auto& view = form.Create<TFileTypeListView>("lvFileTypes", &form);
  view.SetPredefinedTypes(0);
  view.SetFileTypes(&types);
  EXPECT_EQ(view.ColumnImage(0), 0);
  HWND header = ListView_GetHeader(view.Handle());
  RECT rect{};
  Header_GetItemRect(header, 1, &rect);
  const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(header, WM_LBUTTONUP, 0, at);
  EXPECT_EQ(view.SortType(), ftstExtension);
  EXPECT_EQ(Column(view, 1), (std::vector<std::string>{".a", ".b", ".txt", ".zz"}));
  EXPECT_EQ(view.ColumnImage(0), -1);
  EXPECT_EQ(view.ColumnImage(1), 0);
  view.SetSortType(ftstType);
  EXPECT_EQ(Column(view, 1), (std::vector<std::string>{".zz", ".a", ".b", ".txt"}));
}

// Rows follow the types' order also when a description changed after the scan, which
// leaves the type where it was in the model.
TEST_F(PickerTest, RowsFollowADescriptionChangedAfterTheScan) {
  auto& view = form.Create<TFileTypeListView>("lvFileTypes", &form);
  view.SetPredefinedTypes(0);
  view.SetFileTypes(&types);
  types.Items().FindByName("aaafile")->SetDescription("Zed file");
  view.SetSortType(ftstExtension);
  view.SetSortType(ftstType);
  EXPECT_EQ(Column(view, 0),
            (std::vector<std::string>{"Alpha file", "Alpha file", "Text Document", "Zed file"}));
}

TEST_F(PickerTest, ColumnsShareTheClientWidth) {
  auto& view = form.Create<TFileTypeListView>("lvFileTypes", &form);
  view.SetBounds(0, 0, 304, 100);
  view.SetFileTypes(&types);
  const int width = view.ClientWidth();
  EXPECT_EQ(view.Columns(0).Width(), width * 3 / 4);
  EXPECT_EQ(view.Columns(0).Width() + view.Columns(1).Width(), width);
  view.SetViewStyle(ftvsTypes);
  EXPECT_EQ(view.Columns(0).Width(), view.ClientWidth() - 1);
  view.SetBounds(0, 0, 200, 100);  // on every resize
  EXPECT_EQ(view.Columns(0).Width(), view.ClientWidth() - 1);
}

TEST_F(PickerTest, ReScanRebuildsRowsOverTheNewTypes) {
  auto& view = form.Create<TFileTypeListView>("lvFileTypes", &form);
  view.SetPredefinedTypes(0);
  view.SetViewStyle(ftvsExtensions);
  auto& combo = form.Create<TFileTypeComboBox>("cbFileType", &form);
  combo.SetPredefinedTypes(0);
  view.SetFileTypes(&types);
  combo.SetFileTypes(&types);
  combo.SetSelectedFileType(types.Items().FindByName("txtfile"));
  ImportRegText(registry, "REGEDIT4\n\n[HKEY_CLASSES_ROOT\\.ini]\n@=\"txtfile\"\n");

  types.SetActive(false);
  EXPECT_EQ(view.ItemCount(), 0);
  types.SetActive(true);
  EXPECT_EQ(Column(view, 0), (std::vector<std::string>{".a", ".b", ".ini", ".txt", ".zz"}));
  for (int i = 0; i < view.ItemCount(); ++i)
    EXPECT_EQ(view.ItemFileType(i)->FileTypes(), &types.Items());  // live types only
  // The combo found its choice again by name, in the new model.
  ASSERT_NE(combo.SelectedFileType(), nullptr);
  EXPECT_EQ(combo.SelectedFileType(), types.Items().FindByName("txtfile"));
  EXPECT_EQ(combo.Text(), "Text Document");

}

// A drop-down's thousands of rows cost a second at start: built when first needed.
TEST_F(PickerTest, ComboBuildsItsRowsWhenAChoiceOrTheDropDownNeedsThem) {
  auto& chosen = form.Create<TFileTypeComboBox>("cbChosen", &form);
  auto& dropped = form.Create<TFileTypeComboBox>("cbDropped", &form);
  for (TFileTypeComboBox* combo : {&chosen, &dropped}) {
    combo->SetFileTypes(&types);
    combo->SetSelectedFileType(nullptr);
    EXPECT_EQ(combo->List().ItemCount(), 0);
    EXPECT_EQ(combo->SelectedFileType(), nullptr);
  }
  types.SetActive(false);
  types.SetActive(true);
  EXPECT_EQ(chosen.List().ItemCount(), 0);
  chosen.SetSelectedFileType(types.Items().FindByName("txtfile"));
  EXPECT_GT(chosen.List().ItemCount(), 0);
  EXPECT_EQ(chosen.SelectedFileType(), types.Items().FindByName("txtfile"));
  EXPECT_EQ(chosen.Text(), "Text Document");
  dropped.DropDown();
  EXPECT_EQ(dropped.List().ItemCount(), chosen.List().ItemCount());
  dropped.CloseUp(false);
}

TEST_F(PickerTest, IconsStayShownAfterAReloadReplacesTheImageList) {
  TWin32ImageList images;
  auto& view = form.Create<TFileTypeListView>("lvFileTypes", &form);
  view.SetImages(&images);
  view.SetFileTypes(&types);
  types.SetImages(&images);  // reloads, and the icons get a new list
  ASSERT_NE(images.Handle(), nullptr);
  EXPECT_EQ(view.SmallImages(), images.Handle());
  EXPECT_EQ(ListView_GetImageList(view.Handle(), LVSIL_SMALL), images.Handle());
  types.SetImages(nullptr);
}

TEST_F(PickerTest, ChoiceWhoseTypeIsGoneAfterAReScanIsCleared) {
  auto& combo = form.Create<TFileTypeComboBox>("cbFileType", &form);
  combo.SetFileTypes(&types);
  combo.SetSelectedFileType(types.Items().FindByName("aaafile"));
  EXPECT_EQ(combo.Text(), "Aaa file");
  ImportRegText(registry, "REGEDIT4\n\n[-HKEY_CLASSES_ROOT\\.zz]\n[-HKEY_CLASSES_ROOT\\aaafile]\n");
  types.SetActive(false);
  types.SetActive(true);
  EXPECT_EQ(combo.SelectedFileType(), nullptr);
  EXPECT_EQ(combo.Text(), "");
}

TEST_F(PickerTest, ViewForgetsAListThatGoesAway) {
  auto& view = form.Create<TFileTypeListView>("lvFileTypes", &form);
  {
    TFileTypeList shortLived(registry, DefaultIconSource());
    shortLived.SetActive(true);
    view.SetFileTypes(&shortLived);
    EXPECT_GT(view.ItemCount(), 0);
  }
  EXPECT_EQ(view.FileTypes(), nullptr);
  EXPECT_EQ(view.ItemCount(), 0);
  view.SetViewStyle(ftvsTypes);  // rebuilds without touching the freed model
  EXPECT_EQ(view.ItemCount(), 0);
}

class DropDownTest : public PickerTest {
protected:
  void SetUp() override {
    PickerTest::SetUp();
    combo.SetBounds(10, 10, 200, 21);
    combo.SetPredefinedTypes(0);
    combo.SetFileTypes(&types);
    other.SetBounds(10, 250, 100, 21);
    combo.OnChange = [this] { ++changes; };
  }

  // Client point of the middle of a row of the drop-down.
  LPARAM RowPoint(int row) const {
    const RECT rect = combo.List().ItemRect(row);
    return MAKELPARAM(rect.left + 20, (rect.top + rect.bottom) / 2);
  }
  void Key(HWND window, WPARAM key) {
    PostMessageA(window, WM_KEYDOWN, key, 0);
    Application().ProcessMessages();
  }
  void ClickCombo() {
    const RECT button = {combo.ClientWidth() - 5, 5, 0, 0};
    PostMessageA(combo.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(button.left, button.top));
    PostMessageA(combo.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(button.left, button.top));
    Application().ProcessMessages();
  }
  int PopupHeight() const {
    RECT rect{};
    GetWindowRect(combo.Popup().Handle(), &rect);
    return rect.bottom - rect.top;
  }
  int RowHeight() const {
    const RECT rect = combo.List().ItemRect(0);
    return rect.bottom - rect.top;
  }

  TFileTypeComboBox& combo = form.Create<TFileTypeComboBox>("cbFileType", &form);
  TEdit& other = form.Create<TEdit>("edOther", &form);
  int changes = 0;
};

TEST_F(DropDownTest, EnterAcceptsTheFocusedRowAndEscapeKeepsTheChoice) {
  ClickCombo();
  ASSERT_TRUE(combo.DroppedDown());
  EXPECT_EQ(GetFocus(), combo.List().Handle());
  const HWND list = combo.List().Handle();
  PostMessageA(list, WM_MOUSEMOVE, 0, RowPoint(1));  // the mouse chooses the row
  Application().ProcessMessages();
  Key(list, VK_RETURN);
  EXPECT_FALSE(combo.DroppedDown());
  EXPECT_EQ(combo.SelectedFileType(), types.Items().FindByName("alphafile"));
  EXPECT_EQ(combo.Text(), "Alpha file");  // the description, not the extension
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(combo.Focused());

  ClickCombo();
  PostMessageA(list, WM_MOUSEMOVE, 0, RowPoint(3));
  Application().ProcessMessages();
  Key(list, VK_ESCAPE);
  EXPECT_FALSE(combo.DroppedDown());
  EXPECT_EQ(combo.SelectedFileType(), types.Items().FindByName("alphafile"));
  EXPECT_EQ(combo.Text(), "Alpha file");
  EXPECT_EQ(changes, 1);
}

TEST_F(DropDownTest, ClickOnARowAcceptsItAndLosingTheFocusCancels) {
  ClickCombo();
  const HWND list = combo.List().Handle();
  PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, RowPoint(3));
  PostMessageA(list, WM_LBUTTONUP, 0, RowPoint(3));
  Application().ProcessMessages();
  EXPECT_FALSE(combo.DroppedDown());
  EXPECT_EQ(combo.Text(), "Text Document");
  EXPECT_EQ(changes, 1);

  ClickCombo();
  PostMessageA(list, WM_MOUSEMOVE, 0, RowPoint(0));
  Application().ProcessMessages();
  other.SetFocus();
  Application().ProcessMessages();
  EXPECT_FALSE(combo.DroppedDown());
  EXPECT_TRUE(other.Focused());  // the focus stays where the user put it
  EXPECT_EQ(combo.Text(), "Text Document");
  EXPECT_EQ(changes, 1);

  ClickCombo();  // a second press on the combo closes again
  ClickCombo();
  EXPECT_FALSE(combo.DroppedDown());
  EXPECT_EQ(changes, 1);
}

TEST_F(DropDownTest, HeightFollowsRowsAndDropDownCount) {
  combo.SetViewStyle(ftvsTypes);  // no headers
  combo.DropDown();
  EXPECT_EQ(PopupHeight(), RowHeight() * 3 + 4);
  RECT rect{};
  GetWindowRect(combo.Popup().Handle(), &rect);
  EXPECT_EQ(rect.right - rect.left, 250);  // never narrower than its minimum
  combo.CloseUp(false);

  combo.SetDropDownCount(2);
  combo.SetViewStyle(ftvsAll);  // headers add a scroll bar's height
  combo.DropDown();
  EXPECT_EQ(PopupHeight(), RowHeight() * 2 + GetSystemMetrics(SM_CYHSCROLL) + 4);
  combo.CloseUp(false);

  combo.SetDropDownCount(0);
  EXPECT_EQ(combo.DropDownCount(), 1);
}

TEST_F(DropDownTest, EmptyModelGivesADropDownOneRowHigh) {
  combo.SetViewStyle(ftvsTypes);
  combo.SetFileTypes(nullptr);
  combo.DropDown();
  ASSERT_TRUE(combo.DroppedDown());
  EXPECT_EQ(combo.List().ItemCount(), 0);  // the measuring row is gone again
  EXPECT_GT(PopupHeight(), 4 + 4);
  Key(combo.List().Handle(), VK_RETURN);  // nothing to accept: stays open
  EXPECT_TRUE(combo.DroppedDown());
  Key(combo.List().Handle(), VK_ESCAPE);
  EXPECT_FALSE(combo.DroppedDown());
  EXPECT_EQ(changes, 0);
}

// Wine's own file types with their icons, in the list picker and in the open drop-down.
TEST(PickerScreenshot, WinesOwnFileTypes) {
  SetPlatformClass(pcXP);
  SetShellVersion(0x60000);
  BuildPredefinedTable();
  TWin32Registry registry;
  TWin32ImageList images;
  TFileTypeList types(registry, DefaultIconSource());
  types.SetImages(&images);
  types.SetActive(true);
  ASSERT_GT(types.Items().Count(), 19);

  TTestForm form;
  form.SetClientSize(640, 420);
  auto& view = form.Create<TFileTypeListView>("lvFileTypes", &form);
  view.SetBounds(8, 8, 300, 400);
  view.SetImages(&images);
  view.SetFileTypes(&types);
  auto& combo = form.Create<TFileTypeComboBox>("cbFileType", &form);
  combo.SetBounds(320, 8, 300, 21);
  combo.SetImages(&images);
  combo.SetFileTypes(&types);
  TFileType* ini = types.Items().FindByName("inifile");  // ".ini" in a fresh prefix
  ASSERT_NE(ini, nullptr);
  combo.SetSelectedFileType(ini);
  form.Show();
  combo.DropDown();
  ASSERT_TRUE(combo.DroppedDown());
  EXPECT_GT(view.ItemCount(), 19);
  EXPECT_EQ(combo.SelectedFileType(), ini);
  EXPECT_FALSE(SaveScreenshot(form.Handle(), "file_type_pickers").empty());
  EXPECT_TRUE(combo.DroppedDown());
  EXPECT_EQ(combo.Text(), ini->Description());
}

}  // namespace
}  // namespace orvane::testing
