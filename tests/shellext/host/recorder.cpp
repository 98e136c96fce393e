// Started by a context menu item in the module's tests: writes the folder it was started
// in, its command line and the show state it was given, in UTF-16 as it received them, to
// the file named by its second argument, then signals the event named by its first, so
// that the test knows the file is complete.

#include <windows.h>
#include <shellapi.h>

#include <string>

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || argc < 3) return 2;
  std::wstring folder(GetCurrentDirectoryW(0, nullptr), L'\0');
  folder.resize(GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data()));
  STARTUPINFOW startup{};
  GetStartupInfoW(&startup);
  std::wstring show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? std::to_wstring(startup.wShowWindow) : L"-";
  std::wstring text = folder + L"\n" + GetCommandLineW() + L"\n" + show + L"\n";
  HANDLE out = CreateFileW(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (out != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    WriteFile(out, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(out);
  }
  if (HANDLE done = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[1])) {
    SetEvent(done);
    CloseHandle(done);
  }
  return 0;
}
