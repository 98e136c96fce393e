#pragma once
// How an item starts its program for one selected object: the command line with "%1"
// standing for the object's path, and the folder the program starts in.

#include <string>

#include "shellext/selection_types.h"
#include "storage/menu_file_reader.h"

namespace orvane {

struct TLaunch {
  std::string CommandLine;
  std::string Folder;
};

// `application` is the item's program with its environment strings expanded.
TLaunch MakeLaunch(const std::string& application, const std::string& parameters,
                   const TSelectedObject& object);

}  // namespace orvane
