// The submenu page's icon commands through the icon choice: "&Select..." opens the icon
// dialog on the focused item, "Se&lect Recent" lists the recent icons with their pictures.

#include "app/submenu_items_page.h"

#include "app/recent_icons.h"
#include "menus/dynamic_menu.h"
#include "storage/mru_list.h"

namespace orvane {

void TSubmenuItemsPage::UseIconChoice(TMruList& recentIcons, const TSelectIconSources& sources) {
  recentIconsMenu_ = std::make_shared<TRecentIconsMenu>(recentIcons, sources.Icons, sources.Files);
  SelectIcon = [this, &recentIcons, sources](TDynamicMenuItem& item) {
    tvXMenu.SetFocus();
    if (SelectItemIcon(item, recentIcons, sources, &form_,
                       [](TfrmSelectIcon& dialog) { return dialog.ShowModal(); }))
      recentIconsMenu_->Changed();
  };
  FillRecentIcons = [this, &recentIcons](HMENU menu, TMenuCommands& commands,
                                         TDynamicMenuItem& item) {
    // The entries' commands come first, so that their ids run in the order the built
    // menu numbers them; its entries, columns and pictures are then moved over.
    TLiveRef<TDynamicMenuItem> live(&item);
    UINT first = 0;
    for (int i = 0; i < recentIcons.Count(); ++i) {
      const UINT id = commands.Add([this, &recentIcons, live, i]() mutable {
        TDynamicMenuItem* still = live.Get();
        if (!still || i >= recentIcons.Count()) return;
        const TMruEntry entry = recentIcons.Entries()[static_cast<size_t>(i)];
        ChooseRecentIcon(*still, recentIcons, entry);
        recentIconsMenu_->Changed();
      });
      if (i == 0) first = id;
    }
    TMenuHandle built(recentIcons.Count() > 0 ? recentIconsMenu_->Build(first) : nullptr);
    if (!built) return;
    for (int n = 0, count = GetMenuItemCount(built.get()); n < count; ++n) {
      char text[MAX_PATH * 2] = {};
      MENUITEMINFOA entry{};
      entry.cbSize = sizeof entry;
      entry.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_STRING | MIIM_BITMAP;
      entry.dwTypeData = text;
      entry.cch = sizeof text - 1;
      if (!GetMenuItemInfoA(built.get(), static_cast<UINT>(n), TRUE, &entry)) continue;
      // The pictures stay the recent menu's: the copied entry only refers to them.
      InsertMenuItemA(menu, static_cast<UINT>(n), TRUE, &entry);
    }
  };
}

}  // namespace orvane
