#include "app/startup.h"

#include <windows.h>
// After windows.h, which it builds on.
#include <commctrl.h>

#include <memory>

#include "app/loading.h"
#include "app/main_form.h"
#include "app/mult_inst.h"
#include "controls/application.h"
#include "filetypes/predefined_types.h"
#include "platform/messages.h"
#include "platform/services.h"
#include "platform/system_info.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/window_helpers.h"
#include "storage/menu_file.h"

namespace orvane {

void InitSystemFacts() {
  const TOSVersionData version = ReadOSVersionData();
  SetPlatformClass(PlatformClassOf(version.PlatformId, version.MajorVersion, version.MinorVersion));
  SetShellVersion(GetDllVersion("shell32.dll"));
  BuildPredefinedTable();
}

int RunProgram() {
  // Built once; everything below reaches the system through it.
  const TServices services = SystemServices();
  TApplication& application = Application();
  TSingleInstance guard(application);
  if (guard.AnotherRunning()) return 0;
  guard.ReportErrors();

  const TOSVersionData version = ReadOSVersionData();
  if (version.Available && !IsOSSupported(version.PlatformId, version.MajorVersion)) {
    MessageBoxA(GetDesktopWindow(), LoadResString(msg::SOSNotSupported).c_str(), kAppTitle,
                MB_OK | MB_ICONWARNING);
    return 0;
  }

  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  auto loading = std::make_unique<TfrmLoading>();
  loading->Show();
  UpdateWindow(loading->Handle());
  application.ProcessMessages();

  application.SetTitle(FormatRes(msg::SAppStarting, {std::string(kAppTitle)}));
  ResetProgressTimer();

  std::unique_ptr<TfrmMain> main;
  try {
    InitSystemFacts();
    TMainFormSettings settings;
    settings.MenuFile = MenuFileName(services);
    settings.Windows64 = IsWindows64();
    settings.OSVersion = version;
    settings.ShellRegistry = &NativeRegistryBackend();
    main = std::make_unique<TfrmMain>(nullptr, services, settings);
  } catch (const std::exception& error) {
    loading.reset();
    application.HandleException(error);
    return 1;
  }
  application.SetMainForm(main.get());
  loading.reset();

  application.OnIdle = [&main] { main->IdleUpdate(); };
  const int code = application.Run();
  application.OnIdle = nullptr;
  return code;
}

}  // namespace orvane
