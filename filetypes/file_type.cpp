#include "filetypes/file_type.h"

#include "filetypes/file_types.h"
#include "platform/exception.h"
#include "platform/messages.h"

namespace orvane {

TFileType::TFileType(TFileTypes& collection) : TCollectionItem(collection) {}

TFileTypes* TFileType::FileTypes() const { return static_cast<TFileTypes*>(Collection()); }

void TFileType::SetDescription(const std::string& value) {
  description_ = value;
  Changed();
}

void TFileType::SetName(const std::string& value) {
  if (FileTypes()) FileTypes()->NameChanging(this, name_, value);
  name_ = value;
  Changed();
}

void TFileType::SetDefaultIcon(const std::string& value) {
  defaultIcon_ = value;
  Changed();
}

void TFileType::SetCurVer(const std::string& value) {
  curVer_ = value;
  Changed();
}

void TFileType::SetPredefined(bool value) {
  predefined_ = value;
  Changed();
}

void TFileType::SetPredefinedType(TPredefinedType value) {
  predefinedType_ = value;
  Changed();
}

void TFileType::AddExtension(const std::string& extension) {
  extensions_.push_back(extension);
  Changed();
}

void TFileType::AddExtensions(const TFileType& other) {
  if (&other == this) return;
  extensions_.insert(extensions_.end(), other.extensions_.begin(), other.extensions_.end());
  Changed();
}

const std::string& TFileType::Extension(int index) const {
  if (index < 0 || index >= ExtensionCount())
    throw Exception(FormatRes(msg::SListIndexError, {index}));
  return extensions_[index];
}

std::unique_ptr<TAdvStringList> TFileType::GetExtensionList() const {
  auto list = std::make_unique<TAdvStringList>();
  for (const auto& extension : extensions_) list->Add(extension);
  list->SetSorted(true);
  return list;
}

void TFileType::SetIndex(int index) {
  TFileTypes* owner = FileTypes();
  if (!owner) return;
  owner->SetIndexChanging(true);
  TCollectionItem::SetIndex(index);
  owner->SetIndexChanging(false);
  Notify(nkMove, this);
}

void TFileType::Notify(TNotifyKind kind, TFileType* item) {
  if (FileTypes()) FileTypes()->Notify(kind, item);
}

}  // namespace orvane
