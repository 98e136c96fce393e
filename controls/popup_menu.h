#pragma once
// A pop-up menu of actions: each entry mirrors its action's caption, shortcut and state
// at the moment the menu opens, and choosing it executes the action.

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "controls/action.h"
#include "controls/component.h"
#include "platform/messages.h"

namespace orvane {

// The commands of entries that a submenu's filler appends itself: each gets its id here.
class TMenuCommands {
public:
  explicit TMenuCommands(UINT firstId) : firstId_(firstId) {}
  // The id to append an entry with; choosing the entry runs `run`.
  UINT Add(std::function<void()> run);
  // Runs the command of `id`; false when the id is not one of these.
  bool Run(UINT id) const;

private:
  UINT firstId_;
  std::vector<std::function<void()>> commands_;
};

// A submenu filled each time the menu opens, so that it shows its list as it is then.
struct TPopupSubmenu {
  MessageId Caption;  // looked up as the menu opens, in the language of that moment
  std::function<void(HMENU menu, TMenuCommands& commands)> Fill;
  // Greyed when this says so; without it, greyed when the filler added nothing.
  std::function<bool()> Enabled;
};

class TPopupMenu : public TComponent {
public:
  using TComponent::TComponent;

  // nullptr adds a separator.
  void Add(TAction* action) { items_.push_back(action); }
  // A submenu entry at this place.
  void AddSubmenu(TPopupSubmenu submenu);
  // A submenu of actions at this place (nullptr adds a separator).
  void AddSubmenu(MessageId caption, std::vector<TAction*> actions);
  // The actions, with null for separators and submenus.
  const std::vector<TAction*>& Items() const { return items_; }

  // Runs before the menu is built, with the screen point it opens at.
  std::function<void(POINT at)> OnPopup;
  // Updates the actions, shows the menu at the screen point over `owner`, and executes
  // the chosen action; nullptr when nothing was chosen.
  TAction* Popup(HWND owner, POINT at);

private:
  std::vector<TAction*> items_;
  // By position in items_.
  std::vector<std::pair<size_t, TPopupSubmenu>> submenus_;
};

// Appends `actions` (null: a separator), updated, to `menu`; their entries run them.
void AppendActions(HMENU menu, const std::vector<TAction*>& actions, TMenuCommands& commands);

// The caption of a menu entry: the action's caption, a tab and its shortcut's name.
std::string MenuEntryText(const TAction& action);

}  // namespace orvane
