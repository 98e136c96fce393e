#include "menus/item_image.h"

#include "platform/file_access.h"
#include "platform/messages.h"

namespace orvane {

void TItemImage::Load(const std::string& file, int index, IIconSource& icons, IFileAccess& files) {
  if (kind_ == TKind::Png) {
    png_.LoadFromFile(file, files);
    return;
  }
  TIcon large, small;
  int count = icons.ExtractIcons(file, index, large, small);
  if (count != 1 && count != 2) throw Exception(LoadResString(msg::SErrorExtractingIcon));
  // The small icon is the item's; the large one goes with `large`.
  icon_ = std::move(small);
}

}  // namespace orvane
