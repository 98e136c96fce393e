#include "services/update_check.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

#include "platform/ansi_case.h"
#include "platform/messages.h"
#include "services/exception_class.h"

namespace orvane {
namespace {

std::string Trim(const std::string& text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ') ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
  return text.substr(begin, end - begin);
}

bool StartsWithNoCase(const std::string& text, const char* prefix) {
  for (std::size_t i = 0; prefix[i]; ++i) {
    if (i >= text.size() ||
        std::tolower(static_cast<unsigned char>(text[i])) != static_cast<unsigned char>(prefix[i]))
      return false;
  }
  return true;
}

std::string ReasonOf(const std::string& address, MessageId id, const std::exception& error) {
  return FormatRes(id, {address, ExceptionClassName(error), std::string(error.what())});
}

}  // namespace

std::string VersionFileValue(const std::string& text, const std::string& name) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = text.size();
    const std::size_t equals = text.find('=', pos);
    if (equals != std::string::npos && equals < end &&
        AnsiSameText(std::string_view(text).substr(pos, equals - pos), name)) {
      return text.substr(equals + 1, end - equals - 1);
    }
    // CR LF ends one line, not two.
    pos = end + 1;
    if (end < text.size() && text[end] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
  }
  return {};
}

bool ParseVersionNumbers(const std::string& text, std::vector<unsigned long>& numbers) {
  numbers.clear();
  const std::string version = Trim(text);
  std::size_t i = 0;
  while (i < version.size() && std::isdigit(static_cast<unsigned char>(version[i]))) {
    // A part beyond any real version saturates instead of wrapping round (unsigned long
    // is 32 bits on Windows: the sum is taken wider).
    std::uint64_t value = 0;
    while (i < version.size() && std::isdigit(static_cast<unsigned char>(version[i]))) {
      value = std::min<std::uint64_t>(value * 10 + static_cast<std::uint64_t>(version[i] - '0'),
                                      0xFFFFFFFFULL);
      ++i;
    }
    numbers.push_back(static_cast<unsigned long>(value));
    if (i + 1 < version.size() && version[i] == '.' &&
        std::isdigit(static_cast<unsigned char>(version[i + 1]))) {
      ++i;
    } else {
      break;
    }
  }
  return !numbers.empty();
}

int CompareVersionNumbers(const std::vector<unsigned long>& a, const std::vector<unsigned long>& b) {
  for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
    const unsigned long x = i < a.size() ? a[i] : 0;
    const unsigned long y = i < b.size() ? b[i] : 0;
    if (x != y) return x < y ? -1 : 1;
  }
  return 0;
}

bool IsWebPageAddress(const std::string& url) {
  std::size_t hostStart;
  if (StartsWithNoCase(url, "https://")) {
    hostStart = 8;
  } else if (StartsWithNoCase(url, "http://")) {
    hostStart = 7;
  } else {
    return false;
  }
  for (char c : url) {
    // Blanks and quotes would let the shell read more than one address.
    if (static_cast<unsigned char>(c) <= ' ' || c == '"' || c == 0x7F) return false;
  }
  const std::size_t hostEnd = url.find_first_of("/?#", hostStart);
  const std::string host = url.substr(hostStart, hostEnd == std::string::npos ? std::string::npos
                                                                             : hostEnd - hostStart);
  return !host.empty() && host.find('\\') == std::string::npos && host[0] != '@' &&
         host[0] != ':';
}

TUpdateCheckResult CheckForUpdate(IModuleVersions& versions, IDownloader& downloader,
                                  const std::string& programFile,
                                  const std::string& versionFileUrl) {
  TUpdateCheckResult result;
  result.Version = versions.Read(programFile);
  std::vector<unsigned long> current;
  if (!result.Version.Valid || !ParseVersionNumbers(result.Version.FileVersion, current))
    throw EAutoUpdateMissing(FormatRes(msg::SUpdateNoVersionInfo, {programFile}));
  std::string file;
  try {
    file = downloader.DownloadText(versionFileUrl);
    result.LatestVersion = VersionFileValue(file, "LatestVersion");
    if (Trim(result.LatestVersion).empty())
      throw EAutoUpdate(LoadResString(msg::SUpdateLatestInaccessible));
    std::vector<unsigned long> latest;
    if (!ParseVersionNumbers(result.LatestVersion, latest))
      throw EAutoUpdate(FormatRes(msg::SUpdateNoVersionNumber, {result.LatestVersion}));
    // Only a later version is news: an older file on a mirror must not offer a downgrade.
    if (CompareVersionNumbers(latest, current) <= 0) {
      result.LatestVersion.clear();
      return result;
    }
    result.LatestVersion = Trim(result.LatestVersion);
    result.Available = true;
    result.UpdateURL = Trim(VersionFileValue(file, "UpdateURL"));
  } catch (const std::exception& error) {
    result.Available = false;
    result.LatestVersion.clear();
    result.Info = ReasonOf(versionFileUrl, msg::SUpdateCannotGetLatest, error);
    return result;
  }
  result.Info = VersionFileValue(file, "NewVersionInfo");
  const std::string infoUrl = VersionFileValue(file, "NewVersionInfoURL");
  if (Trim(result.Info).empty() && !Trim(infoUrl).empty()) {
    try {
      result.Info = downloader.DownloadText(Trim(infoUrl));
    } catch (const std::exception& error) {
      result.Info = ReasonOf(infoUrl, msg::SUpdateCannotGetInfo, error);
    }
  }
  return result;
}

}  // namespace orvane
