#pragma once
// The dynamic items switch: registers and unregisters the shell extension module
// "OVShlExt.DLL" beside the program (and, on 64-bit Windows, its twin "x64\OVShlExt.DLL"
// through the system's registration tool), and tells whether it is registered. The
// registration lives in the registry only; the box on the submenu page mirrors it.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/exception.h"

namespace orvane {

class IFileSystem;
class IProcessRunner;
class IRegistryBackend;
class TCheckBox;
class TfrmMain;

// A registration that failed for a reason the user is told: the box goes back to clear
// and the registry stays as it was.
class EOleSysError : public EOSError {
public:
  using EOSError::EOSError;
};

// The registration may not be changed by this user: administrator rights are needed.
class EShellExtRights : public EOleSysError {
public:
  using EOleSysError::EOleSysError;
};

// How long the registration tool may take before it is stopped and counts as failed.
inline constexpr std::uint32_t kRegsvr32TimeoutMs = 60000;

// The class key of the module exists under HKEY_CLASSES_ROOT. Asked with read access
// only, so that a user who may not write the key still sees the module registered.
bool ShellExtRegistered(IRegistryBackend& registry);

// Whether this user may create or remove the module's keys: write access to
// HKEY_CLASSES_ROOT\CLSID and, when it exists, to the class key.
bool MayChangeShellExtRegistration(IRegistryBackend& registry);

// Loads the module in this process (without the system's "file not found" box) and calls
// DllRegisterServer, or DllUnregisterServer. A module that does not load, or an entry
// point that fails, raises EOleSysError; a missing entry point raises Exception.
void CallServerRegistration(const std::string& path, bool unregister);

// The system's registration tool on a module of the other bitness, waited for with
// `runner` (at most kRegsvr32TimeoutMs): a tool that cannot start, does not finish, or
// ends with a code other than 0 raises EOleSysError.
void RunRegsvr32(IProcessRunner& runner, const std::string& tool, const std::string& path,
                 bool unregister);

// The registration tool that handles 64-bit modules: from a 32-bit program on 64-bit
// Windows the one in "Sysnative" (the file system redirection would give the 32-bit one).
std::string Regsvr32Path(const std::string& windowsFolder, bool windows64);

// What the switch needs of the system. The program passes the real parts; tests
// replace the in-process registration or the tool's runner.
struct TShellExtSystem {
  IRegistryBackend& Registry;  // HKEY_CLASSES_ROOT as this program sees it
  IFileSystem& FileSystem;     // whether the 64-bit twin is there
  IProcessRunner& Runner;      // runs the registration tool for the twin
  std::string Regsvr32;        // the tool's path (Regsvr32Path)
  bool Windows64 = false;
  // In-process registration of the module beside the program (CallServerRegistration).
  std::function<void(const std::string& path, bool unregister)> CallServer;
};

class TShellExtSwitch {
public:
  // `programFolder` with a trailing separator: the module lies there.
  TShellExtSwitch(TShellExtSystem system, std::string programFolder);

  const std::string& ModulePath() const { return modulePath_; }
  // "x64\OVShlExt.DLL" beside the module; used only on 64-bit Windows.
  std::string Module64Path() const;
  bool Registered() const;

  // Registers (or unregisters) the module and, on 64-bit Windows, its twin when the file
  // is there. Registering raises on the first failure and nothing after it runs;
  // unregistering goes on past failures. A user without the rights to change the
  // registration gets EShellExtRights before anything is tried.
  void RegisterShellExtension(bool unregister);

  // The user ticked (true) or cleared the box. Ticking warns first and registers; a
  // registration that fails is undone and its reason shown. Clearing unregisters without
  // a message. Returns what the box must show afterwards: whether the module is now
  // registered as far as the program knows.
  bool Click(bool checked);

  // Apply's bracket around the dynamic menu's save, while dynamic items are enabled:
  // unregistering first (failures ignored), registering again after (a failure shown,
  // the box stays ticked).
  void BeforeSave();
  void AfterSave();

private:
  TShellExtSystem system_;
  std::string modulePath_;
};

// The system's parts: the registry and file system given, the module loaded in this
// process, the tool waited for while the windows keep answering.
std::unique_ptr<TShellExtSwitch> SystemShellExtSwitch(IRegistryBackend& registry,
                                                      IFileSystem& fileSystem,
                                                      const std::string& programFolder,
                                                      const std::string& windowsFolder,
                                                      bool windows64);

// Wires the submenu page's box to the switch and the main window: its state now from the
// registry (nothing is registered meanwhile), its clicks through Click while the window
// is not loading, each followed by UpdateActions("ActiveX"), and the window's Apply
// bracket (ShellExtensionEnabled, UnregisterShellExtension, RegisterShellExtension).
void ConnectShellExtBox(TCheckBox& box, TfrmMain& form, TShellExtSwitch& shellExt);

}  // namespace orvane
