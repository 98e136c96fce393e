#include "controls/file_type_combo_box.h"

#include <windowsx.h>

#include <algorithm>

#include "filetypes/file_type.h"
#include "filetypes/file_type_list.h"
#include "filetypes/file_types.h"

namespace orvane {

// TPopupListView

TPopupListView::TPopupListView(TComponent* owner, std::string name, TPopupFileTypes& popup)
    : TFileTypeListView(owner, std::move(name), &popup), popup_(popup) {
  SetBorder(false);
  SetRowSelect(true);
  SetHotTrack(false);
  SetTabStop(false);
  SetHideSelection(false);
}

void TPopupListView::ChooseRow(int index) {
  if (index < 0 || index == FocusedIndex()) return;
  ClearSelection();
  SetFocusedIndex(index);
  SetSelected(index, true);
}

LRESULT TPopupListView::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS;
    case WM_MOUSEMOVE:
      ChooseRow(ItemAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
      return 0;
    case WM_LBUTTONDOWN: {
      const int row = ItemAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      if (row >= 0) {
        ChooseRow(row);
        popup_.Combo().CloseUp(true);
      }
      return 0;
    }
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_RETURN) {
        if (FocusedIndex() >= 0) popup_.Combo().CloseUp(true);
        return 0;
      }
      if (wParam == VK_ESCAPE) {
        popup_.Combo().CloseUp(false);
        return 0;
      }
      break;
    case WM_CHAR:
      if (wParam == VK_RETURN || wParam == VK_ESCAPE) return 0;
      break;
    case WM_KILLFOCUS:
      // Closed first, so that the control that takes the focus keeps it.
      if (popup_.IsOpen()) popup_.Combo().CloseUp(false, false);
      break;
  }
  return TFileTypeListView::WndProc(message, wParam, lParam);
}

// TPopupFileTypes

TPopupFileTypes::TPopupFileTypes(TComponent* owner, std::string name, TFileTypeComboBox& combo)
    : TWinControl(owner, std::move(name), nullptr), combo_(combo) {
  SetBounds(0, 0, kMinWidth, 100);
  CreateHandle({nullptr, WS_POPUP | WS_BORDER | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW});
  list_ = &Create<TPopupListView>("FlvFileTypes", *this);
  list_->SetAlign(TAlign::Client);
}

TPopupFileTypes::~TPopupFileTypes() = default;

bool TPopupFileTypes::IsOpen() const { return Handle() && IsWindowVisible(Handle()); }

// TFileTypeComboBox

TFileTypeComboBox::TFileTypeComboBox(TComponent* owner, std::string name, TWinControl* parent)
    : TWinControl(owner, std::move(name), parent) {
  SetBounds(Left(), Top(), 145, 21);
  CreateHandle({nullptr, WS_TABSTOP, WS_EX_CLIENTEDGE});
  popup_ = &Create<TPopupFileTypes>("", *this);
  // The rows are built when the choice or the drop-down first needs them.
  List().SetRowsOnDemand(true);
  List().OnRowsRebuilt = [this] { FollowRows(); };
}

TFileTypeComboBox::~TFileTypeComboBox() {
  List().OnRowsRebuilt = nullptr;
  DestroyComponents();
}

TFileType* TFileTypeComboBox::SelectedFileType() const {
  const int focused = List().FocusedIndex();
  return focused >= 0 ? List().ItemFileType(focused) : nullptr;
}

void TFileTypeComboBox::SetSelectedFileType(TFileType* type) {
  TPopupListView& list = List();
  if (type) list.EnsureRows();
  const int index = list.IndexOfFileType(type);
  list.ClearSelection();
  if (index < 0) {
    list.SetFocusedIndex(-1);
    chosenName_.clear();
    SetCaption("");
  } else {
    list.SetFocusedIndex(index);
    list.SetSelected(index, true);
    chosenName_ = type->Name();
    SetCaption(list.ItemText(index));
  }
  Invalidate();
}

void TFileTypeComboBox::FollowRows() {
  // A reload made new types: the choice is found again by its name.
  if (chosenName_.empty()) return;
  TFileType* type = FileTypes() ? FileTypes()->Items().FindByName(chosenName_) : nullptr;
  if (type && List().IndexOfFileType(type) >= 0) {
    SetSelectedFileType(type);
    return;
  }
  // Not shown now (the list is switched off while the registry is read again): the
  // name is kept so that the type is chosen again when it comes back.
  List().SetFocusedIndex(-1);
  List().ClearSelection();
  SetCaption("");
  Invalidate();
}

void TFileTypeComboBox::DropDown() {
  if (DroppedDown() || !Enabled()) return;
  TPopupListView& list = List();
  list.EnsureRows();
  int rowHeight = 0;
  if (list.ItemCount() == 0) {
    // Measured on a row that exists only for the measuring.
    const int row = list.AddItem(" ", -1, nullptr);
    const RECT rect = list.ItemRect(row);
    rowHeight = rect.bottom - rect.top;
    list.DeleteItem(row);
  } else {
    const RECT rect = list.ItemRect(0);
    rowHeight = rect.bottom - rect.top;
  }
  const int rows = std::min(dropDownCount_, std::max(list.ItemCount(), 1));
  const int height = rowHeight * rows +
                     (list.ShowColumnHeaders() ? GetSystemMetrics(SM_CYHSCROLL) : 0) + 4;
  const int width = std::max(Width(), static_cast<int>(TPopupFileTypes::kMinWidth));
  RECT combo{};
  GetWindowRect(Handle(), &combo);
  int top = combo.bottom;
  if (top + height > GetSystemMetrics(SM_CYSCREEN)) top = combo.top - height;
  HWND popup = popup_->Handle();
  SetWindowLongPtrA(popup, GWLP_HWNDPARENT,
                    reinterpret_cast<LONG_PTR>(GetAncestor(Handle(), GA_ROOT)));
  popup_->SetBounds(combo.left, top, width, height);
  SetWindowPos(popup, HWND_TOPMOST, combo.left, top, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  const int focused = list.FocusedIndex();
  if (focused >= 0) {
    list.MakeVisible(focused);
    list.SetSelected(focused, true);
  } else if (list.ItemCount() > 0) {
    list.MakeVisible(0);
  }
  list.SetColumnWidths();
  list.SetFocus();
  Invalidate();
}

void TFileTypeComboBox::CloseUp(bool accept, bool keepFocus) {
  if (!DroppedDown() || closing_) return;
  closing_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{closing_};
  TPopupListView& list = List();
  const int focused = list.FocusedIndex();
  TFileType* chosen = accept && focused >= 0 ? list.ItemFileType(focused) : nullptr;
  if (keepFocus) SetFocus();
  ShowWindow(popup_->Handle(), SW_HIDE);
  if (chosen) {
    const bool changed = chosen->Name() != chosenName_;
    chosenName_ = chosen->Name();
    SetCaption(list.ItemText(focused));
    Invalidate();
    if (changed && OnChange) OnChange();
  } else {
    // The mouse moved the list's focus around: the choice stays what it was.
    if (chosenName_.empty()) {
      list.SetFocusedIndex(-1);
      list.ClearSelection();
    }
    FollowRows();
    Invalidate();
  }
}

RECT TFileTypeComboBox::ButtonRect() const {
  const int width = GetSystemMetrics(SM_CXVSCROLL);
  return RECT{std::max(0, ClientWidth() - width), 0, ClientWidth(), ClientHeight()};
}

void TFileTypeComboBox::PaintWindow(HDC dc, const RECT& client) {
  FillRect(dc, &client, GetSysColorBrush(Enabled() ? COLOR_WINDOW : COLOR_BTNFACE));
  RECT button = ButtonRect();
  DrawFrameControl(dc, &button, DFC_SCROLL,
                   DFCS_SCROLLCOMBOBOX | (DroppedDown() ? DFCS_PUSHED | DFCS_FLAT : 0) |
                       (Enabled() ? 0 : DFCS_INACTIVE));
  RECT text{client.left + 1, client.top + 1, button.left - 1, client.bottom - 1};
  // The focused look stays while the drop-down is open.
  const bool focusLook = Enabled() && (Focused() || DroppedDown());
  if (focusLook) FillRect(dc, &text, GetSysColorBrush(COLOR_HIGHLIGHT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(!Enabled()  ? COLOR_GRAYTEXT
                               : focusLook ? COLOR_HIGHLIGHTTEXT
                                           : COLOR_WINDOWTEXT));
  text.left += 2;
  DrawTextA(dc, Caption().c_str(), static_cast<int>(Caption().size()), &text,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
}

LRESULT TFileTypeComboBox::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      const bool wasOpen = DroppedDown();
      SetFocus();
      if (wasOpen) {
        CloseUp(false);
      } else {
        DropDown();
      }
      return 0;
    }
    case WM_KEYDOWN:
      if (wParam == VK_F4) {
        DroppedDown() ? CloseUp(false) : DropDown();
        return 0;
      }
      break;
    case WM_SYSKEYDOWN:
      if (wParam == VK_DOWN || wParam == VK_UP) {
        DroppedDown() ? CloseUp(false) : DropDown();
        return 0;
      }
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
      Invalidate();
      break;
  }
  return TWinControl::WndProc(message, wParam, lParam);
}

}  // namespace orvane
