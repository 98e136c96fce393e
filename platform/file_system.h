#pragma once
// What the model needs of the file system and the environment: expanding environment
// references and finding a program file the way the shell would.

#include <optional>
#include <string>
#include <vector>

namespace orvane {

// Replaces every %NAME% by the value of that environment variable; references to
// unknown variables stay as written.
std::string ExpandEnvironmentText(const std::string& text);

// Searches a file in `folders`, then in the system search path. std::nullopt when the
// system offers no such search (the caller then tests the name as it is).
std::optional<bool> FindFileOnPath(const std::string& fileName,
                                   const std::vector<std::string>& folders);

// True when `path` names an existing file (not a folder).
bool FileExists(const std::string& path);

}  // namespace orvane
