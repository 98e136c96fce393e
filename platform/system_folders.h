#pragma once
// Folders the program keeps files in: the Windows folder and the folder of the running
// executable, each with a trailing path separator; empty when the system has none.

#include <string>

namespace orvane {

std::string WindowsFolder();
std::string ProgramFolder();

}  // namespace orvane
