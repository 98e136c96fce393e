// HandlerProbe: creates one context menu handler by its class id, initializes it on a
// sample file or folder and asks it for its items, reporting each step's time on its
// standard output (see maintenance/handler_timing.h). It runs in a process of its own,
// of the handler's bitness, so that a handler that crashes or hangs takes only it along.
//
//   HandlerProbe.exe {CLSID} "C:\path\sample.txt"

#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <string>

#include "platform/win32/shell_selection.h"
#include "platform/win32/win32_handles.h"

namespace {

constexpr int kUsage = 2;
constexpr int kStepFailed = 3;

// A crash inside the handler ends the helper at once, with the exception's code as exit
// code, instead of a debugger or an error box waiting for a user.
LONG WINAPI EndOnException(EXCEPTION_POINTERS* exception) {
  std::fflush(stdout);
  TerminateProcess(GetCurrentProcess(), exception->ExceptionRecord->ExceptionCode);
  return EXCEPTION_EXECUTE_HANDLER;
}

class TStopwatch {
public:
  TStopwatch() {
    QueryPerformanceFrequency(&frequency_);
    Restart();
  }
  void Restart() { QueryPerformanceCounter(&start_); }
  long long Micros() const {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return (now.QuadPart - start_.QuadPart) * 1000000 / frequency_.QuadPart;
  }

private:
  LARGE_INTEGER frequency_;
  LARGE_INTEGER start_;
};

void Report(const char* step, long long micros, int items = -1) {
  if (items >= 0) {
    std::printf("%s %lld %d\n", step, micros, items);
  } else {
    std::printf("%s %lld\n", step, micros);
  }
  std::fflush(stdout);
}

int Failed(const char* step, HRESULT result) {
  std::printf("failed %s 0x%08lX\n", step, static_cast<unsigned long>(result));
  std::fflush(stdout);
  return kStepFailed;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

int Probe(const std::string& classIdText, const std::string& sample) {
  using orvane::TComPtr;
  CLSID classId;
  std::wstring wide(classIdText.begin(), classIdText.end());
  if (FAILED(CLSIDFromString(wide.c_str(), &classId))) return kUsage;

  TStopwatch watch;
  TComPtr<IContextMenu> handler;
  HRESULT result = CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IContextMenu,
                                    handler.PutVoid());
  if (FAILED(result)) return Failed("create", result);
  Report("created", watch.Micros());

  // The sample as a right click on it in its folder gives it.
  TComPtr<IDataObject> data;
  result = orvane::SelectionDataObject(FolderOf(sample), {sample}, data);
  if (FAILED(result)) return Failed("sample", result);
  orvane::TIdList parent(FolderOf(sample));
  TComPtr<IShellExtInit> init;
  watch.Restart();
  if (SUCCEEDED(handler->QueryInterface(IID_IShellExtInit, init.PutVoid()))) {
    result = init->Initialize(parent.Get(), data.Get(), nullptr);
    if (FAILED(result)) return Failed("initialize", result);
  }
  Report("initialized", watch.Micros());

  HMENU menu = CreatePopupMenu();
  watch.Restart();
  result = handler->QueryContextMenu(menu, 0, 1, 0x7FFF, CMF_NORMAL);
  const long long queried = watch.Micros();
  const int items = GetMenuItemCount(menu);
  DestroyMenu(menu);
  if (FAILED(result)) return Failed("query", result);
  Report("queried", queried, items);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  SetUnhandledExceptionFilter(EndOnException);
  if (argc != 3) {
    std::fprintf(stderr, "usage: HandlerProbe {CLSID} sample\n");
    return kUsage;
  }
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return kStepFailed;
  const int code = Probe(argv[1], argv[2]);
  // The handler is not released or unloaded: its clean-up is no part of what is timed,
  // and the process ends here anyway.
  std::fflush(stdout);
  TerminateProcess(GetCurrentProcess(), static_cast<UINT>(code));
  return code;
}
