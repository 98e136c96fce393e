#pragma once
// Speed buttons side by side: each at least as wide as it was laid out and wide enough
// for its caption, so that a longer caption (another language's) moves the buttons after
// it instead of being cut.

#include <vector>

#include "controls/std_controls.h"

namespace orvane {

class TButtonRow {
public:
  TButtonRow() = default;
  TButtonRow(const TButtonRow&) = delete;
  TButtonRow& operator=(const TButtonRow&) = delete;
  ~TButtonRow();

  // Where the first button goes, the buttons' height and the space between two.
  void Place(int left, int top, int height, int gap);
  // The row arranges itself whenever a button's caption or font changes.
  void Add(TSpeedButton& button, const std::string& caption, int width);
  void Arrange();
  // Where the row ends, for what follows it.
  int Right() const;

private:
  struct TEntry {
    TSpeedButton* Button;
    int Width;
  };
  int left_ = 0, top_ = 0, height_ = 22, gap_ = 2;
  std::vector<TEntry> buttons_;
};

}  // namespace orvane
