#pragma once
// Registry text files (.reg): readable fixtures for tests and benchmarks, applied to
// and taken from any registry backend.

#include <string>
#include <string_view>

#include "platform/registry_backend.h"

namespace orvane {

// Applies REGEDIT4 text (also accepted: the "Windows Registry Editor Version 5.00"
// header, whose hex(1), hex(2) and hex(7) data are UTF-16). Supports "[KEY]", "[-KEY]",
// @= and "name"= with strings, dword:, hex: and hex(n): data (continued lines ending
// in "\"), and "name"=- to delete. Raises Exception naming the line it cannot read.
void ImportRegText(IRegistryBackend& registry, std::string_view text);

// The REGEDIT4 text of the key `keyPath` ("HKEY_CLASSES_ROOT\txtfile") and its
// subtree, keys and values in enumeration order, lines ending in "\n". Empty when the
// key cannot be opened.
std::string ExportRegText(IRegistryBackend& registry, const std::string& keyPath);

}  // namespace orvane
