#pragma once
// How a menu item reads and writes its entry in a menu file or clipboard text: the keys
// of entry `n` of a section, the base names followed by the number.

#include <string>
#include <vector>

namespace orvane {

class TCustomIniFile;

class IMenuItemIni {
public:
  virtual ~IMenuItemIni() = default;

  // The class name that heads a clipboard text of this item.
  virtual const char* ClassName() const = 0;
  // Reads entry `n`; false when it is no valid item (a line then goes to `log`, when
  // given). The "FileType" key is left to the caller.
  virtual bool LoadFromIni(TCustomIniFile& ini, const std::string& section,
                           std::vector<std::string>* log, int n) = 0;
  // Writes the item (with any subtree) from entry `n` on and advances `n` past it.
  // `detached` writes the item as an entry without a parent, as a copy does.
  virtual void SaveToIni(TCustomIniFile& ini, const std::string& section, int& n,
                         bool detached) = 0;
};

}  // namespace orvane

namespace orvane {

// The "Checked" flag of entry `n`: 0 and 1; any other number is logged and reads false.
bool ReadCheckedFlag(TCustomIniFile& ini, const std::string& section, int n,
                     const std::string& caption, std::vector<std::string>* log);

// The highest entry number up to `count` that has a "FileType" key: entries past it
// would all be skipped, so a damaged "Count" costs no time.
int LastEntryNumber(TCustomIniFile& ini, const std::string& section, int count);

}  // namespace orvane
