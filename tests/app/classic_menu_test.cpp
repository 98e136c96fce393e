// The full context menu switch of the main window, with the system information faked as
// Windows 11 and as Windows 10 and the file manager's registry in memory.

#include "app_fixture.h"
#include "platform/messages.h"

namespace orvane::testing {
namespace {

const std::string kClass =
    "HKEY_CURRENT_USER\\Software\\Classes\\CLSID\\"
    "{86ca1aa0-34aa-4e8b-a509-50c905bae2a2}";
const std::string kServer = kClass + "\\InprocServer32";

class ClassicMenuTest : public MainWindowTest {
protected:
  std::unique_ptr<TfrmMain> CreateOn(std::uint32_t major, std::uint32_t minor,
                                     std::uint32_t build) {
    TMainFormSettings settings;
    settings.MenuFile = menuFile;
    settings.ShellRegistry = &registry;
    settings.OSVersion.Available = true;
    settings.OSVersion.PlatformId = 2;
    settings.OSVersion.MajorVersion = major;
    settings.OSVersion.MinorVersion = minor;
    settings.OSVersion.BuildNumber = build;
    auto form = std::make_unique<TfrmMain>(nullptr, Services(), settings);
    form->Show();
    return form;
  }
  std::unique_ptr<TfrmMain> CreateOnWindows11() { return CreateOn(10, 0, 22631); }

  // As the user clicks it.
  static void Click(TfrmMain& form) { SendMessageA(form.chkClassicMenu.Handle(), BM_CLICK, 0, 0); }
  static bool Shown(TfrmMain& form) {
    return SendMessageA(form.chkClassicMenu.Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  std::string HiveText() { return ExportRegText(registry, "HKEY_CURRENT_USER"); }
};

TEST_F(ClassicMenuTest, CommandOnlyOnWindows11) {
  struct Case {
    std::uint32_t major, minor, build;
    bool offered;
  } cases[] = {{10, 0, 21999, false}, {10, 0, 22000, true}};
  for (const Case& c : cases) {
    auto form = CreateOn(c.major, c.minor, c.build);
    EXPECT_EQ(form->actClassicMenu.Visible(), c.offered) << c.build;
    EXPECT_EQ(IsWindowVisible(form->chkClassicMenu.Handle()) != 0, c.offered) << c.build;
    if (c.offered) {
      char text[64] = {};
      GetWindowTextA(form->chkClassicMenu.Handle(), text, sizeof text);
      EXPECT_STREQ(text, "Use the full context menu (Windows 11)");
      EXPECT_FALSE(Shown(*form));
      SaveScreenshot(form->Handle(), "main_window_windows11");
    }
  }
  EXPECT_EQ(HiveText(), "REGEDIT4\n\n[HKEY_CURRENT_USER]\n\n");  // looking writes nothing
}

TEST_F(ClassicMenuTest, OnThenOffLeavesTheUserHiveAsBefore) {
  const std::string before = HiveText();
  auto form = CreateOnWindows11();
  Click(*form);
  EXPECT_TRUE(Shown(*form));
  EXPECT_TRUE(form->actClassicMenu.Checked());
  EXPECT_EQ(ExportRegText(registry, kServer), "REGEDIT4\n\n[" + kServer + "]\n@=\"\"\n\n");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Text, LoadResString(msg::SClassicMenuRestart));
  EXPECT_EQ(boxes[0].Caption, "Orvane 2008");
  EXPECT_EQ(boxes[0].Flags, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));

  Click(*form);
  EXPECT_FALSE(Shown(*form));
  EXPECT_EQ(HiveText(), before);
  EXPECT_EQ(boxes.size(), 2u);
}

// The state is read from the registry at start.
TEST_F(ClassicMenuTest, KeyOfAnotherToolShowsCheckedAndOffTakesOnlyTheKeyItWrites) {
  ImportRegText(registry, "REGEDIT4\n\n[" + kServer + "]\n@=\"\"\n");
  auto form = CreateOnWindows11();
  EXPECT_TRUE(Shown(*form));
  Click(*form);
  EXPECT_FALSE(Shown(*form));
  EXPECT_EQ(ExportRegText(registry, kClass), "REGEDIT4\n\n[" + kClass + "]\n\n");
}

TEST_F(ClassicMenuTest, RegisteredServerDisablesTheCommand) {
  ImportRegText(registry, "REGEDIT4\n\n[" + kServer + "]\n@=\"C:\\\\Tools\\\\menu.dll\"\n");
  const std::string before = HiveText();
  auto form = CreateOnWindows11();
  EXPECT_FALSE(Shown(*form));
  EXPECT_FALSE(IsWindowEnabled(form->chkClassicMenu.Handle()));
  Click(*form);
  EXPECT_EQ(HiveText(), before);
  EXPECT_TRUE(boxes.empty());
}

}  // namespace
}  // namespace orvane::testing
