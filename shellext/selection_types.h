#pragma once
// The file types of the objects a context menu is asked for, found the way the program's
// scan files them: from the object's kind, its name's extension and the registry alone.
// Nothing looks at the objects themselves, so that a right click on a network share or a
// sleeping drive never waits on it.

#include <set>
#include <string>
#include <vector>

#include "shellext/registry_view.h"

namespace orvane {

enum class TObjectKind { File, Folder, Drive, Background };

struct TSelectedObject {
  TObjectKind Kind = TObjectKind::File;
  // As the shell gives it, of any length.
  std::u16string Path;
  // The name's extension (with its dot) in the ANSI code page the registry is read in;
  // empty when the name has none or the code page cannot spell it.
  std::string Extension;
};

// The extension of a path's last name, with its dot; empty when there is none.
std::u16string PathExtension(const std::u16string& path);

// The type names of one object, general ones first: "*", "AllFileSystemObjects", the
// perceived type under SystemFileAssociations, the extension's type (its CurVer when that
// names an existing type), or "Unknown" for a file with no type.
std::vector<std::string> ObjectTypes(const TRegistryView& registry, const TSelectedObject& object);

// The types every object of the selection has (compared without case), in the first
// object's order: an item shows only where its command fits each selected object.
std::vector<std::string> SelectionTypes(const TRegistryView& registry,
                                        const std::vector<TSelectedObject>& objects);

// The kinds and extensions of a selection, each once in the order first met (extensions
// compared without case): the selection's types follow from these alone, so that thousands
// of objects of one type are kept, and looked up, as one.
class TSelectionKinds {
public:
  void Add(TObjectKind kind, const std::string& extension);
  // One object of each kind and extension, without its path.
  const std::vector<TSelectedObject>& Objects() const { return kinds_; }
  // Objects added.
  std::size_t Count() const { return count_; }

private:
  std::set<std::string> seen_;
  std::vector<TSelectedObject> kinds_;
  std::size_t count_ = 0;
};

// The kind a path's name alone tells: "C:\" and "C:" are drives, anything else the kind
// the caller knows.
bool IsDriveRoot(const std::u16string& path);

}  // namespace orvane
