#include "controls/draw_grid.h"

#include <windowsx.h>

#include <algorithm>

namespace orvane {

TDrawGrid::TDrawGrid(TComponent* owner, std::string name, TWinControl* parent)
    : TWinControl(owner, std::move(name), parent) {
  CreateHandle({nullptr, WS_TABSTOP | WS_HSCROLL, WS_EX_CLIENTEDGE});
}

void TDrawGrid::SetSize(int colCount, int rowCount) {
  colCount_ = std::max(0, colCount);
  rowCount_ = std::max(0, rowCount);
  col_ = std::min(col_, std::max(0, colCount_ - 1));
  row_ = std::min(row_, std::max(0, rowCount_ - 1));
  leftCol_ = 0;
  UpdateScrollBar();
  Invalidate();
}

void TDrawGrid::SetCellSize(int width, int height) {
  cellWidth_ = std::max(1, width);
  cellHeight_ = std::max(1, height);
  UpdateScrollBar();
  Invalidate();
}

bool TDrawGrid::SetCurrent(int col, int row) {
  if (col < 0 || row < 0 || col >= colCount_ || row >= rowCount_) return false;
  col_ = col;
  row_ = row;
  if (col_ < leftCol_)
    ScrollTo(col_);
  else if (col_ >= leftCol_ + VisibleCols())
    ScrollTo(col_ - VisibleCols() + 1);
  Invalidate();
  return true;
}

RECT TDrawGrid::CellRect(int col, int row) const {
  const int left = (col - leftCol_) * cellWidth_;
  const int top = row * cellHeight_;
  return RECT{left, top, left + cellWidth_, top + cellHeight_};
}

int TDrawGrid::VisibleCols() const {
  return std::max(1, (Handle() ? ClientWidth() : Width()) / cellWidth_);
}

void TDrawGrid::UpdateScrollBar() {
  if (!Handle()) return;
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
  info.nMin = 0;
  info.nMax = std::max(0, colCount_ - 1);
  info.nPage = static_cast<UINT>(VisibleCols());
  info.nPos = leftCol_;
  SetScrollInfo(Handle(), SB_HORZ, &info, TRUE);
}

void TDrawGrid::ScrollTo(int leftCol) {
  leftCol_ = std::clamp(leftCol, 0, std::max(0, colCount_ - VisibleCols()));
  UpdateScrollBar();
  Invalidate();
}

bool TDrawGrid::UserSelect(int col, int row) {
  if (col < 0 || row < 0 || col >= colCount_ || row >= rowCount_) return false;
  if (OnSelectCell && !OnSelectCell(col, row)) return false;
  SetCurrent(col, row);
  if (OnCellClick) OnCellClick();
  return true;
}

void TDrawGrid::BoundsChanged() {
  TWinControl::BoundsChanged();
  ScrollTo(leftCol_);
}

void TDrawGrid::PaintWindow(HDC dc, const RECT& client) {
  FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
  if (!OnDrawCell) return;
  for (int col = leftCol_; col < colCount_ && col <= leftCol_ + VisibleCols(); ++col) {
    for (int row = 0; row < rowCount_; ++row) {
      const RECT rect = CellRect(col, row);
      const bool selected = col == col_ && row == row_;
      const int saved = SaveDC(dc);
      IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
      OnDrawCell(dc, col, row, rect, selected);
      RestoreDC(dc, saved);
    }
  }
}

LRESULT TDrawGrid::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Invalidate();
      break;
    case WM_LBUTTONDOWN: {
      if (CanFocus()) SetFocus();
      const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
      if (x >= 0 && y >= 0) UserSelect(leftCol_ + x / cellWidth_, y / cellHeight_);
      return 0;
    }
    case WM_KEYDOWN: {
      int col = col_, row = row_;
      switch (wParam) {
        case VK_LEFT: --col; break;
        case VK_RIGHT: ++col; break;
        case VK_UP: --row; break;
        case VK_DOWN: ++row; break;
        case VK_HOME: col = 0; row = 0; break;
        default: return TWinControl::WndProc(message, wParam, lParam);
      }
      UserSelect(col, row);
      return 0;
    }
    case WM_HSCROLL: {
      SCROLLINFO info{};
      info.cbSize = sizeof info;
      info.fMask = SIF_ALL;
      GetScrollInfo(Handle(), SB_HORZ, &info);
      int left = leftCol_;
      switch (LOWORD(wParam)) {
        case SB_LINELEFT: --left; break;
        case SB_LINERIGHT: ++left; break;
        case SB_PAGELEFT: left -= VisibleCols(); break;
        case SB_PAGERIGHT: left += VisibleCols(); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: left = info.nTrackPos; break;
        case SB_LEFT: left = 0; break;
        case SB_RIGHT: left = colCount_; break;
      }
      ScrollTo(left);
      return 0;
    }
  }
  return TWinControl::WndProc(message, wParam, lParam);
}

}  // namespace orvane
