#pragma once
// The objects of a selection as the file manager hands them over: paths from its data
// object (the shell's item list, else the dropped-file list) and each object's kind from
// the item list's own data, so that no selected object is looked at on disk.

#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "shellext/selection_types.h"

namespace orvane {

std::vector<TSelectedObject> ReadSelection(PCIDLIST_ABSOLUTE folder, IDataObject* data);

}  // namespace orvane
