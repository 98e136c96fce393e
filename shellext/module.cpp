// The module's entry points: the class object for the context menu handler, the
// unload check, and self-registration in the registry view of the module's bitness.

#include <windows.h>
#include <olectl.h>
#include <shlobj.h>

#include "platform/win32/com_boundary.h"
#include "shellext/context_menu.h"
#include "shellext/module_state.h"
#include "shellext/registration.h"

// The handler's class, {5D1E7A42-3C9B-4F08-A6D2-9B71E0C4F315}.
__CRT_UUID_DECL(orvane::TContextMenu, 0x5D1E7A42, 0x3C9B, 0x4F08, 0xA6, 0xD2, 0x9B, 0x71, 0xE0,
                0xC4, 0xF3, 0x15)

namespace orvane {
namespace {

const CLSID& kClassId = __mingw_uuidof<TContextMenu>();

void LogHook(HRESULT result, const char* what) {
  char code[16];
  wsprintfA(code, "%08lX", static_cast<unsigned long>(result));
  LogFailure(std::string("entry stopped (") + code + "): " + what);
}

// One class object for the module's life; the references it hands out keep the module
// loaded as the objects it makes do.
class TClassFactory final : public IClassFactory {
public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
      *object = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override {
    ModuleAddRef();
    return 2;
  }
  ULONG STDMETHODCALLTYPE Release() override {
    ModuleRelease();
    return 1;
  }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    return ComBoundary(
        [&]() -> HRESULT {
          if (!object) return E_POINTER;
          *object = nullptr;
          if (outer) return CLASS_E_NOAGGREGATION;
          auto* handler = new TContextMenu();
          HRESULT result = handler->QueryInterface(iid, object);
          handler->Release();
          return result;
        },
        LogHook);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    lock ? ModuleAddRef() : ModuleRelease();
    return S_OK;
  }
};

TClassFactory factory;

}  // namespace
}  // namespace orvane

using namespace orvane;

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    SetModuleHandle(module);
    DisableThreadLibraryCalls(module);
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID classId, REFIID iid, void** object) {
  return ComBoundary(
      [&]() -> HRESULT {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (!IsEqualCLSID(classId, kClassId)) return CLASS_E_CLASSNOTAVAILABLE;
        return factory.QueryInterface(iid, object);
      },
      LogHook);
}

STDAPI DllCanUnloadNow() { return ModuleReferences() == 0 ? S_OK : S_FALSE; }

STDAPI DllRegisterServer() {
  return ComBoundary(
      [&]() -> HRESULT {
        const std::string path = ModulePath();
        if (path.empty()) {
          LogFailure("not registered: the module's path cannot be had whole in the ANSI code page");
          return SELFREG_E_CLASS;
        }
        bool ok = RegisterShellExtension(TRegistryView(ModuleServices().Registry, kModuleView), path);
        if (ok) SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
        return ok ? S_OK : SELFREG_E_CLASS;
      },
      LogHook);
}

STDAPI DllUnregisterServer() {
  return ComBoundary(
      [&]() -> HRESULT {
        bool ok = UnregisterShellExtension(TRegistryView(ModuleServices().Registry, kModuleView));
        if (ok) SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
        return ok ? S_OK : SELFREG_E_CLASS;
      },
      LogHook);
}
