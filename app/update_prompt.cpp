#include "app/update_prompt.h"

#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>

#include "controls/application.h"
#include "controls/form.h"
#include "platform/exception.h"
#include "platform/messages.h"
#include "platform/win32/system_error.h"
#include "platform/win32/window_helpers.h"
#include "services/update_check.h"

namespace orvane {
namespace {

HWND OwnerWindow() {
  TForm* main = Application().MainForm();
  return main ? main->Handle() : nullptr;
}

// Addresses from the version file came over the network: only a web page reaches the
// shell, never a program or a local file.
void OpenWebPage(const TUpdatePrompt& prompt, const std::string& url) {
  if (!IsWebPageAddress(url)) {
    ShowMessageBox(FormatRes(msg::SUpdateNotWebPage, {url}), kAppTitle, MB_OK | MB_ICONWARNING);
    return;
  }
  prompt.OpenPage(url);
}

}  // namespace

void ShellOpenPage(const std::string& url) {
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteA(OwnerWindow(), "open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (result <= 32)
    throw Exception(FormatRes(msg::SLinkError, {SystemErrorMessage(static_cast<DWORD>(result))}));
}

void CheckForUpdatesAndAsk(const TUpdatePrompt& prompt) {
  TUpdateCheckResult result;
  {
    TBusyCursor busy;
    result = CheckForUpdate(prompt.Versions, prompt.Downloader, prompt.ProgramFile,
                            prompt.VersionFileUrl);
  }
  if (result.Available) {
    if (ShowMessageBox(FormatRes(msg::SUpdateAvailable, {result.LatestVersion, result.Info}),
                       kAppTitle, MB_YESNO | MB_ICONQUESTION) == IDYES) {
      // A file that names no download page still leads to the maker's site.
      OpenWebPage(prompt, result.UpdateURL.empty() ? prompt.WebSite : result.UpdateURL);
    }
  } else if (!result.Info.empty()) {
    if (ShowMessageBox(result.Info + "\r\n\r\n" + LoadResString(msg::SUpdateVisitManually),
                       kAppTitle, MB_YESNO | MB_ICONWARNING) == IDYES) {
      OpenWebPage(prompt, prompt.WebSite);
    }
  } else {
    ShowMessageBox(LoadResString(msg::SUpdateIsLatest), kAppTitle, MB_OK | MB_ICONINFORMATION);
  }
}

}  // namespace orvane
