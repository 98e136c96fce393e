// A second copy of the program for the clipboard tests: it copies a submenu with two
// children to the system clipboard and exits, so that the test pastes what another
// process left there.

#include "filetypes/file_types.h"
#include "menus/dynamic_menu.h"
#include "menus/menu_clipboard.h"
#include "platform/clipboard.h"
#include "platform/file_access.h"
#include "platform/icon_source.h"

int main() {
  using namespace orvane;
  TFileTypes types;
  TFileType* type = types.Add();
  type->SetName("txtfile");
  type->SetDescription("Text Document");
  TDynamicMenu menu(&types, TItemImageSources{DefaultIconSource(), DefaultFileAccess()});
  auto* submenu = static_cast<TDynamicSubMenu*>(
      menu.List().AddSubMenu(menu.List().FindOrAddCategory(type)->Items()));
  submenu->SetCaption("From peer");
  static_cast<TCustomMenuItem*>(menu.List().AddFirstItem(submenu->Items()))->SetCaption("One");
  static_cast<TCustomMenuItem*>(menu.List().AddFirstItem(submenu->Items()))->SetCaption("Two");
  try {
    CopyItemToClipboard(*submenu, DefaultClipboard());
  } catch (const Exception&) {
    return 1;
  }
  return 0;
}
