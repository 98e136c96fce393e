#pragma once
// The component that owns the file type model, its registry bug list and the link
// through which its events are published; activating it scans the registry and, when
// it has an image list, loads the icons.

#include <functional>

#include "filetypes/adv_string_list.h"
#include "filetypes/file_type_link.h"
#include "filetypes/file_types.h"
#include "platform/icon_source.h"
#include "platform/image_list.h"
#include "platform/registry_backend.h"

namespace orvane {

class TFileTypeList {
public:
  TFileTypeList(IRegistryBackend& backend, IIconSource& icons);
  ~TFileTypeList();
  TFileTypeList(const TFileTypeList&) = delete;
  TFileTypeList& operator=(const TFileTypeList&) = delete;

  bool Active() const { return active_; }
  // A change reloads.
  void SetActive(bool value);
  IImageList* Images() const { return images_; }
  // Reloads, also when the list is the same.
  void SetImages(IImageList* images);
  // The image list is going away: forget it (which reloads).
  void ImagesDestroying(IImageList* images);

  TFileTypes& Items() { return *items_; }
  TAdvStringList& Bugs() { return bugs_; }
  TFileTypeLink& Link() { return link_; }

  // The events of Link.
  TItemNotifyEvent& OnDestroy() { return link_.OnDestroy; }
  TItemNotifyEvent& OnChange() { return link_.OnChange; }
  TItemNotifyEvent& OnMove() { return link_.OnMove; }
  TLinkNotifyEvent& OnRefresh() { return link_.OnRefresh; }
  TItemNotifyEvent& OnRefreshItem() { return link_.OnRefreshItem; }
  TItemNotifyEvent& OnLoadIcon() { return link_.OnLoadIcon; }

  // Shows (true) and takes back (false) the hourglass cursor around a reload.
  std::function<void(bool busy)> BusyCursor;

  // Scans the registry and loads the icons when active; empties the model otherwise.
  void Reload();

private:
  IRegistryBackend& backend_;
  IIconSource& icons_;
  bool active_ = false;
  IImageList* images_ = nullptr;
  TFileTypeLink link_;
  TAdvStringList bugs_;
  // Destroyed first, so the link hears it go.
  std::unique_ptr<TFileTypes> items_;
};

}  // namespace orvane
