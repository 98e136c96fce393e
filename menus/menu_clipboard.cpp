#include "menus/menu_clipboard.h"

#include <map>

#include "menus/custom_menu.h"
#include "menus/dynamic_menu_item.h"
#include "menus/static_menu_item.h"
#include "platform/clipboard.h"
#include "platform/messages.h"
#include "storage/orvane_ini_file.h"
#include "storage/storage_errors.h"

namespace orvane {
namespace {

class TMenuUpdate {
public:
  explicit TMenuUpdate(TTreeCollection& tree) : tree_(tree) { tree_.BeginUpdate(); }
  ~TMenuUpdate() { tree_.EndUpdate(); }
  TMenuUpdate(const TMenuUpdate&) = delete;
  TMenuUpdate& operator=(const TMenuUpdate&) = delete;

private:
  TTreeCollection& tree_;
};

ClipboardFormat MenuItemFormat(IClipboard& clipboard) {
  return clipboard.RegisterFormat(kMenuItemClipboardFormat);
}

TIniStrings SplitLines(std::string_view text) {
  TIniStrings lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
  }
  return lines;
}

}  // namespace

const TMenuItemClassInfo* FindMenuItemClass(const std::string& name) {
  static const std::map<std::string, TMenuItemClassInfo> classes = {
      {"TStaticMenuItem", {TTreeItemClass::Of<TStaticMenuItem>(), false}},
      {"TDynamicMenuItem", {TTreeItemClass::Of<TDynamicMenuItem>(), true}},
      {"TDynamicSubMenu", {TTreeItemClass::Of<TDynamicSubMenu>(), true}},
  };
  auto it = classes.find(name);
  return it == classes.end() ? nullptr : &it->second;
}

std::string MenuItemClipboardText(TCustomMenuItem& item, int& count) {
  auto* entry = dynamic_cast<IMenuItemIni*>(&item);
  if (!entry) throw EMenuError(LoadResString(msg::SInvalidTreeItemClass));
  TOrvaneIniFile document;
  const std::string section = entry->ClassName();
  count = 1;
  entry->SaveToIni(document, section, count, true);
  // One past the last entry: the number the next entry would have had.
  document.WriteInteger(section, "Count", count);
  TIniStrings lines;
  document.GetStrings(lines);
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

void CopyItemToClipboard(TCustomMenuItem& item, IClipboard& clipboard) {
  int count = 0;
  std::string text = MenuItemClipboardText(item, count);
  text.push_back('\0');
  char marker[4];
  for (int i = 0; i < 4; ++i)
    marker[i] = static_cast<char>((static_cast<unsigned>(count) >> (8 * i)) & 0xFF);
  ClipboardFormat format = MenuItemFormat(clipboard);
  TClipboardOpen open(clipboard);
  clipboard.Empty();
  clipboard.SetData(kCfText, text);
  clipboard.SetData(format, std::string_view(marker, 4));
}

bool CanPasteItems(IClipboard& clipboard) { return clipboard.HasFormat(MenuItemFormat(clipboard)); }

std::vector<TCustomMenuItem*> PasteItems(TTreeItems& target, IClipboard& clipboard) {
  if (!CanPasteItems(clipboard)) return {};
  std::optional<std::string> data;
  {
    TClipboardOpen open(clipboard);
    data = clipboard.GetData(kCfText);
  }
  if (!data) return {};
  return PasteItemsFromText(target, *data);
}

std::vector<TCustomMenuItem*> PasteItemsFromText(TTreeItems& target, std::string_view text) {
  std::vector<TCustomMenuItem*> pasted;
  text = text.substr(0, text.find('\0'));
  auto* menu = dynamic_cast<TCustomMenu*>(target.Tree());
  if (!menu) return pasted;
  auto& factory = static_cast<TCustomMenuItems&>(menu->Items());

  TOrvaneIniFile document;
  document.SetStrings(SplitLines(text), true);
  TIniStrings sections;
  document.ReadSections(sections);
  if (sections.empty()) return pasted;
  const std::string section = sections[0];
  const TMenuItemClassInfo* sectionClass = FindMenuItemClass(section);
  if (!sectionClass) return pasted;

  TMenuUpdate update(*menu);
  std::vector<TTreeItems*> parents{&target};
  for (int k = 1;; ++k) {
    std::string number = std::to_string(k);
    TTreeItemClass entryClass = sectionClass->Class;
    if (document.ReadInteger(section, "Submenu" + number, 0) == 1)
      entryClass = TTreeItemClass::Of<TDynamicSubMenu>();
    else if (sectionClass->Dynamic)
      entryClass = TTreeItemClass::Of<TDynamicMenuItem>();

    TTreeItem* node = nullptr;
    if (factory.CanHold(entryClass)) {
      int parent = document.ReadInteger(section, "Parent" + number, 0);
      if (parent < 0 || parent >= static_cast<int>(parents.size()))
        throw EListError(FormatRes(msg::SListIndexError, {static_cast<long long>(parent)}));
      // Another program's text must not nest deeper than the tree's recursive walks can
      // follow, nor deeper than the next load of the menu file would read: such an entry
      // counts as damaged.
      if (MenuNesting(*parents[parent]) > kMaxMenuDepth) break;
      node = factory.AddMenuItem(*parents[parent], entryClass);
      if (!dynamic_cast<IMenuItemIni&>(*node).LoadFromIni(document, section, nullptr, k)) {
        node->Free();
        break;
      }
    } else {
      // An entry of the other menu's kind: read it detached, then take over what both
      // kinds share into a plain item of this menu, in the target list.
      std::unique_ptr<TTreeItem> detached = entryClass.create(target.ClassType());
      if (!dynamic_cast<IMenuItemIni&>(*detached).LoadFromIni(document, section, nullptr, k)) break;
      node = factory.AddFirstItem(target);
      try {
        node->Assign(*detached);
      } catch (const Exception&) {
        node->Free();
        break;
      }
    }
    parents.push_back(&node->Items());
    pasted.push_back(static_cast<TCustomMenuItem*>(node));
  }
  return pasted;
}

}  // namespace orvane
