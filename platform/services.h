#pragma once
// Everything through which the program reaches the system, in one plain object: built
// once by the program's start-up from the system's own implementations (and, separately,
// by the shell extension module for itself), and by tests from fakes. Model and window
// code take what they need from it and never reach for the system themselves; there are
// deliberately no defaults, so code that forgets to pass one does not compile.

#include <string>

namespace orvane {

class IClipboard;
class IFileAccess;
class IFileSystem;
class IIconSource;
class IModuleVersions;
class IRegistryBackend;

struct TServices {
  IRegistryBackend& Registry;
  IFileAccess& Files;
  IFileSystem& FileSystem;
  IIconSource& Icons;
  IClipboard& Clipboard;
  IModuleVersions& Versions;
  // Folders, each with a trailing path separator; empty when the system has none.
  std::string WindowsFolder;
  // Where the program file lives, and its menu file beside it.
  std::string ProgramFolder;
  // Where the running module lives: the program's folder in the program, the module's
  // own in the shell extension.
  std::string ModuleFolder;
};

// The system's registry, files, icons and clipboard, and the folders of the running
// program. Only the program's start-up calls it.
TServices SystemServices();

}  // namespace orvane
