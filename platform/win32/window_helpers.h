#pragma once
// Small operations that every window of the program uses: message boxes, links, the
// system's message font, enabling a group of controls, the hourglass cursor.

#include <windows.h>

#include <functional>
#include <string>

#include "platform/win32/win32_handles.h"
#include "resources/version.h"

namespace orvane {

// The application title that message boxes carry.
inline constexpr char kAppTitle[] = ORVANE_PRODUCT_NAME;

// MessageBoxA owned by the active window; returns the button pressed.
int ShowMessageBox(const std::string& text, const std::string& caption, UINT flags);

// Tests answer message boxes instead of a user: while one of these lives, its handler
// gets every box that ShowMessageBox would show and returns the button; the handler
// before it comes back when it goes.
using TMessageBoxHandler =
    std::function<int(const std::string& text, const std::string& caption, UINT flags)>;
class TMessageBoxAnswers {
public:
  explicit TMessageBoxAnswers(TMessageBoxHandler handler);
  ~TMessageBoxAnswers();
  TMessageBoxAnswers(const TMessageBoxAnswers&) = delete;
  TMessageBoxAnswers& operator=(const TMessageBoxAnswers&) = delete;

private:
  TMessageBoxHandler previous_;
};

// An e-mail address becomes a mailto link with the product's subject; anything else
// stays as it is.
std::string LinkTarget(const std::string& target);
// Opens a web page, file or new e-mail through the shell; raises on failure.
void OpenLink(const std::string& target);

// The message font of the non-client metrics; raises EOSError when the system does not
// answer.
LOGFONTA MessageLogFont();
// Point size of a font height at the screen's resolution.
int FontPointSize(const LOGFONTA& font);
int ScreenPixelsPerInch();

// Enables or disables a control and every control below it. Unless keepValues is set,
// disabling empties edits, unselects combo boxes and clears check boxes, and enabling
// selects a combo box's first entry.
void SetControlsEnabled(HWND control, bool enabled, bool keepValues);

// The hourglass cursor for the scope; the previous cursor comes back on every path.
class TBusyCursor {
public:
  TBusyCursor();
  ~TBusyCursor();
  TBusyCursor(const TBusyCursor&) = delete;
  TBusyCursor& operator=(const TBusyCursor&) = delete;
  // How many busy scopes are open; the cursor is the hourglass while this is above 0.
  static int Depth();

private:
  HCURSOR previous_;
};

}  // namespace orvane
