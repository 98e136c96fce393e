#pragma once
// What a control drags: the object that a drag carries from its start to its drop, with
// the cursor and the image shown meanwhile; and the program's cursors by number.

#include <windows.h>
// After windows.h, which it builds on.
#include <commctrl.h>

namespace orvane {

// Cursor numbers: negative ones are the system's, positive ones the program's own.
using TCursor = int;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crNo = -18;

// The cursor of a number; the arrow for a number nobody registered.
HCURSOR CursorHandle(TCursor cursor);
// Makes a program cursor known by its number; the caller keeps the handle alive.
void RegisterCursor(TCursor cursor, HCURSOR handle);

class TDragObject {
public:
  virtual ~TDragObject() = default;
  // The cursor to show over a place that accepts the drag or not.
  virtual TCursor GetDragCursor(bool accepted, int x, int y);
  // The images shown while dragging, or none.
  virtual HIMAGELIST GetDragImages() { return nullptr; }
  // Where the mouse holds image 0 of GetDragImages.
  virtual POINT DragHotSpot() const { return POINT{0, 0}; }
  virtual void ShowDragImage() {}
  virtual void HideDragImage() {}
};

}  // namespace orvane
