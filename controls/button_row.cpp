#include "controls/button_row.h"

#include <algorithm>

namespace orvane {

TButtonRow::~TButtonRow() {
  for (const TEntry& entry : buttons_) entry.Button->OnTextResized = nullptr;
}

void TButtonRow::Place(int left, int top, int height, int gap) {
  left_ = left;
  top_ = top;
  height_ = height;
  gap_ = gap;
  Arrange();
}

void TButtonRow::Add(TSpeedButton& button, const std::string& caption, int width) {
  buttons_.push_back({&button, width});
  button.SetCaption(caption);
  button.OnTextResized = [this] { Arrange(); };
  Arrange();
}

void TButtonRow::Arrange() {
  int left = left_;
  for (const TEntry& entry : buttons_) {
    const int width = std::max(entry.Width, entry.Button->FittingWidth());
    if (entry.Button->Left() != left || entry.Button->Width() != width ||
        entry.Button->Top() != top_ || entry.Button->Height() != height_)
      entry.Button->SetBounds(left, top_, width, height_);
    left += width + gap_;
  }
}

int TButtonRow::Right() const {
  if (buttons_.empty()) return left_;
  const TSpeedButton& last = *buttons_.back().Button;
  return last.Left() + last.Width();
}

}  // namespace orvane
