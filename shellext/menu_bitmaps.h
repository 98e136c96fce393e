#pragma once
// Pictures of menu items: an icon of an icon file or a PNG file, as a 32-bit bitmap with
// premultiplied alpha that a menu shows beside the caption. The caller owns them.

#include <windows.h>

#include <map>
#include <mutex>
#include <string>
#include <utility>

#include "platform/win32/win32_handles.h"

namespace orvane {

// Picture files larger than this are no menu icon (a file on a slow share would hold up
// the file manager while it is read).
inline constexpr unsigned long long kMaxPictureFileSize = 1ull << 20;

// Null when the file has no such icon or no readable picture. May throw (no memory).
TBitmapHandle LoadMenuBitmap(const std::string& iconFile, int iconIndex);

// The pictures of one menu file's items, each decoded once and kept as long as the
// file's records are: the host's menus show them for as long as they stay open, and
// repeated right clicks share them. Safe on several threads.
class TMenuPictures {
public:
  // The picture, loaded at its first use; null for none. Never throws.
  HBITMAP Get(const std::string& iconFile, int iconIndex) noexcept;

private:
  std::mutex mutex_;
  std::map<std::pair<std::string, int>, TBitmapHandle> pictures_;
};

}  // namespace orvane
