#pragma once
// An icon file as the system's extraction would find it (a bare name is searched for as
// the extraction searches), checked before the extraction, which maps the file and
// believes its headers: a damaged one takes down the process that extracts from it.

#include <string>

namespace orvane {

enum class TIconFileVerdict { Missing, Unsound, Sound };

// `found` receives the file's full path where the file exists.
TIconFileVerdict CheckIconFileOnDisk(const std::string& file, std::string& found);

}  // namespace orvane
