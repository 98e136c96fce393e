#include "controls/action.h"

#include <algorithm>

namespace orvane {

TActionClient::~TActionClient() { SetAction(nullptr); }

void TActionClient::SetAction(TAction* action) {
  if (action == action_) return;
  if (action_) {
    auto& clients = action_->clients_;
    clients.erase(std::remove(clients.begin(), clients.end(), this), clients.end());
  }
  action_ = action;
  if (action_) {
    action_->clients_.push_back(this);
    ActionChanged(*action_);
  }
}

TAction::TAction(TComponent* owner, std::string name, std::string caption, std::string category)
    : TComponent(owner, std::move(name)),
      caption_(std::move(caption)),
      category_(std::move(category)) {}

TAction::~TAction() {
  for (TActionClient* client : clients_) client->action_ = nullptr;
}

void TAction::Changed() {
  // A client may unlink itself while it follows the change.
  const std::vector<TActionClient*> clients = clients_;
  for (TActionClient* client : clients) {
    if (std::find(clients_.begin(), clients_.end(), client) != clients_.end())
      client->ActionChanged(*this);
  }
}

void TAction::SetCaption(const std::string& value) {
  if (value == caption_) return;
  caption_ = value;
  Changed();
}

void TAction::SetHint(const std::string& value) {
  if (value == hint_) return;
  hint_ = value;
  Changed();
}

void TAction::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  Changed();
}

void TAction::SetChecked(bool value) {
  if (value == checked_) return;
  checked_ = value;
  Changed();
}

void TAction::SetVisible(bool value) {
  if (value == visible_) return;
  visible_ = value;
  Changed();
}

bool TAction::Update() {
  if (!OnUpdate) return false;
  OnUpdate(*this);
  return true;
}

bool TAction::Execute() {
  Update();
  if (!enabled_ || !OnExecute) return false;
  OnExecute(*this);
  return true;
}

bool TAction::HandleShortCut() {
  Update();
  if (!enabled_ || !visible_) return false;
  Execute();
  return true;
}

std::optional<std::string> TAction::GetProperty(const std::string& name) const {
  if (name == "Caption") return caption_;
  if (name == "Hint") return hint_;
  if (name == "Category") return category_;
  return std::nullopt;
}

bool TAction::SetProperty(const std::string& name, const std::string& value) {
  if (name == "Caption") {
    SetCaption(value);
  } else if (name == "Hint") {
    SetHint(value);
  } else {
    return false;
  }
  return true;
}

TAction& TActionList::Add(std::string name, std::string caption, std::string category) {
  return Create<TAction>(std::move(name), std::move(caption), std::move(category));
}

void TActionList::UpdateActions(const std::optional<std::string>& category) {
  for (int i = 0; i < Count(); ++i) {
    TAction& action = Actions(i);
    if (!category || action.Category() == *category) action.Update();
  }
}

bool TActionList::IsShortCut(TShortCut shortCut) {
  if (shortCut == 0) return false;
  for (int i = 0; i < Count(); ++i) {
    TAction& action = Actions(i);
    if (action.ShortCut() != shortCut) continue;
    if (action.HandleShortCut()) return true;
  }
  return false;
}

}  // namespace orvane
