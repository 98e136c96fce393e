#pragma once
// The system's profile reader (GetPrivateProfileString), which the start-up path reads
// the menu file with. On Windows the system function; elsewhere the same rules: names
// compared without case, spaces around names and values dropped, one pair of matching
// quotes around a value removed, ";" inside a value kept, values cut to what fits a
// buffer of kProfileBufferSize characters.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

inline constexpr std::size_t kProfileBufferSize = 2048;

std::string ReadProfileString(const std::string& fileName, const std::string& section,
                              const std::string& key, const std::string& defaultValue);
// Key names of a section and section names, in file order.
std::vector<std::string> ReadProfileKeys(const std::string& fileName, const std::string& section);
std::vector<std::string> ReadProfileSections(const std::string& fileName);

}  // namespace orvane
