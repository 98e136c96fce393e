#pragma once
// The registered module under Wine: Initialize plus QueryContextMenu, cold and warm,
// against reading the section key by key with the system's profile function.

#include <string>

namespace orvane::bench {

// A menu file as the program writes it, `entries` entries over `types` file types.
std::string MenuFileText(int entries, int types);

int RunModuleBench(const std::string& suffix);
// A 1,000-entry menu drawn by the module against the same one drawn by the system.
int RunDrawingBench(const std::string& suffix);

}  // namespace orvane::bench
