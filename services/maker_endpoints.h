#pragma once
// The maker's addresses, each in this one place: the web site, the version file the
// update check reads, the support mailbox the error report writes to.

namespace orvane {

inline constexpr char kMakerWebSite[] = "https://www.vantrel.com/orvane/";
inline constexpr char kVersionFileUrl[] =
    "https://www.vantrel.com/downloads/ov/versioncheck/versioninfo.txt";
inline constexpr char kSupportAddress[] = "orvane-support@vantrel.com";

}  // namespace orvane
