#pragma once
// The update check: the version file on the maker's server names the latest version, the
// download page and what is new; the check compares that version with the program's own.

#include <string>
#include <vector>

#include "platform/downloader.h"
#include "platform/exception.h"
#include "platform/system_info.h"

namespace orvane {

class EAutoUpdate : public Exception {
public:
  using Exception::Exception;
};
// The program's own version cannot be read: nothing to compare with.
class EAutoUpdateMissing : public EAutoUpdate {
public:
  using EAutoUpdate::EAutoUpdate;
};

// The value after the first "=" of the first line whose name before it equals `name`,
// ignoring case; empty when there is none. Lines end at CR, LF or CR LF.
std::string VersionFileValue(const std::string& text, const std::string& name);

// The numbers of a version text such as "3.1.11.430", blanks around it ignored; false when
// the text does not begin with a number. Text after the numbers (" beta") is left out.
bool ParseVersionNumbers(const std::string& text, std::vector<unsigned long>& numbers);
// -1, 0 or 1 as `a` is older than, the same as or newer than `b`, by their numbers (a
// missing part counts 0: "3.1" is "3.1.0.0"). Both must parse.
int CompareVersionNumbers(const std::vector<unsigned long>& a, const std::vector<unsigned long>& b);

// An address the shell may be given from the network: http or https with a host, no
// blanks or control characters. Anything else (a program, a file: URL) could start more
// than a web page.
bool IsWebPageAddress(const std::string& url);

struct TUpdateCheckResult {
  // A newer version is available.
  bool Available = false;
  // The version the file names; empty when it is not newer.
  std::string LatestVersion;
  std::string UpdateURL;
  // The program file's own version information.
  TModuleVersion Version;
  // What is new when Available; the reason when the check failed; else empty.
  std::string Info;
};

// Compares the version in the file at `versionFileUrl` with the FileVersion of
// `programFile`. Raises EAutoUpdateMissing when the program has no version information;
// every failure of the download or the file is reported in Info.
TUpdateCheckResult CheckForUpdate(IModuleVersions& versions, IDownloader& downloader,
                                  const std::string& programFile,
                                  const std::string& versionFileUrl);

}  // namespace orvane
