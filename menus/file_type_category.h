#pragma once
// A category of a menu: the file type its items are bound to. It follows the menu's
// file type list through a link and falls back to the list's first type when its own
// type disappears.

#include <string>

#include "filetypes/file_type_link.h"
#include "menus/categorized_collection.h"

namespace orvane {

class TFileType;
class TFileTypes;
class TCustomMenu;

class TCustomFileTypeCategory : public TCategoryItem {
public:
  explicit TCustomFileTypeCategory(TTreeItemsClass childListClass);
  ~TCustomFileTypeCategory() override;

  void MoveTo(TTreeItems& list) override;
  // Categories are never marked: their items carry the changes.
  void SetModified(bool value) override;
  // The link's handler for a file type that is going away (null: the link lost its
  // whole collection or its type on a reload). The category moves to the first file
  // type, and into the category that type already has, if any.
  virtual void FileTypeRemoved(TFileType* fileType);

  TFileType* FileType() const { return link_.FileType(); }
  void SetFileType(TFileType* fileType) { link_.SetFileType(fileType); }
  // The type a menu file names but the file type list does not hold: the category keeps
  // its items under that name, with no file type, so that nothing of them reaches the
  // registry or another type. Empty for a category of a known type.
  const std::string& MissingTypeName() const { return missingTypeName_; }
  void SetMissingTypeName(const std::string& name) { missingTypeName_ = name; }
  // The file type's description, or the missing type's name marked as such.
  std::string DisplayName() const;
  const TFileTypeLink& Link() const { return link_; }
  TCustomMenu* Menu() const;

private:
  void BindToMenu();
  void MergeIntoTwin();

  TFileTypeLink link_;
  std::string missingTypeName_;
};

// Category of the static menu.
class TFileTypeCategory : public TCustomFileTypeCategory {
public:
  using TCustomFileTypeCategory::TCustomFileTypeCategory;
};

// Category of the dynamic menu.
class TXFileTypeCategory : public TCustomFileTypeCategory {
public:
  using TCustomFileTypeCategory::TCustomFileTypeCategory;
};

}  // namespace orvane
