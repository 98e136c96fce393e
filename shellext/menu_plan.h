#pragma once
// Which dynamic items a context menu shows and how they nest, apart from the menu
// handles that show them: the module's Win32 part and the tests feed the plan to a sink.

#include <string>
#include <vector>

#include "storage/menu_file_reader.h"

namespace orvane {

struct TMenuNode {
  const TDynamicItemRecord* Record = nullptr;
  std::vector<TMenuNode> Children;  // submenus only
};

// The active items of `types`, the types in the given order, each type's entries in file
// order. An inactive submenu hides what it holds; an entry of another type than its
// submenu's stands directly in its own type, as in the program. Separators at the edges
// of a menu or next to each other, and submenus left empty, are left out.
std::vector<TMenuNode> PlanMenu(const std::vector<TDynamicItemRecord>& records,
                                const std::vector<std::string>& types);

// What the plan is shown with: a menu of the host's, or a fake in tests.
class IMenuSink {
public:
  virtual ~IMenuSink() = default;
  // `command` counts the plain items from 0 in the order they are added.
  virtual void AddItem(const TDynamicItemRecord& record, int command) = 0;
  virtual void AddSeparator() = 0;
  virtual void BeginSubmenu(const TDynamicItemRecord& record) = 0;
  virtual void EndSubmenu() = 0;
};

// Feeds the plan to `sink`, at most `maxCommands` plain items (submenus and separators
// left empty or at an edge by the limit are left out); the records of the commands, by
// command number.
std::vector<const TDynamicItemRecord*> ShowMenu(const std::vector<TMenuNode>& plan, IMenuSink& sink,
                                                int maxCommands);

}  // namespace orvane
