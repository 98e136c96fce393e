#include "shellext/staged_menu.h"

namespace orvane {

TStagedMenu::~TStagedMenu() {
  for (TMenuRef popup : owned_) target_.DestroyPopup(popup);
}

void TStagedMenu::Add(const TMenuEntry& entry) {
  if (failed_) return;
  TLevel& level = levels_.back();
  if (level.Menu == 0) {
    top_.push_back(entry);
  } else if (target_.Insert(level.Menu, level.Next, entry)) {
    ++level.Next;
  } else {
    failed_ = true;  // a menu with a hole is no menu to show
  }
}

void TStagedMenu::AddItem(const TDynamicItemRecord& record, int command) {
  target_.Prepare(record);
  Add({TDynamicEntryKind::Item, &record, command, 0});
}

void TStagedMenu::AddSeparator() { Add({TDynamicEntryKind::Separator, nullptr, -1, 0}); }

void TStagedMenu::BeginSubmenu(const TDynamicItemRecord& record) {
  TMenuRef popup = failed_ ? 0 : target_.NewPopup();
  if (popup == 0) {
    failed_ = true;
    levels_.push_back({0, 0});
    return;
  }
  bool top = levels_.back().Menu == 0;
  if (top) owned_.push_back(popup);
  try {
    target_.Prepare(record);
    Add({TDynamicEntryKind::Submenu, &record, -1, popup});
  } catch (...) {
    if (!top) target_.DestroyPopup(popup);
    throw;
  }
  // A pop-up its parent refused is ours still.
  if (!top && failed_) target_.DestroyPopup(popup);
  levels_.push_back({popup, 0});
}

void TStagedMenu::EndSubmenu() {
  if (levels_.size() > 1) levels_.pop_back();
}

bool TStagedMenu::CommitTo(TMenuRef host, unsigned index) {
  if (failed_) return false;
  unsigned inserted = 0;
  auto takeOut = [&] {
    while (inserted > 0) target_.Remove(host, index + --inserted);
  };
  try {
    for (const TMenuEntry& entry : top_) {
      if (!target_.Insert(host, index + inserted, entry)) {
        takeOut();
        return false;
      }
      ++inserted;
    }
  } catch (...) {
    takeOut();
    throw;
  }
  owned_.clear();  // the host's menu destroys them now
  return true;
}

}  // namespace orvane
