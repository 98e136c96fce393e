// The window placement and the recent lists in the menu file.

#include "app/form_placement.h"

#include <fstream>

#include "app_fixture.h"
#include "storage/orvane_ini_file.h"

namespace orvane::testing {
namespace {

std::string Read(const std::string& file, const std::string& key) {
  char value[128] = {};
  GetPrivateProfileStringA("Orvane", key.c_str(), "", value, sizeof value, file.c_str());
  return value;
}

void Write(const std::string& file, const std::string& key, const std::string& value) {
  WritePrivateProfileStringA("Orvane", key.c_str(), value.c_str(), file.c_str());
}

std::string ScreenKey(const std::string& key) {
  return key + "(" + std::to_string(GetSystemMetrics(SM_CXSCREEN)) + "x" +
         std::to_string(GetSystemMetrics(SM_CYSCREEN)) + ")";
}

RECT WindowRect(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  return rect;
}

TEST_F(MainWindowTest, PlacementIsWrittenWithAndWithoutTheScreenSize) {
  auto form = CreateMainWindow();
  form->Show();
  form->Placement().Save(form->Handle());
  EXPECT_EQ(Read(menuFile, "PixelsPerInch"), std::to_string(ScreenPixelsPerInch()));
  EXPECT_EQ(Read(menuFile, "ShowCmd"), std::to_string(SW_SHOWNORMAL));
  EXPECT_FALSE(Read(menuFile, "Flags").empty());
  EXPECT_FALSE(Read(menuFile, "NormPos").empty());
  EXPECT_EQ(Read(menuFile, ScreenKey("NormPos")), Read(menuFile, "NormPos"));
  EXPECT_EQ(Read(menuFile, ScreenKey("MinMaxPos")), Read(menuFile, "MinMaxPos"));
}

TEST_F(MainWindowTest, StoredPlacementIsAppliedAtTheFirstShowing) {
  Write(menuFile, "PixelsPerInch", std::to_string(ScreenPixelsPerInch()));
  Write(menuFile, "NormPos", "1,1,2,2");  // the bare key is only a fallback
  Write(menuFile, ScreenKey("NormPos"), "40,30,740,530");
  auto form = CreateMainWindow();
  // Laid out at the window's own size; the description and the buttons on its right
  // keep their distance when the placement gives the window another width.
  const int gap = form->spbAbout.Left() - form->lblTabDescr.BoundsRect().right;
  form->Show();
  const RECT rect = WindowRect(form->Handle());
  EXPECT_EQ(rect.left, 40);
  EXPECT_EQ(rect.top, 30);
  EXPECT_EQ(rect.right, 740);
  EXPECT_EQ(rect.bottom, 530);
  EXPECT_GT(gap, 0);
  EXPECT_EQ(form->spbAbout.Left() - form->lblTabDescr.BoundsRect().right, gap);
  SaveScreenshot(form->Handle(), "main_window_restored_placement");
}

TEST_F(MainWindowTest, BareKeyServesAnotherScreenSize) {
  Write(menuFile, "PixelsPerInch", std::to_string(ScreenPixelsPerInch()));
  Write(menuFile, "NormPos", "50,60,750,560");
  auto form = CreateMainWindow();
  form->Show();
  EXPECT_EQ(WindowRect(form->Handle()).left, 50);
}

TEST_F(MainWindowTest, PlacementOfAnotherResolutionOrUnreadableIsIgnored) {
  Write(menuFile, "PixelsPerInch", std::to_string(ScreenPixelsPerInch() + 24));
  Write(menuFile, "NormPos", "40,30,740,530");
  auto form = CreateMainWindow();
  const RECT centred = WindowRect(form->Handle());
  form->Show();
  EXPECT_EQ(WindowRect(form->Handle()).left, centred.left);

  Write(menuFile, "PixelsPerInch", std::to_string(ScreenPixelsPerInch()));
  Write(menuFile, "NormPos", "40,30,abc,530");
  auto second = CreateMainWindow();
  second->Show();
  EXPECT_EQ(WindowRect(second->Handle()).left, centred.left);
}

TEST_F(MainWindowTest, TooSmallStoredSizeIsRaisedToTheMinimum) {
  Write(menuFile, "PixelsPerInch", std::to_string(ScreenPixelsPerInch()));
  Write(menuFile, "NormPos", "10,10,20,20");
  auto form = CreateMainWindow();
  form->Show();
  const RECT rect = WindowRect(form->Handle());
  EXPECT_EQ(rect.right - rect.left, 593);
  EXPECT_EQ(rect.bottom - rect.top, 382);
}

// The recent lists beside the placement: a run of the window, an Apply into the same file
// included, leaves them as they were; a window closed before it read them writes none.
TEST_F(MainWindowTest, RunOfTheWindowLeavesTheRecentListsAsTheyWere) {
  const std::string icons = MruSection("TfrmMain", "mruIcons");
  const std::string menus = MruSection("TfrmMain", "mruMenus");
  std::ofstream(menuFile, std::ios::binary)
      << "[" << icons << "]\r\nItem_0=C:\\Icons\\a.dll, 3\r\nUser_0=3\r\n"
      << "Item_1=C:\\Icons\\b.png, 0\r\n\r\n[" << menus << "]\r\nItem_0=C:\\Menus\\mine.ini\r\n";
  auto lists = [&] {
    TOrvaneIniFile ini(menuFile, DefaultFileAccess());
    TIniStrings a, b;
    ini.ReadSectionValues(icons, a);
    ini.ReadSectionValues(menus, b);
    a.insert(a.end(), b.begin(), b.end());
    return a;
  };
  const TIniStrings before = lists();
  ASSERT_EQ(before.size(), 4u);

  CreateMainWindow()->Close();
  EXPECT_EQ(lists(), before);

  auto form = CreateMainWindow();
  form->Show();
  Application().ProcessMessages();
  EXPECT_EQ(form->mruIcons.Count(), 2);
  EXPECT_EQ(form->mruMenus.Count(), 1);
  form->StaticPage().AddStaticFiles({"C:\\tools\\edit.exe"});
  SendMessageA(form->btnOK.Handle(), BM_CLICK, 0, 0);
  EXPECT_FALSE(form->HasChanges());
  EXPECT_EQ(lists(), before);
  EXPECT_FALSE(Read(menuFile, "NormPos").empty());
  TOrvaneIniFile ini(menuFile, DefaultFileAccess());
  EXPECT_EQ(ini.ReadString("Static Items", "Caption0", ""), "edit.exe");
}

TEST(FormPlacementTest, RectanglesAreFourIntegers) {
  auto rect = TFormPlacement::ParseRect("-4,-4,1028,772");
  ASSERT_TRUE(rect);
  EXPECT_EQ(rect->left, -4);
  EXPECT_EQ(rect->bottom, 772);
  EXPECT_FALSE(TFormPlacement::ParseRect("1,2,3"));
  EXPECT_FALSE(TFormPlacement::ParseRect("1,2,3,4,5"));
  EXPECT_FALSE(TFormPlacement::ParseRect(""));
}

}  // namespace
}  // namespace orvane::testing
