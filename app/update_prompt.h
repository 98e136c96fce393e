#pragma once
// "Check for Updates": the check with the hourglass, then one of its three messages, and
// the page the user agrees to visit.

#include <functional>
#include <string>

#include "platform/downloader.h"
#include "platform/system_info.h"

namespace orvane {

struct TUpdatePrompt {
  IModuleVersions& Versions;
  IDownloader& Downloader;
  std::string ProgramFile;
  std::string VersionFileUrl;
  // The maker's site, opened when the check failed and the user wants to look himself.
  std::string WebSite;
  // Opens a web page; raises on failure.
  std::function<void(const std::string& url)> OpenPage;
};

// Opens a web page with the shell's "open" verb; raises with the system's reason.
void ShellOpenPage(const std::string& url);

void CheckForUpdatesAndAsk(const TUpdatePrompt& prompt);

}  // namespace orvane
