#pragma once
// Pictures of item icons for the icon dialog and the recent icons menu: PNG files fitted
// into a square, icons turned into the 32-bit bitmaps that menus show beside an entry.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32/win32_handles.h"

namespace orvane {

class IFileAccess;

// An icon of `side` pixels from RGBA rows (FitPixels); null when the system refuses one.
TIconHandle IconFromPixels(const std::vector<std::uint8_t>& rgba, int side);
// The PNG file fitted into `side` pixels as an icon; raises EPngError when it cannot be
// read.
TIconHandle IconFromPngFile(const std::string& file, int side, IFileAccess& files);
// A 32-bit bitmap with premultiplied alpha, as a menu entry shows it, from RGBA rows or
// from an icon (drawn into `side` pixels). Null on failure.
TBitmapHandle MenuBitmapFromPixels(const std::vector<std::uint8_t>& rgba, int side);
TBitmapHandle MenuBitmapFromIcon(HICON icon, int side);

// The program's own "DEFAULT" icon at `side` pixels, the picture that stands in for one
// that could not be read; the system's warning icon when the program has none.
TIconHandle PlaceholderIcon(int side);

}  // namespace orvane
