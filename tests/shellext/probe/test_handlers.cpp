// Context menu handlers that misbehave, for the handler timing tests: one takes its time
// over QueryContextMenu, one crashes in it, one never returns from it.

#include <windows.h>
#include <shlobj.h>

namespace {

// {0F1E5A10-7B1C-4C3E-9D2A-5E6F70810001} and so on: the last digit picks the behaviour.
constexpr GUID kSleeper = {0x0F1E5A10, 0x7B1C, 0x4C3E, {0x9D, 0x2A, 0x5E, 0x6F, 0x70, 0x81, 0x00, 0x01}};
constexpr GUID kCrasher = {0x0F1E5A10, 0x7B1C, 0x4C3E, {0x9D, 0x2A, 0x5E, 0x6F, 0x70, 0x81, 0x00, 0x02}};
constexpr GUID kHanger = {0x0F1E5A10, 0x7B1C, 0x4C3E, {0x9D, 0x2A, 0x5E, 0x6F, 0x70, 0x81, 0x00, 0x03}};
constexpr DWORD kSleepMs = 400;

enum class TBehaviour { Sleep, Crash, Hang };

class THandler : public IContextMenu, public IShellExtInit {
public:
  explicit THandler(TBehaviour behaviour) : behaviour_(behaviour) {}
  virtual ~THandler() = default;

  STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IContextMenu)) {
      *object = static_cast<IContextMenu*>(this);
    } else if (IsEqualIID(riid, IID_IShellExtInit)) {
      *object = static_cast<IShellExtInit*>(this);
    } else {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&references_); }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
  }
  STDMETHODIMP Initialize(PCIDLIST_ABSOLUTE, IDataObject*, HKEY) override { return S_OK; }
  STDMETHODIMP QueryContextMenu(HMENU menu, UINT index, UINT first, UINT, UINT) override {
    switch (behaviour_) {
      case TBehaviour::Sleep:
        Sleep(kSleepMs);
        break;
      case TBehaviour::Crash:
        *static_cast<volatile int*>(nullptr) = 1;
        break;
      case TBehaviour::Hang:
        Sleep(INFINITE);
        break;
    }
    InsertMenuA(menu, index, MF_BYPOSITION | MF_STRING, first, "Slow item");
    return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1);
  }
  STDMETHODIMP InvokeCommand(CMINVOKECOMMANDINFO*) override { return S_OK; }
  STDMETHODIMP GetCommandString(UINT_PTR, UINT, UINT*, LPSTR, UINT) override { return E_NOTIMPL; }

private:
  TBehaviour behaviour_;
  LONG references_ = 1;
};

class TFactory : public IClassFactory {
public:
  explicit TFactory(TBehaviour behaviour) : behaviour_(behaviour) {}
  STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
      *object = this;
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
    if (outer) return CLASS_E_NOAGGREGATION;
    auto* handler = new THandler(behaviour_);
    const HRESULT result = handler->QueryInterface(riid, object);
    handler->Release();
    return result;
  }
  STDMETHODIMP LockServer(BOOL) override { return S_OK; }

private:
  TBehaviour behaviour_;
};

TFactory sleeper(TBehaviour::Sleep);
TFactory crasher(TBehaviour::Crash);
TFactory hanger(TBehaviour::Hang);

}  // namespace

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID classId,
                                                                         REFIID riid,
                                                                         void** object) {
  TFactory* factory = IsEqualCLSID(classId, kSleeper)   ? &sleeper
                      : IsEqualCLSID(classId, kCrasher) ? &crasher
                      : IsEqualCLSID(classId, kHanger)  ? &hanger
                                                        : nullptr;
  if (!factory) return CLASS_E_CLASSNOTAVAILABLE;
  return factory->QueryInterface(riid, object);
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow() { return S_FALSE; }
