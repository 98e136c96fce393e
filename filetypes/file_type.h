#pragma once
// One file type: a key below HKEY_CLASSES_ROOT, or a predefined special type, with the
// extensions that point to it.

#include <memory>
#include <string>
#include <vector>

#include "filetypes/adv_string_list.h"
#include "filetypes/notify_kind.h"
#include "filetypes/predefined_types.h"
#include "filetypes/sorted_collection.h"

namespace orvane {

class TFileTypes;

class TFileType : public TCollectionItem {
public:
  explicit TFileType(TFileTypes& collection);

  TFileTypes* FileTypes() const;

  const std::string& Description() const { return description_; }
  void SetDescription(const std::string& value);
  // Unique ignoring case.
  const std::string& Name() const { return name_; }
  void SetName(const std::string& value);
  const std::string& DefaultIcon() const { return defaultIcon_; }
  void SetDefaultIcon(const std::string& value);
  const std::string& CurVer() const { return curVer_; }
  void SetCurVer(const std::string& value);
  bool Predefined() const { return predefined_; }
  void SetPredefined(bool value);
  TPredefinedType PredefinedType() const { return predefinedType_; }
  void SetPredefinedType(TPredefinedType value);

  // In the order they were linked.
  const std::vector<std::string>& Extensions() const { return extensions_; }
  void AddExtension(const std::string& extension);
  void AddExtensions(const TFileType& other);
  int ExtensionCount() const { return static_cast<int>(extensions_.size()); }
  // Raises "List index out of bounds (%d)" outside 0..ExtensionCount-1.
  const std::string& Extension(int index) const;
  // A new list of the extensions, sorted ascending; the caller owns it.
  std::unique_ptr<TAdvStringList> GetExtensionList() const;

  // Moves the item and sends nkMove with it.
  void SetIndex(int index) override;
  // Forwards to the owning collection.
  void Notify(TNotifyKind kind, TFileType* item);

private:
  friend class TFileTypes;
  std::string description_;
  std::string name_;
  std::string defaultIcon_;
  std::string curVer_;
  std::vector<std::string> extensions_;
  bool predefined_ = false;
  TPredefinedType predefinedType_ = ptypAllFiles;
};

}  // namespace orvane
