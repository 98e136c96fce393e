#pragma once
// Fetching a small text from the web, for the update check. The system's over WinINet;
// tests pass their own.

#include <cstddef>
#include <string>

namespace orvane {

// What one download may take: a server that accepts and then says nothing, or sends
// without end, must not hold the window.
struct TDownloadLimits {
  unsigned ConnectTimeoutMs = 15000;
  unsigned ReceiveTimeoutMs = 15000;
  // The whole download, however the server trickles its answer.
  unsigned TotalTimeoutMs = 30000;
  // The rest of a longer body is not read.
  std::size_t MaxBytes = 64 * 1024;
};

class IDownloader {
public:
  virtual ~IDownloader() = default;
  // The body behind an https address, each chunk up to its first zero byte; raises
  // EOSError with the system's reason on failure. Other addresses are refused.
  virtual std::string DownloadText(const std::string& url) = 0;
};

}  // namespace orvane
