#pragma once
// The picture of a dynamic menu item: the small icon of an icon resource, or a PNG file.

#include <functional>
#include <memory>
#include <string>

#include "menus/png_image.h"
#include "platform/icon_source.h"

namespace orvane {

class IFileAccess;

// Copies share one picture, which lives as long as the last of them: items that show the
// same picture need it read only once.
class TItemImage {
public:
  enum class TKind { Icon, Png };

  explicit TItemImage(TKind kind = TKind::Icon) : kind_(kind) {}

  TKind Kind() const { return kind_; }
  bool Empty() const { return kind_ == TKind::Icon ? !icon_ || !*icon_ : !png_ || png_->Empty(); }
  const TIcon& Icon() const;
  const TPngImage& Png() const;

  // Loads the image of its kind: icon `index` of `file`, or the whole PNG file. Raises
  // on failure and stays empty.
  void Load(const std::string& file, int index, IIconSource& icons, IFileAccess& files);

private:
  TKind kind_;
  std::shared_ptr<const TIcon> icon_;
  std::shared_ptr<const TPngImage> png_;
};

// Whether an item may open its picture file at all: a path on a local drive ("C:\...") or
// a relative name that the system searches for, and only when `exists` finds the file. A
// network or device path ("\\server\share\x.ico", "\\?\...", "file://...") is never
// opened: a clipboard text of another program could name any.
bool MayOpenImageFile(const std::string& path,
                      const std::function<bool(const std::string&)>& exists);

// Where a menu's item images come from: the system's shell and files, or a test's
// stand-ins. The menu holds them; its items reach them through it.
struct TItemImageSources {
  IIconSource& Icons;
  IFileAccess& Files;
};

}  // namespace orvane
