#pragma once
// A plan on its way into the host's menu: built whole first, submenus in pop-ups of the
// module's own, and put into the host's menu only when complete. A failure on the way,
// refused or thrown, takes out what was put in, so that the host's menu stays as it was
// and none of our command ids is left for the host to hand to another handler.

#include <cstdint>
#include <vector>

#include "shellext/menu_plan.h"

namespace orvane {

using TMenuRef = std::uintptr_t;  // 0: none

struct TMenuEntry {
  TDynamicEntryKind Kind = TDynamicEntryKind::Item;
  const TDynamicItemRecord* Record = nullptr;
  int Command = -1;     // items: the offset from the host's first id
  TMenuRef Popup = 0;   // submenus
};

// The menu calls the staged menu needs: Win32 menus in the module, a fake in tests.
class IMenuTarget {
public:
  virtual ~IMenuTarget() = default;
  // Whatever an entry's picture needs, done before anything reaches the host's menu.
  virtual void Prepare(const TDynamicItemRecord& record) = 0;
  virtual TMenuRef NewPopup() = 0;
  // With every pop-up it holds.
  virtual void DestroyPopup(TMenuRef popup) = 0;
  // False when the menu refused the entry.
  virtual bool Insert(TMenuRef menu, unsigned position, const TMenuEntry& entry) = 0;
  // Takes the entry out without destroying a pop-up it held.
  virtual void Remove(TMenuRef menu, unsigned position) = 0;
};

class TStagedMenu final : public IMenuSink {
public:
  explicit TStagedMenu(IMenuTarget& target) : target_(target) {}
  // Destroys the pop-ups that did not reach the host's menu.
  ~TStagedMenu() override;
  TStagedMenu(const TStagedMenu&) = delete;
  TStagedMenu& operator=(const TStagedMenu&) = delete;

  void AddItem(const TDynamicItemRecord& record, int command) override;
  void AddSeparator() override;
  void BeginSubmenu(const TDynamicItemRecord& record) override;
  void EndSubmenu() override;

  // Puts the top-level entries at `index` of `host`, all or none: false (or the
  // exception, passed on) with the host's menu as it was.
  bool CommitTo(TMenuRef host, unsigned index);

private:
  struct TLevel {
    TMenuRef Menu;  // 0: the top level, kept until the commit
    unsigned Next;
  };
  void Add(const TMenuEntry& entry);

  IMenuTarget& target_;
  std::vector<TMenuEntry> top_;
  std::vector<TLevel> levels_{{0, 0}};
  std::vector<TMenuRef> owned_;  // top-level pop-ups, each holding its nested ones
  bool failed_ = false;
};

}  // namespace orvane
