#pragma once
// The program's store of switched-off entries under HKEY_CURRENT_USER. An entry's path
// there is its active path under HKEY_CLASSES_ROOT behind the store's prefix, so it can
// be moved back to exactly where it was.

#include <string>
#include <string_view>

namespace orvane {

inline constexpr std::string_view kDisabledStaticPrefix = "Software\\Orvane\\DisabledItems\\Static\\";
inline constexpr std::string_view kDisabledDynamicPrefix = "Software\\Orvane\\DisabledItems\\Dynamic\\";

// `keyPath` with everything up to and including the first `prefix` removed: the active
// location of a stored entry. A path without the prefix is returned as it is.
std::string ActiveKeyPath(const std::string& keyPath, std::string_view prefix);

// Where an active entry goes when it is switched off.
std::string StoredKeyPath(const std::string& activeKeyPath, std::string_view prefix);

}  // namespace orvane
