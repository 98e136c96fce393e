// A small program that fails on purpose under the exception watcher, as the program
// would: "av" writes through a null pointer and nobody handles it; "throw" raises an
// EOSError that reaches the program's handler; "throw-mail" also answers Yes to the
// offer to write to the maker; "storm" raises and catches fifty in a row; "recurse" calls
// itself until the stack runs out ("recurse-mail" answers Yes too), "recurse-heap-locked"
// too while it holds the heap's lock; "exit-thread" ends its first thread with the
// watcher still there. The message it would show goes to "box.txt" beside it.

#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/exception.h"
#include "platform/file_system.h"
#include "platform/win32/exception_manager.h"
#include "platform/win32/mapi_mail.h"
#include "platform/win32/window_helpers.h"
#include "services/exception_class.h"

namespace {

std::wstring ProgramFile() {
  wchar_t buffer[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  return std::wstring(buffer, length);
}

std::string Folder(const std::string& file) { return file.substr(0, file.find_last_of('\\') + 1); }

}  // namespace

// Outside any namespace, so that the stack names them plainly.
__attribute__((noinline)) void CrashWithAccessViolation(volatile int* target) { *target = 42; }

// Each call keeps a little of the stack, and the limit is never reached: the stack runs out.
volatile int recursionLimit = 0x7FFFFFFF;
__attribute__((noinline)) int RecurseWithoutEnd(int depth) {
  volatile char kept[256];
  kept[0] = static_cast<char>(depth);
  if (depth < recursionLimit) return RecurseWithoutEnd(depth + 1) + kept[0];
  return kept[0];
}

__attribute__((noinline)) void ThrowOSError() {
  throw orvane::EOSError("The disk is full", ERROR_DISK_FULL);
}

int main(int argc, char** argv) {
  using namespace orvane;
  const std::string mode = argc > 1 ? argv[1] : "";
  const std::wstring program = ProgramFile();
  const std::string folder = Folder(AnsiText(program));
  TclExceptWatcher watcher(folder + "crash_probe.sym");
  TMapiControl mail;
  ThxExceptionManager manager(watcher, program, DefaultFileSystem(), mail);
  manager.SystemReport = [] { return std::string("the system report"); };
  TMessageBoxAnswers answers([&](const std::string& text, const std::string&, UINT flags) {
    if (FILE* box = std::fopen((folder + "box.txt").c_str(), "ab")) {
      std::fwrite(text.data(), 1, text.size(), box);
      std::fputs("\r\n=====\r\n", box);
      std::fclose(box);
    }
    return (flags & MB_YESNO) && (mode == "throw-mail" || mode == "recurse-mail") ? IDYES : IDNO;
  });
  if (mode == "av") CrashWithAccessViolation(nullptr);
  if (mode == "recurse" || mode == "recurse-mail") return RecurseWithoutEnd(0);
  if (mode == "recurse-heap-locked" && HeapLock(GetProcessHeap())) return RecurseWithoutEnd(0);
  if (mode == "exit-thread") ExitThread(3);
  if (mode == "storm") {
    for (int i = 0; i < 50; ++i) {
      try {
        ThrowOSError();
      } catch (const EOSError&) {
      }
    }
    return 0;
  }
  try {
    ThrowOSError();
  } catch (const std::exception& error) {
    manager.ShowUnhandled(ExceptionClassName(error), error.what());
  }
  return 0;
}
