#pragma once
// A grid of equal cells that its owner draws: no fixed rows or columns, no grid lines,
// a horizontal scroll bar when the columns do not fit. One current cell, which the mouse
// and the arrow keys move where OnSelectCell allows.

#include <functional>

#include "controls/control.h"

namespace orvane {

class TDrawGrid : public TWinControl {
public:
  TDrawGrid(TComponent* owner, std::string name, TWinControl* parent);

  int ColCount() const { return colCount_; }
  int RowCount() const { return rowCount_; }
  void SetSize(int colCount, int rowCount);
  int DefaultColWidth() const { return cellWidth_; }
  int DefaultRowHeight() const { return cellHeight_; }
  void SetCellSize(int width, int height);

  int Col() const { return col_; }
  int Row() const { return row_; }
  // Makes the cell current (and scrolls it into view) without asking OnSelectCell; a
  // cell outside the grid is refused.
  bool SetCurrent(int col, int row);
  // The first column shown.
  int LeftCol() const { return leftCol_; }
  // The cell's place in the client area.
  RECT CellRect(int col, int row) const;

  // Draws a cell; `selected` for the current one while the grid has the focus or not.
  std::function<void(HDC dc, int col, int row, const RECT& rect, bool selected)> OnDrawCell;
  // Whether the user may make this cell current.
  std::function<bool(int col, int row)> OnSelectCell;
  // After the user made a cell current with the mouse or the keys.
  std::function<void()> OnCellClick;

protected:
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PaintWindow(HDC dc, const RECT& client) override;
  void BoundsChanged() override;

private:
  bool UserSelect(int col, int row);
  int VisibleCols() const;
  void UpdateScrollBar();
  void ScrollTo(int leftCol);

  int colCount_ = 0;
  int rowCount_ = 0;
  int cellWidth_ = 44;
  int cellHeight_ = 44;
  int col_ = 0;
  int row_ = 0;
  int leftCol_ = 0;
};

}  // namespace orvane
