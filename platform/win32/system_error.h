#pragma once
// The system's text for a Win32 error code, as messages embed it.

#include <cstdint>
#include <string>

namespace orvane {

// FormatMessage's text without the trailing period and line break; "System error N"
// when the system has none.
std::string SystemErrorMessage(std::uint32_t code);

}  // namespace orvane
