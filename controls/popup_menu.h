#pragma once
// A pop-up menu of actions: each entry mirrors its action's caption, shortcut and state
// at the moment the menu opens, and choosing it executes the action.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "controls/action.h"
#include "controls/component.h"

namespace orvane {

class TPopupMenu : public TComponent {
public:
  using TComponent::TComponent;

  // nullptr adds a separator.
  void Add(TAction* action) { items_.push_back(action); }
  const std::vector<TAction*>& Items() const { return items_; }

  // Runs before the menu is built, with the screen point it opens at.
  std::function<void(POINT at)> OnPopup;
  // Updates the actions, shows the menu at the screen point over `owner`, and executes
  // the chosen action; nullptr when nothing was chosen.
  TAction* Popup(HWND owner, POINT at);

private:
  std::vector<TAction*> items_;
};

// The caption of a menu entry: the action's caption, a tab and its shortcut's name.
std::string MenuEntryText(const TAction& action);

}  // namespace orvane
