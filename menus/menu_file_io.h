#pragma once
// The menu file's reads and writes as the main window runs them: apply (write a menu's
// section), export and import of the dynamic menu, and revert to the last saved state.

#include <string>

namespace orvane {

class IFileAccess;
class TStaticMenu;
class TDynamicMenu;

// Write the menu's section into `fileName` and the file at once. A file that cannot be
// written raises, and the menu stays modified.
void ApplyStaticMenu(TStaticMenu& menu, const std::string& fileName, IFileAccess& files);
void ApplyDynamicMenu(TDynamicMenu& menu, const std::string& fileName, IFileAccess& files);
// Writes the dynamic menu into another file; the menu's modified state stays as it was.
void ExportDynamicMenu(TDynamicMenu& menu, const std::string& fileName, IFileAccess& files);
// Reads the dynamic menu from another file; the menu is modified afterwards. A file
// without the menu's section raises EMenuError and leaves the menu as it was.
void ImportDynamicMenu(TDynamicMenu& menu, const std::string& fileName, IFileAccess& files);
// Reads the dynamic menu again from the menu file; unmodified afterwards.
void RevertDynamicMenu(TDynamicMenu& menu, const std::string& fileName, IFileAccess& files);

}  // namespace orvane
