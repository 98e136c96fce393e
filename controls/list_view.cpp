#include "controls/list_view.h"

#include <windowsx.h>

#include <algorithm>
#include <numeric>

namespace orvane {
namespace {

constexpr int kMaxText = 1024;

}  // namespace

// TListColumn

std::string TListColumn::Caption() const {
  char text[kMaxText] = {};
  LVCOLUMNA column{};
  column.mask = LVCF_TEXT;
  column.pszText = text;
  column.cchTextMax = sizeof text;
  SendMessageA(view_.Handle(), LVM_GETCOLUMNA, index_, reinterpret_cast<LPARAM>(&column));
  return text;
}

void TListColumn::SetCaption(const std::string& value) {
  LVCOLUMNA column{};
  column.mask = LVCF_TEXT;
  column.pszText = const_cast<char*>(value.c_str());
  SendMessageA(view_.Handle(), LVM_SETCOLUMNA, index_, reinterpret_cast<LPARAM>(&column));
}

int TListColumn::Width() const {
  return static_cast<int>(SendMessageA(view_.Handle(), LVM_GETCOLUMNWIDTH, index_, 0));
}

void TListColumn::SetWidth(int value) {
  SendMessageA(view_.Handle(), LVM_SETCOLUMNWIDTH, index_,
               MAKELPARAM(std::max(value, MinWidth), 0));
}

std::optional<std::string> TListColumn::GetProperty(const std::string& name) const {
  if (name == "Caption") return Caption();
  return std::nullopt;
}

bool TListColumn::SetProperty(const std::string& name, const std::string& value) {
  if (name != "Caption") return false;
  SetCaption(value);
  return true;
}

// TListView

TListView::TListView(TComponent* owner, std::string name, TWinControl* parent)
    : TWinControl(owner, std::move(name), parent) {
  INITCOMMONCONTROLSEX init{sizeof init, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&init);
  CreateHandle({WC_LISTVIEWA,
                WS_TABSTOP | LVS_REPORT | LVS_SHAREIMAGELISTS | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                WS_EX_CLIENTEDGE});
}

TListView::~TListView() = default;

void TListView::SetStyle(DWORD style, bool on) {
  const LONG_PTR old = GetWindowLongPtrA(Handle(), GWL_STYLE);
  SetWindowLongPtrA(Handle(), GWL_STYLE, on ? (old | style) : (old & ~static_cast<LONG_PTR>(style)));
  SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TListView::SetExStyle(DWORD style, bool on) {
  SendMessageA(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, style, on ? style : 0);
}

TListColumn& TListView::AddColumn(const std::string& caption, int width, int tag) {
  LVCOLUMNA column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  column.fmt = LVCFMT_LEFT;
  column.pszText = const_cast<char*>(caption.c_str());
  column.cx = width;
  const int index = ColumnCount();
  SendMessageA(Handle(), LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
  columns_.push_back(std::make_unique<TListColumn>(*this, index));
  columns_.back()->Tag = tag;
  return *columns_.back();
}

void TListView::ClearColumns() {
  while (SendMessageA(Handle(), LVM_DELETECOLUMN, 0, 0)) {
  }
  columns_.clear();
}

void TListView::SetColumnImage(int index, int image) {
  LVCOLUMNA column{};
  column.mask = LVCF_FMT | LVCF_IMAGE;
  column.fmt = LVCFMT_LEFT | (image >= 0 ? LVCFMT_IMAGE : 0);
  column.iImage = image;
  SendMessageA(Handle(), LVM_SETCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
}

int TListView::ColumnImage(int index) const {
  LVCOLUMNA column{};
  column.mask = LVCF_FMT | LVCF_IMAGE;
  if (!SendMessageA(Handle(), LVM_GETCOLUMNA, index, reinterpret_cast<LPARAM>(&column))) return -1;
  return (column.fmt & LVCFMT_IMAGE) ? column.iImage : -1;
}

bool TListView::ShowColumnHeaders() const {
  return (GetWindowLongPtrA(Handle(), GWL_STYLE) & LVS_NOCOLUMNHEADER) == 0;
}

void TListView::SetShowColumnHeaders(bool value) { SetStyle(LVS_NOCOLUMNHEADER, !value); }

int TListView::ItemCount() const {
  return static_cast<int>(SendMessageA(Handle(), LVM_GETITEMCOUNT, 0, 0));
}

int TListView::AddItem(const std::string& caption, int image, void* data) {
  LVITEMA item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
  item.iItem = ItemCount();
  item.pszText = const_cast<char*>(caption.c_str());
  item.iImage = image;
  item.lParam = reinterpret_cast<LPARAM>(data);
  return static_cast<int>(SendMessageA(Handle(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

void TListView::SetSubItem(int index, int column, const std::string& text) {
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = const_cast<char*>(text.c_str());
  SendMessageA(Handle(), LVM_SETITEMTEXTA, index, reinterpret_cast<LPARAM>(&item));
}

std::string TListView::ItemText(int index, int column) const {
  char text[kMaxText] = {};
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(Handle(), LVM_GETITEMTEXTA, index, reinterpret_cast<LPARAM>(&item));
  return text;
}

void* TListView::ItemData(int index) const {
  LVITEMA item{};
  item.mask = LVIF_PARAM;
  item.iItem = index;
  if (!SendMessageA(Handle(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return nullptr;
  return reinterpret_cast<void*>(item.lParam);
}

int TListView::ItemImage(int index) const {
  LVITEMA item{};
  item.mask = LVIF_IMAGE;
  item.iItem = index;
  if (!SendMessageA(Handle(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return -1;
  return item.iImage;
}

void TListView::DeleteItem(int index) { SendMessageA(Handle(), LVM_DELETEITEM, index, 0); }

void TListView::Clear() { SendMessageA(Handle(), LVM_DELETEALLITEMS, 0, 0); }

int TListView::FocusedIndex() const {
  return static_cast<int>(SendMessageA(Handle(), LVM_GETNEXTITEM, -1, LVNI_FOCUSED));
}

void TListView::SetFocusedIndex(int index) {
  LVITEMA item{};
  item.stateMask = LVIS_FOCUSED;
  if (index < 0) {
    const int focused = FocusedIndex();
    if (focused >= 0)
      SendMessageA(Handle(), LVM_SETITEMSTATE, focused, reinterpret_cast<LPARAM>(&item));
    return;
  }
  item.state = LVIS_FOCUSED;
  SendMessageA(Handle(), LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item));
}

int TListView::SelectedIndex() const {
  return static_cast<int>(SendMessageA(Handle(), LVM_GETNEXTITEM, -1, LVNI_SELECTED));
}

void TListView::SetSelected(int index, bool selected) {
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED;
  item.state = selected ? LVIS_SELECTED : 0;
  SendMessageA(Handle(), LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item));
}

bool TListView::Selected(int index) const {
  return SendMessageA(Handle(), LVM_GETITEMSTATE, index, LVIS_SELECTED) != 0;
}

int TListView::SelectedCount() const {
  return static_cast<int>(SendMessageA(Handle(), LVM_GETSELECTEDCOUNT, 0, 0));
}

void TListView::SetItemImage(int index, int image) {
  LVITEMA item{};
  item.mask = LVIF_IMAGE;
  item.iItem = index;
  item.iImage = image;
  SendMessageA(Handle(), LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void TListView::ClearSelection() {
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED;
  SendMessageA(Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
}

void TListView::MakeVisible(int index) { SendMessageA(Handle(), LVM_ENSUREVISIBLE, index, FALSE); }

int TListView::TopIndex() const {
  return static_cast<int>(SendMessageA(Handle(), LVM_GETTOPINDEX, 0, 0));
}

int TListView::ItemAt(int x, int y) const {
  LVHITTESTINFO hit{};
  hit.pt = POINT{x, y};
  const int index = static_cast<int>(
      SendMessageA(Handle(), LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  return (hit.flags & LVHT_ONITEM) ? index : -1;
}

RECT TListView::ItemRect(int index) const {
  RECT rect{};
  rect.left = LVIR_BOUNDS;
  SendMessageA(Handle(), LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect));
  return rect;
}

void TListView::Sort(const std::function<int(int, int)>& compare) {
  // The rows are read out, ordered here and written back, so that the comparison sees
  // stable row indices whatever the control does while it sorts.
  struct Row {
    std::vector<std::string> texts;
    int image;
    LPARAM data;
    UINT state;
  };
  const int count = ItemCount();
  const int columns = std::max(1, ColumnCount());
  std::vector<int> order(static_cast<size_t>(count));
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return compare(a, b) < 0; });
  // Rows already in order stay as they are: rewriting them costs messages per row.
  if (std::is_sorted(order.begin(), order.end())) return;
  std::vector<Row> rows;
  rows.reserve(order.size());
  for (int index : order) {
    Row row;
    for (int c = 0; c < columns; ++c) row.texts.push_back(ItemText(index, c));
    row.image = ItemImage(index);
    row.data = reinterpret_cast<LPARAM>(ItemData(index));
    row.state = static_cast<UINT>(
        SendMessageA(Handle(), LVM_GETITEMSTATE, index, LVIS_FOCUSED | LVIS_SELECTED));
    rows.push_back(std::move(row));
  }
  BeginUpdate();
  for (int i = 0; i < count; ++i) {
    Row& row = rows[static_cast<size_t>(i)];
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
    item.iItem = i;
    item.pszText = row.texts[0].data();
    item.iImage = row.image;
    item.lParam = row.data;
    item.state = row.state;
    item.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
    SendMessageA(Handle(), LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    for (int c = 1; c < columns; ++c) SetSubItem(i, c, row.texts[static_cast<size_t>(c)]);
  }
  EndUpdate();
}

void TListView::BeginUpdate() {
  if (updateCount_++ == 0) SendMessageA(Handle(), WM_SETREDRAW, FALSE, 0);
}

void TListView::EndUpdate() {
  if (updateCount_ == 0 || --updateCount_ > 0) return;
  SendMessageA(Handle(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(Handle(), nullptr, TRUE);
}

void TListView::SetSmallImages(HIMAGELIST images) {
  smallImages_ = images;
  SendMessageA(Handle(), LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
}

void TListView::SetRowSelect(bool value) { SetExStyle(LVS_EX_FULLROWSELECT, value); }
void TListView::SetMultiSelect(bool value) { SetStyle(LVS_SINGLESEL, !value); }
void TListView::SetHotTrack(bool value) { SetExStyle(LVS_EX_TRACKSELECT, value); }
void TListView::SetHideSelection(bool value) { SetStyle(LVS_SHOWSELALWAYS, !value); }
void TListView::SetTabStop(bool value) { SetStyle(WS_TABSTOP, value); }

bool TListView::CheckBoxes() const {
  return (SendMessageA(Handle(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_CHECKBOXES) != 0;
}

void TListView::SetCheckBoxes(bool value) { SetExStyle(LVS_EX_CHECKBOXES, value); }

bool TListView::Checked(int index) const {
  const auto state = static_cast<UINT>(
      SendMessageA(Handle(), LVM_GETITEMSTATE, index, LVIS_STATEIMAGEMASK));
  return (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
}

void TListView::SetChecked(int index, bool value) {
  LVITEMA item{};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = INDEXTOSTATEIMAGEMASK(value ? 2 : 1);
  SendMessageA(Handle(), LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item));
}

void TListView::SetBorder(bool value) {
  const LONG_PTR old = GetWindowLongPtrA(Handle(), GWL_EXSTYLE);
  SetWindowLongPtrA(Handle(), GWL_EXSTYLE,
                    value ? (old | WS_EX_CLIENTEDGE) : (old & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE)));
  SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TListView::ColumnClick(int column) {
  if (OnColumnClick) OnColumnClick(column);
}

void TListView::Resize() {
  if (OnResize) OnResize();
}

LRESULT TListView::Notify(NMHDR& header) {
  switch (header.code) {
    case LVN_COLUMNCLICK:
      ColumnClick(reinterpret_cast<NMLISTVIEW&>(header).iSubItem);
      return 0;
    case LVN_ITEMCHANGED: {
      auto& change = reinterpret_cast<NMLISTVIEW&>(header);
      if (OnSelectItem && change.iItem >= 0 && (change.uChanged & LVIF_STATE) &&
          ((change.uOldState ^ change.uNewState) & LVIS_SELECTED))
        OnSelectItem(change.iItem, (change.uNewState & LVIS_SELECTED) != 0);
      // A new row gets its first check box image: that is no change of the user's.
      const UINT oldImage = change.uOldState & LVIS_STATEIMAGEMASK;
      const UINT newImage = change.uNewState & LVIS_STATEIMAGEMASK;
      if (OnItemChecked && change.iItem >= 0 && (change.uChanged & LVIF_STATE) && oldImage &&
          newImage && oldImage != newImage)
        OnItemChecked(change.iItem, newImage == INDEXTOSTATEIMAGEMASK(2));
      return 0;
    }
    case NM_CUSTOMDRAW:
      if (OnCustomDraw) return OnCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW&>(header));
      return CDRF_DODEFAULT;
  }
  return 0;
}

LRESULT TListView::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_RBUTTONDOWN && RightClickSelect) {
    const int index = ItemAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    if (index >= 0) {
      ClearSelection();
      SetSelected(index, true);
      SetFocusedIndex(index);
    }
    SetFocus();
  }
  if (message == WM_CONTEXTMENU && OnContextMenu) {
    OnContextMenu(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    return 0;
  }
  const LRESULT result = TWinControl::WndProc(message, wParam, lParam);
  if (message == WM_SIZE) Resize();
  return result;
}

TPersistent* TListView::SubObject(const std::string& name, int index) {
  if (name == "Columns" && index >= 0 && index < ColumnCount()) return columns_[index].get();
  return TWinControl::SubObject(name, index);
}

}  // namespace orvane
