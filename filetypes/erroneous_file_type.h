#pragma once
// A registry bug met while the file types are read: one entry of the bug list, whose
// text is the formatted message and whose object is this record.

#include <cstdint>
#include <string>

#include "filetypes/adv_string_list.h"

namespace orvane {

enum TBugKind : std::uint8_t {
  bkMissingType = 0,
  bkBadCurVer = 1,
  bkUnreadable = 2,
  bkMissingIconFile = 3,
  bkMissingPerceivedType = 4,
};

class TErroneousFileType : public TStringListObject {
public:
  TErroneousFileType(TBugKind kind, std::string key, std::string target)
      : Kind(kind), Key(std::move(key)), Target(std::move(target)) {}

  TBugKind Kind;
  std::string Key;     // the key or extension the bug belongs to
  std::string Target;  // the name it refers to
  bool Fixed = false;  // set once the registry bugs tool repaired it
};

// Appends a bug entry (message text and record) to `bugs`.
void AddBug(TAdvStringList& bugs, TBugKind kind, const std::string& message, const std::string& key,
            const std::string& target);

}  // namespace orvane
