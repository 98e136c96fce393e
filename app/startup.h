#pragma once
// Where the running program begins: the single-instance guard, the operating system
// check, the loading window, the main window and the message loop.

#include <functional>

#include "platform/services.h"

namespace orvane {

// The exit code of a start that an exception stopped.
inline constexpr int kStartFailed = 1;

// The whole run over the services that `makeServices` builds; returns the process exit
// code. The boundary of the program's start: an exception from any step is reported
// through the application's exception handler and gives kStartFailed.
int RunProgram(const std::function<TServices()>& makeServices) noexcept;

// The system facts the file type model depends on: platform class and shell version.
void InitSystemFacts();

}  // namespace orvane
