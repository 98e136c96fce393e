#pragma once
// What the whole module shares: its own handle and path, the count of objects and locks
// that keeps it loaded, where the program and its menu file are, the failure log and the
// parsed menu file kept between calls.

#include <windows.h>

#include <memory>
#include <string>

#include "platform/services.h"
#include "shellext/menu_bitmaps.h"
#include "shellext/menu_drawing.h"
#include "storage/menu_file_reader.h"

namespace orvane {

void SetModuleHandle(HINSTANCE module);
// Objects and server locks alive; the module may unload at 0.
void ModuleAddRef();
void ModuleRelease();
long ModuleReferences();

// The module's path in the ANSI code page the registry and the menu file use; empty
// when it cannot be had whole.
std::string ModulePath();
// The module's own services: the system's, with the program's folder as below and the
// module's own folder.
const TServices& ModuleServices();
// The program's folder, with a trailing backslash: the module's own, or its parent for
// the 64-bit module, which lives in "x64" beside the program.
std::string ModuleProgramFolder();
// The program's rule (MenuFileName) over the module's services.
std::string ModuleMenuFile();

// The registry view of this module's bitness.
#ifdef _WIN64
inline constexpr std::uint32_t kModuleView = 0x0100;  // KEY_WOW64_64KEY
#else
inline constexpr std::uint32_t kModuleView = 0x0200;  // KEY_WOW64_32KEY
#endif

// One short line in "OVShlExt.log" in the program's folder; only failures are written.
void LogFailure(const std::string& text);

// One reading of the menu file and the pictures and font of its items.
struct TCachedMenu {
  TMenuFileRecords Records;
  mutable TMenuPictures Pictures;
  mutable TMenuFonts Fonts;
};

// The menu file's records, read again only when its size or write time changed; empty
// records for a missing file. A file that cannot be read gives empty records and a line
// in the log. Safe on several threads.
std::shared_ptr<const TCachedMenu> CachedMenuFile(const std::string& fileName);
// Forgets the kept file (tests and benchmarks measure the cold path with it).
void ClearMenuFileCache();

}  // namespace orvane
