#pragma once
// Commands as actions: caption, hint, shortcut, category and state, with execute and
// update handlers. Buttons and menu items linked to an action mirror it.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "controls/component.h"

namespace orvane {

// A key with its modifiers, as menus show it: virtual key | scShift | scCtrl | scAlt.
using TShortCut = std::uint16_t;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;

class TAction;

// The client side of an action: a control that mirrors it.
class TActionClient {
public:
  virtual ~TActionClient();
  TAction* Action() const { return action_; }
  void SetAction(TAction* action);
  // The action's state changed (or the client was just linked).
  virtual void ActionChanged(TAction& action) = 0;

private:
  friend class TAction;
  TAction* action_ = nullptr;
};

class TAction : public TComponent {
public:
  using THandler = std::function<void(TAction&)>;

  TAction(TComponent* owner, std::string name, std::string caption = {}, std::string category = {});
  ~TAction() override;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& value);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& value);
  const std::string& Category() const { return category_; }
  void SetCategory(const std::string& value) { category_ = value; }
  TShortCut ShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut value) { shortCut_ = value; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  bool Checked() const { return checked_; }
  void SetChecked(bool value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);

  THandler OnExecute;
  THandler OnUpdate;

  // Re-evaluates the state; false when there is no update handler.
  virtual bool Update();
  // Updates, then runs the execute handler when enabled; false when nothing ran.
  virtual bool Execute();
  // The action's shortcut was pressed: updates and, when enabled and visible,
  // executes; false when the key goes on to the focused control.
  virtual bool HandleShortCut();

  std::optional<std::string> GetProperty(const std::string& name) const override;
  bool SetProperty(const std::string& name, const std::string& value) override;

private:
  friend class TActionClient;
  void Changed();

  std::string caption_;
  std::string hint_;
  std::string category_;
  TShortCut shortCut_ = 0;
  bool enabled_ = true;
  bool checked_ = false;
  bool visible_ = true;
  std::vector<TActionClient*> clients_;
};

// Owns its actions.
class TActionList : public TComponent {
public:
  using TComponent::TComponent;

  TAction& Add(std::string name, std::string caption, std::string category);
  int Count() const { return ComponentCount(); }
  TAction& Actions(int index) const { return *static_cast<TAction*>(Components(index)); }

  // Re-evaluates every action whose category equals `category` exactly, or every
  // action without a category given.
  void UpdateActions(const std::optional<std::string>& category);
  // Executes the enabled, visible action with this shortcut; false when none took it.
  bool IsShortCut(TShortCut shortCut);
};

}  // namespace orvane
