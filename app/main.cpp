// Program entry.

#include <windows.h>

#include "app/startup.h"
#include "platform/services.h"

// RunProgram stops every exception; nothing reaches the C++ runtime's terminate.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return orvane::RunProgram(orvane::SystemServices);
}
