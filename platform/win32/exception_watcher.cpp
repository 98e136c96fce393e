#include "platform/win32/exception_watcher.h"

#include <cxxabi.h>
#include <dbghelp.h>

#include <cstdlib>
#include <exception>
#include <optional>
#include <typeinfo>

#include "platform/file_access.h"
#include "platform/messages.h"
#include "services/exception_class.h"

namespace orvane {
namespace {

// The one registration of the process: the system's handlers and the wrapped throw find
// the watcher here. Set and cleared by the watcher's own construction and destruction.
TclExceptWatcher* watcher = nullptr;
// This thread is inside a notification: what it raises meanwhile is not reported again.
thread_local bool notifying = false;

constexpr int kMaxFrames = 100;

// Stack kept back on the watcher's thread for what runs there at a stack overflow: the
// system's dispatch up to the unhandled-exception filter, and the hand-over.
constexpr ULONG kStackGuarantee = 32 * 1024;
// The rescue thread takes the heap's lock within moments, unless the overflowed thread
// holds it (its stack ran out inside an allocation).
constexpr DWORD kRescueStartMs = 5000;

#ifdef _WIN64
constexpr DWORD kMachine = IMAGE_FILE_MACHINE_AMD64;
#else
constexpr DWORD kMachine = IMAGE_FILE_MACHINE_I386;
#endif

bool IsStackOverflow(PEXCEPTION_POINTERS pointers) {
  return pointers->ExceptionRecord->ExceptionCode == EXCEPTION_STACK_OVERFLOW &&
         pointers->ContextRecord;
}

LONG CALLBACK VectoredHandler(PEXCEPTION_POINTERS pointers) {
  if (!watcher || !pointers || !pointers->ExceptionRecord || !pointers->ContextRecord)
    return EXCEPTION_CONTINUE_SEARCH;
  if (IsStackOverflow(pointers))
    watcher->RescueStackOverflow(*pointers->ExceptionRecord, *pointers->ContextRecord, false);
  else if (pointers->ExceptionRecord->ExceptionCode != kGccExceptionCode)  // seen at its throw
    watcher->Notify(*pointers->ExceptionRecord, *pointers->ContextRecord, GetCurrentThreadId(),
                    false, {}, {});
  return EXCEPTION_CONTINUE_SEARCH;
}

LONG WINAPI UnhandledFilter(PEXCEPTION_POINTERS pointers) {
  if (watcher && pointers && pointers->ExceptionRecord) {
    if (IsStackOverflow(pointers)) {
      watcher->RescueStackOverflow(*pointers->ExceptionRecord, *pointers->ContextRecord, true);
      // The system's own ending unwinds the stack first, which an overflowed stack has no
      // room for (Wine then ends only the thread, and the process lives on without it).
      TerminateProcess(GetCurrentProcess(), EXCEPTION_STACK_OVERFLOW);
    }
    watcher->NotifyUnhandled(*pointers->ExceptionRecord);
  }
  // The process ends here, without the system's own crash dialog on top of ours.
  return EXCEPTION_EXECUTE_HANDLER;
}

std::string Environment(const char* name) {
  char buffer[2048];
  const DWORD length = GetEnvironmentVariableA(name, buffer, sizeof buffer);
  return length > 0 && length < sizeof buffer ? std::string(buffer, length) : std::string();
}

std::string ModuleFolder(HMODULE module) {
  char buffer[MAX_PATH];
  const DWORD length = GetModuleFileNameA(module, buffer, MAX_PATH);
  std::string path(buffer, length < MAX_PATH ? length : 0);
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// The symbol search path: the debugger's variables, the Windows folder, the folders of
// this code's module and of the program.
std::string SymbolSearchPath() {
  std::string path;
  for (const char* name : {"_NT_SYMBOL_PATH", "_NT_ALT_SYMBOL_PATH", "SystemRoot"})
    if (std::string value = Environment(name); !value.empty()) path += value + ";";
  HMODULE own = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                         GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&SymbolSearchPath), &own);
  return path + ModuleFolder(own) + ";" + ModuleFolder(nullptr);
}

std::uintptr_t ProgramModule() { return reinterpret_cast<std::uintptr_t>(GetModuleHandleA(nullptr)); }

std::string Demangled(const char* mangled) {
  int status = 0;
  char* plain = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
  std::string name = status == 0 && plain ? plain : mangled;
  std::free(plain);
  if (std::size_t colon = name.rfind("::"); colon != std::string::npos) name.erase(0, colon + 2);
  return name;
}

}  // namespace

TExceptionDescription TclExceptionInformation::Description() const {
  return {Language ? TExceptionKind::Language : TExceptionKind::System,
          static_cast<std::uint32_t>(Record.ExceptionCode), ClassName, Message};
}

TclDbgHelpStackTracer::TclDbgHelpStackTracer(std::string symbolTableFile)
    : symbolTableFile_(std::move(symbolTableFile)) {
  SymSetOptions(SYMOPT_UNDNAME | SYMOPT_DEFERRED_LOADS | SYMOPT_LOAD_LINES);
  const std::string path = SymbolSearchPath();
  initialized_ = SymInitialize(GetCurrentProcess(), path.c_str(), TRUE) != FALSE;
  SymSetOptions(SYMOPT_UNDNAME | SYMOPT_LOAD_LINES);
}

TclDbgHelpStackTracer::~TclDbgHelpStackTracer() {
  if (initialized_) SymCleanup(GetCurrentProcess());
}

TclStackFrames TclDbgHelpStackTracer::Walk(const TclExceptionInformation& information) {
  if (!tableRead_) {
    tableRead_ = true;
    std::string text;
    std::string reason;
    if (!symbolTableFile_.empty() &&
        DefaultFileAccess().ReadFile(symbolTableFile_, text, reason) ==
            IFileAccess::ReadResult::Read)
      table_ = TSymbolTable::Parse(text);
  }
  const HANDLE process = GetCurrentProcess();
  // Another thread's stack (a stack overflow's, walked by the rescue thread) is walked
  // with that thread's handle.
  TKernelHandle other;
  if (information.ThreadId && information.ThreadId != GetCurrentThreadId())
    other.reset(
        OpenThread(THREAD_GET_CONTEXT | THREAD_QUERY_INFORMATION, FALSE, information.ThreadId));
  const HANDLE thread = other ? other.get() : GetCurrentThread();
  auto frameAt = [&](DWORD64 address) {
    TclStackFrame frame;
    frame.Address = address;
    MEMORY_BASIC_INFORMATION memory{};
    if (VirtualQuery(reinterpret_cast<LPCVOID>(address), &memory, sizeof memory) &&
        memory.State == MEM_COMMIT && memory.AllocationBase) {
      char name[MAX_PATH];
      const DWORD length =
          GetModuleFileNameA(static_cast<HMODULE>(memory.AllocationBase), name, MAX_PATH);
      if (length > 0 && length < MAX_PATH) {
        frame.ModuleName.assign(name, length);
        frame.ModuleBase = reinterpret_cast<std::uintptr_t>(memory.AllocationBase);
        if (initialized_)
          SymLoadModule64(process, nullptr, name, nullptr, frame.ModuleBase, 0);
      }
    }
    // The program's own table is made from the linker's symbols: right on every system.
    if (frame.ModuleBase == ProgramModule())
      frame.SymbolName = table_.NameAt(frame.ModuleBase, address);
    if (frame.SymbolName.empty() && initialized_) {
      alignas(SYMBOL_INFO) char buffer[sizeof(SYMBOL_INFO) + MAX_SYM_NAME];
      auto* symbol = reinterpret_cast<SYMBOL_INFO*>(buffer);
      ZeroMemory(buffer, sizeof buffer);
      symbol->SizeOfStruct = sizeof(SYMBOL_INFO);
      symbol->MaxNameLen = MAX_SYM_NAME;
      DWORD64 displacement = 0;
      if (SymFromAddr(process, address, &displacement, symbol)) frame.SymbolName = symbol->Name;
    }
    return frame;
  };

  TclStackFrames frames;
  CONTEXT context = information.Context;  // the walk changes it
  STACKFRAME64 walked{};
#ifdef _WIN64
  walked.AddrPC.Offset = context.Rip;
  walked.AddrStack.Offset = context.Rsp;
  walked.AddrFrame.Offset = context.Rbp;
#else
  walked.AddrPC.Offset = context.Eip;
  walked.AddrStack.Offset = context.Esp;
  walked.AddrFrame.Offset = context.Ebp;
#endif
  walked.AddrPC.Mode = walked.AddrStack.Mode = walked.AddrFrame.Mode = AddrModeFlat;
  while (initialized_ && frames.size() < kMaxFrames) {
    if (!StackWalk64(kMachine, process, thread, &walked, &context, nullptr,
                     SymFunctionTableAccess64, SymGetModuleBase64, nullptr) ||
        walked.AddrPC.Offset == 0)
      break;
    // Past the first frame the address is a return address: the call instruction before
    // it (5 bytes for a direct call) is the one that belongs to the caller.
    const DWORD64 address = frames.empty() ? walked.AddrPC.Offset : walked.AddrPC.Offset - 5;
    frames.push_back(frameAt(address));
  }
  if (frames.empty() && information.Record.ExceptionAddress)
    frames.push_back(frameAt(reinterpret_cast<std::uintptr_t>(information.Record.ExceptionAddress)));
  return frames;
}

TclExceptWatcher::TclExceptWatcher(std::string symbolTableFile)
    : thread_(GetCurrentThreadId()), symbolTableFile_(std::move(symbolTableFile)) {
  InitializeCriticalSection(&lock_);
  InitializeCriticalSection(&rescueLock_);
  // Windows otherwise raises a stack overflow with a page or two left. (Wine commits a
  // thread's whole stack at its start with one guard page at the end, and raises it there
  // whatever is asked; the hand-over fits.)
  ULONG guarantee = kStackGuarantee;
  SetThreadStackGuarantee(&guarantee);
  requestEvent_.reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));
  begunEvent_.reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));
  doneEvent_.reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));
  watchedThread_.reset(OpenThread(SYNCHRONIZE | THREAD_QUERY_INFORMATION, FALSE, thread_));
  if (requestEvent_ && begunEvent_ && doneEvent_ && watchedThread_)
    rescueThread_.reset(CreateThread(nullptr, 0, RescueThread, this, 0, &rescueThreadId_));
  watcher = this;
  handler_ = AddVectoredExceptionHandler(1, VectoredHandler);
  previousFilter_ = SetUnhandledExceptionFilter(UnhandledFilter);
}

TclExceptWatcher::~TclExceptWatcher() {
  SetUnhandledExceptionFilter(previousFilter_);
  if (handler_) RemoveVectoredExceptionHandler(handler_);
  EnterCriticalSection(&lock_);
  watcher = nullptr;
  LeaveCriticalSection(&lock_);
  if (rescueThread_) {
    stopping_ = true;
    SetEvent(requestEvent_.get());
    WaitForSingleObject(rescueThread_.get(), INFINITE);
  }
  tracer_.reset();
  DeleteCriticalSection(&rescueLock_);
  DeleteCriticalSection(&lock_);
}

TclDbgHelpStackTracer& TclExceptWatcher::Tracer() {
  if (!tracer_) tracer_ = std::make_unique<TclDbgHelpStackTracer>(symbolTableFile_);
  return *tracer_;
}

bool TclExceptWatcher::IsWatched(const TclExceptionInformation& information) {
  if (information.Language) return IsWatchedClass(information.ClassName);
  if (!IsWatchedCode(static_cast<std::uint32_t>(information.Record.ExceptionCode))) return false;
  for (const TclStackFrame& frame : Tracer().Walk(information))
    if (frame.ModuleBase == ProgramModule()) return true;
  return false;
}

void TclExceptWatcher::DebuggerOutput(const TclExceptionInformation& information,
                                      const TclStackFrames& frames) {
  OutputDebugStringA(
      ("Exception code: " + Format("%.8X", {static_cast<long long>(information.Record.ExceptionCode)}))
          .c_str());
  if (information.Language)
    OutputDebugStringA((information.ClassName + ": " + information.Message).c_str());
  OutputDebugStringA("------------");
  std::string lines = StackLines(frames);
  for (std::size_t start = 0; start < lines.size();) {
    const std::size_t end = lines.find("\r\n", start);
    OutputDebugStringA(lines.substr(start, end - start).c_str());
    start = end + 2;
  }
  OutputDebugStringA("------------");
}

void TclExceptWatcher::Notify(const EXCEPTION_RECORD& record, const CONTEXT& context, DWORD thread,
                              bool language, std::string className, std::string message) noexcept {
  if (record.ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) return;
  if (notifying) return;
  EnterCriticalSection(&lock_);
  notifying = true;
  try {
    auto information = std::make_unique<TclExceptionInformation>();
    information->Context = context;
    information->Record = record;
    information->Record.ExceptionRecord = nullptr;  // not ours to keep
    information->ThreadId = thread;
    information->Language = language;
    information->ClassName = std::move(className);
    information->Message = std::move(message);
    if (active_ && thread == thread_)
      Handle(std::move(information));
    else if (IsWatched(*information))
      DebuggerOutput(*information, Tracer().Walk(*information));
  } catch (...) {
    // The exception being reported goes on as it was.
  }
  notifying = false;
  LeaveCriticalSection(&lock_);
}

void TclExceptWatcher::NotifyUnhandled(const EXCEPTION_RECORD& record) noexcept {
  if (notifying || !OnUnhandled) return;
  EnterCriticalSection(&lock_);
  notifying = true;
  try {
    OnUnhandled(*this, record);
  } catch (...) {
  }
  notifying = false;
  LeaveCriticalSection(&lock_);
}

void TclExceptWatcher::RescueStackOverflow(const EXCEPTION_RECORD& record, const CONTEXT& context,
                                           bool unhandled) noexcept {
  // Nothing here may need more than a few hundred bytes of stack: no allocation, no
  // thread-local variable (its first use allocates), no debug help library.
  if (!rescueThread_ || record.ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND))
    return;
  const DWORD self = GetCurrentThreadId();
  // The rescue thread cannot wait for itself, and a thread inside a notification holds the
  // lock the rescue thread would wait for.
  if (self == rescueThreadId_ ||
      lock_.OwningThread == reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(self)))
    return;
  EnterCriticalSection(&rescueLock_);
  request_.Context = context;
  request_.Record = record;
  request_.Record.ExceptionRecord = nullptr;
  request_.ThreadId = self;
  request_.Unhandled = unhandled;
  if (SetEvent(requestEvent_.get())) {
    // A rescue that cannot start waits for a lock this thread holds: no report can be
    // made, and the program ends as it would have without one.
    if (WaitForSingleObject(begunEvent_.get(), kRescueStartMs) != WAIT_OBJECT_0)
      TerminateProcess(GetCurrentProcess(), EXCEPTION_STACK_OVERFLOW);
    WaitForSingleObject(doneEvent_.get(), INFINITE);
  }
  LeaveCriticalSection(&rescueLock_);
}

DWORD WINAPI TclExceptWatcher::RescueThread(LPVOID self) {
  return static_cast<TclExceptWatcher*>(self)->Rescue();
}

DWORD TclExceptWatcher::Rescue() {
  const HANDLE waits[] = {requestEvent_.get(), watchedThread_.get()};
  // The watched thread's stack overflow, until it is reported as unhandled.
  std::optional<EXCEPTION_RECORD> overflow;
  for (;;) {
    const DWORD woken = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
    if (woken == WAIT_OBJECT_0 + 1) {
      // The watched thread is gone, and this one must not keep the process alive without
      // it. After a stack overflow the system gave up on it before its unhandled-exception
      // filter (Wine's x86_64 search for a handler needs more than the page left): the
      // overflow is reported as unhandled here.
      if (overflow) {
        NotifyUnhandled(*overflow);
        TerminateProcess(GetCurrentProcess(), EXCEPTION_STACK_OVERFLOW);
      }
      DWORD code = 0;
      GetExitCodeThread(watchedThread_.get(), &code);
      return code;
    }
    if (woken != WAIT_OBJECT_0 || stopping_) return 0;
    // Everything below allocates: the overflowed thread may hold the heap's lock.
    HeapLock(GetProcessHeap());
    HeapUnlock(GetProcessHeap());
    SetEvent(begunEvent_.get());
    const bool watched = request_.ThreadId == thread_;
    if (request_.Unhandled) {
      NotifyUnhandled(request_.Record);
      if (watched) overflow.reset();
    } else {
      Notify(request_.Record, request_.Context, request_.ThreadId, false, {}, {});
      if (watched) overflow = request_.Record;
    }
    SetEvent(doneEvent_.get());
  }
}

void TclExceptWatcher::Handle(std::unique_ptr<TclExceptionInformation> information) {
  // Only listed exceptions count against the throttle: an exception raised and caught on
  // the way, moments before a crash, must not hide the crash.
  const bool listed =
      information->Language ? IsWatchedClass(information->ClassName)
                            : IsWatchedCode(static_cast<std::uint32_t>(information->Record.ExceptionCode));
  if (listed && !throttle_.Pass(GetTickCount())) return;
  last_ = std::move(information);
  const auto& handler = last_->Language ? OnException : OnSystemException;
  if (handler) handler(*this, *last_);
  if (listed) throttle_.Handled(GetTickCount());
}

}  // namespace orvane

// Every C++ throw of the program passes here first (the link wraps the runtime's
// __cxa_throw): the watcher sees it with the context of its throw, then the runtime's own
// throw goes on unchanged.
extern "C" [[noreturn]] void __real___cxa_throw(void* object, std::type_info* type,
                                                void (*destroy)(void*));
extern "C" [[noreturn]] void __wrap___cxa_throw(void* object, std::type_info* type,
                                                void (*destroy)(void*)) {
  using namespace orvane;
  if (watcher && !notifying) {
    notifying = true;  // what the names' making raises is not reported
    CONTEXT context{};
    EXCEPTION_RECORD record{};
    std::string className;
    std::string message;
    try {
      RtlCaptureContext(&context);
      record.ExceptionCode = kGccExceptionCode;
      record.ExceptionAddress = __builtin_return_address(0);
      void* thrown = object;
      if (typeid(std::exception).__do_catch(type, &thrown, 1)) {
        const auto* error = static_cast<const std::exception*>(thrown);
        className = ExceptionClassName(*error);
        message = error->what();
      } else {
        className = Demangled(type->name());
      }
    } catch (...) {
    }
    notifying = false;
    watcher->Notify(record, context, GetCurrentThreadId(), true, std::move(className),
                    std::move(message));
  }
  __real___cxa_throw(object, type, destroy);
}
