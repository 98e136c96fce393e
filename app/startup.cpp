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
#include "platform/locale_system.h"
#include "platform/messages.h"
#include "platform/services.h"
#include "platform/system_folders.h"
#include "platform/system_info.h"
#include "platform/win32/exception_manager.h"
#include "platform/win32/mapi_mail.h"
#include "platform/win32/process_runner.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/wininet_downloader.h"
#include "platform/win32/window_helpers.h"
#include "services/exception_class.h"
#include "services/localizer.h"
#include "storage/menu_file.h"

namespace orvane {

void InitSystemFacts() {
  const TOSVersionData version = ReadOSVersionData();
  SetPlatformClass(PlatformClassOf(version.PlatformId, version.MajorVersion, version.MinorVersion));
  SetShellVersion(GetDllVersion("shell32.dll"));
  BuildPredefinedTable();
}

namespace {

std::wstring ProgramFileW() {
  wchar_t buffer[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  return std::wstring(buffer, length < MAX_PATH ? length : 0);
}

int Run(const std::function<TServices()>& makeServices) {
  // Built once; everything below reaches the system through it.
  const TServices services = makeServices();
  TApplication& application = Application();

  // The error report: every exception from here on is seen when raised, and one that
  // reaches the application's handler is shown with its dump and offered to the maker.
  const std::wstring programFile = ProgramFileW();
  TclExceptWatcher watcher(services.ProgramFolder + FileNameWithoutExt(AnsiText(programFile)) +
                           ".sym");
  TMapiControl mail;
  ThxExceptionManager errorReport(watcher, programFile, services.FileSystem, mail);
  // The report goes with this run; the handler there was before takes what stops the
  // start, which the start's own boundary reports after the report is gone.
  struct TReportEnd {
    TApplication& application;
    std::function<void(const std::exception&)> previous;
    ~TReportEnd() { application.OnException = std::move(previous); }
  } reportEnd{application, application.OnException};
  application.OnException = [&errorReport](const std::exception& error) {
    errorReport.ShowUnhandled(ExceptionClassName(error), error.what());
  };
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

  // The chosen language before the first window, which it translates.
  const std::string menuFile = MenuFileName(services);
  TLocalizer localizer({services.Files, DefaultLocaleSystem(), services.ProgramFolder, menuFile});
  localizer.OnReport = [](const std::string& text) {
    MessageBoxA(GetActiveWindow(), text.c_str(), LoadResString(msg::SLangErrorTitle).c_str(),
                MB_OK | MB_ICONERROR);
  };
  localizer.OnTranslateAll = [&application] { application.TranslateAll(); };
  application.Language = [&localizer](const std::string& className) {
    return localizer.Section(className);
  };
  struct TLanguageEnd {
    TApplication& application;
    ~TLanguageEnd() { application.Language = nullptr; }
  } languageEnd{application};
  localizer.LoadStartLanguage();

  auto loading = std::make_unique<TfrmLoading>();
  loading->Show();
  UpdateWindow(loading->Handle());
  application.ProcessMessages();

  application.SetTitle(FormatRes(msg::SAppStarting, {std::string(kAppTitle)}));
  ResetProgressTimer();

  InitSystemFacts();
  TMainFormSettings settings;
  settings.MenuFile = menuFile;
  settings.Localizer = &localizer;
  settings.Windows64 = IsWindows64();
  settings.OSVersion = version;
  settings.ShellRegistry = &NativeRegistryBackend();
  settings.ClassViews = SystemClassViews(settings.Windows64, services.WindowsFolder);
  // The helpers lie beside the modules of their bitness: the 64-bit ones in "x64".
  TWin32ProcessRunner helperRunner;
  settings.Measuring.Runner = &helperRunner;
  const std::string probe = services.ProgramFolder + "HandlerProbe.exe";
  if (sizeof(void*) == 8) {
    settings.Measuring.Probes.Probe64 = probe;
  } else {
    settings.Measuring.Probes.Probe32 = probe;
    if (settings.Windows64)
      settings.Measuring.Probes.Probe64 = services.ProgramFolder + "x64\\HandlerProbe.exe";
  }
  TWinINetDownloader downloader(kAppTitle, TDownloadLimits{});
  settings.Downloader = &downloader;
  // Loading a handler and a helper process take their time under a busy system.
  settings.Measuring.Probes.TimeoutMs = 10000;
  if (const std::string temp = TempFolder(); !temp.empty())
    settings.Measuring.SampleFolder = temp + "Orvane samples\\";
  // A failure here unwinds the main window's own clean-up, then the loading window,
  // before it is reported.
  auto main = std::make_unique<TfrmMain>(nullptr, services, settings);
  application.SetMainForm(main.get());
  errorReport.SystemReport = [form = main.get()] { return form->SystemReport(); };
  loading.reset();

  // The application and the error report forget the main window before it goes, also
  // when the loop raises.
  struct TLoopEnd {
    TApplication& application;
    ThxExceptionManager& errorReport;
    ~TLoopEnd() {
      application.OnIdle = nullptr;
      application.SetMainForm(nullptr);
      errorReport.SystemReport = nullptr;
    }
  } loopEnd{application, errorReport};
  application.OnIdle = [&main] { main->IdleUpdate(); };
  return application.Run();
}

}  // namespace

int RunProgram(const std::function<TServices()>& makeServices) noexcept {
  try {
    return Run(makeServices);
  } catch (...) {
    // Nothing of the start has a handler of its own: the exception stops here, is
    // reported like one stopped at a window, and the process ends with a failure code.
    try {
      Application().HandleCurrentException();
    } catch (...) {
    }
  }
  return kStartFailed;
}

}  // namespace orvane
