#include "controls/form_translation.h"

#include <algorithm>

namespace orvane {
namespace {

bool Covers(const TResForm* section, const std::string& path) {
  return section && std::find(section->Paths.begin(), section->Paths.end(), path) != section->Paths.end();
}

// A property the window refuses stays as it was.
bool TrySet(TComponent& root, const std::string& path, const std::string& value) {
  try {
    root.SetPropertyPath(path, value);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace

void TFormTranslation::Apply(TComponent& root, const TResForm* section) {
  for (auto it = texts_.begin(); it != texts_.end();) {
    if (Covers(section, it->first)) {
      ++it;
      continue;
    }
    if (root.GetPropertyPath(it->first) == it->second.Applied)
      TrySet(root, it->first, it->second.Original);
    it = texts_.erase(it);
  }
  if (!section) return;
  const std::size_t count = std::min(section->Paths.size(), section->Values.size());
  for (std::size_t i = 0; i < count; ++i) {
    const std::string& path = section->Paths[i];
    const std::optional<std::string> current = root.GetPropertyPath(path);
    if (!current) continue;
    auto found = texts_.find(path);
    if (found != texts_.end() && *current != found->second.Applied) {
      // The window set this text itself since: that text is its own now.
      found->second.Original = *current;
    }
    if (!TrySet(root, path, section->Values[i])) continue;
    // As the window keeps it (list lines come back with their own line breaks).
    std::string applied = root.GetPropertyPath(path).value_or(section->Values[i]);
    if (found == texts_.end()) {
      texts_.emplace(path, TText{*current, std::move(applied)});
    } else {
      found->second.Applied = std::move(applied);
    }
  }
}

}  // namespace orvane
