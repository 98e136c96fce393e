#pragma once
// The system's own upper-case mapping of the ANSI code page, where there is one.

#include <array>

namespace orvane {

// Overwrites `table` (byte -> upper-case byte, Windows-1252 rules) with the system's
// mapping; without a system mapping the table stays as it is.
void ApplySystemUpperCase(std::array<unsigned char, 256>& table);

}  // namespace orvane
