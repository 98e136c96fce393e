#pragma once
// Names of the predefined root keys, as .reg files and messages spell them.

#include <string>
#include <string_view>

#include "platform/registry_types.h"

namespace orvane {

// "HKEY_CLASSES_ROOT" ... for the seven predefined keys, nullptr for any other handle.
const char* PredefinedRootName(HKey root);

// Accepts the full names and the usual short forms (HKCR, HKCU, HKLM, HKU, HKCC),
// ignoring case.
bool ParseRootName(std::string_view name, HKey& root);

// Splits "HKEY_CLASSES_ROOT\txtfile\shell" into its root and "txtfile\shell".
bool SplitKeyPath(std::string_view path, HKey& root, std::string& subKey);

}  // namespace orvane
