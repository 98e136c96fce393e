#pragma once
// Menu items on the clipboard, also between the two menus and between two running
// copies of the program: the "OrvaneMenuItem" format marks an INI text in CF_TEXT that
// holds one section named after the item's class, the item as entry 1 and its subtree
// after it.

#include <string>
#include <vector>

#include "menus/tree_collection.h"

namespace orvane {

class IClipboard;
class TCustomMenuItem;

inline constexpr const char* kMenuItemClipboardFormat = "OrvaneMenuItem";

// The item classes a clipboard text may name, by class name; `Dynamic` for the classes
// of the dynamic menu.
struct TMenuItemClassInfo {
  TTreeItemClass Class;
  bool Dynamic = false;
};
const TMenuItemClassInfo* FindMenuItemClass(const std::string& name);

// The clipboard text of an item with its subtree (items get the numbers of the text).
std::string MenuItemClipboardText(TCustomMenuItem& item, int& count);

void CopyItemToClipboard(TCustomMenuItem& item, IClipboard& clipboard);
bool CanPasteItems(IClipboard& clipboard);
// Pastes into `target` (a category's or submenu's children). An entry that cannot be
// read ends the paste; a "Parent" number that names no entry pasted before raises
// EListError. Items pasted until then stay.
std::vector<TCustomMenuItem*> PasteItems(TTreeItems& target, IClipboard& clipboard);
// The same from a clipboard text (CF_TEXT bytes, up to the first NUL).
std::vector<TCustomMenuItem*> PasteItemsFromText(TTreeItems& target, std::string_view text);

}  // namespace orvane
