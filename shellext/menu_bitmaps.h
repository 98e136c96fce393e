#pragma once
// Pictures of menu items: an icon of an icon file or a PNG file, as a 32-bit bitmap with
// premultiplied alpha that a menu shows beside the caption. The caller owns them.

#include <windows.h>

#include <string>

#include "platform/win32/win32_handles.h"

namespace orvane {

// Null when the file has no such icon or no readable picture.
TBitmapHandle LoadMenuBitmap(const std::string& iconFile, int iconIndex);

}  // namespace orvane
