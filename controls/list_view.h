#pragma once
// A report-style list view over the system's control: columns (reachable as
// "lvX.Columns(0).Caption"), a small image list, rows that carry a data pointer, column
// clicks, selection and a custom draw hook.

#include <windows.h>
// After windows.h, which it builds on.
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/control.h"

namespace orvane {

class TListView;

class TListColumn : public TPersistent {
public:
  TListColumn(TListView& view, int index) : view_(view), index_(index) {}
  std::string Caption() const;
  void SetCaption(const std::string& value);
  int Width() const;
  void SetWidth(int value);
  // Widths below this are raised to it.
  int MinWidth = 0;
  // The column takes the client width on every resize (one-column views).
  bool AutoSize = false;
  int Tag = 0;

  std::optional<std::string> GetProperty(const std::string& name) const override;
  bool SetProperty(const std::string& name, const std::string& value) override;

private:
  TListView& view_;
  int index_;
};

class TListView : public TWinControl {
public:
  TListView(TComponent* owner, std::string name, TWinControl* parent);
  ~TListView() override;

  // Columns
  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  TListColumn& Columns(int index) const { return *columns_.at(index); }
  TListColumn& AddColumn(const std::string& caption, int width, int tag = 0);
  void ClearColumns();
  // Header image of a column, -1 for none; the images are the small image list's.
  void SetColumnImage(int index, int image);
  int ColumnImage(int index) const;
  bool ShowColumnHeaders() const;
  void SetShowColumnHeaders(bool value);

  // Rows
  int ItemCount() const;
  int AddItem(const std::string& caption, int image, void* data);
  void SetSubItem(int index, int column, const std::string& text);
  std::string ItemText(int index, int column = 0) const;
  void* ItemData(int index) const;
  int ItemImage(int index) const;
  void DeleteItem(int index);
  void Clear();
  // The row with the focus (-1 for none), and the first selected row.
  int FocusedIndex() const;
  void SetFocusedIndex(int index);
  int SelectedIndex() const;
  void SetSelected(int index, bool selected);
  bool Selected(int index) const;
  int SelectedCount() const;
  void SetItemImage(int index, int image);
  void ClearSelection();
  void MakeVisible(int index);
  int TopIndex() const;
  // The row under a client point, or -1.
  int ItemAt(int x, int y) const;
  RECT ItemRect(int index) const;
  // Orders the rows by `compare` of two row indices (negative: first before second).
  void Sort(const std::function<int(int, int)>& compare);

  // No repainting between BeginUpdate and the matching EndUpdate.
  void BeginUpdate();
  void EndUpdate();

  HIMAGELIST SmallImages() const { return smallImages_; }
  // Not owned: the list belongs to whoever filled it.
  void SetSmallImages(HIMAGELIST images);
  void SetRowSelect(bool value);
  // Several rows may be selected at once (single selection by default).
  void SetMultiSelect(bool value);
  void SetHotTrack(bool value);
  void SetHideSelection(bool value);
  void SetBorder(bool value);
  void SetTabStop(bool value);
  // A check box before each row.
  bool CheckBoxes() const;
  void SetCheckBoxes(bool value);
  bool Checked(int index) const;
  void SetChecked(int index, bool value);
  // A right press selects and focuses the row under the pointer first, as a left one.
  bool RightClickSelect = false;

  std::function<void(int column)> OnColumnClick;
  std::function<void(int index, bool selected)> OnSelectItem;
  // The user (or the program) changed the row's check box; not raised for new rows.
  std::function<void(int index, bool checked)> OnItemChecked;
  // The context menu is asked for, at this screen point (-1, -1 from the keyboard).
  std::function<void(int x, int y)> OnContextMenu;
  // Custom drawing: gets every NM_CUSTOMDRAW and returns the answer (CDRF_...).
  std::function<LRESULT(NMLVCUSTOMDRAW&)> OnCustomDraw;
  std::function<void()> OnResize;

  LRESULT Notify(NMHDR& header) override;
  TPersistent* SubObject(const std::string& name, int index) override;

protected:
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  virtual void ColumnClick(int column);
  virtual void Resize();

private:
  void SetStyle(DWORD style, bool on);
  void SetExStyle(DWORD style, bool on);

  std::vector<std::unique_ptr<TListColumn>> columns_;
  HIMAGELIST smallImages_ = nullptr;
  int updateCount_ = 0;
};

}  // namespace orvane
