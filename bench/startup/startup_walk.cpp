// The baseline of the start-up benchmark: a process that opens every root key of
// HKEY_CLASSES_ROOT, reads its default value and exits. With "--ready=NAME" it then shows
// a plain main window instead, as every program with a window pays for at its start
// (under Wine: the display driver loaded and connected), marks it ready with the window
// property NAME once painted, as the program does, and waits to be ended.

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/exception.h"
#include "platform/registry.h"

namespace {

LRESULT CALLBACK WalkWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    TextOutA(paint.hdc, 8, 8, "walk", 4);
    EndPaint(window, &paint);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void ShowPlainWindow(HINSTANCE instance, const char* readyProperty) {
  WNDCLASSA type{};
  type.lpfnWndProc = WalkWindowProc;
  type.hInstance = instance;
  type.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  type.lpszClassName = "OrvaneStartupWalk";
  RegisterClassA(&type);
  HWND window = CreateWindowExA(0, type.lpszClassName, "Walk", WS_OVERLAPPEDWINDOW,
                                CW_USEDEFAULT, CW_USEDEFAULT, 640, 480, nullptr, nullptr,
                                instance, nullptr);
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  // What the window has to handle before it stands: sizing, activation, painting.
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  SetPropA(window, readyProperty, reinterpret_cast<HANDLE>(1));
  // Ended by the benchmark, like the program: closing is not measured.
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  using namespace orvane;
  TRegistry reg(kKeyRead, DefaultRegistryBackend());
  reg.SetRootKey(kHkeyClassesRoot);
  std::vector<std::string> names;
  if (reg.OpenKeyReadOnly("\\")) reg.GetKeyNames(names);
  size_t bytes = 0;
  for (const std::string& name : names) {
    if (!reg.OpenKeyReadOnly("\\" + name)) continue;
    try {
      bytes += reg.ReadString("").size();
    } catch (const ERegistryException&) {
    }
  }
  if (const char* ready = std::strstr(commandLine, "--ready=")) {
    const std::string property = std::string(ready + 8).substr(0, std::strcspn(ready + 8, " "));
    ShowPlainWindow(instance, property.c_str());
  }
  // Something read, so that the walk is not optimised away.
  return bytes > 0 && !names.empty() ? 0 : 1;
}
