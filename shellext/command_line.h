#pragma once
// How an item starts its program for one selected object: the command line with "%1"
// standing for the object's path, and the folder the program starts in. Paths stay in
// UTF-16 as the shell gives them; the item's program and parameters come from the menu
// file and are widened from the ANSI code page by the caller.

#include <string>

#include "shellext/selection_types.h"

namespace orvane {

struct TLaunch {
  std::u16string CommandLine;
  std::u16string Folder;
  // Why nothing may be started for this object; empty when it may.
  std::string Refusal;
};

inline constexpr const char* kNoProgramText = "The item names no program to start.";
inline constexpr const char* kBatchNameText =
    "The name holds a character the command interpreter takes as its own (& | ^ % !); "
    "the batch program is not started for it.";

// `application` is the item's program with its environment strings expanded. A "%1"
// outside quotes gets quotes of its own, so that a path with blanks stays one argument.
TLaunch MakeLaunch(const std::u16string& application, const std::u16string& parameters,
                   const TSelectedObject& object);

// Whether the program runs through the command interpreter (".bat", ".cmd").
bool IsBatchProgram(const std::u16string& application);

}  // namespace orvane
