// Arbitrary bytes as the version file a web server sends: through the whole check with a
// downloader that answers with them (and with the same bytes for the "What's new" page),
// checking what the check may report and which addresses it would hand to the shell.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "services/update_check.h"

using namespace orvane;

namespace {

class TFixedDownloader : public IDownloader {
public:
  explicit TFixedDownloader(std::string body) : body_(std::move(body)) {}
  std::string DownloadText(const std::string& url) override {
    if (++calls_ > 2) std::abort();  // the file and at most one page it names
    if (url.find("fail") != std::string::npos) throw EOSError("unreachable", 12007);
    return body_;
  }

private:
  std::string body_;
  int calls_ = 0;
};

class TVersions : public IModuleVersions {
public:
  TModuleVersion Read(const std::string&) override {
    return TModuleVersion{true, "", "", "", "2008.0.0.0"};
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string body(reinterpret_cast<const char*>(data), size);
  TFixedDownloader downloader(body);
  TVersions versions;
  const TUpdateCheckResult result =
      CheckForUpdate(versions, downloader, "orvane.exe", "https://updates.test/versioninfo.txt");
  if (result.Available) {
    std::vector<unsigned long> latest, current;
    if (!ParseVersionNumbers(result.LatestVersion, latest) ||
        !ParseVersionNumbers("2008.0.0.0", current) || CompareVersionNumbers(latest, current) <= 0)
      std::abort();
  } else if (!result.LatestVersion.empty() || !result.UpdateURL.empty()) {
    std::abort();
  }
  // What reaches the shell has no room for a second argument or a local program.
  if (IsWebPageAddress(result.UpdateURL)) {
    for (char c : result.UpdateURL)
      if (static_cast<unsigned char>(c) <= ' ' || c == '"') std::abort();
  }
  for (const char* name : {"LatestVersion", "UpdateURL", "NewVersionInfo", "NewVersionInfoURL"}) {
    const std::string value = VersionFileValue(body, name);
    if (value.find_first_of("\r\n") != std::string::npos) std::abort();
  }
  return 0;
}
