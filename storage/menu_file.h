#pragma once
// The menu file: the one settings file that holds both menus and the program's other
// settings. "OV2001.ini" in the Windows folder when that file exists, else "Orvane.ini"
// beside the program. The start-up decides it once from its services and passes it on.

#include <functional>
#include <string>

namespace orvane {

struct TServices;

inline constexpr const char* kStaticItemsSection = "Static Items";
inline constexpr const char* kDynamicItemsSection = "Dynamic Items";

// The rule itself, for folders given with a trailing separator.
std::string ChooseMenuFileName(const std::string& windowsFolder, const std::string& programFolder,
                               const std::function<bool(const std::string&)>& fileExists);

// The rule on the services' folders and file system.
std::string MenuFileName(const TServices& services);

}  // namespace orvane
