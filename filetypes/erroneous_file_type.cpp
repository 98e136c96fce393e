#include "filetypes/erroneous_file_type.h"

namespace orvane {

void AddBug(TAdvStringList& bugs, TBugKind kind, const std::string& message, const std::string& key,
            const std::string& target) {
  bugs.AddObject(message, std::make_unique<TErroneousFileType>(kind, key, target));
}

}  // namespace orvane
