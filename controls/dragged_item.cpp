#include "controls/dragged_item.h"

#include "menus/static_menu_item.h"

namespace orvane {

TCursor TDraggedItem::GetDragCursor(bool accepted, int, int) {
  return accepted ? dragCursor_ : crNo;
}

void TDraggedItem::ShowDragImage() {
  if (images_) ImageList_DragShowNolock(TRUE);
}

void TDraggedItem::HideDragImage() {
  if (images_) ImageList_DragShowNolock(FALSE);
}

void TDraggedItem::SetDragImages(HIMAGELIST images, POINT hotSpot) {
  images_.reset(images);
  hotSpot_ = hotSpot;
}

TDraggedStaticItem::TDraggedStaticItem(TStaticMenuItem& item) : item_(&item) {}

TCustomMenuItem* TDraggedStaticItem::Item() const { return item_.Get(); }

}  // namespace orvane
