#pragma once
// The system's downloader: WinINet over https only, with the limits it is given.

#include <string>

#include "platform/downloader.h"

namespace orvane {

class TWinINetDownloader : public IDownloader {
public:
  // `agent` names the program to the server.
  TWinINetDownloader(std::string agent, TDownloadLimits limits)
      : agent_(std::move(agent)), limits_(limits) {}
  std::string DownloadText(const std::string& url) override;

private:
  std::string agent_;
  TDownloadLimits limits_;
};

// The text of a WinINet error code (12001-12999), or of any other system code.
std::string InternetErrorMessage(unsigned long code);

}  // namespace orvane
