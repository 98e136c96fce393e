// Started by a context menu item in the module's tests: writes the folder it was started
// in and its command line to the file named by its second argument, then signals the
// event named by its first, so that the test knows the file is complete.

#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  char folder[MAX_PATH + 1] = {};
  GetCurrentDirectoryA(MAX_PATH, folder);
  if (FILE* out = std::fopen(argv[2], "wb")) {
    std::fprintf(out, "%s\n%s\n", folder, GetCommandLineA());
    std::fclose(out);
  }
  if (HANDLE done = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[1])) {
    SetEvent(done);
    CloseHandle(done);
  }
  return 0;
}
