#include "menus/item_image.h"

#include <cctype>

#include "platform/file_access.h"
#include "platform/messages.h"

namespace orvane {

const TIcon& TItemImage::Icon() const {
  static const TIcon none;
  return icon_ ? *icon_ : none;
}

const TPngImage& TItemImage::Png() const {
  static const TPngImage none;
  return png_ ? *png_ : none;
}

void TItemImage::Load(const std::string& file, int index, IIconSource& icons, IFileAccess& files) {
  if (kind_ == TKind::Png) {
    auto png = std::make_shared<TPngImage>();
    png->LoadFromFile(file, files);
    png_ = std::move(png);
    return;
  }
  // The small icon is the item's.
  TIcon small;
  int count = icons.ExtractSmallIcon(file, index, small);
  if (count != 1 && count != 2) throw Exception(LoadResString(msg::SErrorExtractingIcon));
  icon_ = std::make_shared<const TIcon>(std::move(small));
}

bool MayOpenImageFile(const std::string& path,
                      const std::function<bool(const std::string&)>& exists) {
  if (path.empty() || path[0] == '\\' || path[0] == '/') return false;
  const size_t colon = path.find(':');
  if (colon != std::string::npos) {
    const bool drive = colon == 1 && std::isalpha(static_cast<unsigned char>(path[0])) &&
                       path.size() > 2 && (path[2] == '\\' || path[2] == '/');
    if (!drive || path.find(':', colon + 1) != std::string::npos) return false;
  }
  return exists(path);
}

}  // namespace orvane
