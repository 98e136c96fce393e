#pragma once
// The module's registration: its class key with the in-process server, the handler
// entries for the objects it serves, and its place in the shell's list of approved
// extensions. Unregistration removes exactly what registration made: the keys that did
// not exist before are recorded in the class key and go again when nothing else was put
// in them meanwhile.

#include <string>

#include "shellext/registry_view.h"

namespace orvane {

inline constexpr const char* kShellExtClassId = "{5D1E7A42-3C9B-4F08-A6D2-9B71E0C4F315}";
inline constexpr const char* kShellExtName = "Orvane Dynamic Items";

// Files ("*"), folders, the folder background and drives: every object once (folders are
// no files, drives are no "Directory", and "Folder" and "AllFileSystemObjects" are left
// out as they would add a second copy).
inline constexpr const char* kServedTypes[] = {"*", "Directory", "Directory\\Background", "Drive"};

bool RegisterShellExtension(const TRegistryView& registry, const std::string& modulePath);
// True also when nothing was registered.
bool UnregisterShellExtension(const TRegistryView& registry);

}  // namespace orvane
