#include "filetypes/file_type_list.h"

namespace orvane {

TFileTypeList::TFileTypeList(IRegistryBackend& backend, IIconSource& icons)
    : backend_(backend), icons_(icons), items_(std::make_unique<TFileTypes>()) {
  link_.SetFileTypes(items_.get());
}

TFileTypeList::~TFileTypeList() { items_.reset(); }

void TFileTypeList::SetActive(bool value) {
  if (value == active_) return;
  active_ = value;
  Reload();
}

void TFileTypeList::SetImages(IImageList* images) {
  images_ = images;
  Reload();
}

void TFileTypeList::ImagesDestroying(IImageList* images) {
  if (images && images == images_) SetImages(nullptr);
}

void TFileTypeList::Reload() {
  struct Busy {
    const std::function<void(bool)>& cursor;
    explicit Busy(const std::function<void(bool)>& c) : cursor(c) {
      if (cursor) cursor(true);
    }
    ~Busy() {
      if (cursor) cursor(false);
    }
  } busy(BusyCursor);
  if (active_) {
    items_->Load(bugs_, backend_);
    if (images_) items_->LoadIcons(*images_, bugs_, icons_);
  } else {
    // Inside the bracket the links only let go of their types and keep the names, so
    // that the next scan gives each its type back; afterwards one change, without item.
    items_->BeginUpdate();
    items_->Clear();
    items_->EndUpdate();
  }
}

}  // namespace orvane
