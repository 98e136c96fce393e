#pragma once
// The file type field of the item editors: a combo edit without typing whose drop-down
// is a file type list. The choice is accepted by a click on a row or Enter, and
// dropped by Escape or by the list losing the focus.

#include <functional>
#include <string>

#include "controls/file_type_list_view.h"

namespace orvane {

class TFileTypeComboBox;
class TPopupFileTypes;

// The list in the drop-down: the mouse over a row chooses it.
class TPopupListView : public TFileTypeListView {
public:
  TPopupListView(TComponent* owner, std::string name, TPopupFileTypes& popup);

protected:
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  void ChooseRow(int index);
  TPopupFileTypes& popup_;
};

// The drop-down window: a borderless-looking pop-up holding the list.
class TPopupFileTypes : public TWinControl {
public:
  TPopupFileTypes(TComponent* owner, std::string name, TFileTypeComboBox& combo);
  ~TPopupFileTypes() override;

  TPopupListView& List() const { return *list_; }
  TFileTypeComboBox& Combo() const { return combo_; }
  bool IsOpen() const;

  static constexpr int kMinWidth = 250;

private:
  TFileTypeComboBox& combo_;
  TPopupListView* list_;
};

class TFileTypeComboBox : public TWinControl {
public:
  TFileTypeComboBox(TComponent* owner, std::string name, TWinControl* parent);
  ~TFileTypeComboBox() override;

  // Those of the drop-down's list.
  TFileTypeList* FileTypes() const { return List().FileTypes(); }
  void SetFileTypes(TFileTypeList* list) { List().SetFileTypes(list); }
  TPredefinedTypes PredefinedTypes() const { return List().PredefinedTypes(); }
  void SetPredefinedTypes(TPredefinedTypes value) { List().SetPredefinedTypes(value); }
  TFileTypesViewStyle ViewStyle() const { return List().ViewStyle(); }
  void SetViewStyle(TFileTypesViewStyle value) { List().SetViewStyle(value); }
  TFileTypesSortType SortType() const { return List().SortType(); }
  void SetSortType(TFileTypesSortType value) { List().SetSortType(value); }
  TWin32ImageList* Images() const { return List().Images(); }
  void SetImages(TWin32ImageList* images) { List().SetImages(images); }
  int DropDownCount() const { return dropDownCount_; }
  // At least 1.
  void SetDropDownCount(int value) { dropDownCount_ = value < 1 ? 1 : value; }

  // The type of the drop-down's focused row, or none.
  TFileType* SelectedFileType() const;
  // Focuses the first row of `type` (none: no row) and shows its caption.
  void SetSelectedFileType(TFileType* type);
  const std::string& Text() const { return Caption(); }

  TPopupFileTypes& Popup() const { return *popup_; }
  TPopupListView& List() const { return popup_->List(); }
  bool DroppedDown() const { return popup_->IsOpen(); }
  void DropDown();
  // Hides the drop-down; with `accept` its focused row becomes the choice.
  void CloseUp(bool accept, bool keepFocus = true);

  // The user chose another type.
  std::function<void()> OnChange;

protected:
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PaintWindow(HDC dc, const RECT& client) override;

private:
  RECT ButtonRect() const;
  void FollowRows();

  TPopupFileTypes* popup_;
  int dropDownCount_ = 8;
  // The chosen type's name, to find it again after the rows were rebuilt.
  std::string chosenName_;
  bool closing_ = false;
};

}  // namespace orvane
