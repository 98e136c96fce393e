#pragma once
// The picture of a dynamic menu item: the small icon of an icon resource, or a PNG file.

#include "menus/png_image.h"
#include "platform/icon_source.h"

namespace orvane {

class IFileAccess;

class TItemImage {
public:
  enum class TKind { Icon, Png };

  explicit TItemImage(TKind kind = TKind::Icon) : kind_(kind) {}

  TKind Kind() const { return kind_; }
  bool Empty() const { return kind_ == TKind::Icon ? !icon_ : png_.Empty(); }
  const TIcon& Icon() const { return icon_; }
  const TPngImage& Png() const { return png_; }

  // Loads the image of its kind: icon `index` of `file`, or the whole PNG file. Raises
  // on failure and stays empty.
  void Load(const std::string& file, int index, IIconSource& icons, IFileAccess& files);

private:
  TKind kind_;
  TIcon icon_;
  TPngImage png_;
};

// Where a menu's item images come from: the system's shell and files, or a test's
// stand-ins. The menu holds them; its items reach them through it.
struct TItemImageSources {
  IIconSource& Icons;
  IFileAccess& Files;
};

}  // namespace orvane
