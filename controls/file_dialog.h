#pragma once
// The system's open and save dialogs, as every window of the program asks for a file.

#include <windows.h>

#include <optional>
#include <string>

namespace orvane {

struct TFileDialog {
  HWND Owner = nullptr;
  std::string Title;
  // "Name|*.x|Other|*.y;*.z", pairs of a name and its patterns.
  std::string Filter;
  // The file the dialog starts from; empty: none.
  std::string Current;
  // Added to a name typed without one; empty: none.
  std::string DefaultExtension;
  // A save dialog asks before overwriting; an open dialog takes only existing files.
  bool Save = false;
};

// The chosen file, or nothing when the dialog was cancelled.
std::optional<std::string> ShowFileDialog(const TFileDialog& options);

}  // namespace orvane
