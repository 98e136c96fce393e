#include "controls/file_type_list_view.h"

#include <algorithm>

#include "filetypes/file_type.h"
#include "filetypes/file_type_list.h"
#include "filetypes/file_types.h"
#include "platform/messages.h"
#include "platform/win32/image_list.h"

namespace orvane {
namespace {

constexpr int kTagType = 1;
constexpr int kTagExtension = 2;

std::vector<std::string> SortedExtensions(const TFileType& type) {
  const auto list = type.GetExtensionList();
  std::vector<std::string> extensions;
  for (int i = 0; i < list->Count(); ++i) extensions.push_back(list->Strings(i));
  return extensions;
}

}  // namespace

std::string JoinedExtensions(const TFileType& type) {
  std::string joined;
  for (const auto& extension : SortedExtensions(type)) {
    if (!joined.empty()) joined += ';';
    joined += extension;
  }
  return joined;
}

TFileTypeListView::TFileTypeListView(TComponent* owner, std::string name, TWinControl* parent)
    : TListView(owner, std::move(name), parent) {
  SetBounds(Left(), Top(), 300, 100);
  link_.OnChange = [this](TFileTypeLink*, TFileType*) { RebuildRows(); };
  link_.OnMove = [this](TFileTypeLink*, TFileType*) { RebuildRows(); };
  link_.OnDestroy = [this](TFileTypeLink*, TFileType* item) { RowsGone(item); };
  // Loading the icons gives the image list a new handle after the rows were rebuilt;
  // the view must not keep showing the freed one.
  link_.OnLoadIcon = [this](TFileTypeLink*, TFileType*) { FollowImages(); };
  link_.OnRefresh = [this](TFileTypeLink*) {
    BeginUpdate();
    RebuildColumns();
    RebuildRows();
    EndUpdate();
  };
  RebuildColumns();
}

TFileTypeListView::~TFileTypeListView() { link_.SetFileTypes(nullptr); }

void TFileTypeListView::SetFileTypes(TFileTypeList* list) {
  fileTypes_ = list;
  // Attaching tells the link of the change, which fills the rows.
  link_.SetFileTypes(list ? &list->Items() : nullptr);
  if (!list) RebuildRows();
}

void TFileTypeListView::RowsGone(TFileType* item) {
  if (!item) {
    // The whole model is going away, with its list.
    fileTypes_ = nullptr;
    Clear();
    return;
  }
  // Only the rows of the dying type go: the others still show live types.
  for (int i = ItemCount() - 1; i >= 0; --i) {
    if (ItemData(i) == item) DeleteItem(i);
  }
}

void TFileTypeListView::SetPredefinedTypes(TPredefinedTypes value) {
  if (value == predefinedTypes_) return;
  predefinedTypes_ = value;
  BeginUpdate();
  RebuildRows();
  RebuildColumns();
  EndUpdate();
}

void TFileTypeListView::SetViewStyle(TFileTypesViewStyle value) {
  if (columnsRebuilding_ > 0 || value == viewStyle_) return;
  viewStyle_ = value;
  BeginUpdate();
  RebuildColumns();
  RebuildRows();
  EndUpdate();
}

void TFileTypeListView::SetSortType(TFileTypesSortType value) {
  if (value == sortType_) return;
  sortType_ = value;
  SortRows();
  if (FocusedIndex() >= 0) MakeVisible(FocusedIndex());
  ShowSortColumn();
}

void TFileTypeListView::SetImages(TWin32ImageList* images) {
  images_ = images;
  SetSmallImages(images ? images->Handle() : nullptr);
}

void TFileTypeListView::FollowImages() {
  if (images_ && SmallImages() != images_->Handle()) SetSmallImages(images_->Handle());
}

int TFileTypeListView::IndexOfFileType(const TFileType* type) const {
  if (!type) return -1;
  for (int i = 0; i < ItemCount(); ++i) {
    if (ItemData(i) == type) return i;
  }
  return -1;
}

bool TFileTypeListView::Shows(const TFileType& type) const {
  return !type.Predefined() || (predefinedTypes_ & PredefinedTypeBit(type.PredefinedType())) != 0;
}

void TFileTypeListView::EnsureRows() {
  if (!rowsWaiting_) return;
  rowsOnDemand_ = false;
  RebuildRows();
}

void TFileTypeListView::RebuildRows() {
  if (!Handle()) return;
  rowsWaiting_ = rowsOnDemand_;
  if (rowsWaiting_) {
    Clear();
    return;
  }
  FollowImages();
  BeginUpdate();
  struct End {
    TFileTypeListView& view;
    ~End() { view.EndUpdate(); }
  } end{*this};
  Clear();
  if (fileTypes_) {
    TFileTypes& types = fileTypes_->Items();
    for (int t = 0; t < types.Count(); ++t) {
      TFileType* type = types.Items(t);
      if (!Shows(*type)) continue;
      const std::vector<std::string> extensions = SortedExtensions(*type);
      switch (viewStyle_) {
        case ftvsTypes:
          AddItem(extensions.empty()
                      ? type->Description()
                      : type->Description() + " (" + JoinedExtensions(*type) + ")",
                  t, type);
          break;
        case ftvsExtensions:
          for (const auto& extension : extensions) AddItem(extension, t, type);
          break;
        case ftvsAll:
          if (extensions.empty()) AddItem(type->Description(), t, type);
          for (const auto& extension : extensions)
            SetSubItem(AddItem(type->Description(), t, type), 1, extension);
          break;
      }
    }
  }
  SetColumnWidths();
  SortRows();
  if (OnRowsRebuilt) OnRowsRebuilt();
}

void TFileTypeListView::RebuildColumns() {
  ++columnsRebuilding_;
  struct Done {
    int& counter;
    ~Done() { --counter; }
  } done{columnsRebuilding_};
  ClearSelection();
  ClearColumns();
  const int width = ClientWidth();
  switch (viewStyle_) {
    case ftvsTypes:
      SetShowColumnHeaders(false);
      AddColumn(LoadResString(msg::SColumnFileType), width, kTagType).AutoSize = true;
      break;
    case ftvsExtensions:
      SetShowColumnHeaders(false);
      AddColumn(LoadResString(msg::SColumnExtension), width, kTagExtension).AutoSize = true;
      break;
    case ftvsAll:
      SetShowColumnHeaders(true);
      AddColumn(LoadResString(msg::SColumnFileType), 150, kTagType).MinWidth = 150;
      AddColumn(LoadResString(msg::SColumnExtension), 50, kTagExtension).MinWidth = 50;
      break;
  }
  SetColumnWidths();
  ShowSortColumn();
}

void TFileTypeListView::SetColumnWidths() {
  const int width = ClientWidth();
  if (viewStyle_ == ftvsAll && ColumnCount() == 2) {
    const int first = width * 3 / 4;
    Columns(0).SetWidth(first);
    Columns(1).SetWidth(width - first);
  } else if (ColumnCount() == 1) {
    Columns(0).SetWidth(width - 1);
  }
  SendMessageA(Handle(), LVM_SCROLL, static_cast<WPARAM>(-0x7FFF), 0);
  ShowScrollBar(Handle(), SB_HORZ, FALSE);
}

void TFileTypeListView::SortRows() {
  if (viewStyle_ == ftvsExtensions) {
    Sort([this](int a, int b) { return lstrcmpA(ItemText(a).c_str(), ItemText(b).c_str()); });
  } else if (viewStyle_ == ftvsAll && sortType_ == ftstExtension) {
    Sort([this](int a, int b) {
      return lstrcmpA(ItemText(a, 1).c_str(), ItemText(b, 1).c_str());
    });
  } else if (fileTypes_) {
    TFileTypes& types = fileTypes_->Items();
    // Each row's type read once: a comparison must not cost two messages to the control.
    std::vector<int> typeIndex(static_cast<size_t>(ItemCount()));
    for (size_t i = 0; i < typeIndex.size(); ++i)
      typeIndex[i] = ItemFileType(static_cast<int>(i))->Index();
    // A collection in the types' order (as a scan leaves it) lets the indexes compare
    // instead of a locale comparison per pair: seconds with thousands of types. Checked
    // rather than assumed, since a changed description does not move its type.
    bool sorted = true;
    for (int i = 1; sorted && i < types.Count(); ++i) sorted = types.Compare(i - 1, i) <= 0;
    Sort([&typeIndex, &types, sorted](int a, int b) {
      const int ia = typeIndex[static_cast<size_t>(a)];
      const int ib = typeIndex[static_cast<size_t>(b)];
      if (sorted) return ia < ib ? -1 : (ia > ib ? 1 : 0);
      return types.Compare(ia, ib);
    });
  }
}

void TFileTypeListView::ShowSortColumn() {
  if (viewStyle_ != ftvsAll) return;
  for (int c = 0; c < ColumnCount(); ++c)
    SetColumnImage(c, Columns(c).Tag - 1 == sortType_ ? 0 : -1);
}

void TFileTypeListView::ColumnClick(int column) {
  if (viewStyle_ == ftvsAll && column >= 0 && column < ColumnCount())
    SetSortType(static_cast<TFileTypesSortType>(Columns(column).Tag - 1));
  TListView::ColumnClick(column);
}

void TFileTypeListView::Resize() {
  if (ColumnCount() > 0) SetColumnWidths();
  TListView::Resize();
}

}  // namespace orvane
