#pragma once
// Mouse clicks aimed at a control's own rectangle, as the system reports it, rather than
// at coordinates worked out again from the layout code.

#include <windows.h>

#include "controls/control.h"

namespace orvane::testing {

inline POINT CentreOf(const RECT& rect) {
  return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// The window that takes a control's clicks and the control's rectangle in that window's
// client coordinates: its own window for a windowed control, else its parent's.
struct TClickSpot {
  HWND Window;
  RECT Rect;
};

inline TClickSpot ClickSpotOf(const TControl& control) {
  if (control.IsWindowed()) {
    HWND window = static_cast<const TWinControl&>(control).Handle();
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&rect), 2);
    return {window, rect};
  }
  // A control without a window is drawn by its parent, in whose client area its bounds lie.
  return {control.Parent()->Handle(), control.BoundsRect()};
}

inline void Press(HWND window, POINT at) {
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
}

inline void Release(HWND window, POINT at) {
  SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}

inline void Click(HWND window, POINT at) {
  Press(window, at);
  Release(window, at);
}

// A press and release in the middle of the control.
inline void Click(const TControl& control) {
  const TClickSpot spot = ClickSpotOf(control);
  Click(spot.Window, CentreOf(spot.Rect));
}

}  // namespace orvane::testing
