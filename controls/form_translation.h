#pragma once
// One window's texts as a language changed them: applying a language's section sets
// each path it names, and the texts that a later language (or none) leaves out go back
// to what the window had, unless the window has set them itself meanwhile.

#include <map>
#include <string>

#include "controls/component.h"
#include "services/language_file.h"

namespace orvane {

class TFormTranslation {
public:
  // `section` nullptr: the window's own texts everywhere. Paths that name nothing on the
  // window (a page not made yet, a component of another version) are passed over.
  void Apply(TComponent& root, const TResForm* section);

private:
  struct TText {
    std::string Original;
    std::string Applied;
  };
  std::map<std::string, TText> texts_;
};

}  // namespace orvane
