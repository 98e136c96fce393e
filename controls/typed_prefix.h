#pragma once
// What typing in a drop-down list does: the letters typed in a row make a prefix, the
// first entry beginning with it is chosen, and a pause of kResetMilliseconds starts a
// new prefix. Kept apart from the window so that the rules can be followed key by key.

#include <functional>
#include <string>

namespace orvane {

struct TTypedKey {
  bool Beep = false;
  int Select = -1;      // the entry to choose (its click and change run), or -1
  bool PassOn = false;  // the list handles the key as well
  bool RestartTimer = false;
};

class TTypedPrefix {
public:
  static constexpr unsigned kResetMilliseconds = 1500;

  // `find` gives the first entry from the top that begins with the text, ignoring case,
  // or -1.
  explicit TTypedPrefix(std::function<int(const std::string&)> find) : find_(std::move(find)) {}

  // A printable character (32 to 255).
  TTypedKey Char(unsigned char c);
  TTypedKey Backspace();
  TTypedKey Escape();
  // The reset timer fired: a new prefix begins.
  void Reset() { prefix_.clear(); }

  const std::string& Prefix() const { return prefix_; }

private:
  TTypedKey Search(std::string prefix);

  std::function<int(const std::string&)> find_;
  std::string prefix_;
};

}  // namespace orvane
