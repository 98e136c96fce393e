#pragma once
// The common edit commands (copy, delete, paste): one action each that works on the
// focused control, a text field or a menu tree alike. Each composite asks its
// sub-actions in turn whether they handle the focused window; the first that does
// updates and executes for it.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "controls/action.h"

namespace orvane {

class IClipboard;
class TCustomMenu;
class TCustomMenuItem;
class TWinControl;

// An action that works on a target window.
class TTargetAction : public TAction {
public:
  using TAction::TAction;
  virtual bool HandlesTarget(HWND target) = 0;
  virtual void UpdateTarget(HWND target) = 0;
  virtual void ExecuteTarget(HWND target) = 0;
};

// The system's own edit commands on an edit control (the label editor of a tree too).
class TEditAction : public TTargetAction {
public:
  using TTargetAction::TTargetAction;
  // The target is a focused edit control.
  bool HandlesTarget(HWND target) override;

protected:
  static bool HasSelection(HWND target);
  static bool IsReadOnly(HWND target);
};

class TEditCopy : public TEditAction {
public:
  using TEditAction::TEditAction;
  void UpdateTarget(HWND target) override { SetEnabled(HasSelection(target)); }
  void ExecuteTarget(HWND target) override;
};

class TEditDelete : public TEditAction {
public:
  using TEditAction::TEditAction;
  void UpdateTarget(HWND target) override;
  void ExecuteTarget(HWND target) override;
};

class TEditPaste : public TEditAction {
public:
  using TEditAction::TEditAction;
  void UpdateTarget(HWND target) override;
  void ExecuteTarget(HWND target) override;
};

// Copy, delete and paste on a menu tree (a TAdvTreeView whose nodes carry the items of
// a TCustomMenu).
class TCustomMenuEditAction : public TTargetAction {
public:
  TCustomMenuEditAction(TComponent* owner, std::string name, IClipboard& clipboard);
  // The menu the target shows, or none.
  static TCustomMenu* MenuOf(HWND target);
  // The menu's focused node is a menu item and the target has the focus.
  bool HandlesTarget(HWND target) override;
  // Enabled when the focused node is a menu item.
  void UpdateTarget(HWND target) override;

protected:
  static TCustomMenuItem* FocusedMenuItem(HWND target);
  IClipboard& clipboard_;
};

class TCustomMenuCopy : public TCustomMenuEditAction {
public:
  using TCustomMenuEditAction::TCustomMenuEditAction;
  void ExecuteTarget(HWND target) override;
};

class TCustomMenuDelete : public TCustomMenuEditAction {
public:
  using TCustomMenuEditAction::TCustomMenuEditAction;
  // Asks first; only OK destroys the item.
  void ExecuteTarget(HWND target) override;
};

class TCustomMenuPaste : public TCustomMenuEditAction {
public:
  using TCustomMenuEditAction::TCustomMenuEditAction;
  // Also on a focused category.
  bool HandlesTarget(HWND target) override;
  void UpdateTarget(HWND target) override;
  void ExecuteTarget(HWND target) override;
};

class TAdvEditAction : public TAction {
public:
  using TTargetHandler = std::function<void(TAdvEditAction& sender, HWND target)>;

  TAdvEditAction(TComponent* owner, std::string name, std::string caption = {},
                 std::string category = {});

  // When not empty, only these controls and the windows inside them are targets.
  const std::vector<TWinControl*>& Controls() const { return controls_; }
  void SetControls(std::vector<TWinControl*> controls) { controls_ = std::move(controls); }
  int SubActionCount() const { return static_cast<int>(subActions_.size()); }
  TTargetAction& SubActions(int index) const { return *subActions_.at(index); }
  void AddSubAction(TTargetAction& action) { subActions_.push_back(&action); }

  bool HandlesTarget(HWND target);
  void UpdateTarget(HWND target);
  void ExecuteTarget(HWND target);
  // The focused window is the target.
  bool Update() override;
  bool Execute() override;
  bool HandleShortCut() override;
  // True while the action runs for its shortcut.
  bool HandlingShortCut() const { return handlingShortCut_; }

  std::function<void(TAdvEditAction& sender, bool& handles)> OnHandlesTarget;
  TTargetHandler OnExecuteTarget;
  TTargetHandler OnUpdateTarget;
  std::function<void(TAdvEditAction& sender)> OnAfterUpdate;

private:
  TTargetAction* SubActionFor(HWND target) const;
  void Disable();

  std::vector<TWinControl*> controls_;
  // Owned as components of this action.
  std::vector<TTargetAction*> subActions_;
  bool handlingShortCut_ = false;
};

class TAdvEditCopy : public TAdvEditAction {
public:
  TAdvEditCopy(TComponent* owner, std::string name, IClipboard& clipboard);
};

class TAdvEditDelete : public TAdvEditAction {
public:
  TAdvEditDelete(TComponent* owner, std::string name, IClipboard& clipboard);
};

class TAdvEditPaste : public TAdvEditAction {
public:
  TAdvEditPaste(TComponent* owner, std::string name, IClipboard& clipboard);
};

}  // namespace orvane
