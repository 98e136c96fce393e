#include "filetypes/file_type_link.h"

#include "filetypes/file_types.h"
#include "platform/exception.h"
#include "platform/messages.h"

namespace orvane {

TFileTypeLink::~TFileTypeLink() {
  if (fileTypes_) fileTypes_->DetachLink(this);
}

void TFileTypeLink::SetFileType(TFileType* item) {
  if (item && (!fileTypes_ || item->FileTypes() != fileTypes_))
    throw Exception(LoadResString(msg::SFileTypeLinkError));
  fileType_ = item;
  fileTypeName_ = item ? item->Name() : std::string();
}

void TFileTypeLink::SetFileTypes(TFileTypes* fileTypes) {
  if (fileTypes_) fileTypes_->DetachLink(this);
  fileTypes_ = nullptr;
  fileType_ = nullptr;
  fileTypeName_.clear();
  if (fileTypes) {
    fileTypes_ = fileTypes;
    fileTypes->AttachLink(this);
  }
}

bool TFileTypeLink::Relink() {
  fileType_ = fileTypes_ ? fileTypes_->FindByName(fileTypeName_) : nullptr;
  if (fileType_) return true;
  fileTypeName_.clear();
  SetFileTypes(nullptr);
  DoDestroying(nullptr);
  return false;
}

void TFileTypeLink::Notify(TNotifyKind kind, TFileType* item) {
  switch (kind) {
    case nkChange:
      DoChange(item);
      break;
    case nkDestroying:
      if (item && item == fileType_) {
        fileType_ = nullptr;
        fileTypeName_.clear();
      }
      if (!item) SetFileTypes(nullptr);
      DoDestroying(item);
      break;
    case nkMove:
      DoMove(item);
      break;
    case nkRefresh:
      if (!fileTypeName_.empty() && !Relink()) return;
      DoRefresh();
      break;
    case nkRefreshItem:
      if (item && item == fileType_ && !Relink()) return;
      DoRefreshItem(item);
      break;
    case nkLoadIcon:
      DoLoadIcon(item);
      break;
  }
}

void TFileTypeLink::DoDestroying(TFileType* item) {
  if (OnDestroy) OnDestroy(this, item);
}
void TFileTypeLink::DoChange(TFileType* item) {
  if (OnChange) OnChange(this, item);
}
void TFileTypeLink::DoMove(TFileType* item) {
  if (OnMove) OnMove(this, item);
}
void TFileTypeLink::DoRefresh() {
  if (OnRefresh) OnRefresh(this);
}
void TFileTypeLink::DoRefreshItem(TFileType* item) {
  if (OnRefreshItem) OnRefreshItem(this, item);
}
void TFileTypeLink::DoLoadIcon(TFileType* item) {
  if (OnLoadIcon) OnLoadIcon(this, item);
}

}  // namespace orvane
