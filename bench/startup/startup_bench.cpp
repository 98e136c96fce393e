// The program's start: from process start to the main window ready (shown, menus loaded
// from a menu file of a dozen items, the first page filled and painted), on the prefix's
// own HKEY_CLASSES_ROOT and again with 10,000 synthetic root keys added to it. The
// baseline is a tiny program started the same way that opens every root key of
// HKEY_CLASSES_ROOT, reads its default value and shows a plain window, timed to that
// window painted; the same walk without a window, timed to its exit, is reported beside
// it. The three starts take turns, round after round; medians over the rounds.

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "app/main_form.h"
#include "bench/bench_timing.h"
#include "bench/filetypes/synthetic_classes.h"
#include "platform/registry_backend.h"
#include "tests/support/screenshot.h"

namespace {

using Clock = std::chrono::steady_clock;
using orvane::testing::WindowsPath;

constexpr int kRounds = 7;
constexpr DWORD kGiveUpMs = 120000;
constexpr DWORD kLookEveryMs = 5;

double Seconds(Clock::time_point from) {
  return std::chrono::duration<double>(Clock::now() - from).count();
}

struct TSearch {
  DWORD process;
  bool ready;
};

BOOL CALLBACK FindReadyWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<TSearch*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == search->process && GetPropA(window, orvane::kMainWindowReadyProperty)) {
    search->ready = true;
    return FALSE;
  }
  return TRUE;
}

// Starts `program`; with `untilReady`, waits until its main window is ready and ends it,
// else waits until it exits. Seconds from the start, or a negative value on failure.
double Start(const std::string& program, bool untilReady, const std::string& arguments = {}) {
  std::string command = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const Clock::time_point begin = Clock::now();
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    std::fprintf(stderr, "cannot start %s (%lu)\n", program.c_str(), GetLastError());
    return -1;
  }
  double seconds = -1;
  if (untilReady) {
    TSearch search{process.dwProcessId, false};
    // Each look asks Wine's server about every top-level window, the server the started
    // program needs for its registry and windows: looking every millisecond took a fifth
    // of its time (10,000 keys: 4.0-5.2 s against 3.3 s). Every 5 ms costs little and
    // adds at most 5 ms to both starts.
    while (WaitForSingleObject(process.hProcess, kLookEveryMs) == WAIT_TIMEOUT) {
      EnumWindows(FindReadyWindow, reinterpret_cast<LPARAM>(&search));
      if (search.ready) {
        seconds = Seconds(begin);
        break;
      }
      if (Seconds(begin) * 1000 > kGiveUpMs) break;
    }
    // Closing is not measured, and leaves the menu file as it was.
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, INFINITE);
  } else if (WaitForSingleObject(process.hProcess, kGiveUpMs) == WAIT_OBJECT_0) {
    seconds = Seconds(begin);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return seconds;
}

// The menu file beside the program: a dozen items on types every prefix has (a fresh
// Wine prefix maps ".ini" to a type, ".txt" and ".exe" not), so that loading logs nothing.
std::string MenuFileText() {
  const char* types[] = {"inifile", "inifile", "Folder", "Folder", "Directory", "Directory",
                         "*",       "*",       "inifile", "Drive", "inifile",   "Drive"};
  std::string text = "[Static Items]\r\nCount=12\r\n";
  for (int i = 0; i < 12; ++i) {
    const std::string n = std::to_string(i);
    text += "Application" + n + "=%SystemRoot%\\notepad.exe\r\nParameters" + n +
            "=\"\"%1\"\"\r\nCaption" + n + "=Item " + n + "\r\nChecked" + n + "=1\r\nFileType" +
            n + "=" + types[i] + "\r\n";
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string suffix = orvane::bench::Argument(argc, argv, "suffix");

  const std::string program = WindowsPath(ORVANE_EXE);
  const std::string walk = WindowsPath(ORVANE_WALK);
  const std::string menuFile = program.substr(0, program.find_last_of('\\') + 1) + "Orvane.ini";
  std::ofstream(menuFile, std::ios::binary) << MenuFileText();

  std::setvbuf(stdout, nullptr, _IONBF, 0);
  const std::string withWindow = std::string("--ready=") + orvane::kMainWindowReadyProperty;
  // The first start of each loads its files from the disk: not counted.
  Start(walk, true, withWindow);
  Start(program, true);

  struct TCase {
    const char* name;
    int keys;
  };
  int status = 0;
  for (const TCase& c : {TCase{"", 0}, TCase{"_10000", 10000}}) {
    orvane::IRegistryBackend& registry = orvane::DefaultRegistryBackend();
    orvane::bench::Fixture added;
    if (c.keys) added = orvane::bench::Build(registry, c.keys);
    std::fprintf(stderr, "startup%s: %d keys added\n", c.name, c.keys);
    orvane::bench::TSamples ready, walked, bare;
    const bool started = orvane::bench::Interleave(
        kRounds, {{&ready, [&] { return Start(program, true); }},
                  {&walked, [&] { return Start(walk, true, withWindow); }},
                  {&bare, [&] { return Start(walk, false); }}});
    if (c.keys) orvane::bench::Remove(registry, added);
    if (!started) {
      std::fprintf(stderr, "startup%s: a start failed\n", c.name);
      status = 1;
      continue;
    }
    const std::string figure = std::string(c.name) + suffix;
    orvane::bench::PrintRatio("startup.ready_vs_walk" + figure,
                              orvane::bench::Ratios(ready, walked));
    orvane::bench::PrintValue("startup.ready" + figure, ready, "s");
    orvane::bench::PrintValue("startup.walk" + figure, walked, "s");
    orvane::bench::PrintValue("startup.walk_without_window" + figure, bare, "s");
  }
  DeleteFileA(menuFile.c_str());
  return status;
}
