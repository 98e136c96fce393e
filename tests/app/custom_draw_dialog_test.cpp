// The drawing settings dialog over a menu file in memory: what it shows for a file
// without the section, the groups it enables, the font box, the colour lists' "Default"
// and system and custom colours, the hidden frame settings travelling through, and
// Apply, OK and Cancel.

#include "app/custom_draw_dialog.h"

#include <gtest/gtest.h>

#include "tests/storage/memory_files.h"
#include "tests/support/screenshot.h"

namespace orvane::testing {
namespace {

constexpr const char* kFile = "C:\\Orvane\\Orvane.ini";

class CustomDrawDialogTest : public ::testing::Test {
protected:
  TfrmCustomDraw& Open(const std::string& text) {
    files.Files[kFile] = text;
    dialog = std::make_unique<TfrmCustomDraw>(nullptr, kFile, files);
    return *dialog;
  }
  static void Click(TWinControl& control) { SendMessageA(control.Handle(), BM_CLICK, 0, 0); }
  static void Choose(TAdvColorComboBox& list, int index) {
    list.SetItemIndex(index);
    SendMessageA(list.Parent()->Handle(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list.Handle()));
  }
  std::string Written() { return files.Files[kFile]; }
  bool Has(const std::string& line) { return Written().find(line + "\r\n") != std::string::npos; }

  TMemoryFiles files;
  std::unique_ptr<TfrmCustomDraw> dialog;
};

TEST_F(CustomDrawDialogTest, WithoutTheSectionTheDefaultsShowAndOkWritesThemAll) {
  TfrmCustomDraw& d = Open("[Orvane]\r\nLeft=5\r\n");
  EXPECT_EQ(d.Caption(), "Custom-drawn Menu Properties");
  EXPECT_FALSE(d.chkCustomDrawn.Checked());
  EXPECT_TRUE(d.chkFirstLevelDefault.Checked());
  EXPECT_TRUE(d.chkBackgroundFix.Checked());
  EXPECT_EQ(d.spedIndent.Value(), 20);
  EXPECT_FALSE(d.chkFont.Checked());
  EXPECT_EQ(d.cbTextFont.Text(), d.Font().Name);
  EXPECT_EQ(d.spedTextFontSize.Value(), d.Font().Size);
  for (TAdvColorComboBox* list : {&d.cbNormalTextColor, &d.cbSelectedTextColor, &d.cbNormalBackColor,
                                  &d.cbSelectedBackColor, &d.cbNormalIconBackColor,
                                  &d.cbSelectedIconBackColor})
    EXPECT_EQ(list->ItemIndex(), 0) << list->Name();
  EXPECT_EQ(d.cbNormalTextColor.DefaultColor(), kSysColorBase + COLOR_MENUTEXT);
  EXPECT_EQ(d.cbSelectedBackColor.DefaultColor(), kSysColorBase + COLOR_HIGHLIGHT);
  EXPECT_FALSE(d.btnApply.Enabled());
  EXPECT_TRUE(d.chkCustomDrawn.Enabled());
  EXPECT_FALSE(d.pnlCustomDrawn.Enabled());
  EXPECT_FALSE(d.cbNormalTextColor.Enabled());
  EXPECT_FALSE(d.rbFrameNone.Visible());
  EXPECT_FALSE(d.pnlFrame3D.Visible());
  SaveScreenshot(d.Handle(), "custom_draw_dialog_defaults");
  Click(d.btnOK);
  EXPECT_EQ(d.ModalResult(), IDOK);
  EXPECT_TRUE(Has("[Custom-drawn Menu Properties]"));
  EXPECT_TRUE(Has("Enabled=False"));
  EXPECT_TRUE(Has("FirstLevelDefault=True"));
  EXPECT_TRUE(Has("TextIndent=20"));
  EXPECT_TRUE(Has("TextFontFace="));
  EXPECT_TRUE(Has("FrameAll=False"));
  EXPECT_TRUE(Has("Left=5"));
}

TEST_F(CustomDrawDialogTest, EnablingOpensTheGroupsAndTheFontBoxTakesTheDialogsFont) {
  TfrmCustomDraw& d = Open("");
  Click(d.chkCustomDrawn);
  EXPECT_TRUE(d.Info().Enabled());
  EXPECT_TRUE(d.btnApply.Enabled());
  EXPECT_TRUE(d.pnlCustomDrawn.Enabled());
  EXPECT_TRUE(d.cbNormalTextColor.Enabled());
  EXPECT_FALSE(d.pnlCustomFont.Enabled());
  EXPECT_FALSE(d.cbTextFont.Enabled());
  Click(d.chkFont);
  EXPECT_TRUE(d.cbTextFont.Enabled());
  EXPECT_EQ(d.Info().TextFontFace(), d.Font().Name);
  EXPECT_EQ(d.Info().TextFontSize(), d.Font().Size);
  SaveScreenshot(d.Handle(), "custom_draw_dialog_enabled");
  Click(d.btnOK);
  EXPECT_TRUE(Has("Enabled=True"));
  EXPECT_TRUE(Has("TextFontFace=" + d.Font().Name));
  EXPECT_TRUE(Has("TextFontSize=" + std::to_string(d.Font().Size)));
  // Unticked: no custom font, and the dialog's font is shown again.
  TfrmCustomDraw& again = Open(Written());
  EXPECT_TRUE(again.chkFont.Checked());
  Click(again.chkFont);
  EXPECT_EQ(again.Info().TextFontFace(), "");
  EXPECT_EQ(again.Info().TextFontSize(), 0);
  EXPECT_FALSE(again.cbTextFont.Enabled());
}

TEST_F(CustomDrawDialogTest, ChangedAndChangedBackKeepsApplyAndCancelWritesNothing) {
  TfrmCustomDraw& d = Open("[Custom-drawn Menu Properties]\r\nEnabled=True\r\n");
  const std::string before = Written();
  d.spedIndent.SetText("30");
  EXPECT_EQ(d.Info().TextIndent(), 30);
  d.spedIndent.SetText("20");
  EXPECT_EQ(d.Info().TextIndent(), 20);
  EXPECT_TRUE(d.btnApply.Enabled());
  Click(d.btnCancel);
  EXPECT_EQ(d.ModalResult(), IDCANCEL);
  EXPECT_EQ(Written(), before);
  // Apply writes and disables itself.
  Click(d.chkFirstLevelDefault);
  Click(d.btnApply);
  EXPECT_FALSE(d.btnApply.Enabled());
  EXPECT_TRUE(Has("FirstLevelDefault=False"));
}

TEST_F(CustomDrawDialogTest, ColourListsKeepSystemAndCustomColoursAndMeanDefaultByTheFirstEntry) {
  TfrmCustomDraw& d = Open(
      "[Custom-drawn Menu Properties]\r\nEnabled=True\r\nNormalTextColor=$FF000007\r\n"
      "SelectedTextColor=$123456\r\nNormalBackColor=$FF00000F\r\nFrameStyle=1\r\n"
      "FrameLightColor=$FF000016\r\nFrameBorderColor=$FF\r\nFrameAll=True\r\n");
  // MenuText itself, not the "Default" that shows it too.
  EXPECT_EQ(d.cbNormalTextColor.EntryName(d.cbNormalTextColor.ItemIndex()), "MenuText");
  EXPECT_EQ(d.cbSelectedTextColor.EntryName(d.cbSelectedTextColor.ItemIndex()), "Custom");
  EXPECT_EQ(d.cbSelectedTextColor.CustomColor(), 0x123456u);
  EXPECT_EQ(d.cbNormalBackColor.EntryName(d.cbNormalBackColor.ItemIndex()), "BtnFace");
  EXPECT_TRUE(d.rbFrameRaised.Checked());
  // Entry 0 stands for the default whatever it shows; another entry for its colour.
  Choose(d.cbNormalBackColor, 0);
  EXPECT_EQ(d.Info().NormalBackColor(), kDefaultMenuColor);
  Choose(d.cbSelectedBackColor, 2);  // Maroon
  EXPECT_EQ(d.Info().SelectedBackColor(), 0x000080u);
  Click(d.btnOK);
  EXPECT_TRUE(Has("NormalTextColor=$FF000007"));
  EXPECT_TRUE(Has("SelectedTextColor=$123456"));
  EXPECT_TRUE(Has("NormalBackColor=$20000000"));
  EXPECT_TRUE(Has("SelectedBackColor=$80"));
  // The hidden frame settings as they were.
  EXPECT_TRUE(Has("FrameStyle=1"));
  EXPECT_TRUE(Has("FrameLightColor=$FF000016"));
  EXPECT_TRUE(Has("FrameBorderColor=$FF"));
  EXPECT_TRUE(Has("FrameAll=True"));
  // Read again, the custom colour is the custom entry's once more.
  TfrmCustomDraw& again = Open(Written());
  EXPECT_EQ(again.cbSelectedTextColor.SelectedColor(), 0x123456u);
}

}  // namespace
}  // namespace orvane::testing
