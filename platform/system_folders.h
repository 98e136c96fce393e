#pragma once
// The system's folders and the running program's file. The start-up reads them into
// its services; the rest of the program takes them from there.

#include <string>

namespace orvane {

// The Windows folder and the folder of the running executable, each with a trailing
// path separator; empty when the system has none.
std::string WindowsFolder();
std::string ProgramFolder();
// The user's folder for temporary files, with a trailing path separator; empty when the
// system has none.
std::string TempFolder();
// Full path of the running executable; empty when the system cannot tell.
std::string ProgramFileName();

}  // namespace orvane
