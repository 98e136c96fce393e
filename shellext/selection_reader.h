#pragma once
// The objects of a selection as the file manager hands them over: paths from its data
// object (the shell's item list, else the dropped-file list) and each object's kind from
// the item list's own data, so that no selected object is looked at on disk.

#include <windows.h>
#include <shlobj.h>

#include <memory>
#include <vector>

#include "shellext/selection_types.h"

namespace orvane {

class TLockedMedium;

// A selection as a handler keeps it from Initialize on. What its types follow from is read
// in one pass over the item ids; the paths of the objects the shell's item list names are
// asked for only when a program is started for them, so that a right click on thousands
// of files costs about what one does.
class TSelection {
public:
  static TSelection Read(PCIDLIST_ABSOLUTE folder, IDataObject* data);

  bool Empty() const { return kinds_.Count() == 0; }
  const TSelectionKinds& Kinds() const { return kinds_; }
  // Every object in the file system with its whole path, in the selection's order.
  std::vector<TSelectedObject> Objects() const;

private:
  TSelectionKinds kinds_;
  // The shell's item list as the data object gave it, when it gave one.
  std::shared_ptr<const TLockedMedium> itemList_;
  // Otherwise the objects with their paths.
  std::vector<TSelectedObject> objects_;
};

}  // namespace orvane
