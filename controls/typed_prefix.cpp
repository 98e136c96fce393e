#include "controls/typed_prefix.h"

namespace orvane {

TTypedKey TTypedPrefix::Search(std::string prefix) {
  TTypedKey key;
  key.RestartTimer = true;
  int found = find_(prefix);
  if (found < 0) {
    // The prefix stays as it was before the key.
    key.Beep = true;
    return key;
  }
  prefix_ = std::move(prefix);
  key.Select = found;
  return key;
}

TTypedKey TTypedPrefix::Char(unsigned char c) {
  if (c < 32) return {};
  return Search(prefix_ + static_cast<char>(c));
}

TTypedKey TTypedPrefix::Backspace() {
  TTypedKey key;
  if (prefix_.empty()) {
    key.Beep = true;
    return key;
  }
  std::string shorter = prefix_.substr(0, prefix_.size() - 1);
  if (shorter.empty()) {
    prefix_.clear();
    key.Select = 0;
    key.PassOn = true;
    return key;
  }
  return Search(std::move(shorter));
}

TTypedKey TTypedPrefix::Escape() {
  TTypedKey key;
  key.Select = 0;
  return key;
}

}  // namespace orvane
