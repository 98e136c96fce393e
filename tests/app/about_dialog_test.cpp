// The About window over an in-memory registry and made-up module versions: which
// versions it names, whether it says dynamic items are on, and how it closes.

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "app/about_dialog.h"
#include "controls/application.h"
#include "services/language_file.h"
#include "tests/support/screenshot.h"
#include "platform/file_access.h"
#include "platform/file_system.h"
#include "platform/icon_source.h"
#include "platform/memory_clipboard.h"
#include "platform/memory_registry.h"
#include "platform/reg_text.h"
#include "platform/system_info.h"
#include "platform/win32/window_helpers.h"

namespace orvane::testing {
namespace {

class TVersionTable : public IModuleVersions {
public:
  std::map<std::string, std::string> Files;
  TModuleVersion Read(const std::string& file) override {
    auto found = Files.find(file);
    if (found == Files.end()) return {};
    return TModuleVersion{true, "", "", "", found->second};
  }
};

class AboutWindowTest : public ::testing::Test {
protected:
  TServices Services() {
    return TServices{registry,  DefaultFileAccess(), DefaultFileSystem(), DefaultIconSource(),
                     clipboard, versions,            "C:\\windows\\",     "C:\\Orvane\\",
                     "C:\\Orvane\\"};
  }
  static TAboutFacts Facts(int fileTypes, bool windows64) {
    return TAboutFacts{"C:\\Orvane\\orvane.exe", "", fileTypes, windows64};
  }
  TMemoryRegistry registry;
  TMemoryClipboard clipboard;
  TVersionTable versions;
  int reports = 0;
  std::function<std::string()> Report = [this] {
    ++reports;
    return std::string("*** automatically generated system information report ***\r\n");
  };
};

TEST_F(AboutWindowTest, NamesTheProgramAndBothModules) {
  versions.Files["C:\\Orvane\\orvane.exe"] = "2008.0.0.0";
  versions.Files["C:\\Orvane\\OVShlExt.DLL"] = "2008.0.0.1";
  versions.Files["C:\\Orvane\\x64\\OVShlExt.DLL"] = "2008.0.0.2";
  TfrmAbout about(nullptr, Services(), Facts(42, true), Report);
  EXPECT_EQ(about.Caption(), "About Orvane");
  EXPECT_EQ(about.lblProduct.Caption(), "Orvane 2008");
  EXPECT_EQ(about.lblVersion.Caption(), "Version: 2008.0.0.0");
  EXPECT_EQ(about.lblModule.Caption(), "Shell extension module: 2008.0.0.1");
  EXPECT_EQ(about.lblModule64.Caption(), "Shell extension module (64-bit): 2008.0.0.2");
  EXPECT_TRUE(about.lblModule64.Visible());
  EXPECT_EQ(about.lblFileTypes.Caption(), "File types registered: 42");
  EXPECT_EQ(about.lblWebSite.Caption(), "https://www.vantrel.com/orvane/");
  EXPECT_EQ(about.lblOS.Caption().rfind("Operating system: ", 0), 0u);
}

TEST_F(AboutWindowTest, AMissingModuleIsSaidSoAnd32BitWindowsHasNoTwin) {
  versions.Files["C:\\Orvane\\orvane.exe"] = "2008.0.0.0";
  TfrmAbout about(nullptr, Services(), Facts(0, false), Report);
  EXPECT_EQ(about.lblModule.Caption(), "Shell extension module: not found");
  EXPECT_FALSE(about.lblModule64.Visible());
}

TEST_F(AboutWindowTest, DynamicItemsAreOnWhileTheModulesClassIsRegistered) {
  {
    TfrmAbout about(nullptr, Services(), Facts(0, false), Report);
    EXPECT_EQ(about.lblDynamicItems.Caption(),
              "Dynamic items: off (the shell extension module is not registered)");
  }
  ImportRegText(registry,
                "REGEDIT4\n\n[HKEY_CLASSES_ROOT\\CLSID\\{5D1E7A42-3C9B-4F08-A6D2-9B71E0C4F315}]\n"
                "@=\"Orvane shell extension\"\n");
  TfrmAbout about(nullptr, Services(), Facts(0, false), Report);
  EXPECT_EQ(about.lblDynamicItems.Caption(),
            "Dynamic items: on (the shell extension module is registered)");
}

TEST_F(AboutWindowTest, EnterAndEscapeClose) {
  for (WORD key : {WORD(VK_RETURN), WORD(VK_ESCAPE)}) {
    TfrmAbout about(nullptr, Services(), Facts(0, false), Report);
    EXPECT_TRUE(about.KeyDown(key, 0));
    EXPECT_EQ(about.ModalResult(), IDCANCEL);
  }
  TfrmAbout about(nullptr, Services(), Facts(0, false), Report);
  EXPECT_FALSE(about.KeyDown('A', 0));
  EXPECT_EQ(about.ModalResult(), 0);
}

TEST_F(AboutWindowTest, CopySystemInformationPutsTheReportOnTheClipboardAsText) {
  TfrmAbout about(nullptr, Services(), Facts(0, false), Report);
  EXPECT_EQ(about.lblCopyInfo.Caption(), "Copy System Information");
  EXPECT_EQ(reports, 0);  // made when asked for, not with the window
  about.lblCopyInfo.OnClick();
  EXPECT_EQ(reports, 1);
  TClipboardOpen open(clipboard);
  const std::optional<std::string> text = clipboard.GetData(kCfText);
  ASSERT_TRUE(text);
  EXPECT_EQ(*text, std::string("*** automatically generated system information report ***\r\n") +
                       '\0');
}

TEST_F(AboutWindowTest, AClipboardThatCannotBeOpenedIsShownNotRaised) {
  TfrmAbout about(nullptr, Services(), Facts(0, false), Report);
  std::vector<std::string> shown;
  TMessageBoxAnswers answers([&](const std::string& text, const std::string&, UINT) {
    shown.push_back(text);
    return IDOK;
  });
  clipboard.Locked = true;  // another program holds it
  EXPECT_NO_THROW(about.lblCopyInfo.OnClick());
  EXPECT_EQ(shown.size(), 1u);
}

// The release date is the program file's, in the date format of the interface language
// rather than the user's; a file that cannot be read gives no date line at all.
TEST_F(AboutWindowTest, ReleaseDateFollowsTheLanguagesDateFormat) {
  char self[MAX_PATH] = {};
  ASSERT_GT(GetModuleFileNameA(nullptr, self, MAX_PATH), 0u);
  const std::string german = ReleaseDateText(self, 1031);
  const std::string english = ReleaseDateText(self, 1033);
  ASSERT_EQ(german.size(), 10u) << german;
  EXPECT_EQ(german[2], '.');
  EXPECT_EQ(german[5], '.');
  EXPECT_NE(english.find('/'), std::string::npos) << english;
  EXPECT_EQ(ReleaseDateText("C:\\nowhere\\orvane.exe", 1033), "");

  TfrmAbout dated(nullptr, Services(), TAboutFacts{"C:\\Orvane\\orvane.exe", german, 0, false},
                  Report);
  EXPECT_EQ(dated.lblReleaseDate.Caption(), "Release date: " + german);
  EXPECT_TRUE(dated.lblReleaseDate.Visible());
  TfrmAbout undated(nullptr, Services(), Facts(0, false), Report);
  EXPECT_FALSE(undated.lblReleaseDate.Visible());
}

// The translator's credits exist only in a language file: English shows none, and a
// language that names its translator shows all three lines, the address as a link.
TEST_F(AboutWindowTest, TranslatorCreditsComeFromTheLanguage) {
  {
    TfrmAbout english(nullptr, Services(), Facts(0, false), Report);
    EXPECT_FALSE(english.lblTranslation.Visible());
    EXPECT_FALSE(english.lblTranslatorName.Visible());
    EXPECT_FALSE(english.lblTranslatorEmailOrWebSite.Visible());
    EXPECT_EQ(english.lblEmail.Caption(), "orvane-support@vantrel.com");
  }
  TResForm section{"TfrmAbout",
                   {"lblTranslation.Caption", "lblTranslatorName.Caption",
                    "lblTranslatorEmailOrWebSite.Caption", "btnClose.Caption"},
                   {"\xDC" "bersetzung:", "Orvane-Team", "https://www.vantrel.com/orvane/de/",
                    "Schlie\xDF" "en"}};
  Application().Language = [&](const std::string& className) {
    return className == "TfrmAbout" ? &section : nullptr;
  };
  TfrmAbout german(nullptr, Services(), Facts(0, false), Report);
  Application().Language = nullptr;
  EXPECT_TRUE(german.lblTranslation.Visible());
  EXPECT_EQ(german.lblTranslatorName.Caption(), "Orvane-Team");
  EXPECT_TRUE(german.lblTranslatorEmailOrWebSite.Visible());
  EXPECT_TRUE(german.lblTranslatorEmailOrWebSite.OnClick);
  EXPECT_EQ(german.btnClose.Caption(), "Schlie\xDF" "en");
  // The lines below the credits move down to make room for them.
  EXPECT_GT(german.lblCopyInfo.Top(), german.lblTranslatorEmailOrWebSite.Top());
  german.Show();
  Application().ProcessMessages();
  EXPECT_FALSE(SaveScreenshot(german.Handle(), "about_window_credits").empty());
}

}  // namespace
}  // namespace orvane::testing
