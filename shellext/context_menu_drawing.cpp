// The host's owner-draw messages for the entries the module draws itself.

#include "platform/win32/com_boundary.h"
#include "shellext/context_menu.h"
#include "shellext/menu_drawing.h"

namespace orvane {

HRESULT TContextMenu::HandleMenuMsg(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT ignored = 0;
  return HandleMenuMsg2(message, wParam, lParam, &ignored);
}

HRESULT TContextMenu::HandleMenuMsg2(UINT message, WPARAM, LPARAM lParam, LRESULT* result) {
  return ComBoundary([&]() -> HRESULT {
    bool handled = false;
    if (drawing_ && lParam) {
      if (message == WM_MEASUREITEM) {
        handled = drawing_->Measure(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
      } else if (message == WM_DRAWITEM) {
        handled = drawing_->Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      }
    }
    if (result) *result = handled ? TRUE : FALSE;
    return handled ? S_OK : S_FALSE;
  });
}

}  // namespace orvane
