// Both halves of the product under Wine: a person builds a nested menu on the Submenu
// Items page of the real window, ticks "Enable Dynamic Items" (the real module and its
// twin registered in the prefix) and presses Apply; the file manager's right click on a
// file then shows exactly that menu from the module, and its item starts the recorder
// with the file's path. The prefix is left as found: unregistered, files removed.

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/recent_icons.h"
#include "app/select_icon_dialog.h"
#include "app/shell_ext_switch.h"
#include "menus/dynamic_menu.h"
#include "menus/file_type_category.h"
#include "platform/messages.h"
#include "platform/registry_backend.h"
#include "platform/system_info.h"
#include "tests/app/app_fixture.h"
#include "tests/shellext/host/shell_host.h"

namespace orvane::testing {
namespace {

constexpr const char* kDoneEvent = "OrvaneEndToEndDone";
constexpr UINT kFirst = 100;

bool KeyExists64(const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &key) != 0)
    return false;
  RegCloseKey(key);
  return true;
}

class SubmenuEndToEndTest : public MainWindowTest {
protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    ASSERT_FALSE(ShellExtRegistered(DefaultRegistryBackend())) << "the prefix holds a registration";
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    // The program's folder as the set-up lays it out: the module beside the program, its
    // 64-bit twin in "x64", the menu file beside them.
    folder = std::string(temp) + "orvane-e2e-" + std::to_string(GetCurrentProcessId()) + "\\";
    for (const char* sub : {"", "x64", "docs"}) CreateDirectoryA((folder + sub).c_str(), nullptr);
    const std::string twin = ModuleTwin();
    if (IsWindows64() && twin.empty()) GTEST_SKIP() << "the 64-bit module has not been built";
    ASSERT_TRUE(CopyFileA(ORVANE_MODULE, (folder + "OVShlExt.DLL").c_str(), FALSE));
    if (IsWindows64()) {
      ASSERT_TRUE(CopyFileA(twin.c_str(), (folder + "x64\\OVShlExt.DLL").c_str(), FALSE));
    }
    document = folder + "docs\\notes.txt";
    WriteText(document, "x");
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  }

  void TearDown() override {
    if (form) {
      // Cleared as a person does before removing the program: the module unregistered.
      if (Page().chkShellExt.Checked()) SendMessageA(Page().chkShellExt.Handle(), BM_CLICK, 0, 0);
      form->DynamicMenu().ClearModified();
      Application().SetMainForm(nullptr);
      form.reset();
      Application().ProcessMessages();
    }
    EXPECT_FALSE(ShellExtRegistered(DefaultRegistryBackend()));
    EXPECT_FALSE(KeyExists64(std::string("CLSID\\") + kModuleClassId));
    EXPECT_FALSE(KeyExists64(std::string("*\\shellex\\ContextMenuHandlers\\") + kModuleClassId));
    // COM lets the module go once nothing holds it (the second call unloads).
    CoFreeUnusedLibrariesEx(0, 0);
    CoFreeUnusedLibrariesEx(0, 0);
    CoUninitialize();
    for (const char* file : {"x64\\OVShlExt.DLL", "OVShlExt.DLL", "OVShlExt.log", "Orvane.ini",
                             "log.txt", "recorded.txt", "docs\\notes.txt"})
      EXPECT_TRUE(DeleteFileA((folder + file).c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND)
          << file;
    for (const char* sub : {"x64", "docs", ""})
      EXPECT_TRUE(RemoveDirectoryA((folder + sub).c_str())) << folder << sub;
    MainWindowTest::TearDown();
  }

  // The window on the submenu page, its menu file and switch the program's folder's.
  void Open() {
    TMainFormSettings settings;
    settings.MenuFile = folder + "Orvane.ini";
    settings.LogFile = folder + "log.txt";
    // The x86_64 build stands in for the 32-bit program on 64-bit Windows: its module is
    // registered in place, and the twin, which the file manager loads from the 64-bit view,
    // by the registration tool. The 32-bit build's test host reads the 32-bit view, where
    // the module beside the program is registered; it has no twin of its own to register.
    settings.ShellExt = SystemShellExtSwitch(DefaultRegistryBackend(), DefaultFileSystem(), folder,
                                             WindowsFolder(), sizeof(void*) == 8);
    form = std::make_unique<TfrmMain>(nullptr, Services(), settings);
    Application().SetMainForm(form.get());
    form->Show();
    Application().ProcessMessages();
    form->pgcMain.SetActivePage(&form->tshtActiveXMenus);
    form->IdleUpdate();
  }

  TSubmenuItemsPage& Page() { return form->SubmenuPage(); }

  // What a person types into a control.
  void Type(TEdit& edit, const std::string& text) {
    SetWindowTextA(edit.Handle(), text.c_str());
    form->IdleUpdate();
  }
  void Click(HWND button) {
    SendMessageA(button, BM_CLICK, 0, 0);
    form->IdleUpdate();
  }
  // The focused node's label edited to `caption`.
  void Rename(const std::string& caption) {
    Page().actXRename.Execute();
    ASSERT_NE(Page().tvXMenu.EditHandle(), nullptr);
    SetWindowTextA(Page().tvXMenu.EditHandle(), caption.c_str());
    Page().tvXMenu.EndEditing(false);
    form->IdleUpdate();
  }
  // An item for the recorder, added into the focused submenu through the browse dialog;
  // the recorder's file has no pictures, so the item takes none.
  void AddRecorderItem(const std::string& caption, const std::string& hint) {
    Page().actXAdd.Execute();
    Page().actXRemoveIcon.Execute();
    Rename(caption);
    Type(Page().edXParameters, std::string(kDoneEvent) + " \"" + folder + "recorded.txt\" \"%1\"");
    Type(Page().edXMenuHint, hint);
  }

  std::string folder;
  std::string document;
  std::unique_ptr<TfrmMain> form;
};

TEST_F(SubmenuEndToEndTest, MenuBuiltOnThePageIsWhatTheFileManagerShowsAndStarts) {
  Open();
  const std::string recorder = WindowsPath(ORVANE_RECORDER);
  Page().BrowseApplication = [&](const std::string&) -> std::optional<std::string> { return recorder; };
  // The icon dialog on shell32's pictures: the fourth one chosen.
  const std::string shell32 = WindowsFolder() + "System32\\shell32.dll";
  Page().SelectIcon = [&](TDynamicMenuItem& item) {
    SelectItemIcon(item, form->mruIcons, {DefaultIconSource(), DefaultFileAccess(), shell32},
                   form.get(), [&](TfrmSelectIcon& dialog) {
                     dialog.SetFileName(shell32);
                     dialog.SetIconIndex(3);
                     dialog.Show();
                     Application().ProcessMessages();
                     SaveScreenshot(dialog.Handle(), "select_icon_shell32");
                     return static_cast<int>(IDOK);
                   });
  };

  // The page works once the box is ticked: the module is registered then, after a warning.
  EXPECT_FALSE(IsWindowEnabled(Page().tvXMenu.Handle()));
  Click(Page().chkShellExt.Handle());
  ASSERT_TRUE(Page().chkShellExt.Checked()) << (boxes.empty() ? "" : boxes.back().Text);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Text, LoadResString(msg::SShellExtWarning));
  EXPECT_TRUE(IsWindowEnabled(Page().tvXMenu.Handle()));

  // A submenu of all files, with two items, a separator between them and a submenu.
  Page().actXSub.Execute();
  Page().tvXMenu.EndEditing(true);
  TTreeItem* tools = form->DynamicMenu().FocusedItem();
  ASSERT_NE(dynamic_cast<TDynamicSubMenu*>(tools), nullptr);
  ASSERT_EQ(static_cast<TCustomFileTypeCategory*>(tools->Parent())->FileType()->Name(), "*");
  Rename("Orvane tools");
  Type(Page().edXMenuHint, "Tools of the test");
  AddRecorderItem("Record path", "Records the path");
  Page().actXSelectIcon.Execute();
  tools->Focus();
  Page().actXSeparator.Execute();
  tools->Focus();
  Page().actXSub.Execute();
  Page().tvXMenu.EndEditing(true);
  Rename("More");
  AddRecorderItem("Deep", "Deep down");
  tools->Focus();
  AddRecorderItem("Second", "");
  tools->Focus();
  Page().tvXMenu.Expand(Page().tvXMenu.FindNode(tools), true);
  Application().ProcessMessages();
  EXPECT_FALSE(SaveScreenshot(form->Handle(), "submenu_end_to_end").empty());

  ASSERT_TRUE(form->actApply.Enabled());
  Click(form->btnApply.Handle());
  EXPECT_FALSE(form->HasChanges());
  ASSERT_EQ(boxes.size(), 1u) << boxes.back().Text;
  EXPECT_TRUE(ShellExtRegistered(DefaultRegistryBackend()));

  // The file manager's part: the handler the list of all files names, for the document.
  TComPtr<IContextMenu> handler = ModuleHandler("*");
  ASSERT_TRUE(handler);
  ASSERT_EQ(InitializeForFiles(*handler.Get(), folder + "docs", {document}), S_OK);
  TMenuHandle menu(CreatePopupMenu());
  EXPECT_FALSE(FAILED(handler->QueryContextMenu(menu.get(), 0, kFirst, kFirst + 500, CMF_NORMAL)));
  TMenuOutline outline(*handler.Get(), kFirst);
  EXPECT_EQ(outline.Read(menu.get()),
            "Orvane tools{Record path[b](Records the path),-,More{Deep(Deep down)},Second}");

  CMINVOKECOMMANDINFOEX info = InvokeInfo(MAKEINTRESOURCEA(outline.Ids["Record path"]));
  TRecorded recorded = InvokeRecorded(*handler.Get(), info, kDoneEvent, folder + "recorded.txt");
  ASSERT_EQ(recorded.arguments.size(), 4u);
  EXPECT_TRUE(recorded.arguments[3] == std::wstring(document.begin(), document.end()));
  handler.Reset();
}

}  // namespace
}  // namespace orvane::testing
