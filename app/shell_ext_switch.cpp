#include "app/shell_ext_switch.h"

#include <windows.h>

#include <utility>

#include "app/main_form.h"
#include "app/serving_process_runner.h"
#include "controls/edit_controls.h"
#include "platform/file_system.h"
#include "platform/messages.h"
#include "platform/registry_backend.h"
#include "platform/win32/system_error.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/window_helpers.h"

namespace orvane {
namespace {

constexpr char kModuleName[] = "OVShlExt.DLL";
constexpr char kClassKey[] = "CLSID\\{5D1E7A42-3C9B-4F08-A6D2-9B71E0C4F315}";
constexpr const char* kEntryPoints[] = {"DllRegisterServer", "DllUnregisterServer"};
constexpr std::uint32_t kDelete = 0x00010000;
constexpr long kAccessDeniedResult = static_cast<long>(0x80070005);

// Opens and closes a key; whether the open succeeded, and with what error.
ErrorCode TryOpen(IRegistryBackend& registry, const char* path, std::uint32_t access) {
  HKey key = 0;
  ErrorCode code = registry.OpenKey(kHkeyClassesRoot, path, access, key);
  if (code == kErrorSuccess) registry.CloseKey(key);
  return code;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

void Warn(const std::string& text) { ShowMessageBox(text, kAppTitle, MB_OK | MB_ICONWARNING); }

// The registration tool's exit codes, as regsvr32 documents them.
std::string ToolReason(std::uint32_t code) {
  switch (code) {
    case 3:
      return LoadResString(msg::SShellExtToolNoLoad);
    case 4:
      return LoadResString(msg::SShellExtToolNoEntry);
    case 5:
      return LoadResString(msg::SShellExtToolCallFailed);
    default:
      return SystemErrorMessage(code);
  }
}

}  // namespace

bool ShellExtRegistered(IRegistryBackend& registry) {
  return TryOpen(registry, kClassKey, kKeyRead) == kErrorSuccess;
}

bool MayChangeShellExtRegistration(IRegistryBackend& registry) {
  if (TryOpen(registry, "CLSID", kKeyCreateSubKey | kKeySetValue) == kErrorAccessDenied)
    return false;
  return TryOpen(registry, kClassKey, kKeyWrite | kDelete) != kErrorAccessDenied;
}

void CallServerRegistration(const std::string& path, bool unregister) {
  const char* entryName = kEntryPoints[unregister ? 1 : 0];
  // A missing file must not bring up the system's own box on older systems.
  const UINT previousMode = SetErrorMode(SEM_NOOPENFILEERRORBOX);
  TModuleHandle module(LoadLibraryA(path.c_str()));
  const DWORD loadError = GetLastError();
  SetErrorMode(previousMode);
  if (!module) {
    throw EOleSysError(FormatRes(msg::SShellExtLoadFailed,
                                 {path, SystemErrorMessage(loadError), static_cast<long long>(loadError)}),
                       loadError);
  }
  using TEntry = HRESULT(STDAPICALLTYPE*)();
  auto entry = reinterpret_cast<TEntry>(
      reinterpret_cast<void (*)()>(GetProcAddress(module.get(), entryName)));
  if (!entry) throw Exception(FormatRes(msg::SShellExtProcNotFound, {std::string(entryName), path}));
  const HRESULT result = entry();
  if (result == kAccessDeniedResult)
    throw EShellExtRights(LoadResString(msg::SShellExtRights), static_cast<unsigned long>(result));
  if (result != S_OK) {
    throw EOleSysError(FormatRes(msg::SShellExtCallFailed, {std::string(entryName), path}),
                       static_cast<unsigned long>(result));
  }
}

void RunRegsvr32(IProcessRunner& runner, const std::string& tool, const std::string& path,
                 bool unregister) {
  const std::string arguments = "\"" + path + "\"" + (unregister ? " /u" : "") + " /s";
  const TProcessResult result = runner.Run(tool, arguments, kRegsvr32TimeoutMs);
  switch (result.End) {
    case TProcessResult::TEnd::NotStarted:
      throw EOleSysError(FormatRes(msg::SShellExtToolNotStarted, {tool, result.Output}), 0);
    case TProcessResult::TEnd::TimedOut:
      throw EOleSysError(FormatRes(msg::SShellExtToolTimedOut,
                                   {path, static_cast<long long>(kRegsvr32TimeoutMs / 1000)}),
                         0);
    case TProcessResult::TEnd::Exited:
      break;
  }
  if (result.ExitCode != 0) {
    throw EOleSysError(FormatRes(msg::SShellExtToolFailed, {path, ToolReason(result.ExitCode),
                                                            static_cast<long long>(result.ExitCode)}),
                       result.ExitCode);
  }
}

std::string Regsvr32Path(const std::string& windowsFolder, bool windows64) {
  const bool redirected = windows64 && sizeof(void*) == 4;
  return windowsFolder + (redirected ? "Sysnative" : "System32") + "\\regsvr32.exe";
}

TShellExtSwitch::TShellExtSwitch(TShellExtSystem system, std::string programFolder)
    : system_(std::move(system)), modulePath_(std::move(programFolder) + kModuleName) {}

std::string TShellExtSwitch::Module64Path() const {
  return FolderOf(modulePath_) + "x64\\" + kModuleName;
}

bool TShellExtSwitch::Registered() const { return ShellExtRegistered(system_.Registry); }

void TShellExtSwitch::RegisterShellExtension(bool unregister) {
  if (!MayChangeShellExtRegistration(system_.Registry))
    throw EShellExtRights(LoadResString(msg::SShellExtRights), kErrorAccessDenied);
  TBusyCursor busy;
  try {
    system_.CallServer(modulePath_, unregister);
  } catch (const Exception&) {
    if (!unregister) throw;
  }
  if (!system_.Windows64) return;
  const std::string twin = Module64Path();
  if (!system_.FileSystem.FileExists(twin)) return;
  try {
    RunRegsvr32(system_.Runner, system_.Regsvr32, twin, unregister);
  } catch (const Exception&) {
    if (!unregister) throw;
  }
}

bool TShellExtSwitch::Click(bool checked) {
  if (!MayChangeShellExtRegistration(system_.Registry)) {
    Warn(LoadResString(msg::SShellExtRights));
    return Registered();
  }
  if (!checked) {
    RegisterShellExtension(true);
    if (!Registered()) return false;
    Warn(FormatRes(msg::SShellExtStillRegistered, {modulePath_}));
    return true;
  }
  Warn(LoadResString(msg::SShellExtWarning));
  try {
    RegisterShellExtension(false);
    return true;
  } catch (const Exception& failure) {
    // What the failed registration left goes again: the registry is as it was.
    try {
      RegisterShellExtension(true);
    } catch (const Exception&) {
    }
    Warn(failure.Message());
    return false;
  }
}

void TShellExtSwitch::BeforeSave() {
  try {
    RegisterShellExtension(true);
  } catch (const Exception&) {
    // It is registered again right after the save in any case.
  }
}

void TShellExtSwitch::AfterSave() {
  try {
    RegisterShellExtension(false);
  } catch (const Exception& failure) {
    Warn(failure.Message());
  }
}

std::unique_ptr<TShellExtSwitch> SystemShellExtSwitch(IRegistryBackend& registry,
                                                      IFileSystem& fileSystem,
                                                      const std::string& programFolder,
                                                      const std::string& windowsFolder,
                                                      bool windows64) {
  static TServingProcessRunner runner;
  return std::make_unique<TShellExtSwitch>(
      TShellExtSystem{registry, fileSystem, runner, Regsvr32Path(windowsFolder, windows64),
                      windows64, CallServerRegistration},
      programFolder);
}

void ConnectShellExtBox(TCheckBox& box, TfrmMain& form, TShellExtSwitch& shellExt) {
  box.SetChecked(shellExt.Registered());
  box.OnClick = [&box, &form, &shellExt] {
    if (form.Loading()) return;
    box.SetChecked(shellExt.Click(box.Checked()));
    form.UpdateActions("ActiveX");
  };
  form.ShellExtensionEnabled = [&box] { return box.Checked(); };
  form.UnregisterShellExtension = [&shellExt] { shellExt.BeforeSave(); };
  form.RegisterShellExtension = [&shellExt] { shellExt.AfterSave(); };
}

}  // namespace orvane
