#pragma once
// Screenshots of test windows, kept in the build's test-artifacts folder for a person to
// look at (never the only check of a test).

#include <windows.h>

#include <string>

namespace orvane::testing {

// Unix paths of the build become Wine's Z: drive.
inline std::string WindowsPath(std::string path) {
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path.rfind('\\', 0) == 0 ? "Z:" + path : path;
}

// Shows the window, lets it paint, and saves what the screen shows of it as a bitmap in
// the build's test-artifacts folder; returns the file written (empty on failure).
std::string SaveScreenshot(HWND window, const std::string& name);

}  // namespace orvane::testing
