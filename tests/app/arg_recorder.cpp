// Test helper started by the shell: writes the arguments it was given, one a line, to
// the file named like the program with ".args" appended, and exits.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char self[MAX_PATH * 2] = {};
  GetModuleFileNameA(nullptr, self, sizeof self);
  FILE* out = std::fopen((std::string(self) + ".args").c_str(), "wb");
  if (!out) return 1;
  for (int i = 1; i < __argc; ++i) std::fprintf(out, "%s\n", __argv[i]);
  std::fclose(out);
  return 0;
}
