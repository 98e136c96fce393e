// The submenu tree's own drawing (grey, maroon, bold submenus, the items' icons) and its
// drag rules: submenus and items move anywhere but into themselves; Ctrl copies a
// submenu with its whole subtree.

#include "app/submenu_items_page.h"
#include "controls/dragged_item.h"
#include "controls/png_draw.h"
#include "menus/dynamic_menu.h"
#include "platform/file_system.h"

namespace orvane {
namespace {

constexpr COLORREF kMaroon = 128;

bool IsSubmenu(const TTreeItem* item) { return dynamic_cast<const TDynamicSubMenu*>(item); }

}  // namespace

LRESULT TSubmenuItemsPage::CustomDraw(NMTVCUSTOMDRAW& draw) {
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
      auto* item = dynamic_cast<TDynamicMenuItem*>(reinterpret_cast<TTreeItem*>(draw.nmcd.lItemlParam));
      if (!item) return CDRF_DODEFAULT;
      COLORREF color = GetSysColor(COLOR_WINDOWTEXT);
      if (!item->Checked()) {
        color = GetSysColor(COLOR_GRAYTEXT);
      } else if (item->IsApplicationMissing(services_.FileSystem)) {
        color = kMaroon;
      }
      if (!(draw.nmcd.uItemState & CDIS_SELECTED)) draw.clrText = color;
      LRESULT result = CDRF_NOTIFYPOSTPAINT;
      if (IsSubmenu(item)) {
        if (!boldFont_) {
          LOGFONTA font{};
          GetObjectA(reinterpret_cast<HFONT>(SendMessageA(tvXMenu.Handle(), WM_GETFONT, 0, 0)),
                     sizeof font, &font);
          font.lfWeight = FW_BOLD;
          boldFont_.reset(CreateFontIndirectA(&font));
        }
        SelectObject(draw.nmcd.hdc, boldFont_.get());
        result |= CDRF_NEWFONT;
      }
      return result;
    }
    case CDDS_ITEMPOSTPAINT: {
      auto* item = dynamic_cast<TDynamicMenuItem*>(reinterpret_cast<TTreeItem*>(draw.nmcd.lItemlParam));
      if (!item) return CDRF_DODEFAULT;
      DrawItemIcon(draw.nmcd.hdc, reinterpret_cast<TTreeNode>(draw.nmcd.dwItemSpec), *item);
      return CDRF_DODEFAULT;
    }
    default:
      return CDRF_DODEFAULT;
  }
}

void TSubmenuItemsPage::DrawItemIcon(HDC dc, TTreeNode node, const TDynamicMenuItem& item) {
  RECT glyph = GlyphRect(node);
  if (IsAcceptedDropTarget(node)) {
    DrawFrameControl(dc, &glyph, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED);
    return;
  }
  const TItemImage& icon = item.Icon();
  if (icon.Empty()) return;
  const RECT text = tvXMenu.NodeRect(node, true);
  const int left = text.left - tvXMenu.Indent();
  if (icon.Kind() == TItemImage::TKind::Png) {
    DrawPng(dc, left, text.top, icon.Png());
    return;
  }
  // At the tree's icon size, whatever size the item's icon has.
  int width = 16, height = 16;
  if (HIMAGELIST images = tvXMenu.Images()) ImageList_GetIconSize(images, &width, &height);
  DrawIconEx(dc, left, text.top, reinterpret_cast<HICON>(icon.Icon().Get()), width, height, 0,
             nullptr, DI_NORMAL);
}

std::unique_ptr<TDraggedItem> TSubmenuItemsPage::DragObjectOfFocus() {
  TDynamicMenuItem* item = FocusedDynamicItem();
  if (!item) return nullptr;
  return std::make_unique<TDraggedDynamicItem>(*item);
}

TTreeItem* TSubmenuItemsPage::DropTarget(TDragObject& source, int x, int y) const {
  auto* dragged = dynamic_cast<TDraggedDynamicItem*>(&source);
  TCustomMenuItem* item = dragged ? dragged->Item() : nullptr;
  if (!item || !ShellExtEnabled()) return nullptr;
  TTreeNode node = tvXMenu.NodeAt(x, y);
  auto* target = node ? static_cast<TTreeItem*>(tvXMenu.NodeData(node)) : nullptr;
  if (!target || target == item->Parent()) return nullptr;
  // Not onto the item itself nor into its own subtree.
  for (TTreeItem* up = target; up; up = up->Parent()) {
    if (up == item) return nullptr;
  }
  return target;
}

bool TSubmenuItemsPage::IsReorder(TTreeItem* target, TCustomMenuItem& dragged) const {
  return dynamic_cast<TDynamicMenuItem*>(target) && !IsSubmenu(target) &&
         target->Collection() == dragged.Collection();
}

void TSubmenuItemsPage::DragDrop(TDragObject& source, int x, int y) {
  TTreeItem* target = DropTarget(source, x, y);
  if (!target) return;
  TCustomMenuItem* item = static_cast<TDraggedDynamicItem&>(source).Item();
  if (IsReorder(target, *item)) {
    item->SetIndex(target->Index());
    return;
  }
  const bool holder = !dynamic_cast<TDynamicMenuItem*>(target) || IsSubmenu(target);
  TTreeItem* parent = holder ? target : target->Parent();
  const int position = holder ? 0 : target->Index();
  if (!parent) return;
  if (GetKeyState(VK_CONTROL) >= 0) {
    item->TransferTo(*parent, position, false);
    return;
  }
  // A copy takes the whole subtree of a submenu with it.
  TTreeItems& list = parent->Items();
  TTreeItem* copy = nullptr;
  {
    TListUpdate update(&list);
    copy = IsSubmenu(item) ? menu_.List().AddSubMenu(list) : menu_.List().AddFirstItem(list);
    if (!copy) return;
    copy->Assign(*item);
    copy->SetIndex(position);
  }
  copy->Focus();
}

}  // namespace orvane
