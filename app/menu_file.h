#pragma once
// Where the menu file is: "OV2001.ini" in the Windows folder when that file exists,
// otherwise "Orvane.ini" beside the program. Decided once per run.

#include <functional>
#include <string>

namespace orvane {

// The rule itself; both folders end with a backslash.
std::string ChooseMenuFile(const std::string& windowsDir, const std::string& programDir,
                           const std::function<bool(const std::string&)>& fileExists);

// The menu file of this run.
const std::string& MenuFileName();

}  // namespace orvane
