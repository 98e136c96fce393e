#include "platform/win32/window_helpers.h"

#include <shellapi.h>

#include <cstddef>

#include "platform/exception.h"
#include "platform/messages.h"
#include "platform/system_folders.h"
#include "platform/system_info.h"
#include "platform/win32/system_error.h"

namespace orvane {
namespace {

TMessageBoxHandler& BoxHandler() {
  static TMessageBoxHandler handler;
  return handler;
}

int& BusyDepth() {
  static int depth = 0;
  return depth;
}

std::string ClassNameOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

void ResetValue(HWND control, bool enabled) {
  const std::string kind = ClassNameOf(control);
  if (lstrcmpiA(kind.c_str(), "Edit") == 0) {
    if (!enabled) SetWindowTextA(control, "");
  } else if (lstrcmpiA(kind.c_str(), "ComboBox") == 0) {
    SendMessageA(control, CB_SETCURSEL, enabled ? 0 : static_cast<WPARAM>(-1), 0);
  } else if (lstrcmpiA(kind.c_str(), "Button") == 0 && !enabled) {
    const LONG type = GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
    if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE ||
        type == BS_AUTO3STATE) {
      SendMessageA(control, BM_SETCHECK, BST_UNCHECKED, 0);
    }
  }
}

}  // namespace

int ShowMessageBox(const std::string& text, const std::string& caption, UINT flags) {
  if (BoxHandler()) return BoxHandler()(text, caption, flags);
  return MessageBoxA(GetActiveWindow(), text.c_str(), caption.c_str(), flags);
}

void SetMessageBoxHandler(TMessageBoxHandler handler) { BoxHandler() = std::move(handler); }

std::string LinkTarget(const std::string& target) {
  if (target.find('@') == std::string::npos) return target;
  return "mailto:" + target + "?subject=" + kAppTitle;
}

void OpenLink(const std::string& target) {
  TBusyCursor busy;
  const std::string link = LinkTarget(target);
  const std::string program = ProgramFileName();
  const std::string::size_type slash = program.find_last_of("\\/:");
  if (slash != std::string::npos) SetCurrentDirectoryA(program.substr(0, slash + 1).c_str());
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteA(nullptr, "open", link.c_str(), nullptr, nullptr, SW_SHOW));
  if (result <= 32) {
    throw Exception(FormatRes(msg::SLinkError, {SystemErrorMessage(static_cast<DWORD>(result))}));
  }
}

LOGFONTA MessageLogFont() {
  NONCLIENTMETRICSA metrics{};
  // The size older systems know: without the padded border width.
  metrics.cbSize = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);
  if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) {
    const DWORD code = GetLastError();
    throw EOSError(SystemErrorMessage(code), code);
  }
  return metrics.lfMessageFont;
}

int ScreenPixelsPerInch() {
  TWindowDC screen(nullptr);
  return GetDeviceCaps(screen.Get(), LOGPIXELSY);
}

int FontPointSize(const LOGFONTA& font) {
  const int height = font.lfHeight < 0 ? -font.lfHeight : font.lfHeight;
  return MulDiv(height, 72, ScreenPixelsPerInch());
}

void SetControlsEnabled(HWND control, bool enabled, bool keepValues) {
  EnableWindow(control, enabled);
  if (!keepValues) ResetValue(control, enabled);
  for (HWND child = GetWindow(control, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    SetControlsEnabled(child, enabled, keepValues);
  }
}

TBusyCursor::TBusyCursor() : previous_(SetCursor(LoadCursor(nullptr, IDC_WAIT))) { ++BusyDepth(); }

TBusyCursor::~TBusyCursor() {
  --BusyDepth();
  SetCursor(previous_);
}

int TBusyCursor::Depth() { return BusyDepth(); }

}  // namespace orvane
