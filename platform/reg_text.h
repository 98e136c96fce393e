#pragma once
// Registry text files (.reg): readable fixtures for tests and benchmarks, the backups the
// maintenance tools write, applied to and taken from any registry backend.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry_backend.h"

namespace orvane {

// One statement of a .reg file, as read.
struct TRegTextEntry {
  enum class TKind { Key, DeleteKey, Value, DeleteValue };
  TKind Kind = TKind::Key;
  int Line = 0;      // where it starts, from 1
  std::string Text;  // as written, continued lines joined
  HKey Root = 0;     // of the key, also for values
  std::string SubKey;
  std::string Name;  // of a value; empty for the default value
  std::uint32_t Type = 0;
  std::vector<std::uint8_t> Data;
};

// Reads REGEDIT4 text (also accepted: the "Windows Registry Editor Version 5.00" header,
// whose hex(1), hex(2) and hex(7) data are UTF-16): "[KEY]", "[-KEY]", @= and "name"=
// with strings, dword:, hex: and hex(n): data (continued lines ending in "\"), and
// "name"=- to delete; lines starting with ';' are comments. Raises Exception naming the
// first line it cannot read; nothing is returned then.
std::vector<TRegTextEntry> ParseRegText(std::string_view text);

// Applies entries in order. Raises Exception naming the line the registry refused;
// what came before it stays applied.
void ApplyRegText(IRegistryBackend& registry, const std::vector<TRegTextEntry>& entries);

// ParseRegText, then ApplyRegText: a file with a bad line changes nothing.
void ImportRegText(IRegistryBackend& registry, std::string_view text);

// The REGEDIT4 text of the key `keyPath` ("HKEY_CLASSES_ROOT\txtfile") and its
// subtree, keys and values in enumeration order, lines ending in "\n". Empty when the
// key cannot be opened; parts that cannot be read are left out.
std::string ExportRegText(IRegistryBackend& registry, const std::string& keyPath);

// For copies that must be whole: append the key's text (without the header) to `out`.
// False when the key does not exist. Raises Exception with the system's reason when the
// key, one of its subkeys or values cannot be read, and for a key or value name that the
// format cannot carry (a line break in it).
bool ExportRegKey(IRegistryBackend& registry, const std::string& keyPath, std::string& out);
// The same for one value: "[KEY]" and the value's line. False when the key or the value
// does not exist.
bool ExportRegValue(IRegistryBackend& registry, const std::string& keyPath,
                    const std::string& name, std::string& out);

}  // namespace orvane
