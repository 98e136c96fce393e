#include "controls/popup_menu.h"

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

TAction* TPopupMenu::Popup(HWND owner, POINT at) {
  if (OnPopup) OnPopup(at);
  TMenuHandle menu(CreatePopupMenu());
  if (!menu) return nullptr;
  for (size_t i = 0; i < items_.size(); ++i) {
    TAction* action = items_[i];
    if (!action) {
      AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
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
  if (chosen <= 0 || static_cast<size_t>(chosen) > items_.size()) return nullptr;
  TAction* action = items_[static_cast<size_t>(chosen) - 1];
  action->Execute();
  return action;
}

}  // namespace orvane
