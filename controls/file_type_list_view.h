#pragma once
// A read-only list of the registered file types, by type, by extension or both, that
// follows a file type list through its own link and rebuilds its rows whenever the
// model changes. Every row's data is the TFileType it shows; its image is the type's
// icon (the image index of a type is its index in the model).

#include <functional>
#include <string>
#include <vector>

#include "controls/list_view.h"
#include "filetypes/file_type_link.h"
#include "filetypes/predefined_types.h"

namespace orvane {

class TFileType;
class TFileTypeList;
class TWin32ImageList;

enum TFileTypesViewStyle { ftvsTypes, ftvsExtensions, ftvsAll };
enum TFileTypesSortType { ftstType, ftstExtension };

class TFileTypeListView : public TListView {
public:
  TFileTypeListView(TComponent* owner, std::string name, TWinControl* parent);
  ~TFileTypeListView() override;

  TFileTypeList* FileTypes() const { return fileTypes_; }
  // Follows `list` (none: shows nothing); forgotten when the list goes away.
  void SetFileTypes(TFileTypeList* list);
  TPredefinedTypes PredefinedTypes() const { return predefinedTypes_; }
  void SetPredefinedTypes(TPredefinedTypes value);
  TFileTypesViewStyle ViewStyle() const { return viewStyle_; }
  void SetViewStyle(TFileTypesViewStyle value);
  TFileTypesSortType SortType() const { return sortType_; }
  void SetSortType(TFileTypesSortType value);
  // The file type icons; the list's current handle is taken at every rebuild, since a
  // reload may replace it.
  TWin32ImageList* Images() const { return images_; }
  void SetImages(TWin32ImageList* images);

  TFileType* ItemFileType(int index) const { return static_cast<TFileType*>(ItemData(index)); }
  // The first row that shows `type`, or -1.
  int IndexOfFileType(const TFileType* type) const;

  void RebuildRows();
  // While set and until EnsureRows, the rows wait: a list kept hidden (a drop-down) need
  // not list thousands of types at every change of the model.
  void SetRowsOnDemand(bool value) { rowsOnDemand_ = value; }
  // Builds the rows when they wait.
  void EnsureRows();
  void RebuildColumns();
  // Column widths from the client width: three quarters and the rest with two
  // columns, the whole width minus one with one.
  void SetColumnWidths();
  void SortRows();

  // After every rebuild of the rows.
  std::function<void()> OnRowsRebuilt;

protected:
  void ColumnClick(int column) override;
  void Resize() override;

private:
  bool Shows(const TFileType& type) const;
  void ShowSortColumn();
  void RowsGone(TFileType* item);
  void FollowImages();

  TFileTypeList* fileTypes_ = nullptr;
  TFileTypeLink link_;
  TWin32ImageList* images_ = nullptr;
  TPredefinedTypes predefinedTypes_ = kAllPredefinedTypes;
  TFileTypesViewStyle viewStyle_ = ftvsAll;
  TFileTypesSortType sortType_ = ftstType;
  int columnsRebuilding_ = 0;
  bool rowsOnDemand_ = false;
  bool rowsWaiting_ = false;
};

// The extensions of a type sorted ascending and joined by ";".
std::string JoinedExtensions(const TFileType& type);

}  // namespace orvane
