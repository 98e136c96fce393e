// The icon dialog: the grid's layout by number of pictures, which cells can be chosen,
// the placeholder and the one message for pictures that fail, PNG files as one picture
// fitted into the cell, and files that are no picture files at all.

#include <gtest/gtest.h>

#include "app/select_icon_dialog.h"
#include "platform/messages.h"
#include "tests/app/icon_fixture.h"
#include "tests/support/png_writer.h"
#include "tests/support/screenshot.h"

namespace orvane::testing {
namespace {

class SelectIconDialogTest : public IconChoiceTest {
protected:
  std::unique_ptr<TfrmSelectIcon> Open(const std::string& file) {
    auto dialog = std::make_unique<TfrmSelectIcon>(nullptr, Sources());
    dialog->SetFileName(file);
    return dialog;
  }
  void Shoot(TfrmSelectIcon& dialog, const std::string& name) {
    dialog.Show();
    Application().ProcessMessages();
    SaveScreenshot(dialog.Handle(), name);
    dialog.Hide();
  }
};

TEST_F(SelectIconDialogTest, ThreePicturesFillOneColumn) {
  icons.Files["C:\\icons\\three.dll"] = {3, {}};
  auto dialog = Open("C:\\icons\\three.dll");
  EXPECT_EQ(dialog->PictureCount(), 3);
  EXPECT_EQ(dialog->dgPictures.ColCount(), 1);
  EXPECT_EQ(dialog->dgPictures.RowCount(), 3);
  EXPECT_TRUE(dialog->btnOK.Enabled());
  EXPECT_TRUE(boxes.empty());
  // The first picture is the one highlighted, and the one chosen.
  EXPECT_EQ(dialog->IconIndex(), 0);
  EXPECT_EQ(dialog->lblIconIndex.Caption(), "0");
  Shoot(*dialog, "select_icon_three");
}

TEST_F(SelectIconDialogTest, NinePicturesFillFourRowsColumnByColumn) {
  icons.Files["C:\\icons\\nine.dll"] = {9, {}};
  auto dialog = Open("C:\\icons\\nine.dll");
  TDrawGrid& grid = dialog->dgPictures;
  EXPECT_EQ(grid.ColCount(), 3);
  EXPECT_EQ(grid.RowCount(), 4);
  // Picture 8 alone in the top row of the last column; the cells below it are empty.
  EXPECT_EQ(MiddleColour(dialog->Picture(8), 32), TIconFiles::ColourOf(8));
  dialog->Show();
  auto clickCell = [&](int col, int row) {
    const RECT cell = grid.CellRect(col, row);
    SendMessageA(grid.Handle(), WM_LBUTTONDOWN, MK_LBUTTON,
                 MAKELPARAM(cell.left + 20, cell.top + 20));
  };
  clickCell(2, 0);
  EXPECT_EQ(dialog->IconIndex(), 8);
  EXPECT_EQ(dialog->lblIconIndex.Caption(), "8");
  clickCell(2, 1);
  EXPECT_EQ(dialog->IconIndex(), 8);
  EXPECT_EQ(grid.Row(), 0);
  clickCell(1, 3);
  EXPECT_EQ(dialog->IconIndex(), 7);
  // Setting a picture moves the grid there without counting as the user's click.
  dialog->SetIconIndex(5);
  EXPECT_EQ(grid.Col(), 1);
  EXPECT_EQ(grid.Row(), 1);
  SaveScreenshot(dialog->Handle(), "select_icon_nine");
}

TEST_F(SelectIconDialogTest, FailedPicturesShowPlaceholderAndOneMessage) {
  icons.Files["C:\\icons\\broken.dll"] = {6, {1, 4}};
  auto dialog = Open("C:\\icons\\broken.dll");
  EXPECT_EQ(dialog->PictureCount(), 6);
  EXPECT_TRUE(dialog->IsPlaceholder(1));
  EXPECT_TRUE(dialog->IsPlaceholder(4));
  EXPECT_FALSE(dialog->IsPlaceholder(0));
  EXPECT_NE(dialog->Picture(1), nullptr);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Text, "Error loading icon(s):\r\n1,4\r\nfrom file:\r\n\"C:\\icons\\broken.dll\"");
  EXPECT_TRUE(dialog->btnOK.Enabled());
}

TEST_F(SelectIconDialogTest, FileWithoutPicturesDisablesOk) {
  auto dialog = Open("C:\\icons\\shell32.dll");
  EXPECT_TRUE(dialog->btnOK.Enabled());
  dialog->SetFileName("C:\\nowhere\\missing.dll");
  EXPECT_EQ(dialog->PictureCount(), 0);
  EXPECT_EQ(dialog->dgPictures.ColCount(), 0);
  EXPECT_FALSE(dialog->btnOK.Enabled());
  EXPECT_EQ(dialog->IconIndex(), -1);
  EXPECT_EQ(dialog->lblIconIndex.Caption(), "");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Text, LoadResString(msg::SNoIconsInFile));
  // An empty name disables OK without a message.
  dialog->edFileName.SetText("");
  EXPECT_FALSE(dialog->btnOK.Enabled());
  EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(SelectIconDialogTest, LargePngIsOnePictureScaledIntoTheCell) {
  // Blue with a red bottom-right quarter: cut to the cell's 32 x 32 it would be all blue.
  files.Files["C:\\pics\\big.png"] = EncodePng(64, 64, QuarterPicture(64, 0x0000FFFF, 0xFF0000FF));
  auto dialog = Open("C:\\pics\\big.png");
  ASSERT_EQ(dialog->PictureCount(), 1);
  EXPECT_FALSE(dialog->IsPlaceholder(0));
  EXPECT_TRUE(boxes.empty());
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 32, 32);
  HGDIOBJ old = SelectObject(dc, bitmap);
  DrawIconEx(dc, 0, 0, dialog->Picture(0), 32, 32, 0, nullptr, DI_NORMAL);
  EXPECT_EQ(GetPixel(dc, 28, 28), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 4, 4), RGB(0, 0, 255));
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
}

TEST_F(SelectIconDialogTest, DamagedPngShowsPlaceholderAndTheReason) {
  const std::string good = EncodePng(4, 4, QuarterPicture(4, 0x0000FFFF, 0xFF0000FF));
  std::string huge = good;
  // The header claims 100,000 pixels a side.
  huge[16] = 0;
  huge[17] = 1;
  huge[18] = static_cast<char>(0x86);
  huge[19] = static_cast<char>(0xA0);
  for (const std::string& bytes : {good.substr(0, 40), std::string("GIF89a not a png"), huge,
                                   std::string()}) {
    files.Files["C:\\pics\\bad.png"] = bytes;
    boxes.clear();
    auto dialog = Open("C:\\pics\\bad.png");
    ASSERT_EQ(dialog->PictureCount(), 1);
    EXPECT_TRUE(dialog->IsPlaceholder(0));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text.rfind("Error loading icon(s):\r\n0\r\nfrom file:\r\n\"C:\\pics\\bad.png\"\r\n", 0),
              0u)
        << boxes[0].Text;
  }
}

}  // namespace
}  // namespace orvane::testing
