// Test helper: a second running copy of the main window, in a process of its own. It
// loads the menu file named by its argument, pastes what the system clipboard holds into
// the first category of the static menu, and applies into that file (the verbs go to an
// in-memory registry). Exit code 0 after a paste, 1 when nothing was pasted, 2 on an
// error.

#include <windows.h>
// After windows.h, which it builds on.
#include <commctrl.h>

#include <exception>
#include <string>

#include "app/main_form.h"
#include "app/startup.h"
#include "controls/application.h"
#include "platform/clipboard.h"
#include "platform/file_access.h"
#include "platform/file_system.h"
#include "platform/icon_source.h"
#include "platform/memory_registry.h"
#include "platform/reg_text.h"
#include "platform/services.h"
#include "platform/system_folders.h"

using namespace orvane;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (__argc != 2) return 2;
  try {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    InitSystemFacts();
    TMemoryRegistry registry;
    ImportRegText(registry,
                  "REGEDIT4\n\n[HKEY_CLASSES_ROOT\\.txt]\n@=\"txtfile\"\n"
                  "[HKEY_CLASSES_ROOT\\txtfile]\n@=\"Text Document\"\n");
    const TServices services{registry,           DefaultFileAccess(),     DefaultFileSystem(),
                             DefaultIconSource(), DefaultClipboard(),      DefaultModuleVersions(),
                             WindowsFolder(),     ProgramFolder(),         ProgramFolder()};
    TMainFormSettings settings;
    settings.MenuFile = __argv[1];
    settings.LogFile = settings.MenuFile + ".log.txt";
    TfrmMain form(nullptr, services, settings);
    form.Show();
    Application().ProcessMessages();
    TStaticMenu& menu = form.StaticMenu();
    if (menu.Items().Count() == 0) return 2;
    const std::size_t before = menu.AllItems().size();
    menu.Focus(menu.Items()[0]);
    form.StaticPage().tvMenu.SetFocus();
    form.actPaste.Execute();
    if (menu.AllItems().size() == before) return 1;
    form.ApplyChanges();
    return 0;
  } catch (const std::exception&) {
    return 2;
  }
}
