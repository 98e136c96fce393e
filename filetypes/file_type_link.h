#pragma once
// An observer of a file type collection that can follow one of its items, found again
// by name after each reload.

#include <functional>
#include <string>

#include "filetypes/notify_kind.h"

namespace orvane {

class TFileType;
class TFileTypes;
class TFileTypeLink;

using TItemNotifyEvent = std::function<void(TFileTypeLink* sender, TFileType* item)>;
using TLinkNotifyEvent = std::function<void(TFileTypeLink* sender)>;

class TFileTypeLink {
public:
  TFileTypeLink() = default;
  virtual ~TFileTypeLink();
  TFileTypeLink(const TFileTypeLink&) = delete;
  TFileTypeLink& operator=(const TFileTypeLink&) = delete;

  TFileType* FileType() const { return fileType_; }
  // The item must belong to FileTypes; nullptr unlinks.
  void SetFileType(TFileType* item);
  TFileTypes* FileTypes() const { return fileTypes_; }
  // Detaches from the old collection, unlinks, attaches to the new one.
  void SetFileTypes(TFileTypes* fileTypes);
  const std::string& FileTypeName() const { return fileTypeName_; }

  TItemNotifyEvent OnDestroy;
  TItemNotifyEvent OnChange;
  TItemNotifyEvent OnMove;
  TLinkNotifyEvent OnRefresh;
  TItemNotifyEvent OnRefreshItem;
  TItemNotifyEvent OnLoadIcon;

  // Called by the collection for every notification.
  virtual void Notify(TNotifyKind kind, TFileType* item);

protected:
  virtual void DoDestroying(TFileType* item);
  virtual void DoChange(TFileType* item);
  virtual void DoMove(TFileType* item);
  virtual void DoRefresh();
  virtual void DoRefreshItem(TFileType* item);
  virtual void DoLoadIcon(TFileType* item);

private:
  friend class TFileTypes;
  // Finds the linked item again by name; false (detached, OnDestroy sent) when gone.
  bool Relink();

  TFileType* fileType_ = nullptr;
  TFileTypes* fileTypes_ = nullptr;
  std::string fileTypeName_;
};

}  // namespace orvane
