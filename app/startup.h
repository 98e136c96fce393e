#pragma once
// Where the running program begins: the single-instance guard, the operating system
// check, the loading window, the main window and the message loop.

namespace orvane {

// The whole run; returns the process exit code.
int RunProgram();

// The system facts the file type model depends on: platform class and shell version.
void InitSystemFacts();

}  // namespace orvane
