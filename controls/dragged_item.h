#pragma once
// What a menu tree drags: one menu item, with the image that the tree made of its node.
// A tree accepts only the drag class of its own menu.

#include "controls/drag_object.h"
#include "menus/tree_collection.h"
#include "platform/win32/image_list.h"

namespace orvane {

class TCustomMenuItem;
class TStaticMenuItem;

class TDraggedItem : public TDragObject {
public:
  // The drag cursor when the place accepts, the "no" cursor otherwise.
  TCursor GetDragCursor(bool accepted, int x, int y) override;
  HIMAGELIST GetDragImages() override { return images_.get(); }
  POINT DragHotSpot() const override { return hotSpot_; }
  void ShowDragImage() override;
  void HideDragImage() override;
  // Takes the list (freeing the previous one); image 0 is dragged, held at `hotSpot`.
  void SetDragImages(HIMAGELIST images, POINT hotSpot = POINT{2, 2});

  TCursor DragCursor() const { return dragCursor_; }
  void SetDragCursor(TCursor cursor) { dragCursor_ = cursor; }

  // The dragged item; none once it was destroyed during the drag.
  virtual TCustomMenuItem* Item() const = 0;

private:
  TImageListHandle images_;
  POINT hotSpot_{2, 2};
  TCursor dragCursor_ = crArrow;
};

class TDraggedStaticItem : public TDraggedItem {
public:
  explicit TDraggedStaticItem(TStaticMenuItem& item);
  TCustomMenuItem* Item() const override;
  TStaticMenuItem* StaticItem() const { return item_.Get(); }

private:
  TLiveRef<TStaticMenuItem> item_;
};

// An item or a submenu of the dynamic menu.
class TDraggedDynamicItem : public TDraggedItem {
public:
  explicit TDraggedDynamicItem(TCustomMenuItem& item) : item_(&item) {}
  TCustomMenuItem* Item() const override { return item_.Get(); }

private:
  TLiveRef<TCustomMenuItem> item_;
};

}  // namespace orvane
