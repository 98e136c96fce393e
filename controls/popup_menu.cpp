#include "controls/popup_menu.h"

#include <algorithm>

#include "platform/win32/win32_handles.h"

namespace orvane {

std::string MenuEntryText(const TAction& action) {
  std::string text = action.Caption();
  const TShortCut shortCut = action.ShortCut();
  if (shortCut == 0) return text;
  std::string key;
  if (shortCut & scCtrl) key += "Ctrl+";
  if (shortCut & scShift) key += "Shift+";
  if (shortCut & scAlt) key += "Alt+";
  const UINT virtualKey = shortCut & 0xFF;
  char name[64] = {};
  const LONG scan = static_cast<LONG>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC)) << 16;
  if (GetKeyNameTextA(scan, name, sizeof name) > 0) {
    key += name;
  } else {
    key += static_cast<char>(virtualKey);
  }
  return text + "\t" + key;
}

UINT TMenuCommands::Add(std::function<void()> run) {
  commands_.push_back(std::move(run));
  return firstId_ + static_cast<UINT>(commands_.size()) - 1;
}

bool TMenuCommands::Run(UINT id) const {
  if (id < firstId_ || id - firstId_ >= commands_.size()) return false;
  if (const auto& run = commands_[id - firstId_]) run();
  return true;
}

void AppendActions(HMENU menu, const std::vector<TAction*>& actions, TMenuCommands& commands) {
  for (TAction* action : actions) {
    if (!action) {
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    action->Update();
    if (!action->Visible()) continue;
    UINT flags = MF_STRING | (action->Enabled() ? MF_ENABLED : MF_GRAYED);
    if (action->Checked()) flags |= MF_CHECKED;
    const UINT id = commands.Add([action] { action->Execute(); });
    AppendMenuA(menu, flags, id, MenuEntryText(*action).c_str());
  }
}

void TPopupMenu::AddSubmenu(TPopupSubmenu submenu) {
  submenus_.emplace_back(items_.size(), std::move(submenu));
  items_.push_back(nullptr);
}

void TPopupMenu::AddSubmenu(MessageId caption, std::vector<TAction*> actions) {
  AddSubmenu(TPopupSubmenu{caption, [actions](HMENU menu, TMenuCommands& commands) {
                             AppendActions(menu, actions, commands);
                           }, {}});
}

TAction* TPopupMenu::Popup(HWND owner, POINT at) {
  if (OnPopup) OnPopup(at);
  TMenuHandle menu(CreatePopupMenu());
  if (!menu) return nullptr;
  // The menu's own entries take ids 1 to n; submenu entries follow.
  TMenuCommands commands(static_cast<UINT>(items_.size()) + 1);
  for (size_t i = 0; i < items_.size(); ++i) {
    TAction* action = items_[i];
    if (!action) {
      auto submenu = std::find_if(submenus_.begin(), submenus_.end(),
                                  [i](const auto& entry) { return entry.first == i; });
      if (submenu == submenus_.end()) {
        AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
        continue;
      }
      // Destroyed with the menu that holds it.
      HMENU popup = CreatePopupMenu();
      if (!popup) continue;
      const TPopupSubmenu& entry = submenu->second;
      if (entry.Fill) entry.Fill(popup, commands);
      const bool enabled = entry.Enabled ? entry.Enabled() : GetMenuItemCount(popup) > 0;
      if (!AppendMenuA(menu.get(), MF_POPUP | (enabled ? MF_ENABLED : MF_GRAYED),
                       reinterpret_cast<UINT_PTR>(popup), LoadResString(entry.Caption).c_str()))
        DestroyMenu(popup);
      continue;
    }
    action->Update();
    if (!action->Visible()) continue;
    UINT flags = MF_STRING | (action->Enabled() ? MF_ENABLED : MF_GRAYED);
    if (action->Checked()) flags |= MF_CHECKED;
    AppendMenuA(menu.get(), flags, i + 1, MenuEntryText(*action).c_str());
  }
  const int chosen = static_cast<int>(TrackPopupMenu(
      menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN, at.x, at.y, 0, owner, nullptr));
  if (chosen <= 0) return nullptr;
  if (static_cast<size_t>(chosen) > items_.size()) {
    commands.Run(static_cast<UINT>(chosen));
    return nullptr;
  }
  TAction* action = items_[static_cast<size_t>(chosen) - 1];
  if (!action) return nullptr;
  action->Execute();
  return action;
}

}  // namespace orvane
